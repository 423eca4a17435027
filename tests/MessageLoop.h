#pragma once

#include <juce_events/juce_events.h>

// JUCE's own message dispatch, one message at a time. The product is built without modal loops, so
// MessageManager::runDispatchLoopUntil does not exist; tests run the loop themselves with the same
// function it is made of.
namespace juce
{
bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
}

// Lets the message loop run for a while: timers, asynchronous updates and change messages happen.
inline void runMessageLoop (int milliseconds)
{
    const auto end = juce::Time::currentTimeMillis() + milliseconds;
    do
    {
        if (! juce::dispatchNextMessageOnSystemQueue (true))
            juce::Thread::sleep (1);
    } while (juce::Time::currentTimeMillis() < end);
}
