#pragma once

// own
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

class TrendPage;

// The player's progress from the score logs, in pages: the correct-answer rate over
// time with each mode's figures. The logs are read on a thread of their own and read
// again whenever one of them changes, so the window never waits for them.
class ProgressWindow : public QMainWindow {
    Q_OBJECT
public:
    using Today = ProgressLoader::Today;

    ProgressWindow(std::vector<std::filesystem::path> logs, ScoreLogReader reader, Today today = &QDate::currentDate,
                   QWidget* parent = nullptr);
    ~ProgressWindow() override;

    // What the window shows; null until the logs have been read once.
    const std::shared_ptr<const ProgressSnapshot>& snapshot() const { return m_snapshot; }
    TrendPage* trend() const { return m_trend; }

    // Reads the logs again (only what they gained).
    void reload();
    // A size that suits the window on the screen it is on, never more than that screen.
    void fitToScreen();

signals:
    // A reading of the logs is on the screen.
    void shown();

private:
    void createMenus();
    void showSnapshot(std::shared_ptr<const ProgressSnapshot> snapshot);

    std::vector<std::filesystem::path> m_logs;
    QThread m_thread;
    ProgressLoader* m_loader = nullptr;  // lives on m_thread
    bool m_loading = false;
    bool m_loadAgain = false;
    std::shared_ptr<const ProgressSnapshot> m_snapshot;

    QTabWidget* m_pages = nullptr;
    TrendPage* m_trend = nullptr;
    QLabel* m_unreadable = nullptr;
    QLabel* m_faults = nullptr;
    PathWatcher m_watcher;
    QTimer m_settle;
};

}  // namespace tonarika
