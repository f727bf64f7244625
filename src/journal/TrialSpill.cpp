#include "TrialSpill.h"

// own
#include "TrialRules.h"

// system
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

// std
#include <cerrno>
#include <algorithm>
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

// The first field names the format, so that a line of anything else is never taken. The
// second format adds the timbre, the octave and the guard, the third the A4; a line an
// earlier version left is the middle piano octave, or at 440 Hz.
constexpr std::string_view kFirstTag = "tonarika-trial-1";
constexpr std::size_t kFirstFields = 11;
constexpr std::string_view kSecondTag = "tonarika-trial-2";
constexpr std::size_t kSecondFields = 14;
constexpr std::string_view kThirdTag = "tonarika-trial-3";
constexpr std::size_t kThirdFields = 15;
constexpr std::string_view kTag = "tonarika-trial-4";
constexpr std::size_t kFields = 16;

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

std::string spillLine(const SpilledTrial& spilled)
{
    const Trial& t = spilled.trial;
    std::string line(kTag);
    for (const std::string& field :
         {std::to_string(t.answeredAtMs), std::to_string(spilled.utcOffsetS), std::string(modeKey(t.mode)),
          std::to_string(spilled.runNumber), spilled.session, std::to_string(int(t.asked)), std::to_string(int(t.answered)),
          t.reactionMs ? std::to_string(*t.reactionMs) : std::string("-"), std::to_string(t.plays)}) {
        line += '\t';
        line += field;
    }
    // The trial's run in its session, so that the line gives back the whole trial.
    for (const std::string& field : {std::to_string(t.run), std::string(timbreKey(t.timbre)), std::to_string(t.octave),
                                     std::string(t.guard ? "1" : "0"), std::to_string(t.a4),
                                     t.input ? std::string(inputKey(*t.input)) : std::string("-")}) {
        line += '\t';
        line += field;
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
    const bool first = fields.size() == kFirstFields && fields[0] == kFirstTag;
    const bool second = fields.size() == kSecondFields && fields[0] == kSecondTag;
    const bool third = fields.size() == kThirdFields && fields[0] == kThirdTag;
    if (!first && !second && !third && (fields.size() != kFields || fields[0] != kTag))
        return std::nullopt;
    const auto utcMs = number(fields[1]);
    const auto offset = number(fields[2]);
    const auto mode = modeFromKey(fields[3]);
    const auto runNumber = number(fields[4]);
    const auto asked = number(fields[6]);
    const auto answered = number(fields[7]);
    // "-": no reaction time, which is no fault; anything else must be one.
    const bool noReaction = fields[8] == "-";
    const auto reaction = noReaction ? std::optional<std::int64_t>(0) : number(fields[8]);
    const auto plays = number(fields[9]);
    const auto run = number(fields[10]);
    const auto timbre = first ? std::optional<Timbre>(Timbre::Piano) : timbreFromKey(fields[11]);
    const auto octave = first ? std::optional<std::int64_t>(kHomeOctave) : number(fields[12]);
    const auto guard = first ? std::optional<std::int64_t>(0) : number(fields[13]);
    const auto a4 = first || second ? std::optional<std::int64_t>(440) : number(fields[14]);
    // "-" or an earlier line: the input is not known.
    const bool noInput = first || second || third || fields[15] == "-";
    const auto input = noInput ? std::nullopt : inputFromKey(fields[15]);
    using namespace trialRules;
    const std::int64_t now
        = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch()).count();
    if (!utcMs || !validTime(*utcMs, now) || !offset || !validOffset(*offset) || !mode || !validAsked(*mode, asked.value_or(0))
        || !runNumber
        || (*runNumber != 0 && !validRun(*runNumber)) || (*runNumber == 0 && fields[5].empty()) || !asked
        || !validNote(*asked) || !answered || !validNote(*answered) || !reaction
        || !validReaction(*reaction) || !plays || !validPlays(*plays) || !run || *run < 0
        || *run > kMaxCount || !timbre || !octave || !validOctave(*octave) || !guard || !validGuard(*guard) || !a4
        || !validA4(*a4) || (!noInput && !input))
        return std::nullopt;
    SpilledTrial spilled;
    spilled.trial.answeredAtMs = *utcMs;
    spilled.trial.mode = *mode;
    spilled.trial.run = std::uint32_t(*run);
    spilled.trial.asked = NoteIndex(*asked);
    spilled.trial.answered = NoteIndex(*answered);
    if (!noReaction)
        spilled.trial.reactionMs = std::uint32_t(*reaction);
    spilled.trial.plays = std::uint32_t(*plays);
    spilled.trial.timbre = *timbre;
    spilled.trial.octave = int(*octave);
    spilled.trial.guard = *guard == 1;
    spilled.trial.a4 = int(*a4);
    spilled.trial.input = input;
    spilled.utcOffsetS = *offset;
    spilled.runNumber = *runNumber;
    spilled.session = std::string(fields[5]);
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

TrialSpill::~TrialSpill()
{
    if (m_taken >= 0)
        ::close(m_taken);
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
        const int fd = ::open(file.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
        if (fd < 0)
            return errorText("it cannot be opened");
        struct stat status {};
        if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
            ::close(fd);
            return std::string("it is no regular file");
        }
        if (!lockNow(fd)) {
            ::close(fd);
            file = m_file.string() + "-" + std::to_string(::getpid());
            continue;
        }
        if (::fstat(fd, &status) != 0 || status.st_nlink == 0) {
            ::close(fd);
            continue;
        }
        const auto why = writeAll(fd, text);
        ::close(fd);
        if (into)
            *into = file;
        return why;
    }
    return std::string("it was removed or held while it was being written");
}

std::optional<TrialSpill::Taken> TrialSpill::take()
{
    if (m_taken >= 0) {
        ::close(m_taken);
        m_taken = -1;
    }
    const int fd = ::open(m_file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return std::nullopt;
        throw std::runtime_error(errorText("it cannot be opened"));
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        throw std::runtime_error("it is no regular file");
    }
    if (std::uintmax_t(status.st_size) > kMaxBytes) {
        ::close(fd);
        throw std::runtime_error("it is larger than " + std::to_string(kMaxBytes) + " bytes");
    }
    // Held by another process: taken at a later opening.
    if (!lockNow(fd)) {
        ::close(fd);
        return std::nullopt;
    }
    std::string text;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            const std::string why = errorText("it cannot be read");
            ::close(fd);
            throw std::runtime_error(why);
        }
        if (got == 0 || text.size() + std::size_t(got) > kMaxBytes)
            break;
        text.append(buffer, std::size_t(got));
    }
    m_taken = fd;
    Taken taken;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        if (auto spilled = parseSpillLine(std::string_view(text).substr(start, end - start)))
            taken.trials.push_back(std::move(*spilled));
        else
            ++taken.refused;
        start = end;
    }
    return taken;
}

void TrialSpill::finish()
{
    if (m_taken < 0)
        return;
    // Removed while still locked: a game that waits to append finds it gone, and makes it anew.
    ::unlink(m_file.c_str());
    ::close(m_taken);
    m_taken = -1;
}

}  // namespace tonarika
