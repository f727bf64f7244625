#pragma once

// Qt
#include <QString>

// std
#include <optional>

namespace tonarika {

// Answers the command line before any window or display is needed: --help (-h) and
// --version (-v) print on stdout and give 0; an unknown option or an argument prints
// the help on stderr and gives 2. Qt's own options (-platform, -style, -display ...)
// are left for QApplication. Nothing: the program goes on and opens its window.
std::optional<int> answerCommandLine(int argc, char** argv, const QString& program, const QString& description);

}  // namespace tonarika
