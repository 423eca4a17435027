#pragma once

#include "model/ParameterTable.h"
#include "model/ProgramDump.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

// The undo history of the program being edited. The controller state owns it, so it outlives the
// editor, and tells it of every change of the current program whatever road the change took (a
// control, the host, the instrument, a load, a paste, a restored state). A step keeps only the
// bytes it changed of the 1024-byte record, before and after, and the action that names it.
//
// Not thread-safe by itself: the controller calls it under the same lock that guards the program,
// in the same step as the change, so the history and the program can never disagree. Nothing here
// allocates more than one step's changes or does any I/O while that lock is held.
class ProgramHistory
{
public:
    using Record = ProgramDump::Record;

    // Oldest steps go first once either bound is passed. A whole-program step of 1024 changes
    // takes about 4 KB, so the byte bound is what holds when every step is a load.
    static constexpr size_t kMaxSteps = 1000;
    static constexpr size_t kMaxBytes = 2u * 1024u * 1024u;
    // Changes of one parameter that follow each other closer than this are one step (a host ramp,
    // the instrument's knob); the processor closes the step sooner when it closes its gesture.
    static constexpr int64_t kCoalesceMilliseconds = 200;

    struct Action
    {
        enum Kind : uint8_t
        {
            parameter,      // a = position
            load,           // a = bank, b = program: a stored program became the current one
            preset,         // a = slot of the "Program Bank"
            paste,          // the clipboard
            file,           // a program file
            receive,        // the instrument's edit buffer ("RECV")
            receiveProgram, // a = bank, b = program: a program dump from the instrument
            edit            // anything else that rewrote the program (the write dialog's name)
        };
        Kind kind = edit;
        int a = 0, b = 0;

        static Action ofParameter (int position) { return { parameter, position, 0 }; }
        static Action ofLoad (int bank, int program) { return { load, bank, program }; }
        static Action ofPreset (int slot) { return { preset, slot, 0 }; }
        static Action ofReceivedProgram (int bank, int program) { return { receiveProgram, bank, program }; }
        static Action of (Kind kind) { return { kind, 0, 0 }; }
        bool operator== (const Action& o) const { return kind == o.kind && a == o.a && b == o.b; }
    };

    struct Change
    {
        uint16_t position;
        uint8_t before, after;
    };

    struct Step
    {
        Action action;
        std::vector<Change> changes;
    };

    explicit ProgramHistory (const Record& program) : baseline (program) {}

    // The program has become `program` because of `action`; whatever differs from what the history
    // last saw is one step (or joins the open step of the same parameter).
    void record (const Record& program, Action action, int64_t nowMilliseconds);
    // The same for one byte, without comparing the whole record.
    void recordByte (int position, uint8_t value, Action action, int64_t nowMilliseconds);

    // Forgets every step; `program` is where the history starts.
    void reset (const Record& program);

    // No later change joins the open step (of that parameter only, for the position form).
    void closeStep() noexcept { open = false; }
    void closeStep (int position) noexcept;

    // Applies the step before (undo) or after (redo) the program, which must be the history's own
    // view of it. Returns the step applied, nothing when there is none.
    std::optional<Step> undo (Record& program);
    std::optional<Step> redo (Record& program);

    // The program as the history last saw it.
    const Record& current() const noexcept { return baseline; }

    bool canUndo() const noexcept { return ! undoSteps.empty(); }
    bool canRedo() const noexcept { return ! redoSteps.empty(); }
    std::optional<Action> nextUndo() const;
    std::optional<Action> nextRedo() const;

    size_t undoCount() const noexcept { return undoSteps.size(); }
    size_t redoCount() const noexcept { return redoSteps.size(); }
    // What the steps take in memory, as counted for the bound.
    size_t memoryBytes() const noexcept { return bytes; }

    // "A Level 1", "Load U2 P 5", "Paste": the text after "Undo " and "Redo " in the menu.
    static juce::String describe (const Action& action, const ParameterTable& table);
    // "U2 P 5", "F1 P 12".
    static juce::String slotText (int bank, int program);

private:
    static size_t sizeOf (const Step& step) noexcept;
    void push (Step step, int64_t nowMilliseconds);
    void dropRedo() noexcept;
    void trim();
    bool joinsOpenStep (const Action& action, int64_t nowMilliseconds) const noexcept;
    void addToOpenStep (const Change& change);

    Record baseline;
    std::deque<Step> undoSteps;
    std::vector<Step> redoSteps;
    size_t bytes = 0;
    bool open = false;
    int64_t lastChangeMilliseconds = 0;
};
