#include "model/Bank_Program.h"
#include "model/FactoryData.h"

#include <gtest/gtest.h>

namespace
{
using Record = Bank_Program::Record;

Record recordWithName (const juce::String& name, uint8_t fill)
{
    Record r;
    r.fill (fill);
    ProgramDump::writeName (r.data(), name);
    return r;
}

juce::MemoryBlock dumps (int count, int extraBytes = 0)
{
    juce::MemoryBlock block;
    for (int i = 0; i < count; ++i)
    {
        const auto dump =
            ProgramDump::programDump (recordWithName ("Loaded " + juce::String (i), (uint8_t) i), 0, i % 99);
        block.append (dump.getData(), dump.getSize());
    }
    block.append (std::vector<uint8_t> ((size_t) extraBytes, 0xF0).data(), (size_t) extraBytes);
    return block;
}

TEST (Bank, LoadingDumps)
{
    struct Case
    {
        int dumps, extraBytes, expectedLoaded;
    };
    const Case cases[] = { { 99, 0, 99 }, { 2, 5, 2 }, { 0, 1177, 0 }, { 100, 0, 99 }, { 1, 1177, 1 } };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.dumps);
        Bank_Program bank ("User Bank 1");
        bank.reset (false);

        const auto block = dumps (c.dumps, c.extraBytes);
        EXPECT_EQ (bank.loadDumps (block.getData(), block.getSize()), c.expectedLoaded);
        for (int s = 0; s < Bank_Program::kSlots; ++s)
            EXPECT_EQ (bank.slotName (s), s < c.expectedLoaded ? "Loaded " + juce::String (s) : "Basic Program") << s;
    }
}

TEST (Bank, DumpsOfTheWholeBankRoundTrip)
{
    Bank_Program source ("Factory Bank 2");
    source.loadFactory (1);

    const auto block = source.bankAsDumps (5);
    ASSERT_EQ (block.getSize(), 116622u);
    const auto* bytes = static_cast<const uint8_t*> (block.getData());
    for (int s = 0; s < 99; ++s)
    {
        EXPECT_EQ (bytes[s * 1178], 0xF0);
        EXPECT_EQ (bytes[s * 1178 + 4], 5);
        EXPECT_EQ (bytes[s * 1178 + 5], s);
        EXPECT_EQ (bytes[s * 1178 + 1177], 0xF7);
    }

    Bank_Program copy;
    EXPECT_EQ (copy.loadDumps (block.getData(), block.getSize()), 99);
    EXPECT_EQ (0, memcmp (copy.slotBytes(), source.slotBytes(), Bank_Program::kBankBytes));

    const auto editDump = source.slotAsProgramDump (3, false, 5);
    EXPECT_EQ (editDump.getSize(), 1176u);
    EXPECT_EQ (source.slotAsProgramDump (3, true, 5).getSize(), 1178u);
}

TEST (Bank, SlotsOutsideTheBank)
{
    Bank_Program bank;
    const auto first = recordWithName ("First", 9);
    bank.putSlot (0, first);

    EXPECT_EQ (bank.getSlot (-1), first);     // a negative slot reads the first
    EXPECT_EQ (bank.getSlot (99), Record {}); // past the end reads zeros
    EXPECT_EQ (bank.slotName (99), "");
    EXPECT_EQ (bank.slotABText (-5), "NOR"); // zero bytes read as mode 0

    const auto before = std::vector<uint8_t> (bank.slotBytes(), bank.slotBytes() + Bank_Program::kBankBytes);
    bank.putSlot (99, first);
    bank.putSlot (-1, first);
    bank.setSlotName (200, "Nowhere");
    EXPECT_EQ (before, std::vector<uint8_t> (bank.slotBytes(), bank.slotBytes() + Bank_Program::kBankBytes));
}

TEST (Bank, EditBuffer)
{
    Bank_Program bank ("Program Bank");
    EXPECT_EQ (bank.getEditBuffer(), Record {}); // created as zeros

    const auto program = recordWithName ("Mine", 33);
    bank.putSlotAndEditBuffer (7, program);
    EXPECT_EQ (bank.getSlot (7), program);
    EXPECT_EQ (bank.getEditBuffer(), program);

    bank.setEditBufferName ("Edited");
    EXPECT_EQ (bank.editBufferName(), "Edited          ");
    EXPECT_EQ (bank.slotName (7), "Mine");
    EXPECT_EQ (bank.storeEditBuffer (8), bank.getEditBuffer());
    EXPECT_EQ (bank.slotName (8), "Edited");

    const uint8_t shortBlock[3] = { 1, 2, 3 };
    bank.setEditBuffer (shortBlock, sizeof (shortBlock));
    EXPECT_EQ (bank.getEditBuffer()[2], 3);
    EXPECT_EQ (bank.getEditBuffer()[3], 0);
    EXPECT_EQ (bank.getEditBuffer()[1023], 0);

    EXPECT_EQ (bank.editBufferAsDump().getSize(), 1176u);
}

TEST (Bank, Reset)
{
    Bank_Program bank;
    bank.reset (false);
    for (int s = 0; s < 99; ++s)
        ASSERT_EQ (bank.getSlot (s), FactoryData::basicProgram());
    EXPECT_EQ (bank.getEditBuffer(), FactoryData::basicProgram());

    bank.reset (true);
    EXPECT_EQ (0, memcmp (bank.slotBytes(), FactoryData::bank (0), Bank_Program::kBankBytes));
}
} // namespace
