#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>

class MidiCntrState;

// Pixel positions of the notes on the small keyboard strips: an octave is 25 pixels wide.
namespace KeyStrip
{
inline constexpr int kOctaveWidth = 25;
inline constexpr std::array<int, 12> kOffsets { 0, 4, 6, 9, 10, 11, 14, 16, 20, 22, 23, 26 };

// The large split keyboard: an octave of 49 pixels.
inline constexpr int kLargeOctaveWidth = 49;
inline constexpr std::array<int, 12> kLargeOffsets { 0, 5, 8, 12, 15, 19, 22, 29, 33, 36, 41, 43 };

constexpr int keyX (int note) { return note < 0 ? 0 : kOctaveWidth * (note / 12) + kOffsets[(size_t) (note % 12)]; }
constexpr int largeKeyX (int note)
{
    return note < 0 ? 0 : kLargeOctaveWidth * (note / 12) + kLargeOffsets[(size_t) (note % 12)];
}
} // namespace KeyStrip

// A picture of the whole MIDI note range on which the user picks where the 65-key piano starts:
// the range the piano covers stays bright, the rest is dimmed. Pressing or dragging sets the
// controller state's keyboard octave.
class OctaveKeyClass : public juce::Component
{
public:
    static constexpr int kImageWidth = 269, kImageHeight = 18;
    static constexpr int kSpan = 65;
    static constexpr int kHighestBase = 72;
    static constexpr double kWhiteKeyWidth = 3.573; // 25 pixels over 7 white keys

    explicit OctaveKeyClass (MidiCntrState& state);

    void setScale (float scale);
    float getScale() const noexcept { return scale; }

    // The lowest note of the piano, a multiple of 12 in 0..72.
    int getBaseNote() const noexcept { return baseNote; }
    void setBaseNote (int note);

    // The base note a press at x (pixels) picks at the given scale.
    static int baseNoteAt (float x, float scale);

    void paint (juce::Graphics& g) override;
    void mouseDown (const juce::MouseEvent& e) override;
    void mouseDrag (const juce::MouseEvent& e) override;

private:
    void pick (float x);

    MidiCntrState& state;
    juce::Image strip;
    float scale = 1.0f;
    int baseNote = 24;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OctaveKeyClass)
};
