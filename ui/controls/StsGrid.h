#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <vector>

class MidiCntrState;
class StsGrid;

// Told of every selection and menu request in a program list. The owner reads the grid's action
// code (91 a row was chosen; then, for a right click, 88 on the category column or 90 elsewhere),
// the selected row and its slot and bank.
class GridListener
{
public:
    virtual ~GridListener() = default;
    virtual void gridChanged (StsGrid* grid) = 0;
};

// The program list of the bank panel and the write dialog. Mode 0 lists the 99 slots of one bank,
// mode 1 every program of the user banks whose category is the filter category. Each row shows the
// program's location, name, category, and its A/B mode and arpeggiator mark. A scroll bar runs down
// the right edge.
//
// The rows' texts are read from the controller state when the rows are built or refreshed, never
// while painting. As a ChangeListener the grid refreshes them: register it on whatever announces
// bank changes.
class StsGrid : public juce::Component, public juce::ChangeListener
{
public:
    static constexpr int kListBank = 0, kListCategory = 1;
    static constexpr int kRowChosen = 91, kCategoryMenu = 88, kProgramMenu = 90;
    static constexpr int kUserBanks = 4;

    explicit StsGrid (MidiCntrState& state);
    ~StsGrid() override;

    void addListener (GridListener* listener);
    void removeListener (GridListener* listener);

    // The bank that mode 0 lists.
    void setBank (int bank);
    int getBank() const noexcept { return bank; }
    // Rebuilds the rows: mode 0 lists the bank set above, mode 1 the user-bank programs of the
    // category. The selection is cleared and the list scrolls to the top.
    void setRows (int mode, int category);
    // Mode 0 on that bank.
    void showBank (int newBank);
    // Reads the rows' texts again (names or categories changed); in mode 1 the rows are filtered again.
    // The selection stays on its program while that is still listed.
    void refresh();

    int getMode() const noexcept { return mode; }
    int getFilterCategory() const noexcept { return filterCategory; }
    int getRowCount() const noexcept { return static_cast<int> (rows.size()); }
    int getRowSlot (int row) const noexcept;
    int getRowBank (int row) const noexcept;

    // Selects a row without telling anyone and scrolls it into view; -1 clears the selection.
    void setSelectedRow (int row);
    // Selects the row that lists that program, if any.
    void selectSlot (int bank, int slot);
    int getSelectedRow() const noexcept { return selectedRow; }
    int getSelectedSlot() const noexcept { return selectedSlot; }
    int getSelectedBank() const noexcept { return selectedBank; }
    int getActionCode() const noexcept { return actionCode; }

    void setColumnWidths (int first, int second, int third, int fourth);
    void setRowHeight (int height);
    int getRowHeight() const noexcept { return rowHeight; }
    void setFontHeight (float height);
    void setScrollBarWidth (int width);
    int getScrollBarWidth() const noexcept { return scrollBarWidth; }

    int getFirstVisibleRow() const noexcept { return firstVisibleRow; }
    // Where a row is drawn (left of the scroll bar), empty while it is scrolled out of view.
    juce::Rectangle<int> getRowBounds (int row) const noexcept;
    void setFirstVisibleRow (int row); // kept within 0..row count - visible rows
    int getVisibleRows() const noexcept;

    // The row texts as painted, for the owner's menus and for checks.
    struct Row
    {
        int bank = 0, slot = 0;
        juce::String location, name, category, abText, arpText;
    };
    const Row* getRow (int row) const noexcept;

    void paint (juce::Graphics& g) override;
    void resized() override;
    void mouseDown (const juce::MouseEvent& e) override;
    void mouseDrag (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;
    void mouseWheelMove (const juce::MouseEvent& e, const juce::MouseWheelDetails& wheel) override;
    void changeListenerCallback (juce::ChangeBroadcaster*) override;

private:
    void buildRows();
    Row readRow (int rowBank, int slot) const;
    void tellListeners (int code);
    int rowAreaWidth() const noexcept { return juce::jmax (0, getWidth() - scrollBarWidth); }
    int maxFirstRow() const noexcept;
    juce::Rectangle<int> thumbBounds() const noexcept;
    void dragThumbTo (int y);

    MidiCntrState& state;

    juce::CriticalSection listenerLock;
    std::vector<GridListener*> listeners;

    std::vector<Row> rows;
    int bank = 0;
    int mode = kListBank;
    int filterCategory = 0;
    int rowHeight = 46;
    int firstVisibleRow = 0;
    int selectedRow = -1, selectedSlot = -1, selectedBank = -1;
    int actionCode = 0;
    std::array<int, 4> columnWidths { 50, 140, 100, 0 };
    int scrollBarWidth = 18;
    int thumbHeight = 31;
    float fontHeight = 14.0f;
    juce::Font plainFont, boldFont, statusFont;
    bool draggingThumb = false, draggingRows = false;

    juce::Image thumbImage, backgroundImage;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (StsGrid)
};
