#include "tools/ostrel-lib/LibCommand.h"

#include "model/AtomicFile.h"
#include "model/Bank_Program.h"
#include "model/ParDes.h"
#include "model/ProgramFile.h"

namespace
{
using ProgramFile::Format;

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

// What a numbered output name looks like: "{n}" becomes 1, 2, 3 ... one file per file's worth.
constexpr const char* kCounter = "{n}";

const char* const kHelp = "Lists and converts Prophet 12 programs in the editor's files.\n"
                          "\n"
                          "  ostrel-lib list FILE...      one line per program in each file\n"
                          "  ostrel-lib convert IN OUT    converts IN into OUT, by their extensions\n"
                          "\n"
                          "Files: .syx (program and edit-buffer dumps), .p12p (single program), .p12b\n"
                          "(program bank), .p12l (library), .fxb (preset bank), .fxp (preset).\n"
                          "'ostrel-lib list --help' and 'ostrel-lib convert --help' tell more.\n";

const char* const kListHelp = "ostrel-lib list FILE...\n"
                              "\n"
                              "Prints, for each file, one line per program: its place in the file, the bank\n"
                              "and slot its dump names (\"-\" where the file names none), its name and its\n"
                              "category. Exit status 1 when a file cannot be read or holds no program.\n";

const char* const kConvertHelp =
    "ostrel-lib convert IN OUT\n"
    "\n"
    "Reads the programs of IN and writes them to OUT in the form OUT's extension names:\n"
    "  .syx   one program dump each, to the bank and slot it came from, or else to\n"
    "         consecutive slots from U1 P 1 on\n"
    "  .p12p  one program            .fxp  one preset\n"
    "  .p12b  one bank of 99         .fxb  one preset bank of 99\n"
    "  .p12l  a library of any size\n"
    "A bank with fewer than 99 programs is filled up with the Basic Program. When IN\n"
    "holds more programs than one OUT file takes, put {n} in OUT's name: files 1, 2, 3 ...\n"
    "are written (e.g. 'ostrel-lib convert all.syx bank{n}.p12b'). An existing OUT is\n"
    "replaced. Exit status 1 when nothing could be converted.\n";

juce::String formatName (Format format)
{
    switch (format)
    {
        case Format::sysEx: return "SysEx file";
        case Format::program: return "single program file";
        case Format::bank: return "program bank file";
        case Format::library: return "library file";
        case Format::presetBank: return "preset bank file";
        case Format::preset: return "preset file";
        case Format::unknown: break;
    }
    return "file";
}

juce::File fileFromArgument (const juce::String& path)
{
    return juce::File::isAbsolutePath (path) ? juce::File (path)
                                             : juce::File::getCurrentWorkingDirectory().getChildFile (path);
}

struct Loaded
{
    std::vector<ProgramFile::Program> programs;
    juce::String error; // empty when the programs were read
};

Loaded load (const juce::String& path)
{
    Loaded loaded;
    const auto format = ProgramFile::formatOf (path);
    const auto file = fileFromArgument (path);
    if (format == Format::unknown)
        loaded.error = path + ": not a file of programs (use .syx, .p12p, .p12b, .p12l, .fxb or .fxp)";
    else if (! file.existsAsFile())
        loaded.error = path + ": no such file";
    else
    {
        juce::MemoryBlock bytes;
        if (! file.loadFileAsData (bytes))
            loaded.error = path + ": cannot be read";
        else
        {
            loaded.programs =
                ProgramFile::read (format, static_cast<const uint8_t*> (bytes.getData()), bytes.getSize());
            if (loaded.programs.empty())
                loaded.error = path + ": holds no program (not a " + formatName (format) + " of the Prophet 12?)";
        }
    }
    return loaded;
}

juce::String programLine (const ProgramFile::Program& p)
{
    const auto place = juce::String (p.place).paddedLeft (' ', 4);
    const auto location = (p.bank >= 0 && p.slot >= 0) ? Bank_Program::locationText (p.bank, p.slot)
                          : p.slot >= 0                ? "P " + juce::String (p.slot + 1)
                                                       : juce::String ("-");
    return place + "  " + location.paddedRight (' ', 8) + "  " + p.name().paddedRight (' ', 16) + "  " +
           ParDes::categoryText (p.category()) + "\n";
}

int list (const juce::StringArray& files, juce::String& out, juce::String& err)
{
    if (files.isEmpty())
    {
        err << "ostrel-lib list: no file given\n" << kListHelp;
        return kUsage;
    }

    int status = kOk;
    for (const auto& path : files)
    {
        const auto loaded = load (path);
        if (loaded.error.isNotEmpty())
        {
            err << loaded.error << "\n";
            status = kFailed;
            continue;
        }
        const auto count = (int) loaded.programs.size();
        out << path << ": " << count << (count == 1 ? " program" : " programs") << " ("
            << formatName (ProgramFile::formatOf (path)) << ")\n";
        for (const auto& p : loaded.programs)
            out << programLine (p);
    }
    return status;
}

int convert (const juce::StringArray& words, juce::String& out, juce::String& err)
{
    if (words.size() != 2)
    {
        err << "ostrel-lib convert: give one input and one output file\n" << kConvertHelp;
        return kUsage;
    }

    const auto& inPath = words[0];
    const auto& outPath = words[1];
    const auto outFormat = ProgramFile::formatOf (outPath);
    if (outFormat == Format::unknown)
    {
        err << outPath << ": cannot write this kind of file (use .syx, .p12p, .p12b, .p12l, .fxb or .fxp)\n";
        return kFailed;
    }

    const auto loaded = load (inPath);
    if (loaded.error.isNotEmpty())
    {
        err << loaded.error << "\n";
        return kFailed;
    }

    const auto& programs = loaded.programs;
    constexpr size_t kAllSlots = (size_t) (ProgramDump::kBanks * ProgramDump::kProgramsPerBank);
    if (outFormat == Format::sysEx && programs.size() > kAllSlots)
    {
        err << inPath << " holds " << (int) programs.size() << " programs, more than the instrument's "
            << (int) kAllSlots << " slots: a SysEx file of them would overwrite its own programs\n";
        return kFailed;
    }
    const auto capacity = (size_t) ProgramFile::capacityOf (outFormat);
    const bool numberedOutput = outPath.contains (kCounter);
    if (capacity > 0 && programs.size() > capacity && ! numberedOutput)
    {
        err << inPath << " holds " << (int) programs.size() << " programs and a " << formatName (outFormat) << " takes "
            << (int) capacity << ": put " << kCounter << " in the output name to write several files\n";
        return kFailed;
    }

    // The programs in pieces of one file each; each piece of a bank starts a new bank.
    const auto piece = capacity > 0 ? capacity : programs.size();
    int written = 0;
    for (size_t start = 0, n = 1; start < programs.size(); start += piece, ++n)
    {
        const auto end = juce::jmin (programs.size(), start + piece);
        const std::vector<ProgramFile::Program> part (programs.begin() + (long) start, programs.begin() + (long) end);
        const auto target = numberedOutput ? outPath.replace (kCounter, juce::String ((int) n)) : outPath;
        const auto firstBank = juce::jmin ((int) n - 1, ProgramDump::kBanks - 1);
        const auto bytes = ProgramFile::write (outFormat, part, firstBank);
        if (bytes.isEmpty())
        {
            err << target << ": nothing to write\n";
            return kFailed;
        }
        if (! writeAtomically (fileFromArgument (target), bytes))
        {
            err << target << ": cannot be written (is the folder there and writable?)\n";
            return kFailed;
        }
        out << target << ": " << (int) part.size() << (part.size() == 1 ? " program" : " programs") << " written\n";
        ++written;
    }
    return written > 0 ? kOk : kFailed;
}
} // namespace

int runLibCommand (const juce::StringArray& args, juce::String& out, juce::String& err)
{
    if (args.isEmpty())
    {
        err << kHelp;
        return kUsage;
    }

    const auto command = args[0];
    juce::StringArray rest (args);
    rest.remove (0);
    const bool wantsHelp = rest.contains ("--help") || rest.contains ("-h");

    if (command == "--help" || command == "-h" || command == "help")
    {
        out << kHelp;
        return kOk;
    }
    if (command == "list")
    {
        if (wantsHelp)
        {
            out << kListHelp;
            return kOk;
        }
        return list (rest, out, err);
    }
    if (command == "convert")
    {
        if (wantsHelp)
        {
            out << kConvertHelp;
            return kOk;
        }
        return convert (rest, out, err);
    }

    err << "ostrel-lib: unknown command '" << command << "'\n\n" << kHelp;
    return kUsage;
}
