#include "midi/Transfers.h"
#include "standin/InProcessMidiDevices.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <numeric>

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

// The plug-in cabled to the stand-in through a MIDI interface whose DIN cable is modelled on a
// simulated clock (InProcessMidiDevices::modelLink): the figures are the cable's time, not the
// machine's, so they say what a user would wait for.
struct DinBench
{
    DinBench()
    {
        devices->modelLink (clock);
        PortsFile::Settings ports;
        ports.input = ports.output = InProcessMidiDevices::kInterfacePort;
        SettingsFiles::writeAtomically (SettingsFiles::Folder (folder).portsFile(), PortsFile::encode (ports));
        controller = std::make_unique<MidiCntrState> (MidiCntrState::Environment { devices, folder });
    }
    ~DinBench()
    {
        controller.reset();
        standIn.waitUntilIdle();
        folder.deleteRecursively();
    }

    void drain()
    {
        auto& ports = controller->getPorts();
        while (ports.getBacklogMicroseconds() > 0 || clock->hasAlarms())
            clock->advance (1000);
        clock->advanceTo (std::max (clock->nowMicroseconds(), devices->getCableFreeAt()));
    }

    juce::File folder =
        juce::File::getSpecialLocation (juce::File::tempDirectory).getNonexistentChildFile ("ostrel-bench", "", false);
    Prophet12StandIn standIn;
    std::shared_ptr<SimulatedClock> clock = std::make_shared<SimulatedClock>();
    std::shared_ptr<InProcessMidiDevices> devices =
        std::make_shared<InProcessMidiDevices> (standIn, juce::StringArray { InProcessMidiDevices::kInterfacePort },
                                                juce::StringArray { InProcessMidiDevices::kInterfacePort });
    std::unique_ptr<MidiCntrState> controller;
};

// A bank transmit down a DIN cable, ticked every 100 ms as the editor's timer does: the time from
// the menu choice to the last byte on the instrument's side, over the time the dumps need on the
// cable (37.3 s a bank). Arg 0: one bank; 1: the same at the fixed pace of a "USB" link, to count
// what the kernel drops; 2: "Transmit All User Banks".
void transmitBankOverDin (benchmark::State& state)
{
    const bool fixedPace = state.range (0) == 1;
    const bool allUserBanks = state.range (0) == 2;
    const double dumps = allUserBanks ? 4 * 99.0 : 99.0;
    double ratio = 0.0, dropped = 0.0, simulated = 0.0;
    for (auto _ : state)
    {
        DinBench bench;
        auto& c = *bench.controller;
        if (fixedPace)
            c.setOutputLinkChoice (OutputLink::Choice::usb);
        ChainedTransfer chain (c);
        const int64_t start = bench.clock->nowMicroseconds();
        if (allUserBanks)
            chain.start (Transfers::kTransmitUserBanks, 0);
        else
            chain.start (Transfers::kTransmitBank, 4);
        do // the editor's timer: the first tick 100 ms after the menu choice
            bench.clock->advance (Transfers::kTickMilliseconds * 1000);
        while (! chain.tick().finished);
        bench.drain();
        simulated = (double) (bench.devices->getCableFreeAt() - start) / 1.0e6;
        ratio = simulated / (dumps * ProgramDump::kProgramDumpBytes / OutputLink::kDinBytesPerSecond);
        dropped = bench.devices->getDroppedEvents();
    }
    state.counters["cable_s"] = simulated;
    state.counters["wall_over_wire"] = ratio;
    state.counters["dumps_dropped"] = dropped;
}
BENCHMARK (transmitBankOverDin)->Arg (0)->Arg (1)->Arg (2)->Iterations (1)->Unit (benchmark::kMillisecond);

// All 624 host parameters automated every block (48 kHz, 512 samples) for ten seconds while a knob
// ("LPF Freq") is dragged by hand, a new value every block. For every value the knob is given: the
// time until the cable has carried it or a newer one, to the last byte.
void knobLatencyUnderFullAutomation (benchmark::State& state)
{
    constexpr int kBlocks = 938, kKnob = 85;
    double worst = 0.0, mean = 0.0, dropped = 0.0;
    for (auto _ : state)
    {
        DinBench bench;
        auto& c = *bench.controller;
        const auto& table = c.getTable();
        const int64_t start = bench.clock->nowMicroseconds();
        std::vector<int64_t> sentAt;
        std::vector<int> sentValue;
        for (int block = 0; block < kBlocks; ++block)
        {
            for (int i = 0; i < 624; ++i)
            {
                const int position = table.positionOfAutomationIndex (i);
                if (position == kKnob || position == kKnob + 512)
                    continue;
                const int value = (block + i) % (table.maximum (position) + 1);
                if (c.getValue (position) != value)
                    c.setParameterValue (position, value);
            }
            sentAt.push_back (bench.clock->nowMicroseconds());
            sentValue.push_back (block % 160);
            c.sendParameterNrpn (kKnob, block % 160);
            c.takeNotifications();
            bench.clock->advanceTo (start + (int64_t) (block + 1) * 512 * 1000000 / 48000);
        }
        bench.drain();

        // Which knob value each controller 38 of the knob's NRPN carried, and when it was through.
        const int knobNrpn = table.nrpnOf (kKnob);
        int named = -1, dataMsb = 0;
        size_t covered = 0;
        std::vector<double> waits;
        for (const auto& e : bench.devices->getWireEvents())
        {
            if (e.bytes.size() != 3 || (e.bytes[0] & 0xF0) != 0xB0)
                continue;
            if (e.bytes[1] == 99)
                named = e.bytes[2] * 128;
            else if (e.bytes[1] == 98)
                named += e.bytes[2];
            else if (e.bytes[1] == 6)
                dataMsb = e.bytes[2];
            else if (e.bytes[1] == 38 && named == knobNrpn)
            {
                const int value = dataMsb * 128 + e.bytes[2];
                size_t j = covered;
                for (size_t k = covered; k < sentAt.size() && sentAt[k] <= e.leftAt; ++k)
                    if (sentValue[k] == value)
                        j = k + 1;
                for (; covered < j; ++covered)
                    waits.push_back ((double) (e.leftAt - sentAt[covered]) / 1000.0);
            }
        }
        worst = waits.empty() ? 0.0 : *std::max_element (waits.begin(), waits.end());
        mean = waits.empty() ? 0.0 : std::accumulate (waits.begin(), waits.end(), 0.0) / (double) waits.size();
        if (covered != sentAt.size())
            state.SkipWithError ("the knob's last value never reached the cable");
        dropped = bench.devices->getDroppedEvents();
    }
    state.counters["knob_worst_ms"] = worst;
    state.counters["knob_mean_ms"] = mean;
    state.counters["events_dropped"] = dropped;
}
BENCHMARK (knobLatencyUnderFullAutomation)->Iterations (1)->Unit (benchmark::kMillisecond);
} // namespace
