#include "ui/look/StsBut.h"

#include <algorithm>

namespace
{
const juce::Colour kFunctionFace { 0xFFACAAAE };
const juce::Colour kDialogFace { 0xFF5A6163 };
const juce::Colour kSelectedFace { 0xFF76D8F8 };

template <typename Listener>
void addOnce (std::vector<Listener*>& list, Listener* listener)
{
    if (listener != nullptr && std::find (list.begin(), list.end(), listener) == list.end())
        list.push_back (listener);
}

template <typename Listener>
void removeFrom (std::vector<Listener*>& list, Listener* listener)
{
    list.erase (std::remove (list.begin(), list.end(), listener), list.end());
}
} // namespace

StsBut::StsBut (const juce::String& buttonText, int buttonId, int buttonStyle)
    : text (buttonText), id (buttonId), style (buttonStyle)
{
    face.addListener (this);
    face.setConnectedEdges (juce::Button::ConnectedOnLeft | juce::Button::ConnectedOnRight);
    face.setWantsKeyboardFocus (false);
    face.setColour (juce::TextButton::buttonOnColourId, kSelectedFace);
    addAndMakeVisible (face);

    if (style == kDialogStyle)
    {
        face.setColour (juce::TextButton::buttonColourId, kDialogFace);
        face.setColour (juce::TextButton::textColourOffId, juce::Colours::black);
        textColour = juce::Colours::white;
        fontHeight = 13.0f;
    }
    else
    {
        face.setColour (juce::TextButton::buttonColourId, kFunctionFace);
        textColour = juce::Colours::black;
        fontHeight = 12.0f;
    }
    layOutCaption();
    setup (0, 0, 70, 18, false);
}

StsBut::~StsBut() { face.removeListener (this); }

void StsBut::setup (int x, int y, int width, int height, bool applyBounds)
{
    if (applyBounds)
        setBounds (x, y, width, height);
    resized();
    repaint();
}

void StsBut::resized()
{
    // The face reaches past the top and bottom so that its rounded ends stay out of sight and only
    // the flat band shows.
    if (style == kDialogStyle)
        face.setBounds (0, -5, getWidth(), getHeight() + 3);
    else
        face.setBounds (0, -3, getWidth(), getHeight() + 6);
}

void StsBut::layOutCaption()
{
    caption.clear();
    caption.addLineOfText (juce::Font ("Arial", fontHeight, juce::Font::plain), text, 0.0f, 0.0f);
    juce::Path outline;
    caption.createPath (outline);
    // What is centred is the letters from their top down to the baseline: centring the font's whole
    // line height (internal leading and descent included) pushes capitals towards the bottom, and a
    // descender should hang below the middle as it does in print.
    const auto ink = outline.getBounds();
    captionInk = ink.withBottom (juce::jmax (ink.getY(), 0.0f));
}

void StsBut::paintOverChildren (juce::Graphics& g)
{
    if (caption.getNumGlyphs() == 0 || captionInk.isEmpty())
        return;

    // Only the band of the face inside the button shows: the face reaches past the top (and for the
    // grey styles past the bottom) to hide its rounded ends, the dialog face stops short of the bottom.
    const auto shown = face.getBounds().getIntersection (getLocalBounds()).toFloat();
    constexpr float margin = 2.0f;
    const float room = juce::jmax (1.0f, shown.getWidth() - 2.0f * margin);
    const float squeeze = captionInk.getWidth() > room ? room / captionInk.getWidth() : 1.0f;

    // Whole pixels at the editor's own scale keep the glyphs as crisp as plain text.
    const float x = std::round (shown.getCentreX() - captionInk.getCentreX() * squeeze);
    const float y = std::round (shown.getCentreY() - captionInk.getCentreY());
    g.setColour (textColour);
    caption.draw (g, juce::AffineTransform::scale (squeeze, 1.0f).translated (x, y));
}

void StsBut::setText (const juce::String& newText)
{
    if (newText != text)
    {
        text = newText;
        layOutCaption();
        repaint();
    }
}

void StsBut::setTextColour (juce::Colour colour)
{
    textColour = colour;
    repaint();
}

void StsBut::setFontHeight (float height)
{
    fontHeight = height;
    layOutCaption();
    repaint();
}

void StsBut::setSelected (bool shouldBeSelected)
{
    selected = shouldBeSelected;
    face.setToggleState (selected, juce::dontSendNotification);
}

void StsBut::addListener (stsbutChangeListener* listener)
{
    const juce::ScopedLock sl (listenerLock);
    addOnce (listeners, listener);
}

void StsBut::removeListener (stsbutChangeListener* listener)
{
    const juce::ScopedLock sl (listenerLock);
    removeFrom (listeners, listener);
}

void StsBut::addIdListener (StsButIdListener* listener)
{
    const juce::ScopedLock sl (listenerLock);
    addOnce (idListeners, listener);
}

void StsBut::removeIdListener (StsButIdListener* listener)
{
    const juce::ScopedLock sl (listenerLock);
    removeFrom (idListeners, listener);
}

void StsBut::buttonClicked (juce::Button*) { notifyClicked(); }

void StsBut::notifyClicked()
{
    std::vector<stsbutChangeListener*> toTell;
    std::vector<StsButIdListener*> idsToTell;
    {
        const juce::ScopedLock sl (listenerLock);
        toTell = listeners;
        idsToTell = idListeners;
    }

    // The lock is not held while listeners run: they may add or remove listeners, or delete us.
    const juce::Component::SafePointer<StsBut> alive (this);
    const int clickedId = id;

    for (auto it = toTell.rbegin(); it != toTell.rend(); ++it)
    {
        if (alive == nullptr)
            return;
        const bool stillListening = [&] {
            const juce::ScopedLock sl (listenerLock);
            return std::find (listeners.begin(), listeners.end(), *it) != listeners.end();
        }();
        if (stillListening)
            (*it)->stsButClicked (this);
    }

    for (auto it = idsToTell.rbegin(); it != idsToTell.rend(); ++it)
    {
        if (alive == nullptr)
            return;
        const bool stillListening = [&] {
            const juce::ScopedLock sl (listenerLock);
            return std::find (idListeners.begin(), idListeners.end(), *it) != idListeners.end();
        }();
        if (stillListening)
            (*it)->stsButIdClicked (clickedId);
    }
}
