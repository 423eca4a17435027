#pragma once

#include "midi/MidiDevices.h"

// The two MIDI ports the plug-in opens itself to reach the instrument, and everything that goes out
// on the output. List indices are as the setup panel shows them: 0 = "NONE", k = device k - 1.
//
// Sends may come from the message thread, the host's parameter thread and the MIDI input thread at
// once; one lock keeps a chunked SysEx in one piece and keeps the output alive while it is in use.
class MIDI_PORTS_Control
{
public:
    static constexpr int kSysExChunkBytes = 256;

    explicit MIDI_PORTS_Control (std::shared_ptr<MidiDevices> devices);
    ~MIDI_PORTS_Control();

    MidiDevices& getDevices() noexcept { return *devices; }

    void reopenInput (int listIndex, juce::MidiInputCallback* callback);
    void reopenOutput (int listIndex);
    void closeInput();
    void closeOutput();

    bool isInputOpen() const noexcept { return inputOpen; }
    bool isOutputOpen() const noexcept { return outputOpen; }
    int getInputIndex() const noexcept { return inputIndex; }
    int getOutputIndex() const noexcept { return outputIndex; }

    // Stored in the ports file only; outgoing SysEx is always cut into 256-byte pieces.
    void setSysExBufferSize (int size) noexcept { sysExBufferSize = size; }
    int getSysExBufferSize() const noexcept { return sysExBufferSize; }

    // Hands the buffer to the output's background thread to be sent at once.
    void sendBuffer (const juce::MidiBuffer& buffer);
    void sendMessage (const juce::MidiMessage& message); // one message, through sendBuffer
    void sendController (int channel, int number, int value);
    void sendProgramChange (int channel, int program);
    void sendNoteOff (int channel, int note);

    // Up to 256 bytes go as one message; longer blocks are sent at once in 256-byte pieces with the
    // background thread stopped, so nothing queued can slip between the pieces.
    void sendSysEx (const void* data, size_t size);
    void sendSysEx (const juce::MemoryBlock& block) { sendSysEx (block.getData(), block.getSize()); }

private:
    void sendBufferLocked (const juce::MidiBuffer& buffer);

    std::shared_ptr<MidiDevices> devices;

    juce::CriticalSection outputLock;
    std::unique_ptr<MidiOutputPort> output;
    std::unique_ptr<MidiInputPort> input;
    std::atomic<bool> inputOpen { false }, outputOpen { false };
    std::atomic<int> inputIndex { -1 }, outputIndex { -1 };
    std::atomic<int> sysExBufferSize { 0 };
};
