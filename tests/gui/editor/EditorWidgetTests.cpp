#include "model/Bank_Program.h"
#include "tests/gui/GuiRig.h"
#include "ui/editor/CorButton.h"
#include "ui/editor/HorScrollClass.h"
#include "ui/editor/LCD_Comp.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{

// ---- Page scroller ---------------------------------------------------------------------------------

// 153 wide: track 125, thumb 60, one position every (125 - 60) / 11 = 5 pixels. At position 5 the
// thumb covers x 43..103.
struct ScrollerCase
{
    const char* what;
    int start;
    float pressX;
    int expected;
};

void PrintTo (const ScrollerCase& c, std::ostream* os) { *os << c.what; }

class WidgetScroller : public ::testing::TestWithParam<ScrollerCase>
{};

TEST_P (WidgetScroller, PressMovesAndBroadcastsOnlyOnChange)
{
    const auto& c = GetParam();
    HorScrollClass scroller;
    scroller.setSize (153, 14);
    scroller.setPosition (c.start);
    ChangeSpy spy (scroller, [&] { return scroller.getPosition(); });

    Mouse (scroller).click (c.pressX, 7.0f);

    EXPECT_EQ (scroller.getPosition(), c.expected) << c.what;
    if (c.expected == c.start)
        EXPECT_TRUE (spy.codes.empty()) << c.what;
    else
        EXPECT_EQ (spy.codes, std::vector<int> { c.expected }) << c.what;
}

INSTANTIATE_TEST_SUITE_P (Widget, WidgetScroller,
                          ::testing::Values (ScrollerCase { "left arrow at 0", 0, 5.0f, 0 },
                                             ScrollerCase { "right arrow at 11", 11, 148.0f, 11 },
                                             ScrollerCase { "left arrow", 5, 5.0f, 4 },
                                             ScrollerCase { "right arrow", 5, 148.0f, 6 },
                                             ScrollerCase { "track left of the thumb", 5, 30.0f, 3 },
                                             ScrollerCase { "track right of the thumb", 5, 120.0f, 7 },
                                             ScrollerCase { "on the thumb", 5, 70.0f, 5 },
                                             ScrollerCase { "page past the end", 10, 136.0f, 11 },
                                             ScrollerCase { "page past the start", 1, 16.0f, 0 }));

TEST (WidgetScrollerSet, SetPositionClampsAndBroadcastsOnlyOnChange)
{
    HorScrollClass scroller;
    scroller.setSize (153, 14);
    ChangeSpy spy (scroller, [&] { return scroller.getPosition(); });

    scroller.setPosition (20);
    scroller.setPosition (11);
    scroller.setPosition (-3);
    scroller.setPosition (0);

    EXPECT_EQ (spy.codes, (std::vector<int> { 11, 0 }));
}

TEST (WidgetScrollerSet, DragPutsTheThumbUnderTheMouse)
{
    HorScrollClass scroller;
    scroller.setSize (153, 14);
    ChangeSpy spy (scroller, [&] { return scroller.getPosition(); });
    Mouse mouse (scroller);

    mouse.press (50.0f, 7.0f); // on the thumb at position 0 (x 14..74)
    mouse.drag (64.0f, 7.0f);  // thumb centre at 64: (64 - 30 - 14) / 5 = 4
    EXPECT_EQ (scroller.getPosition(), 4);
    mouse.drag (400.0f, 7.0f);
    EXPECT_EQ (scroller.getPosition(), 11);
    mouse.drag (-50.0f, 7.0f);
    mouse.release (-50.0f, 7.0f);
    EXPECT_EQ (spy.codes, (std::vector<int> { 4, 11, 0 }));

    // A gesture that began on an arrow steps once and does not follow the mouse.
    mouse.press (148.0f, 7.0f);
    mouse.drag (100.0f, 7.0f);
    mouse.release (100.0f, 7.0f);
    EXPECT_EQ (scroller.getPosition(), 1);
}

// ---- Zoom corner -----------------------------------------------------------------------------------

struct Proposal
{
    int code, width, height;
    bool operator== (const Proposal& o) const { return code == o.code && width == o.width && height == o.height; }
};

struct ProposalSpy : juce::ChangeListener
{
    explicit ProposalSpy (CorButton& c) : corner (c) { corner.addChangeListener (this); }
    ~ProposalSpy() override { corner.removeChangeListener (this); }
    void changeListenerCallback (juce::ChangeBroadcaster*) override
    {
        seen.push_back ({ corner.getCode(), corner.getProposedWidth(), corner.getProposedHeight() });
    }
    CorButton& corner;
    std::vector<Proposal> seen;
};

void PrintTo (const Proposal& p, std::ostream* os)
{
    *os << "{" << p.code << ", " << p.width << ", " << p.height << "}";
}

TEST (WidgetZoomCorner, DragToTheRightKeepsTheHeightAndNarrowsTheWidth)
{
    CorButton corner;
    corner.setPanelSize (1000, 700);
    ProposalSpy spy (corner);
    Mouse mouse (corner);

    mouse.press (45.0f, 7.0f);
    mouse.drag (95.0f, 7.0f);
    mouse.release (95.0f, 7.0f);

    EXPECT_EQ (spy.seen, (std::vector<Proposal> { { 320, 1000, 700 }, { 321, 950, 700 }, { 322, 950, 700 } }));
    EXPECT_FALSE (corner.isResizing());
}

TEST (WidgetZoomCorner, DragDownProposesATallerPanel)
{
    CorButton corner;
    corner.setPanelSize (1000, 700);
    ProposalSpy spy (corner);
    Mouse mouse (corner);

    mouse.press (45.0f, 7.0f);
    mouse.drag (45.0f, 37.0f);
    mouse.drag (35.0f, -13.0f);
    mouse.release (35.0f, -13.0f);

    EXPECT_EQ (spy.seen, (std::vector<Proposal> {
                             { 320, 1000, 700 }, { 321, 1000, 730 }, { 321, 1010, 680 }, { 322, 1010, 680 } }));
}

TEST (WidgetZoomCorner, PressLeftOfTheGripDoesNothing)
{
    CorButton corner;
    corner.setPanelSize (1000, 700);
    ProposalSpy spy (corner);
    Mouse mouse (corner);

    mouse.press (38.0f, 7.0f);
    mouse.drag (90.0f, 40.0f);
    mouse.release (90.0f, 40.0f);

    EXPECT_TRUE (spy.seen.empty());
    EXPECT_EQ (corner.getCode(), 0);
}

// ---- LCD -------------------------------------------------------------------------------------------

TEST (WidgetLcd, LocationText)
{
    struct Case
    {
        int bank, program;
        const char* text;
    };
    for (const auto& c : { Case { 0, 0, "U1 P 1" }, Case { 3, 98, "U4 P 99" }, Case { 4, 0, "F1 P 1" },
                           Case { 5, 11, "F2 P 12" }, Case { 7, 98, "F4 P 99" } })
    {
        EXPECT_EQ (Bank_Program::locationText (c.bank, c.program), c.text);
        LCD_Comp lcd;
        lcd.setLocation (c.bank, c.program);
        EXPECT_EQ (lcd.getLocationText(), c.text);
    }

    LCD_Comp lcd;
    lcd.setProgram (6, 41, 5, "Glass Harp", "Bright Lead", "A | B", "(A)");
    EXPECT_EQ (lcd.getLocationText(), "F3 P 42");
    EXPECT_EQ (lcd.getName(), "Glass Harp");
    EXPECT_EQ (lcd.getCategory(), 5);
}

TEST (WidgetLcd, PressReportsTheRegion)
{
    struct Case
    {
        float scale, x, y;
        int region; // 0: no broadcast
    };
    // Name first, then category, then location: where the category's band overlaps the location's
    // (x 76..112), the category wins.
    for (const auto& c :
         { Case { 1, 50, 32, 2 }, Case { 1, 178, 37, 2 }, Case { 1, 150, 10, 3 }, Case { 1, 100, 10, 3 },
           Case { 1, 50, 10, 1 }, Case { 1, 10, 17, 1 }, Case { 1, 5, 10, 0 }, Case { 1, 50, 20, 0 },
           Case { 1, 200, 32, 0 }, Case { 1, 190, 10, 0 }, Case { 2, 100, 64, 2 }, Case { 2, 300, 20, 3 },
           Case { 2, 120, 20, 1 }, Case { 2, 10, 10, 0 } })
    {
        LCD_Comp lcd;
        lcd.setScale (c.scale);
        ChangeSpy spy (lcd, [&] { return lcd.getClickedRegion(); });

        Mouse (lcd).click (c.x, c.y);

        const auto expected = c.region == 0 ? std::vector<int> {} : std::vector<int> { c.region };
        EXPECT_EQ (spy.codes, expected) << "scale " << c.scale << " at " << c.x << ", " << c.y;
    }
}
} // namespace
