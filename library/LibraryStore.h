#pragma once

#include "model/ProgramDump.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

// Told of what happens in the library list: (202, 100) when the rows were rebuilt and any count may
// have changed, (201, record index) when a row was selected, and a double click.
class StsFileListener
{
public:
    virtual ~StsFileListener() = default;
    virtual void libraryListChanged (int code, int value) = 0;
    virtual void libraryListDoubleClicked (int, int) = 0;
};

// The program library: a flat list of 1024-byte programs in insertion order, the import set waiting
// for the user's append-or-replace answer, the category filter with its visible rows, the selection
// and the per-category counts. The list control of the library window draws it; the store itself
// has no component, so everything here runs without a display. Message thread only.
//
// Library file (".p12l"): "Mopho  Libr >", the records, "< Mopho  Libr". N comes from the size.
class LibraryStore
{
public:
    using Record = ProgramDump::Record;

    static constexpr int kRecordBytes = ProgramDump::kRecordBytes;
    static constexpr const char* kFileHeader = "Mopho  Libr >";
    static constexpr const char* kFileTrailer = "< Mopho  Libr";
    static constexpr int kMarkerBytes = 13;
    static constexpr int kCountSlots = 30;
    static constexpr int kRowsRebuilt = 202, kRowsRebuiltValue = 100, kRowSelected = 201;
    static constexpr const char* kDefaultFileName = "p12Lib.p12l";

    // ---- Contents -------------------------------------------------------------------------------
    int getNumRecords() const noexcept { return (int) (records.size() / kRecordBytes); }
    Record getRecord (int index) const; // zeros outside the library
    const std::vector<uint8_t>& getRecordBytes() const noexcept { return records; }
    int getNumPending() const noexcept { return (int) (pending.size() / kRecordBytes); }

    // True when `block` holds a record equal to `record` in all 1024 bytes.
    static bool isDuplicate (const std::vector<uint8_t>& block, const Record& record);
    bool contains (const Record& record) const { return isDuplicate (records, record); }

    // ---- Rows, filter and selection -------------------------------------------------------------
    void rebuildRows (int filterMode);
    void selectRow (int row);
    int getFilterMode() const noexcept { return filterMode; }
    int getFilterCategory() const noexcept { return filterCategory; }
    void setFilterCategory (int category) noexcept { filterCategory = category; }
    const std::vector<int>& getRows() const noexcept { return rows; }
    int getRowCount() const noexcept { return (int) rows.size(); }
    int getSelectedRow() const noexcept { return selectedRow; }
    int getSelectedRecord() const noexcept { return selectedRecord; }
    bool hasValidSelection() const noexcept;
    int getCategoryCount (int category) const;

    // ---- Search ---------------------------------------------------------------------------------
    // Only records whose name, as the list shows it, holds `text` in any letter case are rows, and
    // only they are counted; an empty text takes every record. Rebuilds the rows with the current
    // filter mode.
    void setSearchText (const juce::String& text);
    const juce::String& getSearchText() const noexcept { return searchText; }
    bool matchesSearch (const uint8_t* record) const noexcept;
    // The records the search takes, in every category: the library's size when nothing is searched.
    int getMatchCount() const noexcept { return matchCount; }

    // ---- Editing --------------------------------------------------------------------------------
    // The data (1024 bytes, else the default program) renamed by the name rule, appended unless an
    // equal record is already there.
    void addProgram (const juce::String& name, const void* data, size_t size);
    void removeSelected();
    // Renames the selected record and files it under `category`; the list then shows that
    // category (filter mode 1 with the filter category).
    void renameSelected (const juce::String& name, int category);
    void clear();

    // ---- Importing ------------------------------------------------------------------------------
    // Stages the whole records of `image` from `start` on, each once; the library is not consulted.
    void stageFromImage (const void* image, size_t size, size_t start);
    // Stages slots 0 .. count - 1 of a bank of 1024-byte slots.
    void stageFromBank (const uint8_t* slots, int count);
    // Appends (or, with append false, replaces the library by) the staged records. The import set
    // stays as it is.
    void commitPending (bool append);
    // The same, refusing staged records that are already in the library when appending. Returns how
    // many records were added.
    int commitPendingRefusingDuplicates (bool append);

    // ---- Files ----------------------------------------------------------------------------------
    // A file's whole content: at least 13 + 1024 bytes give its whole records; less changes nothing.
    void loadImage (const void* data, size_t size);
    juce::MemoryBlock buildFileImage() const; // empty for an empty library
    // Writes only when there is at least one record; an empty library leaves the file as it was.
    bool saveToFile (const juce::File& file) const;
    bool loadFromFile (const juce::File& file);

    // Merges changes made elsewhere (another instance, through the default file): the records not
    // yet here are appended, one record equal to each removed one goes. True when anything changed;
    // the rows are then rebuilt with the current filter.
    bool applyChanges (const std::vector<uint8_t>& added, const std::vector<uint8_t>& removed);

    // Told after every change of the records themselves (not of the rows or the selection).
    std::function<void()> onRecordsChanged;

    // ---- Listeners ------------------------------------------------------------------------------
    void addListener (StsFileListener* listener);
    void removeListener (StsFileListener* listener);
    void notifyDoubleClick();

private:
    void tell (int code, int value);
    void recordsChanged();
    int commit (bool append, bool refuseDuplicates);

    std::vector<uint8_t> records, pending;
    int filterMode = 0, filterCategory = 0;
    juce::String searchText;
    std::string searchKey;          // the text lower-cased, one byte per character; empty: no search
    bool searchUnmatchable = false; // the text holds a character no name can hold
    int matchCount = 0;
    std::vector<int> rows;
    int selectedRow = -1, selectedRecord = -1;
    std::array<int, kCountSlots> counts {};
    std::vector<StsFileListener*> listeners;
};
