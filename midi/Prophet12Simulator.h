#pragma once

#include "model/ProgramDump.h"

#include <juce_audio_devices/juce_audio_devices.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// The simulated instrument's memory and its MIDI parser, with no threads: eight banks of 99
// programs, the sounding edit buffer, the global parameters and the channel. Bytes from the computer
// go in, in any split; the SysEx answers the real keyboard would give come out. Pure enough for a
// fuzzer to drive directly; Prophet12Simulator below puts it behind two cables.
class Prophet12SimulatorCore
{
public:
    using Record = ProgramDump::Record;
    using Message = std::vector<uint8_t>;
    // The program a slot holds when the simulator starts.
    using ProgramSource = std::function<Record (int bank, int program)>;

    static constexpr int kBanks = ProgramDump::kBanks;
    static constexpr int kSlots = ProgramDump::kProgramsPerBank;
    static constexpr int kGlobals = 26;

    // The built-in factory data, as the plug-in's own banks start: user bank k and factory bank k
    // both hold factory bank k.
    static Record factoryProgram (int bank, int program);

    explicit Prophet12SimulatorCore (const ProgramSource& initialProgram = factoryProgram);

    // Takes bytes from the computer. Each SysEx request completed here appends its answer (device
    // byte 2A) to `answers`; each complete message is appended to `log` when given.
    void take (const uint8_t* data, size_t size, std::vector<Message>& answers, std::vector<Message>* log = nullptr);

    // ---- Memory ----------------------------------------------------------------------------------
    int getChannel() const noexcept { return channel; }
    void setChannel (int newChannel);
    Record getProgram (int bank, int program) const; // all zero outside the banks
    void setProgram (int bank, int program, const Record& record);
    const Record& getEditBuffer() const noexcept { return editBuffer; }
    int getGlobal (int index) const;
    void setGlobal (int index, int value);
    int getCurrentBank() const noexcept { return currentBank; }
    int getCurrentProgram() const noexcept { return currentProgram; }

    // ---- Front panel: what changes, and the messages the instrument sends about it ---------------
    std::vector<Message> turnParameter (int position, int value);
    std::vector<Message> selectProgram (int bank, int program);
    Message globalDump() const; // F0 01 2A 0F <26 globals> F7

private:
    void takeByte (uint8_t byte, std::vector<Message>& answers, std::vector<Message>* log);
    void handleMessage (const Message& message, std::vector<Message>& answers);
    void handleSysEx (const Message& message, std::vector<Message>& answers);
    void handleController (int number, int value);

    int channel = 1;
    std::vector<Record> programs; // 8 x 99
    Record editBuffer {};
    std::array<int, kGlobals> globals {};
    int currentBank = 0, currentProgram = 0;

    // The incoming byte stream.
    Message partial;
    int runningStatus = 0;
    int nrpnMsb = 127, nrpnLsb = 127, dataMsb = 0, bankSelect = 0;
};

// A simulated Prophet 12 keyboard. It answers the requests the plug-in sends, stores the dumps it
// gets, follows NRPN, bank select and program change, and has a "front panel" through which a test
// turns knobs and plays as a musician would. It makes no sound.
//
// The product offers one of these, shared(), as one more MIDI device (SimulatorDevices); tests,
// benchmarks and tools make their own, with test options: answers in pieces, the desktop model's
// device byte, silence, stray bytes, DIN pacing.
//
// Like the real instrument it works on its own: bytes from the computer are taken in on one thread,
// and what it sends goes out on another, which calls every connected input's callback in turn (as
// one ALSA client thread serves all of JUCE's inputs). waitUntilIdle() tells a test when everything
// has been said.
class Prophet12Simulator
{
public:
    using Record = Prophet12SimulatorCore::Record;
    using ProgramSource = Prophet12SimulatorCore::ProgramSource;

    static constexpr int kGlobals = Prophet12SimulatorCore::kGlobals;
    static constexpr int kDinBytesPerSecond = 3125; // 31,250 baud, 10 bits a byte

    struct Options
    {
        int answerPieces = 1;                // each SysEx answer cut into this many pieces
        bool desktopModel = false;           // answer with device byte 2B, as the desktop module does
        bool silent = false;                 // ignore every request
        bool garbageBetweenMessages = false; // clock, active sensing and stray bytes between messages
        bool dinPacing = false;              // deliver at 3125 bytes per second
    };

    // `keepLog`: remember every message received (getReceivedMessages); for tests, as it only grows.
    explicit Prophet12Simulator (const ProgramSource& initialProgram = Prophet12SimulatorCore::factoryProgram,
                                 bool keepLog = false);
    ~Prophet12Simulator();

    // The one the product offers: banks from the factory data, kept for as long as the process
    // lives; made on first use.
    static Prophet12Simulator& shared();

    void setOptions (const Options& options);
    Options getOptions() const;

    // ---- The cables -----------------------------------------------------------------------------
    // Bytes the computer's output port sends to the instrument; any split, any length.
    void receiveFromComputer (const uint8_t* data, size_t size);
    // Computer inputs the instrument's output reaches; every connected one gets everything it sends.
    // Disconnecting returns only once no delivery to that callback is running, and none starts.
    void connectComputerInput (juce::MidiInputCallback* callback);
    void disconnectComputerInput (juce::MidiInputCallback* callback);

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

    // ---- What it was told (with keepLog) --------------------------------------------------------
    // Every complete message received from the computer, in order (SysEx whole, others as sent).
    std::vector<std::vector<uint8_t>> getReceivedMessages() const;
    void clearReceivedMessages();
    int countReceived (const std::vector<uint8_t>& prefix) const;

    // Waits until nothing is left to take in or to send. False on time-out.
    bool waitUntilIdle (int timeoutMilliseconds = 20000);

private:
    void brainLoop();
    void wireLoop();
    void sendToComputer (std::vector<uint8_t> message); // holds `mutex`
    void sendSysExAnswer (std::vector<uint8_t> bytes);  // holds `mutex`
    void sendChannelMessages (std::vector<std::vector<uint8_t>> messages);

    mutable std::mutex mutex;
    std::condition_variable workArrived, stateChanged;
    std::deque<std::vector<uint8_t>> inbox, outbox;
    bool brainBusy = false, wireBusy = false, stopping = false;

    Options options;
    Prophet12SimulatorCore core;
    const bool keepLog;
    std::vector<std::vector<uint8_t>> received;

    // Held while the wire thread delivers, so disconnecting waits for a delivery in progress.
    std::mutex deliveryMutex;
    std::vector<juce::MidiInputCallback*> computerInputs;

    std::thread brain, wire;
};
