#pragma once

#include "ui/controls/StsGrid.h"
#include "ui/editor/LCD_Comp.h"
#include "ui/look/StsBut.h"
#include "ui/main/RenameCnt.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <memory>

class MidiCntrState;

// The write dialog: the user picks a bank and slot of the instrument, names the current program and
// writes it there.
//
// How an owner uses it:
//   auto* w = new WriteSnd (state, state.getCurrentBank(), state.getCurrentProgramNumber(), name, category);
//   w->setBounds (0, 54, width, height - 54);
//   w->getWriteButton().addListener (this);   // both buttons have id 999: compare the pointer
//   w->getCancelButton().addListener (this);
//   addChangeListener on the dialog (optional): told after the name was changed in the rename box.
// In stsButClicked: for &w->getWriteButton() call w->performWrite(), then close the dialog; for
// &w->getCancelButton() just close it. Both may delete the dialog right there.
// The dialog handles its own list, bank buttons, display and rename box.
class WriteSnd : public juce::Component,
                 public juce::ChangeBroadcaster,
                 private stsbutChangeListener,
                 private GridListener,
                 private juce::ChangeListener
{
public:
    static constexpr int kButtonId = 999;
    static constexpr int kUserBanks = 4;

    // bank and slot: where the current program lives now; name: its name; category: its byte 426.
    WriteSnd (MidiCntrState& state, int bank, int slot, const juce::String& name, int category);
    ~WriteSnd() override;

    // Cut to 16 characters, padded with blanks to 16, and shown on the display.
    void setProgramName (const juce::String& text);
    const juce::String& getName() const noexcept { return name; }

    // The category the write stores in byte 426; shown on the display with its text.
    void setCategory (int category);
    int getCategory() const noexcept { return category; }

    // The destination shown on the display.
    int getBank() const noexcept { return display.getBank(); }
    int getSlot() const noexcept { return display.getProgram(); }

    // Names and files the current program, stores it into the chosen slot of the bank image, posts
    // the bank-changed notification and sends it to the instrument as a program dump for that slot.
    struct Written
    {
        bool done = false; // false: nothing was written (no such slot)
        int bank = -1, slot = -1;
        juce::String name;
        int category = 0;
    };
    Written performWrite();

    StsBut& getWriteButton() noexcept { return writeButton; }
    StsBut& getCancelButton() noexcept { return cancelButton; }
    StsBut& getBankButton (int index) noexcept { return *bankButtons[static_cast<size_t> (index)]; }
    StsGrid& getGrid() noexcept { return grid; }
    LCD_Comp& getDisplay() noexcept { return display; }

    // The rename box while it is open, else nullptr.
    RenameCnt* getRenameBox() noexcept { return renameBox.get(); }
    bool isRenameOpen() const noexcept { return renameBox != nullptr; }
    void openRenameBox();
    void closeRenameBox();

    void paint (juce::Graphics& g) override;
    void resized() override;

private:
    void stsButClicked (StsBut* button) override;
    void gridChanged (StsGrid* grid) override;
    void changeListenerCallback (juce::ChangeBroadcaster* source) override;

    void showDestination (int bank, int slot);
    void markBankButtons();

    MidiCntrState& state;
    juce::String name;
    int category = 0;

    std::array<std::unique_ptr<StsBut>, kUserBanks> bankButtons;
    StsBut writeButton { "WRITE", kButtonId, StsBut::kDialogStyle };
    StsBut cancelButton { "CANCEL", kButtonId, StsBut::kDialogStyle };
    StsGrid grid;
    LCD_Comp display;
    std::unique_ptr<RenameCnt> renameBox;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (WriteSnd)
};
