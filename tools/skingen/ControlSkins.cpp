// The parameter controls: the knob filmstrips and bases, the value menu, the switches, the check
// boxes and the global panel's close mark.

#include "tools/skingen/SkinGen.h"

namespace SkinGen
{
namespace
{
using namespace juce;

// The editor's knob filmstrip: 61 frames of 56 x 56, 60 pixels apart except that the spacing is one
// pixel shorter after frames 6, 18, 30, 42 and 54. The cap sits at (20, 20) in its cell, where the
// knob bases and the drop shadow expect it.
constexpr int kKnobFrames = 61;
constexpr float kKnobCapX = 20.0f, kKnobCapY = 20.0f, kKnobCapRadius = 14.0f;

int knobFrameX (int frame)
{
    int shrink = 0;
    for (int step : { 6, 18, 30, 42, 54 })
        if (step < frame)
            ++shrink;
    return 60 * frame - shrink;
}

float frameAngle (int frame, int lastFrame) { return degrees (-135.0f + 270.0f * (float) frame / (float) lastFrame); }

void knobStrip (Image& image)
{
    Graphics g (image);
    for (int frame = 0; frame < kKnobFrames; ++frame)
    {
        Graphics::ScopedSaveState state (g);
        g.reduceClipRegion (knobFrameX (frame), 0, 56, 56);
        g.setOrigin (knobFrameX (frame), 0);
        drawKnobCap (g, { kKnobCapX, kKnobCapY }, kKnobCapRadius, frameAngle (frame, kKnobFrames - 1));
    }
}

// The bases are drawn under the cap at 73 % opacity; their scales are centred where the cap lands,
// (42, 42) in the 80 x 80 picture.
const Point<float> kBaseCentre { 42.0f, 42.0f };

void baseRecess (Graphics& g, float radius)
{
    g.setGradientFill (ColourGradient (Colour (0xff000000), kBaseCentre.x, kBaseCentre.y, Colour (0x00000000),
                                       kBaseCentre.x + radius, kBaseCentre.y, true));
    g.fillEllipse (Rectangle<float> (2.0f * radius, 2.0f * radius).withCentre (kBaseCentre));
}

// Style 0: a plain scale of eleven ticks.
void knobBase0 (Image& image)
{
    Graphics g (image);
    baseRecess (g, 19.0f);
    drawTicks (g, kBaseCentre, 11, 17.5f, 20.5f, Palette::silver.withAlpha (0.8f), 1.2f);
    drawTicks (g, kBaseCentre, 2, 16.5f, 21.5f, Palette::white, 1.6f);
}

// Style 1: a bipolar scale, its centre marked in red.
void knobBase1 (Image& image)
{
    Graphics g (image);
    baseRecess (g, 19.0f);
    drawTicks (g, kBaseCentre, 21, 18.0f, 20.0f, Palette::silver.withAlpha (0.6f), 1.0f);
    drawTicks (g, kBaseCentre, 2, 16.5f, 21.0f, Palette::white, 1.6f);
    g.setColour (Palette::accentLit);
    g.drawLine (Line<float> (polar (kBaseCentre, 16.0f, 0.0f), polar (kBaseCentre, 20.5f, 0.0f)), 2.2f);
}

// Style 2: a wide scale with an arc and major ticks.
void knobBase2 (Image& image)
{
    Graphics g (image);
    baseRecess (g, 21.0f);
    Path arc;
    arc.addCentredArc (kBaseCentre.x, kBaseCentre.y, 20.0f, 20.0f, 0.0f, degrees (-135.0f), degrees (135.0f), true);
    g.setColour (Palette::steel);
    g.strokePath (arc, PathStrokeType (1.2f));
    drawTicks (g, kBaseCentre, 31, 21.0f, 23.5f, Palette::silver.withAlpha (0.55f), 0.9f);
    drawTicks (g, kBaseCentre, 7, 21.0f, 26.5f, Palette::white.withAlpha (0.9f), 1.4f);
    g.setColour (Palette::accentLit);
    for (float a : { -135.0f, 135.0f })
        g.fillEllipse (Rectangle<float> (3.0f, 3.0f).withCentre (polar (kBaseCentre, 26.5f, degrees (a))));
}

// The global panel's filmstrip: 55 frames of 56 x 56, one every 58 pixels, shown without a base, so
// each frame carries its own scale and shadow.
void globalKnobStrip (Image& image)
{
    constexpr int frames = 55;
    const Point<float> centre { 28.0f, 28.0f };
    Graphics g (image);
    for (int frame = 0; frame < frames; ++frame)
    {
        Graphics::ScopedSaveState state (g);
        g.reduceClipRegion (58 * frame, 0, 56, 56);
        g.setOrigin (58 * frame, 0);
        drawTicks (g, centre, 11, 22.0f, 25.5f, Palette::silver.withAlpha (0.75f), 1.2f);
        g.setColour (Colour (0x88000000));
        g.fillEllipse (Rectangle<float> (38.0f, 38.0f).withCentre (centre.translated (1.5f, 2.0f)));
        drawKnobCap (g, centre, 17.5f, frameAngle (frame, frames - 1));
    }
}

// The value menu: a recessed display strip, a drop arrow and a glass frame laid over both. The frame
// is stretched from its left 100 pixels, so its right border sits at x 99.
void menuStrip (Image& image)
{
    Graphics g (image);
    const auto area = image.getBounds().toFloat();
    drawInset (g, area, 3.0f, Colour (0xff101416));
}

void menuArrow (Image& image)
{
    Graphics g (image);
    const auto area = image.getBounds().toFloat();
    fillVertical (g, area.reduced (1.0f, 1.0f), Palette::graphiteLight, Palette::graphite, 2.0f);
    g.setColour (Colour (0xff050505));
    g.drawVerticalLine (0, 1.0f, area.getBottom() - 1.0f);
    Path arrow;
    arrow.addTriangle (3.5f, 7.0f, 10.5f, 7.0f, 7.0f, 11.5f);
    g.setColour (Palette::silver);
    g.fillPath (arrow);
}

void menuFrame (Image& image)
{
    Graphics g (image);
    const Rectangle<float> frame (0.5f, 0.5f, 99.0f, 16.0f);
    g.setColour (Colour (0xff000000));
    g.drawRoundedRectangle (frame, 3.0f, 1.0f);
    g.setGradientFill (ColourGradient (Colour (0x26ffffff), 0.0f, 1.0f, Colour (0x00ffffff), 0.0f, 8.0f, false));
    g.fillRoundedRectangle (frame.reduced (1.0f).withHeight (7.0f), 2.0f);
    g.setColour (Colour (0x18b6fffd));
    g.drawHorizontalLine (15, 3.0f, 97.0f);
}

// A rectangular LED switch: "off" at x 0, "on" at x 20, each 20 x 12.
void switchFrames (Image& image)
{
    Graphics g (image);
    for (int on = 0; on < 2; ++on)
    {
        const Rectangle<float> cell ((float) (20 * on), 0.0f, 20.0f, 12.0f);
        drawInset (g, cell.reduced (0.5f), 2.5f, Palette::graphite);
        const auto lens = cell.reduced (3.0f, 3.0f);
        if (on == 0)
        {
            fillVertical (g, lens, Colour (0xff2a0a0e), Colour (0xff3a1216), 1.5f);
            g.setColour (Colour (0x22ffffff));
            g.drawHorizontalLine ((int) lens.getY(), lens.getX() + 1.0f, lens.getRight() - 1.0f);
        }
        else
        {
            g.setColour (Palette::accentLit.withAlpha (0.45f));
            g.fillRoundedRectangle (lens.expanded (1.5f, 1.0f), 2.5f);
            g.setGradientFill (ColourGradient (Colour (0xffffe0b0), lens.getCentreX(), lens.getCentreY(),
                                               Colour (0xffe8283a), lens.getRight(), lens.getBottom(), true));
            g.fillRoundedRectangle (lens, 1.5f);
            g.setColour (Colour (0x80ffffff));
            g.drawHorizontalLine ((int) lens.getY(), lens.getX() + 1.0f, lens.getRight() - 1.0f);
        }
    }
}

// The check box: a small toggle with a lamp, in its three states.
void checkBox (Image& image, int state) // 0 off, 1 on, 2 pressed
{
    Graphics g (image);
    const auto area = image.getBounds().toFloat();
    drawInset (g, area.reduced (0.5f), 2.5f, state == 2 ? Palette::graphiteLight : Palette::graphite);
    const auto lamp = Rectangle<float> (7.0f, 5.0f).withCentre ({ state == 0 ? 6.5f : 13.5f, 5.5f });
    if (state == 1)
    {
        g.setColour (Palette::lcdText.withAlpha (0.35f));
        g.fillRoundedRectangle (lamp.expanded (1.5f), 2.5f);
        fillVertical (g, lamp, Colour (0xffe8ffff), Palette::lcdText.darker (0.2f), 1.5f);
    }
    else
    {
        fillVertical (g, lamp, Colour (0xff3a4046), Colour (0xff1c1f22), 1.5f);
        g.setColour (Colour (0x30ffffff));
        g.drawHorizontalLine ((int) lamp.getY(), lamp.getX() + 1.0f, lamp.getRight() - 1.0f);
    }
    if (state == 2)
    {
        g.setColour (Colour (0x40000000));
        g.fillRoundedRectangle (area.reduced (1.5f), 2.0f);
    }
}

void checkOff (Image& image) { checkBox (image, 0); }
void checkOn (Image& image) { checkBox (image, 1); }
void checkPressed (Image& image) { checkBox (image, 2); }

// The global panel's close mark, shown at half size.
void globalClose (Image& image)
{
    Graphics g (image);
    const auto area = image.getBounds().toFloat().reduced (1.0f);
    g.setColour (Colour (0xff0c0c0d));
    g.fillEllipse (area);
    g.setColour (Colour (0xff457089));
    g.drawEllipse (area.reduced (1.0f), 2.5f);
    Path cross;
    cross.startNewSubPath (10.0f, 10.0f);
    cross.lineTo (20.0f, 20.0f);
    cross.startNewSubPath (20.0f, 10.0f);
    cross.lineTo (10.0f, 20.0f);
    g.setColour (Palette::white);
    g.strokePath (cross, PathStrokeType (3.0f, PathStrokeType::curved, PathStrokeType::rounded));
}
} // namespace

void addControlSkins (DrawerTable& table)
{
    table["knob_strip"] = knobStrip;
    table["knob_base0"] = knobBase0;
    table["knob_base1"] = knobBase1;
    table["knob_base2"] = knobBase2;
    table["global_knob_strip"] = globalKnobStrip;
    table["menu_strip"] = menuStrip;
    table["menu_arrow"] = menuArrow;
    table["menu_frame"] = menuFrame;
    table["switch"] = switchFrames;
    table["check_off"] = checkOff;
    table["check_on"] = checkOn;
    table["check_pressed"] = checkPressed;
    table["global_close"] = globalClose;
}
} // namespace SkinGen
