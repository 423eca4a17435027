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
            bank.putSlot (slot, bank.getEditBuffer());
        // The program as the user hears it, with every edit made since the slot was last stored:
        // this is what a project brings back.
        dest.append (bank.getEditBuffer().data(), (size_t) kRecord);
        const auto slotByte = (uint8_t) slot;
        dest.append (&slotByte, 1);
        return 0;
    });
}

bool restoreBankChunk (MidiCntrState& controller, const void* data, size_t size)
{
    if (data == nullptr || size <= (size_t) kBankHeaderBytes)
        return false;

    const auto* start = static_cast<const uint8_t*> (data);
    const auto* bytes = start + kBankHeaderBytes;
    const int wholeSlots = (int) juce::jmin ((size_t) kSlots, (size - (size_t) kBankHeaderBytes) / (size_t) kRecord);
    const bool whole = size >= (size_t) kBankChunkBytes;

    juce::MemoryBlock dump;
    controller.withBank (MidiCntrState::kProgramBank, [&] (Bank_Program& bank) {
        for (int s = 0; s < wholeSlots; ++s)
        {
            Bank_Program::Record record;
            std::copy_n (bytes + (size_t) s * kRecord, kRecord, record.begin());
            bank.putSlot (s, record);
        }
        if (whole)
        {
            // The current program with its edits, and the slot it came from.
            bank.setEditBuffer (start + kBankSlotsEnd, (size_t) kRecord);
            dump = bank.editBufferAsDump();
        }
        return 0;
    });
    if (! whole)
        return false;

    const int slot = start[kBankChunkBytes - 1];
    if (Bank_Program::isValidSlot (slot))
        controller.setCurrentSlot (slot);
    controller.sendSysEx (dump);
    controller.postNotification (Notification::kProgramReplaced);
    return true;
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
