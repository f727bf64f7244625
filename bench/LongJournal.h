#pragma once

// own
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
// journal makes the file and its schema; the rest go in one transaction.
class LongJournal {
public:
    explicit LongJournal(int rows)
        : m_folder(std::filesystem::temp_directory_path() / ("tonarika-bench-journal-" + std::to_string(::getpid())))
    {
        std::filesystem::remove_all(m_folder);
        const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(
                             std::chrono::system_clock::now().time_since_epoch()).count();
        constexpr std::int64_t day = 24 * 3600 * 1000;
        const auto answeredAt = [&](int row) { return now - std::int64_t(rows - 1 - row) * day / 20; };
        {
            TrialJournal journal(path());
            journal.record({answeredAt(0), Mode::Easy, 1, 0, 0, 1500, 1});
            if (!journal.flush(std::chrono::seconds(10)))
                throw std::runtime_error("the journal was not written");
        }
        SqliteDatabase database(fileUri(path()), SQLITE_OPEN_READWRITE);
        database.execute("BEGIN");
        SqliteStatement insert(database,
                               "INSERT INTO trials (answered_utc_ms, utc_offset_s, mode, run, asked, answered, "
                               "reaction_ms, plays) VALUES (?, 32400, ?, ?, ?, ?, ?, 1)");
        for (int row = 1; row < rows; ++row) {
            // Mostly right, the misses a semitone or a fifth off, slower as the note gets darker.
            const int asked = row * 7 % 12;
            const int answered = row % 5 ? asked : (asked + (row % 3 ? 1 : 7)) % 12;
            insert.bind(1, answeredAt(row))
                .bind(2, std::string_view(row % 3 ? "Easy" : "Hard"))
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
    LongJournal(const LongJournal&) = delete;
    LongJournal& operator=(const LongJournal&) = delete;

    std::filesystem::path path() const { return journalFile(m_folder); }

private:
    std::filesystem::path m_folder;
};

}  // namespace tonarika::bench
