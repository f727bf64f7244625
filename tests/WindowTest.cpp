// The real windows driven with real key and mouse events, on the offscreen platform.

// own
#include "WindowsTestMain.h"
#include "PitchTest.h"
#include "Captions.h"
#include "FocusMarkStyle.h"
#include "Form1.h"
#include "Language.h"
#include "KeyTable.h"
#include "NoteNames.h"
#include "Version.h"
#include "ResultLabel.h"
#include "frmAbout.h"
#include "fakes/FakeJournal.h"
#include "fakes/FakePlayer.h"
#include "fakes/FakeSettings.h"
#include "fakes/FakeScoreLog.h"
#include "fakes/ScriptedRandom.h"

// Qt
#include <QAccessible>
#include <QAction>
#include <QCloseEvent>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

// std
#include <functional>
#include <map>
#include <memory>
#include <optional>

using namespace tonarika;

namespace {

const int kWhiteLeft[] = {120, 480, 840, 1200, 1560, 1920, 2280};
const int kBlackLeft[] = {360, 720, 1440, 1800, 2160};

}  // namespace

class WindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::FakePlayer> player;
    std::unique_ptr<test::FakeScoreLog> scoreLog;
    std::unique_ptr<test::ScriptedRandom> random;
    std::unique_ptr<test::FakeJournal> journal;
    std::unique_ptr<Form1> window;
    std::unique_ptr<test::ModalGuard> modals;

    template <typename T = QWidget>
    T* child(const char* name) const
    {
        return test::childNamed<T>(*window, QLatin1String(name));
    }
    template <typename T>
    T* child(const char* name, const QObject& parent) const
    {
        return test::childNamed<T>(parent, QLatin1String(name));
    }
    QPushButton* key(int i) const { return child<QPushButton>(qPrintable(QStringLiteral("cmdKey_%1").arg(i))); }
    QPushButton* listen() const { return child<QPushButton>("Command1"); }
    QAction* action(const char* name) const { return child<QAction>(name); }
    QString text(const char* label) const { return child<QLabel>(label)->text(); }
    QColor label1(QPalette::ColorRole role) const { return child<QLabel>("Label1")->palette().color(role); }
    void nextNote(int note, int range = 7) { random->values.push_back(test::ScriptedRandom::valueFor(note, range)); }

    // The menus a player opens from the menu bar, submenus included.
    static QList<QMenu*> menusOf(QWidget& top)
    {
        QList<QMenu*> menus;
        QList<QAction*> actions;
        for (QMenuBar* bar : top.findChildren<QMenuBar*>())
            actions += bar->actions();
        while (!actions.isEmpty()) {
            if (QMenu* menu = actions.takeFirst()->menu()) {
                menus << menu;
                actions += menu->actions();
            }
        }
        return menus;
    }

    // Grabs of the window and of its menus in each look a run goes through: the start,
    // a miss, a right answer and a note played in practice. `check` sees each look.
    std::vector<QImage> grabLooks(const std::function<void(const QString& look)>& check)
    {
        std::vector<QImage> shots;
        const auto shoot = [&](const QString& look) {
            shots.push_back(window->grab().toImage());
            for (QMenu* menu : menusOf(*window)) {
                menu->adjustSize();
                shots.push_back(menu->grab().toImage());
            }
            check(look);
        };
        shoot(QStringLiteral("start"));
        nextNote(2);
        QTest::keyClick(listen(), Qt::Key_Space);
        QTest::keyClick(listen(), Qt::Key_A);
        shoot(QStringLiteral("miss"));
        QTest::keyClick(listen(), Qt::Key_D);
        shoot(QStringLiteral("right"));
        QTest::keyClick(window.get(), Qt::Key_P, Qt::ControlModifier);
        key(0)->setFocus();
        QTest::keyClick(key(0), Qt::Key_I);
        shoot(QStringLiteral("practice"));
        return shots;
    }

    // Every text a widget of `top` shows stands out 4.5:1 from the ground it is drawn on,
    // measured on a grab of the whole window; a menu, a window of its own, on its own grab.
    static void everyTextStandsOut(QWidget& top, const QString& look)
    {
        QList<QWidget*> texts;
        for (QLabel* label : top.findChildren<QLabel*>()) {
            if (label->isVisible() && !label->text().isEmpty())
                texts << label;
        }
        // A disabled control's greyed text tells that it is disabled; it is not read.
        for (QPushButton* button : top.findChildren<QPushButton*>()) {
            if (!button->text().isEmpty() && button->isEnabled())
                texts << button;
        }
        for (QMenuBar* bar : top.findChildren<QMenuBar*>())
            texts << bar;
        QVERIFY(!texts.isEmpty());
        const QImage whole = top.grab().toImage();
        const qreal ratio = whole.devicePixelRatio();
        for (QWidget* widget : texts) {
            QRect area(widget->mapTo(&top, QPoint(0, 0)), widget->size());
            // The result label's border is no text: only what lies inside it counts.
            if (qobject_cast<ResultLabel*>(widget))
                area.adjust(2, 2, -2, -2);
            const double contrast = test::inkContrast(whole.copy(QRect(area.topLeft() * ratio, area.size() * ratio)));
            // Large text (18 pt, 24 px, and more) needs 3:1, as the WCAG have it.
            const double needed = QFontInfo(widget->font()).pixelSize() >= 24 ? 3.0 : 4.5;
            QVERIFY2(contrast >= needed,
                     qPrintable(QStringLiteral("%1, %2: %3:1").arg(look, widget->objectName()).arg(contrast)));
        }
        for (QMenu* menu : menusOf(top)) {
            menu->adjustSize();
            QVERIFY2(test::inkContrast(menu->grab().toImage()) >= 4.5, qPrintable(look + QStringLiteral(", menu ") + menu->title()));
        }
    }

private slots:
    void initTestCase() { modals = std::make_unique<test::ModalGuard>(); }
    void init()
    {
        player = std::make_unique<test::FakePlayer>();
        scoreLog = std::make_unique<test::FakeScoreLog>();
        random = std::make_unique<test::ScriptedRandom>();
        journal = std::make_unique<test::FakeJournal>();
        window = std::make_unique<Form1>(*player, *random, *scoreLog, *journal);
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    void cleanup()
    {
        QVERIFY2(!modals->expecting(), "an expected modal window never appeared");
        window.reset();
    }

    void startsAsDesignedWithTheFocusOnListen()
    {
        QCOMPARE(window->windowTitle(), QStringLiteral("Tonarika"));
        QCOMPARE(text("CapMode"), QStringLiteral("Easy"));
        QCOMPARE(text("CapMiss"), QStringLiteral("0/0 回"));
        QCOMPARE(text("CapPar"), QStringLiteral("0.00 %"));
        QCOMPARE(text("Label1"), QString());
        QCOMPARE(label1(QPalette::Window), QColor(Qt::white));
        QCOMPARE(text("Label4"), QStringLiteral("モード  ："));
        QCOMPARE(text("Label5"), QStringLiteral("ミス\u3000\u3000 ："));
        QCOMPARE(text("Label6"), QStringLiteral("正解率 ："));
        QVERIFY(action("easy")->isChecked());
        QVERIFY(!action("hard")->isChecked());
        QVERIFY(!action("prac")->isChecked());
        QVERIFY(action("clear")->isEnabled());
        QCOMPARE(QApplication::focusWidget(), listen());
        QVERIFY(player->played.empty());

        QCOMPARE(window->centralWidget()->size(), QSize(353, 162));
        // Centred on the screen, up to the window frame, which is only known once shown.
        const QPoint offCentre = window->frameGeometry().center() - window->screen()->availableGeometry().center();
        const int frame = window->frameGeometry().width() - window->width();
        QVERIFY(qAbs(offCentre.x()) <= frame && qAbs(offCentre.y()) <= frame);
        QCOMPARE(window->minimumSize(), window->maximumSize());
        QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(window->windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(!window->windowIcon().isNull());
        for (const int size : {16, 32, 48, 64, 128, 256})
            QVERIFY(window->windowIcon().availableSizes().contains(QSize(size, size)));
    }

    void keysStandWhereDesignedAndTheUpperKeyTakesTheClick()
    {
        for (int i = 0; i < 7; ++i)
            QCOMPARE(key(i)->geometry(), QRect(kWhiteLeft[i] / 15, 24, 25, 65));
        for (int i = 0; i < 5; ++i)
            QCOMPARE(key(7 + i)->geometry(), QRect(kBlackLeft[i] / 15, 24, 17, 41));
        QWidget* surface = window->centralWidget();
        // a black key covers the white keys under it
        QCOMPARE(surface->childAt(30, 30), key(7));
        // below the black key the white key answers
        QCOMPARE(surface->childAt(30, 70), key(0));
        // the shared strip belongs to the key on the right
        QCOMPARE(surface->childAt(32, 80), key(1));
        QCOMPARE(surface->childAt(31, 80), key(0));

        // In Hard a question on Do: the click over Do's upper half lands on Do#.
        action("hard")->trigger();
        nextNote(0, 12);
        QTest::mouseClick(listen(), Qt::LeftButton);
        // Clicks through the window, so that Qt finds the button under the pointer.
        const auto clickAt = [&](QPoint point) {
            QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, surface->mapTo(window.get(), point));
        };
        clickAt(QPoint(30, 30));
        QCOMPARE(text("Label1"), QStringLiteral("はずれ"));
        clickAt(QPoint(30, 70));
        QCOMPARE(text("Label1"), QStringLiteral(" 当たり！"));
    }

    void aWholeQuestionByMouse()
    {
        nextNote(2);
        QTest::mouseClick(listen(), Qt::LeftButton);
        QCOMPARE(player->played, std::vector<std::string>{"wav/Mi.wav"});

        QTest::mouseClick(key(4), Qt::LeftButton);
        QCOMPARE(text("Label1"), QStringLiteral("はずれ"));
        QCOMPARE(label1(QPalette::Window), QApplication::palette().color(QPalette::ButtonText));
        QCOMPARE(label1(QPalette::WindowText), QColor(Qt::white));
        QCOMPARE(text("CapMiss"), QStringLiteral("1/1 回"));
        QCOMPARE(text("CapPar"), QStringLiteral("0.0 %"));
        QCOMPARE(QApplication::focusWidget(), listen());

        QTest::mouseClick(key(2), Qt::LeftButton);
        QCOMPARE(text("Label1"), QStringLiteral(" 当たり！"));
        QCOMPARE(label1(QPalette::Window), QColor(Qt::red));
        QCOMPARE(label1(QPalette::WindowText), QColor(Qt::white));
        QCOMPARE(QApplication::focusWidget(), listen());

        nextNote(5);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(player->played.back(), std::string("wav/Ra.wav"));
        QCOMPARE(text("Label1"), QString());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        // Enter on Listen replays the pending question
        QCOMPARE(player->played.size(), 3u);
        QCOMPARE(player->played.back(), std::string("wav/Ra.wav"));
    }

    void aWholeQuestionByLetterKeys()
    {
        nextNote(3);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_G);
        // G is no note
        QCOMPARE(text("Label1"), QString());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_J);
        QCOMPARE(text("Label1"), QStringLiteral("はずれ"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::ShiftModifier);
        QCOMPARE(text("Label1"), QStringLiteral(" 当たり！"));
        QCOMPARE(text("CapMiss"), QStringLiteral("1/1 回"));
        QCOMPARE(QApplication::focusWidget(), listen());
    }

    void letterKeysPlayNotesInPracticeWithTheFocusOnTheKeyPlayed()
    {
        QTest::keyClick(window.get(), Qt::Key_P, Qt::ControlModifier);
        QVERIFY(!listen()->isEnabled());
        key(0)->setFocus();
        QTest::keyClick(key(0), Qt::Key_I);
        QCOMPARE(player->played, std::vector<std::string>{"wav/So#.wav"});
        QCOMPARE(text("Label1"), QStringLiteral("ソ＃(ラ♭)"));
        QCOMPARE(label1(QPalette::WindowText), QColor(Qt::blue));
        QCOMPARE(QApplication::focusWidget(), key(10));
        QTest::keyClick(key(10), Qt::Key_Space);
        // Space plays the focused key again
        QCOMPARE(player->played.back(), std::string("wav/So#.wav"));
    }

    void modesChangeByMenuAndByShortcut()
    {
        action("hard")->trigger();
        QVERIFY(!action("easy")->isChecked());
        QVERIFY(action("hard")->isChecked());
        QCOMPARE(text("CapMode"), QStringLiteral("Hard"));

        action("hard")->trigger();
        // choosing the checked mode leaves it checked
        QVERIFY(action("hard")->isChecked());

        QTest::keyClick(window.get(), Qt::Key_P, Qt::ControlModifier);
        QVERIFY(action("prac")->isChecked());
        QVERIFY(!action("hard")->isChecked());
        QVERIFY(!listen()->isEnabled());
        QVERIFY(!action("clear")->isEnabled());
        QCOMPARE(text("CapMode"), QStringLiteral("練習モード"));
        QCOMPARE(text("CapPar"), QStringLiteral("--- %"));
        QCOMPARE(text("CapMiss"), QStringLiteral("--- 回"));

        QTest::keyClick(window.get(), Qt::Key_H, Qt::ControlModifier);
        QVERIFY(listen()->isEnabled());
        QVERIFY(action("clear")->isEnabled());
        QCOMPARE(QApplication::focusWidget(), listen());

        // A question on Re# pending in Hard: Ctrl+E changes the mode and answers nothing.
        nextNote(8, 12);
        QTest::keyClick(listen(), Qt::Key_Space);
        QTest::keyClick(listen(), Qt::Key_E, Qt::ControlModifier);
        QVERIFY(action("easy")->isChecked());
        QCOMPARE(text("Label1"), QString());
        QVERIFY(scoreLog->runs.empty());
    }

    void menuCaptionsAndShortcutsAreThoseDesigned()
    {
        QCOMPARE(action("easy")->text(), QStringLiteral("&Easy（白鍵のみ）"));
        QCOMPARE(action("hard")->text(), QStringLiteral("&Hard（黒鍵も含む）"));
        QCOMPARE(action("prac")->text(), QStringLiteral("練習モード"));
        QCOMPARE(action("clear")->text(), QStringLiteral("スコアのクリア(&C)"));
        QCOMPARE(action("en")->text(), QStringLiteral("終了(&Q)"));
        QCOMPARE(action("ver")->text(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&V)"));
        QCOMPARE(action("easy")->shortcut(), QKeySequence(QStringLiteral("Ctrl+E")));
        QCOMPARE(action("hard")->shortcut(), QKeySequence(QStringLiteral("Ctrl+H")));
        QCOMPARE(action("prac")->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
        const auto menus = window->menuBar()->actions();
        QCOMPARE(menus.size(), 2);
        QCOMPARE(menus[0]->text(), QStringLiteral("オプション(&O)"));
        QCOMPARE(menus[1]->text(), QStringLiteral("ヘルプ(&H)"));
        const auto options = menus[0]->menu()->actions();
        QCOMPARE(options.size(), 4);
        QCOMPARE(options[0]->text(), QStringLiteral("モード(&M)"));
        QCOMPARE(options[0]->menu()->actions().size(), 4);
        QVERIFY(options[0]->menu()->actions()[2]->isSeparator());
        QVERIFY(options[2]->isSeparator());
    }

    void aboutBoxOpensAfreshAndClosesEveryWay()
    {
        const std::vector<std::function<void(QDialog*)>> closers{
            [](QDialog* box) { QTest::mouseClick(test::childNamed<QPushButton>(*box, QStringLiteral("cmdOK")), Qt::LeftButton); },
            [](QDialog* box) { QTest::keyClick(box, Qt::Key_Return); },
            [](QDialog* box) { QTest::keyClick(box, Qt::Key_Escape); },
            [](QDialog* box) { box->close(); },
        };
        for (const auto& closeIt : closers) {
            bool seen = false;
            modals->expect([&](QWidget* modal) {
                auto* box = qobject_cast<frmAbout*>(modal);
                QVERIFY(box);
                seen = true;
                QCOMPARE(box->windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
                const auto boxLabel = [box](const char* name) { return test::childNamed<QLabel>(*box, QLatin1String(name)); };
                QCOMPARE(boxLabel("lblTitle")->text(), QStringLiteral("Tonarika  Ver. " TONARIKA_VERSION));
                QCOMPARE(boxLabel("lblDescription")->text(), QStringLiteral("がんばって絶対音感を身につけましょう！"));
                QVERIFY(!boxLabel("Label1")->toolTip().isEmpty());
                QVERIFY(boxLabel("lblTitle")->toolTip().isEmpty());
                QVERIFY(!boxLabel("picIcon")->pixmap().isNull());
                QCOMPARE(box->size(), QSize(382, 110));
                QVERIFY(!(box->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
                closeIt(box);
            });
            action("ver")->trigger();  // returns once the box is closed
            QVERIFY(seen);
            QVERIFY(!QApplication::activeModalWidget());
        }
        // each opening makes its own box
        QCOMPARE(window->findChildren<frmAbout*>().size(), 0);
    }

    // Nothing can sound: the result label says so, with its reason as its tool tip, and no
    // box ever comes, so the window always closes.
    void listenSaysInTheResultLabelWhenNothingCanSound()
    {
        player->failing = true;
        nextNote(1);
        QTest::mouseClick(listen(), Qt::LeftButton);
        QCOMPARE(child<QLabel>("Label1")->text(), QStringLiteral("音が出せません"));
        QCOMPARE(child<QLabel>("Label1")->toolTip(), QStringLiteral("音が出せません: サウンドデバイスがありません"));
        QCOMPARE(listen()->accessibleDescription(), QStringLiteral("音が出せません: サウンドデバイスがありません"));
        QCOMPARE(child<QLabel>("CapMiss")->text(), QStringLiteral("0/0 回"));
        QVERIFY(!QApplication::activeModalWidget());
    }

    void listenShowsAWarningBoxWhenTheOutputRefusesTheNote()
    {
        player->failing = true;
        player->failure = SoundError::Cause::Refused;
        nextNote(1);
        bool seen = false;
        modals->expect([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box);
            seen = true;
            QCOMPARE(box->windowTitle(), QStringLiteral("Error"));
            QCOMPARE(box->text(), QStringLiteral("wavファイルが見つかりません。"));
            QCOMPARE(box->icon(), QMessageBox::Warning);
            QCOMPARE(box->buttons().size(), 1);
            QCOMPARE(box->standardButtons(), QMessageBox::Ok);
            box->accept();
        });
        QTest::mouseClick(listen(), Qt::LeftButton);
        QVERIFY(seen);
    }

    // A MIDI keyboard's pedal asks and its key answers, as Listen and the on-screen key do;
    // neither reaches past a modal box, as a click would not.
    void aMidiKeyboardAnswersAsTheScreenDoesButNeverPastAModalBox()
    {
        nextNote(3);
        window->midiListenPressed();
        QCOMPARE(player->played.size(), std::size_t(1));
        window->midiNotePressed(3, std::chrono::steady_clock::now());
        QCOMPARE(child<QLabel>("Label1")->text(), QStringLiteral(" 当たり！"));
        QCOMPARE(journal->trials.back().input, AnswerInput::Midi);

        nextNote(5);
        bool seen = false;
        modals->expect([&](QWidget* modal) {
            seen = true;
            window->midiListenPressed();
            window->midiNotePressed(5, std::chrono::steady_clock::now());
            QCOMPARE(player->played.size(), std::size_t(1));
            QCOMPARE(journal->trials.size(), std::size_t(1));
            modal->close();
        });
        action("ver")->trigger();
        QVERIFY(seen);
        window->midiListenPressed();
        QCOMPARE(player->played.size(), std::size_t(2));
    }

    // Keys outside the notes asked are drawn dimmed, plainly apart from the rest (3:1 at
    // least, under the light desktop palette and the dark one), named so for screen
    // readers, and a click or a letter key on one counts nothing but says why; with the
    // mode's notes again, as designed.
    void keysOutsideTheNotesAskedAreDimmedAndNoAnswer()
    {
        const auto fill = [](QWidget* widget) {
            const QImage image = widget->grab().toImage();
            std::map<QRgb, int> counts;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x)
                    ++counts[image.pixel(x, y)];
            }
            return QColor::fromRgb(std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) {
                                       return a.second < b.second;
                                   })->first);
        };
        for (const bool darkDesktop : {false, true}) {
            std::optional<test::ApplicationPalette> dark;
            if (darkDesktop) {
                dark.emplace(test::darkDesktopPalette());
                init();
            }
            test::FakeSettings settings;
            settings.settings.notes = NoteChoice::Chosen;
            settings.settings.chosen.add(0);
            settings.settings.chosen.add(2);
            settings.settings.chosen.add(4);
            random->values = {0.5f, 0.9f};  // Mi, the middle of the three, drawn ahead; then the next
            window->setQuestionSettings(&settings);
            const QColor white = key(0)->palette().color(QPalette::Button);
            QCOMPARE(white, QColor(Qt::white));
            QVERIFY2(contrastRatio(fill(key(0)), fill(key(1))) >= 3.0,
                     qPrintable(QStringLiteral("%1 against %2").arg(fill(key(0)).name(), fill(key(1)).name())));
            QVERIFY(key(7)->palette().color(QPalette::Button) != QColor(Qt::black));
            QCOMPARE(key(1)->accessibleDescription(), QStringLiteral("S キー（今は出題されません）"));
            QCOMPARE(key(2)->accessibleDescription(), QStringLiteral("D キー"));

            QTest::mouseClick(listen(), Qt::LeftButton);
            QTest::mouseClick(key(1), Qt::LeftButton);
            QCOMPARE(text("Label1"), QStringLiteral("この音は今は出題されません"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_L);  // シ
            QCOMPARE(text("CapMiss"), QStringLiteral("0/0 回"));
            QVERIFY(journal->trials.empty());

            window->setQuestionSettings(nullptr);
            QCOMPARE(key(1)->palette().color(QPalette::Button), white);
            QCOMPARE(key(7)->palette().color(QPalette::Button), QColor(Qt::black));
            QCOMPARE(key(1)->accessibleDescription(), QStringLiteral("S キー"));
        }
    }

    // Every system's captions, with every choice of accidentals, show whole beside their
    // keys and inside the window, and the keys' names for screen readers follow them; the
    // default gives the designed captions back in the window's own font.
    void everyKeyCaptionFitsBesideItsKey()
    {
        const auto caption = [this](int note) {
            return window->findChild<QLabel*>(note < 7 ? QStringLiteral("Label3_%1").arg(note) : QStringLiteral("Label2_%1").arg(note - 7));
        };
        for (int system = 0; system < 5; ++system) {
            for (int accidentals = 0; accidentals < 6; ++accidentals) {
                // Each choice in kana, and written in Latin letters as English shows it.
                const NoteNaming naming{NameSystem(system), Accidentals(accidentals % 3), accidentals >= 3};
                window->setNoteNaming(naming);
                for (int note = 0; note < 12; ++note) {
                    QLabel* label = caption(note);
                    const QString what = QStringLiteral("%1 %2 note %3: %4").arg(system).arg(accidentals).arg(note).arg(label->text());
                    QCOMPARE(label->text(), QString::fromStdString(keyCaption(NoteIndex(note), naming)));
                    const QRect needed = label->fontMetrics().boundingRect(label->contentsRect(), int(label->alignment()), label->text());
                    QVERIFY2(label->contentsRect().contains(needed), qPrintable(what));
                    QVERIFY2(label->fontInfo().pixelSize() >= 8, qPrintable(what));
                    const QRect inWindow(label->mapTo(window->centralWidget(), QPoint(0, 0)), label->size());
                    QVERIFY2(window->centralWidget()->rect().contains(inWindow), qPrintable(what));
                    QCOMPARE(key(note)->accessibleName(), QString::fromStdString(noteName(NoteIndex(note), naming)));
                }
            }
        }
        window->setNoteNaming({});
        QCOMPARE(caption(7)->text(), QStringLiteral("ﾄﾞ#"));
        QCOMPARE(caption(0)->text(), QStringLiteral("ﾄﾞ"));
        QCOMPARE(caption(7)->font(), window->font());
        QCOMPARE(key(9)->accessibleName(), QStringLiteral("ﾌｧ＃(ソ♭)"));
    }

    // Every text the main window, its menus and the about box show or give a screen reader,
    // as the list kept beside the tests: Japanese, character for character as it has been.
    void everyTextIsTheOneKept()
    {
        QString difference;
        QVERIFY2(test::sameTexts(test::windowTexts(*window), QStringLiteral("texts-game.txt"), &difference),
                 qPrintable(difference));
        frmAbout about(window.get());
        const std::vector<std::pair<QString, QString>> version{{QStringLiteral(TONARIKA_VERSION), QStringLiteral("<version>")}};
        QVERIFY2(test::sameTexts(test::windowTexts(about, {}, version), QStringLiteral("texts-about.txt"), &difference),
                 qPrintable(difference));
    }

    // In English, every text of the window, the about box and the test's view is English,
    // what the game itself says and the notes' names too; back in Japanese, all is as before
    // at once, the caption the game set last too.
    void everyTextIsEnglishInEnglishAndJapaneseAgainAtOnce()
    {
        // Qt posts the change to every window.
        QVERIFY(useLanguage(Language::English));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        window->setNoteNaming(namingIn(Language::English, {}));
        QCOMPARE(text("CapMode"), QStringLiteral("Easy"));
        nextNote(2);
        QTest::keyClick(listen(), Qt::Key_Space);
        QTest::keyClick(listen(), Qt::Key_D);
        QCOMPARE(text("Label1"), QStringLiteral(" Right!"));
        QCOMPARE(text("CapMiss"), QStringLiteral("0/1"));
        QCOMPARE(listen()->accessibleDescription(), QStringLiteral("Right!, misses 0/1, correct rate 100.0 %"));
        QStringList texts = test::windowTexts(*window);
        action("prac")->trigger();
        QTest::keyClick(listen(), Qt::Key_W);
        QCOMPARE(text("Label1"), QStringLiteral("Do♯/Re♭"));
        QCOMPARE(text("CapMode"), QStringLiteral("Practice"));
        texts << test::windowTexts(*window);
        for (int i = 0; i < 10000; ++i)
            random->values.push_back(float(i * 7919 % 10007) / 10007.0f);
        window->startPitchTest();
        QCOMPARE(window->windowTitle(), QStringLiteral("Tonarika Test 0 / 72"));
        texts << test::windowTexts(*window);
        {
            frmAbout about(window.get());
            texts << test::windowTexts(about);
        }
        QVERIFY2(test::japaneseTexts(texts).isEmpty(), qPrintable(test::japaneseTexts(texts).join(u'\n')));

        QVERIFY(useLanguage(Language::Japanese));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        window->setNoteNaming({});
        QCOMPARE(text("CapMode"), QStringLiteral("テスト"));
        QCOMPARE(action("prac")->text(), QStringLiteral("練習モード"));
        QCOMPARE(child<QLabel>("Label2_0")->text(), QStringLiteral("ﾄﾞ#"));
    }

    // With the answer shown, a first miss names the right note and outlines its key until
    // the next question.
    void aMissShownOutlinesTheRightKey()
    {
        test::FakeSettings settings;
        settings.settings.showAnswer = true;
        window->setQuestionSettings(&settings);
        nextNote(2);
        QTest::keyClick(listen(), Qt::Key_Space);
        QTest::keyClick(listen(), Qt::Key_A);
        QCOMPARE(text("Label1"), QStringLiteral("はずれ — 正解: ミ"));
        auto* label = window->findChild<ResultLabel*>(QStringLiteral("Label1"));
        auto* outline = window->findChild<QFrame*>(QStringLiteral("rightKeyOutline"));
        QVERIFY(outline && outline->isVisible());
        QVERIFY(outline->geometry().contains(key(2)->geometry()));
        nextNote(4);
        QTest::keyClick(listen(), Qt::Key_Space);
        QVERIFY(!outline->isVisible());
        window->setQuestionSettings(nullptr);
        // A caption too long for one line at a readable size goes on two.
        window->setCaption(Caption::Label1, "新しい音: ﾌｧ＃(ソ♭) — これが ﾌｧ＃(ソ♭) です");
        QCOMPARE(label->lines(), (QStringList{QStringLiteral("新しい音: ﾌｧ＃(ソ♭)"), QStringLiteral("これが ﾌｧ＃(ソ♭) です")}));
    }

    void toolTipsAndPointersAreThoseDesigned()
    {
        QCOMPARE(listen()->toolTip(), QStringLiteral("音を聞く"));
        QCOMPARE(listen()->cursor().shape(), Qt::ArrowCursor);
        for (int i = 0; i < 12; ++i) {
            QCOMPARE(key(i)->cursor().shape(), Qt::UpArrowCursor);
            QVERIFY(key(i)->toolTip().isEmpty());
        }
        QCOMPARE(child("Label1")->cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(window->cursor().shape(), Qt::ArrowCursor);
    }

    void tabGoesFromListenThroughWhiteThenBlackKeysAndBack()
    {
        QList<QWidget*> expected;
        for (int i = 0; i < 12; ++i)
            expected << key(i);
        expected << listen();
        for (QWidget* next : expected) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), key(11));
    }

    void capMissGrowsToTheRightAndShrinksBackAfterAClear()
    {
        auto* capMiss = child<QLabel>("CapMiss");
        const QRect start = capMiss->geometry();
        QCOMPARE(start.topLeft(), QPoint(88, 48));
        window->setCaption(Caption::CapMiss, "12/34 回");
        QCOMPARE(capMiss->geometry().topLeft(), start.topLeft());
        QVERIFY(capMiss->width() > start.width());
        action("clear")->trigger();
        QCOMPARE(capMiss->geometry(), start);
    }

    void lettersWithCtrlAltOrMetaAreNotAnswers()
    {
        nextNote(1);
        QTest::keyClick(listen(), Qt::Key_Space);
        // Ctrl+A, Alt+A, Meta+A: neither a wrong answer (A is Do) nor, with S, a right one
        for (const auto modifier : {Qt::ControlModifier, Qt::AltModifier, Qt::MetaModifier}) {
            QTest::keyClick(listen(), Qt::Key_A, modifier);
            QTest::keyClick(listen(), Qt::Key_S, modifier);
        }
        QCOMPARE(text("Label1"), QString());
        QCOMPARE(text("CapMiss"), QStringLiteral("0/0 回"));
        QTest::keyClick(listen(), Qt::Key_S);
        QCOMPARE(text("Label1"), QStringLiteral(" 当たり！"));
    }

    // Each look with each caption, all twelve note names included: the ink stays clear of
    // the border, and the border keeps the button-text colour whatever the text's colour.
    void resultCaptionsShowWholeInsideTheBorderInEveryLook()
    {
        const QColor buttonText = QApplication::palette().color(QPalette::ButtonText);
        const struct {
            const char* look;
            Colour back;
            Colour fore;
        } looks[] = {{"idle", kWhite, Colour::systemButtonText()},
                     {"right", kRed, kWhite},
                     {"miss", Colour::systemButtonText(), kWhite},
                     {"practice", kWhite, kBlue},
                     {"practice after a right answer", kRed, kBlue}};
        std::vector<std::string_view> texts{captions::kRight, captions::kMiss};
        for (const auto& row : kNoteTable)
            texts.push_back(row.noteName);
        auto* label = child<ResultLabel>("Label1");
        QCOMPARE(label->size(), QSize(137, 33));
        for (const auto& look : looks) {
            window->setLabel1BackColor(look.back);
            window->setLabel1ForeColor(look.fore);
            for (const auto text : texts) {
                window->setCaption(Caption::Label1, text);
                const QImage image = label->grab().toImage();
                const QColor back = label->palette().color(QPalette::Window);
                const QString what = QStringLiteral("%1 look, \"%2\"").arg(QLatin1String(look.look), label->text());
                int ink = 0;
                for (int y = 0; y < image.height(); ++y) {
                    for (int x = 0; x < image.width(); ++x) {
                        const QColor pixel = image.pixelColor(x, y);
                        const bool border = x == 0 || y == 0 || x == image.width() - 1 || y == image.height() - 1;
                        const bool nextToBorder = x == 1 || y == 1 || x == image.width() - 2 || y == image.height() - 2;
                        if (border)
                            QVERIFY2(pixel == buttonText, qPrintable(what + QStringLiteral(": border")));
                        else if (nextToBorder)
                            QVERIFY2(pixel == back, qPrintable(what + QStringLiteral(": ink touches the edge")));
                        else
                            ink += pixel != back;
                    }
                }
                QVERIFY2(ink > 20, qPrintable(what + QStringLiteral(": no ink")));
            }
        }
        // The designed 29 px is kept where the caption fits it.
        window->setCaption(Caption::Label1, captions::kMiss);
        QCOMPARE(label->fittedPixelSize(), 29);
    }

    // The value labels fit every caption they can show: long counts, and each mode's name.
    void everyScoreCaptionShowsWholeInsideTheScoreFrame()
    {
        auto* frame = child<QFrame>("Frame1");
        std::vector<std::string> modes;
        for (const Mode mode : {Mode::Prac, Mode::Hard, Mode::Easy})
            modes.emplace_back(modeName(mode));
        const struct {
            const char* name;
            Caption which;
            std::vector<std::string> texts;
        } labels[] = {
            {"CapMiss", Caption::CapMiss, {"27/34 回", "100/250 回", "9999/9999 回", "0/0 回"}},
            {"CapPar", Caption::CapPar, {"100.0 %", "100/250 回", "0.00 %"}},
            {"CapMode", Caption::CapMode, modes},
        };
        for (const auto& row : labels) {
            auto* label = child<QLabel>(row.name);
            const QPoint topLeft = label->pos();
            for (const std::string& text : row.texts) {
                window->setCaption(row.which, text);
                const QByteArray what = QByteArray(row.name) + ": " + text.c_str();
                QCOMPARE(label->pos(), topLeft);
                QVERIFY2(label->geometry().right() <= frame->contentsRect().right(), what);
                QVERIFY2(label->sizeHint().width() <= label->width(), what);
                QVERIFY2(label->font().pixelSize() >= 9, what);
            }
        }
        // Short texts keep the designed size, also after a long one.
        QCOMPARE(child<QLabel>("CapMiss")->font().pixelSize(), 16);
        QCOMPARE(child<QLabel>("CapMode")->font().pixelSize(), 16);
    }

    void theFocusedKeyWearsAMarkThatStandsOutOnWhiteAndBlackKeys()
    {
        for (QPushButton* button : {key(0), key(8), listen()}) {
            key(11)->setFocus();
            const QImage before = button->grab().toImage();
            const QRect geometry = button->geometry();
            button->setFocus();
            const QImage after = button->grab().toImage();
            QCOMPARE(button->geometry(), geometry);
            const QColor mark = after.pixelColor(1, after.height() / 2);
            QVERIFY(contrastRatio(mark, Qt::white) >= 3.0);
            QVERIFY(contrastRatio(mark, Qt::black) >= 3.0);
            // Two pixels wide inside the edge, on all four sides; the key's face unchanged.
            const int w = after.width(), h = after.height();
            for (const QPoint p : {QPoint(1, h / 2), QPoint(2, h / 2), QPoint(w - 2, h / 2), QPoint(w - 3, h / 2),
                                   QPoint(w / 2, 1), QPoint(w / 2, 2), QPoint(w / 2, h - 2), QPoint(w / 2, h - 3)})
                QCOMPARE(after.pixelColor(p), mark);
            QVERIFY(before.pixelColor(1, h / 2) != mark);
            QCOMPARE(after.pixelColor(w / 2, h * 3 / 4), before.pixelColor(w / 2, h * 3 / 4));
        }
    }

    void aScreenReaderHearsNamesDescriptionsAndEveryResult()
    {
        const auto name = [](QObject* object) { return QAccessible::queryAccessibleInterface(object)->text(QAccessible::Name); };
        const auto description = [](QObject* object) {
            return QAccessible::queryAccessibleInterface(object)->text(QAccessible::Description);
        };
        for (int i = 0; i < kNoteCount; ++i) {
            QCOMPARE(name(key(i)), QString::fromUtf8(kNoteTable[static_cast<size_t>(i)].noteName.data()));
            QCOMPARE(description(key(i)), QStringLiteral("%1 キー").arg(QLatin1Char(noteToKey(i))));
        }
        QCOMPARE(name(listen()), QStringLiteral("Listen"));
        QCOMPARE(description(listen()), QStringLiteral("音を聞く"));
        QCOMPARE(description(child("Label1")), QStringLiteral("結果"));
        QCOMPARE(description(child("CapMode")), QStringLiteral("モード"));
        QCOMPARE(description(child("CapMiss")), QStringLiteral("ミス"));
        QCOMPARE(description(child("CapPar")), QStringLiteral("正解率"));

        nextNote(2);
        QTest::keyClick(listen(), Qt::Key_Space);
        QTest::keyClick(listen(), Qt::Key_A);
        QCOMPARE(description(listen()), QStringLiteral("はずれ、ミス 1/1 回、正解率 0.0 %"));
        QTest::keyClick(listen(), Qt::Key_D);
        QCOMPARE(description(listen()), QStringLiteral("当たり！、ミス 1/1 回、正解率 0.0 %"));
        nextNote(4);
        QTest::keyClick(listen(), Qt::Key_Space);
        QCOMPARE(description(listen()), QStringLiteral("音を聞く"));
    }

    // Run again at QT_SCALE_FACTOR=2 by ctest: there the icon and the about box's picture
    // must come from images of twice the pixels, not from 32-pixel images blown up.
    void iconAndAboutPictureAreSharpAtTheDevicePixelRatio()
    {
        const qreal ratio = window->devicePixelRatioF();
        if (qEnvironmentVariable("QT_SCALE_FACTOR") == QLatin1String("2"))
            QCOMPARE(ratio, 2.0);
        QVERIFY(window->windowIcon().actualSize(QSize(256, 256)).width() >= 64);
        frmAbout about(window.get());
        const QPixmap picture = child<QLabel>("picIcon", about)->pixmap();
        QCOMPARE(picture.devicePixelRatio(), ratio);
        QVERIFY(picture.width() >= qRound(32 * ratio));
    }

    // A dark desktop palette (white texts on dark grounds) changes nothing: every look of
    // the window, its menus and the about box is the light scheme's, pixel for pixel, the
    // miss look is white on black, and every text stands out from its ground.
    void aDarkDesktopPaletteChangesNothingAndEveryTextStandsOut()
    {
        const auto aboutBox = [this] {
            frmAbout about(window.get());
            about.show();
            everyTextStandsOut(about, QStringLiteral("about box"));
            return about.grab().toImage();
        };
        const std::vector<QImage> light = grabLooks([](const QString&) {});
        const QImage lightAbout = aboutBox();

        const test::ApplicationPalette dark(test::darkDesktopPalette());
        init();  // a new window, made under the dark palette
        const std::vector<QImage> darkLooks = grabLooks([this](const QString& look) {
            everyTextStandsOut(*window, look);
            if (look == QLatin1String("miss")) {
                QCOMPARE(label1(QPalette::Window), QColor(Qt::black));
                QCOMPARE(label1(QPalette::WindowText), QColor(Qt::white));
            }
        });
        QCOMPARE(darkLooks.size(), light.size());
        for (size_t i = 0; i < light.size(); ++i)
            QVERIFY2(darkLooks[i] == light[i], qPrintable(QStringLiteral("grab %1 differs from the light scheme's").arg(i)));
        QVERIFY(aboutBox() == lightAbout);
    }

    // The icon a menu or panel shows reads on a dark one as on a light one: at every size,
    // at least a quarter of what it covers stands 3:1 or more from a black and a white ground.
    void theThemeIconStandsOutOnBlackAndOnWhite()
    {
        for (const int size : kThemeIconSizes) {
            const QImage icon = themeIconImage(size);
            QCOMPARE(icon.size(), QSize(size, size));
            for (const QColor ground : {QColor(Qt::black), QColor(Qt::white)}) {
                QImage onGround(icon.size(), QImage::Format_ARGB32);
                onGround.fill(ground);
                QPainter(&onGround).drawImage(0, 0, icon);
                int covered = 0, standing = 0;
                for (int y = 0; y < size; ++y) {
                    for (int x = 0; x < size; ++x) {
                        if (qAlpha(icon.pixel(x, y)) < 128)
                            continue;
                        ++covered;
                        standing += contrastRatio(onGround.pixelColor(x, y), ground) >= 3.0;
                    }
                }
                QVERIFY2(covered > 0 && standing * 4 >= covered,
                         qPrintable(QStringLiteral("%1 px on %2: %3 of %4").arg(size).arg(ground.name()).arg(standing).arg(covered)));
            }
        }
    }

    // The window's icon is drawn at whatever size is asked: the pixel images at their
    // own sizes, the art larger, scaled between; its disabled look is not its normal one.
    void theProgramIconIsDrawnAtEverySizeAsked()
    {
        const QIcon icon = programIcon();
        for (const int size : {8, 16, 24, 32, 48, 64, 128, 256, 300}) {
            const QImage image = icon.pixmap(QSize(size, size)).toImage();
            QCOMPARE(image.size(), QSize(size, size));
            int ink = 0;
            for (int y = 0; y < size; ++y) {
                for (int x = 0; x < size; ++x)
                    ink += qAlpha(image.pixel(x, y)) > 128;
            }
            QVERIFY2(ink * 20 > size * size, qPrintable(QStringLiteral("%1 px: %2 pixels of ink").arg(size).arg(ink)));
        }
        for (const int size : {16, 32}) {
            const QImage drawn = icon.pixmap(QSize(size, size)).toImage().convertToFormat(QImage::Format_ARGB32);
            QCOMPARE(drawn, QImage(QStringLiteral(":/icons/tonarika-%1.xpm").arg(size)).convertToFormat(QImage::Format_ARGB32));
        }
        QVERIFY(icon.pixmap(QSize(48, 48), QIcon::Disabled).toImage() != icon.pixmap(QSize(48, 48)).toImage());
    }

    void closingTheWindowRecordsTheRunOnce()
    {
        nextNote(4);
        QTest::keyClick(listen(), Qt::Key_Space);
        QTest::keyClick(listen(), Qt::Key_J);
        // Two close requests reach the handler, as a session's end and a click may both do.
        for (int i = 0; i < 2; ++i) {
            QCloseEvent close;
            QApplication::sendEvent(window.get(), &close);
        }
        QCOMPARE(scoreLog->runs.size(), 1u);
        QCOMPARE(scoreLog->runs[0].rateCaption, std::string("100.0 %"));
    }

    // A run no folder takes is shown to the player, its line ready to copy, when a mode
    // change or Quit ends it; when the session ends, nothing waits for the player.
    void aRunThatCannotBeSavedIsShownUnlessTheSessionEnds()
    {
        scoreLog->failing = true;
        nextNote(2);
        QTest::keyClick(listen(), Qt::Key_Space);
        QTest::keyClick(listen(), Qt::Key_D);
        bool seen = false;
        modals->expect([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box);
            seen = true;
            QVERIFY(box->text().contains(QStringLiteral("Easy 0/1")));
            QVERIFY(box->textInteractionFlags() & Qt::TextSelectableByMouse);
            box->accept();
        });
        action("hard")->trigger();
        QVERIFY(seen);

        nextNote(3, 12);
        QTest::keyClick(listen(), Qt::Key_Space);
        QTest::keyClick(listen(), Qt::Key_A);
        window->setEnding();
        window->close();  // a box now would fail the test through the guard
        QVERIFY(!window->isVisible());
    }

    void quitFromTheMenuRecordsTheRunOnce()
    {
        nextNote(4);
        QTest::keyClick(listen(), Qt::Key_Space);
        QTest::keyClick(listen(), Qt::Key_A);
        action("en")->trigger();
        QVERIFY(!window->isVisible());
        QCOMPARE(scoreLog->runs.size(), 1u);
        QCOMPARE(scoreLog->runs[0].missCount, 1u);
    }

    // The test says what it is before its first item, from a view with a Listen of its
    // own, and in the title how far it has come; its result is a view over the keys that
    // can be read whole but not edited (no text cursor), read by a screen reader, focused,
    // never a box, with a way back to the mode it was started from, as it was.
    void theTestSaysWhatItIsAndWhereThePlayerStandsInTheWindow()
    {
        // The items' order draws as many values as it needs: any will do here.
        for (int i = 0; i < 10000; ++i)
            random->values.push_back(float(i * 7919 % 10007) / 10007.0f);
        action("hard")->trigger();
        window->startPitchTest();
        QCOMPARE(window->windowTitle(), QStringLiteral("Tonarika テスト 0 / 72"));
        QCOMPARE(text("CapMode"), QStringLiteral("テスト"));
        for (const char* mode : {"easy", "hard", "prac"})
            QVERIFY(!action(mode)->isChecked());
        auto* view = window->findChild<QFrame*>(QStringLiteral("pitchTestView"));
        auto* said = window->findChild<QLabel*>(QStringLiteral("pitchTestResult"));
        auto* button = window->findChild<QPushButton*>(QStringLiteral("pitchTestButton"));
        QVERIFY(view && said && button && view->isVisible());
        QVERIFY(window->rect().contains(QRect(view->mapTo(window.get(), QPoint(0, 0)), view->size())));
        QVERIFY2(said->text().contains(QStringLiteral("72 問")), qPrintable(said->text()));
        QCOMPARE(said->accessibleName(), said->text());
        QCOMPARE(button->text(), QStringLiteral("Listen"));
        QVERIFY(button->hasFocus());
        QTest::keyClick(button, Qt::Key_Space);
        QVERIFY(!view->isVisible());
        QCOMPARE(player->played.size(), std::size_t(1));
        QCOMPARE(window->windowTitle(), QStringLiteral("Tonarika テスト 1 / 72"));
        QVERIFY(listen()->hasFocus());

        const QString result = QString::fromStdString(pitchTestResultText({18.25, 30.0, 12.5, 1840.0}, 442, "."));
        window->showPitchTestResult(result.toStdString());
        QVERIFY(view->isVisible());
        QCOMPARE(said->accessibleName(), result);
        QVERIFY(said->text().contains(QStringLiteral("純音 18.25 / 36: 研究の目安 24.5 にはまだ届きません")));
        QVERIFY(said->hasFocus());
        QVERIFY(!(said->textInteractionFlags() & (Qt::TextEditable | Qt::TextSelectableByKeyboard)));
        QTRY_VERIFY2(said->height() >= said->heightForWidth(said->width()), "the result is cut short");
        QCOMPARE(button->text(), QStringLiteral("練習に戻る"));
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(!view->isVisible());
        QCOMPARE(window->windowTitle(), QStringLiteral("Tonarika"));
        QVERIFY(action("hard")->isChecked());
        QCOMPARE(text("CapMode"), QStringLiteral("Hard"));
    }
};

int main(int argc, char** argv)
{
    WindowTest test;
    return runWindowsTest(test, argc, argv);
}

#include "WindowTest.moc"
