#include "library/LibraryKeeper.h"
#include "library/LibraryStore.h"

#include <benchmark/benchmark.h>

namespace
{
constexpr int kLargeLibrary = 10000;

// Distinct programs that share category and the first letters of their names, so the duplicate
// test cannot reject them at its first look and compares whole records.
std::vector<uint8_t> largeLibraryImage()
{
    std::vector<uint8_t> image (13, ' ');
    for (int i = 0; i < kLargeLibrary; ++i)
    {
        LibraryStore::Record r {};
        ProgramDump::writeName (r.data(), "Pad " + juce::String (i));
        r[ProgramDump::kCategoryOffset] = 24;
        r[1000] = (uint8_t) (i & 0xFF);
        r[1001] = (uint8_t) (i >> 8);
        image.insert (image.end(), r.begin(), r.end());
    }
    image.insert (image.end(), 13, ' ');
    return image;
}

void loadLargeLibrary (benchmark::State& state)
{
    const auto image = largeLibraryImage();
    for (auto _ : state)
    {
        LibraryStore store;
        store.loadImage (image.data(), image.size());
        benchmark::DoNotOptimize (store.getRowCount());
    }
}
BENCHMARK (loadLargeLibrary)->Unit (benchmark::kMillisecond);

void saveLargeLibrary (benchmark::State& state)
{
    const auto image = largeLibraryImage();
    LibraryStore store;
    store.loadImage (image.data(), image.size());
    const auto file =
        juce::File::getSpecialLocation (juce::File::tempDirectory).getNonexistentChildFile ("ostrel-bench", ".p12l");
    for (auto _ : state)
        benchmark::DoNotOptimize (store.saveToFile (file));
    file.deleteFile();
}
BENCHMARK (saveLargeLibrary)->Unit (benchmark::kMillisecond);

// Adding the current program to a large library: the duplicate test walks every record.
void duplicateTestAgainstLargeLibrary (benchmark::State& state)
{
    const auto image = largeLibraryImage();
    LibraryStore store;
    store.loadImage (image.data(), image.size());
    LibraryStore::Record candidate {};
    ProgramDump::writeName (candidate.data(), "Pad new");
    candidate[ProgramDump::kCategoryOffset] = 24;
    for (auto _ : state)
        benchmark::DoNotOptimize (store.contains (candidate));
}
BENCHMARK (duplicateTestAgainstLargeLibrary)->Unit (benchmark::kMicrosecond);
} // namespace

namespace
{
// The message thread's share of keeping the default file: handing a large library over to the
// writer (a copy). The write itself runs on the keeper's thread, outside the timing.
void handOverLargeLibraryToTheKeeper (benchmark::State& state)
{
    const auto image = largeLibraryImage();
    const auto records = LibraryKeeper::Bytes (image.begin() + 13, image.end() - 13);
    const auto file =
        juce::File::getSpecialLocation (juce::File::tempDirectory).getNonexistentChildFile ("ostrel-bench", ".p12l");
    LibraryKeeper keeper (file);
    for (auto _ : state)
    {
        benchmark::DoNotOptimize (keeper.submit (records, true, {}));
        state.PauseTiming();
        keeper.waitUntilIdle();
        state.ResumeTiming();
    }
    file.deleteFile();
}
BENCHMARK (handOverLargeLibraryToTheKeeper)->Unit (benchmark::kMillisecond);

// Another instance replaced half of a large library: the merge, on the keeper's thread.
void mergeHalfOfALargeLibrary (benchmark::State& state)
{
    const auto image = largeLibraryImage();
    const LibraryKeeper::Bytes ours (image.begin() + 13, image.end() - 13);
    auto theirs = ours;
    for (size_t at = 0; at < theirs.size() / 2; at += 1024)
        theirs[at + 1002] = 1;
    for (auto _ : state)
        benchmark::DoNotOptimize (LibraryKeeper::merge (ours, ours, theirs).merged.size());
}
BENCHMARK (mergeHalfOfALargeLibrary)->Unit (benchmark::kMillisecond);

// The same changes taken into the library in memory, on the message thread.
void applyHalfOfALargeLibrary (benchmark::State& state)
{
    const auto image = largeLibraryImage();
    const LibraryKeeper::Bytes ours (image.begin() + 13, image.end() - 13);
    auto theirs = ours;
    for (size_t at = 0; at < theirs.size() / 2; at += 1024)
        theirs[at + 1002] = 1;
    const auto m = LibraryKeeper::merge (ours, ours, theirs);
    LibraryStore store;
    store.loadImage (image.data(), image.size());
    for (auto _ : state)
    {
        state.PauseTiming();
        LibraryStore copy = store;
        state.ResumeTiming();
        benchmark::DoNotOptimize (copy.applyChanges (m.added, m.removed));
    }
}
BENCHMARK (applyHalfOfALargeLibrary)->Unit (benchmark::kMillisecond);
} // namespace
