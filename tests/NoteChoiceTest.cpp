// Which notes are asked: the growing set's rule, the notes chosen within a mode, the keys
// outside them dimmed and refused, a note that joins asked first, and every sound at the
// player's A4.

// own
#include "Game.h"
#include "LearnedRule.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeDisplay.h"
#include "fakes/FakeJournal.h"
#include "fakes/FakePlayer.h"
#include "fakes/FakeScoreLog.h"
#include "fakes/FakeSettings.h"
#include "fakes/FixedLearned.h"
#include "fakes/SeededRandom.h"

// std
#include <gtest/gtest.h>
#include <cmath>
#include <set>

namespace tonarika::test {
namespace {

using namespace std::chrono_literals;

// ド ミ ソ first; a note joins when every note in the set is learned, in the order ラ ファ
// レ シ, then ファ# ド# ソ# レ# ラ#; Easy stops at its seven white keys.
TEST(GrowingSet, startsWithDoMiSoAndTakesTheNextNoteWhenAllInItAreLearned)
{
    const NoteSet white = notesOf({0, 1, 2, 3, 4, 5, 6});
    const struct {
        const char* what;
        Mode mode;
        NoteSet learned;
        NoteSet set;
        std::optional<NoteIndex> next;
    } cases[] = {
        {"nothing learned", Mode::Easy, {}, notesOf({0, 2, 4}), 5},
        {"two of the three", Mode::Hard, notesOf({0, 2}), notesOf({0, 2, 4}), 5},
        {"all three", Mode::Hard, notesOf({0, 2, 4}), notesOf({0, 2, 4, 5}), 3},
        {"and ラ", Mode::Easy, notesOf({0, 2, 4, 5}), notesOf({0, 2, 4, 5, 3}), 1},
        {"a later note learned, an earlier not", Mode::Easy, notesOf({0, 2, 5, 3, 1}), notesOf({0, 2, 4}), 5},
        {"the white keys in Easy: all of Easy", Mode::Easy, white, white, std::nullopt},
        {"the white keys in Hard: ファ# joins", Mode::Hard, white, notesOf({0, 1, 2, 3, 4, 5, 6, 9}), 7},
        {"every note in Hard", Mode::Hard, NoteSet::all(), NoteSet::all(), std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(growingSet(c.mode, c.learned), c.set) << c.what;
        EXPECT_EQ(nextGrowingNote(c.mode, c.set), c.next) << c.what;
    }
}

// The rule the companion's notes page shows: 20 questions or more, 18 of the last 20 right,
// the median time of those right no more than 2 s.
TEST(LearnedRule, aNoteIsLearnedByItsLastTwentyAnswers)
{
    const auto answers = [](int count, int wrongLast, std::optional<std::uint32_t> ms, int wrongFirst = 0) {
        std::vector<NoteAnswer> list;
        for (int i = 0; i < count; ++i)
            list.push_back({!(i < wrongFirst || i >= count - wrongLast), ms});
        return list;
    };
    const struct {
        const char* what;
        std::vector<NoteAnswer> answers;
        bool learned;
    } cases[] = {
        {"twenty right", answers(20, 0, 1000), true},
        {"nineteen", answers(19, 0, 1000), false},
        {"two of the last twenty wrong", answers(20, 2, 1000), true},
        {"three", answers(20, 3, 1000), false},
        {"a median of 2.0 s", answers(20, 0, 2000), true},
        {"of 2.001 s", answers(20, 0, 2001), false},
        {"no times", answers(20, 0, std::nullopt), false},
        {"misses before the last twenty", answers(30, 0, 1000, 10), true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isLearned(c.answers), c.learned) << c.what;
}

struct ChoiceGame {
    FakeDisplay display;
    FakeClock clock;
    FakePlayer player;
    SeededRandom random{29};
    FakeScoreLog scoreLog;
    FakeJournal journal;
    FakeSettings settings;
    FixedLearned learned;
    Game game{display, player, random, scoreLog, journal, clock, "."};

    ChoiceGame(QuestionSettings chosen, Mode mode)
    {
        player.clock = &clock;
        settings.settings = std::move(chosen);
        game.setLearnedNotes(&learned);
        game.setQuestionSettings(&settings);
        if (mode == Mode::Hard)
            game.hard_Click();
    }
    // The notes `count` questions ask, each answered right.
    std::set<int> asked(int count)
    {
        std::set<int> notes;
        for (int i = 0; i < count; ++i) {
            game.Command1_Click();
            notes.insert(*game.state().curNote);
            game.cmdKey_Click(*game.state().curNote);
        }
        return notes;
    }
    NoteSet dimmed() const
    {
        NoteSet keys;
        for (const auto& [key, asked] : display.keysAsked) {
            if (!asked)
                keys.add(key);
        }
        return keys;
    }
};

// The notes chosen, within the mode's: only they are asked, every other key dimmed; fewer
// than two left, the mode's own. With nothing chosen, nothing is dimmed, Easy's black
// keys neither.
TEST(NoteChoice, onlyTheNotesChosenWithinTheModeAreAskedAndTheOtherKeysDimmed)
{
    const auto chosen = [](NoteSet notes) {
        QuestionSettings settings;
        settings.notes = NoteChoice::Chosen;
        settings.chosen = notes;
        return settings;
    };
    const struct {
        const char* what;
        QuestionSettings settings;
        Mode mode;
        std::set<int> asked;
    } cases[] = {
        {"C E G in Easy", chosen(notesOf({0, 2, 4})), Mode::Easy, {0, 2, 4}},
        {"C C# E in Easy: the black key is not Easy's", chosen(notesOf({0, 7, 2})), Mode::Easy, {0, 2}},
        {"C C# in Easy: one left, so Easy's seven", chosen(notesOf({0, 7})), Mode::Easy, {0, 1, 2, 3, 4, 5, 6}},
        {"C# F# in Hard", chosen(notesOf({7, 9})), Mode::Hard, {7, 9}},
        {"nothing chosen, Hard", QuestionSettings{}, Mode::Hard, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
    };
    for (const auto& c : cases) {
        ChoiceGame g(c.settings, c.mode);
        EXPECT_EQ(g.asked(300), c.asked) << c.what;
        NoteSet dimmed;
        if (c.settings.notes != NoteChoice::All) {
            for (int note = 0; note < kNoteCount; ++note) {
                if (!c.asked.contains(note))
                    dimmed.add(note);
            }
        }
        EXPECT_EQ(g.dimmed(), dimmed) << c.what;
    }
}

// A key outside the notes asked is no answer, as a black key is in Easy, but says why:
// nothing counted, the question pending; after the mode's notes come back, the keys are
// as designed.
TEST(NoteChoice, aKeyOutsideTheNotesAskedIsNoAnswer)
{
    QuestionSettings settings;
    settings.notes = NoteChoice::Chosen;
    settings.chosen = notesOf({0, 2, 4});
    ChoiceGame g(settings, Mode::Hard);
    g.game.Command1_Click();
    const int asked = *g.game.state().curNote;
    g.display.label1Back = kRed;
    g.game.Key('L');  // シ
    g.game.cmdKey_Click(9);
    EXPECT_EQ(g.display.label1Back, kWhite);
    EXPECT_EQ(g.display.caption(Caption::Label1), "この音は今は出題されません");
    EXPECT_EQ(g.display.listenDescription, "この音は今は出題されません");
    EXPECT_EQ(g.game.state().missCount, 0u);
    EXPECT_TRUE(g.journal.trials.empty());
    EXPECT_EQ(g.game.state().curNote, asked);
    g.game.cmdKey_Click((asked + 2) % 6);  // one of the three, and wrong: a miss
    EXPECT_EQ(g.game.state().missCount, 1u);

    g.settings.settings = QuestionSettings{};
    g.game.setQuestionSettings(&g.settings);
    EXPECT_EQ(g.dimmed(), NoteSet());
}

// With the growing set the draw keeps within it, the keys outside it dimmed; once the last
// of its notes is learned, the note that joins is asked first, after it was introduced.
TEST(NoteChoice, aNoteThatJoinsTheGrowingSetIsAskedFirst)
{
    QuestionSettings settings;
    settings.notes = NoteChoice::Growing;
    settings.weakNotes = true;
    ChoiceGame g(settings, Mode::Easy);
    g.learned.learned = notesOf({0, 2});
    EXPECT_EQ(g.asked(200), (std::set<int>{0, 2, 4}));
    EXPECT_EQ(g.dimmed(), notesOf({1, 3, 5, 6, 7, 8, 9, 10, 11})) << "Easy's black keys too";
    g.learned.learned = notesOf({0, 2, 4});
    g.game.Command1_Click();  // ラ, introduced
    g.game.Command1_Click();
    EXPECT_EQ(g.game.state().curNote, 5) << "ラ joins";
    EXPECT_TRUE(g.display.warnings.empty());
    EXPECT_EQ(g.dimmed(), notesOf({1, 3, 6, 7, 8, 9, 10, 11}));
    g.game.cmdKey_Click(5);
    EXPECT_EQ(g.asked(200), (std::set<int>{0, 2, 4, 5}));
}

// Every sound follows the player's A4: a file's note is asked of the player at it, the
// pure tone is computed at it, and the guard's tones keep off its grid; the journal keeps it.
TEST(NoteChoice, everySoundFollowsTheChosenA4)
{
    QuestionSettings settings;
    settings.timbres = {Timbre::Piano, Timbre::Sine};
    settings.guard = true;
    settings.threeOctaves = true;
    settings.a4 = 442;
    ChoiceGame g(settings, Mode::Hard);
    for (int i = 0; i < 40; ++i) {
        g.game.Command1_Click();
        g.clock.advance(2s);
        const SoundRequest& request = g.player.requests.back();
        EXPECT_EQ(request.a4, 442);
        const int asked = *g.game.state().curNote;
        g.game.cmdKey_Click(asked);
        const Trial& kept = g.journal.trials.back();
        EXPECT_EQ(kept.a4, 442);
        if (request.hz > 0) {
            EXPECT_NEAR(request.hz, 442.0 * std::pow(2.0, (midiKey({kept.asked, Timbre::Sine, kept.octave}) - 69) / 12.0), 1e-9);
        }
        for (const double hz : request.guardTones) {
            const double key = 69.0 + 12.0 * std::log2(hz / 442.0);
            EXPECT_GE(std::abs(key - std::round(key)), 0.25 - 1e-9) << hz << " Hz lies on a note at A4 = 442";
        }
    }
    g.game.prac_Click();
    g.game.cmdKey_Click(3);
    EXPECT_EQ(g.player.requests.back().a4, 442) << "practice too";
}

}  // namespace
}  // namespace tonarika::test
