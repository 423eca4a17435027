#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The zoom corner at the foot of the editor page: shows the zoom in percent, and its right end is a
// grip that resizes the editor. A press on the grip (code 320), every drag (321) and the release (322)
// broadcast at once with a proposed size; the owner reads getCode() and the proposal.
//
// The proposal is the panel size plus the mouse's travel in the corner's own coordinates. The corner
// moves with the panel it resizes, so the owner keeps setPanelSize() current while it resizes; the
// two movements then cancel and the proposal follows the mouse on screen.
class CorButton : public juce::Component, public juce::ChangeBroadcaster
{
public:
    static constexpr int kWidth = 52, kHeight = 14;
    static constexpr int kGripStart = 39; // presses at x 39 and beyond start a resize
    static constexpr int kResizeStarted = 320, kResizing = 321, kResizeEnded = 322;

    CorButton();

    void setZoomPercent (int percent);
    int getZoomPercent() const noexcept { return zoomPercent; }

    void setPanelSize (int width, int height);

    int getCode() const noexcept { return code; }
    int getProposedWidth() const noexcept { return proposedWidth; }
    int getProposedHeight() const noexcept { return proposedHeight; }
    bool isResizing() const noexcept { return resizing; }

    void paint (juce::Graphics& g) override;
    void mouseMove (const juce::MouseEvent& e) override;
    void mouseDown (const juce::MouseEvent& e) override;
    void mouseDrag (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;

private:
    void propose (juce::Point<int> mouse);

    int zoomPercent = 100;
    juce::String zoomText { "100%" };
    int panelWidth = 0, panelHeight = 0;
    juce::Point<int> pressPoint;
    bool resizing = false;
    int code = 0;
    int proposedWidth = 0, proposedHeight = 0;
    juce::Image image;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CorButton)
};
