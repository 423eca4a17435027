#include "TestRig.h"
#include "model/GlobalSettings.h"

namespace
{
using Bytes = std::vector<uint8_t>;
using Block = std::vector<Bytes>;

TEST (GlobalSettings, LabelsRangesAndTexts)
{
    struct Case
    {
        int index, value;
        const char* text;
    };
    // clang-format off
    const Case cases[] = {
        { 0, 5, "-7" },      { 0, 24, "12" },        { 1, 50, "0" },           { 1, 0, "-50" },
        { 2, 0, "ALL CHANNELS" }, { 2, 1, "CHANNEL 1" }, { 2, 16, "CHANNEL 16" }, { 2, 17, "" },
        { 3, 1, "Intr with send" }, { 4, 1, "USB" }, { 4, 2, "2" },            { 5, 2, "OFF" },
        { 6, 1, "NRPN only" }, { 7, 1, "1" },         { 9, 1, "MIDI Port" },    { 10, 3, "MIDI/USB" },
        { 12, 1, "Mono" },   { 13, 1, "Pass Thru" }, { 14, 1, "Normally Closed" }, { 15, 1, "Arp Hold On/Off" },
        { 16, 2, "Expression CC#11" }, { 16, 6, "6" }, { 17, 3, "3" },          { 19, 3, "Curve 4" },
        { 20, 0, "Curve 1" }, { 21, 1, "1" },
        { 25, 0, "1. 12-Tone Equal Temp" }, { 25, 16, "17. Arabic 12-Tone" }, { 25, 17, "" }, { 25, 19, "" },
        { 26, 4, "4" },      { -1, 3, "3" },
    };
    // clang-format on
    for (const auto& k : cases)
        EXPECT_EQ (GlobalSettings::valueText (k.index, k.value), k.text) << k.index << " / " << k.value;

    // The three tunings named by their authors begin with their numbers like the rest.
    EXPECT_TRUE (GlobalSettings::valueText (25, 2).startsWith ("3. "));
    EXPECT_TRUE (GlobalSettings::valueText (25, 12).startsWith ("13. "));
    EXPECT_TRUE (GlobalSettings::valueText (25, 15).startsWith ("16. "));
    for (int v = 0; v <= 16; ++v)
        EXPECT_TRUE (GlobalSettings::valueText (25, v).startsWith (juce::String (v + 1) + ". ")) << v;

    EXPECT_EQ (GlobalSettings::label (2), "MIDI Channel:");
    EXPECT_EQ (GlobalSettings::label (25), "Alt. Tuning Scale:");
    EXPECT_EQ (GlobalSettings::label (21), "");
    EXPECT_EQ (GlobalSettings::label (26), "");
    EXPECT_EQ (GlobalSettings::maximum (1), 100);
    EXPECT_EQ (GlobalSettings::maximum (16), 5);
    EXPECT_EQ (GlobalSettings::maximum (40), 0);
}

TEST (GlobalSettings, DumpFillsTheBlock)
{
    Rig rig;
    auto& c = *rig.controller;
    rig.standIn.sendRaw ({ 0xF0, 0x01, 0x2A, 0x0F, 0x08, 0x09, 0x0A, 0x0B, 0xF7 });
    rig.settle();
    rig.standIn.sendRaw ({ 0xF0, 0x01, 0x2A, 0x0F, 0x05, 0x32, 0x01, 0xF7 });
    rig.settle();

    EXPECT_EQ (c.getGlobalValue (0), 5);
    EXPECT_EQ (GlobalSettings::valueText (0, c.getGlobalValue (0)), "-7");
    EXPECT_EQ (GlobalSettings::valueText (1, c.getGlobalValue (1)), "0");
    EXPECT_EQ (GlobalSettings::valueText (2, c.getGlobalValue (2)), "CHANNEL 1");
    EXPECT_EQ (c.getGlobalValue (3), 0x0B); // a shorter dump leaves the rest as it was
    EXPECT_TRUE (c.hasInstrumentAnswered());

    // A byte above 127 reads back as a signed byte.
    rig.standIn.sendRaw ({ 0xF0, 0x01, 0x2A, 0x0F, 0x05, 0x32, 0x01, 0x90, 0xF7 });
    rig.settle();
    EXPECT_EQ (c.getGlobalValue (3), -112);
    EXPECT_EQ (c.getGlobalValue (100), 0);
}

TEST (GlobalSettings, EditingSendsTheNrpn)
{
    Rig rig;
    auto& c = *rig.controller;

    rig.devices->clearOutputCalls();
    c.setGlobalValue (25, 16);
    EXPECT_EQ (rig.sentBlocks(),
               (std::vector<Block> { { { 0xB0, 99, 8 }, { 0xB0, 98, 25 }, { 0xB0, 6, 0 }, { 0xB0, 38, 16 } } }));
    rig.settle();
    EXPECT_EQ (rig.standIn.getGlobal (25), 16);

    // The current value again sends nothing; out-of-range values are clamped.
    rig.devices->clearOutputCalls();
    c.setGlobalValue (25, 16);
    EXPECT_TRUE (rig.sentBlocks().empty());
    c.setGlobalValue (2, 17);
    EXPECT_EQ (c.getGlobalValue (2), 16);
    c.setGlobalValue (2, -1);
    EXPECT_EQ (c.getGlobalValue (2), 0);
    rig.settle();
    EXPECT_EQ (rig.standIn.getGlobal (2), 0);

    // With the output closed the block still takes the value.
    c.selectOutput (0);
    c.setGlobalValue (12, 1);
    EXPECT_EQ (c.getGlobalValue (12), 1);
    c.setGlobalValue (30, 1); // no such setting
    EXPECT_EQ (c.getGlobalBlock()[30], 0);
}

TEST (PresenceCheck, ProbesAndAnswers)
{
    Rig rig;
    auto& c = *rig.controller;
    rig.standIn.setOptions ({ 1, false, true, false, false }); // silent
    c.requestGlobals();
    c.requestGlobals();
    rig.settle();
    EXPECT_FALSE (c.hasInstrumentAnswered());

    rig.standIn.sendGlobalDump(); // one answer ends on line
    rig.settle();
    EXPECT_TRUE (c.hasInstrumentAnswered());
    EXPECT_EQ (c.takeNotifications(), (std::vector<int32_t> { 0x13000000, 0x13000000, 0x12000000 }));

    // An identity reply is not an answer.
    c.requestGlobals();
    rig.standIn.sendRaw ({ 0xF0, 0x7E, 0x00, 0x06, 0x02, 0x01, 0x2A, 0x01, 0xF7 });
    rig.settle();
    EXPECT_FALSE (c.hasInstrumentAnswered());

    // The desktop model answers as well.
    rig.standIn.setOptions ({ 1, true, false, false, false });
    c.requestGlobals();
    rig.settle();
    EXPECT_TRUE (c.hasInstrumentAnswered());

    // With the port closed the probe still goes off line.
    c.selectOutput (0);
    c.takeNotifications();
    c.requestGlobals();
    rig.settle();
    EXPECT_FALSE (c.hasInstrumentAnswered());
    EXPECT_EQ (c.takeNotifications(), (std::vector<int32_t> { 0x13000000 }));
}
} // namespace
