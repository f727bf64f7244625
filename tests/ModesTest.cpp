// Mode changes, clear and quit, and the run each of them records.

// own
#include "fakes/GameHarness.h"

// std
#include <gtest/gtest.h>

namespace tonarika::test {
namespace {

class ThrowingScoreLog : public ScoreLog {
public:
    RecordOutcome append(const ScoreRun&) override { throw std::runtime_error("disk on fire"); }
};

class ModesTest : public ::testing::Test, protected GameHarness {
protected:
    // Asks a question on a note other than the last and answers it right,
    // after one wrong answer when `missed`.
    void question(bool missed)
    {
        const int note = game.state().prevNote == 1 ? 2 : 1;
        random.values.push_back(ScriptedRandom::valueFor(note, game.state().mode == Mode::Easy ? 7 : 12));
        game.Command1_Click();
        if (missed)
            game.cmdKey_Click(0);
        game.cmdKey_Click(note);
    }
    void questions(int count, int misses)
    {
        for (int i = 0; i < count; ++i)
            question(i < misses);
    }
    std::string caption(Caption c) const { return display.caption(c); }
    bool checked(Mode item) const { return display.checks.at(item); }
};

TEST_F(ModesTest, leavingEasyRecordsItsRunThenShowsTheNewModeEmpty)
{
    questions(5, 1);
    display.focusElsewhere();
    game.hard_Click();
    ASSERT_EQ(scoreLog.runs.size(), 1u);
    EXPECT_EQ(scoreLog.runs[0].mode, "Easy");
    EXPECT_EQ(scoreLog.runs[0].missCount, 1u);
    EXPECT_EQ(scoreLog.runs[0].questionCount, 5u);
    EXPECT_EQ(scoreLog.runs[0].rateCaption, "80.0 %");
    EXPECT_EQ(caption(Caption::CapMode), "Hard");
    EXPECT_EQ(caption(Caption::CapPar), "0.00 %");
    EXPECT_EQ(caption(Caption::CapMiss), "0/0 回");
    EXPECT_FALSE(checked(Mode::Easy));
    EXPECT_TRUE(checked(Mode::Hard));
    EXPECT_FALSE(checked(Mode::Prac));
    EXPECT_EQ(display.focus, FakeDisplay::Focus::Listen);

    questions(2, 0);
    game.easy_Click();
    ASSERT_EQ(scoreLog.runs.size(), 2u);
    EXPECT_EQ(scoreLog.runs[1].mode, "Hard");
    EXPECT_EQ(caption(Caption::CapMode), "Easy");
}

TEST_F(ModesTest, choosingTheCheckedModeDoesNothing)
{
    questions(3, 1);
    game.easy_Click();
    EXPECT_TRUE(scoreLog.runs.empty());
    EXPECT_EQ(caption(Caption::CapMiss), "1/3 回");
    EXPECT_EQ(game.state().questionCount, 3u);
    game.prac_Click();
    game.prac_Click();
    EXPECT_EQ(scoreLog.runs.size(), 1u);
}

TEST_F(ModesTest, practiceDisablesListenAndClearAndLeavingItRecordsNothing)
{
    display.label1Back = kRed;
    game.prac_Click();
    EXPECT_TRUE(game.state().practiceMode);
    EXPECT_FALSE(display.listenEnabled);
    EXPECT_FALSE(display.clearEnabled);
    EXPECT_TRUE(checked(Mode::Prac));
    EXPECT_FALSE(checked(Mode::Easy));
    EXPECT_EQ(caption(Caption::CapMode), "練習モード");
    EXPECT_EQ(caption(Caption::CapPar), "--- %");
    EXPECT_EQ(caption(Caption::CapMiss), "--- 回");

    game.Key('A');
    game.Key('O');
    display.focusElsewhere();
    game.easy_Click();
    EXPECT_TRUE(scoreLog.runs.empty());
    EXPECT_FALSE(game.state().practiceMode);
    EXPECT_TRUE(display.listenEnabled);
    EXPECT_TRUE(display.clearEnabled);
    EXPECT_EQ(display.focus, FakeDisplay::Focus::Listen);
    EXPECT_EQ(display.label1Back, kWhite);
    EXPECT_EQ(caption(Caption::Label1), "");
    EXPECT_EQ(caption(Caption::CapPar), "0.00 %");
}

TEST_F(ModesTest, clearThenQuitRecordsOnlyWhatCameAfterTheClear)
{
    display.onUnload = [this] { game.Form_Unload(); };
    questions(4, 2);
    game.clear_Click();
    questions(3, 1);
    game.en_Click();
    EXPECT_EQ(display.unloads, 1);
    ASSERT_EQ(scoreLog.runs.size(), 1u);
    EXPECT_EQ(scoreLog.runs[0].questionCount, 3u);
    EXPECT_EQ(scoreLog.runs[0].missCount, 1u);
    EXPECT_EQ(scoreLog.runs[0].rateCaption, "66.7 %");
}

TEST_F(ModesTest, runWithoutACountedQuestionLeavesNoRecord)
{
    game.Form_Unload();
    EXPECT_EQ(game.state().questionCount, 0u) << "lowering an empty count leaves 0";
    random.values = {ScriptedRandom::valueFor(3, 7)};
    game.Command1_Click();
    game.Form_Unload();
    EXPECT_TRUE(scoreLog.runs.empty()) << "a question only drawn does not count";
}

TEST_F(ModesTest, pendingQuestionIsDroppedFromTheRecordUnlessAlreadyMissed)
{
    questions(10, 0);
    random.values = {ScriptedRandom::valueFor(5, 7)};
    game.Command1_Click();
    game.hard_Click();
    ASSERT_EQ(scoreLog.runs.size(), 1u);
    EXPECT_EQ(scoreLog.runs[0].questionCount, 10u);

    questions(2, 0);
    random.values = {ScriptedRandom::valueFor(7, 12)};  // Hard now
    game.Command1_Click();
    game.cmdKey_Click(0);  // missed, still pending
    game.easy_Click();
    ASSERT_EQ(scoreLog.runs.size(), 2u);
    EXPECT_EQ(scoreLog.runs[1].questionCount, 3u);
    EXPECT_EQ(scoreLog.runs[1].missCount, 1u);
}

// The record takes its mode and rate from the game's own state; at every step of a run
// they must read exactly as the mode and rate labels do.
TEST_F(ModesTest, theRecordAlwaysReadsAsTheModeAndRateLabelsShow)
{
    for (int i = 0; i < 200; ++i)
        random.values.push_back(float((i * 37) % 100) / 100.0f);
    // L listen, R right, W wrong white key, B black key, E H P modes, C clear
    const std::string steps = "HLWLRLRLWWRLLBRLWE" "LLRLBWRLWLRCLRLWP" "BEH" "LWRLRLRLWRP" "ELLRH";
    int compared = 0;
    for (const char step : steps) {
        const auto pending = game.state().curNote;
        const int wrong = pending ? (*pending + 1) % 7 : 0;
        switch (step) {
        case 'L': game.Command1_Click(); break;
        case 'R': game.cmdKey_Click(pending.value_or(0)); break;
        case 'W': game.cmdKey_Click(wrong); break;
        case 'B': game.cmdKey_Click(pending == 7 ? 8 : 7); break;
        case 'E': game.easy_Click(); break;
        case 'H': game.hard_Click(); break;
        case 'P': game.prac_Click(); break;
        case 'C': game.clear_Click(); break;
        }
        if (const auto run = game.runRecord()) {
            EXPECT_EQ(run->mode, caption(Caption::CapMode)) << "after " << step;
            EXPECT_EQ(run->rateCaption, caption(Caption::CapPar)) << "after " << step;
            EXPECT_EQ(missText(run->questionCount, run->missCount), caption(Caption::CapMiss)) << "after " << step;
            ++compared;
        }
    }
    EXPECT_GT(compared, 30);
    EXPECT_EQ(scoreLog.runs.size(), 4u) << "Hard, Easy, Hard and Easy ended with counted questions";
}

TEST_F(ModesTest, aFailingScoreLogNeverStopsTheModeChange)
{
    ThrowingScoreLog failing;
    Game fragile{display, player, random, failing, journal, clock, "."};
    random.values = {ScriptedRandom::valueFor(3, 7)};
    fragile.Command1_Click();
    fragile.cmdKey_Click(3);
    EXPECT_NO_THROW(fragile.hard_Click());
    EXPECT_EQ(caption(Caption::CapMode), "Hard");
    EXPECT_EQ(caption(Caption::CapMiss), "0/0 回");
    EXPECT_TRUE(display.warnings.empty()) << "no warning box";
    EXPECT_EQ(display.unsavedRecords.size(), 1u) << "the player is told the run was lost";
}

// A record no folder took reaches the window with its line, once per lost run; a run
// with nothing to record reports nothing.
TEST_F(ModesTest, aRecordThatWasNotSavedIsReportedWithItsLine)
{
    scoreLog.failing = true;
    questions(3, 1);
    game.hard_Click();
    game.easy_Click();
    ASSERT_EQ(display.unsavedRecords.size(), 1u);
    EXPECT_EQ(display.unsavedRecords[0], "Easy 1/3");
    EXPECT_EQ(caption(Caption::CapMode), "Easy");
}

}  // namespace
}  // namespace tonarika::test
