#pragma once

#include "model/ProgramDump.h"

// One program: the 1024-byte record and its name as last read or written. A new program is the
// built-in "Basic Program".
class DSI_Program
{
public:
    DSI_Program();

    // Takes a record (1024 bytes), an edit-buffer dump (1176) or a program dump (1178) by its exact
    // length. Anything else is refused and leaves the program as it was.
    bool parse (const void* data, size_t size);
    bool parse (const juce::MemoryBlock& block) { return parse (block.getData(), block.getSize()); }

    // The record becomes the first 1024 bytes of the block (fewer if it is shorter).
    void setData (const void* data, size_t size);
    void setData (const juce::MemoryBlock& block) { setData (block.getData(), block.getSize()); }
    const ProgramDump::Record& getData() const noexcept { return record; }

    juce::String name();                     // reads the name from the record and keeps it
    void setName (const juce::String& text); // writes it into the record
    const juce::String& storedName() const noexcept { return programName; }

private:
    juce::String programName;
    ProgramDump::Record record {};
};
