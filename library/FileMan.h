#pragma once

#include "library/FileDialogs.h"
#include "model/Bank_Program.h"
#include "model/DSI_Program.h"

#include <optional>
#include <vector>

// Single program files (".p12p": one edit-buffer dump), program bank files (".p12b": 99 program
// dumps) and the dialogs every file command goes through. One FileMan serves one command.
//
// The dialogs answer later, on the message thread. The owner (a panel of the editor) may be gone by
// then, because the user closed the editor with a dialog open: an answer that finds its FileMan
// destroyed is dropped, and neither the FileMan nor the caller's `done` is touched.
class FileMan
{
public:
    struct Mode
    {
        int id;
        bool save;
        const char* title;
        juce::StringArray patterns;
    };
    // The chooser modes: 1, 3, 4, 10, 11 open; 101, 103, 104, 110, 111 save; and the SysEx saves
    // 102 (a program), 105 (a bank) and 106 (library programs). nullptr for others. The dialogs
    // that open programs also take ".syx" files.
    static const Mode* modeFor (int id);

    FileMan (std::shared_ptr<FileDialogs> dialogs, juce::File saveFolder);

    // The dialog of `mode`, titled `title` when one is given; true (and the chosen file set) unless
    // the user cancelled.
    void choose (int mode, const juce::String& suggestedName, std::function<void (bool)> done,
                 const juce::String& title = {});

    // Mode 1, then the file's first SysEx message parsed as a program into getProgram(); from a
    // ".syx" file, its first whole program or edit-buffer dump.
    void loadSingleProgram (std::function<void (bool)> done);
    // Mode 3, then the program dumps found in the file into getBankDumps(); from a ".syx" file, its
    // first 99 whole dumps of either kind.
    void loadProgramBank (std::function<void (bool)> done);
    // A save dialog of `mode`, then the bytes written to the chosen file. The dialog suggests the
    // name with the mode's extension; when the extension is appended to the name typed and that file
    // exists, the user is asked before it is replaced. `done` is false when the user cancelled or
    // the write failed (then getWriteError() says which file and why).
    void saveBytes (const juce::MemoryBlock& bytes, int mode, const juce::String& suggestedName,
                    std::function<void (bool)> done);
    // The same with bytes made only once the user has confirmed the dialog.
    void saveBytes (std::function<juce::MemoryBlock()> produce, int mode, const juce::String& suggestedName,
                    std::function<void (bool)> done);
    // Writes `bytes` to `file` (atomically), remembering the failure for getWriteError().
    bool write (const juce::File& file, const juce::MemoryBlock& bytes);
    // Empty unless the last write failed: the file's name and the reason, for the user.
    const juce::String& getWriteError() const noexcept { return writeError; }
    static juce::String failureText (const juce::File& file, const juce::String& reason);

    const juce::File& getChosenFile() const noexcept { return chosenFile; }
    const juce::MemoryBlock& getFileContent() const noexcept { return fileContent; }
    const juce::MemoryBlock& getSingleProgramMessage() const noexcept { return singleProgramMessage; }
    DSI_Program& getProgram() noexcept { return program; }
    const ProgramDump::Collected& getBankDumps() const noexcept { return bankDumps; }

    // ---- The file layouts, as pure functions ----------------------------------------------------
    static constexpr size_t kMinFileBytes = 10;

    static juce::MemoryBlock readFile (const juce::File& file); // empty when missing
    // The bytes from the first F0 to the first F7 after it; nothing for a file below 10 bytes.
    static std::optional<juce::MemoryBlock> findSingleProgramMessage (const void* data, size_t size);
    static bool readSingleProgram (const void* data, size_t size, DSI_Program& into);
    // The program dumps in a bank file; nothing below 10 bytes or without a dump.
    static std::optional<ProgramDump::Collected> readProgramBank (const void* data, size_t size);
    // ".syx" files, read by their extension: any number of the instrument's program and edit-buffer
    // dumps among other bytes and messages, of which only whole dumps count.
    static bool isSysExFile (const juce::File& file);
    static std::optional<ProgramDump::Record> readSysExProgram (const void* data, size_t size); // the first
    static std::optional<ProgramDump::Collected> readSysExBank (const void* data, size_t size); // the first 99
    static std::vector<ProgramDump::Record> readSysExRecords (const void* data, size_t size);   // every one
    // Dump k into slot k; the numbers inside the dumps are not used. Returns the slots filled.
    static int decodeBank (const ProgramDump::Collected& dumps, Bank_Program& target);

    static juce::MemoryBlock singleProgramFile (const Bank_Program& bank, int slot);
    static juce::MemoryBlock programBankFile (const Bank_Program& bank, int bankIndex);

    // "Program Bank U1" .. "Program Bank U4", "Program Bank F1" .. "Program Bank F4".
    static juce::String suggestedBankName (int bankIndex);
    // A chosen save name whose extension (dot included) is shorter than 3 characters gets the
    // mode's first pattern appended.
    static juce::File withDefaultExtension (const juce::File& chosen, const Mode& mode);
    // The name a save dialog suggests: made legal as a file name ("Untitled" when nothing is left),
    // with the mode's extension unless it already ends with it.
    static juce::String suggestedFileName (const juce::String& name, const Mode& mode);

private:
    // Lives exactly as long as this FileMan; the dialogs' callbacks hold it weakly.
    std::shared_ptr<char> alive = std::make_shared<char> (0);
    std::shared_ptr<FileDialogs> dialogs;
    juce::File saveFolder;

    juce::File chosenFile;
    juce::String writeError;
    juce::MemoryBlock fileContent, singleProgramMessage;
    DSI_Program program;
    ProgramDump::Collected bankDumps;
};
