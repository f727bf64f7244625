#include "IniDocument.h"

// Qt
#include <QStringList>

// std
#include <algorithm>

namespace tonarika {

namespace {

bool blank(char c)
{
    return c == ' ' || c == '\t';
}

// The text of a value as written: quotes and escapes taken out, each of a list's values
// trimmed unless quoted, the list joined by ",".
QString unescaped(const QByteArray& written)
{
    QStringList parts;
    QByteArray part;
    bool quoted = false;  // within quotes
    bool wasQuoted = false;  // this part had quotes: its spaces are its own
    const auto close = [&] {
        QByteArray text = part;
        if (!wasQuoted) {
            while (!text.isEmpty() && blank(text.back()))
                text.chop(1);
        }
        parts << QString::fromUtf8(text);
        part.clear();
        wasQuoted = false;
    };
    for (qsizetype i = 0; i < written.size(); ++i) {
        const char c = written[i];
        if (c == '\\' && i + 1 < written.size()) {
            const char next = written[++i];
            part += next == 'n' ? '\n' : next == 't' ? '\t' : next == 'r' ? '\r' : next;
        } else if (c == '"') {
            quoted = !quoted;
            wasQuoted = true;
        } else if (c == ',' && !quoted) {
            close();
            while (i + 1 < written.size() && blank(written[i + 1]))
                ++i;
        } else {
            part += c;
        }
    }
    close();
    return parts.join(QLatin1Char(','));
}

}  // namespace

IniDocument::IniDocument(const QByteArray& text)
{
    for (qsizetype start = 0; start < text.size();) {
        const qsizetype end = text.indexOf('\n', start);
        const qsizetype next = end < 0 ? text.size() : end + 1;
        m_lines.push_back(parse(text.mid(start, next - start)));
        start = next;
    }
    // A new line takes the end the file's first line has.
    if (!m_lines.empty() && m_lines.front().text.endsWith("\r\n"))
        m_newline = "\r\n";
    if (!m_lines.empty() && !m_lines.back().text.endsWith('\n'))
        m_lines.back().text += m_newline;
}

IniDocument::Line IniDocument::parse(QByteArray text)
{
    Line line;
    line.text = std::move(text);
    const QByteArray trimmed = line.text.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith(';') || trimmed.startsWith('#'))
        return line;
    if (trimmed.startsWith('[') && trimmed.endsWith(']')) {
        line.heading = trimmed.mid(1, trimmed.size() - 2).trimmed();
        return line;
    }
    const qsizetype equals = line.text.indexOf('=');
    if (equals < 0)
        return line;
    line.key = line.text.left(equals).trimmed();
    // The value runs from past the spaces after "=" to a ";" outside quotes, which begins a
    // comment, or the line's end, without the spaces before either.
    qsizetype from = equals + 1;
    while (from < line.text.size() && blank(line.text[from]))
        ++from;
    qsizetype to = from;
    bool quoted = false;
    for (; to < line.text.size(); ++to) {
        const char c = line.text[to];
        if (c == '\r' || c == '\n' || (c == ';' && !quoted))
            break;
        if (c == '\\')
            ++to;
        else if (c == '"')
            quoted = !quoted;
    }
    to = std::min(to, line.text.size());
    while (to > from && blank(line.text[to - 1]) && line.text[to - 2] != '\\')
        --to;
    line.valueFrom = from;
    line.valueTo = to;
    return line;
}

std::vector<QByteArray> IniDocument::groups() const
{
    std::vector<QByteArray> groups;
    QByteArray current;
    for (const Line& line : m_lines) {
        if (line.heading)
            current = *line.heading;
        groups.push_back(current);
    }
    return groups;
}

std::optional<QString> IniDocument::value(const QString& key) const
{
    const QByteArray group = key.section(QLatin1Char('/'), 0, 0).toUtf8();
    const QByteArray name = key.section(QLatin1Char('/'), 1).toUtf8();
    const auto inGroup = groups();
    std::optional<QString> found;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const Line& line = m_lines[i];
        if (!line.heading && !group.isEmpty() && inGroup[i] == group && !line.key.isEmpty() && line.key == name)
            found = unescaped(line.text.mid(line.valueFrom, line.valueTo - line.valueFrom));
    }
    return found;
}

void IniDocument::setValue(const QString& key, const QString& value)
{
    const QByteArray group = key.section(QLatin1Char('/'), 0, 0).toUtf8();
    const QByteArray name = key.section(QLatin1Char('/'), 1).toUtf8();
    const QByteArray encoded = value.toUtf8();
    const auto inGroup = groups();
    bool found = false;
    std::optional<std::size_t> groupEnd;  // after the last line of the group's last part
    std::optional<std::size_t> lastHeading;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        Line& line = m_lines[i];
        if (line.heading) {
            if (*line.heading == group)
                lastHeading = i;
            continue;
        }
        if (inGroup[i] != group)
            continue;
        if (!line.text.trimmed().isEmpty())
            groupEnd = i + 1;
        if (line.key.isEmpty() || line.key != name)
            continue;
        // Its spelling up to the value stays, and so does what follows it.
        line = parse(line.text.left(line.valueFrom) + encoded + line.text.mid(line.valueTo));
        found = true;
    }
    if (found)
        return;
    Line added = parse(name + " = " + encoded + m_newline);
    if (groupEnd) {
        m_lines.insert(m_lines.begin() + std::ptrdiff_t(*groupEnd), std::move(added));
    } else if (lastHeading) {
        // The group is there but empty: right under its last heading.
        m_lines.insert(m_lines.begin() + std::ptrdiff_t(*lastHeading + 1), std::move(added));
    } else {
        // A heading of its own, after a blank line where the text has one to follow.
        if (!m_lines.empty() && !m_lines.back().text.trimmed().isEmpty())
            m_lines.push_back(parse(m_newline));
        m_lines.push_back(parse("[" + group + "]" + m_newline));
        m_lines.push_back(std::move(added));
    }
}

QByteArray IniDocument::text() const
{
    QByteArray text;
    for (const Line& line : m_lines)
        text += line.text;
    return text;
}

}  // namespace tonarika
