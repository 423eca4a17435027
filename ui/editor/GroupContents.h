#pragma once

#include <juce_graphics/juce_graphics.h>

#include <optional>
#include <vector>

// What every parameter group of the editor page holds, as constant data: the strip layout of the
// groups, the page table of the page buttons, and per group its parameter controls, its special
// widgets and the captions it draws itself. `GroupClass` and `EditorPanel` build themselves from
// these tables; nothing here creates a component.
//
// Every table lists layer A. The row B copy of a group uses the same rows with the position moved
// to layer B (positionForLayer); the play-control positions 1024..1029 have no layer B.
namespace GroupContents
{
static constexpr int kLayerSize = 512;      // layer B position = layer A position + 512
static constexpr int kPlayPositions = 1024; // 1024..1029 live outside the program record
static constexpr int kTopBand = 54;         // groups sit below the editor's top band
static constexpr int kRowBOffset = 320;     // row B y = row A y + 320
static constexpr int kLowerRowAY = 160;     // a group stacked under another starts here
static constexpr int kColumnGap = 4;        // strip x of a column = previous x + width + 4
static constexpr int kTitleBandHeight = 16; // the title band at the top of every group
static constexpr int kSetupYOffset = 16;    // a control's box starts 16 units above its setup y
static constexpr int kNumGroupIndices = 20; // indices 0..19 in each row
static constexpr int kEmptyRowBGroup = -1;  // layer B has no "SLIDERS": its slot holds index -1
static constexpr int kHiddenPageX = -10000; // page 100 moves every group out of the window

// The presentation codes of `StsCont::setup`.
enum ControlType : int
{
    menu = 0,
    onOffSwitch = 1,
    knob = 3,
    threeWay = 12,
    centredSwitch = 101,
};

struct Box
{
    int x, y, width, height;

    juce::Rectangle<int> toRectangle() const noexcept { return { x, y, width, height }; }
};

// One `StsCont`: the arguments of `StsCont::setup` plus the knob style. The box is exactly what
// setup receives, so its y is the caption line; the control's component box starts 16 units higher
// (componentBox).
struct ControlRow
{
    int position; // layer A position 0..511, or a play-control position 1024..1029
    const char* label;
    int type; // ControlType
    int knobStyle;
    int minimum, maximum;
    int displayKind;
    Box box;
};

// The component box of a control inside its group, unscaled: (x, y - 16, width, height).
inline Box componentBox (const ControlRow& row) noexcept
{
    return { row.box.x, row.box.y - kSetupYOffset, row.box.width, row.box.height };
}

// The position a group of layer 0 (A) or 1 (B) binds for a table row.
inline int positionForLayer (int position, int layer) noexcept
{
    return position < kLayerSize ? position + kLayerSize * layer : position;
}

// The drawn widgets some groups hold besides their controls.
enum class Widget
{
    Envel,         // envelope graphic of groups 3, 5, 9 and 10
    ShapeClass,    // waveform icon of one oscillator
    P_Slider,      // touch slider 1 or 2
    P_Pad,         // XY pad
    ZoneKeyClass,  // compact split-point keyboard of the A/B mode group
    ZoneKeyClassB, // large split-point keyboard of the A/B mode group
};

// A special widget, its unscaled box inside the group and the positions it works on. `which` is the
// envelope's group index, the oscillator (1..4) of a waveform icon or the slider (1, 2); 0 otherwise.
// `box` is the placement at creation (for the split keyboards: in the A/B mode group's compact and
// expanded form), `scaledBox` the one the group's scaling applies, times the scale; they differ for
// the envelope graphic and the compact split keyboard. `bound` lists positions (-1 = unused):
//   Envel:          attack, decay, sustain, release (layer A; the group's own knobs)
//   ShapeClass:     shape, shape modulation (the oscillator's two controls)
//   P_Slider:       its position value, the shared pressure, its latch
//   P_Pad:          vertical value (slider 1), horizontal value (slider 2), latch 1, latch 2
//   ZoneKeyClass/B: the split point
struct SpecialWidget
{
    Widget kind;
    int which;
    Box box;
    Box scaledBox;
    int bound[4];
};

// A text the group paints itself, white "Arial" 12, at unscaled coordinates.
struct Caption
{
    const char* text;
    Box box;
};

// One row of the strip table. Groups outside the strip (the A/B mode group, which lives in the top
// band, and the empty indices 16..19) have a zero layout and inStrip false.
struct Group
{
    int index;
    const char* title;
    int stripX, rowAY, width, height;
    bool inStrip;
    bool writesLayerMark; // paints "A" or "B" at the left of its title band
    bool inRowB;          // false for "SLIDERS": row B holds an empty group (index -1) there
};

// The strip table in the order of the strip, left to right (a stacked pair upper group first), then
// the A/B mode group and the empty indices 16..19.
const std::vector<Group>& stripTable();

// The strip row of a group index; indices -1, 16..19 and unknown ones give an empty group.
const Group& groupOf (int groupIndex);

// The controls of a group, layer A, in creation order (repeated sections expanded oscillator by
// oscillator, slot by slot). Empty for -1, 16..19 and unknown indices.
std::vector<ControlRow> controlsOf (int groupIndex);

// The special widgets of a group, in creation order.
std::vector<SpecialWidget> specialWidgetsOf (int groupIndex);

// The captions a group paints itself besides its title and layer mark. Only the A/B mode group has
// any, and paints them only in its expanded form.
std::vector<Caption> captionsOf (int groupIndex);

// Page buttons scroll the strip: the page's strip x becomes the window's left edge.
struct Page
{
    int id;
    int leftGroup; // -1: none
    int stripX;
};

const std::vector<Page>& pageTable();

// The strip x of a page id, or nothing for ids the page table does not know (they are ignored).
std::optional<int> pageStripX (int pageId);

// The page ids that put this group's column at the left edge (empty for groups outside the strip).
std::vector<int> pageIdsOf (int groupIndex);

// The A/B mode group (index 15, row A) has two forms: compact inside the top band, and expanded
// while it is zoomed. The split point and A/B mode controls are moved with StsCont::setPosition,
// so their points are setup coordinates (box y + 16) like the table's.
struct ABModeForm
{
    Box groupLayout; // may reach into the top band: y -52 is 2 units below the top of the page
    bool compactKeyboardVisible;
    Box compactKeyboard;
    bool largeKeyboardVisible;
    Box largeKeyboard;
    juce::Point<int> splitPoint;
    juce::Point<int> abMode;
};

static constexpr int kABModeGroup = 15;
static constexpr float kCompactKeyboardScale = 0.8f; // the compact split keyboard's own scale

ABModeForm abModeForm (bool expanded);
} // namespace GroupContents
