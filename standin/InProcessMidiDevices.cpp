#include "standin/InProcessMidiDevices.h"

#include <algorithm>
#include <cmath>

namespace
{
std::vector<uint8_t> bytesOf (const juce::MidiMessage& message)
{
    return { message.getRawData(), message.getRawData() + message.getRawDataSize() };
}
} // namespace

class InProcessOutput final : public MidiOutputPort
{
public:
    InProcessOutput (InProcessMidiDevices& d, Prophet12Simulator* target) : devices (d), standIn (target) {}

    void sendBlockOfMessages (const juce::MidiBuffer& buffer, double, double) override
    {
        InProcessMidiDevices::OutputCall call { InProcessMidiDevices::OutputCall::Kind::sendBlock, {} };
        for (const auto metadata : buffer)
            call.messages.push_back (bytesOf (metadata.getMessage()));

        const std::lock_guard<std::mutex> guard (mutex);
        devices.record (call);
        for (auto& m : call.messages)
            pending.push_back (std::move (m));
        if (running)
            flushLocked();
    }

    void sendMessageNow (const juce::MidiMessage& message) override
    {
        devices.waitWhileHeld();
        const std::lock_guard<std::mutex> guard (mutex);
        devices.record ({ InProcessMidiDevices::OutputCall::Kind::sendNow, { bytesOf (message) } });
        deliver (bytesOf (message));
    }

    void clearAllPendingMessages() override
    {
        const std::lock_guard<std::mutex> guard (mutex);
        devices.record ({ InProcessMidiDevices::OutputCall::Kind::clearPending, {} });
        pending.clear();
    }

    void startBackgroundThread() override
    {
        const std::lock_guard<std::mutex> guard (mutex);
        devices.record ({ InProcessMidiDevices::OutputCall::Kind::startThread, {} });
        running = true;
        flushLocked();
    }

    void stopBackgroundThread() override
    {
        const std::lock_guard<std::mutex> guard (mutex);
        devices.record ({ InProcessMidiDevices::OutputCall::Kind::stopThread, {} });
        running = false;
    }

private:
    void flushLocked()
    {
        for (auto& m : pending)
            deliver (m);
        pending.clear();
    }

    void deliver (const std::vector<uint8_t>& bytes)
    {
        if (! devices.carry (bytes))
            return;
        if (standIn != nullptr)
            standIn->receiveFromComputer (bytes.data(), bytes.size());
    }

    InProcessMidiDevices& devices;
    Prophet12Simulator* standIn;
    std::mutex mutex;
    std::vector<std::vector<uint8_t>> pending;
    bool running = false;
};

namespace
{
class InProcessInput final : public MidiInputPort
{
public:
    InProcessInput (Prophet12Simulator* target, juce::MidiInputCallback* cb) : standIn (target), callback (cb) {}
    ~InProcessInput() override { stop(); }

    void start() override
    {
        if (standIn != nullptr && ! started)
            standIn->connectComputerInput (callback);
        started = true;
    }

    void stop() override
    {
        if (standIn != nullptr && started)
            standIn->disconnectComputerInput (callback);
        started = false;
    }

private:
    Prophet12Simulator* standIn;
    juce::MidiInputCallback* callback;
    bool started = false;
};
} // namespace

InProcessMidiDevices::InProcessMidiDevices (Prophet12Simulator& s, juce::StringArray inputs, juce::StringArray outputs,
                                            juce::StringArray unopenable)
    : standIn (s), inputNames (std::move (inputs)), outputNames (std::move (outputs)), refused (std::move (unopenable))
{}

juce::StringArray InProcessMidiDevices::getInputNames()
{
    const std::lock_guard<std::mutex> guard (mutex);
    return inputNames;
}

juce::StringArray InProcessMidiDevices::getOutputNames()
{
    const std::lock_guard<std::mutex> guard (mutex);
    return outputNames;
}

void InProcessMidiDevices::setPortNames (juce::StringArray inputs, juce::StringArray outputs)
{
    const std::lock_guard<std::mutex> guard (mutex);
    inputNames = std::move (inputs);
    outputNames = std::move (outputs);
}

std::unique_ptr<MidiInputPort> InProcessMidiDevices::openInput (int index, juce::MidiInputCallback* callback)
{
    const auto names = getInputNames();
    if (! juce::isPositiveAndBelow (index, names.size()) || refused.contains (names[index]))
        return nullptr;
    ++openedInputs;
    const bool cabled = names[index] == kStandInPort || names[index] == kInterfacePort;
    return std::make_unique<InProcessInput> (cabled ? &standIn : nullptr, callback);
}

std::unique_ptr<MidiOutputPort> InProcessMidiDevices::openOutput (int index)
{
    const auto names = getOutputNames();
    if (! juce::isPositiveAndBelow (index, names.size()) || refused.contains (names[index]))
        return nullptr;
    ++openedOutputs;
    const bool cabled = names[index] == kStandInPort || names[index] == kInterfacePort;
    return std::make_unique<InProcessOutput> (*this, cabled ? &standIn : nullptr);
}

void InProcessMidiDevices::holdImmediateSends (bool hold)
{
    {
        const std::lock_guard<std::mutex> guard (holdMutex);
        holding = hold;
    }
    holdChanged.notify_all();
}

int InProcessMidiDevices::getHeldSends() const
{
    const std::lock_guard<std::mutex> guard (holdMutex);
    return heldSends;
}

void InProcessMidiDevices::waitWhileHeld()
{
    std::unique_lock<std::mutex> lock (holdMutex);
    ++heldSends;
    holdChanged.wait (lock, [this] { return ! holding; });
    --heldSends;
}

void InProcessMidiDevices::record (OutputCall call)
{
    const std::lock_guard<std::mutex> guard (mutex);
    calls.push_back (std::move (call));
}

std::vector<InProcessMidiDevices::OutputCall> InProcessMidiDevices::getOutputCalls() const
{
    const std::lock_guard<std::mutex> guard (mutex);
    return calls;
}

void InProcessMidiDevices::clearOutputCalls()
{
    const std::lock_guard<std::mutex> guard (mutex);
    calls.clear();
}

// ---- The cable -------------------------------------------------------------------------------------

void InProcessMidiDevices::modelLink (std::shared_ptr<SimulatedClock> clock, LinkModel model)
{
    const std::lock_guard<std::mutex> guard (cableMutex);
    cableClock = std::move (clock);
    link = model;
    bufferedBytes = 0.0;
    bufferedAt = cableClock->nowMicroseconds();
}

std::shared_ptr<LinkClock> InProcessMidiDevices::getClock()
{
    const std::lock_guard<std::mutex> guard (cableMutex);
    if (cableClock != nullptr)
        return cableClock;
    return MidiDevices::getClock();
}

bool InProcessMidiDevices::carry (const std::vector<uint8_t>& event)
{
    const std::lock_guard<std::mutex> guard (cableMutex);
    if (! link)
        return true;

    const int64_t now = cableClock->nowMicroseconds();
    const double rate = link->bytesPerSecond;
    // What the cable carried since the last event has left the buffer.
    bufferedBytes = std::max (0.0, bufferedBytes - (double) std::max<int64_t> (0, now - bufferedAt) * rate / 1.0e6);
    bufferedAt = std::max (bufferedAt, now);
    if ((double) event.size() > (double) link->bufferBytes - bufferedBytes + 1.0e-6)
    {
        ++droppedEvents; // "MIDI output buffer overrun", and nothing told to the sender
        droppedBytes += (int64_t) event.size();
        return false;
    }
    bufferedBytes += (double) event.size();
    wire.push_back ({ now + (int64_t) std::ceil (bufferedBytes * 1.0e6 / rate), event });
    return true;
}

int InProcessMidiDevices::getDroppedEvents() const
{
    const std::lock_guard<std::mutex> guard (cableMutex);
    return droppedEvents;
}

int64_t InProcessMidiDevices::getDroppedBytes() const
{
    const std::lock_guard<std::mutex> guard (cableMutex);
    return droppedBytes;
}

std::vector<InProcessMidiDevices::WireEvent> InProcessMidiDevices::getWireEvents() const
{
    const std::lock_guard<std::mutex> guard (cableMutex);
    return wire;
}

int64_t InProcessMidiDevices::getCableFreeAt() const
{
    const std::lock_guard<std::mutex> guard (cableMutex);
    return wire.empty() ? 0 : wire.back().leftAt;
}
