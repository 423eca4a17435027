#pragma once

class MidiCntrState;

// Told of parameter changes that the host must hear about: the processor implements it. Called by
// the editor's controls and, when the instrument changes program, from the MIDI input thread.
class CableListener
{
public:
    virtual ~CableListener() = default;
    virtual void cableValueChanged (int position, int value, bool endGestureNow, bool sendToInstrument,
                                    bool notifyEditor) = 0;
};

// Woken when a notification was queued; the main component answers with an asynchronous update.
// May be called on any thread.
class MidiCntrStateListener
{
public:
    virtual ~MidiCntrStateListener() = default;
    virtual void midiCntrStateChanged (MidiCntrState* state) = 0;
};

class stateListener
{
public:
    virtual ~stateListener() = default;
    virtual void stateChanged() = 0;
    virtual void stateEvent (int code) = 0;
};
