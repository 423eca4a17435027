#include "midi/Prophet12Simulator.h"
#include "model/FactoryData.h"
#include "model/ParameterTable.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace
{
constexpr int kBanks = Prophet12SimulatorCore::kBanks, kSlots = Prophet12SimulatorCore::kSlots;
constexpr uint8_t kStart = ProgramDump::kSysExStart, kEnd = ProgramDump::kSysExEnd;
constexpr uint8_t kProgramRequest = 0x05, kEditBufferRequest = 0x06, kGlobalRequest = 0x0E, kGlobalData = 0x0F;

bool inBanks (int bank, int program) noexcept
{
    return juce::isPositiveAndBelow (bank, kBanks) && juce::isPositiveAndBelow (program, kSlots);
}

size_t slotIndex (int bank, int program) noexcept { return (size_t) (bank * kSlots + program); }

int dataBytesOf (int status)
{
    switch (status & 0xF0)
    {
        case 0xC0:
        case 0xD0: return 1;
        default: return 2;
    }
}

Prophet12SimulatorCore::Message bytesOf (const juce::MemoryBlock& block)
{
    const auto* data = static_cast<const uint8_t*> (block.getData());
    return { data, data + block.getSize() };
}
} // namespace

// ==== The instrument ===============================================================================

Prophet12SimulatorCore::Record Prophet12SimulatorCore::factoryProgram (int bank, int program)
{
    if (const auto* source = FactoryData::bank (bank % FactoryData::kBanks);
        source != nullptr && inBanks (bank, program))
    {
        Record record;
        std::memcpy (record.data(), source + (size_t) program * ProgramDump::kRecordBytes, record.size());
        return record;
    }
    return FactoryData::basicProgram();
}

Prophet12SimulatorCore::Prophet12SimulatorCore (const ProgramSource& initialProgram)
{
    // The NRPN table is made before the process-wide simulator, so it is still there for as long as
    // the simulator's threads may read it at exit.
    juce::ignoreUnused (ParameterTable::get());

    programs.reserve ((size_t) (kBanks * kSlots));
    for (int b = 0; b < kBanks; ++b)
        for (int p = 0; p < kSlots; ++p)
            programs.push_back (initialProgram (b, p));
    editBuffer = programs.front();

    // Master tune centred, channel 1, NRPN send and receive, SysEx on, tuning 1.
    globals = { 12, 50, 1, 0, 0, 0, 1, 1, 1, 1, 3, 1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0 };
}

void Prophet12SimulatorCore::take (const uint8_t* data, size_t size, std::vector<Message>& answers,
                                   std::vector<Message>* log)
{
    if (data == nullptr)
        return;
    for (size_t i = 0; i < size; ++i)
        takeByte (data[i], answers, log);
}

void Prophet12SimulatorCore::takeByte (uint8_t byte, std::vector<Message>& answers, std::vector<Message>* log)
{
    if (byte >= 0xF8)
        return; // real-time bytes may come anywhere and mean nothing here

    auto complete = [&] {
        auto message = std::move (partial);
        partial.clear();
        if (log != nullptr)
            log->push_back (message);
        handleMessage (message, answers);
    };

    if (byte == kStart)
    {
        partial.assign (1, byte);
        runningStatus = kStart;
        return;
    }

    if (runningStatus == kStart)
    {
        if (byte == kEnd)
        {
            partial.push_back (byte);
            runningStatus = 0;
            complete();
        }
        else if (byte < 0x80)
        {
            partial.push_back (byte);
        }
        else
        {
            // A SysEx broken off by a new status is lost; the status starts a message of its own.
            partial.clear();
            runningStatus = 0;
            takeByte (byte, answers, log);
        }
        return;
    }

    if (byte >= 0x80)
    {
        // System common messages (F1..F7) cancel running status and carry nothing this instrument uses.
        runningStatus = byte < 0xF0 ? byte : 0;
        partial.assign (1, byte);
        if (runningStatus == 0)
            partial.clear();
        return;
    }

    if (runningStatus == 0)
        return;

    if (partial.empty())
        partial.push_back ((uint8_t) runningStatus);
    partial.push_back (byte);
    if ((int) partial.size() == 1 + dataBytesOf (runningStatus))
        complete();
}

void Prophet12SimulatorCore::handleMessage (const Message& message, std::vector<Message>& answers)
{
    const int status = message[0];
    if (status == kStart)
    {
        handleSysEx (message, answers);
        return;
    }

    if ((status & 0x0F) + 1 != channel)
        return;

    switch (status & 0xF0)
    {
        case 0xB0: handleController (message[1], message[2]); break;
        case 0xC0:
            currentBank = bankSelect;
            currentProgram = message[1];
            if (inBanks (currentBank, currentProgram))
                editBuffer = programs[slotIndex (currentBank, currentProgram)];
            break;
        default: break; // it plays; nothing to remember
    }
}

void Prophet12SimulatorCore::handleController (int number, int value)
{
    switch (number)
    {
        case 99: nrpnMsb = value; break;
        case 98: nrpnLsb = value; break;
        case 6: dataMsb = value; break;
        case 32: bankSelect = value; break;
        case 38:
        {
            const int nrpn = nrpnMsb * 128 + nrpnLsb;
            const int data = dataMsb * 128 + value;
            if (nrpn < ParameterTable::kNumNrpn)
            {
                const int position = ParameterTable::get().positionOfNrpn (nrpn);
                if (juce::isPositiveAndBelow (position, ParameterTable::kProgramPositions))
                    editBuffer[(size_t) position] = (uint8_t) data;
            }
            else if (nrpn - ParameterTable::kNumNrpn < kGlobals)
            {
                globals[(size_t) (nrpn - ParameterTable::kNumNrpn)] = data;
            }
            break;
        }
        default: break;
    }
}

void Prophet12SimulatorCore::handleSysEx (const Message& m, std::vector<Message>& answers)
{
    if (m.size() < 5 || m[1] != ProgramDump::kManufacturerDsi || m[2] != ProgramDump::kDeviceKeyboard)
        return;

    switch (m[3])
    {
        case kProgramRequest: // F0 01 2A 05 bank program F7
            if (m.size() >= 7 && inBanks (m[4], m[5]))
                answers.push_back (bytesOf (ProgramDump::programDump (programs[slotIndex (m[4], m[5])], m[4], m[5])));
            break;
        case kEditBufferRequest: answers.push_back (bytesOf (ProgramDump::editBufferDump (editBuffer))); break;
        case kGlobalRequest: answers.push_back (globalDump()); break;
        case ProgramDump::kProgramData:
            if (m.size() >= (size_t) ProgramDump::kProgramDumpBytes && inBanks (m[4], m[5]))
                programs[slotIndex (m[4], m[5])] =
                    ProgramDump::unpack (m.data() + ProgramDump::kProgramDumpHeader, ProgramDump::kPackedBytes);
            break;
        case ProgramDump::kEditBufferData:
            if (m.size() >= (size_t) ProgramDump::kEditBufferDumpBytes)
                editBuffer =
                    ProgramDump::unpack (m.data() + ProgramDump::kEditBufferDumpHeader, ProgramDump::kPackedBytes);
            break;
        default: break;
    }
}

void Prophet12SimulatorCore::setChannel (int newChannel) { channel = juce::jlimit (1, 16, newChannel); }

Prophet12SimulatorCore::Record Prophet12SimulatorCore::getProgram (int bank, int program) const
{
    return inBanks (bank, program) ? programs[slotIndex (bank, program)] : Record {};
}

void Prophet12SimulatorCore::setProgram (int bank, int program, const Record& record)
{
    if (inBanks (bank, program))
        programs[slotIndex (bank, program)] = record;
}

int Prophet12SimulatorCore::getGlobal (int index) const
{
    return juce::isPositiveAndBelow (index, kGlobals) ? globals[(size_t) index] : 0;
}

void Prophet12SimulatorCore::setGlobal (int index, int value)
{
    if (juce::isPositiveAndBelow (index, kGlobals))
        globals[(size_t) index] = value;
}

std::vector<Prophet12SimulatorCore::Message> Prophet12SimulatorCore::turnParameter (int position, int value)
{
    if (! juce::isPositiveAndBelow (position, ParameterTable::kProgramPositions))
        return {};
    const int nrpn = ParameterTable::get().nrpnOf (position);
    if (nrpn < 0)
        return {};

    editBuffer[(size_t) position] = (uint8_t) value;
    const auto cc = (uint8_t) (0xB0 + channel - 1);
    return { { cc, 99, (uint8_t) (nrpn >> 7) },
             { cc, 98, (uint8_t) (nrpn & 0x7F) },
             { cc, 6, (uint8_t) ((value >> 7) & 0x7F) },
             { cc, 38, (uint8_t) (value & 0x7F) } };
}

std::vector<Prophet12SimulatorCore::Message> Prophet12SimulatorCore::selectProgram (int bank, int program)
{
    if (! inBanks (bank, program))
        return {};
    currentBank = bankSelect = bank;
    currentProgram = program;
    editBuffer = programs[slotIndex (bank, program)];
    return { { (uint8_t) (0xB0 + channel - 1), 32, (uint8_t) bank },
             { (uint8_t) (0xC0 + channel - 1), (uint8_t) program } };
}

Prophet12SimulatorCore::Message Prophet12SimulatorCore::globalDump() const
{
    Message dump { kStart, ProgramDump::kManufacturerDsi, ProgramDump::kDeviceKeyboard, kGlobalData };
    for (auto g : globals)
        dump.push_back ((uint8_t) (g & 0x7F));
    dump.push_back (kEnd);
    return dump;
}

// ==== The simulator on its cables ==================================================================

Prophet12Simulator::Prophet12Simulator (const ProgramSource& initialProgram, bool log)
    : core (initialProgram), keepLog (log)
{
    brain = std::thread ([this] { brainLoop(); });
    wire = std::thread ([this] { wireLoop(); });
}

Prophet12Simulator::~Prophet12Simulator()
{
    {
        const std::lock_guard<std::mutex> guard (mutex);
        stopping = true;
    }
    workArrived.notify_all();
    brain.join();
    wire.join();
}

Prophet12Simulator& Prophet12Simulator::shared()
{
    // Made on first use, so a plug-in that never offers it the simulator starts no threads; gone at
    // process exit, after every plug-in instance has closed its ports.
    static Prophet12Simulator instance;
    return instance;
}

void Prophet12Simulator::setOptions (const Options& newOptions)
{
    const std::lock_guard<std::mutex> guard (mutex);
    options = newOptions;
    options.answerPieces = juce::jmax (1, options.answerPieces);
}

Prophet12Simulator::Options Prophet12Simulator::getOptions() const
{
    const std::lock_guard<std::mutex> guard (mutex);
    return options;
}

// ---- Cables ----------------------------------------------------------------------------------------

void Prophet12Simulator::receiveFromComputer (const uint8_t* data, size_t size)
{
    if (data == nullptr || size == 0)
        return;
    {
        const std::lock_guard<std::mutex> guard (mutex);
        inbox.emplace_back (data, data + size);
    }
    workArrived.notify_all();
}

void Prophet12Simulator::connectComputerInput (juce::MidiInputCallback* callback)
{
    if (callback == nullptr)
        return;
    const std::lock_guard<std::mutex> guard (deliveryMutex);
    computerInputs.push_back (callback);
}

void Prophet12Simulator::disconnectComputerInput (juce::MidiInputCallback* callback)
{
    const std::lock_guard<std::mutex> guard (deliveryMutex);
    const auto found = std::find (computerInputs.begin(), computerInputs.end(), callback);
    if (found != computerInputs.end())
        computerInputs.erase (found);
}

void Prophet12Simulator::sendToComputer (std::vector<uint8_t> message)
{
    if (options.garbageBetweenMessages)
    {
        outbox.push_back ({ 0xF8 });             // clock
        outbox.push_back ({ 0xFE });             // active sensing
        outbox.push_back ({ kEnd });             // a stray end of SysEx
        outbox.push_back ({ 0x12, 0x34, 0x56 }); // data bytes with no status
    }
    outbox.push_back (std::move (message));
    workArrived.notify_all();
}

void Prophet12Simulator::sendSysExAnswer (std::vector<uint8_t> bytes)
{
    bytes[2] = options.desktopModel ? ProgramDump::kDeviceDesktop : ProgramDump::kDeviceKeyboard;

    const size_t pieces = juce::jmin ((size_t) options.answerPieces, bytes.size());
    if (pieces <= 1)
    {
        sendToComputer (std::move (bytes));
        return;
    }

    // Pieces follow each other with nothing between them, as on the cable.
    const size_t step = (bytes.size() + pieces - 1) / pieces;
    for (size_t start = 0; start < bytes.size(); start += step)
    {
        std::vector<uint8_t> piece (bytes.begin() + (long) start,
                                    bytes.begin() + (long) juce::jmin (bytes.size(), start + step));
        if (start == 0)
            sendToComputer (std::move (piece));
        else
            outbox.push_back (std::move (piece));
    }
    workArrived.notify_all();
}

void Prophet12Simulator::sendChannelMessages (std::vector<std::vector<uint8_t>> messages)
{
    for (auto& m : messages)
        sendToComputer (std::move (m));
}

// ---- Threads ---------------------------------------------------------------------------------------

void Prophet12Simulator::brainLoop()
{
    std::vector<std::vector<uint8_t>> answers;
    std::unique_lock<std::mutex> guard (mutex);
    for (;;)
    {
        workArrived.wait (guard, [this] { return stopping || ! inbox.empty(); });
        if (stopping)
            return;

        auto bytes = std::move (inbox.front());
        inbox.pop_front();
        brainBusy = true;
        answers.clear();
        core.take (bytes.data(), bytes.size(), answers, keepLog ? &received : nullptr);
        if (! options.silent)
            for (auto& a : answers)
                sendSysExAnswer (std::move (a));
        brainBusy = false;
        stateChanged.notify_all();
    }
}

void Prophet12Simulator::wireLoop()
{
    using Clock = std::chrono::steady_clock;
    auto lineFreeAt = Clock::now();

    std::unique_lock<std::mutex> guard (mutex);
    for (;;)
    {
        workArrived.wait (guard, [this] { return stopping || ! outbox.empty(); });
        if (stopping)
            return;

        auto piece = std::move (outbox.front());
        outbox.pop_front();
        wireBusy = true;
        const bool paced = options.dinPacing;
        guard.unlock();

        if (paced)
        {
            // A byte takes 320 microseconds on a DIN cable; a piece is delivered once all of it is in.
            const auto now = Clock::now();
            if (lineFreeAt < now)
                lineFreeAt = now;
            lineFreeAt += std::chrono::microseconds ((long long) piece.size() * 1000000 / kDinBytesPerSecond);
            std::this_thread::sleep_until (lineFreeAt);
        }

        {
            // A callback may send to the instrument (a bank receive asks for the next program from
            // here); that only queues bytes, so no lock of the simulator but this one is held.
            const std::lock_guard<std::mutex> delivery (deliveryMutex);
            const juce::MidiMessage message (piece.data(), (int) piece.size());
            for (auto* input : computerInputs)
                input->handleIncomingMidiMessage (nullptr, message);
        }

        guard.lock();
        wireBusy = false;
        stateChanged.notify_all();
    }
}

bool Prophet12Simulator::waitUntilIdle (int timeoutMilliseconds)
{
    std::unique_lock<std::mutex> guard (mutex);
    return stateChanged.wait_for (guard, std::chrono::milliseconds (timeoutMilliseconds),
                                  [this] { return inbox.empty() && outbox.empty() && ! brainBusy && ! wireBusy; });
}

// ---- Memory ----------------------------------------------------------------------------------------

int Prophet12Simulator::getChannel() const
{
    const std::lock_guard<std::mutex> guard (mutex);
    return core.getChannel();
}

void Prophet12Simulator::setChannel (int newChannel)
{
    const std::lock_guard<std::mutex> guard (mutex);
    core.setChannel (newChannel);
}

Prophet12Simulator::Record Prophet12Simulator::getProgram (int bank, int program) const
{
    const std::lock_guard<std::mutex> guard (mutex);
    return core.getProgram (bank, program);
}

void Prophet12Simulator::setProgram (int bank, int program, const Record& record)
{
    const std::lock_guard<std::mutex> guard (mutex);
    core.setProgram (bank, program, record);
}

Prophet12Simulator::Record Prophet12Simulator::getEditBuffer() const
{
    const std::lock_guard<std::mutex> guard (mutex);
    return core.getEditBuffer();
}

int Prophet12Simulator::getGlobal (int index) const
{
    const std::lock_guard<std::mutex> guard (mutex);
    return core.getGlobal (index);
}

void Prophet12Simulator::setGlobal (int index, int value)
{
    const std::lock_guard<std::mutex> guard (mutex);
    core.setGlobal (index, value);
}

int Prophet12Simulator::getCurrentBank() const
{
    const std::lock_guard<std::mutex> guard (mutex);
    return core.getCurrentBank();
}

int Prophet12Simulator::getCurrentProgram() const
{
    const std::lock_guard<std::mutex> guard (mutex);
    return core.getCurrentProgram();
}

std::vector<std::vector<uint8_t>> Prophet12Simulator::getReceivedMessages() const
{
    const std::lock_guard<std::mutex> guard (mutex);
    return received;
}

void Prophet12Simulator::clearReceivedMessages()
{
    const std::lock_guard<std::mutex> guard (mutex);
    received.clear();
}

int Prophet12Simulator::countReceived (const std::vector<uint8_t>& prefix) const
{
    const std::lock_guard<std::mutex> guard (mutex);
    return (int) std::count_if (received.begin(), received.end(), [&] (const auto& m) {
        return m.size() >= prefix.size() && std::equal (prefix.begin(), prefix.end(), m.begin());
    });
}

// ---- Front panel -----------------------------------------------------------------------------------

void Prophet12Simulator::turnParameter (int position, int value)
{
    const std::lock_guard<std::mutex> guard (mutex);
    sendChannelMessages (core.turnParameter (position, value));
}

void Prophet12Simulator::selectProgram (int bank, int program)
{
    const std::lock_guard<std::mutex> guard (mutex);
    sendChannelMessages (core.selectProgram (bank, program));
}

void Prophet12Simulator::moveModWheel (int value)
{
    const std::lock_guard<std::mutex> guard (mutex);
    sendToComputer ({ (uint8_t) (0xB0 + core.getChannel() - 1), 1, (uint8_t) (value & 0x7F) });
}

void Prophet12Simulator::movePitchWheel (int value)
{
    const std::lock_guard<std::mutex> guard (mutex);
    sendToComputer (
        { (uint8_t) (0xE0 + core.getChannel() - 1), (uint8_t) (value & 0x7F), (uint8_t) ((value >> 7) & 0x7F) });
}

void Prophet12Simulator::playNote (int note, int velocity)
{
    const std::lock_guard<std::mutex> guard (mutex);
    sendToComputer ({ (uint8_t) (0x90 + core.getChannel() - 1), (uint8_t) (note & 0x7F), (uint8_t) (velocity & 0x7F) });
}

void Prophet12Simulator::releaseNote (int note)
{
    const std::lock_guard<std::mutex> guard (mutex);
    sendToComputer ({ (uint8_t) (0x80 + core.getChannel() - 1), (uint8_t) (note & 0x7F), 0 });
}

void Prophet12Simulator::sendGlobalDump()
{
    // Started on the panel, so it goes out even while the simulator ignores requests.
    const std::lock_guard<std::mutex> guard (mutex);
    sendSysExAnswer (core.globalDump());
}

void Prophet12Simulator::sendRaw (std::vector<uint8_t> bytes)
{
    if (bytes.empty())
        return;
    const std::lock_guard<std::mutex> guard (mutex);
    outbox.push_back (std::move (bytes));
    workArrived.notify_all();
}
