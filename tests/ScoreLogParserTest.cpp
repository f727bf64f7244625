// Reading the score log back: logs the game's own writer produced under other locales
// and character sets, and damaged lines, which are counted and never guessed at.

// own
#include "AsUser.h"
#include "ScoreFile.h"
#include "ScoreLine.h"
#include "ScoreLogReader.h"

// system
#include <langinfo.h>
#include <locale.h>
#include <unistd.h>

// std
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdio>
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

// The character set a locale of this machine writes in; nothing where it is not here.
std::optional<std::string> codesetOf(const std::string& name)
{
    locale_t locale = newlocale(LC_CTYPE_MASK, name.c_str(), static_cast<locale_t>(nullptr));
    if (!locale)
        return std::nullopt;
    std::string codeset = nl_langinfo_l(CODESET, locale);
    freelocale(locale);
    return codeset;
}

QLocale qtLocaleOf(const std::string& name)
{
    return name == "C" ? QLocale::c() : QLocale(QString::fromStdString(name.substr(0, name.find('.'))));
}

// A year of weekly runs, each written by the game's own writer under one locale and read
// by the companion under another: no run lands on a wrong day, ever, and where writer and
// reader agree, or the log is Japanese, every run is read. Dates like 12/03 and 03/12,
// both Wednesdays in 2025, are decided by the way the rest of the log writes its dates.
TEST_F(ScoreLogParserTest, noRunIsMisdatedWhateverLocalesWroteAndReadTheLog)
{
    const std::vector<std::string> locales{"ja_JP.UTF-8", "ja_JP.SJIS",  "ja_JP.EUC-JP",     "en_US.UTF-8",
                                           "en_GB.UTF-8", "de_DE.UTF-8", "nl_NL.UTF-8",      "fr_FR.UTF-8",
                                           "C",           "de_DE.ISO-8859-1", "en_US.ISO-8859-15"};
    std::vector<ScoreRecord> runs;
    for (int week = 0; week < 60; ++week)
        runs.push_back({QDateTime(QDate(2025, 1, 1).addDays(7 * week), QTime(20, 15), Qt::UTC), week % 2 ? "Hard" : "Easy",
                        std::uint32_t(week % 4), std::uint32_t(10 + week % 3)});
    for (const auto& writer : locales) {
        const auto writerCodeset = codesetOf(writer);
        if (!writerCodeset) {
            std::printf("skipped the locale %s: not on this machine (scripts/install-deps makes it)\n", writer.c_str());
            continue;
        }
        fs::remove(folder / "Score.TXT");
        for (const ScoreRecord& run : runs) {
            ScoreFile(folder, "", qtLocaleOf(writer), *writerCodeset, [&run] { return run.when; })
                .append({run.mode.toStdString(), run.misses, run.questions, "0.0 %"});
        }
        for (const auto& reader : locales) {
            const auto readerCodeset = codesetOf(reader);
            if (!readerCodeset)
                continue;
            const ScoreHistory history = ScoreLogReader(ScoreLogParser(qtLocaleOf(reader)), *readerCodeset).read({folder / "Score.TXT"});
            int misdated = 0;
            for (const ScoreRecord& record : history.records)
                misdated += std::find(runs.begin(), runs.end(), record) == runs.end();
            const std::string what = writer + " read under " + reader;
            EXPECT_EQ(misdated, 0) << what;
            // A Japanese log, in any of its character sets, is read whole under any locale:
            // its head in Shift-JIS under EUC-JP too.
            if (writer == reader || writer.starts_with("ja_JP")) {
                EXPECT_EQ(history.records, runs) << what;
                EXPECT_EQ(history.unreadableLines, 0) << what;
            }
        }
    }
}

// Short dates in other digits, with direction marks, with spaces and a trailing dot, and
// with two-digit years come back whole, under their own locale and under Japanese.
TEST_F(ScoreLogParserTest, datesInEveryLocalesShapeReadBackWhole)
{
    std::vector<ScoreRecord> runs;
    for (int day = 0; day < 400; day += 3)
        runs.push_back({QDateTime(QDate(2025, 1, 1).addDays(day), QTime(7, 5), Qt::UTC), "Easy", 1, 10});
    for (const char* name : {"th_TH", "fa_IR", "ko_KR", "hu_HU", "ar_EG", "es_ES", "it_IT", "pt_BR", "en_US", "nl_NL"}) {
        const QLocale writer{QString::fromLatin1(name)};
        fs::remove(folder / "Score.TXT");
        for (const ScoreRecord& run : runs)
            ScoreFile(folder, "", writer, "UTF-8", [&run] { return run.when; }).append({"Easy", 1, 10, "90.0 %"});
        for (const QLocale& reader : {writer, kJapanese}) {
            const ScoreHistory history = ScoreLogReader(ScoreLogParser(reader), "UTF-8").read({folder / "Score.TXT"});
            EXPECT_EQ(history.records, runs) << name << " read under " << reader.name().toStdString();
            EXPECT_EQ(history.unreadableLines, 0) << name << " read under " << reader.name().toStdString();
        }
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

// A log that is there but cannot be read is a fault with its reason, never an empty log.
TEST_F(ScoreLogParserTest, aLogThatCannotBeReadIsAFaultWithItsReason)
{
    const fs::path log = folder / "Score.TXT";
    const ScoreLogReader reader(ScoreLogParser(kJapanese), "UTF-8");
    const auto faultOf = [&] {
        const ScoreHistory history = reader.read({log});
        return history.faults.empty() ? QString() : history.faults.front().reason;
    };
    fs::create_directories(log);
    EXPECT_EQ(faultOf(), QStringLiteral("通常のファイルではありません"));
    fs::remove(log);
    std::ofstream(log).close();
    fs::resize_file(log, 300u << 20);  // sparse: takes no room on the disk
    EXPECT_EQ(faultOf(), QStringLiteral("大きすぎます（256 MB を超えています）"));
    fs::resize_file(log, 0);
    EXPECT_EQ(faultOf(), QString()) << "an empty log is no fault";
    fs::remove(log);
    EXPECT_EQ(faultOf(), QString()) << "nor is a missing one";
    std::ofstream(log) << scoreHead().toStdString();
    fs::permissions(log, fs::perms::owner_write);
    EXPECT_HOLDS_AS_A_USER([&] { return faultOf() == QStringLiteral("読む権限がありません"); });
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
