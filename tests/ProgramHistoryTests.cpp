#include "MessageLoop.h"
#include "TestRig.h"
#include "model/FactoryData.h"
#include "plugin/OstrelAudioProcessor.h"
#include "plugin/StateChunks.h"

namespace
{
using Action = ProgramHistory::Action;
using Record = ProgramHistory::Record;

// ---- The history alone -------------------------------------------------------------------------

TEST (ProgramHistory, StepsJoinOnlyWhileOneParameterKeepsChanging)
{
    Record program {};
    ProgramHistory history (program);

    // A drag of position 8 within the coalescing time is one step; position 9 starts another.
    for (int v = 1; v <= 20; ++v)
    {
        program[8] = (uint8_t) v;
        history.recordByte (8, (uint8_t) v, Action::ofParameter (8), 1000 + v * 10);
    }
    program[9] = 5;
    history.recordByte (9, 5, Action::ofParameter (9), 1300);
    // The same parameter after a pause is a step of its own, and so after its gesture closed.
    program[9] = 6;
    history.recordByte (9, 6, Action::ofParameter (9), 1300 + ProgramHistory::kCoalesceMilliseconds + 1);
    history.closeStep (9);
    program[9] = 7;
    history.recordByte (9, 7, Action::ofParameter (9), 1600);
    EXPECT_EQ (history.undoCount(), 4u);

    const std::pair<int, int> undone[] = { { 9, 6 }, { 9, 5 }, { 9, 0 }, { 8, 0 } };
    for (const auto& [position, value] : undone)
    {
        ASSERT_TRUE (history.undo (program).has_value());
        EXPECT_EQ (program[(size_t) position], value) << position;
    }
    EXPECT_FALSE (history.undo (program).has_value());
    EXPECT_EQ (program, Record {});

    // Redo walks forward again; a new change drops what was left to redo.
    ASSERT_TRUE (history.redo (program).has_value());
    EXPECT_EQ (program[8], 20);
    program[100] = 1;
    history.record (program, Action::of (Action::paste), 5000);
    EXPECT_FALSE (history.canRedo());
    EXPECT_EQ (history.nextUndo()->kind, Action::paste);
}

TEST (ProgramHistory, ADragBackToWhereItStartedLeavesNoStep)
{
    Record program {};
    ProgramHistory history (program);
    history.recordByte (8, 3, Action::ofParameter (8), 0);
    history.recordByte (8, 0, Action::ofParameter (8), 10);
    EXPECT_FALSE (history.canUndo());
    EXPECT_EQ (history.memoryBytes(), 0u);
    // The same record again is no step either.
    history.record (program, Action::of (Action::file), 20);
    EXPECT_FALSE (history.canUndo());
}

TEST (ProgramHistory, MemoryStaysBoundedOverAHundredThousandSteps)
{
    Record program {};
    ProgramHistory history (program);
    size_t most = 0;
    for (int i = 0; i < 100000; ++i)
    {
        if (i % 10 == 0)
        {
            // A whole new program (every byte differs) every tenth step.
            for (auto& b : program)
                b = (uint8_t) (b + 1);
            history.record (program, Action::ofLoad (0, i % 99), i * 1000);
        }
        else
        {
            const int position = i % 1024;
            program[(size_t) position] = (uint8_t) (program[(size_t) position] + 1);
            history.recordByte (position, program[(size_t) position], Action::ofParameter (position), i * 1000);
        }
        most = std::max (most, history.memoryBytes());
        ASSERT_LE (history.undoCount(), ProgramHistory::kMaxSteps);
    }
    EXPECT_LE (most, ProgramHistory::kMaxBytes);
    EXPECT_EQ (history.undoCount(), ProgramHistory::kMaxSteps);

    // What is kept still undoes to exact earlier programs: the newest step is a knob step.
    const auto now = program;
    ASSERT_TRUE (history.undo (program).has_value());
    ASSERT_TRUE (history.redo (program).has_value());
    EXPECT_EQ (program, now);

    // Only whole programs: the byte bound holds first.
    ProgramHistory loads (program);
    for (int i = 0; i < 2000; ++i)
    {
        for (auto& b : program)
            b = (uint8_t) (b + 1);
        loads.record (program, Action::of (Action::file), i * 1000);
        ASSERT_LE (loads.memoryBytes(), ProgramHistory::kMaxBytes);
    }
    EXPECT_LT (loads.undoCount(), ProgramHistory::kMaxSteps);
    EXPECT_GT (loads.undoCount(), 400u);
}

TEST (ProgramHistory, StepNames)
{
    const auto& table = ParameterTable::get();
    const std::pair<Action, const char*> cases[] = {
        { Action::ofParameter (8), "A Level 1" },
        { Action::ofParameter (512 + 8), "B Level 1" },
        { Action::ofLoad (1, 4), "Load U2 P 5" },
        { Action::ofLoad (4, 98), "Load F1 P 99" },
        { Action::ofPreset (6), "Load Preset 7" },
        { Action::of (Action::paste), "Paste" },
        { Action::of (Action::receive), "Receive Program" },
        { Action::ofReceivedProgram (7, 0), "Receive F4 P 1" },
    };
    for (const auto& [action, text] : cases)
        EXPECT_EQ (ProgramHistory::describe (action, table), text);
}

// ---- Every road, through the processor and the stand-in ----------------------------------------

struct HistoryRig
{
    HistoryRig() : devices (std::make_shared<InProcessMidiDevices> (standIn))
    {
        writePortsFile (SettingsFiles::Folder (scratch.folder), InProcessMidiDevices::kStandInPort,
                        InProcessMidiDevices::kStandInPort);
        processor = std::make_unique<OstrelAudioProcessor> (MidiCntrState::Environment { devices, scratch.folder });
        processor->addListener (&host);
        // The instrument starts with what the editor shows.
        controller().sendCurrentSlot();
        settle();
    }
    ~HistoryRig() { processor->removeListener (&host); }

    MidiCntrState& controller() { return processor->getController(); }
    void settle()
    {
        ASSERT_TRUE (standIn.waitUntilIdle());
        runMessageLoop (20); // the processor takes the instrument's NRPNs on the message thread
        ASSERT_TRUE (standIn.waitUntilIdle());
    }

    ScratchFolder scratch;
    Prophet12StandIn standIn;
    std::shared_ptr<InProcessMidiDevices> devices;
    std::unique_ptr<OstrelAudioProcessor> processor;
    HostListener host;
};

juce::MemoryBlock programChunk (const Record& record)
{
    juce::MemoryBlock chunk;
    chunk.append (StateChunks::kProgramHeader, 23);
    chunk.append (StateChunks::kVersion, 10);
    chunk.append (record.data(), record.size());
    return chunk;
}

TEST (ProgramHistory, TheStartUpProgramIsNoStep)
{
    ScratchFolder scratch;
    Record program;
    program.fill (0x21);
    const auto chunk = programChunk (program);
    ASSERT_TRUE (SettingsFiles::writeAtomically (SettingsFiles::Folder (scratch.folder).startupProgramFile(), chunk));
    Prophet12StandIn standIn;
    OstrelAudioProcessor processor (
        MidiCntrState::Environment { std::make_shared<InProcessMidiDevices> (standIn), scratch.folder });
    EXPECT_EQ (processor.getController().getCurrentProgram(), program);
    EXPECT_FALSE (processor.getController().nextUndo().has_value());
}

TEST (ProgramHistory, EveryRoadUndoesAndRedoesToTheExactBytes)
{
    struct Case
    {
        const char* name;
        std::function<void (HistoryRig&)> act;
        const char* undoText;
        std::function<void (HistoryRig&)> prepare = nullptr;
    };
    // The instrument's slot holds what our bank image holds, as after a bank receive.
    auto mirrorSlot = [] (int bank, int program) {
        return [=] (HistoryRig& r) { r.standIn.setProgram (bank, program, r.controller().getSlot (bank, program)); };
    };
    const int level1 = 8, hostLevel1 = ParameterTable::get().automationIndexOf (level1);
    const Case cases[] = {
        { "knob drag",
          [] (HistoryRig& r) {
              for (int v = 30; v <= 90; v += 3)
                  r.processor->cableValueChanged (level1, v, false, true, true);
          },
          "A Level 1" },
        { "host automation ramp",
          [=] (HistoryRig& r) {
              for (int i = 0; i <= 20; ++i)
                  r.processor->getParameters()[hostLevel1]->setValue ((float) i / 40.0f);
          },
          "A Level 1" },
        { "menu choice", [] (HistoryRig& r) { r.processor->cableValueChanged (520, 3, true, true, true); }, "B " },
        { "paste",
          [] (HistoryRig& r) {
              r.controller().setCurrentProgram (Prophet12StandIn::standInProgram (2, 7), Action::of (Action::paste));
              r.controller().sendSysEx (ProgramDump::editBufferDump (r.controller().getCurrentProgram()));
          },
          "Paste" },
        { "program load", [] (HistoryRig& r) { r.controller().selectProgram (1 * 99 + 4, true, true); }, "Load U2 P 5",
          mirrorSlot (1, 4) },
        { "preset bank click", [] (HistoryRig& r) { r.processor->setCurrentProgram (6); }, "Load Preset 7" },
        { "library click and host state restore",
          [] (HistoryRig& r) {
              const auto chunk = programChunk (Prophet12StandIn::standInProgram (3, 30));
              r.processor->setCurrentProgramStateInformation (chunk.getData(), (int) chunk.getSize());
          },
          "Load Preset" },
        { "RECV", [] (HistoryRig& r) { r.controller().sendRequest (6, 0, 0); }, "Receive Program",
          [] (HistoryRig& r) {
              // A program change loads our image of the slot; the instrument's own differs.
              r.standIn.selectProgram (5, 11);
              r.settle();
          } },
        { "instrument NRPN stream",
          [] (HistoryRig& r) {
              for (int v = 10; v <= 40; v += 5)
                  r.standIn.turnParameter (level1, v);
          },
          "A Level 1" },
        { "followed program change",
          [] (HistoryRig& r) {
              r.controller().setFollowProgramChange (true);
              r.standIn.selectProgram (2, 3);
          },
          "Load U3 P 4", mirrorSlot (2, 3) },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        HistoryRig rig;
        auto& controller = rig.controller();
        if (c.prepare)
            c.prepare (rig);
        const auto before = controller.getCurrentProgram();
        const auto undoneBefore = controller.withHistory ([] (const ProgramHistory& h) { return h.undoCount(); });

        c.act (rig);
        rig.settle();
        const auto after = controller.getCurrentProgram();
        ASSERT_NE (before, after);
        EXPECT_EQ (controller.withHistory ([] (const ProgramHistory& h) { return h.undoCount(); }), undoneBefore + 1);
        ASSERT_TRUE (controller.nextUndo().has_value());
        EXPECT_TRUE (controller.describe (*controller.nextUndo()).startsWith (c.undoText))
            << controller.describe (*controller.nextUndo());
        EXPECT_EQ (rig.standIn.getEditBuffer(), after);

        rig.processor->undoProgramEdit();
        rig.settle();
        EXPECT_EQ (controller.getCurrentProgram(), before);
        EXPECT_EQ (rig.standIn.getEditBuffer(), before);

        rig.processor->redoProgramEdit();
        rig.settle();
        EXPECT_EQ (controller.getCurrentProgram(), after);
        EXPECT_EQ (rig.standIn.getEditBuffer(), after);
    }
}

TEST (ProgramHistory, UndoSendsFewParametersAsNrpnAndManyAsOneDump)
{
    HistoryRig rig;
    auto& controller = rig.controller();
    const int level1 = 8, hostLevel1 = ParameterTable::get().automationIndexOf (level1);
    const int start = controller.getCurrentProgram()[level1];

    for (int v = start + 1; v <= start + 10; ++v)
        rig.processor->cableValueChanged (level1, v, false, true, true);
    rig.settle();
    runMessageLoop (OstrelAudioProcessor::kGestureCloseMilliseconds + 100); // the drag's gesture ends
    rig.host.clear();
    rig.standIn.clearReceivedMessages();

    rig.processor->undoProgramEdit();
    rig.settle();
    // One parameter: its NRPN (the repeat memory still names position 8: data bytes only), no dump.
    EXPECT_EQ (rig.standIn.countReceived ({ 0xF0 }), 0);
    EXPECT_EQ (rig.standIn.getEditBuffer()[level1], start);
    // The host hears the value as one gesture of its own.
    EXPECT_EQ (rig.host.begins, std::vector<int> { hostLevel1 });
    EXPECT_EQ (rig.host.ends, std::vector<int> { hostLevel1 });
    ASSERT_EQ (rig.host.changes.size(), 1u);
    EXPECT_FLOAT_EQ (rig.host.changes[0].second, (float) start / 127.0f);

    // A whole program: one edit-buffer dump and nothing else.
    controller.selectProgram (4 * 99 + 20, true, true);
    rig.settle();
    rig.standIn.clearReceivedMessages();
    rig.host.clear();
    rig.processor->undoProgramEdit();
    rig.settle();
    const auto received = rig.standIn.getReceivedMessages();
    ASSERT_EQ (received.size(), 1u);
    const auto dump = ProgramDump::editBufferDump (controller.getCurrentProgram());
    EXPECT_EQ (received[0], std::vector<uint8_t> (dump.begin(), dump.end()));
    EXPECT_FALSE (rig.host.begins.empty());
    EXPECT_EQ (rig.host.begins, rig.host.ends);
}

TEST (ProgramHistory, CompareShowsTheStoredProgramAndComesBackToTheEdit)
{
    HistoryRig rig;
    auto& controller = rig.controller();
    controller.selectProgram (2 * 99 + 8, true, true);
    rig.settle();
    const auto stored = controller.getSlot (2, 8);
    EXPECT_FALSE (controller.isCurrentProgramEdited());

    rig.processor->cableValueChanged (8, stored[8] == 1 ? 2 : 1, true, true, true);
    rig.processor->cableValueChanged (20, stored[20] == 1 ? 2 : 1, true, true, true);
    rig.settle();
    const auto edit = controller.getCurrentProgram();
    EXPECT_TRUE (controller.isCurrentProgramEdited());
    const auto undoSteps = controller.withHistory ([] (const ProgramHistory& h) { return h.undoCount(); });

    controller.toggleCompare();
    rig.settle();
    EXPECT_TRUE (controller.isComparing());
    EXPECT_FALSE (controller.isCurrentProgramEdited());
    EXPECT_EQ (controller.getCurrentProgram(), stored);
    EXPECT_EQ (rig.standIn.getEditBuffer(), stored);
    EXPECT_FALSE (controller.nextUndo().has_value()); // no undo while comparing

    controller.toggleCompare();
    rig.settle();
    EXPECT_FALSE (controller.isComparing());
    EXPECT_EQ (controller.getCurrentProgram(), edit);
    EXPECT_EQ (rig.standIn.getEditBuffer(), edit);
    EXPECT_EQ (controller.withHistory ([] (const ProgramHistory& h) { return h.undoCount(); }), undoSteps);

    // Turning a knob while comparing ends it; the edit is one undo away.
    controller.toggleCompare();
    rig.processor->cableValueChanged (30, stored[30] == 1 ? 2 : 1, true, true, true);
    rig.settle();
    EXPECT_FALSE (controller.isComparing());
    rig.processor->undoProgramEdit();
    rig.settle();
    EXPECT_EQ (controller.getCurrentProgram(), edit);
    EXPECT_EQ (rig.standIn.getEditBuffer(), edit);
}
} // namespace
