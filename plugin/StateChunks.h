#pragma once

#include "midi/MidiCntrState.h"

// The host's copy of the plug-in: a bank chunk with the 99 host programs of the "Program Bank" and
// the current program, and a program chunk with the current program alone (also the layout of the
// start-up program file and of single preset files). Unpacked 1024-byte programs after ASCII headers.
namespace StateChunks
{
static constexpr const char* kBankHeader = "Prophet12OstrelBank";        // 19 bytes
static constexpr const char* kProgramHeader = "Prophet12OstrelSettings"; // 23 bytes
static constexpr const char* kVersion = "Version100";                    // 10 bytes
static constexpr int kBankHeaderBytes = 29;
static constexpr int kProgramHeaderBytes = 33;
static constexpr int kBankSlotsEnd = kBankHeaderBytes + Bank_Program::kBankBytes;          // 101,405
static constexpr int kBankChunkBytes = kBankSlotsEnd + ProgramDump::kRecordBytes + 1;      // 102,430
static constexpr int kProgramChunkBytes = kProgramHeaderBytes + ProgramDump::kRecordBytes; // 1,057

// Appends a bank chunk: the 99 slots, then the current program as it is now (edits included) and
// the current slot. With no slot selected yet, slot 0 becomes the current slot and takes the current
// program (after the 99 slots have been written, so the slot section holds its old bytes).
void appendBankChunk (MidiCntrState& controller, juce::MemoryBlock& dest);

// Restores the 99 slots. A whole chunk (102,430 bytes) also brings back the current slot and the
// current program, which goes to the instrument once as an edit-buffer dump and makes the editor
// refresh: true. A short chunk restores the whole slots it holds and nothing else (false). The
// header is not compared.
bool restoreBankChunk (MidiCntrState& controller, const void* data, size_t size);

// Appends a program chunk; the current program is first stored into the current slot.
void appendProgramChunk (MidiCntrState& controller, juce::MemoryBlock& dest);

// The program at offset 33 replaces the current slot, becomes the current program and is sent to
// the instrument. A chunk shorter than 1057 bytes is ignored (false).
bool restoreProgramChunk (MidiCntrState& controller, const void* data, size_t size);

// The start-up program file: restored like a program chunk when it begins with the program header.
bool loadStartupProgram (MidiCntrState& controller, const juce::File& file);
} // namespace StateChunks
