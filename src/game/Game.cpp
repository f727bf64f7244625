#include "Game.h"

// own
#include "KeyTable.h"

// std
#include <exception>
#include <limits>

namespace tonarika {

namespace {
constexpr const char* kRightCaption = " 当たり！";
constexpr const char* kMissCaption = "はずれ";
constexpr const char* kStartRate = "0.00 %";
constexpr const char* kStartMiss = "0/0 回";
}  // namespace

Game::Game(Display& display, Player& player, RandomSource& random, ScoreLog& scoreLog,
           std::string decimalSeparator)
    : m_display(display)
    , m_player(player)
    , m_random(random)
    , m_scoreLog(scoreLog)
    , m_decimalSeparator(std::move(decimalSeparator))
{
}

void Game::Sound(int index)
{
    const NoteRow& row = kNoteTable.at(index);
    m_state.wavFile = row.wavFile;
    m_state.noteName = row.noteName;
    m_player.play(row.wavFile);
}

void Game::Command1_Click()
{
    try {
        if (m_state.curNote) {
            Sound(*m_state.curNote);
            return;
        }
        // 32 bits cannot be used up by hand; saturate rather than wrap all the same.
        if (m_state.questionCount < std::numeric_limits<std::uint32_t>::max())
            ++m_state.questionCount;
        m_state.settled = false;
        setIdleLook();

        m_random.reseedFromClock();
        const int range = m_display.isChecked(ModeItem::Easy) ? kWhiteKeyCount : kNoteCount;
        const auto note = static_cast<NoteIndex>(drawNote(m_random, range, m_state.prevNote));
        m_state.curNote = note;
        m_state.prevNote = note;
        Sound(note);
    } catch (const std::exception&) {
        m_display.showWarning(kWarningText, kWarningTitle);
    }
}

void Game::cmdKey_Click(int index)
{
    m_state.keyNote = static_cast<std::uint8_t>(index);
    hantei();
}

void Game::Key(int keyCode)
{
    if (const auto note = keyToNote(keyCode))
        cmdKey_Click(*note);
}

void Game::hantei()
{
    const int key = m_state.keyNote;
    if (m_state.practiceMode) {
        try {
            Sound(key);
        } catch (const std::exception&) {
            m_display.showWarning(kWarningText, kWarningTitle);
            return;
        }
        m_display.focusKey(key);
        m_display.setLabel1ForeColor(kBlue);
        m_display.setCaption(Caption::Label1, m_state.noteName);
        return;
    }
    if (!m_state.curNote)
        return;

    if (*m_state.curNote == key) {
        m_display.setLabel1BackColor(kRed);
        m_display.setLabel1ForeColor(kWhite);
        m_display.setCaption(Caption::Label1, kRightCaption);
        m_state.curNote.reset();
        m_state.settled = true;
        update();
        return;
    }
    // In Easy mode no black key is ever asked, so pressing one is not a miss.
    if (m_display.isChecked(ModeItem::Easy) && kNoteTable.at(key).black) {
        setIdleLook();
        return;
    }
    m_display.setLabel1BackColor(Colour::systemButtonText());
    m_display.setLabel1ForeColor(kWhite);
    m_display.setCaption(Caption::Label1, kMissCaption);
    if (!m_state.settled) {
        ++m_state.missCount;
        m_state.settled = true;
    }
    update();
}

void Game::update()
{
    m_display.focusListen();
    m_display.setCaption(Caption::CapPar,
                         rateText(m_state.questionCount, m_state.missCount, m_decimalSeparator));
    m_display.setCaption(Caption::CapMiss, missText(m_state.questionCount, m_state.missCount));
}

void Game::setIdleLook()
{
    m_display.setLabel1BackColor(kWhite);
    m_display.setCaption(Caption::Label1, "");
}

void Game::clear_Click()
{
    m_state.questionCount = 0;
    m_state.missCount = 0;
    m_state.curNote.reset();
    m_state.prevNote = kNoPrevNote;
    m_display.setCaption(Caption::CapPar, kStartRate);
    m_display.setCaption(Caption::CapMiss, kStartMiss);
    m_state.settled = false;
    setIdleLook();
}

void Game::easy_Click() { switchMode(ModeItem::Easy); }
void Game::hard_Click() { switchMode(ModeItem::Hard); }
void Game::prac_Click() { switchMode(ModeItem::Prac); }

void Game::switchMode(ModeItem mode)
{
    if (m_display.isChecked(mode))
        return;
    const bool practice = mode == ModeItem::Prac;
    m_state.practiceMode = practice;
    m_display.setClearEnabled(!practice);
    // The record is written before the captions change, so it names the mode being left.
    Form_Unload();
    clear_Click();
    if (practice) {
        m_display.setListenEnabled(false);
        m_display.setChecked(ModeItem::Prac, true);
        m_display.setChecked(ModeItem::Hard, false);
        m_display.setChecked(ModeItem::Easy, false);
        m_display.setCaption(Caption::CapMode, "練習モード");
        m_display.setCaption(Caption::CapPar, "--- %");
        m_display.setCaption(Caption::CapMiss, "--- 回");
        return;
    }
    m_display.setChecked(ModeItem::Easy, mode == ModeItem::Easy);
    m_display.setChecked(ModeItem::Hard, mode == ModeItem::Hard);
    m_display.setChecked(ModeItem::Prac, false);
    m_display.setCaption(Caption::CapMode, mode == ModeItem::Easy ? "Easy" : "Hard");
    m_display.setListenEnabled(true);
    m_display.focusListen();
}

void Game::en_Click()
{
    m_display.unloadWindow();
}

void Game::Form_Unload()
{
    // A question drawn but neither answered right nor missed does not count.
    if (!m_state.settled && m_state.questionCount > 0)
        --m_state.questionCount;
    if (m_state.questionCount == 0)
        return;
    try {
        m_scoreLog.append({m_display.caption(Caption::CapMode), m_state.missCount,
                           m_state.questionCount, m_display.caption(Caption::CapPar)});
    } catch (...) {
        // Losing one record must never stop a mode change or the window's closing.
    }
}

}  // namespace tonarika
