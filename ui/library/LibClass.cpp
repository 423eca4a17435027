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

// Stages the programs of a bank file's content (none when it holds no program dump).
void stageBank (LibraryStore& store, const juce::MemoryBlock& content)
{
    store.stageFromImage (nullptr, 0, 0);
    const auto dumps = FileMan::readProgramBank (content.getData(), content.getSize());
    if (! dumps)
        return;
    Bank_Program decoded;
    const int count = FileMan::decodeBank (*dumps, decoded);
    if (count > 0)
        store.stageFromBank (decoded.slotBytes(), count);
}

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
    labels[kListAll]->setText ("Size: " + juce::String (store.getNumRecords()));
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
    for (auto* button :
         { &loadButton, &saveButton, &clearAllButton, &renameButton, &deleteButton, &addCurrentButton, &doneButton })
    {
        addChildComponent (*button);
        button->addListener (this);
    }

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
            if (isBankFile (file, content))
                stageBank (s, content);
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
                stageBank (safe->getStore(), files.getFileContent());
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

void LibClass::afterStaging()
{
    if (getStore().getNumRecords() == 0)
        getStore().commitPending (false);
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
        store.commitPending (true);
    else if (code == kImportCode && value == kSaveFirstValue)
    {
        // The library is replaced only once it is safely in a file: cancelling the save dialog or a
        // failed write keeps it as it was.
        save ([safe = juce::Component::SafePointer<LibClass> (this)] (bool saved) {
            if (safe != nullptr && saved)
            {
                safe->getStore().commitPending (false);
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
            store.commitPending (false);
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
