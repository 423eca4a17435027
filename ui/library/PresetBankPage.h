#pragma once

#include "library/FileMan.h"
#include "ui/library/LibBut.h"
#include "ui/library/Plugin_File.h"
#include "ui/library/TextInputCont.h"
#include "ui/look/MsgCont.h"
#include "ui/look/OstrelLookAndFeel.h"
#include "ui/look/SimpleLabel.h"

#include <memory>

class OstrelAudioProcessor;

// Told how the SET CURRENT overlay was left: OK with the chosen target slot, or Cancel.
class textSetCurListener
{
public:
    virtual ~textSetCurListener() = default;
    virtual void setCurOkPressed (int targetSlot) = 0;
    virtual void setCurCancelPressed() = 0;
};

// The SET CURRENT overlay: a name for the program being edited and the preset slot it replaces,
// chosen from a menu of the 99 slots.
class TextSetCurCont : public juce::Component, public juce::ChangeBroadcaster, private LibButListener
{
public:
    static constexpr int kOkId = 1201, kCancelId = 1202, kTargetItemBase = 1000;
    static constexpr int kFieldWidth = 280;

    explicit TextSetCurCont (OstrelAudioProcessor& processor);
    ~TextSetCurCont() override;

    // Fresh name (the edit buffer's, or "Untitled") and target (the current slot) each time.
    void showOverlay();
    void close();

    juce::String getText() const { return field.getText(); }
    void setText (const juce::String& text) { field.setText (text, false); }
    int getTarget() const noexcept { return target; }
    const juce::String& getTargetText() const noexcept { return targetText; }
    juce::Rectangle<int> getTargetBounds() const;

    // One item per slot (1000 + slot): number, four blanks, name.
    juce::PopupMenu buildTargetMenu() const;
    void targetMenuChosen (int result);

    LibBut& getOkButton() noexcept { return okButton; }
    LibBut& getCancelButton() noexcept { return cancelButton; }

    void addListener (textSetCurListener* listener);
    void removeListener (textSetCurListener* listener);

    void paint (juce::Graphics& g) override;
    void resized() override;
    void mouseDown (const juce::MouseEvent& e) override;

private:
    void libButClicked (LibBut* button, int id) override;
    void libButEntered (LibBut*, int) override {}
    void libButLeft (LibBut*, int) override {}
    juce::String slotText (int slot) const;
    void setTarget (int slot);

    OstrelAudioProcessor& processor;
    juce::TextEditor field;
    int target = 0;
    juce::String targetText;
    LibBut okButton { "OK", kOkId }, cancelButton { "CANCEL", kCancelId };
    juce::Font titleFont { "Arial", 24.0f, juce::Font::plain }, targetFont { "Arial", 20.0f, juce::Font::plain };

    juce::SharedResourcePointer<OstrelLookAndFeel> lookAndFeel;
    juce::CriticalSection listenerLock;
    std::vector<textSetCurListener*> listeners;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TextSetCurCont)
};

// The PRESET BANK page of the library window: the plug-in's own 99 presets (the host programs of the
// "Program Bank"). Choosing a row makes that preset current and sends it to the instrument. LOAD and
// SAVE move presets and the whole bank through ".fxp" and ".fxb" files (the processor's own state
// chunks) and fill the bank from program bank files and the eight instrument banks; RENAME renames a
// preset; SET CURRENT stores the program being edited into a chosen slot.
class Plugin_Bank : public juce::Component,
                    public juce::ChangeBroadcaster,
                    private LibButListener,
                    private textmsgListener,
                    private PlugFileListener,
                    private textSetCurListener
{
public:
    static constexpr int kLoadId = 1211, kSaveId = 1209, kRenameId = 1203, kSetCurrentId = 1316, kDoneId = 1201;
    // LOAD menu items.
    static constexpr int kLoadBankFile = 10, kLoadPresetFile = 11, kLoadProgramBankFile = 14, kLoadFromBank = 100;
    // SAVE menu items.
    static constexpr int kSaveBankFile = 20, kSavePresetFile = 21;
    static constexpr int kRenameCode = 1203;

    Plugin_Bank (OstrelAudioProcessor& processor, std::shared_ptr<FileDialogs> dialogs);
    ~Plugin_Bank() override;

    // The page is being shown: the current slot's row becomes the selected, first visible row.
    void showCurrentSlot();

    Plugin_File& getList() noexcept { return list; }
    SimpleLabel& getStatusLabel() noexcept { return statusLabel; }
    TextInputCont* getOverlay() noexcept { return overlay.get(); }
    TextSetCurCont* getSetCurrentOverlay() noexcept { return setCurrentOverlay.get(); }
    // The message box over the page (a failed write says which file and why), or nullptr.
    MsgCont* getMessageBox() noexcept { return messageBox.get(); }
    void showMessage (const juce::String& text);

    LibBut& getLoadButton() noexcept { return loadButton; }
    LibBut& getSaveButton() noexcept { return saveButton; }
    LibBut& getRenameButton() noexcept { return renameButton; }
    LibBut& getSetCurrentButton() noexcept { return setCurrentButton; }
    LibBut& getDoneButton() noexcept { return doneButton; }

    // The two menus and what their items do (0: dismissed). They open asynchronously.
    juce::PopupMenu buildLoadMenu() const;
    void loadMenuChosen (int item);
    juce::PopupMenu buildSaveMenu() const;
    void saveMenuChosen (int item);

    void paint (juce::Graphics& g) override;
    void resized() override;

private:
    void libButClicked (LibBut* button, int id) override;
    void libButEntered (LibBut* button, int id) override;
    void libButLeft (LibBut* button, int id) override;
    void textOkPressed (int code, int value) override;
    void textNoPressed (int, int) override {}
    void textCancelPressed (int code, int value) override;
    void plugFileChanged (int code, int value) override;
    void plugFileDoubleClicked (int, int) override;
    void setCurOkPressed (int targetSlot) override;
    void setCurCancelPressed() override;

    void showMenu (juce::PopupMenu menu, LibBut& at, void (Plugin_Bank::*handler) (int));
    void rename();
    void setCurrent();
    void updateVisibility();
    int currentSlot() const;
    FileMan& newFileMan();

    OstrelAudioProcessor& processor;
    std::shared_ptr<FileDialogs> dialogs;
    std::unique_ptr<FileMan> fileMan;

    Plugin_File list;
    SimpleLabel statusLabel { 15.0f, juce::Colours::transparentBlack, juce::Font::plain,
                              juce::Justification::centredLeft };
    LibBut loadButton { "LOAD", kLoadId }, saveButton { "SAVE", kSaveId }, renameButton { "RENAME", kRenameId },
        setCurrentButton { "SET CURRENT", kSetCurrentId }, doneButton { "DONE", kDoneId };
    std::unique_ptr<TextInputCont> overlay;
    std::unique_ptr<TextSetCurCont> setCurrentOverlay;
    std::unique_ptr<MsgCont> messageBox;

    juce::SharedResourcePointer<OstrelLookAndFeel> lookAndFeel;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Plugin_Bank)
};
