// own
#include "ClockRandom.h"
#include "Rules.h"

// std
#include <gtest/gtest.h>
#include <set>

namespace tonarika {
namespace {

TEST(ClockRandom, valuesStayInTheUnitIntervalAndCoverEveryNote)
{
    ClockRandom random;
    std::set<int> seen;
    for (int i = 0; i < 2000; ++i) {
        random.reseedFromClock();
        const float r = random.next();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
        seen.insert(noteFromRandom(r, 12));
    }
    EXPECT_EQ(seen.size(), 12u);
}

}  // namespace
}  // namespace tonarika
