#pragma once

#include "ui/controls/VelIndClass.h"
#include "ui/controls/WheelCnt.h"
#include "ui/keyboard/KeyPlayClass.h"
#include "ui/keyboard/OctaveKeyClass.h"
#include "ui/keyboard/PianoPad.h"

#include <juce_gui_basics/juce_gui_basics.h>

class MidiCntrState;

// The keyboard panel at the foot of the editor: the 65-key piano, the octave strip, pitch and
// modulation wheels, the play velocity and the play panel for the computer keyboard, under a title
// bar that shows whether the instrument answers. The title bar (and the play panel in it) is a
// handle the panel is dragged up and down by; a release broadcasts, so the owner can keep the place.
class KeyBrd : public juce::Component, public KeyPlayListener, public juce::ChangeBroadcaster
{
public:
    static constexpr int kTitleHeight = 20;
    static constexpr int kHighestTop = 54;  // the panel never covers the editor's top band
    static constexpr int kNoDragRight = 60; // the title bar's right end does not move the panel
    static constexpr int kHeight = 172;

    explicit KeyBrd (MidiCntrState& state);
    ~KeyBrd() override;

    // Places the panel at (0, y) with the size width x height times the scale, and everything in it
    // at that scale.
    void setScale (float scale, int y, int width, int height);
    float getScale() const noexcept { return scale; }

    void setStatusText (const juce::String& text);
    const juce::String& getStatusText() const noexcept { return statusText; }

    PianoPad& getPiano() noexcept { return piano; }
    OctaveKeyClass& getOctaveStrip() noexcept { return octaveStrip; }
    WheelCnt& getPitchWheel() noexcept { return pitchWheel; }
    WheelCnt& getModWheel() noexcept { return modWheel; }
    VelIndClass& getVelocityIndicator() noexcept { return velocityIndicator; }
    KeyPlayClass& getPlayPanel() noexcept { return playPanel; }

    // Stops every note the panel started, from the piano and from the computer keyboard.
    void releaseAllNotes();

    void paint (juce::Graphics& g) override;
    // The play panel lost the focus: its held keys were stopped. When the window lost it (not a
    // click on the piano), a piano key held with the mouse stops too, as its release may never come.
    void focusOfChildComponentChanged (FocusChangeType cause) override;
    void mouseMove (const juce::MouseEvent& e) override;
    void mouseDown (const juce::MouseEvent& e) override;
    void mouseDrag (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;

    void keyPlayMoved (int x, int y) override;
    void keyPlayPressed (int x, int y) override;
    void keyPlayReleased (int x, int y) override;
    void keyPlayDragged (int x, int y) override;

private:
    void moveTo (int mouseY);
    juce::Rectangle<int> scaled (juce::Rectangle<int> box, float s) const;

    MidiCntrState& state;
    float scale = 1.0f;

    OctaveKeyClass octaveStrip;
    WheelCnt modWheel, pitchWheel;
    juce::String statusText { "OFF-LINE" };
    KeyPlayClass playPanel;
    VelIndClass velocityIndicator;
    PianoPad piano;
    juce::Image wheelWell, titleBar;
    juce::Font statusFont { "Arial", 12.0f, juce::Font::plain };

    bool dragging = false;
    int pressY = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (KeyBrd)
};
