#pragma once

#include "model/ProgramDump.h"

#include <juce_audio_devices/juce_audio_devices.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

// A simulated Prophet 12 keyboard for tests, benchmarks and tools: it keeps its own eight banks of
// 99 programs, the sounding edit buffer and the global parameters, answers the requests the
// plug-in sends, stores the dumps it gets, follows NRPN, bank select and program change, and has a
// "front panel" through which a test turns knobs and plays as a musician would.
//
// Like the real instrument it works on its own: bytes from the computer are taken in on one thread,
// and what it sends goes out on another (the computer's MIDI input thread), optionally in pieces and
// at the speed of a DIN cable. waitUntilIdle() tells a test when everything has been said.
class Prophet12StandIn
{
public:
    using Record = ProgramDump::Record;

    static constexpr int kGlobals = 26;
    static constexpr int kDinBytesPerSecond = 3125; // 31,250 baud, 10 bits a byte

    struct Options
    {
        int answerPieces = 1;                // each SysEx answer cut into this many pieces
        bool desktopModel = false;           // answer with device byte 2B, as the desktop module does
        bool silent = false;                 // ignore every request
        bool garbageBetweenMessages = false; // clock, active sensing and stray bytes between messages
        bool dinPacing = false;              // deliver at 3125 bytes per second
    };

    Prophet12StandIn();
    ~Prophet12StandIn();

    void setOptions (const Options& options);
    Options getOptions() const;

    // ---- The two cables -------------------------------------------------------------------------
    // Bytes the computer's output port sends to the instrument; any split, any length.
    void receiveFromComputer (const uint8_t* data, size_t size);
    // Where the instrument's output goes. Passing nullptr disconnects; it returns only once no
    // delivery is running.
    void connectComputerInput (juce::MidiInputCallback* callback);

    // ---- Its memory -----------------------------------------------------------------------------
    int getChannel() const;
    void setChannel (int channel);
    Record getProgram (int bank, int program) const;
    void setProgram (int bank, int program, const Record& record);
    Record getEditBuffer() const;
    int getGlobal (int index) const;
    void setGlobal (int index, int value);
    int getCurrentBank() const;
    int getCurrentProgram() const;

    // ---- The front panel ------------------------------------------------------------------------
    void turnParameter (int position, int value); // sets the edit buffer, sends the NRPN
    void selectProgram (int bank, int program);   // bank select, program change, new sound
    void moveModWheel (int value);
    void movePitchWheel (int value); // 0..16383, 8192 at rest
    void playNote (int note, int velocity);
    void releaseNote (int note);
    void sendGlobalDump();                     // as when the global dump is started on the panel
    void sendRaw (std::vector<uint8_t> bytes); // anything at all, as one piece

    // ---- What it was told -----------------------------------------------------------------------
    // Every complete message received from the computer, in order (SysEx whole, others as sent).
    std::vector<std::vector<uint8_t>> getReceivedMessages() const;
    void clearReceivedMessages();
    int countReceived (const std::vector<uint8_t>& prefix) const;

    // Waits until nothing is left to take in or to send. False on time-out.
    bool waitUntilIdle (int timeoutMilliseconds = 20000);

private:
    void brainLoop();
    void wireLoop();
    void takeByte (uint8_t byte);
    void handleMessage (const std::vector<uint8_t>& message);
    void handleSysEx (const std::vector<uint8_t>& message);
    void handleController (int number, int value);
    void sendToComputer (std::vector<uint8_t> message);   // holds `mutex`
    void sendSysExAnswer (const juce::MemoryBlock& dump); // holds `mutex`
    uint8_t deviceByte() const;

    mutable std::mutex mutex;
    std::condition_variable workArrived, stateChanged;
    std::deque<std::vector<uint8_t>> inbox, outbox;
    bool brainBusy = false, wireBusy = false, stopping = false;

    Options options;
    int channel = 1;
    std::vector<Record> programs; // 8 x 99
    Record editBuffer {};
    std::array<int, kGlobals> globals {};
    int currentBank = 0, currentProgram = 0;

    // Incoming byte stream (brain thread only).
    std::vector<uint8_t> partial;
    int runningStatus = 0;
    int nrpnMsb = 127, nrpnLsb = 127, dataMsb = 0, bankSelect = 0;

    std::vector<std::vector<uint8_t>> received;

    std::mutex deliveryMutex;
    juce::MidiInputCallback* computerInput = nullptr;

    std::thread brain, wire;
};
