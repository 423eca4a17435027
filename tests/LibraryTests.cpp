#include "MessageLoop.h"
#include "TestRig.h"
#include "library/FileMan.h"
#include "library/LibraryKeeper.h"
#include "library/LibraryStore.h"
#include "model/FactoryData.h"
#include "tests/ScriptedDialogs.h"
#include "tests/SysExFixture.h"

namespace
{
using Record = LibraryStore::Record;

Record program (const juce::String& name, int category, uint8_t fill = 0x10)
{
    Record r;
    r.fill (fill);
    ProgramDump::writeName (r.data(), name);
    r[ProgramDump::kCategoryOffset] = (uint8_t) category;
    return r;
}

juce::MemoryBlock libraryFile (const std::vector<Record>& records, int extraBytes = 0,
                               const char* header = "Mopho  Libr >")
{
    juce::MemoryBlock block;
    block.append (header, 13);
    for (const auto& r : records)
        block.append (r.data(), r.size());
    block.append (std::vector<uint8_t> ((size_t) extraBytes, 0x55).data(), (size_t) extraBytes);
    return block;
}

struct ListenerLog : StsFileListener
{
    void libraryListChanged (int code, int value) override { events.emplace_back (code, value); }
    void libraryListDoubleClicked (int, int) override { ++doubleClicks; }
    std::vector<std::pair<int, int>> events;
    int doubleClicks = 0;
};

// ---- Library store --------------------------------------------------------------------------------

TEST (Library, FileLayout)
{
    ScratchFolder scratch;
    LibraryStore store;
    for (int i = 0; i < 3; ++i)
        store.addProgram ("Prog " + juce::String (i), program ("x", 3, (uint8_t) i).data(), 1024);
    ASSERT_EQ (store.getNumRecords(), 3);

    const auto file = scratch.folder.getChildFile ("three.p12l");
    ASSERT_TRUE (store.saveToFile (file));
    juce::MemoryBlock content;
    file.loadFileAsData (content);
    ASSERT_EQ (content.getSize(), 3098u);
    EXPECT_EQ (juce::String ((const char*) content.getData(), 13), "Mopho  Libr >");
    EXPECT_EQ (juce::String ((const char*) content.getData() + 3085, 13), "< Mopho  Libr");

    LibraryStore back;
    ASSERT_TRUE (back.loadFromFile (file));
    EXPECT_EQ (back.getRecordBytes(), store.getRecordBytes());
}

TEST (Library, LoadingTakesWholeRecords)
{
    const auto a = program ("First", 1), b = program ("Second", 2, 0x20);
    struct Case
    {
        const char* name;
        juce::MemoryBlock content;
        int expected;
    };
    auto foreign = libraryFile ({ a, b }, 0, "Something else");
    foreign.append ("xxxxxxxxxxxxx", 13);
    const Case cases[] = {
        { "two and markers",
          [&] {
              auto f = libraryFile ({ a, b });
              f.append ("< Mopho  Libr", 13);
              return f;
          }(),
          2 },
        { "foreign markers, same size", foreign, 2 },
        { "13 + 1023", libraryFile ({}, 1023), 0 },
        { "13 + 2 x 1024 + 1023", libraryFile ({ a, b }, 1023), 2 },
    };
    for (const auto& k : cases)
    {
        SCOPED_TRACE (k.name);
        LibraryStore store;
        store.addProgram ("Kept", program ("Kept", 5).data(), 1024);
        // An exact-size copy, so a read past the end would show under a sanitizer.
        std::vector<uint8_t> exact ((const uint8_t*) k.content.getData(),
                                    (const uint8_t*) k.content.getData() + k.content.getSize());
        store.loadImage (exact.data(), exact.size());
        if (k.expected == 0)
        {
            EXPECT_EQ (store.getNumRecords(), 1); // a short file changes nothing
        }
        else
        {
            ASSERT_EQ (store.getNumRecords(), k.expected);
            EXPECT_EQ (store.getRecord (0), a);
            EXPECT_EQ (store.getRecord (1), b);
        }
        EXPECT_EQ (store.getFilterMode(), 0);
    }
}

TEST (Library, DuplicatesAndImports)
{
    LibraryStore store;
    const auto current = program ("Current", 4);
    store.addProgram ("Current", current.data(), 1024);
    store.addProgram ("Current", current.data(), 1024); // the same program twice: one record
    EXPECT_EQ (store.getNumRecords(), 1);
    EXPECT_TRUE (store.contains (current));

    // The same record twice in an import is staged once; the library is not consulted.
    std::vector<uint8_t> image;
    for (const auto& r : { current, program ("New", 7), current })
        image.insert (image.end(), r.begin(), r.end());
    store.stageFromImage (image.data(), image.size(), 0);
    EXPECT_EQ (store.getNumPending(), 2);

    store.commitPending (true);
    EXPECT_EQ (store.getNumRecords(), 3); // "Current" now twice
    EXPECT_EQ (store.getRecord (0), store.getRecord (1));
    EXPECT_EQ (store.getNumPending(), 2); // the import set stays

    store.commitPending (false);
    EXPECT_EQ (store.getNumRecords(), 2);

    // Staging from a bank takes its first slots.
    Bank_Program bank;
    bank.loadFactory (1);
    store.stageFromBank (bank.slotBytes(), 5);
    EXPECT_EQ (store.getNumPending(), 5);
    store.stageFromImage (image.data(), 1023, 0); // less than one record: the set is emptied
    EXPECT_EQ (store.getNumPending(), 0);
    store.commitPending (true); // and nothing happens
    EXPECT_EQ (store.getNumRecords(), 2);
}

TEST (Library, AddingNamesAndSelects)
{
    LibraryStore store;
    ListenerLog log;
    store.addListener (&log);

    const auto data = program ("Whatever", 6);
    store.addProgram ("It's a Prophet! 5ths", data.data(), 1024);
    EXPECT_EQ (ProgramDump::readName (store.getRecord (0).data(), ProgramDump::NameVariant::slot), "It's a Prophet!");
    EXPECT_EQ (store.getSelectedRow(), 0);
    EXPECT_EQ (log.events, (std::vector<std::pair<int, int>> { { 202, 100 }, { 201, 0 } }));

    // Data of another length: the default program under the given name.
    store.addProgram ("From Nothing", data.data(), 1000);
    EXPECT_EQ (store.getNumRecords(), 2);
    EXPECT_EQ (store.getRecord (1)[ProgramDump::kCategoryOffset],
               FactoryData::basicProgram()[ProgramDump::kCategoryOffset]);

    // In filter mode 1 a new program of another category is added but not selected.
    store.setFilterCategory (6);
    store.rebuildRows (1);
    store.addProgram ("Other Kind", program ("x", 9).data(), 1024);
    EXPECT_EQ (store.getRowCount(), 1);
    EXPECT_EQ (store.getSelectedRow(), -1);
    EXPECT_EQ (store.getCategoryCount (9), 1);

    store.notifyDoubleClick();
    EXPECT_EQ (log.doubleClicks, 1);
    store.removeListener (&log);
}

TEST (Library, RenameFiltersAndRemoveLastOfAView)
{
    LibraryStore store;
    store.addProgram ("One", program ("x", 3).data(), 1024);
    store.addProgram ("Two", program ("y", 8).data(), 1024);
    EXPECT_EQ (store.getFilterMode(), 0);

    // Renaming switches to the filter category's records (category 0 at start).
    store.selectRow (0);
    store.renameSelected ("Renamed", 0);
    EXPECT_EQ (store.getFilterMode(), 1);
    EXPECT_EQ (store.getRows(), std::vector<int> { 0 });
    EXPECT_EQ (ProgramDump::readName (store.getRecord (0).data(), ProgramDump::NameVariant::slot), "Renamed");
    EXPECT_EQ (store.getCategoryCount (0), 1);
    EXPECT_EQ (store.getCategoryCount (3), 0);

    // An empty name renames nothing.
    store.selectRow (0);
    store.renameSelected ("", 5);
    EXPECT_EQ (store.getRecord (0)[ProgramDump::kCategoryOffset], 0);

    // Removing the only record of the view: no rows, no selection, one fewer in its count.
    store.selectRow (0);
    store.removeSelected();
    EXPECT_EQ (store.getRowCount(), 0);
    EXPECT_EQ (store.getSelectedRecord(), -1);
    EXPECT_EQ (store.getCategoryCount (0), 0);
    EXPECT_EQ (store.getNumRecords(), 1);
    store.removeSelected(); // no valid selection: nothing
    EXPECT_EQ (store.getNumRecords(), 1);
    store.selectRow (5);
    EXPECT_EQ (store.getSelectedRow(), -1);
}

TEST (Library, AnEmptyLibraryIsNeverWritten)
{
    ScratchFolder scratch;
    const auto file = scratch.folder.getChildFile (LibraryStore::kDefaultFileName);
    LibraryStore store;
    store.addProgram ("Keep Me", program ("x", 2).data(), 1024);
    ASSERT_TRUE (store.saveToFile (file));
    const auto before = FileMan::readFile (file);

    store.clear();
    EXPECT_EQ (store.getNumRecords(), 0);
    EXPECT_FALSE (store.saveToFile (file));
    EXPECT_EQ (FileMan::readFile (file), before);
    EXPECT_EQ (store.buildFileImage().getSize(), 0u);
}

// ---- The default library file with several instances ------------------------------------------------

namespace
{
LibraryKeeper::Bytes bytesOf (const std::vector<Record>& records)
{
    LibraryKeeper::Bytes bytes;
    for (const auto& r : records)
        bytes.insert (bytes.end(), r.begin(), r.end());
    return bytes;
}
} // namespace

TEST (LibraryKeeper, ThreeWayMergeOfWholeRecords)
{
    const auto a = program ("A", 1, 1), b = program ("B", 1, 2), c = program ("C", 1, 3), d = program ("D", 1, 4);
    struct Case
    {
        const char* what;
        std::vector<Record> ours, base, theirs, merged, added, removed;
    };
    const Case cases[] = {
        { "nothing changed elsewhere", { a, b, c }, { a, b }, { a, b }, { a, b, c }, {}, {} },
        { "added on both sides", { a, c }, { a }, { a, d }, { a, c, d }, { d }, {} },
        { "the same added on both sides", { a, c }, { a }, { a, c }, { a, c }, {}, {} },
        { "removed elsewhere", { a, b }, { a, b }, { b }, { b }, {}, { a } },
        { "removed here, still in the file", { b }, { a, b }, { a, b }, { b }, {}, {} },
        { "renamed elsewhere (removed and added)", { a, b }, { a, b }, { a, d }, { a, d }, { d }, { b } },
        { "cleared elsewhere, added here", { a, c }, { a }, {}, { c }, {}, { a } },
        { "a repeat in the file comes once", { a }, { a }, { a, d, d }, { a, d }, { d }, {} },
    };
    for (const auto& k : cases)
    {
        SCOPED_TRACE (k.what);
        const auto m = LibraryKeeper::merge (bytesOf (k.ours), bytesOf (k.base), bytesOf (k.theirs));
        EXPECT_EQ (m.merged, bytesOf (k.merged));
        EXPECT_EQ (m.added, bytesOf (k.added));
        EXPECT_EQ (m.removed, bytesOf (k.removed));
    }
}

// Two instances filing into one default file: each keeps what the other added, and a removal in one
// reaches the other.
TEST (LibraryKeeper, TwoInstancesKeepEachOthersAdditions)
{
    ScratchFolder scratch;
    const auto file = scratch.folder.getChildFile ("PlugSettings").getChildFile (LibraryStore::kDefaultFileName);
    const auto a = program ("A", 1, 1), b = program ("B", 2, 2), c = program ("C", 3, 3);

    LibraryKeeper first (file), second (file);
    first.read();
    second.read();
    auto save = [] (LibraryKeeper& keeper, std::vector<Record> records, bool changed) {
        LibraryKeeper::Outcome got;
        bool answered = false;
        EXPECT_TRUE (keeper.submit (bytesOf (records), changed, [&] (const LibraryKeeper::Outcome& o) {
            got = o;
            answered = true;
        }));
        for (int waited = 0; ! answered && waited < 5000; waited += 5)
            runMessageLoop (5);
        EXPECT_TRUE (answered);
        return got;
    };
    auto onDisk = [&] { return LibraryKeeper::recordsOfImage (FileMan::readFile (file)); };

    auto o = save (first, { a }, true);
    EXPECT_TRUE (o.wrote);
    EXPECT_EQ (onDisk(), bytesOf ({ a }));

    // The second has not seen the first's write: it keeps "A" and hands it over to merge in.
    o = save (second, { b }, true);
    EXPECT_EQ (onDisk(), bytesOf ({ b, a }));
    EXPECT_EQ (o.added, bytesOf ({ a }));

    // The first only looks: "B" comes in, nothing is written.
    const auto before = file.getLastModificationTime();
    o = save (first, { a }, false);
    EXPECT_FALSE (o.wrote);
    EXPECT_EQ (o.added, bytesOf ({ b }));
    EXPECT_EQ (file.getLastModificationTime(), before);

    // A removal in the first reaches the second; the second's own addition stays.
    o = save (first, { b }, true);
    EXPECT_EQ (onDisk(), bytesOf ({ b }));
    o = save (second, { b, a, c }, true);
    EXPECT_EQ (o.removed, bytesOf ({ a }));
    EXPECT_EQ (onDisk(), bytesOf ({ b, c }));

    // An empty library leaves the file as it was; a failed write says why.
    o = save (second, {}, true);
    EXPECT_FALSE (o.wrote);
    EXPECT_EQ (onDisk(), bytesOf ({ b, c }));
    LibraryKeeper blocked (scratch.folder.getChildFile ("PlugSettings")); // a folder by that name
    o = save (blocked, { a }, true);
    EXPECT_TRUE (o.result.failed());
    EXPECT_TRUE (o.result.getErrorMessage().isNotEmpty());
}

// ---- Program and bank files ------------------------------------------------------------------------

TEST (ProgramFiles, SingleProgramFiles)
{
    Bank_Program bank;
    bank.loadFactory (2);
    const auto file = FileMan::singleProgramFile (bank, 7);
    ASSERT_EQ (file.getSize(), 1176u);

    // Leading garbage and a second message after the first.
    juce::MemoryBlock withNoise ("\x01\x02garbage", 9);
    withNoise.append (file.getData(), file.getSize());
    withNoise.append (FileMan::singleProgramFile (bank, 8).getData(), 1176);

    DSI_Program read;
    ASSERT_TRUE (FileMan::readSingleProgram (withNoise.getData(), withNoise.getSize(), read));
    EXPECT_EQ (read.getData(), bank.getSlot (7));

    struct Case
    {
        const char* name;
        std::vector<uint8_t> bytes;
    };
    const Case refused[] = {
        { "below 10 bytes", { 0xF0, 0x01, 0x2A, 0x03, 0xF7 } },
        { "no F0", std::vector<uint8_t> (2000, 0x11) },
        { "no F7 after the F0",
          [] {
              std::vector<uint8_t> v (2000, 0x11);
              v[5] = 0xF0;
              v[2] = 0xF7;
              return v;
          }() },
        { "a message of the wrong length",
          [] {
              std::vector<uint8_t> v (2000, 0x11);
              v[5] = 0xF0;
              v[900] = 0xF7;
              return v;
          }() },
    };
    for (const auto& k : refused)
    {
        DSI_Program p;
        EXPECT_FALSE (FileMan::readSingleProgram (k.bytes.data(), k.bytes.size(), p)) << k.name;
    }
}

TEST (ProgramFiles, BankFiles)
{
    Bank_Program source;
    source.loadFactory (3);
    const auto file = FileMan::programBankFile (source, 6);
    ASSERT_EQ (file.getSize(), 99u * 1178u);

    // Read back into any bank: slots 0..98 in order, whatever bank number the dumps carry.
    auto dumps = FileMan::readProgramBank (file.getData(), file.getSize());
    ASSERT_TRUE (dumps.has_value());
    EXPECT_EQ (dumps->count, 99);
    Bank_Program target;
    EXPECT_EQ (FileMan::decodeBank (*dumps, target), 99);
    EXPECT_EQ (0, memcmp (target.slotBytes(), source.slotBytes(), Bank_Program::kBankBytes));

    // Three messages with a garbage byte before each replace slots 0..2 only.
    juce::MemoryBlock three;
    for (int k = 0; k < 3; ++k)
    {
        three.append ("\x42", 1);
        three.append ((const uint8_t*) file.getData() + k * 1178, 1178);
    }
    Bank_Program partial;
    partial.loadFactory (0);
    const auto before = partial.getSlot (3);
    dumps = FileMan::readProgramBank (three.getData(), three.getSize());
    ASSERT_TRUE (dumps.has_value());
    EXPECT_EQ (dumps->count, 3);
    FileMan::decodeBank (*dumps, partial);
    EXPECT_EQ (partial.getSlot (2), source.getSlot (2));
    EXPECT_EQ (partial.getSlot (3), before);

    EXPECT_FALSE (FileMan::readProgramBank (file.getData(), 9).has_value());
    EXPECT_FALSE (FileMan::readProgramBank (std::vector<uint8_t> (5000, 0).data(), 5000).has_value());
}

TEST (ProgramFiles, ModesNamesAndExtensions)
{
    const auto* load = FileMan::modeFor (4);
    ASSERT_NE (load, nullptr);
    EXPECT_FALSE (load->save);
    EXPECT_EQ (juce::String (load->title), "Load Program 12 Library");
    EXPECT_EQ (load->patterns.joinIntoString (";"), "*.p12l;*.p12b;*.syx");
    EXPECT_EQ (FileMan::modeFor (1)->patterns.joinIntoString (";"), "*.p12p;*.syx");
    EXPECT_EQ (FileMan::modeFor (3)->patterns.joinIntoString (";"), "*.p12b;*.syx");
    for (int mode : { 102, 105, 106 })
    {
        ASSERT_NE (FileMan::modeFor (mode), nullptr);
        EXPECT_TRUE (FileMan::modeFor (mode)->save);
        EXPECT_EQ (FileMan::suggestedFileName ("Pad", *FileMan::modeFor (mode)), "Pad.syx");
    }
    EXPECT_EQ (FileMan::modeFor (110)->patterns[0], "*.fxb");
    EXPECT_EQ (juce::String (FileMan::modeFor (111)->title), "Save FX Preset");
    EXPECT_EQ (FileMan::modeFor (2), nullptr);

    const auto& save = *FileMan::modeFor (101);
    const juce::File folder ("/tmp/x");
    struct Case
    {
        const char* chosen;
        const char* written;
    };
    for (const auto& k : { Case { "Lead", "Lead.p12p" }, Case { "Lead.syx", "Lead.syx" }, Case { "Lead.ab", "Lead.ab" },
                           Case { "Lead.a", "Lead.a.p12p" }, Case { "Lead.p12p", "Lead.p12p" } })
        EXPECT_EQ (FileMan::withDefaultExtension (folder.getChildFile (k.chosen), save).getFileName(), k.written)
            << k.chosen;
    EXPECT_EQ (FileMan::withDefaultExtension (folder.getChildFile ("Untitled"), *FileMan::modeFor (104)).getFileName(),
               "Untitled.p12l");

    EXPECT_EQ (FileMan::suggestedBankName (0), "Program Bank U1");
    EXPECT_EQ (FileMan::suggestedBankName (7), "Program Bank F4");
}

TEST (ProgramFiles, CommandsThroughTheDialog)
{
    ScratchFolder scratch;
    auto dialogs = std::make_shared<ScriptedDialogs>();
    Bank_Program bank;
    bank.loadFactory (1);

    // Save a bank: the dialog starts at the suggested name in the settings folder.
    dialogs->answers.push_back (scratch.folder.getChildFile ("My Bank"));
    FileMan saver (dialogs, scratch.folder);
    bool saved = false;
    saver.saveBytes (FileMan::programBankFile (bank, 1), 103, FileMan::suggestedBankName (1),
                     [&] (bool ok) { saved = ok; });
    ASSERT_TRUE (saved);
    EXPECT_EQ (dialogs->requests.back().title, "Save Prophet 12 Program Bank");
    EXPECT_EQ (dialogs->requests.back().startingFile, scratch.folder.getChildFile ("Program Bank U2.p12b"));
    EXPECT_TRUE (scratch.folder.getChildFile ("My Bank.p12b").existsAsFile());

    // Load it back.
    dialogs->answers.push_back (scratch.folder.getChildFile ("My Bank.p12b"));
    FileMan loader (dialogs, scratch.folder);
    bool loaded = false;
    loader.loadProgramBank ([&] (bool ok) { loaded = ok; });
    ASSERT_TRUE (loaded);
    EXPECT_EQ (loader.getBankDumps().count, 99);
    EXPECT_FALSE (dialogs->requests.back().save);
    EXPECT_EQ (dialogs->requests.back().patterns, "*.p12b;*.syx");

    // A single program file; a cancelled dialog; a bank file, whose first message is one whole
    // program dump; and a file that holds no program.
    ASSERT_TRUE (writeAtomically (scratch.folder.getChildFile ("one.p12p"), FileMan::singleProgramFile (bank, 4)));
    ASSERT_TRUE (writeAtomically (scratch.folder.getChildFile ("noise.p12p"), juce::MemoryBlock (4000, true)));
    FileMan single (dialogs, scratch.folder);
    struct Step
    {
        std::optional<juce::File> answer;
        bool expected;
        int slot;
    };
    const Step steps[] = { { scratch.folder.getChildFile ("one.p12p"), true, 4 },
                           { std::nullopt, false, 4 },
                           { scratch.folder.getChildFile ("My Bank.p12b"), true, 0 },
                           { scratch.folder.getChildFile ("noise.p12p"), false, 0 } };
    for (const auto& step : steps)
    {
        dialogs->answers.push_back (step.answer);
        bool result = ! step.expected;
        single.loadSingleProgram ([&] (bool ok) { result = ok; });
        EXPECT_EQ (result, step.expected);
        EXPECT_EQ (single.getProgram().getData(), bank.getSlot (step.slot));
    }
    EXPECT_EQ (dialogs->requests.back().title, "Load Single Prophet 12 Program");
}
} // namespace

// The dialog asks about the name as typed; the file written may carry an appended extension.
TEST (ProgramFiles, ASaveNeverReplacesAFileWithoutAsking)
{
    struct Suggestion
    {
        int mode;
        const char* name;
        const char* suggested;
    };
    for (const auto& k : { Suggestion { 104, "Untitled", "Untitled.p12l" },
                           Suggestion { 110, "Prophet 12 Preset Bank", "Prophet 12 Preset Bank.fxb" },
                           Suggestion { 111, "Pad.FXP", "Pad.FXP" }, Suggestion { 101, "A/B Lead", "AB Lead.p12p" },
                           Suggestion { 101, "   ", "Untitled.p12p" } })
        EXPECT_EQ (FileMan::suggestedFileName (k.name, *FileMan::modeFor (k.mode)), k.suggested) << k.name;

    ScratchFolder scratch;
    auto dialogs = std::make_shared<ScriptedDialogs>();
    const auto existing = scratch.folder.getChildFile ("Night.p12p");
    ASSERT_TRUE (existing.replaceWithText ("keep me"));

    struct Case
    {
        const char* typed;
        std::optional<bool> replace; // the answer to the question, when one is asked
        bool written;
    };
    for (const auto& k : { Case { "Night", false, false }, Case { "Night", true, true },
                           Case { "Night.p12p", std::nullopt, true }, Case { "Day", std::nullopt, true } })
    {
        SCOPED_TRACE (juce::String (k.typed) + (k.replace.value_or (false) ? " replace" : ""));
        existing.replaceWithText ("keep me");
        scratch.folder.getChildFile ("Day.p12p").deleteFile();
        dialogs->replaceQuestions.clear();
        dialogs->answers = { scratch.folder.getChildFile (k.typed) };
        if (k.replace)
            dialogs->replaceAnswers = { *k.replace };
        FileMan files (dialogs, scratch.folder);
        int produced = 0;
        bool done = ! k.written;
        files.saveBytes (
            [&] {
                ++produced;
                return juce::MemoryBlock ("new", 3);
            },
            101, "Night", [&] (bool ok) { done = ok; });
        EXPECT_EQ (dialogs->requests.back().startingFile.getFileName(), "Night.p12p");
        EXPECT_EQ (done, k.written);
        EXPECT_EQ (produced, k.written ? 1 : 0); // nothing is made for a save that does not happen
        EXPECT_EQ (dialogs->replaceQuestions.size(), k.replace ? 1u : 0u);
        if (k.replace)
        {
            EXPECT_EQ (dialogs->replaceQuestions[0], existing);
        }
        const auto target = scratch.folder.getChildFile (k.typed).withFileExtension (".p12p");
        EXPECT_EQ (target.loadFileAsString(), k.written ? "new" : "keep me");
        EXPECT_TRUE (files.getWriteError().isEmpty());
    }

    // A write that fails is told apart from a cancel: the file's name and the reason.
    const auto blocker = scratch.folder.getChildFile ("plain");
    ASSERT_TRUE (blocker.replaceWithText ("a file, not a folder"));
    dialogs->answers = { blocker.getChildFile ("inside.p12b") };
    FileMan failing (dialogs, scratch.folder);
    bool ok = true;
    failing.saveBytes (juce::MemoryBlock ("x", 1), 103, "Bank", [&] (bool written) { ok = written; });
    EXPECT_FALSE (ok);
    EXPECT_TRUE (failing.getWriteError().startsWith ("Could not write inside.p12b: ")) << failing.getWriteError();
    EXPECT_GT (failing.getWriteError().length(), juce::String ("Could not write inside.p12b: ").length());

    dialogs->answers = { std::nullopt };
    failing.saveBytes (juce::MemoryBlock ("x", 1), 103, "Bank", [&] (bool written) { ok = written; });
    EXPECT_FALSE (ok);
    EXPECT_TRUE (failing.getWriteError().isEmpty());
}

// The system's dialog answers later; by then the editor that asked may have been closed.
TEST (ProgramFiles, AnAnswerAfterTheOwnerIsGoneIsDropped)
{
    struct DeferredDialogs : FileDialogs
    {
        void choose (const Request&, Answer answer) override { pending.push_back (std::move (answer)); }
        std::vector<Answer> pending;
    };

    ScratchFolder scratch;
    const auto target = scratch.folder.getChildFile ("late.p12b");
    auto dialogs = std::make_shared<DeferredDialogs>();
    Bank_Program bank;
    bank.loadFactory (0);

    int calls = 0;
    {
        auto owner = std::make_unique<FileMan> (dialogs, scratch.folder);
        owner->saveBytes (FileMan::programBankFile (bank, 0), 103, "Late", [&] (bool) { ++calls; });
        owner->loadProgramBank ([&] (bool) { ++calls; });
    }
    ASSERT_EQ (dialogs->pending.size(), 2u);

    // Under AddressSanitizer a touch of the freed FileMan fails here.
    dialogs->pending[0](target);
    dialogs->pending[1](target);
    EXPECT_EQ (calls, 0);
    EXPECT_FALSE (target.existsAsFile());
}

// ---- Search ----------------------------------------------------------------------------------------

TEST (LibrarySearch, NamesInAnyCaseWithTheCategoryAndTheCounts)
{
    LibraryStore store;
    auto control = program ("", 2);
    for (int i = 0; i < 16; ++i)
        control[(size_t) ProgramDump::kNameOffset + (size_t) i] =
            (uint8_t) (i % 2 == 0 ? 0x05 : 0xC8); // shows "AAAA..."
    const auto image = libraryFile (
        { program ("Warm Pad", 3), program ("Cold PAD", 5), program ("Bass Warmth", 3), program ("Lead", 5), control });
    store.loadImage (image.getData(), image.getSize());

    struct Case
    {
        const char* text;
        int filterMode;
        std::vector<int> rows;
        int matches, count3, count5;
    };
    const Case cases[] = {
        { "", 0, { 0, 1, 2, 3, 4 }, 5, 2, 2 },
        { "pad", 0, { 0, 1 }, 2, 1, 1 },
        { "WARM", 0, { 0, 2 }, 2, 2, 0 },
        { "warm", 1, { 0, 2 }, 2, 2, 0 }, // category 3 chosen
        { "pad", 1, { 0 }, 2, 1, 1 },     // the counts still cover every category
        { "m p", 0, { 0 }, 1, 1, 0 },
        { "aaaa", 0, { 4 }, 1, 0, 0 },   // names match as the list shows them
        { "Pad\u20ac", 0, {}, 0, 0, 0 }, // no name holds a character above 255
        { "x", 0, {}, 0, 0, 0 },
        { "seventeen chars!!", 0, {}, 0, 0, 0 },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (juce::String (c.text) + " in mode " + juce::String (c.filterMode));
        store.setFilterCategory (3);
        store.rebuildRows (c.filterMode);
        store.setSearchText (juce::String (juce::CharPointer_UTF8 (c.text)));
        EXPECT_EQ (store.getRows(), c.rows);
        EXPECT_EQ (store.getMatchCount(), c.matches);
        EXPECT_EQ (store.getCategoryCount (3), c.count3);
        EXPECT_EQ (store.getCategoryCount (5), c.count5);
        EXPECT_EQ (store.getFilterMode(), c.filterMode);
    }

    // A program added while searching is selected only when the search shows it.
    store.setSearchText ("pad");
    store.rebuildRows (0);
    store.addProgram ("Brass", program ("", 3, 0x22).data(), 1024);
    EXPECT_EQ (store.getSelectedRecord(), -1);
    store.addProgram ("Choir Pad", program ("", 3, 0x23).data(), 1024);
    EXPECT_EQ (store.getSelectedRecord(), store.getNumRecords() - 1);
    store.setSearchText ({});
    EXPECT_EQ (store.getMatchCount(), 7);
}

TEST (LibrarySearch, TenThousandRecords)
{
    LibraryStore store;
    juce::MemoryBlock image ("Mopho  Libr >", 13);
    for (int i = 0; i < 10000; ++i)
    {
        auto r = program ("Program " + juce::String (i), i % 26, (uint8_t) i);
        r[0] = (uint8_t) (i >> 8); // every record differs
        image.append (r.data(), r.size());
    }
    store.loadImage (image.getData(), image.getSize());

    // "rAm 12" is in "Program 12", "Program 120" .. "Program 129" and "Program 1200" .. "Program 1299".
    std::vector<int> expected;
    int matches = 0;
    for (int i = 0; i < 10000; ++i)
    {
        if (! juce::String (i).startsWith ("12"))
            continue;
        ++matches;
        if (i % 26 == 7)
            expected.push_back (i);
    }
    store.setFilterCategory (7);
    store.rebuildRows (1);
    store.setSearchText ("rAm 12");
    EXPECT_EQ (store.getRows(), expected);
    EXPECT_EQ (store.getMatchCount(), matches);
    EXPECT_EQ (matches, 1 + 10 + 100);
}

// ---- SysEx files through the dialogs that open programs ---------------------------------------

TEST (ProgramFiles, SysExFilesOpenAsAProgramAndAsABank)
{
    ScratchFolder scratch;
    auto dialogs = std::make_shared<ScriptedDialogs>();
    const auto put = [&] (const char* name, const juce::MemoryBlock& content) {
        const auto file = scratch.folder.getChildFile (name);
        EXPECT_TRUE (file.replaceWithData (content.getData(), content.getSize()));
        return file;
    };

    // A foreign message first: a ".p12p" reads the first message and fails on it, a ".syx" goes on
    // to the first whole dump.
    juce::MemoryBlock foreignFirst;
    SysExFixture::appendBytes (foreignFirst, { 0xF0, 0x43, 0x10, 0x4C, 0x00, 0xF7 });
    SysExFixture::appendBlock (foreignFirst, SysExFixture::mixedFile());

    struct SingleCase
    {
        const char* file;
        juce::MemoryBlock content;
        const char* name; // nullptr: refused
    };
    const SingleCase singles[] = {
        { "download.syx", SysExFixture::mixedFile(), "Night Drive" },
        { "foreign.syx", foreignFirst, "Night Drive" },
        { "foreign.p12p", foreignFirst, nullptr },
        { "Edit.SYX", SysExFixture::editBufferDump (SysExFixture::record ("Only Edit", 4, 9)), "Only Edit" },
        { "nothing.syx", juce::MemoryBlock ("F0 no dump here F7", 18), nullptr },
    };
    for (const auto& c : singles)
    {
        SCOPED_TRACE (c.file);
        dialogs->answers.push_back (put (c.file, c.content));
        FileMan files (dialogs, scratch.folder);
        bool ok = c.name == nullptr;
        files.loadSingleProgram ([&] (bool result) { ok = result; });
        EXPECT_EQ (ok, c.name != nullptr);
        if (c.name != nullptr)
        {
            EXPECT_EQ (ProgramDump::readName (files.getProgram().getData().data(), ProgramDump::NameVariant::slot),
                       c.name);
        }
    }

    // As a bank: the whole dumps fill slots 0, 1, 2 in the order found, the rest stay.
    dialogs->answers.push_back (put ("download.syx", SysExFixture::mixedFile()));
    FileMan files (dialogs, scratch.folder);
    bool loaded = false;
    files.loadProgramBank ([&] (bool ok) { loaded = ok; });
    ASSERT_TRUE (loaded);
    Bank_Program bank;
    bank.loadFactory (2);
    const auto kept = bank.getSlot (3);
    EXPECT_EQ (FileMan::decodeBank (files.getBankDumps(), bank), 3);
    EXPECT_EQ (bank.getSlot (0), SysExFixture::record ("Night Drive", 3, 11));
    EXPECT_EQ (bank.getSlot (1), SysExFixture::record ("Glass Pad", 7, 200));
    EXPECT_EQ (bank.getSlot (2), SysExFixture::record ("Last Whole", 0, 5));
    EXPECT_EQ (bank.getSlot (3), kept);

    // All eight banks' dumps in one file: the chosen bank takes the first 99.
    juce::MemoryBlock allBanks;
    for (int i = 0; i < 8 * 99; ++i)
        SysExFixture::appendBlock (
            allBanks, SysExFixture::programDump (SysExFixture::record ("All", i % 26, i + 1), i / 99, i % 99));
    const auto dumps = FileMan::readSysExBank (allBanks.getData(), allBanks.getSize());
    ASSERT_TRUE (dumps.has_value());
    EXPECT_EQ (dumps->count, 99);
    EXPECT_EQ (FileMan::decodeBank (*dumps, bank), 99);
    EXPECT_EQ (bank.getSlot (98), SysExFixture::record ("All", 98 % 26, 99));

    // A ".syx" with no dump is refused as a bank too.
    dialogs->answers.push_back (scratch.folder.getChildFile ("nothing.syx"));
    files.loadProgramBank ([&] (bool ok) { loaded = ok; });
    EXPECT_FALSE (loaded);
}
