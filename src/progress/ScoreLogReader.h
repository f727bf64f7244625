#pragma once

// own
#include "ScoreLogParser.h"
#include "ScoreRecord.h"

// std
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tonarika {

// What the score logs hold: their records in time order, and how many lines could
// not be read (never guessed at, never silently dropped).
struct ScoreHistory {
    std::vector<ScoreRecord> records;
    int unreadableLines = 0;
};

// Reads score logs without ever writing, locking or creating anything. A log that grows
// while it is read is read up to its last whole line.
class ScoreLogReader {
public:
    // `codeset` is the locale's character set as iconv names it; empty: LC_CTYPE's.
    explicit ScoreLogReader(ScoreLogParser parser = ScoreLogParser(), std::string codeset = {});

    // The records of all the logs, merged in time order. Missing logs are skipped.
    ScoreHistory read(const std::vector<std::filesystem::path>& logs) const;

    // A line's text: UTF-8 where it is valid UTF-8, else the locale's character set,
    // else Shift-JIS or EUC-JP, the sets Japanese logs are kept in.
    // Nothing where no set reads it.
    std::optional<QString> decode(std::string_view bytes) const;

private:
    void readOne(const std::filesystem::path& log, ScoreHistory& history) const;

    ScoreLogParser m_parser;
    std::string m_codeset;
};

}  // namespace tonarika
