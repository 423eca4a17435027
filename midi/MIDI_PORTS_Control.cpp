#include "midi/MIDI_PORTS_Control.h"

#include <algorithm>

MIDI_PORTS_Control::MIDI_PORTS_Control (std::shared_ptr<MidiDevices> d)
    : devices (d != nullptr ? std::move (d) : MidiDevices::createSystemDevices()), clock (devices->getClock())
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
    outputOpen = false;
    {
        const juce::ScopedLock ql (queueLock);
        paced = false;
        clearPacedLocked();
    }
    // A ringing alarm only tries the output, which is ours: it returns at once.
    clock->cancelAlarm (this);
    if (output != nullptr)
        output->stopBackgroundThread();
    output.reset();
    outputName = {};
    outputIndex = -1;
    meter.reset();
    wireFreeAt = 0;
    wirePosition = -1;
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

    {
        const juce::ScopedLock sl (outputLock);
        outputIndex = listIndex - 1;
        output = devices->openOutput (listIndex - 1);
        if (output != nullptr)
        {
            outputName = devices->getOutputNames()[listIndex - 1];
            output->startBackgroundThread();
            outputOpen = true;
            updatePaced();
        }
    }
    pumpPaced();
}

juce::String MIDI_PORTS_Control::getOutputName() const
{
    const juce::ScopedLock sl (outputLock);
    return outputName;
}

void MIDI_PORTS_Control::setLinkChoice (OutputLink::Choice choice, bool forTheOpenPort)
{
    linkChoice = choice;
    if (! forTheOpenPort)
        return;
    {
        const juce::ScopedLock sl (outputLock);
        updatePaced();
    }
    // What waited for a DIN cable goes at once when the link turns out to be fast.
    pumpPaced();
}

// Under outputLock. Between the two ways of sending, what the instrument last heard of NRPN is not
// known to the new one: the next parameter names itself again.
void MIDI_PORTS_Control::updatePaced()
{
    const bool nowPaced = output != nullptr && outputOpen && OutputLink::isPaced (linkChoice, outputName);
    bool changed;
    {
        const juce::ScopedLock ql (queueLock);
        changed = paced != nowPaced;
        paced = nowPaced;
    }
    if (! changed)
        return;
    wirePosition = -1;
    juce::CriticalSection noGuard;
    const juce::ScopedLock gl (droppedGuard != nullptr ? *droppedGuard : noGuard);
    if (onPendingDropped)
        onPendingDropped();
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

    if (paced)
    {
        Waiting waiting;
        for (const auto metadata : buffer)
            waiting.messages.push_back (metadata.getMessage());
        enqueuePaced (std::move (waiting));
        wakePacer();
        return;
    }

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

    if (paced)
    {
        // Whole, as one event: the ALSA driver would drop any piece of it that did not fit.
        Waiting waiting;
        waiting.messages.push_back (juce::MidiMessage (data, (int) size));
        enqueuePaced (std::move (waiting));
        wakePacer();
        return;
    }

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

// ---- The paced link ----------------------------------------------------------------------------------

void MIDI_PORTS_Control::sendPacedNrpn (int channel, int position, int nrpn, int value, bool automation)
{
    Waiting waiting;
    waiting.position = position;
    waiting.nrpn = nrpn;
    waiting.value = value;
    waiting.channel = channel;

    if (position < 0 || position >= kPositions)
    {
        waiting.position = -1;
        enqueuePaced (std::move (waiting));
        wakePacer();
        return;
    }

    {
        const juce::ScopedLock ql (queueLock);
        if (! outputOpen)
            return;

        // A parameter still waiting takes the newest value, unless a message the instrument must hear
        // first (a program change, a note, a dump) stands behind it.
        for (auto i = firstLane.rbegin(); i != firstLane.rend() && i->isParameter(); ++i)
            if (i->position == position)
            {
                *i = waiting;
                return;
            }

        auto& slot = automationWaiting[(size_t) position];
        if (automationQueued[(size_t) position])
        {
            if (automation)
            {
                slot = waiting;
                return;
            }
            // A knob moved by hand overtakes the automation of the same parameter.
            automationQueued[(size_t) position] = false;
            automationOrder.erase (std::find (automationOrder.begin(), automationOrder.end(), position));
            queuedBytes -= kNrpnBytes;
        }

        if (automation)
        {
            slot = waiting;
            automationQueued[(size_t) position] = true;
            automationOrder.push_back (position);
        }
        else
        {
            firstLane.push_back (waiting);
        }
        queuedBytes += kNrpnBytes;
    }
    wakePacer();
}

int MIDI_PORTS_Control::bytesOf (const Waiting& w)
{
    if (w.isParameter())
        return kNrpnBytes;
    int bytes = 0;
    for (const auto& m : w.messages)
        bytes += m.getRawDataSize();
    return bytes;
}

void MIDI_PORTS_Control::enqueuePaced (Waiting waiting)
{
    const juce::ScopedLock ql (queueLock);
    if (! outputOpen)
        return;
    queuedBytes += bytesOf (waiting);
    firstLane.push_back (std::move (waiting));
}

void MIDI_PORTS_Control::clearPacedLocked()
{
    firstLane.clear();
    automationOrder.clear();
    automationQueued.fill (false);
    queuedBytes = 0;
    alarmSet = false;
}

// A sender only leaves its message waiting and rings the clock: the device is written by the
// clock's thread alone (and the message thread when the port changes), never by the host's or the
// audio thread. An alarm already set rings no later than the cable frees, and the waiting messages
// go in order anyway.
void MIDI_PORTS_Control::wakePacer()
{
    const juce::ScopedLock ql (queueLock);
    if (! alarmSet && outputOpen)
        setAlarmLocked (clock->nowMicroseconds());
}

// Under queueLock, so closing the output (which clears the lanes under it) cancels it.
void MIDI_PORTS_Control::setAlarmLocked (int64_t at)
{
    alarmSet = true;
    clock->setAlarm (this, at, [this] {
        {
            const juce::ScopedLock l (queueLock);
            alarmSet = false;
        }
        if (! pumpPaced())
        {
            // Someone holds the output without handing over (a port change, a name asked for):
            // look again in a moment.
            const juce::ScopedLock l (queueLock);
            if (! alarmSet && outputOpen)
                setAlarmLocked (clock->nowMicroseconds() + 1000);
        }
    });
}

// Whoever gets the output hands over what the cable has room for; the rest waits for the alarm
// set for the moment the next message fits. False when the output was held by someone else.
bool MIDI_PORTS_Control::pumpPaced()
{
    for (;;)
    {
        {
            const juce::ScopedTryLock tl (outputLock);
            if (! tl.isLocked())
                return false;
            if (output != nullptr)
                pumpPacedLocked();
        }

        const juce::ScopedLock ql (queueLock);
        if (alarmSet || (firstLane.empty() && automationOrder.empty()))
            return true;
    }
}

void MIDI_PORTS_Control::pumpPacedLocked()
{
    for (;;)
    {
        const int64_t now = clock->nowMicroseconds();
        Waiting next;
        if (! takeNextPaced (next, now))
            return;

        auto messages = next.isParameter() ? encodePacedNrpn (next) : std::move (next.messages);
        if (messages.empty())
            continue;

        if (paced)
        {
            int bytes = 0;
            for (const auto& m : messages)
                bytes += m.getRawDataSize();
            meter.handOver (bytes, now);
            wireFreeAt = now + meter.busyFor (now);
            for (const auto& m : messages)
                output->sendMessageNow (m);
        }
        else
        {
            juce::MidiBuffer buffer;
            for (const auto& m : messages)
                buffer.addEvent (m, 0);
            sendBufferLocked (buffer);
        }
    }
}

// Under outputLock: the first lane before the automation, each only when the cable has room.
bool MIDI_PORTS_Control::takeNextPaced (Waiting& next, int64_t now)
{
    const juce::ScopedLock ql (queueLock);
    const bool fromFirst = ! firstLane.empty();
    if (! fromFirst && automationOrder.empty())
        return false;

    const auto& head = fromFirst ? firstLane.front() : automationWaiting[(size_t) automationOrder.front()];
    const int bytes = bytesOf (head);
    if (paced && ! meter.fits (bytes, now))
    {
        setAlarmLocked (meter.readyAt (bytes));
        return false;
    }

    if (fromFirst)
    {
        next = std::move (firstLane.front());
        firstLane.pop_front();
    }
    else
    {
        const int position = automationOrder.front();
        automationOrder.pop_front();
        automationQueued[(size_t) position] = false;
        next = automationWaiting[(size_t) position];
    }
    queuedBytes -= bytes;
    return true;
}

// The NRPN of a parameter as it goes, with the same repeat suppression as a fast link: only the
// controllers whose values differ from what the cable last carried.
std::vector<juce::MidiMessage> MIDI_PORTS_Control::encodePacedNrpn (const Waiting& w)
{
    const int parameterMsb = w.nrpn >> 7, parameterLsb = w.nrpn - parameterMsb * 128;
    const int dataMsb = w.value / 128, dataLsb = w.value - dataMsb * 128;
    std::vector<juce::MidiMessage> messages;
    auto add = [&] (int controller, int v) {
        messages.push_back (juce::MidiMessage::controllerEvent (w.channel, controller, v & 0x7F));
    };

    if (w.position < 0 || w.position != wirePosition)
    {
        add (99, parameterMsb);
        add (98, parameterLsb);
        add (6, dataMsb);
        add (38, dataLsb);
        wirePosition = w.position; // a global (-1) leaves no parameter named
    }
    else if (dataMsb != wireDataMsb)
    {
        add (6, dataMsb);
        add (38, dataLsb);
    }
    else if (dataLsb != wireDataLsb)
    {
        add (38, dataLsb);
    }
    wireDataMsb = dataMsb;
    wireDataLsb = dataLsb;
    return messages;
}

int64_t MIDI_PORTS_Control::getBacklogMicroseconds()
{
    if (! paced)
        return 0;
    const int64_t now = clock->nowMicroseconds();
    int64_t waiting;
    {
        const juce::ScopedLock ql (queueLock);
        waiting = queuedBytes;
    }
    return std::max<int64_t> (0, wireFreeAt - now) + meter.microsecondsFor (waiting);
}
