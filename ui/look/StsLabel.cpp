#include "ui/look/StsLabel.h"

void StsLabel::setup (const juce::String& newText, const juce::String& newFontName, float newFontHeight)
{
    text = newText;
    textColour = juce::Colours::white;
    justification = juce::Justification::centred;
    setFont (newFontName, newFontHeight, juce::Font::plain);
}

void StsLabel::setText (const juce::String& newText)
{
    if (newText == text)
        return;
    text = newText;
    repaint();
}

void StsLabel::setFont (const juce::String& newFontName, float newFontHeight, int newFontStyle)
{
    fontName = newFontName;
    fontHeight = newFontHeight;
    fontStyle = newFontStyle;
    font = juce::Font (fontName, fontHeight, fontStyle);
    capitalHeight = -1.0f;
    repaint();
}

void StsLabel::setTextColour (juce::Colour colour)
{
    textColour = colour;
    repaint();
}

void StsLabel::setJustification (juce::Justification newJustification)
{
    justification = newJustification;
    repaint();
}

void StsLabel::setFrame (int mode, juce::Colour fill, juce::Colour outline)
{
    frameMode = juce::jlimit (0, 2, mode);
    fillColour = fill;
    outlineColour = outline;
    repaint();
}

void StsLabel::paint (juce::Graphics& g)
{
    if (frameMode == kFilled || frameMode == kFilledOutlined)
    {
        g.setColour (fillColour);
        g.fillRect (getLocalBounds());
        if (frameMode == kFilledOutlined)
        {
            g.setColour (outlineColour);
            g.drawRect (getLocalBounds(), 1);
        }
    }

    g.setColour (textColour);
    g.setFont (font);

    // Centred by its capitals: the font's line height (leading and descent included) would set them
    // low, and in a box hardly taller than the font they would touch or cross the bottom edge.
    if (capitalHeight < 0.0f)
    {
        juce::GlyphArrangement capital;
        capital.addLineOfText (font, "H", 0.0f, 0.0f);
        juce::Path outline;
        capital.createPath (outline);
        capitalHeight = -outline.getBounds().getY();
    }
    juce::GlyphArrangement glyphs;
    glyphs.addLineOfText (font, text, 0.0f, 0.0f);
    const float width = glyphs.getBoundingBox (0, -1, true).getWidth();
    const auto area = getLocalBounds().toFloat();
    if (! justification.testFlags (juce::Justification::verticallyCentred) || width > area.getWidth())
    {
        g.drawText (text, getLocalBounds(), justification, true);
        return;
    }
    float x = area.getX();
    if (justification.testFlags (juce::Justification::horizontallyCentred))
        x = area.getCentreX() - width / 2.0f;
    else if (justification.testFlags (juce::Justification::right))
        x = area.getRight() - width;
    const float baseline = std::round (area.getCentreY() + capitalHeight / 2.0f);
    glyphs.draw (g, juce::AffineTransform::translation (std::round (x), baseline));
}

void StsLabel::mouseDown (const juce::MouseEvent& e)
{
    if (getLocalBounds().toFloat().contains (e.position))
        sendSynchronousChangeMessage();
}
