#include "model/Bank_Program.h"
#include "model/FactoryData.h"

namespace
{
constexpr int kRecord = ProgramDump::kRecordBytes;
const Bank_Program::Record zeroRecord {};
} // namespace

Bank_Program::Bank_Program (juce::String name) : bankName (std::move (name)), slots ((size_t) kBankBytes, 0) {}

const uint8_t* Bank_Program::slotPointer (int slot) const noexcept
{
    return isValidSlot (slot) ? slots.data() + (size_t) slot * kRecord : zeroRecord.data();
}

juce::String Bank_Program::slotName (int slot) const
{
    return ProgramDump::readName (slotPointer (slot), ProgramDump::NameVariant::slot);
}

void Bank_Program::setSlotName (int slot, const juce::String& name)
{
    if (isValidSlot (slot))
        ProgramDump::writeName (slots.data() + (size_t) slot * kRecord, name);
}

juce::String Bank_Program::slotABText (int slot) const { return ProgramDump::abModeText (slotPointer (slot)); }
juce::String Bank_Program::slotArpMark (int slot) const { return ProgramDump::arpMark (slotPointer (slot)); }

Bank_Program::Record Bank_Program::getSlot (int slot) const
{
    Record record;
    const auto* source = slotPointer (slot < 0 ? 0 : slot);
    std::copy_n (source, kRecord, record.begin());
    return record;
}

void Bank_Program::putSlot (int slot, const Record& record)
{
    if (isValidSlot (slot))
        std::copy (record.begin(), record.end(), slots.begin() + slot * kRecord);
}

void Bank_Program::putSlotAndEditBuffer (int slot, const Record& record)
{
    putSlot (slot, record);
    editBuffer = record;
}

Bank_Program::Record Bank_Program::storeEditBuffer (int slot)
{
    putSlot (slot, editBuffer);
    return editBuffer;
}

void Bank_Program::setEditBuffer (const void* data, size_t size)
{
    editBuffer.fill (0);
    if (data != nullptr)
        std::copy_n (static_cast<const uint8_t*> (data), juce::jmin (size, editBuffer.size()), editBuffer.begin());
}

juce::String Bank_Program::editBufferName() const
{
    return ProgramDump::readName (editBuffer.data(), ProgramDump::NameVariant::editBuffer);
}

void Bank_Program::setEditBufferName (const juce::String& name) { ProgramDump::writeName (editBuffer.data(), name); }

juce::String Bank_Program::editBufferABText() const { return ProgramDump::abModeText (editBuffer.data()); }
juce::String Bank_Program::editBufferArpMark() const { return ProgramDump::arpMark (editBuffer.data()); }

void Bank_Program::setSlotBytes (const void* data, size_t size)
{
    if (data != nullptr)
        std::copy_n (static_cast<const uint8_t*> (data), juce::jmin (size, slots.size()), slots.begin());
}

void Bank_Program::loadFactory (int factoryBank)
{
    if (const auto* source = FactoryData::bank (factoryBank))
        setSlotBytes (source, (size_t) kBankBytes);
}

void Bank_Program::reset (bool loadFactoryBank)
{
    if (loadFactoryBank)
    {
        loadFactory (0);
        return;
    }

    const auto& basic = FactoryData::basicProgram();
    for (int s = 0; s < kSlots; ++s)
        putSlot (s, basic);
    editBuffer = basic;
}

juce::MemoryBlock Bank_Program::slotAsProgramDump (int slot, bool programDump, int bank) const
{
    const auto record = getSlot (slot);
    return programDump ? ProgramDump::programDump (record, bank, slot) : ProgramDump::editBufferDump (record);
}

juce::MemoryBlock Bank_Program::editBufferAsDump() const { return ProgramDump::editBufferDump (editBuffer); }

juce::MemoryBlock Bank_Program::bankAsDumps (int bank) const
{
    juce::MemoryBlock block ((size_t) kBankDumpBytes);
    for (int s = 0; s < kSlots; ++s)
        block.copyFrom (slotAsProgramDump (s, true, bank).getData(), s * ProgramDump::kProgramDumpBytes,
                        (size_t) ProgramDump::kProgramDumpBytes);
    return block;
}

int Bank_Program::loadDumps (const void* data, size_t size)
{
    if (data == nullptr)
        return 0;

    const auto* bytes = static_cast<const uint8_t*> (data);
    const int count = juce::jmin ((int) (size / (size_t) ProgramDump::kProgramDumpBytes), kSlots);

    for (int i = 0; i < count; ++i)
        if (auto record = ProgramDump::parseBlock (bytes + (size_t) i * ProgramDump::kProgramDumpBytes,
                                                   (size_t) ProgramDump::kProgramDumpBytes))
            putSlot (i, *record);

    return count;
}

juce::String Bank_Program::locationText (int bankNumber, int slot)
{
    const auto bankText = bankNumber < ProgramDump::kUserBanks
                              ? "U" + juce::String (bankNumber + 1)
                              : "F" + juce::String (bankNumber - (ProgramDump::kUserBanks - 1));
    return bankText + " P " + juce::String (slot + 1);
}
