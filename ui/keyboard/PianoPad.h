#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <memory>
#include <vector>

class MidiCntrState;

// The four key pictures, decoded once and shared by every key of a piano.
struct PianoKeyImages
{
    PianoKeyImages();
    juce::Image whiteUp, whiteDown, blackUp, blackDown;
};

// One key of the on-screen piano. It plays and stops its note on the instrument; its picture follows
// the sound a few milliseconds later, so a quick tap still shows.
class PianoKey : public juce::Component, public juce::ChangeBroadcaster, private juce::Timer
{
public:
    static constexpr int kWhite = 0, kBlack = 1;
    static constexpr int kWhiteWidth = 25, kWhiteHeight = 152, kBlackWidth = 16, kBlackHeight = 100;
    static constexpr int kOnDelayMs = 20, kOffDelayMs = 30;

    PianoKey (MidiCntrState& state, const PianoKeyImages& images, int kind, int relativeNote);
    ~PianoKey() override;

    // Starts the note; y (pixels from the top of the key) sets the velocity when the play velocity
    // asks for it (below 6).
    void play (int y);
    // Stops the note it started, even when the octave has moved since.
    void release();

    // The velocity a press at y gives when the play velocity leaves it to the click, or -1 when the
    // press is below the key and plays nothing.
    static int velocityFromY (int kind, int y);

    int getKind() const noexcept { return kind; }
    int getRelativeNote() const noexcept { return relativeNote; }
    bool isSounding() const noexcept { return sounding; }
    bool isDrawnPressed() const noexcept { return drawnPressed; }
    int getVelocity() const noexcept { return velocity; }

    void setScale (float s) { scale = s; }
    void setHitBox (juce::Rectangle<int> box) { hitBox = box; }
    juce::Rectangle<int> getHitBox() const noexcept { return hitBox; } // x is the hit-left x

    void paint (juce::Graphics& g) override;

private:
    void timerCallback() override;

    MidiCntrState& state;
    const PianoKeyImages& images;
    const int kind, relativeNote;
    float scale = 1.0f;
    bool drawnPressed = false, sounding = false;
    int velocity = 0;
    int soundingNote = -1;
    juce::Rectangle<int> hitBox;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PianoKey)
};

// A transparent sheet over the keys that takes the mouse and decides which key is meant: near the
// top the black keys (with a little margin on their right) win, lower down only the white keys count.
class KeyOverlay : public juce::Component
{
public:
    explicit KeyOverlay (std::vector<PianoKey*> keysInNoteOrder);

    // The key index (relative note) under the position, or -1.
    int keyAt (int x, int y) const;
    int getDraggedKey() const noexcept { return draggedKey; }

    void mouseDown (const juce::MouseEvent& e) override;
    void mouseDrag (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;

private:
    std::vector<PianoKey*> keys;
    const int numKeys;
    int draggedKey = -1;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (KeyOverlay)
};

// The keyboard panel's 65-key piano, relative notes 0..64 from C; the controller state's octave
// index puts its lowest C at 12 x index.
class PianoPad : public juce::Component
{
public:
    static constexpr int kNumKeys = 65;
    static constexpr int kWhiteKeys = 38;
    static constexpr std::array<int, 12> kKinds { 0, 1, 0, 1, 0, 0, 1, 0, 1, 0, 1, 0 };
    // White keys: their width; black keys: their x in the 175-unit octave.
    static constexpr std::array<int, 12> kNumbers { 25, 15, 25, 44, 25, 25, 90, 25, 116, 25, 142, 25 };

    explicit PianoPad (MidiCntrState& state);
    ~PianoPad() override;

    // Lays the keys out at that scale and takes the size of 38 white keys.
    void setScale (float scale);
    float getScale() const noexcept { return scale; }

    PianoKey& getKey (int relativeNote) { return *keys[(size_t) relativeNote]; }
    // Stops every key that sounds, as the mouse's release does.
    void releaseAll();
    KeyOverlay& getOverlay() { return *overlay; }

private:
    MidiCntrState& state;
    PianoKeyImages images;
    std::vector<std::unique_ptr<PianoKey>> keys;
    std::unique_ptr<KeyOverlay> overlay;
    float scale = 1.0f;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PianoPad)
};
