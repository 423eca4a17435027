#include "model/GlobalSettings.h"

#include <vector>

namespace GlobalSettings
{
namespace
{
// How a value reads: its number (less an offset), a list (other values as numbers), or a list
// whose listed range ends in empty texts.
enum class Rule
{
    number,
    list,
    channel
};

struct Row
{
    const char* label;
    int maximum;
    Rule rule;
    int offset;                     // number rule: value - offset
    std::vector<const char*> texts; // list rule
    int emptyFrom = 1, emptyTo = 0; // values shown as an empty text (none unless given)
};

const std::vector<Row>& rows()
{
    // clang-format off
    static const std::vector<Row> table = {
        // label                        max  rule           offset texts
        { "Coarse",                     24, Rule::number,  12, {} },
        { "Fine",                       100, Rule::number, 50, {} },
        { "MIDI Channel:",              16, Rule::channel,  0, {} },
        { "MIDI Clock Mode",            3,  Rule::list,     0, { "Internal", "Intr with send", "External", "Ext with send" } },
        { "MIDI Clock Cable",           2,  Rule::list,     0, { "MIDI port", "USB" } },
        { "MIDI Param Send",            2,  Rule::list,     0, { "NRPN", "CC", "OFF" } },
        { "MIDI Param Recv.",           3,  Rule::list,     0, { "All", "NRPN only", "CC only", "OFF" } },
        { "MIDI Controller Enable",     1,  Rule::number,   0, {} },
        { "MIDI SysEx Enable",          1,  Rule::number,   0, {} },
        { "MIDI SysEx Cable",           2,  Rule::list,     0, { "NONE", "MIDI Port", "USB" } },
        { "MIDI Out Select",            3,  Rule::list,     0, { "OFF", "MIDI", "USB", "MIDI/USB" } },
        { "Local Control",              1,  Rule::number,   0, {} },
        { "Audio Output",               1,  Rule::list,     0, { "Stereo", "Mono" } },
        { "Pot Mode",                   2,  Rule::list,     0, { "Relative", "Pass Thru", "Jump" } },
        { "Sustain Polarity",           1,  Rule::list,     0, { "Normally Open", "Normally Closed" } },
        { "Sustain Mode",               1,  Rule::list,     0, { "Sustain", "Arp Hold On/Off" } },
        { "Pedal 1 Mode",               5,  Rule::list,     0, { "Breath CC#2", "Foot Cnt CC#4", "Expression CC#11", "Master Volume",
                                                                 "LP Filter", "LP Filter Half" } },
        { "Pedal 2 Mode",               5,  Rule::number,   0, {} },
        { "Pressure Enable",            1,  Rule::number,   0, {} },
        { "Pressure Curve",             3,  Rule::list,     0, { "Curve 1", "Curve 2", "Curve 3", "Curve 4" } },
        { "Velocity Curve",             3,  Rule::list,     0, { "Curve 1", "Curve 2", "Curve 3", "Curve 4" } },
        { "",                           1,  Rule::number,   0, {} },
        { "Screen Server",              1,  Rule::number,   0, {} },
        { "MIDI Arp Notes",             1,  Rule::number,   0, {} },
        { "",                           1,  Rule::number,   0, {} },
        { "Alt. Tuning Scale:",         16, Rule::list,     0,
          { "1. 12-Tone Equal Temp", "2. Harmonic Series", "3. Carlos Harmonic Twelve Tone",
            "4. Meantone Temperament", "5. 1/4-Tone Equal Temp", "6. 19-Tone Equal Temp", "7. 31-Tone Equal Temp",
            "8. Pythagorean C", "9. Just Inton in A with 7-limit Tritone at D#", "10. 3-5 Lattice in A",
            "11. 3-7 Lattice in A", "12. Other Music 7-Limit Black Keys in C", "13. Dan Schmidt Pelog/Slendro",
            "14. Yamaha Just Major C", "15. Yamaha Just Minor C", "16. Partch 11-Limit 43-Note Just Inton",
            "17. Arabic 12-Tone" },
          17, 19 },
    };
    // clang-format on
    jassert ((int) table.size() == kCount);
    return table;
}

const Row* rowOf (int index) { return juce::isPositiveAndBelow (index, kCount) ? &rows()[(size_t) index] : nullptr; }
} // namespace

juce::String label (int index)
{
    const auto* row = rowOf (index);
    return row != nullptr ? row->label : "";
}

int maximum (int index)
{
    const auto* row = rowOf (index);
    return row != nullptr ? row->maximum : 0;
}

juce::String valueText (int index, int value)
{
    const auto* row = rowOf (index);
    if (row == nullptr)
        return juce::String (value);

    if (value >= row->emptyFrom && value <= row->emptyTo)
        return {};

    switch (row->rule)
    {
        case Rule::number: return juce::String (value - row->offset);
        case Rule::channel:
            if (value == 0)
                return "ALL CHANNELS";
            if (value >= 1 && value <= 16)
                return "CHANNEL " + juce::String (value);
            return value > 16 ? juce::String() : juce::String (value);
        case Rule::list:
            if (juce::isPositiveAndBelow (value, (int) row->texts.size()))
                return row->texts[(size_t) value];
            return juce::String (value);
    }
    return {};
}
} // namespace GlobalSettings
