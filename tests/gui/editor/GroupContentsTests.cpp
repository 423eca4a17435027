#include "model/ParameterTable.h"
#include "ui/editor/GroupContents.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace
{
using namespace GroupContents;

const ParameterTable& table = ParameterTable::get();

// Every group index either row can hold.
constexpr int kAllIndices[] = { -1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19 };

bool overlaps (const Box& a, const Box& b) { return a.toRectangle().intersects (b.toRectangle()); }

std::string describe (int group, const ControlRow& row)
{
    return "group " + std::to_string (group) + " position " + std::to_string (row.position) + " \"" + row.label + "\"";
}

TEST (GroupContents, ControlCountsPerGroup)
{
    struct Case
    {
        int group, controls;
    };
    // Oscillators: 14 per row times four plus five common; delay and LFO: nine per column times
    // four; modulation: three per slot times sixteen.
    const Case cases[] = {
        { 1, 61 }, { 7, 36 }, { 8, 36 }, { 11, 48 }, { 0, 2 },  { 2, 5 },  { 4, 3 },  { 12, 1 }, { 6, 2 },  { 3, 12 },
        { 5, 10 }, { 9, 9 },  { 10, 9 }, { 13, 4 },  { 14, 8 }, { 15, 2 }, { -1, 0 }, { 16, 0 }, { 19, 0 },
    };
    for (const auto& c : cases)
        EXPECT_EQ (controlsOf (c.group).size(), static_cast<size_t> (c.controls)) << "group " << c.group;
}

// The editor routes a value to the group its parameter's panel group names, so each control must
// sit in exactly that group, and every parameter with a panel group must have its one control.
TEST (GroupContents, EveryPanelParameterHasOneControlInItsGroup)
{
    std::map<int, int> groupOfPosition;

    for (const int g : kAllIndices)
    {
        for (const auto& row : controlsOf (g))
        {
            SCOPED_TRACE (describe (g, row));
            EXPECT_TRUE (groupOfPosition.emplace (row.position, g).second) << "position bound twice";

            if (row.position < kPlayPositions)
                EXPECT_EQ (table.panelGroup (row.position), g);
            else
                EXPECT_TRUE (g == 0 && (row.position == ParameterTable::kSliderLatch1 ||
                                        row.position == ParameterTable::kSliderLatch2));
        }
    }

    for (int position = 0; position < kLayerSize; ++position)
    {
        const int g = table.panelGroup (position);
        if (g >= 1 && g <= 15)
        {
            EXPECT_EQ (groupOfPosition.count (position), 1u) << "position " << position << " has no control";
        }
    }
}

// Each row's range and display kind equal the parameter table's, except where the editor offers a
// different range on purpose: destination menus stop at 98 although the instrument takes 104, and
// the split point offers every MIDI note up to 127 although the instrument stops at 120.
TEST (GroupContents, RangesAndDisplayKindsFollowTheParameterTable)
{
    std::map<int, int> menuMaximum { { 424, 127 } };
    for (int n = 0; n < 4; ++n)
        menuMaximum[144 + n] = 98;            // LFO destinations
    menuMaximum[196] = menuMaximum[197] = 98; // envelope 3 and 4 destinations
    for (int n = 0; n < 16; ++n)
        menuMaximum[238 + n] = 98; // modulation destinations

    int exceptionsSeen = 0;
    for (const int g : kAllIndices)
    {
        for (const auto& row : controlsOf (g))
        {
            SCOPED_TRACE (describe (g, row));
            EXPECT_EQ (row.minimum, table.minimum (row.position));
            EXPECT_EQ (row.displayKind, table.displayType (row.position));

            if (const auto exception = menuMaximum.find (row.position); exception != menuMaximum.end())
            {
                EXPECT_EQ (row.maximum, exception->second);
                EXPECT_EQ (row.type, menu);
                ++exceptionsSeen;
            }
            else
            {
                EXPECT_EQ (row.maximum, table.maximum (row.position));
            }
        }
    }
    EXPECT_EQ (exceptionsSeen, static_cast<int> (menuMaximum.size()));
}

TEST (GroupContents, RowsAreWellFormed)
{
    const std::set<int> types { menu, onOffSwitch, knob, threeWay, centredSwitch };

    for (const int g : kAllIndices)
    {
        for (const auto& row : controlsOf (g))
        {
            SCOPED_TRACE (describe (g, row));
            EXPECT_EQ (types.count (row.type), 1u);
            EXPECT_LT (row.minimum, row.maximum); // a knob's frame divides by the range
            EXPECT_TRUE (row.knobStyle == 0 || (row.type == knob && row.knobStyle <= 3));
            EXPECT_GT (row.box.width, 0);
            EXPECT_GT (row.box.height, 0);

            // The split point menu is the only control without a label.
            EXPECT_EQ (std::string (row.label).empty(), row.position == 424);
        }
    }
}

// A knob's 72-unit box ends with empty space under its label, and the envelope groups and the
// lower modulation row let it run up to two units past the group's bottom edge.
constexpr int kKnobBottomSlack = 2;

TEST (GroupContents, BoxesLieInsideTheGroupBelowItsTitle)
{
    for (const auto& group : stripTable())
    {
        if (! group.inStrip)
            continue;

        const auto inside = [&group] (const Box& b, int bottomSlack) {
            return b.x >= 0 && b.y >= kTitleBandHeight && b.x + b.width <= group.width &&
                   b.y + b.height <= group.height + bottomSlack;
        };

        for (const auto& row : controlsOf (group.index))
            EXPECT_TRUE (inside (componentBox (row), row.type == knob ? kKnobBottomSlack : 0))
                << describe (group.index, row);

        for (const auto& widget : specialWidgetsOf (group.index))
            EXPECT_TRUE (inside (widget.box, 0) && inside (widget.scaledBox, 0))
                << "group " << group.index << " widget " << static_cast<int> (widget.kind);
    }

    // The A/B mode group has no strip place; its table boxes and its expanded form's control
    // places lie inside its expanded box.
    const auto expanded = abModeForm (true);
    const auto bounds = juce::Rectangle<int> (expanded.groupLayout.width, expanded.groupLayout.height);
    for (const auto& row : controlsOf (kABModeGroup))
    {
        EXPECT_TRUE (bounds.contains (componentBox (row).toRectangle())) << describe (kABModeGroup, row);
        const auto moved = row.position == 424 ? expanded.splitPoint : expanded.abMode;
        auto placed = row;
        placed.box.x = moved.x;
        placed.box.y = moved.y;
        EXPECT_TRUE (bounds.contains (componentBox (placed).toRectangle())) << describe (kABModeGroup, row);
    }
    EXPECT_TRUE (bounds.contains (expanded.largeKeyboard.toRectangle()));
}

// No two controls or widgets of a group share any area: a wrong x or y in a transcription shows
// up as a collision with a neighbour.
TEST (GroupContents, NoTwoBoxesOfAGroupOverlap)
{
    for (const auto& group : stripTable())
    {
        if (! group.inStrip)
            continue;

        std::vector<std::pair<std::string, Box>> boxes;
        for (const auto& row : controlsOf (group.index))
            boxes.emplace_back (describe (group.index, row), componentBox (row));
        for (const auto& widget : specialWidgetsOf (group.index))
            boxes.emplace_back ("widget " + std::to_string (static_cast<int> (widget.kind)) + " " +
                                    std::to_string (widget.which),
                                widget.scaledBox);

        for (size_t i = 0; i < boxes.size(); ++i)
            for (size_t j = i + 1; j < boxes.size(); ++j)
                EXPECT_FALSE (overlaps (boxes[i].second, boxes[j].second))
                    << boxes[i].first << " overlaps " << boxes[j].first;
    }
}

// Copy k of a repeated section moves to its column and row; positions follow the oscillator,
// delay, LFO or slot number.
TEST (GroupContents, RepeatedSectionsExpandToTheirPlaces)
{
    struct Case
    {
        int group, position;
        const char* label;
        int x, y;
    };
    const Case cases[] = {
        { 1, 0, "Pitch", 0, 36 },          // oscillator 1
        { 1, 63, "Note Reset", 752, 304 }, // oscillator 4: 88 + 3 x 72
        { 1, 30, "Shape Mod", 274, 180 },  // oscillator 3
        { 1, 75, "P. B. Range Dn", 852, 264 },
        { 7, 96, "Time", 8, 34 },             // delay 1
        { 7, 167, "Pan", 727, 106 },          // delay 4: 112 + 3 x 205
        { 7, 126, "Filter Mode", 452, 294 },  // delay 3
        { 8, 147, "Destination", 550, 296 },  // LFO 4: 22 + 3 x 176
        { 8, 153, "Note Reset", 214, 56 },    // LFO 2
        { 11, 206, "Source", 4, 40 },         // slot 1
        { 11, 229, "Amount", 861, 116 },      // slot 8, last of the upper row
        { 11, 214, "Source", 4, 188 },        // slot 9, first of the lower row
        { 11, 253, "Destination", 837, 228 }, // slot 16
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE ("position " + std::to_string (c.position));
        const auto rows = controlsOf (c.group);
        const auto row =
            std::find_if (rows.begin(), rows.end(), [&c] (const ControlRow& r) { return r.position == c.position; });
        ASSERT_NE (row, rows.end());
        EXPECT_STREQ (row->label, c.label);
        EXPECT_EQ (row->box.x, c.x);
        EXPECT_EQ (row->box.y, c.y);
    }

    // Creation order: one oscillator complete, then the next; the common controls last.
    const auto oscillators = controlsOf (1);
    EXPECT_EQ (oscillators[13].position, 60);
    EXPECT_EQ (oscillators[14].position, 1);
    EXPECT_EQ (oscillators[56].position, 40);
}

// Each column of the strip starts four units after the previous one ends; a stacked pair shares
// its x and width, the lower group starting at 160 under an upper group 160 high.
TEST (GroupContents, StripColumnsChainFourUnitsApart)
{
    std::map<int, std::vector<Group>> columns;
    for (const auto& group : stripTable())
        if (group.inStrip)
            columns[group.stripX].push_back (group);

    ASSERT_EQ (columns.size(), 12u);
    EXPECT_EQ (columns.begin()->first, 0);

    int expectedX = 0;
    for (const auto& [x, groups] : columns)
    {
        SCOPED_TRACE ("column at " + std::to_string (x));
        EXPECT_EQ (x, expectedX);
        EXPECT_EQ (groups.front().rowAY, 0);

        if (groups.size() == 2)
        {
            EXPECT_EQ (groups[1].rowAY, kLowerRowAY);
            EXPECT_EQ (groups[0].height, kLowerRowAY);
            EXPECT_EQ (groups[1].width, groups[0].width);
        }
        else
        {
            EXPECT_EQ (groups.size(), 1u);
        }
        expectedX = x + groups.front().width + kColumnGap;
    }

    // Nothing in row A reaches row B except the LFO group, whose box is 322 high.
    for (const auto& group : stripTable())
        EXPECT_LE (group.rowAY + group.height, kRowBOffset + (group.index == 8 ? 2 : 0)) << group.index;
}

TEST (GroupContents, TitlesMatchThePanelGroups)
{
    for (int g = 1; g <= 15; ++g)
        EXPECT_EQ (juce::String (groupOf (g).title), ParameterTable::panelGroupTitle (g)) << g;

    EXPECT_STREQ (groupOf (0).title, "SLIDERS");
    EXPECT_FALSE (groupOf (0).inRowB);
    for (const int empty : { -1, 16, 17, 18, 19 })
    {
        EXPECT_STREQ (groupOf (empty).title, "") << empty;
        EXPECT_EQ (groupOf (empty).width, 0) << empty;
    }

    std::set<int> marked;
    for (const auto& group : stripTable())
        if (group.writesLayerMark)
            marked.insert (group.index);
    EXPECT_EQ (marked, (std::set<int> { 1, 2, 3, 6, 8, 9, 11, 14 }));
}

TEST (GroupContents, PagesScrollToTheirLeftGroup)
{
    for (const auto& page : pageTable())
        if (page.leftGroup >= 0)
        {
            EXPECT_EQ (page.stripX, groupOf (page.leftGroup).stripX) << "page " << page.id;
        }

    // The amplifier shares its column with the low pass filter, and so its page.
    EXPECT_EQ (pageIdsOf (5), (std::vector<int> { 3 }));
    EXPECT_EQ (pageIdsOf (0), (std::vector<int> { 12, 13 }));
    EXPECT_TRUE (pageIdsOf (15).empty());
    EXPECT_EQ (pageStripX (100), kHiddenPageX);
    EXPECT_EQ (pageStripX (0), 0);
    EXPECT_FALSE (pageStripX (14).has_value());

    // Every group of the strip can be reached from a page.
    for (const auto& group : stripTable())
        if (group.inStrip)
        {
            EXPECT_FALSE (pageIdsOf (group.index).empty()) << group.index;
        }
}

// The special widgets work on their group's own controls: the envelope graphic drags the group's
// four stage knobs, a waveform icon follows its oscillator's shape controls, the sliders and the
// pad read the two latch switches.
TEST (GroupContents, SpecialWidgetsBindTheirGroupsControls)
{
    const auto labelOf = [] (int group, int position) -> std::string {
        for (const auto& row : controlsOf (group))
            if (row.position == position)
                return row.label;
        return "(none)";
    };

    std::map<Widget, int> counts;
    for (const int g : kAllIndices)
    {
        for (const auto& widget : specialWidgetsOf (g))
        {
            ++counts[widget.kind];
            switch (widget.kind)
            {
                case Widget::Envel:
                    EXPECT_EQ (widget.which, g);
                    EXPECT_EQ (labelOf (g, widget.bound[0]), "Attack") << g;
                    EXPECT_EQ (labelOf (g, widget.bound[1]), "Decay") << g;
                    EXPECT_EQ (labelOf (g, widget.bound[2]), "Sustain") << g;
                    EXPECT_EQ (labelOf (g, widget.bound[3]), "Release") << g;
                    break;
                case Widget::ShapeClass:
                    EXPECT_EQ (g, 1);
                    EXPECT_EQ (widget.bound[0], 12 + widget.which - 1);
                    EXPECT_EQ (labelOf (g, widget.bound[0]), "Shape");
                    EXPECT_EQ (labelOf (g, widget.bound[1]), "Shape Mod");
                    break;
                case Widget::P_Slider:
                    EXPECT_EQ (g, 0);
                    EXPECT_EQ (widget.bound[0], ParameterTable::kSlider1 + widget.which - 1);
                    EXPECT_EQ (widget.bound[1], ParameterTable::kSliderPress);
                    EXPECT_EQ (labelOf (g, widget.bound[2]), "Latch");
                    break;
                case Widget::P_Pad:
                    EXPECT_EQ (g, 0);
                    EXPECT_EQ (labelOf (g, widget.bound[2]), "Latch");
                    EXPECT_EQ (labelOf (g, widget.bound[3]), "Latch");
                    break;
                case Widget::ZoneKeyClass:
                case Widget::ZoneKeyClassB:
                    EXPECT_EQ (g, kABModeGroup);
                    EXPECT_EQ (widget.bound[0], 424);
                    break;
            }
        }
    }
    EXPECT_EQ (counts[Widget::Envel], 4);
    EXPECT_EQ (counts[Widget::ShapeClass], 4);
    EXPECT_EQ (counts[Widget::P_Slider], 2);
    EXPECT_EQ (counts[Widget::P_Pad], 1);
    EXPECT_EQ (counts[Widget::ZoneKeyClass], 1);
    EXPECT_EQ (counts[Widget::ZoneKeyClassB], 1);

    EXPECT_EQ (captionsOf (kABModeGroup).size(), 3u);
    EXPECT_TRUE (captionsOf (1).empty());
}

// Compact, the A/B mode group is a strip in the top band showing only its small keyboard; expanded
// it shows the large keyboard instead.
TEST (GroupContents, ABModeFormsSwapTheKeyboards)
{
    const auto compact = abModeForm (false);
    const auto expanded = abModeForm (true);

    EXPECT_TRUE (compact.compactKeyboardVisible && ! compact.largeKeyboardVisible);
    EXPECT_TRUE (! expanded.compactKeyboardVisible && expanded.largeKeyboardVisible);
    // Compact, the group lies within the top band once the group adds the band to its y.
    const auto top = compact.groupLayout.y + kTopBand;
    EXPECT_GE (top, 0);
    EXPECT_LE (top + compact.groupLayout.height, kTopBand);
}
} // namespace
