#pragma once

#include <juce_graphics/juce_graphics.h>

#include <map>
#include <string>

// Shared pieces of the skin generator: the table of drawers and the look every family uses.
//
// The look is a dark instrument panel: near-black and graphite greys, soft bevels, a deep red accent
// and the cool cyan of the displays. Everything is vector drawing; no text and no fonts are involved,
// so the pictures do not depend on the machine's fonts.
namespace SkinGen
{
// Draws one picture into a cleared, transparent image of the table's size.
using Drawer = void (*) (juce::Image&);
using DrawerTable = std::map<std::string, Drawer>;

// One registration function per family of pictures.
void addControlSkins (DrawerTable&);
void addGraphicSkins (DrawerTable&);
void addKeyboardSkins (DrawerTable&);
void addPanelSkins (DrawerTable&);

namespace Palette
{
const juce::Colour black { 0xff000000 };
const juce::Colour ink { 0xff0a0b0c };       // deepest recess
const juce::Colour panel { 0xff141414 };     // top band and dialogs
const juce::Colour groupFill { 0xff1a1b1e }; // parameter groups
const juce::Colour graphite { 0xff2a2c30 };
const juce::Colour graphiteLight { 0xff3c3f45 };
const juce::Colour steel { 0xff6b7078 };
const juce::Colour silver { 0xffb4b8be };
const juce::Colour white { 0xfff2f2f2 };
const juce::Colour accent { 0xff700010 };    // group titles
const juce::Colour accentLit { 0xffe0283c }; // a lit LED
const juce::Colour amber { 0xffffa040 };
const juce::Colour lcdText { 0xffb6fffd };
const juce::Colour glass { 0xff06100f };
} // namespace Palette

// A small fixed-seed generator for textures, so every run draws the same pixels.
class Dice
{
public:
    explicit Dice (uint32_t seed) : state (seed * 2654435761u + 0x9e3779b9u) {}

    float next() // 0..1
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return (float) (state & 0xffffu) / 65535.0f;
    }

private:
    uint32_t state;
};

// A point at a given distance and angle from a centre; the angle is clockwise from twelve o'clock,
// as juce::Path's arcs count it.
inline juce::Point<float> polar (juce::Point<float> centre, float radius, float angle)
{
    return centre.getPointOnCircumference (radius, angle);
}

inline float degrees (float d) { return juce::degreesToRadians (d); }

// A vertical gradient fill of a rectangle (top colour to bottom colour).
void fillVertical (juce::Graphics&, juce::Rectangle<float>, juce::Colour top, juce::Colour bottom, float corner = 0.0f);

// A recessed well: dark fill, shadowed top edge, catching the light on its lower edge.
void drawInset (juce::Graphics&, juce::Rectangle<float>, float corner, juce::Colour fill);

// A raised face: gradient body, a light top edge and a dark outline.
void drawRaised (juce::Graphics&, juce::Rectangle<float>, float corner, juce::Colour top, juce::Colour bottom);

// A rotary cap seen from above, its pointer at the given angle.
void drawKnobCap (juce::Graphics&, juce::Point<float> centre, float radius, float angle);

// Scale ticks from -135 to +135 degrees.
void drawTicks (juce::Graphics&, juce::Point<float> centre, int count, float inner, float outer, juce::Colour,
                float thickness);
} // namespace SkinGen
