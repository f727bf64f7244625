#pragma once

// own
#include "Note.h"
#include "NoteNames.h"
#include "Wording.h"

// std
#include <string>

namespace tonarika {

// A sung pitch judged against the note named: only the pitch class counts, in any octave.
struct SungAnswer {
    double cents = 0;       // the signed error from the nearest pitch of the named class, -600 < cents <= 600
    bool right = false;     // within ±50 cents
    NoteIndex nearest = 0;  // the note whose pitch class was sung nearest
    friend bool operator==(const SungAnswer&, const SungAnswer&) = default;
};

inline constexpr double kSungRightCents = 50.0;

// `hz` against `asked`, its pitch classes at `a4` (A4 in Hz).
SungAnswer judgeSung(double hz, NoteIndex asked, int a4);

// An error in whole cents with its sign: "+23", "−140" (a true minus), "±0".
std::string signedCents(double cents);

// The error as the result says it: "+23 セント", or "−140 セント（ソ#に近い）" where another
// note was nearer; the sign is a true minus.
std::string sungErrorText(const SungAnswer& answer, NoteIndex asked, NoteNaming naming, const Wording& wording = ownWording());

}  // namespace tonarika
