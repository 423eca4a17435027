#pragma once

#include <juce_core/juce_core.h>

#include <utility>
#include <vector>

// How the instrument shows a value: every text on the panel, in value menus and in the host's
// automation lanes comes from a parameter's display type. Pure functions; no state.
class ParDes
{
public:
    // Display types that have a rule. Any other code gives an empty text.
    enum DisplayType
    {
        kDecimal = 0,
        kABMode = 1,
        kArpMode = 2,
        kArpRange = 3,
        kArpRepeats = 4,
        kClockDivision = 5,
        kBpm = 6,
        kDestination = 7,
        kDelayTimeSync = 8,
        kGlideMode = 9,
        kLfoFreqSync = 10,
        kLfoShape = 11,
        kOnOff = 12,
        kNote = 13,
        kOscShape = 14,
        kWave = 15,
        kBendRange = 16,
        kModSource = 17,
        kSplitNote = 18,
        kUnisonMode = 20,
        kBipolar127 = 21,
        kBipolar50 = 22,
        kBipolar64 = 23,
        kDelayFilter = 24,
        kKeyAssign = 180,
    };

    static constexpr int kNumCategories = 26;

    static juce::String valueText (int displayType, int value);
    static juce::String categoryText (int category);
    static juce::String noteName (int value);

    // The items of a value menu: one per value 0..highest, id = value + 1, leaving out "*/*" texts.
    struct MenuItem
    {
        int id;
        juce::String text;
    };
    static std::vector<MenuItem> valueMenuItems (int displayType, int highestValue);

    // A chosen menu id back to the value, -1 when the menu was dismissed (id 0).
    static int valueOfMenuResult (int menuResult) noexcept { return menuResult > 0 ? menuResult - 1 : -1; }
};
