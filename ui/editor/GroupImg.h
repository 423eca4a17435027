#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// One of the editor page's overlays while a group is zoomed: a dimmer over the rest of the page, the
// short flash over the zoomed group, or the transparent catcher over where the group came from.
// While active it fills itself with its colour; a press on it broadcasts (the page un-zooms).
class GroupImg : public juce::Component, public juce::ChangeBroadcaster, private juce::Timer
{
public:
    explicit GroupImg (juce::Colour colour);

    // Shows the overlay on top of its siblings; a positive time deactivates it after that long.
    void activate (int milliseconds);
    // Hides it and parks it out of the way.
    void deactivate();
    bool isActive() const noexcept { return active; }

    void paint (juce::Graphics& g) override;
    void mouseDown (const juce::MouseEvent& e) override;

private:
    void timerCallback() override;

    juce::Colour colour;
    bool active = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (GroupImg)
};
