#include "model/DSI_Program.h"
#include "model/ProgramDump.h"

#include <gtest/gtest.h>

#include <random>

namespace
{
using ProgramDump::Record;

Record randomRecord (unsigned seed)
{
    std::mt19937 rng (seed);
    Record r;
    for (auto& b : r)
        b = (uint8_t) (rng() & 0xFF);
    return r;
}

TEST (ProgramDump, PackingRoundTrips)
{
    Record all255;
    all255.fill (255);
    Record allLow;
    for (size_t i = 0; i < allLow.size(); ++i)
        allLow[i] = (uint8_t) (i % 128);

    std::vector<Record> records { all255, allLow, Record {} };
    for (unsigned seed = 1; seed <= 20; ++seed)
        records.push_back (randomRecord (seed));

    for (const auto& r : records)
    {
        const auto packed = ProgramDump::pack (r);
        for (auto b : packed)
            ASSERT_LT (b, 0x80) << "packed data must be 7-bit";
        EXPECT_EQ (ProgramDump::unpack (packed.data(), packed.size()), r);
    }
}

TEST (ProgramDump, PackedLayout)
{
    Record all255;
    all255.fill (255);
    const auto packed = ProgramDump::pack (all255);
    // 146 groups of flags 7F and seven 7F, then flags 03 and the two last bytes.
    for (int i = 0; i < 146 * 8; ++i)
        ASSERT_EQ (packed[(size_t) i], 0x7F) << i;
    EXPECT_EQ (packed[1168], 0x03);
    EXPECT_EQ (packed[1169], 0x7F);
    EXPECT_EQ (packed[1170], 0x7F);

    Record low {};
    low[0] = 0x7F;
    low[1023] = 0x80;
    const auto lowPacked = ProgramDump::pack (low);
    for (int g = 0; g < 146; ++g)
        ASSERT_EQ (lowPacked[(size_t) g * 8], 0) << g;
    EXPECT_EQ (lowPacked[1], 0x7F);
    EXPECT_EQ (lowPacked[1168], 0x02); // byte 1023 is the second of the last group
}

TEST (ProgramDump, UnpackingAShortBlockFillsWithZeros)
{
    const auto r = randomRecord (7);
    const auto packed = ProgramDump::pack (r);

    // An exact-size heap copy, so a sanitizer catches any read past it.
    for (size_t size : { (size_t) 0, (size_t) 1, (size_t) 8, (size_t) 9, (size_t) 1170 })
    {
        std::vector<uint8_t> shortBlock (packed.begin(), packed.begin() + (long) size);
        const auto out = ProgramDump::unpack (shortBlock.data(), shortBlock.size());
        const size_t produced = size - (size + 7) / 8; // every group of 8 starts with a flags byte
        for (size_t i = 0; i < out.size(); ++i)
            ASSERT_EQ (out[i], i < produced ? r[i] : 0) << size << " " << i;
    }
}

TEST (ProgramDump, DumpMessages)
{
    const auto r = randomRecord (3);

    const auto program = ProgramDump::programDump (r, 5, 98);
    ASSERT_EQ (program.getSize(), 1178u);
    const auto* p = static_cast<const uint8_t*> (program.getData());
    EXPECT_EQ (p[0], 0xF0);
    EXPECT_EQ (p[1], 0x01);
    EXPECT_EQ (p[2], 0x2A);
    EXPECT_EQ (p[3], 0x02);
    EXPECT_EQ (p[4], 5);
    EXPECT_EQ (p[5], 98);
    EXPECT_EQ (p[1177], 0xF7);

    const auto edit = ProgramDump::editBufferDump (r);
    ASSERT_EQ (edit.getSize(), 1176u);
    const auto* e = static_cast<const uint8_t*> (edit.getData());
    EXPECT_EQ (e[3], 0x03);
    EXPECT_EQ (e[1175], 0xF7);
    EXPECT_EQ (0, memcmp (e + 4, p + 6, 1171));

    EXPECT_EQ (ProgramDump::parseBlock (p, program.getSize()), r);
    EXPECT_EQ (ProgramDump::parseBlock (e, edit.getSize()), r);
    EXPECT_EQ (ProgramDump::parseBlock (r.data(), r.size()), r);
}

TEST (ProgramDump, BlocksOfOtherLengthsAreNotPrograms)
{
    const auto dump = ProgramDump::programDump (randomRecord (4), 0, 0);
    std::vector<uint8_t> bytes ((const uint8_t*) dump.getData(), (const uint8_t*) dump.getData() + dump.getSize());
    bytes.resize (1200, 0);

    for (size_t size : { 0u, 1u, 1023u, 1025u, 1175u, 1177u, 1179u, 1200u })
        EXPECT_FALSE (ProgramDump::parseBlock (bytes.data(), size).has_value()) << size;
    EXPECT_FALSE (ProgramDump::parseBlock (nullptr, 1024).has_value());

    DSI_Program program;
    const auto before = program.getData();
    EXPECT_FALSE (program.parse (bytes.data(), 1177));
    EXPECT_EQ (program.getData(), before);
    EXPECT_EQ (program.storedName(), "Basic Program   ");

    EXPECT_TRUE (program.parse (bytes.data(), 1178));
    EXPECT_EQ (program.getData(), randomRecord (4));
}

TEST (ProgramDump, WritingNames)
{
    Record r {};
    r[418] = 1, r[419] = 2, r[420] = 3, r[421] = 4;

    EXPECT_EQ (ProgramDump::writeName (r.data(), "It's a Prophet! 5ths"), "It's a Prophet! ");
    EXPECT_EQ (juce::String ((const char*) r.data() + 402, 16), "It's a Prophet! ");
    EXPECT_EQ (r[418], 1);
    EXPECT_EQ (r[421], 4);

    ProgramDump::writeName (r.data(), "Pad");
    EXPECT_EQ (ProgramDump::readName (r.data(), ProgramDump::NameVariant::slot), "Pad");
    EXPECT_EQ (ProgramDump::readName (r.data(), ProgramDump::NameVariant::editBuffer), "Pad             ");
    EXPECT_EQ (r[405], ' ');
    EXPECT_EQ (r[417], ' ');

    // Codes outside 20..159 cannot be stored and become blanks.
    ProgramDump::writeName (r.data(), juce::String::fromUTF8 ("A\xc3\xa9"
                                                              "B") +
                                          juce::String::charToString (20) + juce::String::charToString (160));
    EXPECT_EQ (r[402], 'A');
    EXPECT_EQ (r[403], ' '); // é is 233
    EXPECT_EQ (r[404], 'B');
    EXPECT_EQ (r[405], 20);
    EXPECT_EQ (r[406], ' ');
}

TEST (ProgramDump, ReadingNamesInEachVariant)
{
    Record r {};
    const uint8_t name[16] = { 'B', 0, 'a', 5, 's', 's', 200, ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ' };
    std::copy (std::begin (name), std::end (name), r.begin() + 402);

    const auto slot = ProgramDump::readName (r.data(), ProgramDump::NameVariant::slot);
    EXPECT_EQ (slot.length(), 6);
    EXPECT_TRUE (slot.startsWith ("Ba"));
    EXPECT_EQ (slot[5], (juce::juce_wchar) 200);

    EXPECT_EQ (ProgramDump::readName (r.data(), ProgramDump::NameVariant::editBuffer).length(), 15);

    const auto program = ProgramDump::readName (r.data(), ProgramDump::NameVariant::program);
    EXPECT_EQ (program.length(), 16);
    EXPECT_TRUE (program.startsWith ("BAaAss"));
}

TEST (ProgramDump, ABTextsAndArpeggiatorMarks)
{
    Record r {};
    const std::pair<int, const char*> modes[] = {
        { 0, "NOR" }, { 1, "A + B" }, { 2, "A | B" }, { 3, "" }, { 255, "" }
    };
    for (const auto& [mode, text] : modes)
    {
        r[425] = (uint8_t) mode;
        EXPECT_EQ (ProgramDump::abModeText (r.data()), text) << mode;
    }

    EXPECT_EQ (ProgramDump::arpMark (r.data()), "");
    r[808] = 1;
    EXPECT_EQ (ProgramDump::arpMark (r.data()), "(A)");
    r[808] = 0;
    r[296] = 2;
    EXPECT_EQ (ProgramDump::arpMark (r.data()), "(A)");
}

TEST (ProgramDump, CollectingDumpsFromAStream)
{
    const auto a = ProgramDump::programDump (randomRecord (10), 0, 1);
    const auto b = ProgramDump::programDump (randomRecord (11), 0, 2);

    juce::MemoryBlock stream;
    const uint8_t noise[] = { 0xF0, 0x7F, 0xF7, 0x00 };
    stream.append (noise, sizeof (noise));
    stream.append (a.getData(), a.getSize());
    stream.append (noise, sizeof (noise));
    stream.append (b.getData(), b.getSize());
    stream.append (noise, 2);

    auto found = ProgramDump::collectProgramDumps ((const uint8_t*) stream.getData(), stream.getSize());
    EXPECT_EQ (found.count, 2);
    ASSERT_EQ (found.dumps.getSize(), 2u * 1178u);
    EXPECT_EQ (0, memcmp (found.dumps.getData(), a.getData(), 1178));
    EXPECT_EQ (0, memcmp ((const uint8_t*) found.dumps.getData() + 1178, b.getData(), 1178));

    // F7 one byte early or late, or the stream cut short: nothing.
    juce::MemoryBlock misplaced (a);
    ((uint8_t*) misplaced.getData())[1177] = 0x00;
    ((uint8_t*) misplaced.getData())[1176] = 0xF7;
    EXPECT_EQ (ProgramDump::collectProgramDumps ((const uint8_t*) misplaced.getData(), misplaced.getSize()).count, 0);
    misplaced.append ("\x00\xF7", 2);
    EXPECT_EQ (ProgramDump::collectProgramDumps ((const uint8_t*) misplaced.getData(), misplaced.getSize()).count, 0);
    EXPECT_EQ (ProgramDump::collectProgramDumps ((const uint8_t*) a.getData(), 1177).count, 0);
    EXPECT_EQ (ProgramDump::collectProgramDumps (nullptr, 5000).count, 0);
}
} // namespace
