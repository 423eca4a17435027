#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class MidiCntrState;

// A pitch or modulation wheel of the keyboard panel. Dragging up raises the value one step per
// pixel; the pitch wheel springs back to its centre on release. What it plays goes straight to the
// instrument (pitch bend, controller 1) and the modulation wheel also to the host's MIDI output.
class WheelCnt : public juce::Component, public juce::ChangeBroadcaster
{
public:
    static constexpr int kMinimum = 0, kMaximum = 127;
    static constexpr int kPitchRest = 64;
    static constexpr int kFrames = 35;       // filmstrip frames 0..34
    static constexpr int kFrameSpacing = 54; // pixels between frames in the filmstrip
    static constexpr int kWidth = 31, kHeight = 112;

    // The pitch wheel starts at 64, the modulation wheel at 0.
    WheelCnt (MidiCntrState& state, int initialValue, bool isPitchWheel);
    ~WheelCnt() override;

    // Clamped to 0..127; an unchanged value does nothing. With send the pitch wheel sends pitch bend
    // value x 128 and the modulation wheel controller 1 (to the instrument and the host).
    void setValue (int newValue, bool send);
    int getValue() const noexcept { return value; }
    int getFrame() const noexcept { return frame; }
    bool isPitchWheel() const noexcept { return pitch; }

    // The unscaled box in the owner's layout, and the zoom factor it is multiplied by.
    void setLayoutBox (juce::Rectangle<int> box);
    void setScale (float newScale);
    float getScale() const noexcept { return scale; }

    void paint (juce::Graphics& g) override;
    void mouseDown (const juce::MouseEvent& e) override;
    void mouseDrag (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;
    void mouseWheelMove (const juce::MouseEvent& e, const juce::MouseWheelDetails& wheel) override;

private:
    void applyBounds();

    MidiCntrState& state;
    juce::Image strip;
    float scale = 1.0f;
    int value = 0, frame = 0;
    const bool pitch;
    int pressY = 0, pressValue = 0;
    juce::Rectangle<int> layoutBox { 0, 0, kWidth, kHeight };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (WheelCnt)
};
