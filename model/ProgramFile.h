#pragma once

#include "model/ProgramDump.h"

#include <vector>

// Programs in every file form the product reads and writes, as pure functions over bytes: SysEx
// files (".syx") holding the instrument's own dumps, single program files (".p12p"), program bank
// files (".p12b"), library files (".p12l"), and the plug-in's preset bank (".fxb") and preset
// (".fxp") files, which are its host state chunks. Readers never read past the bytes they are given.
namespace ProgramFile
{
enum class Format
{
    unknown,
    sysEx,      // ".syx": any number of program and edit-buffer dumps
    program,    // ".p12p": one edit-buffer dump
    bank,       // ".p12b": 99 program dumps of one bank
    library,    // ".p12l": "Mopho  Libr >", records, "< Mopho  Libr"
    presetBank, // ".fxb": the bank state chunk
    preset      // ".fxp": the program state chunk
};

// By the file name's extension, in any letter case.
Format formatOf (const juce::String& fileName);
juce::String extensionOf (Format format); // ".syx" .. ".fxp"

// How many programs one file of the format holds when it is written; 0 for as many as there are.
int capacityOf (Format format);

struct Program
{
    int place = 0; // 1, 2, ... in the order found in the file
    int bank = -1; // the bank and slot a program dump names, -1 where the file names none
    int slot = -1;
    ProgramDump::Record record {};

    juce::String name() const;
    int category() const { return record[(size_t) ProgramDump::kCategoryOffset]; }
};

// Every whole dump in a byte stream, in order: program dumps (F0 01 2A|2B 02 bank program, 1171
// packed bytes, F7) and edit-buffer dumps (F0 01 2A|2B 03, 1171 packed bytes, F7). Bytes between
// dumps, other manufacturers' messages, a dump holding a status byte and a cut last dump are
// skipped.
std::vector<Program> scanSysEx (const uint8_t* data, size_t size);

// The programs of a file of the given format. Empty when the file is not of that form (a missing
// marker, too few bytes) or holds no program.
std::vector<Program> read (Format format, const uint8_t* data, size_t size);

// One file of the format holding the programs, which must not be more than the format's capacity.
// Program dumps go to the bank and slot a program names; a program that names none goes to the
// next slot after the last one used, starting at `firstBank`, slot 0, and after F4 P 99 at U1 P 1. A bank or preset
// bank file with fewer than 99 programs is filled up with the "Basic Program", as a fresh instrument bank is.
juce::MemoryBlock write (Format format, const std::vector<Program>& programs, int firstBank = 0);
} // namespace ProgramFile
