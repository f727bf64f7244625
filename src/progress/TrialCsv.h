#pragma once

// own
#include "Journal.h"

// Qt
#include <QString>

// std
#include <optional>
#include <vector>

namespace tonarika {

// Writes trials as CSV (RFC 4180 with CRLF line ends, UTF-8 with a byte-order mark so that a
// spreadsheet reads the Japanese, a header row, the UTC time and the time where each was
// answered, the notes' names as the pages show them) in place of the file, whole; how many
// rows, or nothing where the file cannot be written, and then the old file stays.
std::optional<int> writeTrialsCsv(const QString& path, const std::vector<const Trial*>& trials);

}  // namespace tonarika
