#include "standin/Prophet12StandIn.h"
#include "model/FactoryData.h"
#include "model/ParameterTable.h"

#include <chrono>

namespace
{
constexpr int kBanks = ProgramDump::kBanks, kSlots = ProgramDump::kProgramsPerBank;
constexpr uint8_t kStart = ProgramDump::kSysExStart, kEnd = ProgramDump::kSysExEnd;

// The instrument's own programs: every slot distinct, so a transfer that lands in the wrong place
// shows. Each starts from the default sound with a name that says where it lives.
Prophet12StandIn::Record standInProgram (int bank, int program)
{
    auto record = FactoryData::basicProgram();
    const int index = bank * kSlots + program;
    record[85] = (uint8_t) (index % 165);         // "LPF Freq"
    record[93] = (uint8_t) (index % 128);         // "Voice Volume"
    record[1023] = (uint8_t) (255 - index % 256); // the last byte of layer B, to catch a short unpack
    ProgramDump::writeName (record.data(), "Stand-in " + juce::String (bank + 1) + "-" +
                                               juce::String (program + 1).paddedLeft ('0', 2));
    return record;
}

int dataBytesOf (int status)
{
    switch (status & 0xF0)
    {
        case 0xC0:
        case 0xD0: return 1;
        default: return 2;
    }
}
} // namespace

Prophet12StandIn::Prophet12StandIn()
{
    programs.reserve ((size_t) (kBanks * kSlots));
    for (int b = 0; b < kBanks; ++b)
        for (int p = 0; p < kSlots; ++p)
            programs.push_back (standInProgram (b, p));
    editBuffer = programs.front();

    // Master tune centred, channel 1, NRPN send and receive, SysEx on, tuning 1.
    globals = { 12, 50, 1, 0, 0, 0, 1, 1, 1, 1, 3, 1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0 };

    brain = std::thread ([this] { brainLoop(); });
    wire = std::thread ([this] { wireLoop(); });
}

Prophet12StandIn::~Prophet12StandIn()
{
    {
        const std::lock_guard<std::mutex> guard (mutex);
        stopping = true;
    }
    workArrived.notify_all();
    brain.join();
    wire.join();
}

void Prophet12StandIn::setOptions (const Options& newOptions)
{
    const std::lock_guard<std::mutex> guard (mutex);
    options = newOptions;
    options.answerPieces = juce::jmax (1, options.answerPieces);
}

Prophet12StandIn::Options Prophet12StandIn::getOptions() const
{
    const std::lock_guard<std::mutex> guard (mutex);
    return options;
}

// ---- Cables ----------------------------------------------------------------------------------------

void Prophet12StandIn::receiveFromComputer (const uint8_t* data, size_t size)
{
    if (data == nullptr || size == 0)
        return;
    {
        const std::lock_guard<std::mutex> guard (mutex);
        inbox.emplace_back (data, data + size);
    }
    workArrived.notify_all();
}

void Prophet12StandIn::connectComputerInput (juce::MidiInputCallback* callback)
{
    const std::lock_guard<std::mutex> guard (deliveryMutex);
    computerInput = callback;
}

void Prophet12StandIn::sendToComputer (std::vector<uint8_t> message)
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

void Prophet12StandIn::sendSysExAnswer (const juce::MemoryBlock& dump)
{
    std::vector<uint8_t> bytes (static_cast<const uint8_t*> (dump.getData()),
                                static_cast<const uint8_t*> (dump.getData()) + dump.getSize());
    bytes[2] = deviceByte();

    const size_t pieces = juce::jmin ((size_t) options.answerPieces, bytes.size());
    if (pieces <= 1)
    {
        sendToComputer (std::move (bytes));
        return;
    }

    // Pieces follow each other with nothing between them, as on the cable.
    const bool garbage = options.garbageBetweenMessages;
    const size_t step = (bytes.size() + pieces - 1) / pieces;
    for (size_t start = 0; start < bytes.size(); start += step)
    {
        std::vector<uint8_t> piece (bytes.begin() + (long) start,
                                    bytes.begin() + (long) juce::jmin (bytes.size(), start + step));
        if (start == 0 && garbage)
            sendToComputer (std::move (piece));
        else
            outbox.push_back (std::move (piece));
    }
    workArrived.notify_all();
}

uint8_t Prophet12StandIn::deviceByte() const
{
    return options.desktopModel ? ProgramDump::kDeviceDesktop : ProgramDump::kDeviceKeyboard;
}

// ---- Threads ---------------------------------------------------------------------------------------

void Prophet12StandIn::brainLoop()
{
    std::unique_lock<std::mutex> guard (mutex);
    for (;;)
    {
        workArrived.wait (guard, [this] { return stopping || ! inbox.empty(); });
        if (stopping)
            return;

        auto bytes = std::move (inbox.front());
        inbox.pop_front();
        brainBusy = true;
        for (auto b : bytes)
            takeByte (b);
        brainBusy = false;
        stateChanged.notify_all();
    }
}

void Prophet12StandIn::wireLoop()
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
            const std::lock_guard<std::mutex> delivery (deliveryMutex);
            if (computerInput != nullptr)
                computerInput->handleIncomingMidiMessage (nullptr,
                                                          juce::MidiMessage (piece.data(), (int) piece.size()));
        }

        guard.lock();
        wireBusy = false;
        stateChanged.notify_all();
    }
}

bool Prophet12StandIn::waitUntilIdle (int timeoutMilliseconds)
{
    std::unique_lock<std::mutex> guard (mutex);
    return stateChanged.wait_for (guard, std::chrono::milliseconds (timeoutMilliseconds),
                                  [this] { return inbox.empty() && outbox.empty() && ! brainBusy && ! wireBusy; });
}

// ---- Incoming byte stream (brain thread, `mutex` held) ---------------------------------------------

void Prophet12StandIn::takeByte (uint8_t byte)
{
    if (byte >= 0xF8)
        return; // real-time bytes may come anywhere and mean nothing here

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
            auto message = std::move (partial);
            partial.clear();
            runningStatus = 0;
            handleMessage (message);
        }
        else if (byte < 0x80)
        {
            partial.push_back (byte);
        }
        else
        {
            partial.clear(); // a SysEx broken off by a new status is lost
            runningStatus = 0;
            takeByte (byte);
        }
        return;
    }

    if (byte >= 0x80)
    {
        runningStatus = byte < 0xF0 ? byte : 0;
        partial.assign (1, byte);
        return;
    }

    if (runningStatus == 0)
        return;

    if (partial.empty())
        partial.push_back ((uint8_t) runningStatus);
    partial.push_back (byte);
    if ((int) partial.size() == 1 + dataBytesOf (runningStatus))
    {
        auto message = std::move (partial);
        partial.clear();
        handleMessage (message);
    }
}

void Prophet12StandIn::handleMessage (const std::vector<uint8_t>& message)
{
    received.push_back (message);

    const int status = message[0];
    if (status == kStart)
    {
        handleSysEx (message);
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
            if (currentBank < kBanks && currentProgram < kSlots)
                editBuffer = programs[(size_t) (currentBank * kSlots + currentProgram)];
            break;
        default: break; // it plays; nothing to remember
    }
}

void Prophet12StandIn::handleController (int number, int value)
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
                if (position >= 0)
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

void Prophet12StandIn::handleSysEx (const std::vector<uint8_t>& m)
{
    if (m.size() < 5 || m[1] != ProgramDump::kManufacturerDsi || m[2] != ProgramDump::kDeviceKeyboard)
        return;

    switch (m[3])
    {
        case 0x05: // program dump request: F0 01 2A 05 bank program F7
            if (! options.silent && m.size() >= 7 && m[4] < kBanks && m[5] < kSlots)
                sendSysExAnswer (ProgramDump::programDump (programs[(size_t) (m[4] * kSlots + m[5])], m[4], m[5]));
            break;
        case 0x06: // edit-buffer request
            if (! options.silent)
                sendSysExAnswer (ProgramDump::editBufferDump (editBuffer));
            break;
        case 0x0E: // global parameter request
            if (! options.silent)
            {
                juce::MemoryBlock dump;
                const uint8_t header[] = { kStart, ProgramDump::kManufacturerDsi, ProgramDump::kDeviceKeyboard, 0x0F };
                dump.append (header, sizeof (header));
                for (auto g : globals)
                {
                    const auto byte = (uint8_t) g;
                    dump.append (&byte, 1);
                }
                dump.append (&kEnd, 1);
                sendSysExAnswer (dump);
            }
            break;
        case ProgramDump::kProgramData:
            if (m.size() >= (size_t) ProgramDump::kProgramDumpBytes && m[4] < kBanks && m[5] < kSlots)
                programs[(size_t) (m[4] * kSlots + m[5])] =
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

// ---- Memory ----------------------------------------------------------------------------------------

int Prophet12StandIn::getChannel() const
{
    const std::lock_guard<std::mutex> guard (mutex);
    return channel;
}

void Prophet12StandIn::setChannel (int newChannel)
{
    const std::lock_guard<std::mutex> guard (mutex);
    channel = juce::jlimit (1, 16, newChannel);
}

Prophet12StandIn::Record Prophet12StandIn::getProgram (int bank, int program) const
{
    const std::lock_guard<std::mutex> guard (mutex);
    if (bank < 0 || bank >= kBanks || program < 0 || program >= kSlots)
        return {};
    return programs[(size_t) (bank * kSlots + program)];
}

void Prophet12StandIn::setProgram (int bank, int program, const Record& record)
{
    const std::lock_guard<std::mutex> guard (mutex);
    if (bank >= 0 && bank < kBanks && program >= 0 && program < kSlots)
        programs[(size_t) (bank * kSlots + program)] = record;
}

Prophet12StandIn::Record Prophet12StandIn::getEditBuffer() const
{
    const std::lock_guard<std::mutex> guard (mutex);
    return editBuffer;
}

int Prophet12StandIn::getGlobal (int index) const
{
    const std::lock_guard<std::mutex> guard (mutex);
    return juce::isPositiveAndBelow (index, kGlobals) ? globals[(size_t) index] : 0;
}

void Prophet12StandIn::setGlobal (int index, int value)
{
    const std::lock_guard<std::mutex> guard (mutex);
    if (juce::isPositiveAndBelow (index, kGlobals))
        globals[(size_t) index] = value;
}

int Prophet12StandIn::getCurrentBank() const
{
    const std::lock_guard<std::mutex> guard (mutex);
    return currentBank;
}

int Prophet12StandIn::getCurrentProgram() const
{
    const std::lock_guard<std::mutex> guard (mutex);
    return currentProgram;
}

std::vector<std::vector<uint8_t>> Prophet12StandIn::getReceivedMessages() const
{
    const std::lock_guard<std::mutex> guard (mutex);
    return received;
}

void Prophet12StandIn::clearReceivedMessages()
{
    const std::lock_guard<std::mutex> guard (mutex);
    received.clear();
}

int Prophet12StandIn::countReceived (const std::vector<uint8_t>& prefix) const
{
    const std::lock_guard<std::mutex> guard (mutex);
    int count = 0;
    for (const auto& m : received)
        if (m.size() >= prefix.size() && std::equal (prefix.begin(), prefix.end(), m.begin()))
            ++count;
    return count;
}

// ---- Front panel -----------------------------------------------------------------------------------

void Prophet12StandIn::turnParameter (int position, int value)
{
    const std::lock_guard<std::mutex> guard (mutex);
    const int nrpn = ParameterTable::get().nrpnOf (position);
    if (nrpn < 0 || position < 0 || position >= ParameterTable::kProgramPositions)
        return;

    editBuffer[(size_t) position] = (uint8_t) value;
    const auto cc = (uint8_t) (0xB0 + channel - 1);
    sendToComputer ({ cc, 99, (uint8_t) (nrpn >> 7) });
    sendToComputer ({ cc, 98, (uint8_t) (nrpn & 0x7F) });
    sendToComputer ({ cc, 6, (uint8_t) ((value >> 7) & 0x7F) });
    sendToComputer ({ cc, 38, (uint8_t) (value & 0x7F) });
}

void Prophet12StandIn::selectProgram (int bank, int program)
{
    const std::lock_guard<std::mutex> guard (mutex);
    if (bank < 0 || bank >= kBanks || program < 0 || program >= kSlots)
        return;
    currentBank = bankSelect = bank;
    currentProgram = program;
    editBuffer = programs[(size_t) (bank * kSlots + program)];
    sendToComputer ({ (uint8_t) (0xB0 + channel - 1), 32, (uint8_t) bank });
    sendToComputer ({ (uint8_t) (0xC0 + channel - 1), (uint8_t) program });
}

void Prophet12StandIn::moveModWheel (int value)
{
    const std::lock_guard<std::mutex> guard (mutex);
    sendToComputer ({ (uint8_t) (0xB0 + channel - 1), 1, (uint8_t) (value & 0x7F) });
}

void Prophet12StandIn::movePitchWheel (int value)
{
    const std::lock_guard<std::mutex> guard (mutex);
    sendToComputer ({ (uint8_t) (0xE0 + channel - 1), (uint8_t) (value & 0x7F), (uint8_t) ((value >> 7) & 0x7F) });
}

void Prophet12StandIn::playNote (int note, int velocity)
{
    const std::lock_guard<std::mutex> guard (mutex);
    sendToComputer ({ (uint8_t) (0x90 + channel - 1), (uint8_t) (note & 0x7F), (uint8_t) (velocity & 0x7F) });
}

void Prophet12StandIn::releaseNote (int note)
{
    const std::lock_guard<std::mutex> guard (mutex);
    sendToComputer ({ (uint8_t) (0x80 + channel - 1), (uint8_t) (note & 0x7F), 0 });
}

void Prophet12StandIn::sendGlobalDump()
{
    std::vector<uint8_t> request { kStart, ProgramDump::kManufacturerDsi, ProgramDump::kDeviceKeyboard, 0x0E, kEnd };
    const std::lock_guard<std::mutex> guard (mutex);
    const bool wasSilent = options.silent;
    options.silent = false;
    handleSysEx (request);
    options.silent = wasSilent;
}

void Prophet12StandIn::sendRaw (std::vector<uint8_t> bytes)
{
    if (bytes.empty())
        return;
    const std::lock_guard<std::mutex> guard (mutex);
    outbox.push_back (std::move (bytes));
    workArrived.notify_all();
}
