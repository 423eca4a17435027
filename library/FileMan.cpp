#include "library/FileMan.h"
#include "model/AtomicFile.h"
#include "model/ProgramFile.h"

namespace
{
const std::vector<FileMan::Mode>& modes()
{
    static const juce::String fxb = ".fxb", fxp = ".fxp";
    static const std::vector<FileMan::Mode> table = {
        { 1, false, "Load Single Prophet 12 Program", { "*.p12p", "*.syx" } },
        { 3, false, "Load Prophet 12 Program Bank", { "*.p12b", "*.syx" } },
        { 4, false, "Load Program 12 Library", { "*.p12l", "*.p12b", "*.syx" } },
        { 10, false, "Load FX Preset Bank", { "*" + fxb } },
        { 11, false, "Load FX Preset", { "*" + fxp } },
        { 101, true, "Save Prophet 12 Program", { "*.p12p" } },
        { 102, true, "Save Prophet 12 Program as SysEx", { "*.syx" } },
        { 103, true, "Save Prophet 12 Program Bank", { "*.p12b" } },
        { 104, true, "Save Prophet 12 Program Library", { "*.p12l" } },
        { 105, true, "Save Prophet 12 Program Bank as SysEx", { "*.syx" } },
        { 106, true, "Export Library Programs as SysEx", { "*.syx" } },
        { 110, true, "Save FX Preset Bank", { "*" + fxb } },
        { 111, true, "Save FX Preset", { "*" + fxp } },
    };
    return table;
}
} // namespace

const FileMan::Mode* FileMan::modeFor (int id)
{
    for (const auto& mode : modes())
        if (mode.id == id)
            return &mode;
    return nullptr;
}

FileMan::FileMan (std::shared_ptr<FileDialogs> d, juce::File folder)
    : dialogs (d != nullptr ? std::move (d) : FileDialogs::createNative()), saveFolder (std::move (folder))
{}

void FileMan::choose (int modeId, const juce::String& suggestedName, std::function<void (bool)> done,
                      const juce::String& title)
{
    const auto* mode = modeFor (modeId);
    if (mode == nullptr)
    {
        done (false);
        return;
    }

    FileDialogs::Request request;
    request.save = mode->save;
    request.title = title.isNotEmpty() ? title : juce::String (mode->title);
    request.patterns = mode->patterns.joinIntoString (";");
    if (mode->save)
        request.startingFile = saveFolder.getChildFile (suggestedFileName (suggestedName, *mode));

    // The answer must not own the dialogs: a dialog that keeps its answer would then keep itself.
    dialogs->choose (request, [this, token = std::weak_ptr<char> (alive), mode,
                               done = std::move (done)] (std::optional<juce::File> file) {
        if (token.expired())
            return;
        if (! file)
        {
            done (false);
            return;
        }
        const auto target = mode->save ? withDefaultExtension (*file, *mode) : *file;
        if (mode->save && target != *file && target.exists())
        {
            // The dialog asked about the name as typed, not about this one.
            dialogs->confirmReplace (target, [this, token, target, done] (bool replace) {
                if (token.expired())
                    return;
                if (replace)
                    chosenFile = target;
                done (replace);
            });
            return;
        }
        chosenFile = target;
        done (true);
    });
}

void FileMan::loadSingleProgram (std::function<void (bool)> done)
{
    choose (1, {}, [this, done = std::move (done)] (bool chosen) {
        if (! chosen)
        {
            done (false);
            return;
        }
        fileContent = readFile (chosenFile);
        if (isSysExFile (chosenFile))
        {
            const auto record = readSysExProgram (fileContent.getData(), fileContent.getSize());
            singleProgramMessage = record ? ProgramDump::editBufferDump (*record) : juce::MemoryBlock();
            done (record.has_value() && program.parse (singleProgramMessage));
            return;
        }
        const auto message = findSingleProgramMessage (fileContent.getData(), fileContent.getSize());
        singleProgramMessage = message.value_or (juce::MemoryBlock());
        done (message.has_value() && program.parse (*message));
    });
}

void FileMan::loadProgramBank (std::function<void (bool)> done)
{
    choose (3, {}, [this, done = std::move (done)] (bool chosen) {
        if (! chosen)
        {
            done (false);
            return;
        }
        fileContent = readFile (chosenFile);
        auto found = isSysExFile (chosenFile) ? readSysExBank (fileContent.getData(), fileContent.getSize())
                                              : readProgramBank (fileContent.getData(), fileContent.getSize());
        bankDumps = found.value_or (ProgramDump::Collected {});
        done (found.has_value());
    });
}

void FileMan::saveBytes (const juce::MemoryBlock& bytes, int mode, const juce::String& suggestedName,
                         std::function<void (bool)> done)
{
    saveBytes ([bytes] { return bytes; }, mode, suggestedName, std::move (done));
}

void FileMan::saveBytes (std::function<juce::MemoryBlock()> produce, int mode, const juce::String& suggestedName,
                         std::function<void (bool)> done)
{
    writeError.clear();
    choose (mode, suggestedName, [this, produce = std::move (produce), done = std::move (done)] (bool chosen) {
        if (! chosen)
        {
            done (false);
            return;
        }
        // Made only now: a cancelled dialog must change nothing.
        done (write (chosenFile, produce()));
    });
}

bool FileMan::write (const juce::File& file, const juce::MemoryBlock& bytes)
{
    const auto result = writeAtomicallyWithReason (file, bytes.getData(), bytes.getSize());
    writeError = result.failed() ? failureText (file, result.getErrorMessage()) : juce::String();
    return result.wasOk();
}

juce::String FileMan::failureText (const juce::File& file, const juce::String& reason)
{
    return "Could not write " + file.getFileName() + ": " + reason;
}

juce::String FileMan::suggestedFileName (const juce::String& name, const Mode& mode)
{
    auto legal = juce::File::createLegalFileName (name.trim());
    if (legal.isEmpty())
        legal = "Untitled";
    const auto extension =
        mode.patterns.isEmpty() ? juce::String() : mode.patterns[0].fromFirstOccurrenceOf ("*", false, false);
    return legal.endsWithIgnoreCase (extension) ? legal : legal + extension;
}

// ---- Layouts ---------------------------------------------------------------------------------------

juce::MemoryBlock FileMan::readFile (const juce::File& file)
{
    juce::MemoryBlock content;
    if (file.existsAsFile())
        file.loadFileAsData (content);
    return content;
}

std::optional<juce::MemoryBlock> FileMan::findSingleProgramMessage (const void* data, size_t size)
{
    if (data == nullptr || size < kMinFileBytes)
        return std::nullopt;

    const auto* bytes = static_cast<const uint8_t*> (data);
    const auto* end = bytes + size;
    const auto* start = std::find (bytes, end, ProgramDump::kSysExStart);
    if (start == end)
        return std::nullopt;
    const auto* stop = std::find (start, end, ProgramDump::kSysExEnd);
    if (stop == end)
        return std::nullopt;
    return juce::MemoryBlock (start, (size_t) (stop - start) + 1);
}

bool FileMan::readSingleProgram (const void* data, size_t size, DSI_Program& into)
{
    const auto message = findSingleProgramMessage (data, size);
    return message.has_value() && into.parse (*message);
}

std::optional<ProgramDump::Collected> FileMan::readProgramBank (const void* data, size_t size)
{
    if (data == nullptr || size < kMinFileBytes)
        return std::nullopt;
    auto collected = ProgramDump::collectProgramDumps (static_cast<const uint8_t*> (data), size);
    if (collected.count == 0)
        return std::nullopt;
    return collected;
}

bool FileMan::isSysExFile (const juce::File& file)
{
    return ProgramFile::formatOf (file.getFileName()) == ProgramFile::Format::sysEx;
}

std::optional<ProgramDump::Record> FileMan::readSysExProgram (const void* data, size_t size)
{
    const auto records = readSysExRecords (data, size);
    if (records.empty())
        return std::nullopt;
    return records.front();
}

std::optional<ProgramDump::Collected> FileMan::readSysExBank (const void* data, size_t size)
{
    const auto records = readSysExRecords (data, size);
    if (records.empty())
        return std::nullopt;

    // Whatever the dumps name, they fill the bank in the order found, as a bank file's do.
    ProgramDump::Collected collected;
    for (const auto& record : records)
    {
        if (collected.count == ProgramDump::kProgramsPerBank)
            break;
        const auto dump = ProgramDump::programDump (record, 0, collected.count);
        collected.dumps.append (dump.getData(), dump.getSize());
        ++collected.count;
    }
    return collected;
}

std::vector<ProgramDump::Record> FileMan::readSysExRecords (const void* data, size_t size)
{
    std::vector<ProgramDump::Record> records;
    if (data != nullptr)
        for (const auto& p : ProgramFile::scanSysEx (static_cast<const uint8_t*> (data), size))
            records.push_back (p.record);
    return records;
}

int FileMan::decodeBank (const ProgramDump::Collected& dumps, Bank_Program& target)
{
    return target.loadDumps (dumps.dumps.getData(), dumps.dumps.getSize());
}

juce::MemoryBlock FileMan::singleProgramFile (const Bank_Program& bank, int slot)
{
    return bank.slotAsProgramDump (slot, false, 0);
}

juce::MemoryBlock FileMan::programBankFile (const Bank_Program& bank, int bankIndex)
{
    return bank.bankAsDumps (bankIndex);
}

juce::String FileMan::suggestedBankName (int bankIndex)
{
    if (bankIndex >= 0 && bankIndex < 4)
        return "Program Bank U" + juce::String (bankIndex + 1);
    if (bankIndex >= 4 && bankIndex < 8)
        return "Program Bank F" + juce::String (bankIndex - 3);
    return "Program Bank";
}

juce::File FileMan::withDefaultExtension (const juce::File& chosen, const Mode& mode)
{
    if (chosen.getFileExtension().length() >= 3 || mode.patterns.isEmpty())
        return chosen;
    return chosen.getSiblingFile (chosen.getFileName() + mode.patterns[0].fromFirstOccurrenceOf ("*", false, false));
}
