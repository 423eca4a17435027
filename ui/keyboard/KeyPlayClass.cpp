#include "ui/keyboard/KeyPlayClass.h"

#include "midi/MidiCntrState.h"

namespace
{
// The bottom letter row as a piano octave: white keys on Z X C V B N M, black keys above them.
constexpr std::array<juce::juce_wchar, 12> kNoteLetters { 'z', 's', 'x', 'd', 'c', 'v', 'g', 'b', 'h', 'n', 'j', 'm' };

constexpr int kVelocityUpLimit = 122, kVelocityDownLimit = 4;
constexpr int kOctaveUpLimit = 115;

int semitoneOf (juce::juce_wchar letter)
{
    for (size_t i = 0; i < kNoteLetters.size(); ++i)
        if (kNoteLetters[i] == letter)
            return (int) i;
    return -1;
}
} // namespace

KeyPlayClass::KeyPlayClass (MidiCntrState& s, int m) : state (s), mode (m) { setWantsKeyboardFocus (true); }

KeyPlayClass::~KeyPlayClass()
{
    stopTimer();
    releaseHeldNotes();
}

void KeyPlayClass::setFillColour (juce::Colour colour)
{
    fillColour = colour;
    repaint();
}

void KeyPlayClass::setTextColour (juce::Colour colour)
{
    textColour = colour;
    repaint();
}

void KeyPlayClass::setFontHeight (float height)
{
    fontHeight = height;
    font = juce::Font ("Arial", fontHeight, juce::Font::plain);
    repaint();
}

void KeyPlayClass::showMessage (const juce::String& text)
{
    message = text;
    startTimer (kMessageMilliseconds);
    repaint();
}

void KeyPlayClass::timerCallback()
{
    stopTimer();
    message.clear();
    repaint();
}

juce::String KeyPlayClass::noteName (int note)
{
    static const char* const names[] = { "C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B" };
    if (note < 0)
        return {};
    return juce::String (names[note % 12]) + juce::String (note / 12);
}

void KeyPlayClass::paint (juce::Graphics& g)
{
    g.fillAll (fillColour);
    g.setColour (textColour);
    g.setFont (font);
    g.drawText (message, 0, 0, 400, getHeight(), juce::Justification::centredLeft, false);
}

// ---- Computer keyboard -----------------------------------------------------------------------------

bool KeyPlayClass::keyPressed (const juce::KeyPress& key)
{
    const int code = key.getKeyCode();

    // Ctrl and Alt chords are the editor's commands (undo, redo, compare): never a note, never an
    // octave or page; the key goes on to the editor.
    if (key.getModifiers().isCommandDown() || key.getModifiers().isCtrlDown() || key.getModifiers().isAltDown())
        return false;

    if (code == juce::KeyPress::leftKey || code == juce::KeyPress::rightKey || code == juce::KeyPress::upKey ||
        code == juce::KeyPress::downKey)
        return true;

    // Reserved for the instrument's panel shortcuts; they do nothing here yet.
    if (code == juce::KeyPress::F7Key || code == juce::KeyPress::F8Key || code == juce::KeyPress::F9Key)
        return true;

    if (code == juce::KeyPress::spaceKey)
    {
        allNotesOff();
        showMessage ("All Notes OFF");
        return true;
    }

    if (code > 255 || code < 0)
        return false;

    // Some systems report letters in upper case, some in lower case: work with the lower case.
    const auto character = (juce::juce_wchar) (code >= 'A' && code <= 'Z' ? code + 32 : code);

    if (const int semitone = semitoneOf (character); semitone >= 0)
    {
        playSemitone (semitone);
        return true;
    }

    switch (character)
    {
        case 'i':
            if (velocity < kVelocityUpLimit)
                velocity += kVelocityStep;
            showMessage ("Note Velocity: " + juce::String (velocity));
            return true;
        case 'u':
            if (velocity > kVelocityDownLimit)
                velocity -= kVelocityStep;
            showMessage ("Note Velocity: " + juce::String (velocity));
            return true;
        case 'p':
            if (octaveBase < kOctaveUpLimit)
                octaveBase += kOctaveStep;
            showMessage ("Octave " + juce::String (octaveBase / 12 - 2));
            return true;
        case 'o':
            if (octaveBase > 0)
                octaveBase -= kOctaveStep;
            showMessage ("Octave " + juce::String (octaveBase / 12 - 2));
            return true;
        default: break;
    }

    if (character >= '0' && character <= '9')
    {
        // Only the editor's own play panel jumps between pages; the library window has none.
        if (mode == kKeyboardPanel)
            state.postNotification (kPageCommandBase + (int) (character - '0'));
        return true;
    }

    return false;
}

void KeyPlayClass::playSemitone (int semitone)
{
    // Key repeat of a held letter starts nothing, even after the octave moved under it.
    if (const int held = letterNotes[(size_t) semitone]; held >= 0 && sounding[(size_t) held] != 0)
        return;

    const int note = octaveBase + semitone;
    // The top octave reaches past note 127; those keys stay silent.
    if (note >= 128 || sounding[(size_t) note] != 0)
        return;

    sounding[(size_t) note] = 1;
    letterNotes[(size_t) semitone] = note;
    const int channel = state.getMidiChannel();
    state.sendNoteOn (channel, note, velocity);
    showMessage ("Play Chn: " + juce::String (channel) + " Key: " + noteName (note) +
                 " Vel: " + juce::String (velocity));
}

void KeyPlayClass::allNotesOff()
{
    const int channel = state.getMidiChannel();
    for (int note = 0; note < 128; ++note)
    {
        sounding[(size_t) note] = 0;
        state.sendNoteOff (channel, note);
    }
    letterNotes.fill (-1);
}

bool KeyPlayClass::keyStateChanged (bool)
{
    // A key's release shows up only as a change of the key state: look for the first letter that
    // is no longer held while its note still sounds. Key repeat leaves the key held, so a held key
    // is never stopped and (being marked as sounding) never started again.
    for (size_t i = 0; i < kNoteLetters.size(); ++i)
    {
        const int note = letterNotes[i];
        if (note < 0 || sounding[(size_t) note] == 0 || isLetterKeyDown (kNoteLetters[i] - 32))
            continue;

        sounding[(size_t) note] = 0;
        letterNotes[i] = -1;
        state.sendNoteOff (state.getMidiChannel(), note);
        return false;
    }
    return false;
}

void KeyPlayClass::releaseHeldNotes()
{
    const int channel = state.getMidiChannel();
    for (int note = 0; note < 128; ++note)
    {
        if (sounding[(size_t) note] == 0)
            continue;
        sounding[(size_t) note] = 0;
        state.sendNoteOff (channel, note);
    }
    letterNotes.fill (-1);
}

void KeyPlayClass::focusLost (FocusChangeType) { releaseHeldNotes(); }

bool KeyPlayClass::isLetterKeyDown (juce::juce_wchar upperCaseLetter) const
{
    return juce::KeyPress::isKeyCurrentlyDown ((int) upperCaseLetter);
}

// ---- Mouse: the owner's move handle ----------------------------------------------------------------

void KeyPlayClass::addListener (KeyPlayListener* listener)
{
    const juce::ScopedLock sl (listenerLock);
    listeners.addIfNotAlreadyThere (listener);
}

void KeyPlayClass::removeListener (KeyPlayListener* listener)
{
    const juce::ScopedLock sl (listenerLock);
    listeners.removeAllInstancesOf (listener);
}

template <typename Call>
void KeyPlayClass::callListeners (const juce::MouseEvent& e, Call&& call)
{
    const auto inParent = getPosition() + e.getPosition();
    const juce::ScopedLock sl (listenerLock);
    for (int i = listeners.size(); --i >= 0;)
        call (*listeners.getUnchecked (i), inParent.x, inParent.y);
}

void KeyPlayClass::mouseMove (const juce::MouseEvent& e)
{
    callListeners (e, [] (KeyPlayListener& l, int x, int y) { l.keyPlayMoved (x, y); });
}

void KeyPlayClass::mouseDown (const juce::MouseEvent& e)
{
    callListeners (e, [] (KeyPlayListener& l, int x, int y) { l.keyPlayPressed (x, y); });
}

void KeyPlayClass::mouseDrag (const juce::MouseEvent& e)
{
    callListeners (e, [] (KeyPlayListener& l, int x, int y) { l.keyPlayDragged (x, y); });
}

void KeyPlayClass::mouseUp (const juce::MouseEvent& e)
{
    callListeners (e, [] (KeyPlayListener& l, int x, int y) { l.keyPlayReleased (x, y); });
}
