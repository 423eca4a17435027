#pragma once

#include "midi/LinkClock.h"
#include "midi/MidiDevices.h"
#include "midi/OutputLink.h"

#include <array>
#include <deque>
#include <functional>
#include <vector>

// The two MIDI ports the plug-in opens itself to reach the instrument, and everything that goes out
// on the output. List indices are as the setup panel shows them: 0 = "NONE", k = device k - 1.
//
// Sends may come from the message thread, the host's parameter thread (which may be the audio
// thread), the MIDI input thread and the play panel at once. A long SysEx holds the output for as
// long as the driver takes to write it; nothing else ever waits for that: ordinary messages are
// handed to a short queue that whoever holds the output empties before letting it go.
//
// On a paced link (a MIDI DIN cable, see OutputLink) nothing is handed to the port before the cable
// has room for it: messages wait in two lanes, emptied on the clock's thread, at once and then each
// time the cable has room for the next. Everything but host automation waits in the first lane, in
// order; host automation waits in the second, served when the first is empty. A parameter that
// waits takes the newest value given to it, so a drag or an automation ramp always ends on its last
// value, and its NRPN is made when it goes, against what the cable last carried, so the sequence is
// always whole. Nothing is ever dropped.
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

    // ---- The link ---------------------------------------------------------------------------------
    // The choice for the output port: for the open one at once, or only for the next one opened
    // (the open one is about to be closed, and what waits for it goes with it).
    void setLinkChoice (OutputLink::Choice choice, bool forTheOpenPort = true);
    OutputLink::Choice getLinkChoice() const noexcept { return linkChoice; }
    // The name of the open output (empty when none).
    juce::String getOutputName() const;
    // True while the open output is paced as a DIN link.
    bool isPaced() const noexcept { return paced; }

    // On a paced link: a parameter of the program (`position`, its NRPN number) or of the instrument
    // (a global, `position` < 0, never merged). Host automation waits behind everything else.
    void sendPacedNrpn (int channel, int position, int nrpn, int value, bool automation);

    // How long until everything handed over and everything waiting has left the cable; 0 on a fast link.
    int64_t getBacklogMicroseconds();

private:
    struct Waiting
    {
        std::vector<juce::MidiMessage> messages; // empty for a parameter
        int position = -1, nrpn = 0, value = 0, channel = 1;
        bool isParameter() const noexcept { return messages.empty(); }
    };
    static constexpr int kNrpnBytes = 12;
    static constexpr int kPositions = 1024;

    void sendBufferLocked (const juce::MidiBuffer& buffer);
    void drainQueued();

    void enqueuePaced (Waiting waiting);
    void wakePacer();
    void setAlarmLocked (int64_t at);
    bool pumpPaced();
    void pumpPacedLocked();
    bool takeNextPaced (Waiting& next, int64_t now);
    std::vector<juce::MidiMessage> encodePacedNrpn (const Waiting& w);
    static int bytesOf (const Waiting& w);
    void clearPacedLocked();
    void updatePaced();

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

    // The paced link. Lanes and `queuedBytes` under queueLock; the meter and the NRPN the cable last
    // carried under outputLock.
    std::shared_ptr<LinkClock> clock;
    std::atomic<OutputLink::Choice> linkChoice { OutputLink::Choice::automatic };
    std::atomic<bool> paced { false };
    juce::String outputName; // under outputLock
    std::deque<Waiting> firstLane;
    std::deque<int> automationOrder;
    std::array<Waiting, kPositions> automationWaiting {};
    std::array<bool, kPositions> automationQueued {};
    int64_t queuedBytes = 0;
    bool alarmSet = false;
    OutputLink::Meter meter;
    std::atomic<int64_t> wireFreeAt { 0 }; // the meter's end, for whoever asks without the output
    int wirePosition = -1, wireDataMsb = 0, wireDataLsb = 0;
};
