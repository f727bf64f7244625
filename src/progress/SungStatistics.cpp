#include "SungStatistics.h"

// own
#include "SingJudge.h"

// std
#include <cmath>
#include <cstdlib>

namespace tonarika {

std::array<SungFigures, kNoteCount> sungFigures(const std::vector<const Trial*>& trials)
{
    std::array<std::vector<double>, kNoteCount> errors;
    for (const Trial* trial : trials) {
        if (trial->mode == Mode::Sing && trial->centsOff)
            errors.at(trial->asked).push_back(double(*trial->centsOff));
    }
    std::array<SungFigures, kNoteCount> figures{};
    for (std::size_t note = 0; note < errors.size(); ++note) {
        const auto& cents = errors[note];
        SungFigures& figure = figures[note];
        figure.answers = int(cents.size());
        if (cents.empty())
            continue;
        double sum = 0;
        int within = 0;
        for (const double c : cents) {
            sum += c;
            within += std::abs(c) <= kSungRightCents;
        }
        figure.withinShare = double(within) / double(cents.size());
        figure.meanCents = sum / double(cents.size());
        if (cents.size() > 1) {
            double squares = 0;
            for (const double c : cents)
                squares += (c - figure.meanCents) * (c - figure.meanCents);
            figure.spreadCents = std::sqrt(squares / double(cents.size() - 1));
        }
    }
    return figures;
}

}  // namespace tonarika
