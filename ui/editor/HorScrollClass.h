#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The page scroller under the editor page: an arrow at each end (14 pixels), a track between them and
// a thumb of 60 pixels. An arrow steps by one, a press on the track beside the thumb pages by the page
// step, a drag puts the thumb under the mouse. Every change of position broadcasts at once; the owner
// reads getPosition().
class HorScrollClass : public juce::Component, public juce::ChangeBroadcaster
{
public:
    static constexpr int kArrowWidth = 14;
    static constexpr int kHeight = 14;

    HorScrollClass();

    // Clamps to 0..maximum; broadcasts only when the position changes.
    void setPosition (int value);
    int getPosition() const noexcept { return position; }

    void setMaximum (int newMaximum); // at least 1; the position is clamped, without a broadcast
    int getMaximum() const noexcept { return maximum; }
    void setPageStep (int step) { pageStep = step; }
    int getPageStep() const noexcept { return pageStep; }
    void setThumbWidth (int width);
    int getThumbWidth() const noexcept { return thumbWidth; }

    // Where the thumb starts, in the component.
    int thumbStart() const noexcept;

    void paint (juce::Graphics& g) override;
    void mouseDown (const juce::MouseEvent& e) override;
    void mouseDrag (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;

private:
    int trackLength() const noexcept { return getWidth() - 2 * kArrowWidth; }

    int position = 0;
    int maximum = 11;
    int pageStep = 2;
    int thumbWidth = 60;
    bool dragging = false;
    juce::Image image;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (HorScrollClass)
};
