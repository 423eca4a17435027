#include "ui/library/StBut.h"

#include "ui/look/CentredText.h"
#include "ui/look/Skins.h"

#include <algorithm>

StBut::StBut (const juce::String& text, int buttonId) : caption (text), id (buttonId), skin (Skins::get ("st_button"))
{
    setSize (100, 18);
}

StBut::~StBut() = default;

void StBut::addListener (StButListener* listener)
{
    const juce::ScopedLock sl (listenerLock);
    if (listener != nullptr && std::find (listeners.begin(), listeners.end(), listener) == listeners.end())
        listeners.push_back (listener);
}

void StBut::removeListener (StButListener* listener)
{
    const juce::ScopedLock sl (listenerLock);
    listeners.erase (std::remove (listeners.begin(), listeners.end(), listener), listeners.end());
}

void StBut::tell (int code)
{
    std::vector<StButListener*> toTell;
    {
        const juce::ScopedLock sl (listenerLock);
        toTell = listeners;
    }
    const juce::Component::SafePointer<StBut> alive (this);
    for (auto it = toTell.rbegin(); it != toTell.rend() && alive != nullptr; ++it)
        (*it)->stButEvent (this, code, id);
}

void StBut::paint (juce::Graphics& g)
{
    const int w = getWidth(), h = getHeight();
    if (skin.isValid() && skin.getWidth() > 2 * kEdge)
    {
        // The edges keep their width; only the middle stretches.
        const int sw = skin.getWidth(), sh = skin.getHeight();
        g.drawImage (skin, 0, 0, kEdge, h, 0, 0, kEdge, sh);
        g.drawImage (skin, kEdge, 0, juce::jmax (0, w - 2 * kEdge), h, kEdge, 0, sw - 2 * kEdge, sh);
        g.drawImage (skin, w - kEdge, 0, kEdge, h, sw - kEdge, 0, kEdge, sh);
    }

    if (pressed || hovered)
    {
        g.setColour (juce::Colours::black.withAlpha (pressed ? kPressedVeil : kHoverVeil));
        g.fillRect (getLocalBounds());
    }

    g.setFont (font);
    g.setColour (pressed ? juce::Colours::white : juce::Colours::black);
    CentredText::draw (g, caption, font, getLocalBounds().toFloat().reduced (2.0f, 0.0f));
}

void StBut::mouseEnter (const juce::MouseEvent&)
{
    hovered = true;
    repaint();
}

void StBut::mouseExit (const juce::MouseEvent&)
{
    hovered = false;
    repaint();
}

void StBut::mouseDown (const juce::MouseEvent&)
{
    pressed = true;
    repaint();
    tell (kPressed);
}

void StBut::mouseUp (const juce::MouseEvent& e)
{
    pressed = false;
    repaint();
    if (! getLocalBounds().toFloat().contains (e.position))
        return;
    sendChangeMessage();
    tell (kReleased);
}
