#include "model/Bank_Program.h"
#include "model/DSI_Program.h"
#include "model/FactoryData.h"
#include "model/ParDes.h"
#include "model/ParameterTable.h"

#include <gtest/gtest.h>

#include <set>

namespace
{
juce::String textAt (const uint8_t* data, size_t offset, size_t length)
{
    return juce::String ((const char*) data + offset, length);
}

TEST (FactoryData, BlockLayout)
{
    ASSERT_EQ (FactoryData::blockSize(), 405876u);
    const auto* block = FactoryData::block();
    EXPECT_EQ (textAt (block, 0, 13), "Proph12 Data>");
    EXPECT_EQ (textAt (block, 13 + 4 * 101376, 13), "<Proph12 Data");
    EXPECT_EQ (textAt (block, 13 + 4 * 101376 + 13, 13), "Proph12pList>");
    for (size_t i = 0; i < 320; ++i)
        ASSERT_EQ (block[13 + 4 * 101376 + 26 + i], 0);
    EXPECT_EQ (textAt (block, 405876 - 13, 13), "<Proph12pList");

    EXPECT_EQ (FactoryData::bank (0), block + 13);
    EXPECT_EQ (FactoryData::bank (3), block + 13 + 3 * 101376);
    EXPECT_EQ (FactoryData::bank (4), nullptr);
    EXPECT_EQ (FactoryData::bank (-1), nullptr);
}

TEST (FactoryData, BasicProgram)
{
    ASSERT_EQ (FactoryData::basicProgramDumpSize(), 1178u);
    const auto* dump = FactoryData::basicProgramDump();
    EXPECT_EQ (dump[0], 0xF0);
    EXPECT_EQ (dump[1], 0x01);
    EXPECT_EQ (dump[2], 0x2A);
    EXPECT_EQ (dump[3], 0x02);
    EXPECT_EQ (dump[1177], 0xF7);

    DSI_Program program;
    EXPECT_EQ (program.name(), "Basic Program   ");
    EXPECT_EQ (program.getData()[ProgramDump::kCategoryOffset], 0);
}

TEST (FactoryData, EveryProgramIsPlayable)
{
    // Every program holds values the instrument accepts, in both layers, with a name and a category.
    const auto& table = ParameterTable::get();
    std::set<juce::String> names;
    for (int k = 0; k < FactoryData::kBanks; ++k)
    {
        Bank_Program bank;
        bank.loadFactory (k);
        std::set<int> categories;

        for (int s = 0; s < Bank_Program::kSlots; ++s)
        {
            SCOPED_TRACE (juce::String (k) + ":" + juce::String (s));
            const auto record = bank.getSlot (s);
            const auto name = bank.slotName (s);
            EXPECT_TRUE (name.isNotEmpty());
            EXPECT_TRUE (names.insert (name).second) << name;

            const int category = record[ProgramDump::kCategoryOffset];
            EXPECT_GE (category, 1);
            EXPECT_LE (category, 25);
            categories.insert (category);

            for (int p = 0; p < ParameterTable::kProgramPositions; ++p)
            {
                // Name bytes hold any character the name rules allow; they are checked as names.
                const int inLayer = p % ParameterTable::kLayerSize;
                const bool isName =
                    inLayer >= ProgramDump::kNameOffset && inLayer < ProgramDump::kNameOffset + ProgramDump::kNameBytes;
                if (isName || (table.maximum (p) == 0 && table.minimum (p) == 0))
                    continue;
                const int raw = record[(size_t) p];
                const int value = table.minimum (p) < 0 && raw > table.maximum (p) ? raw - 256 : raw;
                ASSERT_GE (value, table.minimum (p)) << table.name (p);
                ASSERT_LE (value, table.maximum (p)) << table.name (p);
                ASSERT_TRUE (ParDes::valueText (table.displayType (p), value).isNotEmpty()) << table.name (p);
            }

            // An audible program: an oscillator with a level, and an amplifier that opens.
            int loudest = 0;
            for (int n = 0; n < 4; ++n)
                if (record[(size_t) (12 + n)] != 0)
                    loudest = juce::jmax (loudest, (int) record[(size_t) (8 + n)]);
            EXPECT_GT (loudest, 40);
            EXPECT_GT (record[169] + record[189], 100);
        }

        // Each bank offers a spread of categories rather than one kind of sound.
        EXPECT_GE (categories.size(), 20u);
    }
    EXPECT_EQ (names.size(), 396u);
}
} // namespace
