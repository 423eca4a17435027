#include "plugin/StateChunks.h"

namespace StateChunks
{
namespace
{
constexpr int kRecord = ProgramDump::kRecordBytes;
constexpr int kSlots = Bank_Program::kSlots;

// The slot the chunks work on: a negative slot becomes 0.
int currentSlotForChunk (MidiCntrState& controller)
{
    if (controller.getCurrentSlot() < 0 || controller.getCurrentSlot() >= kSlots)
        controller.setCurrentSlot (0);
    return controller.getCurrentSlot();
}
} // namespace

void appendBankChunk (MidiCntrState& controller, juce::MemoryBlock& dest)
{
    dest.append (kBankHeader, 19);
    dest.append (kVersion, 10);

    const bool noSlotYet = controller.getCurrentSlot() == -1;
    controller.withBank (MidiCntrState::kProgramBank, [&] (Bank_Program& bank) {
        dest.append (bank.slotBytes(), (size_t) Bank_Program::kBankBytes);

        const int slot = currentSlotForChunk (controller);
        if (noSlotYet)
        {
            bank.putSlot (slot, bank.getEditBuffer());
            dest.append (bank.getEditBuffer().data(), (size_t) kRecord);
        }
        else
        {
            const auto stored = bank.getSlot (slot);
            dest.append (stored.data(), (size_t) kRecord);
        }
        const auto slotByte = (uint8_t) slot;
        dest.append (&slotByte, 1);
        return 0;
    });
}

void restoreBankChunk (MidiCntrState& controller, const void* data, size_t size)
{
    if (data == nullptr || size <= (size_t) kBankHeaderBytes)
        return;

    const auto* bytes = static_cast<const uint8_t*> (data) + kBankHeaderBytes;
    const int wholeSlots = (int) juce::jmin ((size_t) kSlots, (size - (size_t) kBankHeaderBytes) / (size_t) kRecord);

    controller.withBank (MidiCntrState::kProgramBank, [&] (Bank_Program& bank) {
        for (int s = 0; s < wholeSlots; ++s)
        {
            Bank_Program::Record record;
            std::copy_n (bytes + (size_t) s * kRecord, kRecord, record.begin());
            bank.putSlot (s, record);
        }
        return 0;
    });
}

void appendProgramChunk (MidiCntrState& controller, juce::MemoryBlock& dest)
{
    dest.append (kProgramHeader, 23);
    dest.append (kVersion, 10);

    const int slot = currentSlotForChunk (controller);
    const auto current = controller.withBank (MidiCntrState::kProgramBank,
                                              [&] (Bank_Program& bank) { return bank.storeEditBuffer (slot); });
    dest.append (current.data(), (size_t) kRecord);
}

bool restoreProgramChunk (MidiCntrState& controller, const void* data, size_t size)
{
    if (data == nullptr || size < (size_t) kProgramChunkBytes)
        return false;

    Bank_Program::Record record;
    std::copy_n (static_cast<const uint8_t*> (data) + kProgramHeaderBytes, kRecord, record.begin());

    // The slot takes the program; sending the current slot makes it the current program.
    controller.putSlot (MidiCntrState::kProgramBank, currentSlotForChunk (controller), record);
    controller.sendCurrentSlot();
    return true;
}

bool loadStartupProgram (MidiCntrState& controller, const juce::File& file)
{
    juce::MemoryBlock content;
    if (! file.existsAsFile() || ! file.loadFileAsData (content) || content.getSize() < 23)
        return false;
    if (memcmp (content.getData(), kProgramHeader, 23) != 0)
        return false;
    return restoreProgramChunk (controller, content.getData(), content.getSize());
}
} // namespace StateChunks
