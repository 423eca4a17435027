#include "ui/keyboard/ZoneKeyClass.h"

#include "ui/keyboard/OctaveKeyClass.h"
#include "ui/look/Skins.h"

namespace
{
const juce::Colour kDim (0x66000000);
}

// ---- ZoneKeyClass ----------------------------------------------------------------------------------

ZoneKeyClass::ZoneKeyClass() : strip (Skins::get ("zone_strip")) {}

void ZoneKeyClass::setScale (float s)
{
    scale = s;
    repaint();
}

void ZoneKeyClass::setSplitKey (int key)
{
    splitKey = juce::jlimit (0, 127, key);
    repaint();
}

void ZoneKeyClass::setSide (int s)
{
    side = s;
    repaint();
}

void ZoneKeyClass::mouseUp (const juce::MouseEvent& e)
{
    if (! getLocalBounds().contains (e.getPosition()))
        return;
    changeCode = kClicked;
    sendChangeMessage();
}

void ZoneKeyClass::paint (juce::Graphics& g)
{
    g.drawImage (strip, 0, 0, (int) (kImageWidth * scale), (int) (kImageHeight * scale), 0, 0, strip.getWidth(),
                 strip.getHeight());

    const float split = (float) KeyStrip::keyX (splitKey) * scale;
    const float height = kImageHeight * scale;
    g.setColour (kDim);
    if (side == kDimAbove)
        g.fillRect (split, 0.0f, (float) getWidth() - split, height);
    else
        g.fillRect (0.0f, 0.0f, split, height);
}

// ---- ZoneKeyClassB ---------------------------------------------------------------------------------

ZoneKeyClassB::ZoneKeyClassB() : strip (Skins::get ("zone_strip_large")) {}

void ZoneKeyClassB::setScale (float s)
{
    scale = s;
    repaint();
}

void ZoneKeyClassB::setSplitKey (int key)
{
    splitKey = lastKey = juce::jlimit (0, 127, key);
    repaint();
}

int ZoneKeyClassB::keyAt (float x, float s)
{
    if (s <= 0.0f)
        return 0;
    // A drag can leave the strip on either side: it then stays on the end key.
    const float key = x / s / ((float) kImageWidth / (float) kKeysAcross);
    return juce::jlimit (0, 127, (int) std::floor (key));
}

void ZoneKeyClassB::follow (float x, int code)
{
    const int key = keyAt (x, scale);
    if (key != lastKey)
    {
        splitKey = lastKey = key;
        repaint();
    }
    changeCode = code;
    sendSynchronousChangeMessage();
}

void ZoneKeyClassB::mouseDown (const juce::MouseEvent& e)
{
    follow (e.position.x, kRequest);
    dragging = true;
}

void ZoneKeyClassB::mouseDrag (const juce::MouseEvent& e)
{
    if (dragging)
        follow (e.position.x, kShow);
}

void ZoneKeyClassB::mouseUp (const juce::MouseEvent&)
{
    dragging = false;
    changeCode = kRequest;
    sendSynchronousChangeMessage();
}

void ZoneKeyClassB::paint (juce::Graphics& g)
{
    g.drawImage (strip, 0, 0, (int) (kImageWidth * scale), (int) (kImageHeight * scale), 0, 0, strip.getWidth(),
                 strip.getHeight());
    g.setColour (kDim);
    g.fillRect (0.0f, 0.0f, (float) KeyStrip::largeKeyX (splitKey) * scale, kImageHeight * scale);
}
