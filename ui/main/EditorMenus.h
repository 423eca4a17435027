#pragma once

#include "midi/Transfers.h"

#include <juce_gui_basics/juce_gui_basics.h>

// The editor's menus, built each time one opens from what is current then. Item ids are what the
// main component's handlers switch on; the texts are the instrument editor's own.
namespace EditorMenus
{
// "SEND": [1] the current program, [2] the selected plug-in slot.
juce::PopupMenu sendMenu (const juce::String& currentName, const juce::String& slotName);

// "FILE": [1] load a program file, [2] save the current program, [5] save it as a ".syx" file (the
// same bytes), [3] about.
static constexpr int kSaveAsSysExItem = 5;
juce::PopupMenu fileMenu (const juce::String& currentName);

// "EDIT": [1] copy, [2] paste (the clipboard's name, or none), and the page jumps [101..109].
juce::PopupMenu editMenu (const juce::String& currentName, const juce::String& clipboardName, bool clipboardFull);
// After a separator: [201] "Undo " + what, [202] "Redo " + what (disabled with an empty text: nothing
// to undo or redo), [203] "Compare with Stored Program", ticked while comparing.
static constexpr int kUndoItem = 201, kRedoItem = 202, kCompareItem = 203;
void addHistoryItems (juce::PopupMenu& editMenu, const juce::String& undoText, const juce::String& redoText,
                      bool canCompare, bool comparing);
// The page each "Voice Parameters " item shows; -1 for other ids.
int pageForVoiceItem (int id);

// The channel label: [1..16] "Channel n", the current one ticked.
juce::PopupMenu channelMenu (int currentChannel);

// The LCD's location: [100000..100003] the user banks, [1000..1098] the current bank's programs.
static constexpr int kPickerBankBase = 100000, kPickerProgramBase = 1000;
juce::PopupMenu programPicker (const juce::StringArray& bankNames, int currentBank,
                               const juce::StringArray& programNames, int currentProgram);

// A slot of the bank list: [1] copy, [2] paste into it, [3] save it, [5] save it as a ".syx" file,
// [4] load a program file into it.
juce::PopupMenu slotProgramMenu (const juce::String& slotName, const juce::String& clipboardName, bool clipboardFull);

// The 26 categories as [1..26], the current one ticked.
juce::PopupMenu categoryMenu (int currentCategory);

// The bank panel's "PRESETS": [100..103] factory presets, [99] initialise a user bank.
juce::PopupMenu presetsMenu (int currentBank);

// The bank panel's "FILE": [100..103] load a bank file into a user bank, [200..203] save one,
// [300..303] save one as a ".syx" file (the same bytes).
static constexpr int kSaveBankAsSysExBase = 300;
juce::PopupMenu bankFileMenu (const juce::StringArray& userBankNames);

// The bank panel's "MIDI": the transfer menu.
juce::PopupMenu transferMenu (const std::vector<Transfers::MenuItem>& items);
} // namespace EditorMenus
