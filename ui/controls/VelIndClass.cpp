#include "ui/controls/VelIndClass.h"

#include "midi/MidiCntrState.h"
#include "ui/look/Skins.h"

namespace
{
constexpr float kBarTop = 16.0f, kBarWidth = 15.0f, kBarHeight = 103.0f;
constexpr float kPressWidth = 40.0f;
const juce::Colour kBarFill { 0x66374C53 }, kBarUnlit { 0xFF101010 }, kBarOutline { 0xFF4D5051 },
    kNumberColour { 0xFF76BDD2 };
} // namespace

VelIndClass::VelIndClass (MidiCntrState& s) : state (s), display (Skins::get ("vel_display")) { applyBounds(); }

VelIndClass::~VelIndClass() = default;

void VelIndClass::setVelocity (int newVelocity)
{
    newVelocity = juce::jlimit (0, kMaximum, newVelocity);
    if (newVelocity == velocity)
        return;

    velocity = newVelocity;
    state.noteVelocity = velocity;
    repaint (0, (int) (kBarTop * scale), (int) (60.0f * scale), (int) (102.0f * scale));
}

void VelIndClass::setLayoutBox (juce::Rectangle<int> box)
{
    layoutBox = box;
    applyBounds();
}

void VelIndClass::setScale (float newScale)
{
    scale = newScale;
    applyBounds();
    repaint();
}

void VelIndClass::applyBounds()
{
    setBounds ((int) ((float) layoutBox.getX() * scale), (int) ((float) layoutBox.getY() * scale),
               (int) ((float) layoutBox.getWidth() * scale), (int) ((float) layoutBox.getHeight() * scale));
}

void VelIndClass::paint (juce::Graphics& g)
{
    const float s = scale;
    const float barHeight = kBarHeight * s;
    const float unlit = (float) (kMaximum - juce::jmax (0, velocity)) * barHeight / (float) kMaximum;

    if (display.isValid())
        g.drawImage (display, (int) (26.0f * s), (int) (16.0f * s), (int) (27.0f * s), (int) (13.0f * s), 0, 0,
                     display.getWidth(), display.getHeight());

    const juce::Rectangle<float> bar (0.0f, kBarTop * s, kBarWidth * s, barHeight);
    g.setColour (kBarFill);
    g.fillRoundedRectangle (bar, 3.0f * s);
    g.setColour (kBarUnlit);
    g.fillRoundedRectangle (bar.withHeight (unlit), 3.0f * s);
    g.setColour (kBarOutline);
    g.drawRoundedRectangle (bar, 3.0f * s, 1.6f * s);

    g.setFont (juce::Font ("Arial", 11.0f * s, juce::Font::plain));
    g.setColour (kNumberColour);
    g.drawText (velocity < 0 ? juce::String ("KBD") : juce::String (velocity),
                juce::Rectangle<float> (26.0f * s, 16.0f * s, 25.0f * s, 13.0f * s), juce::Justification::centred,
                false);

    g.setFont (juce::Font ("Arial", 10.0f * s, juce::Font::plain));
    g.setColour (juce::Colours::white);
    g.drawText ("Note Velocity", juce::Rectangle<float> (0.0f, 0.0f, 80.0f * s, 13.0f * s),
                juce::Justification::centredLeft, false);
}

void VelIndClass::mouseDown (const juce::MouseEvent& e) { dragging = (float) e.x < kPressWidth * scale; }

void VelIndClass::mouseDrag (const juce::MouseEvent& e)
{
    if (dragging)
        setVelocity (kMaximum - e.y);
}

void VelIndClass::mouseUp (const juce::MouseEvent&) { dragging = false; }
