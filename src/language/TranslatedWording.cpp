#include "TranslatedWording.h"

// Qt
#include <QCoreApplication>

namespace tonarika {

std::string TranslatedWording::lookUp(std::string_view text) const
{
    // translate() wants the text ended by a NUL.
    const std::string source(text);
    return QCoreApplication::translate("Game", source.c_str()).toStdString();
}

}  // namespace tonarika
