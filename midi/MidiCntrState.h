#pragma once

#include "midi/Listeners.h"
#include "midi/MIDI_PORTS_Control.h"
#include "midi/NotificationCodes.h"
#include "midi/PortsFile.h"
#include "midi/ProgramHistory.h"
#include "model/Bank_Program.h"
#include "model/ParameterTable.h"
#include "settings/SettingsFiles.h"

#include <juce_events/juce_events.h>

#include <array>
#include <atomic>
#include <memory>
#include <optional>
#include <vector>

// The hub between the plug-in and the instrument. It owns the instrument-side model (the current
// program, the eight bank images, the "Program Bank", the six performance values, the global block
// and the settings block), the MIDI ports and all traffic on them, the host queue, and the
// notification queue through which the editor learns what happened.
//
// Four kinds of thread come in: the message thread (editor, timers), the MIDI input thread
// (handleIncomingMidiMessage and everything it calls), the audio thread (the host queue) and the
// host's parameter thread (setParameterValue). Programs and banks are read and written under
// `dataLock`; the NRPN repeat memory and the send that follows it are one step under `nrpnLock`;
// the notification and received-NRPN queues have locks of their own; `lock` guards the host queue
// and the listener lists. No lock is held while a listener is told of a change.
class MidiCntrState : public juce::MidiInputCallback, public juce::ChangeBroadcaster
{
public:
    using Record = ProgramDump::Record;

    static constexpr int kBanks = 8;
    static constexpr int kProgramBank = 8; // bank index of the "Program Bank" in the bank accessors
    static constexpr int kGlobalBytes = 100;
    static constexpr int kHostQueueMilliseconds = 500;

    // Chained bank transfer modes.
    static constexpr int kReceiveBank = 0, kReceiveUserBanks = 777, kReceiveFactoryBanks = 778;
    static constexpr int kTransmitBank = 100, kTransmitUserBanks = 888, kTransmitFactoryBanks = 887;

    // Where the controller finds its MIDI devices and files. Left empty: the computer's devices and
    // the user's application data folder.
    struct Environment
    {
        std::shared_ptr<MidiDevices> devices;
        std::optional<juce::File> applicationData;
        // Neither files nor ports: for a processor made only to be looked at, as when the build
        // writes the LV2 manifest.
        bool detached = false;
    };

    MidiCntrState();
    explicit MidiCntrState (Environment environment);
    ~MidiCntrState() override;

    const ParameterTable& getTable() const noexcept { return table; }
    const SettingsFiles::Folder& getFolder() const noexcept { return folder; }

    // ---- Parameter values ------------------------------------------------------------------------
    void storeValue (int position, int value);
    void setParameterValue (int position, int value);
    void setSliderValue (int position, int value);
    void setProgramIndex (int index);
    void selectProgram (int index, bool send, bool notify);

    // The raw value of a position as the host sees it: a program byte, bank x 99 + program for
    // "Program No.", or a performance value. 0 outside the table.
    int getValue (int position) const;

    int getCurrentBank() const noexcept { return currentBank; }
    int getCurrentProgramNumber() const noexcept { return currentProgram; }
    int getCurrentSlot() const noexcept { return currentSlot; }
    void setCurrentSlot (int slot) noexcept { currentSlot = slot; }

    // ---- Programs and banks (thread-safe copies) -------------------------------------------------
    Record getCurrentProgram() const;
    // `action` names the change in the undo history.
    void setCurrentProgram (const Record& record,
                            ProgramHistory::Action action = ProgramHistory::Action::of (ProgramHistory::Action::edit));
    Record getSlot (int bank, int slot) const;
    void putSlot (int bank, int slot, const Record& record);
    juce::String getSlotName (int bank, int slot) const;
    juce::String getBankName (int bank) const;

    // Runs `f (Bank_Program&)` on bank 0..7 or the "Program Bank" (8) while holding the data lock.
    // A change it makes to the current program is one step of the undo history.
    template <typename Function>
    auto withBank (int bank, Function&& f) const -> decltype (f (std::declval<Bank_Program&>()))
    {
        const juce::ScopedLock sl (dataLock);
        const HistoryCatchUp catchUp (*this, bank); // runs before the lock goes
        return f (bankObject (bank));
    }

    // ---- Transmission (all skipped while the output port is closed) -------------------------------
    // An edit by hand (the editor's knobs). On a DIN link it goes before any host automation waiting.
    void sendParameterNrpn (int position, int value);
    void sendNrpn (int number, int value);
    void sendNoteOn (int channel, int note, int velocity);
    void sendPitchWheel (int channel, int position);
    void sendController (int channel, int number, int value);
    void sendNoteOff (int channel, int note);
    void sendProgramChange (int channel, int program);
    void sendSysEx (const juce::MemoryBlock& block) { ports->sendSysEx (block); }

    // The only MIDI the host receives from the plug-in: queued here, spread over the next block.
    void sendModWheelToHost (int channel, int value);
    // The same at a given time on a steady millisecond clock that does not wrap (tests give it).
    void sendModWheelToHostAt (int channel, int value, int64_t nowMilliseconds);

    void sendRequest (int type, int bank, int program);
    void requestGlobals();
    void sendCurrentSlot();

    // ---- Incoming (MIDI input thread) ------------------------------------------------------------
    void handleIncomingMidiMessage (juce::MidiInput* source, const juce::MidiMessage& message) override;
    void handlePartialSysexMessage (juce::MidiInput* source, const juce::uint8* data, int numBytes,
                                    double timestamp) override;
    void dispatchSysEx (const juce::MemoryBlock& message);
    void receiveProgramDump (const juce::MemoryBlock& message);
    void receiveGlobalDump (const juce::MemoryBlock& message);

    // ---- Queues ----------------------------------------------------------------------------------
    // Completed incoming NRPNs, (position << 16) + value, in arrival order; taking empties the queue.
    std::vector<int32_t> takeReceivedNrpns();
    std::vector<int32_t> takeNotifications();
    size_t getPendingNotificationCount() const;
    // With no editor open nothing takes the notifications. Past this many waiting codes, the
    // parameter, note and wheel codes are replaced by one "refresh all" (the editor reads the whole
    // program when it opens anyway); the codes that tell of transfers, banks and globals are kept.
    static constexpr size_t kNotificationBacklog = 4096;
    void postNotification (int32_t code);
    void postStateNotification (int32_t code);

    // ---- Listeners (each added once; told last registered first) ---------------------------------
    void addCableListener (CableListener* listener);
    void removeCableListener (CableListener* listener);
    // Tells every cable listener of a change, last registered first (the touch sliders and the pad).
    void notifyCableListeners (int position, int value, bool endGestureNow, bool sendToInstrument, bool notifyEditor);
    void addStateChangeListener (MidiCntrStateListener* listener);
    void removeStateChangeListener (MidiCntrStateListener* listener);
    void addStateListener (stateListener* listener);
    void removeStateListener (stateListener* listener);

    // ---- Host queue (audio thread) ---------------------------------------------------------------
    juce::CriticalSection& getLock() noexcept { return lock; }
    // Only while holding getLock().
    juce::MidiBuffer& getHostQueue() noexcept { return hostQueue; }
    void setPlaybackSettings (double sampleRate, int blockSize);

    // ---- Global block ----------------------------------------------------------------------------
    std::array<uint8_t, kGlobalBytes> getGlobalBlock() const;
    bool hasInstrumentAnswered() const noexcept { return instrumentAnswered; }
    int getGlobalValue (int index) const; // the block's byte, read as a signed byte; 0 outside it
    // The global panel's edit: clamped to the setting's range, stored and sent as NRPN 1024 + index,
    // unless it is already the stored value.
    void setGlobalValue (int index, int value);
    // The NRPN alone; the block is left as it is.
    void sendGlobalValue (int index, int value);

    // ---- Settings --------------------------------------------------------------------------------
    int getMidiChannel() const noexcept { return midiChannel; }
    void setMidiChannel (int channel); // memory only; reaches the file at the next save
    bool followsProgramChange() const noexcept { return followProgramChange; }
    void setFollowProgramChange (bool follow);
    bool getSettingsFlag7() const noexcept { return settingsFlag7; }
    SettingsFiles::SettingsBlock getSettingsBlock() const;
    void saveSettings();
    void saveBanks();

    // ---- Ports -----------------------------------------------------------------------------------
    MIDI_PORTS_Control& getPorts() noexcept { return *ports; }
    // No incoming message reaches this object or its listeners after this returns.
    void stopInput() { ports->stopInput(); }
    void selectInput (int listIndex);
    void selectOutput (int listIndex);
    void loadPortsFile();
    void savePortsFile();
    PortsFile::Settings getPortSettings() const;
    // The link the open output port is taken for ("MIDI DIN" or "USB", or automatic by its name),
    // remembered per port name and saved with the ports file.
    void setOutputLinkChoice (OutputLink::Choice choice);
    OutputLink::Choice getOutputLinkChoice() const;

    // ---- Chained bank transfers ------------------------------------------------------------------
    // Receive modes 0 (one bank), 777 (all user banks), 778 (all factory banks): the first request
    // goes out at once and every dump that arrives asks for the next. Transmit modes 100, 888 and
    // 887 only mark the chain; ChainedTransfer sends the programs.
    void startChainedTransfer (int mode, int firstBank);
    void finishChainedTransfer();
    bool isChained() const noexcept { return chained; }
    bool isReceivingIntoBanks() const noexcept { return receivingIntoBanks; }
    int getTransferMode() const noexcept { return transferMode; }

    // ---- Undo history and compare (message thread, except where said) ----------------------------
    // Undo and redo restore the program's bytes, send them to the instrument (as NRPN when few
    // parameters changed, else as one edit-buffer dump) and tell the editor. They return the
    // positions that changed, for the host to hear of; nothing while comparing.
    std::vector<int> undoProgramEdit();
    std::vector<int> redoProgramEdit();
    std::optional<ProgramHistory::Action> nextUndo() const;
    std::optional<ProgramHistory::Action> nextRedo() const;
    juce::String describe (const ProgramHistory::Action& action) const
    {
        return ProgramHistory::describe (action, table);
    }
    // The history starts again from the current program (a new instance after its start-up program).
    void clearProgramHistory();
    // No later change of this position joins the step it is in (the processor's gesture ended).
    void closeEditStep (int position);
    // Runs `f (const ProgramHistory&)` under the data lock (for tests and the benchmark).
    template <typename Function>
    auto withHistory (Function&& f) const
    {
        const juce::ScopedLock sl (dataLock);
        return f (static_cast<const ProgramHistory&> (*history));
    }

    // Compare: the instrument and the editor switch to the stored program of the current bank and
    // program and back, the edit kept aside. Any other change of the program while comparing ends
    // it, the edit one undo away.
    void toggleCompare();
    bool isComparing() const;
    // The current program differs from the stored program of its slot (false while comparing).
    bool isCurrentProgramEdited() const;
    // Parameters sent one by one cost up to 12 bytes (99, 98, 6, 38); past this many, one
    // edit-buffer dump of 1176 bytes is the shorter road.
    static constexpr int kMaxNrpnUndo = ProgramDump::kEditBufferDumpBytes / 12; // 98

    // Play panel state.
    std::atomic<int> playOctave { 2 }, noteVelocity { 100 };

private:
    // Under dataLock, after the current program changed: the history takes the change.
    void noteProgramChanged (ProgramHistory::Action action) const;
    void noteByteChanged (int position, uint8_t value) const;
    std::vector<int> applyHistory (bool undo);
    struct HistoryCatchUp
    {
        HistoryCatchUp (const MidiCntrState& s, int b) : state (s), bank (b) {}
        ~HistoryCatchUp()
        {
            if (bank == kProgramBank)
                state.noteProgramChanged (ProgramHistory::Action::of (ProgramHistory::Action::edit));
        }
        const MidiCntrState& state;
        const int bank;
    };

    Bank_Program& bankObject (int bank) const;
    void continueBankReceive (int bank, int program);
    void handleController (int channel, int number, int value);
    void completeIncomingNrpn();
    void loadBanksFromFile();
    void setCurrentNumbers (int bank, int program) noexcept;
    void sendParameter (int position, int value, bool automation);
    void applyLinkChoice (const juce::String& outputName);

    template <typename Listener, typename Call>
    void callListeners (const juce::Array<Listener*>& listeners, Call&& call);
    template <typename Listener>
    void addOnce (juce::Array<Listener*>& listeners, Listener* listener);
    template <typename Listener>
    void removeAll (juce::Array<Listener*>& listeners, Listener* listener);

    const ParameterTable& table;
    SettingsFiles::Folder folder;
    const bool detached;

    mutable juce::CriticalSection lock;             // host queue and listener lists
    mutable juce::CriticalSection dataLock;         // programs, banks, global block, settings block
    juce::CriticalSection nrpnLock;                 // NRPN repeat memory and its send
    mutable juce::CriticalSection notificationLock; // notification queue
    juce::CriticalSection receivedNrpnLock;         // received-NRPN queue

    juce::Array<CableListener*> cableListeners;
    juce::Array<stateListener*> stateListeners;
    juce::Array<MidiCntrStateListener*> stateChangeListeners;

    std::vector<int32_t> receivedNrpns;
    std::vector<int32_t> notifications;

    std::array<uint8_t, kGlobalBytes> globalBlock {};
    PortsFile::Settings portSettings;
    PortsFile::LinkChoices linkChoices; // under dataLock
    std::vector<uint8_t> sysExBuffer;   // MIDI input thread only

    // "Slider 1", "Slider 2", "Slider Press", "SlidLatch 1", "SlidLatch 2" (positions 1025..1029).
    std::array<std::atomic<int>, 5> extraValues {};
    std::array<std::atomic<int>, 3> sliderEcho {};

    std::atomic<double> sampleRate { 44100.0 };
    std::atomic<int> blockSize { 0 };

    std::atomic<int> midiChannel { 1 };
    std::atomic<bool> settingsFlag7 { false }, followProgramChange { false };

    std::atomic<bool> chained { false }, receivingIntoBanks { false };
    std::atomic<int> transferMode { -1 };

    std::atomic<int> currentSlot { -1 };
    SettingsFiles::SettingsBlock settings {};

    std::atomic<int> currentBank { 0 }, currentProgram { 0 };

    int lastNrpnPosition = -1, lastDataMsb = 0, lastDataLsb = 0; // under nrpnLock

    // Incoming NRPN registers (MIDI input thread only); they keep their values between messages.
    uint8_t parameterLsb = 255, parameterMsb = 255, dataLsb = 0, dataMsb = 0;

    std::array<std::unique_ptr<Bank_Program>, kBanks> banks;
    std::unique_ptr<Bank_Program> programBank;
    // Under dataLock; mutable because withBank is const and records what its function changed.
    std::unique_ptr<ProgramHistory> history;
    mutable bool comparing = false;
    Record comparedProgram {}; // the stored program shown while comparing

    std::atomic<bool> instrumentAnswered { false };
    juce::MidiBuffer hostQueue;
    int64_t hostQueueEpoch = 0; // the steady clock's time of sample position 0 in the host queue

    std::unique_ptr<MIDI_PORTS_Control> ports;

    JUCE_DECLARE_NON_COPYABLE (MidiCntrState)
};
