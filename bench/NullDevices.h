#pragma once

#include "midi/MidiDevices.h"

#include <benchmark/benchmark.h>

// Ports that take everything and send it nowhere: the cost measured is the plug-in's own.
class NullOutput final : public MidiOutputPort
{
public:
    void sendBlockOfMessages (const juce::MidiBuffer& buffer, double, double) override
    {
        benchmark::DoNotOptimize (buffer.data.size());
    }
    void sendMessageNow (const juce::MidiMessage& m) override { benchmark::DoNotOptimize (m.getRawDataSize()); }
    void clearAllPendingMessages() override {}
    void startBackgroundThread() override {}
    void stopBackgroundThread() override {}
};

class NullDevices final : public MidiDevices
{
public:
    juce::StringArray getInputNames() override { return { "Bench" }; }
    juce::StringArray getOutputNames() override { return { "Bench" }; }
    std::unique_ptr<MidiInputPort> openInput (int, juce::MidiInputCallback*) override { return nullptr; }
    std::unique_ptr<MidiOutputPort> openOutput (int) override { return std::make_unique<NullOutput>(); }
};
