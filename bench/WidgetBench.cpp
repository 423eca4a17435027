#include "model/ParDes.h"
#include "plugin/OstrelAudioProcessor.h"
#include "ui/controls/Envel.h"
#include "ui/controls/StsCont.h"

#include <benchmark/benchmark.h>

namespace
{
constexpr int kDestinationHighest = 104; // the modulation destination list has 105 entries

// A processor that opens no port and touches no file, with the skin loaded as the editor loads it,
// and JUCE's GUI side started as a host would have it.
struct WidgetBench
{
    WidgetBench()
    {
        MidiCntrState::Environment environment;
        environment.detached = true;
        processor = std::make_unique<OstrelAudioProcessor> (environment);
        processor->getSkin().loadImages();
    }

    juce::ScopedJuceInitialiser_GUI juce;
    std::unique_ptr<OstrelAudioProcessor> processor;
};

WidgetBench& bench()
{
    static WidgetBench instance;
    return instance;
}

// One knob (a 60 x 50 "Level 1" knob at full size) painted into an offscreen picture by the
// software renderer, as an editor refresh repaints it.
void paintKnob (benchmark::State& state)
{
    StsCont knob (*bench().processor, 0);
    knob.setup (8, "Level 1", 0, 16, 60, 50, 0, 127, StsCont::kKnob, ParDes::kDecimal);
    knob.showValue (90, "90");
    juce::Image image (juce::Image::ARGB, knob.getWidth(), knob.getHeight(), true, juce::SoftwareImageType());
    for (auto _ : state)
    {
        juce::Graphics g (image);
        knob.paintEntireComponent (g, false);
        benchmark::ClobberMemory();
    }
}
BENCHMARK (paintKnob)->Unit (benchmark::kMicrosecond);

// The envelope graphic at full size with a typical curve.
void paintEnvelope (benchmark::State& state)
{
    Envel envelope (*bench().processor);
    envelope.setBounds (0, 0, 226, 78);
    envelope.setAttack (20);
    envelope.setDecay (60);
    envelope.setSustain (90);
    envelope.setRelease (40);
    juce::Image image (juce::Image::ARGB, envelope.getWidth(), envelope.getHeight(), true, juce::SoftwareImageType());
    for (auto _ : state)
    {
        juce::Graphics g (image);
        envelope.paintEntireComponent (g, false);
        benchmark::ClobberMemory();
    }
}
BENCHMARK (paintEnvelope)->Unit (benchmark::kMicrosecond);

// The longest value menu of the panel: the 105 modulation destinations, built as a click builds it.
void buildDestinationMenu (benchmark::State& state)
{
    bench();
    for (auto _ : state)
    {
        auto menu = StsCont::buildValueMenu (ParDes::kDestination, kDestinationHighest);
        benchmark::DoNotOptimize (menu.getNumItems());
    }
}
BENCHMARK (buildDestinationMenu)->Unit (benchmark::kMicrosecond);
} // namespace
