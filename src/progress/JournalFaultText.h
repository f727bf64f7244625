#pragma once

// own
#include "JournalReader.h"

// Qt
#include <QString>

namespace tonarika {

// Why the journal was not read, as the progress window says it.
QString journalFaultText(const JournalFault& fault);
// The rows left out for values no game writes, as the progress window says it.
QString refusedRowsText(std::size_t rows);

}  // namespace tonarika
