// The envelope graphic, the waveform icon, the touch sliders, the XY pad, the wheels and the
// velocity display.

#include "tools/skingen/SkinGen.h"

#include <cmath>

namespace SkinGen
{
namespace
{
using namespace juce;

// The envelope's plotting glass: a subtle grid over a dark field. The widget draws it at (4, 5), so
// its curve area (x 16.., y 16..70 in the widget) starts at (12, 11) here, the baseline at y 65.
void envBackground (Image& image)
{
    Graphics g (image);
    const auto area = image.getBounds().toFloat();
    fillVertical (g, area, Colour (0xff191b1f), Colour (0xff111215));
    g.setColour (Colour (0xff22252a));
    for (int x = 12; x < image.getWidth(); x += 12)
        g.drawVerticalLine (x, 2.0f, 71.0f);
    for (int y = 11; y <= 65; y += 9)
        g.drawHorizontalLine (y, 2.0f, 216.0f);
    g.setColour (Colour (0xff33373d));
    g.drawHorizontalLine (65, 2.0f, 216.0f);
    g.drawVerticalLine (12, 2.0f, 71.0f);
    g.setColour (Colours::black);
    g.drawRect (area, 1.0f);
    g.setColour (Colour (0x14ffffff));
    g.drawRect (area.reduced (1.0f), 1.0f);
}

// The glass laid over the curve at 20 % opacity: a bright sheen across the top, a frame around it.
void envOverlay (Image& image)
{
    Graphics g (image);
    const auto area = image.getBounds().toFloat();
    g.setGradientFill (ColourGradient (Colour (0xb0ffffff), 0.0f, 0.0f, Colour (0x00ffffff), 0.0f, 26.0f, false));
    Path sheen;
    sheen.startNewSubPath (2.0f, 2.0f);
    sheen.lineTo (area.getRight() - 2.0f, 2.0f);
    sheen.lineTo (area.getRight() - 2.0f, 14.0f);
    sheen.quadraticTo (area.getCentreX(), 30.0f, 2.0f, 22.0f);
    sheen.closeSubPath();
    g.fillPath (sheen);
    g.setColour (Colour (0xc0ffffff));
    g.drawRoundedRectangle (area.reduced (0.5f), 3.0f, 1.0f);
}

// The waveform icon's bezel; the drawn waveform fills (2, 2, 32, 17).
void waveIcon (Image& image)
{
    Graphics g (image);
    const auto area = image.getBounds().toFloat();
    g.setColour (Colours::black);
    g.fillRoundedRectangle (area, 2.0f);
    g.setColour (Palette::graphiteLight);
    g.drawRoundedRectangle (area.reduced (0.5f), 2.0f, 1.0f);
    g.setColour (Colour (0xff0a0a0a));
    g.fillRect (2, 2, 32, 17);
}

// The touch slider: two columns of nine unlit cells, position at x 21 and pressure at x 6; the widget
// paints the lit ones over them.
void slider (Image& image)
{
    Graphics g (image);
    const auto area = image.getBounds().toFloat();
    drawInset (g, area.reduced (0.5f), 4.0f, Colour (0xff17181b));
    g.setColour (Colour (0xff0c0c0d));
    g.fillRoundedRectangle (18.0f, 5.0f, 14.0f, 120.0f, 3.0f);
    for (int i = 0; i < 9; ++i)
    {
        const float y = 9.0f + 13.0f * (float) i;
        for (float x : { 6.0f, 21.0f })
        {
            g.setColour (Colours::black);
            g.fillRect (x - 0.5f, y - 0.5f, 9.0f, 9.0f);
            fillVertical (g, { x, y, 8.0f, 8.0f }, Colour (0xff26282c), Colour (0xff1c1d20));
            g.setColour (Colour (0x18ffffff));
            g.drawHorizontalLine ((int) y, x, x + 8.0f);
        }
    }
}

// The XY pad: a dark touch surface with a fine grid and its centre cross.
void pad (Image& image)
{
    Graphics g (image);
    const auto area = image.getBounds().toFloat();
    drawInset (g, area.reduced (0.5f), 3.0f, Colour (0xff16181b));
    g.setColour (Colour (0xff212429));
    for (int i = 1; i < 8; ++i)
    {
        const float p = 1.0f + 11.0f * (float) i;
        g.drawHorizontalLine ((int) p, 2.0f, 88.0f);
        g.drawVerticalLine ((int) p, 2.0f, 88.0f);
    }
    g.setColour (Colour (0xff30343a));
    g.drawHorizontalLine (45, 2.0f, 88.0f);
    g.drawVerticalLine (45, 2.0f, 88.0f);
}

// The wheels: 35 frames, 54 pixels apart, each taken as 55 x 200. A ribbed rubber cylinder turning
// about a horizontal axis; a light stripe marks its position, level with the centre at frame 17.
void wheelStrip (Image& image)
{
    constexpr int frames = 35;
    constexpr float top = 3.0f, bottom = 197.0f, left = 9.0f, right = 46.0f;
    const float cy = (top + bottom) * 0.5f, radius = (bottom - top) * 0.5f;
    Graphics g (image);
    for (int frame = 0; frame < frames; ++frame)
    {
        Graphics::ScopedSaveState state (g);
        g.reduceClipRegion (54 * frame, 0, 55, 200);
        g.setOrigin (54 * frame, 0);
        g.fillAll (Colour (0xff050505));

        const Rectangle<float> body (left, top, right - left, bottom - top);
        ColourGradient shade (Colour (0xff060607), 0.0f, top, Colour (0xff060607), 0.0f, bottom, false);
        shade.addColour (0.35, Colour (0xff34373c));
        shade.addColour (0.5, Colour (0xff3a3d42));
        shade.addColour (0.65, Colour (0xff2a2c30));
        g.setGradientFill (shade);
        g.fillRoundedRectangle (body, 5.0f);

        // Ribs every 9 degrees, foreshortened towards the top and bottom of the wheel.
        const float phase = 4.5f * (float) (frame - 17);
        for (int i = -20; i <= 20; ++i)
        {
            const float theta = phase + 9.0f * (float) i;
            if (std::abs (theta) >= 86.0f)
                continue;
            const float c = std::cos (degrees (theta));
            const float y = cy - radius * std::sin (degrees (theta));
            g.setColour (Colour::fromFloatRGBA (0.0f, 0.0f, 0.0f, 0.55f + 0.3f * (1.0f - c)));
            g.fillRect (Rectangle<float> (left + 1.0f, y - 1.4f * c, right - left - 2.0f, 1.4f * c));
            g.setColour (Colour::fromFloatRGBA (1.0f, 1.0f, 1.0f, 0.16f * c));
            g.fillRect (Rectangle<float> (left + 1.0f, y, right - left - 2.0f, 0.9f * c));
        }

        const float marker = phase;
        const float markerY = cy - radius * std::sin (degrees (marker));
        const float markerH = juce::jmax (2.5f, 5.0f * std::cos (degrees (marker)));
        g.setColour (Palette::white);
        g.fillRect (Rectangle<float> (left + 1.0f, markerY - markerH * 0.5f, right - left - 2.0f, markerH));
        g.setColour (Palette::accentLit);
        g.fillRect (Rectangle<float> (left + 1.0f, markerY - markerH * 0.2f, right - left - 2.0f, markerH * 0.4f));

        // The cylinder's side edges fall away into shadow.
        ColourGradient sides (Colour (0xa0000000), left, 0.0f, Colour (0xa0000000), right, 0.0f, false);
        sides.addColour (0.3, Colour (0x00000000));
        sides.addColour (0.7, Colour (0x00000000));
        g.setGradientFill (sides);
        g.fillRoundedRectangle (body, 5.0f);
        g.setColour (Colours::black);
        g.drawRoundedRectangle (body, 5.0f, 1.5f);
    }
}

// The velocity number's small display.
void velDisplay (Image& image)
{
    Graphics g (image);
    const auto area = image.getBounds().toFloat();
    drawInset (g, area.reduced (0.5f), 2.0f, Palette::glass);
    g.setColour (Colour (0x10b6fffd));
    g.fillRect (area.reduced (2.0f).withHeight (4.0f));
}
} // namespace

void addGraphicSkins (DrawerTable& table)
{
    table["env_background"] = envBackground;
    table["env_overlay"] = envOverlay;
    table["wave_icon"] = waveIcon;
    table["slider"] = slider;
    table["pad"] = pad;
    table["wheel_strip"] = wheelStrip;
    table["vel_display"] = velDisplay;
}
} // namespace SkinGen
