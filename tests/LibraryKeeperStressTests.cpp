// Two instances keeping one default library file, their writer threads running at the same time.
// Under ThreadSanitizer any data race in the keeper fails the run; without it the check still
// catches an addition lost between two writes that overlapped.
#include "MessageLoop.h"
#include "TestRig.h"
#include "library/FileMan.h"
#include "library/LibraryKeeper.h"

#include <gtest/gtest.h>

namespace
{
constexpr int kRounds = 40;

LibraryStore::Record numbered (int instance, int n)
{
    LibraryStore::Record r {};
    ProgramDump::writeName (r.data(), "I" + juce::String (instance) + " " + juce::String (n));
    r[1000] = (uint8_t) instance;
    r[1001] = (uint8_t) n;
    return r;
}

// One instance's library in memory, as the page keeps it: its own additions, and what the keeper
// hands back from the other.
struct Instance
{
    explicit Instance (const juce::File& file) : keeper (file) { keeper.read(); }

    void add (const LibraryStore::Record& r)
    {
        store.addProgram (ProgramDump::readName (r.data(), ProgramDump::NameVariant::slot), r.data(), r.size());
    }
    bool submit (bool changed)
    {
        return keeper.submit (store.getRecordBytes(), changed, [this] (const LibraryKeeper::Outcome& o) {
            store.applyChanges (o.added, o.removed);
            ++answers;
        });
    }

    LibraryKeeper keeper;
    LibraryStore store;
    int answers = 0;
};
} // namespace

TEST (LibraryKeeperStress, OverlappingWritesKeepEveryAddition)
{
    ScratchFolder scratch;
    const auto file = scratch.folder.getChildFile (LibraryStore::kDefaultFileName);
    Instance first (file), second (file);

    for (int n = 0; n < kRounds; ++n)
    {
        first.add (numbered (1, n));
        second.add (numbered (2, n));
        const int before = first.answers + second.answers;
        ASSERT_TRUE (first.submit (true));
        ASSERT_TRUE (second.submit (true)); // both writers at work at once
        for (int waited = 0; first.answers + second.answers < before + 2 && waited < 10000; waited += 2)
            runMessageLoop (2);
        ASSERT_EQ (first.answers + second.answers, before + 2);
    }

    // One more look each, and both hold everything; so does the file.
    for (auto* instance : { &first, &second })
    {
        const int before = instance->answers;
        ASSERT_TRUE (instance->submit (false));
        for (int waited = 0; instance->answers == before && waited < 10000; waited += 2)
            runMessageLoop (2);
    }
    const auto onDisk = LibraryKeeper::recordsOfImage (FileMan::readFile (file));
    EXPECT_EQ (onDisk.size(), (size_t) (2 * kRounds * 1024));
    for (auto* instance : { &first, &second })
    {
        EXPECT_EQ (instance->store.getNumRecords(), 2 * kRounds);
        for (int n = 0; n < kRounds; ++n)
            for (int i : { 1, 2 })
            {
                auto expected = numbered (i, n);
                ProgramDump::writeName (expected.data(), "I" + juce::String (i) + " " + juce::String (n));
                ASSERT_TRUE (instance->store.contains (expected)) << i << " " << n;
            }
    }
}
