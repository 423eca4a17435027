#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The about panel: darkens the owner and shows a 460 x 260 box with the version line and a picture.
// A press anywhere broadcasts, and so does the end of the optional auto-close delay; the owner
// closes the panel then.
class AboutPanel : public juce::Component, public juce::ChangeBroadcaster, private juce::Timer
{
public:
    static constexpr int kBoxWidth = 460, kBoxHeight = 260;
    static constexpr int kBoxY = 150;

    // A positive delay closes the panel on its own after that many milliseconds. The panel covers
    // the owner's width; the owner gives it its height (it starts tall enough for the picture).
    AboutPanel (const juce::String& version, int ownerWidth, int delayMilliseconds);
    ~AboutPanel() override;

    const juce::String& getVersionLine() const noexcept { return versionLine; }
    bool isAutoClosing() const { return isTimerRunning(); }
    juce::Point<int> boxOrigin() const noexcept { return { (getWidth() - kBoxWidth) / 2, kBoxY }; }

    void paint (juce::Graphics& g) override;
    void mouseDown (const juce::MouseEvent&) override;

private:
    void timerCallback() override;

    juce::String versionLine;
    juce::Font versionFont { "Arial", 15.0f, juce::Font::plain };
    juce::Image background, picture;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AboutPanel)
};
