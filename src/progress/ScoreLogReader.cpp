#include "ScoreLogReader.h"

// own
#include "OutsideFile.h"
#include "ScoreFile.h"

// Qt
#include <QCoreApplication>
#include <QFile>

// system
#include <iconv.h>

// std
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

namespace tonarika {

namespace {

// Far beyond a lifetime of daily runs; a larger file is not a score log.
constexpr std::uint64_t kMaxLogBytes = 256 * 1024 * 1024;

bool isUtf8(const std::string& codeset)
{
    return codeset == "UTF-8" || codeset == "utf8";
}

// Why a file could not be read, in the words the status bar uses.
QString reasonFor(int error)
{
    switch (error) {
    case EACCES:
    case EPERM: return QCoreApplication::translate("ScoreLogReader", "読む権限がありません");
    case ELOOP: return QCoreApplication::translate("ScoreLogReader", "リンクがたどれません");
    default: return QString::fromLocal8Bit(std::strerror(error));
    }
}

}  // namespace

// One iconv descriptor per character set, opened once: opening one costs far more than
// converting a line.
class ScoreLogReader::Decoders {
public:
    explicit Decoders(std::vector<std::string> codesets)
    {
        for (auto& codeset : codesets) {
            const iconv_t converter = iconv_open("UTF-8", codeset.c_str());
            if (converter != reinterpret_cast<iconv_t>(-1))
                m_converters.push_back(converter);
        }
    }
    ~Decoders()
    {
        for (const iconv_t converter : m_converters)
            iconv_close(converter);
    }
    Decoders(const Decoders&) = delete;
    Decoders& operator=(const Decoders&) = delete;

    const std::vector<iconv_t>& converters() const { return m_converters; }

    // The bytes through one converter, or nothing where they are not valid in its set.
    std::optional<QString> convert(iconv_t converter, std::string_view bytes)
    {
        m_out.resize(bytes.size() * 4 + 4);
        iconv(converter, nullptr, nullptr, nullptr, nullptr);
        char* in = const_cast<char*>(bytes.data());
        size_t inLeft = bytes.size();
        char* next = m_out.data();
        size_t outLeft = m_out.size();
        if (iconv(converter, &in, &inLeft, &next, &outLeft) == static_cast<size_t>(-1) || inLeft != 0)
            return std::nullopt;
        return QString::fromUtf8(m_out.data(), next - m_out.data());
    }

private:
    std::vector<iconv_t> m_converters;
    std::string m_out;
};

ScoreLogReader::ScoreLogReader(ScoreLogParser parser, std::string codeset)
    : m_parser(std::move(parser))
{
    if (codeset.empty())
        codeset = localeCodeset();
    // The Japanese sets the game's logs are written in come before the locale's own,
    // which, being single-byte in most locales, would take any bytes at all.
    std::vector<std::string> codesets{"CP932", "EUC-JP"};
    if (!isUtf8(codeset))
        codesets.push_back(codeset);
    m_decoders = std::make_unique<Decoders>(std::move(codesets));
}

ScoreLogReader::~ScoreLogReader() = default;
ScoreLogReader::ScoreLogReader(ScoreLogReader&&) noexcept = default;
ScoreLogReader& ScoreLogReader::operator=(ScoreLogReader&&) noexcept = default;

ScoreLogParser::Line ScoreLogReader::parseLine(std::string_view bytes) const
{
    const QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (view.isValidUtf8()) {
        const auto line = m_parser.parse(QString::fromUtf8(view));
        if (line.kind != ScoreLogParser::Kind::Unreadable)
            return line;
    }
    for (const iconv_t converter : m_decoders->converters()) {
        const auto text = m_decoders->convert(converter, bytes);
        if (!text)
            continue;
        const auto line = m_parser.parse(*text);
        if (line.kind != ScoreLogParser::Kind::Unreadable)
            return line;
    }
    return {};
}

ScoreHistory ScoreLogReader::read(const std::vector<std::filesystem::path>& logs) const
{
    std::vector<ScoreLogTail> tails;
    for (const auto& log : logs) {
        tails.emplace_back(log);
        tails.back().update(*this);
    }
    return mergeTails(tails);
}

ScoreLogTail::ScoreLogTail(std::filesystem::path log)
    : m_log(std::move(log))
{
}

void ScoreLogTail::reset()
{
    m_device = m_inode = m_consumed = 0;
    m_records.clear();
    m_unreadable = 0;
    m_evidence.clear();
}

bool ScoreLogTail::update(const ScoreLogReader& reader)
{
    const auto before = std::make_tuple(m_records.size(), m_unreadable, m_fault);
    const auto changed = [&] { return before != std::make_tuple(m_records.size(), m_unreadable, m_fault); };
    // A link is followed: the player may keep the log elsewhere.
    OutsideFile file = OutsideFile::toRead(m_log, OutsideFile::Links::Followed);
    if (!file) {
        using Kind = OutsideFile::Refusal::Kind;
        const auto& refusal = *file.refusal();
        reset();
        m_fault.reset();
        if (refusal.kind == Kind::NotARegularFile)
            m_fault = QCoreApplication::translate("ScoreLogReader", "通常のファイルではありません");
        else if (refusal.kind != Kind::Missing)
            m_fault = reasonFor(refusal.error);
        return changed();
    }
    const auto& status = file.status();
    const auto size = static_cast<std::uint64_t>(status.st_size);
    if (size > kMaxLogBytes) {
        reset();
        m_fault = QCoreApplication::translate("ScoreLogReader", "大きすぎます（256 MB を超えています）");
        return changed();
    }
    m_fault.reset();
    // Another file under the name, or this one cut short: read it again from its start.
    if (status.st_dev != m_device || status.st_ino != m_inode || size < m_consumed) {
        reset();
        m_device = status.st_dev;
        m_inode = status.st_ino;
    }
    // What it gained since: a line still being written is read again next time.
    const std::string bytes = file.bytes(kMaxLogBytes, m_consumed).value_or(std::string());
    std::vector<ScoreLogParser::Line> undecided;
    m_consumed += forEachWholeLine(bytes, [&](std::string_view line) {
        auto parsed = reader.parseLine(line);
        switch (parsed.kind) {
        case ScoreLogParser::Kind::Record:
            m_evidence.note(parsed);
            m_records.push_back(std::move(*parsed.record));
            break;
        case ScoreLogParser::Kind::Undecided: undecided.push_back(std::move(parsed)); break;
        case ScoreLogParser::Kind::Unreadable: ++m_unreadable; break;
        case ScoreLogParser::Kind::Head: break;
        }
    });
    // A date that reads two ways is decided once the whole log has shown how it writes
    // dates; one that nothing decides is unreadable, never placed on a guessed day.
    for (ScoreLogParser::Line& line : undecided) {
        if (const auto date = reader.decide(line, m_evidence)) {
            line.record->when.setDate(*date);
            m_records.push_back(std::move(*line.record));
        } else {
            ++m_unreadable;
        }
    }
    return changed();
}

ScoreHistory mergeTails(const std::vector<ScoreLogTail>& tails)
{
    ScoreHistory history;
    std::size_t total = 0;
    for (const auto& tail : tails)
        total += tail.records().size();
    history.records.reserve(total);
    for (const auto& tail : tails) {
        history.records.insert(history.records.end(), tail.records().begin(), tail.records().end());
        history.unreadableLines += tail.unreadableLines();
        if (tail.fault())
            history.faults.push_back({tail.log(), *tail.fault()});
    }
    std::stable_sort(history.records.begin(), history.records.end(),
                     [](const ScoreRecord& a, const ScoreRecord& b) { return a.when < b.when; });
    return history;
}

QString displayPath(const std::filesystem::path& path)
{
    return QFile::decodeName(QByteArray(path.c_str()));
}

}  // namespace tonarika
