#include "ui/library/ProgramListView.h"

#include "ui/look/Skins.h"

ProgramListView::ProgramListView() : thumb (Skins::get ("lib_list_thumb"))
{
    // Every row's box is the same shape: build it and its outline once, and only move them in paint.
    const juce::Rectangle<float> box (0.0f, (float) kBoxY, (float) kBoxWidth, (float) kBoxHeight);
    boxPath.addRoundedRectangle (box, 4.0f);
    juce::Path edge;
    edge.addRoundedRectangle (box.reduced (1.0f), 4.0f);
    juce::PathStrokeType (2.0f).createStrokedPath (boxOutline, edge);
}

ProgramListView::~ProgramListView() { stopTimer(); }

void ProgramListView::setFirstVisibleRow (int row)
{
    const int clamped = juce::jlimit (0, getLastFirstRow(), row);
    if (clamped != firstVisibleRow)
    {
        firstVisibleRow = clamped;
        repaint();
    }
}

juce::Rectangle<int> ProgramListView::getThumbBounds() const noexcept
{
    const int travel = juce::jmax (0, getHeight() - kThumbHeight);
    const int span = getLastFirstRow();
    const int top = span > 0 ? (int) ((int64_t) travel * firstVisibleRow / span) : 0;
    return { kTrackX, top, kThumbWidth, kThumbHeight };
}

void ProgramListView::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colour (kBackground));

    const int rows = getNumRows(), selected = getSelectedRow();
    const int last = juce::jmin (rows, firstVisibleRow + getVisibleRows());
    for (int row = firstVisibleRow; row < last; ++row)
    {
        const bool lit = row == selected;
        const int y = (row - firstVisibleRow) * kRowHeight;
        const auto at = juce::AffineTransform::translation (0.0f, (float) y);
        g.setColour (juce::Colour (lit ? kSelectedFill : kFill));
        g.fillPath (boxPath, at);
        g.setColour (juce::Colours::black);
        g.fillPath (boxOutline, at);

        getRowTexts (row, nameText, categoryText);

        g.setFont (lit ? numberFontBold : numberFont);
        g.setColour (juce::Colour (lit ? 0xffeeeeee : 0xffaaaaaa));
        g.drawSingleLineText (juce::String (row + 1), 7, y + 18);

        g.setFont (lit ? nameFontBold : nameFont);
        g.setColour (juce::Colour (lit ? 0xffffffff : 0xffcccccc));
        g.drawSingleLineText (nameText, 44, y + 22);

        g.setFont (lit ? categoryFontBold : categoryFont);
        g.setColour (juce::Colour (lit ? 0xffffffff : 0xffbbbbbb));
        g.drawText (categoryText, 0, y + 6, 282, 20, juce::Justification::bottomRight, false);
    }

    if (! hasScrollBar())
        return;
    const auto track = getTrackBounds().toFloat();
    g.setColour (juce::Colour (0x50323030));
    g.fillRoundedRectangle (track, 3.0f);
    g.setColour (juce::Colour (0x5a4b4f57));
    g.drawRoundedRectangle (track, 3.0f, 1.0f);
    const auto thumbArea = getThumbBounds();
    if (thumb.isValid())
        g.drawImage (thumb, thumbArea.getX(), thumbArea.getY(), kThumbWidth, kThumbHeight, 0, 0, thumb.getWidth(),
                     thumb.getHeight());
    else
    {
        g.setColour (juce::Colour (0xff8a8d9e));
        g.fillRoundedRectangle (thumbArea.toFloat().reduced (2.0f), 3.0f);
    }
}

void ProgramListView::mouseDown (const juce::MouseEvent& e)
{
    pressedInRows = draggingThumb = false;
    const auto pos = e.getPosition();

    if (pos.x > kPressLimitX)
    {
        if (! hasScrollBar())
            return;
        const auto thumbArea = getThumbBounds();
        if (pos.y >= thumbArea.getY() && pos.y < thumbArea.getBottom())
        {
            draggingThumb = true;
            thumbGrabOffset = pos.y - thumbArea.getY();
            return;
        }
        autoScroll = pos.y < thumbArea.getY() ? -1 : 1;
        scrollBy (autoScroll);
        startTimer (kRepeatMilliseconds);
        return;
    }

    if (pos.x <= 0 || getNumRows() <= 0)
        return;
    pressedInRows = true;
    const int row = juce::jmin (getNumRows() - 1, firstVisibleRow + juce::jmax (0, pos.y) / kRowHeight);
    rowPressed (row, e);
}

void ProgramListView::mouseDrag (const juce::MouseEvent& e)
{
    const auto pos = e.getPosition();
    if (draggingThumb)
    {
        const int travel = juce::jmax (1, getHeight() - kThumbHeight);
        const int top = juce::jlimit (0, travel, pos.y - thumbGrabOffset);
        setFirstVisibleRow (juce::roundToInt ((double) top * getLastFirstRow() / travel));
        return;
    }
    if (! pressedInRows)
        return;
    if (pos.y > getHeight())
        scrollBy (1);
    else if (pos.y < 0)
        scrollBy (-1);
}

void ProgramListView::mouseUp (const juce::MouseEvent&)
{
    stopTimer();
    autoScroll = 0;
    draggingThumb = pressedInRows = false;
}

void ProgramListView::mouseWheelMove (const juce::MouseEvent&, const juce::MouseWheelDetails& wheel)
{
    if (wheel.deltaY < 0.0f)
        scrollBy (1);
    else if (wheel.deltaY > 0.0f)
        scrollBy (-1);
}

bool ProgramListView::isOnRow (juce::Point<int> pos) const
{
    if (pos.x <= 0 || pos.x > kPressLimitX || pos.y < 0 || pos.y >= getVisibleRows() * kRowHeight)
        return false;
    return firstVisibleRow + pos.y / kRowHeight < getNumRows();
}

void ProgramListView::mouseDoubleClick (const juce::MouseEvent& e)
{
    // Two quick steps on the scroll track, or a double click below the last row, mean nothing.
    if (isOnRow (e.getPosition()))
        listDoubleClicked();
}

void ProgramListView::timerCallback()
{
    if (autoScroll == 0 || ! juce::ModifierKeys::getCurrentModifiersRealtime().isAnyMouseButtonDown())
    {
        stopTimer();
        autoScroll = 0;
        return;
    }
    scrollBy (autoScroll);
}
