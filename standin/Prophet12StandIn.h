#pragma once

#include "midi/Prophet12Simulator.h"

// The simulated instrument as tests, benchmarks and tools use it: every slot holds a program of its
// own, so a transfer that lands in the wrong place shows, and it remembers every message it was
// told. The simulator itself, with its test options, is the product's (midi/Prophet12Simulator.h).
class Prophet12StandIn : public Prophet12Simulator
{
public:
    Prophet12StandIn() : Prophet12Simulator (standInProgram, true) {}

    // Slot `program` of `bank`: the default sound, named "Stand-in <bank>-<program>" (from 1, the
    // program in two digits), with a few bytes that differ from slot to slot.
    static Record standInProgram (int bank, int program);
};
