// Fuzzes the score log's reader: any bytes as lines of a log, decoded, parsed and, where
// a date reads two ways, decided by the rest of the log. A record it gives must be one
// the game could have written: counts in order and a valid date and time.

// own
#include "ScoreLogReader.h"

// std
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const tonarika::ScoreLogReader reader(tonarika::ScoreLogParser(QLocale(QLocale::English, QLocale::UnitedKingdom)),
                                                 "ISO-8859-1");
    tonarika::DateEvidence evidence;
    std::vector<tonarika::ScoreLogParser::Line> undecided;
    const auto check = [](const tonarika::ScoreRecord& record) {
        if (record.questions == 0 || record.misses > record.questions || !record.when.isValid())
            std::abort();
    };
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    tonarika::forEachWholeLine(bytes, [&](std::string_view line) {
        auto parsed = reader.parseLine(line);
        if (parsed.kind == tonarika::ScoreLogParser::Kind::Record) {
            evidence.note(parsed);
            check(*parsed.record);
        } else if (parsed.kind == tonarika::ScoreLogParser::Kind::Undecided) {
            undecided.push_back(std::move(parsed));
        }
    });
    for (const auto& line : undecided) {
        if (const auto date = reader.decide(line, evidence); date && !date->isValid())
            std::abort();
    }
    return 0;
}
