// The MIDI setup panel's port lists as the user meets them: where they open, and what the boxes
// show when the system's devices change while the panel is open.
#include "tests/gui/GuiRig.h"
#include "ui/setup/MIDI_Setup.h"

#include <gtest/gtest.h>

namespace
{
const juce::String kOtherPort = "Other Port", kNewPort = "Plugged In Later";

class PortLists : public ::testing::Test
{
protected:
    PortLists()
    {
        rig.settle();
        rig.devices->setPortNames ({ InProcessMidiDevices::kStandInPort, kOtherPort },
                                   { InProcessMidiDevices::kStandInPort, kOtherPort });
        panel = std::make_unique<MIDI_Setup> (rig.controller());
        panel->setBounds (0, 0, 1200, 730);
    }
    ~PortLists() override
    {
        juce::PopupMenu::dismissAllActiveMenus();
        GuiRig::pump (20);
    }

    GuiRig rig;
    std::unique_ptr<MIDI_Setup> panel;
};
} // namespace

TEST_F (PortLists, EachListOpensAtItsOwnBox)
{
    const struct
    {
        const char* what;
        juce::Point<float> press;
        juce::Rectangle<int> box; // in the panel
    } lists[] = {
        { "MIDI In", { 100, 90 }, { 60, 80, 290, 24 } },
        { "MIDI Out", { 100, 140 }, { 60, 130, 290, 24 } },
    };
    for (const auto& list : lists)
    {
        SCOPED_TRACE (list.what);
        Mouse (*panel).click (list.press.x, list.press.y);
        GuiRig::pump (20);
        auto* menu = GuiRig::openMenuWindow();
        ASSERT_NE (menu, nullptr);

        // The list hangs from the box (or stands on it when there is no room below), left edges
        // together, as every other value menu does at its control.
        const auto box = panel->localAreaToGlobal (list.box);
        const auto at = menu->getScreenBounds();
        EXPECT_NEAR (at.getX(), box.getX(), 8);
        EXPECT_TRUE (std::abs (at.getY() - box.getBottom()) <= 8 || std::abs (at.getBottom() - box.getY()) <= 8)
            << at.toString() << " for the box " << box.toString();

        juce::PopupMenu::dismissAllActiveMenus();
        GuiRig::pump (20);
    }
}

TEST_F (PortLists, BothBoxesKeepTheirPortsWhenTheDevicesChange)
{
    ASSERT_EQ (panel->getShownInput(), 1);
    ASSERT_EQ (panel->getShownOutput(), 1);

    // A device appears ahead of the stand-in, and the other port goes, between two openings.
    rig.devices->setPortNames ({ kNewPort, InProcessMidiDevices::kStandInPort },
                               { kNewPort, InProcessMidiDevices::kStandInPort });
    ASSERT_TRUE (panel->openInputMenu());
    juce::PopupMenu::dismissAllActiveMenus();
    GuiRig::pump (20);

    // Both boxes still name the port in use, at its new place in the new lists.
    EXPECT_EQ (panel->getInputNames()[panel->getShownInput()], InProcessMidiDevices::kStandInPort);
    EXPECT_EQ (panel->getOutputNames()[panel->getShownOutput()], InProcessMidiDevices::kStandInPort);
    EXPECT_EQ (panel->getShownOutput(), 2);

    // A shown port that is gone from the list reads "NONE" instead of a neighbour's name.
    rig.devices->setPortNames ({ InProcessMidiDevices::kStandInPort }, { kNewPort });
    ASSERT_TRUE (panel->openInputMenu());
    juce::PopupMenu::dismissAllActiveMenus();
    GuiRig::pump (20);
    EXPECT_EQ (panel->getInputNames()[panel->getShownInput()], InProcessMidiDevices::kStandInPort);
    EXPECT_EQ (panel->getShownOutput(), 0);
}
