#include "TrialSpill.h"

// own
#include "JournalColumns.h"
#include "OutsideFile.h"
#include "TrialRules.h"

// system
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

// std
#include <cerrno>
#include <algorithm>
#include <array>
#include <map>
#include <charconv>
#include <chrono>
#include <cstring>
#include <stdexcept>

namespace tonarika {

namespace {

std::string errorText(const char* what)
{
    return std::string(what) + ": " + std::strerror(errno);
}

// The first field names the format, so that a line of anything else is never taken. Lines
// of the first four formats give their fields in a fixed order, each format a few more than
// the one before; what a line of them does not give is what the journal's older rows hold.
// Since the fifth, each field is named: a column the line does not name holds its older
// rows' value, and a new column needs no new format.
constexpr std::string_view kTag = "tonarika-trial-5";
constexpr std::array<std::pair<std::string_view, std::size_t>, 4> kFixedFormats{{
    {"tonarika-trial-1", 11},
    {"tonarika-trial-2", 14},
    {"tonarika-trial-3", 15},
    {"tonarika-trial-4", 16},
}};
// The fields of the fixed formats, in order: the run's number in the journal and the
// session's name come before the columns of the trial, its run in the session after them.
constexpr std::array<std::string_view, 15> kFixedFields{"answered_utc_ms", "utc_offset_s", "mode", "journal_run", "session",
                                                         "asked", "answered", "reaction_ms", "plays", "run", "timbre",
                                                         "octave", "guard", "a4", "input"};

std::optional<std::int64_t> number(std::string_view text)
{
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

// Never waits: a lock held by another process (a game ending, or anything at all) could be
// held for good.
bool lockNow(int fd)
{
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return true;
        if (errno != EINTR)
            return false;
    }
}

// Appends whole lines to a file opened for it; why not, or nothing.
std::optional<std::string> writeAll(int fd, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t wrote = ::write(fd, text.data() + done, text.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        // A line cut short would be refused on reading; the ones before it stay.
        if (wrote <= 0)
            return errorText("it cannot be written");
        done += std::size_t(wrote);
    }
    if (::fsync(fd) != 0)
        return errorText("it cannot be written to the disk");
    return std::nullopt;
}

}  // namespace

namespace {

// The columns a line carries: all but the row's id and the test's number, which the
// journal gives as it takes the trial in.
bool carried(const JournalColumn& column)
{
    return column.name != "id" && column.name != "test";
}

}  // namespace

std::string spillLine(const SpilledTrial& spilled)
{
    std::string line(kTag);
    line += "\tjournal_run=" + std::to_string(spilled.runNumber) + "\tsession=" + spilled.session;
    for (const JournalColumn& column : kJournalColumns) {
        if (carried(column))
            line += "\t" + std::string(column.name) + "=" + valueText(column.get(spilled.trial));
    }
    return line + '\n';
}

std::optional<SpilledTrial> parseSpillLine(std::string_view line)
{
    if (line.ends_with('\n'))
        line.remove_suffix(1);
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos)
            break;
        start = tab + 1;
    }
    // Each field by its name; a fixed format's by its place.
    std::map<std::string_view, std::string_view> named;
    const auto fixed = std::find_if(kFixedFormats.begin(), kFixedFormats.end(),
                                    [&](const auto& format) { return format.first == fields[0]; });
    if (fixed != kFixedFormats.end()) {
        if (fields.size() != fixed->second)
            return std::nullopt;
        for (std::size_t i = 1; i < fields.size(); ++i)
            named[kFixedFields[i - 1]] = fields[i];
    } else if (fields[0] == kTag) {
        for (std::size_t i = 1; i < fields.size(); ++i) {
            const std::size_t equals = fields[i].find('=');
            if (equals == std::string_view::npos)
                return std::nullopt;
            named[fields[i].substr(0, equals)] = fields[i].substr(equals + 1);
        }
    } else {
        return std::nullopt;
    }
    SpilledTrial spilled;
    for (const JournalColumn& column : kJournalColumns) {
        if (!carried(column))
            continue;
        const auto given = named.find(column.name);
        // A line of an earlier format gives only what that version knew: the rest is what
        // the journal's older rows hold.
        const ColumnValue value = given != named.end() ? valueOfText(given->second) : olderValue(column);
        if (given == named.end() && column.since == 1)
            return std::nullopt;
        if (!column.put(spilled.trial, value))
            return std::nullopt;
    }
    const auto runNumber = named.contains("journal_run") ? number(named["journal_run"]) : std::nullopt;
    if (!runNumber || (*runNumber != 0 && !trialRules::validRun(*runNumber)) || !named.contains("session")
        || (*runNumber == 0 && named["session"].empty()))
        return std::nullopt;
    spilled.runNumber = *runNumber;
    spilled.session = std::string(named["session"]);
    const std::int64_t now
        = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch()).count();
    if (!trialRules::validTime(spilled.trial.answeredAtMs, now) || !trialRules::validAsked(spilled.trial.mode, spilled.trial.asked)
        || !validSung(spilled.trial))
        return std::nullopt;
    return spilled;
}

std::filesystem::path spillFile(const std::filesystem::path& journal)
{
    return journal.string() + ".unwritten";
}

std::vector<std::filesystem::path> spillFiles(const std::filesystem::path& journal)
{
    std::vector<std::filesystem::path> files;
    const std::string own = spillFile(journal).filename().string();
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(journal.parent_path(), error)) {
        const std::string name = entry.path().filename().string();
        const bool another = name.size() > own.size() + 1 && name.starts_with(own + "-")
                             && name.find_first_not_of("0123456789", own.size() + 1) == std::string::npos;
        if (name == own || another)
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

TrialSpill::TrialSpill(std::filesystem::path file)
    : m_file(std::move(file))
{
}

std::optional<std::string> TrialSpill::append(const std::vector<SpilledTrial>& trials, std::filesystem::path* into) const
{
    std::string text;
    for (const SpilledTrial& spilled : trials)
        text += spillLine(spilled);
    // A file taken and removed by a starting game while this one opened it is no place for
    // the lines: then once more, with the file made anew. A file another process holds
    // locked: a file of this process's own beside it, which no other process writes.
    std::filesystem::path file = m_file;
    for (int attempt = 0; attempt < 3; ++attempt) {
        const OutsideFile spill = OutsideFile::toAppend(file, OutsideFile::Links::Refused, 0600);
        if (!spill) {
            return spill.refusal()->kind == OutsideFile::Refusal::Kind::NotARegularFile
                       ? "it is no regular file"
                       : "it cannot be opened: " + spill.refusal()->text();
        }
        if (!lockNow(spill.fd())) {
            file = m_file.string() + "-" + std::to_string(::getpid());
            continue;
        }
        struct stat status {};
        if (::fstat(spill.fd(), &status) != 0 || status.st_nlink == 0)
            continue;
        const auto why = writeAll(spill.fd(), text);
        if (into)
            *into = file;
        return why;
    }
    return std::string("it was removed or held while it was being written");
}

std::optional<TrialSpill::Taken> TrialSpill::take()
{
    m_taken.reset();
    OutsideFile spill = OutsideFile::toRead(m_file, OutsideFile::Links::Refused);
    if (!spill) {
        using Kind = OutsideFile::Refusal::Kind;
        switch (spill.refusal()->kind) {
        case Kind::Missing: return std::nullopt;
        case Kind::NotARegularFile: throw std::runtime_error("it is no regular file");
        default: throw std::runtime_error("it cannot be opened: " + spill.refusal()->text());
        }
    }
    if (std::uintmax_t(spill.status().st_size) > kMaxBytes)
        throw std::runtime_error("it is larger than " + std::to_string(kMaxBytes) + " bytes");
    // Held by another process: taken at a later opening.
    if (!lockNow(spill.fd()))
        return std::nullopt;
    const auto text = spill.bytes(kMaxBytes);
    if (!text)
        throw std::runtime_error("it cannot be read: " + spill.refusal()->text());
    m_taken = std::move(spill);
    Taken taken;
    for (std::size_t start = 0; start < text->size();) {
        std::size_t end = text->find('\n', start);
        end = end == std::string::npos ? text->size() : end + 1;
        if (auto spilled = parseSpillLine(std::string_view(*text).substr(start, end - start)))
            taken.trials.push_back(std::move(*spilled));
        else
            ++taken.refused;
        start = end;
    }
    return taken;
}

void TrialSpill::finish()
{
    if (!m_taken)
        return;
    // Removed while still locked: a game that waits to append finds it gone, and makes it anew.
    ::unlink(m_file.c_str());
    m_taken.reset();
}

}  // namespace tonarika
