#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class MidiCntrState;

// The XY pad of the "SLIDERS" group: up and down plays slider 1's position, left and right slider
// 2's. It sends through the processor like the sliders, and its cross-hair shows the shared slider
// values wherever they came from.
class P_Pad : public juce::Component
{
public:
    static constexpr int kSize = 90;
    static constexpr int kTravel = 88; // layout units of travel on both axes
    static constexpr int kMaximum = 127;

    explicit P_Pad (MidiCntrState& state);
    ~P_Pad() override;

    int getVertical() const noexcept { return vertical; }
    int getHorizontal() const noexcept { return horizontal; }

    void setScale (float newScale);
    float getScale() const noexcept { return scale; }

    void paint (juce::Graphics& g) override;
    void mouseDrag (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;

private:
    void send (int position, int& copy, int value);

    MidiCntrState& state;
    float scale = 1.0f;
    juce::Image image;
    int vertical = 0, horizontal = 0; // as last sent by the pad

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (P_Pad)
};
