#pragma once

// std
#include <set>
#include <string>
#include <vector>

namespace tonarika {

// Which keyboards came and went between two looks at a MIDI system's outputs.
class KeyboardWatch {
public:
    struct Change {
        std::vector<std::string> appeared;  // to connect, in the order seen
        std::vector<std::string> gone;
    };

    // The outputs seen now; what is new since the last look, and what is gone.
    Change look(const std::vector<std::string>& sources);
    // An output that appeared but could not be connected: looked at again next time.
    void forget(const std::string& source) { m_known.erase(source); }
    const std::set<std::string>& known() const { return m_known; }

private:
    std::set<std::string> m_known;
};

}  // namespace tonarika
