#pragma once

#include "midi/MidiDevices.h"
#include "standin/Prophet12StandIn.h"
#include "standin/SimulatedClock.h"

#include <condition_variable>
#include <mutex>
#include <optional>

// MIDI devices that live inside the process: the port named kStandInPort is cabled to a simulated
// instrument (a Prophet12StandIn, or any Prophet12Simulator), any other listed port opens but leads nowhere, and ports
// named in `unopenable` refuse to open. The output records every call it receives, so a test can check how a message
// was handed over (chunks, order, background thread), not only which bytes arrived.
//
// Like juce::MidiOutput, messages given to sendBlockOfMessages wait while the background thread is
// stopped and go out when it starts; clearAllPendingMessages drops them.
//
// modelLink() puts a MIDI cable behind every output, as Linux has it: each message is one ALSA
// event, written into a 4096-byte buffer that the cable drains at its byte rate on a simulated
// clock; an event that does not fit in what is free is dropped whole and counted, as the kernel's
// MIDI driver does. What the cable carries is recorded with the time its last byte left.
class InProcessMidiDevices final : public MidiDevices
{
public:
    static constexpr const char* kStandInPort = "Prophet 12 Stand-in";
    // A MIDI interface with a DIN cable to the instrument: cabled to the stand-in as well.
    static constexpr const char* kInterfacePort = "MIDI Interface 1";

    struct LinkModel
    {
        int bytesPerSecond = Prophet12Simulator::kDinBytesPerSecond;
        int bufferBytes = 4096;
    };
    struct WireEvent
    {
        int64_t leftAt; // microseconds on the simulated clock: its last byte is on the instrument's side
        std::vector<uint8_t> bytes;
    };

    struct OutputCall
    {
        enum class Kind
        {
            sendBlock,
            sendNow,
            clearPending,
            stopThread,
            startThread
        };
        Kind kind;
        std::vector<std::vector<uint8_t>> messages;
    };

    explicit InProcessMidiDevices (Prophet12Simulator& standIn, juce::StringArray inputs = { kStandInPort },
                                   juce::StringArray outputs = { kStandInPort }, juce::StringArray unopenable = {});

    juce::StringArray getInputNames() override;
    juce::StringArray getOutputNames() override;
    std::unique_ptr<MidiInputPort> openInput (int index, juce::MidiInputCallback* callback) override;
    std::unique_ptr<MidiOutputPort> openOutput (int index) override;

    void setPortNames (juce::StringArray inputs, juce::StringArray outputs);

    std::vector<OutputCall> getOutputCalls() const;
    void clearOutputCalls();
    int getOpenedInputCount() const { return openedInputs; }

    // While held, sendMessageNow waits, as a driver does while it writes a long dump at wire speed.
    void holdImmediateSends (bool hold);
    int getHeldSends() const; // sendMessageNow calls waiting now
    int getOpenedOutputCount() const { return openedOutputs; }

    // ---- The cable ------------------------------------------------------------------------------
    void modelLink (std::shared_ptr<SimulatedClock> clock, LinkModel model);
    void modelLink (std::shared_ptr<SimulatedClock> clock) { modelLink (std::move (clock), LinkModel()); }
    std::shared_ptr<LinkClock> getClock() override;
    int getDroppedEvents() const;
    int64_t getDroppedBytes() const;
    std::vector<WireEvent> getWireEvents() const;
    // When the cable will have carried everything it was given.
    int64_t getCableFreeAt() const;

private:
    friend class InProcessOutput;
    void record (OutputCall call);
    void waitWhileHeld();
    bool carry (const std::vector<uint8_t>& event); // false: dropped by the kernel

    Prophet12Simulator& standIn;
    mutable std::mutex mutex;
    juce::StringArray inputNames, outputNames, refused;
    std::vector<OutputCall> calls;
    mutable std::mutex holdMutex;
    std::condition_variable holdChanged;
    bool holding = false;
    int heldSends = 0;
    std::atomic<int> openedInputs { 0 }, openedOutputs { 0 };

    mutable std::mutex cableMutex;
    std::shared_ptr<SimulatedClock> cableClock;
    std::optional<LinkModel> link;
    double bufferedBytes = 0.0;
    int64_t bufferedAt = 0;
    int droppedEvents = 0;
    int64_t droppedBytes = 0;
    std::vector<WireEvent> wire;
};
