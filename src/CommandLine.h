#pragma once

// own
#include "Language.h"

// Qt
#include <QString>

// std
#include <optional>

namespace tonarika {

// What the program's own options ask of it, where it goes on.
struct CommandLineChoice {
    bool pitchTest = false;  // --test: the test of absolute pitch
    bool remind = false;     // --remind: the day's reminder, where it is due
    bool now = false;        // --now: the reminder at once, not at its time
    bool hard = false;       // --hard: the game opens in Hard
    bool settings = false;   // --settings: the companion opens at its settings page
    bool sing = false;       // --sing: the game opens at singing a named note
};

// The options a program offers beside --help and --version.
enum class ProgramOptions { PitchTest, Reminder };

// Answers the command line before any window or display is needed: --help (-h) and
// --version (-v) print on stdout and give 0; an unknown option or an argument prints
// the help on stderr and gives 2. Qt's own options (-platform, -style, -display ...)
// are left for QApplication. Nothing: the program goes on and opens its window. Where
// `choice` is given, the program's `options` are offered too (--test, --hard and --sing; or
// --remind, --now, which needs --remind, and --settings), and it says which came. The
// options are described in `language`.
std::optional<int> answerCommandLine(int argc, char** argv, const QString& program, const QString& description,
                                     CommandLineChoice* choice = nullptr,
                                     ProgramOptions options = ProgramOptions::PitchTest,
                                     Language language = Language::Japanese);

}  // namespace tonarika
