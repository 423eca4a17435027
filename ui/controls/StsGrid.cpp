#include "ui/controls/StsGrid.h"

#include "midi/MidiCntrState.h"
#include "model/ParDes.h"
#include "ui/look/Skins.h"

#include <algorithm>

namespace
{
const juce::Colour kSelectedFill { 0x22038FBE };
const juce::Colour kSelectedText { juce::Colours::white };
const juce::Colour kSelectedCategory { 0xFF76D8F8 };
const juce::Colour kText { 0xFFD6D6D6 };
const juce::Colour kCategory { 0xFF35C5F4 };
const juce::Colour kABText { 0xFFFFC2A6 };
const juce::Colour kArpText { 0xFFFF5E5E };
const juce::Colour kTrack { 0xFF1F2224 };
const juce::Colour kTrackOutline { 0x55808040 };
constexpr int kABTextX = 170, kArpTextX = 216;
constexpr int kTextInset = 4;
} // namespace

StsGrid::StsGrid (MidiCntrState& controllerState)
    : state (controllerState), thumbImage (Skins::get ("grid_thumb")), backgroundImage (Skins::get ("grid_background"))
{
    setFontHeight (fontHeight);
    setSize (350, 5 * rowHeight);
    buildRows();
}

StsGrid::~StsGrid() = default;

void StsGrid::addListener (GridListener* listener)
{
    const juce::ScopedLock sl (listenerLock);
    if (listener != nullptr && std::find (listeners.begin(), listeners.end(), listener) == listeners.end())
        listeners.push_back (listener);
}

void StsGrid::removeListener (GridListener* listener)
{
    const juce::ScopedLock sl (listenerLock);
    listeners.erase (std::remove (listeners.begin(), listeners.end(), listener), listeners.end());
}

void StsGrid::tellListeners (int code)
{
    actionCode = code;
    std::vector<GridListener*> toTell;
    {
        const juce::ScopedLock sl (listenerLock);
        toTell = listeners;
    }
    // Told without the lock held, last registered first; a listener may delete the grid.
    const juce::Component::SafePointer<StsGrid> alive (this);
    for (auto it = toTell.rbegin(); it != toTell.rend() && alive != nullptr; ++it)
    {
        const bool stillListening = [&] {
            const juce::ScopedLock sl (listenerLock);
            return std::find (listeners.begin(), listeners.end(), *it) != listeners.end();
        }();
        if (stillListening)
            (*it)->gridChanged (this);
    }
}

// ---- Rows ----------------------------------------------------------------------------------------

void StsGrid::setBank (int newBank) { bank = juce::jlimit (0, MidiCntrState::kBanks - 1, newBank); }

void StsGrid::showBank (int newBank)
{
    setBank (newBank);
    setRows (kListBank, filterCategory);
}

StsGrid::Row StsGrid::readRow (int rowBank, int slot) const
{
    return state.withBank (rowBank, [&] (Bank_Program& b) {
        Row row;
        row.bank = rowBank;
        row.slot = slot;
        row.location = Bank_Program::locationText (rowBank, slot);
        row.name = b.slotName (slot);
        row.category = ParDes::categoryText (b.getSlot (slot)[ProgramDump::kCategoryOffset]);
        row.abText = b.slotABText (slot);
        row.arpText = b.slotArpMark (slot);
        return row;
    });
}

void StsGrid::buildRows()
{
    rows.clear();
    if (mode == kListBank)
    {
        rows.reserve (Bank_Program::kSlots);
        for (int slot = 0; slot < Bank_Program::kSlots; ++slot)
            rows.push_back (readRow (bank, slot));
        return;
    }

    for (int userBank = 0; userBank < kUserBanks; ++userBank)
    {
        const auto matching = state.withBank (userBank, [this] (Bank_Program& b) {
            std::vector<int> slots;
            const auto* bytes = b.slotBytes();
            for (int slot = 0; slot < Bank_Program::kSlots; ++slot)
                if (bytes[slot * ProgramDump::kRecordBytes + ProgramDump::kCategoryOffset] == filterCategory)
                    slots.push_back (slot);
            return slots;
        });
        for (const int slot : matching)
            rows.push_back (readRow (userBank, slot));
    }
}

void StsGrid::setRows (int newMode, int category)
{
    mode = newMode == kListCategory ? kListCategory : kListBank;
    filterCategory = category;
    buildRows();
    selectedRow = selectedSlot = selectedBank = -1;
    firstVisibleRow = 0;
    repaint();
}

void StsGrid::refresh()
{
    const int keepBank = selectedBank, keepSlot = selectedSlot;
    buildRows();
    selectedRow = -1;
    for (int r = 0; r < getRowCount(); ++r)
        if (rows[static_cast<size_t> (r)].bank == keepBank && rows[static_cast<size_t> (r)].slot == keepSlot)
            selectedRow = r;
    if (selectedRow < 0)
        selectedSlot = selectedBank = -1;
    setFirstVisibleRow (firstVisibleRow);
    repaint();
}

void StsGrid::changeListenerCallback (juce::ChangeBroadcaster*) { refresh(); }

const StsGrid::Row* StsGrid::getRow (int row) const noexcept
{
    return row >= 0 && row < getRowCount() ? &rows[static_cast<size_t> (row)] : nullptr;
}

int StsGrid::getRowSlot (int row) const noexcept
{
    const auto* r = getRow (row);
    return r != nullptr ? r->slot : -1;
}

int StsGrid::getRowBank (int row) const noexcept
{
    const auto* r = getRow (row);
    return r != nullptr ? r->bank : -1;
}

// ---- Selection and scrolling -----------------------------------------------------------------------

void StsGrid::setSelectedRow (int row)
{
    if (getRowCount() == 0 || row < 0)
    {
        selectedRow = selectedSlot = selectedBank = -1;
        repaint();
        return;
    }
    selectedRow = juce::jmin (row, getRowCount() - 1);
    selectedSlot = rows[static_cast<size_t> (selectedRow)].slot;
    selectedBank = rows[static_cast<size_t> (selectedRow)].bank;

    const int visible = getVisibleRows();
    if (selectedRow < firstVisibleRow)
        setFirstVisibleRow (selectedRow);
    else if (selectedRow >= firstVisibleRow + visible)
        setFirstVisibleRow (selectedRow - visible + 1);
    repaint();
}

void StsGrid::selectSlot (int slotBank, int slot)
{
    for (int r = 0; r < getRowCount(); ++r)
        if (rows[static_cast<size_t> (r)].bank == slotBank && rows[static_cast<size_t> (r)].slot == slot)
        {
            setSelectedRow (r);
            return;
        }
}

int StsGrid::getVisibleRows() const noexcept { return juce::jmax (1, getHeight() / juce::jmax (1, rowHeight)); }

juce::Rectangle<int> StsGrid::getRowBounds (int row) const noexcept
{
    if (row < firstVisibleRow || row >= firstVisibleRow + getVisibleRows() || row >= getRowCount())
        return {};
    return { 0, (row - firstVisibleRow) * rowHeight, rowAreaWidth(), rowHeight };
}

int StsGrid::maxFirstRow() const noexcept { return juce::jmax (0, getRowCount() - getVisibleRows()); }

void StsGrid::setFirstVisibleRow (int row)
{
    const int clamped = juce::jlimit (0, maxFirstRow(), row);
    if (clamped != firstVisibleRow)
    {
        firstVisibleRow = clamped;
        repaint();
    }
}

void StsGrid::resized() { setFirstVisibleRow (firstVisibleRow); }

// ---- Look ------------------------------------------------------------------------------------------

void StsGrid::setColumnWidths (int first, int second, int third, int fourth)
{
    columnWidths = { first, second, third, fourth };
    repaint();
}

void StsGrid::setRowHeight (int height)
{
    rowHeight = juce::jmax (1, height);
    setFirstVisibleRow (firstVisibleRow);
    repaint();
}

void StsGrid::setFontHeight (float height)
{
    fontHeight = height;
    plainFont = juce::Font ("Arial", fontHeight, juce::Font::plain);
    boldFont = juce::Font ("Arial", fontHeight, juce::Font::bold);
    statusFont = juce::Font ("Arial", juce::jmax (8.0f, fontHeight - 2.0f), juce::Font::plain);
    repaint();
}

void StsGrid::setScrollBarWidth (int width)
{
    scrollBarWidth = juce::jmax (0, width);
    repaint();
}

juce::Rectangle<int> StsGrid::thumbBounds() const noexcept
{
    const int travel = juce::jmax (0, getHeight() - thumbHeight);
    const int maxFirst = maxFirstRow();
    const int y = maxFirst > 0 ? travel * firstVisibleRow / maxFirst : 0;
    const int width = juce::jmin (14, scrollBarWidth);
    return { getWidth() - scrollBarWidth + (scrollBarWidth - width) / 2, y, width, thumbHeight };
}

void StsGrid::paint (juce::Graphics& g)
{
    const int width = rowAreaWidth();
    const int visible = getVisibleRows();
    const int nameX = columnWidths[0];
    const int categoryX = columnWidths[0] + columnWidths[1];
    const int lineHeight = juce::roundToInt (fontHeight) + 6;
    const int statusY = juce::jmax (lineHeight, rowHeight / 2);

    g.fillAll (juce::Colour (0xFF141414));

    // One extra row so that a partly visible last row is drawn too.
    for (int i = 0; i <= visible; ++i)
    {
        const int r = firstVisibleRow + i;
        const int y = i * rowHeight;
        if (y >= getHeight())
            break;

        if (backgroundImage.isValid())
            g.drawImage (backgroundImage, 0, y, width, rowHeight, 0, 0, backgroundImage.getWidth(),
                         backgroundImage.getHeight());
        else
        {
            g.setColour (juce::Colour (0xFF2A2C2E));
            g.drawHorizontalLine (y + rowHeight - 1, 0.0f, static_cast<float> (width));
        }

        const auto* row = getRow (r);
        if (row == nullptr)
            continue;

        const bool selected = r == selectedRow;
        if (selected)
        {
            g.setColour (kSelectedFill);
            g.fillRect (0, y, width, rowHeight);
        }

        g.setFont (selected ? boldFont : plainFont);
        g.setColour (selected ? kSelectedText : kText);
        // "U1 P 99" is wider than its column at larger fonts: squeeze it rather than run into the name.
        g.drawFittedText (row->location, kTextInset, y, juce::jmax (0, nameX - kTextInset - 2), lineHeight,
                          juce::Justification::centredLeft, 1, 0.6f);
        g.drawText (row->name, nameX, y, columnWidths[1], lineHeight, juce::Justification::centredLeft, true);
        g.setColour (selected ? kSelectedCategory : kCategory);
        g.drawText (row->category, categoryX, y, columnWidths[2], lineHeight, juce::Justification::centredLeft, true);

        g.setFont (statusFont);
        g.setColour (kABText);
        g.drawText (row->abText, kABTextX, y + statusY, kArpTextX - kABTextX, lineHeight,
                    juce::Justification::centredLeft, true);
        g.setColour (kArpText);
        g.drawText (row->arpText, kArpTextX, y + statusY, 40, lineHeight, juce::Justification::centredLeft, true);
    }

    if (scrollBarWidth > 0)
    {
        const juce::Rectangle<int> bar (getWidth() - scrollBarWidth, 0, scrollBarWidth, getHeight());
        g.setColour (kTrack);
        g.fillRect (bar);
        g.setColour (kTrackOutline);
        g.drawRect (bar, 1);

        const auto thumb = thumbBounds();
        if (thumbImage.isValid())
            g.drawImage (thumbImage, thumb.toFloat(), juce::RectanglePlacement::stretchToFit);
        else
        {
            g.setColour (juce::Colour (0xFF6A6E72));
            g.fillRoundedRectangle (thumb.toFloat().reduced (1.0f), 3.0f);
        }
    }
}

// ---- Mouse -----------------------------------------------------------------------------------------

void StsGrid::mouseDown (const juce::MouseEvent& e)
{
    draggingThumb = draggingRows = false;

    if (e.x >= rowAreaWidth())
    {
        draggingThumb = true;
        return;
    }
    if (e.x < 0 || getRowCount() == 0)
        return;

    draggingRows = true;
    const int row = juce::jmin (firstVisibleRow + juce::jmax (0, e.y) / rowHeight, getRowCount() - 1);
    selectedRow = row;
    selectedSlot = rows[static_cast<size_t> (row)].slot;
    selectedBank = rows[static_cast<size_t> (row)].bank;
    repaint();

    const bool menuRequest = e.mods.isPopupMenu();
    const int clickedSlot = selectedSlot, clickedBank = selectedBank;
    const int categoryStart = columnWidths[0] + columnWidths[1];
    const bool onCategory = e.x >= categoryStart && e.x < categoryStart + columnWidths[2];

    const juce::Component::SafePointer<StsGrid> alive (this);
    tellListeners (kRowChosen);
    if (! menuRequest || alive == nullptr)
        return;

    // The owner may have refreshed the list while it answered the selection: the menu is still for the
    // program that was clicked.
    selectedSlot = clickedSlot;
    selectedBank = clickedBank;
    tellListeners (onCategory ? kCategoryMenu : kProgramMenu);
}

void StsGrid::dragThumbTo (int y)
{
    const int travel = getHeight() - thumbHeight;
    if (travel <= 0)
        return;
    const float proportion = static_cast<float> (y - thumbHeight / 2) / static_cast<float> (travel);
    setFirstVisibleRow (juce::roundToInt (proportion * static_cast<float> (maxFirstRow())));
}

void StsGrid::mouseDrag (const juce::MouseEvent& e)
{
    if (draggingThumb)
        dragThumbTo (e.y);
    else if (draggingRows)
    {
        if (e.y > getHeight())
            setFirstVisibleRow (firstVisibleRow + 1);
        else if (e.y < 0)
            setFirstVisibleRow (firstVisibleRow - 1);
    }
}

void StsGrid::mouseUp (const juce::MouseEvent&) { draggingThumb = draggingRows = false; }

void StsGrid::mouseWheelMove (const juce::MouseEvent&, const juce::MouseWheelDetails& wheel)
{
    if (wheel.deltaY > 0.0f)
        setFirstVisibleRow (firstVisibleRow - 1);
    else if (wheel.deltaY < 0.0f)
        setFirstVisibleRow (firstVisibleRow + 1);
}
