#include "KeyTable.h"

// std
#include <array>
#include <utility>

namespace tonarika {

namespace {
constexpr std::array<std::pair<int, int>, 12> kKeys{{
    {'A', 0}, {'S', 1}, {'D', 2}, {'F', 3}, {'J', 4}, {'K', 5},
    {'L', 6}, {'W', 7}, {'E', 8}, {'U', 9}, {'I', 10}, {'O', 11},
}};
}  // namespace

std::optional<int> keyToNote(int keyCode)
{
    for (const auto& [code, index] : kKeys) {
        if (code == keyCode)
            return index;
    }
    return std::nullopt;
}

char noteToKey(int note)
{
    for (const auto& [code, index] : kKeys) {
        if (index == note)
            return static_cast<char>(code);
    }
    return '\0';
}

}  // namespace tonarika
