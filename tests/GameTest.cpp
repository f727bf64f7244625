// own
#include "fakes/GameHarness.h"

// std
#include <gtest/gtest.h>

namespace tonarika::test {
namespace {

using Focus = FakeDisplay::Focus;

class GameTest : public ::testing::Test, protected GameHarness {
protected:
    // Asks a question whose note is `note` (the draw must not be redrawn).
    void ask(int note)
    {
        const int range = game.state().mode == Mode::Easy ? 7 : 12;
        random.values.push_back(ScriptedRandom::valueFor(note, range));
        game.Command1_Click();
        ASSERT_EQ(game.state().curNote, note);
    }
    void selectHard() { game.hard_Click(); }
    std::string caption(Caption c) const { return display.caption(c); }
};

TEST_F(GameTest, soundRemembersFileAndNameOfTheNotePlayed)
{
    game.Sound(9);
    EXPECT_EQ(game.state().wavFile, "wav/Fa#.wav");
    EXPECT_EQ(game.state().noteName, "ﾌｧ＃(ソ♭)");
    EXPECT_EQ(player.played, std::vector<std::string>{"wav/Fa#.wav"});
}

TEST_F(GameTest, listenCountsDrawsAndPlaysANewQuestionWithTheIdleLook)
{
    display.label1Back = kRed;
    display.captions[Caption::Label1] = "はずれ";
    ask(4);
    EXPECT_EQ(game.state().questionCount, 1u);
    EXPECT_EQ(game.state().prevNote, 4);
    EXPECT_FALSE(game.state().settled);
    EXPECT_EQ(player.played, std::vector<std::string>{"wav/So.wav"});
    EXPECT_EQ(display.label1Back, kWhite);
    EXPECT_EQ(caption(Caption::Label1), "");
    EXPECT_EQ(caption(Caption::CapMiss), "(unset)") << "a new question is not shown until judged";
}

TEST_F(GameTest, listenWithAQuestionPendingReplaysItForFree)
{
    ask(2);
    game.Command1_Click();
    game.Command1_Click();
    EXPECT_EQ(player.played, (std::vector<std::string>{"wav/Mi.wav", "wav/Mi.wav", "wav/Mi.wav"}));
    EXPECT_EQ(game.state().questionCount, 1u);
    EXPECT_EQ(caption(Caption::CapMiss), "(unset)");
}

TEST_F(GameTest, firstQuestionAfterStartUpIsNeverDo)
{
    random.values = {0.0f, 0.05f, ScriptedRandom::valueFor(3, 7)};
    game.Command1_Click();
    EXPECT_EQ(game.state().curNote, 3);
}

TEST_F(GameTest, consecutiveQuestionsNeverRepeatButAnyNoteMayComeAfterAClear)
{
    ask(5);
    game.cmdKey_Click(5);
    random.values = {ScriptedRandom::valueFor(5, 7), ScriptedRandom::valueFor(5, 7), ScriptedRandom::valueFor(1, 7)};
    game.Command1_Click();
    EXPECT_EQ(game.state().curNote, 1);

    game.clear_Click();
    random.values = {ScriptedRandom::valueFor(1, 7)};
    game.Command1_Click();
    EXPECT_EQ(game.state().curNote, 1);
    random.values = {0.0f};
    game.clear_Click();
    game.Command1_Click();
    EXPECT_EQ(game.state().curNote, 0) << "after a clear even Do may come first";
}

TEST_F(GameTest, easyAsksWhiteKeysOnlyAndHardAllTwelve)
{
    random.values = {0.999f};
    game.Command1_Click();
    EXPECT_EQ(game.state().curNote, 6);
    game.clear_Click();
    selectHard();
    random.values = {0.999f};
    game.Command1_Click();
    EXPECT_EQ(game.state().curNote, 11);
}

TEST_F(GameTest, rightAnswerShowsTheRightLookAndEndsTheQuestion)
{
    ask(3);
    display.focusElsewhere();
    game.cmdKey_Click(3);
    EXPECT_EQ(display.label1Back, kRed);
    EXPECT_EQ(display.label1Fore, kWhite);
    EXPECT_EQ(caption(Caption::Label1), " 当たり！");
    EXPECT_EQ(caption(Caption::CapPar), "100.0 %");
    EXPECT_EQ(caption(Caption::CapMiss), "0/1 回");
    EXPECT_EQ(display.focus, Focus::Listen);
    EXPECT_FALSE(game.state().curNote.has_value());

    display.focusElsewhere();
    game.cmdKey_Click(3);
    EXPECT_EQ(display.focus, Focus::Key) << "with no question pending a key does nothing";
    EXPECT_EQ(caption(Caption::CapMiss), "0/1 回");
}

TEST_F(GameTest, onlyTheFirstMissOfAQuestionCounts)
{
    ask(1);
    game.cmdKey_Click(2);
    EXPECT_EQ(display.label1Back, Colour::systemButtonText());
    EXPECT_EQ(display.label1Fore, kWhite);
    EXPECT_EQ(caption(Caption::Label1), "はずれ");
    EXPECT_EQ(caption(Caption::CapPar), "0.0 %");
    EXPECT_EQ(caption(Caption::CapMiss), "1/1 回");
    EXPECT_EQ(game.state().curNote, 1) << "a wrong answer leaves the question pending";

    game.cmdKey_Click(0);
    EXPECT_EQ(caption(Caption::Label1), "はずれ");
    game.cmdKey_Click(1);
    EXPECT_EQ(caption(Caption::Label1), " 当たり！");
    EXPECT_EQ(caption(Caption::CapPar), "0.0 %");
    EXPECT_EQ(caption(Caption::CapMiss), "1/1 回");
}

// A screen reader hears on Listen, which the judge focuses, what the eye sees.
TEST_F(GameTest, listenDescriptionTellsWhatTheResultLabelShows)
{
    ask(1);
    EXPECT_EQ(display.listenDescription, "音を聞く");
    game.cmdKey_Click(2);
    EXPECT_EQ(display.listenDescription, "はずれ、ミス 1/1 回、正解率 0.0 %");
    game.cmdKey_Click(9);  // a black key in Easy blanks the result, and so its words
    EXPECT_EQ(display.listenDescription, "音を聞く");
    game.cmdKey_Click(1);
    EXPECT_EQ(display.listenDescription, "当たり！、ミス 1/1 回、正解率 0.0 %");
    ask(3);
    EXPECT_EQ(display.listenDescription, "音を聞く");
    game.cmdKey_Click(3);
    EXPECT_EQ(display.listenDescription, "当たり！、ミス 1/2 回、正解率 50.0 %");
    game.clear_Click();
    EXPECT_EQ(display.listenDescription, "音を聞く");
}

TEST_F(GameTest, questionOnDoIsJudgedLikeAnyOther)
{
    game.clear_Click();
    ask(0);
    game.cmdKey_Click(0);
    EXPECT_EQ(caption(Caption::Label1), " 当たり！");
}

TEST_F(GameTest, rateHasOneDecimalWithTheLocaleSeparator)
{
    Game german{display, player, random, scoreLog, journal, clock, ","};
    random.values = {ScriptedRandom::valueFor(4, 7), ScriptedRandom::valueFor(3, 7), ScriptedRandom::valueFor(2, 7)};
    german.Command1_Click();
    german.cmdKey_Click(4);
    german.Command1_Click();
    german.cmdKey_Click(3);
    german.Command1_Click();
    german.cmdKey_Click(0);
    EXPECT_EQ(caption(Caption::CapPar), "66,7 %");
    EXPECT_EQ(caption(Caption::CapMiss), "1/3 回");
}

TEST_F(GameTest, easyBlackKeyOnlyBlanksTheResultLabel)
{
    ask(2);
    game.cmdKey_Click(4);  // a first miss, for counters to watch
    for (int black = 7; black <= 11; ++black) {
        display.focusElsewhere();
        game.cmdKey_Click(black);
        EXPECT_EQ(display.label1Back, kWhite);
        EXPECT_EQ(display.label1Fore, kWhite) << "the text colour stays";
        EXPECT_EQ(caption(Caption::Label1), "");
        EXPECT_EQ(display.focus, Focus::Key);
        EXPECT_EQ(caption(Caption::CapMiss), "1/1 回");
        EXPECT_EQ(game.state().curNote, 2);
    }
}

TEST_F(GameTest, hardJudgesBlackKeysLikeWhiteKeys)
{
    selectHard();
    ask(2);
    game.cmdKey_Click(8);
    EXPECT_EQ(caption(Caption::Label1), "はずれ");
    EXPECT_EQ(caption(Caption::CapMiss), "1/1 回");
    game.Command1_Click();
    EXPECT_EQ(player.played.back(), "wav/Mi.wav") << "a missed question is replayed";
    game.cmdKey_Click(2);
    ask(10);
    game.cmdKey_Click(10);
    EXPECT_EQ(caption(Caption::CapMiss), "1/2 回");
    EXPECT_EQ(caption(Caption::CapPar), "50.0 %");
}

TEST_F(GameTest, letterKeysAnswerLikeNoteButtons)
{
    selectHard();
    ask(9);
    game.Key('G');
    game.Key('H');
    EXPECT_EQ(caption(Caption::Label1), "");
    game.Key('U');
    EXPECT_EQ(caption(Caption::Label1), " 当たり！");
}

TEST_F(GameTest, clearResetsTheRunButNotTheNoteOrMode)
{
    ask(3);
    game.cmdKey_Click(1);
    game.clear_Click();
    EXPECT_EQ(game.state().questionCount, 0u);
    EXPECT_EQ(game.state().missCount, 0u);
    EXPECT_FALSE(game.state().curNote.has_value());
    EXPECT_EQ(game.state().prevNote, kNoPrevNote);
    EXPECT_FALSE(game.state().settled);
    EXPECT_EQ(caption(Caption::CapPar), "0.00 %");
    EXPECT_EQ(caption(Caption::CapMiss), "0/0 回");
    EXPECT_EQ(display.label1Back, kWhite);
    EXPECT_EQ(caption(Caption::Label1), "");
    EXPECT_EQ(display.label1Fore, kWhite);
    EXPECT_EQ(game.state().wavFile, "wav/Fa.wav");
    EXPECT_TRUE(scoreLog.runs.empty()) << "clearing records nothing";
}

// Where nothing can sound (no device at all, a sound server being connected to again),
// Listen says so in the result label, never in a box, and counts nothing, in practice
// too; the first Listen that sounds is the run's first question. Where the output refused
// the note for a reason of its own, the warning box, and the question counts.
TEST_F(GameTest, aSoundThatCannotPlayIsToldInTheLabelAndCountsOnlyWhereRefused)
{
    const struct {
        SoundError::Cause cause;
        const char* told;  // the label's tool tip and what a screen reader hears
        bool boxAndCounted;
    } cases[] = {
        {SoundError::Cause::NoDevice, "音が出せません: サウンドデバイスがありません", false},
        {SoundError::Cause::Reconnecting, "音が出せません: サウンドサーバーにつなぎ直しています", false},
        {SoundError::Cause::Refused, "", true},
    };
    for (const auto& c : cases) {
        GameHarness h;
        h.player.failing = true;
        h.player.failure = c.cause;
        h.random.values = {ScriptedRandom::valueFor(3, 7), ScriptedRandom::valueFor(3, 7)};
        h.game.Command1_Click();
        h.game.Command1_Click();
        h.game.cmdKey_Click(3);
        EXPECT_EQ(h.display.warnings.size(), c.boxAndCounted ? 2u : 0u) << c.told;
        EXPECT_EQ(h.game.state().questionCount, c.boxAndCounted ? 1u : 0u) << c.told;
        EXPECT_EQ(h.journal.trials.size(), c.boxAndCounted ? 1u : 0u) << c.told;
        if (c.boxAndCounted) {
            EXPECT_EQ(h.display.warnings[0].first, "wavファイルが見つかりません。");
            EXPECT_EQ(h.display.warnings[0].second, "Error");
            continue;
        }
        EXPECT_EQ(h.display.caption(Caption::Label1), "音が出せません") << c.told;
        EXPECT_EQ(h.display.label1ToolTip, c.told);
        EXPECT_EQ(h.display.listenDescription, c.told);
        EXPECT_EQ(h.display.label1Back, kWhite);
        EXPECT_EQ(h.display.label1Fore, Colour::systemButtonText()) << "readable on white whatever came before";

        h.player.failing = false;
        h.random.values = {ScriptedRandom::valueFor(5, 7)};
        h.game.Command1_Click();
        EXPECT_EQ(h.game.state().questionCount, 1u) << "the first question that sounds";
        EXPECT_EQ(h.game.state().curNote, 5);
        EXPECT_EQ(h.display.caption(Caption::Label1), "");
        EXPECT_EQ(h.display.label1ToolTip, "");

        h.game.prac_Click();
        h.player.failing = true;
        h.game.cmdKey_Click(0);
        EXPECT_TRUE(h.display.warnings.empty()) << "practice: " << c.told;
        EXPECT_EQ(h.display.label1ToolTip, c.told) << "practice";
    }
}

TEST_F(GameTest, countersGoPastTwoHundredFiftyFiveWithoutAWarning)
{
    selectHard();
    for (int i = 0; i < 300; ++i) {
        ask(i % 2 == 0 ? 3 : 4);
        if (i % 5 == 0)
            game.cmdKey_Click(0);
        game.cmdKey_Click(*game.state().curNote);
    }
    EXPECT_TRUE(display.warnings.empty());
    EXPECT_EQ(player.played.size(), 300u);
    EXPECT_EQ(caption(Caption::CapMiss), "60/300 回");
    EXPECT_EQ(caption(Caption::CapPar), "80.0 %");
}

TEST_F(GameTest, practiceModePlaysAndNamesEveryKeyWithoutCounting)
{
    game.prac_Click();
    display.label1Back = kRed;
    game.Key('U');
    EXPECT_EQ(player.played, std::vector<std::string>{"wav/Fa#.wav"});
    EXPECT_EQ(display.label1Fore, kBlue);
    EXPECT_EQ(display.label1Back, kRed) << "the background stays";
    EXPECT_EQ(caption(Caption::Label1), "ﾌｧ＃(ソ♭)");
    EXPECT_EQ(display.focus, Focus::Key);
    EXPECT_EQ(display.focusedKey, 9);
    EXPECT_EQ(game.state().questionCount, 0u);

    player.failing = true;
    player.failure = SoundError::Cause::Refused;
    game.cmdKey_Click(0);
    EXPECT_EQ(display.warnings.size(), 1u) << "a player failure is reported here as well";
}

}  // namespace
}  // namespace tonarika::test
