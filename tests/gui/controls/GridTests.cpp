#include "tests/gui/GuiRig.h"
#include "ui/controls/StsGrid.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{

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
} // namespace
