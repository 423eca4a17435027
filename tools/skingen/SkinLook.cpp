#include "tools/skingen/SkinGen.h"

namespace SkinGen
{
using namespace juce;

void fillVertical (Graphics& g, Rectangle<float> area, Colour top, Colour bottom, float corner)
{
    g.setGradientFill (ColourGradient (top, area.getX(), area.getY(), bottom, area.getX(), area.getBottom(), false));
    if (corner > 0.0f)
        g.fillRoundedRectangle (area, corner);
    else
        g.fillRect (area);
}

void drawInset (Graphics& g, Rectangle<float> area, float corner, Colour fill)
{
    // The light catches the lower lip of the recess; the upper lip is in shadow.
    g.setColour (Colour (0x30ffffff));
    g.fillRoundedRectangle (area.translated (0.0f, 1.0f), corner);
    g.setColour (Colours::black);
    g.fillRoundedRectangle (area, corner);
    fillVertical (g, area.reduced (1.0f), fill.darker (0.5f), fill, juce::jmax (0.0f, corner - 1.0f));
    g.setColour (Colour (0x50000000));
    g.drawHorizontalLine (roundToInt (area.getY() + 1.0f), area.getX() + corner, area.getRight() - corner);
}

void drawRaised (Graphics& g, Rectangle<float> area, float corner, Colour top, Colour bottom)
{
    g.setColour (Colours::black);
    g.fillRoundedRectangle (area, corner);
    fillVertical (g, area.reduced (1.0f), top, bottom, juce::jmax (0.0f, corner - 1.0f));
    g.setColour (Colour (0x38ffffff));
    g.drawHorizontalLine (roundToInt (area.getY() + 1.0f), area.getX() + corner, area.getRight() - corner);
}

void drawKnobCap (Graphics& g, Point<float> centre, float radius, float angle)
{
    const auto disc = [centre] (float r) { return Rectangle<float> (2.0f * r, 2.0f * r).withCentre (centre); };

    // Skirt: a dark ring lit from the upper left.
    g.setGradientFill (ColourGradient (Colour (0xff4a4e55), centre.x - radius, centre.y - radius, Colour (0xff08090a),
                                       centre.x + radius * 0.8f, centre.y + radius * 0.9f, false));
    g.fillEllipse (disc (radius));

    // Knurling: grooves that turn with the cap, so every frame differs even near the pointer.
    for (int i = 0; i < 30; ++i)
    {
        const float a = angle + degrees (12.0f * (float) i);
        g.setColour (Colour (0x80000000));
        g.drawLine (Line<float> (polar (centre, radius - 2.6f, a), polar (centre, radius - 0.6f, a)), 1.0f);
    }

    // Top face, slightly domed.
    const float face = radius * 0.74f;
    g.setGradientFill (ColourGradient (Colour (0xff3b3e44), centre.x - face * 0.6f, centre.y - face * 0.8f,
                                       Colour (0xff141518), centre.x + face * 0.5f, centre.y + face, true));
    g.fillEllipse (disc (face));
    g.setColour (Colour (0xff050506));
    g.drawEllipse (disc (face), 0.8f);
    Path sheen;
    sheen.addCentredArc (centre.x, centre.y, face - 1.0f, face - 1.0f, 0.0f, degrees (-70.0f), degrees (40.0f), true);
    g.setColour (Colour (0x40ffffff));
    g.strokePath (sheen, PathStrokeType (0.9f));

    g.setColour (Colours::black);
    g.drawEllipse (disc (radius), 1.0f);

    // Pointer: a light bar with a dark border, readable over both the lit and the shaded side.
    const Line<float> pointer (polar (centre, radius * 0.22f, angle), polar (centre, radius - 1.2f, angle));
    Path bar;
    bar.startNewSubPath (pointer.getStart());
    bar.lineTo (pointer.getEnd());
    g.setColour (Colour (0xd0000000));
    g.strokePath (bar, PathStrokeType (3.6f, PathStrokeType::curved, PathStrokeType::rounded));
    g.setColour (Palette::white);
    g.strokePath (bar, PathStrokeType (2.0f, PathStrokeType::curved, PathStrokeType::rounded));
}

void drawTicks (Graphics& g, Point<float> centre, int count, float inner, float outer, Colour colour, float thickness)
{
    g.setColour (colour);
    for (int i = 0; i < count; ++i)
    {
        const float a = degrees (-135.0f + 270.0f * (float) i / (float) (count - 1));
        g.drawLine (Line<float> (polar (centre, inner, a), polar (centre, outer, a)), thickness);
    }
}
} // namespace SkinGen
