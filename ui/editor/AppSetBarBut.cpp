#include "ui/editor/AppSetBarBut.h"

namespace
{
const juce::Colour kBar { 0xFF999999 };
constexpr int kBarX = 8, kBarWidth = 20, kBarHeight = 3;
constexpr int kBarYs[] = { 8, 14, 20 };
} // namespace

AppSetBarBut::AppSetBarBut() { setSize (kSize, kSize); }

void AppSetBarBut::paint (juce::Graphics& g)
{
    g.setColour (kBar);
    for (const int y : kBarYs)
        g.fillRect (kBarX, y, kBarWidth, kBarHeight);
}

void AppSetBarBut::mouseUp (const juce::MouseEvent& e)
{
    // A press that slid off the button before the release is no click.
    if (! getLocalBounds().toFloat().contains (e.position))
        return;
    actionCode = kOpenLibrary;
    sendSynchronousChangeMessage();
}
