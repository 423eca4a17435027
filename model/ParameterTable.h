#pragma once

#include <juce_core/juce_core.h>

#include <array>
#include <cstdint>

// One row per parameter position. Positions 0..511 are the bytes of layer A of the program record,
// 512..1023 the same parameters for layer B, and 1024..1029 the six performance values that are not
// part of a program ("Program No.", the two sliders, slider pressure and the two latch switches).
//
// The table is fixed: it is built once from the constant rows in ParameterTable.cpp and never
// changes. Every lookup is safe for any index and reads 0 (or an empty name) outside the table.
class ParameterTable
{
public:
    static constexpr int kLayerSize = 512;
    static constexpr int kProgramPositions = 1024;
    static constexpr int kNumPositions = 1030;
    static constexpr int kNumNames = kLayerSize + 6;
    static constexpr int kNumAutomation = 624;
    static constexpr int kLayerAAutomation = 310;
    static constexpr int kLayerBAutomation = 308;
    static constexpr int kNumNrpn = 1024;

    static constexpr int kProgramNumber = 1024;
    static constexpr int kSlider1 = 1025;
    static constexpr int kSlider2 = 1026;
    static constexpr int kSliderPress = 1027;
    static constexpr int kSliderLatch1 = 1028;
    static constexpr int kSliderLatch2 = 1029;

    static constexpr int16_t kNoNrpn = -1;
    static constexpr int kNoAutomationA = 2000;                     // stored for layer A positions without one
    static constexpr int kNoAutomationB = 2000 + kLayerAAutomation; // and for layer B positions
    static constexpr int kFirstNoAutomation = 2000;                 // anything from here up means "none"

    // The one shared table.
    static const ParameterTable& get();

    juce::String name (int position) const;
    int16_t minimum (int position) const;
    int16_t maximum (int position) const;
    int16_t displayType (int position) const;
    int16_t panelGroup (int position) const;

    int16_t nrpnOf (int position) const;
    int16_t positionOfNrpn (int nrpn) const;
    int32_t automationIndexOf (int position) const;
    int32_t positionOfAutomationIndex (int index) const;

    static bool hasAutomation (int32_t index) noexcept { return index >= 0 && index < kFirstNoAutomation; }

    // The host's view: "A Pitch 1", "B Pitch 1", "Program No.", or the number itself past the end.
    juce::String automationName (int index) const;

    // The title of an editor panel group, "" for 0 and numbers that have no panel.
    static juce::String panelGroupTitle (int group);

    ParameterTable();

private:
    std::array<juce::String, kNumNames> names;
    std::array<int16_t, kNumPositions> minima {}, maxima {}, displayTypes {}, panelGroups {};
    std::array<int32_t, kNumPositions> automationIndices {};
    std::array<int16_t, kProgramPositions> nrpns {};
    std::array<int32_t, kNumAutomation> automationPositions {};
    std::array<int16_t, kNumNrpn> nrpnPositions {};
};
