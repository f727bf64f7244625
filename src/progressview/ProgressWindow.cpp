#include "ProgressWindow.h"

// own
#include "Appearance.h"
#include "JournalFaultText.h"
#include "NotesPage.h"
#include "ProgressChartView.h"
#include "SettingsPage.h"
#include "Progress.h"
#include "PitchTestPage.h"
#include "DailyPage.h"
#include "HomePage.h"
#include "TrendPage.h"
#include "Language.h"

// Qt
#include <QAction>
#include <QFileDialog>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QLoggingCategory>
#include <QTabWidget>

namespace tonarika {

namespace {

Q_LOGGING_CATEGORY(lcProgress, "tonarika.progress", QtWarningMsg)

// How long closing waits for a reading: each is ended at once by its cancel.
constexpr unsigned long kEndWaitMs = 500;

}  // namespace

ProgressWindow::ProgressWindow(std::vector<std::filesystem::path> logs, ScoreLogReader reader, Today today,
                               std::filesystem::path journal, QWidget* parent)
    : QMainWindow(parent)
    , m_logs(std::move(logs))
    , m_journal(std::move(journal))
    , m_today(today)
{
    qRegisterMetaType<std::shared_ptr<const ProgressSnapshot>>();
    qRegisterMetaType<std::shared_ptr<const JournalSnapshot>>();
    // The game's look: its window colour, and its face for Japanese text.
    QPalette look = palette();
    look.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xFF));
    setPalette(look);
    QFont face(QStringLiteral("ＭＳ Ｐゴシック"));
    face.setPixelSize(15);
    setFont(face);
    buildPages();

    m_loader = new ProgressLoader(m_logs, std::move(reader), std::move(today));
    m_loader->moveToThread(m_thread);
    connect(m_thread, &QThread::finished, m_loader, &QObject::deleteLater);
    connect(m_loader, &ProgressLoader::loaded, this, &ProgressWindow::showSnapshot);
    m_thread->start();
    if (m_notes) {
        m_journalLoader = new JournalLoader(m_journal);
        m_journalLoader->moveToThread(m_journalThread);
        connect(m_journalThread, &QThread::finished, m_journalLoader, &QObject::deleteLater);
        connect(m_journalLoader, &JournalLoader::loaded, this, &ProgressWindow::showTrials);
        m_journalThread->start();
    }

    // Several writes of one record come close together: read once they have settled.
    m_settle.setSingleShot(true);
    m_settle.setInterval(200);
    connect(&m_settle, &QTimer::timeout, this, &ProgressWindow::reload);
    connect(&m_watcher, &PathWatcher::changed, &m_settle, qOverload<>(&QTimer::start));
    m_watcher.watch(watched());
    fitToScreen();
    reload();
}

void ProgressWindow::buildPages()
{
    setWindowTitle(tr("Tonarika 練習帳"));
    const int shown = m_pages ? m_pages->currentIndex() : 0;
    m_trend = new TrendPage;
    m_pages = new QTabWidget;
    m_pages->setObjectName(QStringLiteral("pages"));
    m_pages->setDocumentMode(true);
    if (!m_journal.empty()) {
        m_home = new HomePage(m_today);
        m_home->setObjectName(QStringLiteral("homePage"));
        m_home->setLauncher(m_launcher);
        m_pages->addTab(m_home, tr("今日"));
    }
    m_pages->addTab(m_trend, tr("正解率の推移"));
    if (!m_journal.empty()) {
        m_notes = new NotesPage(m_today);
        m_pages->addTab(m_notes, tr("音ごと"));
        m_tests = new PitchTestPage;
        m_pages->addTab(m_tests, tr("テスト"));
        m_days = new DailyPage(m_today);
        m_days->setObjectName(QStringLiteral("dailyPage"));
        m_pages->addTab(m_days, tr("毎日"));
        connect(m_days, &DailyPage::redrawn, m_home, [this] { m_home->showDays(m_days->overview(), m_days->goal()); });
    }
    // The old pages go once the new ones stand.
    setCentralWidget(m_pages);
    // The menus too: clear() would only take them off the bar.
    qDeleteAll(menuBar()->findChildren<QMenu*>(Qt::FindDirectChildrenOnly));
    createMenus();

    // Labels, not passing messages, so that a screen reader finds them too.
    if (!m_faults) {
        m_faults = new QLabel;
        m_faults->setObjectName(QStringLiteral("logFaults"));
        m_faults->setWordWrap(true);
        statusBar()->addWidget(m_faults, 1);
        // Only where some lines could not be read, and while the logs are first read.
        m_unreadable = new QLabel;
        m_unreadable->setObjectName(QStringLiteral("unreadableLines"));
        statusBar()->addPermanentWidget(m_unreadable);
    }
    m_unreadable->setText(tr("読み込み中…"));
    if (!m_settingsFile.isEmpty())
        addSettingsPage(m_settingsFile);
    useLightPalette(*this);
    if (m_snapshot)
        drawSnapshot();
    if (m_journalSnapshot)
        drawTrials();
    m_pages->setCurrentIndex(shown);
}

void ProgressWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    // Every page built again in the new language, once the event that told it is done.
    if (event->type() == QEvent::LanguageChange && m_pages && !std::exchange(m_rebuilding, true))
        QTimer::singleShot(0, this, [this] {
            m_rebuilding = false;
            buildPages();
        });
}

void ProgressWindow::setLauncher(HomePage::Launcher launcher)
{
    m_launcher = std::move(launcher);
    if (m_home)
        m_home->setLauncher(m_launcher);
}

ProgressWindow::~ProgressWindow()
{
    // A reading under way ends at once; a thread that still has not ended in time (a
    // stuck file system) is left to the end of the process rather than waited for.
    if (m_journalLoader)
        m_journalLoader->cancel();
    for (QThread* thread : {m_thread, m_journalThread}) {
        thread->quit();
        if (thread->wait(kEndWaitMs))
            delete thread;
        else
            qCWarning(lcProgress, "a reading of the player's files is still under way; the window ends without it");
    }
}

void ProgressWindow::createMenus()
{
    QMenu* file = menuBar()->addMenu(tr("ファイル(&F)"));
    file->setObjectName(QStringLiteral("fileMenu"));
    if (m_notes) {
        QAction* csv = file->addAction(tr("CSV に書き出す…"));
        csv->setObjectName(QStringLiteral("exportCsv"));
        connect(csv, &QAction::triggered, this, &ProgressWindow::exportCsv);
        file->addSeparator();
    }
    const auto add = [this, file](const char* name, const QString& text, const QList<QKeySequence>& keys,
                                  const std::function<void()>& run) {
        QAction* action = file->addAction(text);
        action->setObjectName(QLatin1String(name));
        action->setShortcuts(keys);
        connect(action, &QAction::triggered, this, run);
        return action;
    };
    ProgressChartView* chart = m_trend->chartView();
    // The keys every desktop program has for these, whatever the platform's theme says;
    // Ctrl++ also comes as Ctrl+= on keyboards where + needs Shift.
    add("zoomIn", tr("拡大(&I)"), {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)},
        [chart] { chart->zoomBy(0.8); });
    add("zoomOut", tr("縮小(&O)"), {QKeySequence(Qt::CTRL | Qt::Key_Minus)}, [chart] { chart->zoomBy(1.25); });
    add("resetZoom", tr("全体を表示(&A)"), {QKeySequence(Qt::CTRL | Qt::Key_0)}, [chart] { chart->resetZoom(); });
    file->addSeparator();
    add("closeWindow", tr("閉じる(&C)"), {QKeySequence(Qt::CTRL | Qt::Key_W)}, [this] { close(); });
    add("quit", tr("終了(&Q)"), {QKeySequence(Qt::CTRL | Qt::Key_Q)}, [this] { close(); });
}

std::vector<std::filesystem::path> ProgressWindow::watched() const
{
    auto files = m_logs;
    if (!m_journal.empty()) {
        files.push_back(m_journal);
        files.push_back(m_journal.string() + "-wal");
    }
    return files;
}

SettingsPage* ProgressWindow::addSettingsPage(const QString& settingsFile)
{
    auto* page = new SettingsPage(settingsFile);
    page->setObjectName(QStringLiteral("settingsPage"));
    m_settings = page;
    m_settingsFile = settingsFile;
    // The notes' page says where the growing set stands when that is what the game asks,
    // and the home page's next step follows it.
    if (m_notes) {
        m_notes->setNoteChoice(page->chosen().notes);
        m_home->setNoteChoice(page->chosen().notes);
        m_home->setSettingsFile(settingsFile);
        connect(page, &SettingsPage::settingsChanged, m_notes, [notes = m_notes, home = m_home](const QuestionSettings& settings) {
            notes->setNoteChoice(settings.notes);
            home->setNoteChoice(settings.notes);
        });
    }
    // Every page names the notes as the settings say, from the first reading on, and is
    // shown in the language they say.
    connect(page, &SettingsPage::namingRead, this, &ProgressWindow::nameNotes);
    nameNotes(page->naming());
    const auto followLanguage = [](Language language) {
        if (language != languageInUse())
            useLanguage(language);
    };
    connect(page, &SettingsPage::languageRead, this, followLanguage);
    followLanguage(page->language());
    // The days' page marks the goal the settings hold.
    if (m_days) {
        m_days->setGoal(page->goalMinutes());
        connect(page, &SettingsPage::goalRead, m_days, &DailyPage::setGoal);
    }
    m_pages->addTab(page, tr("練習の設定"));
    useLightPalette(*page);
    return page;
}

void ProgressWindow::nameNotes(NoteNaming naming)
{
    if (naming == noteNaming())
        return;
    setNoteNaming(naming);
    if (m_notes && m_journalSnapshot) {
        m_notes->redraw();
        m_tests->redraw();
        m_home->showTrials(m_journalSnapshot->trials);
    }
}

void ProgressWindow::showSettingsPage()
{
    if (m_settings)
        m_pages->setCurrentWidget(m_settings);
}

void ProgressWindow::exportCsv()
{
    QString path;
    if (m_chooseFile) {
        path = m_chooseFile();
    } else {
        // Qt's own dialog, so that it takes the window's light look like everything else.
        QFileDialog dialog(this, tr("CSV に書き出す"), QStringLiteral("tonarika-trials.csv"),
                           QStringLiteral("CSV (*.csv)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("csv"));
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        useLightPalette(dialog);
        if (dialog.exec() == QDialog::Accepted)
            path = dialog.selectedFiles().value(0);
    }
    if (path.isEmpty())
        return;
    if (const auto rows = m_notes->exportCsv(path))
        statusBar()->showMessage(tr("%1 問を %2 に書き出しました。").arg(*rows).arg(path));
    else
        statusBar()->showMessage(tr("%1 に書き出せませんでした。").arg(path));
}

void ProgressWindow::fitToScreen()
{
    const QScreen* screen = this->screen();
    if (!screen)
        return;
    // Room for the frame the window manager adds around the window.
    const QSize room = screen->availableGeometry().size() - QSize(32, 64);
    resize(QSize(960, 680).boundedTo(room).expandedTo(minimumSizeHint().boundedTo(room)));
    centreOnScreen(*this);
}

void ProgressWindow::reload()
{
    // One reading at a time; changes that come during one make one more.
    if (m_loading) {
        m_loadAgain = true;
        return;
    }
    m_loading = true;
    QMetaObject::invokeMethod(m_loader, &ProgressLoader::load, Qt::QueuedConnection);
    if (!m_journalLoader)
        return;
    if (m_journalLoading) {
        m_journalAgain = true;
        return;
    }
    m_journalLoading = true;
    QMetaObject::invokeMethod(m_journalLoader, &JournalLoader::load, Qt::QueuedConnection);
}

void ProgressWindow::showSnapshot(std::shared_ptr<const ProgressSnapshot> snapshot)
{
    m_snapshot = std::move(snapshot);
    drawSnapshot();
    // The day may have turned: the notes' page counts its periods again.
    if (m_notes && m_journalSnapshot)
        m_notes->showTrials(m_journalSnapshot->trials, m_journal, m_journalSnapshot->fault);
    // A folder created since the last reading is watched from now on.
    m_watcher.watch(watched());
    m_loading = false;
    emit shown();
    if (std::exchange(m_loadAgain, false))
        reload();
}

void ProgressWindow::showTrials(std::shared_ptr<const JournalSnapshot> snapshot)
{
    if (snapshot->fault && (!m_journalSnapshot || m_journalSnapshot->fault != snapshot->fault))
        qCWarning(lcProgress, "the journal %s: %s", m_journal.c_str(), describeJournalFault(*snapshot->fault).c_str());
    m_journalSnapshot = std::move(snapshot);
    drawTrials();
    m_journalLoading = false;
    emit trialsShown();
    if (std::exchange(m_journalAgain, false)) {
        m_journalLoading = true;
        QMetaObject::invokeMethod(m_journalLoader, &JournalLoader::load, Qt::QueuedConnection);
    }
}

void ProgressWindow::drawSnapshot()
{
    m_trend->showSnapshot(m_snapshot, m_logs);
    m_unreadable->setText(tr("読めない行: %1").arg(m_snapshot->history.unreadableLines));
    m_unreadable->setVisible(m_snapshot->history.unreadableLines > 0);
    showFaults();
}

void ProgressWindow::drawTrials()
{
    m_notes->showTrials(m_journalSnapshot->trials, m_journal, m_journalSnapshot->fault);
    m_tests->showTrials(m_journalSnapshot->trials);
    m_days->showJournal(m_journalSnapshot);
    m_home->showTrials(m_journalSnapshot->trials);
    m_trend->showJournal(journalRuns(*m_journalSnapshot->trials), questionsOn(*m_journalSnapshot->trials, m_today()));
    showFaults();
}

void ProgressWindow::showFaults()
{
    QStringList faults;
    const auto fault = [](const std::filesystem::path& file, const QString& reason) {
        return tr("%1（%2）").arg(displayPath(file), reason);
    };
    if (m_snapshot) {
        for (const LogFault& log : m_snapshot->history.faults)
            faults << fault(log.log, log.reason);
    }
    if (m_journalSnapshot && m_journalSnapshot->fault)
        faults << fault(m_journal, journalFaultText(*m_journalSnapshot->fault));
    if (m_journalSnapshot && m_journalSnapshot->refusedRows > 0)
        faults << fault(m_journal, refusedRowsText(m_journalSnapshot->refusedRows));
    m_faults->setText(faults.isEmpty() ? QString() : tr("読めないログ: ") + faults.join(tr("、")));
}

}  // namespace tonarika
