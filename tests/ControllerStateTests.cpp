#include "TestRig.h"
#include "model/FactoryData.h"

#include <thread>

namespace
{
using Bytes = std::vector<uint8_t>;
using Block = std::vector<Bytes>;

std::vector<int32_t> notificationsOfKind (MidiCntrState& c, int kind)
{
    std::vector<int32_t> found;
    for (auto code : c.takeNotifications())
        if (Notification::kind (code) == kind)
            found.push_back (code);
    return found;
}

Bytes bytesOf (const juce::MemoryBlock& block)
{
    return { static_cast<const uint8_t*> (block.getData()),
             static_cast<const uint8_t*> (block.getData()) + block.getSize() };
}

// ---- NRPN out ----------------------------------------------------------------------------------------

TEST (ControllerState, NrpnRepeatSuppression)
{
    Rig rig;
    auto& c = *rig.controller;
    constexpr int fm1 = 32, level2 = 9; // NRPN 7 and 20

    struct Step
    {
        int position, value;
        Block expected;
    };
    // clang-format off
    const Step steps[] = {
        { fm1, 129, { { 0xB0, 99, 0 }, { 0xB0, 98, 7 }, { 0xB0, 6, 1 }, { 0xB0, 38, 1 } } }, // first change: all four
        { fm1, 130, { { 0xB0, 38, 2 } } },                                                  // same MSB: 38 only
        { fm1, 300, { { 0xB0, 6, 2 }, { 0xB0, 38, 44 } } },                                 // new MSB: 6 and 38
        { fm1, 300, {} },                                                                   // nothing changed
        { level2, 5, { { 0xB0, 99, 0 }, { 0xB0, 98, 20 }, { 0xB0, 6, 0 }, { 0xB0, 38, 5 } } },
        { fm1, 5, { { 0xB0, 99, 0 }, { 0xB0, 98, 7 }, { 0xB0, 6, 0 }, { 0xB0, 38, 5 } } },  // alternating: four each
        { level2, 6, { { 0xB0, 99, 0 }, { 0xB0, 98, 20 }, { 0xB0, 6, 0 }, { 0xB0, 38, 6 } } },
    };
    // clang-format on

    for (const auto& step : steps)
    {
        SCOPED_TRACE (juce::String (step.position) + " = " + juce::String (step.value));
        rig.devices->clearOutputCalls();
        c.setParameterValue (step.position, step.value);
        const auto blocks = rig.sentBlocks();
        if (step.expected.empty())
            EXPECT_TRUE (blocks.empty());
        else
            EXPECT_EQ (blocks, std::vector<Block> { step.expected });
    }

    rig.settle();
    EXPECT_EQ (rig.standIn.getEditBuffer()[level2], 6);
    EXPECT_EQ (rig.standIn.getEditBuffer()[fm1], 5);
    EXPECT_EQ (c.getCurrentProgram()[fm1], 5);
}

TEST (ControllerState, NrpnLayerBChannelAndClosedPort)
{
    Rig rig;
    auto& c = *rig.controller;
    c.setMidiChannel (5);
    c.setParameterValue (512 + 1, 60); // layer B "Pitch 2": NRPN 530 = 4 x 128 + 18
    EXPECT_EQ (rig.sentBlocks().back(),
               (Block { { 0xB4, 99, 4 }, { 0xB4, 98, 18 }, { 0xB4, 6, 0 }, { 0xB4, 38, 60 } }));

    // With the output closed nothing goes and the repeat memory stays as it was.
    c.selectOutput (0);
    rig.devices->clearOutputCalls();
    c.setParameterValue (40, 7);
    EXPECT_TRUE (rig.devices->getOutputCalls().empty());
    EXPECT_EQ (c.getCurrentProgram()[40], 7); // the value is still stored

    c.selectOutput (1);
    rig.devices->clearOutputCalls();
    c.setParameterValue (513, 60);
    EXPECT_TRUE (rig.sentBlocks().empty()); // memory still holds 513 = 60

    // Positions without an NRPN number, and the performance values, send no NRPN.
    c.setParameterValue (306, 3);
    EXPECT_TRUE (rig.sentBlocks().empty());
}

TEST (ControllerState, SendNrpnAlwaysSendsFour)
{
    Rig rig;
    rig.controller->sendNrpn (1024 + 25, 16);
    rig.controller->sendNrpn (1024 + 25, 16);
    const Block expected { { 0xB0, 99, 8 }, { 0xB0, 98, 25 }, { 0xB0, 6, 0 }, { 0xB0, 38, 16 } };
    EXPECT_EQ (rig.sentBlocks(), (std::vector<Block> { expected, expected }));
    rig.settle();
    EXPECT_EQ (rig.standIn.getGlobal (25), 16);

    // A global between two steps of one knob: the knob names itself again rather than sending a
    // lone 38 that the instrument would apply to the global.
    auto& c = *rig.controller;
    c.setParameterValue (85, 10);
    c.sendNrpn (1024 + 3, 1);
    rig.devices->clearOutputCalls();
    c.setParameterValue (85, 11);
    EXPECT_EQ (rig.sentBlocks(),
               (std::vector<Block> { { { 0xB0, 99, 0 }, { 0xB0, 98, 90 }, { 0xB0, 6, 0 }, { 0xB0, 38, 11 } } }));
    rig.settle();
    EXPECT_EQ (rig.standIn.getGlobal (3), 1);
    EXPECT_EQ (rig.standIn.getEditBuffer()[85], 11);
}

TEST (ControllerState, PerformanceValues)
{
    Rig rig;
    auto& c = *rig.controller;

    c.setParameterValue (ParameterTable::kSlider2, 90);
    EXPECT_EQ (rig.sentBlocks().back(), (Block { { 0xB0, 15, 90 } }));
    c.setParameterValue (ParameterTable::kSliderPress, 11);
    EXPECT_EQ (rig.sentBlocks().back(), (Block { { 0xB0, 17, 11 } }));
    c.setParameterValue (ParameterTable::kSliderLatch2, 1);
    EXPECT_EQ (c.getValue (ParameterTable::kSlider2), 90);
    EXPECT_EQ (c.getValue (ParameterTable::kSliderLatch2), 1);

    const auto codes = c.takeNotifications();
    EXPECT_EQ (std::count (codes.begin(), codes.end(), Notification::kSliderChanged), 2);
    EXPECT_EQ (std::count (codes.begin(), codes.end(), Notification::kSliderLatch2Changed), 1);

    // "Program No.": 100 is bank 1, program 1; 792 and beyond change nothing.
    c.setParameterValue (ParameterTable::kProgramNumber, 100);
    EXPECT_EQ (c.getCurrentBank(), 1);
    EXPECT_EQ (c.getCurrentProgramNumber(), 1);
    EXPECT_EQ (c.getValue (ParameterTable::kProgramNumber), 100);
    c.setParameterValue (ParameterTable::kProgramNumber, 792);
    EXPECT_EQ (c.getValue (ParameterTable::kProgramNumber), 100);
}

TEST (ControllerState, SelectProgramSendsBankAndProgram)
{
    Rig rig;
    auto& c = *rig.controller;
    rig.devices->clearOutputCalls();
    c.selectProgram (4 * 99 + 7, true, true);

    EXPECT_EQ (c.getCurrentProgram(), c.getSlot (4, 7));
    EXPECT_EQ (rig.sentBlocks(), (std::vector<Block> { { { 0xB0, 32, 4 } }, { { 0xC0, 7 } } }));
    EXPECT_EQ (notificationsOfKind (c, 0x11).size(), 1u);
    rig.settle();
    EXPECT_EQ (rig.standIn.getCurrentBank(), 4);
    EXPECT_EQ (rig.standIn.getCurrentProgram(), 7);
}

// ---- MIDI in -----------------------------------------------------------------------------------------

TEST (ControllerState, IncomingNrpnIsQueuedByPosition)
{
    Rig rig;
    auto& c = *rig.controller;

    // 38 alone right after start names NRPN 255 x 128 + 255, which carries nothing.
    rig.standIn.sendRaw ({ 0xB0, 38, 5 });
    rig.settle();
    EXPECT_TRUE (c.takeReceivedNrpns().empty());

    rig.standIn.turnParameter (0, 0);      // NRPN 0, value 0: position 0 is accepted
    rig.standIn.turnParameter (513, 30);   // layer B "Pitch 2"
    rig.standIn.turnParameter (32, 200);   // "FM 1", two data bytes
    rig.standIn.sendRaw ({ 0xB0, 38, 7 }); // 38 alone repeats the last parameter
    rig.standIn.sendRaw ({ 0xB0, 99, 0 });
    rig.standIn.sendRaw ({ 0xB0, 98, 14 }); // offset 14 of an oscillator block carries nothing
    rig.standIn.sendRaw ({ 0xB0, 38, 9 });
    rig.settle();

    EXPECT_EQ (c.takeReceivedNrpns(),
               (std::vector<int32_t> { 0, (513 << 16) + 30, (32 << 16) + 200, (32 << 16) + 135 }));
    EXPECT_TRUE (c.takeReceivedNrpns().empty());

    // Incoming changes are queued, not applied here: the processor drains and stores them.
    EXPECT_NE (c.getCurrentProgram()[32], 200);
}

TEST (ControllerState, IncomingChannelMessagesBecomeNotifications)
{
    Rig rig;
    auto& c = *rig.controller;
    c.takeNotifications();

    rig.standIn.setChannel (3);
    rig.standIn.movePitchWheel (0x40 << 7);
    rig.standIn.playNote (60, 100);
    rig.standIn.releaseNote (60);
    rig.standIn.moveModWheel (77);
    rig.standIn.sendRaw ({ 0x92, 61, 0 }); // note on with velocity 0 is a note off
    rig.standIn.sendRaw ({ 0xF8 });
    rig.settle();

    EXPECT_EQ (c.takeNotifications(),
               (std::vector<int32_t> { (0xE3 << 20) + (0x40 << 7), (0x93 << 20) + (60 << 7) + 100, (0x83 << 20) + 60,
                                       (0xB3 << 20) + (1 << 7) + 77, (0x83 << 20) + 61 }));
}

TEST (ControllerState, ProgramChangeFollowing)
{
    Rig rig;
    auto& c = *rig.controller;
    c.takeNotifications();

    rig.standIn.selectProgram (2, 5);
    rig.settle();
    EXPECT_EQ (c.getCurrentBank(), 2);
    EXPECT_EQ (c.getCurrentProgramNumber(), 5);
    EXPECT_EQ (c.getCurrentProgram(), c.getSlot (2, 5)); // the plug-in's image of that slot
    EXPECT_EQ (notificationsOfKind (c, 0x11).size(), 1u);

    // The same program again reloads nothing, so an edit in progress survives.
    c.storeValue (85, 1);
    rig.standIn.sendRaw ({ 0xC0, 5 });
    rig.settle();
    EXPECT_TRUE (c.takeNotifications().empty());
    EXPECT_EQ (c.getCurrentProgram()[85], 1);

    // A bank the instrument does not have: numbers recorded, nothing loaded, nothing posted.
    rig.standIn.sendRaw ({ 0xB0, 32, 9 });
    rig.standIn.sendRaw ({ 0xC0, 3 });
    rig.settle();
    EXPECT_EQ (c.getCurrentBank(), 9);
    EXPECT_EQ (c.getCurrentProgramNumber(), 3);
    EXPECT_TRUE (c.takeNotifications().empty());
    EXPECT_EQ (c.getCurrentProgram()[85], 1);

    // Neither does a program number past 98 load anything.
    rig.standIn.sendRaw ({ 0xB0, 32, 0 });
    rig.standIn.sendRaw ({ 0xC0, 120 });
    rig.settle();
    EXPECT_TRUE (c.takeNotifications().empty());
    EXPECT_EQ (c.getCurrentProgram()[85], 1);
}

struct CableRecorder : CableListener
{
    void cableValueChanged (int position, int value, bool endGesture, bool send, bool notify) override
    {
        const std::lock_guard<std::mutex> guard (mutex);
        calls.push_back ({ position, value, endGesture, send, notify });
    }
    struct Call
    {
        int position, value;
        bool endGesture, send, notify;
    };
    std::mutex mutex;
    std::vector<Call> calls;
};

TEST (ControllerState, FollowedProgramChangeTellsTheHost)
{
    Rig rig;
    auto& c = *rig.controller;
    CableRecorder recorder;
    c.addCableListener (&recorder);

    rig.standIn.selectProgram (1, 2);
    rig.settle();
    EXPECT_TRUE (recorder.calls.empty()); // following is off

    c.setFollowProgramChange (true);
    rig.standIn.selectProgram (6, 40);
    rig.settle();
    ASSERT_EQ (recorder.calls.size(), 1u);
    EXPECT_EQ (recorder.calls[0].position, 1024);
    EXPECT_EQ (recorder.calls[0].value, 6 * 99 + 40);
    EXPECT_TRUE (recorder.calls[0].endGesture && recorder.calls[0].send && recorder.calls[0].notify);
    c.removeCableListener (&recorder);
}

// ---- SysEx in ----------------------------------------------------------------------------------------

TEST (ControllerState, EditBufferAnswersInAnyForm)
{
    struct Case
    {
        const char* name;
        Prophet12StandIn::Options options;
    };
    Prophet12StandIn::Options pieces, desktop, garbage, everything;
    pieces.answerPieces = 3;
    desktop.desktopModel = true;
    garbage.garbageBetweenMessages = true;
    everything.answerPieces = 7;
    everything.desktopModel = true;
    everything.garbageBetweenMessages = true;
    const Case cases[] = { { "whole", {} },
                           { "three pieces", pieces },
                           { "desktop model", desktop },
                           { "garbage between", garbage },
                           { "all of it", everything } };

    for (const auto& k : cases)
    {
        SCOPED_TRACE (k.name);
        Rig rig;
        auto& c = *rig.controller;
        rig.standIn.turnParameter (85, 33);
        rig.settle();
        rig.standIn.setOptions (k.options);
        c.takeNotifications();

        c.sendRequest (6, 0, 0);
        rig.settle();
        EXPECT_EQ (c.getCurrentProgram(), rig.standIn.getEditBuffer());
        EXPECT_EQ (notificationsOfKind (c, 0x11).size(), 1u); // dispatched once
    }
}

TEST (ControllerState, ProgramDumpLandsInItsSlot)
{
    Rig rig;
    auto& c = *rig.controller;
    c.takeNotifications();

    c.sendRequest (5, 6, 42);
    rig.settle();
    EXPECT_EQ (c.getSlot (6, 42), rig.standIn.getProgram (6, 42));
    EXPECT_EQ (c.getCurrentProgram(), rig.standIn.getProgram (6, 42));
    EXPECT_EQ (c.getCurrentBank(), 6);
    EXPECT_EQ (c.getCurrentProgramNumber(), 42);
    EXPECT_EQ (c.getSlotName (6, 42), "Stand-in 7-43");

    const auto codes = c.takeNotifications();
    EXPECT_EQ (codes, (std::vector<int32_t> { Notification::kBankChanged, Notification::kProgramReplaced }));
}

TEST (ControllerState, ShortOrForeignSysExIsDropped)
{
    Rig rig;
    auto& c = *rig.controller;
    const auto before = c.getCurrentProgram();
    const auto slotBefore = c.getSlot (0, 1);

    const auto record = rig.standIn.getProgram (3, 3);
    auto programDump = bytesOf (ProgramDump::programDump (record, 0, 1));
    auto editDump = bytesOf (ProgramDump::editBufferDump (record));

    auto shortDump = programDump;
    shortDump.erase (shortDump.end() - 2); // 1177 bytes, still ending in F7
    auto otherDevice = programDump;
    otherDevice[2] = 0x2C;
    auto unknownCommand = editDump;
    unknownCommand[3] = 0x04;
    const Bytes identityReply { 0xF0, 0x7E, 0x00, 0x06, 0x02, 0x01, 0x2A, 0x01, 0xF7 };

    for (const auto& m : { shortDump, otherDevice, unknownCommand, identityReply })
        rig.standIn.sendRaw (m);
    rig.settle();
    EXPECT_EQ (c.getCurrentProgram(), before);
    EXPECT_EQ (c.getSlot (0, 1), slotBefore);
    EXPECT_TRUE (c.takeNotifications().empty());

    // An edit-buffer dump of exactly 1176 bytes is enough.
    ASSERT_EQ (editDump.size(), 1176u);
    rig.standIn.sendRaw (editDump);
    rig.settle();
    EXPECT_EQ (c.getCurrentProgram(), record);
}

TEST (ControllerState, SysExPiecesAndThePartialCallback)
{
    Rig rig;
    auto& c = *rig.controller;
    const auto record = rig.standIn.getProgram (1, 1);
    const auto dump = bytesOf (ProgramDump::editBufferDump (record));

    // In three pieces, straight to the callback.
    const Bytes a (dump.begin(), dump.begin() + 100), b (dump.begin() + 100, dump.begin() + 900),
        e (dump.begin() + 900, dump.end());
    c.takeNotifications();
    for (const auto& piece : { a, b })
        c.handleIncomingMidiMessage (nullptr, juce::MidiMessage (piece.data(), (int) piece.size()));
    EXPECT_TRUE (c.takeNotifications().empty());
    c.handleIncomingMidiMessage (nullptr, juce::MidiMessage (e.data(), (int) e.size()));
    EXPECT_EQ (c.takeNotifications(), (std::vector<int32_t> { Notification::kProgramReplaced }));
    EXPECT_EQ (c.getCurrentProgram(), record);

    // An unfinished SysEx is handed on by the partial callback; too short to be a dump, it is dropped.
    c.handleIncomingMidiMessage (nullptr, juce::MidiMessage (a.data(), (int) a.size()));
    c.handlePartialSysexMessage (nullptr, a.data(), 10, 0.0);
    c.handleIncomingMidiMessage (nullptr, juce::MidiMessage (e.data(), (int) e.size()));
    EXPECT_TRUE (c.takeNotifications().empty());
}

TEST (ControllerState, GlobalDump)
{
    Rig rig;
    auto& c = *rig.controller;

    c.requestGlobals();
    rig.settle();
    EXPECT_TRUE (c.hasInstrumentAnswered());
    const auto block = c.getGlobalBlock();
    for (int k = 0; k < Prophet12StandIn::kGlobals; ++k)
        EXPECT_EQ (block[(size_t) k], rig.standIn.getGlobal (k)) << k;
    EXPECT_EQ (c.takeNotifications(),
               (std::vector<int32_t> { Notification::kGlobalsRequested, Notification::kGlobalsReceived }));

    // More than 100 data bytes: the block is filled and the rest ignored.
    Bytes longDump { 0xF0, 0x01, 0x2B, 0x0F };
    for (int i = 0; i < 130; ++i)
        longDump.push_back ((uint8_t) (i % 100));
    longDump.push_back (0xF7);
    rig.standIn.sendRaw (longDump);
    rig.settle();
    EXPECT_EQ (c.getGlobalBlock()[99], 99);
    EXPECT_EQ (c.getGlobalBlock()[0], 0);
}

// ---- SysEx out ---------------------------------------------------------------------------------------

TEST (ControllerState, LongSysExGoesOutAsOneMessage)
{
    Rig rig;
    auto& c = *rig.controller;
    Bank_Program source;
    source.loadFactory (2);
    rig.devices->clearOutputCalls();

    c.sendSysEx (source.slotAsProgramDump (10, true, 3));

    // The waiting messages are dropped and the dump goes out at once, whole, so the driver gets one
    // complete F0 .. F7 message.
    using Kind = InProcessMidiDevices::OutputCall::Kind;
    const auto calls = rig.devices->getOutputCalls();
    std::vector<Kind> kinds;
    for (const auto& call : calls)
        kinds.push_back (call.kind);
    EXPECT_EQ (kinds, (std::vector<Kind> { Kind::clearPending, Kind::stopThread, Kind::sendNow, Kind::startThread }));
    ASSERT_EQ (calls[2].messages.size(), 1u);
    EXPECT_EQ (calls[2].messages[0].size(), 1178u);
    EXPECT_EQ (calls[2].messages[0].front(), 0xF0);
    EXPECT_EQ (calls[2].messages[0].back(), 0xF7);

    rig.settle();
    EXPECT_EQ (rig.standIn.getProgram (3, 10), source.getSlot (10));

    // A request is short enough to go as one message.
    rig.devices->clearOutputCalls();
    c.sendRequest (5, 1, 2);
    EXPECT_EQ (rig.sentBlocks(), (std::vector<Block> { { { 0xF0, 0x01, 0x2A, 0x05, 1, 2, 0xF7 } } }));
}

// A long dump drops what waits in the output, perhaps the 99/98 that named the last parameter: the
// next step of that knob must name it again instead of going out as a lone controller 38.
TEST (ControllerState, ALongDumpMakesTheNextParameterNameItself)
{
    Rig rig;
    auto& c = *rig.controller;
    rig.settle();
    Bank_Program source;
    source.loadFactory (0);

    c.setParameterValue (8, 100);
    c.sendSysEx (source.slotAsProgramDump (1, true, 0));
    rig.devices->clearOutputCalls();
    c.setParameterValue (8, 101);

    const auto blocks = rig.sentBlocks();
    ASSERT_EQ (blocks.size(), 1u);
    ASSERT_EQ (blocks[0].size(), 4u);
    EXPECT_EQ (blocks[0][0][1], 99);
    EXPECT_EQ (blocks[0][1][1], 98);
    EXPECT_EQ (blocks[0][3][1], 38);
    EXPECT_EQ (blocks[0][3][2], 101);
}

// With no editor open nobody takes the notifications; the queue must not grow for ever.
TEST (ControllerState, NotificationBacklogIsBounded)
{
    Rig rig (false);
    auto& c = *rig.controller;
    c.takeNotifications();

    for (int i = 0; i < 20000; ++i)
    {
        c.postNotification (Notification::parameterChanged (i % 512, i & 0x7F));
        if (i == 7000)
        {
            c.postNotification (Notification::kBankChanged);
            c.postNotification (Notification::kBankReceiveFinished);
        }
        ASSERT_LE (c.getPendingNotificationCount(), MidiCntrState::kNotificationBacklog);
    }

    const auto codes = c.takeNotifications();
    // What a refresh cannot tell survives, in order; a refresh of everything stands for the rest.
    const auto at = [&] (int32_t code) { return std::find (codes.begin(), codes.end(), code) - codes.begin(); };
    EXPECT_LT (at (Notification::kBankChanged), at (Notification::kBankReceiveFinished));
    EXPECT_LT (at (Notification::kBankReceiveFinished), (std::ptrdiff_t) codes.size());
    EXPECT_NE (std::find (codes.begin(), codes.end(), Notification::kProgramReplaced), codes.end());
    EXPECT_EQ (std::count (codes.begin(), codes.end(), Notification::kBankReceiveFinished), 1);
}

// The host queue's clock: positions stay small and old events are pruned whatever the uptime (a
// 32-bit millisecond counter turns negative after 24.8 days and would never prune again).
TEST (ControllerState, HostQueueSurvivesLongUptimes)
{
    Rig rig (false);
    auto& c = *rig.controller;
    const int64_t start = (int64_t (1) << 31) + 123; // past where a 32-bit counter turns negative

    auto queued = [&] {
        std::vector<int> positions;
        const juce::ScopedLock sl (c.getLock());
        for (const auto metadata : c.getHostQueue())
            positions.push_back (metadata.samplePosition);
        return positions;
    };

    c.sendModWheelToHostAt (1, 10, start);
    c.sendModWheelToHostAt (1, 11, start + 300);
    c.sendModWheelToHostAt (1, 12, start + 700); // the first is now older than half a second
    EXPECT_EQ (queued(), (std::vector<int> { 300, 700 }));

    // Nobody processes blocks for days while the wheel keeps moving: the queue keeps the last half
    // second, at small positions.
    int64_t t = start + 700;
    for (int i = 0; i < 200; ++i)
        c.sendModWheelToHostAt (1, i & 0x7F, t += 200000);
    const auto positions = queued();
    ASSERT_EQ (positions.size(), 1u);
    EXPECT_GE (positions[0], 0);
    EXPECT_LT (positions[0], 1 << 25);
}

TEST (ControllerState, SendCurrentSlot)
{
    Rig rig;
    auto& c = *rig.controller;
    c.takeNotifications();
    EXPECT_EQ (c.getCurrentSlot(), -1);

    c.sendCurrentSlot();
    EXPECT_EQ (c.getCurrentSlot(), 0);
    EXPECT_EQ (c.getCurrentProgram(), c.getSlot (MidiCntrState::kProgramBank, 0));
    EXPECT_EQ (c.takeNotifications(), (std::vector<int32_t> { Notification::kProgramReplaced }));
    rig.settle();
    EXPECT_EQ (rig.standIn.getEditBuffer(), c.getCurrentProgram());
}

// ---- Host queue and listeners ------------------------------------------------------------------------

TEST (ControllerState, HostQueueKeepsHalfASecond)
{
    Rig rig;
    auto& c = *rig.controller;
    c.sendModWheelToHost (1, 10);
    c.sendModWheelToHost (2, 20);
    {
        const juce::ScopedLock sl (c.getLock());
        EXPECT_EQ (c.getHostQueue().getNumEvents(), 2);
    }

    std::this_thread::sleep_for (std::chrono::milliseconds (600));
    c.sendModWheelToHost (1, 30);
    const juce::ScopedLock sl (c.getLock());
    ASSERT_EQ (c.getHostQueue().getNumEvents(), 1);
    const auto message = (*c.getHostQueue().begin()).getMessage();
    EXPECT_TRUE (message.isControllerOfType (1));
    EXPECT_EQ (message.getControllerValue(), 30);
}

struct OrderRecorder : MidiCntrStateListener
{
    OrderRecorder (std::vector<int>& log, int id) : order (log), name (id) {}
    void midiCntrStateChanged (MidiCntrState*) override { order.push_back (name); }
    std::vector<int>& order;
    int name;
};

TEST (ControllerState, ListenersAreToldLastFirstAndOnce)
{
    Rig rig;
    auto& c = *rig.controller;
    std::vector<int> order;
    OrderRecorder first (order, 1), second (order, 2), third (order, 3);
    c.addStateChangeListener (&first);
    c.addStateChangeListener (&second);
    c.addStateChangeListener (&third);
    c.addStateChangeListener (&second);

    c.postNotification (Notification::kBankChanged);
    EXPECT_EQ (order, (std::vector<int> { 3, 2, 1 }));

    c.removeStateChangeListener (&second);
    order.clear();
    c.postNotification (Notification::kBankChanged);
    EXPECT_EQ (order, (std::vector<int> { 3, 1 }));
    c.removeStateChangeListener (&first);
    c.removeStateChangeListener (&third);
}
} // namespace
