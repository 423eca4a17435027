#pragma once

#include "midi/MidiDevices.h"

#include <functional>
#include <vector>

// The two MIDI ports the plug-in opens itself to reach the instrument, and everything that goes out
// on the output. List indices are as the setup panel shows them: 0 = "NONE", k = device k - 1.
//
// Sends may come from the message thread, the host's parameter thread (which may be the audio
// thread), the MIDI input thread and the play panel at once. A long SysEx holds the output for as
// long as the driver takes to write it; nothing else ever waits for that: ordinary messages are
// handed to a short queue that whoever holds the output empties before letting it go.
class MIDI_PORTS_Control
{
public:
    // SysEx up to this size goes through the background thread like any message; longer dumps go
    // out at once, as one complete message, with the background thread stopped.
    static constexpr int kSysExChunkBytes = 256;

    explicit MIDI_PORTS_Control (std::shared_ptr<MidiDevices> devices);
    ~MIDI_PORTS_Control();

    MidiDevices& getDevices() noexcept { return *devices; }

    void reopenInput (int listIndex, juce::MidiInputCallback* callback);
    void reopenOutput (int listIndex);
    void closeInput();
    // Stops the input's callbacks without forgetting which port is chosen; after it returns no
    // callback runs and none will start.
    void stopInput();
    void closeOutput();

    bool isInputOpen() const noexcept { return inputOpen; }
    bool isOutputOpen() const noexcept { return outputOpen; }
    int getInputIndex() const noexcept { return inputIndex; }
    int getOutputIndex() const noexcept { return outputIndex; }

    // Stored in the ports file and shown in the setup panel. A dump is never cut into pieces of
    // this size: ALSA's encoder (and JUCE's Linux output, which resets it after every message) only
    // turns a complete F0 .. F7 message into a SysEx event, and the driver paces it on the wire.
    void setSysExBufferSize (int size) noexcept { sysExBufferSize = size; }
    int getSysExBufferSize() const noexcept { return sysExBufferSize; }

    // Hands the buffer to the output's background thread to be sent at once. Never waits for a
    // SysEx being written: while one is, the buffer is queued and follows it.
    void sendBuffer (const juce::MidiBuffer& buffer);
    void sendMessage (const juce::MidiMessage& message); // one message, through sendBuffer
    void sendController (int channel, int number, int value);
    void sendProgramChange (int channel, int program);
    void sendNoteOff (int channel, int note);

    // Up to 256 bytes go as one message through sendBuffer; a longer block first drops what waits
    // in the output's queue, then goes out at once as one message with the background thread stopped.
    void sendSysEx (const void* data, size_t size);
    void sendSysEx (const juce::MemoryBlock& block) { sendSysEx (block.getData(), block.getSize()); }

    // Called while a long SysEx drops the output's waiting messages: `guard` is held around the drop
    // and the call, so whoever decides what to send under the same lock sees a consistent picture
    // (the controller forgets its NRPN repeat memory, whose last messages may just have been dropped).
    void setPendingDroppedHandler (juce::CriticalSection* guard, std::function<void()> handler);

private:
    void sendBufferLocked (const juce::MidiBuffer& buffer);
    void drainQueued();

    std::shared_ptr<MidiDevices> devices;

    juce::CriticalSection outputLock;
    juce::CriticalSection queueLock; // never held across I/O
    std::vector<juce::MidiBuffer> queued;
    juce::CriticalSection* droppedGuard = nullptr;
    std::function<void()> onPendingDropped;
    std::unique_ptr<MidiOutputPort> output;
    std::unique_ptr<MidiInputPort> input;
    std::atomic<bool> inputOpen { false }, outputOpen { false };
    std::atomic<int> inputIndex { -1 }, outputIndex { -1 };
    std::atomic<int> sysExBufferSize { 0 };
};
