#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class MidiCntrState;

// The play-velocity indicator of the keyboard panel: a bar the user drags to set the velocity the
// on-screen keyboard plays with. Until a velocity is set it reads "KBD".
class VelIndClass : public juce::Component
{
public:
    static constexpr int kMaximum = 127;

    explicit VelIndClass (MidiCntrState& state);
    ~VelIndClass() override;

    // Clamped to 0..127; an unchanged value does nothing. Also becomes the controller state's play
    // velocity.
    void setVelocity (int newVelocity);
    int getVelocity() const noexcept { return velocity; }

    // The unscaled box in the owner's layout (35, 38, 70 x 120 in the keyboard panel), and the zoom
    // factor it is multiplied by.
    void setLayoutBox (juce::Rectangle<int> box);
    void setScale (float newScale);
    float getScale() const noexcept { return scale; }

    void paint (juce::Graphics& g) override;
    void mouseDown (const juce::MouseEvent& e) override;
    void mouseDrag (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;

private:
    void applyBounds();

    MidiCntrState& state;
    juce::Image display;
    float scale = 1.0f;
    bool dragging = false;
    int velocity = -1;
    juce::Rectangle<int> layoutBox { 35, 38, 70, 120 };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VelIndClass)
};
