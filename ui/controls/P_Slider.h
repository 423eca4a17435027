#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class MidiCntrState;

// One of the two touch sliders of the "SLIDERS" group. Dragging sets the slider's position (up is
// higher) and the pressure the two sliders share (moving right beyond the slider presses harder).
// Both are live performance values: they go out through the processor as positions 1025..1027, and
// fall back to 0 on release unless the slider's latch is on.
class P_Slider : public juce::Component
{
public:
    static constexpr int kWidth = 36, kHeight = 130;
    static constexpr int kMaximum = 127;

    // which: 1 or 2.
    P_Slider (MidiCntrState& state, int which);
    ~P_Slider() override;

    // Stores and reports what changed; nothing when both equal what is stored.
    void setValues (int newPosition, int newPressure);

    int getWhich() const noexcept { return which; }
    int getPositionParameter() const noexcept; // 1025 or 1026
    int getLatchParameter() const noexcept;    // 1028 or 1029
    int getSliderPosition() const;
    int getPressure() const;

    void setScale (float newScale);
    float getScale() const noexcept { return scale; }

    void paint (juce::Graphics& g) override;
    void mouseDrag (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;

private:
    MidiCntrState& state;
    const int which;
    float scale = 1.0f;
    juce::Image image;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (P_Slider)
};
