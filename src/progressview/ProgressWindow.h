#pragma once

// own
#include "HomePage.h"
#include "JournalLoader.h"
#include "NoteNames.h"
#include "PathWatcher.h"
#include "ProgressLoader.h"

// Qt
#include <QMainWindow>
#include <QThread>
#include <QTimer>

// std
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

class QLabel;
class QTabWidget;

namespace tonarika {

class NotesPage;
class PitchTestPage;
class DailyPage;
class SettingsPage;
class TrendPage;

// The player's progress, in pages: from the score logs, the correct-answer rate over time
// with each mode's figures; from the journal of every question, the notes one by one.
// Both are read on a thread of their own and read again whenever they change, so the
// window never waits for them.
class ProgressWindow : public QMainWindow {
    Q_OBJECT
public:
    using Today = ProgressLoader::Today;

    // `journal`: the journal of every question, for the notes' page; none, no such page.
    ProgressWindow(std::vector<std::filesystem::path> logs, ScoreLogReader reader, Today today = &QDate::currentDate,
                   std::filesystem::path journal = {}, QWidget* parent = nullptr);
    ~ProgressWindow() override;

    // What the window shows; null until the logs have been read once.
    const std::shared_ptr<const ProgressSnapshot>& snapshot() const { return m_snapshot; }
    // What the notes' page shows; null until the journal has been read once.
    const std::shared_ptr<const JournalSnapshot>& journalSnapshot() const { return m_journalSnapshot; }
    TrendPage* trend() const { return m_trend; }
    NotesPage* notes() const { return m_notes; }
    PitchTestPage* tests() const { return m_tests; }
    DailyPage* days() const { return m_days; }
    HomePage* home() const { return m_home; }
    // How the CSV export asks for its file; a file dialog, unless a test says otherwise.
    void setFileChooser(std::function<QString()> chooser) { m_chooseFile = std::move(chooser); }

    // Adds the page where the player chooses what the game asks, kept in `settingsFile`.
    SettingsPage* addSettingsPage(const QString& settingsFile);
    // Shows the settings page, where there is one.
    void showSettingsPage();
    // How the home page starts the game.
    void setLauncher(HomePage::Launcher launcher);

    // Reads the logs again (only what they gained).
    void reload();
    // A size that suits the window on the screen it is on, never more than that screen.
    void fitToScreen();

signals:
    // A reading of the logs is on the screen.
    void shown();
    // A reading of the journal is on the screen.
    void trialsShown();

protected:
    void changeEvent(QEvent* event) override;

private:
    // The pages, the menus and the status bar's texts in the language set now, showing the
    // readings already made.
    void buildPages();
    void drawSnapshot();
    void drawTrials();
    void createMenus();
    void showSnapshot(std::shared_ptr<const ProgressSnapshot> snapshot);
    void showTrials(std::shared_ptr<const JournalSnapshot> snapshot);
    void showFaults();
    // Every page names the notes as the settings say, and shows what it shows again in them.
    void nameNotes(NoteNaming naming);

    void exportCsv();
    // The files whose change means a reading: the logs, the journal and its WAL.
    std::vector<std::filesystem::path> watched() const;

    std::vector<std::filesystem::path> m_logs;
    std::filesystem::path m_journal;
    Today m_today;  // the local date the figures count "today" by
    std::function<QString()> m_chooseFile;
    QThread* m_thread = new QThread;  // deleted once it has ended
    ProgressLoader* m_loader = nullptr;  // lives on m_thread
    bool m_loading = false;
    bool m_loadAgain = false;
    std::shared_ptr<const ProgressSnapshot> m_snapshot;
    // The journal has a thread of its own: the score logs never wait for it.
    QThread* m_journalThread = new QThread;
    JournalLoader* m_journalLoader = nullptr;  // lives on m_journalThread
    bool m_journalLoading = false;
    bool m_journalAgain = false;
    std::shared_ptr<const JournalSnapshot> m_journalSnapshot;

    QTabWidget* m_pages = nullptr;
    TrendPage* m_trend = nullptr;
    NotesPage* m_notes = nullptr;
    PitchTestPage* m_tests = nullptr;  // beside 音ごと, from the same journal
    DailyPage* m_days = nullptr;       // and the days of practice, from it too
    HomePage* m_home = nullptr;        // today and the next step, first of all
    SettingsPage* m_settings = nullptr;
    QString m_settingsFile;  // the settings page's, where it has one
    HomePage::Launcher m_launcher;
    bool m_rebuilding = false;
    QLabel* m_unreadable = nullptr;
    QLabel* m_faults = nullptr;
    PathWatcher m_watcher;
    QTimer m_settle;
};

}  // namespace tonarika
