// A window test that meets a modal window it did not expect must fail at once. This
// test plants one, the warning box that Listen shows when the scripted random source
// has run dry, and ctest passes it only if Qt Test reports that failure, not a hang.

// own
#include "Form1.h"
#include "WindowsTestMain.h"
#include "fakes/FakeJournal.h"
#include "fakes/FakePlayer.h"
#include "fakes/FakeScoreLog.h"
#include "fakes/ScriptedRandom.h"

// Qt
#include <QPushButton>

using namespace tonarika;

class ModalGuardTest : public QObject {
    Q_OBJECT
private slots:
    void aStrayModalFailsTheTestAtOnce()
    {
        test::ModalGuard guard;
        test::FakePlayer player;
        test::FakeScoreLog scoreLog;
        test::ScriptedRandom random;  // empty: the first draw fails
        test::FakeJournal journal;
        Form1 window(player, random, scoreLog, journal);
        window.show();
        QTest::mouseClick(test::childNamed<QPushButton>(window, QStringLiteral("Command1")), Qt::LeftButton);
    }
};

int main(int argc, char** argv)
{
    ModalGuardTest test;
    return runWindowsTest(test, argc, argv);
}

#include "ModalGuardTest.moc"
