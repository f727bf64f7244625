#pragma once

// own
#include "QuestionSettings.h"

namespace tonarika::test {

// Settings the test sets as it goes.
class FakeSettings : public QuestionSettingsSource {
public:
    QuestionSettings settings;
    QuestionSettings questionSettings() const override { return settings; }
};

}  // namespace tonarika::test
