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

ResultView::Telling ResultView::phrase(std::string_view text, std::vector<std::string> args)
{
    return [text, args = std::move(args)](const ResultView& view) {
        return filled(view.wording().lookUp(text), args);
    };
}

void ResultView::tell(Place place, Telling text)
{
    auto& kept = m_told.at(std::size_t(place));
    kept = std::move(text);
    show(place, kept(*this));
}

void ResultView::retell()
{
    for (std::size_t place = 0; place < m_told.size(); ++place) {
        if (m_told.at(place))
            show(Place(place), m_told.at(place)(*this));
    }
}

void ResultView::show(Place place, const std::string& text)
{
    switch (place) {
    case Place::Result: m_display.setCaption(Caption::Label1, text); break;
    case Place::Mode: m_display.setCaption(Caption::CapMode, text); break;
    case Place::Misses: m_display.setCaption(Caption::CapMiss, text); break;
    case Place::Rate: m_display.setCaption(Caption::CapPar, text); break;
    case Place::ToolTip: m_display.setLabel1ToolTip(text); break;
    case Place::ListenDescription: m_display.setListenDescription(text); break;
    case Place::TestProgress: m_display.setPitchTestProgress(text); break;
    case Place::TestIntro: m_display.showPitchTestIntro(text); break;
    case Place::TestResult: m_display.showPitchTestResult(text); break;
    }
}

void ResultView::idle()
{
    if (m_outlined >= 0)
        m_display.setKeyOutlined(std::exchange(m_outlined, -1), false);
    m_display.setLabel1BackColor(kWhite);
    tell(Place::Result, phrase(captions::kIdle));
    tell(Place::ToolTip, phrase({}));
    // What a screen reader hears follows what the eye sees: no result, only Listen's use.
    tell(Place::ListenDescription, phrase(captions::kListenDescription));
}

void ResultView::notice(std::string_view caption, std::string_view detail)
{
    m_display.setLabel1BackColor(kWhite);
    m_display.setLabel1ForeColor(Colour::systemButtonText());
    tell(Place::Result, phrase(caption));
    tell(Place::ToolTip, phrase(detail));
    tell(Place::ListenDescription, phrase(detail));
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
    m_display.showWarning(say(captions::kWarningText), say(captions::kWarningTitle));
}

void ResultView::right(std::uint32_t questions, std::uint32_t misses)
{
    m_display.setLabel1BackColor(kRed);
    m_display.setLabel1ForeColor(kWhite);
    tell(Place::Result, phrase(captions::kRight));
    score(phrase(captions::kRight), questions, misses);
}

void ResultView::miss(std::uint32_t questions, std::uint32_t misses)
{
    m_display.setLabel1BackColor(Colour::systemButtonText());
    m_display.setLabel1ForeColor(kWhite);
    tell(Place::Result, phrase(captions::kMiss));
    score(phrase(captions::kMiss), questions, misses);
}

void ResultView::late(std::uint32_t questions, std::uint32_t misses)
{
    m_display.setLabel1BackColor(Colour::systemButtonText());
    m_display.setLabel1ForeColor(kWhite);
    tell(Place::Result, phrase(captions::kLate));
    score(phrase(captions::kLate), questions, misses);
}

void ResultView::missShowing(std::uint32_t questions, std::uint32_t misses, int asked)
{
    m_display.setLabel1BackColor(Colour::systemButtonText());
    m_display.setLabel1ForeColor(kWhite);
    const Telling said = [asked](const ResultView& view) {
        return view.say(captions::kMissShowing, {noteName(NoteIndex(asked), view.naming())});
    };
    tell(Place::Result, said);
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
    namingNotice(captions::kNewNote, note);
}

void ResultView::singFor(int note)
{
    namingNotice(captions::kListening, note);
}

void ResultView::namingNotice(std::string_view text, int note)
{
    const Telling said = [text, note](const ResultView& view) {
        return view.say(text, {noteName(NoteIndex(note), view.naming())});
    };
    m_display.setLabel1BackColor(kWhite);
    m_display.setLabel1ForeColor(Colour::systemButtonText());
    tell(Place::Result, said);
    tell(Place::ToolTip, said);
    tell(Place::ListenDescription, said);
}

void ResultView::sung(const SungAnswer& answer, int asked, std::uint32_t questions, std::uint32_t misses)
{
    m_display.setLabel1BackColor(answer.right ? kRed : Colour::systemButtonText());
    m_display.setLabel1ForeColor(kWhite);
    const Telling said = [answer, asked](const ResultView& view) {
        return view.say(captions::kSungResult, {view.say(answer.right ? captions::kRight : captions::kMiss),
                                               sungErrorText(answer, NoteIndex(asked), view.naming(), view.wording())});
    };
    tell(Place::Result, said);
    tell(Place::ToolTip, said);
    score(said, questions, misses);
}

void ResultView::score(Telling result, std::uint32_t questions, std::uint32_t misses)
{
    m_display.focusListen();
    tell(Place::Rate, [questions, misses](const ResultView& view) {
        return rateText(questions, misses, view.decimalSeparator());
    });
    tell(Place::Misses, [questions, misses](const ResultView& view) { return missText(questions, misses, view.wording()); });
    tell(Place::ListenDescription, [result = std::move(result), questions, misses](const ResultView& view) {
        return answerSummary(result(view), missText(questions, misses, view.wording()),
                             rateText(questions, misses, view.decimalSeparator()), view.wording());
    });
}

void ResultView::practiceNote(int key)
{
    m_display.focusKey(key);
    m_display.setLabel1ForeColor(kBlue);
    tell(Place::Result, [key](const ResultView& view) { return noteName(NoteIndex(key), view.naming()); });
}

void ResultView::counting()
{
    tell(Place::Rate, phrase(captions::kStartRate));
    tell(Place::Misses, phrase(captions::kStartMiss));
}

void ResultView::notCounting()
{
    tell(Place::Rate, phrase(captions::kPracticeRate));
    tell(Place::Misses, phrase(captions::kPracticeMiss));
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
