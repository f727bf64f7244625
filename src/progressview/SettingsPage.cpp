#include "SettingsPage.h"

// own
#include "DailySettingsBox.h"
#include "PageParts.h"
#include "Progress.h"
#include "SettingsFile.h"
#include "SettingsReceipt.h"

// Qt
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLocale>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <QVBoxLayout>

// std
#include <algorithm>

namespace tonarika {

SettingsPage::SettingsPage(QString file, QWidget* parent)
    : QWidget(parent)
    , m_file(std::move(file))
    , m_watcher(m_file)
{
    auto* timbres = new QGroupBox(tr("音色"));
    timbres->setObjectName(QStringLiteral("timbres"));
    auto* timbreLayout = new QVBoxLayout(timbres);
    for (const auto& row : kTimbreTable) {
        auto* box = new QCheckBox(gameText(row.name));
        box->setObjectName(QStringLiteral("timbre_") + QString::fromUtf8(row.key.data(), qsizetype(row.key.size())));
        box->setAccessibleName(box->text());
        timbreLayout->addWidget(box);
        m_timbres[std::size_t(row.timbre)] = box;
    }
    timbreLayout->addWidget(explanation(timbres, tr(
        "問題の音をどの楽器で鳴らすか。いくつも選ぶと、音色が変わっても音の名前で聞き分けられるようになります。")));

    auto* octaves = new QGroupBox(tr("音域"));
    octaves->setObjectName(QStringLiteral("octaves"));
    auto* octaveLayout = new QVBoxLayout(octaves);
    m_oneOctave = new QRadioButton(tr("1 オクターブ（ド4〜シ4）"));
    m_oneOctave->setObjectName(QStringLiteral("oneOctave"));
    m_threeOctaves = new QRadioButton(tr("3 オクターブ（ド3〜シ5）"));
    m_threeOctaves->setObjectName(QStringLiteral("threeOctaves"));
    for (QRadioButton* button : {m_oneOctave, m_threeOctaves}) {
        button->setAccessibleName(button->text());
        octaveLayout->addWidget(button);
    }
    octaveLayout->addWidget(explanation(octaves, tr(
        "3 オクターブにすると、高さが変わっても同じ名前の音を当てる練習になります。")));

    m_guard = new QCheckBox(tr("前の音を手がかりにしない"));
    m_guard->setObjectName(QStringLiteral("guard"));
    m_guard->setAccessibleName(m_guard->text());
    m_weakNotes = new QCheckBox(tr("苦手な音を多めに"));
    m_weakNotes->setObjectName(QStringLiteral("weakNotes"));
    m_weakNotes->setAccessibleName(m_weakNotes->text());
    m_showAnswer = new QCheckBox(tr("はずれのとき正解を示す"));
    m_showAnswer->setObjectName(QStringLiteral("showAnswer"));
    m_showAnswer->setAccessibleName(m_showAnswer->text());

    auto* notes = new QGroupBox(tr("出題する音"));
    notes->setObjectName(QStringLiteral("notes"));
    auto* notesLayout = new QVBoxLayout(notes);
    m_allNotes = new QRadioButton(tr("モードの音すべて"));
    m_allNotes->setObjectName(QStringLiteral("allNotes"));
    m_growingNotes = new QRadioButton(tr("少しずつ増やす"));
    m_growingNotes->setObjectName(QStringLiteral("growingNotes"));
    m_chosenNotes = new QRadioButton(tr("選んだ音だけ"));
    m_chosenNotes->setObjectName(QStringLiteral("chosenNotes"));
    for (QRadioButton* button : {m_allNotes, m_growingNotes, m_chosenNotes}) {
        button->setAccessibleName(button->text());
        notesLayout->addWidget(button);
    }
    notesLayout->addWidget(explanation(notes, tr(
        "モードの音すべて: Easy は白鍵の 7 音、Hard は 12 音。少しずつ増やす: ド ミ ソ から始め、出題中の音を"
        "すべて覚えると 1 音ずつ増えます（新しい音は、出題の前に名前と一緒に一度鳴ります）。"
        "選んだ音だけ: チェックした 2 音以上を出題します。")));
    // The notes as the keyboard lays them out: white keys below, black keys above.
    auto* keys = new QGridLayout;
    keys->setContentsMargins(24, 0, 0, 0);
    int white = 0;
    for (const int note : kKeyboardOrder) {
        const auto& row = kNoteTable[std::size_t(note)];
        auto* box = new QCheckBox(QString::fromUtf8(row.noteName.data(), qsizetype(row.noteName.size())));
        box->setObjectName(QStringLiteral("note_%1").arg(note));
        box->setAccessibleName(box->text());
        if (row.black)
            keys->addWidget(box, 0, white - 1, 1, 2, Qt::AlignCenter);
        else
            keys->addWidget(box, 1, white++ * 1, Qt::AlignLeft);
        m_notes[std::size_t(note)] = box;
    }
    notesLayout->addLayout(keys);
    auto* a4Row = new QHBoxLayout;
    auto* a4Label = new QLabel(tr("基準の音 A4(&A)"));
    m_a4 = new QSpinBox;
    m_a4->setObjectName(QStringLiteral("a4"));
    m_a4->setRange(kLowestA4, kHighestA4);
    m_a4->setSuffix(QStringLiteral(" Hz"));
    m_a4->setKeyboardTracking(false);
    m_a4->setAccessibleName(tr("基準の音 A4"));
    a4Label->setBuddy(m_a4);
    a4Row->addWidget(a4Label);
    a4Row->addWidget(m_a4);
    a4Row->addStretch(1);
    notesLayout->addLayout(a4Row);
    notesLayout->addWidget(explanation(m_a4, tr(
        "ラ（A4）の高さ。ふだん弾く楽器や合奏に合わせます。ふつうは 440 Hz です。")));

    // The configuration folder that holds the settings' own: the timer's drop-in and the
    // autostart entry go beside them.
    QDir configHome = QFileInfo(m_file).absoluteDir();
    configHome.cdUp();
    m_daily = new DailySettingsBox(m_file, ReminderSchedule(configHome.absolutePath()));

    auto* midi = new QGroupBox(tr("MIDIキーボード"));
    midi->setObjectName(QStringLiteral("midiGroup"));
    auto* midiLayout = new QVBoxLayout(midi);
    m_midi = new QCheckBox(tr("MIDIキーボードで答える"));
    m_midi->setObjectName(QStringLiteral("midi"));
    m_midi->setAccessibleName(m_midi->text());
    m_keyboards = new QLabel;
    m_keyboards->setObjectName(QStringLiteral("midiKeyboards"));
    m_keyboards->setWordWrap(true);
    m_keyboards->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_keyboards->setFocusPolicy(Qt::StrongFocus);
    m_keyboards->setAccessibleName(tr("見えているMIDIキーボード"));
    midiLayout->addWidget(m_midi);
    midiLayout->addWidget(explanation(m_midi, tr(
        "つないだ MIDI キーボードの鍵盤で答えます（どのオクターブでも）。ペダルは Listen と同じです。")));
    midiLayout->addWidget(m_keyboards);

    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("settingsStatus"));
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);

    // However small the window, every choice and the status can be scrolled to.
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->addWidget(timbres);
    layout->addWidget(octaves);
    layout->addWidget(m_guard);
    layout->addWidget(explanation(m_guard, tr(
        "問題の前に短い音の列を鳴らし、続けて出る音を前の問題の音から離します。前の音からの距離（相対音感）では"
        "当てられなくなります。")));
    layout->addWidget(m_weakNotes);
    layout->addWidget(explanation(m_weakNotes, tr(
        "よく間違える音や答えるのが遅い音を多めに出題し、間違えた音は少し後にもう一度出します。")));
    layout->addWidget(m_showAnswer);
    layout->addWidget(explanation(m_showAnswer, tr(
        "最初に間違えたとき、正しい音の名前を表示し、その鍵盤を囲んで、もう一度鳴らします。その問題はそこで終わります。")));
    layout->addWidget(notes);
    layout->addWidget(m_daily);
    layout->addWidget(displayGroup());
    layout->addWidget(midi);
    layout->addWidget(m_status);
    layout->addStretch(1);
    auto* scroll = scrolling(content);
    scroll->setObjectName(QStringLiteral("settingsScroll"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);

    showFile();
    connect(&m_watcher, &SettingsWatcher::changed, this, &SettingsPage::showFile);
    for (QCheckBox* box : m_timbres)
        connect(box, &QCheckBox::toggled, this, [this, box] { timbreToggled(box); });
    connect(m_threeOctaves, &QRadioButton::toggled, this, &SettingsPage::write);
    connect(m_guard, &QCheckBox::toggled, this, &SettingsPage::write);
    connect(m_weakNotes, &QCheckBox::toggled, this, &SettingsPage::write);
    connect(m_showAnswer, &QCheckBox::toggled, this, &SettingsPage::write);
    for (QRadioButton* button : {m_allNotes, m_growingNotes, m_chosenNotes}) {
        connect(button, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                write();
        });
    }
    for (QCheckBox* box : m_notes)
        connect(box, &QCheckBox::toggled, this, [this, box] { noteToggled(box); });
    connect(m_a4, &QSpinBox::valueChanged, this, &SettingsPage::write);
    connect(m_midi, &QCheckBox::toggled, this, &SettingsPage::writeMidi);
    connect(m_daily, &DailySettingsBox::told, m_status, &QLabel::setText);
    connect(m_daily, &DailySettingsBox::saved, this, &SettingsPage::confirmSaved);
    m_receiptTimer.setInterval(kReceiptLookMs);
    connect(&m_receiptTimer, &QTimer::timeout, this, &SettingsPage::lookForReceipt);

    // The keyboards are listed on the lister's thread; the page only reads its last listing.
    showKeyboards();
    m_lister.start();
    auto* keyboardTimer = new QTimer(this);
    connect(keyboardTimer, &QTimer::timeout, this, &SettingsPage::showKeyboards);
    keyboardTimer->start(1000);
}

QWidget* SettingsPage::displayGroup()
{
    auto* group = new QGroupBox(tr("表示"));
    group->setObjectName(QStringLiteral("display"));
    auto* form = new QFormLayout(group);
    m_names = new QComboBox;
    m_names->setObjectName(QStringLiteral("names"));
    // In the order of NameSystem.
    m_names->addItems({tr("ドレミ（固定ド）"), tr("C D E（英語）"), tr("Do Ré Mi（ソルフェージュ）"),
                       tr("C D E … H（ドイツ語）"), tr("ハニホ（日本語）")});
    m_names->setAccessibleName(tr("音の名前"));
    m_accidentals = new QComboBox;
    m_accidentals->setObjectName(QStringLiteral("accidentals"));
    m_accidentals->addItems({tr("♯（シャープ）"), tr("♭（フラット）"), tr("両方")});
    m_accidentals->setAccessibleName(tr("黒鍵の名前"));
    m_size = new QComboBox;
    m_size->setObjectName(QStringLiteral("size"));
    for (const double size : kDisplaySizes)
        m_size->addItem(tr("%1 倍").arg(QLocale().toString(size)), size);
    m_size->setAccessibleName(tr("ゲームの画面の大きさ"));
    m_language = new QComboBox;
    m_language->setObjectName(QStringLiteral("language"));
    // In the order of Language; each named in the language shown.
    m_language->addItems({tr("日本語"), QStringLiteral("English")});
    m_language->setAccessibleName(tr("言語"));
    m_sample = new QLabel;
    m_sample->setObjectName(QStringLiteral("namesSample"));
    m_sample->setWordWrap(true);
    m_sample->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(tr("音の名前(&N)"), m_names);
    form->addRow(explanation(m_names, tr("鍵盤の横、結果、このページの表や記録で音をどう呼ぶか。")));
    form->addRow(tr("黒鍵(&K)"), m_accidentals);
    form->addRow(explanation(m_accidentals, tr("黒鍵を下の音の ♯ で呼ぶか、上の音の ♭ で呼ぶか、両方か。")));
    form->addRow(m_sample);
    form->addRow(tr("大きさ(&Z)"), m_size);
    form->addRow(explanation(m_size, tr("ゲームの画面と「バージョン情報」を大きく描きます。次にゲームを起動したときから。")));
    form->addRow(tr("言語(&L)"), m_language);
    form->addRow(explanation(m_language, tr("ゲームとこの練習帳の言葉。スコアファイルと記録は変わりません。")));
    for (QComboBox* box : {m_names, m_accidentals, m_size, m_language}) {
        connect(box, &QComboBox::currentIndexChanged, this, [this] {
            showSample();
            writeDisplay();
        });
    }
    return group;
}

DisplaySettings SettingsPage::shownDisplay() const
{
    DisplaySettings display;
    display.naming = {NameSystem(m_names->currentIndex()), Accidentals(m_accidentals->currentIndex())};
    display.size = m_size->currentData().toDouble();
    display.language = Language(m_language->currentIndex());
    return display;
}

void SettingsPage::showDisplay(const DisplaySettings& display)
{
    m_shownDisplay = display;
    const QSignalBlocker quietNames(m_names), quietAccidentals(m_accidentals), quietSize(m_size), quietLanguage(m_language);
    m_names->setCurrentIndex(int(display.naming.system));
    m_accidentals->setCurrentIndex(int(display.naming.accidentals));
    m_size->setCurrentIndex(std::max(0, m_size->findData(display.size)));
    m_language->setCurrentIndex(int(display.language));
    for (int note = 0; note < kNoteCount; ++note) {
        const QString name = QString::fromStdString(noteName(NoteIndex(note), naming()));
        m_notes[std::size_t(note)]->setText(name);
        m_notes[std::size_t(note)]->setAccessibleName(name);
    }
    showSample();
    emit namingRead(naming());
    emit languageRead(display.language);
}

void SettingsPage::showSample()
{
    // The twelve keys' names as the choice shown would give them, before it is written.
    const NoteNaming naming = namingIn(shownDisplay().language, shownDisplay().naming);
    QStringList names;
    for (const int note : kKeyboardOrder)
        names << QString::fromStdString(noteName(NoteIndex(note), naming));
    const QString sample = tr("例: ") + names.join(QStringLiteral("  "));
    m_sample->setText(sample);
    m_sample->setAccessibleName(sample);
}

void SettingsPage::writeDisplay()
{
    if (!writeChanged(displayValues(shownDisplay()), displayValues(m_shownDisplay)))
        return;
    m_shownDisplay = shownDisplay();
    emit namingRead(naming());
    emit languageRead(m_shownDisplay.language);
    confirmSaved(tr("保存しました。"));
    emit written({});
}

void SettingsPage::showKeyboards()
{
    const auto keyboards = m_lister.keyboards();
    QStringList names;
    for (const std::string& name : keyboards)
        names << QString::fromStdString(name);
    const QString text = !m_lister.systemOpen() ? tr("MIDIを使えません（ALSAシーケンサーもJACKサーバーもありません）")
                         : names.isEmpty()      ? tr("見えているキーボード: なし")
                                                : tr("見えているキーボード: %1").arg(names.join(tr("、")));
    if (m_keyboards->text() == text)
        return;
    m_keyboards->setText(text);
    m_keyboards->setAccessibleDescription(text);
}

void SettingsPage::writeMidi()
{
    if (!writeChanged({midiValue(m_midi->isChecked())}, {}))
        return;
    confirmSaved(tr("保存しました。"));
    emit written({});
}

bool SettingsPage::writeChanged(const SettingsValues& now, const SettingsValues& before)
{
    SettingsValues changed;
    for (std::size_t i = 0; i < now.size(); ++i) {
        if (i >= before.size() || now[i] != before[i])
            changed.push_back(now[i]);
    }
    if (changed.empty())
        return false;
    if (const auto problem = writeSettingsFile(m_file, changed)) {
        m_status->setText(tr("設定を保存できませんでした: %1。設定ファイルはそのままです。")
                              .arg(problemTextJapanese(*problem)));
        emit written(problemTextJapanese(*problem));
        return false;
    }
    return true;
}

void SettingsPage::confirmSaved(const QString& text)
{
    m_saved = text;
    m_status->setText(text);
    // The game says in its receipt which contents of the file it has taken up.
    m_awaited = readSettingsFile(m_file).digest;
    m_receiptLooks = 0;
    if (!m_awaited.isEmpty())
        m_receiptTimer.start();
    lookForReceipt();
}

void SettingsPage::lookForReceipt()
{
    if (m_awaited.isEmpty())
        return;
    if (readReceipt(m_file) == m_awaited) {
        m_receiptTimer.stop();
        m_awaited.clear();
        m_status->setText(m_saved + tr("ゲームに反映されました。"));
        return;
    }
    // No game that runs takes it up in time: it reads the file when it starts.
    if (++m_receiptLooks >= kReceiptLooks) {
        m_receiptTimer.stop();
        m_awaited.clear();
    }
}

void SettingsPage::showFile()
{
    const SettingsReading& reading = m_watcher.reading();
    m_shown = reading.settings;
    show(m_shown);
    m_daily->show(reading);
    showDisplay(reading.display);
    emit goalRead(reading.daily.goalMinutes);
    {
        const QSignalBlocker quiet(m_midi);
        m_midi->setChecked(reading.midi);
    }
    emit settingsChanged(m_shown);
    if (reading.problems.empty()) {
        m_status->clear();
        return;
    }
    QStringList problems;
    for (const SettingsProblem& problem : reading.problems)
        problems << problemTextJapanese(problem);
    m_status->setText((reading.readWhole ? tr("設定ファイルの一部を読めなかったため、そこは既定の値を表示しています。\n%1")
                                         : tr("設定ファイルを読めないため、既定の値を表示しています。"
                                                          "ファイルはそのままにし、書き換えません。\n%1"))
                          .arg(problems.join(u'\n')));
}

void SettingsPage::show(const QuestionSettings& settings)
{
    for (std::size_t index = 0; index < m_timbres.size(); ++index) {
        const QSignalBlocker quiet(m_timbres[index]);
        m_timbres[index]->setChecked(std::find(settings.timbres.begin(), settings.timbres.end(), Timbre(index))
                                     != settings.timbres.end());
    }
    const QSignalBlocker quietOne(m_oneOctave), quietThree(m_threeOctaves), quietGuard(m_guard),
        quietWeak(m_weakNotes), quietAll(m_allNotes), quietGrowing(m_growingNotes), quietChosen(m_chosenNotes),
        quietA4(m_a4);
    m_oneOctave->setChecked(!settings.threeOctaves);
    m_threeOctaves->setChecked(settings.threeOctaves);
    m_guard->setChecked(settings.guard);
    m_weakNotes->setChecked(settings.weakNotes);
    {
        const QSignalBlocker quietShown(m_showAnswer);
        m_showAnswer->setChecked(settings.showAnswer);
    }
    m_allNotes->setChecked(settings.notes == NoteChoice::All);
    m_growingNotes->setChecked(settings.notes == NoteChoice::Growing);
    m_chosenNotes->setChecked(settings.notes == NoteChoice::Chosen);
    for (int note = 0; note < kNoteCount; ++note) {
        QCheckBox* box = m_notes[std::size_t(note)];
        const QSignalBlocker quiet(box);
        box->setChecked(settings.notes == NoteChoice::Chosen && settings.chosen.contains(note));
        box->setEnabled(settings.notes == NoteChoice::Chosen);
    }
    m_a4->setValue(settings.a4);
}

QuestionSettings SettingsPage::chosen() const
{
    QuestionSettings settings;
    settings.timbres.clear();
    for (std::size_t index = 0; index < m_timbres.size(); ++index) {
        if (m_timbres[index]->isChecked())
            settings.timbres.push_back(Timbre(index));
    }
    settings.threeOctaves = m_threeOctaves->isChecked();
    settings.guard = m_guard->isChecked();
    settings.weakNotes = m_weakNotes->isChecked();
    settings.showAnswer = m_showAnswer->isChecked();
    settings.notes = m_growingNotes->isChecked() ? NoteChoice::Growing
                     : m_chosenNotes->isChecked() ? NoteChoice::Chosen
                                                  : NoteChoice::All;
    if (settings.notes == NoteChoice::Chosen) {
        for (int note = 0; note < kNoteCount; ++note) {
            if (m_notes[std::size_t(note)]->isChecked())
                settings.chosen.add(note);
        }
    }
    settings.a4 = m_a4->value();
    // The daily box writes the window: the page keeps what the file holds.
    settings.answerWindow = m_shown.answerWindow;
    return settings;
}

void SettingsPage::noteToggled(QCheckBox* box)
{
    // At least two notes: the one that would leave fewer stays checked.
    if (chosen().chosen.size() < 2) {
        const QSignalBlocker quiet(box);
        box->setChecked(true);
        m_status->setText(tr("音は少なくとも2つ選んでください。"));
        return;
    }
    write();
}

void SettingsPage::timbreToggled(QCheckBox* box)
{
    // At least one timbre: the one checked alone cannot be unchecked.
    if (chosen().timbres.empty()) {
        const QSignalBlocker quiet(box);
        box->setChecked(true);
        m_status->setText(tr("音色は少なくとも1つ選んでください。"));
        return;
    }
    write();
}

void SettingsPage::write()
{
    // Choosing notes begins from the mode's seven white keys, which the player then narrows.
    if (m_chosenNotes->isChecked() && chosen().chosen.size() < 2) {
        for (int note = 0; note < kWhiteKeyCount; ++note) {
            const QSignalBlocker quiet(m_notes[std::size_t(note)]);
            m_notes[std::size_t(note)]->setChecked(true);
        }
    }
    for (QCheckBox* box : m_notes)
        box->setEnabled(m_chosenNotes->isChecked());
    // Only what the player changed here: whatever else the file holds, and any key the
    // player edited by hand since, stays as it stands.
    if (!writeChanged(settingsValues(chosen()), settingsValues(m_shown)))
        return;
    m_shown = chosen();
    emit settingsChanged(m_shown);
    confirmSaved(tr("保存しました。次の問題から使われます。"));
    emit written({});
}

}  // namespace tonarika
