// A sung note judged in cents against the note named, and the steady voicing it is taken from.

// own
#include "SingJudge.h"
#include "SteadyVoicing.h"
#include "fakes/FakeVoice.h"
#include "fakes/GameHarness.h"

// std
#include <gtest/gtest.h>
#include <cmath>
#include <optional>
#include <vector>

namespace tonarika {
namespace {

double sharpened(double hz, double cents)
{
    return hz * std::pow(2.0, cents / 1200.0);
}

// Only the pitch class counts; ±50 cents is right, the edge included; the note nearer than
// the one named is said; the player's A4 is the grid.
TEST(SingJudge, theErrorIsInCentsFromTheNamedPitchClassInAnyOctave)
{
    const struct {
        double hz;
        NoteIndex asked;
        int a4;
        bool right;
        const char* text;
    } cases[] = {
        {440.0, 5, 440, true, "±0 セント"},
        {sharpened(880.0, 23), 5, 440, true, "+23 セント"},
        {sharpened(110.0, -50), 5, 440, true, "−50 セント"},
        {sharpened(440.0, 51), 5, 440, false, "+51 セント（ラ＃(シ♭)に近い）"},
        {sharpened(440.0, -140), 5, 440, false, "−140 セント（ソ＃(ラ♭)に近い）"},
        {246.94, 0, 440, false, "−100 セント（シに近い）"},
        {sharpened(1046.5, 12), 0, 440, true, "+12 セント"},
        {415.0, 5, 415, true, "±0 セント"},
        {440.0, 5, 415, false, "+101 セント（ラ＃(シ♭)に近い）"},
        {sharpened(261.6256, 590), 0, 440, false, "+590 セント（ﾌｧ＃(ソ♭)に近い）"},
        {sharpened(261.6256, -590), 0, 440, false, "−590 セント（ﾌｧ＃(ソ♭)に近い）"},
    };
    for (const auto& c : cases) {
        const SungAnswer answer = judgeSung(c.hz, c.asked, c.a4);
        EXPECT_EQ(answer.right, c.right) << c.hz << " " << answer.cents;
        EXPECT_EQ(sungErrorText(answer, c.asked, {}), c.text) << c.hz << " " << answer.cents;
    }
}

constexpr double kHopMs = 256 * 1000.0 / 44100.0;

// Frames one hop apart, from `fromMs`, each as `frame` makes it from its time.
template <typename Make>
std::vector<PitchFrame> frames(double fromMs, double toMs, Make frame)
{
    std::vector<PitchFrame> made;
    for (double at = fromMs; at < toMs; at += kHopMs)
        made.push_back(frame(at));
    return made;
}

PitchFrame quiet(double at)
{
    return {at, 0.0, 0.1, -60.0};
}

std::optional<SungPitch> sung(const std::vector<std::vector<PitchFrame>>& parts)
{
    SteadyVoicing voicing;
    for (const auto& part : parts) {
        for (const PitchFrame& frame : part) {
            if (const auto pitch = voicing.feed(frame))
                return pitch;
        }
    }
    return std::nullopt;
}

// The median of the first 200 ms of steady voicing: the voice's onset after the quiet, a
// glide or a slow scoop into the note that restarts the stretch, a voice that drifts on
// taken in the end, vibrato averaged; nothing from an unsure
// detector, a level at the noise floor, silence, or a pitch that jumps about.
TEST(SteadyVoicing, thePitchIsTakenFromTheFirstSteadyStretchOfVoice)
{
    const auto steady = [](double hz) { return [hz](double at) { return PitchFrame{at, hz, 0.95, -20.0}; }; };
    const struct {
        const char* what;
        std::vector<std::vector<PitchFrame>> parts;
        std::optional<double> hz;
        double voiceStartMs;
        double judgedByMs;
        double withinCents = 3;
    } cases[] = {
        {"onset", {frames(0, 300, quiet), frames(300, 800, steady(440.0))}, 440.0, 300, 510},
        {"glide", {frames(0, 300, quiet), frames(300, 400, [](double at) { return PitchFrame{at, sharpened(440, -(400 - at) * 3), 0.95, -20}; }),
                   frames(400, 900, steady(440.0))}, 440.0, 300, 610},
        // A scoop from 50 cents sharp that settles 3 cents flat within 220 ms, within the hold
        // all along, with one bounce on the way that is not vibrato: as a recorded "oo" does.
        {"scoop", {frames(0, 300, quiet), frames(300, 1000, [](double at) {
             const double cents = at < 430 ? 50 - 47 * (at - 300) / 130
                                : at < 450 ? 3 + 12 * (at - 430) / 20
                                : at < 520 ? 15 - 18 * (at - 450) / 70 : -3;
             return PitchFrame{at, sharpened(440, cents), 0.95, -20};
         })}, sharpened(440, -3), 300, 760},
        // Drifting on at 60 cents a second: taken a second after it began, where it was then.
        {"drift", {frames(0, 300, quiet), frames(300, 2000, [](double at) {
             return PitchFrame{at, sharpened(440, 0.06 * (at - 300)), 0.95, -20};
         })}, sharpened(440, 54), 300, 1310},
        {"vibrato", {frames(0, 300, quiet), frames(300, 900, [](double at) {
             return PitchFrame{at, sharpened(330, 29.9 * std::sin(2 * M_PI * 5.5 * at / 1000)), 0.95, -20};
         })}, 330.0, 300, 510},
        {"octave slips", {frames(0, 300, quiet), frames(300, 900, [](double at) {
             return PitchFrame{at, int(at / kHopMs) % 10 == 0 ? 880.0 : 440.0, 0.95, -20};
         })}, 440.0, 300, 510},
        {"unsure", {frames(0, 300, quiet), frames(300, 900, [](double at) { return PitchFrame{at, 440, 0.5, -20}; })}, std::nullopt, 0, 0},
        {"at the floor", {frames(0, 300, [](double at) { return PitchFrame{at, 0, 0.1, -30}; }),
                          frames(300, 900, [](double at) { return PitchFrame{at, 440, 0.95, -25}; })}, std::nullopt, 0, 0},
        {"silence", {frames(0, 2000, quiet)}, std::nullopt, 0, 0},
        {"noise", {frames(0, 300, quiet), frames(300, 2000, [](double at) {
             return PitchFrame{at, sharpened(440, int(at / kHopMs) % 2 ? 80 : -80), 0.9, -20};
         })}, std::nullopt, 0, 0},
        {"too low", {frames(0, 300, quiet), frames(300, 900, steady(60.0))}, std::nullopt, 0, 0},
    };
    for (const auto& c : cases) {
        const auto pitch = sung(c.parts);
        ASSERT_EQ(pitch.has_value(), c.hz.has_value()) << c.what;
        if (!pitch)
            continue;
        EXPECT_LT(std::abs(1200 * std::log2(pitch->hz / *c.hz)), c.withinCents) << c.what << " " << pitch->hz << " at " << pitch->judgedAtMs;
        EXPECT_NEAR(pitch->voiceStartMs, c.voiceStartMs, kHopMs) << c.what;
        EXPECT_LE(pitch->judgedAtMs, c.judgedByMs) << c.what;
    }
}

double pitchOf(NoteIndex note, double cents)
{
    return sharpened(440.0 * std::pow(2.0, (kSemitone[note] - 9) / 12.0), cents);
}

// Listen names a note and listens, with no sound before the answer; the answer is judged,
// counted as Hard counts, kept in the journal as sung, and the named note plays after it.
// Nothing heard, or no microphone, is said and counts nothing; and no run goes to the
// score file.
TEST(Singing, aNamedNoteIsSungJudgedKeptAndThenPlayed)
{
    test::GameHarness harness;
    test::FakeVoice voice;
    harness.game.setVoiceInput(&voice);
    for (int i = 0; i < 20; ++i)
        harness.random.values.push_back(float(i * 37 % 100) / 100.0f);
    harness.game.startSinging();
    EXPECT_EQ(harness.display.titleWord, "声");
    EXPECT_EQ(harness.display.caption(Caption::CapMode), "声");

    harness.game.Command1_Click();
    const NoteIndex asked = *harness.game.state().curNote;
    EXPECT_TRUE(harness.player.played.empty());
    EXPECT_EQ(voice.limit, std::chrono::milliseconds(8000));
    EXPECT_EQ(harness.display.caption(Caption::Label1), "歌う音: " + noteName(asked, {}) + " — 聞いています…");
    voice.sing({pitchOf(asked, 23), 640, 840});
    EXPECT_EQ(harness.display.caption(Caption::Label1), " 当たり！ — +23 セント");
    EXPECT_EQ(harness.display.label1Back, kRed);
    EXPECT_EQ(harness.display.caption(Caption::CapMiss), "0/1 回");
    ASSERT_EQ(harness.journal.trials.size(), 1u);
    const Trial& kept = harness.journal.trials[0];
    EXPECT_EQ(kept.mode, Mode::Sing);
    EXPECT_EQ(kept.asked, asked);
    EXPECT_EQ(kept.answered, asked);
    EXPECT_EQ(kept.centsOff, 23);
    EXPECT_EQ(kept.reactionMs, 640u);
    EXPECT_EQ(kept.input, AnswerInput::Voice);
    ASSERT_EQ(harness.player.played.size(), 1u);
    EXPECT_EQ(harness.player.played[0], kNoteTable[asked].wavFile);

    harness.game.Command1_Click();
    const NoteIndex next = *harness.game.state().curNote;
    EXPECT_NE(next, asked);
    voice.silence();
    EXPECT_EQ(harness.display.caption(Caption::Label1), "声が聞こえません");
    harness.game.Command1_Click();
    EXPECT_EQ(*harness.game.state().curNote, next);
    voice.sing({pitchOf(next, -140), 500, 700});
    EXPECT_EQ(harness.display.caption(Caption::CapMiss), "1/2 回");
    EXPECT_EQ(harness.journal.trials.back().centsOff, -140);
    EXPECT_NE(harness.journal.trials.back().answered, next);

    harness.game.Command1_Click();
    voice.fail();
    EXPECT_EQ(harness.display.caption(Caption::Label1), "マイクが使えません");
    harness.game.setVoiceInput(nullptr);
    harness.game.Command1_Click();
    EXPECT_EQ(harness.display.caption(Caption::Label1), "マイクが使えません");
    EXPECT_EQ(harness.journal.trials.size(), 2u);
    EXPECT_EQ(harness.display.caption(Caption::CapMiss), "1/2 回");
    EXPECT_FALSE(harness.game.runRecord());
}

}  // namespace
}  // namespace tonarika
