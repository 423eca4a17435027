#include "midi/Transfers.h"

namespace
{
constexpr int kLastProgram = ProgramDump::kProgramsPerBank - 1;
constexpr int kLastUserBank = 3, kLastFactoryBank = 7;

bool isSlot (int bank, int program)
{
    return bank >= 0 && bank < ProgramDump::kBanks && program >= 0 && program <= kLastProgram;
}
} // namespace

namespace Transfers
{
void fetchEditBuffer (MidiCntrState& controller) { controller.sendRequest (6, 0, 0); }

void sendCurrentProgram (MidiCntrState& controller)
{
    controller.sendSysEx (ProgramDump::editBufferDump (controller.getCurrentProgram()));
    controller.postNotification (Notification::kProgramReplaced);
}

bool writeCurrentProgram (MidiCntrState& controller, int bank, int program, const juce::String& name, int category)
{
    if (! isSlot (bank, program))
        return false;

    controller.setProgramIndex (bank * ProgramDump::kProgramsPerBank + program);

    auto record = controller.withBank (MidiCntrState::kProgramBank, [&] (Bank_Program& programBank) {
        auto& current = programBank.editBufferData();
        current[ProgramDump::kCategoryOffset] = (uint8_t) category;
        ProgramDump::writeName (current.data(), name);
        return current;
    });

    controller.putSlot (bank, program, record);
    controller.postNotification (Notification::kBankChanged);
    controller.sendSysEx (ProgramDump::programDump (record, bank, program));
    return true;
}

void selectStoredProgram (MidiCntrState& controller, int bank, int program)
{
    if (! isSlot (bank, program))
        return;
    controller.selectProgram (bank * ProgramDump::kProgramsPerBank + program, true, true);
}

juce::String progressLabel (int bank, int program)
{
    if (bank >= 0 && bank <= kLastUserBank)
        return "U" + juce::String (bank + 1) + ":" + juce::String (program + 1);
    if (bank > kLastUserBank && bank <= kLastFactoryBank)
        return "F" + juce::String (bank - kLastUserBank) + ":" + juce::String (program + 1);
    return {};
}

std::vector<MenuItem> transferMenu (const MidiCntrState& controller)
{
    MenuItem receive { 0, "Receive Program Bank ", {} };
    MenuItem transmit { 0, "Transmit Program " + controller.getBankName (controller.getCurrentBank()) + " to:", {} };
    for (int b = 0; b < ProgramDump::kBanks; ++b)
    {
        receive.subItems.push_back ({ 1 + b, controller.getBankName (b), {} });
        transmit.subItems.push_back ({ 100 + b, controller.getBankName (b), {} });
    }

    MenuItem separator;
    separator.isSeparator = true;

    return { receive,  { 200, "Receive All User Banks", {} },  { 250, "Receive All Factory Banks", {} }, separator,
             transmit, { 300, "Transmit All User Banks", {} }, { 350, "Transmit All Factory Banks", {} } };
}

std::optional<ChainStart> chainForMenuId (int id)
{
    if (id >= 1 && id <= 8)
        return ChainStart { kReceiveBank, id - 1 };
    if (id >= 100 && id <= 107)
        return ChainStart { kTransmitBank, id - 100 };
    switch (id)
    {
        case 200: return ChainStart { kReceiveUserBanks, 0 };
        case 250: return ChainStart { kReceiveFactoryBanks, 4 };
        case 300: return ChainStart { kTransmitUserBanks, 0 };
        case 350: return ChainStart { kTransmitFactoryBanks, 4 };
        default: return std::nullopt;
    }
}
} // namespace Transfers

void ChainedTransfer::start (int newMode, int firstBank)
{
    finish();
    controller.startChainedTransfer (newMode, firstBank);

    const bool transmit = newMode == Transfers::kTransmitBank || newMode == Transfers::kTransmitUserBanks ||
                          newMode == Transfers::kTransmitFactoryBanks;
    if (! transmit || ! controller.isChained())
        return;

    nextBank = firstBank;
    nextProgram = 0;
    // "Transmit Program <bank> to:" sends the bank that is current when the chain starts.
    sourceBank = controller.getCurrentBank();
    transmitting = true;
}

void ChainedTransfer::finish()
{
    controller.finishChainedTransfer();
    transmitting = false;
    draining = false;
}

ChainedTransfer::Step ChainedTransfer::tick()
{
    Step step;
    if (! transmitting)
    {
        step.finished = true;
        return step;
    }

    auto& ports = controller.getPorts();
    // The last dump was handed over: the chain ends when the cable has carried it.
    if (draining)
    {
        if (ports.isOutputOpen() && ports.getBacklogMicroseconds() > 0)
        {
            step.waiting = true;
            return step;
        }
        finish();
        step.finished = true;
        return step;
    }

    const int p = nextProgram, b = nextBank;
    if (p > kLastProgram)
    {
        finish();
        step.finished = true;
        return step;
    }

    const int mode = controller.getTransferMode();
    const int source = mode == Transfers::kTransmitBank ? sourceBank : b;
    // On a DIN cable a dump takes 377 ms: the next goes to the port only once the cable will be
    // through with the last before the next tick, so the port always holds the next one ready and
    // the cable never idles, yet never more than one waits (the progress is the cable's, and
    // "CANCEL" stops what has not gone).
    if (ports.isOutputOpen() && ports.getBacklogMicroseconds() > Transfers::kTickMilliseconds * 1000)
    {
        step.waiting = true;
        return step;
    }
    if (ports.isOutputOpen() && isSlot (source, p))
    {
        controller.sendSysEx (ProgramDump::programDump (controller.getSlot (source, p), b, p));
        step.sent = true;
        step.bank = b;
        step.program = p;
        step.label = Transfers::progressLabel (b, p);

        if (p == kLastProgram)
        {
            const bool last = mode == Transfers::kTransmitBank ||
                              (mode == Transfers::kTransmitUserBanks && b >= kLastUserBank) ||
                              (mode == Transfers::kTransmitFactoryBanks && b >= kLastFactoryBank);
            if (last)
            {
                // A fast link has taken it already; a DIN cable still carries the last dumps.
                if (ports.getBacklogMicroseconds() > 0)
                {
                    draining = true;
                    return step;
                }
                finish();
                step.finished = true;
                return step;
            }
            nextBank = b + 1;
            nextProgram = 0;
            return step;
        }
    }

    nextProgram = p + 1;
    return step;
}
