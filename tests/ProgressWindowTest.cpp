// The progress window on logs the game's writer produced: its series, averages and
// tables, the sentence for an empty log, a change to a log, and (under Xvfb) a
// photograph checked for both modes' colours.

// own
#include "Appearance.h"
#include "Progress.h"
#include "ProgressWindow.h"
#include "ScoreFile.h"
#include "WindowsTestMain.h"

// Qt
#include <QChartView>
#include <QDateTimeAxis>
#include <QLabel>
#include <QLineSeries>
#include <QScatterSeries>
#include <QScreen>
#include <QStackedWidget>
#include <QTableWidget>
#include <QToolTip>
#include <QWheelEvent>

// system
#include <unistd.h>

// std
#include <algorithm>
#include <fstream>

using namespace tonarika;
namespace fs = std::filesystem;

namespace {

const QDate kToday(2026, 12, 7);
const QLocale kJapanese(QLocale::Japanese, QLocale::Japan);

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

    std::unique_ptr<ProgressWindow> open(std::vector<fs::path> logs)
    {
        auto window = std::make_unique<ProgressWindow>(std::move(logs), ScoreLogReader(ScoreLogParser(kJapanese), "UTF-8"),
                                                       [] { return kToday; });
        window->resize(900, 480);
        window->show();
        return window;
    }
    template <typename T>
    static T* child(const QWidget& window, const QString& name)
    {
        return test::childNamed<T>(window, name);
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
        std::ofstream(folder / "data/Score.TXT", std::ios::app | std::ios::binary) << "garbage that is no record\r\n";
    }
    void cleanup() { fs::remove_all(folder); }

    void showsEveryRunItsMovingAverageAndItsModesFigures()
    {
        const auto window = open({folder / "program/Score.TXT", folder / "data/Score.TXT"});
        QCOMPARE(window->windowTitle(), QStringLiteral("Tonarika スコアの推移"));
        QCOMPARE(window->palette().color(QPalette::Window), QColor(0xC0, 0xC0, 0xFF));
        QCOMPARE(child<QLabel>(*window, QStringLiteral("unreadableLines"))->text(), QStringLiteral("読めない行: 1"));

        for (const QString& mode : {QStringLiteral("Easy"), QStringLiteral("Hard")}) {
            std::vector<double> rates;
            for (const auto& run : written) {
                if (run.mode == mode)
                    rates.push_back(run.rate());
            }
            auto* points = window->points(mode);
            auto* average = window->average(mode);
            QCOMPARE(points->count(), int(rates.size()));
            QCOMPARE(points->at(0).y(), rates.front());
            const auto averages = movingAverage(rates);
            QCOMPARE(average->count(), int(rates.size()));
            QCOMPARE(average->at(average->count() - 1).y(), averages.back());

            const ModeSummary summary = summarize(window->history().records, mode, kToday);
            auto* table = child<QTableWidget>(*window, QStringLiteral("table_") + mode);
            QCOMPARE(table->item(0, 0)->text(), QString::number(rates.size()));
            QCOMPARE(table->item(1, 0)->text(), QString::number(summary.questions));
            QCOMPARE(table->item(7, 0)->text(), QString::number(summary.questionsToday));
        }
        std::uint32_t easyMisses = 0;
        for (const auto& run : written)
            easyMisses += run.mode == QLatin1String("Easy") ? run.misses : 0;
        QCOMPARE(child<QTableWidget>(*window, QStringLiteral("table_Easy"))->item(2, 0)->text(), QString::number(easyMisses));
    }

    void anEmptyOrMissingLogSaysWhereTheGameWritesIt()
    {
        const fs::path missing = folder / "nowhere/Score.TXT";
        const auto window = open({missing});
        auto* stack = window->findChild<QStackedWidget*>();
        auto* sentence = child<QLabel>(*window, QStringLiteral("emptyLog"));
        QCOMPARE(stack->currentWidget(), sentence);
        QVERIFY(sentence->text().contains(QString::fromStdString(missing.string())));
        QVERIFY(sentence->text().contains(QStringLiteral("最初の練習を終えると")));
        QCOMPARE(window->points(QStringLiteral("Easy"))->count(), 0);
    }

    void aChangedOrNewLogIsReadAgain()
    {
        const auto window = open({folder / "program/Score.TXT", folder / "data/Score.TXT"});
        auto* points = window->points(QStringLiteral("Hard"));
        const int before = points->count();
        writeRun(folder / "data", QDateTime(kToday, QTime(21, 0), Qt::UTC), "Hard", 0, 20);
        QTRY_COMPARE(points->count(), before + 1);
        // The program folder had no log at the start; the game may create one later.
        writeRun(folder / "program", QDateTime(kToday, QTime(22, 0), Qt::UTC), "Hard", 1, 20);
        QTRY_COMPARE(points->count(), before + 2);
    }

    void theTimeAxisZoomsAndDragsAndAPointTellsItsRun()
    {
        const auto window = open({folder / "data/Score.TXT"});
        auto* view = window->findChild<QChartView*>();
        auto* days = qobject_cast<QDateTimeAxis*>(view->chart()->axes(Qt::Horizontal).first());
        const auto span = [days] { return days->min().msecsTo(days->max()); };
        const qint64 before = span();
        const QPointF middle = view->chart()->plotArea().center();
        QWheelEvent forward(middle, view->mapToGlobal(middle.toPoint()), {}, QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                            Qt::NoScrollPhase, false);
        QApplication::sendEvent(view->viewport(), &forward);
        QVERIFY(span() < before);
        const QDateTime start = days->min();
        QTest::mousePress(view->viewport(), Qt::LeftButton, {}, middle.toPoint());
        QTest::mouseMove(view->viewport(), middle.toPoint() + QPoint(60, 0));
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, middle.toPoint() + QPoint(60, 0));
        QVERIFY(days->min() < start);  // dragged right: earlier days come into view

        auto* points = window->points(QStringLiteral("Hard"));
        emit points->hovered(points->at(0), true);
        const ScoreRecord& first = *std::find_if(written.begin(), written.end(),
                                                 [](const ScoreRecord& run) { return run.mode == QLatin1String("Hard"); });
        QVERIFY(QToolTip::text().contains(QStringLiteral("Hard")));
        QVERIFY(QToolTip::text().contains(QStringLiteral("%1/%2 回").arg(first.misses).arg(first.questions)));
        QVERIFY(QToolTip::text().contains(first.when.toString(QStringLiteral("HH:mm"))));
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
        for (const QString& mode : {QStringLiteral("Easy"), QStringLiteral("Hard")}) {
            const QColor colour = ProgressWindow::modeColour(mode);
            int pixels = 0;
            for (int y = 0; y < shot.height(); ++y) {
                for (int x = 0; x < shot.width(); ++x)
                    pixels += shot.pixelColor(x, y) == colour;
            }
            QVERIFY2(pixels > 50, qPrintable(mode));
        }
    }
};

int main(int argc, char** argv)
{
    ProgressWindowTest test;
    return runWindowsTest(test, argc, argv);
}

#include "ProgressWindowTest.moc"
