#include "model/ParDes.h"
#include "model/ParameterTable.h"

#include <gtest/gtest.h>

namespace
{
struct TextCase
{
    int displayType;
    int value;
    const char* text;
};

TEST (ParDes, ValueTextsAtTheirBoundaries)
{
    // clang-format off
    const TextCase cases[] = {
        { 0, 0, "0" },            { 0, 255, "255" },         { 0, -1, "-1" },
        { 1, 0, "Normal" },       { 1, 2, "Stack A+B" },     { 1, 3, "" },
        { 2, 4, "Random" },       { 2, 5, "" },
        { 3, 0, "1 Octave" },     { 3, 2, "3 Octaves" },     { 3, 3, "" },
        { 4, 0, "0" },            { 4, 3, "3" },             { 4, 4, "" },
        { 5, 0, "Half Note" },    { 5, 13, "64th N T" },     { 5, 14, "" },
        { 6, 30, "30 bpm" },      { 6, 250, "250 bpm" },
        { 7, 0, "Off" },          { 7, 5, "Osc All Freq" },  { 7, 15, "Sub Osc Level" },
        { 7, 53, "Delay All Time" }, { 7, 61, "Delay 4 Pan" }, { 7, 88, "All Env Release" },
        { 7, 89, "Mod 1 Amount" }, { 7, 104, "Mod 16 Amount" }, { 7, 105, "" },
        { 8, 0, "64th" },         { 8, 8, "Dotted 1/4." },   { 8, 11, "Whole" },     { 8, 12, "" },
        { 9, 3, "FixTime A" },    { 9, 4, "" },
        { 10, 5, "8th " },        { 10, 15, "32 Qrtr" },     { 10, 16, "" },
        { 11, 0, "Triangle" },    { 11, 7, "Random" },       { 11, 8, "" },
        { 12, 0, "OFF" },         { 12, 1, "ON" },           { 12, 2, "" },
        { 13, 0, "C0" },          { 13, 11, "B0" },          { 13, 61, "C#5" },      { 13, 120, "C10" },
        { 14, 0, "Off" },         { 14, 19, "Violet Noise" }, { 14, 20, "" },
        { 15, 0, "Tines" },       { 15, 11, "Meh" },         { 15, 12, "" },
        { 16, 0, "OFF" },         { 16, 1, "1 Semitones" },  { 16, 12, "1 Octave" },
        { 16, 13, "13 Semitones" }, { 16, 24, "2 Octaves" }, { 16, 25, "" },
        { 17, 0, "Off" },         { 17, 21, "CC#2 Foot Pedal" }, { 17, 27, "Audio Out" }, { 17, 28, "" },
        { 18, 60, "C5" },         { 18, 24, "C2" },
        { 19, 0, "" },            { 19, 64, "" },
        { 20, 0, "1 Voice" },     { 20, 1, "All Voices" },   { 20, 2, "" },
        { 21, 0, "-127" },        { 21, 127, "0" },          { 21, 254, "127" },
        { 22, 0, "-50" },         { 22, 50, "0" },           { 22, 100, "50" },
        { 23, 0, "-64" },         { 23, 64, "0" },           { 23, 127, "63" },
        { 24, 0, "Lowpass" },     { 24, 1, "Highpass" },     { 24, 2, "" },
        { 25, 0, "" },            { 179, 0, "" },            { 181, 0, "" },
        { 180, 0, "Low Note" },   { 180, 5, "Last Retrig" }, { 180, 6, "" },
        { -1, 0, "" },
    };
    // clang-format on
    for (const auto& c : cases)
    {
        SCOPED_TRACE (juce::String (c.displayType) + " / " + juce::String (c.value));
        EXPECT_EQ (ParDes::valueText (c.displayType, c.value), c.text);
    }
}

TEST (ParDes, ListsHaveNoGapsOverTheirParameters)
{
    // Every value a parameter can hold reads as a text, except the undefined code 19.
    const auto& table = ParameterTable::get();
    for (int p = 0; p < ParameterTable::kNumPositions; ++p)
        for (int v = juce::jmax (0, (int) table.minimum (p)); v <= table.maximum (p); ++v)
            EXPECT_TRUE (ParDes::valueText (table.displayType (p), v).isNotEmpty()) << p << " " << v;
}

TEST (ParDes, NoteNamesAndCategories)
{
    EXPECT_EQ (ParDes::noteName (24), "C2");
    EXPECT_EQ (ParDes::noteName (60), "C5");
    EXPECT_EQ (ParDes::noteName (127), "G10");
    EXPECT_EQ (ParDes::noteName (-1), "");

    EXPECT_EQ (ParDes::categoryText (0), "- Not Assigned -");
    EXPECT_EQ (ParDes::categoryText (10), "Res Bass");
    EXPECT_EQ (ParDes::categoryText (25), "Arpeggiator");
    EXPECT_EQ (ParDes::categoryText (26), "");
    EXPECT_EQ (ParDes::categoryText (-1), "");
}

TEST (ParDes, ValueMenuOffersEveryValueByName)
{
    const auto onOff = ParDes::valueMenuItems (ParDes::kOnOff, 1);
    ASSERT_EQ (onOff.size(), 2u);
    EXPECT_EQ (onOff[0].id, 1);
    EXPECT_EQ (onOff[0].text, "OFF");
    EXPECT_EQ (onOff[1].id, 2);
    EXPECT_EQ (onOff[1].text, "ON");

    // Choosing "ON" gives 1; dismissing the menu gives -1.
    EXPECT_EQ (ParDes::valueOfMenuResult (onOff[1].id), 1);
    EXPECT_EQ (ParDes::valueOfMenuResult (0), -1);

    const auto destinations = ParDes::valueMenuItems (ParDes::kDestination, 104);
    ASSERT_EQ (destinations.size(), 105u);
    EXPECT_EQ (destinations.back().text, "Mod 16 Amount");

    EXPECT_TRUE (ParDes::valueMenuItems (ParDes::kOnOff, -1).empty());
}
} // namespace
