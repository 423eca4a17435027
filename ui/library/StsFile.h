#pragma once

#include "library/LibraryStore.h"
#include "ui/library/ProgramListView.h"

// The library list of the LIBRARY page: the program library (records, import set, filter, rows,
// selection, counts) drawn as a program list. Listeners hear the store's notifications after the
// list has taken them: (202, 100) after a rebuild, which also scrolls back to the top, (201, record)
// after a selection, and the double click.
class StsFile : public ProgramListView, private StsFileListener
{
public:
    StsFile();
    ~StsFile() override;

    LibraryStore& getStore() noexcept { return store; }
    const LibraryStore& getStore() const noexcept { return store; }

    void addListener (StsFileListener* listener);
    void removeListener (StsFileListener* listener);

    // The name as the list shows it: every byte below 32 read as a signed byte (0..31, 128..255)
    // shows as "A".
    static juce::String listName (const uint8_t* record);

    int getNumRows() const override { return store.getRowCount(); }
    int getSelectedRow() const override { return store.getSelectedRow(); }
    void getRowTexts (int row, juce::String& name, juce::String& category) const override;
    void rowPressed (int row, const juce::MouseEvent& e) override;
    void listDoubleClicked() override { store.notifyDoubleClick(); }

private:
    void libraryListChanged (int code, int value) override;
    void libraryListDoubleClicked (int, int) override;

    LibraryStore store;
    juce::CriticalSection listenerLock;
    std::vector<StsFileListener*> listeners;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (StsFile)
};
