#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The program list of the library window, shared by the library list (StsFile) and the preset list
// (Plugin_File): 34-pixel rows, each a rounded box with the row number, the program name and its
// category; the selected row lit and bold. A scroll bar stands right of the rows only when there are
// more rows than fit. The owner of the rows says what each row shows and what a press does.
//
// Mouse: a press at 0 < x < 272 presses the row under it (clamped to the last row); dragging past
// the top or bottom scrolls one row per drag event; on the scroll bar a press on the thumb drags it,
// a press above or below steps one row and repeats every 200 ms while held; the wheel steps one row.
// Only a double click on a row counts as one.
class ProgramListView : public juce::Component, private juce::Timer
{
public:
    static constexpr int kRowHeight = 34, kRowAreaWidth = 302, kPressLimitX = 272;
    static constexpr int kBoxWidth = 298, kBoxY = 4, kBoxHeight = 26;
    static constexpr int kTrackX = kRowAreaWidth + 4, kTrackWidth = 24, kThumbWidth = 25, kThumbHeight = 43;
    static constexpr int kRepeatMilliseconds = 200;
    static constexpr juce::uint32 kBackground = 0xff373535, kSelectedFill = 0xff7b7f95, kFill = 0xff3b3b43;

    ProgramListView();
    ~ProgramListView() override;

    // ---- What the owner supplies ----------------------------------------------------------------
    virtual int getNumRows() const = 0;
    virtual int getSelectedRow() const = 0;
    // The name and category text of a row (the number is the row index + 1).
    virtual void getRowTexts (int row, juce::String& name, juce::String& category) const = 0;
    virtual void rowPressed (int row, const juce::MouseEvent& e) = 0;
    virtual void listDoubleClicked() = 0;

    // ---- View state -----------------------------------------------------------------------------
    int getVisibleRows() const noexcept { return getHeight() / kRowHeight; }
    int getFirstVisibleRow() const noexcept { return firstVisibleRow; }
    int getLastFirstRow() const noexcept { return juce::jmax (0, getNumRows() - getVisibleRows()); }
    // Clamped to 0 .. rows - visible rows.
    void setFirstVisibleRow (int row);
    void scrollBy (int rows) { setFirstVisibleRow (firstVisibleRow + rows); }
    bool hasScrollBar() const noexcept { return getNumRows() > getVisibleRows(); }
    juce::Rectangle<int> getTrackBounds() const noexcept { return { kTrackX, 0, kTrackWidth, getHeight() }; }
    juce::Rectangle<int> getThumbBounds() const noexcept;
    int getAutoScrollDirection() const noexcept { return autoScroll; }
    // Whether the position is on a row's area (left of the scroll bar, above the empty part).
    bool isOnRow (juce::Point<int> pos) const;

    void paint (juce::Graphics& g) override;
    void resized() override { setFirstVisibleRow (firstVisibleRow); }
    void mouseDown (const juce::MouseEvent& e) override;
    void mouseDrag (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;
    void mouseWheelMove (const juce::MouseEvent& e, const juce::MouseWheelDetails& wheel) override;
    void mouseDoubleClick (const juce::MouseEvent& e) override;

private:
    void timerCallback() override;

    int firstVisibleRow = 0;
    bool pressedInRows = false, draggingThumb = false;
    int thumbGrabOffset = 0;
    int autoScroll = 0;

    const juce::Font numberFont { "Arial", 14.0f, juce::Font::plain },
        numberFontBold { "Arial", 14.0f, juce::Font::bold }, nameFont { "Arial", 15.0f, juce::Font::plain },
        nameFontBold { "Arial", 15.0f, juce::Font::bold }, categoryFont { "Arial", 12.0f, juce::Font::plain },
        categoryFontBold { "Arial", 12.0f, juce::Font::bold };
    juce::Image thumb;
    juce::Path boxPath, boxOutline;      // one row's box at y 0, built once
    juce::String nameText, categoryText; // reused by paint

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ProgramListView)
};
