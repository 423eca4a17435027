#include "midi/SimulatorDevices.h"

#include <cmath>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

namespace
{
// The simulator's output port, with the behaviour of juce::MidiOutput: sendBlockOfMessages hands
// timed messages to a background thread that delivers each when its time comes; sendMessageNow
// delivers on the caller's thread; stopping the thread drops what still waits (as JUCE's run()
// does on exit), and messages handed over while it is stopped wait for the next start.
class SimulatorOutput final : public MidiOutputPort
{
public:
    static constexpr double kLongestWait = 60000.0;

    explicit SimulatorOutput (Prophet12Simulator& s) : simulator (s) {}
    ~SimulatorOutput() override { stopBackgroundThread(); }

    void sendBlockOfMessages (const juce::MidiBuffer& buffer, double startAt, double samplesPerSecond) override
    {
        const double millisecondsPerSample = samplesPerSecond > 0.0 ? 1000.0 / samplesPerSecond : 0.0;
        {
            const std::lock_guard<std::mutex> guard (mutex);
            for (const auto metadata : buffer)
                // Equal times keep the order they were given in, as JUCE's sorted insert does.
                pending.emplace (startAt + millisecondsPerSample * metadata.samplePosition,
                                 std::vector<uint8_t> (metadata.data, metadata.data + metadata.numBytes));
        }
        wake.notify_all();
    }

    void sendMessageNow (const juce::MidiMessage& message) override
    {
        simulator.receiveFromComputer (message.getRawData(), (size_t) message.getRawDataSize());
    }

    void clearAllPendingMessages() override
    {
        const std::lock_guard<std::mutex> guard (mutex);
        pending.clear();
    }

    void startBackgroundThread() override
    {
        const std::lock_guard<std::mutex> control (threadControl);
        if (thread.joinable())
            return;
        {
            const std::lock_guard<std::mutex> guard (mutex);
            threadShouldExit = false;
        }
        thread = std::thread ([this] { run(); });
    }

    void stopBackgroundThread() override
    {
        const std::lock_guard<std::mutex> control (threadControl);
        if (! thread.joinable())
            return;
        {
            const std::lock_guard<std::mutex> guard (mutex);
            threadShouldExit = true;
        }
        wake.notify_all();
        thread.join();
    }

private:
    void run()
    {
        std::unique_lock<std::mutex> guard (mutex);
        while (! threadShouldExit)
        {
            if (pending.empty())
            {
                wake.wait (guard);
                continue;
            }

            const auto first = pending.begin();
            // A time more than a minute ahead is the millisecond counter wrapping (or nonsense): due now.
            const double wait = first->first - (double) juce::Time::getMillisecondCounter();
            if (wait > 0.0 && wait < kLongestWait)
            {
                wake.wait_for (guard, std::chrono::milliseconds ((long long) std::ceil (wait)));
                continue;
            }

            // Unlike JUCE, a message more than 200 ms late still goes: a loaded machine (or a
            // sanitizer) must not lose a request, as no answer would ever come.
            auto bytes = std::move (first->second);
            pending.erase (first);
            guard.unlock();
            simulator.receiveFromComputer (bytes.data(), bytes.size());
            guard.lock();
        }
        pending.clear();
    }

    Prophet12Simulator& simulator;
    std::mutex threadControl; // start and stop, which may come from different threads
    std::mutex mutex;         // `pending` and `threadShouldExit`
    std::condition_variable wake;
    std::multimap<double, std::vector<uint8_t>> pending;
    bool threadShouldExit = false;
    std::thread thread;
};

// The simulator's input port. The simulator's wire thread plays the MIDI input thread: it calls the
// callback of every started input; stop() disconnects and returns once no call is running.
class SimulatorInput final : public MidiInputPort
{
public:
    SimulatorInput (Prophet12Simulator& s, juce::MidiInputCallback* cb) : simulator (s), callback (cb) {}
    ~SimulatorInput() override { stop(); }

    void start() override
    {
        const std::lock_guard<std::mutex> guard (mutex);
        if (! started && callback != nullptr)
            simulator.connectComputerInput (callback);
        started = true;
    }

    void stop() override
    {
        const std::lock_guard<std::mutex> guard (mutex);
        if (started && callback != nullptr)
            simulator.disconnectComputerInput (callback);
        started = false;
    }

private:
    Prophet12Simulator& simulator;
    juce::MidiInputCallback* const callback;
    std::mutex mutex;
    bool started = false;
};
} // namespace

SimulatorDevices::SimulatorDevices (std::shared_ptr<MidiDevices> c, std::function<Prophet12Simulator&()> s)
    : computer (std::move (c)), simulator (std::move (s))
{}

juce::StringArray SimulatorDevices::getInputNames()
{
    auto names = computer != nullptr ? computer->getInputNames() : juce::StringArray();
    names.add (kPortName);
    return names;
}

juce::StringArray SimulatorDevices::getOutputNames()
{
    auto names = computer != nullptr ? computer->getOutputNames() : juce::StringArray();
    names.add (kPortName);
    return names;
}

std::unique_ptr<MidiInputPort> SimulatorDevices::openInput (int index, juce::MidiInputCallback* callback)
{
    const int computerCount = computer != nullptr ? computer->getInputNames().size() : 0;
    if (index == computerCount)
        return openSimulatorInput (simulator(), callback);
    if (computer != nullptr && juce::isPositiveAndBelow (index, computerCount))
        return computer->openInput (index, callback);
    return nullptr;
}

std::unique_ptr<MidiOutputPort> SimulatorDevices::openOutput (int index)
{
    const int computerCount = computer != nullptr ? computer->getOutputNames().size() : 0;
    if (index == computerCount)
        return openSimulatorOutput (simulator());
    if (computer != nullptr && juce::isPositiveAndBelow (index, computerCount))
        return computer->openOutput (index);
    return nullptr;
}

std::unique_ptr<MidiInputPort> SimulatorDevices::openSimulatorInput (Prophet12Simulator& s,
                                                                     juce::MidiInputCallback* callback)
{
    return std::make_unique<SimulatorInput> (s, callback);
}

std::unique_ptr<MidiOutputPort> SimulatorDevices::openSimulatorOutput (Prophet12Simulator& s)
{
    return std::make_unique<SimulatorOutput> (s);
}
