#include "tests/gui/GuiRig.h"
#include "ui/AboutPanel.h"
#include "ui/Check_But.h"
#include "ui/CorButton.h"
#include "ui/HorScrollClass.h"
#include "ui/LCD_Comp.h"
#include "ui/ProgBar.h"
#include "ui/RenameCnt.h"
#include "ui/StsBut.h"
#include "ui/StsGrid.h"
#include "ui/StsLabel.h"

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

// ---- Label -----------------------------------------------------------------------------------------

// Stands in for the label's cached image: every repaint the label asks for arrives here first.
struct RepaintCounter : juce::CachedComponentImage
{
    explicit RepaintCounter (int& c) : count (c) {}
    void paint (juce::Graphics&) override {}
    bool invalidateAll() override { return ++count, false; }
    bool invalidate (const juce::Rectangle<int>&) override { return ++count, false; }
    void releaseResources() override {}
    int& count;
};

TEST (WidgetLabel, SameTextDoesNotRepaint)
{
    StsLabel label;
    label.setup ("Chan: 1", "Arial", 14.0f);
    label.setBounds (0, 0, 80, 20);
    label.setVisible (true);
    int repaints = 0;
    label.setCachedComponentImage (new RepaintCounter (repaints));
    repaints = 0;

    label.setText ("Chan: 1");
    EXPECT_EQ (repaints, 0);

    label.setText ("Chan: 2");
    EXPECT_EQ (repaints, 1);
    EXPECT_EQ (label.getText(), "Chan: 2");
}

TEST (WidgetLabel, PressBroadcasts)
{
    StsLabel label;
    label.setup ("Chan: 1", "Arial", 14.0f);
    label.setSize (80, 20);
    ChangeSpy spy (label, [] { return 1; });

    Mouse (label).click (10.0f, 10.0f);

    EXPECT_EQ (spy.codes.size(), 1u);
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
        EXPECT_EQ (LCD_Comp::locationText (c.bank, c.program), c.text);
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

// ---- Program list ----------------------------------------------------------------------------------

struct GridSpy : GridListener
{
    struct Seen
    {
        int action, row, slot, bank;
        bool operator== (const Seen& o) const
        {
            return action == o.action && row == o.row && slot == o.slot && bank == o.bank;
        }
    };
    void gridChanged (StsGrid* grid) override
    {
        seen.push_back (
            { grid->getActionCode(), grid->getSelectedRow(), grid->getSelectedSlot(), grid->getSelectedBank() });
    }
    std::vector<Seen> seen;
};

void PrintTo (const GridSpy::Seen& s, std::ostream* os)
{
    *os << "{action " << s.action << ", row " << s.row << ", slot " << s.slot << ", bank " << s.bank << "}";
}

// A grid of five visible rows over the rig's banks. Every user-bank program starts without a category,
// except three "Sync" (7) programs.
class WidgetGrid : public ::testing::Test
{
protected:
    static constexpr int kSync = 7;

    WidgetGrid()
    {
        for (int bank = 0; bank < StsGrid::kUserBanks; ++bank)
            for (int slot = 0; slot < Bank_Program::kSlots; ++slot)
                setCategory (bank, slot, 0);
        setCategory (1, 5, kSync);
        setCategory (3, 98, kSync);
        setCategory (0, 40, kSync);
        setCategory (4, 0, kSync); // a factory bank: never listed by category

        grid.setSize (350, 5 * 46);
        grid.addListener (&spy);
    }

    void setCategory (int bank, int slot, int category)
    {
        auto record = rig.controller().getSlot (bank, slot);
        record[ProgramDump::kCategoryOffset] = static_cast<uint8_t> (category);
        rig.controller().putSlot (bank, slot, record);
    }

    GuiRig rig { false };
    StsGrid grid { rig.controller() };
    GridSpy spy;
    Mouse mouse { grid };
};

TEST_F (WidgetGrid, BankListingShowsTheBanksSlots)
{
    grid.showBank (2);

    ASSERT_EQ (grid.getRowCount(), 99);
    const auto* row = grid.getRow (10);
    ASSERT_NE (row, nullptr);
    EXPECT_EQ (row->bank, 2);
    EXPECT_EQ (row->slot, 10);
    EXPECT_EQ (row->location, "U3 P 11");
    EXPECT_EQ (row->name, rig.controller().getSlotName (2, 10));
    EXPECT_EQ (grid.getRow (98)->location, "U3 P 99");

    grid.showBank (7);
    EXPECT_EQ (grid.getRow (98)->location, "F4 P 99");
}

TEST_F (WidgetGrid, PressSelectsARowAndReportsItsSlotAndBank)
{
    grid.showBank (2);

    mouse.click (100.0f, 2 * 46 + 10);
    mouse.wheel (100.0f, 100.0f, -1.0f);
    mouse.wheel (100.0f, 100.0f, -1.0f);
    mouse.click (100.0f, 46 + 10); // second visible row, now row 3

    EXPECT_EQ (spy.seen, (std::vector<GridSpy::Seen> { { 91, 2, 2, 2 }, { 91, 3, 3, 2 } }));
}

TEST_F (WidgetGrid, RightClickSelectsFirstThenAsksForAMenu)
{
    struct Case
    {
        float x;
        int menu;
    };
    // Columns 50, 140, 100: the category column is x 190..289.
    for (const auto& c :
         { Case { 200.0f, 88 }, Case { 289.0f, 88 }, Case { 189.0f, 90 }, Case { 10.0f, 90 }, Case { 300.0f, 90 } })
    {
        grid.showBank (1);
        spy.seen.clear();

        mouse.rightClick (c.x, 4 * 46 + 5);

        EXPECT_EQ (spy.seen, (std::vector<GridSpy::Seen> { { 91, 4, 4, 1 }, { c.menu, 4, 4, 1 } })) << "x " << c.x;
    }
}

TEST_F (WidgetGrid, MenuIsForTheClickedProgramEvenWhenTheOwnerRebuildsTheList)
{
    struct Rebuilder : GridListener
    {
        void gridChanged (StsGrid* g) override
        {
            if (g->getActionCode() == 91)
                g->setRows (StsGrid::kListBank, 0);
            else
                menuFor = { g->getSelectedBank(), g->getSelectedSlot() };
        }
        std::pair<int, int> menuFor { -1, -1 };
    } owner;
    grid.removeListener (&spy);
    grid.addListener (&owner);
    grid.showBank (3);

    mouse.rightClick (100.0f, 10.0f);

    EXPECT_EQ (owner.menuFor, std::make_pair (3, 0));
}

TEST_F (WidgetGrid, CategoryListingCoversTheUserBanksOnly)
{
    grid.setRows (StsGrid::kListCategory, kSync);

    ASSERT_EQ (grid.getRowCount(), 3);
    EXPECT_EQ (grid.getRow (0)->location, "U1 P 41");
    EXPECT_EQ (grid.getRow (1)->location, "U2 P 6");
    EXPECT_EQ (grid.getRow (2)->location, "U4 P 99");
    EXPECT_EQ (grid.getRow (2)->category, "Sync");

    // Below the last row: the last row is chosen.
    mouse.click (100.0f, 4 * 46 + 10);
    EXPECT_EQ (spy.seen, (std::vector<GridSpy::Seen> { { 91, 2, 98, 3 } }));
}

TEST_F (WidgetGrid, EmptyCategorySelectsNothing)
{
    grid.setRows (StsGrid::kListCategory, 25);

    EXPECT_EQ (grid.getRowCount(), 0);
    mouse.click (100.0f, 10.0f);
    mouse.rightClick (200.0f, 10.0f);
    EXPECT_TRUE (spy.seen.empty());
    EXPECT_EQ (grid.getSelectedRow(), -1);
}

TEST_F (WidgetGrid, RebuildingTheRowsClearsTheSelectionAndScrollsToTheTop)
{
    grid.showBank (0);
    grid.setSelectedRow (60);
    EXPECT_EQ (grid.getSelectedSlot(), 60);
    EXPECT_GT (grid.getFirstVisibleRow(), 55); // scrolled into view

    grid.setRows (StsGrid::kListBank, 0);

    EXPECT_EQ (grid.getSelectedRow(), -1);
    EXPECT_EQ (grid.getFirstVisibleRow(), 0);
}

TEST_F (WidgetGrid, RefreshKeepsTheSelectionOnItsProgram)
{
    grid.setRows (StsGrid::kListCategory, kSync);
    mouse.click (100.0f, 46 + 10); // U2 P 6
    setCategory (0, 40, 0);        // the row above it leaves the category

    grid.refresh();

    EXPECT_EQ (grid.getRowCount(), 2);
    EXPECT_EQ (grid.getSelectedRow(), 0);
    EXPECT_EQ (grid.getSelectedSlot(), 5);
    EXPECT_EQ (grid.getSelectedBank(), 1);
}

TEST_F (WidgetGrid, ScrollingStaysWithinTheList)
{
    grid.showBank (0);

    mouse.wheel (100.0f, 100.0f, 1.0f);
    EXPECT_EQ (grid.getFirstVisibleRow(), 0);

    // The thumb dragged to the bottom shows the last five rows; a press on the bar selects nothing.
    mouse.press (340.0f, 10.0f);
    mouse.drag (340.0f, 5000.0f);
    mouse.release (340.0f, 5000.0f);
    EXPECT_EQ (grid.getFirstVisibleRow(), 94);
    EXPECT_TRUE (spy.seen.empty());
    mouse.wheel (100.0f, 100.0f, -1.0f);
    EXPECT_EQ (grid.getFirstVisibleRow(), 94);

    mouse.press (340.0f, 10.0f);
    mouse.drag (340.0f, 115.0f); // the thumb's centre halfway down: half way through the list
    EXPECT_EQ (grid.getFirstVisibleRow(), 47);
    mouse.release (340.0f, 115.0f);

    // Dragging from a row past the edges scrolls one row per move.
    mouse.press (100.0f, 10.0f);
    mouse.drag (100.0f, 300.0f);
    mouse.drag (100.0f, 300.0f);
    EXPECT_EQ (grid.getFirstVisibleRow(), 49);
    mouse.drag (100.0f, -20.0f);
    mouse.release (100.0f, -20.0f);
    EXPECT_EQ (grid.getFirstVisibleRow(), 48);
}

// ---- Check box and buttons -------------------------------------------------------------------------

TEST (WidgetCheckBox, PressTogglesAndBroadcasts)
{
    Check_But box ("Control Program Change with Automation");
    ChangeSpy spy (box, [&] { return box.isOn() ? 1 : 0; });
    Mouse mouse (box);

    mouse.press (10.0f, 10.0f);
    EXPECT_TRUE (box.isPressed());
    mouse.release (10.0f, 10.0f);
    EXPECT_FALSE (box.isPressed());
    mouse.click (10.0f, 10.0f);

    EXPECT_EQ (spy.codes, (std::vector<int> { 1, 0 }));
    EXPECT_FALSE (box.isOn());
}

struct ClickLog : stsbutChangeListener, StsButIdListener
{
    ClickLog (std::vector<juce::String>& l, juce::String n) : log (l), name (std::move (n)) {}
    void stsButClicked (StsBut* b) override { log.push_back (name + ":" + b->getText()); }
    void stsButIdClicked (int id) override { log.push_back (name + "#" + juce::String (id)); }
    std::vector<juce::String>& log;
    juce::String name;
};

TEST (WidgetButton, ClickReachesButtonListenersThenIdListenersLastFirst)
{
    StsBut button ("BANKS", 99, StsBut::kFunctionStyle);
    button.setup (10, 10, 70, 18);
    std::vector<juce::String> log;
    ClickLog first (log, "a"), second (log, "b");
    button.addListener (&first);
    button.addListener (&second);
    button.addIdListener (&first);
    button.addIdListener (&second);

    button.getButton().triggerClick();
    GuiRig::pump (50);

    EXPECT_EQ (log, (std::vector<juce::String> { "b:BANKS", "a:BANKS", "b#99", "a#99" }));

    log.clear();
    button.removeListener (&second);
    button.removeIdListener (&first);
    button.getButton().triggerClick();
    GuiRig::pump (50);
    EXPECT_EQ (log, (std::vector<juce::String> { "a:BANKS", "b#99" }));
}

TEST (WidgetButton, AListenerMayDeleteTheButton)
{
    auto button = std::make_unique<StsBut> ("CANCEL", 999, StsBut::kDialogStyle);
    std::vector<juce::String> log;
    struct Closer : stsbutChangeListener
    {
        void stsButClicked (StsBut*) override { owned.reset(); }
        std::unique_ptr<StsBut>& owned;
        explicit Closer (std::unique_ptr<StsBut>& b) : owned (b) {}
    } closer (button);
    ClickLog late (log, "late");
    button->addIdListener (&late);
    button->addListener (&closer);

    button->notifyClicked();

    EXPECT_EQ (button, nullptr);
    EXPECT_TRUE (log.empty());
}

// ---- Overlays ------------------------------------------------------------------------------------

TEST (WidgetOverlays, ProgressClampsAndSizesTheFill)
{
    ProgBar bar (1000, 600);
    EXPECT_EQ (bar.getCancelButton().getBounds(), juce::Rectangle<int> (619, 320, 60, 24));
    EXPECT_EQ (bar.getCancelButton().getId(), 999);

    for (const auto& [value, expected] : { std::pair { 200, 127 }, std::pair { 10, 10 }, std::pair { -5, 0 } })
    {
        bar.setProgress (value, "U2 P 11");
        EXPECT_EQ (bar.getValue(), expected);
        EXPECT_EQ (bar.getFillWidth(), 3 * expected);
    }
    EXPECT_EQ (bar.getCaption(), "U2 P 11");
}

TEST (WidgetOverlays, RenameBoxAnswersOkOnReturn)
{
    RenameCnt box (274, 28, "Basic Program   ");
    std::vector<juce::String> log;
    ClickLog owner (log, "owner");
    box.getOkButton().addIdListener (&owner);
    box.getCancelButton().addIdListener (&owner);
    EXPECT_EQ (box.getBounds(), juce::Rectangle<int> (274, 28, 180, 50));
    EXPECT_EQ (box.getText(), "Basic Program   ");

    box.getEditor().setText ("Night Drive");
    box.getEditor().keyPressed (juce::KeyPress (juce::KeyPress::returnKey));
    GuiRig::pump (50);
    box.getEditor().keyPressed (juce::KeyPress (juce::KeyPress::escapeKey));
    GuiRig::pump (50);

    EXPECT_EQ (log, (std::vector<juce::String> { "owner#1111", "owner#1113" }));
    EXPECT_EQ (box.getText(), "Night Drive");
}

TEST (WidgetOverlays, AboutPanelClosesOnAPressOrAfterItsDelay)
{
    AboutPanel pressed ("2.7.0", 1200, 0);
    EXPECT_EQ (pressed.getVersionLine(), "Version 2.7.0");
    EXPECT_EQ (pressed.boxOrigin(), juce::Point<int> (370, 150));
    EXPECT_FALSE (pressed.isAutoClosing());
    ChangeSpy pressSpy (pressed, [] { return 1; });
    Mouse (pressed).click (5.0f, 5.0f);
    EXPECT_EQ (pressSpy.codes.size(), 1u);

    AboutPanel timed ("2.7.0", 1200, 40);
    ChangeSpy timerSpy (timed, [] { return 1; });
    EXPECT_TRUE (timed.isAutoClosing());
    GuiRig::pump (300);
    EXPECT_EQ (timerSpy.codes.size(), 1u) << "one broadcast, then the timer stays stopped";
    EXPECT_FALSE (timed.isAutoClosing());
}
} // namespace
