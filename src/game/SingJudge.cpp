#include "SingJudge.h"

// std
#include <cmath>

namespace tonarika {

namespace {

constexpr int kA = 9;  // A's place in the octave, in semitones up from C

}  // namespace

SungAnswer judgeSung(double hz, NoteIndex asked, int a4)
{
    // Cents above A4, then above the named class's nearest pitch, folded into one octave.
    const double fromA4 = 1200.0 * std::log2(hz / double(a4));
    const double fromClass = fromA4 - 100.0 * (kSemitone.at(asked) - kA);
    double cents = std::fmod(fromClass, 1200.0);
    if (cents > 600.0)
        cents -= 1200.0;
    else if (cents <= -600.0)
        cents += 1200.0;
    SungAnswer answer;
    answer.cents = cents;
    answer.right = std::abs(cents) <= kSungRightCents;
    // A right answer is the note named, even at the edge that rounds to the next.
    const int steps = answer.right ? 0 : int(std::lround(cents / 100.0));
    const int semitone = (kSemitone.at(asked) + steps + 12) % 12;
    answer.nearest = NoteIndex(kKeyboardOrder.at(std::size_t(semitone)));
    return answer;
}

std::string signedCents(double cents)
{
    const long whole = std::lround(cents);
    std::string figure = whole > 0 ? "+" : whole < 0 ? "−" : "±";
    figure.append(std::to_string(std::labs(whole)));
    return figure;
}

std::string sungErrorText(const SungAnswer& answer, NoteIndex asked, NoteNaming naming, const Wording& wording)
{
    const std::string figure = signedCents(answer.cents);
    if (answer.nearest == asked)
        return worded(wording, QT_TRANSLATE_NOOP("Game", "%1 セント"), {figure});
    return worded(wording, QT_TRANSLATE_NOOP("Game", "%1 セント（%2に近い）"), {figure, noteName(answer.nearest, naming)});
}

}  // namespace tonarika
