#pragma once

#include "midi/MidiCntrState.h"
#include "standin/InProcessMidiDevices.h"

#include <gtest/gtest.h>
#include <juce_audio_processors/juce_audio_processors.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

// A folder of its own below the system's temporary folder, removed with the object. mkdtemp makes
// the name and the folder in one step, so test processes running side by side never share one.
struct ScratchFolder
{
    ScratchFolder() : folder (makeFolder()) {}
    ~ScratchFolder() { folder.deleteRecursively(); }

    juce::File folder;

private:
    static juce::File makeFolder()
    {
        auto pattern = juce::File::getSpecialLocation (juce::File::tempDirectory)
                           .getChildFile ("ostrel-test-XXXXXX")
                           .getFullPathName()
                           .toStdString();
        if (::mkdtemp (pattern.data()) == nullptr)
            ADD_FAILURE() << "no scratch folder: " << std::strerror (errno);
        return juce::File (pattern);
    }
};

// What a host hears from the processor: parameter values, gesture begins and ends, and how often it
// was told the programs changed.
struct HostListener : juce::AudioProcessorListener
{
    void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float value) override
    {
        changes.push_back ({ index, value });
    }
    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails& details) override
    {
        programChanges += details.programChanged ? 1 : 0;
    }
    void audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index) override
    {
        begins.push_back (index);
    }
    void audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index) override { ends.push_back (index); }
    void clear()
    {
        changes.clear();
        begins.clear();
        ends.clear();
    }

    std::vector<std::pair<int, float>> changes;
    std::vector<int> begins, ends;
    int programChanges = 0;
};

// The bytes of a string literal, without its terminator.
template <size_t N>
juce::MemoryBlock literalBytes (const char (&text)[N])
{
    return juce::MemoryBlock (text, N - 1);
}

// Writes a ports file that names the given input and output.
inline void writePortsFile (const SettingsFiles::Folder& folder, const juce::String& input, const juce::String& output)
{
    PortsFile::Settings ports;
    ports.input = input;
    ports.output = output;
    ASSERT_TRUE (SettingsFiles::writeAtomically (folder.portsFile(), PortsFile::encode (ports)));
}

// The plug-in's controller cabled to the instrument stand-in through the in-process MIDI devices,
// with its files in a scratch folder.
class Rig
{
public:
    explicit Rig (bool connected = true, juce::StringArray inputs = { InProcessMidiDevices::kStandInPort },
                  juce::StringArray outputs = { InProcessMidiDevices::kStandInPort })
        : devices (std::make_shared<InProcessMidiDevices> (standIn, std::move (inputs), std::move (outputs)))
    {
        if (connected)
            writePortsFile (folder(), InProcessMidiDevices::kStandInPort, InProcessMidiDevices::kStandInPort);
        start();
    }

    ~Rig() { stop(); }

    void start()
    {
        controller = std::make_unique<MidiCntrState> (MidiCntrState::Environment { devices, scratch.folder });
    }
    void stop()
    {
        controller.reset();
        standIn.waitUntilIdle();
    }

    SettingsFiles::Folder folder() const { return SettingsFiles::Folder (scratch.folder); }

    // Everything sent has arrived and everything answered has been taken in.
    void settle() { ASSERT_TRUE (standIn.waitUntilIdle()); }

    // The messages of every sendBlock call since the last clear, in order.
    std::vector<std::vector<std::vector<uint8_t>>> sentBlocks() const
    {
        std::vector<std::vector<std::vector<uint8_t>>> blocks;
        for (const auto& call : devices->getOutputCalls())
            if (call.kind == InProcessMidiDevices::OutputCall::Kind::sendBlock)
                blocks.push_back (call.messages);
        return blocks;
    }

    ScratchFolder scratch;
    Prophet12StandIn standIn;
    std::shared_ptr<InProcessMidiDevices> devices;
    std::unique_ptr<MidiCntrState> controller;
};

// The same, but the instrument hangs on a MIDI interface ("MIDI Interface 1", which the port layer
// takes for a DIN link) whose cable is modelled on a simulated clock: a 4096-byte kernel buffer
// drained at 3125 bytes a second, dropping whole events that do not fit.
class DinRig : public Rig
{
public:
    DinRig() : Rig (false, { InProcessMidiDevices::kInterfacePort }, { InProcessMidiDevices::kInterfacePort })
    {
        stop();
        devices->modelLink (clock);
        writePortsFile (folder(), InProcessMidiDevices::kInterfacePort, InProcessMidiDevices::kInterfacePort);
        start();
    }

    // Lets the clock run until the port has nothing left and the cable has carried it all.
    void drain()
    {
        auto& ports = controller->getPorts();
        for (int i = 0; i < 1000000 && (ports.getBacklogMicroseconds() > 0 || clock->hasAlarms()); ++i)
            clock->advance (10000);
        clock->advanceTo (std::max (clock->nowMicroseconds(), devices->getCableFreeAt()));
        settle();
    }

    // Everything the cable carried, byte after byte.
    std::vector<uint8_t> wireBytes() const
    {
        std::vector<uint8_t> bytes;
        for (const auto& event : devices->getWireEvents())
            bytes.insert (bytes.end(), event.bytes.begin(), event.bytes.end());
        return bytes;
    }

    std::shared_ptr<SimulatedClock> clock = std::make_shared<SimulatedClock>();
};
