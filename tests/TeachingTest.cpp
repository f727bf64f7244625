// What the game teaches beside judging: the right note after a first miss where the player
// asks for it, a note that joins the growing set heard with its name before it is asked,
// and a key no question asks saying so.

// own
#include "AnswerStep.h"
#include "LearnedRule.h"
#include "fakes/FakeSettings.h"
#include "fakes/FixedLearned.h"
#include "fakes/GameHarness.h"

// std
#include <gtest/gtest.h>

namespace tonarika::test {
namespace {

using Verdict = AnswerStep::Verdict;

// A press of a pending question: the right note ends it (late, a miss); a key no question
// asks is no answer, and a dimmed one says why; a first wrong answer counts a miss, and
// ends the question only where the right note is shown.
TEST(AnswerStep, eachPressOfAPendingQuestionSettlesAsTheRuleSays)
{
    const struct {
        const char* what;
        PressFacts press;
        AnswerStep step;
    } cases[] = {
        {"right at once", {true, false, false, false, false, false}, {Verdict::Right, true, false, true}},
        {"right after a miss", {true, false, false, true, false, false}, {Verdict::Right, false, false, true}},
        {"right, too late", {true, false, false, false, true, false}, {Verdict::Late, true, true, true}},
        {"right, shown the answer or not", {true, false, false, false, false, true}, {Verdict::Right, true, false, true}},
        {"wrong first", {false, false, false, false, false, false}, {Verdict::Miss, true, true, false}},
        {"wrong again", {false, false, false, true, false, false}, {Verdict::Miss, false, false, false}},
        {"wrong first, the answer shown", {false, false, false, false, false, true}, {Verdict::MissShown, true, true, true}},
        {"Easy's black key", {false, true, false, false, false, true}, {Verdict::Nothing, false, false, false}},
        {"a dimmed key", {false, true, true, false, false, true}, {Verdict::NotAsked, false, false, false}},
        {"a dimmed key after a miss", {false, true, true, true, false, false}, {Verdict::NotAsked, false, false, false}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(answerStep(c.press), c.step) << c.what;
}

struct TeachingGame : GameHarness {
    FakeSettings settings;
    // `draws`: values for as many draws, for a test that need not say which notes they draw.
    explicit TeachingGame(QuestionSettings chosen, int draws = 0)
    {
        for (int i = 0; i < draws; ++i)
            random.values.push_back(float(i * 37 % 101) / 101.0f);
        settings.settings = std::move(chosen);
        game.setQuestionSettings(&settings);
        game.hard_Click();
    }
    void ask(int note)
    {
        random.values.push_back(ScriptedRandom::valueFor(note, 12));
        game.Command1_Click();
        ASSERT_EQ(game.state().curNote, note);
    }
};

// With show_answer, a first miss says the right note, outlines its key and plays it once
// more, and the question is over: the next Listen asks a new one. Without, the player
// tries again, as ever. Either way one miss and one journal row.
TEST(ShowAnswer, aFirstMissNamesOutlinesAndPlaysTheRightNoteAndEndsTheQuestion)
{
    for (const bool shown : {true, false}) {
        QuestionSettings chosen;
        chosen.showAnswer = shown;
        TeachingGame g(chosen);
        g.ask(2);  // ミ
        g.game.cmdKey_Click(4);
        EXPECT_EQ(g.game.state().missCount, 1u);
        EXPECT_EQ(g.journal.trials.size(), 1u);
        if (!shown) {
            EXPECT_EQ(g.display.caption(Caption::Label1), "はずれ");
            EXPECT_TRUE(g.display.outlined.empty());
            EXPECT_EQ(g.player.played.size(), 1u);
            EXPECT_EQ(g.game.state().curNote, 2) << "pending: the player tries again";
            continue;
        }
        EXPECT_EQ(g.display.caption(Caption::Label1), "はずれ — 正解: ミ");
        EXPECT_NE(g.display.listenDescription.find("はずれ — 正解: ミ"), std::string::npos) << g.display.listenDescription;
        EXPECT_EQ(g.display.outlined, std::set<int>{2});
        EXPECT_EQ(g.player.played, (std::vector<std::string>{"wav/Mi.wav", "wav/Mi.wav"}));
        EXPECT_FALSE(g.game.state().curNote) << "the question is over";
        g.game.cmdKey_Click(2);
        EXPECT_EQ(g.journal.trials.size(), 1u) << "a press after it answers nothing";
        EXPECT_EQ(g.game.state().missCount, 1u);
        g.ask(5);
        EXPECT_EQ(g.game.state().questionCount, 2u);
        EXPECT_TRUE(g.display.outlined.empty()) << "the outline goes with the next question";
        g.game.cmdKey_Click(5);
        EXPECT_EQ(g.display.caption(Caption::Label1), " 当たり！");
        EXPECT_EQ(g.game.state().missCount, 1u);
    }
}

// A note that joins the growing set is first played with its name, which counts and keeps
// nothing, and asked at the Listen after; no join, or a journal not read yet, introduces
// nothing.
TEST(NewNote, aNoteThatJoinsIsHeardWithItsNameAndAskedAtTheNextListen)
{
    const struct {
        const char* what;
        std::optional<NoteSet> before;
        std::optional<NoteSet> after;
        std::optional<int> introduced;
        const char* said;
    } cases[] = {
        {"ド ミ ソ learned: ラ joins", notesOf({0, 2}), notesOf({0, 2, 4}), 5, "新しい音: ラ — これが ラ です"},
        {"and ラ: ファ joins", notesOf({0, 2, 4}), notesOf({0, 2, 4, 5}), 3, "新しい音: ﾌｧ — これが ﾌｧ です"},
        {"nothing more learned", notesOf({0, 2}), notesOf({0, 2}), std::nullopt, ""},
        {"the journal not read yet", std::nullopt, notesOf({0, 2, 4}), std::nullopt, ""},
    };
    for (const auto& c : cases) {
        QuestionSettings chosen;
        chosen.notes = NoteChoice::Growing;
        chosen.timbres = {Timbre::Marimba};
        TeachingGame g(chosen, 200);
        FixedLearned learned;
        learned.learned = c.before;
        g.game.setLearnedNotes(&learned);
        g.game.Command1_Click();
        g.game.cmdKey_Click(*g.game.state().curNote);
        learned.learned = c.after;
        const std::size_t rows = g.journal.trials.size();
        const std::size_t plays = g.player.requests.size();
        g.game.Command1_Click();
        if (!c.introduced) {
            EXPECT_TRUE(g.game.state().curNote) << c.what << ": asked at once";
            continue;
        }
        EXPECT_FALSE(g.game.state().curNote) << c.what << ": no question";
        EXPECT_EQ(g.game.state().questionCount, 1u) << c.what;
        EXPECT_EQ(g.display.caption(Caption::Label1), c.said) << c.what;
        EXPECT_EQ(g.display.listenDescription, c.said) << c.what;
        ASSERT_EQ(g.player.requests.size(), plays + 1) << c.what;
        EXPECT_NE(g.player.requests.back().file.find("marimba"), std::string::npos) << c.what << ": in the timbre asked";
        g.game.cmdKey_Click(*c.introduced);
        EXPECT_EQ(g.journal.trials.size(), rows) << c.what << ": nothing kept";
        EXPECT_EQ(g.game.state().missCount, 0u) << c.what;
        g.game.Command1_Click();
        EXPECT_EQ(g.game.state().curNote, *c.introduced) << c.what << ": asked at the next Listen";
        EXPECT_EQ(g.display.caption(Caption::Label1), "") << c.what << ": the question does not name its note";
        EXPECT_EQ(g.game.state().questionCount, 2u) << c.what;
    }
}

}  // namespace
}  // namespace tonarika::test
