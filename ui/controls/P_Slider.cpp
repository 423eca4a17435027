#include "ui/controls/P_Slider.h"

#include "midi/MidiCntrState.h"
#include "model/ParameterTable.h"
#include "ui/look/Skins.h"

namespace
{
const juce::Colour kPositionLit { 0xFF800000 }, kPressureLit { 0xFFA3A3A3 };
constexpr float kPositionColumn = 21.0f, kPressureColumn = 6.0f, kSquare = 8.0f;

// The ladder of lights, bottom to top: each square's y and the value it must exceed to light.
constexpr float kLightY[] = { 113, 100, 87, 74, 61, 48, 35, 22, 9 };
constexpr int kLightAbove[] = { 0, 12, 24, 33, 50, 63, 88, 100, 113 };

// Stores a performance value and tells the processor, which sends it and reports it to the host.
// Stored first, so the host's echo of the change finds the value already in place.
void play (MidiCntrState& state, int position, int value)
{
    state.storeValue (position, value);
    state.notifyCableListeners (position, value, false, true, true);
}
} // namespace

P_Slider::P_Slider (MidiCntrState& s, int w) : state (s), which (w == 2 ? 2 : 1), image (Skins::get ("slider")) {}

P_Slider::~P_Slider() = default;

int P_Slider::getPositionParameter() const noexcept
{
    return which == 1 ? ParameterTable::kSlider1 : ParameterTable::kSlider2;
}

int P_Slider::getLatchParameter() const noexcept
{
    return which == 1 ? ParameterTable::kSliderLatch1 : ParameterTable::kSliderLatch2;
}

int P_Slider::getSliderPosition() const { return state.getValue (getPositionParameter()); }

int P_Slider::getPressure() const { return state.getValue (ParameterTable::kSliderPress); }

void P_Slider::setValues (int newPosition, int newPressure)
{
    const int storedPosition = getSliderPosition(), storedPressure = getPressure();
    if (newPosition == storedPosition && newPressure == storedPressure)
        return;

    if (newPosition != storedPosition)
        play (state, getPositionParameter(), newPosition);
    if (newPressure != storedPressure)
        play (state, ParameterTable::kSliderPress, newPressure);
    repaint();
}

void P_Slider::setScale (float newScale)
{
    scale = newScale;
    setSize ((int) ((float) kWidth * scale), (int) ((float) kHeight * scale));
    repaint();
}

void P_Slider::mouseDrag (const juce::MouseEvent& e)
{
    const int position = juce::jlimit (0, kMaximum, kMaximum - (int) ((float) e.y / scale));
    const int pressure = juce::jlimit (0, kMaximum, (int) ((float) e.x / scale) - kWidth);
    setValues (position, pressure);
}

void P_Slider::mouseUp (const juce::MouseEvent&)
{
    if (state.getValue (getLatchParameter()) < 1)
        setValues (0, 0);
}

void P_Slider::paint (juce::Graphics& g)
{
    const float s = scale;
    if (image.isValid())
        g.drawImage (image, 0, 0, (int) ((float) kWidth * s), (int) ((float) kHeight * s), 0, 0, kWidth, kHeight);

    const int position = getSliderPosition(), pressure = getPressure();
    for (size_t i = 0; i < std::size (kLightY); ++i)
    {
        if (position > kLightAbove[i])
        {
            g.setColour (kPositionLit);
            g.fillRect (kPositionColumn * s, kLightY[i] * s, kSquare * s, kSquare * s);
        }
        if (pressure > kLightAbove[i])
        {
            g.setColour (kPressureLit);
            g.fillRect (kPressureColumn * s, kLightY[i] * s, kSquare * s, kSquare * s);
        }
    }
}
