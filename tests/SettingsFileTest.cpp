// The settings file: what each spelling gives, what a broken or hostile file gives (the
// defaults, and why), that writing keeps what it does not know, and that the game's copy
// follows the file.

// own
#include "AsUser.h"
#include "MessageCapture.h"
#include "SettingsFile.h"
#include "SettingsWatcher.h"

// Qt
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>

// system
#include <sys/stat.h>
#include <unistd.h>

// std
#include <gtest/gtest.h>
#include <algorithm>
#include <cstring>
#include <filesystem>

namespace tonarika {
namespace {

namespace fs = std::filesystem;

class SettingsFileTest : public ::testing::Test {
protected:
    fs::path folder = fs::temp_directory_path() / ("tonarika-settings-" + std::to_string(::getpid()));
    QString file = QString::fromStdString((folder / "tonarika" / "tonarika.conf").string());

    void SetUp() override
    {
        fs::remove_all(folder);
        fs::create_directories(folder / "tonarika");
    }
    void TearDown() override
    {
        fs::permissions(folder / "tonarika", fs::perms::all, fs::perm_options::add);
        fs::remove_all(folder);
    }
    void put(const QByteArray& text) const
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(text);
    }
};

const std::vector<Timbre> kPiano{Timbre::Piano};

TEST_F(SettingsFileTest, eachSpellingGivesItsSettingsAndWhatIsNotUnderstoodTheDefaults)
{
    struct Case {
        const char* text;
        QuestionSettings expected;
        bool problem;
    };
    const Case cases[] = {
        {"", {}, false},
        {"[questions]\ntimbres=piano, marimba\noctaves=3-5\nguard=true\n",
         {{Timbre::Piano, Timbre::Marimba}, true, true}, false},
        {"[questions]\ntimbres=\"sine,trumpet , guitar\"\n", {{Timbre::Guitar, Timbre::Trumpet, Timbre::Sine}, false, false},
         false},
        {"[questions]\ntimbres=clarinet\noctaves=4\nguard=FALSE\nweak_notes=true\nlater=1\n[other]\nx=1\n",
         {{Timbre::Clarinet}, false, false, true}, false},
        {"[questions]\nweak_notes=maybe\nguard=true\n", {kPiano, false, true, false}, true},
        {"[questions]\ntimbres=piano, banjo\nguard=true\n", {kPiano, false, true}, true},
        {"[questions]\ntimbres=\n", {}, true},
        {"[questions]\noctaves=2-6\n", {}, true},
        {"[questions]\nguard=yes\noctaves=3-5\n", {kPiano, true, false}, true},
        {"timbres=marimba\n", {}, false},  // outside its group: some other program's key
        {"\xff\xfe[questions\n=\n\x01timbres\n", {}, false},
    };
    for (const auto& c : cases) {
        put(QByteArray(c.text, qsizetype(std::strlen(c.text))));
        const SettingsReading reading = readSettingsFile(file);
        EXPECT_EQ(reading.settings, c.expected) << c.text;
        EXPECT_EQ(!reading.problems.isEmpty(), c.problem) << c.text << reading.problems.join(u';').toStdString();
    }
    QFile::remove(file);
    EXPECT_EQ(readSettingsFile(file).settings, QuestionSettings{});
    EXPECT_TRUE(readSettingsFile(file).problems.isEmpty()) << "no file is no fault";
}

TEST_F(SettingsFileTest, aFileThatIsNoRegularFileOrTooLargeIsNeverReadAndNeverWaitedFor)
{
    ASSERT_EQ(::mkfifo(file.toLocal8Bit().constData(), 0600), 0);
    EXPECT_FALSE(readSettingsFile(file).problems.isEmpty());
    QFile::remove(file);
    ASSERT_TRUE(QDir().mkpath(file));
    EXPECT_FALSE(readSettingsFile(file).problems.isEmpty());
    QDir(file).removeRecursively();
    put("[questions]\ntimbres=sine\n" + QByteArray(70 * 1024, '#'));
    const SettingsReading large = readSettingsFile(file);
    EXPECT_EQ(large.settings, QuestionSettings{});
    EXPECT_FALSE(large.problems.isEmpty());
}

TEST_F(SettingsFileTest, writingKeepsEveryKeyItDoesNotKnowAndFailsWholeOrNotAtAll)
{
    // One value it does not understand among them: the rest is kept all the same.
    put("[questions]\ntimbres=piano\noctaves=9\nfuture=1\n[window]\nsize=3\n");
    const QuestionSettings chosen{{Timbre::Marimba, Timbre::Sine}, true, true, true};
    ASSERT_EQ(writeSettingsFile(file, chosen), QString());
    EXPECT_EQ(readSettingsFile(file).settings, chosen);
    {
        const QSettings back(file, QSettings::IniFormat);
        EXPECT_EQ(back.value("questions/future").toString(), "1");
        EXPECT_EQ(back.value("window/size").toString(), "3");
    }
    // A folder that cannot take the new file leaves the old one whole.
    const QByteArray before = [&] {
        QFile in(file);
        in.open(QIODevice::ReadOnly);
        return in.readAll();
    }();
    fs::permissions(folder / "tonarika", fs::perms::group_write | fs::perms::others_write | fs::perms::owner_write,
                    fs::perm_options::remove);
    const auto refused = test::asUnprivilegedUser([&] { return !writeSettingsFile(file, QuestionSettings{}).isEmpty(); });
    EXPECT_EQ(refused, test::Outcome::Held);
    QFile in(file);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    EXPECT_EQ(in.readAll(), before);
    // A folder that is missing is made.
    const QString fresh = QString::fromStdString((folder / "new" / "tonarika.conf").string());
    EXPECT_EQ(writeSettingsFile(fresh, chosen), QString());
    EXPECT_EQ(readSettingsFile(fresh).settings, chosen);
}

TEST_F(SettingsFileTest, theGamesCopyFollowsTheFileAndTellsEachNewProblemOnce)
{
    int argc = 1;
    char name[] = "settings_test";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    test::MessageCapture messages;
    SettingsWatcher watcher(file);
    EXPECT_EQ(watcher.questionSettings(), QuestionSettings{});
    const auto waitFor = [&](const QuestionSettings& expected) {
        QElapsedTimer clock;
        clock.start();
        while (!(watcher.questionSettings() == expected) && clock.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return watcher.questionSettings() == expected;
    };
    // Written by the companion, whole, as the file did not exist.
    const QuestionSettings chosen{{Timbre::Trumpet}, true, false};
    ASSERT_EQ(writeSettingsFile(file, chosen), QString());
    EXPECT_TRUE(waitFor(chosen));
    // Damaged by hand: the defaults for what is not understood, told once.
    put("[questions]\ntimbres=tuba\noctaves=3-5\n");
    EXPECT_TRUE(waitFor({kPiano, true, false}));
    watcher.reload();
    const auto told = std::count_if(messages.messages().begin(), messages.messages().end(),
                                    [](const auto& message) { return message.category == "tonarika.settings"; });
    EXPECT_EQ(told, 1);
    EXPECT_TRUE(messages.has("tonarika.settings", "tuba"));
}

}  // namespace
}  // namespace tonarika
