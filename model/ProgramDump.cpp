#include "model/ProgramDump.h"

namespace ProgramDump
{
namespace
{
constexpr int kGroupData = 7;
constexpr int kFullGroups = kRecordBytes / kGroupData; // 146, then a group of 2

juce::MemoryBlock wrapPacked (const Record& record, std::initializer_list<uint8_t> header)
{
    const auto packed = pack (record);
    juce::MemoryBlock block (header.size() + packed.size() + 1);
    auto* out = static_cast<uint8_t*> (block.getData());
    out = std::copy (header.begin(), header.end(), out);
    out = std::copy (packed.begin(), packed.end(), out);
    *out = kSysExEnd;
    return block;
}
} // namespace

std::array<uint8_t, kPackedBytes> pack (const Record& record)
{
    std::array<uint8_t, kPackedBytes> packed {};
    size_t out = 0;

    for (int start = 0; start < kRecordBytes; start += kGroupData)
    {
        const int length = juce::jmin (kGroupData, kRecordBytes - start);
        uint8_t flags = 0;
        for (int b = 0; b < length; ++b)
            if (record[(size_t) (start + b)] & 0x80)
                flags = (uint8_t) (flags | (1 << b));

        packed[out++] = flags;
        for (int b = 0; b < length; ++b)
            packed[out++] = (uint8_t) (record[(size_t) (start + b)] & 0x7F);
    }

    jassert (out == (size_t) kPackedBytes);
    static_assert (kFullGroups * 8 + 3 == kPackedBytes);
    return packed;
}

Record unpack (const uint8_t* packed, size_t size)
{
    Record record {};
    if (packed == nullptr)
        return record;

    size = juce::jmin (size, (size_t) kPackedBytes);
    size_t in = 0, out = 0;

    while (in < size && out < (size_t) kRecordBytes)
    {
        const uint8_t flags = packed[in++];
        for (int b = 0; b < kGroupData && in < size && out < (size_t) kRecordBytes; ++b)
            record[out++] = (uint8_t) (packed[in++] | ((flags >> b) & 1) << 7);
    }
    return record;
}

juce::MemoryBlock programDump (const Record& record, int bank, int program)
{
    return wrapPacked (record, { kSysExStart, kManufacturerDsi, kDeviceKeyboard, kProgramData, (uint8_t) (bank & 0x7F),
                                 (uint8_t) (program & 0x7F) });
}

juce::MemoryBlock editBufferDump (const Record& record)
{
    return wrapPacked (record, { kSysExStart, kManufacturerDsi, kDeviceKeyboard, kEditBufferData });
}

std::optional<Record> parseBlock (const uint8_t* data, size_t size)
{
    if (data == nullptr)
        return std::nullopt;

    switch (size)
    {
        case (size_t) kRecordBytes:
        {
            Record record;
            std::copy (data, data + kRecordBytes, record.begin());
            return record;
        }
        case (size_t) kEditBufferDumpBytes: return unpack (data + kEditBufferDumpHeader, (size_t) kPackedBytes);
        case (size_t) kProgramDumpBytes: return unpack (data + kProgramDumpHeader, (size_t) kPackedBytes);
        default: return std::nullopt;
    }
}

juce::String readName (const uint8_t* record, NameVariant variant)
{
    juce::String name;
    for (int i = 0; i < kNameLength; ++i)
    {
        const auto code = record[kNameOffset + i];
        if (variant == NameVariant::program)
            name << juce::String::charToString (code < 32 ? (juce::juce_wchar) 'A' : (juce::juce_wchar) code);
        else if (code != 0)
            name << juce::String::charToString ((juce::juce_wchar) code);
    }
    return variant == NameVariant::slot ? name.trimCharactersAtEnd (" ") : name;
}

juce::String writeName (uint8_t* record, const juce::String& name)
{
    auto padded = name.substring (0, kNameLength).paddedRight (' ', kNameLength);
    auto chars = padded.getCharPointer();
    for (int i = 0; i < kNameLength; ++i)
    {
        const auto code = chars.getAndAdvance();
        record[kNameOffset + i] = (uint8_t) (code >= 20 && code <= 159 ? code : ' ');
    }
    return padded;
}

juce::String abModeText (const uint8_t* record)
{
    switch (record[kABModeOffset])
    {
        case 0: return "NOR";
        case 1: return "A + B";
        case 2: return "A | B";
        default: return {};
    }
}

juce::String arpMark (const uint8_t* record) { return record[kArpOnA] != 0 || record[kArpOnB] != 0 ? "(A)" : ""; }

Collected collectProgramDumps (const uint8_t* data, size_t size)
{
    Collected result;
    if (data == nullptr)
        return result;

    size_t i = 0;
    while (i + (size_t) kProgramDumpBytes <= size)
    {
        if (data[i] == kSysExStart && data[i + kProgramDumpBytes - 1] == kSysExEnd)
        {
            result.dumps.append (data + i, (size_t) kProgramDumpBytes);
            ++result.count;
            i += (size_t) kProgramDumpBytes;
        }
        else
        {
            ++i;
        }
    }
    return result;
}
} // namespace ProgramDump
