#include "ScoreFile.h"

// own
#include "OutsideFile.h"
#include "ScoreLine.h"

// Qt
#include <QLoggingCategory>

// system
#include <fcntl.h>
#include <iconv.h>
#include <langinfo.h>
#include <locale.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

// std
#include <atomic>
#include <cerrno>
#include <cstring>
#include <system_error>

namespace tonarika {

namespace {

Q_LOGGING_CATEGORY(lcScore, "tonarika.score", QtWarningMsg)


// The text in the given character set ("SHIFT_JIS", "UTF-8", ...), or in UTF-8 where the
// set cannot hold all of it (ASCII, Latin-1: no Japanese at all). A record turned to "?"
// could never be read back; one in UTF-8 can, and whole.
std::string encodeText(const QString& text, const std::string& codeset)
{
    const QByteArray utf8 = text.toUtf8();
    if (codeset == "UTF-8" || codeset == "utf8")
        return utf8.toStdString();
    iconv_t converter = iconv_open(codeset.c_str(), "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1))
        return utf8.toStdString();
    std::string out(4 * static_cast<size_t>(utf8.size()) + 16, '\0');
    char* in = const_cast<char*>(utf8.constData());
    size_t inLeft = static_cast<size_t>(utf8.size());
    char* next = out.data();
    size_t outLeft = out.size();
    const bool whole = iconv(converter, &in, &inLeft, &next, &outLeft) != static_cast<size_t>(-1) && inLeft == 0
        && iconv(converter, nullptr, nullptr, &next, &outLeft) != static_cast<size_t>(-1);
    iconv_close(converter);
    if (!whole)
        return utf8.toStdString();
    out.resize(static_cast<size_t>(next - out.data()));
    return out;
}

// Takes the advisory lock that every writer of the score file takes for its append.
// A lock held for more than a moment is no writer of ours: give up rather than hang.
bool lockFile(int fd)
{
    for (int attempt = 0; attempt < 200; ++attempt) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return true;
        if (errno != EWOULDBLOCK && errno != EINTR)
            return false;
        ::usleep(10'000);
    }
    return false;
}

bool writeAll(int fd, const std::string& bytes)
{
    // One write() for the record, so that appends of two processes cannot interleave.
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    return written == static_cast<ssize_t>(bytes.size());
}

// Creates the file with its head unless some file is there already. The head is
// written to a private file first and linked into place, so that the file never
// exists without its head; where the file system has no hard links, an exclusive
// create followed by the head has to do.
void createWithHead(const std::filesystem::path& path, const std::string& head)
{
    static std::atomic<unsigned> serial{0};
    const std::filesystem::path temporary = path.parent_path()
        / (".Score.TXT." + std::to_string(::getpid()) + "." + std::to_string(serial++));
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    const bool written = writeAll(fd, head);
    ::close(fd);
    const bool linked = written && ::link(temporary.c_str(), path.c_str()) == 0;
    const int linkError = errno;
    ::unlink(temporary.c_str());
    if (linked || !written || linkError == EEXIST)
        return;

    const int direct = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (direct < 0)
        return;
    writeAll(direct, head);
    ::close(direct);
}

}  // namespace

std::string localeCodeset()
{
    locale_t user = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(nullptr));
    if (!user)
        return "UTF-8";
    std::string codeset = nl_langinfo_l(CODESET, user);
    freelocale(user);
    return codeset;
}

std::filesystem::path scoreFilePath(const std::filesystem::path& folder)
{
    return folder / "Score.TXT";
}

std::string appendRecord(const std::filesystem::path& path, const std::string& head, const std::string& record,
                         Links links)
{
    struct stat status {};
    // Only a name that is certainly free is created; whatever else is there is kept.
    if (::lstat(path.c_str(), &status) != 0 && errno == ENOENT)
        createWithHead(path, head);

    // A link planted under the name is not followed unless `links` allows it, and a FIFO
    // planted there does not hang the game: only a regular file of the player's own takes
    // the record.
    OutsideFile file = OutsideFile::toAppend(
        path, links == Links::FollowedToOwnFile ? OutsideFile::Links::Followed : OutsideFile::Links::Refused);
    if (!file) {
        switch (file.refusal()->kind) {
        case OutsideFile::Refusal::Kind::Link: return "it is a link, and links are not followed there";
        case OutsideFile::Refusal::Kind::NotARegularFile: return "it is not a regular file";
        default: return file.refusal()->text();
        }
    }
    const int fd = file.fd();
    status = file.status();
    std::string fault;
    if (status.st_uid != ::geteuid())
        fault = "it belongs to another user";
    else if (!lockFile(fd))
        fault = "another program has held its lock for more than 2 s";
    else {
        // Under the lock nobody else appends, so the length read here is where this
        // record starts, and cutting back to it removes exactly a torn record.
        errno = 0;
        if (::fstat(fd, &status) != 0)
            fault = std::strerror(errno);
        else if (!writeAll(fd, record)) {
            fault = errno != 0 ? std::strerror(errno) : "the disk took only part of it";
            // A torn record would glue the next one onto it for ever. Should the
            // cut fail too, nothing more can be done here.
            [[maybe_unused]] const int cut = ::ftruncate(fd, status.st_size);
        }
        ::flock(fd, LOCK_UN);
    }
    if (const int error = file.close(); error != 0 && fault.empty())
        fault = std::strerror(error);
    return fault;
}

ScoreFile::ScoreFile(std::filesystem::path programFolder, std::filesystem::path dataFolder, QLocale locale,
                     std::string codeset, Clock clock)
    : m_programFolder(std::move(programFolder))
    , m_dataFolder(std::move(dataFolder))
    , m_locale(std::move(locale))
    , m_codeset(codeset.empty() ? localeCodeset() : std::move(codeset))
    , m_clock(std::move(clock))
{
}

RecordOutcome ScoreFile::append(const ScoreRun& run)
{
    const QString line = scoreLine(run, m_clock(), m_locale);
    const RecordOutcome kept{true, line.toStdString()};
    const std::string head = encodeText(scoreHead(), m_codeset);
    const std::string record = encodeText(line + QStringLiteral("\r\n"), m_codeset);

    const auto programLog = scoreFilePath(m_programFolder);
    std::string programFault;
    if (!m_programFolder.empty()) {
        programFault = appendRecord(programLog, head, record, Links::Refused);
        if (programFault.empty())
            return kept;
    }
    // The player's own folder, which only the player can write: a link there is the
    // player's, to a file in a folder that is synchronised, say.
    const auto dataLog = scoreFilePath(m_dataFolder);
    std::string dataFault = "there is no data folder: no home folder was found";
    if (!m_dataFolder.empty()) {
        std::error_code error;
        std::filesystem::create_directories(m_dataFolder, error);
        dataFault = error ? "its folder cannot be made: " + error.message()
                          : appendRecord(dataLog, head, record, Links::FollowedToOwnFile);
    }
    if (dataFault.empty()) {
        if (!m_programFolder.empty())
            qCWarning(lcScore, "the record went to %s, as %s did not take it: %s", dataLog.c_str(), programLog.c_str(),
                      programFault.c_str());
        return kept;
    }
    if (!m_programFolder.empty())
        qCWarning(lcScore, "%s did not take the record: %s", programLog.c_str(), programFault.c_str());
    qCWarning(lcScore, "%s did not take the record: %s", dataLog.c_str(), dataFault.c_str());
    qCWarning(lcScore, "the run was not saved anywhere; its record: %s", kept.line.c_str());
    return {false, kept.line};
}

}  // namespace tonarika
