#include "ScoreLogReader.h"

// own
#include "ScoreFile.h"

// Qt
#include <QStringDecoder>

// system
#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

// std
#include <algorithm>
#include <cerrno>
#include <optional>

namespace tonarika {

namespace {

// Far beyond a lifetime of daily runs; a larger file is not a score log.
constexpr off_t kMaxLogBytes = 256 * 1024 * 1024;

// The bytes in `codeset`, or nothing where they are not valid in it.
std::optional<QString> convert(std::string_view bytes, const std::string& codeset)
{
    iconv_t converter = iconv_open("UTF-8", codeset.c_str());
    if (converter == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    std::string out(bytes.size() * 4 + 4, '\0');
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    char* next = out.data();
    size_t outLeft = out.size();
    const bool whole = iconv(converter, &in, &inLeft, &next, &outLeft) != static_cast<size_t>(-1) && inLeft == 0;
    iconv_close(converter);
    if (!whole)
        return std::nullopt;
    return QString::fromUtf8(out.data(), next - out.data());
}

// The whole content of a regular file, read once; nothing for anything else.
std::optional<std::string> slurp(const std::filesystem::path& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::optional<std::string> bytes;
    struct stat status {};
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_size <= kMaxLogBytes) {
        bytes.emplace(static_cast<size_t>(status.st_size), '\0');
        size_t got = 0;
        while (got < bytes->size()) {
            const ssize_t n = ::read(fd, bytes->data() + got, bytes->size() - got);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            got += static_cast<size_t>(n);
        }
        bytes->resize(got);
    }
    ::close(fd);
    return bytes;
}

}  // namespace

ScoreLogReader::ScoreLogReader(ScoreLogParser parser, std::string codeset)
    : m_parser(std::move(parser))
    , m_codeset(codeset.empty() ? localeCodeset() : std::move(codeset))
{
}

std::optional<QString> ScoreLogReader::decode(std::string_view bytes) const
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!utf8.hasError())
        return text;
    for (const std::string& codeset : {m_codeset, std::string("CP932"), std::string("EUC-JP")}) {
        if (auto converted = convert(bytes, codeset))
            return converted;
    }
    return std::nullopt;
}

void ScoreLogReader::readOne(const std::filesystem::path& log, ScoreHistory& history) const
{
    const auto bytes = slurp(log);
    if (!bytes)
        return;
    // Up to the last whole line: the game may be appending at this moment.
    const size_t whole = bytes->rfind('\n');
    if (whole == std::string::npos)
        return;
    std::string_view rest(bytes->data(), whole + 1);
    while (!rest.empty()) {
        const size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        const auto text = decode(line);
        const auto parsed = text ? m_parser.parse(*text) : ScoreLogParser::Line{};
        if (parsed.kind == ScoreLogParser::Kind::Record)
            history.records.push_back(*parsed.record);
        else if (parsed.kind == ScoreLogParser::Kind::Unreadable)
            ++history.unreadableLines;
    }
}

ScoreHistory ScoreLogReader::read(const std::vector<std::filesystem::path>& logs) const
{
    ScoreHistory history;
    for (const auto& log : logs)
        readOne(log, history);
    std::stable_sort(history.records.begin(), history.records.end(),
                     [](const ScoreRecord& a, const ScoreRecord& b) { return a.when < b.when; });
    return history;
}

}  // namespace tonarika
