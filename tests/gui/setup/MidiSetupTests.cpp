#include "midi/PortsFile.h"
#include "model/GlobalSettings.h"
#include "tests/gui/GuiRig.h"
#include "ui/setup/Global_Container.h"
#include "ui/setup/MIDI_Setup.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
const std::vector<uint8_t> kProbe { 0xF0, 0x01, 0x2A, 0x0E, 0xF7 };
const juce::String kOtherPort = "Other Port";

// The main editor's part: carries out every command the panel broadcasts, as the editor does, and
// closes the panel on OK once the broadcast is over.
struct SetupOwner : juce::ChangeListener
{
    explicit SetupOwner (MidiCntrState& c) : controller (c), panel (std::make_unique<MIDI_Setup> (c))
    {
        panel->addChangeListener (this);
        panel->setBounds (0, 0, 1200, 730);
    }
    ~SetupOwner() override
    {
        if (panel != nullptr)
            panel->removeChangeListener (this);
    }

    void changeListenerCallback (juce::ChangeBroadcaster*) override
    {
        commands.push_back ({ panel->getCommand(), panel->getValue() });
        if (MIDI_Setup::performCommand (controller, panel->getCommand(), panel->getValue()))
            juce::MessageManager::callAsync ([this] { panel.reset(); });
        else
            panel->refresh();
    }

    MidiCntrState& controller;
    std::unique_ptr<MIDI_Setup> panel;
    std::vector<std::pair<int, int>> commands;
};

// Closes whatever pop-up menus are open; true when there was one.
bool closeOpenMenus()
{
    const bool open = juce::PopupMenu::dismissAllActiveMenus();
    GuiRig::pump (20);
    return open;
}

void click (StsBut& button)
{
    button.getButton().triggerClick();
    GuiRig::pump (30);
}

std::vector<juce::String> itemTexts (const juce::PopupMenu& menu)
{
    std::vector<juce::String> texts;
    for (juce::PopupMenu::MenuItemIterator it (menu); it.next();)
        texts.push_back (it.getItem().text);
    return texts;
}

class MidiSetup : public ::testing::Test
{
protected:
    MidiSetup()
    {
        rig.settle();
        rig.standIn.clearReceivedMessages();
        // A second port on each side that opens but leads nowhere.
        rig.devices->setPortNames ({ InProcessMidiDevices::kStandInPort, kOtherPort },
                                   { InProcessMidiDevices::kStandInPort, kOtherPort });
    }

    MidiCntrState& controller() { return rig.controller(); }

    GuiRig rig;
};
} // namespace

TEST_F (MidiSetup, OpensShowingThePortsInUseWithNoneFirst)
{
    SetupOwner owner (controller());
    auto& panel = *owner.panel;

    EXPECT_EQ (panel.getInputNames(), juce::StringArray ("NONE", InProcessMidiDevices::kStandInPort, kOtherPort));
    EXPECT_EQ (panel.getOutputNames()[0], "NONE");
    EXPECT_EQ (panel.getShownInput(), 1);
    EXPECT_EQ (panel.getShownOutput(), 1);
    EXPECT_TRUE (panel.isInputShownOpen());
    EXPECT_TRUE (panel.isOutputShownOpen());
    EXPECT_FALSE (panel.getFollowCheckBox().isOn());
    EXPECT_EQ (panel.getSysExSizeLabel().getText(), "256");
    EXPECT_TRUE (panel.getInstructionsLabel().getText().startsWith (
        "Prophet 12 Global Settings should be set manually as follows:\n\nMIDI Channel: All\n"));

    const auto menu = MIDI_Setup::buildPortMenu (panel.getInputNames());
    EXPECT_EQ (itemTexts (menu),
               (std::vector<juce::String> { "NONE", InProcessMidiDevices::kStandInPort, kOtherPort }));
    juce::PopupMenu::MenuItemIterator it (menu);
    ASSERT_TRUE (it.next());
    EXPECT_EQ (it.getItem().itemID, 1);
}

TEST_F (MidiSetup, PortMenuOpensOnlyInsideTheBoxAndNotWithNoneAlone)
{
    SetupOwner owner (controller());
    auto& panel = *owner.panel;
    Mouse mouse (panel);

    const struct
    {
        float x, y;
        bool opens;
    } presses[] = {
        { 61, 81, true },   { 349, 103, true }, { 61, 131, true },   { 349, 153, true },  { 60, 90, false },
        { 350, 90, false }, { 100, 80, false }, { 100, 104, false }, { 100, 130, false }, { 100, 154, false },
    };
    for (const auto& p : presses)
    {
        mouse.click (p.x, p.y);
        EXPECT_EQ (closeOpenMenus(), p.opens) << p.x << ", " << p.y;
    }

    // The SysEx size label opens its own pop-up.
    Mouse (panel.getSysExSizeLabel()).click (50, 8);
    EXPECT_TRUE (closeOpenMenus());

    // No device at all: the list holds only "NONE", and there is nothing to choose.
    rig.devices->setPortNames ({}, {});
    EXPECT_FALSE (panel.openInputMenu());
    EXPECT_FALSE (panel.openOutputMenu());
    mouse.click (100, 90);
    mouse.click (100, 140);
    EXPECT_FALSE (closeOpenMenus());
    EXPECT_TRUE (owner.commands.empty());
}

TEST_F (MidiSetup, ChoosingNoneClosesThePortAndChoosingAPortOpensIt)
{
    SetupOwner owner (controller());
    auto& panel = *owner.panel;
    auto& ports = controller().getPorts();

    panel.inputChosen (1); // "NONE"
    panel.outputChosen (1);
    EXPECT_EQ (owner.commands, (std::vector<std::pair<int, int>> { { 300, 0 }, { 302, 0 } }));
    EXPECT_FALSE (ports.isInputOpen());
    EXPECT_FALSE (ports.isOutputOpen());
    EXPECT_EQ (panel.getShownInput(), 0);
    EXPECT_FALSE (panel.isInputShownOpen());
    EXPECT_FALSE (panel.isOutputShownOpen());
    EXPECT_EQ (controller().getPortSettings().input, "NONE");
    EXPECT_EQ (controller().getPortSettings().output, "NONE");

    // A dismissed menu changes nothing.
    panel.outputChosen (0);
    EXPECT_EQ (owner.commands.size(), 2u);

    rig.settle();
    rig.standIn.clearReceivedMessages();
    panel.outputChosen (2); // the stand-in
    panel.inputChosen (2);
    EXPECT_EQ (owner.commands.back(), std::make_pair (300, 1));
    EXPECT_TRUE (ports.isOutputOpen());
    EXPECT_TRUE (ports.isInputOpen());
    EXPECT_TRUE (panel.isOutputShownOpen());
    EXPECT_TRUE (panel.isInputShownOpen());
    EXPECT_EQ (controller().getPortSettings().output, InProcessMidiDevices::kStandInPort);

    // Each selection probes through the port now open, and the answer comes back in.
    rig.settle();
    EXPECT_EQ (rig.standIn.countReceived (kProbe), 2);
    EXPECT_TRUE (controller().hasInstrumentAnswered());

    // A port that leads nowhere opens too, and the instrument stays silent.
    panel.outputChosen (3);
    EXPECT_EQ (ports.getOutputIndex(), 1);
    EXPECT_TRUE (panel.isOutputShownOpen());
    rig.settle();
    GuiRig::pump (20);
    EXPECT_FALSE (controller().hasInstrumentAnswered());
}

// The output's link: read from the port's name until the user chooses, chosen from the label's
// pop-up, remembered for that port, saved beside the ports file, and placed clear of every control.
TEST_F (MidiSetup, TheLinkLabelShowsAndChoosesTheOutputsLink)
{
    SetupOwner owner (controller());
    auto& panel = *owner.panel;
    auto& ports = controller().getPorts();
    const auto link = panel.getLinkLabel().getBounds();
    EXPECT_FALSE (link.isEmpty());
    EXPECT_EQ (panel.getLinkLabel().getText(), "USB (auto)"); // the stand-in names itself "Prophet 12"

    Mouse (panel.getLinkLabel()).click (50, 8);
    EXPECT_TRUE (closeOpenMenus());
    EXPECT_EQ (itemTexts (MIDI_Setup::buildLinkMenu (OutputLink::Choice::automatic)),
               (std::vector<juce::String> { "Automatic (by port name)", "MIDI DIN", "USB" }));

    panel.linkChosen (2);
    EXPECT_EQ (panel.getLinkLabel().getText(), "MIDI DIN");
    EXPECT_TRUE (ports.isPaced());
    panel.linkChosen (0); // dismissed
    EXPECT_EQ (controller().getOutputLinkChoice(), OutputLink::Choice::din);

    panel.outputChosen (3); // "Other Port": a MIDI interface, paced by its name
    EXPECT_EQ (panel.getLinkLabel().getText(), "MIDI DIN (auto)");
    panel.outputChosen (1); // "NONE"
    EXPECT_EQ (panel.getLinkLabel().getText(), "Automatic");
    panel.outputChosen (2);
    EXPECT_EQ (panel.getLinkLabel().getText(), "MIDI DIN");
    EXPECT_TRUE (owner.commands.size() == 3u && owner.commands.back() == std::make_pair (302, 1));

    click (owner.panel->getOkButton());
    const auto linkFile = controller().getFolder().portsFile().getSiblingFile (PortsFile::kLinkFileName);
    EXPECT_EQ (linkFile.loadFileAsString(), "DIN\tProphet 12 Stand-in\n");

    // Clear of the specified places: the port boxes with their indicators, the check box, the buttons.
    for (const auto& r : { juce::Rectangle<int> { 60, 80, 290, 24 }, juce::Rectangle<int> { 60, 130, 290, 24 },
                           juce::Rectangle<int> { 330, 138, 10, 8 }, juce::Rectangle<int> { 390, 60, 300, 18 },
                           juce::Rectangle<int> { 690, 200, 74, 18 }, juce::Rectangle<int> { 690, 240, 74, 18 },
                           juce::Rectangle<int> { 180, 172, 100, 16 }, juce::Rectangle<int> { 40, 30, 400, 14 } })
        EXPECT_FALSE (link.intersects (r)) << r.toString();
}

TEST_F (MidiSetup, FollowCheckBoxBroadcastsAndStoresSettingsByte11)
{
    SetupOwner owner (controller());
    auto& box = owner.panel->getFollowCheckBox();
    const auto settingsFile = controller().getFolder().settingsFile();

    Mouse (box).click (5, 5);
    EXPECT_EQ (owner.commands, (std::vector<std::pair<int, int>> { { 212, 1 } }));
    EXPECT_TRUE (controller().followsProgramChange());
    EXPECT_EQ (controller().getSettingsBlock()[SettingsFiles::kFollowProgramChangeByte], 1);
    EXPECT_EQ (SettingsFiles::loadSettings (settingsFile)[SettingsFiles::kFollowProgramChangeByte], 1);

    Mouse (box).click (5, 5);
    EXPECT_EQ (owner.commands.back(), std::make_pair (212, 0));
    EXPECT_FALSE (controller().followsProgramChange());
    EXPECT_EQ (SettingsFiles::loadSettings (settingsFile)[SettingsFiles::kFollowProgramChangeByte], 0);

    rig.settle();
    EXPECT_EQ (rig.standIn.countReceived (kProbe), 2);
}

TEST_F (MidiSetup, OkSavesTheSettingsAndPortsFilesAndClosesThePanel)
{
    SetupOwner owner (controller());
    const auto& folder = controller().getFolder();
    folder.settingsFile().deleteFile();
    folder.portsFile().deleteFile();
    controller().setFollowProgramChange (true); // memory only until a save

    owner.panel->sysExSizeChosen (2);
    EXPECT_EQ (owner.panel->getSysExSizeLabel().getText(), "SySex Size");
    EXPECT_EQ (controller().getPorts().getSysExBufferSize(), 1);
    EXPECT_EQ (itemTexts (MIDI_Setup::buildSysExSizeMenu()), (std::vector<juce::String> { "256", "SySex Size" }));

    click (owner.panel->getOkButton());
    EXPECT_EQ (owner.commands, (std::vector<std::pair<int, int>> { { 203, 0 } }));
    EXPECT_TRUE (owner.panel == nullptr);

    EXPECT_EQ (SettingsFiles::loadSettings (folder.settingsFile())[SettingsFiles::kFollowProgramChangeByte], 1);
    juce::MemoryBlock content;
    ASSERT_TRUE (folder.portsFile().loadFileAsData (content));
    PortsFile::Settings saved;
    saved.input = saved.output = "";
    PortsFile::decode (content.getData(), content.getSize(), saved);
    EXPECT_EQ (saved.input, InProcessMidiDevices::kStandInPort);
    EXPECT_EQ (saved.output, InProcessMidiDevices::kStandInPort);
    EXPECT_EQ (saved.sysExBufferSize, 1);

    rig.settle();
    EXPECT_EQ (rig.standIn.countReceived (kProbe), 1);
}

TEST_F (MidiSetup, GlobalsTogglesTheGlobalPanelAndShowingItProbes)
{
    SetupOwner owner (controller());
    auto& panel = *owner.panel;
    rig.settle();
    rig.standIn.clearReceivedMessages();
    rig.standIn.setGlobal (0, 5);

    click (panel.getGlobalsButton());
    ASSERT_NE (panel.getGlobalPanel(), nullptr);
    EXPECT_EQ (panel.getGlobalPanel()->getBounds(), juce::Rectangle<int> (38, 285, 750, 350));
    EXPECT_TRUE (panel.getGlobalPanel()->isVisible());
    EXPECT_FALSE (panel.getInstructionsLabel().isVisible());
    rig.settle();
    GuiRig::pump (20);
    EXPECT_EQ (rig.standIn.getReceivedMessages(), std::vector<std::vector<uint8_t>> { kProbe });
    // The answer fills the block the panel draws.
    EXPECT_EQ (panel.getGlobalPanel()->getControl (0)->getValue(), 5);

    click (panel.getGlobalsButton());
    EXPECT_EQ (panel.getGlobalPanel(), nullptr);
    EXPECT_TRUE (panel.getInstructionsLabel().isVisible());
    rig.settle();
    EXPECT_EQ (rig.standIn.countReceived (kProbe), 1); // hiding asks nothing
    EXPECT_TRUE (owner.commands.empty());
}

TEST_F (MidiSetup, CloseMarkClosesTheGlobalPanelAfterItsPressOnly)
{
    SetupOwner owner (controller());
    auto& panel = *owner.panel;
    panel.showGlobals();
    auto* globals = panel.getGlobalPanel();
    ASSERT_NE (globals, nullptr);
    const float w = (float) globals->getWidth();

    // Just outside the mark on each side: nothing.
    const std::pair<float, float> misses[] = { { w - 27, 9 }, { w - 10, 9 }, { w - 26, 8 }, { w - 26, 25 } };
    for (auto [x, y] : misses)
    {
        Mouse (*globals).click (x, y);
        GuiRig::pump (150);
        ASSERT_EQ (panel.getGlobalPanel(), globals) << x << ", " << y;
    }

    Mouse (*globals).click (w - 26, 9);
    EXPECT_EQ (panel.getGlobalPanel(), globals); // still there while its own press is handled
    GuiRig::pump (200);
    EXPECT_EQ (panel.getGlobalPanel(), nullptr);
    EXPECT_TRUE (panel.getInstructionsLabel().isVisible());

    panel.showGlobals();
    Mouse (*panel.getGlobalPanel()).click (w - 11, 24);
    GuiRig::pump (200);
    EXPECT_EQ (panel.getGlobalPanel(), nullptr);
}

// ---- The global panel ------------------------------------------------------------------------------

class GlobalPanel : public ::testing::Test
{
protected:
    GlobalPanel() : panel (rig.controller()) { rig.settle(); }

    GlbCont& control (int index) { return *panel.getControl (index); }
    MidiCntrState& controller() { return rig.controller(); }

    void dump (std::vector<uint8_t> data)
    {
        std::vector<uint8_t> bytes { 0xF0, 0x01, 0x2A, 0x0F };
        bytes.insert (bytes.end(), data.begin(), data.end());
        bytes.push_back (0xF7);
        controller().receiveGlobalDump (juce::MemoryBlock (bytes.data(), bytes.size()));
    }

    GuiRig rig;
    Global_Container panel;
};

TEST_F (GlobalPanel, LaysOutTheTwentySixSettings)
{
    EXPECT_EQ (panel.getBounds().getWidth(), 750);
    EXPECT_EQ (panel.getBounds().getHeight(), 350);

    const struct
    {
        int index;
        GlbCont::Kind kind;
        juce::Rectangle<int> bounds;
    } rows[] = {
        { 0, GlbCont::kKnob, { 44, 50, 64, 65 } },          { 1, GlbCont::kKnob, { 114, 50, 64, 65 } },
        { 2, GlbCont::kList, { 340, 50, 100, 30 } },        { 7, GlbCont::kSwitch, { 410, 128, 40, 30 } },
        { 11, GlbCont::kSwitch, { -1000, -1000, 40, 30 } }, { 18, GlbCont::kSwitch, { 410, 196, 40, 24 } },
        { 22, GlbCont::kSwitch, { 650, 298, 100, 30 } },    { 25, GlbCont::kList, { 140, 298, 200, 30 } },
    };
    for (const auto& row : rows)
    {
        EXPECT_EQ (control (row.index).getKind(), row.kind) << row.index;
        EXPECT_EQ (control (row.index).getBounds(), row.bounds) << row.index;
        EXPECT_TRUE (control (row.index).isVisible()) << row.index;
    }
    for (int i = 0; i < GlobalSettings::kCount; ++i)
        EXPECT_EQ (control (i).getMaximum(), GlobalSettings::maximum (i)) << i;
    for (int i = GlobalSettings::kCount; i < Global_Container::kControls; ++i)
    {
        EXPECT_FALSE (control (i).isConfigured()) << i;
        EXPECT_TRUE (control (i).getBounds().isEmpty()) << i;
    }
    EXPECT_EQ (panel.getControl (Global_Container::kControls), nullptr);

    // The background is redrawn for the new size.
    panel.setSize (600, 300);
    EXPECT_EQ (panel.getBackground().getBounds(), juce::Rectangle<int> (0, 0, 600, 300));
}

TEST_F (GlobalPanel, KnobFramesSpanTheStrip)
{
    const struct
    {
        int value, maximum, frame;
    } cases[] = {
        { 0, 24, 0 },
        { 24, 24, 54 },
        { 12, 24, 27 },
        { 0, 100, 0 },
        { 100, 100, 54 },
        { 50, 100, 27 },
        { 30, 24, 54 }, // past the range (a dump): the end of the strip, never
                        // beyond it
        { -3, 24, 0 },
    };
    for (const auto& c : cases)
        EXPECT_EQ (GlbCont::knobFrame (c.value, c.maximum), c.frame) << c.value << " / " << c.maximum;

    controller().setGlobalValue (0, 24);
    EXPECT_EQ (control (0).getKnobFrame(), 54);
}

TEST_F (GlobalPanel, KnobDragsStepByRange)
{
    controller().setGlobalValue (0, 12); // "Coarse", highest 24: one step per 15 pixels
    controller().setGlobalValue (1, 50); // "Fine", highest 100: one step per 2 pixels

    Mouse coarse (control (0));
    coarse.press (30, 30);
    coarse.drag (44, 30);
    EXPECT_EQ (controller().getGlobalValue (0), 12);
    coarse.drag (45, 30);
    EXPECT_EQ (controller().getGlobalValue (0), 13);
    coarse.drag (45, 45); // right one step, down one step
    EXPECT_EQ (controller().getGlobalValue (0), 12);
    coarse.release (45, 45);
    EXPECT_FALSE (control (0).isDragging());

    Mouse fine (control (1));
    fine.press (30, 30);
    fine.drag (30, 20);
    EXPECT_EQ (controller().getGlobalValue (1), 55);
    fine.drag (30, -200); // clamped at the top
    EXPECT_EQ (controller().getGlobalValue (1), 100);
    fine.release (30, -200);

    // A drag on a list changes nothing.
    const int before = controller().getGlobalValue (2);
    Mouse list (control (2));
    list.press (10, 5);
    list.drag (90, -40);
    EXPECT_EQ (controller().getGlobalValue (2), before);
}

TEST_F (GlobalPanel, SwitchesToggleAndAnyOtherValueTurnsOff)
{
    dump ({ 0, 0, 0, 0, 0, 0, 0, 2 }); // "MIDI Controller Enable" holds 2
    Mouse (control (7)).click (10, 10);
    EXPECT_EQ (controller().getGlobalValue (7), 0);
    Mouse (control (7)).click (10, 10);
    EXPECT_EQ (controller().getGlobalValue (7), 1);
    Mouse (control (7)).click (10, 10);
    EXPECT_EQ (controller().getGlobalValue (7), 0);
}

TEST_F (GlobalPanel, WheelStepsAndStopsAtTheEnds)
{
    Mouse mouse (control (4)); // "MIDI Clock Cable", 0..2
    mouse.wheel (10, 5, 0.5f);
    mouse.wheel (10, 5, 0.5f);
    mouse.wheel (10, 5, 0.5f);
    EXPECT_EQ (controller().getGlobalValue (4), 2);
    mouse.wheel (10, 5, -0.5f);
    EXPECT_EQ (controller().getGlobalValue (4), 1);
}

TEST_F (GlobalPanel, ValueMenusListTheTextsOfEveryValue)
{
    const auto channel = itemTexts (control (2).buildValueMenu());
    ASSERT_EQ (channel.size(), 17u);
    EXPECT_EQ (channel.front(), "ALL CHANNELS");
    EXPECT_EQ (channel.back(), "CHANNEL 16");

    const auto clockCable = itemTexts (control (4).buildValueMenu());
    EXPECT_EQ (clockCable, (std::vector<juce::String> { "MIDI port", "USB", "2" }));

    const auto tuning = itemTexts (control (25).buildValueMenu());
    EXPECT_EQ (tuning.size(), 17u);

    // A press arms the menu and the release opens it; a dismissed menu changes nothing.
    Mouse mouse (control (3));
    mouse.press (20, 5);
    EXPECT_TRUE (control (3).isMenuArmed());
    mouse.release (20, 5);
    EXPECT_FALSE (control (3).isMenuArmed());
    EXPECT_TRUE (closeOpenMenus());
    control (3).valueChosen (0);
    EXPECT_EQ (controller().getGlobalValue (3), 0);
    control (3).valueChosen (3);
    EXPECT_EQ (controller().getGlobalValue (3), 2);
}

TEST_F (GlobalPanel, AChangeReachesTheInstrumentAsTheGlobalNrpn)
{
    rig.clearSent();
    control (25).valueChosen (17); // "17. Arabic 12-Tone"
    EXPECT_EQ (controller().getGlobalBlock()[25], 16);
    rig.settle();
    EXPECT_EQ (rig.standIn.getGlobal (25), 16);

    const auto channel = (uint8_t) (0xB0 + controller().getMidiChannel() - 1);
    const std::vector<std::vector<uint8_t>> nrpn {
        { channel, 99, 8 }, { channel, 98, 25 }, { channel, 6, 0 }, { channel, 38, 16 }
    };
    EXPECT_EQ (rig.sentMessages(), nrpn);

    // The same value again sends nothing.
    rig.clearSent();
    control (25).valueChosen (17);
    rig.settle();
    EXPECT_TRUE (rig.sentMessages().empty());
}

TEST_F (GlobalPanel, ADumpWhileOpenShowsAtTheNextRepaint)
{
    auto& coarse = control (0);
    controller().setGlobalValue (0, 12);
    const auto before = coarse.createComponentSnapshot (coarse.getLocalBounds());
    dump ({ 0 }); // "Coarse" -12
    EXPECT_EQ (coarse.getValue(), 0);
    const auto after = coarse.createComponentSnapshot (coarse.getLocalBounds());

    bool differs = false;
    for (int y = 0; y < after.getHeight() && ! differs; ++y)
        for (int x = 0; x < after.getWidth() && ! differs; ++x)
            differs = before.getPixelAt (x, y) != after.getPixelAt (x, y);
    EXPECT_TRUE (differs);
}
