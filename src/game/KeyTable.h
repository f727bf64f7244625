#pragma once

// std
#include <optional>

namespace tonarika {

// The note a letter key answers with: the home row for the white keys (A S D F J K L),
// the row above for the black keys (W E U I O). Codes are upper-case ASCII, which is
// also what Qt::Key_A... are; the Shift state plays no part.
std::optional<int> keyToNote(int keyCode);

// The letter key that answers with a note: the inverse of keyToNote.
char noteToKey(int note);

}  // namespace tonarika
