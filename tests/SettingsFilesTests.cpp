#include "TestRig.h"
#include "model/FactoryData.h"

#include <csignal>
#include <sys/resource.h>

namespace
{
juce::MemoryBlock contentOf (const juce::File& file)
{
    juce::MemoryBlock block;
    file.loadFileAsData (block);
    return block;
}

const uint8_t* bytes (const juce::MemoryBlock& block) { return static_cast<const uint8_t*> (block.getData()); }

TEST (SettingsFiles, FirstRunCreatesSettingsAndPorts)
{
    Rig rig (false);
    const auto folder = rig.folder();

    const auto settings = contentOf (folder.settingsFile());
    ASSERT_EQ (settings.getSize(), 400u);
    EXPECT_EQ (bytes (settings)[0], 0xFF);
    EXPECT_EQ (bytes (settings)[1], 0xFF);
    EXPECT_EQ (bytes (settings)[2], 0xFF);
    EXPECT_EQ (bytes (settings)[3], 0x64);
    EXPECT_EQ (bytes (settings)[6], 0); // written fresh; the channel 1 reaches the file at the next save

    const auto ports = contentOf (folder.portsFile());
    EXPECT_EQ (ports, literalBytes ("NONE\x0FNONE\x10NONE\x11"
                                    "0\x12"));
    EXPECT_FALSE (rig.controller->getPorts().isInputOpen());
    EXPECT_FALSE (rig.controller->getPorts().isOutputOpen());

    // The bank image appears when the instance goes.
    EXPECT_FALSE (folder.bankFile().exists());
    rig.stop();
    EXPECT_EQ (folder.bankFile().getSize(), 811034);
    EXPECT_EQ (bytes (contentOf (folder.settingsFile()))[6], 1);

    // Nothing but the files themselves is left behind.
    EXPECT_EQ (folder.settingsFolder().getNumberOfChildFiles (juce::File::findFilesAndDirectories, "*"), 3);
}

TEST (SettingsFiles, MidiChannelFromTheSettingsByte)
{
    struct Case
    {
        int stored, channel;
    };
    for (const auto& k :
         { Case { 0, 1 }, Case { 17, 1 }, Case { 255, 1 }, Case { 1, 1 }, Case { 16, 16 }, Case { 9, 9 } })
    {
        SCOPED_TRACE (k.stored);
        ScratchFolder scratch;
        const SettingsFiles::Folder folder (scratch.folder);
        auto block = SettingsFiles::freshSettings();
        block[6] = (uint8_t) k.stored;
        block[11] = 1;
        block[7] = 1;
        block[300] = 42; // reserved bytes are carried
        ASSERT_TRUE (SettingsFiles::saveSettings (folder.settingsFile(), block));

        {
            MidiCntrState c ({ nullptr, scratch.folder });
            EXPECT_EQ (c.getMidiChannel(), k.channel);
            EXPECT_TRUE (c.followsProgramChange());
            EXPECT_TRUE (c.getSettingsFlag7());
        }
        const auto saved = contentOf (folder.settingsFile());
        EXPECT_EQ (bytes (saved)[6], k.channel);
        EXPECT_EQ (bytes (saved)[300], 42);
    }
}

TEST (SettingsFiles, ShortSettingsFileGivesTheFreshBlock)
{
    ScratchFolder scratch;
    const SettingsFiles::Folder folder (scratch.folder);
    folder.settingsFolder().createDirectory();
    folder.settingsFile().replaceWithData ("\x01\x02\x03", 3);

    const auto block = SettingsFiles::loadSettings (folder.settingsFile());
    EXPECT_EQ (block, SettingsFiles::freshSettings());
    EXPECT_EQ (folder.settingsFile().getSize(), 3); // not rewritten on load
}

TEST (SettingsFiles, BanksSurviveFromOneInstanceToTheNext)
{
    Rig rig (false);
    auto changed = rig.controller->getSlot (5, 17);
    changed[85] = 3;
    ProgramDump::writeName (changed.data(), "Kept Across Runs");
    rig.controller->putSlot (5, 17, changed);
    rig.controller->putSlot (0, 98, changed);
    rig.stop();

    rig.start();
    EXPECT_EQ (rig.controller->getSlot (5, 17), changed);
    EXPECT_EQ (rig.controller->getSlotName (0, 98), "Kept Across Runs");
    EXPECT_EQ (rig.controller->getBankName (5), "Factory Bank 2");

    // Without a bank file user bank k and factory bank k both start as factory bank k.
    rig.stop();
    rig.folder().bankFile().deleteFile();
    rig.start();
    for (int b = 0; b < 8; ++b)
    {
        Bank_Program factory;
        factory.loadFactory (b % 4);
        EXPECT_EQ (rig.controller->getSlot (b, 50), factory.getSlot (50)) << b;
    }
}

TEST (SettingsFiles, ShortBankFileGivesWhatItHolds)
{
    // The marker and two and a half programs of bank 0: two whole programs are taken, the rest is
    // the built-in data.
    Bank_Program::Record a, b;
    a.fill (11);
    b.fill (22);
    juce::MemoryBlock image;
    image.append ("Proph12 Data>", 13);
    image.append (a.data(), a.size());
    image.append (b.data(), b.size());
    image.append (a.data(), 500);

    std::array<Bank_Program, 8> banks;
    std::array<Bank_Program*, 8> targets;
    for (int i = 0; i < 8; ++i)
    {
        banks[(size_t) i].loadFactory (i % 4);
        targets[(size_t) i] = &banks[(size_t) i];
    }

    ASSERT_TRUE (SettingsFiles::decodeBankImages (image.getData(), image.getSize(), targets));
    EXPECT_EQ (banks[0].getSlot (0), a);
    EXPECT_EQ (banks[0].getSlot (1), b);
    Bank_Program factory0;
    factory0.loadFactory (0);
    EXPECT_EQ (banks[0].getSlot (2), factory0.getSlot (2));
    EXPECT_EQ (0, memcmp (banks[7].slotBytes(), FactoryData::bank (3), Bank_Program::kBankBytes));

    // Below 1001 bytes the file is not a bank image at all.
    EXPECT_FALSE (SettingsFiles::decodeBankImages (image.getData(), 1000, targets));
}

TEST (SettingsFiles, AFailedWriteKeepsTheOldFile)
{
    ScratchFolder scratch;
    const auto target = scratch.folder.getChildFile ("Ph12_data.dat");
    ASSERT_TRUE (SettingsFiles::writeAtomically (target, "old content", 11));

    // Let the process write only small files, as a full disk would: the new image cannot be written.
    struct rlimit previous
    {};
    getrlimit (RLIMIT_FSIZE, &previous);
    const auto previousHandler = std::signal (SIGXFSZ, SIG_IGN);
    struct rlimit tiny = previous;
    tiny.rlim_cur = 4096;
    ASSERT_EQ (setrlimit (RLIMIT_FSIZE, &tiny), 0);

    std::vector<uint8_t> big (811034, 7);
    const bool written = SettingsFiles::writeAtomically (target, big.data(), big.size());

    setrlimit (RLIMIT_FSIZE, &previous);
    std::signal (SIGXFSZ, previousHandler);

    EXPECT_FALSE (written);
    EXPECT_EQ (contentOf (target), juce::MemoryBlock ("old content", 11));
    EXPECT_EQ (scratch.folder.getNumberOfChildFiles (juce::File::findFiles, "*"), 1); // no temporary left

    // A folder that cannot be made is reported too.
    const auto blocked = scratch.folder.getChildFile ("Ph12_data.dat").getChildFile ("inside.dat");
    EXPECT_FALSE (SettingsFiles::writeAtomically (blocked, "x", 1));
}

TEST (SettingsFiles, EditorGeometry)
{
    SettingsFiles::EditorGeometry g;
    g.main = { 10, 20, 1200, 730 };
    g.editor = { 0, 0, 2400, 500 };
    g.keyboard = { 0, 0, 1200, 172 };
    g.editorScale = 0.75;
    g.keyboardScale = 1.25;

    const auto block = SettingsFiles::encodeGeometry (g);
    ASSERT_EQ (block.getSize(), 100u);
    EXPECT_EQ (bytes (block)[24], 0x02);
    EXPECT_EQ (bytes (block)[25], 0xEE);
    EXPECT_EQ (bytes (block)[4], 1200 / 256);
    EXPECT_EQ (bytes (block)[5], 1200 % 256);
    for (int i = 28; i < 100; ++i)
        ASSERT_EQ (bytes (block)[i], 0) << i;

    const auto back = SettingsFiles::decodeGeometry (block.getData(), block.getSize());
    ASSERT_TRUE (back.has_value());
    EXPECT_EQ (back->main, g.main);
    EXPECT_EQ (back->editor, g.editor);
    EXPECT_EQ (back->keyboard, g.keyboard);
    EXPECT_DOUBLE_EQ (back->editorScale, 0.75);
    EXPECT_DOUBLE_EQ (back->keyboardScale, 1.25);

    // Two bytes are no geometry; a short file gives what it holds and zeros after.
    EXPECT_FALSE (SettingsFiles::decodeGeometry (block.getData(), 2).has_value());
    const auto cut = SettingsFiles::decodeGeometry (block.getData(), 7);
    ASSERT_TRUE (cut.has_value());
    EXPECT_EQ (cut->main, juce::Rectangle<int> (10, 20, 1200, 0));
    EXPECT_EQ (cut->editorScale, 0.0);

    ScratchFolder scratch;
    const SettingsFiles::Folder folder (scratch.folder);
    EXPECT_FALSE (SettingsFiles::loadGeometry (folder.geometryFile()).has_value()); // no file yet
    ASSERT_TRUE (SettingsFiles::saveGeometry (folder.geometryFile(), g));
    EXPECT_EQ (folder.geometryFile().getSize(), 100);
    EXPECT_EQ (SettingsFiles::loadGeometry (folder.geometryFile())->editorScale, 0.75);
}

TEST (SettingsFiles, StartupProgramPath)
{
    const SettingsFiles::Folder folder (juce::File ("/tmp/somewhere"));
    EXPECT_EQ (folder.startupProgramFile().getFullPathName(), "/tmp/somewhere/Library/Prophet 12/preset.prop12patch");
    EXPECT_EQ (folder.portsFile().getFullPathName(), "/tmp/somewhere/PlugSettings/pro12plports.dat");
}
} // namespace
