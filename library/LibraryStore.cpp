#include "library/LibraryStore.h"
#include "model/AtomicFile.h"
#include "model/DSI_Program.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace
{
constexpr size_t kRecord = (size_t) LibraryStore::kRecordBytes;

const uint8_t* recordAt (const std::vector<uint8_t>& block, size_t index) { return block.data() + index * kRecord; }
} // namespace

LibraryStore::Record LibraryStore::getRecord (int index) const
{
    Record record {};
    if (juce::isPositiveAndBelow (index, getNumRecords()))
        std::copy_n (recordAt (records, (size_t) index), kRecord, record.begin());
    return record;
}

bool LibraryStore::isDuplicate (const std::vector<uint8_t>& block, const Record& record)
{
    const size_t count = block.size() / kRecord;
    for (size_t i = 0; i < count; ++i)
    {
        const auto* candidate = recordAt (block, i);
        // Category and the name's first letters differ between most programs: a cheap first look.
        if (candidate[ProgramDump::kCategoryOffset] != record[ProgramDump::kCategoryOffset] ||
            candidate[ProgramDump::kNameOffset] != record[ProgramDump::kNameOffset] ||
            candidate[ProgramDump::kNameOffset + 3] != record[ProgramDump::kNameOffset + 3])
            continue;
        if (memcmp (candidate, record.data(), kRecord) == 0)
            return true;
    }
    return false;
}

// ---- Rows, filter and selection --------------------------------------------------------------------

void LibraryStore::rebuildRows (int mode)
{
    filterMode = mode;
    selectedRow = selectedRecord = -1;

    rows.clear();
    counts.fill (0);
    matchCount = 0;
    for (int i = 0; i < getNumRecords(); ++i)
    {
        const auto* record = recordAt (records, (size_t) i);
        if (! matchesSearch (record))
            continue;
        ++matchCount;
        const int category = record[ProgramDump::kCategoryOffset];
        if (category < kCountSlots)
            ++counts[(size_t) category];
        if (filterMode == 0 || category == filterCategory)
            rows.push_back (i);
    }
    tell (kRowsRebuilt, kRowsRebuiltValue);
}

void LibraryStore::selectRow (int row)
{
    if (! juce::isPositiveAndBelow (row, getRowCount()))
        return;
    selectedRow = row;
    selectedRecord = rows[(size_t) row];
    tell (kRowSelected, selectedRecord);
}

bool LibraryStore::hasValidSelection() const noexcept
{
    return selectedRecord >= 0 && selectedRecord < getNumRecords() && getRowCount() > 0;
}

int LibraryStore::getCategoryCount (int category) const
{
    return juce::isPositiveAndBelow (category, kCountSlots) ? counts[(size_t) category] : 0;
}

// ---- Search ----------------------------------------------------------------------------------------

namespace
{
uint8_t lowerAscii (uint8_t c) { return c >= 'A' && c <= 'Z' ? (uint8_t) (c + ('a' - 'A')) : c; }

// A name byte as the list shows it: codes below 32 read as a signed byte (0..31, 128..255) show as "A".
uint8_t shownNameByte (uint8_t c) { return (int8_t) c < 32 ? (uint8_t) 'A' : c; }
} // namespace

void LibraryStore::setSearchText (const juce::String& text)
{
    searchText = text;
    searchKey.clear();
    searchUnmatchable = false;
    for (auto p = text.getCharPointer(); ! p.isEmpty(); ++p)
    {
        const auto c = (juce::uint32) *p;
        if (c > 0xFF)
            searchUnmatchable = true;
        searchKey.push_back ((char) lowerAscii ((uint8_t) c));
    }
    rebuildRows (filterMode);
}

bool LibraryStore::matchesSearch (const uint8_t* record) const noexcept
{
    if (searchKey.empty())
        return true;
    constexpr size_t nameLength = (size_t) ProgramDump::kNameLength;
    if (searchUnmatchable || searchKey.size() > nameLength)
        return false;

    uint8_t name[nameLength];
    for (size_t i = 0; i < nameLength; ++i)
        name[i] = lowerAscii (shownNameByte (record[(size_t) ProgramDump::kNameOffset + i]));
    const auto* key = reinterpret_cast<const uint8_t*> (searchKey.data());
    return std::search (name, name + nameLength, key, key + searchKey.size()) != name + nameLength;
}

// ---- Editing ---------------------------------------------------------------------------------------

void LibraryStore::addProgram (const juce::String& name, const void* data, size_t size)
{
    DSI_Program program;
    if (size == kRecord)
        program.setData (data, size);
    program.setName (name);
    const auto& record = program.getData();

    const bool added = ! contains (record);
    if (added)
        records.insert (records.end(), record.begin(), record.end());

    rebuildRows (filterMode);
    if (added)
        recordsChanged();
    // A program the search does not take is not among the rows: then the last row is another one.
    if ((filterMode == 0 || record[ProgramDump::kCategoryOffset] == filterCategory) && matchesSearch (record.data()))
        selectRow (getRowCount() - 1);
}

void LibraryStore::removeSelected()
{
    if (! hasValidSelection())
        return;
    const auto start = records.begin() + (long) ((size_t) selectedRecord * kRecord);
    records.erase (start, start + (long) kRecord);
    rebuildRows (filterMode);
    recordsChanged();
}

void LibraryStore::renameSelected (const juce::String& name, int category)
{
    if (name.isEmpty() || ! hasValidSelection())
        return;
    auto* record = records.data() + (size_t) selectedRecord * kRecord;
    ProgramDump::writeName (record, name);
    record[ProgramDump::kCategoryOffset] = (uint8_t) category;
    rebuildRows (1);
    recordsChanged();
}

void LibraryStore::clear()
{
    const bool hadRecords = ! records.empty();
    records.clear();
    rebuildRows (0);
    if (hadRecords)
        recordsChanged();
}

bool LibraryStore::applyChanges (const std::vector<uint8_t>& added, const std::vector<uint8_t>& removed)
{
    // By the records' bytes, in one pass each: a large library may take in many changes at once.
    const auto view = [] (const std::vector<uint8_t>& block, size_t at) {
        return std::string_view (reinterpret_cast<const char*> (block.data()) + at, kRecord);
    };
    std::unordered_map<std::string_view, int> toRemove;
    for (size_t at = 0; at + kRecord <= removed.size(); at += kRecord)
        ++toRemove[view (removed, at)];

    std::vector<uint8_t> kept;
    kept.reserve (records.size() + added.size());
    bool changed = false;
    for (size_t at = 0; at + kRecord <= records.size(); at += kRecord)
    {
        if (auto it = toRemove.find (view (records, at)); it != toRemove.end() && it->second > 0)
        {
            --it->second;
            changed = true;
            continue;
        }
        kept.insert (kept.end(), records.begin() + (long) at, records.begin() + (long) (at + kRecord));
    }

    std::unordered_set<std::string> present;
    for (size_t at = 0; at + kRecord <= kept.size(); at += kRecord)
        present.emplace (view (kept, at));
    for (size_t at = 0; at + kRecord <= added.size(); at += kRecord)
    {
        if (! present.emplace (view (added, at)).second)
            continue;
        kept.insert (kept.end(), added.begin() + (long) at, added.begin() + (long) (at + kRecord));
        changed = true;
    }

    if (changed)
    {
        records.swap (kept);
        rebuildRows (filterMode);
    }
    return changed;
}

void LibraryStore::recordsChanged()
{
    if (onRecordsChanged)
        onRecordsChanged();
}

// ---- Importing -------------------------------------------------------------------------------------

void LibraryStore::stageFromImage (const void* image, size_t size, size_t start)
{
    pending.clear();
    if (image == nullptr || size < start || size - start < kRecord)
        return;

    const auto* bytes = static_cast<const uint8_t*> (image) + start;
    const size_t count = (size - start) / kRecord;
    for (size_t i = 0; i < count; ++i)
    {
        Record record;
        std::copy_n (bytes + i * kRecord, kRecord, record.begin());
        if (! isDuplicate (pending, record))
            pending.insert (pending.end(), record.begin(), record.end());
    }
}

void LibraryStore::stageFromBank (const uint8_t* slots, int count)
{
    if (slots == nullptr || count <= 0)
    {
        pending.clear();
        return;
    }
    stageFromImage (slots, (size_t) count * kRecord, 0);
}

void LibraryStore::commitPending (bool append) { commit (append, false); }

int LibraryStore::commitPendingRefusingDuplicates (bool append) { return commit (append, true); }

int LibraryStore::commit (bool append, bool refuseDuplicates)
{
    if (pending.empty())
        return 0;
    if (! append)
        records.clear();
    int added = 0;
    const size_t count = pending.size() / kRecord;
    for (size_t i = 0; i < count; ++i)
    {
        Record record;
        std::copy_n (recordAt (pending, i), kRecord, record.begin());
        if (refuseDuplicates && append && contains (record))
            continue;
        records.insert (records.end(), record.begin(), record.end());
        ++added;
    }
    rebuildRows (0);
    if (added > 0 || ! append)
        recordsChanged();
    return added;
}

// ---- Files -----------------------------------------------------------------------------------------

void LibraryStore::loadImage (const void* data, size_t size)
{
    if (data != nullptr && size >= (size_t) kMarkerBytes + kRecord)
    {
        const auto* bytes = static_cast<const uint8_t*> (data) + kMarkerBytes;
        const size_t count = (size - (size_t) kMarkerBytes) / kRecord;
        records.assign (bytes, bytes + count * kRecord);
    }
    rebuildRows (0);
    if (data != nullptr && size >= (size_t) kMarkerBytes + kRecord)
        recordsChanged();
}

juce::MemoryBlock LibraryStore::buildFileImage() const
{
    if (records.empty())
        return {};
    juce::MemoryBlock image (records.size() + 2 * (size_t) kMarkerBytes);
    image.copyFrom (kFileHeader, 0, (size_t) kMarkerBytes);
    image.copyFrom (records.data(), kMarkerBytes, records.size());
    image.copyFrom (kFileTrailer, kMarkerBytes + (int) records.size(), (size_t) kMarkerBytes);
    return image;
}

bool LibraryStore::saveToFile (const juce::File& file) const
{
    if (records.empty())
        return false;
    return writeAtomically (file, buildFileImage());
}

bool LibraryStore::loadFromFile (const juce::File& file)
{
    juce::MemoryBlock content;
    if (! file.existsAsFile() || ! file.loadFileAsData (content))
        return false;
    loadImage (content.getData(), content.getSize());
    return true;
}

// ---- Listeners -------------------------------------------------------------------------------------

void LibraryStore::addListener (StsFileListener* listener)
{
    if (listener != nullptr && std::find (listeners.begin(), listeners.end(), listener) == listeners.end())
        listeners.push_back (listener);
}

void LibraryStore::removeListener (StsFileListener* listener)
{
    listeners.erase (std::remove (listeners.begin(), listeners.end(), listener), listeners.end());
}

void LibraryStore::tell (int code, int value)
{
    // Last registered first, as everywhere in the editor.
    const auto copy = listeners;
    for (auto it = copy.rbegin(); it != copy.rend(); ++it)
        (*it)->libraryListChanged (code, value);
}

void LibraryStore::notifyDoubleClick()
{
    const auto copy = listeners;
    for (auto it = copy.rbegin(); it != copy.rend(); ++it)
        (*it)->libraryListDoubleClicked (0, 0);
}
