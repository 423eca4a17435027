#include "ui/look/StsResor.h"
#include "ui/look/Skins.h"

void StsResor::loadImages()
{
    if (loaded)
        return;
    knobStrip = Skins::get ("knob_strip");
    knobBases = { Skins::get ("knob_base0"), Skins::get ("knob_base1"), Skins::get ("knob_base2") };
    whiteKeyUp = Skins::get ("key_white_up");
    whiteKeyDown = Skins::get ("key_white_down");
    blackKeyUp = Skins::get ("key_black_up");
    blackKeyDown = Skins::get ("key_black_down");
    loaded = true;
}

void StsResor::setKnobImages (const juce::Image& strip, const juce::Image& base0, const juce::Image& base1,
                              const juce::Image& base2)
{
    knobStrip = strip;
    knobBases = { base0, base1, base2 };
}

int StsResor::knobFrameX (int frame) noexcept
{
    int shrink = 0;
    for (int step : { 6, 18, 30, 42, 54 })
        if (step < frame)
            ++shrink;
    return 60 * frame - shrink;
}

void StsResor::drawKnob (juce::Graphics& g, int width, int frame, int style, float scale) const
{
    const auto scaled = [scale] (int units) { return (int) ((float) units * scale); };

    // The base is drawn at the opacity of the current colour.
    g.setColour (juce::Colour (0xbb000000));
    switch (style)
    {
        case 0:
            g.drawImage (knobBases[0], scaled ((width - 50) / 2), 0, scaled (50), scaled (50), 16, 14, 50, 50);
            break;
        case 1:
            g.drawImage (knobBases[1], scaled ((width - 50) / 2), 0, scaled (50), scaled (48), 16, 14, 50, 48);
            break;
        case 2:
            g.drawImage (knobBases[2], scaled ((width - 70) / 2), 0, scaled (70), scaled (60), 6, 14, 70, 60);
            break;
        default: break;
    }

    g.setColour (juce::Colour (0x88000000));
    g.fillEllipse ((float) ((width - 38) / 2 + 7) * scale, 15.0f * scale, 30.0f * scale, 30.0f * scale);

    g.setColour (juce::Colours::black);
    const int source = knobFrameX (juce::jlimit (0, kKnobFrames - 1, frame));
    g.drawImage (knobStrip, scaled ((width - 38) / 2), scaled (8), scaled (56), scaled (56), source, 0, 56, 56);
}
