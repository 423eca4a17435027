// The built-in "Prophet 12 Simulator": chosen in the port lists like any device, it answers the
// plug-in through the same port layer as a real instrument would.
#include "TestRig.h"
#include "midi/SimulatorDevices.h"
#include "midi/Transfers.h"
#include "model/FactoryData.h"

#include <thread>

namespace
{
using Bytes = std::vector<uint8_t>;
constexpr auto kSimulator = SimulatorDevices::kPortName;

// Polls until `condition` holds; the simulator's ports run on threads of their own, so there is no
// single place to wait for.
template <typename Condition>
bool eventually (Condition&& condition, int timeoutMilliseconds = 20000)
{
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMilliseconds;
    while (! condition())
    {
        if (juce::Time::getMillisecondCounter() > end)
            return false;
        std::this_thread::sleep_for (std::chrono::milliseconds (1));
    }
    return true;
}

// Takes notifications until `code` comes; everything taken is kept in `seen`.
bool waitForNotification (MidiCntrState& c, int32_t code, std::vector<int32_t>& seen)
{
    return eventually ([&] {
        for (auto n : c.takeNotifications())
            seen.push_back (n);
        return std::find (seen.begin(), seen.end(), code) != seen.end();
    });
}

// A program of the editor's own, different from anything in the factory data.
ProgramDump::Record markedProgram (int bank, int program)
{
    auto record = FactoryData::basicProgram();
    record[85] = (uint8_t) (17 + program); // "LPF Freq"
    record[1023] = (uint8_t) (bank * 40 + program);
    ProgramDump::writeName (record.data(), "Sim " + juce::String (bank + 1) + "-" + juce::String (program + 1));
    return record;
}

// The plug-in's controller with the product's own device list (the computer's devices and the
// simulator, exactly as a default-constructed controller has them) and its files in a scratch folder.
struct ProductRig
{
    ProductRig() : controller (MidiCntrState::Environment { nullptr, scratch.folder }) {}

    // Chooses the simulator as input and output, as the setup panel does.
    void chooseSimulator()
    {
        const auto inputs = controller.getPorts().getDevices().getInputNames();
        const auto outputs = controller.getPorts().getDevices().getOutputNames();
        ASSERT_EQ (inputs[inputs.size() - 1], kSimulator);
        ASSERT_EQ (outputs[outputs.size() - 1], kSimulator);
        controller.selectInput (inputs.size()); // list index: device k - 1 is entry k, after "NONE"
        controller.selectOutput (outputs.size());
        ASSERT_TRUE (controller.getPorts().isInputOpen());
        ASSERT_TRUE (controller.getPorts().isOutputOpen());
    }

    ScratchFolder scratch;
    MidiCntrState controller;
};

TEST (Simulator, OnLineKnobsAndProgramChanges)
{
    ProductRig rig;
    auto& c = rig.controller;
    rig.chooseSimulator();
    auto& simulator = Prophet12Simulator::shared();
    std::vector<int32_t> seen;

    c.requestGlobals();
    ASSERT_TRUE (waitForNotification (c, Notification::kGlobalsReceived, seen));
    EXPECT_TRUE (c.hasInstrumentAnswered());
    EXPECT_EQ (c.getGlobalValue (1), simulator.getGlobal (1));

    // A knob turned in the editor reaches the simulator's edit buffer; fetching the edit buffer
    // brings it back, over whatever the editor holds meanwhile.
    const int position = 85, value = 77; // "LPF Freq"
    c.setParameterValue (position, value);
    c.storeValue (position, 3);
    seen.clear();
    Transfers::fetchEditBuffer (c);
    ASSERT_TRUE (waitForNotification (c, Notification::kProgramReplaced, seen));
    EXPECT_EQ (c.getCurrentProgram()[(size_t) position], value);
    EXPECT_EQ (c.getCurrentProgram(), simulator.getEditBuffer());

    // A program change switches the simulator's program, and its sound with it.
    c.selectProgram (5 * 99 + 12, true, false);
    ASSERT_TRUE (eventually ([&] { return simulator.getCurrentBank() == 5 && simulator.getCurrentProgram() == 12; }));
    EXPECT_TRUE (eventually ([&] { return simulator.getEditBuffer() == simulator.getProgram (5, 12); }));
}

TEST (Simulator, WrittenProgramComesBackWithItsBank)
{
    ProductRig rig;
    auto& c = rig.controller;
    rig.chooseSimulator();

    c.setCurrentProgram (markedProgram (1, 4));
    ASSERT_TRUE (Transfers::writeCurrentProgram (c, 1, 4, "Written U2 P5", 3));
    const auto written = c.getSlot (1, 4);
    EXPECT_EQ (ProgramDump::readName (written.data(), ProgramDump::NameVariant::slot).trimEnd(), "Written U2 P5");

    // The editor forgets bank U2, then receives it from the simulator.
    for (int p = 0; p < 99; ++p)
        c.putSlot (1, p, FactoryData::basicProgram());
    std::vector<int32_t> seen;
    ChainedTransfer chain (c);
    chain.start (Transfers::kReceiveBank, 1);
    ASSERT_TRUE (waitForNotification (c, Notification::kBankReceiveFinished, seen));

    EXPECT_EQ (c.getSlot (1, 4), written);
    EXPECT_EQ (c.getSlot (1, 3), Prophet12SimulatorCore::factoryProgram (1, 3)); // the rest as it started
    EXPECT_EQ (c.getSlot (1, 98), Prophet12SimulatorCore::factoryProgram (1, 98));
}

TEST (Simulator, UserBanksMakeTheRoundTripUnchanged)
{
    ProductRig rig;
    auto& c = rig.controller;
    rig.chooseSimulator();

    for (int b = 0; b < 4; ++b)
        for (int p = 0; p < 99; ++p)
            c.putSlot (b, p, markedProgram (b, p));

    ChainedTransfer transmit (c);
    transmit.start (Transfers::kTransmitUserBanks, 0);
    for (int ticks = 0; ! transmit.tick().finished; ++ticks)
        ASSERT_LT (ticks, 1000);
    ASSERT_TRUE (eventually ([] { return Prophet12Simulator::shared().getProgram (3, 98) == markedProgram (3, 98); }));

    for (int b = 0; b < 4; ++b)
        for (int p = 0; p < 99; ++p)
            c.putSlot (b, p, FactoryData::basicProgram());

    std::vector<int32_t> seen;
    ChainedTransfer receive (c);
    receive.start (Transfers::kReceiveUserBanks, 0);
    ASSERT_TRUE (waitForNotification (c, Notification::kBankReceiveFinished, seen));
    for (int b = 0; b < 4; ++b)
        for (int p = 0; p < 99; ++p)
            ASSERT_EQ (c.getSlot (b, p), markedProgram (b, p)) << b << ":" << p;
}

// ---- The device list and the ports file, with stand-in "computer" devices and a private simulator ----

struct ListRig
{
    ListRig()
        : computer (std::make_shared<InProcessMidiDevices> (standIn, juce::StringArray { "USB In", kStandInPort },
                                                            juce::StringArray { kStandInPort, "USB Out" })),
          devices (std::make_shared<SimulatorDevices> (computer, [this]() -> Prophet12Simulator& { return simulator; }))
    {}

    std::unique_ptr<MidiCntrState> makeController()
    {
        return std::make_unique<MidiCntrState> (MidiCntrState::Environment { devices, scratch.folder });
    }

    static constexpr auto kStandInPort = InProcessMidiDevices::kStandInPort;
    ScratchFolder scratch;
    Prophet12StandIn standIn;
    Prophet12Simulator simulator;
    std::shared_ptr<InProcessMidiDevices> computer;
    std::shared_ptr<SimulatorDevices> devices;
};

TEST (Simulator, ListedAfterTheComputersDevices)
{
    ListRig rig;
    EXPECT_EQ (rig.devices->getInputNames(), (juce::StringArray { "USB In", ListRig::kStandInPort, kSimulator }));
    EXPECT_EQ (rig.devices->getOutputNames(), (juce::StringArray { ListRig::kStandInPort, "USB Out", kSimulator }));

    // The computer's indices open the computer's devices, as they did without the simulator.
    EXPECT_NE (rig.devices->openInput (1, nullptr), nullptr);
    EXPECT_NE (rig.devices->openOutput (1), nullptr);
    EXPECT_EQ (rig.computer->getOpenedInputCount(), 1);
    EXPECT_EQ (rig.computer->getOpenedOutputCount(), 1);
    EXPECT_NE (rig.devices->openInput (2, nullptr), nullptr);
    EXPECT_EQ (rig.computer->getOpenedInputCount(), 1);
    EXPECT_EQ (rig.devices->openInput (3, nullptr), nullptr);
    EXPECT_EQ (rig.devices->openOutput (-1), nullptr);

    // A computer with no MIDI devices at all still offers the simulator.
    rig.computer->setPortNames ({}, {});
    EXPECT_EQ (rig.devices->getInputNames(), juce::StringArray (kSimulator));
    EXPECT_NE (rig.devices->openOutput (0), nullptr);
}

TEST (Simulator, StoredByNameInThePortsFile)
{
    ListRig rig;
    {
        auto c = rig.makeController();
        c->selectInput (3);
        c->selectOutput (3);
        c->savePortsFile();
    }
    juce::MemoryBlock file;
    ASSERT_TRUE (SettingsFiles::Folder (rig.scratch.folder).portsFile().loadFileAsData (file));
    EXPECT_EQ (file, literalBytes ("Prophet 12 Simulator\x0FProphet 12 Simulator\x10NONE\x11"
                                   "0\x12"));

    // A device plugged in since moves the simulator down the list; it is found by its name.
    rig.computer->setPortNames ({ "New In", "USB In", ListRig::kStandInPort }, { ListRig::kStandInPort, "USB Out" });
    auto c = rig.makeController();
    EXPECT_EQ (c->getPorts().getInputIndex(), 3);
    EXPECT_EQ (c->getPorts().getOutputIndex(), 2);
    c->requestGlobals();
    EXPECT_TRUE (eventually ([&] { return c->hasInstrumentAnswered(); }));
    EXPECT_EQ (rig.standIn.getReceivedMessages().size(), 0u);
}

// ---- The ports themselves ----------------------------------------------------------------------

// Counts what reaches it; optionally slow, to be caught in the middle of a call.
struct CountingInput final : juce::MidiInputCallback
{
    void handleIncomingMidiMessage (juce::MidiInput*, const juce::MidiMessage&) override
    {
        ++calls;
        if (slow)
            std::this_thread::sleep_for (std::chrono::microseconds (200));
    }
    std::atomic<int> calls { 0 };
    bool slow = false;
};

TEST (Simulator, OutputPortBehavesAsJuceMidiOutput)
{
    Prophet12StandIn simulator; // keeps a log of what it was told
    auto output = SimulatorDevices::openSimulatorOutput (simulator);
    const Bytes a { 0xB0, 1, 10 }, b { 0xB0, 1, 20 }, now { 0xB0, 1, 30 };
    auto block = [] (const Bytes& m) {
        juce::MidiBuffer buffer;
        buffer.addEvent (juce::MidiMessage (m.data(), (int) m.size()), 0);
        return buffer;
    };
    const auto time = (double) juce::Time::getMillisecondCounter();

    // Handed over while the thread is stopped: waits, and sendMessageNow overtakes it.
    output->sendBlockOfMessages (block (a), time, 1000.0);
    output->sendMessageNow (juce::MidiMessage (now.data(), (int) now.size()));
    ASSERT_TRUE (simulator.waitUntilIdle());
    EXPECT_EQ (simulator.getReceivedMessages(), (std::vector<Bytes> { now }));
    output->startBackgroundThread();
    ASSERT_TRUE (eventually ([&] { return simulator.getReceivedMessages().size() == 2; }));
    EXPECT_EQ (simulator.getReceivedMessages().back(), a);

    // Stopping the thread drops what still waits; so does clearAllPendingMessages.
    simulator.clearReceivedMessages();
    output->sendBlockOfMessages (block (b), time + 30000.0, 1000.0);
    output->stopBackgroundThread();
    output->sendBlockOfMessages (block (b), time, 1000.0);
    output->clearAllPendingMessages();
    output->startBackgroundThread();
    output->sendBlockOfMessages (block (a), (double) juce::Time::getMillisecondCounter(), 1000.0);
    ASSERT_TRUE (eventually ([&] { return ! simulator.getReceivedMessages().empty(); }));
    output->stopBackgroundThread();
    ASSERT_TRUE (simulator.waitUntilIdle());
    EXPECT_EQ (simulator.getReceivedMessages(), (std::vector<Bytes> { a }));
}

TEST (Simulator, EveryInputHearsItAndStopMeansStopped)
{
    Prophet12Simulator simulator;
    CountingInput first, second;
    auto one = SimulatorDevices::openSimulatorInput (simulator, &first);
    auto two = SimulatorDevices::openSimulatorInput (simulator, &second);
    one->start();
    two->start();
    two->start(); // a second start does not double the deliveries

    simulator.moveModWheel (5);
    ASSERT_TRUE (simulator.waitUntilIdle());
    EXPECT_EQ (first.calls, 1);
    EXPECT_EQ (second.calls, 1);

    // Stopped while the simulator is talking: nothing arrives once stop() has returned.
    first.slow = true;
    for (int n = 0; n < 2000; ++n)
        simulator.moveModWheel (n & 0x7F);
    ASSERT_TRUE (eventually ([&] { return first.calls > 10; }));
    one->stop();
    const int atStop = first.calls;
    ASSERT_TRUE (simulator.waitUntilIdle());
    EXPECT_EQ (first.calls, atStop);
    EXPECT_LT (atStop, 2001);
    EXPECT_EQ (second.calls, 2001);

    two.reset(); // closing stops it too
    simulator.moveModWheel (1);
    ASSERT_TRUE (simulator.waitUntilIdle());
    EXPECT_EQ (second.calls, 2001);
}
} // namespace
