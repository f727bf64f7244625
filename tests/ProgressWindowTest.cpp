// The progress window on logs the game's writer produced: its points, averages and
// figures, the sentence for an empty log, a change to a log, zooming and its keys, its
// look under a dark desktop, and (under Xvfb) a photograph and a small 2x screen.

// own
#include "Appearance.h"
#include "FailingRename.h"
#include "HomePage.h"
#include "Language.h"
#include "JackKeyboard.h"
#include "JackServer.h"
#include "JournalFaultText.h"
#include "NotesPage.h"
#include "ProgressChartView.h"
#include "Progress.h"
#include "ProgressWindow.h"
#include "ScoreFile.h"
#include "SettingsFile.h"
#include "SettingsPage.h"
#include "SettingsReceipt.h"
#include "PitchTestPage.h"
#include "DailyPage.h"
#include "TrendPage.h"
#include "TrialJournal.h"
#include "WindowsTestMain.h"

// Qt
#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QAction>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QPushButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QRadioButton>
#include <QSettings>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QChart>
#include <QChartView>
#include <QDateTimeAxis>
#include <QValueAxis>
#include <QLabel>
#include <QLineSeries>
#include <QMenuBar>
#include <QScatterSeries>
#include <QTimeZone>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolTip>
#include <QWheelEvent>

// system
#include <unistd.h>

// system
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

// std
#include <csignal>

// std
#include <algorithm>
#include <fstream>

using namespace tonarika;
namespace fs = std::filesystem;

namespace {

const QDate kToday(2026, 12, 7);
const QLocale kJapanese(QLocale::Japanese, QLocale::Japan);

QString toQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

void writeRun(const fs::path& folder, const QDateTime& when, const char* mode, std::uint32_t misses, std::uint32_t questions)
{
    fs::create_directories(folder);
    ScoreFile(folder, "", kJapanese, "UTF-8", [when] { return when; }).append({mode, misses, questions, "0.0 %"});
}

}  // namespace

class ProgressWindowTest : public QObject {
    Q_OBJECT

    fs::path folder;
    std::vector<ScoreRecord> written;

    // A window on the logs, once it shows what they hold.
    std::unique_ptr<ProgressWindow> open(std::vector<fs::path> logs, fs::path journal = {})
    {
        auto window = std::make_unique<ProgressWindow>(std::move(logs), ScoreLogReader(ScoreLogParser(kJapanese), "UTF-8"),
                                                       [] { return kToday; }, std::move(journal));
        QSignalSpy shown(window.get(), &ProgressWindow::shown);
        QSignalSpy trialsShown(window.get(), &ProgressWindow::trialsShown);
        window->resize(900, 560);
        window->show();
        if (!window->snapshot())
            shown.wait(5000);
        if (window->notes() && !window->journalSnapshot())
            trialsShown.wait(5000);
        return window;
    }
    template <typename T>
    static T* child(const QWidget& window, const QString& name)
    {
        return test::childNamed<T>(window, name);
    }
    static QString figure(const QWidget& window, int row, const QString& mode)
    {
        return child<QTableWidget>(window, QStringLiteral("figures"))->item(row, int(kScoreModes.indexOf(mode)))->text();
    }
    static QDateTimeAxis* timeAxis(ProgressWindow& window)
    {
        return qobject_cast<QDateTimeAxis*>(window.trend()->chartView()->chart()->axes(Qt::Horizontal).first());
    }

private slots:
    void init()
    {
        folder = fs::temp_directory_path() / ("tonarika-progress-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        // Twelve days of Easy, a run or two a day, and Hard every third day.
        written.clear();
        for (int day = 11; day >= 0; --day) {
            const QDateTime when(kToday.addDays(-day), QTime(19, 30), Qt::UTC);
            const std::uint32_t misses = std::uint32_t(day % 5);
            written.push_back({when, QStringLiteral("Easy"), misses, 10});
            if (day % 3 == 0)
                written.push_back({when.addSecs(600), QStringLiteral("Hard"), misses + 2, 12});
        }
        for (const auto& run : written)
            writeRun(folder / "data", run.when, run.mode == QLatin1String("Easy") ? "Easy" : "Hard", run.misses, run.questions);
    }
    void cleanup()
    {
        setNoteNaming({});
        useLanguage(Language::Japanese);
        fs::remove_all(folder);
    }

    void showsEveryRunItsMovingAverageAndItsModesFigures()
    {
        std::ofstream(folder / "data/Score.TXT", std::ios::app | std::ios::binary) << "garbage that is no record\r\n";
        const auto window = open({folder / "program/Score.TXT", folder / "data/Score.TXT"});
        QCOMPARE(window->windowTitle(), QStringLiteral("Tonarika 練習帳"));
        QCOMPARE(window->palette().color(QPalette::Window), QColor(0xC0, 0xC0, 0xFF));
        QCOMPARE(child<QLabel>(*window, QStringLiteral("unreadableLines"))->text(), QStringLiteral("読めない行: 1"));
        QVERIFY(child<QLabel>(*window, QStringLiteral("logFaults"))->text().isEmpty());

        for (const QString& mode : kScoreModes) {
            std::vector<double> rates;
            for (const auto& run : written) {
                if (run.mode == mode)
                    rates.push_back(run.rate());
            }
            auto* points = window->trend()->points(mode);
            auto* average = window->trend()->average(mode);
            QCOMPARE(points->count(), int(rates.size()));
            QCOMPARE(points->at(0).y(), rates.front());
            QCOMPARE(average->count(), int(rates.size()));
            QCOMPARE(average->at(average->count() - 1).y(), movingAverage(rates).back());

            const ModeSummary summary = summarize(window->snapshot()->history.records, mode, kToday);
            QCOMPARE(figure(*window, 0, mode), QString::number(rates.size()));
            QCOMPARE(figure(*window, 1, mode), QString::number(summary.questions));
            QCOMPARE(figure(*window, 4, mode), QStringLiteral("%1（%2）").arg(percentText(summary.bestRun->rate()),
                                                                          dateTimeText(summary.bestRun->when)));
            QCOMPARE(figure(*window, 5, mode), rateOfRunsText(summary.lastWeek));
            QCOMPARE(figure(*window, 7, mode), QString::number(summary.questionsToday));
        }
        std::uint32_t easyMisses = 0;
        for (const auto& run : written)
            easyMisses += run.mode == QLatin1String("Easy") ? run.misses : 0;
        QCOMPARE(figure(*window, 2, QStringLiteral("Easy")), QString::number(easyMisses));
    }

    void anEmptyOrMissingLogSaysWhereTheGameWritesIt()
    {
        const fs::path missing = folder / "nowhere/Score.TXT";
        const auto window = open({missing});
        auto* stack = child<QStackedWidget>(*window, QStringLiteral("trendStack"));
        auto* sentence = child<QLabel>(*window, QStringLiteral("emptyLog"));
        QCOMPARE(stack->currentWidget(), sentence);
        QVERIFY(sentence->text().contains(QString::fromStdString(missing.string())));
        QVERIFY(sentence->text().contains(QStringLiteral("最初の練習を終えると")));
        QCOMPARE(window->trend()->points(QStringLiteral("Easy"))->count(), 0);
    }

    void aChangedOrNewLogIsReadAgain()
    {
        const auto window = open({folder / "program/Score.TXT", folder / "data/Score.TXT"});
        auto* points = window->trend()->points(QStringLiteral("Hard"));
        const int before = points->count();
        writeRun(folder / "data", QDateTime(kToday, QTime(21, 0), Qt::UTC), "Hard", 0, 20);
        QTRY_COMPARE(points->count(), before + 1);
        // The program folder had no log at the start; the game may create one later.
        writeRun(folder / "program", QDateTime(kToday, QTime(22, 0), Qt::UTC), "Hard", 1, 20);
        QTRY_COMPARE(points->count(), before + 2);
    }

    // A program folder whose name is no UTF-8 is read and watched as it is, byte for byte.
    void aLogInAFolderNamedInNoUtf8IsReadAndWatched()
    {
        const fs::path odd = folder / "\xff\xfe-program";
        writeRun(odd, QDateTime(kToday.addDays(-1), QTime(20, 0), Qt::UTC), "Easy", 1, 10);
        const auto window = open({odd / "Score.TXT"});
        auto* points = window->trend()->points(QStringLiteral("Easy"));
        QCOMPARE(points->count(), 1);
        writeRun(odd, QDateTime(kToday, QTime(20, 0), Qt::UTC), "Easy", 0, 10);
        QTRY_COMPARE(points->count(), 2);
    }

    // A log that is there but cannot be read is named in the status bar with the reason,
    // rather than its runs vanishing from view.
    void aLogThatCannotBeReadIsNamedWithTheReason()
    {
        const fs::path large = folder / "large/Score.TXT";
        fs::create_directories(large.parent_path());
        std::ofstream(large).close();
        fs::resize_file(large, 300u << 20);  // sparse: takes no room on the disk
        const fs::path folderForLog = folder / "dir/Score.TXT";
        fs::create_directories(folderForLog);
        const auto window = open({large, folderForLog, folder / "data/Score.TXT"});
        const QString faults = child<QLabel>(*window, QStringLiteral("logFaults"))->text();
        QVERIFY2(faults.contains(QString::fromStdString(large.string()) + QStringLiteral("（大きすぎます")), qPrintable(faults));
        QVERIFY2(faults.contains(QString::fromStdString(folderForLog.string()) + QStringLiteral("（通常のファイルではありません")),
                 qPrintable(faults));
        QCOMPARE(window->trend()->points(QStringLiteral("Easy"))->count(), 12);
    }

    void theTimeAxisZoomsByWheelKeysAndMenuAndComesBackWhole()
    {
        const auto window = open({folder / "data/Score.TXT"});
        ProgressChartView* view = window->trend()->chartView();
        QDateTimeAxis* days = timeAxis(*window);
        const auto span = [days] { return days->min().msecsTo(days->max()); };
        const qint64 whole = span();
        const QPointF middle = view->chart()->plotArea().center();
        QWheelEvent forward(middle, view->mapToGlobal(middle.toPoint()), {}, QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                            Qt::NoScrollPhase, false);
        QApplication::sendEvent(view->viewport(), &forward);
        QVERIFY(span() < whole);
        const QDateTime start = days->min();
        QTest::mousePress(view->viewport(), Qt::LeftButton, {}, middle.toPoint());
        QTest::mouseMove(view->viewport(), middle.toPoint() + QPoint(60, 0));
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, middle.toPoint() + QPoint(60, 0));
        QVERIFY(days->min() < start);  // dragged right: earlier days come into view

        // Back to the whole time: a double click, Ctrl+0, and the menu's command.
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, middle.toPoint());
        QCOMPARE(span(), whole);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTest::keyClick(window.get(), Qt::Key_Plus, Qt::ControlModifier);
        QVERIFY(span() < whole);
        const qint64 zoomed = span();
        QTest::keyClick(window.get(), Qt::Key_Minus, Qt::ControlModifier);
        QVERIFY(span() > zoomed);
        QTest::keyClick(window.get(), Qt::Key_Plus, Qt::ControlModifier);
        QTest::keyClick(window.get(), Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(span(), whole);
        QTest::keyClick(window.get(), Qt::Key_Plus, Qt::ControlModifier);
        child<QAction>(*window, QStringLiteral("resetZoom"))->trigger();
        QCOMPARE(span(), whole);

        // The points and the screen reader's description follow what is in view.
        TrendPage* trend = window->trend();
        auto* points = trend->points(QStringLiteral("Hard"));
        emit points->hovered(points->at(0), true);
        const ScoreRecord& first = *std::find_if(written.begin(), written.end(),
                                                 [](const ScoreRecord& run) { return run.mode == QLatin1String("Hard"); });
        QVERIFY(QToolTip::text().contains(QStringLiteral("Hard")));
        QVERIFY(QToolTip::text().contains(QStringLiteral("%1/%2 回").arg(first.misses).arg(first.questions)));
        QVERIFY(QToolTip::text().contains(dateTimeText(first.when)));
        QVERIFY(view->accessibleDescription().contains(QStringLiteral("Hard: 表示中の期間に 4 回")));
        days->setRange(days->min(), days->min().addDays(2));
        QTRY_VERIFY(view->accessibleDescription().contains(QStringLiteral("Hard: 表示中の期間に記録はありません")));
    }

    void ctrlWAndCtrlQCloseTheWindow()
    {
        for (const Qt::Key key : {Qt::Key_W, Qt::Key_Q}) {
            const auto window = open({folder / "data/Score.TXT"});
            window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(window.get()));
            QTest::keyClick(window.get(), key, Qt::ControlModifier);
            QVERIFY(!window->isVisible());
        }
    }

    // The rate axis leaves room past 0 and 100, so that a point there is drawn whole.
    void pointsAtAHundredAndAtNoughtPercentAreDrawnWhole()
    {
        const fs::path log = folder / "edges/Score.TXT";
        writeRun(log.parent_path(), QDateTime(kToday.addDays(-1), QTime(20, 0), Qt::UTC), "Easy", 0, 10);
        writeRun(log.parent_path(), QDateTime(kToday, QTime(20, 0), Qt::UTC), "Easy", 10, 10);
        const auto window = open({log});
        QChart* chart = window->trend()->chartView()->chart();
        QScatterSeries* points = window->trend()->points(QStringLiteral("Easy"));
        const QImage image = window->trend()->chartView()->grab().toImage();
        const QColor colour = TrendPage::modeColour(QStringLiteral("Easy"));
        const auto painted = [&](QPoint pixel) {
            const QColor c = image.pixelColor(pixel * image.devicePixelRatio());
            return std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) + std::abs(c.blue() - colour.blue()) < 60;
        };
        for (int i = 0; i < 2; ++i) {
            const QPointF centre = chart->mapToPosition(points->at(i), points);
            const int outward = points->at(i).y() >= 100 ? -1 : 1;  // away from the plot's middle
            const QPoint beyond = centre.toPoint() + QPoint(0, 2 * outward);
            QVERIFY2(painted(beyond), qPrintable(QStringLiteral("the point at %1 % is cut at the edge").arg(points->at(i).y())));
        }
    }

    // In the legend a mode's runs show as a dot and its average as a line, as drawn.
    void theLegendShowsADotForTheRunsAndALineForTheAverage()
    {
        const auto window = open({folder / "data/Score.TXT"});
        QChart* chart = window->trend()->chartView()->chart();
        const QImage image = window->trend()->chartView()->grab().toImage();
        const QRect legend = chart->mapToScene(chart->legend()->geometry()).boundingRect().toRect();
        for (const QString& mode : kScoreModes) {
            const QColor colour = TrendPage::modeColour(mode);
            // The swatches, left to right: runs of columns with the mode's colour, and their heights.
            std::vector<std::pair<int, int>> swatches;  // width, height
            bool inSwatch = false;
            for (int x = legend.left(); x <= legend.right(); ++x) {
                int top = -1, bottom = -1;
                for (int y = legend.top(); y <= legend.bottom(); ++y) {
                    if (image.pixelColor(x, y) == colour) {
                        top = top < 0 ? y : top;
                        bottom = y;
                    }
                }
                if (top >= 0 && !inSwatch)
                    swatches.push_back({0, 0});
                if (top >= 0) {
                    swatches.back().first += 1;
                    swatches.back().second = std::max(swatches.back().second, bottom - top + 1);
                }
                inSwatch = top >= 0;
            }
            QCOMPARE(swatches.size(), size_t(2));
            QVERIFY2(std::abs(swatches[0].first - swatches[0].second) <= 2, qPrintable(mode + QStringLiteral(": the runs' swatch is no dot")));
            QVERIFY2(swatches[1].first >= 3 * swatches[1].second, qPrintable(mode + QStringLiteral(": the average's swatch is no line")));
        }
    }

    // At 640 x 400 the trend chart keeps its height, and its axes' labels fit whole: side by
    // side along the days, one above the other along the rates.
    void theTrendChartKeepsWholeAxisLabelsInASmallWindow()
    {
        const auto window = open({folder / "data/Score.TXT"});
        window->resize(640, 400);
        QTRY_VERIFY(window->trend()->chartView()->height() >= 200);
        QTRY_VERIFY(!window->trend()->redrawPending());
        QTest::qWait(50);
        QChart* chart = window->trend()->chartView()->chart();
        const auto* days = qobject_cast<QDateTimeAxis*>(chart->axes(Qt::Horizontal).first());
        const auto* rates = qobject_cast<QValueAxis*>(chart->axes(Qt::Vertical).first());
        const QFontMetrics dayFont(days->labelsFont());
        const QFontMetrics rateFont(rates->labelsFont());
        const QRectF plot = chart->plotArea();
        const int dayLabel = dayFont.horizontalAdvance(days->min().toString(days->format()));
        QVERIFY2(days->tickCount() * dayLabel <= plot.width(),
                 qPrintable(QStringLiteral("%1 labels of %2 px in %3").arg(days->tickCount()).arg(dayLabel).arg(plot.width())));
        const double rateLabels = (rates->max() - rates->min()) / rates->tickInterval() + 1;
        QVERIFY2(rateLabels * rateFont.height() <= plot.height(),
                 qPrintable(QStringLiteral("%1 labels in %2 px").arg(rateLabels).arg(plot.height())));
    }

    // A dark desktop palette (white texts on dark grounds) changes nothing: the window is
    // drawn as under the light one, pixel for pixel, and its texts stand out.
    void aDarkDesktopPaletteChangesNothingAndEveryTextStandsOut()
    {
        const auto grabWhole = [this](QImage& whole) {
            const auto window = open({folder / "data/Score.TXT"});
            // Both grabs of the chart as drawn for the time in view, however soon the log was read.
            QTRY_VERIFY(!window->trend()->redrawPending());
            window->trend()->chartView()->setRenderHint(QPainter::Antialiasing, false);
            const QList<QWidget*> texts{window->menuBar(), window->findChild<QTabBar*>(),
                                        child<QTableWidget>(*window, QStringLiteral("figures"))};
            QVERIFY2(!child<QLabel>(*window, QStringLiteral("unreadableLines"))->isVisible(), "every line was read");
            whole = window->grab().toImage();
            for (QWidget* widget : texts) {
                const QRect area(widget->mapTo(window.get(), QPoint(0, 0)), widget->size());
                QVERIFY2(test::inkContrast(whole.copy(area)) >= 4.5, qPrintable(widget->metaObject()->className()));
            }
            QMenu* file = child<QMenu>(*window, QStringLiteral("fileMenu"));
            file->adjustSize();
            QVERIFY(test::inkContrast(file->grab().toImage()) >= 4.5);
        };
        QImage light, dark;
        grabWhole(light);
        const test::ApplicationPalette darkDesktop(test::darkDesktopPalette());
        grabWhole(dark);
        QVERIFY(dark == light);
    }

    // The notes' page from a journal the game's own writer made: two wrong answers on Do,
    // then twenty right, make Do learned; every cell of the confusion table is read out.
    void theNotesPageShowsWhatTheJournalHolds()
    {
        ::setenv("TZ", "UTC", 1);
        ::tzset();
        const fs::path journal = folder / "data" / "trials.sqlite";
        const std::int64_t morning = QDateTime(kToday, QTime(8, 0), Qt::UTC).toMSecsSinceEpoch();
        {
            TrialJournal writer(journal);
            for (int i = 0; i < 22; ++i)
                writer.record({morning + i * 1000, Mode::Easy, 1, 0, NoteIndex(i < 2 ? 1 : 0), 900, 1});
            writer.record({morning - 3 * 86'400'000, Mode::Hard, 2, 7, 7, 2500, 2});
        }
        const auto window = open({folder / "data/Score.TXT"}, journal);
        QVERIFY(window->snapshot());
        NotesPage* notes = window->notes();
        QVERIFY(notes);
        QCOMPARE(child<QLabel>(*window, QStringLiteral("learnedHeadline"))->text(),
                 QStringLiteral("覚えた音: 1/12（Easy か Hard のどちらかで）"));
        // Do's 20 of 22 for the white keys, Do#'s one for the black; the misses, Re for Do,
        // a whole tone off.
        QCOMPARE(child<QLabel>(*window, QStringLiteral("noteFigures"))->text(),
                 QStringLiteral("白鍵: 正解率 90.9 %、反応時間 0.9 秒\n黒鍵: 正解率 100.0 %、反応時間 2.5 秒\n"
                                "はずれのうち半音違い: 0.0 %\nはずれの平均のずれ: 2.0 半音"));
        auto* table = child<QTableWidget>(*window, QStringLiteral("notesTable"));
        QCOMPARE(table->item(0, 0)->text(), QStringLiteral("ド"));
        QCOMPARE(table->item(0, 1)->text(), QStringLiteral("22"));
        QCOMPARE(table->item(0, 4)->text(), QStringLiteral("覚えた（Easy）"));
        auto* confusion = child<QTableWidget>(*window, QStringLiteral("confusionTable"));
        QAccessibleInterface* cells = QAccessible::queryAccessibleInterface(confusion);
        QVERIFY(cells && cells->tableInterface());
        // Row Do, column Re (Re is the third key, after Do#).
        QCOMPARE(cells->tableInterface()->cellAt(0, 2)->text(QAccessible::Name), QStringLiteral("出題 ド、答え レ: 2 回 (9 %)"));
        QCOMPARE(cells->tableInterface()->cellAt(0, 0)->text(QAccessible::Name),
                 QStringLiteral("出題 ド、答え ド（正解）: 20 回 (91 %)"));
        QVERIFY(!child<QWidget>(*window, QStringLiteral("reactionChart"))->accessibleDescription().isEmpty());
        // The chart's ticks fall on whole days, one a day.
        const auto* chartView = child<QChartView>(*window, QStringLiteral("reactionChart"));
        const auto dayAxes = chartView->chart()->axes(Qt::Horizontal);
        QCOMPARE(dayAxes.size(), 1);
        const auto* days = qobject_cast<const QDateTimeAxis*>(dayAxes.front());
        QVERIFY(days);
        QCOMPARE(days->min().time(), QTime(0, 0));
        QCOMPARE(days->min().daysTo(days->max()), qint64(days->tickCount() - 1));

        // Today, and Hard alone: the Hard trial was three days ago.
        notes->choose(Period::Today, ModeChoice::Hard);
        QCOMPARE(notes->statistics().notes[7].questions, 0);
        notes->choose(Period::Week, ModeChoice::Hard);
        QCOMPARE(notes->statistics().notes[7].questions, 1);

        // The period's trials, both modes, as CSV.
        const QString csv = QString::fromStdString((folder / "trials.csv").string());
        window->setFileChooser([csv] { return csv; });
        child<QAction>(*window, QStringLiteral("exportCsv"))->trigger();
        QVERIFY(window->statusBar()->currentMessage().startsWith(QStringLiteral("23 ")));
        // Read back as a program that reads CSV would: Python's csv module, the byte-order
        // mark and the CRLF line ends as RFC 4180 has them.
        QProcess python;
        python.start(QStringLiteral("/usr/bin/python3"),
                     {QStringLiteral("-c"),
                      QStringLiteral("import csv, json, sys\n"
                                     "raw = open(sys.argv[1], 'rb').read()\n"
                                     "assert raw.startswith(b'\\xef\\xbb\\xbf') and raw.count(b'\\r\\n') == raw.count(b'\\n')\n"
                                     "with open(sys.argv[1], encoding='utf-8-sig', newline='') as f:\n"
                                     "    print(json.dumps(list(csv.reader(f))))\n"),
                      csv});
        QVERIFY(python.waitForFinished(10000));
        QCOMPARE(python.exitCode(), 0);
        const QJsonArray csvRows = QJsonDocument::fromJson(python.readAllStandardOutput()).array();
        QCOMPARE(csvRows.size(), 1 + 23);
        for (const QJsonValue& row : csvRows)
            QCOMPARE(row.toArray().size(), csvRows[0].toArray().size());
        const QJsonArray hard = csvRows[1].toArray();
        QCOMPARE(hard[0].toString(), QStringLiteral("2026-12-04T08:00:00.000Z"));
        QCOMPARE(hard[1].toString(), QStringLiteral("2026-12-04 08:00:00"));  // in UTC, where it was answered
        QCOMPARE(hard[2].toString(), QStringLiteral("Hard"));
        // The notes' names as the tables show them.
        QCOMPARE(hard[4].toString(), table->item(1, 0)->text());
        // Only the period chosen: today's.
        notes->choose(Period::Today, ModeChoice::Hard);
        child<QAction>(*window, QStringLiteral("exportCsv"))->trigger();
        QVERIFY(window->statusBar()->currentMessage().startsWith(QStringLiteral("22 ")));
        // A disk that takes nothing more: no success, and the file written before stays whole.
        const auto bytesOf = [](const QString& path) {
            QFile in(path);
            in.open(QIODevice::ReadOnly);
            return in.readAll();
        };
        const QByteArray before = bytesOf(csv);
        const pid_t exporter = ::fork();
        if (exporter == 0) {
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{64, 64};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            ::_exit(notes->exportCsv(csv) ? 1 : 0);
        }
        int status = 0;
        ::waitpid(exporter, &status, 0);
        QVERIFY2(WIFEXITED(status) && WEXITSTATUS(status) == 0, "a CSV the disk refused was reported written");
        QCOMPARE(bytesOf(csv), before);
        // Written whole beside it, and refused only as it takes the old file's place.
        {
            tonarika::test::FailingRename refuse(csv.toStdString());
            QVERIFY2(!notes->exportCsv(csv), "a CSV that never took the old one's place was reported written");
            QCOMPARE(refuse.refused(), 1);
        }
        QCOMPARE(bytesOf(csv), before);

        // A trial the game adds is shown.
        notes->choose(Period::All, ModeChoice::Both);
        {
            TrialJournal writer(journal);
            writer.record({morning + 60'000, Mode::Easy, 3, 2, 2, 1100, 1});
        }
        QTRY_COMPARE(table->item(4, 1)->text(), QStringLiteral("1"));  // Mi, the fifth key
        ::unsetenv("TZ");
        ::tzset();
    }

    // The CSV gives each answer at the clock of the place and season it was given in, New
    // York's across both changes of 2026, however far the reader is from there, and each
    // column says what its row holds.
    void theCsvGivesEachAnswerAtTheClockWhereItWasGiven()
    {
        struct Zone {
            explicit Zone(const char* zone) { set(zone); }
            ~Zone() { set(nullptr); }
            static void set(const char* zone)
            {
                zone ? ::setenv("TZ", zone, 1) : ::unsetenv("TZ");
                ::tzset();
            }
        } newYork("America/New_York");
        const auto utc = [](int month, int day, int hour, int minute) {
            return QDateTime(QDate(2026, month, day), QTime(hour, minute), Qt::UTC);
        };
        const struct {
            QDateTime answered;
            const char* wallClock;
            Trial trial;  // its time comes from `answered`
        } answers[] = {
            {utc(3, 8, 6, 59), "2026-03-08 01:59:00", {0, Mode::Easy, 1, 0, 0, 900, 1}},  // the last minute of winter time
            {utc(3, 8, 7, 1), "2026-03-08 03:01:00", {0, Mode::Hard, 2, 3, 4, std::nullopt, 2, Timbre::Clarinet, 5, true}},
            {utc(11, 1, 5, 30), "2026-11-01 01:30:00", {0, Mode::Hard, 3, 11, 11, 1234, 1, Timbre::Sine, 3}},  // summer time
            {utc(11, 1, 6, 30), "2026-11-01 01:30:00", {0, Mode::Hard, 3, 9, 9, 800, 3, Timbre::Marimba}},  // winter time again
            {utc(12, 7, 4, 30), "2026-12-06 23:30:00",
             {0, Mode::Hard, 4, 1, 2, 2500, 1, Timbre::Trumpet, 4, true, 442, AnswerInput::Keys}},
        };
        const fs::path journal = folder / "data" / "trials.sqlite";
        {
            TrialJournal writer(journal);
            for (const auto& a : answers) {
                Trial trial = a.trial;
                trial.answeredAtMs = a.answered.toMSecsSinceEpoch();
                writer.record(trial);
            }
        }
        Zone::set("Asia/Tokyo");
        const auto window = open({folder / "data/Score.TXT"}, journal);
        window->notes()->choose(Period::All, ModeChoice::Both);
        const QString csv = QString::fromStdString((folder / "answers.csv").string());
        window->setFileChooser([csv] { return csv; });
        child<QAction>(*window, QStringLiteral("exportCsv"))->trigger();
        const QString said = window->statusBar()->currentMessage();
        QVERIFY2(said.startsWith(QStringLiteral("%1 ").arg(std::size(answers))) && said.contains(csv), qPrintable(said));

        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QStringList lines = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 1 + qsizetype(std::size(answers)));
        lines.removeFirst();
        for (std::size_t i = 0; i < std::size(answers); ++i) {
            const Trial& t = answers[i].trial;
            const QStringList row = lines[qsizetype(i)].split(u',');
            const QStringList expected{answers[i].answered.toString(Qt::ISODateWithMs),
                                       QString::fromLatin1(answers[i].wallClock),
                                       toQString(modeKey(t.mode)),
                                       QString::number(t.run),
                                       toQString(kNoteTable[t.asked].noteName),
                                       toQString(kNoteTable[t.answered].noteName),
                                       t.asked == t.answered ? QStringLiteral("1") : QStringLiteral("0"),
                                       t.reactionMs ? QString::number(*t.reactionMs) : QString(),
                                       QString::number(t.plays),
                                       toQString(timbreRow(t.timbre).name),
                                       QString::number(t.octave),
                                       t.guard ? QStringLiteral("1") : QStringLiteral("0"),
                                       QString::number(t.a4),
                                       QString(),  // no test
                                       t.input ? toQString(inputKey(*t.input)) : QString(),
                                       QString(),   // no answer window
                                       QString()};  // not sung
            QCOMPARE(row, expected);
        }
    }

    // With the growing set chosen, the notes' page says which notes it holds, which it takes
    // next, and what each note in it still lacks, by the game's own rule.
    void theGrowingSetSaysWhatItHoldsAndLacks()
    {
        const fs::path journal = folder / "data" / "trials.sqlite";
        const std::int64_t morning = QDateTime(kToday, QTime(8, 0), Qt::UTC).toMSecsSinceEpoch();
        {
            TrialJournal writer(journal);
            int at = 0;
            for (const NoteIndex note : {NoteIndex{0}, NoteIndex{2}, NoteIndex{4}})
                for (int i = 0; i < 20; ++i)
                    writer.record({morning + at++ * 1000, Mode::Easy, 1, note, note, 900, 1});
            for (int i = 0; i < 15; ++i)
                writer.record({morning + at++ * 1000, Mode::Easy, 1, 5, 5, 900, 1});
        }
        const auto window = open({folder / "data/Score.TXT"}, journal);
        NotesPage* notes = window->notes();
        auto* growing = child<QLabel>(*window, QStringLiteral("growingSet"));
        QVERIFY(!growing->isVisibleTo(notes));
        notes->setNoteChoice(NoteChoice::Growing);
        notes->choose(Period::Today, ModeChoice::Easy);
        QVERIFY(growing->isVisibleTo(notes));
        QCOMPARE(growing->text(), QStringLiteral("少しずつ増やす（Easy）: ド ミ ソ ラ。次は ﾌｧ: ラ があと 5 問"));
        notes->choose(Period::All, ModeChoice::Hard);
        QCOMPARE(growing->text(),
                 QStringLiteral("少しずつ増やす（Hard）: ド ミ ソ。次は ラ: ド があと 20 問、ミ があと 20 問、ソ があと 20 問"));
        QCOMPARE(growing->accessibleName(), growing->text());
    }

    // The page テスト: a row per test, the newest first, an unfinished one marked; both scores
    // over time against the cut-off; 音ごと and the CSV's modes leave the test's answers out
    // and in as they should; all of it readable in a window of 640 x 400.
    void theTestPageShowsEachTestAndNothingElseCountsItsAnswers()
    {
        const fs::path journal = folder / "data" / "trials.sqlite";
        const std::int64_t earlier = QDateTime(kToday.addDays(-3), QTime(8, 0), Qt::UTC).toMSecsSinceEpoch();
        const std::int64_t today = QDateTime(kToday, QTime(8, 0), Qt::UTC).toMSecsSinceEpoch();
        {
            TrialJournal writer(journal);
            writer.record({earlier, Mode::Hard, 1, 2, 2, 900, 1});
            // Pure tones: 30 right, 4 a semitone off (ド for シ), 2 a tritone off. Piano: all right.
            for (const Timbre timbre : {Timbre::Sine, Timbre::Piano}) {
                for (int i = 0; i < 36; ++i) {
                    const NoteIndex asked = timbre == Timbre::Sine && i >= 30 ? NoteIndex(6) : NoteIndex(i % 12);
                    const NoteIndex answered = timbre == Timbre::Piano || i < 30 ? asked : i < 34 ? NoteIndex(0) : NoteIndex(3);
                    writer.record({earlier + 1000 + i, Mode::PitchTest, 2, asked, answered, 900, 1, timbre, 3 + i % 3, true, 442});
                }
            }
            for (int i = 0; i < 10; ++i)
                writer.record({today + i, Mode::PitchTest, 3, 0, 0, 1500, 1, Timbre::Sine, 4, true, 440});
        }
        const auto window = open({folder / "data/Score.TXT"}, journal);
        auto* pages = child<QTabWidget>(*window, QStringLiteral("pages"));
        QCOMPARE(pages->tabText(pages->indexOf(window->tests())), QStringLiteral("テスト"));
        auto* table = child<QTableWidget>(*window, QStringLiteral("testTable"));
        QCOMPARE(table->rowCount(), 2);
        const QStringList finished{kToday.addDays(-3).toString(QStringLiteral("yyyy/MM/dd 08:00")), QStringLiteral("33 / 36"), QStringLiteral("36 / 36"),
                                   QStringLiteral("5.6 %"), QStringLiteral("0.9 秒"), QStringLiteral("442 Hz"), QStringLiteral("シ 6 回")};
        const QStringList left{kToday.toString(QStringLiteral("yyyy/MM/dd 08:00")), QStringLiteral("中断（10 / 72 問）"), QStringLiteral("―"),
                               QStringLiteral("―"), QStringLiteral("―"), QStringLiteral("440 Hz"), QStringLiteral("―")};
        for (int column = 0; column < 7; ++column) {
            QCOMPARE(table->item(0, column)->text(), left[column]);
            QCOMPARE(table->item(1, column)->text(), finished[column]);
        }
        QVERIFY(!table->accessibleName().isEmpty());
        const auto* chartView = child<QChartView>(*window, QStringLiteral("testChart"));
        QCOMPARE(chartView->accessibleName(), QStringLiteral("テストの得点の推移のグラフ"));
        QVERIFY2(chartView->accessibleDescription().contains(QStringLiteral("純音 33 / 36、ピアノ 36 / 36")),
                 qPrintable(chartView->accessibleDescription()));
        QList<double> lines;
        for (QAbstractSeries* series : chartView->chart()->series()) {
            const auto* line = qobject_cast<QLineSeries*>(series);
            QVERIFY(line);
            lines << line->points().front().y();
        }
        QCOMPARE(lines, (QList<double>{33.0, 36.0, 24.5}));

        // 音ごと counts the one Hard answer alone; the CSV has every answer, each test's number.
        NotesPage* notes = window->notes();
        notes->choose(Period::All, ModeChoice::Both);
        int questions = 0;
        for (const auto& note : notes->statistics().notes)
            questions += note.questions;
        QCOMPARE(questions, 1);
        const QString csv = QString::fromStdString((folder / "tests.csv").string());
        QCOMPARE(notes->exportCsv(csv), std::optional<int>(1 + 72 + 10));
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList csvLines = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QVERIFY(csvLines[0].endsWith(QStringLiteral(",A4 (Hz),テスト,入力,答える時間の制限 (ms),ずれ (セント)")));
        QVERIFY(csvLines[1].endsWith(QStringLiteral(",440,,,,")));
        QVERIFY(csvLines[2].contains(QStringLiteral(",Test,")) && csvLines[2].endsWith(QStringLiteral(",442,1,,,")));
        QVERIFY(csvLines.back().endsWith(QStringLiteral(",440,2,,,")));

        window->resize(640, 400);
        pages->setCurrentWidget(window->tests());
        QTest::qWait(50);
        QVERIFY2(table->horizontalHeader()->length() <= table->viewport()->width(),
                 qPrintable(QStringLiteral("%1 > %2").arg(table->horizontalHeader()->length()).arg(table->viewport()->width())));
        QVERIFY(table->height() >= 100 && chartView->height() >= 150);
    }

    // The page of days, from a real journal in Tokyo: today and the two days before it
    // practised (the day before them missed), the goal of 10 minutes met on two of them; the
    // calendar names each day with its minutes and marks the goal met, the hours count
    // Practice's keys too, the learned chart holds the study's mean as its reference, and
    // 朝一番 sets each day's first twelve against the day's whole.
    void theDailyPageCountsTheDaysTheStreakAndTheHours()
    {
        ::setenv("TZ", "Asia/Tokyo", 1);
        ::tzset();
        const fs::path journal = folder / "data" / "trials.sqlite";
        const auto at = [](int daysBack, int seconds) {
            return QDateTime(kToday.addDays(-daysBack), QTime(9, 0), QTimeZone("Asia/Tokyo")).toMSecsSinceEpoch()
                   + qint64(seconds) * 1000;
        };
        {
            TrialJournal writer(journal);
            // Four days back: 3 minutes, then a missed day, then 12, 11 and 5 minutes.
            const std::pair<int, int> days[] = {{4, 3}, {2, 12}, {1, 11}, {0, 5}};
            for (const auto& [back, minutes] : days) {
                // An answer every 30 s; the first twelve of a day all wrong, the rest right.
                for (int i = 0; i <= minutes * 2; ++i)
                    writer.record({at(back, i * 30), Mode::Hard, 1, 3, NoteIndex(i < 12 ? 4 : 3), 1000, 1});
            }
            // Practice's keys: six more minutes on the day before yesterday's end.
            for (int i = 1; i <= 12; ++i)
                writer.record({at(2, 12 * 60 + i * 30), Mode::Prac, 1, 2, 2, std::nullopt, 1});
        }
        const auto window = open({folder / "data/Score.TXT"}, journal);
        DailyPage* page = window->days();
        QVERIFY(page);
        QTRY_VERIFY(!page->overview().days.empty());
        SettingsPage* settings = window->addSettingsPage(QString::fromStdString((folder / "config" / "tonarika.conf").string()));
        QVERIFY(writeSettingsFile(QString::fromStdString((folder / "config" / "tonarika.conf").string()),
                                  {goalValue(10)}) == std::nullopt);
        QTRY_COMPARE(settings->goalMinutes(), 10);
        QTRY_COMPARE(page->overview().streaks, (Streaks{2, 2}));
        const auto* summary = child<QLabel>(*page, QStringLiteral("dailySummary"));
        // 3 + 18 + 11 + 5 minutes, each with its first answer's second.
        QVERIFY2(summary->text().contains(QStringLiteral("連続: 2 日（最長 2 日）")), qPrintable(summary->text()));
        QCOMPARE(page->overview().totalMs, (3 + 18 + 11 + 5) * 60'000 + 4 * 1000);
        auto* calendar = child<QTableWidget>(*page, QStringLiteral("calendar"));
        QCOMPARE(calendar->columnCount(), 16);
        // kToday is a Monday: the last column's first row.
        QCOMPARE(calendar->item(0, 15)->data(Qt::AccessibleTextRole).toString(), QStringLiteral("12月7日: 5 分"));
        QCOMPARE(calendar->item(6, 14)->data(Qt::AccessibleTextRole).toString(), QStringLiteral("12月6日: 11 分（目標達成）"));
        QCOMPARE(calendar->item(6, 14)->text(), QStringLiteral("✓"));
        QCOMPARE(calendar->item(5, 14)->data(Qt::AccessibleTextRole).toString(), QStringLiteral("12月5日: 18 分（目標達成）"));
        QCOMPARE(calendar->item(4, 14)->data(Qt::AccessibleTextRole).toString(), QStringLiteral("12月4日: 0 分"));
        QVERIFY2(!(calendar->item(1, 15)->flags() & Qt::ItemIsEnabled), "tomorrow is no day yet");
        const auto* learned = child<QChartView>(*page, QStringLiteral("learnedChart"));
        bool reference = false;
        for (QAbstractSeries* series : learned->chart()->series()) {
            if (auto* points = qobject_cast<QScatterSeries*>(series))
                reference = points->count() == 1 && points->at(0) == QPointF(21.4, 7.08)
                            && points->name().contains(QStringLiteral("約束ではありません"));
        }
        QVERIFY2(reference, "the study's mean, as a reference");
        const DayFigure yesterday = page->overview().days.at(QDate(1970, 1, 1).daysTo(kToday) - 1);
        QCOMPARE(std::pair(yesterday.firstRight, yesterday.firstQuestions), std::pair(0, 12));
        QCOMPARE(std::pair(yesterday.right, yesterday.questions), std::pair(11, 23));
        ::unsetenv("TZ");
        ::tzset();
    }

    // The trend's best run is taken among the runs that asked as the latest did, and says
    // what that was: a Hard run over three notes at 95.6 % is no rival for a twelve-note
    // one at 70.6 %. Today's questions come from the journal, the run still going included.
    void theBestRunIsOfRunsThatAskedAlikeAndTodayCountsTheRunGoingOn()
    {
        ::setenv("TZ", "UTC", 1);
        ::tzset();
        const fs::path logs = folder / "alike";
        const fs::path journal = folder / "data" / "trials.sqlite";
        const auto at = [](int daysBack, int seconds) {
            return QDateTime(kToday.addDays(-daysBack), QTime(19, 0), Qt::UTC).addSecs(seconds);
        };
        {
            TrialJournal writer(journal);
            for (int i = 0; i < 45; ++i)
                writer.record({at(2, i * 10).toMSecsSinceEpoch(), Mode::Hard, 1, NoteIndex(2 * (i % 3)), NoteIndex(2 * (i % 3)), 900, 1});
            for (int i = 0; i < 17; ++i)
                writer.record({at(1, i * 10).toMSecsSinceEpoch(), Mode::Hard, 2, NoteIndex(i % 12), NoteIndex(i % 12), 900, 1});
            for (int i = 0; i < 7; ++i)
                writer.record({at(0, i * 10 - 11 * 3600).toMSecsSinceEpoch(), Mode::Hard, 3, 1, 1, 900, 1});
        }
        writeRun(logs, at(2, 8 * 60), "Hard", 2, 45);
        writeRun(logs, at(1, 3 * 60), "Hard", 5, 17);
        const auto window = open({logs / "Score.TXT"}, journal);
        QTRY_COMPARE(figure(*window, 7, QStringLiteral("Hard")), QStringLiteral("7"));
        QCOMPARE(figure(*window, 4, QStringLiteral("Hard")),
                 QStringLiteral("70.6 %（%1、12 音・ピアノ・1 オクターブ）").arg(dateTimeText(at(1, 3 * 60))));
        QCOMPARE(figure(*window, 7, QStringLiteral("Easy")), QStringLiteral("0"));
        ::unsetenv("TZ");
        ::tzset();
    }

    // However far apart its days, the reaction chart has a dozen ticks or so on whole days,
    // and its axis spans the days there are.
    void theChartsTicksStayFewWhateverItsSpan()
    {
        const fs::path journal = folder / "data" / "trials.sqlite";
        const struct {
            QDate first;
            qint64 step;  // days between ticks
        } cases[] = {{kToday.addDays(-10), 1}, {kToday.addDays(-60), 7}, {QDate(2000, 1, 3), 896}};
        for (const auto& c : cases) {
            fs::remove_all(journal.parent_path());
            {
                TrialJournal writer(journal);
                for (const QDate& day : {c.first, kToday})
                    writer.record({QDateTime(day, QTime(8, 0), Qt::UTC).toMSecsSinceEpoch(), Mode::Hard, 1, 2, 2, 900, 1});
            }
            const auto window = open({folder / "data/Score.TXT"}, journal);
            const auto* chartView = child<QChartView>(*window, QStringLiteral("reactionChart"));
            const auto* days = qobject_cast<const QDateTimeAxis*>(chartView->chart()->axes(Qt::Horizontal).front());
            QVERIFY(days);
            QVERIFY2(days->tickCount() <= 15, qPrintable(QString::number(days->tickCount())));
            QVERIFY(days->min().date() <= c.first && days->max().date() >= kToday);
            QCOMPARE(days->min().daysTo(days->max()) / (days->tickCount() - 1), c.step);
        }
    }

    // Learned beyond one sound takes three timbres and two octaves in the last 20 questions;
    // the timbre choice narrows the tables, never that headline.
    void notesLearnedInOneTimbreAreNotLearnedBeyondIt()
    {
        const fs::path journal = folder / "data" / "trials.sqlite";
        const std::int64_t morning = QDateTime(kToday, QTime(8, 0), Qt::UTC).toMSecsSinceEpoch();
        {
            TrialJournal writer(journal);
            const Timbre spread[] = {Timbre::Marimba, Timbre::Sine, Timbre::Guitar};
            for (int i = 0; i < 20; ++i) {
                writer.record({morning + i * 1000, Mode::Hard, 1, 0, 0, 900, 1, spread[i % 3], 3 + i % 2, true});
                writer.record({morning + i * 1000 + 500, Mode::Hard, 1, 2, 2, 900, 1});
            }
            // Three answers in Easy: Do is learned in Hard, not in Easy.
            for (int i = 0; i < 3; ++i)
                writer.record({morning + 30'000 + i * 1000, Mode::Easy, 2, 0, 0, 900, 1, spread[0], 3, true});
        }
        const auto window = open({folder / "data/Score.TXT"}, journal);
        QCOMPARE(child<QLabel>(*window, QStringLiteral("learnedHeadline"))->text(),
                 QStringLiteral("覚えた音: 2/12（Easy か Hard のどちらかで）"));
        // Easy and Hard together: each note's state says the mode it is in, as the growing
        // set's lines do; Easy alone, Do's three answers.
        QCOMPARE(child<QTableWidget>(*window, QStringLiteral("notesTable"))->item(0, 4)->text(), QStringLiteral("覚えた（Hard）"));
        window->notes()->choose(Period::All, ModeChoice::Easy);
        QCOMPARE(child<QTableWidget>(*window, QStringLiteral("notesTable"))->item(0, 4)->text(), QStringLiteral("あと 17 問"));
        window->notes()->choose(Period::All, ModeChoice::Both);
        auto* across = child<QLabel>(*window, QStringLiteral("learnedAcrossHeadline"));
        QCOMPARE(across->text(), QStringLiteral("音色・音域を問わず: 1/12"));
        QVERIFY(!across->toolTip().isEmpty());
        auto* table = child<QTableWidget>(*window, QStringLiteral("notesTable"));
        // Do is the first key, Mi the fifth: in how many timbres and octaves each was asked.
        QCOMPARE(table->item(0, 5)->text(), QStringLiteral("3"));
        QCOMPARE(table->item(0, 6)->text(), QStringLiteral("2"));
        QCOMPARE(table->item(4, 5)->text(), QStringLiteral("1"));
        auto* timbre = child<QComboBox>(*window, QStringLiteral("timbre"));
        QCOMPARE(timbre->count(), kTimbreCount + 1);
        timbre->setCurrentText(toQString(timbreRow(Timbre::Sine).name));
        QCOMPARE(window->notes()->statistics().notes[0].questions, 7);
        QCOMPARE(window->notes()->statistics().notes[2].questions, 0);
        QCOMPARE(across->text(), QStringLiteral("音色・音域を問わず: 1/12"));
    }

    // What is learned is the player's state now, whatever the period; a note not learned
    // says how far it is; right and wrong answers are told apart by colour; and at 640 x 400
    // every figure can be scrolled to, none cut short.
    void theNotesPageCoachesWhateverThePeriod()
    {
        ::setenv("TZ", "UTC", 1);
        ::tzset();
        const fs::path journal = folder / "data" / "trials.sqlite";
        const std::int64_t earlier = QDateTime(kToday.addDays(-3), QTime(8, 0), Qt::UTC).toMSecsSinceEpoch();
        {
            TrialJournal writer(journal);
            for (int i = 0; i < 20; ++i)
                writer.record({earlier + i * 1000, Mode::Easy, 1, 0, 0, 900, 1});
            for (int i = 0; i < 5; ++i)
                writer.record({earlier + 60'000 + i * 1000, Mode::Easy, 1, 1, NoteIndex(i < 2 ? 2 : 1), 900, 1});
        }
        const auto window = open({folder / "data/Score.TXT"}, journal);
        NotesPage* notes = window->notes();
        auto* headline = child<QLabel>(*window, QStringLiteral("learnedHeadline"));
        auto* table = child<QTableWidget>(*window, QStringLiteral("notesTable"));
        for (const Period period : {Period::All, Period::Today}) {
            notes->choose(period, ModeChoice::Easy);
            QCOMPARE(headline->text(), QStringLiteral("覚えた音: 1/7"));
            QCOMPARE(table->item(0, 4)->text(), QStringLiteral("覚えた"));
            QCOMPARE(table->item(2, 4)->text(), QStringLiteral("あと 15 問"));  // Re, the third key
        }
        QCOMPARE(table->item(0, 1)->text(), QStringLiteral("0"));  // today counts no question
        QVERIFY(!headline->toolTip().isEmpty() && headline->toolTip() == table->item(0, 4)->toolTip());

        // Sorted by the questions, most first, and back to the keyboard's order.
        table->sortItems(1, Qt::DescendingOrder);
        notes->choose(Period::All, ModeChoice::Easy);
        QCOMPARE(table->item(0, 0)->text(), toQString(kNoteTable[0].noteName));
        QCOMPARE(table->item(1, 0)->text(), toQString(kNoteTable[1].noteName));
        table->sortItems(0, Qt::AscendingOrder);
        QCOMPARE(table->item(2, 0)->text(), toQString(kNoteTable[1].noteName));

        // At the default size the table and the figures under it show whole, the widest
        // of what a note lacks wrapped in its column.
        window->findChild<QTabWidget*>(QStringLiteral("pages"))->setCurrentWidget(notes);
        window->resize(960, 680);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        auto* scroll = notes->findChild<QScrollArea*>();
        for (const char* part : {"notesTable", "noteFigures"}) {
            auto* widget = child<QWidget>(*window, QString::fromLatin1(part));
            const int right = widget->mapTo(scroll->widget(), QPoint(widget->width(), 0)).x();
            QVERIFY2(right <= scroll->viewport()->width(), part);
        }

        // Right (Re for Re) and wrong (Mi for Re) in two colour families, read off the screen.
        window->resize(640, 400);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        window->findChild<QTabWidget*>(QStringLiteral("pages"))->setCurrentWidget(notes);
        auto* confusion = child<QTableWidget>(*window, QStringLiteral("confusionTable"));
        const QImage shot = confusion->grab().toImage();
        const auto colourOf = [&](int row, int column) {
            const QRect cell = confusion->visualItemRect(confusion->item(row, column));
            const QPoint corner = confusion->viewport()->mapTo(confusion, cell.topLeft() + QPoint(3, 3));
            return QColor(shot.pixel(corner * shot.devicePixelRatio()));
        };
        const QColor right = colourOf(2, 2);
        const QColor wrong = colourOf(2, 4);
        QVERIFY2(right.green() > right.red() + 40, qPrintable(right.name()));
        QVERIFY2(wrong.red() > wrong.green() + 40, qPrintable(wrong.name()));
        QCOMPARE(child<QLabel>(*window, QStringLiteral("askedCaption"))->text().remove(u'\n').left(2), QStringLiteral("出題"));
        QVERIFY(child<QLabel>(*window, QStringLiteral("answersCaption"))->text().startsWith(QStringLiteral("答え")));

        // Each label of the page shows whole, and each choice is named for screen readers.
        for (QLabel* label : notes->findChildren<QLabel*>()) {
            if (label->isVisible() && !label->wordWrap() && label->text().size() > 0) {
                QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
            }
        }
        for (QComboBox* box : notes->findChildren<QComboBox*>())
            QVERIFY(!box->accessibleName().isEmpty());
        ::unsetenv("TZ");
        ::tzset();
    }

    // Qt's own texts, a dialog's buttons, are in the programs' language: Japanese, or English.
    void qtsOwnTextsFollowTheLanguage()
    {
        QVERIFY(useLanguage(Language::English));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
        QVERIFY(useLanguage(Language::Japanese));
        const QString cancel = QCoreApplication::translate("QPlatformTheme", "Cancel");
        QVERIFY2(cancel != QStringLiteral("Cancel") && !cancel.isEmpty(), qPrintable(cancel));
    }

    // The settings page names the keyboards a JACK server of the test's own has, as they
    // come and go.
    void theSettingsPageShowsTheKeyboardsTheDesktopHasNow()
    {
        if (QFileInfo::exists(QStringLiteral("/dev/snd/seq")))
            QSKIP("this machine has an ALSA sequencer: the page lists its keyboards, not JACK's");
        test::JackServer server;
        QVERIFY2(server.running(), server.failure().c_str());
        const auto window = open({folder / "data/Score.TXT"});
        SettingsPage* page = window->addSettingsPage(QString::fromStdString((folder / "tonarika.conf").string()));
        const auto* keyboards = child<QLabel>(*page, QStringLiteral("midiKeyboards"));
        QCOMPARE(keyboards->accessibleName(), QStringLiteral("見えているMIDIキーボード"));
        QTRY_COMPARE_WITH_TIMEOUT(keyboards->text(), QStringLiteral("見えているキーボード: なし"), 20000);
        {
            test::JackKeyboard keyboard("Page Keyboard");
            QTRY_COMPARE_WITH_TIMEOUT(keyboards->text(), QStringLiteral("見えているキーボード: Page Keyboard:out"), 20000);
            QCOMPARE(keyboards->accessibleDescription(), keyboards->text());
        }
        QTRY_COMPARE_WITH_TIMEOUT(keyboards->text(), QStringLiteral("見えているキーボード: なし"), 20000);
    }

    // The settings page shows the file, writes each change at once and keeps what it does
    // not know, never leaves no timbre chosen, and names every control.
    // The home page comes first: today's answers, those of a run still going among them, the
    // streak and the next step in the mode practised most lately; its buttons start the game
    // and the test. A first start shows the plan instead, which one click sets.
    void theHomePageSaysTodayTheNextStepAndLeadsIntoPractice()
    {
        ::setenv("TZ", "UTC", 1);
        ::tzset();
        const fs::path journal = folder / "data" / "trials.sqlite";
        const QString file = QString::fromStdString((folder / "config" / "tonarika.conf").string());
        fs::create_directories(folder / "config");
        std::ofstream(file.toStdString()) << "[questions]\nnotes = growing\n";
        const std::int64_t morning = QDateTime(kToday, QTime(8, 0), Qt::UTC).toMSecsSinceEpoch();
        TrialJournal writer(journal);
        for (int i = 0; i < 3; ++i)
            writer.record({morning - 86'400'000 + i * 30'000, Mode::Easy, 1, 0, 0, 900, 1});
        // Today, in Hard: a run that has written no score yet, twelve ド right 30 s apart.
        for (int i = 0; i < 12; ++i)
            writer.record({morning + i * 30'000, Mode::Hard, 2, 0, 0, 900, 1});
        writer.close(TrialJournal::kFlushLimit);
        const auto window = open({folder / "data/Score.TXT"}, journal);
        window->addSettingsPage(file);
        auto* pages = child<QTabWidget>(*window, QStringLiteral("pages"));
        QCOMPARE(pages->widget(0), window->home());
        QCOMPARE(pages->tabText(0), QStringLiteral("今日"));
        QCOMPARE(pages->currentWidget(), window->home());
        auto* figures = child<QLabel>(*window, QStringLiteral("todayFigures"));
        QTRY_COMPARE(figures->text(), QStringLiteral("今日: 12 問、5 分\n練習した日の連続: 2 日（最長 2 日）"));
        QCOMPARE(figures->accessibleName(), figures->text());
        QCOMPARE(child<QLabel>(*window, QStringLiteral("nextStep"))->text(),
                 QStringLiteral("次の一歩（Hard）: 次は ラ: ド があと 8 問、ミ があと 20 問、ソ があと 20 問"));
        QVERIFY(!child<QGroupBox>(*window, QStringLiteral("firstPlan"))->isVisible());

        // The game, still in its run, answers once more.
        {
            TrialJournal more(journal);
            more.record({morning + 12 * 30'000, Mode::Hard, 2, 0, 0, 900, 1});
        }
        QTRY_VERIFY2(figures->text().startsWith(QStringLiteral("今日: 13 問")), qPrintable(figures->text()));

        QStringList launched;
        window->home()->setLauncher([&launched](const QStringList& arguments) {
            launched << arguments.join(u' ');
            return true;
        });
        child<QPushButton>(*window, QStringLiteral("practise"))->click();
        child<QPushButton>(*window, QStringLiteral("takeTest"))->click();
        QCOMPARE(launched, (QStringList{QStringLiteral("--hard"), QStringLiteral("--test")}));

        // A new learner: nothing in the journal yet.
        const fs::path fresh = folder / "fresh" / "trials.sqlite";
        const QString freshFile = QString::fromStdString((folder / "fresh" / "tonarika.conf").string());
        const auto first = open({folder / "fresh/Score.TXT"}, fresh);
        first->addSettingsPage(freshFile);
        auto* plan = child<QGroupBox>(*first, QStringLiteral("firstPlan"));
        QTRY_VERIFY(plan->isVisible());
        QVERIFY(!child<QLabel>(*first, QStringLiteral("nextStep"))->isVisible());
        child<QPushButton>(*first, QStringLiteral("setPlan"))->click();
        const QuestionSettings set = readSettingsFile(freshFile).settings;
        QCOMPARE(set.timbres, (std::vector<Timbre>{Timbre::Piano, Timbre::Marimba, Timbre::Guitar}));
        QVERIFY(set.threeOctaves && set.guard && set.weakNotes);
        QCOMPARE(set.notes, NoteChoice::Growing);
        launched.clear();
        first->home()->setLauncher([&launched](const QStringList& arguments) {
            launched << arguments.join(u' ');
            return true;
        });
        child<QPushButton>(*first, QStringLiteral("practise"))->click();
        QCOMPARE(launched, QStringList{QStringLiteral("--hard")});
    }

    // The names chosen on the settings page show in its sample at once, then in the notes'
    // table and the CSV; the file holds the word, the journal its indices.
    void theNotesAreNamedAsChosenOnThePagesAndInTheCsv()
    {
        ::setenv("TZ", "UTC", 1);
        ::tzset();
        const fs::path journal = folder / "data" / "trials.sqlite";
        const QString file = QString::fromStdString((folder / "config" / "tonarika.conf").string());
        fs::create_directories(folder / "config");
        const std::int64_t morning = QDateTime(kToday, QTime(8, 0), Qt::UTC).toMSecsSinceEpoch();
        {
            TrialJournal writer(journal);
            writer.record({morning, Mode::Hard, 1, 9, 10, 900, 1});
        }
        const auto window = open({folder / "data/Score.TXT"}, journal);
        window->addSettingsPage(file);
        auto* table = child<QTableWidget>(*window, QStringLiteral("notesTable"));
        QCOMPARE(table->item(0, 0)->text(), QStringLiteral("ド"));
        child<QComboBox>(*window, QStringLiteral("names"))->setCurrentIndex(1);
        QCOMPARE(child<QLabel>(*window, QStringLiteral("namesSample"))->text(),
                 QStringLiteral("例: C  C♯/D♭  D  D♯/E♭  E  F  F♯/G♭  G  G♯/A♭  A  A♯/B♭  B"));
        child<QComboBox>(*window, QStringLiteral("accidentals"))->setCurrentIndex(1);
        QCOMPARE(readSettingsFile(file).display.naming, (NoteNaming{NameSystem::Letters, Accidentals::Flats}));
        QTRY_COMPARE(table->item(0, 0)->text(), QStringLiteral("C"));
        const QString csv = QString::fromStdString((folder / "named.csv").string());
        window->setFileChooser([csv] { return csv; });
        child<QAction>(*window, QStringLiteral("exportCsv"))->trigger();
        QFile in(csv);
        QVERIFY(in.open(QIODevice::ReadOnly));
        const QString rows = QString::fromUtf8(in.readAll());
        QVERIFY2(rows.contains(QStringLiteral(",G♭,A♭,")), qPrintable(rows));
        // Back to the designed names, for the tests after this one too.
        child<QComboBox>(*window, QStringLiteral("names"))->setCurrentIndex(0);
        child<QComboBox>(*window, QStringLiteral("accidentals"))->setCurrentIndex(2);
        QTRY_COMPARE(table->item(0, 0)->text(), QStringLiteral("ド"));
        QCOMPARE(noteNaming(), NoteNaming{});
    }

    // Every text of every page, with nothing read yet, as the list kept beside the tests:
    // Japanese, character for character as it has been. What tells of the machine (its
    // MIDI keyboards, its user systemd) is left out.
    void everyTextIsTheOneKept()
    {
        const QString file = QString::fromStdString((folder / "config" / "tonarika.conf").string());
        const auto window = open({folder / "none/Score.TXT"}, folder / "none" / "trials.sqlite");
        window->addSettingsPage(file);
        QTRY_VERIFY(window->journalSnapshot());
        const QStringList machine{QStringLiteral("midiKeyboards"), QStringLiteral("remindScheduled")};
        const std::vector<std::pair<QString, QString>> stand{{QString::fromStdString(folder.string()), QStringLiteral("<folder>")}};
        QString difference;
        QVERIFY2(test::sameTexts(test::windowTexts(*window, machine, stand), QStringLiteral("texts-progress.txt"), &difference),
                 qPrintable(difference));
    }

    // 音ごと for the notes sung: each note's share within 50 cents, its accuracy and its
    // precision, and its errors over time, named for a screen reader; the CSV keeps each error.
    void theSungNotesShowTheirErrorsInCents()
    {
        const fs::path journal = folder / "data" / "trials.sqlite";
        const std::int64_t morning = QDateTime(kToday, QTime(8, 0), Qt::UTC).toMSecsSinceEpoch();
        {
            TrialJournal writer(journal);
            writer.record({morning, Mode::Hard, 1, 5, 5, 900, 1});
            int i = 0;
            for (const std::int32_t cents : {-50, 10, 40, 120}) {
                // +120 cents from ラ is nearer ラ＃.
                Trial sung{morning + ++i * 1000, Mode::Sing, 2, 5, NoteIndex(cents > 50 ? 11 : 5), 700, 1};
                sung.input = AnswerInput::Voice;
                sung.centsOff = cents;
                writer.record(sung);
            }
        }
        const auto window = open({folder / "data/Score.TXT"}, journal);
        window->notes()->choose(Period::All, ModeChoice::Sung);
        auto* table = child<QTableWidget>(*window, QStringLiteral("sungTable"));
        QCOMPARE(table->rowCount(), 1);
        QStringList row;
        for (int column = 0; column < table->columnCount(); ++column)
            row << table->item(0, column)->text();
        QCOMPARE(row, (QStringList{QStringLiteral("ラ"), QStringLiteral("4"), QStringLiteral("75.0 %"), QStringLiteral("+30 セント"),
                                   QStringLiteral("70.7 セント")}));
        QVERIFY(child<QTableWidget>(*window, QStringLiteral("notesTable"))->isHidden());
        QCOMPARE(child<QWidget>(*window, QStringLiteral("sungChart"))->accessibleDescription(),
                 QStringLiteral("歌った答え 4 回、そのうち ±50 セント以内 3 回。"));
        const QString csv = QString::fromStdString((folder / "sung.csv").string());
        window->setFileChooser([csv] { return csv; });
        child<QAction>(*window, QStringLiteral("exportCsv"))->trigger();
        QFile in(csv);
        QVERIFY(in.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(in.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 6);
        QVERIFY2(lines.last().startsWith(QStringLiteral("2026")) && lines.last().endsWith(QStringLiteral(",Sing,2,ラ,ラ＃(シ♭),0,700,1,ピアノ,4,0,440,,voice,,120")),
                 qPrintable(lines.last()));
        // At 640 x 400 the table shows whole across the page, the chart keeps its height, and
        // both are named for screen readers.
        window->resize(640, 400);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        child<QTabWidget>(*window, QStringLiteral("pages"))->setCurrentWidget(window->notes());
        QTest::qWait(50);
        auto* scroll = window->notes()->findChild<QScrollArea*>();
        const int right = table->mapTo(scroll->widget(), QPoint(table->width(), 0)).x();
        QVERIFY2(right <= scroll->viewport()->width(), qPrintable(QStringLiteral("%1 > %2").arg(right).arg(scroll->viewport()->width())));
        QVERIFY(table->horizontalHeader()->length() <= table->viewport()->width());
        auto* chart = child<QWidget>(*window, QStringLiteral("sungChart"));
        QVERIFY2(chart->height() >= 200 && chart->width() >= 400, qPrintable(QStringLiteral("%1 x %2").arg(chart->width()).arg(chart->height())));
        QVERIFY(!table->accessibleName().isEmpty() && !chart->accessibleName().isEmpty());
        // Easy and Hard's figures count the key's answer alone.
        window->notes()->choose(Period::All, ModeChoice::Both);
        auto* notes = child<QTableWidget>(*window, QStringLiteral("notesTable"));
        QVERIFY(!notes->isHidden() && child<QWidget>(*window, QStringLiteral("sungView"))->isHidden());
        int questions = 0;
        for (int i = 0; i < notes->rowCount(); ++i)
            questions += notes->item(i, 1)->text().toInt();
        QCOMPARE(questions, 1);
    }

    // With the settings' language English, the pages are built again in it: every text,
    // what a screen reader hears and the notes' names too, without one Japanese character.
    void everyTextIsEnglishWithTheLanguageEnglish()
    {
        const fs::path journal = folder / "data" / "trials.sqlite";
        const std::int64_t morning = QDateTime(kToday, QTime(8, 0), Qt::UTC).toMSecsSinceEpoch();
        {
            TrialJournal writer(journal);
            for (int i = 0; i < 22; ++i)
                writer.record({morning + i * 1000, Mode::Easy, 1, 0, NoteIndex(i < 2 ? 1 : 0), 900, 1});
            writer.record({morning + 60'000, Mode::Hard, 2, 7, 8, 2500, 2});
        }
        fs::create_directories(folder / "config");
        std::ofstream(folder / "config" / "tonarika.conf") << "[display]\nlanguage = en\n";
        const auto window = open({folder / "data/Score.TXT"}, journal);
        window->addSettingsPage(QString::fromStdString((folder / "config" / "tonarika.conf").string()));
        QTRY_COMPARE(window->windowTitle(), QStringLiteral("Tonarika practice book"));
        QTRY_VERIFY(window->notes()->findChild<QTableWidget*>(QStringLiteral("notesTable"))->rowCount() > 0);
        auto* table = child<QTableWidget>(*window, QStringLiteral("notesTable"));
        QCOMPARE(table->item(0, 0)->text(), QStringLiteral("Do"));
        const QStringList japanese = test::japaneseTexts(test::windowTexts(*window));
        QVERIFY2(japanese.isEmpty(), qPrintable(japanese.join(u'\n')));
    }

    void theSettingsPageWritesEachChoiceAndKeepsTheRest()
    {
        const QString file = QString::fromStdString((folder / "config" / "tonarika.conf").string());
        fs::create_directories(folder / "config");
        {
            std::ofstream out(file.toStdString());
            out << "; my own words\n[questions]\ntimbres=clarinet\nweak_notes=true\n[elsewhere]\nkept=yes\n";
        }
        const auto window = open({folder / "data/Score.TXT"});
        SettingsPage* page = window->addSettingsPage(file);
        const auto box = [&](Timbre timbre) {
            return child<QCheckBox>(*page, QStringLiteral("timbre_") + toQString(timbreKey(timbre)));
        };
        QVERIFY(box(Timbre::Clarinet)->isChecked());
        QVERIFY(!box(Timbre::Piano)->isChecked());
        QVERIFY(child<QRadioButton>(*page, QStringLiteral("oneOctave"))->isChecked());
        QVERIFY(child<QCheckBox>(*page, QStringLiteral("weakNotes"))->isChecked());

        box(Timbre::Sine)->click();
        child<QRadioButton>(*page, QStringLiteral("threeOctaves"))->click();
        child<QCheckBox>(*page, QStringLiteral("guard"))->click();
        const QuestionSettings chosen{{Timbre::Clarinet, Timbre::Sine}, true, true, true};
        QCOMPARE(readSettingsFile(file).settings, chosen);
        const QSettings back(file, QSettings::IniFormat);
        QCOMPARE(back.value(QStringLiteral("questions/weak_notes")).toString(), QStringLiteral("true"));
        QCOMPARE(back.value(QStringLiteral("elsewhere/kept")).toString(), QStringLiteral("yes"));
        const auto text = [&] {
            QFile in(file);
            in.open(QIODevice::ReadOnly);
            return QString::fromUtf8(in.readAll());
        };
        QVERIFY2(text().startsWith(QStringLiteral("; my own words\n")), qPrintable(text()));
        QCOMPARE(child<QLabel>(*page, QStringLiteral("settingsStatus"))->text(),
                 QStringLiteral("保存しました。次の問題から使われます。"));
        // The running game's receipt for what the file holds now: taken up.
        QVERIFY(writeReceipt(file, readSettingsFile(file).digest));
        QTRY_COMPARE(child<QLabel>(*page, QStringLiteral("settingsStatus"))->text(),
                     QStringLiteral("保存しました。次の問題から使われます。ゲームに反映されました。"));
        // Each option says what it does, under it and in its tool tip.
        for (const char* option : {"timbres", "octaves", "guard", "weakNotes", "showAnswer", "notes", "a4", "midi", "dailyGoal", "windowKind"}) {
            auto* control = child<QWidget>(*page, QString::fromLatin1(option));
            auto* line = child<QLabel>(*page, QStringLiteral("explain_") + QString::fromLatin1(option));
            QVERIFY2(!line->text().isEmpty() && control->toolTip() == line->text(), option);
        }

        // Edited by hand meanwhile: the page shows the edit, and its next write keeps it.
        {
            std::ofstream out(file.toStdString());
            out << "; my own words\n[questions]\ntimbres=clarinet, sine, violin\noctaves=3-5\nguard=true\nweak_notes=false\n";
        }
        QTRY_VERIFY(!child<QCheckBox>(*page, QStringLiteral("weakNotes"))->isChecked());
        QVERIFY(child<QLabel>(*page, QStringLiteral("settingsStatus"))->text().contains(QStringLiteral("「violin」")));
        child<QRadioButton>(*page, QStringLiteral("oneOctave"))->click();
        QCOMPARE(text(), QStringLiteral("; my own words\n[questions]\ntimbres=clarinet, sine, violin\noctaves=4\nguard=true\n"
                                        "weak_notes=false\n"));

        // A file it cannot read whole is never written over, and the page says so.
        {
            std::ofstream out(file.toStdString());
            out << "[window]\nsize=3\n" << std::string(70 * 1024, '#') << "\n";
        }
        QTRY_VERIFY(child<QLabel>(*page, QStringLiteral("settingsStatus"))->text().contains(QStringLiteral("64 KiB")));
        const QString large = text();
        child<QCheckBox>(*page, QStringLiteral("guard"))->click();
        QCOMPARE(text(), large);
        QCOMPARE(child<QLabel>(*page, QStringLiteral("settingsStatus"))->text(),
                 QStringLiteral("設定を保存できませんでした: 設定ファイルが 64 KiB より大きいです。設定ファイルはそのままです。"));
        {
            std::ofstream out(file.toStdString());
            out << "[questions]\ntimbres=clarinet, sine\nguard=true\n";
        }
        QTRY_VERIFY(child<QLabel>(*page, QStringLiteral("settingsStatus"))->text().isEmpty());

        // Which notes are asked, and A4: the notes chosen begin as Easy's seven, at least two
        // stay, and each change is written.
        auto* chosenNotes = child<QRadioButton>(*page, QStringLiteral("chosenNotes"));
        const auto note = [&](int index) { return child<QCheckBox>(*page, QStringLiteral("note_%1").arg(index)); };
        QVERIFY(child<QRadioButton>(*page, QStringLiteral("allNotes"))->isChecked());
        QVERIFY(!note(0)->isEnabled());
        chosenNotes->click();
        QVERIFY(note(0)->isEnabled() && note(0)->isChecked() && !note(7)->isChecked());
        QCOMPARE(readSettingsFile(file).settings.notes, NoteChoice::Chosen);
        QCOMPARE(readSettingsFile(file).settings.chosen.size(), kWhiteKeyCount);
        for (int index = 1; index < kWhiteKeyCount; ++index)
            note(index)->click();
        QVERIFY2(note(6)->isChecked(), "two stay");
        QCOMPARE(readSettingsFile(file).settings.chosen.bits(), std::uint16_t(0b1000001));
        QCOMPARE(note(7)->text(), QStringLiteral("ド＃(レ♭)"));
        auto* a4 = child<QSpinBox>(*page, QStringLiteral("a4"));
        QCOMPARE(a4->value(), 440);
        QCOMPARE(a4->minimum(), 415);
        QCOMPARE(a4->maximum(), 466);
        a4->setValue(442);
        QCOMPARE(readSettingsFile(file).settings.a4, 442);
        QVERIFY(!a4->accessibleName().isEmpty());
        // Every day: the goal and the answer window, each its own key; another choice
        // after them leaves them as they are.
        auto* goal = child<QSpinBox>(*page, QStringLiteral("dailyGoal"));
        QCOMPARE(goal->text(), QStringLiteral("なし"));
        goal->setValue(15);
        QCOMPARE(readSettingsFile(file).daily.goalMinutes, 15);
        child<QComboBox>(*page, QStringLiteral("windowKind"))->setCurrentIndex(1);
        child<QDoubleSpinBox>(*page, QStringLiteral("windowSeconds"))->setValue(1.5);
        QCOMPARE(readSettingsFile(file).settings.answerWindow, (AnswerWindow{AnswerWindow::Kind::Fixed, 1500}));
        child<QComboBox>(*page, QStringLiteral("windowKind"))->setCurrentIndex(2);
        QCOMPARE(readSettingsFile(file).settings.answerWindow, (AnswerWindow{AnswerWindow::Kind::Adaptive, 0}));
        child<QRadioButton>(*page, QStringLiteral("growingNotes"))->click();
        QCOMPARE(readSettingsFile(file).settings.notes, NoteChoice::Growing);
        QCOMPARE(readSettingsFile(file).settings.answerWindow, (AnswerWindow{AnswerWindow::Kind::Adaptive, 0}));
        QCOMPARE(readSettingsFile(file).daily.goalMinutes, 15);
        QVERIFY(!note(0)->isEnabled());
        auto* midi = child<QCheckBox>(*page, QStringLiteral("midi"));
        QVERIFY2(midi->isChecked(), "on by default");
        midi->click();
        QCOMPARE(readSettingsFile(file).midi, false);
        QCOMPARE(readSettingsFile(file).settings.notes, NoteChoice::Growing);
        QCOMPARE(midi->text(), QStringLiteral("MIDIキーボードで答える"));
        midi->click();
        QCOMPARE(readSettingsFile(file).midi, true);

        // The last timbre cannot be taken away.
        box(Timbre::Clarinet)->click();
        box(Timbre::Sine)->click();
        QVERIFY(box(Timbre::Sine)->isChecked());
        QCOMPARE(readSettingsFile(file).settings.timbres, std::vector<Timbre>{Timbre::Sine});

        for (QAbstractButton* control : page->findChildren<QAbstractButton*>()) {
            QVERIFY2(!control->text().isEmpty() && control->accessibleName() == control->text(),
                     qPrintable(control->objectName()));
        }
        // The page's words, as the player reads them.
        const auto* pages = child<QTabWidget>(*window, QStringLiteral("pages"));
        QCOMPARE(pages->tabText(pages->indexOf(page)), QStringLiteral("練習の設定"));
        const struct {
            const char* control;
            const char* text;
        } captions[] = {
            {"timbres", "音色"},
            {"octaves", "音域"},
            {"oneOctave", "1 オクターブ（ド4〜シ4）"},
            {"threeOctaves", "3 オクターブ（ド3〜シ5）"},
            {"guard", "前の音を手がかりにしない"},
            {"weakNotes", "苦手な音を多めに"},
            {"midiGroup", "MIDIキーボード"},
            {"daily", "毎日の練習"},
            {"remind", "お知らせする"},
        };
        for (const auto& c : captions) {
            auto* control = child<QWidget>(*page, QString::fromLatin1(c.control));
            const auto* group = qobject_cast<QGroupBox*>(control);
            const auto* button = qobject_cast<QAbstractButton*>(control);
            QCOMPARE(group ? group->title() : button ? button->text() : QString(), QString::fromUtf8(c.text));
        }
        QCOMPARE(page->findChildren<QCheckBox*>().size(), kTimbreCount + 5 + kNoteCount);
        QCOMPARE(child<QGroupBox>(*page, QStringLiteral("notes"))->title(), QStringLiteral("出題する音"));
        for (const auto& [name, caption] : {std::pair("allNotes", "モードの音すべて"), std::pair("growingNotes", "少しずつ増やす"),
                                            std::pair("chosenNotes", "選んだ音だけ")})
            QCOMPARE(child<QRadioButton>(*page, QString::fromLatin1(name))->text(), QString::fromUtf8(caption));
    }

    // A journal the window cannot read never keeps the score logs' page waiting, and both
    // the status bar and the notes' page say why, in place of "no records yet".
    void aJournalThatCannotBeReadIsSaidAndTheScoresStillShow()
    {
        const fs::path journal = folder / "data" / "trials.sqlite";
        QVERIFY(::mkfifo(journal.c_str(), 0600) == 0);
        const auto window = open({folder / "data/Score.TXT"}, journal);
        QVERIFY(window->snapshot());
        QCOMPARE(window->snapshot()->history.records.size(), written.size());
        QVERIFY(window->journalSnapshot());
        const JournalFault fault = *window->journalSnapshot()->fault;
        QCOMPARE(fault.kind, JournalFault::Kind::NotAFile);
        // Whichever reading comes last, the score logs' or the journal's, the page says why.
        for (int reading = 0; reading < 2; ++reading) {
            QVERIFY(child<QLabel>(*window, QStringLiteral("logFaults"))->text().contains(journalFaultText(fault)));
            QVERIFY(child<QLabel>(*window, QStringLiteral("emptyJournal"))->text().contains(journalFaultText(fault)));
            QSignalSpy shown(window.get(), &ProgressWindow::shown);
            window->reload();
            QVERIFY(shown.wait(5000));
        }
    }

    void anEmptyJournalSaysWhereTheGameKeepsIt()
    {
        const fs::path journal = folder / "nowhere" / "trials.sqlite";
        const auto window = open({folder / "data/Score.TXT"}, journal);
        QVERIFY(window->snapshot());
        auto* sentence = child<QLabel>(*window, QStringLiteral("emptyJournal"));
        QVERIFY(sentence->isVisibleTo(window->notes()));
        QVERIFY(sentence->text().contains(QString::fromStdString(journal.string())));
        QVERIFY2(!fs::exists(journal.parent_path()), "reading makes nothing");
    }

    // Under Xvfb: the window as a player sees it, with both modes drawn in their colours.
    void photographShowsBothModes()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("the photograph is taken under xvfb-run");
        const auto window = open({folder / "data/Score.TXT"});
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QTest::qWait(300);
        const QImage shot = window->screen()->grabWindow(window->winId()).toImage();
        if (const QString path = qEnvironmentVariable("TONARIKA_PROGRESS_SCREENSHOT"); !path.isEmpty())
            QVERIFY(shot.save(path));
        for (const QString& mode : kScoreModes) {
            const QColor colour = TrendPage::modeColour(mode);
            int pixels = 0;
            for (int y = 0; y < shot.height(); ++y) {
                for (int x = 0; x < shot.width(); ++x)
                    pixels += shot.pixelColor(x, y) == colour;
            }
            QVERIFY2(pixels > 50, qPrintable(mode));
        }
    }

    // Run by ctest at QT_SCALE_FACTOR=2 on a 1280 x 1024 screen: 640 x 512 of room. The
    // window can be made as small as 640 x 400, and opens on the screen, tables and all.
    void fitsASmallOrDoubleDensityScreen()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("run under xvfb-run at QT_SCALE_FACTOR=2");
        auto window = std::make_unique<ProgressWindow>(std::vector<fs::path>{folder / "data/Score.TXT"},
                                                       ScoreLogReader(ScoreLogParser(kJapanese), "UTF-8"), [] { return kToday; });
        QSignalSpy shown(window.get(), &ProgressWindow::shown);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QVERIFY(window->snapshot() || shown.wait(5000));
        QVERIFY2(window->minimumSizeHint().width() <= 640 && window->minimumSizeHint().height() <= 400,
                 qPrintable(QStringLiteral("%1 x %2").arg(window->minimumSizeHint().width()).arg(window->minimumSizeHint().height())));
        const QRect screen = window->screen()->availableGeometry();
        QVERIFY2(screen.contains(window->geometry()), "the window is off the screen");
        // The settings page does not hold the window larger either.
        SettingsPage* settings = window->addSettingsPage(QString::fromStdString((folder / "settings.conf").string()));
        QVERIFY2(window->minimumSizeHint().width() <= 640 && window->minimumSizeHint().height() <= 400,
                 qPrintable(QStringLiteral("%1 x %2").arg(window->minimumSizeHint().width()).arg(window->minimumSizeHint().height())));
        QVERIFY(settings->findChild<QScrollArea*>());
        const QList<QWidget*> parts{child<QTableWidget>(*window, QStringLiteral("figures")), window->statusBar(),
                                    window->trend()->chartView()};
        for (QWidget* part : parts) {
            const QRect onScreen(part->mapToGlobal(QPoint(0, 0)), part->size());
            QVERIFY2(part->isVisible() && screen.contains(onScreen), part->metaObject()->className());
        }
        // The chart and the table each keep room enough to be read.
        QVERIFY(parts[0]->height() >= 100 && parts[2]->height() >= 100);
    }
};

int main(int argc, char** argv)
{
    ProgressWindowTest test;
    return runWindowsTest(test, argc, argv);
}

#include "ProgressWindowTest.moc"
