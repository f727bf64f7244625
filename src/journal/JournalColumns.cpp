#include "JournalColumns.h"

// own
#include "SqliteStatement.h"

// std
#include <charconv>

namespace tonarika {

bool validSung(const Trial& trial)
{
    const bool sung = trial.mode == Mode::Sing;
    return sung == trial.centsOff.has_value() && sung == (trial.input == AnswerInput::Voice);
}

bool validTrial(const Trial& trial, std::int64_t nowMs)
{
    using namespace trialRules;
    return validTime(trial.answeredAtMs, nowMs) && validAsked(trial.mode, trial.asked)
           && (trial.mode == Mode::PitchTest) == (trial.test >= 1) && validSung(trial);
}

std::string selectedColumns(std::int64_t version)
{
    std::string list;
    for (const JournalColumn& column : kJournalColumns) {
        if (!list.empty())
            list += ", ";
        list += version >= column.since ? column.name : column.older;
    }
    return list;
}

std::string insertStatement()
{
    std::string names;
    std::string parameters;
    int parameter = 0;
    for (const JournalColumn& column : kJournalColumns) {
        if (column.name == "id")
            continue;
        if (parameter > 0) {
            names += ", ";
            parameters += ", ";
        }
        names += column.name;
        parameters += "?" + std::to_string(++parameter);
    }
    return "INSERT INTO trials (" + names + ") VALUES (" + parameters + ")";
}

void bindTrial(SqliteStatement& insert, const Trial& trial)
{
    int parameter = 0;
    for (const JournalColumn& column : kJournalColumns) {
        if (column.name == "id")
            continue;
        const ColumnValue value = column.get(trial);
        ++parameter;
        if (const auto* number = columns::integer(value))
            insert.bind(parameter, *number);
        else if (const auto* text = columns::text(value))
            insert.bind(parameter, *text);
        else
            insert.bindNull(parameter);
    }
}

std::optional<Trial> trialOf(const SqliteStatement& select, std::int64_t nowMs)
{
    Trial trial;
    for (std::size_t i = 0; i < kJournalColumns.size(); ++i) {
        const int column = int(i);
        // Text is text, and a number an integer: a blob of the same bytes, or a real, is no game's.
        ColumnValue value;
        if (select.isInteger(column))
            value = select.integer(column);
        else if (select.isText(column))
            value = select.text(column);
        else if (!select.isNull(column))
            return std::nullopt;
        if (!kJournalColumns[i].put(trial, value))
            return std::nullopt;
    }
    if (!validTrial(trial, nowMs))
        return std::nullopt;
    return trial;
}

std::string valueText(const ColumnValue& value)
{
    if (const auto* number = columns::integer(value))
        return std::to_string(*number);
    if (const auto* text = columns::text(value))
        return *text;
    return "-";
}

ColumnValue valueOfText(std::string_view text)
{
    if (text == "-")
        return {};
    std::int64_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (!text.empty() && error == std::errc() && end == text.data() + text.size())
        return number;
    return std::string(text);
}

ColumnValue olderValue(const JournalColumn& column)
{
    const std::string_view older = column.older;
    if (older.empty() || older == "NULL")
        return {};
    if (older.size() >= 2 && older.front() == '\'' && older.back() == '\'')
        return std::string(older.substr(1, older.size() - 2));
    return valueOfText(older);
}

}  // namespace tonarika
