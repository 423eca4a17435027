#include "model/ParameterTable.h"

namespace
{
constexpr int kNone = -1;

// A row of one parameter at one position.
struct Row
{
    int position;
    const char* name;
    int minimum, maximum, displayType, panelGroup, nrpn;
};

// A row that repeats once per oscillator, delay, LFO, modulation slot or arpeggiator step: the
// position is base + n and the "#" in the name is the number n + 1.
struct SeriesRow
{
    const char* name;
    int base;
    int minimum, maximum, displayType;
    int nrpnOffset;
};

// Positions that hold no parameter of their own, or bytes with a range but no control.
struct Span
{
    int first, last;
    int minimum, maximum;
    const char* name;
};

// clang-format off
// ---- Oscillators 1..4: panel group 1; each oscillator owns 18 NRPN numbers from 18 x (n - 1).
constexpr int kOscillatorGroup = 1, kOscillatorNrpnStride = 18;
constexpr SeriesRow oscillatorRows[] = {
    // name           base  min  max  display  NRPN offset
    { "Pitch #",        0,   0,  120,   13,     0 },
    { "Fine #",         4,   0,  100,   22,     1 },
    { "Level #",        8,   0,  127,    0,     2 },
    { "Shape #",       12,   0,   19,   14,     3 },
    { "Wave L #",      16,   0,   11,   15,     5 },
    { "Wave R #",      20,   0,   11,   15,     6 },
    { "Shape Mod #",   28,   0,  127,   23,     4 },
    { "FM #",          32,   0,  255,    0,     7 },
    { "AM #",          36,   0,  255,    0,     8 },
    { "Slop #",        44,   0,  127,    0,     9 },
    { "Glide #",       48,   0,  127,    0,    10 },
    { "Sync #",        52,   0,    1,   12,    11 },
    { "Key On/Off #",  56,   0,    1,   12,    12 },
    { "Note Reset #",  60,   0,    1,   12,    13 },
};

// ---- Delays 1..4: panel group 7; NRPN 187 + 8 x (n - 1) + offset, the pans from 429.
constexpr int kDelayGroup = 7, kDelayNrpnBase = 187, kDelayNrpnStride = 8, kDelayPanNrpnBase = 429;
constexpr SeriesRow delayRows[] = {
    { "Dly # Time",     96,   0,  255,    0,     0 },
    { "Dly # Tm Sync", 100,   0,   11,    8,     1 },
    { "Dly # Amt",     104,   0,  127,    0,     3 },
    { "Dly # Feedbk",  108,   0,  127,    0,     4 },
    { "Dly # Sync",    112,   0,    1,   12,     2 },
    { "Dly # LP Freq", 116,   0,  127,    0,     5 },
    { "Dly # HP Freq", 120,   0,  127,    0,     6 },
    { "Dly # Filter",  124,   0,    1,   24,     7 },
};
constexpr SeriesRow delayPanRows[] = {
    { "Dly Pan #",     164,   0,  127,    0,     0 },
};

// ---- Low-frequency oscillators 1..4: panel group 8; NRPN 147 + 10 x (n - 1) + offset.
constexpr int kLfoGroup = 8, kLfoNrpnBase = 147, kLfoNrpnStride = 10;
constexpr SeriesRow lfoRows[] = {
    { "LFO # Freq",      128,  0,  255,    0,     0 },
    { "LFO # Freq Sync", 132,  0,   15,   10,     1 },
    { "LFO # Shape",     136,  0,    7,   11,     3 },
    { "LFO # Amount",    140,  0,  127,    0,     4 },
    { "LFO # Dest",      144,  0,  104,    7,     8 },
    { "LFO # Sync",      148,  0,    1,   12,     2 },
    { "LFO # Note Rst",  152,  0,    1,   12,     7 },
    { "LFO # Slew",      156,  0,  127,    0,     5 },
    { "LFO # Phase",     160,  0,  127,    0,     6 },
};

// ---- Modulation matrix slots 1..16: panel group 11; NRPN 219 + 4 x (k - 1) + offset.
constexpr int kModGroup = 11, kModNrpnBase = 219, kModNrpnStride = 4;
constexpr SeriesRow modRows[] = {
    { "Mod # Src",   206,  0,   27,   17,     0 },
    { "Mod # Amt",   222,  0,  254,   21,     1 },
    { "Mod # Dest",  238,  0,  104,    7,     2 },
};

// ---- Arpeggiator note memory, 32 steps: no panel and no NRPN, but automatable.
constexpr SeriesRow arpStepRows[] = {
    { "ArpNote #",   306, -1,  127,    0,     0 },
    { "ArpVel #",    338,  0,  127,    0,     0 },
};

// ---- Envelopes: e = 0 low-pass filter, 1 amplifier, 2 envelope 3, 3 envelope 4.
struct EnvelopeRow
{
    int base;
    const char* names[4];
    int minimum, maximum, displayType;
    int nrpnOffset;
};
constexpr int envelopeNrpnBlocks[4] = { 114, 103, 125, 136 };
constexpr int envelopeGroups[4] = { 3, 5, 9, 10 };
constexpr EnvelopeRow envelopeRows[] = {
    { 168, { "LPF Env Amt 1", "VCA Env Amt 2", "ENV3 Env Amt 3", "ENV4 Env Amt 4" }, 0, 254, 21, 0 },
    { 172, { "LPF Vel Amt 1", "VCA Vel Amt 2", "ENV3 Vel Amt 3", "ENV4 Vel Amt 4" }, 0, 127,  0, 1 },
    { 176, { "LPF Delay",     "VCA Delay",     "ENV3 Delay",     "ENV4 Delay"     }, 0, 127,  0, 2 },
    { 180, { "LPF Attack",    "VCA Attack",    "ENV3 Attack",    "ENV4 Attack"    }, 0, 127,  0, 3 },
    { 184, { "LPF Decay",     "VCA Decay",     "ENV3 Decay",     "ENV4 Decay"     }, 0, 127,  0, 4 },
    { 188, { "LPF Sustain",   "VCA Sustain",   "ENV3 Sustain",   "ENV4 Sustain"   }, 0, 127,  0, 5 },
    { 192, { "LPF Release",   "VCA Release",   "ENV3 Release",   "ENV4 Release"   }, 0, 127,  0, 6 },
    { 198, { "LPF Repeat",    "VCA Repeat",    "ENV3 Repeat",    "ENV4 Repeat"    }, 0,   1, 12, 7 },
};

// ---- Single parameters (applied after the series, so they also hold the exceptions).
constexpr Row singleRows[] = {
    // position  name                 min  max  display group NRPN
    {  40, "Osc 1 Sub",               0,  127,   0,  1,   72 },
    {  64, "",                        0,    0,   0,  0,   77 },
    {  72, "Glide Mode",              0,    3,   9,  1,   73 },
    {  73, "Glide On/Off",            0,    1,  12,  1,   74 },
    {  74, "P. B. Range Up",          0,   12,  16,  1,   75 },
    {  75, "P. B. Range Dn",          0,   24,  16,  1,   76 },
    {  76, "Air",                     0,  127,   0,  2,   80 },
    {  77, "Girth",                   0,  127,   0,  2,   81 },
    {  78, "Hack",                    0,  127,   0,  2,   82 },
    {  79, "Decimate",                0,  127,   0,  2,   83 },
    {  80, "Drive",                   0,  127,   0,  2,   84 },
    {  85, "LPF Freq",                0,  164,   0,  3,   90 },
    {  86, "LPF LFP Reson",           0,  127,   0,  3,   91 },
    {  87, "LPF Key Amt",             0,  127,   0,  3,   92 },
    {  88, "LPF 4 Pole",              0,    1,  12,  3,   93 },
    {  89, "HPF freq",                0,  127,   0,  4,   94 },
    {  90, "HPF Reson",               0,  127,   0,  4,   95 },
    {  91, "HPF Key Amt",             0,  127,   0,  4,   96 },
    {  92, "Pan Spread",              0,  127,   0,  5,  100 },
    {  93, "Voice Volume",            0,  127,   0,  5,   99 },
    {  94, "FeedBk Amount",           0,  254,  21,  6,   97 },
    {  95, "FeedBk Tune",             0,   48,   0,  6,   98 },
    { 169, "VCA Env Amt 2",           0,  127,   0,  5,  103 }, // the amplifier's amount is not bipolar
    { 196, "ENV3 Destination",        0,  104,   7,  9,  133 },
    { 197, "ENV4 Destination",        0,  104,   7, 10,  144 },
    { 254, "Distor Amt",              0,  127,   0, 12,  101 },
    { 256, "BPM",                    30,  250,   6, 14,  296 },
    { 257, "Unison ON",               0,    1,  12, 13,  283 },
    { 258, "Unis Detune",             0,  127,   0, 13,  284 },
    { 259, "Unis Mode",               0,    1,  20, 13,  285 },
    { 260, "Unis Key Ass.",           0,    5, 180, 13,  286 },
    { 294, "Arp Mode",                0,    4,   2, 14,  290 },
    { 295, "Arp Range",               0,    2,   3, 14,  291 },
    { 296, "Arp On/Off",              0,    1,  12, 14,  289 },
    { 297, "Arp Auto Latch",          0,    1,  12, 14,  294 },
    { 298, "Arp Clock Devide",        0,   10,   5, 14,  292 },
    { 299, "Arp Repeats",             0,    3,   4, 14,  293 },
    { 300, "Arp Lock Notes",          0,    1,  12, 14,  295 },
    { 301, "Lock Note Count",         0,    0,   0,  0, kNone },
    { 422, "",                       32,  120,   0,  0,  511 }, // both name bytes carry NRPN 511;
    { 423, "",                       32,  120,   0,  0,  511 }, // it maps back to 423
    { 424, "Split Point",             0,  120,  18, 15,  287 },
    { 425, "A B Mode",                0,    2,   1, 15,  288 },
};

// ---- Bytes without a parameter of their own.
constexpr Span spans[] = {
    {  24,  27,  0,   1, "" },
    {  41,  43,  0,   0, "" },
    {  64,  71,  0,   0, "" },
    {  81,  84,  0,   0, "" },
    { 202, 205,  0,   0, "rfu" },
    { 255, 255,  0,   0, "" },
    { 261, 293,  0,   0, "" },
    { 302, 305,  0,   0, "" },
    { 370, 401, 32, 120, "" }, // character-range bytes
    { 402, 421, 32, 120, "" }, // the layer's program name
    { 426, 511,  0,   0, "" }, // 426 is the program's category byte
};

// ---- The six values outside the program record.
constexpr Row performanceRows[] = {
    { 1024, "Program No.",  0, 791, 0, 20, kNone },
    { 1025, "Slider 1",     0, 127, 0,  0, kNone },
    { 1026, "Slider 2",     0, 127, 0,  0, kNone },
    { 1027, "Slider Press", 0, 127, 0,  0, kNone },
    { 1028, "SlidLatch 1",  0,   1, 0,  0, kNone },
    { 1029, "SlidLatch 2",  0,   1, 0,  0, kNone },
};

constexpr const char* panelGroupTitles[] = {
    "",
    "OSCILLATORS",
    "CHARACTER",
    "LOW PASS FILTER",
    "HIGH PASS FILTER",
    "VOLTAGE CONTROLLED AMPLIFIER",
    "FEEDBACK",
    "DELAY",
    "LOW FREQUENCY OSCILLATORS",
    "ENVELOPE 3",
    "ENVELOPE 4",
    "MODULATION",
    "DISTORTION",
    "UNISON",
    "ARPEGGIATOR",
    "AB MODE",
};
// clang-format on

juce::String numbered (const char* pattern, int number)
{
    return juce::String (pattern).replace ("#", juce::String (number));
}

template <typename Array>
auto lookup (const Array& array, int index) -> typename Array::value_type
{
    return index >= 0 && index < (int) array.size() ? array[(size_t) index] : typename Array::value_type {};
}
} // namespace

const ParameterTable& ParameterTable::get()
{
    static const ParameterTable table;
    return table;
}

ParameterTable::ParameterTable()
{
    nrpns.fill (kNoNrpn);

    auto setRow = [this] (int position, const juce::String& name, int minimum, int maximum, int displayType,
                          int panelGroup, int nrpn) {
        names[(size_t) position] = name;
        minima[(size_t) position] = (int16_t) minimum;
        maxima[(size_t) position] = (int16_t) maximum;
        displayTypes[(size_t) position] = (int16_t) displayType;
        panelGroups[(size_t) position] = (int16_t) panelGroup;
        nrpns[(size_t) position] = (int16_t) nrpn;
    };

    auto addSeries = [&] (const auto& rows, int count, int panelGroup, int nrpnBase, int nrpnStride) {
        for (const auto& row : rows)
            for (int n = 0; n < count; ++n)
                setRow (row.base + n, numbered (row.name, n + 1), row.minimum, row.maximum, row.displayType, panelGroup,
                        nrpnBase == kNone ? kNone : nrpnBase + nrpnStride * n + row.nrpnOffset);
    };

    // Layer A.
    for (const auto& span : spans)
        for (int p = span.first; p <= span.last; ++p)
            setRow (p, span.name, span.minimum, span.maximum, 0, 0, kNone);

    addSeries (oscillatorRows, 4, kOscillatorGroup, 0, kOscillatorNrpnStride);
    addSeries (delayRows, 4, kDelayGroup, kDelayNrpnBase, kDelayNrpnStride);
    addSeries (delayPanRows, 4, kDelayGroup, kDelayPanNrpnBase, 1);
    addSeries (lfoRows, 4, kLfoGroup, kLfoNrpnBase, kLfoNrpnStride);
    addSeries (modRows, 16, kModGroup, kModNrpnBase, kModNrpnStride);
    addSeries (arpStepRows, 32, 0, kNone, 0);

    for (const auto& row : envelopeRows)
        for (int e = 0; e < 4; ++e)
            setRow (row.base + e, row.names[e], row.minimum, row.maximum, row.displayType, envelopeGroups[e],
                    envelopeNrpnBlocks[e] + row.nrpnOffset);

    for (const auto& row : singleRows)
        setRow (row.position, row.name, row.minimum, row.maximum, row.displayType, row.panelGroup, row.nrpn);

    // Layer B repeats layer A 512 positions on; its NRPN numbers are 512 higher.
    for (int p = 0; p < kLayerSize; ++p)
    {
        const auto b = (size_t) (p + kLayerSize);
        minima[b] = minima[(size_t) p];
        maxima[b] = maxima[(size_t) p];
        displayTypes[b] = displayTypes[(size_t) p];
        panelGroups[b] = panelGroups[(size_t) p];
        nrpns[b] = nrpns[(size_t) p] == kNoNrpn ? kNoNrpn : (int16_t) (nrpns[(size_t) p] + kLayerSize);
    }

    for (const auto& row : performanceRows)
    {
        const auto p = (size_t) row.position;
        names[p - kLayerSize] = row.name;
        minima[p] = (int16_t) row.minimum;
        maxima[p] = (int16_t) row.maximum;
        displayTypes[p] = (int16_t) row.displayType;
        panelGroups[p] = (int16_t) row.panelGroup;
    }

    // Host automation: the named layer A parameters with a range, then their layer B twins except the
    // last two ("Split Point" and "A B Mode" exist once), then the six performance values.
    int index = 0;
    for (int p = 0; p < kLayerSize; ++p)
    {
        automationIndices[(size_t) p] = kNoAutomationA;
        automationIndices[(size_t) (p + kLayerSize)] = kNoAutomationB;
    }
    for (int p = 0; p < kLayerSize; ++p)
        if (names[(size_t) p].isNotEmpty() && maxima[(size_t) p] > 0)
            automationPositions[(size_t) index++] = p;
    jassert (index == kLayerAAutomation);
    for (int k = 0; k < kLayerBAutomation; ++k)
        automationPositions[(size_t) index++] = automationPositions[(size_t) k] + kLayerSize;
    for (int p = kProgramNumber; p < kNumPositions; ++p)
        automationPositions[(size_t) index++] = p;
    jassert (index == kNumAutomation);

    for (int i = 0; i < kNumAutomation; ++i)
        automationIndices[(size_t) automationPositions[(size_t) i]] = i;

    // NRPN to position: a later position wins, which is how NRPN 511 lands on 423.
    nrpnPositions.fill (kNoNrpn);
    for (int p = 0; p < kLayerSize; ++p)
        if (nrpns[(size_t) p] != kNoNrpn)
            nrpnPositions[(size_t) nrpns[(size_t) p]] = (int16_t) p;
    for (int n = 0; n < kLayerSize; ++n)
    {
        const auto a = nrpnPositions[(size_t) n];
        nrpnPositions[(size_t) (n + kLayerSize)] = a == kNoNrpn ? kNoNrpn : (int16_t) (a + kLayerSize);
    }
}

juce::String ParameterTable::name (int position) const
{
    if (position < 0 || position >= kNumPositions)
        return {};
    if (position < kProgramPositions)
        return names[(size_t) (position % kLayerSize)];
    return names[(size_t) (position - kLayerSize)];
}

int16_t ParameterTable::minimum (int position) const { return lookup (minima, position); }
int16_t ParameterTable::maximum (int position) const { return lookup (maxima, position); }
int16_t ParameterTable::displayType (int position) const { return lookup (displayTypes, position); }
int16_t ParameterTable::panelGroup (int position) const { return lookup (panelGroups, position); }
int16_t ParameterTable::nrpnOf (int position) const { return lookup (nrpns, position); }
int16_t ParameterTable::positionOfNrpn (int nrpn) const { return lookup (nrpnPositions, nrpn); }
int32_t ParameterTable::automationIndexOf (int position) const { return lookup (automationIndices, position); }
int32_t ParameterTable::positionOfAutomationIndex (int index) const { return lookup (automationPositions, index); }

juce::String ParameterTable::automationName (int index) const
{
    if (index < 0 || index >= kNumAutomation)
        return juce::String (index);

    const auto position = positionOfAutomationIndex (index);
    if (position < kLayerSize)
        return "A " + name (position);
    if (position < kProgramPositions)
        return "B " + name (position);
    return name (position);
}

juce::String ParameterTable::panelGroupTitle (int group)
{
    return group >= 0 && group < (int) std::size (panelGroupTitles) ? panelGroupTitles[group] : "";
}
