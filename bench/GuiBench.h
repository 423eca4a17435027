#pragma once

#include "midi/MidiCntrState.h"

#include <juce_gui_basics/juce_gui_basics.h>

// JUCE's message manager and fonts, once for the whole run. They are left standing at exit: JUCE's
// shutdown list is a static of its own that may already be gone when a static initialiser ends.
inline void initialiseJuce()
{
    static const bool initialised = [] {
        juce::initialiseJuce_GUI();
        return true;
    }();
    juce::ignoreUnused (initialised);
}

// A controller with neither files nor ports: what is measured is the editor's own work.
inline MidiCntrState::Environment detached()
{
    MidiCntrState::Environment environment;
    environment.detached = true;
    return environment;
}
