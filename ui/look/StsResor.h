#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>

// The shared skin: the knob filmstrip, the three knob bases and the four piano key pictures, loaded
// once per processor and drawn by every knob and key of every editor the host opens. A component
// only so that it can live with the processor like the instrument's other shared parts; it is never
// shown.
class StsResor : public juce::Component
{
public:
    static constexpr int kKnobFrames = 61;
    static constexpr int kKnobStyles = 4; // 0..2 with a base picture, 3 without

    StsResor() = default;

    // Fills the pictures from the skins; does nothing once they are there, so every editor may call
    // it when it is created.
    void loadImages();
    bool imagesLoaded() const noexcept { return loaded; }

    // Replaces the knob pictures (tests draw with pictures whose pixels they know).
    void setKnobImages (const juce::Image& strip, const juce::Image& base0, const juce::Image& base1,
                        const juce::Image& base2);

    // One knob of a control `width` layout units wide at `scale`: the base of `style` at 73 %
    // opacity, the cap's drop shadow, then filmstrip frame `frame` (0..60).
    void drawKnob (juce::Graphics& g, int width, int frame, int style, float scale) const;

    // Where filmstrip frame `frame` starts: the frames are 60 pixels apart, one less after each of
    // frames 6, 18, 30, 42 and 54, so frame 60 starts at 3595.
    static int knobFrameX (int frame) noexcept;

    const juce::Image& getKnobStrip() const noexcept { return knobStrip; }
    const juce::Image& getKnobBase (int style) const noexcept { return knobBases[(size_t) juce::jlimit (0, 2, style)]; }
    const juce::Image& getKey (bool black, bool down) const noexcept
    {
        return black ? (down ? blackKeyDown : blackKeyUp) : (down ? whiteKeyDown : whiteKeyUp);
    }

private:
    bool loaded = false;
    juce::Image knobStrip;
    std::array<juce::Image, 3> knobBases;
    juce::Image whiteKeyUp, whiteKeyDown, blackKeyUp, blackKeyDown;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (StsResor)
};
