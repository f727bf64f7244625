#pragma once

// own
#include "Journal.h"

namespace tonarika {

// Told of each counted question's first answer as the journal is given it, on the window's
// thread. Must not throw, and must not keep that thread waiting.
class AnswerListener {
public:
    virtual ~AnswerListener() = default;
    virtual void answered(const Trial& trial) = 0;
};

}  // namespace tonarika
