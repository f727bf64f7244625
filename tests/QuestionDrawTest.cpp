// How a question's sound is drawn beyond the note: timbres, octaves and the guard, over
// many questions from a seeded source, and what the player and the journal are given.

// own
#include "Game.h"
#include "SoundRules.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeDisplay.h"
#include "fakes/FakeJournal.h"
#include "fakes/FakePlayer.h"
#include "fakes/FakeScoreLog.h"
#include "fakes/FakeSettings.h"
#include "fakes/SeededRandom.h"

// std
#include <gtest/gtest.h>
#include <cmath>
#include <map>
#include <set>

namespace tonarika::test {
namespace {

using namespace std::chrono_literals;

struct SeededGame {
    FakeDisplay display;
    FakeClock clock;
    FakePlayer player;
    SeededRandom random{20261208};
    FakeScoreLog scoreLog;
    FakeJournal journal;
    FakeSettings settings;
    Game game{display, player, random, scoreLog, journal, clock, "."};

    explicit SeededGame(QuestionSettings chosen, Mode mode = Mode::Hard)
    {
        player.clock = &clock;
        settings.settings = std::move(chosen);
        game.setQuestionSettings(&settings);
        if (mode == Mode::Hard)
            game.hard_Click();
    }
    // Asks a question and answers it right; returns what the journal kept of it.
    Trial askAndAnswer()
    {
        game.Command1_Click();
        clock.advance(800ms);
        game.cmdKey_Click(*game.state().curNote);
        return journal.trials.back();
    }
};

const std::vector<Timbre> kEveryTimbre{Timbre::Piano, Timbre::Marimba, Timbre::Guitar,
                                       Timbre::Clarinet, Timbre::Trumpet, Timbre::Sine};

bool offTheGrid(double hz)
{
    const double key = 69.0 + 12.0 * std::log2(hz / 440.0);
    return std::abs(key - std::round(key)) >= kGuardOffGrid - 1e-9;
}

TEST(QuestionDraw, everyQuestionKeepsTheRulesOfItsSettings)
{
    struct Case {
        const char* name;
        Mode mode;
        QuestionSettings settings;
    };
    const Case cases[] = {
        {"two timbres, one octave", Mode::Hard, {{Timbre::Piano, Timbre::Marimba}, false, false}},
        {"every timbre, three octaves", Mode::Hard, {kEveryTimbre, true, false}},
        {"every timbre, three octaves, guard", Mode::Hard, {kEveryTimbre, true, true}},
        {"Easy, three octaves, guard", Mode::Easy, {{Timbre::Sine}, true, true}},
        {"one octave, guard", Mode::Hard, {{Timbre::Clarinet, Timbre::Trumpet}, false, true}},
    };
    constexpr int kQuestions = 2000;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SeededGame g(c.settings, c.mode);
        std::optional<Trial> previous;
        std::map<Timbre, int> timbres;
        std::set<int> octaves;
        std::map<std::size_t, int> toneCounts;
        int nearLeaps = 0;
        for (int i = 0; i < kQuestions; ++i) {
            const Trial trial = g.askAndAnswer();
            const SoundRequest& request = g.player.requests.back();
            const NoteSound sound{trial.asked, trial.timbre, trial.octave};
            ++timbres[trial.timbre];
            octaves.insert(trial.octave);
            // The mode's set, never the previous note.
            ASSERT_LT(trial.asked, c.mode == Mode::Easy ? kWhiteKeyCount : kNoteCount);
            // What sounded is what the journal names.
            ASSERT_EQ(request.file, noteSoundFile(sound));
            ASSERT_EQ(request.hz > 0, trial.timbre == Timbre::Sine);
            if (request.hz > 0) {
                ASSERT_DOUBLE_EQ(request.hz, noteSoundHz(sound));
            }
            ASSERT_EQ(trial.guard, c.settings.guard);
            ASSERT_EQ(request.guardTones.empty(), !c.settings.guard);
            // Six to eight tones with the guard, none without.
            if (c.settings.guard)
                ++toneCounts[request.guardTones.size()];
            for (const double hz : request.guardTones) {
                ASSERT_TRUE(offTheGrid(hz)) << hz << " Hz lies on a note";
                ASSERT_GT(hz, 130.0);
                ASSERT_LT(hz, 1050.0);
            }
            if (previous) {
                ASSERT_NE(trial.asked, previous->asked);
                if (c.settings.timbres.size() > 1) {
                    ASSERT_NE(trial.timbre, previous->timbre);
                }
                const NoteSound before{previous->asked, previous->timbre, previous->octave};
                const int leap = std::abs(midiKey(sound) - midiKey(before));
                // More than an octave from the last with the guard and three octaves.
                if (c.settings.guard && c.settings.threeOctaves) {
                    ASSERT_GE(leap, 13);
                }
                nearLeaps += leap < 13;
            }
            previous = trial;
        }
        // Every choice is taken, and nothing else.
        EXPECT_EQ(timbres.size(), c.settings.timbres.size());
        for (const Timbre timbre : c.settings.timbres)
            EXPECT_GT(timbres[timbre], kQuestions / int(c.settings.timbres.size()) / 2);
        const std::set<int> expected = c.settings.threeOctaves ? std::set<int>{3, 4, 5} : std::set<int>{kHomeOctave};
        EXPECT_EQ(octaves, expected);
        if (c.settings.guard) {
            EXPECT_EQ(toneCounts.size(), 3u) << "six, seven and eight tones, each drawn";
            EXPECT_TRUE(toneCounts.contains(6) && toneCounts.contains(8));
        }
        // Without the guard, three octaves leap as they fall.
        if (!c.settings.guard && c.settings.threeOctaves) {
            EXPECT_GT(nearLeaps, kQuestions / 10);
        }
    }
}

TEST(QuestionDraw, aReplayIsTheSameSoundWithoutTheGuardAndSettingsChangeOnlyAtTheNextQuestion)
{
    SeededGame g({kEveryTimbre, true, true});
    g.game.Command1_Click();
    const SoundRequest first = g.player.requests.back();
    ASSERT_FALSE(first.guardTones.empty());
    const NoteIndex asked = *g.game.state().curNote;
    // A wrong answer, a change of the settings, then two replays.
    g.game.cmdKey_Click((asked + 1) % kNoteCount);
    g.settings.settings = QuestionSettings{{Timbre::Sine}, false, false};
    g.game.Command1_Click();
    g.game.Command1_Click();
    SoundRequest again = first;
    again.guardTones.clear();
    EXPECT_EQ(g.player.requests[1], again);
    EXPECT_EQ(g.player.requests[2], again);
    g.game.cmdKey_Click(asked);
    // The next question takes the new settings, though the one drawn ahead did not.
    g.game.Command1_Click();
    EXPECT_GT(g.player.requests.back().hz, 0.0);
    EXPECT_TRUE(g.player.requests.back().guardTones.empty());
    const NoteSound sine{*g.game.state().curNote, Timbre::Sine, kHomeOctave};
    EXPECT_EQ(g.player.requests.back().hz, noteSoundHz(sine));
}

TEST(QuestionDraw, beyondTheDefaultsTheNextSoundIsPreparedAndAFileHasThePianoAsStandIn)
{
    SeededGame g({{Timbre::Marimba}, true, false});
    // Even the first question of the mode is drawn ahead, in that mode.
    ASSERT_FALSE(g.player.prepared.empty());
    for (std::size_t i = 0; i < 20; ++i) {
        const std::size_t prepared = g.player.prepared.size();
        g.askAndAnswer();
        ASSERT_EQ(g.player.prepared.size(), prepared + 1);
        const SoundRequest& asked = g.player.requests.back();
        EXPECT_EQ(asked, g.player.prepared[prepared - 1]) << "the sound asked is the one prepared before";
        EXPECT_EQ(asked.standIn, kNoteTable.at(g.journal.trials.back().asked).wavFile);
    }
    // A new run's first question too.
    g.game.clear_Click();
    const std::size_t prepared = g.player.prepared.size();
    g.askAndAnswer();
    EXPECT_EQ(g.player.requests.back(), g.player.prepared.at(prepared - 1)) << "the first question after Clear";
    // With the defaults nothing is drawn ahead.
    SeededGame plain({});
    plain.askAndAnswer();
    EXPECT_TRUE(plain.player.prepared.empty());
    EXPECT_EQ(plain.player.requests.back().standIn, "");
}

}  // namespace
}  // namespace tonarika::test
