#pragma once

#include "model/ProgramDump.h"

// A bank of 99 programs plus an edit buffer. The controller owns nine: "User Bank 1".."User Bank 4"
// (bank numbers 0..3), "Factory Bank 1".."Factory Bank 4" (4..7) and the "Program Bank", whose edit
// buffer is the program being edited. Slot numbers run 0..98; reads outside the bank give zero bytes
// and writes outside it are dropped.
class Bank_Program
{
public:
    static constexpr int kSlots = ProgramDump::kProgramsPerBank;
    static constexpr int kBankBytes = kSlots * ProgramDump::kRecordBytes;
    static constexpr int kBankDumpBytes = kSlots * ProgramDump::kProgramDumpBytes; // 116,622

    using Record = ProgramDump::Record;

    explicit Bank_Program (juce::String bankName = {});

    const juce::String& getName() const noexcept { return bankName; }
    void setName (const juce::String& newName) { bankName = newName; }

    static bool isValidSlot (int slot) noexcept { return slot >= 0 && slot < kSlots; }

    // Where a program lives, as the instrument's display shows it: "U1 P 1" .. "F4 P 99".
    static juce::String locationText (int bankNumber, int slot);

    juce::String slotName (int slot) const;
    void setSlotName (int slot, const juce::String& name);
    juce::String slotABText (int slot) const;
    juce::String slotArpMark (int slot) const;

    Record getSlot (int slot) const; // a negative slot reads the first
    void putSlot (int slot, const Record& record);
    void putSlotAndEditBuffer (int slot, const Record& record);
    Record storeEditBuffer (int slot);

    const Record& getEditBuffer() const noexcept { return editBuffer; }
    Record& editBufferData() noexcept { return editBuffer; }
    void setEditBuffer (const void* data, size_t size); // missing bytes become 0
    void setEditBuffer (const Record& record) { editBuffer = record; }
    juce::String editBufferName() const;
    void setEditBufferName (const juce::String& name);
    juce::String editBufferABText() const;
    juce::String editBufferArpMark() const;

    // The raw 99 records, slot s at s x 1024.
    const uint8_t* slotBytes() const noexcept { return slots.data(); }
    void setSlotBytes (const void* data, size_t size); // fills from slot 0 for as many bytes as there are

    void loadFactory (int factoryBank);
    void reset (bool loadFactoryBank);

    // Slot s as a program dump addressed to (bank, s), or as an edit-buffer dump without the flag.
    juce::MemoryBlock slotAsProgramDump (int slot, bool programDump, int bank) const;
    juce::MemoryBlock editBufferAsDump() const;
    juce::MemoryBlock bankAsDumps (int bank) const;

    // Consecutive 1178-byte program dumps into the slots: exactly 99 replace the bank, fewer fill
    // slots 0.. in order, more than 99 are cut at 99; a trailing partial dump is ignored.
    // Returns how many programs were loaded.
    int loadDumps (const void* data, size_t size);

private:
    const uint8_t* slotPointer (int slot) const noexcept;

    juce::String bankName;
    std::vector<uint8_t> slots;
    Record editBuffer {};
};
