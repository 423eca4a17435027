#include "TestRig.h"

namespace
{
using Settings = PortsFile::Settings;

TEST (PortsFile, Layout)
{
    Settings s;
    s.input = "USB MIDI 1";
    s.output = "USB MIDI 2";
    s.sysExBufferSize = 1;
    const auto block = PortsFile::encode (s);
    EXPECT_EQ (block, literalBytes ("USB MIDI 1\x0FUSB MIDI 2\x10NONE\x11"
                                    "1\x12"));

    Settings back;
    PortsFile::decode (block.getData(), block.getSize(), back);
    EXPECT_EQ (back.input, s.input);
    EXPECT_EQ (back.output, s.output);
    EXPECT_EQ (back.reserved, "NONE");
    EXPECT_EQ (back.sysExBufferSize, 1);
}

TEST (PortsFile, DamagedFilesKeepTheDefaults)
{
    struct Case
    {
        const char* name;
        std::string bytes;
        const char *input, *output, *reserved;
        int sysEx;
    };
    const Case cases[] = {
        { "no separators", "Port A", "NONE", "NONE", "NONE", 0 },
        { "input only", "Port A\x0F", "Port A", "NONE", "NONE", 0 },
        { "output separator missing", "Port A\x0FPort B\x11X\x12", "Port A", "NONE", "NONE", 0 },
        { "out of order",
          "Port A\x10Port B\x0FX\x11"
          "5\x12",
          "Port A\x10Port B", "NONE", "NONE", 5 },
        { "size before its separator",
          "\x12"
          "A\x0F"
          "B\x10"
          "C\x11",
          "\x12"
          "A",
          "B", "C", 0 },
        { "empty input text",
          "\x0FPort B\x10R\x11"
          "0\x12",
          "NONE", "Port B", "R", 0 },
        { "last separators count",
          "A\x0F"
          "B\x0F"
          "C\x10"
          "D\x11"
          "2\x12",
          "A\x0F"
          "B",
          "C", "D", 2 },
    };
    for (const auto& k : cases)
    {
        SCOPED_TRACE (k.name);
        // An exact-size copy on the heap, so a read past the end would show under a sanitizer.
        std::vector<uint8_t> data (k.bytes.begin(), k.bytes.end());
        Settings s;
        PortsFile::decode (data.data(), data.size(), s);
        EXPECT_EQ (s.input, juce::String (k.input));
        EXPECT_EQ (s.output, juce::String (k.output));
        EXPECT_EQ (s.reserved, juce::String (k.reserved));
        EXPECT_EQ (s.sysExBufferSize, k.sysEx);
    }
}

TEST (Ports, StartUpOpensThePortsOfTheFileByExactName)
{
    Prophet12StandIn standIn;
    auto devices = std::make_shared<InProcessMidiDevices> (
        standIn, juce::StringArray { "Other In", InProcessMidiDevices::kStandInPort },
        juce::StringArray { "Other Out", "prophet 12 stand-in", InProcessMidiDevices::kStandInPort });
    ScratchFolder scratch;
    writePortsFile (SettingsFiles::Folder (scratch.folder), InProcessMidiDevices::kStandInPort,
                    InProcessMidiDevices::kStandInPort);

    MidiCntrState c ({ devices, scratch.folder });
    EXPECT_TRUE (c.getPorts().isInputOpen());
    EXPECT_EQ (c.getPorts().getInputIndex(), 1);
    EXPECT_TRUE (c.getPorts().isOutputOpen());
    EXPECT_EQ (c.getPorts().getOutputIndex(), 2); // matched case and spacing exactly

    c.requestGlobals();
    standIn.waitUntilIdle();
    EXPECT_TRUE (c.hasInstrumentAnswered());
}

TEST (Ports, NamesThatAreGoneOrTooShortOpenNothing)
{
    for (const auto* name : { "Vanished Port", "Pr", "" })
    {
        SCOPED_TRACE (name);
        Prophet12StandIn standIn;
        auto devices = std::make_shared<InProcessMidiDevices> (standIn, juce::StringArray { "Pr", "Other" },
                                                               juce::StringArray { "Pr", "Other" });
        ScratchFolder scratch;
        writePortsFile (SettingsFiles::Folder (scratch.folder), name, name);

        MidiCntrState c ({ devices, scratch.folder });
        EXPECT_FALSE (c.getPorts().isInputOpen());
        EXPECT_FALSE (c.getPorts().isOutputOpen());
        EXPECT_EQ (devices->getOpenedInputCount(), 0);
        // The name stays until the user picks another port.
        if (juce::String (name).isNotEmpty())
        {
            EXPECT_EQ (c.getPortSettings().input, name);
        }
    }
}

TEST (Ports, ATwoByteFileIsReplacedByTheDefaults)
{
    Prophet12StandIn standIn;
    ScratchFolder scratch;
    const SettingsFiles::Folder folder (scratch.folder);
    folder.settingsFolder().createDirectory();
    folder.portsFile().replaceWithData ("AB", 2);

    MidiCntrState c ({ std::make_shared<InProcessMidiDevices> (standIn), scratch.folder });
    juce::MemoryBlock content;
    folder.portsFile().loadFileAsData (content);
    EXPECT_EQ (content, literalBytes ("NONE\x0FNONE\x10NONE\x11"
                                      "0\x12")); // 17 bytes
    EXPECT_EQ (c.getPortSettings().input, "NONE");
}

TEST (Ports, SelectingPorts)
{
    Rig rig (false, { "In 1", InProcessMidiDevices::kStandInPort },
             { "Out 1", InProcessMidiDevices::kStandInPort, "Broken" });
    auto& c = *rig.controller;

    c.selectInput (2);
    c.selectOutput (2);
    EXPECT_TRUE (c.getPorts().isInputOpen());
    EXPECT_TRUE (c.getPorts().isOutputOpen());
    EXPECT_EQ (c.getPortSettings().output, InProcessMidiDevices::kStandInPort);

    c.requestGlobals();
    rig.settle();
    EXPECT_TRUE (c.hasInstrumentAnswered());

    // Index 0 closes the port and stores "NONE"; the file is written when asked.
    c.selectOutput (0);
    EXPECT_FALSE (c.getPorts().isOutputOpen());
    EXPECT_EQ (c.getPorts().getOutputIndex(), -1);
    c.getPorts().setSysExBufferSize (1);
    c.savePortsFile();
    juce::MemoryBlock content;
    rig.folder().portsFile().loadFileAsData (content);
    EXPECT_EQ (content, literalBytes ("Prophet 12 Stand-in\x0FNONE\x10NONE\x11"
                                      "1\x12"));

    // A probe with the output closed still goes off line.
    c.requestGlobals();
    EXPECT_FALSE (c.hasInstrumentAnswered());

    // A port that fails to open keeps its index, with the port marked closed.
    MIDI_PORTS_Control ports (std::make_shared<InProcessMidiDevices> (
        rig.standIn, juce::StringArray {}, juce::StringArray { "Broken" }, juce::StringArray { "Broken" }));
    ports.reopenOutput (1);
    EXPECT_EQ (ports.getOutputIndex(), 0);
    EXPECT_FALSE (ports.isOutputOpen());
    ports.sendSysEx ("\xF0\x01\xF7", 3); // skipped, not crashed
}
} // namespace
