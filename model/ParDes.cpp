#include "model/ParDes.h"

namespace
{
template <size_t N>
juce::String fromList (const char* const (&list)[N], int value)
{
    return value >= 0 && value < (int) N ? juce::String (list[value]) : juce::String();
}

// clang-format off
constexpr const char* abModes[] = { "Normal", "Split A|B", "Stack A+B" };
constexpr const char* arpModes[] = { "Up", "Down", "Up + Down", "Assign", "Random" };
constexpr const char* arpRanges[] = { "1 Octave", "2 Octaves", "3 Octaves" };
constexpr const char* glideModes[] = { "FixRate", "FixRate A", "FixTime", "FixTime A" };
constexpr const char* onOff[] = { "OFF", "ON" };
constexpr const char* unisonModes[] = { "1 Voice", "All Voices" };
constexpr const char* delayFilters[] = { "Lowpass", "Highpass" };
constexpr const char* keyAssigns[] = { "Low Note", "Low Retrig", "High Note", "High Retrig", "Last Note", "Last Retrig" };

constexpr const char* clockDivisions[] = {
    "Half Note", "Quarter Note", "1/8", "1/8 Half Swing", "1/8 Full Swing", "1/8 Triplet", "1/16",
    "1/16 Half Swing", "1/16 Full Swing", "1/16 Triplet", "1/32", "32nd N", "32nd N T", "64th N T",
};

constexpr const char* delayTimeSyncs[] = {
    "64th", "32nd", "32nd.", "16th", "16th.", "8th", "8th.", "1/4", "Dotted 1/4.", "1/2", "1/2.", "Whole",
};

constexpr const char* lfoFreqSyncs[] = {
    "32nd Trip", "32nd", "16th Trip", "16th", "8th Trip", "8th ", "Qrtr Trip", "1 Qrtr",
    "Qrtr Dot", "1/2 Note", "3 Qrtr", "4 Qrtr", "6 Qrtr", "8 Qrtr", "16 Qrtr", "32 Qrtr",
};

constexpr const char* lfoShapes[] = {
    "Triangle", "Rev. Sawtooth", "Sawtooth", "Square", "Pulse 1", "Pulse 2", "Pulse 3", "Random",
};

constexpr const char* oscShapes[] = {
    "Off", "Sawtooth", "Pulse", "Triangle", "Sine", "Tines", "Mellow", "Church", "Muted", "Nasal",
    "Boing", "Gothic", "Ahhh", "Shrill", "Ohhhh", "Buzzzz", "Meh", "Red Noise", "White Noise", "Violet Noise",
};

constexpr const char* waves[] = {
    "Tines", "Mellow", "Church", "Muted", "Nasal", "Boing", "Gothic", "Ahhh", "Shrill", "Ohhhh", "Buzzzz", "Meh",
};

constexpr const char* modSources[] = {
    "Off", "Osc 1", "Osc 2", "Osc 3", "Osc 4", "LFO 1", "LFO 2", "LFO 3", "LFO 4",
    "Lowpass Env", "VCA Env", "Env 3", "Env 4", "Pitchbend", "Mod Wheel",
    "Slider 1 Pos.", "Slider 2 Pos.", "Slider 1 Press.", "Slider 2 Press.", "Aftertouch",
    "CC#2 Breath", "CC#2 Foot Pedal", "CC#2 Expression", "Velocity", "Note Number", "Random", "DC", "Audio Out",
};

constexpr const char* categories[] = {
    "- Not Assigned -", "Keys", "Organs", "Strings", "Soft Lead", "Bright Lead", "Res Lead", "Sync",
    "Soft Bass", "Bright Bass", "Res Bass", "Sub Bass", "Brass", "Instruments", "Evolution", "Motion",
    "Synth", "Vox", "Bells", "Harmonics", "Sequence", "Percussion", "Noise", "Sound FX", "Pads", "Arpeggiator",
};

constexpr const char* noteNames[] = { "C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B" };

// The destination list is built from runs: a fixed name, or a pattern whose "#" counts from a start.
struct DestinationRun
{
    const char* pattern;
    int first, count;
};

constexpr DestinationRun destinationRuns[] = {
    { "Off", 0, 1 },
    { "Osc # Freq", 1, 4 },       { "Osc All Freq", 0, 1 },
    { "Osc # Level", 1, 4 },
    { "Osc # Shape Mod", 1, 4 },  { "Osc All Shape Mod", 0, 1 },
    { "Sub Osc Level", 0, 1 },
    { "Osc # FM", 1, 4 },         { "Osc All FM", 0, 1 },
    { "Osc # AM", 1, 4 },         { "Osc All AM", 0, 1 },
    { "Osc # Slop", 1, 4 },       { "Osc All Slop", 0, 1 },
    { "Air", 0, 1 }, { "Girth", 0, 1 }, { "Hack", 0, 1 }, { "Decimate", 0, 1 }, { "Drive", 0, 1 },
    { "LPF Cutoff", 0, 1 }, { "LPF Resonance", 0, 1 }, { "HPF Cutoff", 0, 1 }, { "HPF Resonance", 0, 1 },
    { "VCA", 0, 1 }, { "Pan", 0, 1 }, { "Pan Spread", 0, 1 },
    { "Feedback Amount", 0, 1 }, { "Feedback Tuning", 0, 1 },
    { "Delay # Amount", 1, 4 },
    { "Delay # Time", 1, 4 },     { "Delay All Time", 0, 1 },
    { "Delay # Feedback", 1, 4 },
    { "Delay # Pan", 1, 4 },
    { "LFO # Freq", 1, 4 },
    { "LFO # Amount", 1, 4 },
    { "LPF Env Amount", 0, 1 }, { "Amp Env Amount", 0, 1 }, { "Env 3 Amount", 0, 1 }, { "Env 4 Amount", 0, 1 },
    { "LPF Env Attack", 0, 1 }, { "Amp Env Attack", 0, 1 }, { "Env 3 Attack", 0, 1 }, { "Env 4 Attack", 0, 1 },
    { "All Env Attack", 0, 1 },
    { "LPF Env Decay", 0, 1 }, { "Amp Env Decay", 0, 1 }, { "Env 3 Decay", 0, 1 }, { "Env 4 Decay", 0, 1 },
    { "All Env Decay", 0, 1 },
    { "LPF Env Release", 0, 1 }, { "Amp Env Release", 0, 1 }, { "Env 3 Release", 0, 1 }, { "Env 4 Release", 0, 1 },
    { "All Env Release", 0, 1 },
    { "Mod # Amount", 1, 16 },
};
// clang-format on

constexpr int kNumDestinations = 105;

const juce::StringArray& destinations()
{
    static const juce::StringArray list = [] {
        juce::StringArray result;
        for (const auto& run : destinationRuns)
            for (int i = 0; i < run.count; ++i)
                result.add (juce::String (run.pattern).replace ("#", juce::String (run.first + i)));
        jassert (result.size() == kNumDestinations);
        return result;
    }();
    return list;
}

juce::String bendRangeText (int value)
{
    if (value == 0)
        return "OFF";
    if (value == 12)
        return "1 Octave";
    if (value == 24)
        return "2 Octaves";
    if (value > 0 && value < 24)
        return juce::String (value) + " Semitones";
    return {};
}
} // namespace

juce::String ParDes::noteName (int value)
{
    if (value < 0)
        return {};
    return juce::String (noteNames[value % 12]) + juce::String (value / 12);
}

juce::String ParDes::categoryText (int category) { return fromList (categories, category); }

juce::String ParDes::valueText (int displayType, int value)
{
    switch (displayType)
    {
        case kDecimal: return juce::String (value);
        case kABMode: return fromList (abModes, value);
        case kArpMode: return fromList (arpModes, value);
        case kArpRange: return fromList (arpRanges, value);
        case kArpRepeats: return value >= 0 && value <= 3 ? juce::String (value) : juce::String();
        case kClockDivision: return fromList (clockDivisions, value);
        case kBpm: return juce::String (value) + " bpm";
        case kDestination: return destinations()[value];
        case kDelayTimeSync: return fromList (delayTimeSyncs, value);
        case kGlideMode: return fromList (glideModes, value);
        case kLfoFreqSync: return fromList (lfoFreqSyncs, value);
        case kLfoShape: return fromList (lfoShapes, value);
        case kOnOff: return fromList (onOff, value);
        case kNote:
        case kSplitNote: return noteName (value);
        case kOscShape: return fromList (oscShapes, value);
        case kWave: return fromList (waves, value);
        case kBendRange: return bendRangeText (value);
        case kModSource: return fromList (modSources, value);
        case kUnisonMode: return fromList (unisonModes, value);
        case kBipolar127: return juce::String (value - 127);
        case kBipolar50: return juce::String (value - 50);
        case kBipolar64: return juce::String (value - 64);
        case kDelayFilter: return fromList (delayFilters, value);
        case kKeyAssign: return fromList (keyAssigns, value);
        default: return {};
    }
}

std::vector<ParDes::MenuItem> ParDes::valueMenuItems (int displayType, int highestValue)
{
    std::vector<MenuItem> items;
    for (int v = 0; v <= highestValue; ++v)
    {
        auto text = valueText (displayType, v);
        if (text != "*/*")
            items.push_back ({ v + 1, std::move (text) });
    }
    return items;
}
