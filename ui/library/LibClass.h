#pragma once

#include "library/FileMan.h"
#include "library/LibraryKeeper.h"
#include "ui/library/LibBut.h"
#include "ui/library/StBut.h"
#include "ui/library/StsFile.h"
#include "ui/library/TextInputCont.h"
#include "ui/look/MsgCont.h"
#include "ui/look/OstrelLookAndFeel.h"
#include "ui/look/SimpleLabel.h"

#include <array>
#include <memory>

class OstrelAudioProcessor;

// Told which category button of the category panel was released over (0..25, 26 = "LIST ALL").
class CatListener
{
public:
    virtual ~CatListener() = default;
    virtual void categoryChosen (int index) = 0;
};

// The category panel: 27 buttons ("-----", the 25 named categories, "LIST ALL"), each with a count
// label under it. A category's label shows how many records it holds (blank for none); the last
// shows the library's size.
class CatContainer : public juce::Component, private juce::ChangeListener
{
public:
    static constexpr int kButtons = 27, kListAll = 26;
    static constexpr int kButtonWidth = 100, kButtonHeight = 18, kColumnStep = 110, kRowStep = 46;

    CatContainer();
    ~CatContainer() override;

    void updateCounts (const LibraryStore& store);

    void addListener (CatListener* listener);
    void removeListener (CatListener* listener);

    StBut& getButton (int index) { return *buttons[(size_t) index]; }
    SimpleLabel& getCountLabel (int index) { return *labels[(size_t) index]; }

    void resized() override;

private:
    void changeListenerCallback (juce::ChangeBroadcaster* source) override;

    std::array<std::unique_ptr<StBut>, kButtons> buttons;
    std::array<std::unique_ptr<SimpleLabel>, kButtons> labels;
    juce::CriticalSection listenerLock;
    std::vector<CatListener*> listeners;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CatContainer)
};

// The LIBRARY page of the library window: the library list, the category panel, the filter line,
// the commands LOAD, SAVE, CLEAR ALL, RENAME, DELETE, ADD CURRENT and DONE, and the overlay through
// which those commands ask their questions. Choosing a row makes that record the current program
// and sends it to the instrument, so the user can audition the library by clicking through it.
//
// Above the category panel, a search field narrows the list to the names holding what is typed
// (with the category chosen); Escape empties it and Return plays the first program it leaves. EXPORT
// SYSEX writes the programs the list shows as one ".syx" file of program dumps for the slots of
// User Bank 1 on, which any SysEx tool can send to the instrument.
//
// The page reads the default library file when asked (the window does so when it first shows the
// page) and writes it soon after every change (LibraryKeeper), merging what other instances wrote
// there meanwhile; an empty library never overwrites it.
class LibClass : public juce::Component,
                 private juce::Timer,
                 private LibButListener,
                 private textmsgListener,
                 private StsFileListener,
                 private CatListener,
                 private juce::TextEditor::Listener
{
public:
    // Command buttons.
    static constexpr int kLoadId = 1319, kSaveId = 1209, kClearAllId = 1205, kRenameId = 1203, kDeleteId = 1204,
                         kAddCurrentId = 1207, kDoneId = 1201, kExportId = 1320;
    // Where the search field and EXPORT SYSEX sit: in the free space above the category panel and
    // under CLEAR ALL.
    static constexpr int kSearchX = 400, kSearchY = 58, kSearchWidth = 300, kSearchHeight = 26, kExportY = 130;
    // A SysEx export addresses at most the four user banks.
    static constexpr int kMaxExport = 4 * ProgramDump::kProgramsPerBank;
    // LOAD menu items.
    static constexpr int kFromLibraryFile = 200, kFromProgramBankFile = 300, kFromBank = 100, kFromPresetBank = 777;
    // Overlay requests (code, value).
    static constexpr int kImportCode = 256, kAppendValue = 5, kSaveFirstValue = 6, kClearCode = 768, kDeleteCode = 1024,
                         kRenameCode = 1280, kAddCode = 1536, kExistsCode = 0;

    LibClass (OstrelAudioProcessor& processor, std::shared_ptr<FileDialogs> dialogs);
    ~LibClass() override;

    // Reads the default library file ("p12Lib.p12l" in the settings folder) when it exists.
    void readDefaultLibrary();
    juce::File getDefaultLibraryFile() const;
    // How soon a change reaches the default file, and how often the file is looked at for what
    // other instances wrote.
    static constexpr int kKeeperTickMilliseconds = 300, kKeeperLookEveryTicks = 5;
    LibraryKeeper& getKeeper() noexcept { return keeper; }

    StsFile& getList() noexcept { return list; }
    LibraryStore& getStore() noexcept { return list.getStore(); }
    CatContainer& getCategoryPanel() noexcept { return categories; }
    SimpleLabel& getFilterLabel() noexcept { return filterLabel; }
    SimpleLabel& getStatusLabel() noexcept { return statusLabel; }
    // The overlay, or nullptr before the first question.
    TextInputCont* getOverlay() noexcept { return overlay.get(); }
    // The message box over the page (a failed write says which file and why), or nullptr.
    MsgCont* getMessageBox() noexcept { return messageBox.get(); }
    void showMessage (const juce::String& text);

    LibBut& getLoadButton() noexcept { return loadButton; }
    LibBut& getSaveButton() noexcept { return saveButton; }
    LibBut& getClearAllButton() noexcept { return clearAllButton; }
    LibBut& getRenameButton() noexcept { return renameButton; }
    LibBut& getDeleteButton() noexcept { return deleteButton; }
    LibBut& getAddCurrentButton() noexcept { return addCurrentButton; }
    LibBut& getDoneButton() noexcept { return doneButton; }
    LibBut& getExportButton() noexcept { return exportButton; }
    juce::TextEditor& getSearchField() noexcept { return searchField; }

    // The records the list shows, written as program dumps for U1 P 1, U1 P 2, ... (at most
    // kMaxExport of them), and the export dialog's title, which says where they will go.
    juce::MemoryBlock exportImage() const;
    juce::String exportTitle() const;
    // Exports the programs the list shows through a save dialog.
    void exportSysEx();

    // The LOAD menu and what a chosen item does (0: dismissed). The menu opens asynchronously.
    juce::PopupMenu buildLoadMenu() const;
    void loadMenuChosen (int item);

    // Called when the search field is done with the keyboard (a row chosen, Return, Escape), so the
    // owner can give it back to what plays the computer keyboard.
    std::function<void()> giveKeyboardBack;
    // A click on the page does not send the keyboard to the search field: only a click in it does.
    std::unique_ptr<juce::ComponentTraverser> createKeyboardFocusTraverser() override;

    // The category panel's choice: 26 shows every record, 0..25 only that category.
    void categoryChosen (int index) override;

    void paint (juce::Graphics& g) override;
    void resized() override;
    void mouseDown (const juce::MouseEvent& e) override;

private:
    void timerCallback() override;
    void keeperDone (const LibraryKeeper::Outcome& outcome);
    void libButClicked (LibBut* button, int id) override;
    void libButEntered (LibBut* button, int id) override;
    void libButLeft (LibBut* button, int id) override;
    void textOkPressed (int code, int value) override;
    void textNoPressed (int code, int value) override;
    void textCancelPressed (int code, int value) override;
    void libraryListChanged (int code, int value) override;
    void libraryListDoubleClicked (int, int) override;

    void showLoadMenu();
    void save (std::function<void (bool saved)> then);
    void clearAll();
    void rename();
    void deleteSelected();
    void addCurrent();
    void afterStaging();
    void stageSysEx (const juce::File& file, const juce::MemoryBlock& content);
    void leaveSearchField();
    void commit (bool append);
    void textEditorTextChanged (juce::TextEditor&) override;
    void textEditorReturnKeyPressed (juce::TextEditor&) override;
    void textEditorEscapeKeyPressed (juce::TextEditor&) override;
    void applySelection();
    void ask (const juce::String& title, const juce::String& text, const juce::String& cancelCaption,
              const juce::String& okCaption, const juce::String& noCaption, int category, int code, int value);
    void closeOverlay();
    void updateVisibility();
    FileMan& newFileMan();

    OstrelAudioProcessor& processor;
    std::shared_ptr<FileDialogs> dialogs;
    std::unique_ptr<FileMan> fileMan;
    LibraryKeeper keeper;
    bool dirty = false, retryOnChangeOnly = false, mergingIn = false;
    int idleTicks = 0;

    StsFile list;
    CatContainer categories;
    SimpleLabel filterLabel { 16.0f, juce::Colours::transparentBlack, juce::Font::bold,
                              juce::Justification::centredLeft };
    SimpleLabel statusLabel { 15.0f, juce::Colours::transparentBlack, juce::Font::plain,
                              juce::Justification::centredLeft };
    LibBut loadButton { "LOAD", kLoadId }, saveButton { "SAVE", kSaveId }, clearAllButton { "CLEAR ALL", kClearAllId },
        addCurrentButton { "ADD CURRENT", kAddCurrentId }, deleteButton { "DELETE", kDeleteId },
        renameButton { "RENAME", kRenameId }, doneButton { "DONE", kDoneId },
        exportButton { "EXPORT SYSEX", kExportId };
    juce::TextEditor searchField;
    // Set while the import set holds the programs of a ".syx" file, whose commit says how many were
    // added and how many were duplicates.
    struct SysExImport
    {
        juce::String fileName;
        int found = 0;
    } sysExImport;
    std::unique_ptr<TextInputCont> overlay;
    std::unique_ptr<MsgCont> messageBox;
    ProgramDump::Record programToAdd {}; // the current program when ADD CURRENT was pressed

    juce::SharedResourcePointer<OstrelLookAndFeel> lookAndFeel;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LibClass)
};
