#include "ui/look/SimpleLabel.h"

SimpleLabel::SimpleLabel (float fontHeight, juce::Colour fill, int fontStyle, juce::Justification just)
    : background (fill), font ("Arial", fontHeight, fontStyle), justification (just)
{}

void SimpleLabel::setText (const juce::String& newText)
{
    if (text != newText)
    {
        text = newText;
        repaint();
    }
}

void SimpleLabel::setTextColour (juce::Colour colour)
{
    textColour = colour;
    repaint();
}

void SimpleLabel::paint (juce::Graphics& g)
{
    g.fillAll (background);
    if (text.isEmpty())
        return;
    g.setFont (font);
    g.setColour (textColour);
    g.drawText (text, 0, 0, getWidth(), kTextHeight, justification, true);
}
