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
    g.drawText (text, getLocalBounds(), justification, true);
}

void StsLabel::mouseDown (const juce::MouseEvent& e)
{
    if (getLocalBounds().toFloat().contains (e.position))
        sendSynchronousChangeMessage();
}
