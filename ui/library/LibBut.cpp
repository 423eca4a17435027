#include "ui/library/LibBut.h"

#include "ui/look/CentredText.h"
#include "ui/look/Skins.h"

#include <algorithm>

LibBut::LibBut (const juce::String& text, int buttonId, float fontHeight)
    : caption (text),
      id (buttonId),
      font ("Arial", fontHeight, juce::Font::plain),
      body (Skins::get ("lib_button")),
      cap (Skins::get ("lib_button_cap"))
{
    setSize (kInitialWidth, kInitialHeight);
}

LibBut::~LibBut() = default;

void LibBut::setCaption (const juce::String& newCaption)
{
    if (caption != newCaption)
    {
        caption = newCaption;
        repaint();
    }
}

void LibBut::addListener (LibButListener* listener)
{
    const juce::ScopedLock sl (listenerLock);
    if (listener != nullptr && std::find (listeners.begin(), listeners.end(), listener) == listeners.end())
        listeners.push_back (listener);
}

void LibBut::removeListener (LibButListener* listener)
{
    const juce::ScopedLock sl (listenerLock);
    listeners.erase (std::remove (listeners.begin(), listeners.end(), listener), listeners.end());
}

template <typename Call>
void LibBut::tell (Call&& call)
{
    std::vector<LibButListener*> toTell;
    {
        const juce::ScopedLock sl (listenerLock);
        toTell = listeners;
    }
    // A click may hide the page or close the window this button sits in: stop once it is gone.
    const juce::Component::SafePointer<LibBut> alive (this);
    for (auto it = toTell.rbegin(); it != toTell.rend() && alive != nullptr; ++it)
        call (**it);
}

void LibBut::notifyClicked()
{
    tell ([this] (LibButListener& l) { l.libButClicked (this, id); });
}

void LibBut::paint (juce::Graphics& g)
{
    const int faceY = (getHeight() - kFaceHeight) / 2;
    if (body.isValid())
        g.drawImage (body, 0, faceY, kBodyWidth, kFaceHeight, 0, 0, body.getWidth(), body.getHeight());
    if (cap.isValid())
        g.drawImage (cap, getWidth() - kCapWidth, faceY, kCapWidth, kFaceHeight, 0, 0, cap.getWidth(), cap.getHeight());
    if (caption.isNotEmpty())
    {
        g.setFont (font);
        g.setColour (juce::Colour (kCaptionColour));
        CentredText::draw (g, caption, font, getLocalBounds().toFloat().reduced (2.0f, 0.0f));
    }
}

void LibBut::mouseEnter (const juce::MouseEvent&)
{
    tell ([this] (LibButListener& l) { l.libButEntered (this, id); });
}

void LibBut::mouseExit (const juce::MouseEvent&)
{
    tell ([this] (LibButListener& l) { l.libButLeft (this, id); });
}

void LibBut::mouseDown (const juce::MouseEvent&) { notifyClicked(); }
