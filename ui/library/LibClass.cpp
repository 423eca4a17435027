#include "ui/library/LibClass.h"

#include "model/ParDes.h"
#include "plugin/OstrelAudioProcessor.h"
#include "plugin/StateChunks.h"

#include <algorithm>

namespace
{
constexpr juce::uint32 kBackground = 0xff373535, kDarkLine = 0xff0a0a0a, kStatusText = 0xffcebdbd;
constexpr int kButtonWidth = 100, kButtonHeight = 34;

// A program bank file picked where a library is expected is read as what it is: by its extension,
// or because it lacks the library's header and holds program dumps.
bool isBankFile (const juce::File& file, const juce::MemoryBlock& content)
{
    if (file.hasFileExtension ("p12b"))
        return true;
    const bool libraryHeader =
        content.getSize() >= (size_t) LibraryStore::kMarkerBytes &&
        memcmp (content.getData(), LibraryStore::kFileHeader, (size_t) LibraryStore::kMarkerBytes) == 0;
    return ! libraryHeader && FileMan::readProgramBank (content.getData(), content.getSize()).has_value();
}

// Stages the programs of a bank file (none when it holds no program dump).
void stageBank (LibraryStore& store, const std::optional<ProgramDump::Collected>& dumps)
{
    store.stageFromImage (nullptr, 0, 0);
    if (! dumps)
        return;
    Bank_Program decoded;
    const int count = FileMan::decodeBank (*dumps, decoded);
    if (count > 0)
        store.stageFromBank (decoded.slotBytes(), count);
}

juce::String programsText (int count) { return juce::String (count) + (count == 1 ? " program" : " programs"); }

juce::String duplicatesText (int count)
{
    return count == 0 ? juce::String ("none was a duplicate")
                      : juce::String (count) + (count == 1 ? " was a duplicate" : " were duplicates");
}

// Where the i-th exported program goes: the slots of User Bank 1, then of the next user banks.
juce::String exportPlace (int i)
{
    return "User Bank " + juce::String (i / ProgramDump::kProgramsPerBank + 1) + " P " +
           juce::String (i % ProgramDump::kProgramsPerBank + 1);
}

constexpr juce::uint32 kSearchFill = 0xff272527, kSearchText = 0xfff2f0f0, kSearchHint = 0xff8a8790,
                       kSearchOutline = 0xff4b4f57, kSearchFocus = 0xff7b7f95;

juce::String noProgramText (const juce::File& file) { return "No program was found in " + file.getFileName() + "."; }

// The 16 stored name characters, blanks included, as the questions quote them.
juce::String storedName (const uint8_t* record)
{
    return ProgramDump::readName (record, ProgramDump::NameVariant::editBuffer);
}
} // namespace

// ---- Category panel --------------------------------------------------------------------------------

CatContainer::CatContainer()
{
    for (int i = 0; i < kButtons; ++i)
    {
        const auto caption = i == 0          ? juce::String ("-----")
                             : i == kListAll ? juce::String ("LIST ALL")
                                             : ParDes::categoryText (i).toUpperCase();
        buttons[(size_t) i] = std::make_unique<StBut> (caption, i);
        buttons[(size_t) i]->addChangeListener (this);
        addAndMakeVisible (*buttons[(size_t) i]);

        labels[(size_t) i] = std::make_unique<SimpleLabel> (12.0f, juce::Colours::transparentBlack, juce::Font::plain,
                                                            juce::Justification::centred);
        addAndMakeVisible (*labels[(size_t) i]);
    }
    labels[kListAll]->setText ("Size: 0");
}

CatContainer::~CatContainer()
{
    for (auto& button : buttons)
        button->removeChangeListener (this);
}

void CatContainer::updateCounts (const LibraryStore& store)
{
    for (int i = 0; i < kListAll; ++i)
    {
        const int count = store.getCategoryCount (i);
        labels[(size_t) i]->setText (count > 0 ? juce::String (count) : juce::String());
    }
    // With a search, the counts and the size are of the records it takes.
    labels[kListAll]->setText ("Size: " + juce::String (store.getMatchCount()));
}

void CatContainer::addListener (CatListener* listener)
{
    const juce::ScopedLock sl (listenerLock);
    if (listener != nullptr && std::find (listeners.begin(), listeners.end(), listener) == listeners.end())
        listeners.push_back (listener);
}

void CatContainer::removeListener (CatListener* listener)
{
    const juce::ScopedLock sl (listenerLock);
    listeners.erase (std::remove (listeners.begin(), listeners.end(), listener), listeners.end());
}

void CatContainer::resized()
{
    for (int i = 0; i < kButtons; ++i)
    {
        const int x = i == kListAll ? 330 : kColumnStep * (i % 4);
        const int y = i == kListAll ? 276 : kRowStep * (i / 4);
        buttons[(size_t) i]->setBounds (x, y, kButtonWidth, kButtonHeight);
        labels[(size_t) i]->setBounds (x, y + kButtonHeight, kButtonWidth, kButtonHeight);
    }
}

void CatContainer::changeListenerCallback (juce::ChangeBroadcaster* source)
{
    int index = -1;
    for (int i = 0; i < kButtons; ++i)
        if (buttons[(size_t) i].get() == source)
            index = i;
    if (index < 0)
        return;

    std::vector<CatListener*> toTell;
    {
        const juce::ScopedLock sl (listenerLock);
        toTell = listeners;
    }
    for (auto it = toTell.rbegin(); it != toTell.rend(); ++it)
        (*it)->categoryChosen (index);
}

// ---- LIBRARY page ----------------------------------------------------------------------------------

LibClass::LibClass (OstrelAudioProcessor& p, std::shared_ptr<FileDialogs> d)
    : processor (p), dialogs (std::move (d)), keeper (p.getController().getFolder().libraryFile())
{
    getStore().onRecordsChanged = [this] {
        if (mergingIn)
            return;
        dirty = true;
        retryOnChangeOnly = false;
    };
    startTimer (kKeeperTickMilliseconds);

    addAndMakeVisible (list);
    list.addListener (this);
    addAndMakeVisible (categories);
    categories.addListener (this);
    addAndMakeVisible (filterLabel);
    statusLabel.setTextColour (juce::Colour (kStatusText));
    addAndMakeVisible (statusLabel);

    loadButton.setHoverText ("Load Library or Bank Files");
    saveButton.setHoverText ("Save Library File");
    clearAllButton.setHoverText ("Remove all items from Library");
    renameButton.setHoverText ("Rename selected program in the Library");
    deleteButton.setHoverText ("Delete selected program from the Library");
    addCurrentButton.setHoverText ("Add the current program to the Library");
    exportButton.setHoverText (
        juce::String (juce::CharPointer_UTF8 ("Export as SysEx\xe2\x80\xa6 the programs shown, for User Bank 1 on")));
    for (auto* button : { &loadButton, &saveButton, &clearAllButton, &renameButton, &deleteButton, &addCurrentButton,
                          &doneButton, &exportButton })
    {
        addChildComponent (*button);
        button->addListener (this);
    }

    searchField.setFont (juce::Font ("Arial", 15.0f, juce::Font::plain));
    searchField.setIndents (8, 0);
    searchField.setJustification (juce::Justification::centredLeft);
    searchField.setColour (juce::TextEditor::backgroundColourId, juce::Colour (kSearchFill));
    searchField.setColour (juce::TextEditor::textColourId, juce::Colour (kSearchText));
    searchField.setColour (juce::TextEditor::outlineColourId, juce::Colour (kSearchOutline));
    searchField.setColour (juce::TextEditor::focusedOutlineColourId, juce::Colour (kSearchFocus));
    searchField.setColour (juce::TextEditor::highlightColourId, juce::Colour (kSearchFocus).withAlpha (0.6f));
    searchField.setColour (juce::CaretComponent::caretColourId, juce::Colours::white);
    searchField.setTextToShowWhenEmpty ("Search names", juce::Colour (kSearchHint));
    searchField.setSelectAllWhenFocused (true);
    searchField.addListener (this);
    addAndMakeVisible (searchField);

    categories.updateCounts (getStore());
    updateVisibility();
}

LibClass::~LibClass()
{
    // What changed since the last write goes to the default file now (an empty library leaves the
    // file alone).
    stopTimer();
    keeper.waitUntilIdle();
    if (dirty)
    {
        keeper.submit (getStore().getRecordBytes(), true, {});
        keeper.waitUntilIdle();
    }
    getStore().onRecordsChanged = nullptr;
    searchField.removeListener (this);
    list.removeListener (this);
    categories.removeListener (this);
}

juce::File LibClass::getDefaultLibraryFile() const { return processor.getController().getFolder().libraryFile(); }

void LibClass::readDefaultLibrary()
{
    const auto content = keeper.read();
    if (content.isEmpty())
        return;
    const juce::ScopedValueSetter<bool> reading (mergingIn, true);
    getStore().loadImage (content.getData(), content.getSize());
}

void LibClass::timerCallback()
{
    if (keeper.isBusy())
        return;
    const juce::Component::SafePointer<LibClass> safe (this);
    const auto done = [safe] (const LibraryKeeper::Outcome& outcome) {
        if (safe != nullptr)
            safe->keeperDone (outcome);
    };
    if (dirty && ! retryOnChangeOnly)
    {
        dirty = false;
        idleTicks = 0;
        keeper.submit (getStore().getRecordBytes(), true, done);
    }
    else if (++idleTicks >= kKeeperLookEveryTicks)
    {
        idleTicks = 0;
        keeper.submit (getStore().getRecordBytes(), false, done);
    }
}

void LibClass::keeperDone (const LibraryKeeper::Outcome& outcome)
{
    {
        const juce::ScopedValueSetter<bool> merging (mergingIn, true);
        getStore().applyChanges (outcome.added, outcome.removed);
    }
    if (outcome.result.failed())
    {
        // Kept in memory and tried again with the next change, or when the editor closes.
        dirty = true;
        retryOnChangeOnly = true;
        const auto text = FileMan::failureText (keeper.getFile(), outcome.result.getErrorMessage());
        if (messageBox == nullptr || ! messageBox->isVisible() || messageBox->getText() != text)
            showMessage (text);
    }
    updateVisibility();
}

FileMan& LibClass::newFileMan()
{
    // One dialog at a time: a new command drops the answer of a dialog still open.
    fileMan = std::make_unique<FileMan> (dialogs, processor.getController().getFolder().settingsFolder());
    return *fileMan;
}

// ---- Layout ----------------------------------------------------------------------------------------

void LibClass::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colour (kBackground));
    g.setColour (juce::Colour (kDarkLine));
    g.fillRect (0, 4, getWidth(), 2);
}

void LibClass::resized()
{
    const int w = getWidth(), h = getHeight(), x = w - 120;
    list.setBounds (20, 10, 334, 15 * ProgramListView::kRowHeight);
    filterLabel.setBounds (400, 16, 200, 20);
    categories.setBounds (400, 140, 440, 380);
    statusLabel.setBounds (400, h - 30, 400, 24);
    loadButton.setBounds (x, 10, kButtonWidth, kButtonHeight);
    saveButton.setBounds (x, 50, kButtonWidth, kButtonHeight);
    clearAllButton.setBounds (x, 90, kButtonWidth, kButtonHeight);
    addCurrentButton.setBounds (x, h - 210, kButtonWidth, kButtonHeight);
    deleteButton.setBounds (x, h - 170, kButtonWidth, kButtonHeight);
    renameButton.setBounds (x, h - 130, kButtonWidth, kButtonHeight);
    doneButton.setBounds (x, h - 40, kButtonWidth, kButtonHeight);
    exportButton.setBounds (x, kExportY, kButtonWidth, kButtonHeight);
    searchField.setBounds (kSearchX, kSearchY, kSearchWidth, kSearchHeight);
    if (overlay != nullptr && overlay->isVisible())
        overlay->setBounds (getLocalBounds());
}

void LibClass::updateVisibility()
{
    const bool hasRows = getStore().getRowCount() > 0;
    const bool selected = getStore().hasValidSelection();
    loadButton.setVisible (true);
    addCurrentButton.setVisible (true);
    doneButton.setVisible (true);
    saveButton.setVisible (hasRows);
    clearAllButton.setVisible (hasRows);
    exportButton.setVisible (hasRows);
    renameButton.setVisible (selected);
    deleteButton.setVisible (selected);
}

void LibClass::mouseDown (const juce::MouseEvent&)
{
    // A press on the bare page shows the filter category again.
    categoryChosen (getStore().getFilterCategory());
}

// ---- Buttons ---------------------------------------------------------------------------------------

void LibClass::libButClicked (LibBut*, int id)
{
    switch (id)
    {
        case kLoadId: showLoadMenu(); break;
        case kSaveId: save ({}); break;
        case kClearAllId: clearAll(); break;
        case kRenameId: rename(); break;
        case kDeleteId: deleteSelected(); break;
        case kAddCurrentId: addCurrent(); break;
        case kExportId: exportSysEx(); break;
        default: break; // DONE: the window listens to it
    }
    updateVisibility();
}

void LibClass::libButEntered (LibBut* button, int) { statusLabel.setText (button->getHoverText()); }

void LibClass::libButLeft (LibBut*, int) { statusLabel.setText ({}); }

// ---- LOAD ------------------------------------------------------------------------------------------

juce::PopupMenu LibClass::buildLoadMenu() const
{
    auto& controller = processor.getController();
    juce::PopupMenu menu;
    menu.addItem (kFromLibraryFile, "From Library File");
    menu.addItem (kFromProgramBankFile, "From Program Bank File");
    menu.addSeparator();
    for (int bank = 0; bank < 4; ++bank)
        menu.addItem (kFromBank + bank, controller.getBankName (bank));
    menu.addSeparator();
    for (int bank = 4; bank < MidiCntrState::kBanks; ++bank)
        menu.addItem (kFromBank + bank, controller.getBankName (bank));
    menu.addSeparator();
    menu.addItem (kFromPresetBank, "Import from FX Preset Bank");
    return menu;
}

void LibClass::showLoadMenu()
{
    auto menu = buildLoadMenu();
    menu.setLookAndFeel (&lookAndFeel.get());
    menu.showMenuAsync (juce::PopupMenu::Options().withTargetComponent (&loadButton),
                        [safe = juce::Component::SafePointer<LibClass> (this)] (int result) {
                            if (safe != nullptr)
                                safe->loadMenuChosen (result);
                        });
}

void LibClass::loadMenuChosen (int item)
{
    auto& store = getStore();
    auto& controller = processor.getController();
    const juce::Component::SafePointer<LibClass> safe (this);
    sysExImport = {};

    if (item == kFromLibraryFile)
    {
        auto& files = newFileMan();
        files.choose (4, {}, [safe, &files] (bool chosen) {
            if (safe == nullptr)
                return;
            auto& s = safe->getStore();
            if (! chosen)
            {
                s.stageFromImage (nullptr, 0, 0); // empties the import set
                return;
            }
            const auto& file = files.getChosenFile();
            const auto content = FileMan::readFile (file);
            if (FileMan::isSysExFile (file))
                safe->stageSysEx (file, content);
            else if (isBankFile (file, content))
                stageBank (s, FileMan::readProgramBank (content.getData(), content.getSize()));
            else
                s.stageFromImage (content.getData(), content.getSize(), (size_t) LibraryStore::kMarkerBytes);
            if (s.getNumPending() == 0)
            {
                s.stageFromImage (nullptr, 0, 0);
                safe->showMessage (noProgramText (file));
                return;
            }
            safe->afterStaging();
        });
    }
    else if (item == kFromProgramBankFile)
    {
        store.stageFromImage (nullptr, 0, 0);
        auto& files = newFileMan();
        files.loadProgramBank ([safe, &files] (bool found) {
            if (safe == nullptr)
                return;
            if (found)
                stageBank (safe->getStore(), files.getBankDumps());
            if (safe->getStore().getNumPending() == 0)
            {
                // A file was picked (not a cancel) but holds no program.
                if (files.getChosenFile() != juce::File())
                    safe->showMessage (noProgramText (files.getChosenFile()));
                return;
            }
            safe->afterStaging();
        });
    }
    else if (item >= kFromBank && item < kFromBank + MidiCntrState::kBanks)
    {
        controller.withBank (item - kFromBank, [&] (Bank_Program& bank) {
            store.stageFromBank (bank.slotBytes(), Bank_Program::kSlots);
        });
        afterStaging();
    }
    else if (item == kFromPresetBank)
    {
        controller.withBank (MidiCntrState::kProgramBank, [&] (Bank_Program& bank) {
            store.stageFromBank (bank.slotBytes(), Bank_Program::kSlots);
        });
        afterStaging();
    }
    updateVisibility();
}

void LibClass::stageSysEx (const juce::File& file, const juce::MemoryBlock& content)
{
    // Every whole dump of either kind becomes a record as it is, its category in byte 426.
    const auto records = FileMan::readSysExRecords (content.getData(), content.getSize());
    juce::MemoryBlock image;
    for (const auto& record : records)
        image.append (record.data(), record.size());
    getStore().stageFromImage (image.getData(), image.getSize(), 0);
    if (getStore().getNumPending() > 0)
        sysExImport = { file.getFileName(), (int) records.size() };
}

void LibClass::commit (bool append)
{
    auto& store = getStore();
    if (sysExImport.found == 0)
    {
        store.commitPending (append);
        return;
    }
    // A SysEx file's programs are filed like added ones: what the library holds already is refused,
    // and the user is told how many came in.
    const int added = store.commitPendingRefusingDuplicates (append);
    showMessage ("Added " + programsText (added) + " from " + sysExImport.fileName + "; " +
                 duplicatesText (sysExImport.found - added) + ".");
    sysExImport = {};
}

void LibClass::afterStaging()
{
    if (getStore().getNumRecords() == 0)
        commit (false);
    else
        ask ("Append Programs?", {}, "CANCEL", "YES", "NO", -1, kImportCode, kAppendValue);
    updateVisibility();
}

// ---- SAVE, CLEAR ALL -------------------------------------------------------------------------------

void LibClass::save (std::function<void (bool)> then)
{
    auto& files = newFileMan();
    files.choose (
        104, "Untitled",
        [safe = juce::Component::SafePointer<LibClass> (this), &files, then = std::move (then)] (bool chosen) {
            if (safe == nullptr)
                return;
            // An empty library writes nothing (and the questions that lead here need records).
            const auto image = safe->getStore().buildFileImage();
            const bool written = chosen && image.getSize() > 0 && files.write (files.getChosenFile(), image);
            if (files.getWriteError().isNotEmpty())
                safe->showMessage (files.getWriteError());
            if (then)
                then (written);
        });
}

void LibClass::showMessage (const juce::String& text) { MsgCont::showNotice (*this, messageBox, text); }

void LibClass::clearAll()
{
    if (getStore().getNumRecords() > 0)
        ask ("Save Current Library?", {}, "CANCEL", "YES", "NO", -1, kClearCode, kSaveFirstValue);
    else
        getStore().clear();
}

// ---- RENAME, DELETE, ADD CURRENT -------------------------------------------------------------------

void LibClass::rename()
{
    auto& store = getStore();
    if (! store.hasValidSelection())
        return;
    const auto record = store.getRecord (store.getSelectedRecord());
    const auto name = storedName (record.data());
    ask ("Rename " + name + ":", name.trimEnd(), "CANCEL", "OK", {}, record[ProgramDump::kCategoryOffset], kRenameCode,
         0);
}

void LibClass::deleteSelected()
{
    auto& store = getStore();
    if (! store.hasValidSelection())
        return;
    const auto record = store.getRecord (store.getSelectedRecord());
    ask ("Delete " + storedName (record.data()) + " ?", {}, "CANCEL", "OK", {}, -1, kDeleteCode, 0);
}

void LibClass::addCurrent()
{
    // The program as it is now is what gets filed, whatever happens before OK.
    const auto current = processor.getController().getCurrentProgram();
    programToAdd = current;
    const auto name = storedName (current.data()).trimEnd();
    if (getStore().contains (current))
        ask (name + " Program already exists in the library.", {}, {}, {}, "OK", -1, kExistsCode, 0);
    else
        ask ("Program name:", name, "CANCEL", "OK", {}, current[ProgramDump::kCategoryOffset], kAddCode, 0);
}

// ---- Answers ---------------------------------------------------------------------------------------

void LibClass::ask (const juce::String& title, const juce::String& text, const juce::String& cancelCaption,
                    const juce::String& okCaption, const juce::String& noCaption, int category, int code, int value)
{
    if (overlay == nullptr)
    {
        overlay = std::make_unique<TextInputCont>();
        overlay->addListener (this);
        addChildComponent (*overlay);
    }
    overlay->setBounds (getLocalBounds());
    overlay->showRequest (title, text, cancelCaption, okCaption, noCaption, category, code, value);
}

void LibClass::closeOverlay()
{
    if (overlay != nullptr)
        overlay->close();
}

void LibClass::textOkPressed (int code, int value)
{
    auto& store = getStore();
    closeOverlay();

    if (code == kImportCode && value == kAppendValue)
        commit (true);
    else if (code == kImportCode && value == kSaveFirstValue)
    {
        // The library is replaced only once it is safely in a file: cancelling the save dialog or a
        // failed write keeps it as it was.
        save ([safe = juce::Component::SafePointer<LibClass> (this)] (bool saved) {
            if (safe != nullptr && saved)
            {
                safe->commit (false);
                safe->updateVisibility();
            }
        });
    }
    else if (code == kClearCode)
    {
        save ([safe = juce::Component::SafePointer<LibClass> (this)] (bool saved) {
            if (safe != nullptr && saved)
            {
                safe->getStore().clear();
                safe->updateVisibility();
            }
        });
    }
    else if (code == kDeleteCode)
        store.removeSelected();
    else if (code == kRenameCode)
    {
        const auto text = overlay->getText();
        if (text.isNotEmpty() && store.hasValidSelection())
        {
            store.renameSelected (text, overlay->getCategory());
            categoryChosen (store.getFilterCategory());
        }
    }
    else if (code == kAddCode)
    {
        auto text = overlay->getText();
        if (text.isEmpty())
            text = "Untitled";
        auto copy = programToAdd;
        copy[ProgramDump::kCategoryOffset] = (uint8_t) overlay->getCategory();
        store.addProgram (text, copy.data(), copy.size());
    }
    updateVisibility();
}

void LibClass::textNoPressed (int code, int value)
{
    auto& store = getStore();
    if (code == kImportCode && value == kAppendValue)
        ask ("Save the Current Library?", {}, "CANCEL", "YES", "NO", -1, kImportCode, kSaveFirstValue);
    else
    {
        closeOverlay();
        if (code == kImportCode && value == kSaveFirstValue)
            commit (false);
        else if (code == kClearCode)
            store.clear();
    }
    updateVisibility();
}

void LibClass::textCancelPressed (int, int)
{
    closeOverlay();
    updateVisibility();
}

// ---- List and categories ---------------------------------------------------------------------------

void LibClass::libraryListChanged (int code, int value)
{
    if (code == LibraryStore::kRowsRebuilt && value == LibraryStore::kRowsRebuiltValue)
        categories.updateCounts (getStore());
    updateVisibility();
    applySelection();
    if (code == LibraryStore::kRowSelected)
        leaveSearchField(); // the chosen program is played on the computer keyboard, not typed
}

void LibClass::libraryListDoubleClicked (int, int) { doneButton.notifyClicked(); }

void LibClass::applySelection()
{
    auto& store = getStore();
    if (! store.hasValidSelection())
        return;
    // Through the program chunk, as a host would restore a preset: the record becomes the current
    // slot and the edit buffer and goes to the instrument.
    const auto record = store.getRecord (store.getSelectedRecord());
    juce::MemoryBlock chunk;
    chunk.append (StateChunks::kProgramHeader, 23);
    chunk.append (StateChunks::kVersion, 10);
    chunk.append (record.data(), record.size());
    processor.setCurrentProgramStateInformation (chunk.getData(), (int) chunk.getSize());
}

void LibClass::categoryChosen (int index)
{
    auto& store = getStore();
    if (index == CatContainer::kListAll)
    {
        filterLabel.setText ({});
        store.rebuildRows (0);
    }
    else if (juce::isPositiveAndBelow (index, CatContainer::kListAll))
    {
        filterLabel.setText (ParDes::categoryText (index));
        store.setFilterCategory (index);
        store.rebuildRows (1);
    }
    updateVisibility();
}

// ---- Search ----------------------------------------------------------------------------------------

void LibClass::textEditorTextChanged (juce::TextEditor&) { getStore().setSearchText (searchField.getText()); }

void LibClass::textEditorReturnKeyPressed (juce::TextEditor&)
{
    // The first program the search leaves is played, as a click on it would.
    if (getStore().getRowCount() > 0)
        getStore().selectRow (0);
}

void LibClass::textEditorEscapeKeyPressed (juce::TextEditor&)
{
    searchField.clear();
    getStore().setSearchText ({});
    leaveSearchField();
}

void LibClass::leaveSearchField()
{
    if (! searchField.hasKeyboardFocus (false))
        return;
    searchField.giveAwayKeyboardFocus();
    if (giveKeyboardBack)
        giveKeyboardBack();
}

std::unique_ptr<juce::ComponentTraverser> LibClass::createKeyboardFocusTraverser()
{
    // Without a default component here, a click on a button or the list leaves the keyboard where it
    // was (the window's play panel) instead of handing it to the first field of the page.
    struct NoDefault : juce::KeyboardFocusTraverser
    {
        juce::Component* getDefaultComponent (juce::Component*) override { return nullptr; }
    };
    return std::make_unique<NoDefault>();
}

// ---- EXPORT SYSEX ----------------------------------------------------------------------------------

juce::MemoryBlock LibClass::exportImage() const
{
    const auto& store = list.getStore();
    const int count = juce::jmin (store.getRowCount(), kMaxExport);
    juce::MemoryBlock image;
    for (int i = 0; i < count; ++i)
    {
        const auto dump =
            ProgramDump::programDump (store.getRecord (store.getRows()[(size_t) i]), i / ProgramDump::kProgramsPerBank,
                                      i % ProgramDump::kProgramsPerBank);
        image.append (dump.getData(), dump.getSize());
    }
    return image;
}

juce::String LibClass::exportTitle() const
{
    const int shown = list.getStore().getRowCount(), count = juce::jmin (shown, kMaxExport);
    if (count == 0)
        return {};
    const auto what = shown > count ? "the First " + juce::String (count) + " of " + juce::String (shown) + " Programs"
                      : count == 1  ? juce::String ("1 Program")
                                    : juce::String (count) + " Programs";
    return "Export " + what + " as SysEx to " + exportPlace (0) +
           (count > 1 ? " .. " + exportPlace (count - 1) : juce::String());
}

void LibClass::exportSysEx()
{
    // What the title announces is what is written, whatever the list shows when the user confirms.
    auto image = exportImage();
    if (image.isEmpty())
        return;
    const auto& store = getStore();
    const auto name = store.getFilterMode() == 1 ? ParDes::categoryText (store.getFilterCategory()) : "Library";
    auto& files = newFileMan();
    files.choose (
        106, name,
        [safe = juce::Component::SafePointer<LibClass> (this), &files, image = std::move (image)] (bool chosen) {
            if (safe == nullptr || ! chosen)
                return;
            if (! files.write (files.getChosenFile(), image))
                safe->showMessage (files.getWriteError());
        },
        exportTitle());
}
