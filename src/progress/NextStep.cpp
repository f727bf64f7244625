#include "NextStep.h"

// own
#include "Progress.h"

// Qt
#include <QCoreApplication>

namespace tonarika {

namespace {

ModeChoice only(Mode mode)
{
    return mode == Mode::Easy ? ModeChoice::Easy : ModeChoice::Hard;
}

NoteStatistics learnedIn(const std::vector<Trial>& rows, Mode mode, const QDate& today)
{
    // Every answer in the mode, whatever the period and the timbre, as the game judges.
    return noteStatistics(selectTrials(rows, Period::All, only(mode), today));
}

}  // namespace

std::optional<Mode> modePractisedLately(const std::vector<Trial>& rows, const QDate& today)
{
    int easy = 0;
    int hard = 0;
    std::optional<Mode> last;
    for (const Trial& row : rows) {
        if (row.mode != Mode::Easy && row.mode != Mode::Hard)
            continue;
        last = row.mode;
        const qint64 daysAgo = localDate(row).daysTo(today);
        if (daysAgo >= 0 && daysAgo < 7)
            ++(row.mode == Mode::Easy ? easy : hard);
    }
    if (easy + hard == 0)
        return last;
    return easy > hard ? Mode::Easy : Mode::Hard;
}

GrowingStep growingStep(const std::vector<Trial>& rows, Mode mode, const QDate& today)
{
    const NoteStatistics learned = learnedIn(rows, mode, today);
    NoteSet learnedNotes;
    for (int note = 0; note < kNoteCount; ++note) {
        if (learned.notes[std::size_t(note)].learned)
            learnedNotes.add(note);
    }
    GrowingStep step;
    step.set = growingSet(mode, learnedNotes);
    step.next = nextGrowingNote(mode, step.set);
    for (const NoteIndex note : kGrowingOrder) {
        if (step.set.contains(note) && !learnedNotes.contains(note))
            step.lacking << QCoreApplication::translate("NextStep", "%1 が%2").arg(noteText(note), learnedDistance(learned.notes[note]));
    }
    return step;
}

QString nextStepText(const std::vector<Trial>& rows, Mode mode, NoteChoice choice, const QDate& today)
{
    const QString all = QCoreApplication::translate("NextStep", "%1 の音はすべて覚えました。テストで確かめましょう").arg(gameText(modeName(mode)));
    if (choice == NoteChoice::Growing) {
        const GrowingStep step = growingStep(rows, mode, today);
        if (step.next)
            return QCoreApplication::translate("NextStep", "次は %1: %2").arg(noteText(*step.next), step.lacking.join(QCoreApplication::translate("NextStep", "、")));
        if (step.lacking.isEmpty())
            return all;
        return QCoreApplication::translate("NextStep", "あと少し: %1").arg(step.lacking.join(QCoreApplication::translate("NextStep", "、")));
    }
    const NoteStatistics learned = learnedIn(rows, mode, today);
    std::optional<NoteIndex> nearest;
    for (const NoteIndex note : kGrowingOrder) {
        if (!NoteSet::ofMode(mode).contains(note) || learned.notes[note].learned)
            continue;
        if (!nearest || learned.notes[note].rightNeeded < learned.notes[*nearest].rightNeeded)
            nearest = note;
    }
    if (!nearest)
        return all;
    return QCoreApplication::translate("NextStep", "次は %1: %2").arg(noteText(*nearest), learnedDistance(learned.notes[*nearest]));
}

}  // namespace tonarika
