#include "TestRig.h"
#include "midi/Transfers.h"
#include "model/FactoryData.h"

#include <alsa/asoundlib.h>

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
