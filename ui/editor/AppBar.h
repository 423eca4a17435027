#pragma once

#include "ui/look/StsBut.h"
#include "ui/look/StsLabel.h"
#include "ui/look/WinMovCan.h"

// The top bar of the editor page, right of the LCD: the page buttons that scroll the strip, the
// function buttons the main component answers, the MIDI channel label and a window button. A drag
// on the bar's own background reports code 123 with the mouse position (the main component moves a
// floating window with it).
class AppBar : public juce::Component, public juce::ChangeBroadcaster
{
public:
    static constexpr int kWidth = 1024, kHeight = 54;
    static constexpr int kDragCode = 123;

    struct ButtonRow
    {
        const char* text;
        int id;
    };
    // clang-format off
    static constexpr ButtonRow kPageButtons[] = {
        { "OSC", 1 }, { "CHAR", 2 }, { "LPF", 3 }, { "HPF", 4 }, { "VCA", 3 }, { "FEEDBACK", 5 },
        { "DELAY", 6 }, { "LFO", 7 }, { "UNISON", 8 }, { "AUX ENV", 9 }, { "MODS", 10 }, { "ARP", 11 },
    };
    static constexpr ButtonRow kFunctionButtons[] = {
        { "BANKS", 99 }, { "FILE", 75 }, { "EDIT", 73 }, { "MIDI", 77 }, { "SEND", 701 }, { "RECV", 71 },
        { "WRITE", 969 },
    };
    // clang-format on
    static constexpr int kNumPageButtons = (int) std::size (kPageButtons);
    static constexpr int kNumFunctionButtons = (int) std::size (kFunctionButtons);

    AppBar();

    StsBut& getPageButton (int i) { return *pageButtons[i]; }
    StsBut& getFunctionButton (int i) { return *functionButtons[i]; }
    StsBut* findFunctionButton (int id) const;
    StsLabel& getChannelLabel() noexcept { return channelLabel; }
    WinMovCan& getWindowButton() noexcept { return windowButton; }

    // "Chan: " and the channel number.
    void setChannel (int channel);

    int getCode() const noexcept { return code; }
    juce::Point<int> getDragPosition() const noexcept { return dragPosition; }

    void resized() override;
    void mouseDrag (const juce::MouseEvent& e) override;

private:
    juce::OwnedArray<StsBut> pageButtons, functionButtons;
    StsLabel channelLabel;
    WinMovCan windowButton;
    int code = 0;
    juce::Point<int> dragPosition;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AppBar)
};
