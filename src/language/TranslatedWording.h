#pragma once

// own
#include "Wording.h"

namespace tonarika {

// The game's texts looked up in the translations installed now (useLanguage), by their
// Japanese wording; a text with no translation stays as written.
class TranslatedWording final : public Wording {
public:
    std::string lookUp(std::string_view text) const override;
};

}  // namespace tonarika
