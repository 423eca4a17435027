#include "library/LibraryKeeper.h"
#include "model/ParDes.h"
#include "plugin/StateChunks.h"
#include "tests/ScriptedDialogs.h"
#include "tests/SysExFixture.h"
#include "tests/gui/GuiRig.h"
#include "ui/library/LibClass.h"
#include "ui/library/Lib_Manager_Win.h"
#include "ui/library/PresetBankPage.h"

#include <gtest/gtest.h>

namespace
{
using Record = ProgramDump::Record;

const std::vector<uint8_t> kEditBufferDump { 0xF0, 0x01, 0x2A, 0x03 };

Record program (const juce::String& name, int category, uint8_t fill)
{
    Record r;
    r.fill (fill);
    ProgramDump::writeName (r.data(), name);
    r[ProgramDump::kCategoryOffset] = (uint8_t) category;
    return r;
}

juce::MemoryBlock libraryImage (const std::vector<Record>& records)
{
    juce::MemoryBlock block;
    block.append ("Mopho  Libr >", 13);
    for (const auto& r : records)
        block.append (r.data(), r.size());
    block.append ("< Mopho  Libr", 13);
    return block;
}

std::vector<Record> recordsOf (const LibraryStore& store)
{
    std::vector<Record> all;
    for (int i = 0; i < store.getNumRecords(); ++i)
        all.push_back (store.getRecord (i));
    return all;
}

// A library window's page size: the window less its title strip and status line.
constexpr int kPageWidth = 1000, kPageHeight = 620 - 92;

void press (juce::Component& c) { Mouse (c).press (5.0f, 5.0f); }

class LibraryPage : public ::testing::Test
{
protected:
    void SetUp() override
    {
        page = std::make_unique<LibClass> (*rig.processor, dialogs);
        page->setSize (kPageWidth, kPageHeight);
    }
    void TearDown() override
    {
        juce::PopupMenu::dismissAllActiveMenus();
        page.reset();
    }

    void fill (const std::vector<Record>& records)
    {
        const auto image = libraryImage (records);
        store().loadImage (image.getData(), image.getSize());
    }
    juce::File writeFile (const juce::String& name, const juce::MemoryBlock& content)
    {
        auto file = rig.scratch.folder.getChildFile (name);
        file.replaceWithData (content.getData(), content.getSize());
        return file;
    }
    LibraryStore& store() { return page->getStore(); }
    TextInputCont& overlay()
    {
        EXPECT_NE (page->getOverlay(), nullptr);
        return *page->getOverlay();
    }
    bool asking() { return page->getOverlay() != nullptr && page->getOverlay()->isVisible(); }
    // The row's box on screen, pressed as the user would.
    void clickRow (int visibleRow) { Mouse (page->getList()).click (100.0f, (float) (visibleRow * 34 + 15)); }

    GuiRig rig;
    std::shared_ptr<ScriptedDialogs> dialogs = std::make_shared<ScriptedDialogs>();
    std::unique_ptr<LibClass> page;
};

const Record kA = program ("Alpha", 3, 0x11), kB = program ("Bravo", 5, 0x12), kC = program ("Charlie", 3, 0x13),
             kD = program ("Delta", 7, 0x14);
} // namespace

// ---- LIBRARY page: importing and its questions ---------------------------------------------------

TEST_F (LibraryPage, ImportIntoEmptyLibraryAsksNothing)
{
    dialogs->answers.push_back (writeFile ("in.p12l", libraryImage ({ kC, kD, kC })));
    page->loadMenuChosen (LibClass::kFromLibraryFile);

    ASSERT_EQ (dialogs->requests.size(), 1u);
    EXPECT_EQ (dialogs->requests[0].title, "Load Program 12 Library");
    EXPECT_EQ (dialogs->requests[0].patterns, "*.p12l;*.p12b;*.syx");
    EXPECT_FALSE (asking());
    EXPECT_EQ (recordsOf (store()), (std::vector<Record> { kC, kD })); // the repeat is staged once
}

TEST_F (LibraryPage, ImportIntoNonEmptyLibraryFollowsEachChainOfAnswers)
{
    enum Answer
    {
        yes,
        no,
        cancel
    };
    struct Case
    {
        const char* what;
        std::vector<Answer> answers;
        bool saveDialogAnswered;
        std::vector<Record> expected;
        bool savedFile;
    };
    const std::vector<Case> cases {
        { "YES appends", { yes }, false, { kA, kB, kC, kD }, false },
        { "CANCEL keeps", { cancel }, false, { kA, kB }, false },
        { "NO, NO replaces", { no, no }, false, { kC, kD }, false },
        { "NO, CANCEL keeps", { no, cancel }, false, { kA, kB }, false },
        { "NO, YES saves, then replaces", { no, yes }, true, { kC, kD }, true },
        { "NO, YES with the save dialog cancelled keeps", { no, yes }, false, { kA, kB }, false },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        fill ({ kA, kB });
        dialogs->requests.clear();
        const auto saved = rig.scratch.folder.getChildFile ("saved.p12l");
        saved.deleteFile();
        dialogs->answers = { writeFile ("in.p12l", libraryImage ({ kC, kD })) };
        if (c.saveDialogAnswered)
            dialogs->answers.push_back (saved);

        page->loadMenuChosen (LibClass::kFromLibraryFile);
        ASSERT_TRUE (asking());
        EXPECT_EQ (overlay().getTitle(), "Append Programs?");
        EXPECT_EQ (overlay().getOkButton().getCaption(), "YES");
        EXPECT_EQ (overlay().getNoButton().getCaption(), "NO");
        EXPECT_EQ (overlay().getCancelButton().getCaption(), "CANCEL");
        EXPECT_FALSE (overlay().isFieldShown());

        for (size_t i = 0; i < c.answers.size(); ++i)
        {
            if (i == 1)
            {
                EXPECT_EQ (overlay().getTitle(), "Save the Current Library?");
            }
            press (c.answers[i] == yes  ? overlay().getOkButton()
                   : c.answers[i] == no ? overlay().getNoButton()
                                        : overlay().getCancelButton());
        }
        EXPECT_FALSE (asking());
        EXPECT_EQ (recordsOf (store()), c.expected);
        EXPECT_EQ (saved.existsAsFile(), c.savedFile);
        if (c.savedFile)
        {
            juce::MemoryBlock content;
            saved.loadFileAsData (content);
            EXPECT_EQ (content, libraryImage ({ kA, kB })); // the library as it was before the import
            EXPECT_EQ (dialogs->requests.back().title, "Save Prophet 12 Program Library");
        }
    }
}

// YES to "Save the Current Library?" / "Save Current Library?" replaces or clears only once the
// file is written; a write that fails says why and leaves the library as it was.
TEST_F (LibraryPage, AFailedSaveKeepsTheLibraryAndSaysWhy)
{
    const auto blocker = writeFile ("plain", juce::MemoryBlock ("x", 1));
    const auto unwritable = blocker.getChildFile ("lib.p12l");
    for (const bool clearing : { false, true })
    {
        SCOPED_TRACE (clearing ? "clear" : "replace");
        fill ({ kA, kB });
        if (clearing)
        {
            dialogs->answers = { unwritable };
            press (page->getClearAllButton());
            EXPECT_EQ (overlay().getTitle(), "Save Current Library?");
            press (overlay().getOkButton());
        }
        else
        {
            dialogs->answers = { writeFile ("in.p12l", libraryImage ({ kC })), unwritable };
            page->loadMenuChosen (LibClass::kFromLibraryFile);
            press (overlay().getNoButton());
            EXPECT_EQ (overlay().getTitle(), "Save the Current Library?");
            press (overlay().getOkButton());
        }
        EXPECT_EQ (recordsOf (store()), (std::vector<Record> { kA, kB }));
        ASSERT_NE (page->getMessageBox(), nullptr);
        EXPECT_TRUE (page->getMessageBox()->isVisible());
        EXPECT_TRUE (page->getMessageBox()->getText().startsWith ("Could not write lib.p12l: "));
        page->getMessageBox()->getOkButton().notifyClicked();
        GuiRig::pump (20);
        EXPECT_EQ (page->getMessageBox(), nullptr);
    }

    // SAVE itself: the dialog suggests the name with its extension.
    dialogs->answers = { std::nullopt };
    press (page->getSaveButton());
    EXPECT_EQ (dialogs->requests.back().startingFile.getFileName(), "Untitled.p12l");
    EXPECT_EQ (page->getMessageBox(), nullptr);
}

TEST_F (LibraryPage, ImportSourcesWithoutProgramsChangeNothing)
{
    fill ({ kA });
    // A file in which no program is found asks nothing and says so.
    struct Case
    {
        int item;
        const char* file;
        size_t bytes;
    };
    for (const auto& k : { Case { LibClass::kFromLibraryFile, "short.p12l", 13 + 1023 },
                           Case { LibClass::kFromLibraryFile, "empty.p12b", 5000 },
                           Case { LibClass::kFromLibraryFile, "empty.syx", 5000 },
                           Case { LibClass::kFromProgramBankFile, "empty.syx", 5000 },
                           Case { LibClass::kFromProgramBankFile, "empty.p12b", 500 } })
    {
        SCOPED_TRACE (k.file);
        dialogs->answers = { writeFile (k.file, juce::MemoryBlock (k.bytes, true)) };
        page->loadMenuChosen (k.item);
        EXPECT_FALSE (asking());
        EXPECT_EQ (recordsOf (store()), std::vector<Record> { kA });
        ASSERT_NE (page->getMessageBox(), nullptr);
        EXPECT_EQ (page->getMessageBox()->getText(), "No program was found in " + juce::String (k.file) + ".");
        page->getMessageBox()->getOkButton().notifyClicked();
        GuiRig::pump (20);
    }

    // A program bank file picked through "From Library File" is read as a bank: its programs.
    juce::MemoryBlock bank;
    for (const auto& r : { kC, kD })
        bank.append (ProgramDump::programDump (r, 0, 0).getData(), 1178);
    for (const char* name : { "two.p12b", "misnamed.p12l" })
    {
        SCOPED_TRACE (name);
        store().clear();
        dialogs->answers = { writeFile (name, bank) };
        page->loadMenuChosen (LibClass::kFromLibraryFile);
        EXPECT_EQ (recordsOf (store()), (std::vector<Record> { kC, kD }));
    }
    fill ({ kA });

    // A cancelled dialog changes nothing.
    page->loadMenuChosen (LibClass::kFromLibraryFile);
    EXPECT_FALSE (asking());
    EXPECT_EQ (store().getNumPending(), 0);
}

TEST_F (LibraryPage, ImportsFromInstrumentBanksAndPresetBank)
{
    const auto menu = page->buildLoadMenu();
    std::vector<int> ids;
    for (juce::PopupMenu::MenuItemIterator it (menu); it.next();)
        if (! it.getItem().isSeparator)
            ids.push_back (it.getItem().itemID);
    EXPECT_EQ (ids, (std::vector<int> { 200, 300, 100, 101, 102, 103, 104, 105, 106, 107, 777 }));

    page->loadMenuChosen (LibClass::kFromBank + 5); // "Factory Bank 2"
    EXPECT_FALSE (asking());
    ASSERT_GT (store().getNumRecords(), 0);
    EXPECT_EQ (store().getRecord (0), rig.controller().getSlot (5, 0));

    // Ten equal presets and the rest: equal presets are staged once.
    for (int slot = 0; slot < 10; ++slot)
        rig.controller().putSlot (MidiCntrState::kProgramBank, slot, kD);
    page->getStore().clear();
    page->loadMenuChosen (LibClass::kFromPresetBank);
    EXPECT_LE (store().getNumRecords(), 90);
    EXPECT_EQ (store().getRecord (0), kD);
}

// ---- LIBRARY page: commands -----------------------------------------------------------------------

TEST_F (LibraryPage, AddCurrentOfProgramAlreadyInLibraryOnlyTellsSo)
{
    const auto current = program ("Echo    ", 4, 0x21);
    rig.controller().setCurrentProgram (current);
    fill ({ kA, current });

    press (page->getAddCurrentButton());
    ASSERT_TRUE (asking());
    EXPECT_EQ (overlay().getTitle(), "Echo Program already exists in the library.");
    EXPECT_FALSE (overlay().getOkButton().isVisible());
    EXPECT_FALSE (overlay().getCancelButton().isVisible());
    ASSERT_TRUE (overlay().getNoButton().isVisible());
    EXPECT_EQ (overlay().getNoButton().getCaption(), "OK");
    press (overlay().getNoButton());
    EXPECT_FALSE (asking());
    EXPECT_EQ (store().getNumRecords(), 2);
}

TEST_F (LibraryPage, AddCurrentFilesTheNamedCopyAndMakesItCurrent)
{
    const auto current = program ("Foxtrot", 4, 0x22);
    rig.controller().setCurrentProgram (current);
    fill ({ kA });
    rig.settle();
    rig.standIn.clearReceivedMessages();

    press (page->getAddCurrentButton());
    ASSERT_TRUE (asking());
    EXPECT_EQ (overlay().getTitle(), "Program name:");
    EXPECT_EQ (overlay().getText(), "Foxtrot");
    EXPECT_TRUE (overlay().isCategoryBoxShown());
    EXPECT_EQ (overlay().getCategory(), 4);
    overlay().setText ({});
    overlay().categoryMenuChosen (9 + 1); // "Bright Bass"
    // The program moves on (a knob, the instrument) before OK: what was pressed on is filed.
    rig.processor->getParameters()[8]->setValue (0.0f);
    ASSERT_NE (rig.controller().getCurrentProgram(), current);
    press (overlay().getOkButton());

    ASSERT_EQ (store().getNumRecords(), 2);
    auto expected = current;
    ProgramDump::writeName (expected.data(), "Untitled");
    expected[ProgramDump::kCategoryOffset] = 9;
    EXPECT_EQ (store().getRecord (1), expected);
    EXPECT_EQ (store().getSelectedRow(), 1);
    rig.settle();
    EXPECT_EQ (rig.standIn.getEditBuffer(), expected);
    EXPECT_EQ (rig.controller().getCurrentProgram(), expected);
}

TEST_F (LibraryPage, SelectingRowsSendsTheRecordAsEditBufferEveryTime)
{
    fill ({ kA, kB, kC });
    rig.settle();
    rig.standIn.clearReceivedMessages();

    clickRow (1);
    rig.settle();
    EXPECT_EQ (rig.standIn.getEditBuffer(), kB);
    EXPECT_EQ (rig.controller().getCurrentProgram(), kB);
    const int slot = juce::jmax (0, rig.controller().getCurrentSlot());
    EXPECT_EQ (rig.controller().getSlot (MidiCntrState::kProgramBank, slot), kB);

    clickRow (1);
    clickRow (2);
    rig.settle();
    EXPECT_EQ (rig.standIn.countReceived (kEditBufferDump), 3);
    EXPECT_EQ (rig.standIn.getEditBuffer(), kC);
    EXPECT_TRUE (page->getRenameButton().isVisible());
    EXPECT_TRUE (page->getDeleteButton().isVisible());

    // A rebuild leaves nothing selected and sends nothing.
    page->categoryChosen (CatContainer::kListAll);
    rig.settle();
    EXPECT_EQ (rig.standIn.countReceived (kEditBufferDump), 3);
    EXPECT_FALSE (page->getRenameButton().isVisible());
}

TEST_F (LibraryPage, RenameRefiltersToTheFilterCategory)
{
    fill ({ kA, kB, program ("Zero", 0, 0x15) });
    ASSERT_EQ (store().getFilterMode(), 0);
    clickRow (0);

    // An empty text changes nothing: no rename, no re-filtering.
    press (page->getRenameButton());
    EXPECT_EQ (overlay().getTitle(), "Rename Alpha           :");
    EXPECT_EQ (overlay().getCategory(), 3);
    overlay().setText ({});
    press (overlay().getOkButton());
    EXPECT_EQ (store().getRecord (0), kA);
    EXPECT_EQ (store().getFilterMode(), 0);
    EXPECT_EQ (store().getRowCount(), 3);

    clickRow (0);
    press (page->getRenameButton());
    overlay().setText ("Renamed");
    overlay().categoryMenuChosen (6);
    press (overlay().getOkButton());

    EXPECT_EQ (ProgramDump::readName (store().getRecord (0).data(), ProgramDump::NameVariant::slot), "Renamed");
    EXPECT_EQ (store().getRecord (0)[ProgramDump::kCategoryOffset], 5);
    // The list shows the filter category (0 at start), as if its button had been pressed.
    EXPECT_EQ (store().getFilterMode(), 1);
    EXPECT_EQ (store().getRows(), std::vector<int> { 2 });
    EXPECT_EQ (page->getFilterLabel().getText(), "- Not Assigned -");
}

TEST_F (LibraryPage, DeleteAndClearAll)
{
    fill ({ kA, kB });
    clickRow (0);
    press (page->getDeleteButton());
    EXPECT_EQ (overlay().getTitle(), "Delete Alpha            ?");
    EXPECT_FALSE (overlay().getNoButton().isVisible());
    press (overlay().getCancelButton());
    EXPECT_EQ (store().getNumRecords(), 2);

    press (page->getDeleteButton());
    press (overlay().getOkButton());
    EXPECT_EQ (recordsOf (store()), std::vector<Record> { kB });

    // CLEAR ALL: YES saves first and clears only once saved; NO clears.
    const auto saved = rig.scratch.folder.getChildFile ("before-clear.p12l");
    press (page->getClearAllButton());
    EXPECT_EQ (overlay().getTitle(), "Save Current Library?");
    press (overlay().getOkButton()); // the save dialog is cancelled
    EXPECT_EQ (store().getNumRecords(), 1);
    dialogs->answers = { saved };
    press (page->getClearAllButton());
    press (overlay().getOkButton());
    EXPECT_TRUE (saved.existsAsFile());
    EXPECT_EQ (store().getNumRecords(), 0);
    EXPECT_FALSE (page->getSaveButton().isVisible());
    EXPECT_FALSE (page->getClearAllButton().isVisible());
}

TEST_F (LibraryPage, CategoryCountsFollowEveryRebuild)
{
    auto& panel = page->getCategoryPanel();
    EXPECT_EQ (panel.getCountLabel (CatContainer::kListAll).getText(), "Size: 0");
    EXPECT_EQ (panel.getButton (0).getCaption(), "-----");
    EXPECT_EQ (panel.getButton (3).getCaption(), "STRINGS");
    EXPECT_EQ (panel.getButton (CatContainer::kListAll).getCaption(), "LIST ALL");

    fill ({ kA, kB, kC });
    EXPECT_EQ (panel.getCountLabel (3).getText(), "2");
    EXPECT_EQ (panel.getCountLabel (5).getText(), "1");
    EXPECT_EQ (panel.getCountLabel (7).getText(), "");
    EXPECT_EQ (panel.getCountLabel (CatContainer::kListAll).getText(), "Size: 3");

    // The button released over the category filters the list; counts stay over the whole library.
    Mouse (panel.getButton (5)).click (10.0f, 5.0f);
    GuiRig::pump();
    EXPECT_EQ (page->getFilterLabel().getText(), "Bright Lead");
    EXPECT_EQ (store().getRows(), std::vector<int> { 1 });
    EXPECT_EQ (panel.getCountLabel (3).getText(), "2");

    clickRow (0);
    press (page->getDeleteButton());
    press (overlay().getOkButton());
    EXPECT_EQ (panel.getCountLabel (5).getText(), "");
    EXPECT_EQ (panel.getCountLabel (CatContainer::kListAll).getText(), "Size: 2");
    EXPECT_EQ (store().getRowCount(), 0);
    // A category without records hides SAVE and CLEAR ALL although the library is not empty.
    EXPECT_FALSE (page->getSaveButton().isVisible());
    EXPECT_FALSE (page->getClearAllButton().isVisible());

    Mouse (panel.getButton (CatContainer::kListAll)).click (10.0f, 5.0f);
    GuiRig::pump();
    EXPECT_EQ (page->getFilterLabel().getText(), "");
    EXPECT_EQ (store().getRowCount(), 2);
    EXPECT_TRUE (page->getSaveButton().isVisible());
}

// ---- Search, SysEx files in and out --------------------------------------------------------------

TEST_F (LibraryPage, SearchFiltersAsTheUserTypes)
{
    auto& field = page->getSearchField();
    auto& panel = page->getCategoryPanel();
    const auto type = [&] (juce::KeyPress key) {
        field.keyPressed (key);
        GuiRig::pump (20); // the field tells its listeners asynchronously
    };
    const auto typeText = [&] (const char* text) {
        for (const char* c = text; *c != 0; ++c)
            type (juce::KeyPress (*c, {}, (juce::juce_wchar) *c));
    };

    // In the free space above the category panel, clear of every other control.
    EXPECT_EQ (field.getBounds(), juce::Rectangle<int> (400, 58, 300, 26));
    for (auto* other : page->getChildren())
    {
        if (other != &field && other->isVisible())
        {
            EXPECT_FALSE (other->getBounds().intersects (field.getBounds())) << other->getName();
        }
    }

    fill ({ kA, kB, kC, kD, program ("Hannah", 5, 0x15) });
    typeText ("HA");
    EXPECT_EQ (store().getRows(), (std::vector<int> { 0, 2, 4 }));
    EXPECT_EQ (panel.getCountLabel (3).getText(), "2");
    EXPECT_EQ (panel.getCountLabel (5).getText(), "1");
    EXPECT_EQ (panel.getCountLabel (7).getText(), "");
    EXPECT_EQ (panel.getCountLabel (CatContainer::kListAll).getText(), "Size: 3");

    // With a category chosen, the search narrows it; the counts stay over every category.
    Mouse (panel.getButton (3)).click (10.0f, 5.0f);
    GuiRig::pump();
    typeText ("r");
    EXPECT_EQ (store().getRows(), std::vector<int> { 2 });
    EXPECT_EQ (panel.getCountLabel (CatContainer::kListAll).getText(), "Size: 1");

    // Return plays the first match.
    rig.settle();
    type (juce::KeyPress (juce::KeyPress::returnKey));
    rig.settle();
    EXPECT_EQ (rig.controller().getCurrentProgram(), kC);
    EXPECT_EQ (rig.standIn.getEditBuffer(), kC);
    EXPECT_TRUE (page->getRenameButton().isVisible());

    // A search that leaves nothing hides what needs rows; Escape empties it.
    typeText ("zz");
    EXPECT_EQ (store().getRowCount(), 0);
    EXPECT_FALSE (page->getSaveButton().isVisible());
    EXPECT_FALSE (page->getExportButton().isVisible());
    type (juce::KeyPress (juce::KeyPress::escapeKey));
    EXPECT_EQ (field.getText(), "");
    EXPECT_EQ (store().getRows(), (std::vector<int> { 0, 2 })); // category 3 still chosen
    EXPECT_EQ (panel.getCountLabel (CatContainer::kListAll).getText(), "Size: 5");
}

TEST_F (LibraryPage, SysExFileIntoTheLibrarySaysWhatCameIn)
{
    using Fixture = SysExFixture::Record;
    const auto night = Fixture (SysExFixture::record ("Night Drive", 3, 11));
    const auto glass = Fixture (SysExFixture::record ("Glass Pad", 7, 200));
    const auto last = Fixture (SysExFixture::record ("Last Whole", 0, 5));

    // Into an empty library: every whole dump, in order, with its category; nothing asked.
    dialogs->answers = { writeFile ("download.syx", SysExFixture::mixedFile()) };
    page->loadMenuChosen (LibClass::kFromLibraryFile);
    EXPECT_EQ (dialogs->requests.back().patterns, "*.p12l;*.p12b;*.syx");
    EXPECT_FALSE (asking());
    EXPECT_EQ (recordsOf (store()), (std::vector<Record> { night, glass, last }));
    EXPECT_EQ (page->getCategoryPanel().getCountLabel (7).getText(), "1");
    ASSERT_NE (page->getMessageBox(), nullptr);
    EXPECT_EQ (page->getMessageBox()->getText(), "Added 3 programs from download.syx; none was a duplicate.");

    // Appended again: the library refuses what it holds. Replacing counts the file's own repeats.
    juce::MemoryBlock again;
    for (const auto& r : { night, night, kA })
        SysExFixture::appendBlock (again, SysExFixture::editBufferDump (r));
    struct Case
    {
        const char* file;
        juce::MemoryBlock content;
        std::vector<const char*> answers; // pressed on the overlay in order
        std::vector<Record> expected;
        const char* message;
    };
    const Case cases[] = {
        { "download.syx",
          SysExFixture::mixedFile(),
          { "YES" },
          { night, glass, last },
          "Added 0 programs from download.syx; 3 were duplicates." },
        { "again.syx",
          again,
          { "YES" },
          { night, glass, last, kA },
          "Added 1 program from again.syx; 2 were duplicates." },
        { "again.syx", again, { "NO", "NO" }, { night, kA }, "Added 2 programs from again.syx; 1 was a duplicate." },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.message);
        dialogs->answers = { writeFile (c.file, c.content) };
        page->loadMenuChosen (LibClass::kFromLibraryFile);
        for (const juce::String answer : c.answers)
        {
            ASSERT_TRUE (asking());
            press (answer == "YES" ? overlay().getOkButton() : overlay().getNoButton());
        }
        EXPECT_EQ (recordsOf (store()), c.expected);
        ASSERT_NE (page->getMessageBox(), nullptr);
        EXPECT_EQ (page->getMessageBox()->getText(), c.message);
    }

    // Through "From Program Bank File" the dumps are a bank's programs, staged as from a bank file.
    dialogs->answers = { writeFile ("download.syx", SysExFixture::mixedFile()) };
    page->loadMenuChosen (LibClass::kFromProgramBankFile);
    EXPECT_EQ (dialogs->requests.back().patterns, "*.p12b;*.syx");
    ASSERT_TRUE (asking());
    press (overlay().getOkButton());
    EXPECT_EQ (recordsOf (store()), (std::vector<Record> { night, kA, night, glass, last }));
}

TEST_F (LibraryPage, ExportWritesTheShownProgramsForUserBank1)
{
    EXPECT_FALSE (page->getExportButton().isVisible());
    fill ({ kA, kB, kC, kD });
    EXPECT_TRUE (page->getExportButton().isVisible());
    EXPECT_EQ (page->getExportButton().getBounds(), juce::Rectangle<int> (kPageWidth - 120, 130, 100, 34));

    Mouse (page->getCategoryPanel().getButton (3)).click (10.0f, 5.0f);
    GuiRig::pump();
    dialogs->answers = { rig.scratch.folder.getChildFile ("strings") };
    press (page->getExportButton());
    ASSERT_EQ (dialogs->requests.size(), 1u);
    const auto& request = dialogs->requests.back();
    EXPECT_TRUE (request.save);
    EXPECT_EQ (request.title, "Export 2 Programs as SysEx to User Bank 1 P 1 .. User Bank 1 P 2");
    EXPECT_EQ (request.patterns, "*.syx");
    EXPECT_EQ (request.startingFile.getFileName(), "Strings.syx");

    // One program dump per record, addressed to U1 P 1 and U1 P 2, as any SysEx tool sends it.
    juce::MemoryBlock written;
    ASSERT_TRUE (rig.scratch.folder.getChildFile ("strings.syx").loadFileAsData (written));
    ASSERT_EQ (written.getSize(), 2u * 1178u);
    const auto* bytes = static_cast<const uint8_t*> (written.getData());
    for (int i = 0; i < 2; ++i)
    {
        const auto* dump = bytes + i * 1178;
        EXPECT_EQ (std::vector<uint8_t> (dump, dump + 6),
                   (std::vector<uint8_t> { 0xF0, 0x01, 0x2A, 0x02, 0, (uint8_t) i }));
        EXPECT_EQ (dump[1177], 0xF7);
        EXPECT_EQ (ProgramDump::parseBlock (dump, 1178), i == 0 ? kA : kC);
    }

    // Past 99 the dumps go on into the next user banks, and never past User Bank 4.
    std::vector<Record> many;
    for (int i = 0; i < 400; ++i)
        many.push_back (program ("Many " + juce::String (i), 1, (uint8_t) i));
    fill (many);
    EXPECT_EQ (page->exportTitle(),
               "Export the First 396 of 400 Programs as SysEx to User Bank 1 P 1 .. User Bank 4 P 99");
    const auto image = page->exportImage();
    ASSERT_EQ (image.getSize(), 396u * 1178u);
    EXPECT_EQ (static_cast<const uint8_t*> (image.getData())[395 * 1178 + 4], 3);
    EXPECT_EQ (static_cast<const uint8_t*> (image.getData())[395 * 1178 + 5], 98);
    fill ({ kB });
    EXPECT_EQ (page->exportTitle(), "Export 1 Program as SysEx to User Bank 1 P 1");

    // A write that fails says so.
    ASSERT_TRUE (rig.scratch.folder.getChildFile ("plain").replaceWithText ("a file, not a folder"));
    dialogs->answers = { rig.scratch.folder.getChildFile ("plain").getChildFile ("out") };
    press (page->getExportButton());
    ASSERT_NE (page->getMessageBox(), nullptr);
    EXPECT_TRUE (page->getMessageBox()->getText().startsWith ("Could not write out.syx: "));
}

namespace
{
struct HoverCase
{
    LibBut& button;
    juce::String text;
};

// The pointer entering and leaving each button: its hover text shows, then the label empties.
void checkHoverTexts (const std::vector<HoverCase>& cases, SimpleLabel& status)
{
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.button.getCaption());
        const juce::MouseEvent event (juce::Desktop::getInstance().getMainMouseSource(), {}, {}, 0.0f, 0.0f, 0.0f, 0.0f,
                                      0.0f, &c.button, &c.button, juce::Time(), {}, juce::Time(), 0, false);
        c.button.mouseEnter (event);
        EXPECT_EQ (status.getText(), c.text);
        c.button.mouseExit (event);
        EXPECT_EQ (status.getText(), "");
    }
}
} // namespace

TEST_F (LibraryPage, HoverTextsGoToTheStatusLabel)
{
    checkHoverTexts (
        { { page->getLoadButton(), "Load Library or Bank Files" },
          { page->getSaveButton(), "Save Library File" },
          { page->getClearAllButton(), "Remove all items from Library" },
          { page->getRenameButton(), "Rename selected program in the Library" },
          { page->getDeleteButton(), "Delete selected program from the Library" },
          { page->getAddCurrentButton(), "Add the current program to the Library" },
          { page->getExportButton(), juce::String (juce::CharPointer_UTF8 (
                                         "Export as SysEx\xe2\x80\xa6 the programs shown, for User Bank 1 on")) },
          { page->getDoneButton(), "" } },
        page->getStatusLabel());
}

TEST_F (LibraryPage, DestroyingThePageWritesTheDefaultLibraryUnlessEmpty)
{
    const auto file = page->getDefaultLibraryFile();
    fill ({ kA, kB });
    page.reset();
    juce::MemoryBlock content;
    ASSERT_TRUE (file.loadFileAsData (content));
    EXPECT_EQ (content, libraryImage ({ kA, kB }));

    page = std::make_unique<LibClass> (*rig.processor, dialogs);
    page->readDefaultLibrary();
    EXPECT_EQ (recordsOf (store()), (std::vector<Record> { kA, kB }));
    store().clear();
    page.reset();
    juce::MemoryBlock after;
    ASSERT_TRUE (file.loadFileAsData (after));
    EXPECT_EQ (after, libraryImage ({ kA, kB }));
}

// What is filed reaches the default file soon, with the page still open: a crash loses nothing.
TEST_F (LibraryPage, EveryChangeReachesTheDefaultFileSoon)
{
    const auto file = page->getDefaultLibraryFile();
    auto onDisk = [&] { return LibraryKeeper::recordsOfImage (FileMan::readFile (file)); };
    auto bytes = [] (const std::vector<Record>& records) {
        LibraryKeeper::Bytes all;
        for (const auto& r : records)
            all.insert (all.end(), r.begin(), r.end());
        return all;
    };

    fill ({ kA, kB });
    EXPECT_TRUE (GuiRig::pumpUntil ([&] { return onDisk() == bytes ({ kA, kB }); }));
    clickRow (0);
    press (page->getDeleteButton());
    press (overlay().getOkButton());
    EXPECT_TRUE (GuiRig::pumpUntil ([&] { return onDisk() == bytes ({ kB }); }));

    // A second instance on the same file: each keeps what the other filed, and the removal in one
    // reaches the other.
    LibClass other (*rig.processor, dialogs);
    other.setSize (kPageWidth, kPageHeight);
    other.readDefaultLibrary();
    EXPECT_EQ (recordsOf (other.getStore()), std::vector<Record> { kB });
    other.getStore().addProgram ("Charlie", kC.data(), kC.size());
    const auto charlie = other.getStore().getRecord (1);
    store().addProgram ("Delta", kD.data(), kD.size());
    const auto delta = store().getRecord (1);
    EXPECT_TRUE (GuiRig::pumpUntil (
        [&] { return recordsOf (store()).size() == 3 && recordsOf (other.getStore()).size() == 3; }));
    for (const auto* s : { &store(), &other.getStore() })
    {
        EXPECT_TRUE (s->contains (charlie));
        EXPECT_TRUE (s->contains (delta));
    }
    other.getStore().selectRow (0);
    other.getStore().removeSelected(); // kB
    EXPECT_TRUE (GuiRig::pumpUntil ([&] { return ! store().contains (kB); }));
    EXPECT_TRUE (GuiRig::pumpUntil ([&] { return onDisk().size() == 2 * 1024; }));
}

// The default file cannot be written: the library stays in memory and the user is told why.
TEST_F (LibraryPage, AFailedDefaultWriteIsReported)
{
    ASSERT_TRUE (page->getDefaultLibraryFile().createDirectory()); // a folder where the file belongs
    fill ({ kA });
    ASSERT_TRUE (GuiRig::pumpUntil ([&] { return page->getMessageBox() != nullptr; }));
    EXPECT_TRUE (page->getMessageBox()->getText().startsWith ("Could not write p12Lib.p12l: "))
        << page->getMessageBox()->getText();
    EXPECT_EQ (recordsOf (store()), std::vector<Record> { kA });
}

// ---- The program list ------------------------------------------------------------------------------

// Only a double click on a row acts (as DONE): not on the scroll track, nor below the last row.
TEST_F (LibraryPage, OnlyADoubleClickOnARowActs)
{
    struct DoneSpy : LibButListener
    {
        void libButClicked (LibBut*, int) override { ++clicks; }
        void libButEntered (LibBut*, int) override {}
        void libButLeft (LibBut*, int) override {}
        int clicks = 0;
    } done;
    page->getDoneButton().addListener (&done);

    std::vector<Record> many;
    for (int i = 0; i < 20; ++i)
        many.push_back (program ("P" + juce::String (i), 1, (uint8_t) (0x40 + i)));
    struct Case
    {
        int records;
        float x, y;
        int clicks;
    };
    for (const auto& k : { Case { 20, 315.0f, 400.0f, 0 },        // scroll track
                           Case { 2, 100.0f, 5 * 34 + 15.0f, 0 }, // below the last row
                           Case { 2, 100.0f, 34 + 15.0f, 1 } })
    {
        done.clicks = 0;
        fill (std::vector<Record> (many.begin(), many.begin() + k.records));
        Mouse (page->getList()).doubleClick (k.x, k.y);
        EXPECT_EQ (done.clicks, k.clicks) << k.x << ", " << k.y;
    }
    page->getDoneButton().removeListener (&done);
}

TEST_F (LibraryPage, ListScrollsOnlyWhenRowsDoNotFit)
{
    auto& list = page->getList();
    fill ({ kA, kB, kC });
    EXPECT_FALSE (list.hasScrollBar());
    Mouse (list).wheel (100.0f, 50.0f, -1.0f);
    EXPECT_EQ (list.getFirstVisibleRow(), 0);
    Mouse (list).click (300.0f, 15.0f); // right of x 272: no row, no scroll bar
    EXPECT_EQ (store().getSelectedRow(), -1);

    std::vector<Record> many;
    for (int i = 0; i < 40; ++i)
        many.push_back (program ("P" + juce::String (i), i % 26, (uint8_t) i));
    fill (many);
    ASSERT_TRUE (list.hasScrollBar());
    Mouse (list).wheel (100.0f, 50.0f, -1.0f);
    EXPECT_EQ (list.getFirstVisibleRow(), 1);
    Mouse (list).wheel (100.0f, 50.0f, 1.0f);
    Mouse (list).wheel (100.0f, 50.0f, 1.0f);
    EXPECT_EQ (list.getFirstVisibleRow(), 0);

    // The track below the thumb steps down; the thumb dragged to the bottom shows the last rows.
    Mouse (list).click (315.0f, 400.0f);
    EXPECT_EQ (list.getFirstVisibleRow(), 1);
    const auto thumb = list.getThumbBounds();
    Mouse drag (list);
    drag.press (315.0f, (float) thumb.getCentreY());
    drag.drag (315.0f, 2000.0f);
    drag.release (315.0f, 2000.0f);
    EXPECT_EQ (list.getFirstVisibleRow(), 40 - 15);

    // A press below the last row selects the last row; names show control codes as "A".
    fill ({ kA, kB });
    Mouse (list).click (100.0f, 400.0f);
    EXPECT_EQ (store().getSelectedRow(), 1);
    auto odd = kA;
    odd[ProgramDump::kNameOffset] = 7;
    odd[ProgramDump::kNameOffset + 1] = 200;
    EXPECT_TRUE (StsFile::listName (odd.data()).startsWith ("AApha"));
}

// ---- Widgets ---------------------------------------------------------------------------------------

TEST (LibraryWidgets, StButCountsOnlyReleasesInside)
{
    struct Spy : StButListener, juce::ChangeListener
    {
        void stButEvent (StBut*, int code, int) override { codes.push_back (code); }
        void changeListenerCallback (juce::ChangeBroadcaster*) override { ++changes; }
        std::vector<int> codes;
        int changes = 0;
    } spy;
    StBut button ("KEYS", 1);
    button.setSize (100, 18);
    button.addListener (&spy);
    button.addChangeListener (&spy);

    Mouse mouse (button);
    mouse.press (10.0f, 5.0f);
    EXPECT_TRUE (button.isPressed());
    mouse.release (150.0f, 5.0f);
    GuiRig::pump();
    EXPECT_FALSE (button.isPressed());
    EXPECT_EQ (spy.codes, std::vector<int> { StBut::kPressed });
    EXPECT_EQ (spy.changes, 0);

    mouse.click (10.0f, 5.0f);
    GuiRig::pump();
    EXPECT_EQ (spy.codes, (std::vector<int> { StBut::kPressed, StBut::kPressed, StBut::kReleased }));
    EXPECT_EQ (spy.changes, 1);
}

TEST (LibraryWidgets, OverlayLaysOutTwoOrThreeButtons)
{
    juce::Component owner;
    owner.setSize (kPageWidth, kPageHeight);
    TextInputCont overlay;
    owner.addChildComponent (overlay);

    overlay.showRequest ("Append Programs?   ", {}, "CANCEL", "YES", "NO", -1, 256, 5);
    EXPECT_EQ (overlay.getTitle(), "Append Programs?");
    EXPECT_EQ (overlay.getBounds(), owner.getLocalBounds());
    EXPECT_EQ (overlay.getOkButton().getBounds(), juce::Rectangle<int> ((kPageWidth - 340) / 2, 116, 100, 34));
    EXPECT_EQ (overlay.getNoButton().getX(), (kPageWidth - 340) / 2 + 120);
    EXPECT_EQ (overlay.getCancelButton().getX(), (kPageWidth - 340) / 2 + 240);

    overlay.showRequest ("Rename", "Name", "CANCEL", "OK", {}, 4, 1280, 0);
    EXPECT_FALSE (overlay.getNoButton().isVisible());
    EXPECT_EQ (overlay.getOkButton().getBounds(), juce::Rectangle<int> ((kPageWidth - 220) / 2, 136, 100, 34));
    EXPECT_EQ (overlay.getCancelButton().getX(), (kPageWidth - 220) / 2 + 120);
    EXPECT_EQ (TextInputCont::buildCategoryMenu().getNumItems(), 26);

    overlay.close();
    EXPECT_FALSE (overlay.isVisible());
    EXPECT_EQ (overlay.getBounds(), juce::Rectangle<int> (-100, -100, 50, 50));
}

// ---- PRESET BANK page ------------------------------------------------------------------------------

namespace
{
class PresetPage : public ::testing::Test
{
protected:
    void SetUp() override
    {
        page = std::make_unique<Plugin_Bank> (*rig.processor, dialogs);
        page->setSize (kPageWidth, kPageHeight);
        page->showCurrentSlot();
        rig.settle();
        rig.standIn.clearReceivedMessages();
    }
    void TearDown() override
    {
        juce::PopupMenu::dismissAllActiveMenus();
        page.reset();
    }
    Record slot (int s) { return rig.controller().getSlot (MidiCntrState::kProgramBank, s); }
    juce::MemoryBlock read (const juce::File& f)
    {
        juce::MemoryBlock m;
        f.loadFileAsData (m);
        return m;
    }

    GuiRig rig;
    std::shared_ptr<ScriptedDialogs> dialogs = std::make_shared<ScriptedDialogs>();
    std::unique_ptr<Plugin_Bank> page;
};
} // namespace

TEST_F (PresetPage, SavedBankLoadsBackAsTheSame99Slots)
{
    EXPECT_EQ (page->getList().getNumRows(), 99);
    std::vector<Record> before;
    for (int s = 0; s < 99; ++s)
    {
        rig.controller().putSlot (MidiCntrState::kProgramBank, s,
                                  program ("S" + juce::String (s), s % 26, (uint8_t) s));
        before.push_back (slot (s));
    }

    const auto file = rig.scratch.folder.getChildFile ("bank"); // no extension: ".fxb" is added
    dialogs->answers = { file };
    page->saveMenuChosen (Plugin_Bank::kSaveBankFile);
    ASSERT_EQ (dialogs->requests.back().title, "Save FX Preset Bank");
    EXPECT_EQ (dialogs->requests.back().startingFile.getFileName(), "Prophet 12 Preset Bank.fxb");
    const auto saved = file.withFileExtension (".fxb");
    const auto content = read (saved);
    ASSERT_EQ (content.getSize(), (size_t) StateChunks::kBankChunkBytes);
    EXPECT_EQ (juce::String ((const char*) content.getData(), 19), "Prophet12OstrelBank");

    for (int s = 0; s < 99; ++s)
        rig.controller().putSlot (MidiCntrState::kProgramBank, s, kA);
    dialogs->answers = { saved };
    page->loadMenuChosen (Plugin_Bank::kLoadBankFile);
    EXPECT_EQ (dialogs->requests.back().title, "Load FX Preset Bank");
    for (int s = 0; s < 99; ++s)
        ASSERT_EQ (slot (s), before[(size_t) s]) << s;
    // The bank file also brings back the program that was current when it was saved, once.
    rig.settle();
    EXPECT_EQ (rig.standIn.countReceived (kEditBufferDump), 1);
    EXPECT_EQ (rig.standIn.getEditBuffer(), rig.controller().getCurrentProgram());
}

TEST_F (PresetPage, SavedPresetStartsWithProgramHeaderAndLoadsBack)
{
    const auto current = program ("Golf", 2, 0x31);
    rig.controller().setCurrentProgram (current);
    const auto menu = page->buildSaveMenu();
    juce::PopupMenu::MenuItemIterator it (menu);
    ASSERT_TRUE (it.next());
    EXPECT_EQ (it.getItem().itemID, Plugin_Bank::kSavePresetFile);

    const auto file = rig.scratch.folder.getChildFile ("one.fxp");
    dialogs->answers = { file };
    page->saveMenuChosen (Plugin_Bank::kSavePresetFile);
    EXPECT_EQ (dialogs->requests.back().title, "Save FX Preset");
    const auto content = read (file);
    ASSERT_EQ (content.getSize(), (size_t) StateChunks::kProgramChunkBytes);
    EXPECT_EQ (juce::String ((const char*) content.getData(), 23), "Prophet12OstrelSettings");
    EXPECT_EQ (memcmp (content.begin() + 33, current.data(), 1024), 0);

    rig.controller().setCurrentProgram (kB);
    dialogs->answers = { file };
    page->loadMenuChosen (Plugin_Bank::kLoadPresetFile);
    rig.settle();
    EXPECT_EQ (rig.controller().getCurrentProgram(), current);
    EXPECT_EQ (rig.standIn.getEditBuffer(), current);

    // A file that is not there is not read.
    dialogs->answers = { rig.scratch.folder.getChildFile ("missing.fxp") };
    rig.controller().setCurrentProgram (kB);
    page->loadMenuChosen (Plugin_Bank::kLoadPresetFile);
    EXPECT_EQ (rig.controller().getCurrentProgram(), kB);
}

// The chunks are taken only when the dialog is confirmed: taking them stores the program being edited
// (or makes slot 0 current), which a cancelled save must not do.
TEST_F (PresetPage, ACancelledSaveChangesNothingAndAFailedOneSaysWhy)
{
    rig.controller().setCurrentSlot (-1);
    rig.controller().setCurrentProgram (kD);
    const auto slotZero = slot (0);
    for (int item : { Plugin_Bank::kSavePresetFile, Plugin_Bank::kSaveBankFile })
    {
        dialogs->answers = { std::nullopt };
        page->saveMenuChosen (item);
        EXPECT_EQ (slot (0), slotZero) << item;
        EXPECT_EQ (rig.controller().getCurrentSlot(), -1) << item;
        EXPECT_EQ (page->getMessageBox(), nullptr);
    }

    const auto blocker = rig.scratch.folder.getChildFile ("plain");
    ASSERT_TRUE (blocker.replaceWithText ("a file, not a folder"));
    dialogs->answers = { blocker.getChildFile ("bank") };
    page->saveMenuChosen (Plugin_Bank::kSaveBankFile);
    ASSERT_NE (page->getMessageBox(), nullptr);
    EXPECT_TRUE (page->getMessageBox()->getText().startsWith ("Could not write bank.fxb: "));
}

// A preset file that is not this plug-in's chunk is refused with a message and changes nothing.
TEST_F (PresetPage, AForeignPresetFileIsRefused)
{
    const auto current = program ("Hotel", 2, 0x33);
    rig.controller().setCurrentProgram (current);
    std::vector<Record> before;
    for (int s = 0; s < 99; ++s)
        before.push_back (slot (s));

    juce::MemoryBlock foreign (StateChunks::kBankChunkBytes, true);
    foreign.copyFrom ("SomeoneElsesBank", 0, 16);
    struct Case
    {
        int item;
        const char* file;
        juce::MemoryBlock content;
        const char* message;
    };
    const Case cases[] = {
        { Plugin_Bank::kLoadBankFile, "other.fxb", foreign, "other.fxb is not a Prophet 12 preset bank file." },
        { Plugin_Bank::kLoadPresetFile, "other.fxp", foreign, "other.fxp is not a Prophet 12 preset file." },
        { Plugin_Bank::kLoadPresetFile, "cut.fxp", juce::MemoryBlock ("Prophet12OstrelSettingsVersion100", 33),
          "cut.fxp is not a Prophet 12 preset file." },
        { Plugin_Bank::kLoadProgramBankFile, "none.p12b", juce::MemoryBlock (800, true),
          "No program was found in none.p12b." },
    };
    for (const auto& k : cases)
    {
        SCOPED_TRACE (k.file);
        const auto file = rig.scratch.folder.getChildFile (k.file);
        file.replaceWithData (k.content.getData(), k.content.getSize());
        dialogs->answers = { file };
        page->loadMenuChosen (k.item);
        ASSERT_NE (page->getMessageBox(), nullptr);
        EXPECT_EQ (page->getMessageBox()->getText(), k.message);
        EXPECT_EQ (rig.controller().getCurrentProgram(), current);
        for (int s = 0; s < 99; ++s)
            ASSERT_EQ (slot (s), before[(size_t) s]) << s;
        page->getMessageBox()->getOkButton().notifyClicked();
        GuiRig::pump (20);
    }
    rig.settle();
    EXPECT_EQ (rig.standIn.countReceived (kEditBufferDump), 0);
}

TEST_F (PresetPage, RenameWithEmptyTextStillFilesTheCategory)
{
    rig.controller().putSlot (MidiCntrState::kProgramBank, 2, kA);
    Mouse (page->getList()).click (100.0f, 2 * 34 + 15);
    ASSERT_EQ (page->getList().getSelectedSlot(), 2);
    ASSERT_TRUE (page->getRenameButton().isVisible());

    press (page->getRenameButton());
    auto& overlay = *page->getOverlay();
    EXPECT_EQ (overlay.getTitle(), "Rename Alpha:");
    EXPECT_EQ (overlay.getText(), "Alpha");
    overlay.setText ({});
    overlay.categoryMenuChosen (12 + 1);
    press (overlay.getOkButton());
    EXPECT_EQ (rig.controller().getSlotName (MidiCntrState::kProgramBank, 2), "Alpha");
    EXPECT_EQ (slot (2)[ProgramDump::kCategoryOffset], 12);

    press (page->getRenameButton());
    overlay.setText ("Hotel");
    press (overlay.getOkButton());
    EXPECT_EQ (rig.controller().getSlotName (MidiCntrState::kProgramBank, 2), "Hotel");
}

TEST_F (PresetPage, SetCurrentStoresTheEditBufferIntoTheChosenSlotAndSendsIt)
{
    const auto current = program ("India", 8, 0x41);
    rig.controller().setCurrentProgram (current);

    press (page->getSetCurrentButton());
    auto* overlay = page->getSetCurrentOverlay();
    ASSERT_NE (overlay, nullptr);
    ASSERT_TRUE (overlay->isVisible());
    EXPECT_EQ (overlay->getText(), "India");
    EXPECT_EQ (overlay->buildTargetMenu().getNumItems(), 99);

    overlay->setText ("Juliet");
    overlay->targetMenuChosen (TextSetCurCont::kTargetItemBase + 5);
    EXPECT_TRUE (overlay->getTargetText().startsWith ("6    "));
    press (overlay->getOkButton());
    EXPECT_FALSE (overlay->isVisible());

    auto expected = current;
    ProgramDump::writeName (expected.data(), "Juliet");
    EXPECT_EQ (slot (5), expected);
    EXPECT_EQ (rig.controller().getCurrentSlot(), 5);
    EXPECT_EQ (page->getList().getSelectedSlot(), 5);
    rig.settle();
    EXPECT_EQ (rig.standIn.getEditBuffer(), expected);

    // Next time the target starts again at the current slot and the name is fresh.
    rig.controller().setCurrentProgram (program ("--- init", 0, 0x42));
    press (page->getSetCurrentButton());
    EXPECT_EQ (overlay->getText(), "Untitled");
    EXPECT_EQ (overlay->getTarget(), 5);
    press (overlay->getCancelButton());
    EXPECT_EQ (slot (5), expected);
}

TEST_F (PresetPage, BankFileOfThreeMessagesReplacesRowsOneToThreeOnly)
{
    std::vector<Record> before;
    for (int s = 0; s < 99; ++s)
        before.push_back (slot (s));

    juce::MemoryBlock file;
    const Record three[] = { kA, kB, kC };
    for (int k = 0; k < 3; ++k)
        file.append (ProgramDump::programDump (three[k], 2, 40 + k).getData(), 1178);
    const auto bankFile = rig.scratch.folder.getChildFile ("three.p12b");
    bankFile.replaceWithData (file.getData(), file.getSize());

    dialogs->answers = { bankFile };
    page->loadMenuChosen (Plugin_Bank::kLoadProgramBankFile);
    EXPECT_EQ (dialogs->requests.back().title, "Load Prophet 12 Program Bank");
    EXPECT_EQ (slot (0), kA);
    EXPECT_EQ (slot (1), kB);
    EXPECT_EQ (slot (2), kC);
    for (int s = 3; s < 99; ++s)
        ASSERT_EQ (slot (s), before[(size_t) s]) << s;
    rig.settle();
    EXPECT_EQ (rig.standIn.countReceived (kEditBufferDump), 0);

    page->loadMenuChosen (Plugin_Bank::kLoadFromBank + 6);
    for (int s = 0; s < 99; s += 7)
        ASSERT_EQ (slot (s), rig.controller().getSlot (6, s));
}

TEST_F (PresetPage, HoverTextsGoToTheStatusLabel)
{
    checkHoverTexts ({ { page->getLoadButton(), "Load preset or preset bank from files." },
                       { page->getSaveButton(), "Save th current preset or preset bank." },
                       { page->getRenameButton(), "Rename the current preset." },
                       { page->getSetCurrentButton(), "Import current preset to the preset bank." },
                       { page->getDoneButton(), "" } },
                     page->getStatusLabel());
}

TEST_F (PresetPage, PressingARowMakesItCurrent)
{
    Mouse (page->getList()).click (100.0f, 3 * 34 + 15);
    rig.settle();
    EXPECT_EQ (rig.controller().getCurrentSlot(), 3);
    EXPECT_EQ (rig.standIn.getEditBuffer(), slot (3));
}

// ---- The window ------------------------------------------------------------------------------------

TEST (LibraryWindow, OpensOnPresetBankAndReadsLibraryOnFirstShowing)
{
    GuiRig rig;
    const auto a = program ("Kilo", 1, 0x51);
    rig.controller().getFolder().libraryFile().create();
    rig.controller().getFolder().libraryFile().replaceWithData (libraryImage ({ a }).getData(), 13 + 1024 + 13);
    rig.controller().setCurrentSlot (30);

    struct CloseSpy : winToolListener
    {
        void winToolClicked (WinMovCan*, int code) override { codes.push_back (code); }
        std::vector<int> codes;
    } spy;

    auto window = std::make_unique<Lib_Manager_Win> (*rig.processor, std::make_shared<ScriptedDialogs>());
    window->addCloseListener (&spy);
    auto& content = window->getContent();
    EXPECT_EQ (content.getWidth(), 1000);
    EXPECT_EQ (content.getHeight(), 620);
    EXPECT_EQ (content.getPageName(), "PRESET BANK");
    ASSERT_NE (content.getPresetBankPage(), nullptr);
    EXPECT_EQ (content.getLibraryPage(), nullptr);
    auto& presets = content.getPresetBankPage()->getList();
    EXPECT_EQ (presets.getSelectedSlot(), 30);
    EXPECT_EQ (presets.getFirstVisibleRow(), 30);

    window->show();
    EXPECT_TRUE (window->isVisible());
    press (content.getLibraryTab());
    EXPECT_EQ (content.getPageName(), "LIBRARY");
    ASSERT_NE (content.getLibraryPage(), nullptr);
    EXPECT_EQ (content.getLibraryPage()->getStore().getNumRecords(), 1);
    EXPECT_FALSE (content.getPresetBankPage()->isVisible());
    EXPECT_EQ (content.getLibraryPage()->getBounds(), juce::Rectangle<int> (0, 50, 1000, 620 - 92));

    press (content.getLibraryPage()->getDoneButton());
    EXPECT_FALSE (window->isVisible());
    EXPECT_EQ (spy.codes, std::vector<int> { WinMovCan::kClose });

    window->show();
    Mouse (content.getCloseControl()).click (5.0f, 5.0f);
    EXPECT_FALSE (window->isVisible());
    EXPECT_EQ (spy.codes.size(), 2u);

    // The title strip moves the window by the pointer's offset.
    const auto start = window->getPosition();
    Mouse strip (content);
    strip.press (500.0f, 10.0f);
    strip.drag (530.0f, 25.0f);
    strip.release (530.0f, 25.0f);
    EXPECT_EQ (window->getPosition(), start + juce::Point<int> (30, 15));
    Mouse below (content);
    below.press (500.0f, 300.0f);
    below.drag (560.0f, 300.0f);
    EXPECT_EQ (window->getPosition(), start + juce::Point<int> (30, 15));

    // So does the play panel, in the content's coordinates; a press there always starts a move.
    Mouse play (content.getPlayPanel());
    play.press (10.0f, 10.0f);
    play.drag (50.0f, 5.0f);
    play.release (50.0f, 5.0f);
    EXPECT_EQ (window->getPosition(), start + juce::Point<int> (70, 10));

    // A double click in the library list acts as DONE.
    window->show();
    Mouse (content.getLibraryPage()->getList()).doubleClick (100.0f, 15.0f);
    EXPECT_FALSE (window->isVisible());
    EXPECT_EQ (spy.codes.size(), 3u);

    // Back on PRESET BANK the library page keeps its state, out of sight.
    press (content.getPresetTab());
    EXPECT_EQ (content.getPageName(), "PRESET BANK");
    EXPECT_FALSE (content.getLibraryPage()->isVisible());
    EXPECT_EQ (content.getLibraryPage()->getStore().getNumRecords(), 1);

    // Opened again after the host moved to another program: that preset's row is the selected one.
    window->hide();
    rig.processor->setCurrentProgram (61);
    window->show();
    EXPECT_EQ (presets.getSelectedSlot(), 61);

    // Closing the window stops what its play panel started.
    content.getPlayPanel().keyPressed (juce::KeyPress ('z'));
    ASSERT_TRUE (content.getPlayPanel().isSounding (36));
    rig.clearSent();
    window->hide();
    EXPECT_EQ (rig.sentMessages(), (std::vector<std::vector<uint8_t>> { { 0x80, 36, 0 } }));

    window.reset();
    juce::PopupMenu::dismissAllActiveMenus();
}

// Real clicks and keys through the window's peer: the search field takes the keyboard only when
// clicked in, and gives it back to the play panel once a program is chosen, which it then plays.
TEST (LibraryWindow, TheSearchFieldTakesTheKeyboardOnlyWhenClickedIn)
{
    GuiRig rig;
    auto window = std::make_unique<Lib_Manager_Win> (*rig.processor, std::make_shared<ScriptedDialogs>());
    window->show();
    auto& content = window->getContent();
    press (content.getLibraryTab());
    ASSERT_NE (content.getLibraryPage(), nullptr);
    auto& page = *content.getLibraryPage();
    const auto image = libraryImage ({ program ("Kilo", 1, 0x51), program ("Lima", 2, 0x52) });
    page.getStore().loadImage (image.getData(), image.getSize());
    auto& playPanel = content.getPlayPanel();
    auto* peer = window->getPeer();
    ASSERT_NE (peer, nullptr);
    // The display gives the window the keyboard asynchronously; until it has, no component can take it.
    peer->grabFocus();
    ASSERT_TRUE (GuiRig::pumpUntil ([&] { return peer->isFocused(); }));
    playPanel.grabKeyboardFocus();
    ASSERT_TRUE (GuiRig::pumpUntil ([&] { return playPanel.hasKeyboardFocus (false); }));
    const auto click = [&] (juce::Component& c, juce::Point<int> at) {
        const auto position = window->getLocalPoint (&c, at).toFloat();
        const auto time = juce::Time::currentTimeMillis();
        for (auto [mods, when] : { std::pair<int, juce::int64> { juce::ModifierKeys::leftButtonModifier, time },
                                   std::pair<int, juce::int64> { 0, time + 60 } })
            peer->handleMouseEvent (juce::MouseInputSource::InputSourceType::mouse, position, juce::ModifierKeys (mods),
                                    juce::MouseInputSource::defaultPressure, juce::MouseInputSource::defaultOrientation,
                                    when);
        GuiRig::pump (30);
    };
    const auto type = [&] (juce::juce_wchar c) {
        peer->handleKeyPress (juce::KeyPress ((int) c, {}, c));
        GuiRig::pump (30);
    };

    click (page.getList(), { 100, 15 + 34 }); // a row
    EXPECT_TRUE (playPanel.hasKeyboardFocus (false));
    click (page.getCategoryPanel().getButton (CatContainer::kListAll), { 10, 5 });
    EXPECT_TRUE (playPanel.hasKeyboardFocus (false));
    GuiRig::pump (300); // the display's answers to the window raised by the clicks
    EXPECT_TRUE (playPanel.hasKeyboardFocus (false));

    click (page.getSearchField(), { 50, 13 });
    EXPECT_TRUE (page.getSearchField().hasKeyboardFocus (false));
    type ('l');
    type ('i');
    EXPECT_EQ (page.getStore().getRows(), std::vector<int> { 1 });
    click (page.getList(), { 100, 15 }); // the match: it plays, and so does the keyboard again
    EXPECT_TRUE (playPanel.hasKeyboardFocus (false));
    EXPECT_EQ (rig.controller().getCurrentProgram(), program ("Lima", 2, 0x52));
    type ('z');
    EXPECT_TRUE (playPanel.isSounding (36));
    EXPECT_EQ (page.getSearchField().getText(), "li");

    window->hide();
    window.reset();
    juce::PopupMenu::dismissAllActiveMenus();
}
