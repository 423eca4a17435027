#include "midi/MidiDevices.h"
#include "midi/SimulatorDevices.h"

namespace
{
class SystemOutput final : public MidiOutputPort
{
public:
    explicit SystemOutput (std::unique_ptr<juce::MidiOutput> device) : output (std::move (device)) {}

    void sendBlockOfMessages (const juce::MidiBuffer& buffer, double startAt, double samplesPerSecond) override
    {
        output->sendBlockOfMessages (buffer, startAt, samplesPerSecond);
    }
    void sendMessageNow (const juce::MidiMessage& message) override { output->sendMessageNow (message); }
    void clearAllPendingMessages() override { output->clearAllPendingMessages(); }
    void startBackgroundThread() override { output->startBackgroundThread(); }
    void stopBackgroundThread() override { output->stopBackgroundThread(); }

private:
    std::unique_ptr<juce::MidiOutput> output;
};

class SystemInput final : public MidiInputPort
{
public:
    explicit SystemInput (std::unique_ptr<juce::MidiInput> device) : input (std::move (device)) {}

    void start() override { input->start(); }
    void stop() override { input->stop(); }

private:
    std::unique_ptr<juce::MidiInput> input;
};

class SystemDevices final : public MidiDevices
{
public:
    juce::StringArray getInputNames() override { return namesOf (juce::MidiInput::getAvailableDevices()); }
    juce::StringArray getOutputNames() override { return namesOf (juce::MidiOutput::getAvailableDevices()); }

    std::unique_ptr<MidiInputPort> openInput (int index, juce::MidiInputCallback* callback) override
    {
        const auto devices = juce::MidiInput::getAvailableDevices();
        if (! juce::isPositiveAndBelow (index, devices.size()))
            return nullptr;
        if (auto device = juce::MidiInput::openDevice (devices[index].identifier, callback))
            return std::make_unique<SystemInput> (std::move (device));
        return nullptr;
    }

    std::unique_ptr<MidiOutputPort> openOutput (int index) override
    {
        const auto devices = juce::MidiOutput::getAvailableDevices();
        if (! juce::isPositiveAndBelow (index, devices.size()))
            return nullptr;
        if (auto device = juce::MidiOutput::openDevice (devices[index].identifier))
            return std::make_unique<SystemOutput> (std::move (device));
        return nullptr;
    }

private:
    static juce::StringArray namesOf (const juce::Array<juce::MidiDeviceInfo>& devices)
    {
        juce::StringArray names;
        for (const auto& device : devices)
            names.add (device.name);
        return names;
    }
};
} // namespace

// The computer's devices, and after them the simulated instrument, which lets every flow of the
// product be tried without the real one.
std::shared_ptr<MidiDevices> MidiDevices::createSystemDevices()
{
    return std::make_shared<SimulatorDevices> (std::make_shared<SystemDevices>(),
                                               []() -> Prophet12Simulator& { return Prophet12Simulator::shared(); });
}
