#include "bench/NullDevices.h"
#include "midi/MidiCntrState.h"
#include "model/FactoryData.h"
#include "plugin/OstrelAudioProcessor.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <unistd.h>

namespace
{
// A controller with its files in a scratch folder and its output on the null port.
struct BenchController
{
    BenchController()
        : folder (juce::File::getSpecialLocation (juce::File::tempDirectory)
                      .getNonexistentChildFile ("ostrel-bench", "", false))
    {
        PortsFile::Settings ports;
        ports.output = "Bench";
        SettingsFiles::writeAtomically (SettingsFiles::Folder (folder).portsFile(), PortsFile::encode (ports));
        controller =
            std::make_unique<MidiCntrState> (MidiCntrState::Environment { std::make_shared<NullDevices>(), folder });
    }
    ~BenchController()
    {
        controller.reset();
        folder.deleteRecursively();
    }

    juce::File folder;
    std::unique_ptr<MidiCntrState> controller;
};

// A whole bank as it comes off the cable: 99 program dumps in 256-byte pieces.
void bankStreamInPieces (benchmark::State& state)
{
    BenchController bench;
    auto& c = *bench.controller;
    Bank_Program bank;
    bank.loadFactory (1);
    const auto stream = bank.bankAsDumps (2);
    const auto* bytes = static_cast<const uint8_t*> (stream.getData());

    std::vector<juce::MidiMessage> pieces;
    for (size_t start = 0; start < stream.getSize();)
    {
        // Pieces never straddle two dumps, as a driver's SysEx buffers do not.
        const size_t dumpEnd = (start / ProgramDump::kProgramDumpBytes + 1) * ProgramDump::kProgramDumpBytes;
        const size_t length = juce::jmin ((size_t) 256, dumpEnd - start);
        pieces.emplace_back (bytes + start, (int) length);
        start += length;
    }

    for (auto _ : state)
    {
        for (const auto& piece : pieces)
            c.handleIncomingMidiMessage (nullptr, piece);
        c.takeNotifications();
    }

    const double wireSeconds = (double) stream.getSize() / 3125.0;
    state.SetBytesProcessed (state.iterations() * (int64_t) stream.getSize());
    state.counters["wire_s"] = wireSeconds;
    state.counters["x_faster_than_DIN"] =
        benchmark::Counter (wireSeconds * (double) state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK (bankStreamInPieces)->Unit (benchmark::kMillisecond);

// One knob step, from the host's parameter call to the bytes handed to the port.
void parameterChangeToPort (benchmark::State& state)
{
    BenchController bench;
    auto& c = *bench.controller;
    int value = 0;
    for (auto _ : state)
    {
        c.setParameterValue (85, value);
        value = (value + 1) & 0x7F;
        if (value == 0)
            c.takeNotifications();
    }
}
BENCHMARK (parameterChangeToPort);

// One NRPN turned on the instrument, from the input callback to the queued value.
void incomingNrpnToQueue (benchmark::State& state)
{
    BenchController bench;
    auto& c = *bench.controller;
    const juce::MidiMessage messages[] = { juce::MidiMessage::controllerEvent (1, 99, 0),
                                           juce::MidiMessage::controllerEvent (1, 98, 90),
                                           juce::MidiMessage::controllerEvent (1, 6, 0),
                                           juce::MidiMessage::controllerEvent (1, 38, 64) };
    int n = 0;
    for (auto _ : state)
    {
        for (const auto& m : messages)
            c.handleIncomingMidiMessage (nullptr, m);
        if (++n == 4096)
        {
            n = 0;
            c.takeReceivedNrpns();
        }
    }
}
BENCHMARK (incomingNrpnToQueue);

// Resident memory of this process in kB.
long residentKilobytes()
{
    long pages = 0, resident = 0;
    if (auto* f = std::fopen ("/proc/self/statm", "r"))
    {
        if (std::fscanf (f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose (f);
    }
    return resident * (sysconf (_SC_PAGESIZE) / 1024);
}

// A host session with the editor closed for hours while the instrument sends NRPN: the processor
// drains the values on the message thread and posts a notification for each, which nobody takes.
// The backlog must stay bounded; the counters give its largest size and the memory growth.
void millionIncomingNrpnsWithNoEditor (benchmark::State& state)
{
    const auto folder =
        juce::File::getSpecialLocation (juce::File::tempDirectory).getNonexistentChildFile ("ostrel-bench", "", false);
    size_t largestBacklog = 0;
    long growth = 0;
    for (auto _ : state)
    {
        OstrelAudioProcessor processor (MidiCntrState::Environment { std::make_shared<NullDevices>(), folder });
        auto& c = processor.getController();
        const long before = residentKilobytes();
        for (int n = 0; n < 1000000; ++n)
        {
            const int number = 90 + n % 8, value = n % 128;
            c.handleIncomingMidiMessage (nullptr, juce::MidiMessage::controllerEvent (1, 99, number >> 7));
            c.handleIncomingMidiMessage (nullptr, juce::MidiMessage::controllerEvent (1, 98, number & 0x7F));
            c.handleIncomingMidiMessage (nullptr, juce::MidiMessage::controllerEvent (1, 6, 0));
            c.handleIncomingMidiMessage (nullptr, juce::MidiMessage::controllerEvent (1, 38, value));
            if (n % 256 == 255)
            {
                processor.changeListenerCallback (&c); // what the message thread's change message does
                largestBacklog = std::max (largestBacklog, c.getPendingNotificationCount());
            }
        }
        growth = residentKilobytes() - before;
    }
    folder.deleteRecursively();
    state.counters["largest_backlog"] = (double) largestBacklog;
    state.counters["rss_growth_kB"] = (double) growth;
}
BENCHMARK (millionIncomingNrpnsWithNoEditor)->Iterations (1)->Unit (benchmark::kMillisecond);
} // namespace
