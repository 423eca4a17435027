#pragma once

#include "midi/OutputLink.h"

#include <juce_core/juce_core.h>

#include <map>

// "pro12plports.dat": the names of the chosen MIDI ports. Four texts, each followed by its own
// separator byte: input name 0x0F, output name 0x10, a reserved text 0x11, the SysEx buffer size 0x12.
// One byte per character.
namespace PortsFile
{
static constexpr const char* kFileName = "pro12plports.dat";
static constexpr const char* kNone = "NONE";
static constexpr int kStrings = 4;
static constexpr uint8_t kSeparators[kStrings] = { 0x0F, 0x10, 0x11, 0x12 };

struct Settings
{
    juce::String input { kNone };
    juce::String output { kNone };
    juce::String reserved { kNone };
    int sysExBufferSize = 0;
};

juce::MemoryBlock encode (const Settings& settings);

// Reads what a file holds into `settings`. A text is taken only when its separators are present and
// in order; anything else keeps the value `settings` already has. Never reads past the block.
void decode (const void* data, size_t size, Settings& settings);

// "pro12pllink.dat", beside the ports file and written with it: the link the user chose for an
// output port, one line per port whose choice is not automatic, "DIN" or "USB", a tab, the port's
// name. A file of its own, so the ports file keeps every byte it always had.
static constexpr const char* kLinkFileName = "pro12pllink.dat";
using LinkChoices = std::map<juce::String, OutputLink::Choice>;
juce::MemoryBlock encodeLinks (const LinkChoices& choices);
// Lines it cannot read are skipped. Never reads past the block.
LinkChoices decodeLinks (const void* data, size_t size);
} // namespace PortsFile
