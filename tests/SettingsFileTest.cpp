// The settings file: what each spelling gives, what a broken or hostile file gives (the
// defaults, and why), that writing keeps what it does not know, and that the game's copy
// follows the file.

// own
#include "AsUser.h"
#include "FailingRename.h"
#include "IniDocument.h"
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
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

// std
#include <gtest/gtest.h>
#include <algorithm>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <iterator>

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
    ::chmod(file.toLocal8Bit().constData(), 0666);
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
        std::size_t problems;
    };
    const Case cases[] = {
        {"", {}, 0},
        {"[questions]\ntimbres=piano, marimba\noctaves=3-5\nguard=true\n",
         {{Timbre::Piano, Timbre::Marimba}, true, true}, 0},
        {"[questions]\ntimbres=\"sine,trumpet , guitar\"\n", {{Timbre::Guitar, Timbre::Trumpet, Timbre::Sine}, false, false},
         0},
        {"; the player's note\n[questions]\ntimbres=clarinet\noctaves=4\nguard=FALSE\nweak_notes=true\nlater=1\n[other]\nx=1\n",
         {{Timbre::Clarinet}, false, false, true}, 0},
        {"[questions]\nweak_notes=maybe\nguard=true\n", {kPiano, false, true, false}, 1},
        // Only the word it does not know goes.
        {"[questions]\ntimbres=piano, marimba, violin\nguard=true\n", {{Timbre::Piano, Timbre::Marimba}, false, true}, 1},
        {"[questions]\ntimbres=banjo, violin\n", {}, 2},
        {"[questions]\ntimbres=\n", {}, 1},
        {"[questions]\noctaves=2-6\n", {}, 1},
        {"[questions]\nguard=yes\noctaves=3-5\n", {kPiano, true, false}, 1},
        {"timbres=marimba\n", {}, 0},  // outside its group: some other program's key
        {"\xff\xfe[questions\n=\n\x01timbres\n", {}, 1},  // no text at all
    };
    for (const auto& c : cases) {
        put(QByteArray(c.text, qsizetype(std::strlen(c.text))));
        const SettingsReading reading = readSettingsFile(file);
        EXPECT_EQ(reading.settings, c.expected) << c.text;
        EXPECT_EQ(reading.problems.size(), c.problems) << c.text;
    }
    // Whether a MIDI keyboard answers, in its own group.
    const struct {
        const char* text;
        bool midi;
        std::size_t problems;
    } inputs[] = {
        {"", true, 0},
        {"[input]\nmidi=off\n", false, 0},
        {"[input]\nmidi = On\n", true, 0},
        {"[input]\nmidi=false\n", false, 0},
        {"[input]\nmidi=sometimes\n", true, 1},
        {"[questions]\nmidi=off\n", true, 0},
    };
    for (const auto& c : inputs) {
        put(QByteArray(c.text, qsizetype(std::strlen(c.text))));
        const SettingsReading reading = readSettingsFile(file);
        EXPECT_EQ(reading.midi, c.midi) << c.text;
        EXPECT_EQ(reading.problems.size(), c.problems) << c.text;
    }
    put("[questions]\ntimbres=piano, violin\n");
    const SettingsReading violin = readSettingsFile(file);
    ASSERT_EQ(violin.problems.size(), 1u);
    EXPECT_EQ(violin.problems[0].value, "violin");
    EXPECT_EQ(problemText(file, violin.problems[0]), file + ": timbres: \"violin\" is not known, and is left out");
    EXPECT_EQ(problemTextJapanese(violin.problems[0]), "timbres の「violin」は知らない値なので除きました");
    QFile::remove(file);
    EXPECT_EQ(readSettingsFile(file).settings, QuestionSettings{});
    EXPECT_TRUE(readSettingsFile(file).problems.empty()) << "no file is no fault";
}

TEST_F(SettingsFileTest, aFileThatIsNoRegularFileOrTooLargeIsNeverReadAndNeverWaitedFor)
{
    ASSERT_EQ(::mkfifo(file.toLocal8Bit().constData(), 0600), 0);
    EXPECT_FALSE(readSettingsFile(file).problems.empty());
    QFile::remove(file);
    ASSERT_TRUE(QDir().mkpath(file));
    EXPECT_FALSE(readSettingsFile(file).problems.empty());
    QDir(file).removeRecursively();
    put("[questions]\ntimbres=sine\n" + QByteArray(70 * 1024, '#'));
    const SettingsReading large = readSettingsFile(file);
    EXPECT_EQ(large.settings, QuestionSettings{});
    EXPECT_FALSE(large.problems.empty());
    EXPECT_FALSE(large.readWhole);
}

// The notes asked, as the file spells them: all, growing, or a list of names with sharps or
// flats in any case; a word that names no note, or nothing, leaves the mode's notes, told
// with the word; a list that leaves fewer than two in a mode is told for that mode. And A4
// in whole hertz from 415 to 466.
TEST_F(SettingsFileTest, theNotesAndA4AreReadAsWrittenAndWhatIsNotUnderstoodIsTold)
{
    using Kind = SettingsProblem::Kind;
    const auto notes = [](std::initializer_list<int> list) {
        NoteSet set;
        for (const int note : list)
            set.add(note);
        return set;
    };
    const struct {
        const char* text;
        NoteChoice choice;
        NoteSet chosen;
        std::vector<std::pair<Kind, const char*>> problems;  // kind, value or detail
    } cases[] = {
        {"notes = all", NoteChoice::All, {}, {}},
        {"notes = GROWING", NoteChoice::Growing, {}, {}},
        {"notes = C, E, G", NoteChoice::Chosen, notes({0, 2, 4}), {}},
        {"notes = c#, DB, eb, Gb, ab, BB, f#", NoteChoice::Chosen, notes({7, 8, 9, 10, 11}), {{Kind::TooFewNotes, "Easy"}}},
        {"notes = A#, B, b", NoteChoice::Chosen, notes({11, 6}), {{Kind::TooFewNotes, "Easy"}}},
        {"notes = C", NoteChoice::Chosen, notes({0}), {{Kind::TooFewNotes, "Easy and Hard"}}},
        {"notes = C, H, E", NoteChoice::All, {}, {{Kind::NotUnderstood, "H"}}},
        {"notes = C, Do", NoteChoice::All, {}, {{Kind::NotUnderstood, "Do"}}},
        {"notes =", NoteChoice::All, {}, {{Kind::NotUnderstood, ""}}},
    };
    for (const auto& c : cases) {
        put(QByteArray("[questions]\n") + c.text + "\n");
        const SettingsReading reading = readSettingsFile(file);
        EXPECT_EQ(reading.settings.notes, c.choice) << c.text;
        EXPECT_EQ(reading.settings.chosen, c.chosen) << c.text;
        ASSERT_EQ(reading.problems.size(), c.problems.size()) << c.text;
        for (std::size_t i = 0; i < c.problems.size(); ++i) {
            EXPECT_EQ(reading.problems[i].kind, c.problems[i].first) << c.text;
            EXPECT_EQ(reading.problems[i].detail, c.problems[i].second) << c.text;
        }
    }
    put("[questions]\nnotes = C, H\n");
    EXPECT_EQ(problemText(file, readSettingsFile(file).problems.at(0)).toStdString(),
              (file + ": notes = \"C,H\" is not understood: \"H\" names no note").toStdString());

    const struct {
        const char* text;
        int a4;
        bool problem;
    } standards[] = {{"442", 442, false}, {"415", 415, false}, {"466", 466, false}, {"414", 440, true},
                     {"467", 440, true}, {"440.5", 440, true}, {"A", 440, true}};
    for (const auto& c : standards) {
        put(QByteArray("[questions]\na4 = ") + c.text + "\n");
        const SettingsReading reading = readSettingsFile(file);
        EXPECT_EQ(reading.settings.a4, c.a4) << c.text;
        EXPECT_EQ(!reading.problems.empty(), c.problem) << c.text;
    }
    // Written as read.
    QuestionSettings chosen;
    chosen.notes = NoteChoice::Chosen;
    chosen.chosen = notes({7, 0, 11});
    chosen.a4 = 443;
    ASSERT_FALSE(writeSettingsFile(file, settingsValues(chosen)));
    EXPECT_EQ(readSettingsFile(file).settings, chosen);
    QFile in(file);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    EXPECT_TRUE(in.readAll().contains("notes = C, C#, A#\n"));
}

// The answer window (off, 1.0 to 5.0 s with a point, adaptive), the daily goal (0, or 5 to
// 120 minutes) and the reminder's time (HH:MM, or nothing): each read as written, each
// written as read, and what is not understood its default and told.
TEST_F(SettingsFileTest, theWindowTheGoalAndTheReminderAreReadAsWritten)
{
    using Kind = AnswerWindow::Kind;
    const struct {
        const char* text;
        AnswerWindow window;
        DailySettings daily;
        bool problem;
    } cases[] = {
        {"[questions]\nanswer_within = off", {}, {}, false},
        {"[questions]\nanswer_within = 1.5", {Kind::Fixed, 1500}, {}, false},
        {"[questions]\nanswer_within = 1.0", {Kind::Fixed, 1000}, {}, false},
        {"[questions]\nanswer_within = 5", {Kind::Fixed, 5000}, {}, false},
        {"[questions]\nanswer_within = Adaptive", {Kind::Adaptive, 0}, {}, false},
        {"[questions]\nanswer_within = 0.9", {}, {}, true},
        {"[questions]\nanswer_within = 5.1", {}, {}, true},
        {"[questions]\nanswer_within = 1,5", {}, {}, true},
        {"[practice]\ndaily_minutes = 15", {}, {15, {}}, false},
        {"[practice]\ndaily_minutes = 0", {}, {0, {}}, false},
        {"[practice]\ndaily_minutes = 4", {}, {0, {}}, true},
        {"[practice]\ndaily_minutes = 121", {}, {0, {}}, true},
        {"[practice]\nremind_at = 19:30", {}, {0, 19 * 60 + 30}, false},
        {"[practice]\nremind_at = 7:05", {}, {0, 7 * 60 + 5}, false},
        {"[practice]\nremind_at =", {}, {}, false},
        {"[practice]\nremind_at = 24:00", {}, {}, true},
        {"[practice]\nremind_at = 19:3", {}, {}, true},
        {"[practice]\nremind_at = evening", {}, {}, true},
    };
    for (const auto& c : cases) {
        put(QByteArray(c.text) + "\n");
        const SettingsReading reading = readSettingsFile(file);
        EXPECT_EQ(reading.settings.answerWindow, c.window) << c.text;
        EXPECT_EQ(reading.daily, c.daily) << c.text;
        EXPECT_EQ(!reading.problems.empty(), c.problem) << c.text;
    }
    QuestionSettings settings;
    settings.answerWindow = {Kind::Fixed, 1250};
    const DailySettings daily{20, 6 * 60 + 5};
    auto values = settingsValues(settings);
    const auto dailyPart = dailyValues(daily);
    values.insert(values.end(), dailyPart.begin(), dailyPart.end());
    ASSERT_FALSE(writeSettingsFile(file, values));
    const SettingsReading reading = readSettingsFile(file);
    EXPECT_EQ(reading.settings, settings);
    EXPECT_EQ(reading.daily, daily);
    QFile in(file);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QByteArray text = in.readAll();
    EXPECT_TRUE(text.contains("remind_at = 06:05\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("answer_within = 1.25\n")) << text.toStdString();
}

// The notes' names, the accidentals and the size: each spelling, what is not understood
// (the default, and told), and every choice written and read back.
TEST_F(SettingsFileTest, theDisplayIsReadAsWrittenAndRoundTrips)
{
    using S = NameSystem;
    using A = Accidentals;
    const struct {
        const char* text;
        DisplaySettings display;
        bool problem;
    } cases[] = {
        {"", {}, false},
        {"[display]\nnames = letters", {{S::Letters, A::Both}, 1.0}, false},
        {"[display]\nnames = Solfege\naccidentals = flats", {{S::Solfege, A::Flats}, 1.0}, false},
        {"[display]\nnames = german\naccidentals = sharps\nsize = 2", {{S::German, A::Sharps}, 2.0}, false},
        {"[display]\nnames = iroha\nsize = 1.5", {{S::Iroha, A::Both}, 1.5}, false},
        {"[display]\nnames = doremi\nsize = 1.0", {}, false},
        {"[display]\nnames = tonic sol-fa", {}, true},
        {"[display]\naccidentals = double", {}, true},
        {"[display]\nsize = 3", {}, true},
        {"[display]\nsize = big", {}, true},
        {"[display]\nlanguage = en", {{}, 1.0, Language::English}, false},
        {"[display]\nlanguage = JA", {}, false},
        {"[display]\nlanguage = fr", {}, true},
    };
    for (const auto& c : cases) {
        put(QByteArray(c.text) + "\n");
        const SettingsReading reading = readSettingsFile(file);
        EXPECT_EQ(reading.display, c.display) << c.text;
        EXPECT_EQ(!reading.problems.empty(), c.problem) << c.text;
    }
    for (int system = 0; system < 5; ++system) {
        for (int accidentals = 0; accidentals < 3; ++accidentals) {
            for (const double size : {1.0, 1.5, 2.0}) {
                for (const Language language : {Language::Japanese, Language::English}) {
                    const DisplaySettings display{{NameSystem(system), Accidentals(accidentals)}, size, language};
                    ASSERT_FALSE(writeSettingsFile(file, displayValues(display)));
                    EXPECT_EQ(readSettingsFile(file).display, display) << system << accidentals << size;
                }
            }
        }
    }
}

// What the companion writes: the value of each key it sets, in the key's own line; every
// other line as it stands, comments and blank lines and line ends too.
TEST(SettingsText, aKeyIsSetInItsOwnLineAndEveryOtherLineStays)
{
    struct Case {
        const char* what;
        const char* before;
        std::vector<std::pair<QString, QString>> values;
        const char* after;
    };
    const Case cases[] = {
        {"in place, its spelling kept", "; mine\n[questions]\n  guard =  false\n\n# more\nweak_notes=true\n",
         {{"questions/guard", "true"}}, "; mine\n[questions]\n  guard =  true\n\n# more\nweak_notes=true\n"},
        {"added at its group's end", "[questions]\nguard=true\n\n[window]\nsize=3\n", {{"questions/octaves", "3-5"}},
         "[questions]\nguard=true\noctaves = 3-5\n\n[window]\nsize=3\n"},
        {"a group of its own", "[window]\nsize=3", {{"questions/guard", "true"}},
         "[window]\nsize=3\n\n[questions]\nguard = true\n"},
        {"an empty file", "", {{"questions/guard", "true"}}, "[questions]\nguard = true\n"},
        {"its line ends kept", "[questions]\r\nguard=false\r\n", {{"questions/guard", "true"}, {"questions/octaves", "4"}},
         "[questions]\r\nguard=true\r\noctaves = 4\r\n"},
        {"a comment is no key", "[questions]\n; guard = true\n", {{"questions/guard", "false"}},
         "[questions]\n; guard = true\nguard = false\n"},
        {"the same key elsewhere is another", "[other]\nguard=1\n[questions]\n", {{"questions/guard", "true"}},
         "[other]\nguard=1\n[questions]\nguard = true\n"},
        {"a key twice: both", "[questions]\nguard=false\nguard=false\n", {{"questions/guard", "true"}},
         "[questions]\nguard=true\nguard=true\n"},
        {"a group in two parts: the last", "[questions]\nguard=true\n[x]\ny=1\n[questions]\nz=1\n",
         {{"questions/octaves", "4"}}, "[questions]\nguard=true\n[x]\ny=1\n[questions]\nz=1\noctaves = 4\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(withValues(c.before, c.values).toStdString(), std::string(c.after)) << c.what;
}

// A value as the file gives it: its own line's, in its group, the last where it is given
// twice; quotes and escapes out, a comment after ";" left out, a list's values trimmed and
// joined by ","; and a value set keeps the comment after it.
TEST(SettingsText, aValueIsReadAsItsLineGivesIt)
{
    const struct {
        const char* text;
        std::optional<QString> value;
    } cases[] = {
        {"[q]\nk=v\n", "v"},
        {"[q]\r\n  k  =  v w  \r\n", "v w"},
        {"[q]\nk = a , b,c\n", "a,b,c"},
        {"[q]\nk = \"a , b\"\n", "a , b"},
        {"[q]\nk = \"x;y\" ; said\n", "x;y"},
        {"[q]\nk = v ; said\n", "v"},
        {"[q]\nk = a\\,b\n", "a,b"},
        {"[q]\nk=\n", ""},
        {"[q]\nk=1\nk=2\n", "2"},
        {"[q]\nk=1\n[r]\nk=2\n", "1"},
        {"[q]\n; k=1\n# k=2\n", std::nullopt},
        {"k=1\n[q]\n", std::nullopt},
        {"[q]\nK=1\n", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IniDocument(c.text).value("q/k"), c.value) << c.text;
    IniDocument commented("[q]\nk = v ; said\n");
    commented.setValue("q/k", "w");
    EXPECT_EQ(commented.text().toStdString(), "[q]\nk = w ; said\n");
}

TEST_F(SettingsFileTest, writingSetsOnlyItsKeysAndNeverWritesOverAFileItCouldNotReadWhole)
{
    const QByteArray mine = "# my settings\n[questions]\ntimbres = piano, marimba\noctaves=9\nfuture=1\n\n[window]\nsize=3\n";
    put(mine);
    ASSERT_FALSE(writeSettingsFile(file, {{"questions/guard", "true"}, {"questions/timbres", "sine"}}));
    QFile in(file);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    EXPECT_EQ(in.readAll().toStdString(),
              "# my settings\n[questions]\ntimbres = sine\noctaves=9\nfuture=1\nguard = true\n\n[window]\nsize=3\n");
    in.close();
    EXPECT_EQ(readSettingsFile(file).settings, (QuestionSettings{{Timbre::Sine}, false, true}));

    // Not read whole, never written: too large, no text, no regular file.
    using Kind = SettingsProblem::Kind;
    const struct {
        QByteArray bytes;
        Kind kind;
    } unreadable[] = {
        {"[window]\nsize=3\n" + QByteArray(70 * 1024, '#'), Kind::TooLarge},
        {QByteArray("[window]\nsize=\0\x01\xff\n", 16), Kind::NotText},
    };
    for (const auto& c : unreadable) {
        put(c.bytes);
        const auto problem = writeSettingsFile(file, {{"questions/guard", "true"}});
        ASSERT_TRUE(problem);
        EXPECT_EQ(problem->kind, c.kind);
        QFile left(file);
        ASSERT_TRUE(left.open(QIODevice::ReadOnly));
        EXPECT_EQ(left.readAll(), c.bytes) << "left as it is";
    }
    QFile::remove(file);
    ASSERT_EQ(::mkfifo(file.toLocal8Bit().constData(), 0600), 0);
    EXPECT_EQ(writeSettingsFile(file, {{"questions/guard", "true"}})->kind, Kind::NotARegularFile);
    QFile::remove(file);

    // A file the player cannot read is not written over either.
    put(mine);
    ::chmod(file.toLocal8Bit().constData(), 0200);
    EXPECT_HOLDS_AS_A_USER([&] {
        const auto problem = writeSettingsFile(file, {{"questions/guard", "true"}});
        return problem && problem->kind == Kind::CannotOpen;
    });
    ::chmod(file.toLocal8Bit().constData(), 0644);

    // A folder that cannot take the new file leaves the old one whole, and says so.
    fs::permissions(folder / "tonarika", fs::perms::group_write | fs::perms::others_write | fs::perms::owner_write,
                    fs::perm_options::remove);
    EXPECT_HOLDS_AS_A_USER([&] {
        const auto problem = writeSettingsFile(file, {{"questions/guard", "true"}});
        return problem && problem->kind == Kind::NotWritten;
    });
    // A disk that takes nothing more: the write that fails only as it is committed is no
    // success either. The folder takes the player's new file; the disk does not.
    fs::permissions(folder / "tonarika", fs::perms::all, fs::perm_options::add);
    ::chmod(file.toLocal8Bit().constData(), 0666);
    const auto onAFullDisk = [&] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{16, 16};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const auto problem = writeSettingsFile(file, {{"questions/guard", "true"}});
        return problem && problem->kind == Kind::NotWritten;
    };
    EXPECT_HOLDS_AS_A_USER(onAFullDisk);
    // Written whole beside it, and refused only as it takes the old file's place: no
    // success either, and nothing left beside it.
    {
        test::FailingRename refuse(file.toStdString());
        const auto problem = writeSettingsFile(file, {{"questions/guard", "true"}});
        ASSERT_TRUE(problem);
        EXPECT_EQ(problem->kind, Kind::NotWritten);
        EXPECT_EQ(refuse.refused(), 1);
    }
    EXPECT_EQ(fs::directory_iterator(folder / "tonarika")->path().filename(), "tonarika.conf");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder / "tonarika"), fs::directory_iterator()), 1);
    QFile whole(file);
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    EXPECT_EQ(whole.readAll(), mine);
    // A folder that is missing is made.
    const QString fresh = QString::fromStdString((folder / "new" / "tonarika.conf").string());
    EXPECT_FALSE(writeSettingsFile(fresh, settingsValues({{Timbre::Marimba}, true, true, true})));
    EXPECT_EQ(readSettingsFile(fresh).settings, (QuestionSettings{{Timbre::Marimba}, true, true, true}));
}

TEST_F(SettingsFileTest, theGamesCopyFollowsTheFileAndTellsEachNewProblemOnce)
{
    int argc = 1;
    char name[] = "settings_test";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    test::MessageCapture messages;
    SettingsWatcher watcher(file);
    int changes = 0;
    QObject::connect(&watcher, &SettingsWatcher::changed, [&] { ++changes; });
    EXPECT_EQ(watcher.questionSettings(), QuestionSettings{});
    const auto waitFor = [&](const QuestionSettings& expected) {
        QElapsedTimer clock;
        clock.start();
        while (!(watcher.questionSettings() == expected) && clock.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return watcher.questionSettings() == expected;
    };
    // Written by the companion, as the file did not exist.
    const QuestionSettings chosen{{Timbre::Trumpet}, true, false};
    ASSERT_FALSE(writeSettingsFile(file, settingsValues(chosen)));
    EXPECT_TRUE(waitFor(chosen));
    EXPECT_EQ(changes, 1) << "the change is said";
    // Damaged by hand: the defaults for what is not understood, told once.
    put("[questions]\ntimbres=tuba\noctaves=3-5\n");
    EXPECT_TRUE(waitFor({kPiano, true, false}));
    watcher.reload();
    EXPECT_EQ(messages.count("tonarika.settings", ""), 1);
    EXPECT_TRUE(messages.has("tonarika.settings", "tuba"));
    EXPECT_EQ(changes, 2);
}

}  // namespace
}  // namespace tonarika
