#include "bench/GuiBench.h"
#include "ui/library/LibClass.h"
#include "ui/library/StsFile.h"

#include <benchmark/benchmark.h>

namespace
{
constexpr int kRecords = 10000;

// The library list at its window size holding 10,000 programs spread over the 26 categories.
struct LibraryView
{
    LibraryView()
    {
        initialiseJuce();
        list = std::make_unique<StsFile>();
        list->setBounds (0, 0, 334, 15 * ProgramListView::kRowHeight);

        juce::MemoryBlock image;
        image.append ("Mopho  Libr >", 13);
        ProgramDump::Record record {};
        for (int i = 0; i < kRecords; ++i)
        {
            record.fill ((uint8_t) (i & 0x7f));
            record[0] = (uint8_t) (i >> 7);
            ProgramDump::writeName (record.data(), "Program " + juce::String (i));
            record[ProgramDump::kCategoryOffset] = (uint8_t) (i % 26);
            image.append (record.data(), record.size());
        }
        list->getStore().loadImage (image.getData(), image.getSize());
    }

    std::unique_ptr<StsFile> list;
};

LibraryView& view()
{
    static LibraryView instance;
    return instance;
}

// A category button pressed: the rows of one category out of 10,000 records, and the recount.
void libraryFilterByCategory (benchmark::State& state)
{
    auto& store = view().list->getStore();
    int category = 0;
    for (auto _ : state)
    {
        store.setFilterCategory (category);
        store.rebuildRows (1);
        category = (category + 1) % 26;
        benchmark::DoNotOptimize (store.getRowCount());
    }
    store.rebuildRows (0);
}
BENCHMARK (libraryFilterByCategory)->Unit (benchmark::kMicrosecond);

// Every visible row painted into an offscreen picture by the software renderer.
void libraryRepaintVisibleRows (benchmark::State& state)
{
    auto& list = *view().list;
    list.getStore().rebuildRows (0);
    list.getStore().selectRow (3);
    juce::Image image (juce::Image::ARGB, list.getWidth(), list.getHeight(), true, juce::SoftwareImageType());
    for (auto _ : state)
    {
        juce::Graphics g (image);
        list.paintEntireComponent (g, false);
        benchmark::ClobberMemory();
    }
}
BENCHMARK (libraryRepaintVisibleRows)->Unit (benchmark::kMicrosecond);

// One wheel step down the list and the repaint that shows it.
void libraryScrollStep (benchmark::State& state)
{
    auto& list = *view().list;
    list.getStore().rebuildRows (0);
    juce::Image image (juce::Image::ARGB, list.getWidth(), list.getHeight(), true, juce::SoftwareImageType());
    const juce::MouseWheelDetails wheel { 0.0f, -1.0f, false, false, false };
    const auto event =
        juce::MouseEvent (juce::Desktop::getInstance().getMainMouseSource(), { 100.0f, 100.0f }, {}, 0.0f, 0.0f, 0.0f,
                          0.0f, 0.0f, &list, &list, juce::Time(), {}, juce::Time(), 0, false);
    for (auto _ : state)
    {
        if (list.getFirstVisibleRow() >= list.getLastFirstRow())
            list.setFirstVisibleRow (0);
        list.mouseWheelMove (event, wheel);
        juce::Graphics g (image);
        list.paintEntireComponent (g, false);
        benchmark::ClobberMemory();
    }
}
BENCHMARK (libraryScrollStep)->Unit (benchmark::kMicrosecond);

// One keystroke in the LIBRARY page's search field with 10,000 records: the list filtered by the
// name typed so far within the chosen category, the category panel recounted, and the list and
// panel painted. Typing runs through "program 12" and starts again, so every length of text is met.
void librarySearchKeystroke (benchmark::State& state)
{
    auto& list = *view().list;
    auto& store = list.getStore();
    CatContainer panel;
    panel.setBounds (0, 0, 440, 380);
    store.setFilterCategory (12);
    store.rebuildRows (state.range (0));
    juce::Image listImage (juce::Image::ARGB, list.getWidth(), list.getHeight(), true, juce::SoftwareImageType());
    juce::Image panelImage (juce::Image::ARGB, panel.getWidth(), panel.getHeight(), true, juce::SoftwareImageType());

    const juce::String typed = "program 12";
    int length = 0;
    for (auto _ : state)
    {
        length = length % typed.length() + 1;
        store.setSearchText (typed.substring (0, length));
        panel.updateCounts (store);
        juce::Graphics g (listImage);
        list.paintEntireComponent (g, false);
        juce::Graphics p (panelImage);
        panel.paintEntireComponent (p, false);
        benchmark::ClobberMemory();
    }
    state.counters["rows"] = (double) store.getRowCount();
    store.setSearchText ({});
    store.rebuildRows (0);
}
BENCHMARK (librarySearchKeystroke)->Arg (0)->Arg (1)->ArgName ("categoryChosen")->Unit (benchmark::kMicrosecond);
} // namespace
