#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace CentredText
{
// Draws one line of text in the middle of an area the way the eye judges it: its capitals (top of
// the letters down to the baseline) centred between the area's top and bottom. Centring the font's
// whole line height instead, as Graphics::drawText does, counts the internal leading and the descent
// and sets the letters low; in a face hardly taller than the font they touch or cross its bottom.
// Text wider than the area is squeezed to fit. Positions are whole pixels.
void draw (juce::Graphics& g, const juce::String& text, const juce::Font& font, juce::Rectangle<float> area);
} // namespace CentredText
