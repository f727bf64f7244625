#pragma once

// own
#include "Display.h"
#include "NoteNames.h"
#include "NoteSet.h"
#include "SingJudge.h"
#include "Wording.h"

// std
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tonarika {

class SoundError;

// What the window shows of each outcome: the one place that turns the game's outcomes
// into colours, captions, the focus and what a screen reader hears.
class ResultView {
public:
    ResultView(Display& display, std::string decimalSeparator);

    Display& display() { return m_display; }
    // How the results name the notes.
    void setNaming(NoteNaming naming) { m_naming = naming; }
    NoteNaming naming() const { return m_naming; }
    // The language the texts are shown in; the game's own Japanese unless set. It must
    // outlive the view.
    void setWording(const Wording& wording) { m_wording = &wording; }
    const Wording& wording() const { return *m_wording; }
    // A text of the game's, in the player's language, with its names and figures.
    std::string say(std::string_view text, std::initializer_list<std::string_view> args = {}) const
    {
        return worded(*m_wording, text, args);
    }

    // The places on the window that show a text of the game's.
    enum class Place { Result, Mode, Misses, Rate, ToolTip, ListenDescription, TestProgress, TestIntro, TestResult };
    // A text composed in the language and with the names set when it is shown.
    using Telling = std::function<std::string(const ResultView&)>;
    // One of the game's texts (captions) with its arguments, as a Telling.
    static Telling phrase(std::string_view text, std::vector<std::string> args = {});
    // Shows `text` at `place`, and keeps it to show again.
    void tell(Place place, Telling text);
    // Every text shown again, in the language and with the names set now.
    void retell();
    const std::string& decimalSeparator() const { return m_decimalSeparator; }

    // No result: an empty white label, no key outlined, and Listen's use for a screen reader.
    void idle();
    // A short word in the result label, with the whole of it for a tool tip and a screen
    // reader: both the game's texts (captions), looked up.
    void notice(std::string_view caption, std::string_view detail);
    // A sound that could not be played: the warning box where the output refused it, and
    // where nothing can sound now, a word in the result label.
    void soundFailed(const SoundError& error);
    void warn();
    // A judged answer, and the run's score after it.
    void right(std::uint32_t questions, std::uint32_t misses);
    void miss(std::uint32_t questions, std::uint32_t misses);
    // The right note, too late for the answer window: a miss in the miss look.
    void late(std::uint32_t questions, std::uint32_t misses);
    // A first miss with the right note named and its key outlined, until the next question.
    void missShowing(std::uint32_t questions, std::uint32_t misses, int asked);
    // A key pressed that no question asks now.
    void notAsked();
    // A note that joined the growing set, heard with its name before it is asked.
    void newNote(int note);
    // Singing: the note to sing named while the input listens, and then the sung answer,
    // in the right or the miss look, with its error ("+23 セント").
    void singFor(int note);
    void sung(const SungAnswer& answer, int asked, std::uint32_t questions, std::uint32_t misses);
    // Practice: the note of the key pressed, named.
    void practiceNote(int key);
    // The score of a run just begun, and a mode that scores nothing.
    void counting();
    void notCounting();
    // Keys outside `asked` drawn dimmed, the rest as ever.
    void showAsked(NoteSet asked);
    bool dimmed(int key) const { return m_dimmed.contains(key); }

private:
    void score(Telling result, std::uint32_t questions, std::uint32_t misses);
    // A notice that names a note, in the look of any notice, for the eye and a screen reader.
    void namingNotice(std::string_view text, int note);
    void show(Place place, const std::string& text);

    Display& m_display;
    std::string m_decimalSeparator;
    NoteSet m_dimmed;
    int m_outlined = -1;  // the key outlined, or none
    NoteNaming m_naming;
    const Wording* m_wording = &ownWording();
    std::array<Telling, 9> m_told;  // by Place
};

}  // namespace tonarika
