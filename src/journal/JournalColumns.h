#pragma once

// own
#include "Journal.h"
#include "TrialRules.h"

// std
#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace tonarika {

class SqliteStatement;

// One value as SQLite and the spill line hold it: none (NULL), an integer or a text.
using ColumnValue = std::variant<std::monostate, std::int64_t, std::string>;

// A column of the journal's table of trials: its name, the schema version it came with,
// its value in the rows of a file from before then (as SQL), and its rule: what it takes
// from a trial, and what it puts back into one, which a value no game writes fails. A
// column that came after version 6 also gives its declaration, as the schema adds it.
// Practice's key presses keep only their moment, in a table of their own.
struct JournalColumn {
    std::string_view name;
    int since;
    std::string_view older;
    ColumnValue (*get)(const Trial& trial);
    bool (*put)(Trial& trial, const ColumnValue& value);
    std::string_view declaration = {};
};

namespace columns {

constexpr const std::int64_t* integer(const ColumnValue& value) { return std::get_if<std::int64_t>(&value); }
constexpr const std::string* text(const ColumnValue& value) { return std::get_if<std::string>(&value); }
constexpr bool none(const ColumnValue& value) { return std::holds_alternative<std::monostate>(value); }
// An integer `rule` holds for, put with `set`.
template <typename Rule, typename Set>
constexpr bool putInteger(const ColumnValue& value, Rule rule, Set set)
{
    const auto* number = integer(value);
    if (!number || !rule(*number))
        return false;
    set(*number);
    return true;
}

}  // namespace columns

// Every column, in the order the reader selects them; a new column is a row here, and the
// code that gives its value.
inline constexpr std::array<JournalColumn, 17> kJournalColumns{{
    {"id", 1, "", [](const Trial& t) -> ColumnValue { return t.id; },
     [](Trial& t, const ColumnValue& v) { return columns::putInteger(v, [](auto) { return true; }, [&](auto n) { t.id = n; }); }},
    {"answered_utc_ms", 1, "", [](const Trial& t) -> ColumnValue { return t.answeredAtMs; },
     [](Trial& t, const ColumnValue& v) {
         return columns::putInteger(v, [](auto) { return true; }, [&](auto n) { t.answeredAtMs = n; });
     }},
    {"utc_offset_s", 1, "", [](const Trial& t) -> ColumnValue { return std::int64_t(t.utcOffsetS); },
     [](Trial& t, const ColumnValue& v) {
         return columns::putInteger(v, trialRules::validOffset, [&](auto n) { t.utcOffsetS = std::int32_t(n); });
     }},
    {"mode", 1, "", [](const Trial& t) -> ColumnValue { return std::string(modeKey(t.mode)); },
     [](Trial& t, const ColumnValue& v) {
         const auto* key = columns::text(v);
         const auto mode = key ? modeFromKey(*key) : std::nullopt;
         t.mode = mode.value_or(t.mode);
         return mode.has_value();
     }},
    {"run", 1, "", [](const Trial& t) -> ColumnValue { return t.run; },
     [](Trial& t, const ColumnValue& v) { return columns::putInteger(v, trialRules::validRun, [&](auto n) { t.run = n; }); }},
    {"asked", 1, "", [](const Trial& t) -> ColumnValue { return std::int64_t(t.asked); },
     [](Trial& t, const ColumnValue& v) {
         return columns::putInteger(v, trialRules::validNote, [&](auto n) { t.asked = NoteIndex(n); });
     }},
    {"answered", 1, "", [](const Trial& t) -> ColumnValue { return std::int64_t(t.answered); },
     [](Trial& t, const ColumnValue& v) {
         return columns::putInteger(v, trialRules::validNote, [&](auto n) { t.answered = NoteIndex(n); });
     }},
    {"reaction_ms", 1, "", [](const Trial& t) -> ColumnValue {
         return t.reactionMs ? ColumnValue(std::int64_t(*t.reactionMs)) : ColumnValue();
     },
     [](Trial& t, const ColumnValue& v) {
         t.reactionMs.reset();
         return columns::none(v)
                || columns::putInteger(v, trialRules::validReaction, [&](auto n) { t.reactionMs = std::uint32_t(n); });
     }},
    {"plays", 1, "", [](const Trial& t) -> ColumnValue { return std::int64_t(t.plays); },
     [](Trial& t, const ColumnValue& v) {
         return columns::putInteger(v, trialRules::validPlays, [&](auto n) { t.plays = std::uint32_t(n); });
     }},
    {"timbre", 2, "'piano'", [](const Trial& t) -> ColumnValue { return std::string(timbreKey(t.timbre)); },
     [](Trial& t, const ColumnValue& v) {
         const auto* key = columns::text(v);
         const auto timbre = key ? timbreFromKey(*key) : std::nullopt;
         t.timbre = timbre.value_or(t.timbre);
         return timbre.has_value();
     }},
    {"octave", 2, "4", [](const Trial& t) -> ColumnValue { return std::int64_t(t.octave); },
     [](Trial& t, const ColumnValue& v) { return columns::putInteger(v, trialRules::validOctave, [&](auto n) { t.octave = int(n); }); }},
    {"guard", 2, "0", [](const Trial& t) -> ColumnValue { return std::int64_t(t.guard ? 1 : 0); },
     [](Trial& t, const ColumnValue& v) { return columns::putInteger(v, trialRules::validGuard, [&](auto n) { t.guard = n == 1; }); }},
    {"a4", 4, "440", [](const Trial& t) -> ColumnValue { return std::int64_t(t.a4); },
     [](Trial& t, const ColumnValue& v) { return columns::putInteger(v, trialRules::validA4, [&](auto n) { t.a4 = int(n); }); }},
    // A test's number, the same for all its answers; none for any other answer.
    {"test", 5, "NULL", [](const Trial& t) -> ColumnValue { return t.test > 0 ? ColumnValue(t.test) : ColumnValue(); },
     [](Trial& t, const ColumnValue& v) {
         t.test = 0;
         return columns::none(v) || columns::putInteger(v, [](auto n) { return n >= 1; }, [&](auto n) { t.test = n; });
     }},
    // How the answer was given; the rows before it was kept do not say.
    {"input", 6, "NULL", [](const Trial& t) -> ColumnValue {
         return t.input ? ColumnValue(std::string(inputKey(*t.input))) : ColumnValue();
     },
     [](Trial& t, const ColumnValue& v) {
         const auto* key = columns::text(v);
         t.input = key ? inputFromKey(*key) : std::nullopt;
         return columns::none(v) || t.input.has_value();
     }},
    // The answer window in force; none where it was off.
    {"window_ms", 7, "NULL", [](const Trial& t) -> ColumnValue {
         return t.windowMs ? ColumnValue(std::int64_t(*t.windowMs)) : ColumnValue();
     },
     [](Trial& t, const ColumnValue& v) {
         t.windowMs.reset();
         return columns::none(v)
                || columns::putInteger(v, trialRules::validWindow, [&](auto n) { t.windowMs = std::uint32_t(n); });
     },
     "INTEGER CHECK (window_ms BETWEEN 1000 AND 5000)"},
    // A sung answer's signed error from the note named, in whole cents; none for a key's.
    {"cents_off", 8, "NULL", [](const Trial& t) -> ColumnValue {
         return t.centsOff ? ColumnValue(std::int64_t(*t.centsOff)) : ColumnValue();
     },
     [](Trial& t, const ColumnValue& v) {
         t.centsOff.reset();
         return columns::none(v)
                || columns::putInteger(v, trialRules::validCents, [&](auto n) { t.centsOff = std::int32_t(n); });
     },
     ""},  // made with the table its version rebuilt
}};

// The schema this program writes: the versions its steps make, and one more for each column
// that came after them.
inline constexpr int kJournalSchemaVersion = std::max(
    7, std::max_element(kJournalColumns.begin(), kJournalColumns.end(), [](const auto& a, const auto& b) {
           return a.since < b.since;
       })->since);

// What a row must be beyond each column's own rule: answered no earlier than 2000 nor more
// than a day ahead of `nowMs`, no black key asked in Easy, a test's number on a test's
// answer alone, and an error in cents and the voice on a sung answer alone.
bool validTrial(const Trial& trial, std::int64_t nowMs);
// A sung answer, and it alone, has its error in cents and came by voice.
bool validSung(const Trial& trial);

// The columns a reader selects from a file of `version`, in the table's order: each one's
// name, or where it is newer than the file, its value for older rows.
std::string selectedColumns(std::int64_t version);
// The statement that adds a row, every column but the id, with a parameter each.
std::string insertStatement();
// Binds a trial's values to insertStatement()'s parameters.
void bindTrial(SqliteStatement& insert, const Trial& trial);
// The trial a row selected by selectedColumns() gives; nothing where a value is of the
// wrong type or not one a game writes.
std::optional<Trial> trialOf(const SqliteStatement& select, std::int64_t nowMs);

// A column's value as a spill line writes it: "-" for none; and back.
std::string valueText(const ColumnValue& value);
ColumnValue valueOfText(std::string_view text);
// The value a column has in the rows of a file from before it.
ColumnValue olderValue(const JournalColumn& column);

}  // namespace tonarika
