// The score file on a real file system: the head, the appends, the fallback, the faults.

// own
#include "AsUser.h"
#include "Game.h"
#include "MessageCapture.h"
#include "ProgramFolder.h"
#include "ScoreFile.h"
#include "ScoreLine.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeDisplay.h"
#include "fakes/FakeJournal.h"
#include "fakes/FakePlayer.h"
#include "fakes/ScriptedRandom.h"

// Qt
#include <QCoreApplication>

// system
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

// std
#include <gtest/gtest.h>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <regex>
#include <sstream>
#include <vector>

namespace tonarika {
namespace {

namespace fs = std::filesystem;

const std::string kHead = scoreHead().toStdString();

std::string slurp(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class ScoreFileTest : public ::testing::Test {
protected:
    fs::path root;
    fs::path program;
    fs::path data;

    void SetUp() override
    {
        root = fs::temp_directory_path() / ("tonarika-score-" + std::to_string(::getpid()));
        fs::remove_all(root);
        program = root / "program";
        data = root / "data" / "tonarika";
        fs::create_directories(program);
        fs::permissions(root, fs::perms::all);
        fs::permissions(program, fs::perms::all);
    }
    void TearDown() override
    {
        fs::permissions(program, fs::perms::all);
        fs::remove_all(root);
    }

    ScoreFile file(const fs::path& programFolder, const fs::path& dataFolder) const
    {
        return ScoreFile(programFolder, dataFolder, QLocale(QLocale::Japanese, QLocale::Japan), "UTF-8",
                         [] { return QDateTime(QDate(2001, 2, 5), QTime(21, 7)); });
    }
    ScoreFile file() const { return file(program, data); }

    static std::string record(const std::string& mode = "Easy")
    {
        return "2001/02/05(月) 21:07\u3000\u3000" + mode + "   \u3000 3/10 回       70.0 %\r\n";
    }
    static ScoreRun run(const std::string& mode = "Easy") { return {mode, 3, 10, "70.0 %"}; }
};

TEST_F(ScoreFileTest, firstRecordCreatesTheHeadAndLaterRecordsAddOneLineEach)
{
    file().append(run());
    EXPECT_EQ(slurp(program / "Score.TXT"), kHead + record());
    file().append(run("Hard"));
    EXPECT_EQ(slurp(program / "Score.TXT"), kHead + record() + record("Hard"));
    EXPECT_FALSE(fs::exists(data)) << "the data folder is only for a program folder that fails";
}

TEST_F(ScoreFileTest, deletedFileIsCreatedAgainWithAFreshHead)
{
    file().append(run());
    fs::remove(program / "Score.TXT");
    file().append(run("Hard"));
    EXPECT_EQ(slurp(program / "Score.TXT"), kHead + record("Hard"));
    EXPECT_EQ(std::distance(fs::directory_iterator(program), {}), 1) << "no temporary file is left behind";
}

TEST_F(ScoreFileTest, pathHasOneSlashEvenAtTheRoot)
{
    EXPECT_EQ(scoreFilePath("/"), fs::path("/Score.TXT"));
    EXPECT_EQ(scoreFilePath("/opt/tonarika"), fs::path("/opt/tonarika/Score.TXT"));
}

TEST_F(ScoreFileTest, recordsGoToTheProgramFolderWhateverTheCurrentDirectory)
{
    fs::create_directories(root / "elsewhere");
    const auto previous = fs::current_path();
    fs::current_path(root / "elsewhere");
    file().append(run());
    fs::current_path(previous);
    EXPECT_TRUE(fs::exists(program / "Score.TXT"));
    EXPECT_FALSE(fs::exists(root / "elsewhere" / "Score.TXT"));
}

TEST_F(ScoreFileTest, writesTheLocalesCharacterSetOrUtf8WhereTheSetLacksTheJapanese)
{
    // The worked example has 49 characters; five of them are wide (月, three ideographic
    // spaces and 回): two bytes each in the Japanese sets, three in UTF-8.
    const struct {
        const char* codeset;
        size_t recordBytes;
    } cases[] = {{"SHIFT_JIS", 54}, {"EUC-JP", 54}, {"UTF-8", 59}, {"ANSI_X3.4-1968", 59}, {"ISO-8859-1", 59},
                 {"ISO-8859-15", 59}};
    for (const auto& c : cases) {
        fs::remove(program / "Score.TXT");
        ScoreFile(program, data, QLocale(QLocale::Japanese, QLocale::Japan), c.codeset,
                  [] { return QDateTime(QDate(2001, 2, 5), QTime(21, 7)); })
            .append(run());
        const std::string bytes = slurp(program / "Score.TXT");
        const auto lastLine = bytes.substr(bytes.rfind("\r\n", bytes.size() - 3) + 2);
        EXPECT_EQ(lastLine.size(), c.recordBytes + 2) << c.codeset;
        EXPECT_NE(bytes.substr(0, 3), "\xEF\xBB\xBF") << "no byte-order mark";
        if (c.recordBytes == 59) {
            EXPECT_EQ(bytes, kHead + record()) << c.codeset << ": a set without the Japanese gets UTF-8";
        }
    }
}

TEST_F(ScoreFileTest, headLabelsStandOverTheirColumnsInShiftJis)
{
    ScoreFile(program, data, QLocale(QLocale::Japanese, QLocale::Japan), "SHIFT_JIS").append(run());
    const std::string bytes = slurp(program / "Score.TXT");
    const size_t start = bytes.find("\r\n\r\n") + 4;
    const std::string header = bytes.substr(start, bytes.find("\r\n", start) - start);
    // A wide character takes two bytes, as it takes two columns of a fixed-width font;
    // no Shift-JIS byte of one is '-', so the dashes that open the labels are found as bytes.
    std::vector<size_t> dashes;
    for (size_t i = 0; i < header.size(); ++i) {
        if (header[i] == '-')
            dashes.push_back(i);
    }
    EXPECT_EQ(dashes, (std::vector<size_t>{0, 5, 22, 29, 34, 39, 47, 54}));
}

TEST_F(ScoreFileTest, scoreFileThatIsADirectorySendsTheRecordToTheDataFolder)
{
    fs::create_directory(program / "Score.TXT");
    EXPECT_NO_THROW(file().append(run()));
    EXPECT_TRUE(fs::is_directory(program / "Score.TXT"));
    EXPECT_EQ(slurp(data / "Score.TXT"), kHead + record());
}

TEST_F(ScoreFileTest, aLinkOrAFileOfAnotherUserIsNeverWrittenAndTheRecordGoesToTheDataFolder)
{
    const std::string victim = "export PATH=/usr/bin\n";
    const struct {
        const char* what;
        bool link;
        bool otherOwner;
    } cases[] = {{"a link to the player's own file", true, false},
                 {"a link to another user's file", true, true},
                 {"another user's file", false, true}};
    for (const auto& c : cases) {
        fs::remove(program / "Score.TXT");
        fs::remove_all(data);
        const fs::path target = c.link ? root / "victim" : program / "Score.TXT";
        std::ofstream(target, std::ios::binary) << victim;
        if (c.otherOwner && ::chown(target.c_str(), 65534, 65534) != 0) {
            std::printf("skipped %s: only root can give a file away\n", c.what);
            continue;
        }
        if (c.link)
            fs::create_symlink(target, program / "Score.TXT");
        EXPECT_NO_THROW(file().append(run())) << c.what;
        EXPECT_EQ(slurp(target), victim) << c.what;
        EXPECT_EQ(slurp(data / "Score.TXT"), kHead + record()) << c.what;
    }
}

TEST_F(ScoreFileTest, aFullFileSystemLeavesTheFileAsItWasAndTheRecordWholeInTheDataFolder)
{
    const std::string earlier = kHead + record("Hard") + record("Hard") + record("Hard");
    std::ofstream(program / "Score.TXT", std::ios::binary) << earlier;
    // A file size limit, in a child process, stands in for a full disk: the write
    // comes up short at it.
    const pid_t child = ::fork();
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{earlier.size() + 20, earlier.size() + 20};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        file().append(run());
        ::_exit(0);
    }
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    EXPECT_EQ(slurp(program / "Score.TXT"), earlier);
    EXPECT_EQ(slurp(data / "Score.TXT"), kHead + record());
}

TEST_F(ScoreFileTest, readOnlyProgramFolderSendsTheRecordToTheDataFolder)
{
    fs::permissions(program, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read
                                 | fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    EXPECT_HOLDS_AS_A_USER([&] {
        file().append(run());
        return !fs::exists(program / "Score.TXT") && slurp(data / "Score.TXT") == kHead + record();
    });
}

TEST_F(ScoreFileTest, readOnlyScoreFileKeepsEveryByteAndTheRecordGoesToTheDataFolder)
{
    const std::string earlier = kHead + record("Hard");
    std::ofstream(program / "Score.TXT", std::ios::binary) << earlier;
    fs::permissions(program / "Score.TXT", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_HOLDS_AS_A_USER([&] {
        file().append(run());
        return slurp(data / "Score.TXT") == kHead + record();
    });
    EXPECT_EQ(slurp(program / "Score.TXT"), earlier);
}

// A run that no folder takes is reported lost, with its line for the player to keep, and
// leaves its lines on stderr; nothing is thrown and nothing else is touched.
TEST_F(ScoreFileTest, aRecordNoFolderTakesIsReportedLostAndTold)
{
    std::ofstream(root / "plain-file") << "x";
    const struct {
        const char* what;
        std::function<void()> arrange;
        fs::path programFolder;
        fs::path dataFolder;
    } cases[] = {
        {"a link in the program folder, and XDG_DATA_HOME pointing at a file",
         [&] { fs::create_symlink("/dev/full", program / "Score.TXT"); }, program, root / "plain-file" / "tonarika"},
        {"an installed program, and no home at all", [] {}, "", ""},
        {"Score.TXT a folder in both places",
         [&] {
             fs::create_directories(program / "Score.TXT");
             fs::create_directories(data / "Score.TXT");
         },
         program, data},
    };
    for (const auto& c : cases) {
        fs::remove_all(program / "Score.TXT");
        fs::remove_all(data);
        c.arrange();
        test::MessageCapture messages;
        RecordOutcome outcome;
        EXPECT_NO_THROW(outcome = file(c.programFolder, c.dataFolder).append(run())) << c.what;
        EXPECT_FALSE(outcome.saved) << c.what;
        EXPECT_EQ(outcome.line + "\r\n", record()) << c.what;
        EXPECT_TRUE(messages.has("tonarika.score", "was not saved anywhere")) << c.what;
    }
    EXPECT_EQ(slurp(root / "plain-file"), "x");
}

TEST_F(ScoreFileTest, aReadOnlyHomeLosesTheRecordAndSaysSo)
{
    const fs::path home = root / "home";
    fs::create_directories(home);
    fs::permissions(home, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(program, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read | fs::perms::others_exec);
    EXPECT_HOLDS_AS_A_USER([&] {
        test::MessageCapture messages;
        const RecordOutcome result = file(program, home / ".local/share/tonarika").append(run());
        return !result.saved && messages.has("tonarika.score", "its folder cannot be made");
    });
}

// A record that goes to the data folder in place of the program's says where and why.
TEST_F(ScoreFileTest, aRedirectedRecordIsToldOnStderr)
{
    fs::create_directories(program / "Score.TXT");
    test::MessageCapture messages;
    EXPECT_TRUE(file().append(run()).saved);
    EXPECT_EQ(slurp(data / "Score.TXT"), kHead + record());
    EXPECT_TRUE(messages.has("tonarika.score", "the record went to " + (data / "Score.TXT").string() + ", as "
                                                   + (program / "Score.TXT").string() + " did not take it"));
}

// In the player's own data folder a link to a file of the player's (into a synchronised
// folder, say) is followed; a link to anything else is not, and nothing is created.
TEST_F(ScoreFileTest, aLinkInThePlayersDataFolderIsFollowedOnlyToTheirOwnFile)
{
    const fs::path synced = root / "synced" / "Score.TXT";
    const struct {
        const char* what;
        bool targetExists;
        bool otherOwner;
        bool saved;
    } cases[] = {{"a link to the player's own file", true, false, true},
                 {"a link to another user's file", true, true, false},
                 {"a link to nothing", false, false, false}};
    for (const auto& c : cases) {
        fs::remove_all(data);
        fs::remove_all(synced.parent_path());
        fs::create_directories(data);
        fs::create_directories(synced.parent_path());
        if (c.targetExists)
            std::ofstream(synced, std::ios::binary) << kHead;
        if (c.otherOwner && ::chown(synced.c_str(), 65534, 65534) != 0) {
            std::printf("skipped %s: only root can give a file away\n", c.what);
            continue;
        }
        fs::create_symlink(synced, data / "Score.TXT");
        EXPECT_EQ(file("", data).append(run()).saved, c.saved) << c.what;
        EXPECT_TRUE(fs::is_symlink(data / "Score.TXT")) << c.what;
        if (c.targetExists)
            EXPECT_EQ(slurp(synced), c.saved ? kHead + record() : kHead) << c.what;
        else
            EXPECT_FALSE(fs::exists(synced)) << c.what;
    }
}

// A data folder whose name is no UTF-8 is used as it is, byte for byte.
TEST_F(ScoreFileTest, aDataFolderNamedInNoUtf8IsUsedAsItIs)
{
    const fs::path dataHome = root / "\xff\xfe-data";
    ::setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
    const fs::path folder = playerDataFolder();
    ::unsetenv("XDG_DATA_HOME");
    EXPECT_TRUE(file("", folder).append(run()).saved);
    EXPECT_EQ(slurp(dataHome / "tonarika" / "Score.TXT"), kHead + record());
}

TEST_F(ScoreFileTest, modeStillChangesWhenNoFolderCanTakeTheRecord)
{
    fs::create_symlink("/dev/full", program / "Score.TXT");
    fs::create_directories(data);
    fs::create_symlink("/dev/full", data / "Score.TXT");
    ScoreFile log = file();
    test::FakeDisplay display;
    test::FakePlayer player;
    test::ScriptedRandom random;
    test::FakeJournal journal;
    test::FakeClock clock;
    Game game(display, player, random, log, journal, clock, ".");
    random.values = {test::ScriptedRandom::valueFor(2, 7)};
    game.Command1_Click();
    game.cmdKey_Click(2);

    EXPECT_NO_THROW(game.hard_Click());
    EXPECT_EQ(display.caption(Caption::CapMode), "Hard");
    EXPECT_EQ(display.caption(Caption::CapMiss), "0/0 回");
    EXPECT_TRUE(display.warnings.empty());
}

TEST_F(ScoreFileTest, twoProcessesAppendingAtOnceKeepOneHeadAndWholeLines)
{
    constexpr int kEach = 500;
    std::vector<pid_t> children;
    for (const std::string mode : {"Easy", "Hard"}) {
        const pid_t child = ::fork();
        if (child == 0) {
            ScoreFile log = file();
            for (int i = 0; i < kEach; ++i)
                log.append({mode, std::uint32_t(1 + i % 9), 10, "70.0 %"});
            ::_exit(0);
        }
        children.push_back(child);
    }
    for (const pid_t child : children)
        ::waitpid(child, nullptr, 0);

    const std::string bytes = slurp(program / "Score.TXT");
    ASSERT_EQ(bytes.substr(0, kHead.size()), kHead);
    std::istringstream lines(bytes.substr(kHead.size()));
    const std::regex whole("2001/02/05\\(月\\) 21:07\u3000\u3000(Easy|Hard)   \u3000 [0-9]/10 回       70\\.0 %\r");
    std::map<std::string, int> counts;
    std::string text;
    while (std::getline(lines, text)) {
        std::smatch match;
        ASSERT_TRUE(std::regex_match(text, match, whole)) << text;
        ++counts[match[1]];
    }
    EXPECT_EQ(counts["Easy"], kEach);
    EXPECT_EQ(counts["Hard"], kEach);
}

}  // namespace
}  // namespace tonarika
