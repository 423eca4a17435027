// The four threads that enter the controller, run together for a bounded time. Built and run under
// ThreadSanitizer by scripts/test.sh (build-tsan/), where any data race fails the run; without the
// sanitizer the same checks still catch torn NRPN sequences and torn programs.
#include "TestRig.h"
#include "plugin/OstrelAudioProcessor.h"

#include <future>
#include <random>
#include <thread>

namespace
{
constexpr auto kRunTime = std::chrono::milliseconds (1500);
constexpr int kMaxSendsPerThread = 20000;

// Each parameter owns the values v with v % 16 == its index, so a value that lands on the wrong
// parameter can be seen on the wire.
const int hostPositions[] = { 8, 9, 10, 11, 32, 33, 34, 35 };     // oscillator levels and FM
const int editorPositions[] = { 76, 77, 78, 79, 80, 85, 86, 87 }; // character and filter

int indexOf (int position)
{
    for (int i = 0; i < 8; ++i)
    {
        if (hostPositions[i] == position)
            return i;
        if (editorPositions[i] == position)
            return 8 + i;
    }
    return -1;
}

void sendForAWhile (MidiCntrState& c, const int (&positions)[8], unsigned seed, std::atomic<bool>& stop)
{
    // Runs on one parameter mostly send controller 38 alone: the case a torn send would spoil.
    std::mt19937 rng (seed);
    for (int n = 0; n < kMaxSendsPerThread && ! stop; ++n)
    {
        const int position = positions[(n / 8) % 8];
        c.setParameterValue (position, indexOf (position) + 16 * (int) (rng() % 16));
    }
}

// Replays the wire: every controller 38 must carry a value of the parameter the last 99/98 named.
// Returns how many were checked.
int checkWire (const std::vector<std::vector<std::vector<uint8_t>>>& blocks)
{
    int parameterMsb = -1, parameterLsb = -1, dataMsb = 0, checked = 0;
    for (const auto& block : blocks)
    {
        for (const auto& m : block)
        {
            if (m.size() != 3 || (m[0] & 0xF0) != 0xB0)
                continue;
            switch (m[1])
            {
                case 99: parameterMsb = m[2]; break;
                case 98: parameterLsb = m[2]; break;
                case 6: dataMsb = m[2]; break;
                case 38:
                {
                    const int position = ParameterTable::get().positionOfNrpn (parameterMsb * 128 + parameterLsb);
                    const int value = dataMsb * 128 + m[2];
                    EXPECT_GE (indexOf (position), 0);
                    EXPECT_EQ (value % 16, indexOf (position)) << "a value sent to the wrong parameter";
                    ++checked;
                    break;
                }
                default: break;
            }
        }
    }
    return checked;
}

// The instrument ends where the editor ends: every parameter the threads sent holds the same value
// here and there.
void expectInstrumentEndsWhereTheEditorEnds (Rig& rig)
{
    const auto mine = rig.controller->getCurrentProgram();
    const auto theirs = rig.standIn.getEditBuffer();
    for (int i = 0; i < 8; ++i)
    {
        EXPECT_EQ (mine[(size_t) hostPositions[i]], theirs[(size_t) hostPositions[i]]);
        EXPECT_EQ (mine[(size_t) editorPositions[i]], theirs[(size_t) editorPositions[i]]);
    }
}

TEST (ThreadStress, ParameterSendsFromEveryThread)
{
    Rig rig;
    auto& c = *rig.controller;
    std::atomic<bool> stop { false };

    std::thread host ([&] { sendForAWhile (c, hostPositions, 1, stop); });

    std::thread audio ([&] {
        while (! stop)
        {
            const juce::ScopedLock sl (c.getLock());
            for (const auto metadata : c.getHostQueue())
                juce::ignoreUnused (metadata.samplePosition);
            c.getHostQueue().clear();
        }
    });

    std::thread panel ([&] {
        for (int n = 0; ! stop; ++n)
        {
            rig.standIn.turnParameter (128 + n % 4, n % 256); // the LFO rates, turned on the instrument
            rig.standIn.moveModWheel (n % 128);
            if (n % 50 == 0)
                rig.standIn.sendGlobalDump();
            std::this_thread::sleep_for (std::chrono::microseconds (200));
        }
    });

    // This thread is the message thread: the editor sends, drains the queues and reads the model.
    const auto deadline = std::chrono::steady_clock::now() + kRunTime;
    std::thread editor ([&] { sendForAWhile (c, editorPositions, 2, stop); });
    int drained = 0;
    while (std::chrono::steady_clock::now() < deadline)
    {
        for (auto entry : c.takeReceivedNrpns())
            c.storeValue (entry >> 16, entry & 0xFFFF);
        drained += (int) c.takeNotifications().size();
        c.sendModWheelToHost (1, drained % 128);
        juce::ignoreUnused (c.getCurrentProgram(), c.getGlobalBlock(), c.getValue (85));
        if (drained % 7 == 0)
            c.requestGlobals();
    }
    stop = true;
    for (auto* t : { &host, &audio, &panel, &editor })
        t->join();
    rig.settle();

    // Every controller 38 must carry a value of the parameter the last 99/98 named.
    EXPECT_GT (checkWire (rig.sentBlocks()), 100);

    expectInstrumentEndsWhereTheEditorEnds (rig);
}

// A host may deliver automation on its audio thread. While a long dump is being written (held in
// the driver here), parameter sends from that thread must neither wait for it nor tear an NRPN.
TEST (ThreadStress, TheAudioThreadNeverWaitsOnADump)
{
    Rig rig;
    auto& c = *rig.controller;
    rig.settle();
    Bank_Program source;
    source.loadFactory (1);

    for (int round = 0; round < 20; ++round)
    {
        rig.devices->holdImmediateSends (true);
        std::thread dumper ([&] { c.sendSysEx (source.slotAsProgramDump (round, true, 1)); });
        while (rig.devices->getHeldSends() == 0)
            std::this_thread::yield();

        // The "audio thread": it must get through while the dump is still being written.
        std::atomic<bool> stop { false };
        auto audio = std::async (std::launch::async, [&] { sendForAWhile (c, hostPositions, (unsigned) round, stop); });
        std::thread editor ([&] {
            for (int n = 0; n < 300; ++n)
                c.setParameterValue (editorPositions[n % 8], indexOf (editorPositions[n % 8]) + 16 * (n % 8));
        });
        const bool finished = audio.wait_for (std::chrono::seconds (30)) == std::future_status::ready;
        EXPECT_TRUE (finished) << "a parameter send waited for the dump";
        EXPECT_EQ (rig.devices->getHeldSends(), 1);

        rig.devices->holdImmediateSends (false);
        dumper.join();
        editor.join();
        stop = true;
        audio.wait();
        if (! finished)
            break;
    }
    rig.settle();

    EXPECT_GT (checkWire (rig.sentBlocks()), 100);
    expectInstrumentEndsWhereTheEditorEnds (rig);
}

// Down a DIN cable every send waits in the port until the cable has room, and the cable's alarm
// empties it on a thread of its own. With the cable held still the host's thread must still get
// through all its sends; with it running (a thread moves its clock a hundred times faster than real
// time) the threads send, play and probe at once, and the cable carries whole NRPNs ending on
// every parameter's last value.
TEST (ThreadStress, SendsDownADinCableNeverWaitForIt)
{
    DinRig rig;
    auto& c = *rig.controller;
    ASSERT_TRUE (c.getPorts().isPaced());
    std::atomic<bool> stop { false };

    auto held = std::async (std::launch::async, [&] { sendForAWhile (c, hostPositions, 3, stop); });
    EXPECT_EQ (held.wait_for (std::chrono::seconds (30)), std::future_status::ready)
        << "a parameter send waited for the cable";
    held.wait();

    std::thread cable ([&] {
        while (! stop)
        {
            rig.clock->advance (2000);
            std::this_thread::sleep_for (std::chrono::microseconds (20));
        }
    });
    std::thread host ([&] { sendForAWhile (c, hostPositions, 4, stop); });
    // The editor's knobs: stored, then sent by hand, ahead of the automation.
    std::thread editor ([&] {
        std::mt19937 rng (5);
        for (int n = 0; n < kMaxSendsPerThread && ! stop; ++n)
        {
            const int position = editorPositions[(n / 8) % 8];
            const int value = indexOf (position) + 16 * (int) (rng() % 16);
            c.storeValue (position, value);
            c.sendParameterNrpn (position, value);
        }
    });
    std::thread player ([&] {
        for (int n = 0; ! stop; ++n)
        {
            c.sendNoteOn (1, 60 + n % 12, 100);
            c.sendNoteOff (1, 60 + n % 12);
            if (n % 20 == 0)
                c.requestGlobals();
            std::this_thread::sleep_for (std::chrono::microseconds (500));
        }
    });
    std::this_thread::sleep_for (kRunTime);
    stop = true;
    for (auto* t : { &cable, &host, &editor, &player })
        t->join();
    rig.drain();

    EXPECT_EQ (rig.devices->getDroppedEvents(), 0);
    EXPECT_GT (checkWire ({ rig.standIn.getReceivedMessages() }), 16);
    expectInstrumentEndsWhereTheEditorEnds (rig);
}

// Program changes from the instrument reach the processor on the MIDI input thread (with following
// on, as cableValueChanged). Destroying the processor while they arrive must never let one in
// half-way through: under the sanitizers any such touch fails the run.
TEST (ThreadStress, ProcessorDestroyedWhileTheInstrumentTalks)
{
    ScratchFolder scratch;
    Prophet12StandIn standIn;
    auto devices = std::make_shared<InProcessMidiDevices> (standIn);
    writePortsFile (SettingsFiles::Folder (scratch.folder), InProcessMidiDevices::kStandInPort,
                    InProcessMidiDevices::kStandInPort);

    for (int round = 0; round < 30; ++round)
    {
        auto processor =
            std::make_unique<OstrelAudioProcessor> (MidiCntrState::Environment { devices, scratch.folder });
        processor->getController().setFollowProgramChange (true);
        std::atomic<bool> stop { false };
        std::thread panel ([&] {
            for (int n = 0; ! stop; ++n)
            {
                standIn.selectProgram (n % 4, (n * 7) % 99);
                standIn.turnParameter (8, n % 128);
            }
        });
        std::this_thread::sleep_for (std::chrono::milliseconds (5));
        processor.reset();
        stop = true;
        panel.join();
        standIn.waitUntilIdle();
    }
}

// The undo history takes changes from every road at once: host automation on its thread, the
// instrument's knobs, program changes and dumps on the MIDI input thread, while the message thread
// undoes, redoes, compares and reads the menu texts. The history's view of the program must end
// equal to the program itself.
TEST (ThreadStress, TheUndoHistoryTakesEveryRoadAtOnce)
{
    ScratchFolder scratch;
    Prophet12StandIn standIn;
    auto devices = std::make_shared<InProcessMidiDevices> (standIn);
    writePortsFile (SettingsFiles::Folder (scratch.folder), InProcessMidiDevices::kStandInPort,
                    InProcessMidiDevices::kStandInPort);
    OstrelAudioProcessor processor (MidiCntrState::Environment { devices, scratch.folder });
    auto& c = processor.getController();
    c.setFollowProgramChange (true);
    std::atomic<bool> stop { false };

    std::thread host ([&] { sendForAWhile (c, hostPositions, 3, stop); });
    std::thread panel ([&] {
        for (int n = 0; ! stop; ++n)
        {
            standIn.turnParameter (128 + n % 4, n % 256);
            if (n % 40 == 0)
                standIn.selectProgram (n % 4, (n / 40) % 99);
            if (n % 90 == 0)
            {
                const auto dump = ProgramDump::editBufferDump (Prophet12StandIn::standInProgram (1, n % 99));
                standIn.sendRaw ({ static_cast<const uint8_t*> (dump.getData()),
                                   static_cast<const uint8_t*> (dump.getData()) + dump.getSize() });
            }
            std::this_thread::sleep_for (std::chrono::microseconds (200));
        }
    });

    int undone = 0;
    const auto deadline = std::chrono::steady_clock::now() + kRunTime;
    for (int n = 0; std::chrono::steady_clock::now() < deadline; ++n)
    {
        processor.changeListenerCallback (&c); // the instrument's values, as the change message brings them
        if (n % 3 == 0)
            processor.undoProgramEdit();
        else if (n % 3 == 1)
            processor.redoProgramEdit();
        if (n % 50 == 0)
            c.toggleCompare();
        if (const auto next = c.nextUndo())
            undone += c.describe (*next).isNotEmpty() ? 1 : 0;
        juce::ignoreUnused (c.isCurrentProgramEdited());
        c.takeNotifications();
    }
    stop = true;
    host.join();
    panel.join();
    standIn.waitUntilIdle();
    processor.changeListenerCallback (&c);

    EXPECT_GT (undone, 0);
    if (c.isComparing())
        c.toggleCompare();
    EXPECT_EQ (c.withHistory ([] (const ProgramHistory& h) { return h.current(); }), c.getCurrentProgram());
    EXPECT_LE (c.withHistory ([] (const ProgramHistory& h) { return h.undoCount(); }), ProgramHistory::kMaxSteps);
}

bool isUniform (const ProgramDump::Record& r)
{
    return std::all_of (r.begin(), r.end(), [&] (uint8_t b) { return b == r[0]; });
}

TEST (ThreadStress, DumpsNeverTearAProgramBeingRead)
{
    Rig rig;
    auto& c = *rig.controller;
    std::atomic<bool> stop { false };
    constexpr int dumps = 400;

    ProgramDump::Record start;
    start.fill (7);
    c.putSlot (0, 0, start);
    c.setCurrentProgram (start);

    // The instrument sends whole programs whose every byte is the same; the MIDI input thread stores
    // them into bank 0 slot 0 and the current program while others read and write them.
    std::thread panel ([&] {
        for (int k = 0; k < dumps && ! stop; ++k)
        {
            ProgramDump::Record r;
            r.fill ((uint8_t) k);
            const auto dump = ProgramDump::programDump (r, 0, 0);
            rig.standIn.sendRaw ({ static_cast<const uint8_t*> (dump.getData()),
                                   static_cast<const uint8_t*> (dump.getData()) + dump.getSize() });
        }
    });

    std::thread host ([&] {
        for (int k = 0; ! stop; ++k)
        {
            ProgramDump::Record r;
            r.fill ((uint8_t) (255 - k % 256));
            c.putSlot (0, 0, r);
            c.withBank (0, [] (Bank_Program& bank) { return bank.slotName (0); });
        }
    });

    int reads = 0;
    bool torn = false;
    const auto deadline = std::chrono::steady_clock::now() + kRunTime;
    while (! torn && std::chrono::steady_clock::now() < deadline)
    {
        torn = ! isUniform (c.getCurrentProgram()) || ! isUniform (c.getSlot (0, 0));
        c.takeNotifications();
        ++reads;
    }
    stop = true;
    panel.join();
    host.join();
    rig.settle();

    EXPECT_FALSE (torn);
    EXPECT_GT (reads, 100);
    EXPECT_TRUE (isUniform (c.getCurrentProgram()));
}
} // namespace
