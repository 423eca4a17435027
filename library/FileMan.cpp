#include "library/FileMan.h"
#include "model/AtomicFile.h"

namespace
{
const std::vector<FileMan::Mode>& modes()
{
    static const juce::String fxb = ".fxb", fxp = ".fxp";
    static const std::vector<FileMan::Mode> table = {
        { 1, false, "Load Single Prophet 12 Program", { "*.p12p" } },
        { 3, false, "Load Prophet 12 Program Bank", { "*.p12b" } },
        { 4, false, "Load Program 12 Library", { "*.p12l", "*.p12b" } },
        { 10, false, "Load FX Preset Bank", { "*" + fxb } },
        { 11, false, "Load FX Preset", { "*" + fxp } },
        { 101, true, "Save Prophet 12 Program", { "*.p12p" } },
        { 103, true, "Save Prophet 12 Program Bank", { "*.p12b" } },
        { 104, true, "Save Prophet 12 Program Library", { "*.p12l" } },
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

void FileMan::choose (int modeId, const juce::String& suggestedName, std::function<void (bool)> done)
{
    const auto* mode = modeFor (modeId);
    if (mode == nullptr)
    {
        done (false);
        return;
    }

    FileDialogs::Request request;
    request.save = mode->save;
    request.title = mode->title;
    request.patterns = mode->patterns.joinIntoString (";");
    if (mode->save)
        request.startingFile = saveFolder.getChildFile (suggestedName);

    dialogs->choose (request, [this, token = std::weak_ptr<char> (alive), mode,
                               done = std::move (done)] (std::optional<juce::File> file) {
        if (token.expired())
            return;
        if (! file)
        {
            done (false);
            return;
        }
        chosenFile = mode->save ? withDefaultExtension (*file, *mode) : *file;
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
        auto found = readProgramBank (fileContent.getData(), fileContent.getSize());
        bankDumps = found.value_or (ProgramDump::Collected {});
        done (found.has_value());
    });
}

void FileMan::saveBytes (const juce::MemoryBlock& bytes, int mode, const juce::String& suggestedName,
                         std::function<void (bool)> done)
{
    choose (mode, suggestedName, [this, bytes, done = std::move (done)] (bool chosen) {
        done (chosen && writeAtomically (chosenFile, bytes));
    });
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
