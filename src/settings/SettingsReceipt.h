#pragma once

// Qt
#include <QByteArray>
#include <QString>

namespace tonarika {

// The small file beside the settings file in which the running game says which of the
// file's contents it has taken up: the digest of the bytes it last read, so that the
// companion can tell the player that a change has reached the game. No socket, no bus:
// a file any number of games and companions can share.
QString receiptPath(const QString& settingsPath);

// The digest a receipt holds for some bytes of the settings file.
QByteArray settingsDigest(const QByteArray& bytes);

// Writes `digest` atomically, unless the receipt already holds it; false where it could
// not be written.
bool writeReceipt(const QString& settingsPath, const QByteArray& digest);

// The digest the receipt holds; empty where there is none or it holds no digest.
QByteArray readReceipt(const QString& settingsPath);

}  // namespace tonarika
