#pragma once

// own
#include "QuestionSettings.h"

// Qt
#include <QString>
#include <QStringList>

// std
#include <optional>
#include <vector>

namespace tonarika {

// The settings file, tonarika.conf in the player's configuration folder
// ($XDG_CONFIG_HOME/tonarika/, ~/.config/tonarika/ by default): an INI file whose group
// [questions] holds
//   timbres = piano, marimba, guitar, clarinet, trumpet, sine   (any of them; default piano)
//   octaves = 4 | 3-5                                          (default 4)
//   guard   = false | true                                     (default false)
//   weak_notes = false | true                                  (default false)
// The game only reads it; the companion writes it, keeping whatever else it holds.
QString settingsFilePath();

// The values as the file spells them; nothing for one that is not understood.
std::optional<std::vector<Timbre>> parseTimbres(const QString& text);
std::optional<bool> parseOctaves(const QString& text);  // true for three octaves
std::optional<bool> parseSwitch(const QString& text);
QString timbresText(const std::vector<Timbre>& timbres);

struct SettingsReading {
    QuestionSettings settings;  // the defaults for whatever could not be read
    QStringList problems;       // what could not be read, and why
};

// Reads the file: only a regular file of at most 64 KiB, never blocking on anything else.
// No file means the defaults and no problem.
SettingsReading readSettingsFile(const QString& path);

// Writes the question settings into the file atomically, keeping every other key it holds;
// the folder is made where it is missing. Returns the error, empty on success.
QString writeSettingsFile(const QString& path, const QuestionSettings& settings);

}  // namespace tonarika
