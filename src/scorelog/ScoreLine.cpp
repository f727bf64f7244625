#include "ScoreLine.h"

// own
#include "Rules.h"

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

}  // namespace tonarika
