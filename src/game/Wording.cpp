#include "Wording.h"

namespace tonarika {

namespace {

class OwnWording final : public Wording {
public:
    std::string lookUp(std::string_view text) const override { return std::string(text); }
};

template <typename Args>
std::string fill(std::string_view pattern, const Args& args)
{
    std::string text;
    text.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        const auto n = std::size_t(next - '1');
        if (pattern[i] == '%' && next >= '1' && next <= '9' && n < args.size()) {
            text.append(*(args.begin() + std::ptrdiff_t(n)));
            ++i;
        } else {
            text.push_back(pattern[i]);
        }
    }
    return text;
}

}  // namespace

const Wording& ownWording()
{
    static const OwnWording wording;
    return wording;
}

std::string filled(std::string_view pattern, std::initializer_list<std::string_view> args)
{
    return fill(pattern, args);
}

std::string filled(std::string_view pattern, const std::vector<std::string>& args)
{
    return fill(pattern, args);
}

std::string worded(const Wording& wording, std::string_view text, std::initializer_list<std::string_view> args)
{
    return fill(wording.lookUp(text), args);
}

}  // namespace tonarika
