#include "TestRig.h"
#include "midi/Transfers.h"

namespace
{
using Bytes = std::vector<uint8_t>;

// The program dump requests the instrument received, as (bank, program).
std::vector<std::pair<int, int>> requests (const Prophet12StandIn& standIn)
{
    std::vector<std::pair<int, int>> found;
    for (const auto& m : standIn.getReceivedMessages())
        if (m.size() == 7 && m[0] == 0xF0 && m[3] == 0x05)
            found.emplace_back (m[4], m[5]);
    return found;
}

std::vector<int32_t> progress (std::vector<int32_t> codes)
{
    codes.erase (std::remove_if (codes.begin(), codes.end(), [] (int32_t c) { return Notification::kind (c) != 0x17; }),
                 codes.end());
    return codes;
}

void expectBanksEqual (MidiCntrState& c, const Prophet12StandIn& standIn, int firstBank, int lastBank)
{
    for (int b = firstBank; b <= lastBank; ++b)
        for (int p = 0; p < 99; ++p)
            ASSERT_EQ (c.getSlot (b, p), standIn.getProgram (b, p)) << b << ":" << p;
}

void silence (Rig& rig)
{
    Prophet12StandIn::Options silent;
    silent.silent = true;
    rig.standIn.setOptions (silent);
}

// The instrument's answer played by hand: the dump of its own slot, sent unasked.
void answer (Rig& rig, int bank, int program)
{
    const auto dump = ProgramDump::programDump (rig.standIn.getProgram (bank, program), bank, program);
    rig.standIn.sendRaw ({ static_cast<const uint8_t*> (dump.getData()),
                           static_cast<const uint8_t*> (dump.getData()) + dump.getSize() });
    rig.settle();
}

TEST (Transfers, ReceiveAllUserBanks)
{
    for (int pieces : { 1, 5 })
    {
        SCOPED_TRACE (pieces);
        Rig rig;
        auto& c = *rig.controller;
        Prophet12StandIn::Options options;
        options.answerPieces = pieces;
        rig.standIn.setOptions (options);
        c.takeNotifications();

        ChainedTransfer chain (c);
        const auto start = Transfers::chainForMenuId (200);
        ASSERT_TRUE (start.has_value());
        chain.start (start->mode, start->firstBank);
        rig.settle();

        std::vector<std::pair<int, int>> expected;
        std::vector<int32_t> expectedProgress;
        for (int b = 0; b < 4; ++b)
            for (int p = 0; p < 99; ++p)
            {
                expected.emplace_back (b, p);
                expectedProgress.push_back ((0x17 << 24) + (b << 8) + p);
            }
        EXPECT_EQ (requests (rig.standIn), expected);

        const auto codes = c.takeNotifications();
        EXPECT_EQ (progress (codes), expectedProgress);
        ASSERT_GE (codes.size(), 2u);
        EXPECT_EQ (codes[codes.size() - 2], Notification::kBankChanged);
        EXPECT_EQ (codes.back(), Notification::kBankReceiveFinished);
        EXPECT_FALSE (c.isChained());
        EXPECT_FALSE (c.isReceivingIntoBanks());

        expectBanksEqual (c, rig.standIn, 0, 3);
    }
}

TEST (Transfers, ReceiveOneFactoryBankFollowsStrayDumps)
{
    Rig rig;
    auto& c = *rig.controller;
    ChainedTransfer chain (c);

    silence (rig); // the test plays the instrument's answers by hand
    chain.start (Transfers::kReceiveBank, 5);
    rig.settle();
    EXPECT_EQ (requests (rig.standIn), (std::vector<std::pair<int, int>> { { 5, 0 } }));

    answer (rig, 5, 0);
    answer (rig, 2, 40); // a dump for another slot: stored there, and the chain goes on from it
    EXPECT_EQ (c.getSlot (2, 40), rig.standIn.getProgram (2, 40));
    EXPECT_EQ (requests (rig.standIn).back(), (std::pair<int, int> { 2, 41 }));

    for (int p = 41; p < 99; ++p)
        answer (rig, 2, p);
    EXPECT_FALSE (c.isChained()); // one bank: ends after program 98 of whatever bank it reached
    EXPECT_EQ (c.getSlot (5, 0), rig.standIn.getProgram (5, 0));
    EXPECT_EQ (c.getSlot (2, 98), rig.standIn.getProgram (2, 98));
}

TEST (Transfers, CancelKeepsWhatArrived)
{
    Rig rig;
    auto& c = *rig.controller;
    ChainedTransfer chain (c);
    silence (rig);

    const auto before = c.getSlot (7, 1);
    chain.start (Transfers::kReceiveFactoryBanks, 4);
    answer (rig, 4, 0);
    answer (rig, 4, 1);
    chain.finish(); // "CANCEL"
    c.takeNotifications();

    EXPECT_EQ (c.getSlot (4, 0), rig.standIn.getProgram (4, 0));
    EXPECT_EQ (c.getSlot (4, 1), rig.standIn.getProgram (4, 1));

    // A dump that still comes is a single program: its slot and the current program, nothing asked.
    const auto requestsBefore = requests (rig.standIn).size();
    answer (rig, 7, 1);
    EXPECT_NE (c.getSlot (7, 1), before);
    EXPECT_EQ (c.getSlot (7, 1), rig.standIn.getProgram (7, 1));
    EXPECT_EQ (c.getCurrentProgram(), rig.standIn.getProgram (7, 1));
    EXPECT_EQ (c.getCurrentBank(), 7);
    EXPECT_EQ (requests (rig.standIn).size(), requestsBefore);
    EXPECT_EQ (c.takeNotifications(),
               (std::vector<int32_t> { Notification::kBankChanged, Notification::kProgramReplaced }));
}

TEST (Transfers, TransmitOneBankToAnother)
{
    Rig rig;
    auto& c = *rig.controller;
    c.setProgramIndex (99 + 3); // bank 1 is current

    const auto menu = Transfers::transferMenu (c);
    ASSERT_EQ (menu.size(), 7u);
    EXPECT_EQ (menu[4].text, "Transmit Program User Bank 2 to:");
    EXPECT_EQ (menu[4].subItems[4].text, "Factory Bank 1");
    const auto start = Transfers::chainForMenuId (menu[4].subItems[4].id);
    ASSERT_TRUE (start.has_value());
    EXPECT_EQ (start->mode, 100);
    EXPECT_EQ (start->firstBank, 4);

    ChainedTransfer chain (c);
    chain.start (start->mode, start->firstBank);
    EXPECT_TRUE (c.isChained());
    int ticks = 0;
    ChainedTransfer::Step step;
    std::vector<juce::String> labels;
    while (! (step = chain.tick()).finished && ticks < 200)
    {
        labels.push_back (step.label);
        ++ticks;
    }
    labels.push_back (step.label);
    EXPECT_EQ (ticks, 98); // the 99th dump ends the chain
    EXPECT_EQ (labels.front(), "F1:1");
    EXPECT_EQ (labels.back(), "F1:99");
    EXPECT_FALSE (chain.isTransmitting());
    EXPECT_FALSE (c.isChained());

    rig.settle();
    for (int p = 0; p < 99; ++p)
        ASSERT_EQ (rig.standIn.getProgram (4, p), c.getSlot (1, p)) << p;
}

TEST (Transfers, TransmitAllFactoryBanks)
{
    Rig rig;
    auto& c = *rig.controller;
    rig.devices->clearOutputCalls();
    ChainedTransfer chain (c);
    chain.start (Transfers::kTransmitFactoryBanks, 4);

    std::vector<std::pair<int, int>> order;
    for (int n = 0; n < 1000; ++n)
    {
        const auto step = chain.tick();
        if (step.sent)
            order.emplace_back (step.bank, step.program);
        if (step.finished)
            break;
    }
    ASSERT_EQ (order.size(), 4u * 99u);
    for (size_t i = 0; i < order.size(); ++i)
        ASSERT_EQ (order[i], (std::pair<int, int> { 4 + (int) i / 99, (int) i % 99 }));

    rig.settle();
    expectBanksEqual (c, rig.standIn, 4, 7);
}

TEST (Transfers, TransmitWithTheOutputClosedSendsNothing)
{
    Rig rig;
    auto& c = *rig.controller;
    c.selectOutput (0);
    ChainedTransfer chain (c);
    chain.start (Transfers::kTransmitUserBanks, 0);

    int ticks = 0;
    while (! chain.tick().finished)
        ASSERT_LT (++ticks, 1000);
    EXPECT_EQ (ticks, 99); // 99 ticks advance the count, the next one ends it, whatever the mode
    rig.settle();
    EXPECT_TRUE (rig.standIn.getReceivedMessages().empty());
}

TEST (Transfers, MenuIdsAndLabels)
{
    EXPECT_EQ (Transfers::progressLabel (1, 4), "U2:5");
    EXPECT_EQ (Transfers::progressLabel (4, 98), "F1:99");
    EXPECT_EQ (Transfers::progressLabel (7, 0), "F4:1");

    struct Case
    {
        int id, mode, bank;
    };
    for (const auto& k : { Case { 1, 0, 0 }, Case { 8, 0, 7 }, Case { 200, 777, 0 }, Case { 250, 778, 4 },
                           Case { 100, 100, 0 }, Case { 107, 100, 7 }, Case { 300, 888, 0 }, Case { 350, 887, 4 } })
    {
        const auto start = Transfers::chainForMenuId (k.id);
        ASSERT_TRUE (start.has_value()) << k.id;
        EXPECT_EQ (start->mode, k.mode);
        EXPECT_EQ (start->firstBank, k.bank);
    }
    for (int id : { 0, 9, 99, 108, 201, 400 })
        EXPECT_FALSE (Transfers::chainForMenuId (id).has_value()) << id;

    Rig rig (false);
    const auto menu = Transfers::transferMenu (*rig.controller);
    EXPECT_EQ (menu[0].text, "Receive Program Bank ");
    EXPECT_EQ (menu[0].subItems.size(), 8u);
    EXPECT_EQ (menu[0].subItems[0].text, "User Bank 1");
    EXPECT_EQ (menu[1].text, "Receive All User Banks");
    EXPECT_EQ (menu[2].id, 250);
    EXPECT_TRUE (menu[3].isSeparator);
    EXPECT_EQ (menu[5].text, "Transmit All User Banks");
    EXPECT_EQ (menu[6].text, "Transmit All Factory Banks");
}

TEST (Transfers, EditBufferAndWriting)
{
    Rig rig;
    auto& c = *rig.controller;

    Transfers::fetchEditBuffer (c);
    rig.settle();
    EXPECT_EQ (c.getCurrentProgram(), rig.standIn.getEditBuffer());

    c.storeValue (85, 99);
    Transfers::sendCurrentProgram (c);
    rig.settle();
    EXPECT_EQ (rig.standIn.getEditBuffer()[85], 99);

    c.takeNotifications();
    ASSERT_TRUE (Transfers::writeCurrentProgram (c, 2, 17, "Written Program", 24));
    EXPECT_EQ (c.getCurrentBank(), 2);
    EXPECT_EQ (c.getCurrentProgramNumber(), 17);
    EXPECT_EQ (c.getSlotName (2, 17), "Written Program");
    EXPECT_EQ (c.getSlot (2, 17)[426], 24);
    EXPECT_EQ (c.takeNotifications(), (std::vector<int32_t> { Notification::kBankChanged }));
    rig.settle();
    EXPECT_EQ (rig.standIn.getProgram (2, 17), c.getSlot (2, 17));
    EXPECT_FALSE (Transfers::writeCurrentProgram (c, 8, 0, "Nowhere", 1));

    Transfers::selectStoredProgram (c, 3, 50);
    EXPECT_EQ (c.getCurrentProgram(), c.getSlot (3, 50));
    rig.settle();
    EXPECT_EQ (rig.standIn.getCurrentBank(), 3);
    EXPECT_EQ (rig.standIn.getCurrentProgram(), 50);
}
// Down a DIN cable the chain goes at the cable's pace: a tick sends only when the last dump is as
// good as through, so at most one waits in the port, the overlay's progress is the cable's, and
// "CANCEL" stops the chain at once: nothing more is handed over.
TEST (Transfers, ADinTransmitGoesAtTheCablesPaceAndCancelsAtOnce)
{
    DinRig rig;
    auto& c = *rig.controller;
    auto& ports = c.getPorts();
    ASSERT_TRUE (ports.isPaced());
    const int64_t dumpTime = (int64_t) ProgramDump::kProgramDumpBytes * 1000000 / OutputLink::kDinBytesPerSecond;

    ChainedTransfer chain (c);
    chain.start (Transfers::kTransmitUserBanks, 0);
    int sent = 0, waited = 0;
    std::vector<int> programs;
    for (int n = 0; n < 30; ++n)
    {
        rig.clock->advance (Transfers::kTickMilliseconds * 1000);
        const auto step = chain.tick();
        EXPECT_FALSE (step.finished);
        if (step.sent)
        {
            ++sent;
            programs.push_back (step.program);
            EXPECT_LE (ports.getBacklogMicroseconds(), Transfers::kTickMilliseconds * 1000 + dumpTime + 1);
        }
        waited += step.waiting ? 1 : 0;
    }
    // Three seconds of cable: eight dumps (377 ms each), in order, and the ticks between them wait.
    EXPECT_GE (sent, 7);
    EXPECT_LE (sent, 9);
    EXPECT_EQ (sent + waited, 30);
    for (size_t i = 0; i < programs.size(); ++i)
        EXPECT_EQ (programs[i], (int) i);

    chain.finish(); // "CANCEL"
    EXPECT_FALSE (c.isChained());
    EXPECT_TRUE (chain.tick().finished);
    rig.drain();
    int dumps = 0;
    for (const auto& m : rig.standIn.getReceivedMessages())
        dumps += m.size() == (size_t) ProgramDump::kProgramDumpBytes ? 1 : 0;
    EXPECT_EQ (dumps, sent);
    EXPECT_EQ (rig.devices->getDroppedEvents(), 0);
}

// Requests and single dumps that follow one another wait for the cable in order; none is lost.
TEST (Transfers, DumpsAndRequestsInARowWaitForTheCable)
{
    DinRig rig;
    auto& c = *rig.controller;
    silence (rig); // only what arrives counts here
    for (int p = 0; p < 10; ++p)
    {
        c.sendSysEx (ProgramDump::programDump (c.getSlot (0, p), 2, p));
        c.sendRequest (5, 2, p);
    }
    const auto current = c.getCurrentProgram();
    Transfers::sendCurrentProgram (c);
    rig.drain();
    EXPECT_EQ (rig.devices->getDroppedEvents(), 0);
    for (int p = 0; p < 10; ++p)
        EXPECT_EQ (rig.standIn.getProgram (2, p), c.getSlot (0, p)) << p;
    EXPECT_EQ (requests (rig.standIn).size(), 10u);
    EXPECT_EQ (rig.standIn.getEditBuffer(), current);
}
} // namespace
