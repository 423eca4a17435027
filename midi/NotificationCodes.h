#pragma once

#include <cstdint>
#include <optional>

// What the controller state tells the editor. The top byte of a code is its kind; the editor reads
// kind = code >> 24 and sub = (code >> 20) & 0xF.
namespace Notification
{
constexpr int32_t kParameterChanged = 0x10000000; // + (position << 8) + value
constexpr int32_t kProgramReplaced = 0x11000000;
constexpr int32_t kGlobalsReceived = 0x12000000;  // the instrument answered: on line
constexpr int32_t kGlobalsRequested = 0x13000000; // probe sent: off line until the answer
constexpr int32_t kBankReceiveFinished = 0x16000000;
constexpr int32_t kBankReceiveProgress = 0x17000000; // + (bank << 8) + program
constexpr int32_t kBankChanged = 0x19000000;
constexpr int32_t kSliderChanged = 0x1A000000;
constexpr int32_t kSliderLatch1Changed = 0x1B000000;
constexpr int32_t kSliderLatch2Changed = 0x1B100000;
constexpr int32_t kEditorCommand = 0x21000000; // + command

constexpr int32_t parameterChanged (int position, int value) { return kParameterChanged + (position << 8) + value; }
constexpr int32_t noteOn (int channel, int note, int velocity)
{
    return ((0x90 + channel) << 20) + (note << 7) + velocity;
}
constexpr int32_t noteOff (int channel, int note) { return ((0x80 + channel) << 20) + note; }
constexpr int32_t modWheel (int channel, int value) { return ((0xB0 + channel) << 20) + (1 << 7) + value; }
constexpr int32_t pitchBend (int channel, int data1, int data2)
{
    return ((0xE0 + channel) << 20) + (data2 << 7) + data1;
}

constexpr int kind (int32_t code) { return (code >> 24) & 0xFF; }
constexpr int sub (int32_t code) { return (code >> 20) & 0xF; }

// A channel message as the codes above carry it: the status (0x80 note off, 0x90 note on, 0xB0
// controller, 0xE0 pitch bend), the channel 1..16 and the data bits below the status.
struct ChannelEvent
{
    int status, channel, data;
};

// The kind byte alone cannot tell a channel message: the channel is added to the status, so channel
// 16 carries into the next kind (a note on of channel 16 has kind 0x0A, a note off of channel 16
// kind 0x09 like the notes on). Taking one off the status byte brings every channel back under its
// own status.
constexpr std::optional<ChannelEvent> channelEvent (int32_t code)
{
    if (code <= 0 || code >= kParameterChanged)
        return std::nullopt;
    const int statusAndChannel = (code >> 20) - 1; // 0x80..0xEF: status + channel - 1
    const int status = statusAndChannel & 0xF0;
    if (statusAndChannel < 0x80 || (status != 0x80 && status != 0x90 && status != 0xB0 && status != 0xE0))
        return std::nullopt;
    return ChannelEvent { status, (statusAndChannel & 0x0F) + 1, code & 0xFFFFF };
}
} // namespace Notification
