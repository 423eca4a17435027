// The controller state's undo history and compare: every road that changes the current program
// tells the history under the data lock (noteProgramChanged, noteByteChanged); undo, redo and
// compare send what they restore to the instrument.
#include "midi/MidiCntrState.h"

#include <chrono>

namespace
{
int64_t nowMilliseconds()
{
    using namespace std::chrono;
    return duration_cast<milliseconds> (steady_clock::now().time_since_epoch()).count();
}

bool isSlotOfInstrument (int bank, int program)
{
    return bank >= 0 && bank < ProgramDump::kBanks && program >= 0 && program < ProgramDump::kProgramsPerBank;
}
} // namespace

void MidiCntrState::noteProgramChanged (ProgramHistory::Action action) const
{
    const auto& program = programBank->getEditBuffer();
    if (comparing)
    {
        // Only a real change ends the comparison; the history still holds the edit, so the step
        // recorded now goes from the edit to the new program.
        if (program == comparedProgram)
            return;
        comparing = false;
    }
    history->record (program, action, nowMilliseconds());
}

void MidiCntrState::noteByteChanged (int position, uint8_t value) const
{
    if (comparing)
    {
        noteProgramChanged (ProgramHistory::Action::ofParameter (position));
        return;
    }
    history->recordByte (position, value, ProgramHistory::Action::ofParameter (position), nowMilliseconds());
}

void MidiCntrState::clearProgramHistory()
{
    const juce::ScopedLock sl (dataLock);
    if (comparing)
        programBank->setEditBuffer (history->current());
    comparing = false;
    history->reset (programBank->getEditBuffer());
}

void MidiCntrState::closeEditStep (int position)
{
    const juce::ScopedLock sl (dataLock);
    history->closeStep (position);
}

std::optional<ProgramHistory::Action> MidiCntrState::nextUndo() const
{
    const juce::ScopedLock sl (dataLock);
    return comparing ? std::nullopt : history->nextUndo();
}

std::optional<ProgramHistory::Action> MidiCntrState::nextRedo() const
{
    const juce::ScopedLock sl (dataLock);
    return comparing ? std::nullopt : history->nextRedo();
}

std::vector<int> MidiCntrState::undoProgramEdit() { return applyHistory (true); }
std::vector<int> MidiCntrState::redoProgramEdit() { return applyHistory (false); }

std::vector<int> MidiCntrState::applyHistory (bool undo)
{
    std::optional<ProgramHistory::Step> step;
    Record program;
    {
        const juce::ScopedLock sl (dataLock);
        if (comparing)
            return {};
        step = undo ? history->undo (programBank->editBufferData()) : history->redo (programBank->editBufferData());
        if (! step)
            return {};
        program = programBank->getEditBuffer();
    }

    std::vector<int> positions;
    positions.reserve (step->changes.size());
    bool everyOneHasNrpn = true;
    for (const auto& c : step->changes)
    {
        positions.push_back (c.position);
        everyOneHasNrpn = everyOneHasNrpn && table.nrpnOf (c.position) >= 0;
    }

    // Bytes on the wire decide: a few parameters cost 12 bytes each at most, a dump 1176. A byte
    // the instrument has no NRPN for (a name letter, an arpeggiator step) can only go in a dump.
    if (everyOneHasNrpn && (int) positions.size() <= kMaxNrpnUndo)
    {
        for (auto p : positions)
        {
            sendParameterNrpn (p, program[(size_t) p]);
            postNotification (Notification::parameterChanged (p, program[(size_t) p]));
        }
    }
    else
    {
        ports->sendSysEx (ProgramDump::editBufferDump (program));
        postNotification (Notification::kProgramReplaced);
    }
    return positions;
}

void MidiCntrState::toggleCompare()
{
    juce::MemoryBlock dump;
    {
        const juce::ScopedLock sl (dataLock);
        if (comparing)
        {
            programBank->setEditBuffer (history->current());
            comparing = false;
        }
        else
        {
            const int bank = currentBank, program = currentProgram;
            if (! isSlotOfInstrument (bank, program))
                return;
            comparedProgram = banks[(size_t) bank]->getSlot (program);
            history->closeStep();
            programBank->setEditBuffer (comparedProgram);
            comparing = true;
        }
        dump = programBank->editBufferAsDump();
    }
    ports->sendSysEx (dump);
    postNotification (Notification::kProgramReplaced);
}

bool MidiCntrState::isComparing() const
{
    const juce::ScopedLock sl (dataLock);
    return comparing;
}

bool MidiCntrState::isCurrentProgramEdited() const
{
    const int bank = currentBank, program = currentProgram;
    if (! isSlotOfInstrument (bank, program))
        return false;
    const juce::ScopedLock sl (dataLock);
    return ! comparing && programBank->getEditBuffer() != banks[(size_t) bank]->getSlot (program);
}
