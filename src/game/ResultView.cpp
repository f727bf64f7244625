#include "ResultView.h"

// own
#include "Captions.h"
#include "Player.h"
#include "Rules.h"

// std
#include <utility>

namespace tonarika {

ResultView::ResultView(Display& display, std::string decimalSeparator)
    : m_display(display)
    , m_decimalSeparator(std::move(decimalSeparator))
{
}

void ResultView::idle()
{
    if (m_outlined >= 0)
        m_display.setKeyOutlined(std::exchange(m_outlined, -1), false);
    m_display.setLabel1BackColor(kWhite);
    m_display.setCaption(Caption::Label1, captions::kIdle);
    m_display.setLabel1ToolTip({});
    // What a screen reader hears follows what the eye sees: no result, only Listen's use.
    m_display.setListenDescription(captions::kListenDescription);
}

void ResultView::notice(std::string_view caption, std::string_view detail)
{
    m_display.setLabel1BackColor(kWhite);
    m_display.setLabel1ForeColor(Colour::systemButtonText());
    m_display.setCaption(Caption::Label1, caption);
    m_display.setLabel1ToolTip(detail);
    m_display.setListenDescription(detail);
}

void ResultView::soundFailed(const SoundError& error)
{
    if (!error.unavailable()) {
        warn();
        return;
    }
    notice(captions::kNoSound,
           error.cause() == SoundError::Cause::NoDevice ? captions::kNoDevice : captions::kReconnecting);
}

void ResultView::warn()
{
    m_display.showWarning(captions::kWarningText, captions::kWarningTitle);
}

void ResultView::right(std::uint32_t questions, std::uint32_t misses)
{
    m_display.setLabel1BackColor(kRed);
    m_display.setLabel1ForeColor(kWhite);
    m_display.setCaption(Caption::Label1, captions::kRight);
    score(captions::kRight, questions, misses);
}

void ResultView::miss(std::uint32_t questions, std::uint32_t misses)
{
    m_display.setLabel1BackColor(Colour::systemButtonText());
    m_display.setLabel1ForeColor(kWhite);
    m_display.setCaption(Caption::Label1, captions::kMiss);
    score(captions::kMiss, questions, misses);
}

void ResultView::late(std::uint32_t questions, std::uint32_t misses)
{
    m_display.setLabel1BackColor(Colour::systemButtonText());
    m_display.setLabel1ForeColor(kWhite);
    m_display.setCaption(Caption::Label1, captions::kLate);
    score(captions::kLate, questions, misses);
}

void ResultView::missShowing(std::uint32_t questions, std::uint32_t misses, int asked)
{
    m_display.setLabel1BackColor(Colour::systemButtonText());
    m_display.setLabel1ForeColor(kWhite);
    const std::string said = std::string(captions::kMissShowing) + noteName(NoteIndex(asked), m_naming);
    m_display.setCaption(Caption::Label1, said);
    if (m_outlined != asked) {
        if (m_outlined >= 0)
            m_display.setKeyOutlined(m_outlined, false);
        m_display.setKeyOutlined(asked, true);
        m_outlined = asked;
    }
    score(said, questions, misses);
}

void ResultView::notAsked()
{
    notice(captions::kNotAsked, captions::kNotAsked);
}

void ResultView::newNote(int note)
{
    const std::string name = noteName(NoteIndex(note), m_naming);
    const std::string said = std::string(captions::kNewNote) + name + std::string(captions::kThisIs) + name
                             + std::string(captions::kThisIsEnd);
    notice(said, said);
}

void ResultView::score(std::string_view result, std::uint32_t questions, std::uint32_t misses)
{
    m_display.focusListen();
    const std::string rate = rateText(questions, misses, m_decimalSeparator);
    const std::string missCaption = missText(questions, misses);
    m_display.setCaption(Caption::CapPar, rate);
    m_display.setCaption(Caption::CapMiss, missCaption);
    m_display.setListenDescription(answerSummary(result, missCaption, rate));
}

void ResultView::practiceNote(int key)
{
    m_display.focusKey(key);
    m_display.setLabel1ForeColor(kBlue);
    m_display.setCaption(Caption::Label1, noteName(NoteIndex(key), m_naming));
}

void ResultView::counting()
{
    m_display.setCaption(Caption::CapPar, captions::kStartRate);
    m_display.setCaption(Caption::CapMiss, captions::kStartMiss);
}

void ResultView::notCounting()
{
    m_display.setCaption(Caption::CapPar, captions::kPracticeRate);
    m_display.setCaption(Caption::CapMiss, captions::kPracticeMiss);
}

void ResultView::showAsked(NoteSet asked)
{
    for (int note = 0; note < kNoteCount; ++note) {
        const bool dimmed = !asked.contains(note);
        if (dimmed != m_dimmed.contains(note))
            m_display.setKeyAsked(note, !dimmed);
    }
    m_dimmed = NoteSet::ofBits(std::uint16_t(~asked.bits() & NoteSet::all().bits()));
}

}  // namespace tonarika
