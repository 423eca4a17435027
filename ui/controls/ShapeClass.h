#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>

// The oscillator waveform icon beside an oscillator's shape controls: a small picture of the
// selected shape, bent by the shape modulation.
class ShapeClass : public juce::Component
{
public:
    static constexpr int kWaveWidth = 32, kWaveHeight = 17;
    static constexpr int kIconWidth = 36, kIconHeight = 21;
    static constexpr int kLayoutX = 214;
    static constexpr int kOff = 0, kSaw = 1, kPulse = 2, kTriangle = 3;
    static constexpr int kFirstWavetable = 4, kLastWavetable = 16, kFirstNoise = 17, kLastNoise = 19;

    explicit ShapeClass (int layoutY);
    ~ShapeClass() override;

    void setScale (float newScale);
    float getScale() const noexcept { return scale; }

    void setShape (int newShape) noexcept { shape = newShape; }
    void setShapeModulation (int modulation) noexcept { shapeModulation = modulation; }
    int getShape() const noexcept { return shape; }
    int getShapeModulation() const noexcept { return shapeModulation; }

    // Draws the waveform of the current shape and modulation into the icon's picture.
    void redraw();
    const juce::Image& getWaveImage() const noexcept { return wave; }

    // The dot heights of a wavetable shape for that modulation, one per column.
    static std::array<int, kWaveWidth> wavetableHeights (int modulation);

    void paint (juce::Graphics& g) override;

private:
    juce::Image icon;
    juce::Image wave { juce::Image::ARGB, kWaveWidth, kWaveHeight, true };
    int shape = 0, shapeModulation = 0;
    float scale = 1.0f;
    const int layoutY;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ShapeClass)
};
