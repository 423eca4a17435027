// Coverage-guided fuzzing of everything that reads bytes from outside: MIDI and SysEx from the
// instrument, MIDI and SysEx from the computer as the built-in simulated instrument takes them, the
// settings, bank, geometry and ports files, host chunks, library files, single program and bank
// files, and every file form of programs.
//
// Each reader is fuzzed on its own: OSTREL_FUZZ_READER names it (see kReaders), and the whole input
// goes to it, handed over in an exact-size buffer so that AddressSanitizer sees any read past its end.
// Its seeds, written to OSTREL_FUZZ_SEEDS before the run, are its real layouts and set the input
// size the fuzzer tries, so a short reader is not fed a bank file's length. Without
// OSTREL_FUZZ_READER the first byte of each input picks the reader.
#include "library/FileMan.h"
#include "library/LibraryStore.h"
#include "midi/MidiCntrState.h"
#include "midi/PortsFile.h"
#include "midi/Prophet12Simulator.h"
#include "model/ProgramFile.h"
#include "plugin/StateChunks.h"
#include "settings/SettingsFiles.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerInitialize (int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size);

namespace
{
// One controller for the whole run: no ports, no files.
MidiCntrState& controller()
{
    static MidiCntrState instance ([] {
        MidiCntrState::Environment e;
        e.detached = true;
        return e;
    }());
    return instance;
}

// The instrument's answers as they come off the cable: pieces whose lengths the input chooses.
void feedMidi (const uint8_t* data, size_t size)
{
    auto& c = controller();
    size_t i = 0;
    while (i < size)
    {
        const size_t length = juce::jmin (size - i, (size_t) (data[i] % 200) + 1);
        std::vector<uint8_t> piece (data + i, data + i + length);
        if (piece[0] == 0xF0 || piece[0] >= 0x80 || length > 3)
            c.handleIncomingMidiMessage (nullptr, juce::MidiMessage (piece.data(), (int) piece.size()));
        else
            c.handlePartialSysexMessage (nullptr, piece.data(), (int) piece.size(), 0.0);
        i += length;
    }
    c.takeNotifications();
    c.takeReceivedNrpns();
}

// The simulated instrument's parser, fed the computer's side of the cable in pieces. Whatever comes
// in, each answer must be one whole SysEx message of a length the real instrument sends, and a
// program it dumps must come back unchanged when it is sent to it again.
void feedSimulator (const uint8_t* data, size_t size)
{
    // A fresh instrument for every input, copied over the last one from one made once: making or
    // allocating its 792 programs would be most of what a short input costs.
    static const Prophet12SimulatorCore fresh ([] (int, int) { return ProgramDump::Record {}; });
    static Prophet12SimulatorCore simulator = fresh;
    simulator = fresh;
    std::vector<Prophet12SimulatorCore::Message> answers;
    size_t i = 0;
    while (i < size)
    {
        const size_t length = juce::jmin (size - i, (size_t) (data[i] % 64) + 1);
        simulator.take (data + i, length, answers);
        i += length;
    }

    for (const auto& answer : answers)
    {
        const auto n = answer.size();
        const bool knownLength = n == (size_t) ProgramDump::kProgramDumpBytes ||
                                 n == (size_t) ProgramDump::kEditBufferDumpBytes ||
                                 n == (size_t) Prophet12SimulatorCore::kGlobals + 5;
        if (! knownLength || answer.front() != ProgramDump::kSysExStart || answer.back() != ProgramDump::kSysExEnd ||
            std::any_of (answer.begin() + 1, answer.end() - 1, [] (uint8_t b) { return b >= 0x80; }))
            std::abort();

        if (n == (size_t) ProgramDump::kProgramDumpBytes)
        {
            const int bank = answer[4], program = answer[5];
            const auto before = simulator.getProgram (bank, program);
            std::vector<Prophet12SimulatorCore::Message> none;
            simulator.take (answer.data(), answer.size(), none);
            if (simulator.getProgram (bank, program) != before || ! none.empty())
                std::abort();
        }
    }
}

constexpr ProgramFile::Format kProgramFileFormats[] = {
    ProgramFile::Format::sysEx,   ProgramFile::Format::program,    ProgramFile::Format::bank,
    ProgramFile::Format::library, ProgramFile::Format::presetBank, ProgramFile::Format::preset,
};

// The readers of every file form of programs. What a reader finds must survive being written in the
// same form and read again, so a reader can never hand on a program its own writer cannot keep.
void readProgramFile (const uint8_t* data, size_t size)
{
    if (size < 1)
        return;
    const auto format = kProgramFileFormats[data[0] % std::size (kProgramFileFormats)];
    const std::vector<uint8_t> file (data + 1, data + size);
    const auto programs = ProgramFile::read (format, file.data(), file.size());
    const auto capacity = (size_t) ProgramFile::capacityOf (format);
    if (programs.empty() || (capacity > 0 && programs.size() > capacity))
        return;

    const auto written = ProgramFile::write (format, programs);
    const auto again = ProgramFile::read (format, static_cast<const uint8_t*> (written.getData()), written.getSize());
    if (again.size() < programs.size())
        std::abort();
    for (size_t i = 0; i < programs.size(); ++i)
        if (again[i].record != programs[i].record)
            std::abort();
}

void readSysEx (const uint8_t* bytes, size_t length) { controller().dispatchSysEx (juce::MemoryBlock (bytes, length)); }

void readDumps (const uint8_t* bytes, size_t length)
{
    juce::ignoreUnused (ProgramDump::parseBlock (bytes, length), ProgramDump::unpack (bytes, length));
    const auto found = ProgramDump::collectProgramDumps (bytes, length);
    Bank_Program bank;
    bank.loadDumps (found.dumps.getData(), found.dumps.getSize());
    bank.loadDumps (bytes, length);
}

void readPortsFile (const uint8_t* bytes, size_t length)
{
    PortsFile::Settings settings;
    PortsFile::decode (bytes, length, settings);
}

void readBankImages (const uint8_t* bytes, size_t length)
{
    std::array<Bank_Program, 8> banks;
    std::array<Bank_Program*, 8> targets;
    for (size_t i = 0; i < 8; ++i)
        targets[i] = &banks[i];
    SettingsFiles::decodeBankImages (bytes, length, targets);
}

void readGeometry (const uint8_t* bytes, size_t length)
{
    juce::ignoreUnused (SettingsFiles::decodeGeometry (bytes, length));
}

void readBankChunk (const uint8_t* bytes, size_t length)
{
    StateChunks::restoreBankChunk (controller(), bytes, length);
}

void readProgramChunk (const uint8_t* bytes, size_t length)
{
    StateChunks::restoreProgramChunk (controller(), bytes, length);
}

void readLibraryFile (const uint8_t* bytes, size_t length)
{
    LibraryStore store;
    store.loadImage (bytes, length);
    store.stageFromImage (bytes, length, length > 0 ? bytes[0] % 32 : 0);
    store.commitPending (true);
}

void readSingleProgramFile (const uint8_t* bytes, size_t length)
{
    DSI_Program program;
    FileMan::readSingleProgram (bytes, length, program);
}

void readProgramBankFile (const uint8_t* bytes, size_t length)
{
    if (auto dumps = FileMan::readProgramBank (bytes, length))
    {
        Bank_Program bank;
        FileMan::decodeBank (*dumps, bank);
    }
}

// A ".syx" file as the dialogs that open programs read it: the first dump as a program, the first
// 99 as a bank, every one into the library, whose second import is all duplicates.
void readSysExFile (const uint8_t* bytes, size_t length)
{
    juce::ignoreUnused (FileMan::readSysExProgram (bytes, length));
    if (auto dumps = FileMan::readSysExBank (bytes, length))
    {
        Bank_Program bank;
        FileMan::decodeBank (*dumps, bank);
    }
    juce::MemoryBlock image;
    for (const auto& record : FileMan::readSysExRecords (bytes, length))
        image.append (record.data(), record.size());
    LibraryStore store;
    for (bool append : { false, true })
    {
        store.stageFromImage (image.getData(), image.getSize(), 0);
        const int added = store.commitPendingRefusingDuplicates (append);
        if (append && added != 0)
            std::abort();
    }
}

void readRecord (const uint8_t* bytes, size_t length)
{
    DSI_Program program;
    program.parse (bytes, length);
    program.setData (bytes, length);
    juce::ignoreUnused (program.name());
}

struct Reader
{
    const char* name;
    void (*read) (const uint8_t* bytes, size_t length);
    size_t maxLength; // the longest input tried: a whole file where that is cheap, a few programs where not
};

// Readers that loop over programs see their loops with a few programs; the bank chunk and the
// simulator's session take whole ones, since their edge cases sit at the full length.
constexpr size_t kShort = 4096;
constexpr size_t kFewPrograms = 4 * 1178 + 64;
constexpr size_t kBankChunk = 102430 + 64;

// Every reader, by the name OSTREL_FUZZ_READER gives; without it the first byte picks the reader by
// its index here, which is also the reader a seed in writeSeeds is for.
constexpr Reader kReaders[] = {
    { "midi-in", feedMidi, kShort },
    { "sysex-in", readSysEx, kShort },
    { "dumps", readDumps, kFewPrograms },
    { "ports-file", readPortsFile, kShort },
    { "bank-images", readBankImages, kFewPrograms },
    { "geometry", readGeometry, kShort },
    { "bank-chunk", readBankChunk, kBankChunk },
    { "program-chunk", readProgramChunk, kShort },
    { "library-file", readLibraryFile, kFewPrograms },
    { "single-program-file", readSingleProgramFile, kShort },
    { "program-bank-file", readProgramBankFile, kFewPrograms },
    { "record", readRecord, kShort },
    { "simulator", feedSimulator, kShort },
    { "program-files", readProgramFile, kFewPrograms },
    { "syx-file", readSysExFile, kFewPrograms },
};
constexpr int kNoReader = -1;

// The reader this run fuzzes alone, or kNoReader for all of them.
int chosenReader = kNoReader;

// Well-formed inputs for the readers, written into the corpus folder before the run so that the
// fuzzer starts from the real layouts and mutates them. A run of one reader gets only its seeds.
void writeSeeds (const juce::File& folder)
{
    folder.createDirectory();
    auto seed = [&] (int reader, const juce::String& name, const void* bytes, size_t size) {
        if (chosenReader != kNoReader && reader != chosenReader)
            return;
        juce::MemoryBlock block;
        const auto selector = (uint8_t) reader;
        if (chosenReader == kNoReader)
            block.append (&selector, 1);
        block.append (bytes, size);
        folder.getChildFile ("seed-" + name).replaceWithData (block.getData(), block.getSize());
    };
    // A seed longer than its reader's inputs is cut to the reader's length.
    auto seedBlock = [&] (int reader, const juce::String& name, const juce::MemoryBlock& b) {
        seed (reader, name, b.getData(), juce::jmin (b.getSize(), kReaders[reader].maxLength - 1));
    };

    Bank_Program bank;
    bank.loadFactory (0);
    const auto programDump = bank.slotAsProgramDump (3, true, 2);
    const auto editDump = bank.slotAsProgramDump (4, false, 0);
    seedBlock (0, "midi-program-dump", programDump);
    seedBlock (1, "sysex-edit-buffer", editDump);
    const uint8_t globals[] = { 0xF0, 0x01, 0x2A, 0x0F, 12, 50, 1, 0, 0, 0, 1, 1, 1, 1, 3, 0xF7 };
    seed (1, "sysex-globals", globals, sizeof (globals));
    seedBlock (2, "dumps", bank.bankAsDumps (1));
    seedBlock (3, "ports", PortsFile::encode ({}));

    std::array<const Bank_Program*, 8> banks;
    banks.fill (&bank);
    seedBlock (4, "bank-images-full", SettingsFiles::encodeBankImages (banks));
    seedBlock (5, "geometry", SettingsFiles::encodeGeometry ({}));

    juce::MemoryBlock chunk;
    StateChunks::appendBankChunk (controller(), chunk);
    seedBlock (6, "bank-chunk", chunk);
    chunk.reset();
    StateChunks::appendProgramChunk (controller(), chunk);
    seedBlock (7, "program-chunk", chunk);

    LibraryStore library;
    library.stageFromBank (bank.slotBytes(), 3);
    library.commitPending (true);
    seedBlock (8, "library", library.buildFileImage());
    seedBlock (9, "single-program", FileMan::singleProgramFile (bank, 5));
    seedBlock (10, "program-bank", FileMan::programBankFile (bank, 0));
    seed (11, "record", bank.slotBytes(), 1024);

    // The computer's side of a session: requests, an edit, a program change, a dump to store.
    juce::MemoryBlock session;
    const uint8_t talk[] = { 0xF0, 0x01, 0x2A, 0x0E, 0xF7, 0xF0, 0x01, 0x2A, 0x06, 0xF7, 0xB0, 99,   0, 98, 85,  6,
                             0,    38,   77,   0xB0, 32,   2,    0xC0, 17,   0xF0, 0x01, 0x2A, 0x05, 2, 17, 0xF7 };
    session.append (talk, sizeof (talk));
    session.append (programDump.getData(), programDump.getSize());
    seedBlock (12, "simulator-session", session);

    // Every file form of programs; the first byte picks the form.
    for (const auto format : kProgramFileFormats)
    {
        auto file = ProgramFile::write (format, ProgramFile::read (ProgramFile::Format::sysEx,
                                                                   static_cast<const uint8_t*> (session.getData()),
                                                                   session.getSize()));
        const auto pick = (uint8_t) format;
        juce::MemoryBlock input (&pick, 1);
        input.append (file.getData(), file.getSize());
        seedBlock (13, "program-file" + ProgramFile::extensionOf (format), input);
    }

    // A download: text, another maker's message, an edit buffer, a program dump and a cut one.
    juce::MemoryBlock download ("patch pack\n", 11);
    const uint8_t foreign[] = { 0xF0, 0x43, 0x10, 0x4C, 0x00, 0xF7 };
    download.append (foreign, sizeof (foreign));
    download.append (editDump.getData(), editDump.getSize());
    download.append (programDump.getData(), programDump.getSize());
    download.append (programDump.getData(), 700);
    seedBlock (14, "syx-download", download);
}
} // namespace

extern "C" int LLVMFuzzerInitialize (int* argc, char*** argv)
{
    if (const char* name = std::getenv ("OSTREL_FUZZ_READER"))
    {
        const auto found = std::find_if (std::begin (kReaders), std::end (kReaders),
                                         [&] (const Reader& r) { return std::strcmp (r.name, name) == 0; });
        if (found == std::end (kReaders))
        {
            std::fprintf (stderr, "OSTREL_FUZZ_READER: no reader is called '%s'\n", name);
            std::abort();
        }
        chosenReader = (int) (found - std::begin (kReaders));

        // The reader's own input length, unless the command line gives one.
        static std::vector<char*> arguments (*argv, *argv + *argc);
        static std::string maxLength = "-max_len=" + std::to_string (found->maxLength);
        const bool given = std::any_of (arguments.begin(), arguments.end(),
                                        [] (const char* a) { return std::strncmp (a, "-max_len=", 9) == 0; });
        if (! given)
        {
            arguments.insert (arguments.begin() + 1, maxLength.data());
            arguments.push_back (nullptr);
            *argc += 1;
            *argv = arguments.data();
        }
    }
    if (const char* seeds = std::getenv ("OSTREL_FUZZ_SEEDS"))
        writeSeeds (juce::File (seeds));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    if (chosenReader != kNoReader)
    {
        const std::vector<uint8_t> input (data, data + size); // exactly the bytes, no more
        kReaders[chosenReader].read (input.data(), input.size());
        return 0;
    }

    if (size < 1)
        return 0;
    const std::vector<uint8_t> input (data + 1, data + size);
    kReaders[data[0] % std::size (kReaders)].read (input.data(), input.size());
    return 0;
}
