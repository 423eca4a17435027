#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>

class MidiCntrState;

// Told what the mouse does on a play panel, in the panel's parent coordinates, so that its owner can
// use the panel as a handle to move itself. Listeners are told last registered first.
class KeyPlayListener
{
public:
    virtual ~KeyPlayListener() = default;
    virtual void keyPlayMoved (int x, int y) = 0;
    virtual void keyPlayPressed (int x, int y) = 0;
    virtual void keyPlayReleased (int x, int y) = 0;
    virtual void keyPlayDragged (int x, int y) = 0;
};

// A one-line text strip that takes keyboard focus and turns the computer keyboard into a note
// keyboard for the instrument: the bottom letter row plays an octave (Z S X D C V G B H N J M),
// I/U and P/O step the velocity and the octave, space silences everything, and in the keyboard
// panel the digits jump to editor pages. Notes go straight out of the controller state's output
// port on its MIDI channel; the strip shows what it did for a moment.
class KeyPlayClass : public juce::Component, private juce::Timer
{
public:
    static constexpr int kKeyboardPanel = 100, kLibraryWindow = 101;
    static constexpr int kMessageMilliseconds = 750;
    static constexpr int32_t kPageCommandBase = 0x210002D6; // + digit
    static constexpr int kVelocityStep = 5, kOctaveStep = 12;

    KeyPlayClass (MidiCntrState& state, int mode);
    ~KeyPlayClass() override;

    void setFillColour (juce::Colour colour);
    void setTextColour (juce::Colour colour);
    void setFontHeight (float height);

    // Shows the text and clears it again after 750 ms.
    void showMessage (const juce::String& text);
    const juce::String& getMessage() const noexcept { return message; }

    int getVelocity() const noexcept { return velocity; }
    int getOctaveBase() const noexcept { return octaveBase; }
    bool isSounding (int note) const noexcept { return note >= 0 && note < 128 && sounding[(size_t) note] != 0; }
    // Stops every note this panel started and still sounds: a key released while the panel has no
    // focus, or is gone, is never seen, and its note would hang on the instrument.
    void releaseHeldNotes();

    void addListener (KeyPlayListener* listener);
    void removeListener (KeyPlayListener* listener);

    // "C" .. "B" followed by the octave number, note 60 being "C5".
    static juce::String noteName (int note);

    void paint (juce::Graphics& g) override;
    bool keyPressed (const juce::KeyPress& key) override;
    bool keyStateChanged (bool isKeyDown) override;
    void focusLost (FocusChangeType cause) override;
    void mouseMove (const juce::MouseEvent& e) override;
    void mouseDown (const juce::MouseEvent& e) override;
    void mouseDrag (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;

protected:
    // Whether the letter key (upper case) is held down now. The operating system answers; tests
    // answer for it.
    virtual bool isLetterKeyDown (juce::juce_wchar upperCaseLetter) const;

private:
    void timerCallback() override;
    void playSemitone (int semitone);
    void allNotesOff();
    template <typename Call>
    void callListeners (const juce::MouseEvent& e, Call&& call);

    MidiCntrState& state;
    const int mode;

    juce::CriticalSection listenerLock;
    juce::Array<KeyPlayListener*> listeners;

    juce::Colour fillColour { juce::Colours::black }, textColour { juce::Colours::white };
    int velocity = 100;
    int octaveBase = 36;
    float fontHeight = 12.0f;
    juce::Font font { "Arial", 12.0f, juce::Font::plain };
    juce::String message;
    std::array<uint8_t, 128> sounding {};
    // The note each of the twelve letter keys started, or -1: its release stops that note even
    // when the octave has moved while the key was held.
    std::array<int, 12> letterNotes { -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1 };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (KeyPlayClass)
};
