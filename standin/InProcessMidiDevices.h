#pragma once

#include "midi/MidiDevices.h"
#include "standin/Prophet12StandIn.h"

#include <condition_variable>
#include <mutex>

// MIDI devices that live inside the process: the port named kStandInPort is cabled to a simulated
// instrument (a Prophet12StandIn, or any Prophet12Simulator), any other listed port opens but leads nowhere, and ports
// named in `unopenable` refuse to open. The output records every call it receives, so a test can check how a message
// was handed over (chunks, order, background thread), not only which bytes arrived.
//
// Like juce::MidiOutput, messages given to sendBlockOfMessages wait while the background thread is
// stopped and go out when it starts; clearAllPendingMessages drops them.
class InProcessMidiDevices final : public MidiDevices
{
public:
    static constexpr const char* kStandInPort = "Prophet 12 Stand-in";

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

private:
    friend class InProcessOutput;
    void record (OutputCall call);
    void waitWhileHeld();

    Prophet12Simulator& standIn;
    mutable std::mutex mutex;
    juce::StringArray inputNames, outputNames, refused;
    std::vector<OutputCall> calls;
    mutable std::mutex holdMutex;
    std::condition_variable holdChanged;
    bool holding = false;
    int heldSends = 0;
    std::atomic<int> openedInputs { 0 }, openedOutputs { 0 };
};
