#pragma once

#include "midi/MidiCntrState.h"

#include <optional>

// Whole programs between the plug-in and the instrument: the edit buffer both ways, writing a
// program into a slot, selecting a stored program, and the chained bank transfers.
namespace Transfers
{
static constexpr int kReceiveBank = MidiCntrState::kReceiveBank;
static constexpr int kReceiveUserBanks = MidiCntrState::kReceiveUserBanks;
static constexpr int kReceiveFactoryBanks = MidiCntrState::kReceiveFactoryBanks;
static constexpr int kTransmitBank = MidiCntrState::kTransmitBank;
static constexpr int kTransmitUserBanks = MidiCntrState::kTransmitUserBanks;
static constexpr int kTransmitFactoryBanks = MidiCntrState::kTransmitFactoryBanks;
// At most one program dump per tick while transmitting; on a DIN link the next waits for the cable.
static constexpr int kTickMilliseconds = 100;

void fetchEditBuffer (MidiCntrState& controller);    // the answer becomes the current program
void sendCurrentProgram (MidiCntrState& controller); // as an edit-buffer dump
// Names and files the current program, stores it into slot `program` of bank `bank` and sends it
// there. False (and nothing done) for a slot the instrument does not have.
bool writeCurrentProgram (MidiCntrState& controller, int bank, int program, const juce::String& name, int category);
void selectStoredProgram (MidiCntrState& controller, int bank, int program);

// "U2:5" for bank 1 program 4, "F1:99" for bank 4 program 98.
juce::String progressLabel (int bank, int program);

// The bank panel's transfer menu, as it is built each time it opens.
struct MenuItem
{
    int id = 0; // 0 for separators and submenu headers
    juce::String text;
    std::vector<MenuItem> subItems;
    bool isSeparator = false;
};
std::vector<MenuItem> transferMenu (const MidiCntrState& controller);

struct ChainStart
{
    int mode, firstBank;
};
std::optional<ChainStart> chainForMenuId (int id);
} // namespace Transfers

// A chained bank transfer. Receiving runs by itself on the MIDI input thread, each dump asking for
// the next; transmitting sends one program dump per tick(), and the editor's timer calls tick()
// every 100 ms. On a paced link a tick sends nothing while the cable is still busy with the last
// dump, so the chain runs at the cable's pace.
class ChainedTransfer
{
public:
    explicit ChainedTransfer (MidiCntrState& c) : controller (c) {}

    void start (int mode, int firstBank);
    void finish(); // end of chain, "CANCEL" or the end notification: what arrived stays

    struct Step
    {
        bool sent = false;     // a program went out on this tick
        bool finished = false; // the chain is over
        bool waiting = false;  // the link is still busy with the last dump: nothing sent, nothing counted
        int bank = -1, program = -1;
        juce::String label;
    };
    Step tick();

    bool isTransmitting() const noexcept { return transmitting; }
    int getNextBank() const noexcept { return nextBank; }
    int getNextProgram() const noexcept { return nextProgram; }

private:
    MidiCntrState& controller;
    bool transmitting = false, draining = false;
    int nextBank = 0, nextProgram = 0, sourceBank = -1;
};
