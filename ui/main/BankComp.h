#pragma once

#include "ui/controls/StsGrid.h"
#include "ui/look/StsBut.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <memory>

class MidiCntrState;

// The bank panel: the program list of one bank or one category, the eight bank buttons, the
// category buttons and the "FILE", "MIDI" and "PRESETS" commands.
//
// How an owner uses it:
//   BankComp banks { state };                       // lives as long as the owner
//   banks.addChangeListener (this);                 // read banks.getActionCode() in the callback:
//       200 a bank button put the list on that bank (make it the current bank, select the program
//           at the current program number, then call showCurrentBank()),
//       201 "PRESETS" (presets menu), 890 "FILE" (bank file menu), 891 "MIDI" (transfer menu)
//   banks.getOkButton().addListener (this);        // "OK" closes the panel
//   banks.getGrid().addListener (this);            // rows chosen in the list (91, 88, 90)
//   banks.showCurrentBank();                        // whenever the panel is shown
// The change message is sent synchronously, so the code read is always the one just set.
class BankComp : public juce::Component, public juce::ChangeBroadcaster, private stsbutChangeListener
{
public:
    static constexpr int kSelectBank = 200, kPresetsMenu = 201, kFileMenu = 890, kMidiMenu = 891;
    static constexpr int kBankButtons = 8, kCategoryButtons = 28, kShownCategoryButtons = 26;
    static constexpr int kOkId = 999;

    explicit BankComp (MidiCntrState& state);
    ~BankComp() override;

    // The list on the current bank (mode 0) with the current program's slot selected.
    void showCurrentBank();

    int getActionCode() const noexcept { return actionCode; }

    StsGrid& getGrid() noexcept { return grid; }
    StsBut& getOkButton() noexcept { return okButton; }
    StsBut& getFileButton() noexcept { return fileButton; }
    StsBut& getMidiButton() noexcept { return midiButton; }
    StsBut& getPresetsButton() noexcept { return presetsButton; }
    StsBut& getBankButton (int bank) noexcept { return *bankButtons[static_cast<size_t> (bank)]; }
    StsBut& getCategoryButton (int category) noexcept { return *categoryButtons[static_cast<size_t> (category)]; }

    void paint (juce::Graphics& g) override;
    void resized() override;

private:
    void stsButClicked (StsBut* button) override;
    void announce (int code);
    void markBankButtons();

    MidiCntrState& state;
    int actionCode = 0;

    std::array<std::unique_ptr<StsBut>, kBankButtons> bankButtons;
    StsBut fileButton { "FILE", kFileMenu, StsBut::kFunctionStyle };
    StsBut midiButton { "MIDI", kMidiMenu, StsBut::kFunctionStyle };
    StsBut presetsButton { "PRESETS", kPresetsMenu, StsBut::kFunctionStyle };
    StsBut okButton { "OK", kOkId, StsBut::kDialogStyle };
    std::array<std::unique_ptr<StsBut>, kCategoryButtons> categoryButtons;
    StsGrid grid;

    juce::Image logo, badge;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BankComp)
};
