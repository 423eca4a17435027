#pragma once

#include <juce_core/juce_core.h>

#include <array>
#include <cstdint>

// SysEx files as another tool or the instrument itself would write them, built straight from the
// instrument's dump format and not with the product's own writer: a program dump is F0 01 2A 02,
// bank, program, the 1024-byte record packed into 1171 bytes, F7; an edit-buffer dump is F0 01 2A 03
// (2B for the desktop model), the packed record, F7. Packing takes the record 7 bytes at a time
// (the last group holds 2): first a byte whose bit b is the top bit of byte b of the group, then the
// group's bytes with their top bit cleared.
namespace SysExFixture
{
using Record = std::array<uint8_t, 1024>;

// A record with every kind of byte in it, named and filed in a category.
inline Record record (const char* name, int category, int seed)
{
    Record r {};
    for (size_t i = 0; i < r.size(); ++i)
        r[i] = (uint8_t) ((i * (size_t) seed + 7 * i + (size_t) seed) & 0xFF);
    for (size_t i = 0; i < 20; ++i)
        r[402 + i] = ' ';
    for (size_t i = 0; name[i] != 0 && i < 16; ++i)
        r[402 + i] = (uint8_t) name[i];
    r[426] = (uint8_t) category;
    return r;
}

inline void appendPacked (juce::MemoryBlock& out, const Record& r)
{
    for (size_t start = 0; start < r.size(); start += 7)
    {
        const size_t length = std::min ((size_t) 7, r.size() - start);
        uint8_t tops = 0;
        for (size_t b = 0; b < length; ++b)
            tops = (uint8_t) (tops | ((r[start + b] >> 7) << b));
        out.append (&tops, 1);
        for (size_t b = 0; b < length; ++b)
        {
            const auto low = (uint8_t) (r[start + b] & 0x7F);
            out.append (&low, 1);
        }
    }
}

inline void appendBytes (juce::MemoryBlock& out, std::initializer_list<uint8_t> bytes)
{
    for (auto b : bytes)
        out.append (&b, 1);
}

inline void appendBlock (juce::MemoryBlock& out, const juce::MemoryBlock& block)
{
    out.append (block.getData(), block.getSize());
}

inline juce::MemoryBlock programDump (const Record& r, int bank, int program)
{
    juce::MemoryBlock out;
    appendBytes (out, { 0xF0, 0x01, 0x2A, 0x02, (uint8_t) bank, (uint8_t) program });
    appendPacked (out, r);
    appendBytes (out, { 0xF7 });
    return out;
}

inline juce::MemoryBlock editBufferDump (const Record& r, uint8_t device = 0x2A)
{
    juce::MemoryBlock out;
    appendBytes (out, { 0xF0, 0x01, device, 0x03 });
    appendPacked (out, r);
    appendBytes (out, { 0xF7 });
    return out;
}

// What a download from the web often looks like: text before the dumps, another manufacturer's
// message, stray bytes, a damaged dump, a dump too long, and a last dump cut short. Three whole dumps: "Night Drive"
// (U2 P 5, category 3), the desktop model's edit buffer "Glass Pad" (category 7), "Last Whole"
// (F2 P 99, category 0).
inline juce::MemoryBlock mixedFile()
{
    juce::MemoryBlock out;
    out.append ("patch pack v2\n", 14);
    appendBytes (out, { 0x80, 0x90, 0x40 });
    appendBlock (out, programDump (record ("Night Drive", 3, 11), 1, 4));
    appendBytes (out, { 0xF0, 0x43, 0x10, 0x4C, 0x00, 0xF7, 0xF7 });
    appendBlock (out, editBufferDump (record ("Glass Pad", 7, 200), 0x2B));

    auto damaged = programDump (record ("Damaged", 1, 3), 0, 0);
    static_cast<uint8_t*> (damaged.getData())[600] = 0x90;
    appendBlock (out, damaged);

    auto overlong = programDump (record ("Overlong", 1, 4), 0, 2); // one data byte too many before its F7
    overlong.insert ("\x11", 1, overlong.getSize() - 1);
    appendBlock (out, overlong);

    appendBlock (out, programDump (record ("Last Whole", 0, 5), 5, 98));
    const auto cut = programDump (record ("Cut Short", 2, 9), 0, 1);
    out.append (cut.getData(), 700);
    return out;
}
} // namespace SysExFixture
