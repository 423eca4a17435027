#include "midi/MIDI_PORTS_Control.h"

MIDI_PORTS_Control::MIDI_PORTS_Control (std::shared_ptr<MidiDevices> d)
    : devices (d != nullptr ? std::move (d) : MidiDevices::createSystemDevices())
{}

MIDI_PORTS_Control::~MIDI_PORTS_Control()
{
    closeInput();
    closeOutput();
}

void MIDI_PORTS_Control::closeInput()
{
    // Stopping first means no input callback is running while the port goes away.
    if (input != nullptr)
        input->stop();
    input.reset();
    inputIndex = -1;
    inputOpen = false;
}

void MIDI_PORTS_Control::stopInput()
{
    if (input != nullptr)
        input->stop();
}

void MIDI_PORTS_Control::closeOutput()
{
    const juce::ScopedLock sl (outputLock);
    if (output != nullptr)
        output->stopBackgroundThread();
    output.reset();
    outputIndex = -1;
    outputOpen = false;
}

void MIDI_PORTS_Control::reopenInput (int listIndex, juce::MidiInputCallback* callback)
{
    closeInput();
    if (listIndex < 1)
        return;

    inputIndex = listIndex - 1;
    input = devices->openInput (listIndex - 1, callback);
    if (input != nullptr)
    {
        input->start();
        inputOpen = true;
    }
}

void MIDI_PORTS_Control::reopenOutput (int listIndex)
{
    closeOutput();
    if (listIndex < 1)
        return;

    const juce::ScopedLock sl (outputLock);
    outputIndex = listIndex - 1;
    output = devices->openOutput (listIndex - 1);
    if (output != nullptr)
    {
        output->startBackgroundThread();
        outputOpen = true;
    }
}

void MIDI_PORTS_Control::setPendingDroppedHandler (juce::CriticalSection* guard, std::function<void()> handler)
{
    const juce::ScopedLock sl (outputLock);
    droppedGuard = guard;
    onPendingDropped = std::move (handler);
}

void MIDI_PORTS_Control::sendBuffer (const juce::MidiBuffer& buffer)
{
    if (buffer.isEmpty())
        return;

    // The usual case, the output free and nothing waiting: straight out, without a copy. A buffer
    // that has to wait goes to the back of the queue, so one thread's sends keep their order.
    bool sent = false;
    {
        const juce::ScopedTryLock tl (outputLock);
        if (tl.isLocked())
        {
            bool nothingWaiting;
            {
                const juce::ScopedLock ql (queueLock);
                nothingWaiting = queued.empty();
            }
            if (nothingWaiting)
            {
                sendBufferLocked (buffer);
                sent = true;
            }
        }
    }
    if (! sent)
    {
        const juce::ScopedLock ql (queueLock);
        queued.push_back (buffer);
    }
    // Whatever others queued while the output was ours, or this buffer, goes out now if it can.
    drainQueued();
}

// Whoever gets the output sends everything queued, in order. A sender that finds the output busy
// leaves its buffer in the queue: the holder looks again after letting the output go, so nothing
// is left behind and nobody waits.
void MIDI_PORTS_Control::drainQueued()
{
    for (;;)
    {
        {
            const juce::ScopedTryLock tl (outputLock);
            if (! tl.isLocked())
                return;

            std::vector<juce::MidiBuffer> taken;
            {
                const juce::ScopedLock ql (queueLock);
                taken.swap (queued);
            }
            for (const auto& b : taken)
                sendBufferLocked (b);
        }

        const juce::ScopedLock ql (queueLock);
        if (queued.empty())
            return;
    }
}

void MIDI_PORTS_Control::sendBufferLocked (const juce::MidiBuffer& buffer)
{
    if (output != nullptr && outputOpen)
        output->sendBlockOfMessages (buffer, juce::Time::getMillisecondCounter(), 1000.0);
}

void MIDI_PORTS_Control::sendMessage (const juce::MidiMessage& message)
{
    juce::MidiBuffer buffer;
    buffer.addEvent (message, 0);
    sendBuffer (buffer);
}

void MIDI_PORTS_Control::sendController (int channel, int number, int value)
{
    if (channel >= 1 && channel <= 16)
        sendMessage (juce::MidiMessage::controllerEvent (channel, number & 0x7F, value & 0x7F));
}

void MIDI_PORTS_Control::sendProgramChange (int channel, int program)
{
    if (channel >= 1 && channel <= 16 && program >= 0 && program < 128)
        sendMessage (juce::MidiMessage::programChange (channel, program));
}

void MIDI_PORTS_Control::sendNoteOff (int channel, int note)
{
    if (channel >= 1 && channel <= 16 && note >= 0 && note < 128)
        sendMessage (juce::MidiMessage::noteOff (channel, note));
}

void MIDI_PORTS_Control::sendSysEx (const void* data, size_t size)
{
    if (data == nullptr || size == 0)
        return;

    if (! outputOpen)
        return;

    if (size <= (size_t) kSysExChunkBytes)
    {
        juce::MidiBuffer buffer;
        buffer.addEvent (juce::MidiMessage (data, (int) size), 0);
        sendBuffer (buffer);
        return;
    }

    {
        const juce::ScopedLock sl (outputLock);
        if (output == nullptr || ! outputOpen)
            return;

        {
            juce::CriticalSection noGuard;
            const juce::ScopedLock gl (droppedGuard != nullptr ? *droppedGuard : noGuard);
            output->clearAllPendingMessages();
            if (onPendingDropped)
                onPendingDropped();
        }

        output->stopBackgroundThread();
        output->sendMessageNow (juce::MidiMessage (data, (int) size));
        output->startBackgroundThread();
    }

    // What was handed over while the dump was being written follows it.
    drainQueued();
}
