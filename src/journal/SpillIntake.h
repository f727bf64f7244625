#pragma once

// own
#include "JournalStore.h"
#include "JournalTeller.h"

// std
#include <filesystem>

namespace tonarika {

class SqliteDatabase;

// Takes into the journal what the spill files beside it hold, this game's own and those of
// processes that found it held, each in one transaction, and removes each once its trials
// are in; one that cannot be taken in is told, and waits for a later opening.
void takeInSpills(const std::filesystem::path& journal, SqliteDatabase& db, JournalStore& store, JournalTeller& teller);

}  // namespace tonarika
