// Coverage-guided fuzzing of everything that reads bytes from outside: MIDI and SysEx from the
// instrument, MIDI and SysEx from the computer as the built-in simulated instrument takes them, the
// settings, bank, geometry and ports files, host chunks, library files, single program and bank
// files, and every file form of programs. The first byte picks the reader; the rest is its input,
// handed over in an exact-size buffer so that AddressSanitizer sees any read past its end.
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
#include <cstdlib>
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
    Prophet12SimulatorCore simulator ([] (int, int) { return ProgramDump::Record {}; });
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

// Well-formed inputs for every reader, written into the corpus folder before the run so that the
// fuzzer starts from the real layouts and mutates them.
void writeSeeds (const juce::File& folder)
{
    folder.createDirectory();
    auto seed = [&] (int reader, const juce::String& name, const void* bytes, size_t size) {
        juce::MemoryBlock block;
        const auto selector = (uint8_t) reader;
        block.append (&selector, 1);
        block.append (bytes, size);
        folder.getChildFile ("seed-" + name).replaceWithData (block.getData(), block.getSize());
    };
    auto seedBlock = [&] (int reader, const juce::String& name, const juce::MemoryBlock& b) {
        seed (reader, name, b.getData(), b.getSize());
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
}
} // namespace

extern "C" int LLVMFuzzerInitialize (int*, char***)
{
    if (const char* seeds = std::getenv ("OSTREL_FUZZ_SEEDS"))
        writeSeeds (juce::File (seeds));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;

    const std::vector<uint8_t> input (data + 1, data + size); // exactly the bytes, no more
    const auto* bytes = input.data();
    const auto length = input.size();

    switch (data[0] % 14)
    {
        case 0: feedMidi (bytes, length); break;
        case 1: controller().dispatchSysEx (juce::MemoryBlock (bytes, length)); break;
        case 2:
        {
            juce::ignoreUnused (ProgramDump::parseBlock (bytes, length), ProgramDump::unpack (bytes, length));
            const auto found = ProgramDump::collectProgramDumps (bytes, length);
            Bank_Program bank;
            bank.loadDumps (found.dumps.getData(), found.dumps.getSize());
            bank.loadDumps (bytes, length);
            break;
        }
        case 3:
        {
            PortsFile::Settings settings;
            PortsFile::decode (bytes, length, settings);
            break;
        }
        case 4:
        {
            std::array<Bank_Program, 8> banks;
            std::array<Bank_Program*, 8> targets;
            for (size_t i = 0; i < 8; ++i)
                targets[i] = &banks[i];
            SettingsFiles::decodeBankImages (bytes, length, targets);
            break;
        }
        case 5: juce::ignoreUnused (SettingsFiles::decodeGeometry (bytes, length)); break;
        case 6: StateChunks::restoreBankChunk (controller(), bytes, length); break;
        case 7: StateChunks::restoreProgramChunk (controller(), bytes, length); break;
        case 8:
        {
            LibraryStore store;
            store.loadImage (bytes, length);
            store.stageFromImage (bytes, length, length > 0 ? bytes[0] % 32 : 0);
            store.commitPending (true);
            break;
        }
        case 9:
        {
            DSI_Program program;
            FileMan::readSingleProgram (bytes, length, program);
            break;
        }
        case 10:
        {
            if (auto dumps = FileMan::readProgramBank (bytes, length))
            {
                Bank_Program bank;
                FileMan::decodeBank (*dumps, bank);
            }
            break;
        }
        case 12: feedSimulator (bytes, length); break;
        case 13: readProgramFile (bytes, length); break;
        default:
        {
            DSI_Program program;
            program.parse (bytes, length);
            program.setData (bytes, length);
            juce::ignoreUnused (program.name());
            break;
        }
    }
    return 0;
}
