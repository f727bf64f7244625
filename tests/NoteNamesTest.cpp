// The names of the notes in every system, with each choice of accidentals, and the
// captions beside the keys.

// own
#include "NoteNames.h"
#include "PitchTest.h"
#include "fakes/FakeSettings.h"
#include "fakes/GameHarness.h"

// std
#include <gtest/gtest.h>
#include <array>

namespace tonarika::test {
namespace {

// Every system × every accidental choice, by the notes ド, シ and the five black keys in
// the table's order (ド# レ# ﾌｧ# ソ# ラ#); German's own names, Es, As and B, among them.
TEST(NoteNames, everySystemNamesEveryNoteWithEachChoiceOfAccidentals)
{
    using S = NameSystem;
    using A = Accidentals;
    const struct {
        NameSystem system;
        Accidentals accidentals;
        std::array<const char*, 7> names;  // ド, シ, then ド# レ# ﾌｧ# ソ# ラ#
        bool latin = false;                // for a language not written in kana
    } cases[] = {
        {S::Doremi, A::Both, {"ド", "シ", "ド＃(レ♭)", "レ＃(ミ♭)", "ﾌｧ＃(ソ♭)", "ソ＃(ラ♭)", "ラ＃(シ♭)"}},
        {S::Doremi, A::Sharps, {"ド", "シ", "ド＃", "レ＃", "ﾌｧ＃", "ソ＃", "ラ＃"}},
        {S::Doremi, A::Flats, {"ド", "シ", "レ♭", "ミ♭", "ソ♭", "ラ♭", "シ♭"}},
        {S::Letters, A::Sharps, {"C", "B", "C♯", "D♯", "F♯", "G♯", "A♯"}},
        {S::Letters, A::Flats, {"C", "B", "D♭", "E♭", "G♭", "A♭", "B♭"}},
        {S::Letters, A::Both, {"C", "B", "C♯/D♭", "D♯/E♭", "F♯/G♭", "G♯/A♭", "A♯/B♭"}},
        {S::Solfege, A::Sharps, {"Do", "Si", "Do♯", "Ré♯", "Fa♯", "Sol♯", "La♯"}},
        {S::Solfege, A::Flats, {"Do", "Si", "Ré♭", "Mi♭", "Sol♭", "La♭", "Si♭"}},
        {S::Solfege, A::Both, {"Do", "Si", "Do♯/Ré♭", "Ré♯/Mi♭", "Fa♯/Sol♭", "Sol♯/La♭", "La♯/Si♭"}},
        {S::German, A::Sharps, {"C", "H", "Cis", "Dis", "Fis", "Gis", "Ais"}},
        {S::German, A::Flats, {"C", "H", "Des", "Es", "Ges", "As", "B"}},
        {S::German, A::Both, {"C", "H", "Cis/Des", "Dis/Es", "Fis/Ges", "Gis/As", "Ais/B"}},
        {S::Iroha, A::Sharps, {"ハ", "ロ", "嬰ハ", "嬰ニ", "嬰ヘ", "嬰ト", "嬰イ"}},
        {S::Iroha, A::Flats, {"ハ", "ロ", "変ニ", "変ホ", "変ト", "変イ", "変ロ"}},
        {S::Iroha, A::Both, {"ハ", "ロ", "嬰ハ/変ニ", "嬰ニ/変ホ", "嬰ヘ/変ト", "嬰ト/変イ", "嬰イ/変ロ"}},
        {S::Doremi, A::Both, {"Do", "Si", "Do♯/Re♭", "Re♯/Mi♭", "Fa♯/So♭", "So♯/La♭", "La♯/Si♭"}, true},
        {S::Doremi, A::Flats, {"Do", "Si", "Re♭", "Mi♭", "So♭", "La♭", "Si♭"}, true},
        {S::Iroha, A::Sharps, {"Ha", "Ro", "Ha♯", "Ni♯", "He♯", "To♯", "I♯"}, true},
        {S::Iroha, A::Both, {"Ha", "Ro", "Ha♯/Ni♭", "Ni♯/Ho♭", "He♯/To♭", "To♯/I♭", "I♯/Ro♭"}, true},
        {S::German, A::Flats, {"C", "H", "Des", "Es", "Ges", "As", "B"}, true},
    };
    const std::array<NoteIndex, 7> notes{0, 6, 7, 8, 9, 10, 11};
    for (const auto& c : cases) {
        for (std::size_t i = 0; i < notes.size(); ++i)
            EXPECT_EQ(noteName(notes[i], {c.system, c.accidentals, c.latin}), c.names[i])
                << int(c.system) << int(c.accidentals) << c.latin << i;
    }
    // The white keys in between, once per system.
    EXPECT_EQ(noteName(3, {S::Doremi, A::Both}), "ﾌｧ");
    EXPECT_EQ(noteName(4, {S::Solfege, A::Both}), "Sol");
    EXPECT_EQ(noteName(1, {S::Solfege, A::Both}), "Ré");
    EXPECT_EQ(noteName(5, {S::Iroha, A::Both}), "イ");
}

// The designed captions by default; otherwise the names, a pair on two lines.
TEST(NoteNames, theKeysCaptionsAreTheDesignedOnesByDefaultAndTheNamesOtherwise)
{
    EXPECT_EQ(keyCaption(0, {}), "ﾄﾞ");
    EXPECT_EQ(keyCaption(9, {}), "ﾌｧ#");
    EXPECT_EQ(keyCaption(9, {NameSystem::Doremi, Accidentals::Sharps}), "ﾌｧ＃");
    EXPECT_EQ(keyCaption(9, {NameSystem::Letters, Accidentals::Both}), "F♯\nG♭");
    EXPECT_EQ(keyCaption(11, {NameSystem::German, Accidentals::Both}), "Ais\nB");
    EXPECT_EQ(keyCaption(6, {NameSystem::German, Accidentals::Flats}), "H");
}

// The results name the notes as chosen: Practice's key, the right note after a miss, and
// the test's notes missed most; the journal keeps indices, whatever the names.
TEST(NoteNames, theResultsNameTheNotesAsChosen)
{
    GameHarness g;
    FakeSettings settings;
    settings.settings.showAnswer = true;
    g.game.setQuestionSettings(&settings);
    g.game.setNoteNaming({NameSystem::Letters, Accidentals::Both});
    g.game.prac_Click();
    g.game.cmdKey_Click(9);
    EXPECT_EQ(g.display.caption(Caption::Label1), "F♯/G♭");
    g.game.hard_Click();
    g.random.values.push_back(ScriptedRandom::valueFor(2, 12));
    g.game.Command1_Click();
    g.game.cmdKey_Click(4);
    EXPECT_EQ(g.display.caption(Caption::Label1), "はずれ — 正解: E");
    EXPECT_EQ(g.journal.trials.back().asked, 2);
    std::array<int, kNoteCount> missed{};
    missed[11] = 2;
    EXPECT_EQ(mostMissedText(missed, {NameSystem::German, Accidentals::Flats}), "B 2 回");
}

}  // namespace
}  // namespace tonarika::test
