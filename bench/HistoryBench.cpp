// Undo and redo of the current program, each to the bytes handed to the port: one knob step (an
// NRPN) and a whole program load (an edit-buffer dump), through the processor, so the host report
// is counted too. Each iteration undoes and redoes once: the time per operation is half of it.
#include "bench/NullDevices.h"
#include "plugin/OstrelAudioProcessor.h"

#include <benchmark/benchmark.h>

namespace
{
struct BenchProcessor
{
    BenchProcessor()
        : folder (juce::File::getSpecialLocation (juce::File::tempDirectory)
                      .getNonexistentChildFile ("ostrel-bench", "", false))
    {
        PortsFile::Settings ports;
        ports.output = "Bench";
        SettingsFiles::writeAtomically (SettingsFiles::Folder (folder).portsFile(), PortsFile::encode (ports));
        processor = std::make_unique<OstrelAudioProcessor> (
            MidiCntrState::Environment { std::make_shared<NullDevices>(), folder });
    }
    ~BenchProcessor()
    {
        processor.reset();
        folder.deleteRecursively();
    }

    juce::File folder;
    std::unique_ptr<OstrelAudioProcessor> processor;
};

void undoRedoOneKnobStep (benchmark::State& state)
{
    BenchProcessor bench;
    auto& p = *bench.processor;
    auto& c = p.getController();
    p.cableValueChanged (8, (c.getCurrentProgram()[8] + 1) & 0x7F, true, true, true);
    for (auto _ : state)
    {
        p.undoProgramEdit();
        p.redoProgramEdit();
        c.takeNotifications();
    }
    state.SetItemsProcessed (state.iterations() * 2);
}
BENCHMARK (undoRedoOneKnobStep);

void undoRedoProgramLoad (benchmark::State& state)
{
    BenchProcessor bench;
    auto& p = *bench.processor;
    auto& c = p.getController();
    c.selectProgram (4 * 99 + 17, true, true);
    size_t changed = 0;
    for (auto _ : state)
    {
        p.undoProgramEdit();
        changed = p.getController().redoProgramEdit().size();
        c.takeNotifications();
    }
    state.SetItemsProcessed (state.iterations() * 2);
    state.counters["bytes_changed"] = (double) changed;
}
BENCHMARK (undoRedoProgramLoad)->Unit (benchmark::kMicrosecond);

// What the history holds at its bound when every step is a whole program.
void historyMemoryAtTheBound (benchmark::State& state)
{
    BenchProcessor bench;
    auto& c = bench.processor->getController();
    for (auto _ : state)
        for (int i = 0; i < 2000; ++i)
            c.selectProgram ((i % 2) * 99 + (i % 99), false, false);
    state.counters["history_kB"] =
        (double) c.withHistory ([] (const ProgramHistory& h) { return h.memoryBytes(); }) / 1024.0;
    state.counters["steps"] = (double) c.withHistory ([] (const ProgramHistory& h) { return h.undoCount(); });
}
BENCHMARK (historyMemoryAtTheBound)->Iterations (1)->Unit (benchmark::kMillisecond);
} // namespace
