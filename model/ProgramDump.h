#pragma once

#include <juce_core/juce_core.h>

#include <array>
#include <cstdint>
#include <optional>

// The 1024-byte program record and the SysEx form in which it travels. Everything here is a pure
// function over bytes; nothing reads past the block it is given.
namespace ProgramDump
{
static constexpr int kRecordBytes = 1024;
static constexpr int kLayerBytes = 512;
static constexpr int kPackedBytes = 1171;         // 146 groups of 8 and a last group of 3
static constexpr int kProgramDumpBytes = 1178;    // F0 01 2A 02 bank program <packed> F7
static constexpr int kEditBufferDumpBytes = 1176; // F0 01 2A 03 <packed> F7
static constexpr int kProgramDumpHeader = 6;
static constexpr int kEditBufferDumpHeader = 4;

static constexpr uint8_t kSysExStart = 0xF0;
static constexpr uint8_t kSysExEnd = 0xF7;
static constexpr uint8_t kManufacturerDsi = 0x01;
static constexpr uint8_t kDeviceKeyboard = 0x2A; // Prophet 12 keyboard
static constexpr uint8_t kDeviceDesktop = 0x2B;  // Prophet 12 desktop module
static constexpr uint8_t kProgramData = 0x02;
static constexpr uint8_t kEditBufferData = 0x03;

// Fields of the record.
static constexpr int kNameOffset = 402;
static constexpr int kNameLength = 16; // 418..421 belong to the name too but are never shown
static constexpr int kNameBytes = 20;
static constexpr int kArpOnA = 296;
static constexpr int kArpOnB = 808;
static constexpr int kABModeOffset = 425;
static constexpr int kCategoryOffset = 426;

static constexpr int kBanks = 8;
static constexpr int kUserBanks = 4; // banks 0..3 are the user banks, 4..7 the factory banks
static constexpr int kProgramsPerBank = 99;

using Record = std::array<uint8_t, kRecordBytes>;

// 7-to-8 bit packing: 1024 bytes to 1171 and back. Unpacking reads at most `size` bytes and fills
// any byte it could not produce with 0.
std::array<uint8_t, kPackedBytes> pack (const Record& record);
Record unpack (const uint8_t* packed, size_t size);

juce::MemoryBlock programDump (const Record& record, int bank, int program);
juce::MemoryBlock editBufferDump (const Record& record);

// A block taken as a program by its exact length: the record itself (1024), an edit-buffer dump
// (1176) or a program dump (1178). Header bytes are not checked.
std::optional<Record> parseBlock (const uint8_t* data, size_t size);

// Reading the name in bytes 402..417.
enum class NameVariant
{
    slot,       // 0 bytes are skipped and trailing blanks removed
    editBuffer, // 0 bytes are skipped, nothing removed
    program     // codes 0..31 read as "A"
};
juce::String readName (const uint8_t* record, NameVariant variant);

// Writes the first 16 characters padded with blanks; codes outside 20..159 become blanks.
// Bytes 418..421 are left as they are. Returns the padded 16-character text.
juce::String writeName (uint8_t* record, const juce::String& name);

juce::String abModeText (const uint8_t* record); // "NOR", "A + B", "A | B"
juce::String arpMark (const uint8_t* record);    // "(A)" when either layer's arpeggiator is on

// Scans a byte stream for 1178-byte program dumps (an F0 with an F7 1177 bytes on).
struct Collected
{
    juce::MemoryBlock dumps;
    int count = 0;
};
Collected collectProgramDumps (const uint8_t* data, size_t size);
} // namespace ProgramDump
