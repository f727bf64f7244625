#pragma once

// own
#include "JournalSchema.h"
#include "SqliteDatabase.h"
#include "SqliteStatement.h"
#include "TrialJournal.h"

// system
#include <sqlite3.h>
#include <unistd.h>

// std
#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace tonarika::bench {

// A journal of `rows` questions, the last answered now, twenty a day over the days
// before, in a scratch folder that goes when the benchmark ends. The game's own
// journal makes the file and its schema; the rest go in one transaction. With a
// `version`, the file is made with that schema version's tables instead, as an earlier
// game left it.
class LongJournal {
public:
    explicit LongJournal(int rows, int version = kJournalSchemaVersion)
        : m_folder(std::filesystem::temp_directory_path() / ("tonarika-bench-journal-" + std::to_string(::getpid())))
    {
        std::filesystem::remove_all(m_folder);
        const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(
                             std::chrono::system_clock::now().time_since_epoch()).count();
        constexpr std::int64_t day = 24 * 3600 * 1000;
        const auto answeredAt = [&](int row) { return now - std::int64_t(rows - 1 - row) * day / 20; };
        if (version == kJournalSchemaVersion) {
            TrialJournal journal(path());
            journal.record({answeredAt(0), Mode::Easy, 1, 0, 0, 1500, 1});
            if (!journal.flush(std::chrono::seconds(10)))
                throw std::runtime_error("the journal was not written");
        } else {
            std::filesystem::create_directories(m_folder);
            SqliteDatabase made(fileUri(path()), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
            made.execute("PRAGMA journal_mode = WAL");
            migrateSchema(made, 0, version);
        }
        SqliteDatabase database(fileUri(path()), SQLITE_OPEN_READWRITE);
        database.execute("BEGIN");
        SqliteStatement insert(database,
                               "INSERT INTO trials (answered_utc_ms, utc_offset_s, mode, run, asked, answered, "
                               "reaction_ms, plays) VALUES (?, 32400, ?, ?, ?, ?, ?, 1)");
        for (int row = version == kJournalSchemaVersion ? 1 : 0; row < rows; ++row) {
            // Mostly right, the misses off by a key or more, slower as the note gets darker;
            // Easy asks and takes only white keys, as the game does, or the reader leaves
            // the row out.
            const bool hard = row % 3 == 0;
            const int asked = hard ? row * 7 % 12 : row * 5 % kWhiteKeyCount;
            const int answered = row % 5 ? asked
                                 : hard  ? (asked + (row % 2 ? 1 : 7)) % kNoteCount
                                         : (asked + 1) % kWhiteKeyCount;
            insert.bind(1, answeredAt(row))
                .bind(2, std::string_view(hard ? "Hard" : "Easy"))
                .bind(3, std::int64_t(row / 20 + 1))
                .bind(4, std::int64_t(asked))
                .bind(5, std::int64_t(answered))
                .bind(6, std::int64_t(800 + asked * 90 + row % 400));
            insert.step();
            insert.reset();
        }
        database.execute("COMMIT");
    }
    ~LongJournal() { std::filesystem::remove_all(m_folder); }
    // A game opens and closes it once, as one would after the rows came: from then on it is
    // the file that game left.
    void leftByAGame() const
    {
        TrialJournal journal(path());
        journal.record({std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::system_clock::now().time_since_epoch()).count(),
                        Mode::Hard, 1, 1, 1, 1500, 1});
        if (!journal.flush(std::chrono::minutes(10)))
            throw std::runtime_error("the journal was not written");
    }
    LongJournal(const LongJournal&) = delete;
    LongJournal& operator=(const LongJournal&) = delete;

    std::filesystem::path path() const { return journalFile(m_folder); }

private:
    std::filesystem::path m_folder;
};

}  // namespace tonarika::bench
