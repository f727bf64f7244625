// Runs under a real X server (Xvfb): shows the main window, photographs the screen
// and checks that the photo shows the keyboard and the window's colours.

// own
#include "WindowsTestMain.h"
#include "Form1.h"
#include "fakes/FakeJournal.h"
#include "fakes/FakePlayer.h"
#include "fakes/FakeScoreLog.h"
#include "fakes/ScriptedRandom.h"

// Qt
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

using namespace tonarika;

namespace {

// The window as the screen shows it, frame and all; also written to `path` if given.
QImage photograph(QWidget& window, const QString& path)
{
    const QRect frame = window.frameGeometry();
    const qreal ratio = window.devicePixelRatioF();
    QImage shot = window.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height()).toImage();
    shot.setDevicePixelRatio(ratio);
    if (!path.isEmpty())
        shot.save(path);
    return shot;
}

}  // namespace

class ScreenshotTest : public QObject {
    Q_OBJECT
private slots:
    void mainWindowOnARealDisplayShowsItsKeysAndColours()
    {
        QVERIFY2(QGuiApplication::platformName() == QLatin1String("xcb"), "run under xvfb-run");
        test::FakePlayer player;
        test::FakeScoreLog scoreLog;
        test::ScriptedRandom random;
        test::FakeJournal journal;
        Form1 window(player, random, scoreLog, journal);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::qWait(300);

        const QImage shot = photograph(window, qEnvironmentVariable("TONARIKA_SCREENSHOT"));
        const qreal ratio = shot.devicePixelRatio();
        const QPoint client = window.mapToGlobal(QPoint(0, 0)) - window.frameGeometry().topLeft();
        const auto pixel = [&](const char* name, QPoint offset) {
            const auto* button = test::childNamed(window, QLatin1String(name));
            return shot.pixelColor((client + button->mapTo(&window, offset)) * ratio);
        };
        // The lower half of a white key, the middle of a black key, the window itself.
        QCOMPARE(pixel("cmdKey_1", QPoint(12, 55)).lightness() > 200, true);
        QCOMPARE(pixel("cmdKey_8", QPoint(8, 20)).lightness() < 60, true);
        QCOMPARE(shot.pixelColor((client + window.centralWidget()->mapTo(&window, QPoint(350, 158))) * ratio),
                 QColor(0xC0, 0xC0, 0xFF));

        // Twelve questions, two of them missed: the right look with two-digit counts.
        auto* listen = test::childNamed<QPushButton>(window, QStringLiteral("Command1"));
        for (int question = 0; question < 12; ++question) {
            const int note = 1 + question % 2;  // Re and Mi by turns; Do is never asked
            random.values.push_back(test::ScriptedRandom::valueFor(note, 7));
            QTest::keyClick(listen, Qt::Key_Space);
            if (question < 2)
                QTest::keyClick(listen, Qt::Key_A);
            QTest::keyClick(listen, note == 1 ? Qt::Key_S : Qt::Key_D);
        }
        QCOMPARE(test::childNamed<QLabel>(window, QStringLiteral("CapMiss"))->text(), QStringLiteral("2/12 回"));
        QTest::qWait(100);
        const QImage played = photograph(window, qEnvironmentVariable("TONARIKA_SCREENSHOT_PLAYED"));
        const auto* label = test::childNamed(window, QStringLiteral("Label1"));
        QCOMPARE(played.pixelColor((client + label->mapTo(&window, QPoint(4, 4))) * ratio), QColor(Qt::red));
    }
};

int main(int argc, char** argv)
{
    ScreenshotTest test;
    return runWindowsTest(test, argc, argv);
}

#include "ScreenshotTest.moc"
