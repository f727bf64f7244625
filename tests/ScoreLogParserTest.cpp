// Reading the score log back: logs the game's own writer produced under other locales
// and character sets, and damaged lines, which are counted and never guessed at.

// own
#include "ScoreFile.h"
#include "ScoreLine.h"
#include "ScoreLogReader.h"

// system
#include <unistd.h>

// std
#include <gtest/gtest.h>
#include <fstream>
#include <string>
#include <vector>

namespace tonarika {

void PrintTo(const ScoreRecord& record, std::ostream* out)
{
    *out << record.when.toString(Qt::ISODate).toStdString() << ' ' << record.mode.toStdString() << ' '
         << record.misses << '/' << record.questions;
}

namespace {

namespace fs = std::filesystem;

const QDateTime kWhen(QDate(2005, 3, 4), QTime(21, 7), Qt::UTC);  // a Friday: 3/4 reads either way round
const QLocale kJapanese(QLocale::Japanese, QLocale::Japan);

class ScoreLogParserTest : public ::testing::Test {
protected:
    fs::path folder = fs::temp_directory_path() / ("tonarika-log-" + std::to_string(::getpid()));
    void SetUp() override { fs::create_directories(folder); }
    void TearDown() override { fs::remove_all(folder); }
};

TEST_F(ScoreLogParserTest, logsTheGameWroteUnderAnyLocaleAndCharacterSetReadBackWhole)
{
    const struct {
        QLocale locale;
        const char* codeset;
    } writers[] = {{kJapanese, "SHIFT_JIS"},
                   {kJapanese, "UTF-8"},
                   {kJapanese, "EUC-JP"},
                   {QLocale(QLocale::English, QLocale::UnitedStates), "UTF-8"},
                   {QLocale(QLocale::German, QLocale::Germany), "UTF-8"},
                   {QLocale::c(), "ANSI_X3.4-1968"}};
    const std::vector<ScoreRecord> runs{
        {kWhen, "Easy", 3, 10},
        {kWhen.addDays(1).addSecs(3600), "Hard", 0, 9},
        {kWhen.addDays(2), "Hard", 25, 251},
        {kWhen.addDays(40), "Easy", 12, 12},
    };
    for (const auto& writer : writers) {
        fs::remove(folder / "Score.TXT");
        for (const ScoreRecord& run : runs) {
            const QString rate = QLocale().toString(run.rate(), 'f', 1) + QStringLiteral(" %");
            ScoreFile(folder, "", writer.locale, writer.codeset, [&run] { return run.when; })
                .append({run.mode.toStdString(), run.misses, run.questions, rate.toStdString()});
        }
        // Read under a UTF-8 Japanese locale, as today's might be, not the writer's.
        const ScoreHistory history = ScoreLogReader(ScoreLogParser(kJapanese), "UTF-8").read({folder / "Score.TXT"});
        const std::string what = writer.locale.name().toStdString() + " " + writer.codeset;
        EXPECT_EQ(history.records, runs) << what;
        EXPECT_EQ(history.unreadableLines, 0) << what;
    }
}

TEST_F(ScoreLogParserTest, damagedLinesAreCountedNotGuessed)
{
    const std::string good = scoreLine({"Easy", 3, 10, "70.0 %"}, kWhen, kJapanese).toStdString();
    const auto replaced = [&good](const std::string& from, const std::string& to) {
        std::string line = good;
        line.replace(line.find(from), from.size(), to);
        return line;
    };
    const std::vector<std::pair<const char*, std::string>> damaged{
        {"cut in field 1", good.substr(0, 12)},
        {"cut after the mode", good.substr(0, good.find("Easy") + 4)},
        {"cut in field 2", good.substr(0, good.find("/10"))},
        {"cut before the rate", good.substr(0, good.find("回") + 3)},
        {"field 2 off its zone", replaced("Easy", "Easy ")},
        {"field 3 off its zone", replaced("回      ", "回     ")},
        {"letters for numbers", replaced(" 3/", " x/")},
        {"no questions", replaced(" 3/10", " 0/ 0")},
        {"misses above questions", replaced(" 3/10", "12/10")},
        {"a count without its pad", replaced(" 3/10", "3/10")},
        {"a mode the game has not", replaced("Easy", "Wild")},
        {"an hour past the day", replaced("21:07", "25:07")},
        {"a date of no calendar", replaced("2005/03/04", "2005/13/45")},
        {"bytes of no character set", good.substr(0, 20) + "\xFF\xFE\xFD"},
    };
    std::ofstream log(folder / "Score.TXT", std::ios::binary);
    log << scoreHead().toStdString() << good << "\r\n";
    for (const auto& [what, line] : damaged)
        log << line << "\r\n";
    log << good << "\r\n" << good.substr(0, 30);  // the last line is still being written
    log.close();

    const ScoreHistory history = ScoreLogReader(ScoreLogParser(kJapanese), "UTF-8").read({folder / "Score.TXT"});
    EXPECT_EQ(history.records.size(), 2u);
    EXPECT_EQ(history.unreadableLines, int(damaged.size())) << "the head and the unfinished line are not counted";
    for (const auto& [what, line] : damaged)
        EXPECT_EQ(ScoreLogParser(kJapanese).parse(QString::fromUtf8(line.c_str())).kind, ScoreLogParser::Kind::Unreadable)
            << what << ": " << line;
}

TEST_F(ScoreLogParserTest, logsAreMergedInTimeOrderAndMissingOnesSkipped)
{
    const auto write = [](const fs::path& to, const QDateTime& when, const char* mode) {
        fs::create_directories(to);
        ScoreFile(to, "", kJapanese, "UTF-8", [when] { return when; }).append({mode, 1, 4, "75.0 %"});
    };
    write(folder / "program", kWhen.addDays(2), "Hard");
    write(folder / "data", kWhen, "Easy");
    write(folder / "data", kWhen.addDays(3), "Easy");
    const ScoreHistory history = ScoreLogReader(ScoreLogParser(kJapanese), "UTF-8")
                                     .read({folder / "program/Score.TXT", folder / "data/Score.TXT", folder / "none/Score.TXT"});
    ASSERT_EQ(history.records.size(), 3u);
    EXPECT_EQ(history.records[0].when, kWhen);
    EXPECT_EQ(history.records[1].mode, "Hard");
    EXPECT_EQ(history.records[2].when, kWhen.addDays(3));
    EXPECT_EQ(history.unreadableLines, 0) << "a missing log is no unreadable line";
}

}  // namespace
}  // namespace tonarika
