// Composes the plug-in's own built-in sounds: the "Basic Program" that every new program starts from
// and four factory banks of 99 programs. Every program is built from the parameter table by name,
// from one voice per category (keys, organs, strings, leads, basses ...) shaped by one of sixteen
// variations that its name describes ("Warm Keys", "Slow Pad", "Wobbly Res Bass" ...).
//
// The generator is deterministic: the same source always writes the same bytes.
//
//   OstrelFactoryGen <output folder>
// writes FactoryBanks.bin (405,876 bytes) and BasicProgram.syx (1178 bytes).

#include "model/AtomicFile.h"
#include "model/ParameterTable.h"
#include "model/ProgramDump.h"

#include <map>
#include <set>

namespace
{
using Record = ProgramDump::Record;

// Modulation sources and destinations by their value in the instrument's lists.
namespace Src
{
constexpr int lfo1 = 5, lfo2 = 6, env3 = 11, env4 = 12, modWheel = 14, slider1 = 15, aftertouch = 19, velocity = 23,
              noteNumber = 24, random = 25;
}
namespace Dest
{
constexpr int osc1Freq = 1, osc2Freq = 2, oscAllFreq = 5, osc2Level = 7, osc1ShapeMod = 10, oscAllShapeMod = 14,
              osc2Fm = 17, oscAllFm = 20, oscAllAm = 25, air = 31, hack = 33, lpfCutoff = 36, lpfResonance = 37,
              vca = 40, pan = 41, feedbackAmount = 43, delay1Amount = 45, delayAllTime = 53, lfo1Amount = 66;
}
namespace Shape
{
constexpr int off = 0, saw = 1, pulse = 2, triangle = 3, sine = 4, tines = 5, mellow = 6, church = 7, muted = 8,
              nasal = 9, boing = 10, gothic = 11, ahhh = 12, shrill = 13, ohhhh = 14, buzzzz = 15, meh = 16,
              redNoise = 17, whiteNoise = 18, violetNoise = 19;
}
namespace LfoShape
{
constexpr int triangle = 0, sawtooth = 2, square = 3, random = 7;
}

constexpr int kC2 = 24, kC3 = 36;

// Small deterministic generator, so the output never depends on a library's random numbers.
class Dice
{
public:
    explicit Dice (uint32_t seed) : state (seed * 2654435761u + 0x9E3779B9u) {}

    int between (int low, int high)
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return low + (int) (state % (uint32_t) (high - low + 1));
    }

private:
    uint32_t state;
};

class Patch
{
public:
    // Layer A by name; values are clamped to the parameter's range.
    void set (const juce::String& name, int value) { setAt (positionOf (name), value); }
    void set (const char* pattern, int n, int value)
    {
        set (juce::String (pattern).replace ("#", juce::String (n)), value);
    }
    int get (const juce::String& name) const { return valueAt (positionOf (name)); }
    void add (const juce::String& name, int delta) { set (name, get (name) + delta); }

    // Bipolar amounts are stored with 127 as zero.
    void setAmount (const juce::String& name, int amount) { set (name, amount + 127); }

    void osc (int n, int shape, int pitch, int level)
    {
        set ("Shape #", n, shape);
        set ("Pitch #", n, pitch);
        set ("Level #", n, level);
    }

    void envelope (int e, int amount, int velocity, int attack, int decay, int sustain, int release)
    {
        static const char* prefixes[] = { "LPF", "VCA", "ENV3", "ENV4" };
        static const char* amounts[] = { "LPF Env Amt 1", "VCA Env Amt 2", "ENV3 Env Amt 3", "ENV4 Env Amt 4" };
        static const char* velocities[] = { "LPF Vel Amt 1", "VCA Vel Amt 2", "ENV3 Vel Amt 3", "ENV4 Vel Amt 4" };
        const juce::String prefix (prefixes[e]);
        if (e == 1)
            set (amounts[e], amount);
        else
            setAmount (amounts[e], amount);
        set (velocities[e], velocity);
        set (prefix + " Attack", attack);
        set (prefix + " Decay", decay);
        set (prefix + " Sustain", sustain);
        set (prefix + " Release", release);
    }

    void lfo (int n, int shape, int frequency, int amount, int destination)
    {
        set ("LFO # Shape", n, shape);
        set ("LFO # Freq", n, frequency);
        set ("LFO # Amount", n, amount);
        set ("LFO # Dest", n, destination);
    }

    // Routes a source to a destination in the first free slot of the matrix.
    void modulate (int source, int amount, int destination)
    {
        for (int k = 1; k <= 16; ++k)
        {
            if (get ("Mod " + juce::String (k) + " Src") != 0)
                continue;
            set ("Mod # Src", k, source);
            setAmount ("Mod " + juce::String (k) + " Amt", amount);
            set ("Mod # Dest", k, destination);
            return;
        }
    }

    void delay (int amount, int syncedTime, int feedback)
    {
        set ("Dly 1 Amt", amount);
        set ("Dly 1 Sync", 1);
        set ("Dly 1 Tm Sync", syncedTime);
        set ("Dly 1 Feedbk", feedback);
        set ("Dly 1 LP Freq", 90);
    }

    // Layer B starts as a copy of layer A, so switching layers shows the same sound.
    void copyLayerAToB()
    {
        std::copy (record.begin(), record.begin() + ProgramDump::kLayerBytes,
                   record.begin() + ProgramDump::kLayerBytes);
    }

    void setB (const juce::String& name, int value) { setAt (positionOf (name) + ParameterTable::kLayerSize, value); }
    int getB (const juce::String& name) const { return valueAt (positionOf (name) + ParameterTable::kLayerSize); }

    void nameAndCategory (const juce::String& name, int category)
    {
        ProgramDump::writeName (record.data(), name);
        ProgramDump::writeName (record.data() + ProgramDump::kLayerBytes, name);
        record[ProgramDump::kCategoryOffset] = (uint8_t) category;
        record[ProgramDump::kCategoryOffset + ProgramDump::kLayerBytes] = (uint8_t) category;
    }

    Record record {};

private:
    int positionOf (const juce::String& name) const
    {
        const auto& positions = positionsByName();
        const auto found = positions.find (name);
        if (found == positions.end())
        {
            std::fprintf (stderr, "unknown parameter \"%s\"\n", name.toRawUTF8());
            std::exit (1);
        }
        return found->second;
    }

    void setAt (int position, int value)
    {
        const auto& table = ParameterTable::get();
        record[(size_t) position] =
            (uint8_t) juce::jlimit ((int) table.minimum (position), (int) table.maximum (position), value);
    }

    int valueAt (int position) const
    {
        const auto& table = ParameterTable::get();
        const int raw = record[(size_t) position];
        return table.minimum (position) < 0 && raw > table.maximum (position) ? raw - 256 : raw;
    }

    // Layer A positions by parameter name, built once for every program.
    static const std::map<juce::String, int>& positionsByName()
    {
        static const auto map = [] {
            std::map<juce::String, int> byName;
            const auto& table = ParameterTable::get();
            for (int p = 0; p < ParameterTable::kLayerSize; ++p)
                if (table.name (p).isNotEmpty())
                    byName.emplace (table.name (p), p);
            return byName;
        }();
        return map;
    }
};

// The starting point of every sound: one sawtooth through an open filter, keyboard tracking on,
// a plain gate on the amplifier, both layers alike.
Patch basicPatch()
{
    Patch p;
    auto& r = p.record;

    // Bytes that carry text or no parameter at all start as blanks and zeros.
    for (int i = 370; i < 424; ++i)
        r[(size_t) i] = ' ';

    for (int n = 1; n <= 4; ++n)
    {
        p.osc (n, Shape::saw, kC3, n == 1 ? 127 : 0);
        p.set ("Fine #", n, 50);
        p.set ("Shape Mod #", n, 64);
        p.set ("Key On/Off #", n, 1);
        p.set ("Slop #", n, 8);
        p.set ("Wave L #", n, n - 1);
        p.set ("Wave R #", n, n + 3);
    }
    p.set ("P. B. Range Up", 2);
    p.set ("P. B. Range Dn", 2);
    p.set ("LPF Freq", 164);
    p.set ("LPF Key Amt", 64);
    p.set ("LPF 4 Pole", 1);
    p.set ("Voice Volume", 110);
    p.set ("Pan Spread", 20);
    p.setAmount ("FeedBk Amount", 0);
    p.set ("FeedBk Tune", 24);

    for (int n = 1; n <= 4; ++n)
    {
        p.set ("Dly # Time", n, 100);
        p.set ("Dly # Tm Sync", n, 7);
        p.set ("Dly # Feedbk", n, 40);
        p.set ("Dly # LP Freq", n, 127);
        p.set ("Dly Pan #", n, 64);
        p.lfo (n, LfoShape::triangle, 60, 0, 0);
        p.set ("LFO # Freq Sync", n, 7);
    }

    p.envelope (0, 0, 0, 0, 0, 0, 0);
    p.envelope (1, 127, 40, 0, 0, 127, 20);
    p.envelope (2, 0, 0, 0, 60, 0, 40);
    p.envelope (3, 0, 0, 0, 60, 0, 40);
    for (int k = 1; k <= 16; ++k)
        p.setAmount ("Mod " + juce::String (k) + " Amt", 0);

    p.set ("BPM", 120);
    p.set ("Unis Detune", 25);
    p.set ("Unis Key Ass.", 4);
    p.set ("Arp Clock Devide", 6);
    for (int s = 1; s <= 32; ++s)
    {
        p.set ("ArpNote #", s, -1); // an empty step
        p.set ("ArpVel #", s, 100);
    }
    p.set ("Split Point", 60);
    p.set ("A B Mode", 0);

    p.copyLayerAToB();
    p.nameAndCategory ("Basic Program", 0);
    return p;
}

// ---- One voice per category. -------------------------------------------------------------------

void keys (Patch& p)
{
    p.osc (1, Shape::tines, kC3, 120);
    p.osc (2, Shape::sine, kC3 + 12, 70);
    p.set ("LPF Freq", 110);
    p.set ("LPF Key Amt", 80);
    p.envelope (0, 40, 60, 0, 55, 30, 40);
    p.envelope (1, 127, 80, 0, 70, 40, 45);
    p.lfo (1, LfoShape::triangle, 90, 0, Dest::pan);
    p.modulate (Src::lfo1, 40, Dest::pan);
    p.modulate (Src::modWheel, 50, Dest::lfo1Amount);
}

void organ (Patch& p)
{
    p.osc (1, Shape::church, kC3, 110);
    p.osc (2, Shape::sine, kC3 + 12, 80);
    p.osc (3, Shape::sine, kC3 + 19, 50);
    p.osc (4, Shape::sine, kC3 - 12, 60);
    p.set ("LPF Freq", 140);
    p.set ("LPF Key Amt", 127);
    p.envelope (1, 127, 0, 0, 0, 127, 8);
    p.lfo (1, LfoShape::triangle, 110, 0, Dest::oscAllFreq);
    p.modulate (Src::modWheel, 12, Dest::oscAllFreq);
    p.set ("Drive", 20);
}

void strings (Patch& p)
{
    p.osc (1, Shape::saw, kC3, 110);
    p.osc (2, Shape::saw, kC3, 110);
    p.set ("Fine 1", 44);
    p.set ("Fine 2", 56);
    p.set ("LPF Freq", 105);
    p.set ("LPF LFP Reson", 20);
    p.set ("LPF 4 Pole", 0);
    p.envelope (0, 25, 30, 45, 60, 90, 70);
    p.envelope (1, 127, 30, 50, 60, 120, 75);
    p.lfo (1, LfoShape::triangle, 70, 10, Dest::oscAllShapeMod);
    p.modulate (Src::aftertouch, 30, Dest::lpfCutoff);
    p.set ("HPF freq", 15);
}

void softLead (Patch& p)
{
    p.osc (1, Shape::triangle, kC3, 120);
    p.osc (2, Shape::sine, kC3 + 12, 50);
    p.set ("Glide On/Off", 1);
    p.set ("Glide 1", 20);
    p.set ("Glide 2", 20);
    p.set ("LPF Freq", 95);
    p.envelope (0, 20, 40, 5, 50, 80, 30);
    p.envelope (1, 127, 50, 6, 40, 120, 30);
    p.lfo (1, LfoShape::triangle, 105, 0, Dest::oscAllFreq);
    p.modulate (Src::modWheel, 20, Dest::oscAllFreq);
    p.delay (35, 6, 45);
}

void brightLead (Patch& p)
{
    p.osc (1, Shape::saw, kC3, 120);
    p.osc (2, Shape::pulse, kC3 + 12, 90);
    p.set ("Fine 2", 53);
    p.set ("LPF Freq", 135);
    p.set ("LPF LFP Reson", 35);
    p.set ("Drive", 40);
    p.set ("Distor Amt", 20);
    p.envelope (0, 35, 50, 0, 50, 70, 30);
    p.envelope (1, 127, 40, 0, 30, 120, 25);
    p.modulate (Src::modWheel, 25, Dest::oscAllFreq);
    p.lfo (1, LfoShape::triangle, 110, 0, Dest::oscAllFreq);
}

void resLead (Patch& p)
{
    p.osc (1, Shape::saw, kC3, 127);
    p.osc (2, Shape::saw, kC3 - 12, 70);
    p.set ("LPF Freq", 70);
    p.set ("LPF LFP Reson", 100);
    p.envelope (0, 70, 60, 0, 45, 40, 30);
    p.envelope (1, 127, 40, 0, 40, 115, 30);
    p.modulate (Src::modWheel, 45, Dest::lpfCutoff);
}

void syncLead (Patch& p)
{
    p.osc (1, Shape::saw, kC3, 100);
    p.osc (2, Shape::saw, kC3 + 19, 120);
    p.set ("Sync 2", 1);
    p.set ("LPF Freq", 125);
    p.envelope (0, 25, 40, 0, 60, 60, 30);
    p.envelope (1, 127, 40, 0, 40, 115, 30);
    p.envelope (2, 80, 30, 0, 55, 20, 40);
    p.set ("ENV3 Destination", Dest::osc2Freq);
    p.modulate (Src::modWheel, 60, Dest::osc2Freq);
}

void softBass (Patch& p)
{
    p.osc (1, Shape::triangle, kC2, 127);
    p.osc (2, Shape::sine, kC2 - 12, 90);
    p.set ("LPF Freq", 65);
    p.set ("LPF Key Amt", 40);
    p.envelope (0, 30, 50, 0, 45, 20, 20);
    p.envelope (1, 127, 50, 0, 60, 100, 15);
    p.set ("Girth", 40);
}

void brightBass (Patch& p)
{
    p.osc (1, Shape::saw, kC2, 127);
    p.osc (2, Shape::pulse, kC2, 100);
    p.set ("Fine 2", 53);
    p.set ("LPF Freq", 90);
    p.set ("LPF LFP Reson", 25);
    p.envelope (0, 50, 60, 0, 40, 30, 20);
    p.envelope (1, 127, 40, 0, 50, 110, 15);
    p.set ("Drive", 30);
}

void resBass (Patch& p)
{
    p.osc (1, Shape::saw, kC2, 127);
    p.set ("LPF Freq", 45);
    p.set ("LPF LFP Reson", 95);
    p.envelope (0, 75, 70, 0, 35, 10, 20);
    p.envelope (1, 127, 50, 0, 45, 100, 12);
    p.set ("Glide 1", 15);
    p.set ("Glide On/Off", 1);
    p.set ("Glide Mode", 1);
}

void subBass (Patch& p)
{
    p.osc (1, Shape::sine, kC2 - 12, 127);
    p.osc (2, Shape::triangle, kC2, 60);
    p.set ("Osc 1 Sub", 100);
    p.set ("LPF Freq", 55);
    p.envelope (1, 127, 30, 0, 0, 127, 12);
    p.set ("Unison ON", 1);
    p.set ("Unis Detune", 6);
    p.set ("Unis Mode", 0);
}

void brass (Patch& p)
{
    p.osc (1, Shape::saw, kC3, 120);
    p.osc (2, Shape::saw, kC3, 110);
    p.set ("Fine 1", 47);
    p.set ("Fine 2", 53);
    p.set ("LPF Freq", 80);
    p.set ("LPF LFP Reson", 15);
    p.envelope (0, 55, 60, 18, 55, 70, 30);
    p.envelope (1, 127, 50, 10, 50, 115, 30);
    p.modulate (Src::velocity, 30, Dest::lpfCutoff);
    p.modulate (Src::aftertouch, 10, Dest::oscAllFreq);
}

void pluck (Patch& p)
{
    p.osc (1, Shape::nasal, kC3, 120);
    p.osc (2, Shape::muted, kC3 + 12, 80);
    p.set ("LPF Freq", 95);
    p.set ("LPF Key Amt", 90);
    p.envelope (0, 60, 70, 0, 40, 0, 40);
    p.envelope (1, 127, 80, 0, 55, 0, 50);
    p.set ("Air", 40);
}

void morph (Patch& p)
{
    p.osc (1, Shape::gothic, kC3, 115);
    p.osc (2, Shape::ohhhh, kC3 + 7, 80);
    p.set ("LPF Freq", 100);
    p.envelope (0, 30, 20, 70, 90, 80, 90);
    p.envelope (1, 127, 20, 80, 80, 120, 90);
    p.lfo (1, LfoShape::triangle, 20, 70, Dest::oscAllShapeMod);
    p.lfo (2, LfoShape::triangle, 12, 40, Dest::lpfCutoff);
    p.envelope (2, 60, 0, 100, 110, 0, 100);
    p.set ("ENV3 Destination", Dest::osc2Level);
    p.delay (40, 7, 60);
}

void motion (Patch& p)
{
    p.osc (1, Shape::saw, kC3, 120);
    p.osc (2, Shape::pulse, kC3 - 12, 90);
    p.set ("LPF Freq", 75);
    p.set ("LPF LFP Reson", 60);
    p.envelope (1, 127, 40, 5, 50, 120, 40);
    p.lfo (1, LfoShape::square, 100, 60, Dest::lpfCutoff);
    p.set ("LFO 1 Sync", 1);
    p.set ("LFO 1 Freq Sync", 3);
    p.lfo (2, LfoShape::triangle, 30, 30, Dest::pan);
    p.delay (45, 5, 55);
}

void poly (Patch& p)
{
    p.osc (1, Shape::saw, kC3, 115);
    p.osc (2, Shape::saw, kC3, 115);
    p.set ("Fine 2", 54);
    p.set ("LPF Freq", 100);
    p.set ("LPF LFP Reson", 20);
    p.envelope (0, 35, 50, 0, 60, 50, 40);
    p.envelope (1, 127, 50, 0, 60, 110, 40);
    p.modulate (Src::modWheel, 40, Dest::lpfCutoff);
}

void choir (Patch& p)
{
    p.osc (1, Shape::ahhh, kC3, 120);
    p.osc (2, Shape::ohhhh, kC3, 100);
    p.set ("Fine 2", 54);
    p.set ("LPF Freq", 115);
    p.envelope (1, 127, 30, 40, 60, 115, 70);
    p.lfo (1, LfoShape::triangle, 100, 8, Dest::oscAllFreq);
    p.modulate (Src::modWheel, 30, Dest::oscAllShapeMod);
    p.set ("Air", 50);
}

void bells (Patch& p)
{
    p.osc (1, Shape::sine, kC3 + 12, 120);
    p.osc (2, Shape::church, kC3 + 31, 70);
    p.set ("FM 1", 60);
    p.set ("LPF Freq", 150);
    p.envelope (1, 127, 80, 0, 100, 0, 100);
    p.envelope (2, 90, 60, 0, 70, 0, 70);
    p.set ("ENV3 Destination", Dest::oscAllFm);
    p.delay (30, 7, 50);
}

void partials (Patch& p)
{
    p.osc (1, Shape::shrill, kC3, 110);
    p.osc (2, Shape::gothic, kC3 + 12, 90);
    p.set ("Shape Mod 1", 90);
    p.set ("LPF Freq", 130);
    p.envelope (1, 127, 40, 20, 70, 110, 60);
    p.lfo (1, LfoShape::triangle, 40, 80, Dest::oscAllShapeMod);
    p.modulate (Src::slider1, 80, Dest::osc1ShapeMod);
}

void sequence (Patch& p)
{
    p.osc (1, Shape::saw, kC3, 120);
    p.osc (2, Shape::pulse, kC3 + 12, 60);
    p.set ("LPF Freq", 85);
    p.set ("LPF LFP Reson", 50);
    p.envelope (0, 50, 60, 0, 30, 0, 20);
    p.envelope (1, 127, 60, 0, 35, 0, 25);
    p.set ("Arp On/Off", 1);
    p.set ("Arp Mode", 0);
    p.set ("Arp Clock Devide", 6);
    p.set ("Arp Range", 1);
    p.delay (40, 5, 50);
}

void percussion (Patch& p)
{
    p.osc (1, Shape::sine, kC2, 127);
    p.osc (2, Shape::whiteNoise, kC3, 60);
    p.set ("Key On/Off 1", 0);
    p.set ("LPF Freq", 110);
    p.envelope (0, 40, 80, 0, 25, 0, 20);
    p.envelope (1, 127, 90, 0, 30, 0, 28);
    p.envelope (2, 90, 0, 0, 18, 0, 18);
    p.set ("ENV3 Destination", Dest::osc1Freq);
}

void noise (Patch& p)
{
    p.osc (1, Shape::whiteNoise, kC3, 120);
    p.osc (2, Shape::redNoise, kC3, 80);
    p.set ("LPF Freq", 80);
    p.set ("LPF LFP Reson", 90);
    p.envelope (1, 127, 30, 30, 60, 110, 70);
    p.lfo (1, LfoShape::triangle, 25, 70, Dest::lpfCutoff);
    p.modulate (Src::noteNumber, 60, Dest::lpfCutoff);
}

void soundFx (Patch& p)
{
    p.osc (1, Shape::buzzzz, kC3, 110);
    p.osc (2, Shape::violetNoise, kC3 + 24, 50);
    p.set ("FM 1", 120);
    p.set ("LPF Freq", 120);
    p.setAmount ("FeedBk Amount", 60);
    p.envelope (1, 127, 30, 10, 90, 80, 90);
    p.lfo (1, LfoShape::random, 140, 70, Dest::oscAllFreq);
    p.modulate (Src::random, 40, Dest::feedbackAmount);
    p.delay (55, 4, 80);
}

void pad (Patch& p)
{
    p.osc (1, Shape::saw, kC3, 110);
    p.osc (2, Shape::mellow, kC3, 100);
    p.osc (3, Shape::sine, kC3 - 12, 60);
    p.set ("Fine 1", 46);
    p.set ("Fine 2", 54);
    p.set ("LPF Freq", 95);
    p.set ("LPF LFP Reson", 25);
    p.envelope (0, 30, 20, 80, 90, 90, 90);
    p.envelope (1, 127, 20, 85, 80, 120, 95);
    p.lfo (1, LfoShape::triangle, 25, 25, Dest::oscAllShapeMod);
    p.set ("Pan Spread", 90);
    p.delay (40, 7, 55);
}

void arp (Patch& p)
{
    p.osc (1, Shape::pulse, kC3, 120);
    p.osc (2, Shape::saw, kC3 + 12, 70);
    p.set ("LPF Freq", 95);
    p.set ("LPF LFP Reson", 40);
    p.envelope (0, 45, 60, 0, 30, 10, 25);
    p.envelope (1, 127, 60, 0, 40, 20, 30);
    p.set ("Arp On/Off", 1);
    p.set ("Arp Mode", 2);
    p.set ("Arp Range", 1);
    p.set ("Arp Auto Latch", 1);
    p.set ("Arp Clock Devide", 6);
    p.delay (50, 6, 60);
}

struct Voice
{
    int category;     // index in the category list
    const char* noun; // at most 8 characters
    void (*build) (Patch&);
};

// clang-format off
constexpr Voice voices[] = {
    { 1, "Keys", keys },        { 2, "Organ", organ },      { 3, "Strings", strings },
    { 4, "Flute", softLead },   { 5, "Lead", brightLead },  { 6, "Res Lead", resLead },
    { 7, "Sync", syncLead },    { 8, "Bass", softBass },    { 9, "Saw Bass", brightBass },
    { 10, "Res Bass", resBass }, { 11, "Sub Bass", subBass }, { 12, "Brass", brass },
    { 13, "Pluck", pluck },     { 14, "Morph", morph },     { 15, "Motion", motion },
    { 16, "Poly", poly },       { 17, "Choir", choir },     { 18, "Bells", bells },
    { 19, "Partials", partials }, { 20, "Sequence", sequence }, { 21, "Perc", percussion },
    { 22, "Noise", noise },     { 23, "Sound FX", soundFx }, { 24, "Pad", pad },
    { 25, "Arp", arp },
};
// clang-format on

// ---- Variations: each is the first word of the name and does what it says. --------------------

// clang-format off
void warm (Patch& p)    { p.add ("LPF Freq", -15); p.set ("Girth", 50); p.set ("Drive", p.get ("Drive") + 15); }
void bright (Patch& p)  { p.add ("LPF Freq", 25); p.set ("Air", 60); p.add ("LPF LFP Reson", 10); }
void dark (Patch& p)    { p.set ("LPF Freq", juce::jmax (45, p.get ("LPF Freq") - 30)); p.set ("LPF 4 Pole", 1); p.set ("Air", 0); }
void soft (Patch& p)    { p.add ("VCA Attack", 8); p.add ("LPF LFP Reson", -20); p.add ("LPF Freq", -10); p.set ("VCA Vel Amt 2", 90); }
void wide (Patch& p)    { p.set ("Pan Spread", 120); p.set ("Unison ON", 1); p.set ("Unis Detune", 22); p.set ("Unis Mode", 1); }
void slow (Patch& p)    { p.add ("VCA Attack", 55); p.add ("VCA Release", 30); p.add ("LPF Attack", 50); p.add ("LPF Release", 30); }
void punchy (Patch& p)  { p.set ("VCA Attack", 0); p.set ("LPF Attack", 0); p.add ("LPF Decay", -15); p.add ("LPF Env Amt 1", 25); p.add ("Drive", 30); }
void airy (Patch& p)    { p.set ("Air", 95); p.set ("HPF freq", 30); p.delay (45, 7, 50); }
void gritty (Patch& p)  { p.set ("Hack", 55); p.set ("Decimate", 30); p.set ("Distor Amt", 45); }
void fat (Patch& p)     { p.set ("Unison ON", 1); p.set ("Unis Detune", 32); p.set ("Girth", 70); p.set ("Osc 1 Sub", 70); }
void glide (Patch& p)
{
    p.set ("Glide On/Off", 1);
    for (int n = 1; n <= 4; ++n)
        p.set ("Glide #", n, 45);
}
void echo (Patch& p)    { p.delay (70, 6, 75); p.set ("Dly 2 Amt", 40); p.set ("Dly 2 Sync", 1); p.set ("Dly 2 Tm Sync", 8); p.set ("Dly Pan 2", 20); p.set ("Dly Pan 1", 108); }
// clang-format on
void deep (Patch& p)
{
    for (int n = 1; n <= 4; ++n)
        p.add ("Pitch " + juce::String (n), -12);
    p.set ("Osc 1 Sub", 80);
}
void wobbly (Patch& p)
{
    p.lfo (3, LfoShape::triangle, 0, 65, Dest::lpfCutoff);
    p.set ("LFO 3 Sync", 1);
    p.set ("LFO 3 Freq Sync", 5);
    p.add ("LPF LFP Reson", 25);
}
void vintage (Patch& p)
{
    for (int n = 1; n <= 4; ++n)
        p.set ("Slop #", n, 45);
    p.set ("LPF 4 Pole", 1);
    p.set ("Decimate", 10);
    p.modulate (Src::lfo2, 6, Dest::oscAllFreq);
    p.lfo (2, LfoShape::random, 30, 0, Dest::oscAllFreq);
}

// Layer B answers layer A: an octave up on a different wave, both sounding (stack).
void layered (Patch& p)
{
    p.copyLayerAToB();
    for (int n = 1; n <= 2; ++n)
    {
        const auto pitch = "Pitch " + juce::String (n);
        p.setB (pitch, p.getB (pitch) + 12);
        p.setB ("Fine " + juce::String (n), 50 + (n == 1 ? -3 : 3));
    }
    p.setB ("Shape 1", p.get ("Shape 1") == Shape::mellow ? Shape::triangle : Shape::mellow);
    p.setB ("LPF Freq", p.get ("LPF Freq") + 20);
    p.setB ("VCA Attack", p.get ("VCA Attack") + 15);
    p.setB ("Voice Volume", 90);
    p.set ("A B Mode", 2);
    p.setB ("A B Mode", 2);
}

struct Variation
{
    const char* word; // at most 7 characters
    void (*apply) (Patch&);
};

// clang-format off
constexpr Variation variations[] = {
    { "Warm", warm },     { "Bright", bright },   { "Dark", dark },       { "Soft", soft },
    { "Layered", layered }, { "Wide", wide },     { "Slow", slow },       { "Punchy", punchy },
    { "Airy", airy },     { "Gritty", gritty },   { "Fat", fat },         { "Glide", glide },
    { "Echo", echo },     { "Wobbly", wobbly },   { "Vintage", vintage }, { "Deep", deep },
};
// clang-format on

Patch factoryProgram (int index)
{
    constexpr int numVoices = (int) std::size (voices);
    const auto& voice = voices[index % numVoices];
    const auto& variation = variations[index / numVoices];

    auto p = basicPatch();
    voice.build (p);

    // A little individual detail, so no two programs of a voice sit on exactly the same settings.
    Dice dice ((uint32_t) index);
    p.add ("LPF Freq", dice.between (-6, 6));
    p.add ("LFO 1 Freq", dice.between (-10, 10));
    p.add ("VCA Release", dice.between (-4, 4));

    const bool isLayered = variation.apply == layered;
    if (! isLayered)
        variation.apply (p);

    p.copyLayerAToB();
    if (isLayered)
        variation.apply (p);

    p.nameAndCategory (juce::String (variation.word) + " " + voice.noun, voice.category);
    return p;
}

} // namespace

int main (int argc, char* argv[])
{
    if (argc != 2)
    {
        std::fprintf (stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }

    const juce::File folder = juce::File::getCurrentWorkingDirectory().getChildFile (argv[1]);
    if (! folder.createDirectory())
    {
        std::fprintf (stderr, "cannot create %s\n", folder.getFullPathName().toRawUTF8());
        return 1;
    }

    constexpr int programs = 4 * ProgramDump::kProgramsPerBank;
    static_assert ((int) std::size (voices) * (int) std::size (variations) >= programs);

    juce::MemoryBlock block;
    block.append ("Proph12 Data>", 13);

    std::set<juce::String> names;
    for (int i = 0; i < programs; ++i)
    {
        const auto patch = factoryProgram (i);
        const auto name = ProgramDump::readName (patch.record.data(), ProgramDump::NameVariant::slot);
        if (! names.insert (name).second)
        {
            std::fprintf (stderr, "two programs are named \"%s\"\n", name.toRawUTF8());
            return 1;
        }
        block.append (patch.record.data(), patch.record.size());
    }

    block.append ("<Proph12 Data", 13);
    block.append ("Proph12pList>", 13);
    const std::array<char, 320> emptyList {};
    block.append (emptyList.data(), emptyList.size());
    block.append ("<Proph12pList", 13);

    const auto basic = ProgramDump::programDump (basicPatch().record, 0, 0);

    if (! writeAtomically (folder.getChildFile ("FactoryBanks.bin"), block.getData(), block.getSize()) ||
        ! writeAtomically (folder.getChildFile ("BasicProgram.syx"), basic.getData(), basic.getSize()))
    {
        std::fprintf (stderr, "cannot write into %s\n", folder.getFullPathName().toRawUTF8());
        return 1;
    }

    std::printf ("wrote %d programs (%zu bytes) and the Basic Program (%zu bytes) to %s\n", programs, block.getSize(),
                 basic.getSize(), folder.getFullPathName().toRawUTF8());
    return 0;
}
