#include "SpillIntake.h"

// own
#include "SqliteDatabase.h"
#include "TrialSpill.h"

// Qt
#include <QLoggingCategory>

namespace tonarika {

namespace {

Q_LOGGING_CATEGORY(lcJournal, "tonarika.journal", QtWarningMsg)

void takeIn(const std::filesystem::path& journal, const std::filesystem::path& file, SqliteDatabase& db,
            JournalStore& store, JournalTeller& teller)
{
    TrialSpill spill(file);
    std::optional<TrialSpill::Taken> taken;
    try {
        taken = spill.take();
    } catch (const std::runtime_error& fault) {
        teller.tell(JournalTrouble::Spill, "the trials an earlier game could not write, in " + spill.file().string()
                                               + ", cannot be taken in: " + fault.what());
        return;
    }
    if (!taken)
        return;
    try {
        store.takeIn(db, taken->trials);
    } catch (const SqliteError& fault) {
        teller.tell(JournalTrouble::Spill,
                    "the trials in " + spill.file().string() + " cannot be added to the journal yet: " + fault.what());
        return;
    }
    spill.finish();
    std::string told = std::to_string(taken->trials.size()) + " trials an earlier game could not write are now in "
                       + journal.string();
    if (taken->refused > 0)
        told += "; " + std::to_string(taken->refused) + " lines of " + spill.file().string() + " held no trial";
    qCWarning(lcJournal, "%s", told.c_str());
}

}  // namespace

void takeInSpills(const std::filesystem::path& journal, SqliteDatabase& db, JournalStore& store, JournalTeller& teller)
{
    for (const auto& file : spillFiles(journal))
        takeIn(journal, file, db, store, teller);
}

}  // namespace tonarika
