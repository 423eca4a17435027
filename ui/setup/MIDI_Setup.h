#pragma once

#include "midi/MidiCntrState.h"
#include "ui/look/Check_But.h"
#include "ui/look/OstrelLookAndFeel.h"
#include "ui/look/StsBut.h"
#include "ui/look/StsLabel.h"
#include "ui/setup/Global_Container.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

// The MIDI setup panel: the MIDI input and output ports, the output's link (a MIDI DIN cable or the
// instrument's USB port), "Control Program Change with Automation", the SysEx buffer size, the
// instrument's on-line status and the global settings panel. It covers the
// whole editor while shown and exists only while shown.
//
// The panel changes nothing in the controller itself except the SysEx buffer size, the output's link
// and the probe sent when the global settings open (the size and the link reach their files when the
// ports file is saved); ports and the follow flag are the editor's to change. It broadcasts
// (command, value) with a synchronous change message; the editor reads getCommand() / getValue() and
// carries it out with performCommand():
//
//   opening ("MIDI" button):
//     midiSetup = std::make_unique<MIDI_Setup> (controller);
//     midiSetup->addChangeListener (this);
//     midiSetup->setBounds (getLocalBounds());
//     addAndMakeVisible (*midiSetup);
//     midiSetup->toFront (false);
//     controller.requestGlobals();
//   closing ("MIDI" button again):
//     controller.savePortsFile(); midiSetup.reset();
//   in changeListenerCallback, when source == midiSetup.get():
//     if (MIDI_Setup::performCommand (controller, midiSetup->getCommand(), midiSetup->getValue()))
//         close the panel AFTER the callback returns (the broadcaster is still inside its listener
//         loop: deleting it here would pull the list out from under it), e.g. from an async update;
//     else
//         midiSetup->refresh();
//   on notifications 0x12 / 0x13: midiSetup->setStatusText (the on-line / off-line text).
class MIDI_Setup : public juce::Component,
                   public juce::Timer,
                   public juce::ChangeListener,
                   public juce::ChangeBroadcaster,
                   public stsbutChangeListener,
                   public Global_Listener
{
public:
    // Commands broadcast to the editor, with their value.
    static constexpr int kOk = 203;                  // no value
    static constexpr int kFollowProgramChange = 212; // check box state 0 / 1
    static constexpr int kSelectInput = 300;         // input list index (0 = "NONE")
    static constexpr int kSelectOutput = 302;        // output list index (0 = "NONE")

    static constexpr int kGlobalsButtonId = 204;
    static constexpr int kCloseGlobalsMilliseconds = 100;

    // The global settings panel's place inside this one.
    static constexpr int kGlobalX = 38, kGlobalY = 285, kGlobalWidth = 750, kGlobalHeight = 350;

    static const char* const kInstructions;

    explicit MIDI_Setup (MidiCntrState& controller);
    ~MIDI_Setup() override;

    // The editor's side of the commands: probe, files, ports and the follow flag. True when the
    // panel is to be closed (OK); the editor then deletes it once the change callback has returned.
    static bool performCommand (MidiCntrState& controller, int command, int value);

    int getCommand() const noexcept { return lastCommand; }
    int getValue() const noexcept { return lastValue; }

    // Copies the ports' open flags, the follow flag and the SysEx buffer size back in from the
    // controller (after the editor has carried out a command).
    void refresh();
    void setStatusText (const juce::String& text);
    juce::String getStatusText() const { return statusLabel.getText(); }

    // ---- Ports ----------------------------------------------------------------------------------
    // "NONE" followed by the device names as the system lists them now. When the lists are rebuilt
    // (each time a port list opens) both boxes find the port they show again by its name.
    const juce::StringArray& getInputNames() const noexcept { return inputNames; }
    const juce::StringArray& getOutputNames() const noexcept { return outputNames; }
    int getShownInput() const noexcept { return shownInput; }
    int getShownOutput() const noexcept { return shownOutput; }
    bool isInputShownOpen() const noexcept { return inputOpen; }
    bool isOutputShownOpen() const noexcept { return outputOpen; }

    // Each pop-up lists the names with identifiers 1..n; it is not opened when the list holds only
    // "NONE". True when a menu was opened.
    bool openInputMenu();
    bool openOutputMenu();
    bool openSysExSizeMenu();
    bool openLinkMenu();
    static juce::PopupMenu buildPortMenu (const juce::StringArray& names);
    static juce::PopupMenu buildSysExSizeMenu();
    // 1 "Automatic (by port name)", 2 "MIDI DIN", 3 "USB"; the current choice ticked.
    static juce::PopupMenu buildLinkMenu (OutputLink::Choice current);
    // What the link label reads: "MIDI DIN" or "USB", with " (auto)" when taken from the port's name.
    static juce::String linkText (MidiCntrState& controller);

    // The pop-ups' results (0 = dismissed, nothing happens).
    void inputChosen (int id);
    void outputChosen (int id);
    void sysExSizeChosen (int id);
    void linkChosen (int id);

    // ---- Children -------------------------------------------------------------------------------
    Check_But& getFollowCheckBox() noexcept { return followCheckBox; }
    StsLabel& getSysExSizeLabel() noexcept { return sysExSizeLabel; }
    StsLabel& getLinkLabel() noexcept { return linkLabel; }
    StsLabel& getStatusLabel() noexcept { return statusLabel; }
    StsBut& getGlobalsButton() noexcept { return globalsButton; }
    StsBut& getOkButton() noexcept { return okButton; }
    juce::Label& getInstructionsLabel() noexcept { return instructionsLabel; }

    // ---- Global settings panel ------------------------------------------------------------------
    Global_Container* getGlobalPanel() noexcept { return globalPanel.get(); }
    void toggleGlobals();
    void showGlobals();
    void closeGlobals();

    void paint (juce::Graphics& g) override;
    void resized() override;
    void mouseDown (const juce::MouseEvent& e) override;

    void changeListenerCallback (juce::ChangeBroadcaster* source) override;
    void stsButClicked (StsBut* button) override;
    void globalPanelEvent (int code) override;
    void timerCallback() override;

private:
    void rebuildNames();
    void broadcast (int command, int value);
    void showSysExSize();
    void showLink();
    bool openMenu (juce::PopupMenu menu, juce::Component& target, void (MIDI_Setup::*handler) (int));
    bool openMenu (juce::PopupMenu menu, juce::Rectangle<int> area, void (MIDI_Setup::*handler) (int));
    bool openMenu (juce::PopupMenu menu, juce::PopupMenu::Options options, void (MIDI_Setup::*handler) (int));

    MidiCntrState& controller;

    juce::StringArray inputNames, outputNames;
    int shownInput = 0, shownOutput = 0;
    bool inputOpen = false, outputOpen = false;

    Check_But followCheckBox { "Control Program Change with Automation", true };
    StsLabel sysExSizeLabel;
    StsLabel linkLabel;
    StsBut okButton { "OK", kOk, StsBut::kDialogStyle };
    StsBut globalsButton { "GLOBALS", kGlobalsButtonId, StsBut::kDialogStyle };
    StsLabel statusLabel;
    juce::Label instructionsLabel { "glbLabel" };
    std::unique_ptr<Global_Container> globalPanel;

    int lastCommand = 0, lastValue = 0;

    juce::SharedResourcePointer<OstrelLookAndFeel> lookAndFeel;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MIDI_Setup)
};
