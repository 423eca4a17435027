// The built-in simulator through the real editor: the computer's device list as the product sees it,
// the MIDI setup panel, and the editor's own commands.
#include "midi/SimulatorDevices.h"
#include "tests/gui/GuiRig.h"
#include "ui/main/MainComp.h"

TEST (SimulatorEditor, ChosenInTheSetupItAnswersLikeTheInstrument)
{
    ScratchFolder scratch;
    OstrelAudioProcessor processor (MidiCntrState::Environment { MidiDevices::createSystemDevices(), scratch.folder });
    processor.getEditorState().aboutShown = true;
    MainComp main (processor);
    auto& c = processor.getController();

    main.performCommand (77); // "MIDI"
    auto* setup = main.getMidiSetup();
    ASSERT_NE (setup, nullptr);
    const int id = setup->getInputNames().indexOf (SimulatorDevices::kPortName);
    ASSERT_GT (id, 0) << "offered after \"NONE\" and the computer's devices";
    EXPECT_EQ (setup->getInputNames()[0], "NONE");

    setup->inputChosen (id + 1);
    setup->outputChosen (id + 1);
    ASSERT_TRUE (GuiRig::pumpUntil ([&] { return setup->getStatusText() == "DSI:  PROPHET 12 KBD ON-LINE"; }));
    EXPECT_EQ (main.getKeyboard().getStatusText(), "DSI:  PROPHET 12 KBD ON-LINE");

    // Turn a knob, forget it here, fetch the simulator's edit buffer: the new value comes back.
    const int position = 8;
    const int value = (c.getCurrentProgram()[position] + 17) % 128;
    processor.cableValueChanged (position, value, true, true, true);
    GuiRig::pump (50);
    c.storeValue (position, 0);
    main.performCommand (71); // "RECV"
    ASSERT_TRUE (GuiRig::pumpUntil ([&] { return c.getCurrentProgram()[position] == value; }));

    // The choice is kept in the ports file by name.
    setup->getOkButton().getButton().triggerClick();
    ASSERT_TRUE (GuiRig::pumpUntil ([&] { return main.getMidiSetup() == nullptr; }));
    juce::MemoryBlock ports;
    c.getFolder().portsFile().loadFileAsData (ports);
    EXPECT_TRUE (ports.toString().contains (SimulatorDevices::kPortName));
}
