#pragma once

#include <juce_core/juce_core.h>

// The instrument's 26 global settings: master tune, MIDI behaviour, pedals, curves and the
// alternative tuning. Index k is byte k of the 100-byte global block that the instrument's global
// dump fills. Every setting starts at 0; the table gives its label, highest value and value texts.
namespace GlobalSettings
{
static constexpr int kCount = 26;
static constexpr int kBlockBytes = 100;
static constexpr int kNrpnBase = 1024; // global k travels as NRPN 1024 + k

static constexpr int kMidiChannel = 2;
static constexpr int kAltTuning = 25;

juce::String label (int index);
int maximum (int index);
juce::String valueText (int index, int value);
} // namespace GlobalSettings
