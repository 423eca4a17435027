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
// Which output ports are paced as a DIN cable: the instrument's own USB port and the simulator are
// fast, anything else is a MIDI interface unless the user says otherwise.
TEST (Ports, TheLinkOfAPort)
{
    using Choice = OutputLink::Choice;
    struct Case
    {
        const char* name;
        Choice choice;
        bool paced;
    };
    for (const auto& k :
         { Case { "Prophet 12:Prophet 12 MIDI 1 24:0", Choice::automatic, false },
           Case { "Prophet 12 Simulator", Choice::automatic, false },
           Case { "USB MIDI Interface MIDI 1", Choice::automatic, true },
           Case { "Midi Through Port-0", Choice::automatic, true },
           Case { "USB MIDI Interface MIDI 1", Choice::usb, false }, Case { "Prophet 12 MIDI 1", Choice::din, true } })
        EXPECT_EQ (OutputLink::isPaced (k.choice, k.name), k.paced) << k.name;
}

// The choice is kept per output port in a file of its own beside the ports file, whose bytes stay
// exactly what they always were; while every port is automatic there is no such file.
TEST (Ports, TheLinkChoiceIsRememberedPerPortBesideThePortsFile)
{
    const juce::StringArray ports { InProcessMidiDevices::kStandInPort, InProcessMidiDevices::kInterfacePort };
    Rig rig (false, ports, ports);
    auto& c = *rig.controller;
    const auto linkFile = rig.folder().portsFile().getSiblingFile (PortsFile::kLinkFileName);

    c.selectOutput (2);
    EXPECT_TRUE (c.getPorts().isPaced());
    c.savePortsFile();
    EXPECT_FALSE (linkFile.existsAsFile());

    c.setOutputLinkChoice (OutputLink::Choice::usb);
    EXPECT_FALSE (c.getPorts().isPaced());
    c.selectOutput (1); // the instrument's own port: automatic, fast
    EXPECT_EQ (c.getOutputLinkChoice(), OutputLink::Choice::automatic);
    EXPECT_FALSE (c.getPorts().isPaced());
    c.selectOutput (2); // the interface again: the user's choice comes back
    EXPECT_EQ (c.getOutputLinkChoice(), OutputLink::Choice::usb);

    c.savePortsFile();
    juce::MemoryBlock content;
    ASSERT_TRUE (rig.folder().portsFile().loadFileAsData (content));
    EXPECT_EQ (content, literalBytes ("NONE\x0FMIDI Interface 1\x10NONE\x11"
                                      "0\x12"));
    EXPECT_EQ (linkFile.loadFileAsString(), "USB\tMIDI Interface 1\n");

    rig.stop();
    rig.start();
    EXPECT_TRUE (rig.controller->getPorts().isOutputOpen());
    EXPECT_EQ (rig.controller->getOutputLinkChoice(), OutputLink::Choice::usb);
    EXPECT_FALSE (rig.controller->getPorts().isPaced());

    // Back to automatic: nothing is left to remember.
    rig.controller->setOutputLinkChoice (OutputLink::Choice::automatic);
    rig.controller->savePortsFile();
    EXPECT_FALSE (linkFile.existsAsFile());

    const auto read = PortsFile::decodeLinks ("DIN\tOut A\nnonsense\nUSB\t\nXYZ\tOut B\nUSB\tOut C", 43);
    EXPECT_EQ (read,
               (PortsFile::LinkChoices { { "Out A", OutputLink::Choice::din }, { "Out C", OutputLink::Choice::usb } }));
}
} // namespace
