#include "ui/editor/GroupImg.h"

GroupImg::GroupImg (juce::Colour c) : colour (c)
{
    setInterceptsMouseClicks (true, false);
    deactivate();
}

void GroupImg::activate (int milliseconds)
{
    active = true;
    setVisible (true);
    toFront (false);
    repaint();
    if (milliseconds > 0)
        startTimer (milliseconds);
}

void GroupImg::deactivate()
{
    stopTimer();
    active = false;
    setVisible (false);
    setBounds (-100, -100, 2, 2);
}

void GroupImg::timerCallback() { deactivate(); }

void GroupImg::paint (juce::Graphics& g)
{
    if (active)
        g.fillAll (colour);
}

void GroupImg::mouseDown (const juce::MouseEvent&) { sendChangeMessage(); }
