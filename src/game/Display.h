#pragma once

// own
#include "Mode.h"

// std
#include <cstdint>
#include <string_view>

namespace tonarika {

enum class Caption { Label1, CapMode, CapMiss, CapPar };

// A 24-bit RGB colour, or the system's button-text colour.
struct Colour {
    bool buttonText = false;
    std::uint32_t rgb = 0;

    static constexpr Colour fromRgb(std::uint32_t value) { return {false, value}; }
    static constexpr Colour systemButtonText() { return {true, 0}; }
    friend bool operator==(const Colour&, const Colour&) = default;
};

inline constexpr Colour kWhite = Colour::fromRgb(0xFFFFFF);
inline constexpr Colour kRed = Colour::fromRgb(0xFF0000);
inline constexpr Colour kBlue = Colour::fromRgb(0x0000FF);

// What the game shows on its window. It only receives: the game keeps its own state
// and never reads anything back. All calls are synchronous, on the window thread.
class Display {
public:
    virtual ~Display() = default;

    virtual void setCaption(Caption label, std::string_view text) = 0;
    virtual void setLabel1BackColor(Colour colour) = 0;
    virtual void setLabel1ForeColor(Colour colour) = 0;
    // The whole of what a short caption of the result label stands for; empty for none.
    virtual void setLabel1ToolTip(std::string_view text) = 0;

    virtual void focusListen() = 0;
    virtual void focusKey(int index) = 0;
    virtual void setListenEnabled(bool enabled) = 0;
    virtual void setClearEnabled(bool enabled) = 0;
    // What assistive technology reads as the description of Listen.
    virtual void setListenDescription(std::string_view text) = 0;
    // Whether a note key is one the questions ask now: one that is not is drawn dimmed and
    // named so for screen readers.
    virtual void setKeyAsked(int index, bool asked) = 0;
    // The right key outlined after a miss, for the eye; a screen reader hears the result.
    virtual void setKeyOutlined(int index, bool outlined) = 0;

    // The check mark of the mode's menu item.
    virtual void setChecked(Mode item, bool checked) = 0;

    // The test of absolute pitch: how far it has come ("テスト 12 / 72"), for the eye and a
    // screen reader; empty where no test is taken.
    virtual void setPitchTestProgress(std::string_view text) = 0;
    // The word the title adds after the program's name ("声"); empty for none.
    virtual void setTitleWord(std::string_view text) = 0;
    // What the test is, before its first item, in a view of the window's own over the
    // game's, from which Listen starts it; empty hides it.
    virtual void showPitchTestIntro(std::string_view text) = 0;
    // The test's result, a line each, in a view of the window's own (never a box), with a
    // way back to practice; empty hides it.
    virtual void showPitchTestResult(std::string_view text) = 0;

    // A warning box with an exclamation icon and one OK button; returns when closed.
    virtual void showWarning(std::string_view text, std::string_view title) = 0;
    // A run's record that no place would take: the player is told, and shown the line,
    // unless the program is ending and no box can be shown.
    virtual void reportUnsavedRecord(std::string_view line) = 0;
    // Closes the window; its unload handler records the run.
    virtual void unloadWindow() = 0;
};

}  // namespace tonarika
