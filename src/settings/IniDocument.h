#pragma once

// Qt
#include <QByteArray>
#include <QString>

// std
#include <optional>
#include <vector>

namespace tonarika {

// An INI file as it was written, line for line. Its values are read from it, and a value
// set changes only that value's text, so that comments (from ";" or "#"), blank lines,
// other groups and keys, the spelling of a key's line and the line ends all stay as they
// are. Keys are "group/key"; a key outside any group is no key of a group.
class IniDocument {
public:
    explicit IniDocument(const QByteArray& text = {});

    // The value of `key` as text, the last where the key is given twice: quotes and
    // escapes taken out, and a list of values (split at commas outside quotes) with each
    // one's spaces trimmed, joined by ",". Nothing where the key is not there.
    std::optional<QString> value(const QString& key) const;
    // Gives `key` the text `value`: in every line that gives the key, or else in a new line
    // at the end of the group's last part, or under a new heading at the end.
    void setValue(const QString& key, const QString& value);

    QByteArray text() const;

private:
    struct Line {
        QByteArray text;  // with its line end
        std::optional<QByteArray> heading;  // a group's, for a heading line
        QByteArray key;  // for a line that gives a value
        qsizetype valueFrom = 0;  // where its value's text begins and ends in `text`
        qsizetype valueTo = 0;
    };
    static Line parse(QByteArray text);
    // The group a line is in.
    std::vector<QByteArray> groups() const;

    std::vector<Line> m_lines;
    QByteArray m_newline = "\n";
};

}  // namespace tonarika
