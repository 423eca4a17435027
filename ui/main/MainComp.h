#pragma once

#include "library/FileMan.h"
#include "midi/Listeners.h"
#include "midi/Transfers.h"
#include "ui/controls/StsGrid.h"
#include "ui/editor/EditorPanel.h"
#include "ui/keyboard/KeyBrd.h"
#include "ui/library/Lib_Manager_Win.h"
#include "ui/look/MsgCont.h"
#include "ui/look/OstrelLookAndFeel.h"
#include "ui/look/WinMovCan.h"
#include "ui/main/AboutPanel.h"
#include "ui/main/BankComp.h"
#include "ui/main/ProgBar.h"
#include "ui/main/WriteSnd.h"
#include "ui/setup/MIDI_Setup.h"

class OstrelAudioProcessor;

// The content of the plug-in editor: the editor page over the keyboard panel, the bank panel and
// the transient panels. It is the one place where the controller's notification codes become
// screen updates, and it sizes and zooms the editor and keeps its geometry. It broadcasts a change
// when it wants the editor window to take its new size.
class MainComp : public juce::Component,
                 public juce::ChangeListener,
                 public juce::ChangeBroadcaster,
                 public stateListener,
                 public stsbutChangeListener,
                 public MidiCntrStateListener,
                 public winToolListener,
                 private juce::Timer,
                 public GridListener,
                 public juce::AsyncUpdater
{
public:
    static constexpr int kDefaultWidth = 1200, kDefaultHeight = 730;
    static constexpr int kKeyboardHeight = 172;
    static constexpr int kPageHeightPerScale = 640, kPageExtra = 70;
    static constexpr int kAboutMilliseconds = 2000;
    static constexpr int kSendCurrentProgram = 70, kToggleAbout = 968;

    explicit MainComp (OstrelAudioProcessor& processor);
    ~MainComp() override;

    EditorPanel& getEditorPanel() noexcept { return *editorPanel; }
    KeyBrd& getKeyboard() noexcept { return *keyboard; }
    BankComp& getBankPanel() noexcept { return *bankPanel; }
    WriteSnd* getWriteDialog() noexcept { return writeDialog.get(); }
    AboutPanel* getAboutPanel() noexcept { return aboutPanel.get(); }
    ProgBar* getProgressOverlay() noexcept { return progressOverlay.get(); }
    bool isBankViewOn() const noexcept { return bankView; }

    // The commands of the function buttons and the panels, by id.
    void performCommand (int id);
    void toggleBankView();
    void toggleWriteDialog();
    void toggleAbout();
    void toggleMidiSetup();
    // The settings button: the library window, created on first use and then shown again.
    void showLibraryWindow();
    MIDI_Setup* getMidiSetup() noexcept { return midiSetup.get(); }
    Lib_Manager_Win* getLibraryWindow() noexcept { return libraryWindow.get(); }
    // A chained bank transfer with its progress overlay.
    void startTransfer (int mode, int firstBank);
    void finishTransfer();

    // ---- Menus: each opens asynchronously; the chosen item reaches menuChosen ------------------
    enum class Menu
    {
        none,
        send,
        file,
        edit,
        channel,
        programPicker,
        slotProgram,
        slotCategory,
        presets,
        bankFile,
        transfer,
        lcdCategory
    };
    // The menu hangs from the target, or from screenArea when one is given (a row of a list).
    void openMenu (Menu which, juce::Component* target, juce::Rectangle<int> screenArea = {});
    // What a click on an item does; 0 (dismissed) does nothing.
    void menuChosen (Menu which, int id);
    Menu getLastMenuKind() const noexcept { return lastMenuKind; }
    const juce::PopupMenu& getLastMenu() const noexcept { return lastMenu; }
    // The bank-list slot a program or category menu acts on.
    void setMenuSlot (int bank, int slot) noexcept { menuBank = bank, menuSlot = slot; }

    bool isClipboardFull() const noexcept { return clipboardFull; }

    // The product's message box over the editor (a failed write says which file and why), or
    // nullptr when none is shown.
    void showMessage (const juce::String& text);
    MsgCont* getMessageBox() noexcept { return messageBox.get(); }

    // ---- Undo, redo and compare: EDIT menu items 201..203 and their keys -----------------------
    // Ctrl+Z undoes, Ctrl+Shift+Z and Ctrl+Y redo, Ctrl+E compares; the play panel passes every
    // Ctrl chord up to here. 0 for any other key.
    static int historyCommandFor (const juce::KeyPress& key);
    void performHistoryCommand (int item);
    bool keyPressed (const juce::KeyPress& key) override;

    // The zoom corner's drag: the editor page grows to height h (limited by the display's height).
    void resizePageTo (int proposedHeight, int displayHeight);

    // ---- Listeners ------------------------------------------------------------------------------
    void stateChanged() override { triggerAsyncUpdate(); }
    void stateEvent (int code) override;
    void midiCntrStateChanged (MidiCntrState*) override { triggerAsyncUpdate(); }
    void handleAsyncUpdate() override;
    void handleNotification (int32_t code);
    void stsButClicked (StsBut* button) override;
    void changeListenerCallback (juce::ChangeBroadcaster* source) override;
    void gridChanged (StsGrid* grid) override;
    void winToolClicked (WinMovCan* source, int code) override;

    void paint (juce::Graphics& g) override;
    void resized() override;

private:
    void timerCallback() override;
    void layoutPanels();
    juce::PopupMenu buildMenu (Menu which);
    FileMan& newFileMan();
    // A save dialog, then the write; a failed write is reported in the message box.
    void saveFile (const juce::MemoryBlock& bytes, int mode, const juce::String& suggestedName);
    // A load that found no program in the chosen file says so; the program and banks stay.
    void reportNoProgram (const FileMan& files);
    void copyProgram (const ProgramDump::Record& record);
    void afterBankChange();

    // The product's one look, for this component, its children and its menus; declared first so
    // it outlives every child that uses it.
    juce::SharedResourcePointer<OstrelLookAndFeel> lookAndFeel;
    OstrelAudioProcessor& processor;
    MidiCntrState& controller;

    std::unique_ptr<BankComp> bankPanel;
    std::unique_ptr<EditorPanel> editorPanel;
    std::unique_ptr<KeyBrd> keyboard;
    std::unique_ptr<WriteSnd> writeDialog;
    std::unique_ptr<AboutPanel> aboutPanel;
    std::unique_ptr<ProgBar> progressOverlay;
    std::unique_ptr<MIDI_Setup> midiSetup;
    std::unique_ptr<Lib_Manager_Win> libraryWindow;
    ChainedTransfer transfer;

    std::unique_ptr<FileMan> fileMan; // one per file command
    std::unique_ptr<MsgCont> messageBox;
    DSI_Program clipboard;
    bool clipboardFull = false;
    Menu lastMenuKind = Menu::none;
    juce::PopupMenu lastMenu;
    int menuBank = 0, menuSlot = 0;

    bool bankView = false;
    int pageHeight = kPageHeightPerScale + kPageExtra; // the editor page's height outside the bank view
    int keyboardHeight = kKeyboardHeight;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MainComp)
};
