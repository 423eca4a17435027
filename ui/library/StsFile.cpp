#include "ui/library/StsFile.h"

#include "model/ParDes.h"

#include <algorithm>

StsFile::StsFile() { store.addListener (this); }

StsFile::~StsFile() { store.removeListener (this); }

void StsFile::addListener (StsFileListener* listener)
{
    const juce::ScopedLock sl (listenerLock);
    if (listener != nullptr && std::find (listeners.begin(), listeners.end(), listener) == listeners.end())
        listeners.push_back (listener);
}

void StsFile::removeListener (StsFileListener* listener)
{
    const juce::ScopedLock sl (listenerLock);
    listeners.erase (std::remove (listeners.begin(), listeners.end(), listener), listeners.end());
}

juce::String StsFile::listName (const uint8_t* record)
{
    char text[ProgramDump::kNameLength + 1] {};
    for (int i = 0; i < ProgramDump::kNameLength; ++i)
    {
        const auto code = (int8_t) record[ProgramDump::kNameOffset + i];
        text[i] = code < 32 ? 'A' : (char) code;
    }
    return juce::String (text, (size_t) ProgramDump::kNameLength);
}

void StsFile::getRowTexts (int row, juce::String& name, juce::String& category) const
{
    const auto& rows = store.getRows();
    if (! juce::isPositiveAndBelow (row, (int) rows.size()))
        return;
    const auto* record = store.getRecordBytes().data() + (size_t) rows[(size_t) row] * LibraryStore::kRecordBytes;
    name = listName (record);
    category = ParDes::categoryText (record[ProgramDump::kCategoryOffset]);
}

void StsFile::rowPressed (int row, const juce::MouseEvent&) { store.selectRow (row); }

void StsFile::libraryListChanged (int code, int value)
{
    if (code == LibraryStore::kRowsRebuilt)
        setFirstVisibleRow (0);
    repaint();

    std::vector<StsFileListener*> toTell;
    {
        const juce::ScopedLock sl (listenerLock);
        toTell = listeners;
    }
    for (auto it = toTell.rbegin(); it != toTell.rend(); ++it)
        (*it)->libraryListChanged (code, value);
}

void StsFile::libraryListDoubleClicked (int, int)
{
    std::vector<StsFileListener*> toTell;
    {
        const juce::ScopedLock sl (listenerLock);
        toTell = listeners;
    }
    for (auto it = toTell.rbegin(); it != toTell.rend(); ++it)
        (*it)->libraryListDoubleClicked (0, 0);
}
