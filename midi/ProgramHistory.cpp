#include "midi/ProgramHistory.h"

#include <algorithm>

size_t ProgramHistory::sizeOf (const Step& step) noexcept
{
    return sizeof (Step) + step.changes.capacity() * sizeof (Change);
}

void ProgramHistory::record (const Record& program, Action action, int64_t nowMilliseconds)
{
    if (program == baseline)
        return;
    std::vector<Change> changes;
    for (size_t i = 0; i < program.size(); ++i)
        if (program[i] != baseline[i])
            changes.push_back ({ (uint16_t) i, baseline[i], program[i] });
    if (changes.empty())
        return;

    baseline = program;
    if (changes.size() == 1 && joinsOpenStep (action, nowMilliseconds))
    {
        addToOpenStep (changes.front());
        lastChangeMilliseconds = nowMilliseconds;
        return;
    }
    push ({ action, std::move (changes) }, nowMilliseconds);
}

void ProgramHistory::recordByte (int position, uint8_t value, Action action, int64_t nowMilliseconds)
{
    if (! juce::isPositiveAndBelow (position, (int) baseline.size()))
        return;
    const auto before = baseline[(size_t) position];
    if (before == value)
        return;

    baseline[(size_t) position] = value;
    const Change change { (uint16_t) position, before, value };
    if (joinsOpenStep (action, nowMilliseconds))
    {
        addToOpenStep (change);
        lastChangeMilliseconds = nowMilliseconds;
        return;
    }
    push ({ action, { change } }, nowMilliseconds);
}

void ProgramHistory::reset (const Record& program)
{
    baseline = program;
    undoSteps.clear();
    redoSteps.clear();
    bytes = 0;
    open = false;
}

void ProgramHistory::closeStep (int position) noexcept
{
    if (open && ! undoSteps.empty() && undoSteps.back().action == Action::ofParameter (position))
        open = false;
}

bool ProgramHistory::joinsOpenStep (const Action& action, int64_t nowMilliseconds) const noexcept
{
    return open && action.kind == Action::parameter && ! undoSteps.empty() && undoSteps.back().action == action &&
           nowMilliseconds - lastChangeMilliseconds <= kCoalesceMilliseconds;
}

void ProgramHistory::addToOpenStep (const Change& change)
{
    auto& step = undoSteps.back();
    bytes -= sizeOf (step);

    auto found = std::find_if (step.changes.begin(), step.changes.end(),
                               [&] (const Change& c) { return c.position == change.position; });
    if (found == step.changes.end())
        step.changes.push_back (change);
    else if ((found->after = change.after) == found->before)
        step.changes.erase (found); // back where the step began

    if (step.changes.empty())
    {
        // A drag that ends where it started changed nothing.
        undoSteps.pop_back();
        open = false;
        return;
    }
    bytes += sizeOf (step);
}

void ProgramHistory::push (Step step, int64_t nowMilliseconds)
{
    dropRedo();
    step.changes.shrink_to_fit();
    bytes += sizeOf (step);
    open = step.action.kind == Action::parameter;
    lastChangeMilliseconds = nowMilliseconds;
    undoSteps.push_back (std::move (step));
    trim();
}

void ProgramHistory::dropRedo() noexcept
{
    for (const auto& step : redoSteps)
        bytes -= sizeOf (step);
    redoSteps.clear();
}

void ProgramHistory::trim()
{
    while (! undoSteps.empty() && (undoSteps.size() > kMaxSteps || bytes > kMaxBytes))
    {
        bytes -= sizeOf (undoSteps.front());
        undoSteps.pop_front();
    }
}

std::optional<ProgramHistory::Step> ProgramHistory::undo (Record& program)
{
    open = false;
    if (undoSteps.empty())
        return std::nullopt;

    auto step = std::move (undoSteps.back());
    undoSteps.pop_back();
    for (const auto& c : step.changes)
        program[c.position] = c.before;
    baseline = program;
    redoSteps.push_back (step);
    return step;
}

std::optional<ProgramHistory::Step> ProgramHistory::redo (Record& program)
{
    open = false;
    if (redoSteps.empty())
        return std::nullopt;

    auto step = std::move (redoSteps.back());
    redoSteps.pop_back();
    for (const auto& c : step.changes)
        program[c.position] = c.after;
    baseline = program;
    undoSteps.push_back (step);
    return step;
}

std::optional<ProgramHistory::Action> ProgramHistory::nextUndo() const
{
    if (undoSteps.empty())
        return std::nullopt;
    return undoSteps.back().action;
}

std::optional<ProgramHistory::Action> ProgramHistory::nextRedo() const
{
    if (redoSteps.empty())
        return std::nullopt;
    return redoSteps.back().action;
}

juce::String ProgramHistory::slotText (int bank, int program)
{
    const auto number = " P " + juce::String (program + 1);
    if (bank >= 0 && bank < 4)
        return "U" + juce::String (bank + 1) + number;
    return "F" + juce::String (bank - 3) + number;
}

juce::String ProgramHistory::describe (const Action& action, const ParameterTable& table)
{
    switch (action.kind)
    {
        case Action::parameter: return (action.a < ParameterTable::kLayerSize ? "A " : "B ") + table.name (action.a);
        case Action::load: return "Load " + slotText (action.a, action.b);
        case Action::preset: return "Load Preset " + juce::String (action.a + 1);
        case Action::paste: return "Paste";
        case Action::file: return "Load File";
        case Action::receive: return "Receive Program";
        case Action::receiveProgram: return "Receive " + slotText (action.a, action.b);
        case Action::edit: break;
    }
    return "Program Edit";
}
