#include "ui/editor/GroupContents.h"

#include <algorithm>

namespace GroupContents
{
namespace
{
// A section of a group's table that repeats once per oscillator, delay, LFO or modulation slot.
// Copy k (0-based) of each row moves its position by k x positionStep and its box to column
// k mod columns (columnStep apart) and row k / columns (rowStep apart).
struct Repeat
{
    int count, positionStep, columns, columnStep, rowStep;
};

constexpr Repeat once { 1, 0, 1, 0, 0 };

struct Section
{
    const ControlRow* rows;
    size_t numRows;
    Repeat repeat;
};

template <size_t N>
constexpr Section section (const ControlRow (&rows)[N], Repeat repeat = once)
{
    return { rows, N, repeat };
}

// clang-format off

// ---- 1 "OSCILLATORS": four oscillator rows n = 1..4, 72 units apart; position base + (n - 1).
constexpr ControlRow oscillatorRow[] = {
    // pos  label          type          style min  max  kind    x    y   w   h
    {   0, "Pitch",        knob,          3,   0, 120,  13, {   0, 36, 65, 72 } },
    {   4, "Fine",         knob,          3,   0, 100,  22, {  68, 36, 65, 72 } },
    {   8, "Level",        knob,          0,   0, 127,   0, { 138, 36, 61, 72 } },
    {  12, "Shape",        menu,          0,   0,  19,  14, { 200, 72, 70, 36 } },
    {  28, "Shape Mod",    knob,          0,   0, 127,  23, { 274, 36, 65, 72 } },
    {  16, "Wave L",       menu,          0,   0,  11,  15, { 344, 72, 64, 36 } },
    {  20, "Wave R",       menu,          0,   0,  11,  15, { 412, 72, 64, 36 } },
    {  32, "FM Amt",       knob,          0,   0, 255,   0, { 480, 36, 65, 72 } },
    {  36, "AM Amt",       knob,          0,   0, 255,   0, { 548, 36, 65, 72 } },
    {  44, "Slop",         knob,          0,   0, 127,   0, { 616, 36, 65, 72 } },
    {  48, "Glide",        knob,          0,   0, 127,   0, { 684, 36, 65, 72 } },
    {  52, "Sync",         onOffSwitch,   0,   0,   1,  12, { 752, 40, 95, 20 } },
    {  56, "Key On/Off",   onOffSwitch,   0,   0,   1,  12, { 752, 64, 95, 20 } },
    {  60, "Note Reset",   onOffSwitch,   0,   0,   1,  12, { 752, 88, 95, 20 } },
};
constexpr Repeat fourOscillators { 4, 1, 1, 0, 72 };

constexpr ControlRow oscillatorCommon[] = {
    {  40, "Osc 1 Sub",      knob,        0,   0, 127,   0, { 868,  36,  65, 72 } },
    {  72, "Glide Mode",     menu,        0,   0,   3,   9, { 852, 144,  90, 36 } },
    {  73, "Glide On/Off",   onOffSwitch, 0,   0,   1,  12, { 848, 112, 100, 20 } },
    {  74, "P. B. Range Up", menu,        0,   0,  12,  16, { 852, 216,  90, 36 } },
    {  75, "P. B. Range Dn", menu,        0,   0,  24,  16, { 852, 264,  90, 36 } },
};

// ---- 7 "DELAY": four delay columns n = 1..4, 205 units apart.
constexpr ControlRow delayColumn[] = {
    { 96, "Time",        knob,         3, 0, 255,  0, {   8,  34, 65, 72 } },
    {100, "Time Sync",   menu,         0, 0,  11,  8, {  68, 180, 80, 36 } },
    {104, "Amount",      knob,         0, 0, 127,  0, {  76,  34, 65, 72 } },
    {108, "Feedback",    knob,         0, 0, 127,  0, {  42, 106, 65, 72 } },
    {112, "Sync",        onOffSwitch,  0, 0,   1, 12, {  20, 180, 30, 20 } },
    {116, "LP Freq",     knob,         0, 0, 127,  0, {   8, 220, 65, 72 } },
    {120, "HP Freq",     knob,         0, 0, 127,  0, {  76, 220, 65, 72 } },
    {124, "Filter Mode", menu,         0, 0,   1, 24, {  42, 294, 65, 36 } },
    {164, "Pan",         knob,         0, 0, 127,  0, { 112, 106, 65, 72 } },
};
constexpr Repeat fourDelays { 4, 1, 4, 205, 0 };

// ---- 8 "LOW FREQUENCY OSCILLATORS": four LFO columns n = 1..4, 176 units apart. The destination
// menu offers 0..98 only; the parameter itself goes to 104.
constexpr ControlRow lfoColumn[] = {
    {128, "Frequency",      knob,        0, 0, 255,  0, { 14,  78,  65, 72 } },
    {132, "Frequency Sync", menu,        0, 0,  15, 10, { 22, 224, 118, 34 } },
    {136, "Shape",          menu,        0, 0,   7, 11, { 22, 260, 118, 34 } },
    {140, "Amount",         knob,        0, 0, 127,  0, { 82,  78,  65, 72 } },
    {144, "Destination",    menu,        0, 0,  98,  7, { 22, 296, 118, 34 } },
    {148, "Sync",           onOffSwitch, 0, 0,   1, 12, { 38,  34, 120, 20 } },
    {152, "Note Reset",     onOffSwitch, 0, 0,   1, 12, { 38,  56, 120, 20 } },
    {156, "Slew",           knob,        0, 0, 127,  0, { 14, 150,  65, 72 } },
    {160, "Phase",          knob,        0, 0, 127,  0, { 82, 150,  65, 72 } },
};
constexpr Repeat fourLfos { 4, 1, 4, 176, 0 };

// ---- 11 "MODULATION": sixteen slots in two rows of eight, 119 units and 148 units apart.
constexpr ControlRow modulationSlot[] = {
    {206, "Source",      menu, 0, 0,  27, 17, {  4,  40, 108, 34 } },
    {238, "Destination", menu, 0, 0,  98,  7, {  4,  80, 108, 34 } },
    {222, "Amount",      knob, 1, 0, 254, 21, { 28, 116,  65, 72 } },
};
constexpr Repeat sixteenSlots { 16, 1, 8, 119, 148 };

// ---- 0 "SLIDERS": the two latch switches of the touch sliders (play-control positions).
constexpr ControlRow sliderLatches[] = {
    {1028, "Latch", centredSwitch, 0, 0, 1, 0, { 14, 38, 40, 32 } },
    {1029, "Latch", centredSwitch, 0, 0, 1, 0, { 70, 38, 40, 32 } },
};

// ---- 2 "CHARACTER"
constexpr ControlRow character[] = {
    { 76, "Air",      knob, 0, 0, 127, 0, { 125, 108, 65, 72 } },
    { 77, "Girth",    knob, 0, 0, 127, 0, {  57, 108, 65, 72 } },
    { 78, "Hack",     knob, 0, 0, 127, 0, { 159, 180, 65, 72 } },
    { 79, "Decimate", knob, 0, 0, 127, 0, {  23, 180, 65, 72 } },
    { 80, "Drive",    knob, 0, 0, 127, 0, {  91, 180, 65, 72 } },
};

// ---- 4 "HIGH PASS FILTER"
constexpr ControlRow highPass[] = {
    { 89, "Frequency",  knob, 0, 0, 127, 0, { 14,  34, 65, 72 } },
    { 90, "Resonance",  knob, 0, 0, 127, 0, { 82,  34, 65, 72 } },
    { 91, "Key Amount", knob, 0, 0, 127, 0, { 48, 106, 65, 72 } },
};

// ---- 12 "DISTORTION"
constexpr ControlRow distortion[] = {
    {254, "Amount", knob, 0, 0, 127, 0, { 48, 72, 65, 72 } },
};

// ---- 6 "FEEDBACK"
constexpr ControlRow feedback[] = {
    { 94, "Amount", knob, 0, 0, 254, 21, { 28,  34, 65, 72 } },
    { 95, "Tune",   knob, 0, 0,  48,  0, { 28, 106, 65, 72 } },
};

// ---- 3 "LOW PASS FILTER" (with the filter envelope)
constexpr ControlRow lowPass[] = {
    { 88, "4 Pole",       centredSwitch, 0, 0,   1, 12, {  72,  50,  65, 32 } },
    { 85, "Frequency",    knob,          0, 0, 164,  0, { 140,  34,  65, 72 } },
    { 86, "Resonance",    knob,          0, 0, 127,  0, { 208,  34,  65, 72 } },
    { 87, "Key Amount",   knob,          0, 0, 127,  0, { 276,  34,  65, 72 } },
    {172, "Velocity Amt", knob,          1, 0, 127,  0, { 344,  34,  65, 72 } },
    {176, "Delay",        knob,          0, 0, 127,  0, {   0, 106,  65, 72 } },
    {168, "Env. Amount",  knob,          1, 0, 254, 21, {  72, 106,  65, 72 } },
    {180, "Attack",       knob,          0, 0, 127,  0, { 140, 106,  65, 72 } },
    {184, "Decay",        knob,          0, 0, 127,  0, { 208, 106,  65, 72 } },
    {188, "Sustain",      knob,          0, 0, 127,  0, { 276, 106,  65, 72 } },
    {192, "Release",      knob,          0, 0, 127,  0, { 344, 106,  65, 72 } },
    {198, "Repeat",       onOffSwitch,   0, 0,   1, 12, { 570, 146, 100, 20 } },
};

// ---- 5 "VOLTAGE CONTROLLED AMPLIFIER" (with the amplifier envelope)
constexpr ControlRow amplifier[] = {
    { 93, "Voice Volume", knob,        0, 0, 127,  0, {  42,  34,  65, 72 } },
    {177, "Delay",        knob,        0, 0, 127,  0, {  42, 106,  65, 72 } },
    {169, "Env. Amount",  knob,        1, 0, 127,  0, { 176,  34,  65, 72 } },
    {173, "Velocity Amt", knob,        1, 0, 127,  0, { 244,  34,  65, 72 } },
    { 92, "Pan Spread",   knob,        0, 0, 127,  0, { 312,  34,  65, 72 } },
    {181, "Attack",       knob,        0, 0, 127,  0, { 140, 106,  65, 72 } },
    {185, "Decay",        knob,        0, 0, 127,  0, { 208, 106,  65, 72 } },
    {189, "Sustain",      knob,        0, 0, 127,  0, { 276, 106,  65, 72 } },
    {193, "Release",      knob,        0, 0, 127,  0, { 344, 106,  65, 72 } },
    {199, "Repeat",       onOffSwitch, 0, 0,   1, 12, { 570, 146, 100, 20 } },
};

// ---- 9 "ENVELOPE 3"
constexpr ControlRow envelope3[] = {
    {170, "Env. Amount",  knob,        1, 0, 254, 21, { 276,  34,  65, 72 } },
    {174, "Velocity Amt", knob,        1, 0, 127,  0, { 344,  34,  65, 72 } },
    {178, "Delay",        knob,        0, 0, 127,  0, {  52, 106,  65, 72 } },
    {182, "Attack",       knob,        0, 0, 127,  0, { 140, 106,  65, 72 } },
    {186, "Decay",        knob,        0, 0, 127,  0, { 208, 106,  65, 72 } },
    {190, "Sustain",      knob,        0, 0, 127,  0, { 276, 106,  65, 72 } },
    {194, "Release",      knob,        0, 0, 127,  0, { 344, 106,  65, 72 } },
    {196, "Destination",  menu,        0, 0,  98,  7, { 140,  48, 120, 36 } },
    {200, "Repeat",       onOffSwitch, 0, 0,   1, 12, { 570, 146, 100, 20 } },
};

// ---- 10 "ENVELOPE 4"
constexpr ControlRow envelope4[] = {
    {171, "Env. Amount",  knob,        1, 0, 254, 21, { 276,  34,  65, 72 } },
    {175, "Velocity Amt", knob,        1, 0, 127,  0, { 344,  34,  65, 72 } },
    {179, "Delay",        knob,        0, 0, 127,  0, {  52, 106,  65, 72 } },
    {183, "Attack",       knob,        0, 0, 127,  0, { 140, 106,  65, 72 } },
    {187, "Decay",        knob,        0, 0, 127,  0, { 208, 106,  65, 72 } },
    {191, "Sustain",      knob,        0, 0, 127,  0, { 276, 106,  65, 72 } },
    {195, "Release",      knob,        0, 0, 127,  0, { 344, 106,  65, 72 } },
    {197, "Destination",  menu,        0, 0,  98,  7, { 140,  48, 120, 36 } },
    {201, "Repeat",       onOffSwitch, 0, 0,   1, 12, { 570, 146, 100, 20 } },
};

// ---- 13 "UNISON"
constexpr ControlRow unison[] = {
    {257, "On/Off",     onOffSwitch, 0, 0,   1,  12, { 18,  46, 80, 20 } },
    {258, "Detune",     knob,        0, 0, 127,   0, { 28,  78, 65, 72 } },
    {259, "Mode",       menu,        0, 0,   1,  20, { 18, 164, 80, 36 } },
    {260, "Key Assign", menu,        0, 0,   5, 180, { 18, 204, 80, 36 } },
};

// ---- 14 "ARPEGGIATOR"
constexpr ControlRow arpeggiator[] = {
    {256, "BPM",          knob,        3, 30, 250,  6, { 26,  36,  70, 72 } },
    {294, "Mode",         menu,        0,  0,   4,  2, { 16, 196,  90, 36 } },
    {295, "Range",        menu,        0,  0,   2,  3, { 16, 236,  90, 36 } },
    {296, "On/Off",       onOffSwitch, 0,  0,   1, 12, { 16, 108,  90, 20 } },
    {297, "Auto Latch",   onOffSwitch, 0,  0,   1, 12, { 16, 132,  90, 20 } },
    {298, "Clock Devide", menu,        0,  0,  10,  5, { 16, 156,  90, 36 } },
    {299, "Repeats",      menu,        0,  0,   3,  4, { 16, 276,  90, 36 } },
    {300, "Lock Notes",   onOffSwitch, 0,  0,   1, 12, { 16, 312, 100, 20 } },
};

// ---- 15 "AB MODE". The split point offers every MIDI note 0..127 (the instrument stops at 120)
// and has no label; the three-way switch draws none either, the group paints its captions.
constexpr ControlRow abMode[] = {
    {424, "",         menu,     0, 0, 127, 18, { 270, 16, 36, 20 } },
    {425, "A B Mode", threeWay, 0, 0,   2,  1, {   0, 40, 90, 34 } },
};

constexpr Section oscillatorSections[]  = { section (oscillatorRow, fourOscillators), section (oscillatorCommon) };
constexpr Section delaySections[]       = { section (delayColumn, fourDelays) };
constexpr Section lfoSections[]         = { section (lfoColumn, fourLfos) };
constexpr Section modulationSections[]  = { section (modulationSlot, sixteenSlots) };
constexpr Section sliderSections[]      = { section (sliderLatches) };
constexpr Section characterSections[]   = { section (character) };
constexpr Section highPassSections[]    = { section (highPass) };
constexpr Section distortionSections[]  = { section (distortion) };
constexpr Section feedbackSections[]    = { section (feedback) };
constexpr Section lowPassSections[]     = { section (lowPass) };
constexpr Section amplifierSections[]   = { section (amplifier) };
constexpr Section envelope3Sections[]   = { section (envelope3) };
constexpr Section envelope4Sections[]   = { section (envelope4) };
constexpr Section unisonSections[]      = { section (unison) };
constexpr Section arpeggiatorSections[] = { section (arpeggiator) };
constexpr Section abModeSections[]      = { section (abMode) };

struct GroupSections
{
    int index;
    const Section* sections;
    size_t numSections;
};

template <size_t N>
constexpr GroupSections contents (int index, const Section (&sections)[N])
{
    return { index, sections, N };
}

constexpr GroupSections groupSections[] = {
    contents (1,  oscillatorSections),
    contents (7,  delaySections),
    contents (8,  lfoSections),
    contents (11, modulationSections),
    contents (0,  sliderSections),
    contents (2,  characterSections),
    contents (4,  highPassSections),
    contents (12, distortionSections),
    contents (6,  feedbackSections),
    contents (3,  lowPassSections),
    contents (5,  amplifierSections),
    contents (9,  envelope3Sections),
    contents (10, envelope4Sections),
    contents (13, unisonSections),
    contents (14, arpeggiatorSections),
    contents (15, abModeSections),
};

// ---- Special widgets. The envelope graphic is 218 x 80 when created and 226 x 82 once the group
// scales it; the compact split keyboard draws itself at 0.8 of its 269 x 18 strip, so the group's
// scaling gives it 215 x 14 at the group's origin. The others keep their box.
constexpr Box envelopeBox { 426, 46, 218, 80 }, envelopeScaledBox { 426, 46, 226, 82 };
// Oscillator n's waveform icon sits beside its shape menu, one oscillator row (72 units) apart.
constexpr Box iconBox (int n) { return { 214, 30 + 72 * (n - 1), 36, 21 }; }

// A special widget with the group that holds it.
struct PlacedWidget
{
    int group;
    SpecialWidget widget;
};

constexpr PlacedWidget specialWidgets[] = {
    // group  kind                    which  box                             scaled box                       bound
    {  0, { Widget::P_Slider,       1,     { 16,  60,  36, 130 },          { 16,  60,  36, 130 },           { 1025, 1027, 1028,   -1 } } },
    {  0, { Widget::P_Slider,       2,     { 72,  60,  36, 130 },          { 72,  60,  36, 130 },           { 1026, 1027, 1029,   -1 } } },
    {  0, { Widget::P_Pad,          0,     { 18, 210,  90,  90 },          { 18, 210,  90,  90 },           { 1025, 1026, 1028, 1029 } } },
    {  1, { Widget::ShapeClass,     1,     iconBox (1),                    iconBox (1),                     {   12,   28,   -1,   -1 } } },
    {  1, { Widget::ShapeClass,     2,     iconBox (2),                    iconBox (2),                     {   13,   29,   -1,   -1 } } },
    {  1, { Widget::ShapeClass,     3,     iconBox (3),                    iconBox (3),                     {   14,   30,   -1,   -1 } } },
    {  1, { Widget::ShapeClass,     4,     iconBox (4),                    iconBox (4),                     {   15,   31,   -1,   -1 } } },
    {  3, { Widget::Envel,          3,     envelopeBox,                    envelopeScaledBox,               {  180,  184,  188,  192 } } },
    {  5, { Widget::Envel,          5,     envelopeBox,                    envelopeScaledBox,               {  181,  185,  189,  193 } } },
    {  9, { Widget::Envel,          9,     envelopeBox,                    envelopeScaledBox,               {  182,  186,  190,  194 } } },
    { 10, { Widget::Envel,          10,    envelopeBox,                    envelopeScaledBox,               {  183,  187,  191,  195 } } },
    { 15, { Widget::ZoneKeyClass,   0,     {  0,   3, 269,  18 },          {  0,   0, 215,  14 },           {  424,   -1,   -1,   -1 } } },
    { 15, { Widget::ZoneKeyClassB,  0,     { 20,  24, 505,  34 },          { 20,  24, 505,  34 },           {  424,   -1,   -1,   -1 } } },
};

// ---- Captions the A/B mode group paints in its expanded form: under the left and right frame of
// the three-way switch, and over the large split keyboard.
constexpr Caption abModeCaptions[] = {
    { "A + B",       {  20, 80,  30, 20 } },
    { "A | B",       {  60, 80,  30, 20 } },
    { "Split Point", { 510, 18, 100, 20 } },
};

constexpr ABModeForm compactForm {
    { 667, -52, 260, 18 }, true, { 0, 3, 269, 18 }, false, { 20, 24, 505, 34 }, { 216, 16 }, { 0, 60 }
};
constexpr ABModeForm expandedForm {
    { 667, -52, 600, 100 }, false, { 0, 3, 269, 18 }, true, { 20, 24, 505, 34 }, { 537, 55 }, { 24, 80 }
};

// clang-format on
} // namespace

const std::vector<Group>& stripTable()
{
    // clang-format off
    static const std::vector<Group> table {
        // index  title                            strip x  row A y  width  height  in strip  "A"/"B"  row B
        {  1, "OSCILLATORS",                        0,      0,      950,   319,    true,     true,    true  },
        {  2, "CHARACTER",                          954,    0,      246,   319,    true,     true,    true  },
        {  5, "VOLTAGE CONTROLLED AMPLIFIER",       1204,   0,      700,   160,    true,     false,   true  },
        {  3, "LOW PASS FILTER",                    1204,   160,    700,   160,    true,     true,    true  },
        {  4, "HIGH PASS FILTER",                   1908,   0,      160,   160,    true,     false,   true  },
        { 12, "DISTORTION",                         1908,   160,    160,   160,    true,     false,   true  },
        {  6, "FEEDBACK",                           2072,   0,      120,   319,    true,     true,    true  },
        {  7, "DELAY",                              2196,   0,      830,   319,    true,     false,   true  },
        {  8, "LOW FREQUENCY OSCILLATORS",          3030,   0,      700,   322,    true,     true,    true  },
        { 13, "UNISON",                             3734,   0,      120,   319,    true,     false,   true  },
        {  9, "ENVELOPE 3",                         3858,   0,      700,   160,    true,     true,    true  },
        { 10, "ENVELOPE 4",                         3858,   160,    700,   160,    true,     false,   true  },
        { 11, "MODULATION",                         4562,   0,      950,   319,    true,     true,    true  },
        { 14, "ARPEGGIATOR",                        5516,   0,      120,   319,    true,     true,    true  },
        {  0, "SLIDERS",                            5640,   0,      130,   319,    true,     false,   false },
        // The A/B mode group lives in the top band (abModeForm); its row B copy is built but never
        // shown, since the split point and the mode exist once per program.
        { 15, "AB MODE",                            0,      0,      0,     0,      false,    false,   true  },
        { 16, "",                                   0,      0,      0,     0,      false,    false,   true  },
        { 17, "",                                   0,      0,      0,     0,      false,    false,   true  },
        { 18, "",                                   0,      0,      0,     0,      false,    false,   true  },
        { 19, "",                                   0,      0,      0,     0,      false,    false,   true  },
    };
    // clang-format on
    return table;
}

const Group& groupOf (int groupIndex)
{
    static const Group empty { kEmptyRowBGroup, "", 0, 0, 0, 0, false, false, true };
    const auto& table = stripTable();
    const auto found =
        std::find_if (table.begin(), table.end(), [groupIndex] (const Group& g) { return g.index == groupIndex; });
    return found != table.end() ? *found : empty;
}

std::vector<ControlRow> controlsOf (int groupIndex)
{
    std::vector<ControlRow> rows;

    for (const auto& group : groupSections)
    {
        if (group.index != groupIndex)
            continue;

        for (size_t s = 0; s < group.numSections; ++s)
        {
            const auto& sec = group.sections[s];
            const auto& r = sec.repeat;

            // One oscillator (delay, LFO, slot) after the other, each with all the rows of the section.
            for (int k = 0; k < r.count; ++k)
            {
                for (size_t i = 0; i < sec.numRows; ++i)
                {
                    auto row = sec.rows[i];
                    row.position += k * r.positionStep;
                    row.box.x += (k % r.columns) * r.columnStep;
                    row.box.y += (k / r.columns) * r.rowStep;
                    rows.push_back (row);
                }
            }
        }
    }

    return rows;
}

std::vector<SpecialWidget> specialWidgetsOf (int groupIndex)
{
    std::vector<SpecialWidget> widgets;

    for (const auto& placed : specialWidgets)
        if (placed.group == groupIndex)
            widgets.push_back (placed.widget);

    return widgets;
}

std::vector<Caption> captionsOf (int groupIndex)
{
    if (groupIndex != kABModeGroup)
        return {};

    return { std::begin (abModeCaptions), std::end (abModeCaptions) };
}

const std::vector<Page>& pageTable()
{
    // clang-format off
    static const std::vector<Page> table {
        // id   left group  strip x
        {   0,  -1,          0    },
        {   1,   1,          0    },
        {   2,   2,          954  },
        {   3,   3,          1204 }, // the column of the amplifier and the low pass filter
        {   4,   4,          1908 },
        {   5,   6,          2072 },
        {   6,   7,          2196 },
        {   7,   8,          3030 },
        {   8,  13,          3734 },
        {   9,   9,          3858 },
        {  10,  11,          4562 },
        {  11,  14,          5516 },
        {  12,   0,          5640 },
        {  13,   0,          5640 },
        { 100,  -1,          kHiddenPageX }, // every group lies outside the window and is hidden
    };
    // clang-format on
    return table;
}

std::optional<int> pageStripX (int pageId)
{
    for (const auto& page : pageTable())
        if (page.id == pageId)
            return page.stripX;

    return std::nullopt;
}

std::vector<int> pageIdsOf (int groupIndex)
{
    std::vector<int> ids;
    const auto& group = groupOf (groupIndex);

    if (! group.inStrip)
        return ids;

    for (const auto& page : pageTable())
        if (page.leftGroup >= 0 && page.stripX == group.stripX)
            ids.push_back (page.id);

    return ids;
}

ABModeForm abModeForm (bool expanded) { return expanded ? expandedForm : compactForm; }
} // namespace GroupContents
