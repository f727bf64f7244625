#pragma once

// std
#include <set>
#include <string>
#include <utility>

namespace tonarika {

// The kinds of trouble the journal's writer meets.
enum class JournalTrouble {
    Folder,      // its folder cannot be made
    NotAFile,    // a link, a folder, a FIFO in its place
    Aside,       // one to set aside that cannot be moved
    SetAside,    // one set aside, and a new one begun
    Newer,       // one of a newer version
    NotBegun,    // one that cannot be begun anew
    Open,        // it cannot be opened now
    Write,       // trials cannot be added now
    Refused,     // a trial the schema refuses
    Spill,       // a spill file that cannot be taken in
};

// One line on stderr (tonarika.journal) per kind of trouble, and SQLite code, however often
// it comes back.
class JournalTeller {
public:
    void tell(JournalTrouble kind, int code, const std::string& text);
    void tell(JournalTrouble kind, const std::string& text) { tell(kind, 0, text); }

private:
    std::set<std::pair<JournalTrouble, int>> m_told;
};

}  // namespace tonarika
