#include "Form1.h"

// own
#include "Appearance.h"
#include "Captions.h"
#include "FocusMarkStyle.h"
#include "KeyTable.h"
#include "PitchTestView.h"
#include "frmAbout.h"
#include "ui_Form1.h"

// Qt
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QLocale>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QStyle>

namespace tonarika {

namespace {

// The test's result, a line on stderr too, to keep beside the journal's rows.
Q_LOGGING_CATEGORY(lcTest, "tonarika.test", QtInfoMsg)

QColor toQColor(Colour colour, const QPalette& palette)
{
    return colour.buttonText ? palette.color(QPalette::ButtonText) : QColor::fromRgb(colour.rgb);
}

// The labels' fonts are set in pixels by their style sheets, as the design gives them:
// where the first "<digits>px" of a sheet stands, and how many digits it has. (Plain
// string search: a regular expression would bring PCRE2 and its JIT into memory for it.)
std::pair<qsizetype, qsizetype> pixelSizeAt(const QString& sheet)
{
    for (qsizetype px = sheet.indexOf(u"px"); px > 0; px = sheet.indexOf(u"px", px + 2)) {
        qsizetype start = px;
        while (start > 0 && sheet[start - 1].isDigit())
            --start;
        if (start < px)
            return {start, px - start};
    }
    return {-1, 0};
}

int designedPixels(const QWidget& widget)
{
    const QString sheet = widget.styleSheet();
    const auto [at, digits] = pixelSizeAt(sheet);
    return at < 0 ? 0 : sheet.mid(at, digits).toInt();
}

QString toQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// What a screen reader says of a key beside its note's name: the letter that plays it,
// and whether the questions ask it now.
QString keyDescription(int index, bool asked)
{
    const QString letter = Form1::tr("%1 キー").arg(QLatin1Char(noteToKey(index)));
    return asked ? letter : letter + Form1::tr("（今は出題されません）");
}

// A key the questions do not ask now, in the window's blue-grey.
// Darker by far than an asked white key (a contrast above 3:1), lighter than a black one.
const QColor kDimmedWhite(0x88, 0x88, 0xA0);
const QColor kDimmedBlack(0x70, 0x70, 0x90);

}  // namespace

Form1::Form1(Player& player, RandomSource& random, ScoreLog& scoreLog, Journal& journal, QWidget* parent)
    : QMainWindow(parent)
    , m_ui(std::make_unique<Ui::Form1>())
    , m_game(*this, player, random, scoreLog, journal, m_clock, QLocale().decimalPoint().toStdString())
{
    m_ui->setupUi(this);
    useLightPalette(*this);
    m_game.setAlarm(&m_alarm);
    m_game.setWording(m_wording);
    cmdKey = {m_ui->cmdKey_0, m_ui->cmdKey_1, m_ui->cmdKey_2,  m_ui->cmdKey_3,
              m_ui->cmdKey_4, m_ui->cmdKey_5, m_ui->cmdKey_6,  m_ui->cmdKey_7,
              m_ui->cmdKey_8, m_ui->cmdKey_9, m_ui->cmdKey_10, m_ui->cmdKey_11};

    m_captions = {m_ui->Label3_0, m_ui->Label3_1, m_ui->Label3_2, m_ui->Label3_3, m_ui->Label3_4, m_ui->Label3_5,
                  m_ui->Label3_6, m_ui->Label2_0, m_ui->Label2_1, m_ui->Label2_2, m_ui->Label2_3, m_ui->Label2_4};
    m_captionPixels = QFontInfo(m_ui->Label3_0->font()).pixelSize();
    m_blackCaptionsDesigned = m_ui->Label2->geometry();

    // Fixed size with a close box and a minimise button, no maximise.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowIcon(programIcon());
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_ui->Command1, &QPushButton::clicked, this, [this] { m_game.Command1_Click(); });
    m_ui->Command1->installEventFilter(this);
    for (int i = 0; i < kNoteCount; ++i) {
        connect(cmdKey[i], &QPushButton::clicked, this, [this, i] { m_game.cmdKey_Click(i); });
        cmdKey[i]->installEventFilter(this);
        // What a screen reader says of each key: the note's name and the letter that plays it.
        cmdKey[i]->setAccessibleName(toQString(noteName(NoteIndex(i), {})));
        cmdKey[i]->setAccessibleDescription(keyDescription(i, true));
    }
    m_ui->Command1->setAccessibleDescription(toQString(m_wording.lookUp(captions::kListenDescription)));

    // A focus mark that shows on white keys, black keys and Listen alike.
    auto* focusMark = new FocusMarkStyle(QApplication::style()->name());
    focusMark->setParent(this);
    m_ui->Command1->setStyle(focusMark);
    for (QPushButton* key : cmdKey)
        key->setStyle(focusMark);

    // The mode actions form an exclusive group, so a click never clears the checked
    // mode's mark; the game then sets the marks to the mode it switched to.
    connect(m_ui->easy, &QAction::triggered, this, [this] { m_game.easy_Click(); });
    connect(m_ui->hard, &QAction::triggered, this, [this] { m_game.hard_Click(); });
    connect(m_ui->prac, &QAction::triggered, this, [this] { m_game.prac_Click(); });
    connect(m_ui->clear, &QAction::triggered, this, [this] { m_game.clear_Click(); });
    connect(m_ui->en, &QAction::triggered, this, [this] { m_game.en_Click(); });
    connect(m_ui->ver, &QAction::triggered, this, &Form1::ver_Click);
    // The value labels fit their text, from the start as after every change.
    m_scoreFontPixels = designedPixels(*m_ui->CapMiss);
    for (QLabel* value : {m_ui->CapMode, m_ui->CapMiss, m_ui->CapPar})
        fitToFrame(value);
    adjustSize();
    centreOnScreen(*this);
    m_ui->Command1->setFocus();
}

Form1::~Form1() = default;

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    // A key down on Listen or a note button answers through the keyboard table; the
    // button still handles the key itself afterwards (Space and Enter click it).
    // A letter held with Ctrl, Alt or Meta is a command, not an answer: Ctrl+A (select
    // all) or Alt+O must not answer Do or Ra#.
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
            m_game.Key(key->key());
    }
    return QMainWindow::eventFilter(watched, event);
}

void Form1::midiNotePressed(int index, std::chrono::steady_clock::time_point arrived)
{
    if (!QApplication::activeModalWidget() && isVisible())
        m_game.midiNoteOn(index, arrived);
}

void Form1::midiListenPressed()
{
    // Through the button itself: a disabled Listen stays deaf to the pedal too.
    if (!QApplication::activeModalWidget() && isVisible())
        m_ui->Command1->click();
}

void Form1::closeEvent(QCloseEvent* event)
{
    recordRunOnce();
    event->accept();
}

void Form1::recordRunOnce()
{
    if (!m_unloaded) {
        m_unloaded = true;
        m_game.Form_Unload();
    }
}

void Form1::ver_Click()
{
    frmAbout about(this);
    about.exec();
}

QLabel* Form1::label(Caption which) const
{
    switch (which) {
    case Caption::Label1: return m_ui->Label1;
    case Caption::CapMode: return m_ui->CapMode;
    case Caption::CapMiss: return m_ui->CapMiss;
    case Caption::CapPar: return m_ui->CapPar;
    }
    return nullptr;
}

QAction* Form1::modeAction(Mode item) const
{
    switch (item) {
    case Mode::Easy: return m_ui->easy;
    case Mode::Hard: return m_ui->hard;
    case Mode::Prac: return m_ui->prac;
    case Mode::PitchTest:
    case Mode::Sing: return nullptr;  // started from the command line, not from the menu
    }
    return nullptr;
}

void Form1::setCaption(Caption which, std::string_view text)
{
    QLabel* target = label(which);
    target->setText(toQString(text));
    if (which != Caption::Label1)
        fitToFrame(target);
}

void Form1::setLabel1BackColor(Colour colour)
{
    QPalette palette = m_ui->Label1->palette();
    palette.setColor(QPalette::Window, toQColor(colour, this->palette()));
    m_ui->Label1->setPalette(palette);
}

void Form1::setLabel1ForeColor(Colour colour)
{
    QPalette palette = m_ui->Label1->palette();
    palette.setColor(QPalette::WindowText, toQColor(colour, this->palette()));
    m_ui->Label1->setPalette(palette);
}

// The value labels fit their text, keeping their left and top edges; a text wider than
// the room left in the score frame is set in a smaller font, down to 9 px, so that
// "練習モード" and "9999/9999 回" still show whole.
void Form1::fitToFrame(QLabel* target)
{
    constexpr int kSmallestPixels = 9;
    const int room = m_ui->Frame1->contentsRect().right() + 1 - target->x();
    for (int pixels = m_scoreFontPixels; pixels >= kSmallestPixels; --pixels) {
        QString sheet = target->styleSheet();
        if (const auto [at, digits] = pixelSizeAt(sheet); at >= 0)
            sheet.replace(at, digits, QString::number(pixels));
        // A new style sheet polishes the label again: only when the size changes.
        if (sheet != target->styleSheet())
            target->setStyleSheet(sheet);
        target->adjustSize();
        if (target->width() <= room)
            break;
    }
}

void Form1::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::LanguageChange)
        return;
    m_ui->retranslateUi(this);
    for (int i = 0; i < kNoteCount; ++i)
        cmdKey.at(std::size_t(i))->setAccessibleDescription(keyDescription(i, !m_game.dimmed(i)));
    setNoteNaming(m_naming);
    for (QLabel* value : {m_ui->CapMode, m_ui->CapMiss, m_ui->CapPar})
        fitToFrame(value);
    updateTitle();
}

void Form1::setNoteNaming(NoteNaming naming)
{
    m_naming = naming;
    m_game.setNoteNaming(naming);
    // What the game shows names notes too: a result, the test's most missed.
    m_game.retell();
    // A pair of names on two lines needs the room between the window's top and the black
    // keys; one line each keeps the designed place.
    bool twoLines = false;
    for (int note = kWhiteKeyCount; note < kNoteCount; ++note)
        twoLines = twoLines || keyCaption(NoteIndex(note), naming).find('\n') != std::string::npos;
    const QRect black = twoLines ? QRect(m_blackCaptionsDesigned.x(), 0, m_blackCaptionsDesigned.width(), m_blackCaptionsDesigned.bottom() + 1)
                                 : m_blackCaptionsDesigned;
    m_ui->Label2->setGeometry(black);
    for (int note = 0; note < kNoteCount; ++note) {
        QLabel* caption = m_captions.at(std::size_t(note));
        if (note >= kWhiteKeyCount)
            caption->setGeometry(caption->x(), 0, caption->width(), black.height());
        fitCaption(caption, toQString(keyCaption(NoteIndex(note), naming)));
        cmdKey.at(std::size_t(note))->setAccessibleName(toQString(noteName(NoteIndex(note), naming)));
    }
}

void Form1::fitCaption(QLabel* caption, const QString& text)
{
    constexpr int kSmallestPixels = 8;
    // The window's own font where the caption fits in it, as designed.
    caption->setFont(QFont());
    QFont font = caption->font();
    for (int pixels = m_captionPixels; pixels >= kSmallestPixels; --pixels) {
        font.setPixelSize(pixels);
        const QRect needed = QFontMetrics(font).boundingRect(caption->contentsRect(), int(caption->alignment()), text);
        if (caption->contentsRect().contains(needed)) {
            if (pixels < m_captionPixels)
                caption->setFont(font);
            break;
        }
    }
    caption->setText(text);
}

void Form1::setListenDescription(std::string_view text)
{
    m_ui->Command1->setAccessibleDescription(toQString(text));
}

void Form1::setLabel1ToolTip(std::string_view text)
{
    m_ui->Label1->setToolTip(toQString(text));
}

void Form1::setKeyAsked(int index, bool asked)
{
    QPushButton* key = cmdKey.at(index);
    const bool black = kNoteTable.at(std::size_t(index)).black;
    QPalette palette = key->palette();
    palette.setColor(QPalette::Button, asked ? (black ? QColor(Qt::black) : QColor(Qt::white))
                                             : (black ? kDimmedBlack : kDimmedWhite));
    key->setPalette(palette);
    key->setAccessibleDescription(keyDescription(index, asked));
}

void Form1::updateTitle()
{
    // The title always begins with the program's name; a screen reader reads it whole.
    QString title = QStringLiteral("Tonarika");
    if (!m_titleWord.isEmpty())
        title += QLatin1Char(' ') + m_titleWord;
    if (!m_pitchTestProgress.isEmpty())
        title += QLatin1Char(' ') + m_pitchTestProgress;
    if (!m_dayText.isEmpty())
        title += QStringLiteral(" — ") + m_dayText;
    if (title != windowTitle())
        setWindowTitle(title);
}

void Form1::setTitleWord(std::string_view text)
{
    m_titleWord = toQString(text);
    updateTitle();
}

void Form1::setDayText(const QString& text)
{
    m_dayText = text;
    updateTitle();
}

void Form1::setPitchTestProgress(std::string_view text)
{
    // A screen reader hears the test's progress on Listen too.
    m_pitchTestProgress = toQString(text);
    updateTitle();
    if (!text.empty())
        m_ui->Command1->setAccessibleDescription(toQString(text));
}

PitchTestView* Form1::pitchTestView()
{
    if (!m_pitchTestView) {
        m_pitchTestView = new PitchTestView(centralWidget());
        connect(m_pitchTestView, &PitchTestView::startAsked, this, [this] { m_game.Command1_Click(); });
        connect(m_pitchTestView, &PitchTestView::backAsked, this, [this] { m_game.leavePitchTest(); });
        useLightPalette(*m_pitchTestView);
    }
    // Over the keys and the labels, within the window's fixed size.
    m_pitchTestView->setGeometry(centralWidget()->rect().adjusted(4, 4, -4, -4));
    return m_pitchTestView;
}

void Form1::showPitchTestIntro(std::string_view text)
{
    if (text.empty()) {
        if (m_pitchTestView && !m_pitchTestView->isHidden()) {
            m_pitchTestView->hide();
            m_ui->Command1->setFocus();
        }
        return;
    }
    pitchTestView()->showIntro(toQString(text));
}

void Form1::showPitchTestResult(std::string_view text)
{
    if (text.empty()) {
        if (m_pitchTestView)
            m_pitchTestView->hide();
        return;
    }
    qCInfo(lcTest, "%s", qUtf8Printable(toQString(text).replace(u'\n', QStringLiteral(" / "))));
    pitchTestView()->showResult(toQString(text));
}

void Form1::setKeyOutlined(int index, bool outlined)
{
    if (!outlined) {
        if (m_outline)
            m_outline->hide();
        return;
    }
    if (!m_outline) {
        m_outline = new QFrame(centralWidget());
        m_outline->setObjectName(QStringLiteral("rightKeyOutline"));
        m_outline->setFrameShape(QFrame::Box);
        m_outline->setLineWidth(3);
        m_outline->setAttribute(Qt::WA_TransparentForMouseEvents);
        QPalette look = m_outline->palette();
        look.setColor(QPalette::WindowText, QColor(Qt::red));
        m_outline->setPalette(look);
    }
    m_outline->setGeometry(cmdKey.at(index)->geometry().adjusted(-3, -3, 3, 3));
    m_outline->show();
    m_outline->raise();
}

void Form1::focusListen()
{
    m_ui->Command1->setFocus();
}

void Form1::focusKey(int index)
{
    cmdKey.at(index)->setFocus();
}

void Form1::setListenEnabled(bool enabled)
{
    m_ui->Command1->setEnabled(enabled);
}

void Form1::setClearEnabled(bool enabled)
{
    m_ui->clear->setEnabled(enabled);
}

void Form1::setChecked(Mode item, bool checked)
{
    if (QAction* action = modeAction(item))
        action->setChecked(checked);
}

void Form1::showWarning(std::string_view text, std::string_view title)
{
    QMessageBox box(QMessageBox::Warning, toQString(title), toQString(text), QMessageBox::Ok, this);
    useLightPalette(box);
    box.exec();
}

void Form1::reportUnsavedRecord(std::string_view line)
{
    if (m_ending)
        return;
    QMessageBox box(QMessageBox::Warning, toQString(captions::kUnsavedTitle),
                    toQString(m_wording.lookUp(captions::kUnsavedText)) + QStringLiteral("\n\n") + toQString(line),
                    QMessageBox::Ok, this);
    // The line can be selected and copied.
    box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    useLightPalette(box);
    box.exec();
}

void Form1::unloadWindow()
{
    close();
}

}  // namespace tonarika
