// The journal on a real file system: rows written and read back, every fault the game
// must play on through, and two games writing at once.

// own
#include "AnswerHistory.h"
#include "AsUser.h"
#include "JournalReader.h"
#include "JournalSchema.h"
#include "JournalWriter.h"
#include "MessageCapture.h"
#include "SqliteDatabase.h"
#include "TrialJournal.h"
#include "TrialSpill.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeJournal.h"

// SQLite
#include <sqlite3.h>

// system
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

// std
#include <gtest/gtest.h>
#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <thread>

namespace tonarika {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string slurp(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class TrialJournalTest : public ::testing::Test {
protected:
    fs::path folder = fs::temp_directory_path() / ("tonarika-journal-" + std::to_string(::getpid()));
    fs::path file = folder / "data" / "trials.sqlite";

    void SetUp() override
    {
        fs::remove_all(folder);
        fs::create_directories(file.parent_path());
        // The offset written beside each time is the zone's: a zone of its own here.
        ::setenv("TZ", "Asia/Tokyo", 1);
        ::tzset();
    }
    void TearDown() override
    {
        fs::permissions(folder, fs::perms::all, fs::perm_options::add);
        fs::remove_all(folder);
    }

    static Trial trial(int asked, int answered, std::uint32_t run = 1, Mode mode = Mode::Hard)
    {
        return {1'796'000'000'000 + asked * 1000, mode, run, NoteIndex(asked), NoteIndex(answered), 1500, 2};
    }
    std::vector<Trial> rows() const
    {
        JournalReader reader(file);
        reader.update();
        return reader.rows();
    }
    // Writes `count` trials through a journal of its own, and waits until they are written.
    void write(int count, std::chrono::milliseconds busy = 2s) const
    {
        TrialJournal journal(file, {.busyTimeout = busy});
        for (int i = 0; i < count; ++i)
            journal.record(trial(i % 12, (i + 1) % 12));
        journal.flush(5s);
    }
};

TEST_F(TrialJournalTest, everyFieldOfATrialComesBack)
{
    {
        TrialJournal journal(file);
        journal.record(trial(3, 3, 1, Mode::Easy));
        journal.record({1'796'000'100'000, Mode::Hard, 2, 9, 10, std::nullopt, 1, Timbre::Clarinet, 5, true, 440,
                        AnswerInput::Midi, 1300});
        // A key played in Practice: its moment alone, apart from the answers.
        journal.record({1'796'000'200'000, Mode::Prac, 3, 4, 4, std::nullopt, 1});
    }  // the journal writes what is queued before it goes
    const auto back = rows();
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(std::pair(back[0].windowMs, back[1].windowMs), std::pair(std::optional<std::uint32_t>(), std::optional(1300u)));
    {
        JournalReader presses(file);
        presses.update();
        EXPECT_EQ(presses.presses(), (std::vector<PracticeMoment>{{1'796'000'200'000, 9 * 3600, std::nullopt}}));
    }
    EXPECT_EQ(back[0].answeredAtMs, trial(3, 3).answeredAtMs);
    EXPECT_EQ(back[0].utcOffsetS, 9 * 3600);
    EXPECT_EQ(back[0].mode, Mode::Easy);
    EXPECT_EQ(back[0].asked, 3);
    EXPECT_EQ(back[0].answered, 3);
    EXPECT_EQ(back[0].reactionMs, 1500u);
    EXPECT_EQ(back[0].plays, 2u);
    EXPECT_EQ(back[1].mode, Mode::Hard);
    EXPECT_FALSE(back[1].reactionMs);
    EXPECT_EQ(std::tuple(back[0].timbre, back[0].octave, back[0].guard), std::tuple(Timbre::Piano, 4, false));
    EXPECT_EQ(std::tuple(back[1].timbre, back[1].octave, back[1].guard), std::tuple(Timbre::Clarinet, 5, true));
    EXPECT_EQ(back[1].run, back[0].run + 1) << "the session's second run is the journal's next";
    EXPECT_EQ(std::pair(back[0].input, back[1].input), std::pair(std::optional<AnswerInput>(), std::optional(AnswerInput::Midi)));
    EXPECT_EQ(rows().size(), 2u) << "reading changes nothing";

    // A journal with no WAL files beside it is read without making any.
    const fs::path alone = folder / "alone" / "trials.sqlite";
    fs::create_directories(alone.parent_path());
    fs::copy_file(file, alone);
    JournalReader reader(alone);
    reader.update();
    EXPECT_EQ(reader.rows(), back);
    EXPECT_EQ(std::distance(fs::directory_iterator(alone.parent_path()), {}), 1);
}

// The progress view reads while a game writes: each update brings only the rows added
// since, and reading leaves the file as the writer left it.
TEST_F(TrialJournalTest, aJournalIsReadWhileAGameWritesIt)
{
    TrialJournal journal(file);
    journal.record(trial(1, 1));
    ASSERT_TRUE(journal.flush(5s));
    JournalReader reader(file);
    EXPECT_TRUE(reader.update());
    ASSERT_EQ(reader.rows().size(), 1u);
    const auto written = fs::last_write_time(file);

    journal.record(trial(2, 3));
    ASSERT_TRUE(journal.flush(5s));
    EXPECT_TRUE(reader.update());
    ASSERT_EQ(reader.rows().size(), 2u);
    EXPECT_EQ(reader.rows()[1].asked, 2);
    EXPECT_EQ(reader.rows()[1].answered, 3);
    EXPECT_FALSE(reader.update()) << "nothing new";
    EXPECT_EQ(reader.rows().size(), 2u);
    EXPECT_EQ(fs::last_write_time(file), written) << "the rows are in the WAL until a checkpoint; reading writes nothing";
}

// Whatever goes wrong, record() returns at once, one line on stderr tells it, and the
// game's score file beside the journal is not touched.
TEST_F(TrialJournalTest, eachFaultIsToldOnceAndLeavesTheScoreFileAlone)
{
    const std::string score = "a player's score\r\n";
    std::ofstream(file.parent_path() / "Score.TXT", std::ios::binary) << score;
    fs::path inAFile = folder / "plain-file";
    std::ofstream(inAFile) << "x";
    const struct {
        const char* what;
        fs::path journal;
        std::function<void()> arrange;
        std::string told;
    } cases[] = {
        {"a folder that cannot be made", inAFile / "tonarika" / "trials.sqlite", [] {}, "cannot be made"},
        {"a file of a newer version", file,
         [&] {
             SqliteDatabase newer(fileUri(file), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
             newer.execute("CREATE TABLE trials (x); PRAGMA user_version = 99");
         },
         "written by a newer version"},
    };
    for (const auto& c : cases) {
        fs::remove(file);
        c.arrange();
        const std::string before = fs::exists(c.journal) ? slurp(c.journal) : std::string();
        test::MessageCapture messages;
        {
            TrialJournal journal(c.journal);
            for (int i = 0; i < 3; ++i)
                journal.record(trial(1, 2));
            // The writer has met the fault, however busy the machine; then more tries.
            EXPECT_TRUE(messages.waitFor("tonarika.journal", c.told)) << c.what;
            journal.record(trial(1, 2));
            journal.close(300ms);
        }
        EXPECT_EQ(messages.count("tonarika.journal", c.told), 1) << c.what;
        EXPECT_EQ(fs::exists(c.journal) ? slurp(c.journal) : std::string(), before) << c.what << ": left as it was";
    }
    EXPECT_EQ(slurp(file.parent_path() / "Score.TXT"), score);
}

// A file that is no database, whose pages are damaged, or whose schema is another
// program's is moved aside with its -wal and -shm, never written (not even its header's
// journal mode), and a new journal takes the trial. Triggers and views never run.
TEST_F(TrialJournalTest, aDamagedOrForeignJournalIsSetAsideWhole)
{
    const auto craft = [&](const char* sql) {
        SqliteDatabase other(fileUri(file), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        other.execute(sql);
    };
    const auto ours = [&](const char* more) {
        write(3);
        fs::remove(file.string() + "-wal");
        fs::remove(file.string() + "-shm");
        craft(more);
    };
    const char* endless = "WITH RECURSIVE r(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM r) ";
    const struct {
        const char* what;
        std::function<void()> arrange;
        const char* kind;
    } cases[] = {
        {"no database at all", [&] { std::ofstream(file, std::ios::binary) << std::string(8192, 'x'); }, "damaged"},
        {"a database with a page overwritten",
         [&] {
             write(300);
             fs::remove(file.string() + "-wal");
             fs::remove(file.string() + "-shm");
             std::fstream bytes(file, std::ios::in | std::ios::out | std::ios::binary);
             bytes.seekp(2 * 4096 + 100);
             bytes << std::string(3000, '\xA5');
         },
         "damaged"},
        {"another program's table, no version", [&] { craft("CREATE TABLE trials (x, y)"); }, "foreign"},
        {"a column missing, this version",
         [&] { craft("CREATE TABLE trials (id INTEGER PRIMARY KEY, asked INTEGER); PRAGMA user_version = 1"); },
         "foreign"},
        {"an endless view named trials",
         [&] {
             craft((std::string("CREATE VIEW trials AS ") + endless
                    + "SELECT n AS id, 0 AS answered_utc_ms, 0 AS utc_offset_s, 'Easy' AS mode, 1 AS run, 0 AS asked, "
                      "0 AS answered, 0 AS reaction_ms, 1 AS plays FROM r; PRAGMA user_version = 1")
                       .c_str());
         },
         "foreign"},
        {"a trigger that never ends",
         [&] {
             ours((std::string("CREATE TRIGGER forever AFTER INSERT ON trials BEGIN SELECT count(*) FROM (") + endless
                   + "SELECT n FROM r); END")
                      .c_str());
         },
         "foreign"},
        {"an index of another program", [&] { ours("CREATE INDEX by_note ON trials (asked)"); }, "foreign"},
    };
    for (const auto& c : cases) {
        fs::remove_all(file.parent_path());
        fs::create_directories(file.parent_path());
        c.arrange();
        // Stale companions: they go with the file, and are never replayed into the new journal.
        std::ofstream(file.string() + "-wal", std::ios::binary) << "stale";
        std::ofstream(file.string() + "-shm", std::ios::binary) << "stale";
        const std::string before = slurp(file);
        test::MessageCapture messages;
        write(1);
        EXPECT_TRUE(messages.has("tonarika.journal", std::string("is ") + c.kind)) << c.what;
        EXPECT_EQ(rows().size(), 1u) << c.what;
        int found = 0;
        for (const auto& entry : fs::directory_iterator(file.parent_path())) {
            const std::string name = entry.path().filename().string();
            if (!name.starts_with(std::string("trials.sqlite.") + c.kind + "-"))
                continue;
            ++found;
            if (name.ends_with("-wal")) {
                EXPECT_EQ(slurp(entry.path()), "stale") << c.what << ": " << name;
            } else if (name.ends_with("-shm")) {
                // SQLite rebuilds a -shm it cannot use: it goes along, whatever it holds now.
            } else {
                EXPECT_EQ(slurp(entry.path()), before) << c.what << ": kept byte for byte";
            }
        }
        EXPECT_EQ(found, 3) << c.what << ": the file, its -wal and its -shm";
    }
}

// Where the damaged file cannot be moved (a read-only folder), that is said, and nothing is
// written to it; the trials wait, and go to no file that is not theirs.
TEST_F(TrialJournalTest, aJournalThatCannotBeMovedAsideIsNeverWritten)
{
    std::ofstream(file, std::ios::binary) << std::string(8192, 'x');
    fs::permissions(file.parent_path(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read
                                            | fs::perms::others_exec | fs::perms::group_read | fs::perms::group_exec);
    EXPECT_HOLDS_AS_A_USER([&] {
        test::MessageCapture messages;
        TrialJournal journal(file);
        journal.record(trial(1, 1));
        journal.close(300ms);
        return messages.has("tonarika.journal", "cannot be moved aside") && !messages.has("tonarika.journal", "kept as")
               && slurp(file) == std::string(8192, 'x');
    });
}

// A FIFO (or any file that is no regular file) under the journal's name is never opened,
// which would keep the writer waiting for good; the answer waits in the spill file until
// the journal is a file again.
TEST_F(TrialJournalTest, aFifoInItsPlaceIsNeverOpenedAndItsAnswerWaits)
{
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    {
        test::MessageCapture messages;
        TrialJournal journal(file);
        journal.record(trial(2, 2));
        journal.close(300ms);
        EXPECT_TRUE(messages.has("tonarika.journal", "is not opened, for it is a FIFO"));
        EXPECT_TRUE(messages.has("tonarika.journal", "wait in"));
    }
    EXPECT_TRUE(fs::is_fifo(file));
    fs::remove(file);
    {
        TrialJournal next(file);
        EXPECT_TRUE(next.flush(5s));
    }
    ASSERT_EQ(rows().size(), 1u);
    EXPECT_EQ(rows()[0].asked, 2);
}

// Another program holding the journal's lock costs nothing: the answers wait, in order,
// and are written once it lets go; at an end under the lock they go to the spill file,
// which the next start writes in, each in its own run, and then removes.
TEST_F(TrialJournalTest, aLockHeldLongLosesNoAnswerNorDoesAnEndUnderIt)
{
    write(1);
    const JournalTiming quick{.busyTimeout = 20ms, .retryPause = 30ms};
    {
        SqliteDatabase other(fileUri(file), SQLITE_OPEN_READWRITE);
        other.execute("BEGIN EXCLUSIVE");
        TrialJournal journal(file, quick);
        for (int i = 0; i < 58; ++i) {
            const auto start = std::chrono::steady_clock::now();
            journal.record(trial(i % 12, i % 12, 1));
            EXPECT_LT(std::chrono::steady_clock::now() - start, 50ms) << "record() waits for nothing";
            if (i % 10 == 0)
                std::this_thread::sleep_for(40ms);  // answers come while the writer retries
        }
        EXPECT_FALSE(journal.flush(100ms));
        other.execute("COMMIT");
        EXPECT_TRUE(journal.flush(5s));
        EXPECT_EQ(rows().size(), 59u);

        other.execute("BEGIN EXCLUSIVE");
        for (int i = 0; i < 7; ++i)
            journal.record(trial(i, 0, 1));  // the run already in the journal
        for (int i = 0; i < 5; ++i)
            journal.record(trial(i, 1, 2));  // a run the journal has not numbered yet
        test::MessageCapture messages;
        journal.close(100ms);
        EXPECT_TRUE(messages.has("tonarika.journal", "12 trials could not be written"));
        other.execute("COMMIT");
    }
    ASSERT_TRUE(fs::exists(spillFile(file)));
    EXPECT_EQ(rows().size(), 59u);
    {
        test::MessageCapture messages;
        TrialJournal next(file);
        EXPECT_TRUE(next.flush(5s));
        EXPECT_TRUE(messages.has("tonarika.journal", "12 trials an earlier game could not write"));
    }
    EXPECT_FALSE(fs::exists(spillFile(file)));
    const auto back = rows();
    ASSERT_EQ(back.size(), 71u);
    EXPECT_EQ(back[65].run, back[1].run) << "the run that had its number keeps it";
    EXPECT_EQ(back[66].run, back[0].run + 2) << "a new run gets the next number";
    EXPECT_EQ(back[65].asked, 6);
    EXPECT_EQ(back[66].answered, 1);
}

// The spill file's lines give back each trial exactly; a line of anything else, or with a
// value no game writes, is refused.
// A journal the first version wrote is taken up once, in one transaction, its rows kept as
// the middle piano octave without the guard; the companion reads it as such before that.
TEST_F(TrialJournalTest, aFirstVersionJournalIsTakenUpOnceAndKeepsEveryRow)
{
    {
        SqliteDatabase first(fileUri(file), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        first.execute("PRAGMA journal_mode = WAL");
        migrateSchema(first, 0, 1);
        for (int i = 0; i < 5; ++i)
            first.execute(("INSERT INTO trials (answered_utc_ms, utc_offset_s, mode, run, asked, answered, reaction_ms, "
                           "plays) VALUES (1796000000000, 32400, 'Hard', 1, " + std::to_string(i) + ", 0, 900, 1)")
                              .c_str());
    }
    const auto before = rows();
    ASSERT_EQ(before.size(), 5u);
    for (const auto& row : before)
        EXPECT_EQ(std::tuple(row.timbre, row.octave, row.guard, row.a4), std::tuple(Timbre::Piano, kHomeOctave, false, 440));

    // Each start a run of Hard and a test of two answers, the test's answers under one number.
    for (int start = 0; start < 2; ++start) {
        TrialJournal journal(file);
        journal.record({1'796'000'100'000, Mode::Hard, 1, 9, 9, 700, 1, Timbre::Trumpet, 3, true, 442});
        for (int item = 0; item < 2; ++item)
            journal.record({1'796'000'100'000, Mode::PitchTest, 2, 9, 9, 700, 1, Timbre::Sine, 5, true, 442});
        journal.flush(5s);
    }
    const auto after = rows();
    ASSERT_EQ(after.size(), 11u);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), after.begin()));
    EXPECT_EQ(std::tuple(after[5].timbre, after[5].octave, after[5].guard, after[5].a4, after[5].test),
              std::tuple(Timbre::Trumpet, 3, true, 442, std::int64_t(0)));
    const std::int64_t tests[] = {after[6].test, after[7].test, after[9].test, after[10].test};
    EXPECT_EQ(std::vector(std::begin(tests), std::end(tests)), (std::vector<std::int64_t>{1, 1, 2, 2}));
    EXPECT_EQ(after[6].mode, Mode::PitchTest);
    SqliteDatabase db(fileUri(file), SQLITE_OPEN_READONLY);
    EXPECT_EQ(db.integer("PRAGMA user_version"), kJournalSchemaVersion);
    EXPECT_EQ(checkSchema(db).kind, SchemaCheck::Kind::Known);
}

// The weak notes count the journal's last week and each new answer at once, and an answer
// both written and counted before the journal was read counts once.
TEST_F(TrialJournalTest, theWeakNotesCountTheJournalAndEachNewAnswerOnce)
{
    test::FakeClock clock;
    const auto miss = [&](std::int64_t ago) {
        return Trial{clock.utc - ago, Mode::Hard, 1, 4, 5, 900, 1};
    };
    {
        TrialJournal journal(file);
        journal.record(miss(86'400'000));
        journal.record(miss(6 * 86'400'000 + 12 * 3'600'000));  // six and a half days ago: still counts
        journal.record(miss(9 * 86'400'000));  // too long ago to count
        journal.record({clock.utc - 1000, Mode::Easy, 1, 4, 5, 900, 1});  // another mode
    }
    TrialJournal journal(file);
    AnswerHistory weak(file, clock);
    journal.record(miss(500));  // written, and counted, before the reading
    weak.answered(miss(500));
    journal.flush(5s);
    weak.waitUntilRead();
    // 1, and 5 for each miss of the week; 1.5 for the note each was taken for.
    EXPECT_DOUBLE_EQ(weak.noteWeights(Mode::Hard)->at(4), 16.0);
    weak.answered(miss(100));
    EXPECT_DOUBLE_EQ(weak.noteWeights(Mode::Hard)->at(4), 21.0) << "counted at once";
    EXPECT_DOUBLE_EQ(weak.noteWeights(Mode::Hard)->at(5), 7.0);
    EXPECT_DOUBLE_EQ(weak.noteWeights(Mode::Easy)->at(4), 6.0);
}

// The time practised today adds the journal's answers and Practice's keys of the local day
// to this session's, each once; yesterday stays out.
TEST_F(TrialJournalTest, theTimePractisedTodayCountsTheJournalAndTheSessionOnce)
{
    test::FakeClock clock;
    const std::int64_t noon = 1'796'785'200'000;  // 2026-12-09 12:00 in Tokyo
    clock.utc = noon + 110'000;
    const auto at = [&](std::int64_t s, Mode mode = Mode::Hard) {
        return Trial{noon + s * 1000, mode, 1, 4, 4, mode == Mode::Prac ? std::nullopt : std::optional<std::uint32_t>(1500), 1};
    };
    {
        TrialJournal journal(file);
        journal.record(at(-86'400));  // yesterday
        for (const int s : {0, 10, 20})
            journal.record(at(s));
        journal.record(at(25, Mode::Prac));
    }
    TrialJournal journal(file);
    AnswerHistory history(file, clock);
    EXPECT_EQ(history.practisedTodayMs(), std::nullopt) << "not known before the reading";
    journal.record(at(40));  // written, and heard, before the reading
    history.answered(at(40));
    journal.flush(5s);
    history.waitUntilRead();
    history.answered(at(100));  // a minute after: a minute
    history.answered(at(105, Mode::Prac));
    // 1.5 s, then 10, 10, 5, 15, 60 and 5 s.
    EXPECT_EQ(history.practisedTodayMs(), 106'500);
}

// A journal that cannot be read leaves the weights to this session's answers, and says why.
TEST_F(TrialJournalTest, theWeakNotesOfAJournalThatCannotBeReadCountTheSessionAndSayWhy)
{
    test::FakeClock clock;
    std::filesystem::create_directories(file);  // a folder in the journal's place
    test::MessageCapture messages;
    AnswerHistory weak(file, clock);
    weak.waitUntilRead();
    weak.answered({clock.utc, Mode::Hard, 1, 4, 5, 900, 1});
    EXPECT_DOUBLE_EQ(weak.noteWeights(Mode::Hard)->at(4), 6.0);
    EXPECT_TRUE(messages.has("tonarika.practice", "no regular file")) << "the cause is named";
}

// A journal is checked page by page where this game did not leave it as it is: left as it
// was, it is not read whole again; changed since, or with no stamp of this game's, a
// damaged page sets it aside, told in one line, its first problem and how many more.
TEST_F(TrialJournalTest, aJournalIsCheckedWhereThisGameDidNotLeaveItAsItIs)
{
    const fs::path stamp = file.string() + ".checked";
    const struct {
        const char* what;
        bool restoreTime;  // the damage leaves the file's time as the game left it
        bool dropStamp;
        bool setAside;
    } cases[] = {
        {"left as this game left it", true, false, false},
        {"changed since", false, false, true},
        {"no stamp: never closed, or by another version", true, true, true},
    };
    for (const auto& c : cases) {
        fs::remove_all(file.parent_path());
        fs::create_directories(file.parent_path());
        write(3000);
        ASSERT_TRUE(fs::exists(stamp)) << c.what;
        const auto left = fs::last_write_time(file);
        {
            // The header of the first page of rows (a table's leaf, 0x0D), which a new row,
            // added at the end, never touches.
            std::fstream bytes(file, std::ios::in | std::ios::out | std::ios::binary);
            std::streamoff page = 1;
            for (char type = 0; type != '\x0D'; ++page) {
                bytes.seekg(page * 4096);
                ASSERT_TRUE(bytes.get(type)) << c.what << ": no page of rows";
            }
            bytes.seekp((page - 1) * 4096);
            bytes << std::string(64, '\xA5');
        }
        if (c.restoreTime)
            fs::last_write_time(file, left);
        if (c.dropStamp)
            fs::remove(stamp);
        test::MessageCapture messages;
        {
            TrialJournal journal(file);
            journal.record(trial(1, 1));
            journal.flush(5s);
        }
        int asides = 0;
        for (const auto& entry : fs::directory_iterator(file.parent_path())) {
            const std::string name = entry.path().filename().string();
            asides += name.starts_with("trials.sqlite.damaged-") && !name.ends_with("-wal") && !name.ends_with("-shm");
        }
        EXPECT_EQ(asides, c.setAside ? 1 : 0) << c.what;
        EXPECT_EQ(messages.count("tonarika.journal", "is damaged ("), c.setAside ? 1 : 0) << c.what;
        for (const auto& message : messages.messages())
            EXPECT_EQ(message.text.find('\n'), std::string::npos) << c.what << ": " << message.text;
        if (c.setAside) {
            EXPECT_TRUE(messages.has("tonarika.journal", "is damaged (")) << c.what;
            EXPECT_EQ(rows().size(), 1u) << c.what << ": the answer is in the new journal";
        }
    }
}

// A row of values no game writes is left out by the reader and counted; the journal and
// its other rows stay, and takes new answers.
TEST_F(TrialJournalTest, aRowThatBreaksARuleHidesNothingElse)
{
    write(10);
    {
        sqlite3* raw = nullptr;
        ASSERT_EQ(sqlite3_open(file.c_str(), &raw), SQLITE_OK);
        // A NULL where the schema says NOT NULL: made under another schema, then the real one put back.
        const std::string sql = [&] {
            SqliteDatabase db(fileUri(file), SQLITE_OPEN_READONLY);
            return db.text("SELECT sql FROM sqlite_schema WHERE name = 'trials'");
        }();
        std::string loose = sql;
        for (std::size_t at = 0; (at = loose.find("NOT NULL", at)) != std::string::npos;) {
            if (loose.compare(at - 3, 3, "IS ") == 0)
                at += 8;  // a test in a CHECK, not a column's constraint
            else
                loose.replace(at, 8, "");
        }
        const auto quoted = [](std::string text) {
            for (std::size_t at = 0; (at = text.find('\'', at)) != std::string::npos; at += 2)
                text.insert(at, 1, '\'');
            return "'" + text + "'";
        };
        const std::string script = "PRAGMA writable_schema = ON; UPDATE sqlite_schema SET sql = " + quoted(loose)
                                   + " WHERE name = 'trials'; PRAGMA writable_schema = RESET;"
                                     "INSERT INTO trials (answered_utc_ms, utc_offset_s, mode, run, asked, answered, plays) "
                                     "VALUES (1796000000000, 0, 'Hard', 1, NULL, 1, 1);"
                                     "PRAGMA writable_schema = ON; UPDATE sqlite_schema SET sql = " + quoted(sql)
                                   + " WHERE name = 'trials'; PRAGMA writable_schema = RESET;";
        ASSERT_EQ(sqlite3_exec(raw, script.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(raw);
        sqlite3_close(raw);
    }
    fs::remove(file.string() + ".checked");  // checked at the next opening
    {
        SqliteDatabase db(fileUri(file), SQLITE_OPEN_READONLY);
        ASSERT_NE(db.text("PRAGMA quick_check"), "ok") << "the check sees the row";
    }
    test::MessageCapture messages;
    {
        TrialJournal journal(file);
        journal.record(trial(2, 2));
        journal.flush(5s);
    }
    EXPECT_FALSE(messages.has("tonarika.journal", "damaged"));
    JournalReader reader(file);
    reader.update();
    EXPECT_EQ(reader.rows().size(), 11u) << "the ten before and the new one";
    EXPECT_EQ(reader.refusedRows(), 1u);
}

// The notes learned in each mode come from each note's last answers in the journal and from
// this session's, each counted once; a note learned in Easy is not learned in Hard.
TEST_F(TrialJournalTest, theNotesLearnedCountEachNotesLastAnswersAndThisSessionsOnce)
{
    {
        TrialJournal journal(file);
        for (int i = 0; i < 19; ++i) {
            journal.record({1'796'000'000'000 + i * 1000, Mode::Easy, 1, 2, 2, 900, 1});
            journal.record({1'796'000'000'000 + i * 1000 + 1, Mode::Easy, 1, 4, i < 3 ? NoteIndex(5) : NoteIndex(4), 900, 1});
        }
        journal.record({1'796'000'100'000, Mode::Hard, 2, 2, 2, 900, 1});
    }
    TrialJournal journal(file);
    test::FakeClock clock;
    AnswerHistory learned(file, clock);
    // One more of Mi in Easy, written and counted before the reading: it counts once.
    const Trial more{1'796'000'200'000, Mode::Easy, 3, 2, 2, 900, 1};
    journal.record(more);
    learned.answered(more);
    journal.flush(5s);
    learned.waitUntilRead();
    NoteSet mi;
    mi.add(2);
    EXPECT_EQ(learned.learnedNotes(Mode::Easy), mi) << "twenty of Mi; ソ three wrong of nineteen";
    EXPECT_EQ(learned.learnedNotes(Mode::Hard), NoteSet()) << "one of Mi in Hard";
    learned.answered({1'796'000'300'000, Mode::Easy, 3, 4, 4, 900, 1});
    EXPECT_EQ(learned.learnedNotes(Mode::Easy), mi) << "ソ: twenty, three of them wrong";
    learned.answered({1'796'000'400'000, Mode::Easy, 3, 4, 4, 900, 1});
    mi.add(4);
    EXPECT_EQ(learned.learnedNotes(Mode::Easy), mi) << "ソ: two wrong of the last twenty, counted at once";
}

// A journal of a newer version is left as it is, and its answers wait in the spill file at
// once, with a line saying why, until a game that knows that version takes them in.
TEST_F(TrialJournalTest, aNewerJournalsAnswersWaitInTheSpillFile)
{
    {
        SqliteDatabase newer(fileUri(file), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        newer.execute(("CREATE TABLE trials (x); PRAGMA user_version = " + std::to_string(kJournalSchemaVersion + 1)).c_str());
    }
    const std::string before = slurp(file);
    test::MessageCapture messages;
    {
        TrialJournal journal(file);
        for (int i = 0; i < 3; ++i)
            journal.record(trial(i, i));
        // In the spill file while the game still plays: an end of any kind loses none.
        const auto lines = [](const fs::path& path) {
            const std::string text = slurp(path);
            return std::count(text.begin(), text.end(), '\n');
        };
        for (int i = 0; i < 6000 && lines(spillFile(file)) < 3; ++i)
            std::this_thread::sleep_for(10ms);
        EXPECT_EQ(lines(spillFile(file)), 3);
        EXPECT_TRUE(messages.has("tonarika.journal", "written by a newer version"));
        EXPECT_TRUE(messages.has("tonarika.journal", "for a game that knows that version"));
    }
    EXPECT_EQ(slurp(file), before) << "left as it was";
    // The player goes back to a journal this game knows: the answers go in.
    fs::remove(file);
    {
        TrialJournal next(file);
        EXPECT_TRUE(next.flush(5s));
    }
    EXPECT_EQ(rows().size(), 3u);
    EXPECT_FALSE(fs::exists(spillFile(file)));
}

// A spill file another process holds is never waited for: the answers go to a file of
// this process's own beside it, the end stays short, and the next start takes in both.
TEST_F(TrialJournalTest, aSpillFileAnotherHoldsNeverKeepsTheEndWaiting)
{
    write(1);
    const JournalTiming quick{.busyTimeout = 20ms, .retryPause = 30ms};
    const int held = ::open(spillFile(file).c_str(), O_WRONLY | O_CREAT, 0600);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    {
        SqliteDatabase other(fileUri(file), SQLITE_OPEN_READWRITE);
        other.execute("BEGIN EXCLUSIVE");
        TrialJournal journal(file, quick);
        for (int i = 0; i < 4; ++i)
            journal.record(trial(i, i));
        const auto began = std::chrono::steady_clock::now();
        journal.close(100ms);
        EXPECT_LT(std::chrono::steady_clock::now() - began, 2s) << "the end waited";
        other.execute("COMMIT");
    }
    const fs::path own = spillFile(file).string() + "-" + std::to_string(::getpid());
    ASSERT_TRUE(fs::exists(own));
    const std::string ownLines = slurp(own);
    EXPECT_EQ(std::count(ownLines.begin(), ownLines.end(), '\n'), 4);
    // The held file's own lines, from another game, wait too.
    const std::string line = ownLines.substr(0, ownLines.find('\n') + 1);
    ASSERT_EQ(::write(held, line.data(), line.size()), ssize_t(line.size()));
    ::close(held);
    {
        TrialJournal next(file);
        EXPECT_TRUE(next.flush(5s));
    }
    EXPECT_EQ(rows().size(), 1u + 4u + 1u);
    EXPECT_TRUE(spillFiles(file).empty());
}

// An opening that met another game's lock opens again from the start once the lock is
// gone, never writes through a connection half opened: the journal gets its WAL, and the
// answers an earlier game left are taken in, in this session.
TEST_F(TrialJournalTest, anOpeningThatMetALockOpensAgainFromTheStart)
{
    {
        SqliteDatabase made(fileUri(file), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        made.beginWork();
        migrateSchema(made, 0);
    }
    Trial spilled = trial(5, 5);
    spilled.utcOffsetS = 32400;
    ASSERT_FALSE(TrialSpill(spillFile(file)).append({{spilled, 0, "1-2-1"}}));
    SqliteDatabase other(fileUri(file), SQLITE_OPEN_READWRITE);
    EXPECT_EQ(other.text("PRAGMA journal_mode"), "delete");
    other.execute("BEGIN IMMEDIATE");
    test::MessageCapture messages;
    TrialJournal journal(file, {.busyTimeout = 20ms, .retryPause = 30ms});
    journal.record(trial(3, 3));
    EXPECT_TRUE(messages.waitFor("tonarika.journal", "cannot be opened"));
    other.execute("COMMIT");
    EXPECT_TRUE(journal.flush(10s));
    const auto back = rows();
    ASSERT_EQ(back.size(), 2u) << "the spilled answer and the new one";
    EXPECT_EQ(SqliteDatabase(fileUri(file), SQLITE_OPEN_READONLY).text("PRAGMA journal_mode"), "wal");
    EXPECT_TRUE(spillFiles(file).empty());
}

// A link in the journal's place is never followed: nothing is made beside what it leads
// to, and the answer waits in the spill file.
TEST_F(TrialJournalTest, aLinkInTheJournalsPlaceIsRefused)
{
    const fs::path elsewhere = folder / "elsewhere" / "target.sqlite";
    fs::create_directories(elsewhere.parent_path());
    std::ofstream(elsewhere) << "";
    fs::create_symlink(elsewhere, file);
    test::MessageCapture messages;
    {
        TrialJournal journal(file);
        journal.record(trial(1, 1));
        journal.close(300ms);
    }
    EXPECT_TRUE(messages.has("tonarika.journal", "it is a symbolic link"));
    EXPECT_EQ(std::distance(fs::directory_iterator(elsewhere.parent_path()), {}), 1) << "no -wal, no -shm";
    EXPECT_EQ(fs::file_size(elsewhere), 0u);
    EXPECT_TRUE(fs::exists(spillFile(file)));
}

// Every connection treats its file as of unknown origin: a trigger or a view the file
// brings never runs, and its schema cannot be written by SQL.
TEST_F(TrialJournalTest, aConnectionRunsNoTriggerOrViewAndKeepsItsSchema)
{
    {
        sqlite3* raw = nullptr;
        ASSERT_EQ(sqlite3_open(file.c_str(), &raw), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(raw,
                               "CREATE TABLE t (x); CREATE TABLE seen (x);"
                               "CREATE TRIGGER spy AFTER INSERT ON t BEGIN INSERT INTO seen VALUES (new.x); END;"
                               "CREATE VIEW v AS SELECT x FROM t",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(raw);
    }
    SqliteDatabase db(fileUri(file), SQLITE_OPEN_READWRITE);
    db.execute("INSERT INTO t VALUES (1)");
    EXPECT_EQ(db.integer("SELECT count(*) FROM seen"), 0) << "the trigger ran";
    const char* refused[] = {
        "SELECT * FROM v",
        "PRAGMA writable_schema = ON; UPDATE sqlite_schema SET sql = 'x' WHERE name = 't'",
    };
    for (const char* sql : refused)
        EXPECT_THROW(db.execute(sql), SqliteError) << sql;
}

// A statement that runs on is ended: by the time limit where one is set, at once by a
// cancel from another thread; without a limit a long one runs to its end.
TEST(SqliteWork, aStatementThatRunsOnIsEndedByTheLimitOrACancel)
{
    const char* endless = "WITH RECURSIVE r(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM r) SELECT count(*) FROM r";
    const char* long_ = "WITH RECURSIVE r(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM r WHERE n < 2000000) SELECT count(*) FROM r";
    std::atomic<bool> cancel{false};
    SqliteDatabase db(":memory:", SQLITE_OPEN_READWRITE | SQLITE_OPEN_MEMORY);

    db.limitWork(100ms, &cancel);
    try {
        db.integer(endless);
        ADD_FAILURE() << "an endless statement came to an end";
    } catch (const SqliteError& error) {
        EXPECT_EQ(error.primary(), SQLITE_INTERRUPT);
        EXPECT_TRUE(db.timedOut());
    }

    db.limitWork(std::chrono::milliseconds(0), &cancel);
    EXPECT_EQ(db.integer(long_), 2'000'000) << "no limit: a long statement ends as it ends";
    std::thread canceller([&] {
        std::this_thread::sleep_for(50ms);
        cancel = true;
    });
    try {
        db.integer(endless);
        ADD_FAILURE() << "a cancelled statement came to an end";
    } catch (const SqliteError& error) {
        EXPECT_EQ(error.primary(), SQLITE_INTERRUPT);
        EXPECT_FALSE(db.timedOut());
    }
    canceller.join();
}

// Whatever version a journal says it is: this program's or older is read, newer is left
// alone, below nought is another program's, by its version alone, even with no table at all.
TEST_F(TrialJournalTest, aJournalsVersionSaysWhetherItIsReadLeftAloneOrForeign)
{
    const struct {
        std::int64_t version;
        bool tables;
        SchemaCheck::Kind kind;
        const char* why;
    } cases[] = {
        {8, true, SchemaCheck::Kind::Known, ""},
        {9, true, SchemaCheck::Kind::Newer, ""},
        {1'000'000, true, SchemaCheck::Kind::Newer, ""},
        {-1, true, SchemaCheck::Kind::Foreign, "schema version -1"},
        {-1, false, SchemaCheck::Kind::Foreign, "schema version -1"},
        {-2, false, SchemaCheck::Kind::Foreign, "schema version -2"},
    };
    for (const auto& c : cases) {
        fs::remove(file);
        SqliteDatabase db(fileUri(file), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        db.beginWork();
        if (c.tables)
            migrateSchema(db, 0);
        db.execute(("PRAGMA user_version = " + std::to_string(c.version)).c_str());
        const SchemaCheck check = checkSchema(db);
        EXPECT_EQ(check.kind, c.kind) << c.version;
        EXPECT_EQ(check.why, c.why) << c.version;
    }
}

// A statement of the writer's that runs past its limit is given up with its trials, and
// the limit named on stderr, in a journal begun now and in one this game left. Here another
// program has filled the journal so that finding a test's number runs long: rows of the
// test's run in another mode and rows of other tests, all of them before the test's own.
TEST_F(TrialJournalTest, aStatementThatRunsPastTheLimitIsGivenUpAndTold)
{
    const auto count = [&] { return SqliteDatabase(fileUri(file), SQLITE_OPEN_READONLY).integer("SELECT count(*) FROM trials"); };
    for (const bool left : {false, true}) {
        SCOPED_TRACE(left ? "a journal this game left" : "a journal begun now");
        fs::remove_all(file.parent_path());
        fs::create_directories(file.parent_path());
        if (left)
            write(1);
        test::MessageCapture said;
        JournalWriter writer(file, {.statementLimit = 1ms});
        ASSERT_EQ(writer.write({trial(0, 0, 1, Mode::PitchTest)}), JournalWriter::Outcome::Written);
        {
            SqliteDatabase other(fileUri(file), SQLITE_OPEN_READWRITE);
            const std::string run = std::to_string(other.integer("SELECT max(run) FROM trials"));
            other.execute(("WITH RECURSIVE r(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM r WHERE n < 200000) "
                           "INSERT INTO trials (id, answered_utc_ms, utc_offset_s, mode, run, asked, answered, reaction_ms, "
                           "plays, test) SELECT -n, 1796000000000 + n, 0, iif(n % 2, 'Test', 'Hard'), "
                           + run + " + n % 2, n % 12, 0, 800, 1, iif(n % 2, 2, NULL) FROM r").c_str());
        }
        const auto before = count();
        EXPECT_EQ(writer.write({trial(1, 1, 1, Mode::PitchTest)}), JournalWriter::Outcome::Retry);
        EXPECT_TRUE(said.has("tonarika.journal", "took longer than 1 ms; they are kept and tried again"));
        writer.close();
        EXPECT_EQ(count(), before) << "given up whole";
    }
}

// A line gives back its trial, whatever of it is set; a line with a value no game writes
// gives nothing; a line of each earlier format reads, and what it does not give is what the
// journal's older rows hold.
TEST(TrialSpill, aLineGivesBackItsTrialAndRefusesWhatNoGameWrites)
{
    SpilledTrial spilled{{1'796'000'000'123, Mode::Hard, 4, 11, 3, 65'000, 3, Timbre::Marimba, 3, true, 443}, 0, "17-99-4"};
    spilled.trial.utcOffsetS = -4 * 3600;
    EXPECT_EQ(parseSpillLine(spillLine(spilled)), spilled);
    SpilledTrial other = spilled;
    other.trial.reactionMs.reset();
    other.trial.mode = Mode::PitchTest;
    other.trial.input = AnswerInput::Keys;
    other.runNumber = 12;
    other.session.clear();
    EXPECT_EQ(parseSpillLine(spillLine(other)), other);

    const std::string line = "tonarika-trial-5\tjournal_run=0\tsession=17-99-4\tanswered_utc_ms=1796000000123\t"
                             "utc_offset_s=-14400\tmode=Hard\trun=4\tasked=11\tanswered=3\treaction_ms=65000\t"
                             "plays=3\ttimbre=marimba\toctave=3\tguard=1\ta4=443\tinput=-\twindow_ms=-\tcents_off=-\n";
    EXPECT_EQ(spillLine(spilled), line);
    const auto with = [&](const std::string& field, const std::string& value) {
        const std::size_t start = line.find("\t" + field + "=") + field.size() + 2;
        return std::string(line).replace(start, line.find_first_of("\t\n", start) - start, value);
    };
    const struct {
        const char* field;
        const char* value;
    } refused[] = {
        {"answered_utc_ms", "-1"}, {"answered_utc_ms", "1e3"}, {"answered_utc_ms", ""}, {"utc_offset_s", "90000"},
        {"mode", "Prac"}, {"mode", "Easy"} /* a black key asked */, {"journal_run", "-3"}, {"asked", "12"},
        {"answered", "256"}, {"reaction_ms", "4294967296"}, {"reaction_ms", "x"}, {"plays", "0"}, {"run", "0"},
        {"timbre", "banjo"}, {"timbre", ""}, {"octave", "2"}, {"octave", "6"}, {"guard", "2"}, {"guard", "true"},
        {"a4", "414"}, {"a4", "467"}, {"input", "pedal"}, {"input", ""}, {"input", "MIDI"},
        // An error in cents, or the voice, on an answer that was not sung.
        {"cents_off", "12"}, {"cents_off", "601"}, {"input", "voice"},
    };
    for (const auto& r : refused)
        EXPECT_FALSE(parseSpillLine(with(r.field, r.value))) << r.field << " = " << r.value;
    EXPECT_FALSE(parseSpillLine(line.substr(0, line.find("\tasked")) + "\n")) << "a line cut short";
    EXPECT_FALSE(parseSpillLine(with("session", ""))) << "a run with neither a number nor a name";
    EXPECT_FALSE(parseSpillLine("tonarika-trial-9" + line.substr(line.find('\t')))) << "a format no game writes";

    // The earlier formats, field by field in their order.
    const std::string base = "1796000000123\t-14400\tHard\t0\t17-99-4\t11\t3\t65000\t3\t4";
    SpilledTrial piano = spilled;
    piano.trial.timbre = Timbre::Piano;
    piano.trial.octave = 4;
    piano.trial.guard = false;
    piano.trial.a4 = 440;
    EXPECT_EQ(parseSpillLine("tonarika-trial-1\t" + base + "\n"), piano);
    SpilledTrial at440 = spilled;
    at440.trial.a4 = 440;
    EXPECT_EQ(parseSpillLine("tonarika-trial-2\t" + base + "\tmarimba\t3\t1\n"), at440);
    EXPECT_EQ(parseSpillLine("tonarika-trial-3\t" + base + "\tmarimba\t3\t1\t443\n"), spilled);
    SpilledTrial fromKeys = spilled;
    fromKeys.trial.input = AnswerInput::Keys;
    EXPECT_EQ(parseSpillLine("tonarika-trial-4\t" + base + "\tmarimba\t3\t1\t443\tkeys\n"), fromKeys);
    EXPECT_FALSE(parseSpillLine("tonarika-trial-3\t" + base + "\tmarimba\t3\t1\n")) << "a field short of its format";
}

TEST_F(TrialJournalTest, aReadOnlyFolderOrAFullDiskCostsTrialsNotTheGame)
{
    write(1);
    // A file size limit in a child stands in for a full disk.
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const auto size = static_cast<rlim_t>(fs::file_size(file));
        const rlimit limit{size, size};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        test::MessageCapture messages;
        TrialJournal journal(file, {.retryPause = 50ms});
        for (int i = 0; i < 2000; ++i)
            journal.record(trial(i % 12, 0));
        journal.flush(1s);
        journal.close(0ms);
        ::_exit(messages.has("tonarika.journal", "") ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a full disk";
    EXPECT_FALSE(rows().empty()) << "what was written stays readable";

    fs::remove_all(file.parent_path());
    fs::create_directories(file.parent_path());
    fs::permissions(file.parent_path(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read
                                            | fs::perms::others_exec);
    EXPECT_HOLDS_AS_A_USER([&] {
        test::MessageCapture messages;
        TrialJournal journal(file);
        journal.record(trial(1, 1));
        journal.close(200ms);
        return messages.has("tonarika.journal", "no journal") && messages.has("tonarika.journal", "nor kept")
               && !fs::exists(file);
    });
}

TEST_F(TrialJournalTest, twoGamesWritingAtOnceLoseNoTrial)
{
    write(1);  // both find the journal made
    std::vector<pid_t> children;
    for (int game = 0; game < 2; ++game) {
        const pid_t child = ::fork();
        if (child == 0) {
            write(500, 10s);
            ::_exit(0);
        }
        children.push_back(child);
    }
    for (const pid_t child : children)
        ::waitpid(child, nullptr, 0);
    const auto back = rows();
    EXPECT_EQ(back.size(), 1001u);
    std::set<std::int64_t> runs;
    for (const auto& row : back)
        runs.insert(row.run);
    EXPECT_EQ(runs.size(), 3u) << "each game's run has a number of its own";
}

}  // namespace
}  // namespace tonarika

namespace tonarika {
namespace {

class JournalReaderTest : public TrialJournalTest {
protected:
    // Adds a row with SQL of its own, the schema's checks set aside as a crafted file can.
    // The sound's columns are the piano's middle octave unless they are given.
    void insert(const std::string& values, const std::string& sound = "'piano', 4, 0") const
    {
        SqliteDatabase other(fileUri(file), SQLITE_OPEN_READWRITE);
        other.execute("PRAGMA ignore_check_constraints = 1");
        other.execute(("INSERT INTO trials (answered_utc_ms, utc_offset_s, mode, run, asked, answered, reaction_ms, "
                       "plays, timbre, octave, guard) VALUES (" + values + ", " + sound + ")")
                          .c_str());
    }
};

// A value no game writes is never cut down to one that fits: the row is counted and left out.
TEST_F(JournalReaderTest, aRowWithAValueNoGameWritesIsCountedNotRead)
{
    write(1);
    JournalReader reader(file);
    reader.update();
    ASSERT_EQ(reader.rows().size(), 1u);
    const char* rows[] = {
        "1796000000000, 32400, 'Easy', 1, 256, 0, 900, 1",         // a note cut to 8 bits would be Do
        "1796000000000, 32400, 'Easy', 1, 4294967300, 0, 900, 1",  // 2^32 + 4, cut to 32 bits then 8: So
        "1796000000000, 32400, 'Easy', 1, 0, -1, 900, 1",
        "1796000000000, 32400, 'Easy', 1, 0, 0, -1, 1",            // would read as 4,294,967,295 ms
        "1796000000000, 32400, 'Easy', 1, 0, 0, 4294967296, 1",
        "1796000000000, 32400, 'Easy', 1, 'x', 0, 900, 1",          // a text would read as Do
        "1796000000000, 32400, 'Easy', 1, 0, x'00', 900, 1",        // a blob
        "1796000000000, 32400, 'Easy', 1, 0, 0, 'slow', 1",
        "1796000000000, 32400, 'Easy', 1, 0, 0, 900, 1.5",
        "1796000000000, 32400, 'Easy', 1, 0, 0, 900, 0",
        "1796000000000, 32400, 'Prac', 1, 0, 0, 900, 1",
        "1796000000000, 32400, x'48617264', 1, 0, 0, 900, 1",        // 'Hard' as a blob
        "1796000000000, 32400, 'Easy', 0, 0, 0, 900, 1",
        "1796000000000, 90000, 'Easy', 1, 0, 0, 900, 1",
        "-5, 32400, 'Easy', 1, 0, 0, 900, 1",
        "'yesterday', 32400, 'Easy', 1, 0, 0, 900, 1",
        "946684799999, 32400, 'Easy', 1, 0, 0, 900, 1",               // the last moment of 1999
        "253402300799999, 32400, 'Easy', 1, 0, 0, 900, 1",            // the year 9999
        "1796000000000, 32400, 'Easy', 1, 8, 8, 900, 1",               // a black key asked in Easy
        "1796000000000, 32400, 'Test', 1, 8, 8, 900, 1",               // a test's answer with no test
    };
    std::size_t refused = 0;
    for (const char* row : rows) {
        insert(row);
        EXPECT_TRUE(reader.update()) << row;
        EXPECT_EQ(reader.refusedRows(), ++refused) << row;
        EXPECT_EQ(reader.rows().size(), 1u) << row;
    }
    const char* sounds[] = {"'banjo', 4, 0", "x'7069616e6f', 4, 0", "'piano', 2, 0", "'piano', 6, 0", "'piano', 4.5, 0",
                            "'piano', 4, 2", "'piano', 4, 'yes'"};
    for (const char* sound : sounds) {
        insert("1796000000000, 32400, 'Easy', 1, 0, 0, 900, 1", sound);
        reader.update();
        EXPECT_EQ(reader.refusedRows(), ++refused) << sound;
    }
    insert("1796000000000, -14400, 'Hard', 2, 11, 10, NULL, 4294967295", "'sine', 5, 1");
    insert("946684800000, 32400, 'Easy', 1, 6, 0, 900, 1");  // the first moment of 2000
    {
        SqliteDatabase other(fileUri(file), SQLITE_OPEN_READWRITE);
        other.execute("PRAGMA ignore_check_constraints = 1");
        // An answer of Hard with a test's number is no game's; a test's with one is.
        other.execute("INSERT INTO trials (answered_utc_ms, utc_offset_s, mode, run, asked, answered, reaction_ms, plays, "
                      "test) VALUES (1796000000000, 32400, 'Hard', 1, 0, 0, 900, 1, 3), "
                      "(1796000000000, 32400, 'Test', 1, 8, 7, 900, 1, 0), "
                      "(1796000000000, 32400, 'Test', 1, 8, 7, 900, 1, 3)");
        refused += 2;
    }
    const auto inADay = std::chrono::duration_cast<std::chrono::milliseconds>(
                            (std::chrono::system_clock::now() + 23h).time_since_epoch())
                            .count();
    insert((std::to_string(inADay) + ", 32400, 'Hard', 1, 8, 8, 900, 1").c_str());
    reader.update();
    {
        SqliteDatabase other(fileUri(file), SQLITE_OPEN_READWRITE);
        other.execute("PRAGMA ignore_check_constraints = 1");
        // An input no game gives is refused; each one a game gives is read.
        other.execute("INSERT INTO trials (answered_utc_ms, utc_offset_s, mode, run, asked, answered, reaction_ms, plays, "
                      "input) VALUES (1796000000000, 32400, 'Hard', 1, 0, 0, 900, 1, 'voice'), "
                      "(1796000000000, 32400, 'Hard', 1, 0, 0, 900, 1, 'midi')");
        refused += 1;
    }
    reader.update();
    ASSERT_EQ(reader.rows().size(), 6u) << "the edges of every range are a game's";
    EXPECT_EQ(reader.rows()[5].input, AnswerInput::Midi);
    EXPECT_EQ(std::tuple(reader.rows()[3].mode, reader.rows()[3].test), std::tuple(Mode::PitchTest, std::int64_t(3)));
    EXPECT_EQ(reader.rows()[1].timbre, Timbre::Sine);
    EXPECT_EQ(reader.rows()[1].plays, 4294967295u);
    EXPECT_FALSE(reader.rows()[1].reactionMs);
    EXPECT_EQ(reader.refusedRows(), refused) << "each refused row counted once";
    EXPECT_FALSE(reader.fault());
}

// What is no file, or no journal of this program's, is refused at once and said why;
// nothing is read from it and nothing runs that it brings.
TEST_F(JournalReaderTest, aFileThatIsNoJournalIsRefusedAtOnce)
{
    const auto craft = [&](const char* sql) {
        SqliteDatabase other(fileUri(file), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        other.execute(sql);
    };
    const struct {
        const char* what;
        std::function<void()> arrange;
        JournalFault::Kind fault;
    } cases[] = {
        {"a FIFO", [&] { ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0); }, JournalFault::Kind::NotAFile},
        {"a folder", [&] { fs::create_directory(file); }, JournalFault::Kind::NotAFile},
        {"a device", [&] { fs::create_symlink("/dev/zero", file); }, JournalFault::Kind::NotAFile},
        {"a FIFO for its WAL",
         [&] {
             write(1);
             fs::remove(file.string() + "-wal");
             ASSERT_EQ(::mkfifo((file.string() + "-wal").c_str(), 0600), 0);
         },
         JournalFault::Kind::NotAFile},
        {"no database", [&] { std::ofstream(file) << std::string(4096, 'x'); }, JournalFault::Kind::Damaged},
        {"another program's", [&] { craft("CREATE TABLE trials (x); PRAGMA user_version = 1"); },
         JournalFault::Kind::Foreign},
        {"an endless view",
         [&] {
             craft("CREATE VIEW trials AS WITH RECURSIVE r(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM r) SELECT n AS id, "
                   "n AS answered_utc_ms, 0 AS utc_offset_s, 'Easy' AS mode, 1 AS run, 0 AS asked, 0 AS answered, "
                   "0 AS reaction_ms, 1 AS plays FROM r ORDER BY n DESC");
         },
         JournalFault::Kind::Foreign},
        {"a newer version", [&] { craft("CREATE TABLE trials (x); PRAGMA user_version = 99"); },
         JournalFault::Kind::Newer},
    };
    for (const auto& c : cases) {
        fs::remove_all(file.parent_path());
        fs::create_directories(file.parent_path());
        c.arrange();
        JournalReader reader(file);
        reader.update();
        ASSERT_TRUE(reader.fault()) << c.what;
        EXPECT_EQ(reader.fault()->kind, c.fault) << c.what << ": " << reader.fault()->detail;
        EXPECT_TRUE(reader.rows().empty()) << c.what;
    }
}

// Reading is bounded: a reading longer than its limit is given up and said so, and a
// cancelled one ends at once without a word; the rows read so far stay.
TEST_F(JournalReaderTest, aReadingTooLongIsGivenUpAndACancelledOneEndsQuietly)
{
    write(1);
    {
        SqliteDatabase other(fileUri(file), SQLITE_OPEN_READWRITE);
        other.execute("WITH RECURSIVE r(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM r WHERE n < 300000) "
                      "INSERT INTO trials (answered_utc_ms, utc_offset_s, mode, run, asked, answered, reaction_ms, plays) "
                      "SELECT 1796000000000 + n, 0, 'Hard', 1, n % 12, 0, 800, 1 FROM r");
    }
    JournalReader slow(file, 1ms);
    slow.update();
    ASSERT_TRUE(slow.fault());
    EXPECT_EQ(slow.fault()->kind, JournalFault::Kind::TooSlow);
    EXPECT_LT(slow.rows().size(), 300'001u);
    JournalReader cancelled(file);
    cancelled.cancel();
    cancelled.update();
    EXPECT_FALSE(cancelled.fault());
    // However slow the machine (a sanitizer's build), a limit that leaves room reads all.
    JournalReader whole(file, std::chrono::minutes(5));
    whole.update();
    EXPECT_EQ(whole.rows().size(), 300'001u);
}

// The rows a game has left in its WAL are read even where the -shm is gone, from a copy of
// the reader's own: nothing is made beside the journal.
TEST_F(JournalReaderTest, aWalWithoutItsShmIsRead)
{
    const fs::path copy = folder / "copy" / "trials.sqlite";
    fs::create_directories(copy.parent_path());
    {
        TrialJournal journal(file);
        for (int i = 0; i < 30; ++i)
            journal.record(trial(i % 12, i % 12));
        ASSERT_TRUE(journal.flush(5s));
        fs::copy_file(file, copy);
        fs::copy_file(file.string() + "-wal", copy.string() + "-wal");
    }
    ASSERT_GT(fs::file_size(copy.string() + "-wal"), 0u);
    JournalReader reader(copy);
    reader.update();
    EXPECT_FALSE(reader.fault());
    EXPECT_EQ(reader.rows().size(), 30u);
    EXPECT_EQ(std::distance(fs::directory_iterator(copy.parent_path()), {}), 2);
}

// A folder whose name holds what a URI would read otherwise ("#", "?", "%") is written and
// read like any other.
TEST_F(JournalReaderTest, aPathWithUriCharactersIsWrittenAndRead)
{
    file = folder / "a#b?c%41 d" / "trials.sqlite";
    fs::create_directories(file.parent_path());
    write(3);
    EXPECT_EQ(rows().size(), 3u);
    EXPECT_TRUE(fs::exists(file));
}

}  // namespace
}  // namespace tonarika
