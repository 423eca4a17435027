#include "ui/controls/ShapeClass.h"

#include "ui/look/Skins.h"

namespace
{
const juce::Colour kTrace { 0xFFE1E1E1 };
constexpr float kLineWidth = 2.0f;

// A wavetable's outline: the first half is pulled up and the second half pushed down by the
// shape modulation.
constexpr int kWavetableOutline[ShapeClass::kWaveWidth] = {
    9, 8, 7, 7, 8, 8, 9, 9, 8, 7, 6, 5, 5, 6, 7, 8, 9, 10, 11, 12, 13, 13, 12, 11, 10, 9, 9, 10, 10, 11, 11, 10
};
} // namespace

ShapeClass::ShapeClass (int y) : icon (Skins::get ("wave_icon")), layoutY (y)
{
    setInterceptsMouseClicks (false, false);
    redraw();
}

ShapeClass::~ShapeClass() = default;

void ShapeClass::setScale (float newScale)
{
    scale = newScale;
    setBounds ((int) ((float) kLayoutX * scale), (int) ((float) layoutY * scale), (int) ((float) kIconWidth * scale),
               (int) ((float) kIconHeight * scale));
    repaint();
}

std::array<int, ShapeClass::kWaveWidth> ShapeClass::wavetableHeights (int modulation)
{
    std::array<int, kWaveWidth> heights {};
    const double shift = modulation * 0.01;
    for (size_t j = 0; j < heights.size(); ++j)
        heights[j] =
            j < heights.size() / 2 ? (int) (kWavetableOutline[j] - shift) : (int) (kWavetableOutline[j] + shift);
    return heights;
}

void ShapeClass::redraw()
{
    wave.clear (wave.getBounds(), juce::Colours::black);
    juce::Graphics g (wave);
    g.setColour (kTrace);

    const float m = (float) shapeModulation;
    const float w = (float) kWaveWidth, h = (float) kWaveHeight;
    const auto line = [&g] (float x1, float y1, float x2, float y2) { g.drawLine (x1, y1, x2, y2, kLineWidth); };

    if (shape == kOff)
    {
        line (0.0f, 8.0f, w, 8.0f);
    }
    else if (shape == kSaw)
    {
        const float c = m * 0.125f;
        line (0.0f, h, c, 0.0f);
        line (c, 0.0f, c, h);
        line (c, h, w, 0.0f);
        line (w, 0.0f, w, h);
    }
    else if (shape == kPulse)
    {
        const float b = m * w / 127.0f;
        line (0.0f, 0.0f, 0.0f, 8.0f);
        line (0.0f, 0.0f, b, 0.0f);
        line (b, 0.0f, b, h);
        line (b, h, w, h);
        line (w, 8.0f, w, h);
    }
    else if (shape == kTriangle)
    {
        const float b = m * w / 127.0f;
        const float d = (float) (int) ((w - b) / 2.0f + b);
        line (0.0f, 8.0f, b / 2.0f, 0.0f);
        line (b / 2.0f, 0.0f, b, 8.0f);
        line (b, 8.0f, d, h);
        line (d, h, w, 8.0f);
    }
    else if (shape >= kFirstWavetable && shape <= kLastWavetable)
    {
        const auto heights = wavetableHeights (shapeModulation);
        for (size_t j = 0; j < heights.size(); ++j)
        {
            g.fillRect ((int) j, heights[j], 1, 1);
            g.fillRect ((int) j, heights[j] + 1, 1, 1);
        }
    }
    else if (shape >= kFirstNoise && shape <= kLastNoise)
    {
        float left = 0.0f, right = 0.0f;
        if (m > 64.0f)
        {
            left = (m - 64.0f) / 8.0f + 5.0f;
            right = 13.0f - (m - 64.0f) / 8.0f;
        }
        else
        {
            left = 9.0f - m / 16.0f;
            right = m / 16.0f + 9.0f;
        }
        juce::Path band;
        band.startNewSubPath (0.0f, 16.0f);
        band.lineTo (0.0f, left);
        band.lineTo (31.0f, right);
        band.lineTo (31.0f, 16.0f);
        band.closeSubPath();
        g.fillPath (band);
    }

    repaint();
}

void ShapeClass::paint (juce::Graphics& g)
{
    if (icon.isValid())
        g.drawImage (icon, 0, 0, (int) ((float) kIconWidth * scale), (int) ((float) kIconHeight * scale), 0, 0,
                     kIconWidth, kIconHeight);
    g.drawImage (wave, 2, 2, (int) ((float) kWaveWidth * scale), (int) ((float) kWaveHeight * scale), 0, 0, kWaveWidth,
                 kWaveHeight);
}
