#pragma once

// std
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// Marks a text for the translation tools, which find it in the sources by this name; to the
// compiler it is the text itself, exactly as Qt defines it.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x
#endif

namespace tonarika {

// The game's texts in the player's language. Each is named by its own Japanese wording,
// with %1, %2 ... where names and figures go; the windows look it up, so that the game
// itself composes no sentence that a window could not translate.
class Wording {
public:
    virtual ~Wording() = default;
    // The wording of `text` in the chosen language, its %n as they stand.
    virtual std::string lookUp(std::string_view text) const = 0;
};

// The texts as written: the game's Japanese.
const Wording& ownWording();

// `pattern` with %1 ... %9 replaced by the arguments in one pass, so that an argument's own
// "%2" stays as it is; a %n without an argument stays too.
std::string filled(std::string_view pattern, std::initializer_list<std::string_view> args);
std::string filled(std::string_view pattern, const std::vector<std::string>& args);

// `text` looked up and filled.
std::string worded(const Wording& wording, std::string_view text, std::initializer_list<std::string_view> args = {});

}  // namespace tonarika
