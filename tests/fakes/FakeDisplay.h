#pragma once

// own
#include "Display.h"

// std
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace tonarika::test {

// Keeps what the game shows, starting as the window's design does.
class FakeDisplay : public Display {
public:
    std::map<Caption, std::string> captions{
        {Caption::Label1, ""}, {Caption::CapMode, "Easy"}, {Caption::CapMiss, "0/0 回"}, {Caption::CapPar, "0.00 %"}};
    Colour label1Back = kWhite;
    Colour label1Fore = Colour::systemButtonText();
    enum class Focus { Listen, Key } focus = Focus::Listen;
    int focusedKey = -1;
    bool listenEnabled = true;
    bool clearEnabled = true;
    std::map<ModeItem, bool> checks{{ModeItem::Easy, true}, {ModeItem::Hard, false}, {ModeItem::Prac, false}};
    std::vector<std::pair<std::string, std::string>> warnings;  // text, title
    std::function<void()> onUnload;
    int unloads = 0;

    void setCaption(Caption label, const std::string& text) override { captions[label] = text; }
    std::string caption(Caption label) const override { return captions.at(label); }
    void setLabel1BackColor(Colour colour) override { label1Back = colour; }
    void setLabel1ForeColor(Colour colour) override { label1Fore = colour; }
    void focusListen() override { focus = Focus::Listen; }
    void focusKey(int index) override
    {
        focus = Focus::Key;
        focusedKey = index;
    }
    void setListenEnabled(bool enabled) override { listenEnabled = enabled; }
    void setClearEnabled(bool enabled) override { clearEnabled = enabled; }
    bool isChecked(ModeItem item) const override { return checks.at(item); }
    void setChecked(ModeItem item, bool checked) override { checks[item] = checked; }
    void showWarning(const std::string& text, const std::string& title) override { warnings.emplace_back(text, title); }
    void unloadWindow() override
    {
        ++unloads;
        if (onUnload)
            onUnload();
    }

    // The focus is moved away so that a test can see whether the game moved it back.
    void focusElsewhere() { focus = Focus::Key, focusedKey = -1; }
};

}  // namespace tonarika::test
