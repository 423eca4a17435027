#pragma once

#include "midi/MidiDevices.h"
#include "midi/Prophet12Simulator.h"

#include <functional>

// The computer's MIDI devices plus one more input and output, "Prophet 12 Simulator", listed after
// them and cabled to a simulated instrument inside the process. Every index below the computer's
// count means exactly what it means to the computer's devices, so ports files, saved indices and
// the setup panel's lists behave as before.
//
// Several plug-in instances in one process share the one simulator, as several programs can share
// one instrument through ALSA: every opened simulator input hears everything the simulator sends,
// and what every simulator output sends reaches it, message by message.
class SimulatorDevices final : public MidiDevices
{
public:
    static constexpr const char* kPortName = "Prophet 12 Simulator";

    // `simulator` is asked for only when a simulator port is opened, so merely listing the devices
    // makes no simulator.
    SimulatorDevices (std::shared_ptr<MidiDevices> computer, std::function<Prophet12Simulator&()> simulator);

    juce::StringArray getInputNames() override;
    juce::StringArray getOutputNames() override;
    std::unique_ptr<MidiInputPort> openInput (int index, juce::MidiInputCallback* callback) override;
    std::unique_ptr<MidiOutputPort> openOutput (int index) override;
    std::shared_ptr<LinkClock> getClock() override
    {
        return computer != nullptr ? computer->getClock() : LinkClock::system();
    }

    // The simulator's own ports, for whoever has a simulator at hand.
    static std::unique_ptr<MidiInputPort> openSimulatorInput (Prophet12Simulator& simulator,
                                                              juce::MidiInputCallback* callback);
    static std::unique_ptr<MidiOutputPort> openSimulatorOutput (Prophet12Simulator& simulator);

private:
    std::shared_ptr<MidiDevices> computer;
    std::function<Prophet12Simulator&()> simulator;
};
