#include "midi/Transfers.h"
#include "standin/InProcessMidiDevices.h"

#include <benchmark/benchmark.h>

namespace
{
// A whole bank received from the stand-in: the chain asks for each program as the last one arrives.
// Paced at the DIN rate the ideal is the wire time of 99 dumps (37.3 s); unpaced it shows how many
// programs a second the plug-in can take in.
void receiveOneBank (benchmark::State& state)
{
    const bool paced = state.range (0) != 0;
    const auto folder =
        juce::File::getSpecialLocation (juce::File::tempDirectory).getNonexistentChildFile ("ostrel-bench", "", false);

    Prophet12StandIn standIn;
    Prophet12StandIn::Options options;
    options.dinPacing = paced;
    standIn.setOptions (options);
    auto devices = std::make_shared<InProcessMidiDevices> (standIn);

    PortsFile::Settings ports;
    ports.input = ports.output = InProcessMidiDevices::kStandInPort;
    SettingsFiles::writeAtomically (SettingsFiles::Folder (folder).portsFile(), PortsFile::encode (ports));

    {
        MidiCntrState controller ({ devices, folder });
        ChainedTransfer chain (controller);
        for (auto _ : state)
        {
            chain.start (Transfers::kReceiveBank, 4);
            while (controller.isChained())
                std::this_thread::sleep_for (std::chrono::microseconds (paced ? 1000 : 20));
            controller.takeNotifications();
        }
        const double wireSeconds = 99.0 * ProgramDump::kProgramDumpBytes / Prophet12StandIn::kDinBytesPerSecond;
        state.counters["wire_s"] = wireSeconds;
        state.counters["programs_per_s"] =
            benchmark::Counter (99.0 * (double) state.iterations(), benchmark::Counter::kIsRate);
        state.counters["wall_over_wire"] = benchmark::Counter (
            wireSeconds * (double) state.iterations(), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    }
    folder.deleteRecursively();
}
BENCHMARK (receiveOneBank)->Arg (0)->Unit (benchmark::kMillisecond)->UseRealTime();
BENCHMARK (receiveOneBank)->Arg (1)->Iterations (1)->Unit (benchmark::kSecond)->UseRealTime();
} // namespace
