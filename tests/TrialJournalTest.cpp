// The journal on a real file system: rows written and read back, every fault the game
// must play on through, and two games writing at once.

// own
#include "AsUser.h"
#include "JournalReader.h"
#include "MessageCapture.h"
#include "SqliteDatabase.h"
#include "TrialJournal.h"

// SQLite
#include <sqlite3.h>

// system
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// std
#include <gtest/gtest.h>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>

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

    static Trial trial(int asked, int answered, std::uint32_t run = 1, Mode mode = Mode::Easy)
    {
        return {1'796'000'000'000 + asked * 1000, mode, run, NoteIndex(asked), NoteIndex(answered), 1500, 2};
    }
    std::vector<TrialRow> rows() const
    {
        JournalReader reader(file);
        reader.update();
        return reader.rows();
    }
    // Writes `count` trials through a journal of its own, and waits until they are written.
    void write(int count, std::chrono::milliseconds busy = 2s) const
    {
        TrialJournal journal(file, busy);
        for (int i = 0; i < count; ++i)
            journal.record(trial(i % 12, (i + 1) % 12));
        journal.flush(5s);
    }
};

TEST_F(TrialJournalTest, everyFieldOfATrialComesBack)
{
    {
        TrialJournal journal(file);
        journal.record(trial(3, 3));
        journal.record({1'796'000'100'000, Mode::Hard, 2, 9, 10, std::nullopt, 1});
    }  // the journal writes what is queued before it goes
    const auto back = rows();
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].answeredAtMs, trial(3, 3).answeredAtMs);
    EXPECT_EQ(back[0].utcOffsetS, 9 * 3600);
    EXPECT_EQ(back[0].mode, Mode::Easy);
    EXPECT_EQ(back[0].asked, 3);
    EXPECT_EQ(back[0].answered, 3);
    EXPECT_EQ(back[0].reactionMs, 1500u);
    EXPECT_EQ(back[0].plays, 2u);
    EXPECT_EQ(back[1].mode, Mode::Hard);
    EXPECT_FALSE(back[1].reactionMs);
    EXPECT_EQ(back[1].run, back[0].run + 1) << "the session's second run is the journal's next";
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
        }
        int told = 0;
        for (const auto& message : messages.messages())
            told += message.category == "tonarika.journal" && message.text.find(c.told) != std::string::npos;
        EXPECT_EQ(told, 1) << c.what;
        EXPECT_EQ(fs::exists(c.journal) ? slurp(c.journal) : std::string(), before) << c.what << ": left as it was";
    }
    EXPECT_EQ(slurp(file.parent_path() / "Score.TXT"), score);
}

// A file that is no database, or whose pages are damaged, is moved aside, never deleted
// nor overwritten, and a new journal takes the trial.
TEST_F(TrialJournalTest, aDamagedJournalIsSetAsideAndANewOneBegun)
{
    const struct {
        const char* what;
        std::function<void()> damage;
    } cases[] = {
        {"no database at all", [&] { std::ofstream(file, std::ios::binary) << std::string(8192, 'x'); }},
        {"a database with a page overwritten", [&] {
             write(300);
             fs::remove(file.string() + "-wal");
             fs::remove(file.string() + "-shm");
             std::fstream bytes(file, std::ios::in | std::ios::out | std::ios::binary);
             bytes.seekp(2 * 4096 + 100);
             bytes << std::string(3000, '\xA5');
         }},
    };
    std::set<fs::path> aside;
    for (const auto& c : cases) {
        fs::remove(file);
        c.damage();
        const std::string damaged = slurp(file);
        test::MessageCapture messages;
        write(1);
        EXPECT_TRUE(messages.has("tonarika.journal", "is damaged")) << c.what;
        ASSERT_EQ(rows().size(), 1u) << c.what;
        for (const auto& entry : fs::directory_iterator(file.parent_path())) {
            const std::string name = entry.path().filename().string();
            if (name.starts_with("trials.sqlite.damaged-") && !name.ends_with("-wal") && !name.ends_with("-shm")
                && aside.insert(entry.path()).second) {
                EXPECT_EQ(slurp(entry.path()), damaged) << c.what;
            }
        }
    }
    EXPECT_EQ(aside.size(), 2u) << "each damaged file kept, under a name of its own";
}

// Another game holding the journal's lock longer than the timeout costs the trial, told
// once; the next one gets through once the lock is free.
TEST_F(TrialJournalTest, aLockHeldTooLongCostsTheTrialNotTheGame)
{
    write(1);
    SqliteDatabase other(fileUri(file), SQLITE_OPEN_READWRITE);
    other.execute("BEGIN EXCLUSIVE");
    test::MessageCapture messages;
    TrialJournal journal(file, 200ms);
    const auto start = std::chrono::steady_clock::now();
    journal.record(trial(4, 4));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5ms) << "record() waits for nothing";
    EXPECT_TRUE(journal.flush(3s));
    EXPECT_TRUE(messages.has("tonarika.journal", "could not be added"));
    other.execute("COMMIT");
    journal.record(trial(5, 5));
    EXPECT_TRUE(journal.flush(3s));
    EXPECT_EQ(rows().size(), 2u);
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
        TrialJournal journal(file);
        for (int i = 0; i < 2000; ++i)
            journal.record(trial(i % 12, 0));
        journal.flush(10s);
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
        journal.flush(3s);
        return messages.has("tonarika.journal", "no journal") && !fs::exists(file);
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
