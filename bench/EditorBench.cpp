// The editor as a whole: building it, refreshing every control, painting it, and a burst of
// notifications through the main component's pump.
#include "bench/GuiBench.h"
#include "midi/NotificationCodes.h"
#include "plugin/OstrelAudioProcessor.h"
#include "ui/main/MainComp.h"

#include <benchmark/benchmark.h>

namespace
{
struct EditorBench
{
    EditorBench() : processor ((initialiseJuce(), detached())) { processor.getEditorState().aboutShown = true; }
    OstrelAudioProcessor processor;
};

// MainComp with every group of both rows, the keyboard panel and the bank panel.
void BM_EditorConstruction (benchmark::State& state)
{
    EditorBench bench;
    for (auto _ : state)
    {
        MainComp main (bench.processor);
        benchmark::DoNotOptimize (main.getWidth());
    }
}
BENCHMARK (BM_EditorConstruction)->Unit (benchmark::kMillisecond);

// Every value of a program routed to its control with force: 860 values.
void BM_RefreshAll (benchmark::State& state)
{
    EditorBench bench;
    MainComp main (bench.processor);
    for (auto _ : state)
        main.getEditorPanel().refreshAll();
}
BENCHMARK (BM_RefreshAll)->Unit (benchmark::kMicrosecond);

// One full paint of the editor into an offscreen image with the software renderer.
void BM_PaintEditor (benchmark::State& state)
{
    EditorBench bench;
    MainComp main (bench.processor);
    main.setSize (1200, 730);
    const float scale = (float) state.range (0) / 100.0f;
    main.getEditorPanel().setEditorScale (scale);
    juce::Image image (juce::Image::ARGB, main.getWidth(), main.getHeight(), true, juce::SoftwareImageType());
    for (auto _ : state)
    {
        juce::Graphics g (image);
        main.paintEntireComponent (g, false);
        benchmark::DoNotOptimize (image.getPixelAt (10, 10));
    }
    state.SetLabel ("scale " + std::to_string (scale));
}
BENCHMARK (BM_PaintEditor)->Arg (100)->Arg (50)->Unit (benchmark::kMillisecond);

// 200 parameter notifications handled in one asynchronous update.
void BM_NotificationBurst (benchmark::State& state)
{
    EditorBench bench;
    MainComp main (bench.processor);
    auto& c = bench.processor.getController();
    int n = 0;
    for (auto _ : state)
    {
        for (int i = 0; i < 200; ++i, ++n)
            c.postNotification (Notification::parameterChanged ((n * 7) % 430, n & 0x7F));
        main.handleUpdateNowIfNeeded();
    }
}
BENCHMARK (BM_NotificationBurst)->Unit (benchmark::kMicrosecond);
} // namespace
