#pragma once

// own
#include "JournalReader.h"

// Qt
#include <QString>

// std
#include <string>

namespace tonarika {

// Why the journal was not read, as the progress window says it.
QString journalFaultText(const JournalFault& fault);
// The rows left out for values no game writes, as the progress window says it.
QString refusedRowsText(std::size_t rows);
// Why the journal was not read, for a line on stderr: in English, with every detail.
std::string describeJournalFault(const JournalFault& fault);

}  // namespace tonarika
