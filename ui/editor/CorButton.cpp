#include "ui/editor/CorButton.h"

#include "ui/look/Skins.h"

CorButton::CorButton() : image (Skins::get ("zoom_corner")) { setSize (kWidth, kHeight); }

void CorButton::setZoomPercent (int percent)
{
    if (percent != zoomPercent)
    {
        zoomPercent = percent;
        zoomText = juce::String (percent) + "%";
        repaint();
    }
}

void CorButton::setPanelSize (int width, int height)
{
    panelWidth = width;
    panelHeight = height;
}

void CorButton::paint (juce::Graphics& g)
{
    if (image.isValid())
        g.drawImage (image, juce::Rectangle<float> (0.0f, 0.0f, 50.0f, 14.0f), juce::RectanglePlacement::stretchToFit);
    else
    {
        g.setColour (juce::Colour (0xFF2B2B2B));
        g.fillRect (0, 0, 50, 14);
        g.setColour (juce::Colour (0xFF808080));
        for (int i = 0; i < 3; ++i) // grip marks
            g.drawLine (static_cast<float> (41 + 3 * i), 12.0f, 48.0f, static_cast<float> (5 + 3 * i), 1.0f);
    }

    g.setColour (juce::Colour (0xFFDDDDDD));
    g.setFont (juce::Font ("Arial", 12.0f, juce::Font::plain));
    g.drawText (zoomText, juce::Rectangle<int> (0, 0, 38, 14), juce::Justification::centred, false);
}

void CorButton::mouseMove (const juce::MouseEvent& e)
{
    setMouseCursor (e.x > 38 ? juce::MouseCursor::UpDownResizeCursor : juce::MouseCursor::NormalCursor);
}

void CorButton::mouseDown (const juce::MouseEvent& e)
{
    if (e.x < kGripStart)
        return;
    resizing = true;
    pressPoint = e.getPosition();
    proposedWidth = panelWidth;
    proposedHeight = panelHeight;
    code = kResizeStarted;
    sendSynchronousChangeMessage();
}

void CorButton::propose (juce::Point<int> mouse)
{
    proposedHeight = panelHeight + (mouse.y - pressPoint.y);
    proposedWidth = panelWidth - (mouse.x - pressPoint.x);
}

void CorButton::mouseDrag (const juce::MouseEvent& e)
{
    if (! resizing)
        return;
    propose (e.getPosition());
    code = kResizing;
    sendSynchronousChangeMessage();
}

void CorButton::mouseUp (const juce::MouseEvent& e)
{
    if (! resizing)
        return;
    resizing = false;
    propose (e.getPosition());
    code = kResizeEnded;
    sendSynchronousChangeMessage();
}
