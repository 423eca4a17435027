#include "ui/look/Check_But.h"

#include "ui/look/Skins.h"

Check_But::Check_But (const juce::String& text, bool inside)
    : caption (text),
      captionInside (inside),
      onImage (Skins::get ("check_on")),
      offImage (Skins::get ("check_off")),
      pressedImage (Skins::get ("check_pressed"))
{
    setSize (kSize, kSize);
}

void Check_But::setOn (bool shouldBeOn)
{
    if (on != shouldBeOn)
    {
        on = shouldBeOn;
        repaint();
    }
}

void Check_But::setCaption (const juce::String& text)
{
    caption = text;
    repaint();
}

void Check_But::setCaptionColour (juce::Colour colour)
{
    captionColour = colour;
    repaint();
}

void Check_But::setCaptionHeight (float height)
{
    captionHeight = height;
    repaint();
}

void Check_But::setCaptionInside (bool inside)
{
    captionInside = inside;
    repaint();
}

void Check_But::drawCaption (juce::Graphics& g, juce::Rectangle<int> area) const
{
    g.setColour (captionColour);
    g.setFont (juce::Font ("Arial", captionHeight, juce::Font::plain));
    g.drawText (caption, area, juce::Justification::centredLeft, false);
}

void Check_But::paint (juce::Graphics& g)
{
    if (captionInside)
        drawCaption (g, { 30, 0, 300, 15 });

    const auto& image = pressed ? pressedImage : (on ? onImage : offImage);
    const juce::Rectangle<float> box (2.0f, 2.0f, 20.0f, 11.0f);
    if (image.isValid())
    {
        g.drawImage (image, box, juce::RectanglePlacement::stretchToFit);
    }
    else
    {
        // No skin: a plain box with a lit centre when on.
        g.setColour (juce::Colour (0xFF2A2A2A));
        g.fillRect (box);
        g.setColour (juce::Colour (0xFF808080));
        g.drawRect (box, 1.0f);
        if (on || pressed)
        {
            g.setColour (pressed ? juce::Colour (0xFF76D8F8) : juce::Colour (0xFF35C5F4));
            g.fillRect (box.reduced (3.0f, 3.0f));
        }
    }
}

void Check_But::paintCaptionBeside (juce::Graphics& ownerGraphics) const
{
    drawCaption (ownerGraphics, { getX() + 30, getY(), 300, 15 });
}

void Check_But::mouseDown (const juce::MouseEvent&)
{
    pressed = true;
    on = ! on;
    repaint();
    // Last: the owner may act on the new state at once, even close the panel that holds us.
    sendSynchronousChangeMessage();
}

void Check_But::mouseUp (const juce::MouseEvent&)
{
    pressed = false;
    repaint();
}
