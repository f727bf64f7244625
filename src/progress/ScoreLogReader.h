#pragma once

// own
#include "ScoreLogParser.h"
#include "ScoreRecord.h"

// std
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tonarika {

// A log that is there but could not be read, and why, in words for the player.
struct LogFault {
    std::filesystem::path log;
    QString reason;
    friend bool operator==(const LogFault&, const LogFault&) = default;
};

// What the score logs hold: their records in time order, how many lines could not be
// read (never guessed at, never silently dropped), and the logs that could not be read.
struct ScoreHistory {
    std::vector<ScoreRecord> records;
    int unreadableLines = 0;
    std::vector<LogFault> faults;
};

// Reads score logs without ever writing, locking or creating anything. A log that grows
// while it is read is read up to its last whole line. Not for two threads at once.
class ScoreLogReader {
public:
    // `codeset` is the locale's character set as iconv names it; empty: LC_CTYPE's.
    explicit ScoreLogReader(ScoreLogParser parser = ScoreLogParser(), std::string codeset = {});
    ~ScoreLogReader();
    ScoreLogReader(ScoreLogReader&&) noexcept;
    ScoreLogReader& operator=(ScoreLogReader&&) noexcept;

    // The records of all the logs, merged in time order. Missing logs are skipped.
    ScoreHistory read(const std::vector<std::filesystem::path>& logs) const;

    // One line of a log, without its line end. Its bytes are tried as UTF-8, Shift-JIS,
    // EUC-JP and the locale's character set, in that order, and the first reading that
    // is a record or a head line wins: a set that takes any byte (a single-byte one)
    // never hides a Japanese reading, nor the other way round.
    ScoreLogParser::Line parseLine(std::string_view bytes) const;
    // The date of a line that parseLine() left undecided, by what its log shows.
    std::optional<QDate> decide(const ScoreLogParser::Line& line, const DateEvidence& evidence) const
    {
        return m_parser.decide(line, evidence);
    }

private:
    class Decoders;

    ScoreLogParser m_parser;
    std::unique_ptr<Decoders> m_decoders;
};

// The lines of a log's bytes that are whole (up to the last line end), each passed to
// `line` without its CR LF; returns how many bytes that was.
template <typename Each>
std::size_t forEachWholeLine(std::string_view bytes, Each&& line)
{
    const std::size_t whole = bytes.rfind('\n');
    if (whole == std::string_view::npos)
        return 0;
    std::string_view rest = bytes.substr(0, whole + 1);
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view text = rest.substr(0, end);
        rest.remove_prefix(end + 1);
        if (text.ends_with('\r'))
            text.remove_suffix(1);
        line(text);
    }
    return whole + 1;
}

// Follows one score log. Each update() reads only what was appended since the last,
// unless the file was replaced or cut short, when it is read again from its start.
class ScoreLogTail {
public:
    explicit ScoreLogTail(std::filesystem::path log);

    // Brings the records up to date; true when anything changed.
    bool update(const ScoreLogReader& reader);

    const std::filesystem::path& log() const { return m_log; }
    const std::vector<ScoreRecord>& records() const { return m_records; }
    int unreadableLines() const { return m_unreadable; }
    // Why the log could not be read; nothing when it was read or is not there at all.
    const std::optional<QString>& fault() const { return m_fault; }

private:
    void reset();

    std::filesystem::path m_log;
    std::uint64_t m_device = 0;
    std::uint64_t m_inode = 0;
    std::uint64_t m_consumed = 0;  // bytes up to the last whole line read
    std::vector<ScoreRecord> m_records;
    int m_unreadable = 0;
    std::optional<QString> m_fault;
    DateEvidence m_evidence;  // how this log writes its dates
};

// The records of several tails merged in time order, with their counts and faults.
ScoreHistory mergeTails(const std::vector<ScoreLogTail>& tails);

// A path as the player reads it; bytes that are no UTF-8 show as replacement marks.
QString displayPath(const std::filesystem::path& path);

}  // namespace tonarika
