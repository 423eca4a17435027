// The keyboard panel: piano keys, the octave and split strips, the wheel wells and the title bar.

#include "tools/skingen/SkinGen.h"

namespace SkinGen
{
namespace
{
using namespace juce;

// A white key, 25 x 152, including the dark seam on its right that separates it from the next key.
// Held down it sinks: the body darkens, the shadow of the key bed above it deepens and the front lip
// almost disappears.
void whiteKey (Image& image, bool down)
{
    Graphics g (image);
    g.fillAll (Colour (0xff1a1a1a));
    const Rectangle<float> body (0.0f, 0.0f, 24.0f, 151.0f);
    ColourGradient fill (down ? Colour (0xffa9a5a6) : Colour (0xffdcdcda), 0.0f, 0.0f,
                         down ? Colour (0xffc4bfc0) : Colour (0xfff6f6f4), 0.0f, body.getBottom(), false);
    g.setGradientFill (fill);
    g.fillRoundedRectangle (body, 2.5f);
    g.fillRect (body.withHeight (10.0f));

    const float lip = down ? 3.0f : 8.0f;
    fillVertical (g, body.withTop (body.getBottom() - lip).reduced (1.0f, 0.0f),
                  down ? Colour (0xff9d9899) : Colour (0xffe6e6e4), down ? Colour (0xff858081) : Colour (0xffbdbdbb),
                  2.0f);
    g.setColour (Colour (0x40000000));
    g.drawHorizontalLine ((int) (body.getBottom() - lip), 1.0f, 23.0f);

    const float shade = down ? 16.0f : 5.0f;
    g.setGradientFill (
        ColourGradient (Colour (down ? 0x90000000 : 0x50000000), 0.0f, 0.0f, Colour (0x00000000), 0.0f, shade, false));
    g.fillRect (body.withHeight (shade));
    g.setColour (Colour (down ? 0x30ffffff : 0x70ffffff));
    g.drawVerticalLine (0, shade, body.getBottom() - lip);
    if (down)
    {
        g.setColour (Palette::accent.withAlpha (0.5f));
        g.fillRect (1.0f, 0.0f, 22.0f, 2.0f);
    }
}

// A black key, 16 x 100, with its sloping front lip; held down the lip shortens and the top turns
// dull.
void blackKey (Image& image, bool down)
{
    Graphics g (image);
    const Rectangle<float> body (0.0f, 0.0f, 16.0f, 100.0f);
    g.setColour (Colours::black);
    g.fillRoundedRectangle (body, 2.0f);
    g.fillRect (body.withHeight (4.0f));

    const float lip = down ? 4.0f : 11.0f;
    const auto top = body.reduced (2.0f, 0.0f).withTrimmedBottom (lip + 1.0f);
    fillVertical (g, top, down ? Colour (0xff101012) : Colour (0xff1c1d20),
                  down ? Colour (0xff1e1c1e) : Colour (0xff2e3034));
    g.setColour (Colour (down ? 0x14ffffff : 0x30ffffff));
    g.drawVerticalLine ((int) top.getX() + 1, 4.0f, top.getBottom() - 2.0f);
    fillVertical (g, body.reduced (1.0f, 0.0f).withTop (top.getBottom()).withTrimmedBottom (1.0f),
                  down ? Colour (0xff2a2226) : Colour (0xff4a4d53), down ? Colour (0xff121112) : Colour (0xff1a1b1e),
                  1.5f);
    if (down)
    {
        g.setColour (Palette::accentLit.withAlpha (0.55f));
        g.drawVerticalLine ((int) top.getX() + 1, 4.0f, top.getBottom() - 2.0f);
    }
}

void whiteKeyUp (Image& image) { whiteKey (image, false); }
void whiteKeyDown (Image& image) { whiteKey (image, true); }
void blackKeyUp (Image& image) { blackKey (image, false); }
void blackKeyDown (Image& image) { blackKey (image, true); }

// A miniature keyboard from note 0 at the left edge, `whiteWidth` per white key.
void miniKeyboard (Image& image, float whiteWidth)
{
    Graphics g (image);
    const float height = (float) image.getHeight();
    g.fillAll (Colour (0xff0a0a0a));
    const int whites = (int) std::ceil ((float) image.getWidth() / whiteWidth);
    for (int k = 0; k < whites; ++k)
    {
        const Rectangle<float> key ((float) k * whiteWidth, 1.0f, whiteWidth - 0.6f, height - 2.0f);
        fillVertical (g, key, Colour (0xffbfbfbd), Colour (0xffe8e8e6), 1.0f);
    }
    // Black keys follow the white keys C, D, F, G and A of every octave.
    const float blackWidth = whiteWidth * 0.62f;
    for (int k = 0; k < whites; ++k)
    {
        const int inOctave = k % 7;
        if (inOctave == 2 || inOctave == 6)
            continue;
        const Rectangle<float> key ((float) (k + 1) * whiteWidth - blackWidth * 0.5f - 0.3f, 1.0f, blackWidth,
                                    (height - 2.0f) * 0.6f);
        fillVertical (g, key, Colour (0xff0c0c0d), Colour (0xff2c2e32), 0.8f);
    }
    g.setColour (Palette::accent);
    g.drawHorizontalLine (0, 0.0f, (float) image.getWidth());
}

void octaveStrip (Image& image) { miniKeyboard (image, 25.0f / 7.0f); }
void zoneStrip (Image& image) { miniKeyboard (image, 25.0f / 7.0f); }
void zoneStripLarge (Image& image) { miniKeyboard (image, 7.0f); }

// The slot a wheel turns in. The panel draws the well 43 x 116 at (109, 43) and the 31 x 112 wheel at
// (110, 45), so the slot takes the left three quarters of the picture and a scale runs down the
// right, its centre mark level with the pitch wheel's rest position.
void wheelWell (Image& image)
{
    Graphics g (image);
    const auto area = image.getBounds().toFloat();
    drawRaised (g, area.reduced (0.5f), 8.0f, Palette::graphiteLight, Palette::graphite.darker (0.4f));
    const Rectangle<float> slot (1.5f, 2.5f, 61.0f, 201.0f);
    g.setColour (Colour (0x40ffffff));
    g.fillRoundedRectangle (slot.translated (0.0f, 1.5f), 7.0f);
    g.setColour (Colours::black);
    g.fillRoundedRectangle (slot, 7.0f);
    g.setGradientFill (
        ColourGradient (Colour (0xc0000000), 0.0f, slot.getY(), Colour (0x00000000), 0.0f, slot.getY() + 20.0f, false));
    g.fillRoundedRectangle (slot.reduced (2.0f), 6.0f);

    const float top = 12.0f, bottom = 194.0f;
    for (int i = 0; i <= 16; ++i)
    {
        const float y = top + (bottom - top) * (float) i / 16.0f;
        const bool major = i % 4 == 0;
        g.setColour (major ? Palette::silver : Palette::steel);
        g.fillRect (Rectangle<float> (66.0f, y - 0.6f, major ? 10.0f : 6.0f, major ? 1.6f : 1.0f));
    }
    g.setColour (Palette::accentLit);
    g.fillRect (Rectangle<float> (65.0f, (top + bottom) * 0.5f - 1.2f, 13.0f, 2.4f));
}

// The keyboard panel's title bar; stretched sideways, so it only changes from top to bottom.
void titleBar (Image& image)
{
    Graphics g (image);
    const auto area = image.getBounds().toFloat();
    fillVertical (g, area, Colour (0xff2e3034), Colour (0xff16171a));
    g.setColour (Colour (0x30ffffff));
    g.drawHorizontalLine (0, 0.0f, area.getRight());
    g.setColour (Palette::accent);
    g.drawHorizontalLine (18, 0.0f, area.getRight());
    g.setColour (Colours::black);
    g.drawHorizontalLine (19, 0.0f, area.getRight());
}
} // namespace

void addKeyboardSkins (DrawerTable& table)
{
    table["key_white_up"] = whiteKeyUp;
    table["key_white_down"] = whiteKeyDown;
    table["key_black_up"] = blackKeyUp;
    table["key_black_down"] = blackKeyDown;
    table["octave_strip"] = octaveStrip;
    table["zone_strip"] = zoneStrip;
    table["zone_strip_large"] = zoneStripLarge;
    table["wheel_well"] = wheelWell;
    table["title_bar"] = titleBar;
}
} // namespace SkinGen
