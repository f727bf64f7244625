#include "SettingsReceipt.h"

// own
#include "OutsideFile.h"

// Qt
#include <QCryptographicHash>
#include <QFile>
#include <QSaveFile>

namespace tonarika {

namespace {

// A SHA-256 digest in hex, and a line end.
constexpr std::uint64_t kMaxBytes = 128;

bool isDigest(const QByteArray& text)
{
    if (text.size() != 64)
        return false;
    for (const char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    }
    return true;
}

}  // namespace

QString receiptPath(const QString& settingsPath)
{
    return settingsPath + QStringLiteral(".taken");
}

QByteArray settingsDigest(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

bool writeReceipt(const QString& settingsPath, const QByteArray& digest)
{
    if (readReceipt(settingsPath) == digest)
        return true;
    QSaveFile file(receiptPath(settingsPath));
    return file.open(QIODevice::WriteOnly) && file.write(digest + '\n') == digest.size() + 1 && file.commit();
}

QByteArray readReceipt(const QString& settingsPath)
{
    // Anyone may have put anything there: only a small regular file that holds a digest.
    OutsideFile file = OutsideFile::toRead(QFile::encodeName(receiptPath(settingsPath)).toStdString(), OutsideFile::Links::Refused);
    const auto bytes = file ? file.bytes(kMaxBytes) : std::nullopt;
    if (!bytes)
        return {};
    const QByteArray text = QByteArray(bytes->data(), qsizetype(bytes->size())).trimmed();
    return isDigest(text) ? text : QByteArray();
}

}  // namespace tonarika
