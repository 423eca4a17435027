#include "model/ParameterTable.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>

namespace
{
const ParameterTable& table = ParameterTable::get();

struct AutomationCase
{
    int index;
    int position;
    const char* hostName;
};

TEST (ParameterTable, AutomationNumbering)
{
    const AutomationCase cases[] = {
        { 0, 0, "A Pitch 1" },        { 309, 425, "A A B Mode" },   { 308, 424, "A Split Point" },
        { 307, 369, "A ArpVel 32" },  { 310, 512, "B Pitch 1" },    { 617, 881, "B ArpVel 32" },
        { 618, 1024, "Program No." }, { 623, 1029, "SlidLatch 2" },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.index);
        EXPECT_EQ (table.positionOfAutomationIndex (c.index), c.position);
        EXPECT_EQ (table.automationIndexOf (c.position), c.index);
        EXPECT_EQ (table.automationName (c.index), c.hostName);
    }

    EXPECT_EQ (table.automationName (624), "624");
    EXPECT_EQ (table.automationName (5000), "5000");
}

TEST (ParameterTable, AutomationIsAnExactInverse)
{
    // Every automation index names a distinct position that maps straight back.
    std::set<int> seen;
    for (int i = 0; i < ParameterTable::kNumAutomation; ++i)
    {
        const auto p = table.positionOfAutomationIndex (i);
        EXPECT_TRUE (seen.insert (p).second) << i;
        EXPECT_EQ (table.automationIndexOf (p), i);
    }

    // Layer A automation is exactly the named rows with a range, in position order.
    int expected = 0;
    for (int p = 0; p < ParameterTable::kLayerSize; ++p)
    {
        if (table.name (p).isNotEmpty() && table.maximum (p) > 0)
        {
            EXPECT_EQ (table.automationIndexOf (p), expected++) << p;
        }
    }
    EXPECT_EQ (expected, 310);

    // Positions without automation carry the markers 2000 (layer A) and 2310 (layer B).
    EXPECT_EQ (table.automationIndexOf (24), 2000);  // unnamed 0..1 byte
    EXPECT_EQ (table.automationIndexOf (202), 2000); // "rfu": named, but no range
    EXPECT_EQ (table.automationIndexOf (301), 2000); // "Lock Note Count" 0..0
    EXPECT_EQ (table.automationIndexOf (936), 2310); // layer B "Split Point" exists once
    EXPECT_EQ (table.automationIndexOf (937), 2310); // layer B "A B Mode" too
    EXPECT_FALSE (ParameterTable::hasAutomation (table.automationIndexOf (936)));
}

struct NrpnCase
{
    int position;
    int nrpn;
};

TEST (ParameterTable, NrpnMapsBothWays)
{
    const NrpnCase cases[] = {
        { 0, 0 },                   // "Pitch 1"
        { 1, 18 },                  // "Pitch 2": each oscillator owns 18 numbers
        { 513, 530 },               // layer B "Pitch 2"
        { 16, 5 },                  // "Wave L 1"
        { 28, 4 },                  // "Shape Mod 1"
        { 63, 67 },                 // "Note Reset 4"
        { 40, 72 },                 // "Osc 1 Sub"
        { 64, 77 },                 // the one unnamed byte with a number
        { 96, 187 },                // "Dly 1 Time"
        { 127, 218 },               // "Dly 4 Filter"
        { 164, 429 },               // "Dly Pan 1"
        { 167, 432 }, { 128, 147 }, // "LFO 1 Freq"
        { 147, 185 },               // "LFO 4 Dest"
        { 169, 103 },               // "VCA Env Amt 2"
        { 170, 125 },               // "ENV3 Env Amt 3"
        { 196, 133 },               // "ENV3 Destination"
        { 197, 144 },               // "ENV4 Destination"
        { 201, 143 },               // "ENV4 Repeat"
        { 206, 219 },               // "Mod 1 Src"
        { 253, 281 },               // "Mod 16 Dest"
        { 256, 296 },               // "BPM"
        { 424, 287 },               // "Split Point"
        { 425, 288 },               // "A B Mode"
        { 937, 800 },               // layer B "A B Mode"
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.position);
        EXPECT_EQ (table.nrpnOf (c.position), c.nrpn);
        EXPECT_EQ (table.positionOfNrpn (c.nrpn), c.position);
    }

    EXPECT_EQ (table.nrpnOf (24), -1);
    EXPECT_EQ (table.nrpnOf (536), -1);         // layer B keeps "none"
    EXPECT_EQ (table.nrpnOf (306), -1);         // arpeggiator steps have no number
    EXPECT_EQ (table.positionOfNrpn (14), -1);  // offsets 14..17 of an oscillator block are empty
    EXPECT_EQ (table.positionOfNrpn (156), -1); // offset 9 of an LFO block is empty
    EXPECT_EQ (table.positionOfNrpn (526), -1);

    // Both name bytes 422 and 423 carry NRPN 511; it comes back as 423.
    EXPECT_EQ (table.nrpnOf (422), 511);
    EXPECT_EQ (table.nrpnOf (423), 511);
    EXPECT_EQ (table.positionOfNrpn (511), 423);
    EXPECT_EQ (table.positionOfNrpn (1023), 935);
}

TEST (ParameterTable, EveryNrpnNumberBelongsToOnePosition)
{
    for (int p = 0; p < ParameterTable::kProgramPositions; ++p)
    {
        const auto n = table.nrpnOf (p);
        if (n == -1 || p == 422 || p == 934)
            continue;
        EXPECT_EQ (table.positionOfNrpn (n), p) << p;
    }
}

struct RowCase
{
    int position;
    const char* name;
    int minimum, maximum, displayType, panelGroup;
};

TEST (ParameterTable, RowsReadLikeThePanel)
{
    const RowCase cases[] = {
        { 0, "Pitch 1", 0, 120, 13, 1 },
        { 7, "Fine 4", 0, 100, 22, 1 },
        { 23, "Wave R 4", 0, 11, 15, 1 },
        { 24, "", 0, 1, 0, 0 },
        { 72, "Glide Mode", 0, 3, 9, 1 },
        { 86, "LPF LFP Reson", 0, 127, 0, 3 },
        { 94, "FeedBk Amount", 0, 254, 21, 6 },
        { 103, "Dly 4 Tm Sync", 0, 11, 8, 7 },
        { 139, "LFO 4 Shape", 0, 7, 11, 8 },
        { 168, "LPF Env Amt 1", 0, 254, 21, 3 },
        { 169, "VCA Env Amt 2", 0, 127, 0, 5 },
        { 171, "ENV4 Env Amt 4", 0, 254, 21, 10 },
        { 194, "ENV3 Release", 0, 127, 0, 9 },
        { 202, "rfu", 0, 0, 0, 0 },
        { 221, "Mod 16 Src", 0, 27, 17, 11 },
        { 237, "Mod 16 Amt", 0, 254, 21, 11 },
        { 256, "BPM", 30, 250, 6, 14 },
        { 260, "Unis Key Ass.", 0, 5, 180, 13 },
        { 298, "Arp Clock Devide", 0, 10, 5, 14 },
        { 306, "ArpNote 1", -1, 127, 0, 0 },
        { 369, "ArpVel 32", 0, 127, 0, 0 },
        { 370, "", 32, 120, 0, 0 },
        { 423, "", 32, 120, 0, 0 },
        { 424, "Split Point", 0, 120, 18, 15 },
        { 426, "", 0, 0, 0, 0 },
        { 512 + 94, "FeedBk Amount", 0, 254, 21, 6 }, // layer B repeats layer A
        { 512 + 256, "BPM", 30, 250, 6, 14 },
        { 1024, "Program No.", 0, 791, 0, 20 },
        { 1027, "Slider Press", 0, 127, 0, 0 },
        { 1029, "SlidLatch 2", 0, 1, 0, 0 },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.position);
        EXPECT_EQ (table.name (c.position), c.name);
        EXPECT_EQ (table.minimum (c.position), c.minimum);
        EXPECT_EQ (table.maximum (c.position), c.maximum);
        EXPECT_EQ (table.displayType (c.position), c.displayType);
        EXPECT_EQ (table.panelGroup (c.position), c.panelGroup);
    }
}

TEST (ParameterTable, LookupsOutsideTheTableReadZero)
{
    for (int index : { -1, -1000, 1030, 5000, INT_MIN, INT_MAX })
    {
        SCOPED_TRACE (index);
        EXPECT_EQ (table.name (index), "");
        EXPECT_EQ (table.minimum (index), 0);
        EXPECT_EQ (table.maximum (index), 0);
        EXPECT_EQ (table.displayType (index), 0);
        EXPECT_EQ (table.panelGroup (index), 0);
        EXPECT_EQ (table.automationIndexOf (index), 0);
        EXPECT_EQ (table.nrpnOf (index), 0);
        EXPECT_EQ (table.positionOfNrpn (index), 0);
        EXPECT_EQ (table.positionOfAutomationIndex (index), 0);
    }
    EXPECT_EQ (table.positionOfNrpn (1024), 0);
    EXPECT_EQ (table.positionOfAutomationIndex (624), 0);
}

TEST (ParameterTable, PanelGroupTitles)
{
    EXPECT_EQ (ParameterTable::panelGroupTitle (1), "OSCILLATORS");
    EXPECT_EQ (ParameterTable::panelGroupTitle (5), "VOLTAGE CONTROLLED AMPLIFIER");
    EXPECT_EQ (ParameterTable::panelGroupTitle (15), "AB MODE");
    EXPECT_EQ (ParameterTable::panelGroupTitle (0), "");
    EXPECT_EQ (ParameterTable::panelGroupTitle (20), "");
    EXPECT_EQ (ParameterTable::panelGroupTitle (-3), "");
}
} // namespace
