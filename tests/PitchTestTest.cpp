// The test of absolute pitch: its score, its items' order, and a test taken in the game,
// whole or abandoned, with nothing said of an answer before the end.

// own
#include "PitchTest.h"
#include "Game.h"
#include "Rules.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeDisplay.h"
#include "fakes/FakeJournal.h"
#include "fakes/FakePlayer.h"
#include "fakes/FakeScoreLog.h"
#include "fakes/FakeSettings.h"
#include "fakes/SeededRandom.h"

// std
#include <gtest/gtest.h>
#include <cstdlib>
#include <set>
#include <tuple>

namespace tonarika::test {
namespace {

using namespace std::chrono_literals;

// ド 0, レ 1, ミ 2, ファ 3, ソ 4, ラ 5, シ 6, ド# 7, レ# 8, ファ# 9, ソ# 10, ラ# 11.
TEST(PitchTestScore, aNoteIsAPointASemitoneEitherWayThreeQuartersAndFurtherNothing)
{
    const struct {
        const char* what;
        NoteIndex asked;
        NoteIndex answered;
        double points;
    } cases[] = {
        {"the note", 5, 5, 1.0},
        {"a black note", 9, 9, 1.0},
        {"a semitone up", 0, 7, 0.75},
        {"a semitone down", 2, 8, 0.75},
        {"ミ for ファ, white to white", 3, 2, 0.75},
        {"シ for ド, across the octave's edge", 0, 6, 0.75},
        {"ド for シ, the other way", 6, 0, 0.75},
        {"a whole tone", 0, 1, 0.0},
        {"ラ# for ド, a whole tone across the edge", 0, 11, 0.0},
        {"a tritone", 0, 9, 0.0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(pitchTestPoints(c.asked, c.answered), c.points) << c.what;
}

// Each timbre is scored on its own, out of 36; the share a semitone off and the median
// time are of all 72; fewer answers than items score nothing.
TEST(PitchTestScore, eachTimbreIsScoredOutOf36AndAnUnfinishedTestNot)
{
    // Pure tones: 30 right, 4 a semitone up, 2 a tritone off, each in 0.6 s. Piano: all
    // right, 30 in 0.9 s and 6 after pauses of 20 s, which pull the mean up to 2.34 s.
    std::vector<PitchTestAnswer> answers;
    for (const Timbre timbre : {Timbre::Sine, Timbre::Piano}) {
        for (int i = 0; i < kPitchTestItemsPerTimbre; ++i) {
            const NoteIndex note = NoteIndex(i % kNoteCount);
            const int apart = timbre == Timbre::Piano || i < 30 ? 0 : i < 34 ? 1 : 6;
            const auto answered = NoteIndex(kKeyboardOrder[std::size_t((kSemitone[note] + apart) % 12)]);
            const std::uint32_t ms = timbre == Timbre::Sine ? 600 : i < 30 ? 900 : 20'000;
            answers.push_back({{note, timbre, 4}, answered, ms});
        }
    }
    const auto result = pitchTestResult(answers);
    ASSERT_TRUE(result);
    EXPECT_DOUBLE_EQ(result->pureTone, 33.0);
    EXPECT_DOUBLE_EQ(result->piano, 36.0);
    EXPECT_DOUBLE_EQ(result->semitoneShare, 100.0 * 4 / 72);
    EXPECT_EQ(result->medianMs, 750.0) << "between the 36th and the 37th, 600 ms and 900 ms: the median, not the mean";

    answers.pop_back();
    EXPECT_FALSE(pitchTestResult(answers)) << "71 answers: kept, not scored";
}

// At most two decimals, the locale's separator, the A4 named and the cut-off a reference.
TEST(PitchTestScore, theResultSaysEachScoreWithAtMostTwoDecimals)
{
    const PitchTestResult result{27.25, 30.0, 12.5, 1840.0};
    const std::string text = pitchTestResultText(result, 442, ",");
    for (const char* line : {"純音: 27,25 / 36\n", "ピアノ: 30 / 36\n", "半音違いの答え: 12,5 %\n", "中央値: 1,8 秒\n",
                             "A4 = 442 Hz", "目安", "24,5 / 36", "診断ではありません"})
        EXPECT_NE(text.find(line), std::string::npos) << line << " in\n" << text;
    EXPECT_NE(pitchTestResultText({24.75, 0.0, 0.0, std::nullopt}, 440, ".").find("純音: 24.75 / 36"), std::string::npos);
}

// Where the pure tones stand against 24.5, in one sentence, and the notes missed most.
TEST(PitchTestScore, theResultSaysWhereThePlayerStandsAndWhichNotesWentWrong)
{
    const auto missed = [](std::initializer_list<std::pair<int, int>> counts) {
        std::array<int, kNoteCount> notes{};
        for (const auto& [note, count] : counts)
            notes.at(std::size_t(note)) = count;
        return notes;
    };
    const struct {
        const char* what;
        double pureTone;
        std::array<int, kNoteCount> missed;
        const char* standing;
        const char* notes;
    } cases[] = {
        {"below", 18.25, missed({{2, 3}, {9, 4}}), "純音 18.25 / 36: 研究の目安 24.5 にはまだ届きません\n",
         "よく間違えた音: ﾌｧ＃(ソ♭) 4 回、ミ 3 回"},
        {"on it", 24.5, missed({{0, 1}, {1, 1}, {2, 1}, {3, 1}}), "純音 24.5 / 36: 研究の目安 24.5 に届いています\n",
         "よく間違えた音: ド 1 回、レ 1 回、ミ 1 回"},
        {"none missed", 36.0, missed({}), "純音 36 / 36: 研究の目安 24.5 に届いています\n", "間違えた音はありません"},
    };
    for (const auto& c : cases) {
        PitchTestResult result{c.pureTone, 30.0, 0.0, std::nullopt};
        result.missed = c.missed;
        const std::string text = pitchTestResultText(result, 440, ".");
        EXPECT_NE(text.find(c.standing), std::string::npos) << c.what << ":\n" << text;
        EXPECT_EQ(text.substr(text.rfind('\n') + 1), c.notes) << c.what;
    }
}

// The 72 items: each note of octaves 3 to 5 once as the pure tone and once on the piano,
// the two mixed, each at least 13 semitones from the one before; repeatable from a seed.
TEST(PitchTestItems, everySoundOnceInAnOrderThatLeapsMoreThanAnOctave)
{
    std::set<std::vector<std::tuple<int, int, int>>> orders;
    for (const unsigned seed : {1u, 2u, 3u, 30u, 77u}) {
        SCOPED_TRACE(seed);
        SeededRandom random(seed);
        const auto items = pitchTestItems(random);
        ASSERT_EQ(items.size(), std::size_t(kPitchTestItems));
        std::set<std::tuple<int, int, int>> sounds;
        std::vector<std::tuple<int, int, int>> order;
        int pureInFirstHalf = 0;
        for (std::size_t i = 0; i < items.size(); ++i) {
            const NoteSound& item = items[i];
            ASSERT_TRUE(item.timbre == Timbre::Sine || item.timbre == Timbre::Piano);
            ASSERT_GE(item.octave, 3);
            ASSERT_LE(item.octave, 5);
            sounds.insert({item.note, int(item.timbre), item.octave});
            order.push_back({item.note, int(item.timbre), item.octave});
            pureInFirstHalf += i < items.size() / 2 && item.timbre == Timbre::Sine;
            if (i > 0) {
                EXPECT_GE(std::abs(midiKey(item) - midiKey(items[i - 1])), 13) << "item " << i;
            }
        }
        EXPECT_EQ(sounds.size(), std::size_t(kPitchTestItems)) << "each once";
        EXPECT_GT(pureInFirstHalf, 6) << "the timbres mixed";
        EXPECT_LT(pureInFirstHalf, 30) << "the timbres mixed";
        SeededRandom again(seed);
        EXPECT_EQ(pitchTestItems(again), items) << "the same seed, the same order";
        orders.insert(order);
    }
    EXPECT_EQ(orders.size(), 5u) << "each seed its own order";
}

struct PitchTestGame {
    FakeDisplay display;
    FakeClock clock;
    FakePlayer player;
    SeededRandom random{30};
    FakeScoreLog scoreLog;
    FakeJournal journal;
    FakeSettings settings;
    Game game{display, player, random, scoreLog, journal, clock, "."};

    PitchTestGame()
    {
        player.clock = &clock;
        // None of these apply to the test but the A4.
        settings.settings.timbres = {Timbre::Marimba};
        settings.settings.notes = NoteChoice::Chosen;
        settings.settings.chosen.add(0);
        settings.settings.chosen.add(2);
        settings.settings.weakNotes = true;
        settings.settings.a4 = 442;
        game.setQuestionSettings(&settings);
        game.startPitchTest();
    }
    // Asks the next item and answers it `apart` semitones up from the note.
    void answer(int apart)
    {
        game.Command1_Click();
        const int asked = *game.state().curNote;
        clock.advance(800ms);
        game.cmdKey_Click(kKeyboardOrder[std::size_t((kSemitone[std::size_t(asked)] + apart) % 12)]);
    }
};

// While the test is taken, an answer is taken and nothing more: no colour, no count, no
// rate; Listen does not replay an item; the settings give only the A4; every item has the
// guard before it; the result comes after the 72nd answer, and the score file hears nothing.
TEST(PitchTestTaken, nothingShowsWhetherAnAnswerWasRightUntilTheResult)
{
    PitchTestGame t;
    // What the test is, until Listen starts it.
    for (const char* said : {"72 問", "約 10 分", "1 回だけ", "最後まで表示されません", "Listen"})
        EXPECT_NE(t.display.pitchTestIntro.find(said), std::string::npos) << said << " in\n" << t.display.pitchTestIntro;
    EXPECT_EQ(t.display.caption(Caption::CapMode), "テスト");
    EXPECT_EQ(t.display.pitchTestProgress, "テスト 0 / 72");
    EXPECT_FALSE(t.display.clearEnabled);
    for (int i = 0; i < kPitchTestItems; ++i) {
        t.game.Command1_Click();
        EXPECT_EQ(t.display.pitchTestIntro, "") << i;
        const std::size_t plays = t.player.requests.size();
        t.game.Command1_Click();
        EXPECT_EQ(t.player.requests.size(), plays) << "heard once";
        EXPECT_EQ(t.display.pitchTestProgress, "テスト " + std::to_string(i + 1) + " / 72");
        const int asked = *t.game.state().curNote;
        t.clock.advance(800ms);
        // Right, a semitone off, and wrong, in turn.
        const int apart = i % 3 == 0 ? 0 : i % 3 == 1 ? 1 : 6;
        t.game.cmdKey_Click(kKeyboardOrder[std::size_t((kSemitone[std::size_t(asked)] + apart) % 12)]);
        EXPECT_EQ(t.display.caption(Caption::Label1), "受け付けました") << i;
        EXPECT_EQ(t.display.label1Back, kWhite) << i;
        EXPECT_EQ(t.display.caption(Caption::CapMiss), "--- 回") << i;
        EXPECT_EQ(t.display.caption(Caption::CapPar), "--- %") << i;
        if (i < kPitchTestItems - 1) {
            EXPECT_EQ(t.display.pitchTestResult, "") << i;
        }
    }
    ASSERT_EQ(t.player.requests.size(), std::size_t(kPitchTestItems));
    std::set<std::pair<long, std::string>> heard;  // a pure tone by its pitch, the piano by its file
    for (const SoundRequest& request : t.player.requests) {
        EXPECT_EQ(request.a4, 442);
        EXPECT_FALSE(request.guardTones.empty());
        heard.insert({std::lround(request.hz * 100), request.file});
    }
    EXPECT_EQ(heard.size(), std::size_t(kPitchTestItems)) << "each sound once";
    ASSERT_EQ(t.journal.trials.size(), std::size_t(kPitchTestItems));
    for (const Trial& trial : t.journal.trials) {
        EXPECT_EQ(trial.mode, Mode::PitchTest);
        EXPECT_EQ(trial.run, t.journal.trials.front().run);
        EXPECT_TRUE(trial.guard);
        EXPECT_EQ(trial.a4, 442);
        EXPECT_EQ(trial.reactionMs, 800u);
    }
    // A third right, a third a semitone off: 12 + 9 of each timbre's 36, give or take the order.
    EXPECT_NE(t.display.pitchTestResult.find("純音: "), std::string::npos);
    EXPECT_NE(t.display.pitchTestResult.find("半音違いの答え: 33.33 %"), std::string::npos) << t.display.pitchTestResult;
    EXPECT_NE(t.display.pitchTestResult.find("中央値: 0.8 秒"), std::string::npos) << t.display.pitchTestResult;
    EXPECT_NE(t.display.pitchTestResult.find("よく間違えた音: "), std::string::npos) << t.display.pitchTestResult;
    EXPECT_FALSE(t.display.listenEnabled);
    t.game.Command1_Click();
    EXPECT_EQ(t.player.requests.size(), std::size_t(kPitchTestItems)) << "nothing after the last";
    t.game.Form_Unload();
    EXPECT_TRUE(t.scoreLog.runs.empty());
    // Back to practice: the mode the test was started from.
    t.game.leavePitchTest();
    EXPECT_EQ(t.game.state().mode, Mode::Easy);
    EXPECT_EQ(t.display.pitchTestResult, "");
}

// Asked which modes' notes are learned and weighed, and knows neither.
class AskedModes : public LearnedNotesSource, public NoteWeightsSource {
public:
    mutable std::set<Mode> asked;
    std::optional<NoteSet> learnedNotes(Mode mode) const override
    {
        asked.insert(mode);
        return std::nullopt;
    }
    std::optional<NoteWeights> noteWeights(Mode mode) const override
    {
        asked.insert(mode);
        return std::nullopt;
    }
};

// The settings file changed while the test is taken, between two items and while one is
// pending, changes nothing in it: every item, its guard's tones, its A4 and its journal row
// are those of the same test left alone; nothing is drawn ahead or loaded; neither the
// learned nor the weak notes are asked about the test. The new A4 counts from the next test.
TEST(PitchTestTaken, aSettingsChangeDuringTheTestChangesNothingInIt)
{
    PitchTestGame changed, alone;  // one seed: one order of items, one draw of guard tones
    AskedModes sources;
    changed.game.setLearnedNotes(&sources);
    changed.game.setNoteWeights(&sources);
    const std::size_t prepared = changed.player.prepared.size();
    const auto change = [&](NoteChoice notes, int a4) {
        changed.settings.settings = {{Timbre::Trumpet, Timbre::Sine}, true, true, true, notes, {}, a4};
        changed.settings.settings.chosen.add(4);
        changed.settings.settings.chosen.add(9);
        changed.game.setQuestionSettings(&changed.settings);
    };
    for (int i = 0; i < kPitchTestItems; ++i) {
        if (i == 10)
            change(NoteChoice::Growing, 415);
        for (PitchTestGame* t : {&changed, &alone})
            t->game.Command1_Click();
        if (i == 40)
            change(NoteChoice::Chosen, 466);
        for (PitchTestGame* t : {&changed, &alone}) {
            t->clock.advance(800ms);
            t->game.cmdKey_Click(i % 12);
        }
    }
    EXPECT_EQ(changed.player.requests, alone.player.requests);
    EXPECT_EQ(changed.journal.trials, alone.journal.trials);
    EXPECT_EQ(changed.display.pitchTestResult, alone.display.pitchTestResult);
    EXPECT_NE(changed.display.pitchTestResult.find("A4 = 442 Hz"), std::string::npos) << changed.display.pitchTestResult;
    EXPECT_EQ(changed.player.prepared.size(), prepared) << "nothing drawn ahead or loaded";
    EXPECT_FALSE(sources.asked.contains(Mode::PitchTest));

    changed.game.hard_Click();
    changed.game.startPitchTest();
    changed.game.Command1_Click();
    EXPECT_EQ(changed.player.requests.back().a4, 466) << "the next test";
}

// A test left before its 72nd answer keeps its answers, scores nothing, and leaves the
// score file alone; the mode chosen next starts afresh, its result view gone.
TEST(PitchTestTaken, anAbandonedTestIsKeptButNotScored)
{
    PitchTestGame t;
    for (int i = 0; i < 10; ++i)
        t.answer(0);
    t.game.hard_Click();
    EXPECT_TRUE(t.scoreLog.runs.empty());
    EXPECT_EQ(t.display.pitchTestResult, "");
    EXPECT_EQ(t.display.pitchTestProgress, "");
    EXPECT_EQ(t.display.caption(Caption::CapMode), "Hard");
    EXPECT_TRUE(t.display.clearEnabled);
    ASSERT_EQ(t.journal.trials.size(), 10u);
    t.answer(0);
    EXPECT_EQ(t.journal.trials.back().mode, Mode::Hard);
    EXPECT_NE(t.journal.trials.back().run, t.journal.trials.front().run);
    EXPECT_EQ(t.game.state().questionCount, 1u);
}

}  // namespace
}  // namespace tonarika::test
