// The main component as a user meets it: what reaches the screen after a click, a note from the
// instrument, a write or a bank transfer, through the real editor on the processor.
#include "midi/NotificationCodes.h"
#include "tests/gui/GuiRig.h"
#include "ui/library/PresetBankPage.h"
#include "ui/main/MainComp.h"

#include <gtest/gtest.h>

namespace
{
struct MainRig : GuiRig
{
    MainRig()
    {
        processor->getEditorState().aboutShown = true;
        main = std::make_unique<MainComp> (*processor);
        settle();
        pump (30);
    }

    // The instrument sends a channel message: it arrives through the controller's MIDI input.
    void fromInstrument (const juce::MidiMessage& message)
    {
        controller().handleIncomingMidiMessage (nullptr, message);
        pump (30);
    }

    std::unique_ptr<MainComp> main;
};

StsCont& latchSwitch (MainComp& main, int position)
{
    auto* control = main.getEditorPanel().getGroup (0, 0).findControl (position);
    EXPECT_NE (control, nullptr);
    return *control;
}
} // namespace

TEST (EditorInUse, LatchSwitchesShowTheirStateAndSwitchOff)
{
    MainRig rig;
    for (const int position : { ParameterTable::kSliderLatch1, ParameterTable::kSliderLatch2 })
    {
        SCOPED_TRACE (position);
        auto& latch = latchSwitch (*rig.main, position);
        ASSERT_EQ (latch.getShownValue(), 0);

        // The switch is the 20-unit frame centred in the 40-unit box.
        Mouse (latch).click (20.0f, 6.0f);
        GuiRig::pump (30);
        EXPECT_EQ (rig.controller().getValue (position), 1);
        EXPECT_EQ (latch.getShownValue(), 1);

        // Shown on, the second click asks for off.
        Mouse (latch).click (20.0f, 6.0f);
        GuiRig::pump (30);
        EXPECT_EQ (rig.controller().getValue (position), 0);
        EXPECT_EQ (latch.getShownValue(), 0);
    }

    // A latch set from the host shows too, and a reopened editor shows what is stored.
    rig.controller().setParameterValue (ParameterTable::kSliderLatch2, 1);
    GuiRig::pump (30);
    EXPECT_EQ (latchSwitch (*rig.main, ParameterTable::kSliderLatch2).getShownValue(), 1);
    rig.main.reset();
    rig.main = std::make_unique<MainComp> (*rig.processor);
    EXPECT_EQ (latchSwitch (*rig.main, ParameterTable::kSliderLatch1).getShownValue(), 0);
    EXPECT_EQ (latchSwitch (*rig.main, ParameterTable::kSliderLatch2).getShownValue(), 1);
}

TEST (EditorInUse, ChannelMessagesDecodeOnEveryChannel)
{
    using namespace Notification;
    const struct
    {
        int32_t code;
        int status, channel, data;
    } cases[] = {
        { noteOn (1, 60, 100), 0x90, 1, (60 << 7) + 100 },
        { noteOn (16, 60, 100), 0x90, 16, (60 << 7) + 100 },
        { noteOff (1, 60), 0x80, 1, 60 },
        { noteOff (16, 60), 0x80, 16, 60 },
        { modWheel (1, 90), 0xB0, 1, (1 << 7) + 90 },
        { modWheel (16, 90), 0xB0, 16, (1 << 7) + 90 },
        { pitchBend (1, 0, 0x40), 0xE0, 1, 0x40 << 7 },
        { pitchBend (16, 5, 0x7F), 0xE0, 16, (0x7F << 7) + 5 },
        { pitchBend (3, 0, 0x40), 0xE0, 3, 0x40 << 7 },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (juce::String::toHexString (c.code));
        const auto event = channelEvent (c.code);
        ASSERT_TRUE (event.has_value());
        EXPECT_EQ (event->status, c.status);
        EXPECT_EQ (event->channel, c.channel);
        EXPECT_EQ (event->data, c.data);
    }
    // Codes of the other kinds are no channel messages.
    for (const int32_t code :
         { kProgramReplaced, parameterChanged (8, 3), kSliderLatch2Changed, kEditorCommand + 0x2D7 })
        EXPECT_FALSE (channelEvent (code).has_value()) << juce::String::toHexString (code);
}

TEST (EditorInUse, WheelsFollowTheInstrumentOnChannels1To16)
{
    MainRig rig;
    auto& keyboard = rig.main->getKeyboard();
    for (const int channel : { 1, 9, 15, 16 })
    {
        SCOPED_TRACE (channel);
        rig.fromInstrument (juce::MidiMessage::controllerEvent (channel, 1, 90 + channel));
        EXPECT_EQ (keyboard.getModWheel().getValue(), 90 + channel);
        rig.fromInstrument (juce::MidiMessage::pitchWheel (channel, (100 + channel) << 7));
        EXPECT_EQ (keyboard.getPitchWheel().getValue(), 100 + channel);

        // A note off on channel 16 shares its kind byte with the notes on: it must not be taken
        // for anything the screen shows.
        rig.fromInstrument (juce::MidiMessage::noteOn (channel, 60, (juce::uint8) 100));
        rig.fromInstrument (juce::MidiMessage::noteOff (channel, 60));
        EXPECT_EQ (keyboard.getModWheel().getValue(), 90 + channel);
        EXPECT_EQ (keyboard.getPitchWheel().getValue(), 100 + channel);
    }
    // Nothing of it went back to the instrument.
    rig.settle();
    for (const auto& m : rig.sentMessages())
        EXPECT_EQ (m.front(), 0xF0);
}

TEST (EditorInUse, BankViewGivesTheListTheWholePanel)
{
    MainRig rig;
    ASSERT_EQ (rig.main->getBounds(), juce::Rectangle<int> (0, 0, 1200, 730));
    rig.main->performCommand (99); // "BANKS"
    ASSERT_TRUE (rig.main->isBankViewOn());

    auto& bank = rig.main->getBankPanel();
    EXPECT_EQ (bank.getBounds(), juce::Rectangle<int> (0, 54, 1200, 730 - 74));
    EXPECT_EQ (bank.getGrid().getHeight(), 12 * 46);
    EXPECT_EQ (bank.getGrid().getVisibleRows(), 12);
    EXPECT_EQ (bank.getOkButton().getBounds(), juce::Rectangle<int> (816, 590, 70, 18));
    EXPECT_EQ (rig.main->getEditorPanel().getBounds(), juce::Rectangle<int> (0, 0, 1200, 54));
    // The keyboard panel lies below the bank panel.
    EXPECT_GE (rig.main->getKeyboard().getY(), bank.getBottom());

    rig.main->performCommand (99);
    EXPECT_EQ (rig.main->getEditorPanel().getHeight(), 710);
    EXPECT_EQ (rig.main->getKeyboard().getY(), 710);
}

TEST (EditorInUse, BankListMenusOpenAtTheClickedRow)
{
    MainRig rig;
    rig.main->performCommand (99); // "BANKS"
    auto& grid = rig.main->getBankPanel().getGrid();

    // The program menu (second column) and the category menu (third column) of row 3.
    for (const float x : { 100.0f, 230.0f })
    {
        SCOPED_TRACE (x);
        Mouse (grid).press (x, 3 * 46 + 10, juce::ModifierKeys::rightButtonModifier);
        GuiRig::pump (30);
        auto* menu = GuiRig::openMenuWindow();
        ASSERT_NE (menu, nullptr);
        const auto row = grid.localAreaToGlobal (juce::Rectangle<int> (0, 3 * 46, 10, 46));
        const auto at = menu->getScreenBounds();
        EXPECT_NEAR (at.getX(), row.getX(), 8);
        EXPECT_TRUE (std::abs (at.getY() - row.getBottom()) <= 8 || std::abs (at.getBottom() - row.getY()) <= 8)
            << at.toString() << " for the row " << row.toString();
        juce::PopupMenu::dismissAllActiveMenus();
        GuiRig::pump (20);
    }
    EXPECT_EQ (grid.getRowBounds (3), juce::Rectangle<int> (0, 3 * 46, grid.getWidth() - grid.getScrollBarWidth(), 46));
    EXPECT_TRUE (grid.getRowBounds (40).isEmpty()); // scrolled out of view
}

TEST (EditorInUse, AfterWriteTheDisplayShowsWhereTheProgramLives)
{
    MainRig rig;
    auto& lcd = rig.main->getEditorPanel().getLcd();
    ASSERT_EQ (lcd.getLocationText(), "U1 P 1");

    rig.main->performCommand (969); // "WRITE"
    auto* dialog = rig.main->getWriteDialog();
    ASSERT_NE (dialog, nullptr);
    dialog->getBankButton (1).getButton().triggerClick();
    GuiRig::pump (30);
    Mouse (dialog->getGrid()).click (100.0f, 4 * 46 + 10); // U2, program 5
    dialog->setProgramName ("Written Here");
    ASSERT_EQ (dialog->getDisplay().getLocationText(), "U2 P 5");

    dialog->getWriteButton().getButton().triggerClick();
    GuiRig::pump (30);
    ASSERT_EQ (rig.main->getWriteDialog(), nullptr);
    EXPECT_EQ (rig.controller().getCurrentBank(), 1);
    EXPECT_EQ (rig.controller().getCurrentProgramNumber(), 4);
    EXPECT_EQ (lcd.getLocationText(), "U2 P 5");
    EXPECT_EQ (lcd.getName().trim(), "Written Here");
}

TEST (EditorInUse, VelocityIndicatorShowsTheStoredVelocity)
{
    MainRig rig;
    EXPECT_EQ (rig.main->getKeyboard().getVelocityIndicator().getVelocity(), 100);

    rig.main->getKeyboard().getVelocityIndicator().setVelocity (42);
    rig.main.reset();
    rig.main = std::make_unique<MainComp> (*rig.processor);
    EXPECT_EQ (rig.main->getKeyboard().getVelocityIndicator().getVelocity(), 42);
    EXPECT_EQ (rig.controller().noteVelocity.load(), 42);
}

TEST (EditorInUse, LibraryWindowWaitsWhileABankTransferRuns)
{
    MainRig rig;
    auto options = rig.standIn.getOptions();
    options.dinPacing = true; // about 0.4 s a program: the transfer lasts
    rig.standIn.setOptions (options);

    rig.main->showLibraryWindow();
    auto& content = rig.main->getLibraryWindow()->getContent();
    auto* page = content.getPresetBankPage();
    ASSERT_NE (page, nullptr);
    const juce::Point<int> inPage (page->getX() + page->getWidth() / 2, page->getY() + page->getHeight() / 2);
    auto inThePage = [&] {
        auto* hit = content.getComponentAt (inPage);
        return hit == page || page->isParentOf (hit);
    };
    ASSERT_TRUE (inThePage());
    EXPECT_FALSE (content.isWaitingForTransfer());

    rig.main->menuChosen (MainComp::Menu::transfer, 1); // receive "User Bank 1"
    ASSERT_NE (rig.main->getProgressOverlay(), nullptr);

    // The pages take no input and say why.
    EXPECT_TRUE (content.isWaitingForTransfer());
    EXPECT_FALSE (inThePage());
    EXPECT_FALSE (page->isEnabled());
    EXPECT_TRUE (content.getWaitMessage().isNotEmpty());

    // A window opened again meanwhile waits too; the end of the transfer lets it go.
    rig.main->getLibraryWindow()->hide();
    rig.main->showLibraryWindow();
    EXPECT_TRUE (content.isWaitingForTransfer());
    rig.main->getProgressOverlay()->getCancelButton().getButton().triggerClick();
    ASSERT_TRUE (GuiRig::pumpUntil ([&] { return rig.main->getProgressOverlay() == nullptr; }));
    EXPECT_FALSE (content.isWaitingForTransfer());
    EXPECT_TRUE (inThePage());
    EXPECT_TRUE (page->isEnabled());
    rig.settle();
}

TEST (EditorInUse, ZoomLimitsComeFromTheDisplayTheEditorIsOn)
{
    juce::Displays::Display primary, second;
    primary.isMain = true;
    primary.totalArea = { 0, 0, 1280, 1024 };
    primary.userArea = { 0, 0, 1280, 994 };
    second.totalArea = { 1280, 0, 2560, 1440 };
    second.userArea = { 1280, 0, 2560, 1400 };
    const juce::Array<juce::Displays::Display> displays { primary, second };

    const struct
    {
        juce::Rectangle<int> editor;
        juce::Rectangle<int> area;
    } cases[] = {
        { { 100, 100, 1200, 730 }, primary.userArea }, // on the primary
        { { 1500, 200, 1200, 730 }, second.userArea }, // on the second
        { { 1000, 100, 1200, 730 }, second.userArea }, // straddling, mostly on the second
        { { 600, 100, 1200, 730 }, primary.userArea }, // straddling, mostly on the primary
        { { 5000, 100, 1200, 730 }, second.userArea }, // off every display: the nearest
        { { -3000, 100, 1200, 730 }, primary.userArea },
    };
    for (const auto& c : cases)
        EXPECT_EQ (EditorPanel::workAreaFor (displays, c.editor), c.area) << c.editor.toString();

    // No display known at all: a common desktop size.
    EXPECT_EQ (EditorPanel::workAreaFor ({}, { 0, 0, 100, 100 }), juce::Rectangle<int> (0, 0, 1920, 1080));
}

TEST (EditorInUse, EmptySlotBelowSlidersDoesNothing)
{
    MainRig rig;
    auto& page = rig.main->getEditorPanel();
    page.setEditorScale (0.5f);
    page.showPage (12);
    auto& empty = page.getGroup (1, 0);
    ASSERT_EQ (empty.getGroupIndex(), GroupContents::kEmptyRowBGroup);

    Mouse (empty).click (10.0f, 10.0f);
    Mouse (empty).rightClick (10.0f, 10.0f);
    GuiRig::pump (30);
    EXPECT_FALSE (page.isZoomed());
    page.zoomGroup (empty);
    EXPECT_FALSE (page.isZoomed());

    // A real click there lands on the page itself, not on the empty slot.
    const auto centre = empty.getBounds().getCentre();
    auto* hit = page.getComponentAt (centre);
    EXPECT_NE (hit, &empty);

    // The SLIDERS group above it still zooms.
    Mouse (page.getGroup (0, 0)).click (5.0f, 5.0f);
    GuiRig::pump (30);
    EXPECT_TRUE (page.isZoomed());
    GuiRig::pumpUntil ([&] { return ! page.isAnimating(); });
}
