#include "bench/GuiBench.h"
#include "ui/keyboard/KeyBrd.h"

#include <benchmark/benchmark.h>

namespace
{
// One full repaint of the 65-key piano, as the editor's window does it: every key with its picture,
// into an offscreen image through the software renderer.
void BM_PaintPiano (benchmark::State& bench)
{
    initialiseJuce();
    MidiCntrState state (detached());
    PianoPad piano (state);
    juce::Image image (juce::Image::ARGB, piano.getWidth(), piano.getHeight(), true, juce::SoftwareImageType());

    for (auto _ : bench)
    {
        juce::Graphics g (image);
        piano.paintEntireComponent (g, false);
        benchmark::DoNotOptimize (image.getPixelAt (10, 10));
    }
}
BENCHMARK (BM_PaintPiano)->Unit (benchmark::kMicrosecond);

// The whole keyboard panel at the editor's size: title bar, wheels, strips, velocity and piano.
void BM_PaintKeyboardPanel (benchmark::State& bench)
{
    initialiseJuce();
    MidiCntrState state (detached());
    KeyBrd panel (state);
    panel.setScale (1.0f, 0, 1200, KeyBrd::kHeight);
    juce::Image image (juce::Image::ARGB, panel.getWidth(), panel.getHeight(), true, juce::SoftwareImageType());

    for (auto _ : bench)
    {
        juce::Graphics g (image);
        panel.paintEntireComponent (g, false);
        benchmark::DoNotOptimize (image.getPixelAt (10, 10));
    }
}
BENCHMARK (BM_PaintKeyboardPanel)->Unit (benchmark::kMicrosecond);
} // namespace
