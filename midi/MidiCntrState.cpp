#include "midi/MidiCntrState.h"
#include "model/FactoryData.h"
#include "model/GlobalSettings.h"

#include <algorithm>
#include <chrono>

namespace
{
constexpr int kSlots = ProgramDump::kProgramsPerBank;
constexpr int kProgramIndexLimit = ProgramDump::kBanks * kSlots; // 792

// Controllers of the instrument's MIDI implementation.
constexpr int kCcModWheel = 1, kCcDataMsb = 6, kCcSlider1 = 14, kCcSlider2 = 15, kCcSliderPress = 17,
              kCcBankSelectLsb = 32, kCcDataLsb = 38, kCcNrpnLsb = 98, kCcNrpnMsb = 99;

// SysEx requests: F0 01 2A <command> ... F7.
constexpr uint8_t kRequestProgram = 0x05, kRequestEditBuffer = 0x06, kRequestGlobals = 0x0E, kGlobalDump = 0x0F;
constexpr uint8_t kUniversalNonRealtime = 0x7E, kIdentityReply = 0x06;

bool isValidBank (int bank) noexcept { return bank >= 0 && bank < ProgramDump::kBanks; }
bool isValidProgram (int program) noexcept { return program >= 0 && program < kSlots; }

juce::MemoryBlock sysEx (std::initializer_list<uint8_t> bytes)
{
    return juce::MemoryBlock (bytes.begin(), bytes.size());
}

void addController (juce::MidiBuffer& buffer, int channel, int controller, int value)
{
    buffer.addEvent (juce::MidiMessage::controllerEvent (channel, controller, value & 0x7F), 0);
}

uint8_t byteAt (const juce::MemoryBlock& block, size_t index)
{
    return index < block.getSize() ? static_cast<const uint8_t*> (block.getData())[index] : 0;
}

const char* const bankNames[] = { "User Bank 1",    "User Bank 2",    "User Bank 3",    "User Bank 4",
                                  "Factory Bank 1", "Factory Bank 2", "Factory Bank 3", "Factory Bank 4" };
} // namespace

MidiCntrState::MidiCntrState() : MidiCntrState (Environment {}) {}

MidiCntrState::MidiCntrState (Environment environment)
    : table (ParameterTable::get()),
      folder (environment.applicationData ? SettingsFiles::Folder (*environment.applicationData)
                                          : SettingsFiles::Folder()),
      detached (environment.detached)
{
    settings = detached ? SettingsFiles::freshSettings() : SettingsFiles::loadSettings (folder.settingsFile());

    const int channel = settings[SettingsFiles::kMidiChannelByte];
    if (channel >= 1 && channel <= 16)
    {
        midiChannel = channel;
    }
    else
    {
        midiChannel = 1;
        settings[SettingsFiles::kMidiChannelByte] = 1;
    }

    for (int b = 0; b < kBanks; ++b)
        banks[(size_t) b] = std::make_unique<Bank_Program> (bankNames[b]);
    loadBanksFromFile();

    programBank = std::make_unique<Bank_Program> ("Program Bank");
    programBank->loadFactory (0);
    // A fresh instance edits the first host program, as its state chunk says; nothing is sent.
    programBank->setEditBuffer (programBank->getSlot (0));
    history = std::make_unique<ProgramHistory> (programBank->getEditBuffer());

    // The flags are set before the input opens: its first program change may already need them.
    settingsFlag7 = settings[SettingsFiles::kSwitch7Byte] == 1;
    followProgramChange = settings[SettingsFiles::kFollowProgramChangeByte] == 1;

    ports = std::make_unique<MIDI_PORTS_Control> (std::move (environment.devices));
    // A long dump drops the messages still waiting in the output, perhaps the 99/98 of the last
    // parameter sent: the next parameter must name itself again.
    ports->setPendingDroppedHandler (&nrpnLock, [this] { lastNrpnPosition = -1; });
    if (detached)
        return;

    loadPortsFile();
    auto openByName = [] (const juce::String& name, const juce::StringArray& names) {
        return name.length() >= 3 ? names.indexOf (name) + 1 : 0;
    };
    ports->reopenInput (openByName (portSettings.input, ports->getDevices().getInputNames()), this);
    applyLinkChoice (portSettings.output);
    ports->reopenOutput (openByName (portSettings.output, ports->getDevices().getOutputNames()));
}

MidiCntrState::~MidiCntrState()
{
    if (! detached)
    {
        saveSettings();
        saveBanks();
    }
    ports.reset(); // stops the input first, so no callback runs while the rest goes
}

// ---- Files -----------------------------------------------------------------------------------------

void MidiCntrState::loadBanksFromFile()
{
    // Start from the built-in banks: user bank k and factory bank k both hold factory bank k. A saved
    // image then replaces whatever it holds in full.
    for (int b = 0; b < kBanks; ++b)
        banks[(size_t) b]->loadFactory (b % FactoryData::kBanks);

    juce::MemoryBlock content;
    if (detached || ! folder.bankFile().loadFileAsData (content))
        return;

    std::array<Bank_Program*, kBanks> targets;
    for (int b = 0; b < kBanks; ++b)
        targets[(size_t) b] = banks[(size_t) b].get();
    SettingsFiles::decodeBankImages (content.getData(), content.getSize(), targets);
}

void MidiCntrState::saveBanks()
{
    juce::MemoryBlock image;
    {
        const juce::ScopedLock sl (dataLock);
        std::array<const Bank_Program*, kBanks> sources;
        for (int b = 0; b < kBanks; ++b)
            sources[(size_t) b] = banks[(size_t) b].get();
        image = SettingsFiles::encodeBankImages (sources);
    }
    SettingsFiles::writeAtomically (folder.bankFile(), image);
}

void MidiCntrState::saveSettings() { SettingsFiles::saveSettings (folder.settingsFile(), getSettingsBlock()); }

SettingsFiles::SettingsBlock MidiCntrState::getSettingsBlock() const
{
    const juce::ScopedLock sl (dataLock);
    return settings;
}

void MidiCntrState::setMidiChannel (int channel)
{
    if (channel < 1 || channel > 16)
        return;
    const juce::ScopedLock sl (dataLock);
    midiChannel = channel;
    settings[SettingsFiles::kMidiChannelByte] = (uint8_t) channel;
}

void MidiCntrState::setFollowProgramChange (bool follow)
{
    const juce::ScopedLock sl (dataLock);
    followProgramChange = follow;
    settings[SettingsFiles::kFollowProgramChangeByte] = follow ? 1 : 0;
}

// ---- Ports -----------------------------------------------------------------------------------------

void MidiCntrState::selectInput (int listIndex)
{
    const auto names = ports->getDevices().getInputNames();
    {
        const juce::ScopedLock sl (dataLock);
        if (listIndex == 0)
            portSettings.input = PortsFile::kNone;
        else if (juce::isPositiveAndNotGreaterThan (listIndex, names.size()))
            portSettings.input = names[listIndex - 1];
    }
    ports->reopenInput (listIndex, this);
}

void MidiCntrState::selectOutput (int listIndex)
{
    const auto names = ports->getDevices().getOutputNames();
    {
        const juce::ScopedLock sl (dataLock);
        if (listIndex == 0)
            portSettings.output = PortsFile::kNone;
        else if (juce::isPositiveAndNotGreaterThan (listIndex, names.size()))
            portSettings.output = names[listIndex - 1];
    }
    // The port's link is known before it opens, so its first message already goes the right way.
    applyLinkChoice (juce::isPositiveAndNotGreaterThan (listIndex, names.size()) ? names[listIndex - 1]
                                                                                 : juce::String());
    ports->reopenOutput (listIndex);
}

void MidiCntrState::applyLinkChoice (const juce::String& outputName)
{
    auto choice = OutputLink::Choice::automatic;
    {
        const juce::ScopedLock sl (dataLock);
        if (const auto found = linkChoices.find (outputName); found != linkChoices.end())
            choice = found->second;
    }
    ports->setLinkChoice (choice, false);
}

void MidiCntrState::setOutputLinkChoice (OutputLink::Choice choice)
{
    const auto name = ports->getOutputName();
    if (name.isNotEmpty())
    {
        const juce::ScopedLock sl (dataLock);
        if (choice == OutputLink::Choice::automatic)
            linkChoices.erase (name);
        else
            linkChoices[name] = choice;
    }
    ports->setLinkChoice (choice);
}

OutputLink::Choice MidiCntrState::getOutputLinkChoice() const { return ports->getLinkChoice(); }

void MidiCntrState::loadPortsFile()
{
    const auto file = folder.portsFile();
    juce::MemoryBlock content;
    if (! file.existsAsFile() || ! file.loadFileAsData (content) || content.getSize() < 3)
    {
        savePortsFile();
        return;
    }

    juce::MemoryBlock links;
    if (file.getSiblingFile (PortsFile::kLinkFileName).loadFileAsData (links))
    {
        const juce::ScopedLock sl (dataLock);
        linkChoices = PortsFile::decodeLinks (links.getData(), links.getSize());
    }

    const juce::ScopedLock sl (dataLock);
    PortsFile::decode (content.getData(), content.getSize(), portSettings);
    if (portSettings.sysExBufferSize != 0)
        ports->setSysExBufferSize (portSettings.sysExBufferSize);
}

void MidiCntrState::savePortsFile()
{
    juce::MemoryBlock content, links;
    {
        const juce::ScopedLock sl (dataLock);
        portSettings.sysExBufferSize = ports->getSysExBufferSize();
        content = PortsFile::encode (portSettings);
        links = PortsFile::encodeLinks (linkChoices);
    }
    SettingsFiles::writeAtomically (folder.portsFile(), content);
    // Only while a choice is made: with every port automatic there is no second file.
    const auto linkFile = folder.portsFile().getSiblingFile (PortsFile::kLinkFileName);
    if (links.getSize() > 0)
        SettingsFiles::writeAtomically (linkFile, links);
    else
        linkFile.deleteFile();
}

PortsFile::Settings MidiCntrState::getPortSettings() const
{
    const juce::ScopedLock sl (dataLock);
    return portSettings;
}

// ---- Programs and banks ----------------------------------------------------------------------------

Bank_Program& MidiCntrState::bankObject (int bank) const
{
    return isValidBank (bank) ? *banks[(size_t) bank] : *programBank;
}

MidiCntrState::Record MidiCntrState::getCurrentProgram() const
{
    const juce::ScopedLock sl (dataLock);
    return programBank->getEditBuffer();
}

void MidiCntrState::setCurrentProgram (const Record& record, ProgramHistory::Action action)
{
    const juce::ScopedLock sl (dataLock);
    programBank->setEditBuffer (record);
    noteProgramChanged (action);
}

MidiCntrState::Record MidiCntrState::getSlot (int bank, int slot) const
{
    if (! isValidBank (bank) && bank != kProgramBank)
        return {};
    const juce::ScopedLock sl (dataLock);
    return bankObject (bank).getSlot (slot);
}

void MidiCntrState::putSlot (int bank, int slot, const Record& record)
{
    if (! isValidBank (bank) && bank != kProgramBank)
        return;
    const juce::ScopedLock sl (dataLock);
    bankObject (bank).putSlot (slot, record);
}

juce::String MidiCntrState::getSlotName (int bank, int slot) const
{
    if (! isValidBank (bank) && bank != kProgramBank)
        return {};
    const juce::ScopedLock sl (dataLock);
    return bankObject (bank).slotName (slot);
}

juce::String MidiCntrState::getBankName (int bank) const
{
    if (! isValidBank (bank) && bank != kProgramBank)
        return {};
    return bankObject (bank).getName();
}

// ---- Parameter values ------------------------------------------------------------------------------

void MidiCntrState::setCurrentNumbers (int bank, int program) noexcept
{
    currentBank = bank;
    currentProgram = program;
}

void MidiCntrState::setProgramIndex (int index)
{
    if (index < 0 || index >= kProgramIndexLimit)
        return;
    setCurrentNumbers (index / kSlots, index % kSlots);
}

void MidiCntrState::storeValue (int position, int value)
{
    if (position < 0)
        return;

    if (position < ParameterTable::kProgramPositions)
    {
        const juce::ScopedLock sl (dataLock);
        programBank->editBufferData()[(size_t) position] = (uint8_t) value;
        noteByteChanged (position, (uint8_t) value);
    }
    else if (position == ParameterTable::kProgramNumber)
    {
        if (value >= 0)
            setProgramIndex (value);
        else
            setCurrentNumbers (-1, -1);
    }
    else if (position < ParameterTable::kNumPositions)
    {
        extraValues[(size_t) (position - ParameterTable::kSlider1)] = value;
    }
}

int MidiCntrState::getValue (int position) const
{
    if (position < 0 || position >= ParameterTable::kNumPositions)
        return 0;
    if (position < ParameterTable::kProgramPositions)
    {
        const juce::ScopedLock sl (dataLock);
        return programBank->getEditBuffer()[(size_t) position];
    }
    if (position == ParameterTable::kProgramNumber)
        return currentBank * kSlots + currentProgram;
    return extraValues[(size_t) (position - ParameterTable::kSlider1)];
}

void MidiCntrState::setParameterValue (int position, int value)
{
    if (position < 0 || position >= ParameterTable::kNumPositions)
        return;

    if (position < ParameterTable::kProgramPositions)
    {
        storeValue (position, value);
        sendParameter (position, value, true); // host automation
        postNotification (Notification::parameterChanged (position, value));
    }
    else if (position == ParameterTable::kProgramNumber)
    {
        storeValue (position, value);
        if (followProgramChange)
            selectProgram (currentBank * kSlots + currentProgram, true, false);
    }
    else if (position <= ParameterTable::kSliderPress)
    {
        storeValue (position, value);
        setSliderValue (position, value);
    }
    else
    {
        storeValue (position, value);
        postNotification (position == ParameterTable::kSliderLatch1 ? Notification::kSliderLatch1Changed
                                                                    : Notification::kSliderLatch2Changed);
    }
}

void MidiCntrState::setSliderValue (int position, int value)
{
    static constexpr int controllers[] = { kCcSlider1, kCcSlider2, kCcSliderPress };
    if (position < ParameterTable::kSlider1 || position > ParameterTable::kSliderPress)
        return;

    const auto index = (size_t) (position - ParameterTable::kSlider1);
    sliderEcho[index] = value;
    postNotification (Notification::kSliderChanged);
    ports->sendController (midiChannel, controllers[index], value);
}

void MidiCntrState::selectProgram (int index, bool send, bool notify)
{
    if (index < 0)
        setCurrentNumbers (-1, -1);
    else
        setProgramIndex (index);

    const int bank = currentBank, program = currentProgram;
    // A bank or program the instrument does not have (bank select 9, program change 120) loads nothing.
    if (! isValidBank (bank) || ! isValidProgram (program))
        return;

    {
        const juce::ScopedLock sl (dataLock);
        programBank->setEditBuffer (banks[(size_t) bank]->getSlot (program));
        noteProgramChanged (ProgramHistory::Action::ofLoad (bank, program));
    }
    postNotification (Notification::kProgramReplaced);

    if (notify && followProgramChange)
    {
        const int programIndex = bank * kSlots + program;
        callListeners (cableListeners, [programIndex] (CableListener* l) {
            l->cableValueChanged (ParameterTable::kProgramNumber, programIndex, true, true, true);
        });
    }

    if (send)
    {
        ports->sendController (midiChannel, kCcBankSelectLsb, bank);
        ports->sendProgramChange (midiChannel, program);
    }
}

// ---- Transmission ----------------------------------------------------------------------------------

void MidiCntrState::sendParameterNrpn (int position, int value) { sendParameter (position, value, false); }

void MidiCntrState::sendParameter (int position, int value, bool automation)
{
    if (position < 0 || position >= ParameterTable::kProgramPositions)
        return;

    // A position without an NRPN number (the arpeggiator steps, unused bytes) has nothing to say to
    // the instrument.
    const int nrpn = table.nrpnOf (position);
    if (nrpn < 0)
        return;

    const int parameterMsbOut = nrpn >> 7, parameterLsbOut = nrpn - parameterMsbOut * 128;
    const int dataMsbOut = value / 128, dataLsbOut = value - dataMsbOut * 128;
    const int channel = midiChannel;

    // A DIN cable carries less than a host automates: the port keeps the newest value of each
    // parameter until the cable has room, and makes the NRPN then.
    if (ports->isPaced())
    {
        if (ports->isOutputOpen())
            ports->sendPacedNrpn (channel, position, nrpn, value, automation);
        return;
    }

    // The memory and the send are one step: two threads sending at once must never leave a lone
    // controller 38 for a parameter whose 99/98 were not the last to go out.
    const juce::ScopedLock sl (nrpnLock);
    if (! ports->isOutputOpen())
        return;

    juce::MidiBuffer buffer;
    auto add = [&] (int controller, int v) { addController (buffer, channel, controller, v); };

    if (position != lastNrpnPosition)
    {
        add (kCcNrpnMsb, parameterMsbOut);
        add (kCcNrpnLsb, parameterLsbOut);
        add (kCcDataMsb, dataMsbOut);
        add (kCcDataLsb, dataLsbOut);
        lastNrpnPosition = position;
        lastDataMsb = dataMsbOut;
        lastDataLsb = dataLsbOut;
    }
    else if (dataMsbOut != lastDataMsb)
    {
        add (kCcDataMsb, dataMsbOut);
        add (kCcDataLsb, dataLsbOut);
        lastDataMsb = dataMsbOut;
        lastDataLsb = dataLsbOut;
    }
    else if (dataLsbOut != lastDataLsb)
    {
        add (kCcDataLsb, dataLsbOut);
        lastDataLsb = dataLsbOut;
    }
    else
    {
        return;
    }

    ports->sendBuffer (buffer);
}

void MidiCntrState::sendNrpn (int number, int value)
{
    const int channel = midiChannel;
    juce::MidiBuffer buffer;
    auto add = [&] (int controller, int v) { addController (buffer, channel, controller, v); };

    const int msb = number >> 7, dataMsbOut = value / 128;
    add (kCcNrpnMsb, msb);
    add (kCcNrpnLsb, number - msb * 128);
    add (kCcDataMsb, dataMsbOut);
    add (kCcDataLsb, value - dataMsbOut * 128);

    if (ports->isPaced())
    {
        if (ports->isOutputOpen())
            ports->sendPacedNrpn (channel, -1, number, value, false);
        return;
    }

    // Held like a parameter send, so the two can never interleave on the wire. Its 99/98 name
    // another parameter, so the next parameter send must name its own again: a lone 38 would land
    // on this one.
    const juce::ScopedLock sl (nrpnLock);
    if (! ports->isOutputOpen())
        return;
    ports->sendBuffer (buffer);
    lastNrpnPosition = -1;
}

void MidiCntrState::sendNoteOn (int channel, int note, int velocity)
{
    if (channel >= 1 && channel <= 16 && note >= 0 && note < 128)
        ports->sendMessage (juce::MidiMessage::noteOn (channel, note, (juce::uint8) juce::jlimit (0, 127, velocity)));
}

void MidiCntrState::sendPitchWheel (int channel, int position)
{
    if (channel >= 1 && channel <= 16)
        ports->sendMessage (juce::MidiMessage::pitchWheel (channel, juce::jlimit (0, 16383, position)));
}

void MidiCntrState::sendController (int channel, int number, int value)
{
    ports->sendController (channel, number, value);
}

void MidiCntrState::sendNoteOff (int channel, int note) { ports->sendNoteOff (channel, note); }

void MidiCntrState::sendProgramChange (int channel, int program) { ports->sendProgramChange (channel, program); }

void MidiCntrState::sendModWheelToHost (int channel, int value)
{
    if (channel < 1 || channel > 16)
        return;

    const auto now =
        std::chrono::duration_cast<std::chrono::milliseconds> (std::chrono::steady_clock::now().time_since_epoch())
            .count();
    sendModWheelToHostAt (channel, value, (int64_t) now);
}

void MidiCntrState::sendModWheelToHostAt (int channel, int value, int64_t now)
{
    if (channel < 1 || channel > 16)
        return;

    // Sample positions in the queue are milliseconds since the queue's epoch, which is set when the
    // queue is empty and moved up when it grows old, so they stay small whatever the uptime.
    static constexpr int64_t kRebaseAfter = 1 << 24;
    const juce::ScopedLock sl (lock);
    if (hostQueue.isEmpty() || now < hostQueueEpoch)
    {
        hostQueue.clear();
        hostQueueEpoch = now;
    }
    else if (now - hostQueueEpoch > kRebaseAfter)
    {
        const int64_t newEpoch = now - kHostQueueMilliseconds;
        juce::MidiBuffer moved;
        for (const auto metadata : hostQueue)
        {
            const int64_t at = hostQueueEpoch + metadata.samplePosition;
            if (at >= newEpoch)
                moved.addEvent (metadata.data, metadata.numBytes, (int) (at - newEpoch));
        }
        hostQueue.swapWith (moved);
        hostQueueEpoch = newEpoch;
    }

    const int position = (int) (now - hostQueueEpoch);
    hostQueue.addEvent (juce::MidiMessage::controllerEvent (channel, kCcModWheel, value & 0x7F), position);
    // Nobody may be processing blocks: keep only the last half second.
    if (position > kHostQueueMilliseconds)
        hostQueue.clear (0, position - kHostQueueMilliseconds);
}

void MidiCntrState::setPlaybackSettings (double newSampleRate, int newBlockSize)
{
    sampleRate = newSampleRate;
    blockSize = newBlockSize;
}

void MidiCntrState::sendRequest (int type, int bank, int program)
{
    if (type == kRequestProgram)
        ports->sendSysEx (
            sysEx ({ ProgramDump::kSysExStart, ProgramDump::kManufacturerDsi, ProgramDump::kDeviceKeyboard,
                     kRequestProgram, (uint8_t) (bank & 0x7F), (uint8_t) (program & 0x7F), ProgramDump::kSysExEnd }));
    else if (type == kRequestEditBuffer)
        ports->sendSysEx (sysEx ({ ProgramDump::kSysExStart, ProgramDump::kManufacturerDsi,
                                   ProgramDump::kDeviceKeyboard, kRequestEditBuffer, ProgramDump::kSysExEnd }));
}

void MidiCntrState::requestGlobals()
{
    instrumentAnswered = false;
    postNotification (Notification::kGlobalsRequested);
    ports->sendSysEx (sysEx ({ ProgramDump::kSysExStart, ProgramDump::kManufacturerDsi, ProgramDump::kDeviceKeyboard,
                               kRequestGlobals, ProgramDump::kSysExEnd }));
}

void MidiCntrState::sendCurrentSlot()
{
    if (currentSlot < 0)
        currentSlot = 0;
    if (! isValidProgram (currentSlot))
        return;

    juce::MemoryBlock dump;
    {
        const juce::ScopedLock sl (dataLock);
        programBank->setEditBuffer (programBank->getSlot (currentSlot));
        noteProgramChanged (ProgramHistory::Action::ofPreset (currentSlot));
        dump = programBank->editBufferAsDump();
    }
    ports->sendSysEx (dump);
    postNotification (Notification::kProgramReplaced);
}

// ---- Incoming --------------------------------------------------------------------------------------

void MidiCntrState::handleIncomingMidiMessage (juce::MidiInput*, const juce::MidiMessage& message)
{
    const auto* data = message.getRawData();
    const int size = message.getRawDataSize();
    if (data == nullptr || size < 1)
        return;

    const uint8_t status = data[0];
    const int channel = (status & 0x0F) + 1;
    const int data1 = size > 1 ? data[1] : 0;
    const int data2 = size > 2 ? data[2] : 0;

    if (status == 0xF8)
        return;

    if (status == ProgramDump::kSysExStart)
    {
        sysExBuffer.assign (data, data + size);
    }
    else if (status >= 0x80 && status < 0xF0)
    {
        switch (status & 0xF0)
        {
            case 0x90:
                if (data2 > 0)
                    postNotification (Notification::noteOn (channel, data1, data2));
                else
                    postNotification (Notification::noteOff (channel, data1));
                return;
            case 0x80: postNotification (Notification::noteOff (channel, data1)); return;
            case 0xB0: handleController (channel, data1, data2); return;
            case 0xE0: postNotification (Notification::pitchBend (channel, data1, data2)); return;
            case 0xC0:
            {
                const int bank = currentBank & 0xFF;
                if (data1 == currentProgram && bank == currentBank)
                    return;
                setCurrentNumbers (bank, data1);
                if (isValidProgram (data1)) // bank x 99 + 120 would name another bank's program
                    selectProgram (bank * kSlots + data1, false, followProgramChange);
                return;
            }
            default: return;
        }
    }
    else if (! sysExBuffer.empty())
    {
        // The rest of a SysEx that arrives in pieces.
        sysExBuffer.insert (sysExBuffer.end(), data, data + size);
    }

    if (! sysExBuffer.empty() && sysExBuffer.front() == ProgramDump::kSysExStart &&
        sysExBuffer.back() == ProgramDump::kSysExEnd)
    {
        const juce::MemoryBlock complete (sysExBuffer.data(), sysExBuffer.size());
        sysExBuffer.clear();
        dispatchSysEx (complete);
    }
}

void MidiCntrState::handlePartialSysexMessage (juce::MidiInput*, const juce::uint8*, int, double)
{
    if (sysExBuffer.empty())
        return;
    const juce::MemoryBlock pending (sysExBuffer.data(), sysExBuffer.size());
    sysExBuffer.clear();
    dispatchSysEx (pending);
}

void MidiCntrState::handleController (int channel, int number, int value)
{
    switch (number)
    {
        case kCcModWheel: postNotification (Notification::modWheel (channel, value)); break;
        case kCcDataMsb: dataMsb = (uint8_t) value; break;
        case kCcBankSelectLsb: currentBank = value; break;
        case kCcDataLsb:
            dataLsb = (uint8_t) value;
            completeIncomingNrpn();
            break;
        case kCcNrpnLsb: parameterLsb = (uint8_t) value; break;
        case kCcNrpnMsb: parameterMsb = (uint8_t) value; break;
        default: break;
    }
}

void MidiCntrState::completeIncomingNrpn()
{
    const int number = (uint16_t) (parameterMsb * 128 + parameterLsb);
    const int value = (uint16_t) (dataMsb * 128 + dataLsb);
    const int position = table.positionOfNrpn (number);

    // Only NRPN 0 may land on position 0; numbers without a parameter are not ours.
    if (position < 0 || (position == 0 && number != 0))
        return;

    {
        const juce::ScopedLock sl (receivedNrpnLock);
        receivedNrpns.push_back ((position << 16) + value);
    }
    sendChangeMessage();
}

void MidiCntrState::dispatchSysEx (const juce::MemoryBlock& message)
{
    if (byteAt (message, 1) == kUniversalNonRealtime && byteAt (message, 3) == kIdentityReply)
        return; // an identity reply changes nothing

    const auto device = byteAt (message, 2);
    if (device != ProgramDump::kDeviceKeyboard && device != ProgramDump::kDeviceDesktop)
        return;

    const auto command = byteAt (message, 3);
    if (command == ProgramDump::kProgramData || command == ProgramDump::kEditBufferData)
        receiveProgramDump (message);
    else if (command == kGlobalDump)
        receiveGlobalDump (message);
}

void MidiCntrState::receiveProgramDump (const juce::MemoryBlock& message)
{
    const auto* bytes = static_cast<const uint8_t*> (message.getData());
    const auto command = byteAt (message, 3);

    if (command == ProgramDump::kEditBufferData)
    {
        if (message.getSize() < (size_t) ProgramDump::kEditBufferDumpBytes)
            return;
        setCurrentProgram (ProgramDump::unpack (bytes + ProgramDump::kEditBufferDumpHeader, ProgramDump::kPackedBytes),
                           ProgramHistory::Action::of (ProgramHistory::Action::receive));
        postNotification (Notification::kProgramReplaced);
        return;
    }

    if (command != ProgramDump::kProgramData || message.getSize() < (size_t) ProgramDump::kProgramDumpBytes)
        return;

    const int bank = bytes[4], program = bytes[5];
    const auto record = ProgramDump::unpack (bytes + ProgramDump::kProgramDumpHeader, ProgramDump::kPackedBytes);

    if (! isValidBank (bank) || ! isValidProgram (program))
    {
        // No slot of ours has these numbers: the program can only be the one being edited.
        if (! receivingIntoBanks)
        {
            setCurrentProgram (record, ProgramHistory::Action::of (ProgramHistory::Action::receive));
            postNotification (Notification::kProgramReplaced);
        }
        return;
    }

    if (receivingIntoBanks)
    {
        putSlot (bank, program, record);
        continueBankReceive (bank, program);
        return;
    }

    setCurrentNumbers (bank, program);
    putSlot (bank, program, record);
    postNotification (Notification::kBankChanged);
    setCurrentProgram (record, ProgramHistory::Action::ofReceivedProgram (bank, program));
    postNotification (Notification::kProgramReplaced);
}

void MidiCntrState::receiveGlobalDump (const juce::MemoryBlock& message)
{
    const auto* bytes = static_cast<const uint8_t*> (message.getData());
    const size_t size = message.getSize();
    {
        const juce::ScopedLock sl (dataLock);
        // Data bytes lie between the four header bytes and the closing F7.
        for (size_t i = 4, j = 0; i + 1 < size && j < (size_t) kGlobalBytes; ++i, ++j)
            globalBlock[j] = bytes[i];
    }
    instrumentAnswered = true;
    postNotification (Notification::kGlobalsReceived);
}

std::array<uint8_t, MidiCntrState::kGlobalBytes> MidiCntrState::getGlobalBlock() const
{
    const juce::ScopedLock sl (dataLock);
    return globalBlock;
}

int MidiCntrState::getGlobalValue (int index) const
{
    if (! juce::isPositiveAndBelow (index, kGlobalBytes))
        return 0;
    const juce::ScopedLock sl (dataLock);
    return (int8_t) globalBlock[(size_t) index];
}

void MidiCntrState::setGlobalValue (int index, int value)
{
    if (! juce::isPositiveAndBelow (index, GlobalSettings::kCount))
        return;

    value = juce::jlimit (0, GlobalSettings::maximum (index), value);
    {
        const juce::ScopedLock sl (dataLock);
        if (globalBlock[(size_t) index] == value)
            return;
        globalBlock[(size_t) index] = (uint8_t) value;
    }
    sendGlobalValue (index, value);
}

void MidiCntrState::sendGlobalValue (int index, int value) { sendNrpn (GlobalSettings::kNrpnBase + index, value); }

// ---- Chained bank receive --------------------------------------------------------------------------

void MidiCntrState::startChainedTransfer (int mode, int firstBank)
{
    const bool receive = mode == kReceiveBank || mode == kReceiveUserBanks || mode == kReceiveFactoryBanks;
    const bool transmit = mode == kTransmitBank || mode == kTransmitUserBanks || mode == kTransmitFactoryBanks;
    if ((! receive && ! transmit) || ! isValidBank (firstBank))
        return;

    transferMode = mode;
    chained = true;
    if (receive)
    {
        receivingIntoBanks = true;
        sendRequest (kRequestProgram, firstBank, 0);
    }
}

void MidiCntrState::finishChainedTransfer()
{
    chained = false;
    receivingIntoBanks = false;
    transferMode = -1;
}

void MidiCntrState::continueBankReceive (int bank, int program)
{
    if (! chained)
        return;

    postNotification (Notification::kBankReceiveProgress + (bank << 8) + program);

    if (program < kSlots - 1)
    {
        sendRequest (kRequestProgram, bank, program + 1);
        return;
    }

    // The last bank of a chain ends it; a dump for a later bank than asked for ends it as well,
    // rather than asking the instrument for a bank it does not have.
    const int mode = transferMode;
    const bool finished = mode == kReceiveBank || (mode == kReceiveUserBanks && bank >= 3) ||
                          (mode == kReceiveFactoryBanks && bank >= ProgramDump::kBanks - 1);
    if (! finished)
    {
        sendRequest (kRequestProgram, bank + 1, 0);
        return;
    }

    // The chain ends here even when no editor is open to end it; the editor then only tidies up.
    finishChainedTransfer();
    postNotification (Notification::kBankChanged);
    postNotification (Notification::kBankReceiveFinished);
}

// ---- Queues and listeners --------------------------------------------------------------------------

std::vector<int32_t> MidiCntrState::takeReceivedNrpns()
{
    std::vector<int32_t> taken;
    const juce::ScopedLock sl (receivedNrpnLock);
    taken.swap (receivedNrpns);
    return taken;
}

std::vector<int32_t> MidiCntrState::takeNotifications()
{
    std::vector<int32_t> taken;
    const juce::ScopedLock sl (notificationLock);
    taken.swap (notifications);
    return taken;
}

template <typename Listener, typename Call>
void MidiCntrState::callListeners (const juce::Array<Listener*>& listeners, Call&& call)
{
    juce::Array<Listener*> copy;
    {
        const juce::ScopedLock sl (lock);
        copy = listeners;
    }
    for (int i = copy.size(); --i >= 0;)
        call (copy.getUnchecked (i));
}

size_t MidiCntrState::getPendingNotificationCount() const
{
    const juce::ScopedLock sl (notificationLock);
    return notifications.size();
}

namespace
{
// Codes whose meaning a full refresh of the editor carries: parameter values, a whole new program,
// notes, wheels and sliders as they are now.
bool coveredByRefresh (int32_t code)
{
    switch ((uint32_t) code >> 24)
    {
        case 0x08:
        case 0x09:
        case 0x0B:
        case 0x0E:
        case 0x10:
        case 0x11:
        case 0x1A:
        case 0x1B: return true;
        default: return false;
    }
}

void appendBounded (std::vector<int32_t>& queue, int32_t code)
{
    queue.push_back (code);
    if (queue.size() <= MidiCntrState::kNotificationBacklog)
        return;

    // Keep one of each code that a refresh cannot tell (bank receive progress and end, globals,
    // bank changes, commands), in order, then one refresh of everything.
    std::vector<int32_t> kept;
    for (auto c : queue)
        if (! coveredByRefresh (c) && std::find (kept.begin(), kept.end(), c) == kept.end())
            kept.push_back (c);
    kept.push_back (Notification::kProgramReplaced);
    queue.swap (kept);
}
} // namespace

void MidiCntrState::postNotification (int32_t code)
{
    {
        const juce::ScopedLock sl (notificationLock);
        appendBounded (notifications, code);
    }
    // The editor's listener only triggers an asynchronous update, so it is told under the lock: a
    // listener that has just been removed is never called.
    const juce::ScopedLock sl (lock);
    for (int i = stateChangeListeners.size(); --i >= 0;)
        stateChangeListeners.getUnchecked (i)->midiCntrStateChanged (this);
}

void MidiCntrState::postStateNotification (int32_t code)
{
    {
        const juce::ScopedLock sl (notificationLock);
        appendBounded (notifications, code);
    }
    const juce::ScopedLock sl (lock);
    for (int i = stateListeners.size(); --i >= 0;)
        stateListeners.getUnchecked (i)->stateChanged();
}

template <typename Listener>
void MidiCntrState::addOnce (juce::Array<Listener*>& listeners, Listener* listener)
{
    const juce::ScopedLock sl (lock);
    listeners.addIfNotAlreadyThere (listener);
}

template <typename Listener>
void MidiCntrState::removeAll (juce::Array<Listener*>& listeners, Listener* listener)
{
    const juce::ScopedLock sl (lock);
    listeners.removeAllInstancesOf (listener);
}

void MidiCntrState::addCableListener (CableListener* l) { addOnce (cableListeners, l); }
void MidiCntrState::removeCableListener (CableListener* l) { removeAll (cableListeners, l); }
void MidiCntrState::addStateChangeListener (MidiCntrStateListener* l) { addOnce (stateChangeListeners, l); }
void MidiCntrState::removeStateChangeListener (MidiCntrStateListener* l) { removeAll (stateChangeListeners, l); }
void MidiCntrState::addStateListener (stateListener* l) { addOnce (stateListeners, l); }
void MidiCntrState::removeStateListener (stateListener* l) { removeAll (stateListeners, l); }

void MidiCntrState::notifyCableListeners (int position, int value, bool endGestureNow, bool sendToInstrument,
                                          bool notifyEditor)
{
    callListeners (cableListeners, [=] (CableListener* l) {
        l->cableValueChanged (position, value, endGestureNow, sendToInstrument, notifyEditor);
    });
}
