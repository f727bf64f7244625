#include "NoteNames.h"

// std
#include <array>
#include <string_view>

namespace tonarika {

namespace {

using Naturals = std::array<std::string_view, 7>;

// The white keys by index, ド to シ, in each system.
constexpr std::array<Naturals, 5> kNaturals{{
    {"ド", "レ", "ミ", "ﾌｧ", "ソ", "ラ", "シ"},
    {"C", "D", "E", "F", "G", "A", "B"},
    {"Do", "Ré", "Mi", "Fa", "Sol", "La", "Si"},
    {"C", "D", "E", "F", "G", "A", "H"},
    {"ハ", "ニ", "ホ", "ヘ", "ト", "イ", "ロ"},
}};

// The kana systems in Latin letters.
constexpr Naturals kLatinDoremi{"Do", "Re", "Mi", "Fa", "So", "La", "Si"};
constexpr Naturals kLatinIroha{"Ha", "Ni", "Ho", "He", "To", "I", "Ro"};

// The black keys (indices 7 to 11) lie above these white keys, and below the next ones.
constexpr std::array<int, 5> kBelow{0, 1, 3, 4, 5};

// The designed captions beside the keys: half-width katakana, the sharps half-width too.
constexpr std::array<std::string_view, kNoteCount> kDesignedCaptions{
    "ﾄﾞ", "ﾚ", "ﾐ", "ﾌｧ", "ｿ", "ﾗ", "ｼ", "ﾄﾞ#", "ﾚ#", "ﾌｧ#", "ｿ#", "ﾗ#",
};

// Where a kana system is written in Latin letters, it names its black keys as letters do:
// "Ha♯", short enough for a black key's caption, where "Ei-Ha" is not.
NameSystem spelling(NoteNaming naming)
{
    const bool kana = naming.system == NameSystem::Doremi || naming.system == NameSystem::Iroha;
    return naming.latin && kana ? NameSystem::Letters : naming.system;
}

std::string_view natural(NoteNaming naming, int white)
{
    if (naming.latin && naming.system == NameSystem::Doremi)
        return kLatinDoremi.at(std::size_t(white));
    if (naming.latin && naming.system == NameSystem::Iroha)
        return kLatinIroha.at(std::size_t(white));
    return kNaturals.at(std::size_t(naming.system)).at(std::size_t(white));
}

// Built by appending: GCC 12 warns wrongly of overlap on a literal added to a string.
std::string joined(std::string_view first, std::string_view second)
{
    std::string text;
    text.reserve(first.size() + second.size());
    text.append(first);
    text.append(second);
    return text;
}

std::string sharpName(NoteNaming naming, int below)
{
    const std::string_view name = natural(naming, below);
    switch (spelling(naming)) {
    case NameSystem::Doremi: return joined(name, "＃");
    case NameSystem::Letters:
    case NameSystem::Solfege: return joined(name, "♯");
    case NameSystem::German: return joined(name, "is");
    case NameSystem::Iroha: return joined("嬰", name);
    }
    return std::string(name);
}

std::string flatName(NoteNaming naming, int above)
{
    const std::string_view name = natural(naming, above);
    switch (spelling(naming)) {
    case NameSystem::Doremi:
    case NameSystem::Letters:
    case NameSystem::Solfege: return joined(name, "♭");
    case NameSystem::German:
        // Es and As, and B for the H lowered.
        if (name == "E" || name == "A")
            return joined(name, "s");
        if (name == "H")
            return "B";
        return joined(name, "es");
    case NameSystem::Iroha: return joined("変", name);
    }
    return std::string(name);
}

// A black key's two names: the white key below raised, the one above lowered.
std::string sharpOf(NoteIndex note, NoteNaming naming)
{
    return sharpName(naming, kBelow.at(std::size_t(note - kWhiteKeyCount)));
}

std::string flatOf(NoteIndex note, NoteNaming naming)
{
    return flatName(naming, kBelow.at(std::size_t(note - kWhiteKeyCount)) + 1);
}

}  // namespace

std::string noteName(NoteIndex note, NoteNaming naming)
{
    if (!kNoteTable.at(note).black)
        return std::string(natural(naming, note));
    switch (naming.accidentals) {
    case Accidentals::Sharps: return sharpOf(note, naming);
    case Accidentals::Flats: return flatOf(note, naming);
    case Accidentals::Both: break;
    }
    // The designed names keep their own form: "ド＃(レ♭)".
    if (naming.system == NameSystem::Doremi && !naming.latin)
        return std::string(kNoteTable.at(note).noteName);
    return joined(joined(sharpOf(note, naming), "/"), flatOf(note, naming));
}

std::string keyCaption(NoteIndex note, NoteNaming naming)
{
    if (naming == NoteNaming{})
        return std::string(kDesignedCaptions.at(note));
    // Fixed-do with both names is the default, drawn above; any other pair on two lines.
    if (kNoteTable.at(note).black && naming.accidentals == Accidentals::Both)
        return joined(joined(sharpOf(note, naming), "\n"), flatOf(note, naming));
    return noteName(note, naming);
}

}  // namespace tonarika
