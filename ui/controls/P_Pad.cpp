#include "ui/controls/P_Pad.h"

#include "midi/MidiCntrState.h"
#include "model/ParameterTable.h"
#include "ui/look/Skins.h"

namespace
{
const juce::Colour kCrossHair { 0xFFC8C8C8 };
constexpr double kUnitsToValue = 128.0 / 88.0;
constexpr double kValueToUnits = 0.6875; // 88 / 128
} // namespace

P_Pad::P_Pad (MidiCntrState& s) : state (s), image (Skins::get ("pad")) {}

P_Pad::~P_Pad() = default;

void P_Pad::setScale (float newScale)
{
    scale = newScale;
    setSize ((int) ((float) kSize * scale), (int) ((float) kSize * scale));
    repaint();
}

void P_Pad::send (int position, int& copy, int value)
{
    if (value == copy)
        return;
    copy = value;
    // Stored before the processor hears of it, as the touch sliders do.
    state.storeValue (position, value);
    state.notifyCableListeners (position, value, false, true, true);
    repaint();
}

void P_Pad::mouseDrag (const juce::MouseEvent& e)
{
    const int down = kTravel - (int) ((float) e.y / scale);
    const int across = (int) ((float) e.x / scale);
    const int newVertical = juce::jmax (0, juce::jmin ((int) (down * kUnitsToValue), kMaximum));
    const int newHorizontal = juce::jmax (0, juce::jmin ((int) (across * kUnitsToValue), kMaximum));
    send (ParameterTable::kSlider1, vertical, newVertical);
    send (ParameterTable::kSlider2, horizontal, newHorizontal);
}

void P_Pad::mouseUp (const juce::MouseEvent&)
{
    if (state.getValue (ParameterTable::kSliderLatch1) < 1)
        send (ParameterTable::kSlider1, vertical, 0);
    if (state.getValue (ParameterTable::kSliderLatch2) < 1)
        send (ParameterTable::kSlider2, horizontal, 0);
}

void P_Pad::paint (juce::Graphics& g)
{
    const float s = scale;
    if (image.isValid())
        g.drawImage (image, 0, 0, (int) ((float) kSize * s), (int) ((float) kSize * s), 0, 0, kSize, kSize);

    g.setColour (kCrossHair);
    const int v = state.getValue (ParameterTable::kSlider1), w = state.getValue (ParameterTable::kSlider2);
    if (v > 0)
    {
        const float y = (float) juce::jmax (kTravel - (int) (v * kValueToUnits) + 1, 1) * s;
        g.drawLine (s, y, 89.0f * s, y, 1.0f);
    }
    if (w > 0)
    {
        const float x = (float) (int) (w * kValueToUnits + 1) * s;
        g.drawLine (x, s, x, 89.0f * s, 1.0f);
    }
}
