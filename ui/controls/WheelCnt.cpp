#include "ui/controls/WheelCnt.h"

#include "midi/MidiCntrState.h"
#include "ui/look/Skins.h"

namespace
{
constexpr int kModWheelController = 1;
constexpr int kPitchStepsPerValue = 128; // 7-bit wheel value to the 14-bit bend, 64 -> 8192
constexpr int kSourceFrameWidth = 55, kSourceFrameHeight = 200;
} // namespace

WheelCnt::WheelCnt (MidiCntrState& s, int initialValue, bool isPitchWheel)
    : state (s), strip (Skins::get ("wheel_strip")), pitch (isPitchWheel)
{
    value = juce::jlimit (kMinimum, kMaximum, initialValue);
    frame = value * (kFrames - 1) / kMaximum;
    setMouseCursor (juce::MouseCursor::PointingHandCursor);
    setOpaque (false);
    applyBounds();
}

WheelCnt::~WheelCnt() = default;

void WheelCnt::setValue (int newValue, bool send)
{
    newValue = juce::jlimit (kMinimum, kMaximum, newValue);
    if (newValue == value)
        return;

    value = newValue;
    frame = value * (kFrames - 1) / kMaximum;

    if (send)
    {
        const int channel = state.getMidiChannel();
        if (pitch)
        {
            state.sendPitchWheel (channel, value * kPitchStepsPerValue);
        }
        else
        {
            // The host hears the modulation wheel too: it is the one MIDI the plug-in gives it.
            state.sendModWheelToHost (channel, value);
            state.sendController (channel, kModWheelController, value);
        }
    }

    sendChangeMessage();
    repaint();
}

void WheelCnt::setLayoutBox (juce::Rectangle<int> box)
{
    layoutBox = box;
    applyBounds();
}

void WheelCnt::setScale (float newScale)
{
    scale = newScale;
    applyBounds();
    repaint();
}

void WheelCnt::applyBounds()
{
    setBounds ((int) ((float) layoutBox.getX() * scale), (int) ((float) layoutBox.getY() * scale),
               (int) ((float) layoutBox.getWidth() * scale), (int) ((float) layoutBox.getHeight() * scale));
}

void WheelCnt::paint (juce::Graphics& g)
{
    g.setColour (juce::Colours::black);
    if (strip.isValid())
        g.drawImage (strip, 0, 0, (int) ((float) kWidth * scale), (int) ((float) kHeight * scale),
                     kFrameSpacing * frame, 0, kSourceFrameWidth, kSourceFrameHeight);
}

void WheelCnt::mouseDown (const juce::MouseEvent& e)
{
    pressY = e.y;
    pressValue = value;
}

void WheelCnt::mouseDrag (const juce::MouseEvent& e)
{
    // One step per pixel whatever the zoom: the wheel must feel the same at every size.
    const int dragged = pressValue + pressY - e.y;
    if (dragged != value)
        setValue (dragged, true);
}

void WheelCnt::mouseUp (const juce::MouseEvent&)
{
    if (pitch)
        setValue (kPitchRest, true);
}

void WheelCnt::mouseWheelMove (const juce::MouseEvent&, const juce::MouseWheelDetails& wheel)
{
    if (wheel.deltaY > 0.0f)
        setValue (value + 1, true);
    else if (wheel.deltaY < 0.0f)
        setValue (value - 1, true);
}
