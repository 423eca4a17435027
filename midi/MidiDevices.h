#pragma once

#include "midi/LinkClock.h"

#include <juce_audio_devices/juce_audio_devices.h>

#include <memory>

// The one seam between the plug-in and the computer's MIDI devices. The product uses the JUCE
// implementation below; tests, benchmarks and the GUI harness plug in an in-process pair wired to
// the instrument stand-in. The calls mirror juce::MidiInput and juce::MidiOutput one to one, so the
// port layer uses exactly the operations it would use on a real device.
class MidiOutputPort
{
public:
    virtual ~MidiOutputPort() = default;

    virtual void sendBlockOfMessages (const juce::MidiBuffer& buffer, double millisecondCounterToStartAt,
                                      double samplesPerSecondForBuffer) = 0;
    virtual void sendMessageNow (const juce::MidiMessage& message) = 0;
    virtual void clearAllPendingMessages() = 0;
    virtual void startBackgroundThread() = 0;
    virtual void stopBackgroundThread() = 0;
};

class MidiInputPort
{
public:
    virtual ~MidiInputPort() = default;

    virtual void start() = 0;
    // After stop() returns, no callback is running and none will start.
    virtual void stop() = 0;
};

class MidiDevices
{
public:
    virtual ~MidiDevices() = default;

    // Device names as the system lists them at this moment.
    virtual juce::StringArray getInputNames() = 0;
    virtual juce::StringArray getOutputNames() = 0;

    // Opens device `index` of the current list; nullptr when it cannot be opened.
    virtual std::unique_ptr<MidiInputPort> openInput (int index, juce::MidiInputCallback* callback) = 0;
    virtual std::unique_ptr<MidiOutputPort> openOutput (int index) = 0;

    // The time a paced output link is measured by: the computer's steady clock, unless the devices
    // live on a simulated one.
    virtual std::shared_ptr<LinkClock> getClock() { return LinkClock::system(); }

    // The computer's real MIDI devices, then the built-in "Prophet 12 Simulator" (SimulatorDevices).
    static std::shared_ptr<MidiDevices> createSystemDevices();
};
