// The editor page and its dialogs: the LCD, the program lists, the scroller and zoom corner, the name
// plate and emblem, the about panel, the window buttons and the library window's buttons.

#include "tools/skingen/SkinGen.h"

#include <cmath>

namespace SkinGen
{
namespace
{
using namespace juce;

// ---- Name plate ----------------------------------------------------------------------------------

// The product's own lettering, built from strokes so that no font is involved. Each letter lives in
// a box of width w and height h with its top left corner at the origin.
Path letter (char c, float w, float h)
{
    const float r = w * 0.3f, m = h * 0.5f;
    Path p;
    switch (c)
    {
        case 'O': p.addRoundedRectangle (0.0f, 0.0f, w, h, r); break;
        case 'S':
            p.startNewSubPath (w, 0.0f);
            p.lineTo (r, 0.0f);
            p.quadraticTo (0.0f, 0.0f, 0.0f, r);
            p.lineTo (0.0f, m - r);
            p.quadraticTo (0.0f, m, r, m);
            p.lineTo (w - r, m);
            p.quadraticTo (w, m, w, m + r);
            p.lineTo (w, h - r);
            p.quadraticTo (w, h, w - r, h);
            p.lineTo (0.0f, h);
            break;
        case 'T':
            p.startNewSubPath (0.0f, 0.0f);
            p.lineTo (w, 0.0f);
            p.startNewSubPath (w * 0.5f, 0.0f);
            p.lineTo (w * 0.5f, h);
            break;
        case 'R':
            p.startNewSubPath (0.0f, h);
            p.lineTo (0.0f, 0.0f);
            p.lineTo (w - r, 0.0f);
            p.quadraticTo (w, 0.0f, w, r);
            p.lineTo (w, m - r);
            p.quadraticTo (w, m, w - r, m);
            p.lineTo (0.0f, m);
            p.startNewSubPath (w * 0.45f, m);
            p.lineTo (w, h);
            break;
        case 'E':
            p.startNewSubPath (w, 0.0f);
            p.lineTo (0.0f, 0.0f);
            p.lineTo (0.0f, h);
            p.lineTo (w, h);
            p.startNewSubPath (0.0f, m);
            p.lineTo (w * 0.78f, m);
            break;
        case 'L':
            p.startNewSubPath (0.0f, 0.0f);
            p.lineTo (0.0f, h);
            p.lineTo (w, h);
            break;
        default: break;
    }
    return p;
}

void drawWordmark (Graphics& g, Point<float> origin, float height, float stroke)
{
    const float w = height * 0.72f, gap = height * 0.34f;
    Path word;
    float x = origin.x;
    for (char c : { 'O', 'S', 'T', 'R', 'E', 'L' })
    {
        word.addPath (letter (c, w, height), AffineTransform::translation (x, origin.y));
        x += w + gap;
    }
    const PathStrokeType type (stroke, PathStrokeType::mitered, PathStrokeType::square);
    g.setColour (Colour (0xb0000000));
    g.strokePath (word, type, AffineTransform::translation (1.0f, 1.5f));
    g.setGradientFill (ColourGradient (Palette::white, 0.0f, origin.y, Palette::steel, 0.0f, origin.y + height, false));
    g.strokePath (word, type);
}

// The emblem: a ring holding a waveform that turns into a row of steps, and a red pip.
void drawEmblem (Graphics& g, Point<float> centre, float radius)
{
    const auto disc = Rectangle<float> (2.0f * radius, 2.0f * radius).withCentre (centre);
    g.setColour (Colour (0xff0c0d0f));
    g.fillEllipse (disc);
    g.setColour (Palette::silver);
    g.drawEllipse (disc.reduced (radius * 0.06f), radius * 0.1f);

    Path wave;
    const float left = centre.x - radius * 0.62f, span = radius * 1.24f;
    for (int i = 0; i <= 48; ++i)
    {
        const float t = (float) i / 48.0f;
        const float y = centre.y - radius * 0.38f * std::sin (t * MathConstants<float>::twoPi);
        if (i == 0)
            wave.startNewSubPath (left, y);
        else
            wave.lineTo (left + t * span, y);
    }
    g.setColour (Palette::lcdText);
    g.strokePath (wave, PathStrokeType (radius * 0.09f, PathStrokeType::curved, PathStrokeType::rounded));
    g.setColour (Palette::accentLit);
    g.fillEllipse (
        Rectangle<float> (radius * 0.22f, radius * 0.22f).withCentre ({ centre.x, centre.y + radius * 0.66f }));
}

// 275 x 43, shown at 165 x 25 in the top band.
void logo (Image& image)
{
    Graphics g (image);
    drawEmblem (g, { 21.5f, 21.5f }, 19.0f);
    drawWordmark (g, { 54.0f, 10.0f }, 23.0f, 3.2f);
    g.setColour (Palette::accentLit);
    g.fillRect (54.0f, 38.0f, 134.0f, 2.0f);
    // Twelve voices: two rows of six lamps.
    for (int i = 0; i < 12; ++i)
    {
        const Rectangle<float> lamp (200.0f + 12.0f * (float) (i % 6), 13.0f + 11.0f * (float) (i / 6), 8.0f, 6.0f);
        fillVertical (g, lamp, i < 6 ? Palette::lcdText : Colour (0xff5e7a7a),
                      i < 6 ? Colour (0xff62b9b6) : Colour (0xff2a3838), 1.5f);
    }
}

// 113 x 56: a shield with the emblem, shown faded beside the name plate.
void badge (Image& image)
{
    Graphics g (image);
    const auto area = image.getBounds().toFloat().reduced (2.0f);
    g.setColour (Colour (0xff111214));
    g.fillRoundedRectangle (area, 10.0f);
    g.setColour (Palette::steel);
    g.drawRoundedRectangle (area, 10.0f, 2.0f);
    g.setColour (Palette::accent);
    g.fillRoundedRectangle (area.reduced (5.0f).withWidth (6.0f), 2.0f);
    g.fillRoundedRectangle (area.reduced (5.0f).withTrimmedLeft (area.getWidth() - 16.0f), 2.0f);
    drawEmblem (g, area.getCentre(), 20.0f);
}

// ---- Displays ------------------------------------------------------------------------------------

// The program display: dark glass in a graphite bezel, drawn into 217 x 46.
void lcd (Image& image)
{
    Graphics g (image);
    const auto area = image.getBounds().toFloat();
    drawRaised (g, area, 5.0f, Palette::graphiteLight, Palette::graphite.darker (0.5f));
    const auto glass = area.reduced (4.0f);
    g.setColour (Colours::black);
    g.fillRoundedRectangle (glass.expanded (1.0f), 3.5f);
    g.setGradientFill (ColourGradient (Colour (0xff0d2021), glass.getX(), glass.getY(), Colour (0xff030808),
                                       glass.getX(), glass.getBottom(), false));
    g.fillRoundedRectangle (glass, 3.0f);
    g.setColour (Colour (0x0fb6fffd));
    for (float y = glass.getY() + 1.0f; y < glass.getBottom(); y += 2.0f)
        g.drawHorizontalLine ((int) y, glass.getX() + 1.0f, glass.getRight() - 1.0f);
    g.setColour (Colour (0x22b6fffd));
    g.drawHorizontalLine (31, glass.getX() + 6.0f, glass.getRight() - 6.0f);
    Path sheen;
    sheen.startNewSubPath (glass.getX(), glass.getY());
    sheen.lineTo (glass.getX() + 120.0f, glass.getY());
    sheen.lineTo (glass.getX() + 70.0f, glass.getBottom());
    sheen.lineTo (glass.getX(), glass.getBottom());
    sheen.closeSubPath();
    g.setColour (Colour (0x0affffff));
    g.fillPath (sheen);
}

// The program list's row background, tiled down the list; plain from top to bottom so it tiles at
// any row height.
void gridBackground (Image& image)
{
    Graphics g (image);
    const float w = (float) image.getWidth(), h = (float) image.getHeight();
    ColourGradient fill (Colour (0xff1b1d21), 0.0f, 0.0f, Colour (0xff131417), w, 0.0f, false);
    g.setGradientFill (fill);
    g.fillRect (0.0f, 0.0f, w, h);
    g.setColour (Colour (0x10ffffff));
    g.drawVerticalLine (0, 0.0f, h);
}

void thumb (Image& image)
{
    Graphics g (image);
    const auto area = image.getBounds().toFloat().reduced (1.0f);
    drawRaised (g, area, juce::jmin (area.getWidth(), area.getHeight()) * 0.3f, Colour (0xff7a7f87),
                Colour (0xff43474e));
    g.setColour (Colour (0x90000000));
    const float cx = area.getCentreX(), cy = area.getCentreY(), half = area.getWidth() * 0.3f;
    for (int i = -1; i <= 1; ++i)
    {
        g.drawHorizontalLine ((int) (cy + 3.0f * (float) i), cx - half, cx + half);
        g.setColour (Colour (0x40ffffff));
        g.drawHorizontalLine ((int) (cy + 3.0f * (float) i) + 1, cx - half, cx + half);
        g.setColour (Colour (0x90000000));
    }
}

// The page scroller: only a column near its left edge is used, stretched along the bar.
void scroller (Image& image)
{
    Graphics g (image);
    const float w = (float) image.getWidth();
    fillVertical (g, { 0.0f, 0.0f, w, 14.0f }, Colour (0xff3a3d42), Colour (0xff1d1e21));
    g.setColour (Colour (0x30ffffff));
    g.drawHorizontalLine (0, 0.0f, w);
    g.setColour (Colours::black);
    g.drawHorizontalLine (13, 0.0f, w);
    g.fillRect (0.0f, 14.0f, w, 2.0f);
}

// The zoom corner: a small display for the percentage and a grip on its right.
void zoomCorner (Image& image)
{
    Graphics g (image);
    drawInset (g, { 0.5f, 0.5f, 37.0f, 13.0f }, 2.0f, Colour (0xff101416));
    drawRaised (g, { 38.5f, 0.5f, 11.0f, 13.0f }, 2.0f, Palette::graphiteLight, Palette::graphite);
    Path arrows;
    arrows.addTriangle (44.0f, 2.5f, 41.0f, 5.5f, 47.0f, 5.5f);
    arrows.addTriangle (44.0f, 11.5f, 41.0f, 8.5f, 47.0f, 8.5f);
    g.setColour (Palette::silver);
    g.fillPath (arrows);
}

// ---- About panel ---------------------------------------------------------------------------------

void aboutBackground (Image& image)
{
    Graphics g (image);
    const auto area = image.getBounds().toFloat();
    g.setGradientFill (
        ColourGradient (Colour (0xff25272b), 0.0f, 0.0f, Colour (0xff0c0d0f), 0.0f, area.getBottom(), false));
    g.fillRoundedRectangle (area, 10.0f);
    g.setColour (Palette::accent);
    g.fillRoundedRectangle (area.withHeight (34.0f), 10.0f);
    g.fillRect (area.withHeight (10.0f).withY (24.0f));
    drawWordmark (g, { 36.0f, 54.0f }, 26.0f, 3.6f);
    drawEmblem (g, { 400.0f, 74.0f }, 30.0f);
    g.setColour (Colour (0x30b6fffd));
    g.drawHorizontalLine (94, 36.0f, area.getRight() - 36.0f);
    // Faint rings in the lower right, like the scale around a large knob.
    for (int i = 0; i < 6; ++i)
    {
        const float r = 60.0f + 22.0f * (float) i;
        g.setColour (Colour::fromFloatRGBA (1.0f, 1.0f, 1.0f, 0.05f - 0.007f * (float) i));
        g.drawEllipse (
            Rectangle<float> (2.0f * r, 2.0f * r).withCentre ({ area.getRight() - 40.0f, area.getBottom() - 20.0f }),
            1.5f);
    }
    g.setColour (Colours::black);
    g.drawRoundedRectangle (area.reduced (0.5f), 10.0f, 1.0f);
    g.setColour (Colour (0xff457089));
    g.drawRoundedRectangle (area.reduced (2.0f), 9.0f, 1.5f);
}

// Layered waveforms over a dark field: twelve voices, one of them picked out in red.
void aboutPicture (Image& image)
{
    Graphics g (image);
    const float w = (float) image.getWidth(), h = (float) image.getHeight();
    g.setGradientFill (ColourGradient (Colour (0xff0e1416), 0.0f, 0.0f, Colour (0xff050607), 0.0f, h, false));
    g.fillRoundedRectangle (0.0f, 0.0f, w, h, 8.0f);
    g.setColour (Colour (0x14b6fffd));
    for (float x = 12.0f; x < w; x += 24.0f)
        g.drawVerticalLine ((int) x, 6.0f, h - 6.0f);
    for (float y = 9.0f; y < h; y += 24.0f)
        g.drawHorizontalLine ((int) y, 6.0f, w - 6.0f);

    for (int voice = 0; voice < 12; ++voice)
    {
        Path wave;
        const float phase = 0.45f * (float) voice, amplitude = 18.0f + 3.5f * (float) voice;
        for (int i = 0; i <= 194; ++i)
        {
            const float x = 8.0f + 2.0f * (float) i;
            const float t = x / w;
            const float y =
                h * 0.5f + amplitude * std::sin (t * 9.0f + phase) * std::sin (t * MathConstants<float>::pi);
            if (i == 0)
                wave.startNewSubPath (x, y);
            else
                wave.lineTo (x, y);
        }
        const bool picked = voice == 7;
        g.setColour (picked ? Palette::accentLit : Palette::lcdText.withAlpha (0.12f + 0.05f * (float) voice));
        g.strokePath (wave, PathStrokeType (picked ? 2.2f : 1.2f, PathStrokeType::curved, PathStrokeType::rounded));
    }
    g.setColour (Palette::graphiteLight);
    g.drawRoundedRectangle (0.5f, 0.5f, w - 1.0f, h - 1.0f, 8.0f, 1.0f);
}

// ---- Window buttons ------------------------------------------------------------------------------

enum class Glyph
{
    minimise,
    maximise,
    close
};

void windowButton (Graphics& g, Rectangle<float> cell, Glyph glyph, bool highlighted)
{
    const bool danger = glyph == Glyph::close && highlighted;
    drawRaised (g, cell.reduced (0.5f), 2.5f,
                danger ? Colour (0xffc02436) : (highlighted ? Colour (0xff5a5e66) : Palette::graphiteLight),
                danger ? Colour (0xff6a0c18) : (highlighted ? Colour (0xff363940) : Palette::graphite.darker (0.3f)));
    const auto c = cell.getCentre();
    g.setColour (highlighted ? Palette::white : Palette::silver);
    switch (glyph)
    {
        case Glyph::minimise: g.fillRect (c.x - 4.0f, c.y + 2.0f, 8.0f, 1.6f); break;
        case Glyph::maximise:
            g.drawRect (Rectangle<float> (8.0f, 7.0f).withCentre (c), 1.3f);
            g.fillRect (Rectangle<float> (8.0f, 1.0f).withCentre (c).withY (c.y - 3.5f));
            break;
        case Glyph::close:
        {
            Path cross;
            cross.startNewSubPath (c.x - 3.5f, c.y - 3.5f);
            cross.lineTo (c.x + 3.5f, c.y + 3.5f);
            cross.startNewSubPath (c.x + 3.5f, c.y - 3.5f);
            cross.lineTo (c.x - 3.5f, c.y + 3.5f);
            g.strokePath (cross, PathStrokeType (1.6f, PathStrokeType::curved, PathStrokeType::rounded));
            break;
        }
    }
}

// 54 x 30: the normal row at y 0 (15 high) and the highlighted row at y 16. Minimise at x 0 (20
// wide), maximise at x 20 (15 wide), close at x 37 (17 wide).
void windowButtons (Image& image)
{
    Graphics g (image);
    for (int row = 0; row < 2; ++row)
    {
        const float y = row == 0 ? 0.0f : 16.0f, h = row == 0 ? 15.0f : 14.0f;
        windowButton (g, { 0.0f, y, 20.0f, h }, Glyph::minimise, row == 1);
        windowButton (g, { 20.0f, y, 15.0f, h }, Glyph::maximise, row == 1);
        windowButton (g, { 37.0f, y, 17.0f, h }, Glyph::close, row == 1);
    }
}

// 17 x 30: the close button alone, in the same two rows.
void windowClose (Image& image)
{
    Graphics g (image);
    windowButton (g, { 0.0f, 0.0f, 17.0f, 15.0f }, Glyph::close, false);
    windowButton (g, { 0.0f, 16.0f, 17.0f, 14.0f }, Glyph::close, true);
}

// ---- Library window ------------------------------------------------------------------------------

// The command button's body, drawn at half size, rounded on the left; its end cap closes it on the
// right.
void libButton (Image& image)
{
    Graphics g (image);
    const Rectangle<float> body (1.0f, 2.0f, 219.0f, 44.0f);
    // The cap covers the button's last 5 pixels, 10 of this picture: the body stops where it starts.
    g.reduceClipRegion (0, 0, 190, image.getHeight());
    drawRaised (g, body, 12.0f, Colour (0xff44474e), Colour (0xff1b1c1f));
    g.setColour (Palette::accent);
    g.fillRoundedRectangle (8.0f, 8.0f, 5.0f, 32.0f, 2.5f);
}

void libButtonCap (Image& image)
{
    Graphics g (image);
    drawRaised (g, { -20.0f, 2.0f, 29.0f, 44.0f }, 12.0f, Colour (0xff44474e), Colour (0xff1b1c1f));
}

// The category button: 2-pixel edges and a middle that is stretched to the button's width.
void stButton (Image& image)
{
    Graphics g (image);
    const auto area = image.getBounds().toFloat();
    g.setColour (Colour (0xff141416));
    g.fillRect (area);
    fillVertical (g, area.reduced (1.0f), Colour (0xffc4c6ca), Colour (0xff8c8f95));
    g.setColour (Colour (0x80ffffff));
    g.drawHorizontalLine (1, 1.0f, area.getRight() - 1.0f);
    g.setColour (Colour (0x40000000));
    g.drawHorizontalLine ((int) area.getBottom() - 2, 1.0f, area.getRight() - 1.0f);
}
} // namespace

void addPanelSkins (DrawerTable& table)
{
    table["logo"] = logo;
    table["badge"] = badge;
    table["lcd"] = lcd;
    table["grid_background"] = gridBackground;
    table["grid_thumb"] = thumb;
    table["list_thumb"] = thumb;
    table["lib_list_thumb"] = thumb;
    table["scroller"] = scroller;
    table["zoom_corner"] = zoomCorner;
    table["about_background"] = aboutBackground;
    table["about_picture"] = aboutPicture;
    table["window_buttons"] = windowButtons;
    table["window_close"] = windowClose;
    table["lib_button"] = libButton;
    table["lib_button_cap"] = libButtonCap;
    table["st_button"] = stButton;
}
} // namespace SkinGen
