#include "library/FileMan.h"
#include "model/FactoryData.h"
#include "model/ProgramFile.h"
#include "tests/SysExFixture.h"

#include <gtest/gtest.h>

namespace
{
using ProgramFile::Format;

const uint8_t* bytesOf (const juce::MemoryBlock& b) { return static_cast<const uint8_t*> (b.getData()); }

std::vector<ProgramFile::Program> readBlock (Format format, const juce::MemoryBlock& b)
{
    return ProgramFile::read (format, bytesOf (b), b.getSize());
}

TEST (ProgramFile, SysExScanFindsTheDumpsAndSkipsEverythingElse)
{
    const auto file = SysExFixture::mixedFile();
    const auto found = readBlock (Format::sysEx, file);

    ASSERT_EQ (found.size(), 3u);
    EXPECT_EQ (found[0].name(), "Night Drive");
    EXPECT_EQ (found[0].category(), 3);
    EXPECT_EQ (found[0].bank, 1);
    EXPECT_EQ (found[0].slot, 4);
    EXPECT_EQ (found[0].record, SysExFixture::record ("Night Drive", 3, 11));

    EXPECT_EQ (found[1].name(), "Glass Pad") << "the desktop model's edit buffer";
    EXPECT_EQ (found[1].bank, -1);
    EXPECT_EQ (found[1].slot, -1);
    EXPECT_EQ (found[1].record, SysExFixture::record ("Glass Pad", 7, 200));

    EXPECT_EQ (found[2].name(), "Last Whole");
    EXPECT_EQ (found[2].bank, 5);
    EXPECT_EQ (found[2].slot, 98);
    EXPECT_EQ (found[2].place, 3);
}

TEST (ProgramFile, FormatsAreKnownByTheirExtensionInAnyCase)
{
    const std::pair<const char*, Format> cases[] = {
        { "a.syx", Format::sysEx },    { "B.SYX", Format::sysEx },       { "p.p12p", Format::program },
        { "x/y.p12b", Format::bank },  { "lib.P12L", Format::library },  { "bank.fxb", Format::presetBank },
        { "one.fxp", Format::preset }, { "notes.txt", Format::unknown }, { "noextension", Format::unknown },
    };
    for (const auto& [name, format] : cases)
        EXPECT_EQ (ProgramFile::formatOf (name), format) << name;
}

// Two programs, as a file of each form holds them: what is written reads back the same, and the
// sizes and markers are the layouts the editor itself writes.
TEST (ProgramFile, EveryFormRoundTrips)
{
    std::vector<ProgramFile::Program> two (2);
    two[0].record = SysExFixture::record ("First", 1, 1);
    two[1].record = SysExFixture::record ("Second", 2, 2);

    const struct
    {
        Format format;
        size_t programs, bytes, keptInFile;
    } cases[] = {
        { Format::sysEx, 2, 2 * 1178, 2 },  { Format::library, 2, 13 + 2048 + 13, 2 },
        { Format::bank, 2, 99 * 1178, 99 }, { Format::presetBank, 2, 102430, 99 },
        { Format::program, 1, 1176, 1 },    { Format::preset, 1, 1057, 1 },
    };
    for (const auto& c : cases)
    {
        const std::vector<ProgramFile::Program> programs (two.begin(), two.begin() + (long) c.programs);
        const auto file = ProgramFile::write (c.format, programs);
        const auto extension = ProgramFile::extensionOf (c.format);
        EXPECT_EQ (file.getSize(), c.bytes) << extension;

        const auto back = readBlock (c.format, file);
        ASSERT_EQ (back.size(), c.keptInFile) << extension;
        for (size_t i = 0; i < c.programs; ++i)
            EXPECT_EQ (back[i].record, programs[i].record) << extension << " program " << i;
        for (size_t i = c.programs; i < back.size(); ++i)
            EXPECT_EQ (back[i].record, FactoryData::basicProgram()) << extension << " fills up with the Basic Program";
    }
}

TEST (ProgramFile, WritingRefusesMoreThanAFileHoldsAndNothing)
{
    std::vector<ProgramFile::Program> many (100);
    EXPECT_TRUE (ProgramFile::write (Format::bank, many).isEmpty());
    EXPECT_TRUE (ProgramFile::write (Format::presetBank, many).isEmpty());
    EXPECT_TRUE (ProgramFile::write (Format::program, { many[0], many[1] }).isEmpty());
    EXPECT_TRUE (ProgramFile::write (Format::library, {}).isEmpty());
    EXPECT_FALSE (ProgramFile::write (Format::library, many).isEmpty());
}

TEST (ProgramFile, SysExDumpsGoToTheirSlotOrRunOnFromTheLastOne)
{
    std::vector<ProgramFile::Program> programs (4);
    programs[1].bank = 2;
    programs[1].slot = 97;
    programs[3].bank = 7;
    programs[3].slot = 98;
    programs.push_back ({}); // after F4 P 99 comes U1 P 1 again

    const auto found = readBlock (Format::sysEx, ProgramFile::write (Format::sysEx, programs, 1));
    const std::pair<int, int> expected[] = { { 1, 0 }, { 2, 97 }, { 2, 98 }, { 7, 98 }, { 0, 0 } };
    ASSERT_EQ (found.size(), std::size (expected));
    for (size_t i = 0; i < found.size(); ++i)
        EXPECT_EQ (std::make_pair (found[i].bank, found[i].slot), expected[i]) << i;
}

TEST (ProgramFile, ABankFileTakesTheBankItsProgramsCameFrom)
{
    std::vector<ProgramFile::Program> programs (3);
    programs[1].bank = 6;
    const auto file = ProgramFile::write (Format::bank, programs, 2);
    const auto found = readBlock (Format::bank, file);
    ASSERT_EQ (found.size(), 99u);
    for (const auto& p : found)
        EXPECT_EQ (p.bank, 6);
    EXPECT_EQ (found[98].slot, 98);

    const auto unnamed = readBlock (Format::bank, ProgramFile::write (Format::bank, { {} }, 2));
    ASSERT_FALSE (unnamed.empty());
    EXPECT_EQ (unnamed[0].bank, 2);
}

// Files the editor writes with its own file commands read the same here, so the two never disagree.
TEST (ProgramFile, ReadsWhatTheEditorsFileCommandsWrite)
{
    Bank_Program bank;
    bank.loadFactory (1);

    const auto single = readBlock (Format::program, FileMan::singleProgramFile (bank, 7));
    ASSERT_EQ (single.size(), 1u);
    EXPECT_EQ (single[0].record, bank.getSlot (7));

    const auto whole = readBlock (Format::bank, FileMan::programBankFile (bank, 5));
    ASSERT_EQ (whole.size(), 99u);
    for (int slot = 0; slot < 99; ++slot)
        EXPECT_EQ (whole[(size_t) slot].record, bank.getSlot (slot)) << slot;
    EXPECT_EQ (whole[0].bank, 5);
}

TEST (ProgramFile, ReadersRefuseWhatIsNotTheirForm)
{
    const auto library = ProgramFile::write (Format::library, { {} });
    const auto presetBank = ProgramFile::write (Format::presetBank, { {} });
    const auto preset = ProgramFile::write (Format::preset, { {} });
    const auto dumps = SysExFixture::mixedFile();

    const struct
    {
        Format format;
        juce::MemoryBlock bytes;
        const char* what;
    } cases[] = {
        { Format::library, presetBank, "a preset bank taken as a library" },
        { Format::library, juce::MemoryBlock (library.getData(), 20), "a library cut inside its first record" },
        { Format::presetBank, preset, "a preset taken as a preset bank" },
        { Format::presetBank, juce::MemoryBlock (presetBank.getData(), 29 + 1000), "no whole slot" },
        { Format::preset, juce::MemoryBlock (preset.getData(), 1056), "a preset one byte short" },
        { Format::preset, library, "a library taken as a preset" },
        { Format::bank, library, "no dump in a library file" },
        { Format::sysEx, juce::MemoryBlock (dumps.getData(), 1177), "only a cut dump" },
        { Format::sysEx, {}, "nothing at all" },
    };
    for (const auto& c : cases)
        EXPECT_TRUE (readBlock (c.format, c.bytes).empty()) << c.what;
}
} // namespace
