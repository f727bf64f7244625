#pragma once

// own
#include "NoteStatistics.h"
#include "QuestionSettings.h"

// Qt
#include <QDate>
#include <QString>
#include <QStringList>

// std
#include <optional>
#include <vector>

namespace tonarika {

// The mode the player answered most in the 7 days up to `today`, Easy or Hard (Hard where
// as many); where neither was answered then, the last answered; none where neither ever was.
std::optional<Mode> modePractisedLately(const std::vector<Trial>& rows, const QDate& today);

// The growing set of a mode as its answers make it, by the game's own rule: its notes, the
// note it takes next, and how far each of its notes not yet learned is from learned
// ("ﾌｧ があと 13 問").
struct GrowingStep {
    NoteSet set;
    std::optional<NoteIndex> next;
    QStringList lacking;
};
GrowingStep growingStep(const std::vector<Trial>& rows, Mode mode, const QDate& today);

// What to practise next in `mode`, in one line: with the growing set, the note it takes
// next and what that waits for ("次は レ: ﾌｧ があと 13 問"); otherwise the note nearest to
// learned ("次は ﾌｧ: あと 3 問"); every note learned, the test.
QString nextStepText(const std::vector<Trial>& rows, Mode mode, NoteChoice choice, const QDate& today);

}  // namespace tonarika
