#pragma once

// own
#include "Display.h"

// std
#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tonarika::test {

// Keeps what the game shows. It starts empty: only what the game set is in it.
class FakeDisplay : public Display {
public:
    std::map<Caption, std::string> captions;
    Colour label1Back = kWhite;
    Colour label1Fore = Colour::systemButtonText();
    enum class Focus { Listen, Key } focus = Focus::Listen;
    int focusedKey = -1;
    bool listenEnabled = true;
    bool clearEnabled = true;
    std::string listenDescription;
    std::string label1ToolTip;
    std::map<int, bool> keysAsked;  // the keys the game said, each as it was last said
    std::string pitchTestProgress;
    std::string pitchTestResult;
    std::string pitchTestIntro;
    std::string titleWord;
    std::set<int> outlined;  // the keys outlined now
    std::map<Mode, bool> checks;
    std::vector<std::pair<std::string, std::string>> warnings;  // text, title
    std::vector<std::string> unsavedRecords;
    std::function<void()> onUnload;
    int unloads = 0;

    void setCaption(Caption label, std::string_view text) override { captions[label] = text; }
    void setLabel1BackColor(Colour colour) override { label1Back = colour; }
    void setLabel1ForeColor(Colour colour) override { label1Fore = colour; }
    void setLabel1ToolTip(std::string_view text) override { label1ToolTip = text; }
    void focusListen() override { focus = Focus::Listen; }
    void focusKey(int index) override
    {
        focus = Focus::Key;
        focusedKey = index;
    }
    void setListenEnabled(bool enabled) override { listenEnabled = enabled; }
    void setClearEnabled(bool enabled) override { clearEnabled = enabled; }
    void setListenDescription(std::string_view text) override { listenDescription = text; }
    void setKeyAsked(int index, bool asked) override { keysAsked[index] = asked; }
    void setPitchTestProgress(std::string_view text) override { pitchTestProgress = text; }
    void showPitchTestResult(std::string_view text) override { pitchTestResult = text; }
    void showPitchTestIntro(std::string_view text) override { pitchTestIntro = text; }
    void setTitleWord(std::string_view text) override { titleWord = text; }
    void setKeyOutlined(int index, bool on) override
    {
        if (on)
            outlined.insert(index);
        else
            outlined.erase(index);
    }
    void setChecked(Mode item, bool checked) override { checks[item] = checked; }
    void showWarning(std::string_view text, std::string_view title) override { warnings.emplace_back(text, title); }
    void reportUnsavedRecord(std::string_view line) override { unsavedRecords.emplace_back(line); }
    void unloadWindow() override
    {
        ++unloads;
        if (onUnload)
            onUnload();
    }

    // The caption last set, or "(unset)" when the game never set it.
    std::string caption(Caption label) const
    {
        const auto found = captions.find(label);
        return found == captions.end() ? "(unset)" : found->second;
    }
    // The focus is moved away so that a test can see whether the game moved it back.
    void focusElsewhere() { focus = Focus::Key, focusedKey = -1; }
};

}  // namespace tonarika::test
