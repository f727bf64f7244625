#include "TrialCsv.h"

// own
#include "Progress.h"

// Qt
#include <QDateTime>
#include <QSaveFile>
#include <QStringList>

namespace tonarika {

namespace {

QString csvField(const QString& text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    return u'"' + QString(text).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

}  // namespace

std::optional<int> writeTrialsCsv(const QString& path, const std::vector<const Trial*>& trials)
{
    // RFC 4180: CRLF line ends; UTF-8 with a byte-order mark, so that a spreadsheet reads
    // the Japanese as such; replaced whole, so that a failed write leaves the old file.
    QString text = QStringLiteral("\uFEFF時刻 (UTC),時刻 (記録した場所),モード,回,出題,最初の答え,正解,反応時間 (ms),"
                                  "再生回数,音色,オクターブ,前の音を手がかりにしない,A4 (Hz),テスト,入力,答える時間の制限 (ms),"
                                  "ずれ (セント)\r\n");
    int rows = 0;
    for (const Trial* trial : trials) {
        const QDateTime utc = QDateTime::fromMSecsSinceEpoch(trial->answeredAtMs, Qt::UTC);
        const QDateTime local = utc.toOffsetFromUtc(trial->utcOffsetS);
        const QStringList fields{utc.toString(Qt::ISODateWithMs),
                                 local.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                                 qtText(modeKey(trial->mode)),
                                 QString::number(trial->run),
                                 noteText(trial->asked),
                                 noteText(trial->answered),
                                 trial->right() ? QStringLiteral("1") : QStringLiteral("0"),
                                 trial->reactionMs ? QString::number(*trial->reactionMs) : QString(),
                                 QString::number(trial->plays),
                                 qtText(timbreRow(trial->timbre).name),
                                 QString::number(trial->octave),
                                 trial->guard ? QStringLiteral("1") : QStringLiteral("0"),
                                 QString::number(trial->a4),
                                 trial->mode == Mode::PitchTest ? QString::number(trial->test) : QString(),
                                 trial->input ? qtText(inputKey(*trial->input)) : QString(),
                                 trial->windowMs ? QString::number(*trial->windowMs) : QString(),
                                 trial->centsOff ? QString::number(*trial->centsOff) : QString()};
        QStringList quoted;
        for (const QString& field : fields)
            quoted << csvField(field);
        text += quoted.join(u',') + QStringLiteral("\r\n");
        ++rows;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return std::nullopt;
    const QByteArray bytes = text.toUtf8();
    // A write the disk refuses shows at the flush: commit() would still put the cut-off
    // file in place and report success.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return std::nullopt;
    }
    if (!file.commit())
        return std::nullopt;
    return rows;
}

}  // namespace tonarika
