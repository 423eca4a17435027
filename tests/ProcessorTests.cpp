#include "MessageLoop.h"
#include "TestRig.h"
#include "model/FactoryData.h"
#include "plugin/OstrelAudioProcessor.h"
#include "plugin/OstrelAudioProcessorEditor.h"
#include "plugin/StateChunks.h"

namespace
{
// The processor on the stand-in, as a host would hold it.
struct ProcessorRig
{
    ProcessorRig() : devices (std::make_shared<InProcessMidiDevices> (standIn))
    {
        writePortsFile (SettingsFiles::Folder (scratch.folder), InProcessMidiDevices::kStandInPort,
                        InProcessMidiDevices::kStandInPort);
    }

    OstrelAudioProcessor& make()
    {
        processor = std::make_unique<OstrelAudioProcessor> (MidiCntrState::Environment { devices, scratch.folder });
        return *processor;
    }

    void settle() { ASSERT_TRUE (standIn.waitUntilIdle()); }

    static void runMessageLoop (int milliseconds) { ::runMessageLoop (milliseconds); }

    // Runs the message loop until `done` holds, for at most five seconds.
    template <typename Condition>
    static bool runMessageLoopUntil (Condition done)
    {
        for (int waited = 0; ! done() && waited < 5000; waited += 10)
            runMessageLoop (10);
        return done();
    }

    ScratchFolder scratch;
    Prophet12StandIn standIn;
    std::shared_ptr<InProcessMidiDevices> devices;
    std::unique_ptr<OstrelAudioProcessor> processor;
};

TEST (Processor, HostParameters)
{
    ProcessorRig rig;
    auto& p = rig.make();
    const auto& params = p.getParameters();
    ASSERT_EQ (params.size(), 624);

    const std::pair<int, const char*> names[] = { { 0, "A Pitch 1" },    { 8, "A Level 1" },     { 309, "A A B Mode" },
                                                  { 310, "B Pitch 1" },  { 617, "B ArpVel 32" }, { 618, "Program No." },
                                                  { 623, "SlidLatch 2" } };
    for (const auto& [index, name] : names)
        EXPECT_EQ (params[index]->getName (100), name) << index;
    EXPECT_EQ (p.getHostParameterName (624), "624");
    EXPECT_EQ (p.getHostParameterValue (700), 0.0f);
    EXPECT_EQ (p.getHostParameterText (624), "");

    // 0.5 of 0..127 is 63.5, which goes to the even neighbour.
    params[8]->setValue (0.5f);
    EXPECT_EQ (p.getController().getCurrentProgram()[8], 64);
    EXPECT_EQ (params[8]->getCurrentValueAsText(), "64");
    rig.settle();
    EXPECT_EQ (rig.standIn.getEditBuffer()[8], 64);

    // The same integer again sends nothing.
    rig.devices->clearOutputCalls();
    params[8]->setValue (64.2f / 127.0f);
    EXPECT_TRUE (rig.devices->getOutputCalls().empty());

    struct Case
    {
        int maximum;
        float normalised;
        int raw;
    };
    for (const auto& k : { Case { 1, 0.5f, 0 }, Case { 255, 0.5f, 128 }, Case { 3, 0.5f, 2 }, Case { 127, 1.0f, 127 },
                           Case { 791, 0.0f, 0 } })
        EXPECT_EQ (OstrelAudioProcessor::toRaw (k.maximum, k.normalised), k.raw) << k.maximum;

    // "BPM" reads as raw / 250, so 30 is 0.12.
    const int bpm = p.getController().getTable().automationIndexOf (256);
    p.getController().storeValue (256, 30);
    EXPECT_FLOAT_EQ (params[bpm]->getValue(), 0.12f);
    EXPECT_EQ (params[bpm]->getCurrentValueAsText(), "30 bpm");

    // A host's reset goes to the default program's value.
    EXPECT_FLOAT_EQ (params[8]->getDefaultValue(), FactoryData::basicProgram()[8] / 127.0f);
    EXPECT_EQ (params[618]->getDefaultValue(), 0.0f);

    // An empty arpeggiator step (255) still reads inside 0..1.
    p.getController().storeValue (306, 255);
    EXPECT_EQ (params[p.getController().getTable().automationIndexOf (306)]->getValue(), 1.0f);
}

TEST (Processor, ProgramNumberText)
{
    ProcessorRig rig;
    auto& p = rig.make();
    auto* programNumber = p.getParameters()[618];
    EXPECT_EQ (programNumber->getCurrentValueAsText(), "Disabled");

    p.getController().setFollowProgramChange (true);
    p.getController().setProgramIndex (5 * 99 + 2);
    EXPECT_EQ (programNumber->getCurrentValueAsText(), "F 2: P 3 " + p.getController().getSlotName (5, 2));
    p.getController().setProgramIndex (1 * 99 + 0);
    EXPECT_EQ (programNumber->getCurrentValueAsText(), "U 2: P 1 " + p.getController().getSlotName (1, 0));

    // Following program changes, the host's "Program No." selects the program on the instrument.
    programNumber->setValue (4.0f * 99.0f / 791.0f);
    rig.settle();
    EXPECT_EQ (rig.standIn.getCurrentBank(), 4);
    EXPECT_EQ (rig.standIn.getCurrentProgram(), 0);
}

TEST (Processor, EditorDragIsOneGesture)
{
    ProcessorRig rig;
    auto& p = rig.make();
    HostListener host;
    p.addListener (&host);

    for (int v = 10; v < 40; ++v)
    {
        p.cableValueChanged (8, v, false, true, true);
        ProcessorRig::runMessageLoop (1); // the knob moves on faster than the gesture's 200 ms
    }
    EXPECT_EQ (host.begins, std::vector<int> { 8 });
    EXPECT_TRUE (host.ends.empty());
    EXPECT_TRUE (p.isGestureOpen (8));

    ASSERT_TRUE (ProcessorRig::runMessageLoopUntil ([&] { return ! host.ends.empty(); }));
    ProcessorRig::runMessageLoop (250); // and nothing more comes
    EXPECT_EQ (host.ends, std::vector<int> { 8 });
    EXPECT_EQ (host.changes.size(), 30u);
    EXPECT_FLOAT_EQ (host.changes.back().second, 39.0f / 127.0f);
    rig.settle();
    EXPECT_EQ (rig.standIn.getEditBuffer()[8], 39);

    // A change that ends its gesture at once, and one for a position the host does not see.
    host.begins.clear();
    host.ends.clear();
    p.cableValueChanged (9, 3, true, false, false);
    EXPECT_EQ (host.begins, std::vector<int> { 9 });
    EXPECT_EQ (host.ends, std::vector<int> { 9 });
    p.cableValueChanged (24, 1, false, false, true);
    EXPECT_EQ (host.begins.size(), 1u);
    p.removeListener (&host);
}

TEST (Processor, InstrumentChangesReachTheHostNotTheInstrument)
{
    ProcessorRig rig;
    auto& p = rig.make();
    HostListener host;
    p.addListener (&host);
    rig.settle();
    rig.standIn.clearReceivedMessages();

    rig.standIn.turnParameter (85, 100);
    rig.settle();
    ASSERT_TRUE (ProcessorRig::runMessageLoopUntil ([&] { return ! host.changes.empty(); }));

    EXPECT_EQ (p.getController().getCurrentProgram()[85], 100);
    const int h = p.getController().getTable().automationIndexOf (85);
    ASSERT_FALSE (host.changes.empty());
    EXPECT_EQ (host.changes.back().first, h);
    EXPECT_FLOAT_EQ (host.changes.back().second, 100.0f / 164.0f);
    EXPECT_TRUE (rig.standIn.getReceivedMessages().empty());

    const auto codes = p.getController().takeNotifications();
    EXPECT_NE (std::find (codes.begin(), codes.end(), Notification::parameterChanged (85, 100)), codes.end());
    p.removeListener (&host);
}

TEST (Processor, HostQueueIsSpreadOverTheBlock)
{
    ProcessorRig rig;
    auto& p = rig.make();
    p.prepareToPlay (44100.0, 512);

    struct Case
    {
        std::vector<int> times;
        std::vector<int> samples;
    };
    for (const auto& k : { Case { { 1000, 1005, 1010 }, { 0, 233, 465 } }, Case { { 77 }, { 0 } }, Case { {}, {} } })
    {
        {
            const juce::ScopedLock sl (p.getController().getLock());
            for (auto t : k.times)
                p.getController().getHostQueue().addEvent (juce::MidiMessage::controllerEvent (1, 1, 5), t);
        }
        juce::AudioBuffer<float> audio (2, 512);
        audio.clear();
        juce::MidiBuffer midi;
        midi.addEvent (juce::MidiMessage::noteOn (1, 60, (juce::uint8) 100), 3); // from the host: dropped
        p.processBlock (audio, midi);

        std::vector<int> samples;
        for (const auto metadata : midi)
        {
            EXPECT_TRUE (metadata.getMessage().isControllerOfType (1));
            samples.push_back (metadata.samplePosition);
        }
        EXPECT_EQ (samples, k.samples);
        EXPECT_EQ (audio.getMagnitude (0, 512), 0.0f);

        const juce::ScopedLock sl (p.getController().getLock());
        EXPECT_TRUE (p.getController().getHostQueue().isEmpty());
    }
}

TEST (Processor, HostPrograms)
{
    ProcessorRig rig;
    auto& p = rig.make();
    Bank_Program factory;
    factory.loadFactory (0);

    EXPECT_EQ (p.getNumPrograms(), 99);
    EXPECT_EQ (p.getProgramName (0), factory.slotName (0));
    EXPECT_EQ (p.getProgramName (98), factory.slotName (98));
    EXPECT_EQ (p.getCurrentProgram(), 0); // no slot yet reads as 0

    p.setCurrentProgram (12);
    EXPECT_EQ (p.getCurrentProgram(), 12);
    EXPECT_EQ (p.getController().getCurrentProgram(), factory.getSlot (12));
    rig.settle();
    EXPECT_EQ (rig.standIn.getEditBuffer(), factory.getSlot (12));

    p.changeProgramName (20, "Renamed By Host");
    EXPECT_EQ (p.getProgramName (20), "Renamed By Host");
    EXPECT_EQ (p.getCurrentProgram(), 20);
    p.setCurrentProgram (99); // no such host program
    EXPECT_EQ (p.getCurrentProgram(), 20);
}

const uint8_t* bytesOf (const juce::MemoryBlock& b) { return static_cast<const uint8_t*> (b.getData()); }

TEST (Processor, BankChunk)
{
    ProcessorRig rig;
    auto& p = rig.make();
    Bank_Program factory;
    factory.loadFactory (0);

    // A fresh instance: the factory programs, the current program in the slot block, slot 0.
    auto current = p.getController().getCurrentProgram();
    current[85] = 1;
    p.getController().setCurrentProgram (current);

    juce::MemoryBlock chunk;
    p.getStateInformation (chunk);
    ASSERT_EQ (chunk.getSize(), 102430u);
    EXPECT_EQ (juce::String ((const char*) chunk.getData(), 29), "Prophet12OstrelBankVersion100");
    EXPECT_EQ (0, memcmp (bytesOf (chunk) + 29, factory.slotBytes(), 99 * 1024)); // slot 0's old bytes
    EXPECT_EQ (0, memcmp (bytesOf (chunk) + 101405, current.data(), 1024));
    EXPECT_EQ (bytesOf (chunk)[102429], 0);
    EXPECT_EQ (p.getController().getCurrentSlot(), 0);
    EXPECT_EQ (p.getController().getSlot (MidiCntrState::kProgramBank, 0), current);

    // With slot 7 current and edited through the host, the block after the slots is the program as
    // edited, not slot 7's stored bytes.
    p.setCurrentProgram (7);
    p.getParameters()[8]->setValue (99.0f / 127.0f); // "A Level 1"
    const auto edited = p.getController().getCurrentProgram();
    ASSERT_EQ (edited[8], 99);
    ASSERT_NE (edited, p.getController().getSlot (MidiCntrState::kProgramBank, 7));
    juce::MemoryBlock seven;
    p.getStateInformation (seven);
    EXPECT_EQ (0, memcmp (bytesOf (seven) + 101405, edited.data(), 1024));
    EXPECT_EQ (0, memcmp (bytesOf (seven) + 29 + 7 * 1024, factory.getSlot (7).data(), 1024));
    EXPECT_EQ (bytesOf (seven)[102429], 7);

    // Restoring a whole chunk brings back the slots, the current slot and the edited program: the
    // instrument gets it once, the host hears every parameter and is told the programs changed.
    auto restored = ProcessorRig();
    auto& q = restored.make();
    restored.settle();
    restored.standIn.clearReceivedMessages();
    q.getController().takeNotifications();
    HostListener host;
    q.addListener (&host);
    q.setStateInformation (seven.getData(), (int) seven.getSize());
    q.removeListener (&host);
    EXPECT_EQ (q.getController().getCurrentProgram(), edited);
    EXPECT_EQ (q.getCurrentProgram(), 7);
    EXPECT_EQ (q.getController().getSlot (MidiCntrState::kProgramBank, 0), current);
    EXPECT_EQ (q.getProgramName (7), p.getProgramName (7));
    EXPECT_EQ (q.getParameters()[8]->getValue(), 99.0f / 127.0f);
    EXPECT_EQ (host.changes.size(), 624u);
    EXPECT_EQ (host.programChanges, 1);
    const auto codes = q.getController().takeNotifications();
    EXPECT_NE (std::find (codes.begin(), codes.end(), Notification::kProgramReplaced), codes.end());
    restored.settle();
    EXPECT_EQ (restored.standIn.countReceived ({ 0xF0, 0x01, 0x2A, 0x03 }), 1);
    EXPECT_EQ (restored.standIn.getEditBuffer(), edited);

    // A chunk written before the block carried the edits holds the slot's stored bytes there: it
    // loads as that slot, made current.
    auto old = seven;
    old.copyFrom (factory.getSlot (7).data(), 101405, 1024);
    auto older = ProcessorRig();
    auto& o = older.make();
    o.setStateInformation (old.getData(), (int) old.getSize());
    EXPECT_EQ (o.getCurrentProgram(), 7);
    EXPECT_EQ (o.getController().getCurrentProgram(), factory.getSlot (7));
    older.settle();
    EXPECT_EQ (older.standIn.getEditBuffer(), factory.getSlot (7));

    // Only the slots: the current program stays and nothing is sent, but the host hears of the
    // new program names.
    auto slotsOnly = ProcessorRig();
    auto& so = slotsOnly.make();
    slotsOnly.settle();
    slotsOnly.devices->clearOutputCalls();
    const auto before = so.getController().getCurrentProgram();
    HostListener names;
    so.addListener (&names);
    so.setStateInformation (seven.getData(), 101405);
    so.removeListener (&names);
    EXPECT_TRUE (slotsOnly.devices->getOutputCalls().empty());
    EXPECT_EQ (so.getController().getCurrentProgram(), before);
    EXPECT_EQ (so.getController().getSlot (MidiCntrState::kProgramBank, 0), current);
    EXPECT_TRUE (names.changes.empty());
    EXPECT_EQ (names.programChanges, 1);

    // A short chunk gives the whole slots it holds, and nothing past its end is read.
    auto cut = ProcessorRig();
    auto& r = cut.make();
    std::vector<uint8_t> shortChunk (bytesOf (seven), bytesOf (seven) + 29 + 2 * 1024 + 500);
    std::fill (shortChunk.begin() + 29, shortChunk.end(), 0x33);
    r.setStateInformation (shortChunk.data(), (int) shortChunk.size());
    EXPECT_EQ (r.getController().getSlot (MidiCntrState::kProgramBank, 1)[0], 0x33);
    EXPECT_EQ (r.getController().getSlot (MidiCntrState::kProgramBank, 2), factory.getSlot (2));
    r.setStateInformation (shortChunk.data(), 10);
    r.setStateInformation (nullptr, 0);
}

TEST (Processor, ProgramChunkRoundTrip)
{
    ProcessorRig rig;
    auto& p = rig.make();
    p.setCurrentProgram (3);
    auto program = p.getController().getCurrentProgram();

    juce::MemoryBlock chunk;
    p.getCurrentProgramStateInformation (chunk);
    ASSERT_EQ (chunk.getSize(), 1057u);
    EXPECT_EQ (juce::String ((const char*) chunk.getData(), 33), "Prophet12OstrelSettingsVersion100");
    EXPECT_EQ (0, memcmp (bytesOf (chunk) + 33, program.data(), 1024));

    p.getParameters()[8]->setValue (0.0f);
    ASSERT_NE (p.getController().getCurrentProgram(), program);
    rig.settle();
    rig.standIn.clearReceivedMessages();

    HostListener host;
    p.addListener (&host);
    p.setCurrentProgramStateInformation (chunk.getData(), (int) chunk.getSize());
    p.removeListener (&host);
    EXPECT_EQ (host.programChanges, 1); // the host reads the program names again
    EXPECT_EQ (p.getController().getCurrentProgram(), program);
    EXPECT_EQ (p.getController().getSlot (MidiCntrState::kProgramBank, 3), program);
    rig.settle();
    EXPECT_EQ (rig.standIn.getEditBuffer(), program);

    // One byte short: ignored.
    auto other = program;
    other[85] = 7;
    p.getController().setCurrentProgram (other);
    p.setCurrentProgramStateInformation (chunk.getData(), 1056);
    EXPECT_EQ (p.getController().getCurrentProgram(), other);
}

TEST (Processor, StartupProgramFile)
{
    for (bool goodHeader : { true, false })
    {
        SCOPED_TRACE (goodHeader);
        ProcessorRig rig;
        Bank_Program::Record program;
        program.fill (0x21);
        juce::MemoryBlock file;
        file.append (goodHeader ? "Prophet12OstrelSettings" : "Prophet12OstrelSettingz", 23);
        file.append ("Version999", 10);
        file.append (program.data(), program.size());
        ASSERT_TRUE (
            SettingsFiles::writeAtomically (SettingsFiles::Folder (rig.scratch.folder).startupProgramFile(), file));

        auto& p = rig.make();
        rig.settle();
        EXPECT_EQ (p.getController().getCurrentProgram() == program, goodHeader);
        EXPECT_EQ (rig.standIn.getEditBuffer() == program, goodHeader);
    }
}

TEST (Processor, EditorShell)
{
    ProcessorRig rig;
    auto& p = rig.make();
    std::unique_ptr<juce::AudioProcessorEditor> editor (p.createEditor());
    ASSERT_NE (editor, nullptr);
    auto* shell = dynamic_cast<OstrelAudioProcessorEditor*> (editor.get());
    ASSERT_NE (shell, nullptr);
    EXPECT_EQ (editor->getWidth(), MainComp::kDefaultWidth);
    EXPECT_EQ (editor->getHeight(), MainComp::kDefaultHeight);

    // The editor follows its main component's size, within its limits.
    shell->getMainComp().setSize (800, 500);
    shell->getMainComp().sendSynchronousChangeMessage();
    EXPECT_EQ (editor->getWidth(), 800);
    auto* constrainer = editor->getConstrainer();
    ASSERT_NE (constrainer, nullptr);
    EXPECT_EQ (constrainer->getMinimumWidth(), 454);
    EXPECT_EQ (constrainer->getMaximumHeight(), 1082);
}
} // namespace

// "Program No." -1 is "no program": nothing is loaded, sent or reported as the first program.
TEST (Processor, NoProgramSelectsNothing)
{
    ProcessorRig rig;
    auto& p = rig.make();
    auto& c = p.getController();
    c.setFollowProgramChange (true);
    rig.settle();
    c.storeValue (20, 77);
    const auto before = c.getCurrentProgram();
    rig.devices->clearOutputCalls();

    p.cableValueChanged (ParameterTable::kProgramNumber, -1, true, true, true);
    rig.settle();

    EXPECT_EQ (c.getCurrentBank(), -1);
    EXPECT_EQ (c.getCurrentProgramNumber(), -1);
    EXPECT_EQ (c.getCurrentProgram(), before);
    EXPECT_TRUE (rig.devices->getOutputCalls().empty());
}
