#include "ScoreLine.h"

// own
#include "Rules.h"

// system
#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

// std
#include <cerrno>
#include <vector>

namespace tonarika {

QString scoreHead()
{
    return QStringLiteral("//\u3000「 Tonarika 」\u3000スコアファイル\u3000//\r\n"
                          "\r\n"
                          "-日付-\u3000\u3000\u3000\u3000\u3000\u3000    -モード-    -ミス-    \u3000 -正解率-\r\n");
}

QString zonePad(qsizetype length)
{
    return QString(((kPrintZone - length % kPrintZone) % kPrintZone), u' ');
}

QString ratePad(double rate)
{
    if (rate == 100.0)
        return {};
    if (rate >= 10.0 && rate <= 100.0)
        return QStringLiteral(" ");
    return QStringLiteral("  ");
}

QString scoreLine(const ScoreRun& run, const QDateTime& when, const QLocale& locale)
{
    const auto pad = [](std::uint32_t count) { return count < 10 ? QStringLiteral(" ") : QString(); };

    QString line = locale.toString(when.date(), QLocale::ShortFormat) + u'('
        + locale.dayName(when.date().dayOfWeek(), QLocale::ShortFormat) + QStringLiteral(") ")
        + when.time().toString(QStringLiteral("HH:mm")) + QStringLiteral("\u3000\u3000") + QString::fromStdString(run.mode);
    line += zonePad(line.size());
    line += QStringLiteral("\u3000") + pad(run.missCount) + QString::number(run.missCount) + u'/' + pad(run.questionCount)
        + QString::number(run.questionCount) + QStringLiteral(" 回");
    line += zonePad(line.size());
    line += ratePad(correctRate(run.questionCount, run.missCount)) + QString::fromStdString(run.rateCaption);
    return line;
}

std::string localeCodeset()
{
    locale_t user = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(nullptr));
    if (!user)
        return "UTF-8";
    std::string codeset = nl_langinfo_l(CODESET, user);
    freelocale(user);
    return codeset;
}

std::string encodeText(const QString& text, const std::string& codeset)
{
    const QByteArray utf8 = text.toUtf8();
    if (codeset == "UTF-8" || codeset == "utf8" || codeset == "ANSI_X3.4-1968" || codeset == "ASCII")
        return utf8.toStdString();

    iconv_t converter = iconv_open((codeset + "//TRANSLIT").c_str(), "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1))
        return utf8.toStdString();
    std::string out;
    std::vector<char> buffer(4 * static_cast<size_t>(utf8.size()) + 16);
    char* in = const_cast<char*>(utf8.constData());
    size_t inLeft = static_cast<size_t>(utf8.size());
    while (inLeft > 0) {
        char* next = buffer.data();
        size_t outLeft = buffer.size();
        const size_t done = iconv(converter, &in, &inLeft, &next, &outLeft);
        out.append(buffer.data(), next);
        if (done == static_cast<size_t>(-1) && errno != E2BIG) {
            // A character with no equivalent: mark it and go on with the next one.
            out += '?';
            ++in;
            --inLeft;
            while (inLeft > 0 && (static_cast<unsigned char>(*in) & 0xC0) == 0x80) {
                ++in;
                --inLeft;
            }
        }
    }
    iconv_close(converter);
    return out;
}

}  // namespace tonarika
