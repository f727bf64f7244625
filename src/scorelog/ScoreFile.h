#pragma once

// own
#include "ScoreLine.h"
#include "ScoreLog.h"

// Qt
#include <QDateTime>
#include <QLocale>

// std
#include <filesystem>
#include <functional>
#include <string>

namespace tonarika {

// Appends one record per finished run to "Score.TXT" in the program's folder, in the
// character set of the user's locale (UTF-8 where that set lacks the Japanese) with
// CR LF line ends; the file is created with its head first. A program folder that
// cannot take the record (an installed program's folder usually cannot) hands it, head
// and all, to the user's data folder instead. Nothing is shown and nothing is thrown; a
// record that went elsewhere or nowhere leaves a line on stderr with the cause, and one
// that went nowhere is reported lost. An existing file is only ever appended to.
// The character set is iconv's name for it; empty means the locale's (LC_CTYPE).
class ScoreFile : public ScoreLog {
public:
    using Clock = std::function<QDateTime()>;

    ScoreFile(std::filesystem::path programFolder, std::filesystem::path dataFolder,
              QLocale locale = QLocale::system(), std::string codeset = {},
              Clock clock = &QDateTime::currentDateTime);

    RecordOutcome append(const ScoreRun& run) override;

private:
    std::filesystem::path m_programFolder;
    std::filesystem::path m_dataFolder;
    QLocale m_locale;
    std::string m_codeset;
    Clock m_clock;
};

// The character set of the user's locale (LC_CTYPE), as iconv names it: the score
// file is written in it.
std::string localeCodeset();

// The score file in `folder`: one "/" between them, none added after the root.
std::filesystem::path scoreFilePath(const std::filesystem::path& folder);

// Whether a link under the score file's name is followed: never in the program's folder,
// where anybody who could write there might have planted it; in the player's own data
// folder, to a regular file of the player's.
enum class Links { Refused, FollowedToOwnFile };

// Appends `record` to the file at `path`, first creating it with `head` when no file
// is there. The head arrives with the file in one step, so a record appended by
// another process at the same moment can never come before it. Anything but a regular
// file of the user's own is not written. The record lands whole or not at all: appends
// take an exclusive lock, and one that comes up short is cut back. Returns why the
// record could not be written, or nothing when it was.
std::string appendRecord(const std::filesystem::path& path, const std::string& head, const std::string& record,
                         Links links);

}  // namespace tonarika
