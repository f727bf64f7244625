#include "Note.h"

// std
#include <cmath>

namespace tonarika {

double noteFrequency(int index)
{
    return 440.0 * std::pow(2.0, (kMidiNote.at(index) - 69) / 12.0);
}

}  // namespace tonarika
