#include "TestRig.h"
#include "midi/Transfers.h"
#include "model/FactoryData.h"

#include <alsa/asoundlib.h>

#include <iostream>
#include <map>
#include <string>

// What reaches the instrument on Linux: JUCE's ALSA output hands each message to ALSA's MIDI event
// encoder (grown to the message's size, starting at 4096 bytes), sends whatever events come out and
// resets the encoder after every message. These tests replay exactly what the port layer handed to
// the output through alsa-lib's own encoder in the same way, decode the events back to bytes and
// compare them with what was meant to be sent. No sound card is needed.
namespace
{
using Kind = InProcessMidiDevices::OutputCall::Kind;

class AlsaWire
{
public:
    AlsaWire()
    {
        snd_midi_event_new ((size_t) encoderSize, &encoder);
        snd_midi_event_new (65536, &decoder);
        snd_midi_event_no_status (decoder, 1); // every event decodes with its own status byte
    }
    ~AlsaWire()
    {
        snd_midi_event_free (encoder);
        snd_midi_event_free (decoder);
    }

    // As juce::MidiOutput::sendMessageNow does on Linux.
    void send (const std::vector<uint8_t>& message)
    {
        if ((int) message.size() > encoderSize)
        {
            encoderSize = (int) message.size();
            snd_midi_event_free (encoder);
            snd_midi_event_new ((size_t) encoderSize, &encoder);
        }

        snd_seq_event_t event;
        snd_seq_ev_clear (&event);
        auto remaining = (long) message.size();
        const auto* data = message.data();
        while (remaining > 0)
        {
            const auto used = snd_midi_event_encode (encoder, data, remaining, &event);
            if (used <= 0)
                break;
            remaining -= used;
            data += used;
            if (event.type != SND_SEQ_EVENT_NONE)
                receive (event);
        }
        snd_midi_event_reset_encode (encoder);
    }

    std::vector<uint8_t> bytes;

private:
    void receive (const snd_seq_event_t& event)
    {
        std::vector<uint8_t> buffer (70000);
        snd_midi_event_reset_decode (decoder);
        const auto n = snd_midi_event_decode (decoder, buffer.data(), (long) buffer.size(), &event);
        if (n > 0)
            bytes.insert (bytes.end(), buffer.begin(), buffer.begin() + n);
    }

    snd_midi_event_t* encoder = nullptr;
    snd_midi_event_t* decoder = nullptr;
    int encoderSize = 4096;
};

// Everything the port layer handed to the output, in the order it was handed over, through ALSA.
std::vector<uint8_t> throughAlsa (const std::vector<InProcessMidiDevices::OutputCall>& calls)
{
    AlsaWire wire;
    for (const auto& call : calls)
        if (call.kind == Kind::sendBlock || call.kind == Kind::sendNow)
            for (const auto& message : call.messages)
                wire.send (message);
    return wire.bytes;
}

std::vector<uint8_t> bytesOf (const juce::MemoryBlock& block)
{
    const auto* p = static_cast<const uint8_t*> (block.getData());
    return { p, p + block.getSize() };
}
} // namespace

TEST (AlsaWire, DumpsArriveWholeThroughTheLinuxEncoder)
{
    Rig rig;
    auto& c = *rig.controller;
    rig.settle();

    // An edit-buffer dump of the current program.
    rig.devices->clearOutputCalls();
    c.sendCurrentSlot();
    rig.settle();
    const auto editBuffer = bytesOf (ProgramDump::editBufferDump (c.getCurrentProgram()));
    ASSERT_EQ (editBuffer.size(), 1176u);
    EXPECT_EQ (throughAlsa (rig.devices->getOutputCalls()), editBuffer);

    // A program written into a slot.
    rig.devices->clearOutputCalls();
    const auto record = c.getSlot (2, 17);
    c.sendSysEx (ProgramDump::programDump (record, 2, 17));
    rig.settle();
    EXPECT_EQ (throughAlsa (rig.devices->getOutputCalls()), bytesOf (ProgramDump::programDump (record, 2, 17)));
}

TEST (AlsaWire, AWholeBankTransmitArrivesWhole)
{
    Rig rig;
    auto& c = *rig.controller;
    rig.settle();
    rig.devices->clearOutputCalls();

    // What a bank transmit sends: the 99 program dumps of the bank, one after another.
    std::vector<uint8_t> expected;
    for (int p = 0; p < ProgramDump::kProgramsPerBank; ++p)
    {
        const auto dump = ProgramDump::programDump (c.getSlot (1, p), 1, p);
        c.sendSysEx (dump);
        const auto bytes = bytesOf (dump);
        expected.insert (expected.end(), bytes.begin(), bytes.end());
    }
    rig.settle();

    const auto wire = throughAlsa (rig.devices->getOutputCalls());
    ASSERT_EQ (wire.size(), expected.size());
    EXPECT_TRUE (wire == expected);
    // The stand-in, which reassembles raw bytes, stored them too.
    EXPECT_EQ (rig.standIn.getProgram (1, 98), c.getSlot (1, 98));
}

// ---- A DIN cable behind the port ---------------------------------------------------------------------
namespace
{
constexpr int64_t kTick = Transfers::kTickMilliseconds * 1000;

struct ChainRun
{
    int sent = 0, ticks = 0;
    int64_t finishedAt = 0;
    std::vector<uint8_t> expected; // the dumps the chain sent, one after another
};

// A transmit chain as the editor's timer runs it: a tick every 100 ms of the cable's clock.
ChainRun transmit (DinRig& rig, int menuId)
{
    auto& c = *rig.controller;
    const auto start = Transfers::chainForMenuId (menuId);
    EXPECT_TRUE (start.has_value());
    ChainRun run;
    if (! start)
        return run;

    ChainedTransfer chain (c);
    chain.start (start->mode, start->firstBank);
    const int source = c.getCurrentBank();
    for (; run.ticks < 10000; ++run.ticks)
    {
        rig.clock->advance (kTick);
        const auto step = chain.tick();
        if (step.sent)
        {
            ++run.sent;
            const int from = start->mode == Transfers::kTransmitBank ? source : step.bank;
            const auto dump =
                bytesOf (ProgramDump::programDump (c.getSlot (from, step.program), step.bank, step.program));
            run.expected.insert (run.expected.end(), dump.begin(), dump.end());
        }
        if (step.finished)
        {
            run.finishedAt = rig.clock->nowMicroseconds();
            break;
        }
    }
    rig.drain();
    return run;
}

// Replays what the instrument heard: every controller 6 and 38 must follow a 99/98 of its own, and
// every 38 must give the parameter they named a value the plug-in gave it, never an older one than
// the last it set.
void expectWholeNrpns (const std::vector<std::vector<uint8_t>>& heard, const std::map<int, std::vector<int>>& sent)
{
    const auto& table = ParameterTable::get();
    int msb = -1, lsb = -1, dataMsb = 0, checked = 0;
    std::map<int, size_t> next;
    for (const auto& m : heard)
    {
        if (m.size() != 3 || (m[0] & 0xF0) != 0xB0)
            continue;
        switch (m[1])
        {
            case 99:
                msb = m[2];
                lsb = -1;
                break;
            case 98: lsb = m[2]; break;
            case 6:
                ASSERT_TRUE (msb >= 0 && lsb >= 0) << "a controller 6 without its 99/98";
                dataMsb = m[2];
                break;
            case 38:
            {
                ASSERT_TRUE (msb >= 0 && lsb >= 0) << "a controller 38 without its 99/98";
                const int position = table.positionOfNrpn (msb * 128 + lsb);
                const int value = dataMsb * 128 + m[2];
                const auto found = sent.find (position);
                ASSERT_NE (found, sent.end()) << "NRPN " << msb * 128 + lsb << " was never sent";
                auto& from = next[position];
                const auto at = std::find (found->second.begin() + (long) from, found->second.end(), value);
                ASSERT_NE (at, found->second.end()) << "position " << position << " got " << value;
                from = (size_t) (at - found->second.begin());
                ++checked;
                break;
            }
            default: break;
        }
    }
    EXPECT_GT (checked, 0);
}
} // namespace

TEST (DinLink, BankTransmitsArriveByteForByteWithNothingDropped)
{
    struct Case
    {
        int menuId, firstBank, lastBank, sourceBank;
    };
    // "Transmit Program User Bank 2 to: Factory Bank 1", and "Transmit All User Banks".
    for (const auto& k : { Case { 104, 4, 4, 1 }, Case { 300, 0, 3, -1 } })
    {
        SCOPED_TRACE (k.menuId);
        DinRig rig;
        auto& c = *rig.controller;
        ASSERT_TRUE (c.getPorts().isPaced());
        c.setProgramIndex (99 + 3); // bank 1 is current
        rig.settle();
        rig.drain();
        rig.devices->clearOutputCalls();
        const size_t before = rig.wireBytes().size();

        const auto run = transmit (rig, k.menuId);
        EXPECT_EQ (run.sent, 99 * (k.lastBank - k.firstBank + 1));
        EXPECT_EQ (rig.devices->getDroppedEvents(), 0);
        // The overlay closes when the last dump is on the instrument's side, not before.
        EXPECT_GE (run.finishedAt, rig.devices->getCableFreeAt());
        EXPECT_LT (run.finishedAt, rig.devices->getCableFreeAt() + kTick);
        const auto wire = rig.wireBytes();
        ASSERT_EQ (wire.size() - before, run.expected.size());
        EXPECT_TRUE (std::equal (run.expected.begin(), run.expected.end(), wire.begin() + (long) before));
        // Each dump is handed over whole, as one event, as the Linux encoder needs it.
        EXPECT_EQ (throughAlsa (rig.devices->getOutputCalls()), run.expected);

        for (int b = k.firstBank; b <= k.lastBank; ++b)
            for (int p = 0; p < 99; ++p)
                ASSERT_EQ (rig.standIn.getProgram (b, p), c.getSlot (k.sourceBank >= 0 ? k.sourceBank : b, p))
                    << b << ":" << p;
    }
}

// The fixed pace, one dump per 100 ms tick, is what a "USB" link keeps. Down a DIN cable it hands
// the kernel 11,780 bytes a second for a cable that carries 3125: the buffer fills after a few
// programs and the kernel drops the dumps that follow, without a word to the sender.
TEST (DinLink, OneDumpPerTickOverflowsADinCable)
{
    struct Case
    {
        int menuId, firstBank, lastBank, sourceBank, ticks;
        const char* name;
    };
    for (const auto& k : { Case { 104, 4, 4, 1, 98, "one bank" }, Case { 300, 0, 3, -1, 395, "all user banks" } })
    {
        SCOPED_TRACE (k.name);
        DinRig rig;
        auto& c = *rig.controller;
        c.setOutputLinkChoice (OutputLink::Choice::usb);
        ASSERT_FALSE (c.getPorts().isPaced());
        c.setProgramIndex (99 + 3);
        rig.settle();

        const int dumps = 99 * (k.lastBank - k.firstBank + 1);
        const auto run = transmit (rig, k.menuId);
        EXPECT_EQ (run.sent, dumps);
        EXPECT_EQ (run.ticks, k.ticks); // today's speed: a dump every tick, the last one ends the chain
        const int dropped = rig.devices->getDroppedEvents();
        std::cout << "[ DIN model ] " << k.name << " at one dump per tick: " << dropped << " of " << dumps
                  << " dumps dropped (" << rig.devices->getDroppedBytes() << " bytes)" << std::endl;
        EXPECT_GT (dropped, dumps * 6 / 10);

        int stored = 0;
        for (int b = k.firstBank; b <= k.lastBank; ++b)
            for (int p = 0; p < 99; ++p)
                stored += rig.standIn.getProgram (b, p) == c.getSlot (k.sourceBank >= 0 ? k.sourceBank : b, p) ? 1 : 0;
        EXPECT_EQ (stored, dumps - dropped);
    }
}

// A host automating all 624 parameters every block (48 kHz, 512 samples) for ten seconds, then
// stopping: the cable carries a fraction of it, yet nothing is dropped, every NRPN is whole and the
// instrument ends on every parameter's last value.
TEST (DinLink, AutomatingEveryParameterEndsOnTheLastValues)
{
    DinRig rig;
    auto& c = *rig.controller;
    const auto& table = c.getTable();
    rig.settle();
    rig.drain();

    std::map<int, std::vector<int>> sent;
    constexpr int kBlocks = 938; // ten seconds of 512-sample blocks at 48 kHz
    int64_t elapsed = 0;
    for (int block = 0; block < kBlocks; ++block)
    {
        for (int i = 0; i < 624; ++i)
        {
            const int position = table.positionOfAutomationIndex (i);
            const int value = (block + i) % (table.maximum (position) + 1);
            if (c.getValue (position) == value)
                continue;
            c.setParameterValue (position, value);
            if (position < ParameterTable::kProgramPositions && table.nrpnOf (position) >= 0)
                sent[position].push_back (value);
        }
        c.takeNotifications();
        const int64_t next = (int64_t) (block + 1) * 512 * 1000000 / 48000;
        rig.clock->advance (next - elapsed);
        elapsed = next;
    }
    rig.drain();

    EXPECT_EQ (rig.devices->getDroppedEvents(), 0);
    const auto mine = c.getCurrentProgram();
    const auto theirs = rig.standIn.getEditBuffer();
    for (const auto& [position, values] : sent)
    {
        ASSERT_EQ (mine[(size_t) position], values.back());
        ASSERT_EQ (theirs[(size_t) position], values.back()) << "position " << position;
    }
    const auto heard = rig.standIn.getReceivedMessages();
    expectWholeNrpns (heard, sent);

    // The sliders' controllers are never merged away: the last one heard is the last value.
    int lastSlider1 = -1;
    for (const auto& m : heard)
        if (m.size() == 3 && (m[0] & 0xF0) == 0xB0 && m[1] == 14)
            lastSlider1 = m[2];
    EXPECT_EQ (lastSlider1, c.getValue (ParameterTable::kSlider1));
}

// A knob moved by hand goes before the automation that waits, takes its newest value while it
// waits, and never overtakes a note or a wheel given after it.
TEST (DinLink, AKnobOvertakesAutomationAndMessagesKeepTheirOrder)
{
    DinRig rig;
    auto& c = *rig.controller;
    const auto& table = c.getTable();
    rig.settle();
    rig.drain();
    rig.standIn.clearReceivedMessages();

    std::map<int, std::vector<int>> sent;
    int automated = 0;
    for (int i = 0; i < 624 && automated < 200; ++i)
    {
        const int position = table.positionOfAutomationIndex (i);
        if (position >= ParameterTable::kProgramPositions || table.nrpnOf (position) < 0 || position == 85)
            continue;
        const int value = (c.getValue (position) + 1) % (table.maximum (position) + 1);
        c.setParameterValue (position, value);
        sent[position].push_back (value);
        ++automated;
    }
    for (int v = 10; v <= 60; ++v)
    {
        c.sendParameterNrpn (85, v); // "LPF Freq" dragged
        sent[85].push_back (v);
    }
    c.sendNoteOn (1, 60, 100);
    c.sendParameterNrpn (85, 70);
    sent[85].push_back (70);
    c.sendNoteOff (1, 60);
    c.sendPitchWheel (1, 9000);
    rig.drain();

    EXPECT_EQ (rig.devices->getDroppedEvents(), 0);
    const auto heard = rig.standIn.getReceivedMessages();
    expectWholeNrpns (heard, sent);

    // In order: 85 = 60 (the drag's newest), the note, 85 = 70, the note off, the wheel.
    std::vector<std::string> order;
    int selections = 0, selectionsBeforeTheNote = -1;
    int msb = -1, lsb = -1, dataMsb = 0;
    for (const auto& m : heard)
    {
        if (m.size() == 3 && m[0] == 0x90)
        {
            order.push_back ("note on");
            selectionsBeforeTheNote = selections;
        }
        else if (m.size() == 3 && m[0] == 0x80)
            order.push_back ("note off");
        else if (m.size() == 3 && m[0] == 0xE0)
            order.push_back ("wheel");
        else if (m.size() == 3 && m[0] == 0xB0)
        {
            if (m[1] == 99)
                msb = m[2], ++selections;
            else if (m[1] == 98)
                lsb = m[2];
            else if (m[1] == 6)
                dataMsb = m[2];
            else if (m[1] == 38 && table.positionOfNrpn (msb * 128 + lsb) == 85)
                order.push_back ("85=" + std::to_string (dataMsb * 128 + m[2]));
        }
    }
    EXPECT_EQ (order, (std::vector<std::string> { "85=60", "note on", "85=70", "note off", "wheel" }));
    // Only what was already in the kernel's window went before the knob.
    EXPECT_LT (selectionsBeforeTheNote, 15);
    EXPECT_EQ (selections, automated + 1);
    EXPECT_EQ (rig.standIn.getEditBuffer()[85], 70);
}
