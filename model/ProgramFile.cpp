#include "model/ProgramFile.h"

#include "model/FactoryData.h"

#include <cstring>
#include <limits>

namespace ProgramFile
{
namespace
{
using namespace ProgramDump;

constexpr char kLibraryHead[] = "Mopho  Libr >";
constexpr char kLibraryTail[] = "< Mopho  Libr";
constexpr size_t kLibraryMarkerBytes = 13;

constexpr char kBankChunkMarker[] = "Prophet12OstrelBank";
constexpr char kProgramChunkMarker[] = "Prophet12OstrelSettings";
constexpr char kChunkVersion[] = "Version100";
constexpr size_t kBankChunkHeader = 29;
constexpr size_t kProgramChunkHeader = 33;

constexpr size_t kRecord = (size_t) kRecordBytes;
constexpr size_t kSlots = (size_t) kProgramsPerBank;

struct FormatRow
{
    Format format;
    const char* extension;
    int capacity; // programs in one written file; 0 for any number
};

constexpr FormatRow kFormats[] = {
    { Format::sysEx, ".syx", 0 },    { Format::program, ".p12p", 1 },    { Format::bank, ".p12b", 99 },
    { Format::library, ".p12l", 0 }, { Format::presetBank, ".fxb", 99 }, { Format::preset, ".fxp", 1 },
};

const FormatRow* rowOf (Format format)
{
    for (const auto& row : kFormats)
        if (row.format == format)
            return &row;
    return nullptr;
}

bool startsWith (const uint8_t* data, size_t size, const char* marker)
{
    const auto length = std::strlen (marker);
    return size >= length && std::memcmp (data, marker, length) == 0;
}

void append (juce::MemoryBlock& block, const char* text) { block.append (text, std::strlen (text)); }

void append (juce::MemoryBlock& block, const Record& record) { block.append (record.data(), record.size()); }

void append (juce::MemoryBlock& block, const juce::MemoryBlock& message)
{
    block.append (message.getData(), message.getSize());
}

Record recordAt (const uint8_t* data)
{
    Record record {};
    std::memcpy (record.data(), data, kRecord);
    return record;
}

bool isDsiDevice (const uint8_t* message)
{
    return message[1] == kManufacturerDsi && (message[2] == kDeviceKeyboard || message[2] == kDeviceDesktop);
}

// True when every byte between the F0 and the F7 is a data byte.
bool isWholeMessage (const uint8_t* message, size_t length)
{
    if (message[length - 1] != kSysExEnd)
        return false;
    for (size_t i = 1; i + 1 < length; ++i)
        if (message[i] >= 0x80)
            return false;
    return true;
}

// The records of a file, as programs numbered in order, without bank and slot.
std::vector<Program> numbered (const std::vector<Record>& records)
{
    std::vector<Program> programs;
    for (const auto& record : records)
    {
        Program p;
        p.place = (int) programs.size() + 1;
        p.record = record;
        programs.push_back (p);
    }
    return programs;
}

std::vector<Record> wholeRecords (const uint8_t* data, size_t size, size_t maximum)
{
    std::vector<Record> records;
    for (size_t at = 0; at + kRecord <= size && records.size() < maximum; at += kRecord)
        records.push_back (recordAt (data + at));
    return records;
}

// The 99 slots of a bank, from the programs in order, filled up with the "Basic Program".
std::vector<Record> bankSlots (const std::vector<Program>& programs)
{
    std::vector<Record> slots;
    for (const auto& p : programs)
        slots.push_back (p.record);
    while (slots.size() < kSlots)
        slots.push_back (FactoryData::basicProgram());
    return slots;
}

int bankOf (const std::vector<Program>& programs, int firstBank)
{
    for (const auto& p : programs)
        if (p.bank >= 0)
            return p.bank;
    return firstBank;
}
} // namespace

Format formatOf (const juce::String& fileName)
{
    const auto extension = juce::File::createFileWithoutCheckingPath (fileName).getFileExtension().toLowerCase();
    for (const auto& row : kFormats)
        if (extension == row.extension)
            return row.format;
    return Format::unknown;
}

juce::String extensionOf (Format format)
{
    const auto* row = rowOf (format);
    return row != nullptr ? row->extension : "";
}

int capacityOf (Format format)
{
    const auto* row = rowOf (format);
    return row != nullptr ? row->capacity : 0;
}

juce::String Program::name() const { return readName (record.data(), NameVariant::slot); }

std::vector<Program> scanSysEx (const uint8_t* data, size_t size)
{
    std::vector<Program> found;
    if (data == nullptr)
        return found;

    size_t i = 0;
    while (i < size)
    {
        if (data[i] != kSysExStart)
        {
            ++i;
            continue;
        }

        const auto* message = data + i;
        const auto left = size - i;
        size_t length = 0;
        if (left >= (size_t) kEditBufferDumpBytes && isDsiDevice (message) && message[3] == kEditBufferData)
            length = (size_t) kEditBufferDumpBytes;
        else if (left >= (size_t) kProgramDumpBytes && isDsiDevice (message) && message[3] == kProgramData &&
                 message[4] < kBanks && message[5] < kProgramsPerBank)
            length = (size_t) kProgramDumpBytes;

        if (length == 0 || ! isWholeMessage (message, length))
        {
            ++i; // not a dump of this instrument, or a cut one: look for the next message
            continue;
        }

        Program p;
        p.place = (int) found.size() + 1;
        const bool isProgramDump = length == (size_t) kProgramDumpBytes;
        const size_t header = isProgramDump ? (size_t) kProgramDumpHeader : (size_t) kEditBufferDumpHeader;
        if (isProgramDump)
        {
            p.bank = message[4];
            p.slot = message[5];
        }
        p.record = unpack (message + header, (size_t) kPackedBytes);
        found.push_back (p);
        i += length;
    }
    return found;
}

std::vector<Program> read (Format format, const uint8_t* data, size_t size)
{
    if (data == nullptr)
        return {};

    switch (format)
    {
        case Format::sysEx:
        case Format::program:
        case Format::bank: return scanSysEx (data, size);

        case Format::library:
        {
            if (! startsWith (data, size, kLibraryHead))
                return {};
            auto end = size;
            if (end >= 2 * kLibraryMarkerBytes &&
                std::memcmp (data + end - kLibraryMarkerBytes, kLibraryTail, kLibraryMarkerBytes) == 0)
                end -= kLibraryMarkerBytes;
            return numbered (wholeRecords (data + kLibraryMarkerBytes, end - kLibraryMarkerBytes,
                                           std::numeric_limits<size_t>::max()));
        }

        case Format::presetBank:
        {
            if (! startsWith (data, size, kBankChunkMarker) || size < kBankChunkHeader)
                return {};
            auto programs = numbered (wholeRecords (data + kBankChunkHeader, size - kBankChunkHeader, kSlots));
            for (auto& p : programs)
                p.slot = p.place - 1;
            return programs;
        }

        case Format::preset:
            if (! startsWith (data, size, kProgramChunkMarker) || size < kProgramChunkHeader + kRecord)
                return {};
            return numbered ({ recordAt (data + kProgramChunkHeader) });

        case Format::unknown: break;
    }
    return {};
}

juce::MemoryBlock write (Format format, const std::vector<Program>& programs, int firstBank)
{
    juce::MemoryBlock out;
    const auto capacity = (size_t) capacityOf (format);
    if (programs.empty() || (capacity > 0 && programs.size() > capacity))
        return out;

    switch (format)
    {
        case Format::sysEx:
        {
            // Slots run on from the last one used, across the banks (U1 P 99 is followed by U2 P 1) and
            // from F4 P 99 round to U1 P 1.
            constexpr int kAllSlots = kBanks * kProgramsPerBank;
            int next = juce::jlimit (0, kBanks - 1, firstBank) * kProgramsPerBank;
            for (const auto& p : programs)
            {
                if (p.bank >= 0 && p.slot >= 0)
                    next = p.bank * kProgramsPerBank + p.slot;
                next %= kAllSlots;
                append (out, programDump (p.record, next / kProgramsPerBank, next % kProgramsPerBank));
                ++next;
            }
            return out;
        }

        case Format::program: append (out, editBufferDump (programs.front().record)); return out;

        case Format::bank:
        {
            const auto bank = juce::jlimit (0, kBanks - 1, bankOf (programs, firstBank));
            const auto slots = bankSlots (programs);
            for (size_t k = 0; k < kSlots; ++k)
                append (out, programDump (slots[k], bank, (int) k));
            return out;
        }

        case Format::library:
            append (out, kLibraryHead);
            for (const auto& p : programs)
                append (out, p.record);
            append (out, kLibraryTail);
            return out;

        case Format::presetBank:
        {
            // The host's bank chunk, as the plug-in writes it with slot 0 current.
            const auto slots = bankSlots (programs);
            append (out, kBankChunkMarker);
            append (out, kChunkVersion);
            for (const auto& slot : slots)
                append (out, slot);
            append (out, slots.front());
            const uint8_t currentSlot = 0;
            out.append (&currentSlot, 1);
            return out;
        }

        case Format::preset:
            append (out, kProgramChunkMarker);
            append (out, kChunkVersion);
            append (out, programs.front().record);
            return out;

        case Format::unknown: break;
    }
    return {};
}
} // namespace ProgramFile
