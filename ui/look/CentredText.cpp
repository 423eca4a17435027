#include "ui/look/CentredText.h"

void CentredText::draw (juce::Graphics& g, const juce::String& text, const juce::Font& font,
                        juce::Rectangle<float> area)
{
    if (text.isEmpty())
        return;

    juce::GlyphArrangement capital, glyphs;
    capital.addLineOfText (font, "H", 0.0f, 0.0f);
    glyphs.addLineOfText (font, text, 0.0f, 0.0f);
    juce::Path outline;
    capital.createPath (outline);
    const float capitalHeight = -outline.getBounds().getY();

    const float width = glyphs.getBoundingBox (0, -1, false).getWidth();
    const float squeeze = width > area.getWidth() && width > 0.0f ? area.getWidth() / width : 1.0f;
    const float x = std::round (area.getCentreX() - width * squeeze / 2.0f);
    const float baseline = std::round (area.getCentreY() + capitalHeight / 2.0f);
    glyphs.draw (g, juce::AffineTransform::scale (squeeze, 1.0f).translated (x, baseline));
}
