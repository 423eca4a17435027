// The main component's commands and menus, end to end through the instrument stand-in. Menus are
// answered through the same handler their asynchronous callback reaches.
#include "midi/NotificationCodes.h"
#include "tests/ScriptedDialogs.h"
#include "tests/gui/GuiRig.h"
#include "ui/main/EditorMenus.h"
#include "ui/main/MainComp.h"

namespace
{

struct CommandRig : GuiRig
{
    CommandRig()
    {
        processor->getEditorState().aboutShown = true;
        processor->getEditorState().fileDialogs = dialogs;
        main = std::make_unique<MainComp> (*processor);
        settle();
        pump (30);
        clearSent();
    }

    // The texts of a menu's items, submenus flattened, in order.
    static juce::StringArray texts (const juce::PopupMenu& menu)
    {
        juce::StringArray all;
        for (juce::PopupMenu::MenuItemIterator it (menu, true); it.next();)
            if (! it.getItem().isSeparator)
                all.add (it.getItem().text);
        return all;
    }

    std::shared_ptr<ScriptedDialogs> dialogs = std::make_shared<ScriptedDialogs>();
    std::unique_ptr<MainComp> main;
};

using Menu = MainComp::Menu;

ProgramDump::Record named (const juce::String& name, uint8_t fill)
{
    ProgramDump::Record r {};
    r.fill (fill);
    ProgramDump::writeName (r.data(), name);
    return r;
}
} // namespace

TEST (Commands, ReceiveAndSendMoveTheEditBufferBothWays)
{
    CommandRig rig;
    rig.standIn.turnParameter (8, 101);
    rig.settle();
    GuiRig::pump (30);

    rig.main->performCommand (71); // "RECV"
    rig.settle();
    ASSERT_TRUE (
        GuiRig::pumpUntil ([&] { return rig.controller().getCurrentProgram() == rig.standIn.getEditBuffer(); }));

    // "SEND" [1]: the current program goes to the instrument's edit buffer.
    rig.controller().storeValue (8, 33);
    rig.main->performCommand (701);
    EXPECT_EQ (rig.main->getLastMenuKind(), Menu::send);
    EXPECT_TRUE (CommandRig::texts (rig.main->getLastMenu())[0].startsWith ("Current Preset: "));
    rig.main->menuChosen (Menu::send, 1);
    rig.settle();
    EXPECT_EQ (rig.standIn.getEditBuffer()[8], 33);
}

TEST (Commands, ReceiveAllUserBanksEndsWithEveryBankStored)
{
    CommandRig rig;
    rig.standIn.setProgram (3, 98, named ("Last Of U4", 3));
    rig.main->menuChosen (Menu::transfer, 200); // "Receive All User Banks"
    ASSERT_NE (rig.main->getProgressOverlay(), nullptr);

    ASSERT_TRUE (GuiRig::pumpUntil ([&] { return rig.main->getProgressOverlay() == nullptr; }));
    EXPECT_FALSE (rig.controller().isChained());
    EXPECT_EQ (rig.controller().getSlot (3, 98), rig.standIn.getProgram (3, 98));
}

TEST (Commands, CancelKeepsWhatArrived)
{
    CommandRig rig;
    auto options = rig.standIn.getOptions();
    options.dinPacing = true; // about 0.4 s a program
    rig.standIn.setOptions (options);
    rig.standIn.setProgram (0, 0, named ("First Arrived", 5));
    rig.standIn.setProgram (0, 50, named ("Never Asked", 6));
    const auto before50 = rig.controller().getSlot (0, 50);

    rig.main->menuChosen (Menu::transfer, 1); // receive "User Bank 1"
    ASSERT_TRUE (GuiRig::pumpUntil ([&] { return rig.controller().getSlot (0, 0) == rig.standIn.getProgram (0, 0); }));
    // The overlay follows the programs as they arrive.
    ASSERT_TRUE (GuiRig::pumpUntil ([&] { return rig.main->getProgressOverlay()->getCaption().startsWith ("U1:"); }));
    rig.main->getProgressOverlay()->getCancelButton().getButton().triggerClick();
    ASSERT_TRUE (GuiRig::pumpUntil ([&] { return rig.main->getProgressOverlay() == nullptr; }));
    EXPECT_FALSE (rig.controller().isChained());
    rig.settle();
    GuiRig::pump (50);
    EXPECT_EQ (rig.controller().getSlot (0, 0), rig.standIn.getProgram (0, 0));
    EXPECT_EQ (rig.controller().getSlot (0, 50), before50);
}

TEST (Commands, ChannelMenu)
{
    CommandRig rig;
    const auto fileBefore = SettingsFiles::loadSettings (rig.controller().getFolder().settingsFile());
    rig.main->openMenu (Menu::channel, nullptr);
    EXPECT_EQ (CommandRig::texts (rig.main->getLastMenu()).size(), 16);
    rig.main->menuChosen (Menu::channel, 5);

    EXPECT_EQ (rig.controller().getSettingsBlock()[6], 5);
    EXPECT_EQ (rig.controller().getMidiChannel(), 5);
    EXPECT_EQ (rig.main->getEditorPanel().getAppBar().getChannelLabel().getText(), "Chan: 5");
    // The file keeps the old channel until the next save.
    EXPECT_EQ (SettingsFiles::loadSettings (rig.controller().getFolder().settingsFile())[6], fileBefore[6]);
}

TEST (Commands, ClipboardCopyAndPaste)
{
    CommandRig rig;
    auto& c = rig.controller();
    const auto original = c.getCurrentProgram();

    // Paste with an empty clipboard does nothing.
    rig.main->openMenu (Menu::edit, nullptr);
    EXPECT_EQ (CommandRig::texts (rig.main->getLastMenu())[1], "Paste ");
    c.storeValue (8, 1);
    const auto edited = c.getCurrentProgram();
    rig.main->menuChosen (Menu::edit, 2);
    rig.main->setMenuSlot (1, 4);
    const auto slotBefore = c.getSlot (1, 4);
    rig.main->menuChosen (Menu::slotProgram, 2);
    EXPECT_EQ (c.getCurrentProgram(), edited);
    EXPECT_EQ (c.getSlot (1, 4), slotBefore);
    EXPECT_FALSE (rig.main->isClipboardFull());

    // Copy, change, paste back.
    c.setCurrentProgram (original);
    rig.main->menuChosen (Menu::edit, 1);
    ASSERT_TRUE (rig.main->isClipboardFull());
    c.storeValue (8, 2);
    rig.main->menuChosen (Menu::edit, 2);
    rig.settle();
    EXPECT_EQ (c.getCurrentProgram(), original);
    EXPECT_EQ (rig.standIn.getEditBuffer(), original);

    // Paste into a slot: stored and sent there.
    rig.main->menuChosen (Menu::slotProgram, 2);
    rig.settle();
    EXPECT_EQ (c.getSlot (1, 4), original);
    EXPECT_EQ (rig.standIn.getProgram (1, 4), original);

    // The edit menu's page jumps.
    rig.main->openMenu (Menu::edit, nullptr);
    EXPECT_TRUE (CommandRig::texts (rig.main->getLastMenu()).contains ("MODS                        [8] "));
    rig.main->menuChosen (Menu::edit, 108);
    EXPECT_EQ (rig.main->getEditorPanel().getCurrentPage(), 10);
}

TEST (Commands, ProgramAndBankFilesThroughTheChooser)
{
    CommandRig rig;
    auto& c = rig.controller();
    const auto folder = rig.scratch.folder;
    c.putSlot (0, 7, named ("Saved Slot", 9));

    // Save slot U1 P8 as a program file, load it into U2 P3.
    rig.main->setMenuSlot (0, 7);
    rig.dialogs->answers.push_back (folder.getChildFile ("slot"));
    rig.main->menuChosen (Menu::slotProgram, 3);
    ASSERT_TRUE (folder.getChildFile ("slot.p12p").existsAsFile());
    EXPECT_EQ (rig.dialogs->requests.back().title, "Save Prophet 12 Program");

    rig.main->setMenuSlot (1, 2);
    rig.dialogs->answers.push_back (folder.getChildFile ("slot.p12p"));
    rig.main->menuChosen (Menu::slotProgram, 4);
    rig.settle();
    EXPECT_EQ (c.getSlot (1, 2), c.getSlot (0, 7));
    EXPECT_EQ (rig.standIn.getProgram (1, 2), c.getSlot (0, 7));

    // Save user bank 1 as a bank file and load it into user bank 4.
    rig.dialogs->answers.push_back (folder.getChildFile ("bank"));
    rig.main->menuChosen (Menu::bankFile, 200);
    EXPECT_EQ (rig.dialogs->requests.back().startingFile.getFileName(), "Program Bank U1.p12b");
    rig.dialogs->answers.push_back (folder.getChildFile ("bank.p12b"));
    rig.main->menuChosen (Menu::bankFile, 103);
    for (int p : { 0, 7, 98 })
        EXPECT_EQ (c.getSlot (3, p), c.getSlot (0, p)) << p;

    // A cancelled dialog changes nothing.
    const auto before = c.getSlot (2, 0);
    rig.main->menuChosen (Menu::bankFile, 102);
    EXPECT_EQ (c.getSlot (2, 0), before);

    // A file that holds no program is refused with a message; a cancel says nothing.
    ASSERT_TRUE (folder.getChildFile ("noise.p12p").replaceWithData (juce::MemoryBlock (3000, true).getData(), 3000));
    const auto current = c.getCurrentProgram();
    const auto slotBefore = c.getSlot (1, 2);
    for (auto [menu, id] :
         { std::pair { Menu::file, 1 }, std::pair { Menu::slotProgram, 4 }, std::pair { Menu::bankFile, 101 } })
    {
        rig.main->setMenuSlot (1, 2);
        rig.dialogs->answers.push_back (folder.getChildFile ("noise.p12p"));
        rig.main->menuChosen (menu, id);
        ASSERT_NE (rig.main->getMessageBox(), nullptr) << id;
        EXPECT_EQ (rig.main->getMessageBox()->getText(), "No program was found in noise.p12p.");
        rig.main->getMessageBox()->getOkButton().notifyClicked();
        GuiRig::pump (20);
    }
    EXPECT_EQ (c.getCurrentProgram(), current);
    EXPECT_EQ (c.getSlot (1, 2), slotBefore);
    rig.main->menuChosen (Menu::file, 1); // cancelled
    EXPECT_EQ (rig.main->getMessageBox(), nullptr);

    // A write that fails says so in the message box, naming the file; the program stays.
    ASSERT_TRUE (folder.getChildFile ("plain").replaceWithText ("a file, not a folder"));
    for (auto [menu, id] :
         { std::pair { Menu::file, 2 }, std::pair { Menu::slotProgram, 3 }, std::pair { Menu::bankFile, 201 } })
    {
        rig.dialogs->answers.push_back (folder.getChildFile ("plain").getChildFile ("out"));
        rig.main->menuChosen (menu, id);
        ASSERT_NE (rig.main->getMessageBox(), nullptr) << id;
        EXPECT_TRUE (rig.main->getMessageBox()->isVisible());
        EXPECT_TRUE (rig.main->getMessageBox()->getText().startsWith ("Could not write out.p12")) << id;
        rig.main->getMessageBox()->getOkButton().notifyClicked();
        EXPECT_FALSE (rig.main->getMessageBox()->isVisible());
        GuiRig::pump (20);
        EXPECT_EQ (rig.main->getMessageBox(), nullptr);
    }
}

// "Save as SysEx…" beside each save writes the same bytes as a ".syx" file, which loads back.
TEST (Commands, SaveAsSysExBesideEverySave)
{
    CommandRig rig;
    auto& c = rig.controller();
    const auto folder = rig.scratch.folder;
    const auto sysExText = juce::String (juce::CharPointer_UTF8 ("Save as SysEx\xe2\x80\xa6"));

    // Each one right after the save it goes with; the specified items keep their ids.
    const auto itemsOf = [] (const juce::PopupMenu& menu) {
        std::vector<std::pair<int, juce::String>> items;
        for (juce::PopupMenu::MenuItemIterator it (menu, true); it.next();)
            if (! it.getItem().isSeparator)
                items.emplace_back (it.getItem().itemID, it.getItem().text);
        return items;
    };
    const auto file = itemsOf (EditorMenus::fileMenu ("Pad"));
    EXPECT_EQ (file, (std::vector<std::pair<int, juce::String>> {
                         { 1, "Load Single Program" }, { 2, "Save Pad" }, { 5, sysExText }, { 3, "About" } }));
    const auto slot = itemsOf (EditorMenus::slotProgramMenu ("Pad", "", false));
    ASSERT_EQ (slot.size(), 5u);
    EXPECT_EQ (slot[3], (std::pair<int, juce::String> { 5, sysExText }));
    EXPECT_EQ (slot[4].first, 4);
    const auto bank =
        itemsOf (EditorMenus::bankFileMenu ({ "User Bank 1", "User Bank 2", "User Bank 3", "User Bank 4" }));
    ASSERT_EQ (bank.size(), 15u); // three submenus of four
    EXPECT_EQ (bank[5].second, "Save Program Bank ");
    EXPECT_EQ (bank[6].first, 200);
    EXPECT_EQ (bank[10].second, sysExText);
    EXPECT_EQ (bank[11], (std::pair<int, juce::String> { 300, "User Bank 1" }));

    c.putSlot (0, 7, named ("Saved Slot", 9));
    rig.main->setMenuSlot (0, 7);
    struct Case
    {
        Menu menu;
        int plainId, sysExId;
        const char* title;
        const char* suggested;
    };
    const Case cases[] = {
        { Menu::file, 2, 5, "Save Prophet 12 Program as SysEx", nullptr },
        { Menu::slotProgram, 3, 5, "Save Prophet 12 Program as SysEx", "Saved Slot.syx" },
        { Menu::bankFile, 201, 301, "Save Prophet 12 Program Bank as SysEx", "Program Bank U2.syx" },
    };
    for (const auto& k : cases)
    {
        SCOPED_TRACE (juce::String ((int) k.menu) + " " + juce::String (k.sysExId));
        folder.getChildFile ("sysex.syx").deleteFile();
        rig.dialogs->answers = { folder.getChildFile ("plain"), folder.getChildFile ("sysex") };
        rig.main->menuChosen (k.menu, k.plainId);
        rig.main->menuChosen (k.menu, k.sysExId);
        const auto& request = rig.dialogs->requests.back();
        EXPECT_EQ (request.title, k.title);
        EXPECT_EQ (request.patterns, "*.syx");
        if (k.suggested != nullptr)
        {
            EXPECT_EQ (request.startingFile.getFileName(), k.suggested);
        }

        auto plain = folder.findChildFiles (juce::File::findFiles, false, "plain.*");
        ASSERT_EQ (plain.size(), 1);
        juce::MemoryBlock expected, written;
        plain[0].loadFileAsData (expected);
        ASSERT_TRUE (folder.getChildFile ("sysex.syx").loadFileAsData (written));
        EXPECT_EQ (written, expected);
        EXPECT_GT (written.getSize(), 1000u);
        plain[0].deleteFile();
    }

    // The bank saved as SysEx loads back into another bank; the slot's program into another slot.
    rig.dialogs->answers = { folder.getChildFile ("sysex.syx") };
    rig.main->menuChosen (Menu::bankFile, 102);
    for (int p : { 0, 50, 98 })
        EXPECT_EQ (c.getSlot (2, p), c.getSlot (1, p)) << p;
    EXPECT_EQ (rig.dialogs->requests.back().patterns, "*.p12b;*.syx");
}

TEST (Commands, CategoriesAndPresets)
{
    CommandRig rig;
    auto& c = rig.controller();

    // The LCD's category: stored in byte 426, shown at once, nothing sent.
    rig.main->menuChosen (Menu::lcdCategory, 5);
    EXPECT_EQ (c.getCurrentProgram()[426], 4);
    EXPECT_EQ (rig.main->getEditorPanel().getLcd().getCategory(), 4);
    rig.settle();
    EXPECT_TRUE (rig.sentMessages().empty());

    // A slot's category from the bank list.
    rig.main->setMenuSlot (2, 10);
    rig.main->menuChosen (Menu::slotCategory, 26);
    EXPECT_EQ (c.getSlot (2, 10)[426], 25);

    // Presets: the current user bank gets a factory bank, or is initialised.
    c.selectProgram (1 * 99 + 0, false, false);
    rig.main->openMenu (Menu::presets, nullptr);
    EXPECT_TRUE (CommandRig::texts (rig.main->getLastMenu()).contains ("Initialize User Program Bank 2"));
    rig.main->menuChosen (Menu::presets, 103);
    Bank_Program factory;
    factory.loadFactory (3);
    EXPECT_EQ (c.getSlot (1, 20), factory.getSlot (20));
    rig.main->menuChosen (Menu::presets, 99);
    EXPECT_EQ (c.getSlot (1, 20), c.getSlot (1, 21));
}

TEST (Commands, ProgramPickerSelectsAndTellsTheInstrument)
{
    CommandRig rig;
    rig.main->openMenu (Menu::programPicker, nullptr);
    EXPECT_EQ (CommandRig::texts (rig.main->getLastMenu()).size(), 4 + 99);
    rig.main->menuChosen (Menu::programPicker, EditorMenus::kPickerBankBase + 2);
    rig.main->menuChosen (Menu::programPicker, EditorMenus::kPickerProgramBase + 17);
    rig.settle();
    EXPECT_EQ (rig.controller().getCurrentBank(), 2);
    EXPECT_EQ (rig.controller().getCurrentProgramNumber(), 17);
    EXPECT_EQ (rig.controller().getCurrentProgram(), rig.controller().getSlot (2, 17));
    EXPECT_EQ (rig.standIn.getCurrentBank(), 2);
    EXPECT_EQ (rig.standIn.getCurrentProgram(), 17);
}

TEST (Commands, WriteDialogGuard)
{
    CommandRig rig;
    rig.main->performCommand (969);
    ASSERT_NE (rig.main->getWriteDialog(), nullptr);
    rig.main->performCommand (99);
    rig.main->performCommand (MainComp::kToggleAbout);
    EXPECT_FALSE (rig.main->isBankViewOn());
    EXPECT_EQ (rig.main->getAboutPanel(), nullptr);
    rig.main->performCommand (969);
    EXPECT_EQ (rig.main->getWriteDialog(), nullptr);
    rig.main->performCommand (MainComp::kToggleAbout);
    EXPECT_NE (rig.main->getAboutPanel(), nullptr);
}

// A real menu window on the display: opened without a modal loop, its dismissal reaches the handler
// with nothing chosen, and nothing changes.
TEST (Commands, ARealMenuOpensAndDismissesAsynchronously)
{
    CommandRig rig;
    rig.main->setSize (1200, 730);
    rig.main->addToDesktop (0);
    rig.main->setVisible (true);
    const auto before = rig.controller().getCurrentProgram();

    rig.main->performCommand (73); // "EDIT"
    ASSERT_TRUE (GuiRig::pumpUntil ([] { return juce::PopupMenu::dismissAllActiveMenus(); }, 2000));
    GuiRig::pump (50);
    EXPECT_EQ (rig.main->getLastMenuKind(), Menu::edit);
    EXPECT_EQ (rig.controller().getCurrentProgram(), before);
    EXPECT_FALSE (rig.main->isClipboardFull());
    rig.main->removeFromDesktop();
}

// Every source reaches its command: the LCD's regions, the channel label, the bank panel's buttons,
// the settings button and the MIDI setup panel.
TEST (Commands, SourcesReachTheirCommands)
{
    CommandRig rig;
    auto& page = rig.main->getEditorPanel();
    auto expectMenu = [&] (Menu kind) {
        EXPECT_EQ (rig.main->getLastMenuKind(), kind);
        juce::PopupMenu::dismissAllActiveMenus();
        GuiRig::pump (20);
    };

    Mouse (page.getLcd()).click (20.0f, 10.0f); // location
    expectMenu (Menu::programPicker);
    Mouse (page.getLcd()).click (150.0f, 10.0f); // category
    expectMenu (Menu::lcdCategory);
    Mouse (page.getAppBar().getChannelLabel()).click (10.0f, 5.0f);
    expectMenu (Menu::channel);

    rig.main->performCommand (99);
    auto& banks = rig.main->getBankPanel();
    for (auto [button, kind] : { std::pair<StsBut*, Menu> { &banks.getFileButton(), Menu::bankFile },
                                 { &banks.getMidiButton(), Menu::transfer },
                                 { &banks.getPresetsButton(), Menu::presets } })
    {
        button->getButton().triggerClick();
        GuiRig::pump (30);
        expectMenu (kind);
    }
    rig.main->performCommand (99);

    // The settings button opens the library window, a second time shows it again.
    Mouse (page.getSettingsButton()).click (18.0f, 18.0f);
    ASSERT_NE (rig.main->getLibraryWindow(), nullptr);
    EXPECT_TRUE (rig.main->getLibraryWindow()->isVisible());

    // "MIDI" opens the setup panel and sends the probe; its "OK" closes it.
    rig.clearSent();
    rig.main->performCommand (77);
    ASSERT_NE (rig.main->getMidiSetup(), nullptr);
    rig.settle();
    GuiRig::pump (30);
    EXPECT_FALSE (rig.sentMessages().empty());
    rig.main->getMidiSetup()->getOkButton().getButton().triggerClick();
    EXPECT_TRUE (GuiRig::pumpUntil ([&] { return rig.main->getMidiSetup() == nullptr; }, 2000));
}
