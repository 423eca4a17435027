#include "ui/keyboard/PianoPad.h"

#include "midi/MidiCntrState.h"
#include "ui/look/Skins.h"

namespace
{
// Below this play velocity the height of the click on the key decides how hard the note is struck.
constexpr int kVelocityFromClickBelow = 6;
constexpr int kMinimumVelocity = 5;
// White keys start to respond 52 pixels down; black keys from their top.
constexpr int kWhiteVelocityStart = 52;
constexpr double kVelocityPerPixel = 1.27;
} // namespace

PianoKeyImages::PianoKeyImages()
    : whiteUp (Skins::get ("key_white_up")),
      whiteDown (Skins::get ("key_white_down")),
      blackUp (Skins::get ("key_black_up")),
      blackDown (Skins::get ("key_black_down"))
{}

// ---- PianoKey --------------------------------------------------------------------------------------

PianoKey::PianoKey (MidiCntrState& s, const PianoKeyImages& i, int k, int note)
    : state (s), images (i), kind (k), relativeNote (note)
{
    // The overlay above the keys takes the mouse.
    setInterceptsMouseClicks (false, false);
    setOpaque (true);
}

PianoKey::~PianoKey() { stopTimer(); }

int PianoKey::velocityFromY (int keyKind, int y)
{
    if (y > kWhiteHeight)
        return -1;

    int d = 0;
    if (keyKind == kWhite)
    {
        d = std::max (0, y - kWhiteVelocityStart);
        if (d >= 128)
            d = 254 - d;
    }
    else
    {
        d = y <= kBlackHeight ? y : 127;
    }
    return juce::jlimit (kMinimumVelocity, 127, (int) (d * kVelocityPerPixel));
}

void PianoKey::play (int y)
{
    if (sounding)
        return;

    const int playVelocity = state.noteVelocity.load();
    const int v = playVelocity >= kVelocityFromClickBelow ? playVelocity : velocityFromY (kind, y);
    if (v < 0)
        return;

    const int note = relativeNote + 12 * state.playOctave.load();
    if (note >= 128)
        return;

    velocity = v;
    soundingNote = note;
    state.sendNoteOn (state.getMidiChannel(), note, velocity);
    sounding = true;
    startTimer (kOnDelayMs);
    sendChangeMessage();
}

void PianoKey::release()
{
    if (! sounding)
        return;

    // The octave strip may have moved while the key was held: stopping the note of the new octave
    // would leave the instrument holding the old one.
    state.sendNoteOff (state.getMidiChannel(), soundingNote);
    soundingNote = -1;
    sounding = false;
    startTimer (kOffDelayMs);
    sendChangeMessage();
}

void PianoKey::timerCallback()
{
    stopTimer();
    if (drawnPressed != sounding)
    {
        drawnPressed = sounding;
        repaint();
    }
}

void PianoKey::paint (juce::Graphics& g)
{
    const bool white = kind == kWhite;
    const auto& image =
        white ? (drawnPressed ? images.whiteDown : images.whiteUp) : (drawnPressed ? images.blackDown : images.blackUp);
    const int w = (int) ((white ? kWhiteWidth : kBlackWidth) * scale);
    const int h = (int) ((white ? kWhiteHeight : kBlackHeight) * scale);

    if (image.isValid())
    {
        g.drawImage (image, 0, 0, w, h, 0, 0, image.getWidth(), image.getHeight());
        return;
    }

    // No skin picture: a plain key, so the piano still plays and shows what sounds.
    const auto face = white ? juce::Colour (drawnPressed ? 0xFFBDBDBD : 0xFFF2F2F2)
                            : juce::Colour (drawnPressed ? 0xFF555555 : 0xFF151515);
    g.setColour (face);
    g.fillRect (0, 0, w, h);
    g.setColour (juce::Colour (0xFF000000));
    g.drawRect (0, 0, w, h, 1);
}

// ---- KeyOverlay ------------------------------------------------------------------------------------

KeyOverlay::KeyOverlay (std::vector<PianoKey*> keysInNoteOrder)
    : keys (std::move (keysInNoteOrder)), numKeys ((int) keys.size())
{}

int KeyOverlay::keyAt (int x, int y) const
{
    if (numKeys < 2 || x < 0 || y < 0)
        return -1;

    const auto& last = *keys.back(); // the top key of the piano is white
    if (x >= last.getRight() || y >= last.getHeight())
        return -1;

    int found = -1;
    if (y < keys[1]->getHeight())
    {
        for (int i = 0; i < numKeys; ++i)
            if (keys[(size_t) i]->getHitBox().getX() <= x)
                found = i;
    }
    else
    {
        for (int i = 0; i < numKeys; ++i)
            if (keys[(size_t) i]->getKind() == PianoKey::kWhite && keys[(size_t) i]->getX() <= x)
                found = i;
    }
    return found;
}

void KeyOverlay::mouseDown (const juce::MouseEvent& e)
{
    if (const int key = keyAt (e.x, e.y); key >= 0)
        keys[(size_t) key]->play (e.y);
}

void KeyOverlay::mouseDrag (const juce::MouseEvent& e)
{
    const int key = keyAt (e.x, e.y);
    if (key == draggedKey)
        return;

    // Leaving a key stops it; the key now under the mouse starts with the next movement.
    if (draggedKey != -1)
    {
        keys[(size_t) draggedKey]->release();
        draggedKey = -1;
    }
    else
    {
        draggedKey = key;
        keys[(size_t) key]->play (e.y);
    }
}

void KeyOverlay::mouseUp (const juce::MouseEvent&)
{
    for (auto* key : keys)
        key->release();
    draggedKey = -1;
}

// ---- PianoPad --------------------------------------------------------------------------------------

PianoPad::PianoPad (MidiCntrState& s) : state (s)
{
    std::vector<PianoKey*> inNoteOrder;
    for (int note = 0; note < kNumKeys; ++note)
    {
        keys.push_back (std::make_unique<PianoKey> (state, images, kKinds[(size_t) (note % 12)], note));
        inNoteOrder.push_back (keys.back().get());
    }

    // White keys first, so the black keys lie in front of them; the overlay covers them all.
    for (auto& key : keys)
        if (key->getKind() == PianoKey::kWhite)
            addAndMakeVisible (*key);
    for (auto& key : keys)
        if (key->getKind() == PianoKey::kBlack)
            addAndMakeVisible (*key);

    overlay = std::make_unique<KeyOverlay> (std::move (inNoteOrder));
    addAndMakeVisible (*overlay);

    setScale (1.0f);
}

PianoPad::~PianoPad()
{
    // A key held while the editor closes would sound on.
    releaseAll();
    // The overlay holds pointers to the keys: it goes first.
    overlay.reset();
}

void PianoPad::releaseAll()
{
    for (auto& key : keys)
        key->release();
}

void PianoPad::setScale (float s)
{
    scale = s;
    const int whiteWidth = (int) (PianoKey::kWhiteWidth * s);
    const int whiteHeight = (int) (PianoKey::kWhiteHeight * s);
    const int blackWidth = (int) (PianoKey::kBlackWidth * s);
    const int blackHeight = (int) (PianoKey::kBlackHeight * s);

    int whiteIndex = 0;
    int previousBlackRight = -1; // right edge of the black key just before, or -1
    for (auto& key : keys)
    {
        const int note = key->getRelativeNote();
        key->setScale (s);

        if (key->getKind() == PianoKey::kWhite)
        {
            const int x = whiteIndex++ * whiteWidth;
            key->setBounds (x, 0, whiteWidth, whiteHeight);
            // Next to a black key the white key starts to count a little right of the black one.
            const int hitLeft = previousBlackRight >= 0 ? (int) ((float) previousBlackRight + 2.0f * s) : x;
            key->setHitBox ({ hitLeft, 0, whiteWidth, whiteHeight });
            previousBlackRight = -1;
        }
        else
        {
            const int x = (int) ((float) kNumbers[(size_t) (note % 12)] * s + (float) ((note / 12) * 7 * whiteWidth));
            key->setBounds (x, 0, blackWidth, blackHeight);
            key->setHitBox ({ x, 0, blackWidth, blackHeight });
            previousBlackRight = x + blackWidth;
        }
    }

    setSize (kWhiteKeys * whiteWidth, whiteHeight);
    overlay->setBounds (0, 0, kWhiteKeys * whiteWidth, whiteHeight);
}
