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

// Undoes and redoes the last step once per iteration; gives the number of bytes the step changed.
size_t undoAndRedo (benchmark::State& state, OstrelAudioProcessor& p)
{
    size_t changed = 0;
    for (auto _ : state)
    {
        p.undoProgramEdit();
        changed = p.getController().redoProgramEdit().size();
        p.getController().takeNotifications();
    }
    state.SetItemsProcessed (state.iterations() * 2);
    state.counters["bytes_changed"] = (double) changed;
    return changed;
}

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

// A stored program of the factory banks differs from the next in some 70 bytes, all with an NRPN:
// that undo goes out as NRPN.
void undoRedoProgramLoad (benchmark::State& state)
{
    BenchProcessor bench;
    auto& p = *bench.processor;
    p.getController().selectProgram (4 * 99 + 17, true, true);
    undoAndRedo (state, p);
}
BENCHMARK (undoRedoProgramLoad)->Unit (benchmark::kMicrosecond);

// A program file that differs in every parameter and in its name: the undo is one edit-buffer dump.
void undoRedoWholeProgramFile (benchmark::State& state)
{
    BenchProcessor bench;
    auto& p = *bench.processor;
    auto& c = p.getController();
    const auto& table = c.getTable();
    auto record = c.getCurrentProgram();
    for (int position = 0; position < ParameterTable::kProgramPositions; ++position)
        if (const int maximum = table.maximum (position); maximum > 0)
            record[(size_t) position] = (uint8_t) ((record[(size_t) position] + 1) % (maximum + 1));
    ProgramDump::writeName (record.data(), "Every Byte Moved");
    c.setCurrentProgram (record, ProgramHistory::Action::of (ProgramHistory::Action::file));
    const auto changed = undoAndRedo (state, p);
    state.counters["as_dump"] = changed > (size_t) MidiCntrState::kMaxNrpnUndo ? 1.0 : 0.0;
}
BENCHMARK (undoRedoWholeProgramFile)->Unit (benchmark::kMicrosecond);

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
