// Runs under a real X server (Xvfb): shows the main window, photographs the screen
// and checks that the photo shows the keyboard and the window's colours.

// own
#include "WindowsTestMain.h"
#include "Form1.h"
#include "fakes/FakePlayer.h"
#include "fakes/FakeScoreLog.h"
#include "fakes/ScriptedRandom.h"

// Qt
#include <QApplication>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

using namespace tonarika;

class ScreenshotTest : public QObject {
    Q_OBJECT
private slots:
    void mainWindowOnARealDisplayShowsItsKeysAndColours()
    {
        QVERIFY2(QGuiApplication::platformName() == QLatin1String("xcb"), "run under xvfb-run");
        test::FakePlayer player;
        test::FakeScoreLog scoreLog;
        test::ScriptedRandom random;
        Form1 window(player, random, scoreLog);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::qWait(300);

        const QRect frame = window.frameGeometry();
        const QImage shot = window.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height()).toImage();
        const QString path = QString::fromLocal8Bit(qgetenv("TONARIKA_SCREENSHOT"));
        if (!path.isEmpty())
            QVERIFY(shot.save(path));

        const QPoint client = window.mapToGlobal(QPoint(0, 0)) - frame.topLeft();
        const auto pixel = [&](const char* name, QPoint offset) {
            const auto* button = window.findChild<QWidget*>(QLatin1String(name));
            return shot.pixelColor(client + button->mapTo(&window, offset));
        };
        // The lower half of a white key, the middle of a black key, the window itself.
        QCOMPARE(pixel("cmdKey_1", QPoint(12, 55)).lightness() > 200, true);
        QCOMPARE(pixel("cmdKey_8", QPoint(8, 20)).lightness() < 60, true);
        QCOMPARE(shot.pixelColor(client + window.centralWidget()->mapTo(&window, QPoint(350, 158))), QColor(0xC0, 0xC0, 0xFF));
    }
};

int main(int argc, char** argv)
{
    ScreenshotTest test;
    return runWindowsTest(test, argc, argv);
}

#include "ScreenshotTest.moc"
