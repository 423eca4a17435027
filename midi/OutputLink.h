#pragma once

#include <juce_core/juce_core.h>

#include <algorithm>
#include <cstdint>

// What carries the bytes from the output port to the instrument, and how fast.
//
// On Linux a hardware port is fed through the ALSA sequencer, whose MIDI driver writes each event
// into the port's 4096-byte output buffer and, when the event does not fit in what is free, drops it
// without a word. A MIDI DIN cable drains that buffer at 3125 bytes a second (31,250 baud, ten bits
// a byte), far slower than a bank transmit or a host's automation produces bytes. The instrument's
// own USB port (and the built-in simulator) drain far faster. So a DIN link is paced: the port
// never has more bytes in flight than the cable has carried plus a small window.
namespace OutputLink
{
static constexpr int kDinBytesPerSecond = 3125;
static constexpr int kKernelBufferBytes = 4096;
// Bytes let ahead of the cable on a DIN link: 31 ms of it, so a knob moved while the host automates
// everything still reaches the instrument at once, yet room enough that the cable never idles while
// the clock's thread wakes; far inside the kernel's buffer. A message longer than this (a program
// dump) goes when the cable is free.
static constexpr int kWindowBytes = 96;

// The user's choice in the MIDI setup panel, per output port.
enum class Choice
{
    automatic = 0, // by the port's name
    din = 1,
    usb = 2
};

// The instrument's own USB port names itself "Prophet 12"; so does the built-in simulator.
inline bool isInstrumentPort (const juce::String& name) { return name.contains ("Prophet 12"); }

inline bool isPaced (Choice choice, const juce::String& name)
{
    if (choice == Choice::din)
        return true;
    if (choice == Choice::usb)
        return false;
    return ! isInstrumentPort (name);
}

inline const char* textOf (Choice choice)
{
    switch (choice)
    {
        case Choice::din: return "DIN";
        case Choice::usb: return "USB";
        case Choice::automatic: break;
    }
    return "AUTO";
}

inline Choice choiceOf (const juce::String& text)
{
    if (text == "DIN")
        return Choice::din;
    if (text == "USB")
        return Choice::usb;
    return Choice::automatic;
}

// The cable's side of the bytes handed over: when the last of them will have left. Pure, over a
// clock in microseconds.
class Meter
{
public:
    explicit Meter (int bytesPerSecond = kDinBytesPerSecond) : rate (bytesPerSecond) {}

    int64_t microsecondsFor (int64_t bytes) const { return (bytes * 1000000 + rate - 1) / rate; }

    // The earliest time `bytes` more may be handed over.
    int64_t readyAt (int bytes) const
    {
        const int64_t allowed = (int64_t) (std::max (kWindowBytes, bytes) - bytes) * 1000000 / rate;
        return freeAt - allowed;
    }
    bool fits (int bytes, int64_t now) const { return now >= readyAt (bytes); }

    void handOver (int bytes, int64_t now) { freeAt = std::max (freeAt, now) + microsecondsFor (bytes); }

    // How long the bytes already handed over still need on the cable.
    int64_t busyFor (int64_t now) const { return std::max<int64_t> (0, freeAt - now); }
    void reset() { freeAt = 0; }

private:
    int rate;
    int64_t freeAt = 0;
};
} // namespace OutputLink
