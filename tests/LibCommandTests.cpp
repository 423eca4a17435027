#include "model/FactoryData.h"
#include "model/ProgramFile.h"
#include "tests/SysExFixture.h"
#include "tools/ostrel-lib/LibCommand.h"

#include <gtest/gtest.h>

namespace
{
using ProgramFile::Format;

struct Outcome
{
    int status = -1;
    juce::String out, err;
};

class LibCommand : public ::testing::Test
{
protected:
    juce::TemporaryFile folderName;
    juce::File folder = folderName.getFile();

    void SetUp() override { ASSERT_TRUE (folder.createDirectory()); }
    void TearDown() override { folder.deleteRecursively(); }

    juce::String path (const juce::String& name) const { return folder.getChildFile (name).getFullPathName(); }

    juce::String put (const juce::String& name, const juce::MemoryBlock& bytes) const
    {
        folder.getChildFile (name).replaceWithData (bytes.getData(), bytes.getSize());
        return path (name);
    }

    static Outcome run (juce::StringArray args)
    {
        Outcome r;
        r.status = runLibCommand (args, r.out, r.err);
        return r;
    }

    std::vector<ProgramFile::Program> readBack (const juce::String& name) const
    {
        juce::MemoryBlock bytes;
        folder.getChildFile (name).loadFileAsData (bytes);
        return ProgramFile::read (ProgramFile::formatOf (name), static_cast<const uint8_t*> (bytes.getData()),
                                  bytes.getSize());
    }

    static std::vector<ProgramFile::Program> programs (int count)
    {
        std::vector<ProgramFile::Program> list ((size_t) count);
        for (int i = 0; i < count; ++i)
            list[(size_t) i].record =
                SysExFixture::record (("Program " + juce::String (i + 1)).toRawUTF8(), i % 20, i + 3);
        return list;
    }
};

TEST_F (LibCommand, ListShowsEachProgramsPlaceLocationNameAndCategory)
{
    const auto file = put ("download.syx", SysExFixture::mixedFile());
    const auto r = run ({ "list", file });

    EXPECT_EQ (r.status, 0) << r.err;
    EXPECT_TRUE (r.err.isEmpty());
    const auto lines = juce::StringArray::fromLines (r.out.trimEnd());
    ASSERT_EQ (lines.size(), 4) << r.out;
    EXPECT_EQ (lines[0], file + ": 3 programs (SysEx file)");
    EXPECT_TRUE (lines[1].startsWith ("   1  U2 P 5    Night Drive")) << lines[1];
    EXPECT_TRUE (lines[2].startsWith ("   2  -         Glass Pad")) << lines[2];
    EXPECT_TRUE (lines[3].startsWith ("   3  F2 P 99   Last Whole")) << lines[3];
}

TEST_F (LibCommand, ListSaysWhichFilesHoldNoProgram)
{
    const auto good = put ("one.p12p", ProgramFile::write (Format::program, programs (1)));
    const auto empty = put ("empty.syx", juce::MemoryBlock ("no dumps here", 13));
    const auto text = put ("readme.txt", juce::MemoryBlock ("hello", 5));

    const auto r = run ({ "list", good, empty, text, path ("missing.p12b") });

    EXPECT_EQ (r.status, 1);
    EXPECT_TRUE (r.out.contains ("one.p12p: 1 program (single program file)")) << r.out;
    EXPECT_TRUE (r.err.contains ("empty.syx: holds no program")) << r.err;
    EXPECT_TRUE (r.err.contains ("readme.txt: not a file of programs")) << r.err;
    EXPECT_TRUE (r.err.contains ("missing.p12b: no such file")) << r.err;
}

// From every form into every other: the programs arrive in order, and a bank is filled up with the
// Basic Program. A form that holds one program takes one file per program.
TEST_F (LibCommand, ConvertsBetweenEveryPairOfForms)
{
    const Format forms[] = { Format::sysEx,   Format::program,    Format::bank,
                             Format::library, Format::presetBank, Format::preset };
    for (const auto from : forms)
        for (const auto to : forms)
        {
            if (from == to)
                continue;
            const auto source = programs (ProgramFile::capacityOf (from) == 1 ? 1 : 5);
            const auto in = put ("in" + ProgramFile::extensionOf (from), ProgramFile::write (from, source));
            const bool onePerFile = ProgramFile::capacityOf (to) == 1;
            const auto outName = juce::String (onePerFile ? "out{n}" : "out") + ProgramFile::extensionOf (to);
            for (auto f : folder.findChildFiles (juce::File::findFiles, false, "out*"))
                f.deleteFile();

            const auto r = run ({ "convert", in, path (outName) });
            const auto what = ProgramFile::extensionOf (from) + " to " + ProgramFile::extensionOf (to);
            ASSERT_EQ (r.status, 0) << what << ": " << r.err;

            std::vector<ProgramFile::Program> back;
            if (onePerFile)
            {
                for (size_t n = 1; n <= source.size(); ++n)
                    for (const auto& p : readBack (outName.replace ("{n}", juce::String ((int) n))))
                        back.push_back (p);
            }
            else
            {
                back = readBack (outName);
            }

            ASSERT_GE (back.size(), source.size()) << what;
            for (size_t i = 0; i < source.size(); ++i)
                EXPECT_EQ (back[i].record, source[i].record) << what << ", program " << i;
            if (ProgramFile::capacityOf (to) == 99)
                EXPECT_EQ (back.back().record, FactoryData::basicProgram()) << what;
        }
}

TEST_F (LibCommand, AWholeInstrumentGoesIntoNumberedBankFiles)
{
    auto all = programs (396);
    for (size_t i = 0; i < all.size(); ++i)
    {
        all[i].bank = (int) i / 99;
        all[i].slot = (int) i % 99;
    }
    const auto in = put ("all.syx", ProgramFile::write (Format::sysEx, all));

    const auto refused = run ({ "convert", in, path ("bank.p12b") });
    EXPECT_EQ (refused.status, 1);
    EXPECT_TRUE (refused.err.contains ("holds 396 programs and a program bank file takes 99")) << refused.err;
    EXPECT_FALSE (folder.getChildFile ("bank.p12b").exists());

    const auto r = run ({ "convert", in, path ("bank{n}.p12b") });
    ASSERT_EQ (r.status, 0) << r.err;
    for (int n = 1; n <= 4; ++n)
    {
        const auto back = readBack ("bank" + juce::String (n) + ".p12b");
        ASSERT_EQ (back.size(), 99u) << n;
        EXPECT_EQ (back[0].bank, n - 1) << "each file keeps the bank its programs came from";
        EXPECT_EQ (back[42].record, all[(size_t) (n - 1) * 99 + 42].record);
    }
    EXPECT_FALSE (folder.getChildFile ("bank5.p12b").exists());
}

TEST_F (LibCommand, ALibraryBecomesDumpsToConsecutiveSlots)
{
    const auto in = put ("mine.p12l", ProgramFile::write (Format::library, programs (120)));
    const auto r = run ({ "convert", in, path ("mine.syx") });
    ASSERT_EQ (r.status, 0) << r.err;

    const auto back = readBack ("mine.syx");
    ASSERT_EQ (back.size(), 120u);
    EXPECT_EQ (std::make_pair (back[0].bank, back[0].slot), std::make_pair (0, 0));
    EXPECT_EQ (std::make_pair (back[98].bank, back[98].slot), std::make_pair (0, 98));
    EXPECT_EQ (std::make_pair (back[99].bank, back[99].slot), std::make_pair (1, 0));
}

TEST_F (LibCommand, RefusalsSayWhyAndFailTheExitStatus)
{
    const auto empty = put ("empty.syx", juce::MemoryBlock ("x", 1));
    const auto good = put ("good.syx", SysExFixture::mixedFile());
    const auto notAFolder = juce::File (good).getChildFile ("x.p12l"); // a file stands where its folder would be

    const struct
    {
        juce::StringArray args;
        int status;
        const char* says;
    } cases[] = {
        { { "convert", empty, path ("x.p12l") }, 1, "holds no program" },
        { { "convert", good, path ("x.txt") }, 1, "cannot write this kind of file" },
        { { "convert", good, path ("x.p12p") }, 1, "put {n} in the output name" },
        { { "convert", good, notAFolder.getFullPathName() }, 1, "cannot be written" },
        { { "convert", good }, 2, "give one input and one output file" },
        { { "list" }, 2, "no file given" },
        { { "frobnicate" }, 2, "unknown command 'frobnicate'" },
        { {}, 2, "ostrel-lib list FILE" },
    };
    for (const auto& c : cases)
    {
        const auto r = run (c.args);
        EXPECT_EQ (r.status, c.status) << c.args.joinIntoString (" ");
        EXPECT_TRUE (r.err.contains (c.says)) << c.args.joinIntoString (" ") << "\n" << r.err;
    }
}

TEST_F (LibCommand, HelpForEachCommand)
{
    const std::pair<juce::StringArray, const char*> cases[] = {
        { { "--help" }, "ostrel-lib convert IN OUT" },
        { { "list", "--help" }, "one line per program" },
        { { "convert", "--help" }, "put {n} in OUT's name" },
    };
    for (const auto& [args, says] : cases)
    {
        const auto r = run (args);
        EXPECT_EQ (r.status, 0);
        EXPECT_TRUE (r.out.contains (says)) << r.out;
    }
}
} // namespace
