#include "ui/library/Plugin_File.h"

#include "model/ParDes.h"
#include "plugin/OstrelAudioProcessor.h"

#include <algorithm>

Plugin_File::Plugin_File (OstrelAudioProcessor& p) : processor (p) {}

Plugin_File::~Plugin_File() = default;

int Plugin_File::getNumRows() const { return Bank_Program::kSlots; }

void Plugin_File::showSlot (int slot)
{
    if (! Bank_Program::isValidSlot (slot))
        return;
    selectedRow = selectedSlot = slot;
    setFirstVisibleRow (slot);
    repaint();
}

void Plugin_File::addListener (PlugFileListener* listener)
{
    const juce::ScopedLock sl (listenerLock);
    if (listener != nullptr && std::find (listeners.begin(), listeners.end(), listener) == listeners.end())
        listeners.push_back (listener);
}

void Plugin_File::removeListener (PlugFileListener* listener)
{
    const juce::ScopedLock sl (listenerLock);
    listeners.erase (std::remove (listeners.begin(), listeners.end(), listener), listeners.end());
}

template <typename Call>
void Plugin_File::tell (Call&& call)
{
    std::vector<PlugFileListener*> toTell;
    {
        const juce::ScopedLock sl (listenerLock);
        toTell = listeners;
    }
    for (auto it = toTell.rbegin(); it != toTell.rend(); ++it)
        call (**it);
}

void Plugin_File::getRowTexts (int row, juce::String& name, juce::String& category) const
{
    processor.getController().withBank (MidiCntrState::kProgramBank, [&] (Bank_Program& bank) {
        name = bank.slotName (row);
        category = ParDes::categoryText (
            bank.slotBytes()[(size_t) row * ProgramDump::kRecordBytes + ProgramDump::kCategoryOffset]);
    });
}

void Plugin_File::rowPressed (int row, const juce::MouseEvent& e)
{
    selectedRow = selectedSlot = row;
    repaint();
    tell ([] (PlugFileListener& l) { l.plugFileChanged (kRowPressed, 0); });
    if (e.mods.isRightButtonDown())
        tell ([] (PlugFileListener& l) { l.plugFileChanged (kRightPressed, 0); });
}

void Plugin_File::listDoubleClicked()
{
    tell ([] (PlugFileListener& l) { l.plugFileDoubleClicked (0, 0); });
}
