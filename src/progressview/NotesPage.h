#pragma once

// own
#include "JournalReader.h"
#include "NoteStatistics.h"
#include "QuestionSettings.h"

// Qt
#include <QWidget>

// std
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QComboBox;
class QLabel;
class QStackedWidget;
class QTableWidget;
class QTimer;

namespace tonarika {

class ReactionChart;
class SungView;

// The notes one by one, from the journal of every question: for the period, mode and
// timbre chosen, how many notes are learned (and how many beyond one timbre and octave), each note's questions, right first answers and
// their median time, which notes it is taken for, white keys against black, how far off
// the wrong answers are, and the daily median time of the right ones.
class NotesPage : public QWidget {
    Q_OBJECT
public:
    using Today = std::function<QDate()>;

    explicit NotesPage(Today today, QWidget* parent = nullptr);
    ~NotesPage() override;

    // Shows the journal's trials; with none, a sentence naming where the game keeps them.
    // `fault`: why the journal was not read, said in place of "no records yet".
    void showTrials(std::shared_ptr<const std::vector<Trial>> trials, const std::filesystem::path& journal,
                    const std::optional<JournalFault>& fault);
    // Shows the same trials again, in the notes' names now chosen.
    void redraw() { refresh(); }
    void choose(Period period, ModeChoice mode);
    // Writes the chosen period's trials, both modes, as CSV (RFC 4180, UTF-8 with a
    // byte-order mark, a header row, the UTC time and the time where it was answered, the
    // notes' names as shown) in place of the file, whole; how many rows, or nothing where
    // the file cannot be written.
    std::optional<int> exportCsv(const QString& path) const;
    const NoteStatistics& statistics() const { return m_statistics; }
    // Which notes the game asks: with the growing set, the page says what it holds, the
    // note it takes next, and what it still lacks.
    void setNoteChoice(NoteChoice choice);

private:
    void refresh();
    void fillFigures();
    void showGrowingSet();
    Period period() const;
    ModeChoice mode() const;
    std::optional<Timbre> timbre() const;
    void armMidnight();

    Today m_today;
    std::shared_ptr<const std::vector<Trial>> m_trials;
    QDate m_shownOn;  // the day the trials were last worked out for
    std::optional<JournalFault> m_fault;
    NoteStatistics m_statistics;
    LearnedState m_learned;  // every answer in the mode: what is learned now, and in which mode
    std::filesystem::path m_journal;
    QTimer* m_midnight = nullptr;
    QComboBox* m_period = nullptr;
    QComboBox* m_mode = nullptr;
    QComboBox* m_timbre = nullptr;
    QLabel* m_headline = nullptr;
    QLabel* m_acrossHeadline = nullptr;
    QLabel* m_growing = nullptr;
    NoteChoice m_noteChoice = NoteChoice::All;
    QStackedWidget* m_stack = nullptr;
    QLabel* m_empty = nullptr;
    QTableWidget* m_notes = nullptr;
    QTableWidget* m_confusion = nullptr;
    QLabel* m_figures = nullptr;
    std::unique_ptr<ReactionChart> m_reactions;
    SungView* m_sung = nullptr;
    std::vector<QWidget*> m_keysOnly;
};

}  // namespace tonarika
