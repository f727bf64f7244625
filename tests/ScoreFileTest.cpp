// The score file on a real file system: the head, the appends, the fallback, the faults.

// own
#include "Game.h"
#include "ScoreFile.h"
#include "fakes/FakeDisplay.h"
#include "fakes/FakePlayer.h"
#include "fakes/ScriptedRandom.h"

// Qt
#include <QCoreApplication>

// system
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

// std
#include <gtest/gtest.h>
#include <fstream>
#include <functional>
#include <iterator>
#include <regex>
#include <sstream>

namespace tonarika {
namespace {

namespace fs = std::filesystem;

const std::string kHead = "//\u3000「 Tonarika 」\u3000スコアファイル\u3000//\r\n\r\n"
                          "-日付-\u3000\u3000\u3000\u3000\u3000\u3000    -モード-    -ミス-    \u3000 -正解率-\r\n";

std::string slurp(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Runs `body` in a child process that, when the test runs as root, gives up root,
// so that permission bits bind it as they bind a user. True when body returned true.
bool asUnprivilegedUser(const std::function<bool()>& body)
{
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(2);
        ::_exit(body() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
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

TEST_F(ScoreFileTest, shiftJisLocaleWritesShiftJis)
{
    ScoreFile(program, data, QLocale(QLocale::Japanese, QLocale::Japan), "SHIFT_JIS",
              [] { return QDateTime(QDate(2001, 2, 5), QTime(21, 7)); })
        .append(run());
    const std::string bytes = slurp(program / "Score.TXT");
    const auto lastLine = bytes.substr(bytes.rfind("\r\n", bytes.size() - 3) + 2);
    EXPECT_EQ(lastLine.size(), 54u + 2u);
    EXPECT_NE(bytes.substr(0, 3), "\xEF\xBB\xBF") << "no byte-order mark";
}

TEST_F(ScoreFileTest, scoreFileThatIsADirectorySendsTheRecordToTheDataFolder)
{
    fs::create_directory(program / "Score.TXT");
    EXPECT_NO_THROW(file().append(run()));
    EXPECT_TRUE(fs::is_directory(program / "Score.TXT"));
    EXPECT_EQ(slurp(data / "Score.TXT"), kHead + record());
}

TEST_F(ScoreFileTest, fullDiskSendsTheRecordToTheDataFolder)
{
    fs::create_symlink("/dev/full", program / "Score.TXT");
    EXPECT_NO_THROW(file().append(run()));
    EXPECT_TRUE(fs::is_symlink(program / "Score.TXT"));
    EXPECT_EQ(slurp(data / "Score.TXT"), kHead + record());
}

TEST_F(ScoreFileTest, readOnlyProgramFolderSendsTheRecordToTheDataFolder)
{
    fs::permissions(program, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read
                                 | fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    EXPECT_TRUE(asUnprivilegedUser([&] {
        file().append(run());
        return !fs::exists(program / "Score.TXT") && slurp(data / "Score.TXT") == kHead + record();
    }));
}

TEST_F(ScoreFileTest, readOnlyScoreFileKeepsEveryByteAndTheRecordGoesToTheDataFolder)
{
    const std::string earlier = kHead + record("Hard");
    std::ofstream(program / "Score.TXT", std::ios::binary) << earlier;
    fs::permissions(program / "Score.TXT", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_TRUE(asUnprivilegedUser([&] {
        file().append(run());
        return slurp(data / "Score.TXT") == kHead + record();
    }));
    EXPECT_EQ(slurp(program / "Score.TXT"), earlier);
}

TEST_F(ScoreFileTest, whenBothFoldersFailTheRecordIsLostQuietly)
{
    fs::create_symlink("/dev/full", program / "Score.TXT");
    std::ofstream(root / "plain-file") << "x";
    EXPECT_NO_THROW(file(program, root / "plain-file" / "tonarika").append(run()));
    EXPECT_NO_THROW(file("", "").append(run()));
    EXPECT_EQ(slurp(root / "plain-file"), "x");
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
    Game game(display, player, random, log, ".");
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

TEST(ScoreFileFolders, userDataFolderIsTheApplicationsFolderUnderXdgDataHome)
{
    const QByteArray previous = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", "/tmp/tonarika-xdg");
    QCoreApplication::setApplicationName(QStringLiteral("tonarika"));
    EXPECT_EQ(ScoreFile::userDataFolder(), fs::path("/tmp/tonarika-xdg/tonarika"));
    if (previous.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", previous);
}

}  // namespace
}  // namespace tonarika
