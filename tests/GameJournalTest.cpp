// What the game hands the journal: one trial per counted question, at its first answer,
// timed from the first samples of its first play by the injected clock.

// own
#include "fakes/FakeAlarm.h"
#include "fakes/FakeSettings.h"
#include "fakes/GameHarness.h"

// std
#include <gtest/gtest.h>

namespace tonarika::test {
namespace {

using namespace std::chrono_literals;

class GameJournalTest : public ::testing::Test, protected GameHarness {
protected:
    // Asks a question on `note` (of Easy's seven or Hard's twelve).
    void ask(int note)
    {
        random.values.push_back(ScriptedRandom::valueFor(note, game.state().mode == Mode::Easy ? 7 : 12));
        game.Command1_Click();
    }
    Trial trial(int asked, int answered, std::optional<std::uint32_t> reactionMs, std::uint32_t plays = 1,
                std::uint32_t run = 1, Mode mode = Mode::Easy) const
    {
        Trial made{clock.utc, mode, run, NoteIndex(asked), NoteIndex(answered), reactionMs, plays};
        made.input = AnswerInput::Mouse;
        return made;
    }
};

// The listener beside the journal hears the same trial.
TEST_F(GameJournalTest, aRightFirstAnswerIsOneTrialTimedFromTheNotesFirstSamples)
{
    game.setAnswerListener(&journal);
    ask(2);
    clock.advance(1234ms);
    game.cmdKey_Click(2);
    ASSERT_EQ(journal.trials.size(), 1u);
    EXPECT_EQ(journal.trials[0], trial(2, 2, 1234));
    EXPECT_EQ(journal.heard, journal.trials);
}

// Each trial says how its answer was given: an on-screen key or a letter key.
TEST_F(GameJournalTest, eachTrialSaysHowItsAnswerWasGiven)
{
    ask(2);
    game.Key('D');  // ミ
    ask(3);
    game.cmdKey_Click(3);
    ask(1);
    game.Key('Q');  // no note's key: nothing
    game.cmdKey_Click(1);
    // A MIDI answer is timed to its message's arrival, however late it is handled.
    ask(5);
    clock.advance(700ms);
    const auto arrived = clock.now();
    clock.advance(40ms);
    game.midiNoteOn(5, arrived);
    ASSERT_EQ(journal.trials.size(), 4u);
    EXPECT_EQ(journal.trials[0].input, AnswerInput::Keys);
    EXPECT_EQ(journal.trials[1].input, AnswerInput::Mouse);
    EXPECT_EQ(journal.trials[2].input, AnswerInput::Mouse);
    EXPECT_EQ(journal.trials[3].input, AnswerInput::Midi);
    EXPECT_EQ(journal.trials[3].reactionMs, 700u);
}

TEST_F(GameJournalTest, onlyTheFirstAnswerCountsAndReplaysAreCountedButNotTimed)
{
    ask(4);
    clock.advance(500ms);
    game.Command1_Click();  // replays
    clock.advance(700ms);
    game.Command1_Click();
    clock.advance(300ms);
    game.cmdKey_Click(5);  // wrong
    const Trial first = trial(4, 5, 1500, 3);
    clock.advance(900ms);
    game.cmdKey_Click(4);  // right at last: no second row
    game.cmdKey_Click(6);
    ASSERT_EQ(journal.trials.size(), 1u);
    EXPECT_EQ(journal.trials[0], first);
}

// A question the player never answered and a black key in Easy (not an answer) give no
// trial; a key played in Practice gives its moment alone, as a press.
TEST_F(GameJournalTest, noTrialWithoutACountedAnswer)
{
    ask(1);
    game.cmdKey_Click(8);  // a black key in Easy: ignored
    EXPECT_TRUE(journal.trials.empty());
    game.cmdKey_Click(3);
    EXPECT_EQ(journal.trials.size(), 1u) << "the first real answer counts";
    ask(2);
    game.hard_Click();  // the question on Re is never answered
    game.prac_Click();
    for (int key = 0; key < kNoteCount; ++key)
        game.cmdKey_Click(key);
    // A MIDI key in practice plays its note, as a click does, and is no answer either.
    const auto playedBefore = player.played.size();
    game.midiNoteOn(4, clock.now());
    EXPECT_EQ(player.played.size(), playedBefore + 1);
    const auto presses = std::count_if(journal.trials.begin(), journal.trials.end(),
                                       [](const Trial& t) { return t.mode == Mode::Prac; });
    EXPECT_EQ(presses, 13);
    EXPECT_EQ(journal.trials.size() - std::size_t(presses), 1u);
}

// With an answer window, the right note later than it is 遅い in the miss look and a miss
// of the run, and the journal keeps the answer as it was with the window in force; the
// adaptive window tightens with the notes learned in the mode.
TEST_F(GameJournalTest, aRightAnswerLaterThanTheWindowIsLateAndAMissKeptAsItWas)
{
    FakeSettings settings;
    settings.settings.answerWindow = {AnswerWindow::Kind::Fixed, 1500};
    game.setQuestionSettings(&settings);
    ask(2);
    clock.advance(1500ms);
    game.cmdKey_Click(2);
    EXPECT_EQ(display.caption(Caption::Label1), " 当たり！") << "exactly the window is in time";
    ask(3);
    clock.advance(1501ms);
    game.cmdKey_Click(3);
    EXPECT_EQ(display.caption(Caption::Label1), "遅い");
    EXPECT_EQ(display.label1Back, Colour::systemButtonText());
    EXPECT_EQ(display.label1Fore, kWhite);
    EXPECT_NE(display.listenDescription.find("遅い"), std::string::npos);
    EXPECT_EQ(game.state().curNote, std::nullopt) << "the question is done";
    EXPECT_EQ(game.state().missCount, 1u);
    // A miss first, then the right note: one miss, as ever.
    ask(4);
    game.cmdKey_Click(5);
    clock.advance(3000ms);
    game.cmdKey_Click(4);
    EXPECT_EQ(game.state().missCount, 2u);
    EXPECT_EQ(game.state().questionCount, 3u);
    ASSERT_EQ(journal.trials.size(), 3u);
    EXPECT_TRUE(journal.trials[0].right());
    EXPECT_EQ(journal.trials[1].asked, journal.trials[1].answered);
    EXPECT_EQ(journal.trials[1].reactionMs, 1501u);
    EXPECT_EQ(journal.trials[1].windowMs, 1500u);
    EXPECT_FALSE(journal.trials[1].right());

    class ThreeLearned : public LearnedNotesSource {
    public:
        std::optional<NoteSet> learnedNotes(Mode mode) const override
        {
            return mode == Mode::Easy ? NoteSet::ofBits(0b10101) : NoteSet{};
        }
    } learned;
    game.setLearnedNotes(&learned);
    settings.settings.answerWindow = {AnswerWindow::Kind::Adaptive, 0};
    ask(5);
    game.cmdKey_Click(5);
    settings.settings.answerWindow = {};
    ask(6);
    game.cmdKey_Click(6);
    ASSERT_EQ(journal.trials.size(), 5u);
    EXPECT_EQ(journal.trials[3].windowMs, 1700u);
    EXPECT_EQ(journal.trials[4].windowMs, std::nullopt) << "no window, none kept";
}

// Where the question's first play did not sound its note, the trial has no time.
TEST_F(GameJournalTest, aNoteThatDidNotSoundGivesNoReactionTime)
{
    for (const auto state : {Playback::State::Alert, Playback::State::Dropped}) {
        player.next = state;
        ask(journal.trials.size() % 2 == 0 ? 3 : 5);
        player.next = Playback::State::Sounding;
        game.Command1_Click();  // a replay that sounds changes nothing: the first play counts
        clock.advance(800ms);
        game.cmdKey_Click(game.state().prevNote);
        ASSERT_FALSE(journal.trials.empty());
        EXPECT_FALSE(journal.trials.back().reactionMs) << int(state);
        EXPECT_EQ(journal.trials.back().plays, 2u);
    }
    // Refused by the output: the question still counts, untimed.
    player.failing = true;
    player.failure = SoundError::Cause::Refused;
    random.values.push_back(ScriptedRandom::valueFor(6, 7));
    game.Command1_Click();
    game.cmdKey_Click(6);
    ASSERT_EQ(journal.trials.size(), 3u);
    EXPECT_FALSE(journal.trials.back().reactionMs);
}

// Until a question's note begins (its guard's tones still play, or it still loads), an
// answer is no answer and Listen does nothing: no miss, no trial, no replay cutting the
// guard short. While the guard plays, the result label says the note is coming, and once
// the alarm finds it begun, that goes.
TEST_F(GameJournalTest, nothingCountsBeforeTheNoteBegins)
{
    FakeAlarm alarm;
    game.setAlarm(&alarm);
    FakeSettings settings;
    settings.settings.guard = true;
    player.startsAfter = 1200ms;  // the guard's tones
    // The note, drawn ahead as the settings come; then the guard's tones and the next note.
    random.values = {ScriptedRandom::valueFor(2, 7)};
    game.setQuestionSettings(&settings);
    random.values.assign(20, 0.5f);
    game.Command1_Click();
    ASSERT_EQ(game.state().curNote, 2);
    EXPECT_EQ(display.caption(Caption::Label1), "…");
    EXPECT_EQ(display.listenDescription, "まもなく音が鳴ります");
    ASSERT_TRUE(alarm.when);
    EXPECT_EQ(*alarm.when, clock.now() + 1200ms) << "the alarm rings as the note begins";

    clock.advance(300ms);
    game.cmdKey_Click(4);  // wrong, and too early
    game.Command1_Click();
    clock.advance(899ms);
    game.cmdKey_Click(2);  // right, and still a millisecond early
    EXPECT_TRUE(journal.trials.empty());
    EXPECT_EQ(game.state().missCount, 0u);
    EXPECT_EQ(player.played.size(), 1u) << "Listen during the guard replays nothing";
    EXPECT_EQ(display.caption(Caption::Label1), "…");

    clock.advance(1ms);
    alarm.ring();
    EXPECT_EQ(display.caption(Caption::Label1), "") << "the note has begun";
    clock.advance(700ms);
    game.cmdKey_Click(4);
    ASSERT_EQ(journal.trials.size(), 1u);
    EXPECT_EQ(journal.trials[0].reactionMs, 700u) << "timed from the note, not from the guard";
    EXPECT_EQ(game.state().missCount, 1u);

    // A note still loading has not begun either, guard or none.
    settings.settings.guard = false;
    game.cmdKey_Click(2);
    player.startsAfter = 0ms;
    player.next = Playback::State::Waiting;
    random.values.assign({ScriptedRandom::valueFor(5, 7), 0.5f});
    game.Command1_Click();
    game.cmdKey_Click(3);
    EXPECT_EQ(journal.trials.size(), 1u);
    player.playbacks.back().state = Playback::State::Sounding;
    game.cmdKey_Click(3);
    EXPECT_EQ(journal.trials.size(), 2u) << "once it sounds";
}

// A run begins at start-up, after each record and after each clear; the mode is the one
// played.
TEST_F(GameJournalTest, eachTrialCarriesItsRunAndMode)
{
    ask(1);
    game.cmdKey_Click(1);
    game.clear_Click();
    ask(2);
    game.cmdKey_Click(2);
    game.hard_Click();  // records, then clears
    ask(9);
    game.cmdKey_Click(9);
    ASSERT_EQ(journal.trials.size(), 3u);
    EXPECT_EQ(journal.trials[0].run, 1u);
    EXPECT_EQ(journal.trials[1].run, 2u);
    EXPECT_GT(journal.trials[2].run, journal.trials[1].run);
    EXPECT_EQ(journal.trials[1].mode, Mode::Easy);
    EXPECT_EQ(journal.trials[2].mode, Mode::Hard);
}

}  // namespace
}  // namespace tonarika::test
