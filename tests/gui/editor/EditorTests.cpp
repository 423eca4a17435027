// The editor page and the main component end to end: real components on the processor, the
// processor cabled to the instrument stand-in, mouse input synthesised through JUCE.
#include "midi/NotificationCodes.h"
#include "model/ParDes.h"
#include "plugin/OstrelAudioProcessorEditor.h"
#include "tests/gui/GuiRig.h"
#include "ui/main/MainComp.h"

namespace
{

struct EditorRig : GuiRig
{
    EditorRig()
    {
        processor->getEditorState().aboutShown = true; // most tests do not want the about panel
        main = std::make_unique<MainComp> (*processor);
        settle();
        pump (50);
    }

    EditorPanel& page() { return main->getEditorPanel(); }
    StsCont& control (int layer, int position)
    {
        const int group = ParameterTable::get().panelGroup (position);
        auto* c = page().getGroup (layer, group).findControl (position);
        EXPECT_NE (c, nullptr) << position;
        return *c;
    }

    std::unique_ptr<MainComp> main;
};

ProgramDump::Record patterned (uint8_t seed)
{
    ProgramDump::Record r {};
    const auto& table = ParameterTable::get();
    for (int p = 0; p < 512; ++p)
    {
        const int range = juce::jmax (1, (int) table.maximum (p) + 1);
        r[(size_t) p] = (uint8_t) ((p * 7 + seed) % juce::jmin (range, 128));
        r[(size_t) (p + 512)] = (uint8_t) ((p * 3 + seed) % juce::jmin (range, 128));
    }
    ProgramDump::writeName (r.data(), "Patterned " + juce::String (seed));
    return r;
}
} // namespace

TEST (Editor, FreshEditorShowsTheFirstHostProgram)
{
    EditorRig rig;
    const auto slot0 = rig.controller().getSlot (0, 0); // factory bank 0 fills the "Program Bank" too
    EXPECT_EQ (rig.controller().getCurrentProgram(), rig.processor->getController().getCurrentProgram());
    EXPECT_EQ (rig.page().getLcd().getName().trim(),
               ProgramDump::readName (slot0.data(), ProgramDump::NameVariant::slot).trim());
    EXPECT_EQ (rig.control (0, 8).getShownValue(), rig.controller().getCurrentProgram()[8]);
    // Nothing but the presence probe went to the instrument.
    for (const auto& m : rig.sentMessages())
        EXPECT_EQ (m, (std::vector<uint8_t> { 0xF0, 0x01, 0x2A, 0x0E, 0xF7 }));
}

TEST (Editor, KnobDragReachesTheInstrumentAndComesBack)
{
    EditorRig rig;
    auto& level = rig.control (0, 8); // oscillator 1 level, 0..127
    const int before = level.getShownValue();
    const int target = before < 100 ? before + 20 : before - 20;

    Mouse mouse (level);
    mouse.press (30.0f, 30.0f);
    mouse.drag (30.0f + (float) (target - before), 30.0f);
    // The control does not move by itself ...
    EXPECT_EQ (level.getShownValue(), before);
    mouse.release (30.0f + (float) (target - before), 30.0f);
    rig.settle();
    EXPECT_EQ (rig.standIn.getEditBuffer()[8], target);
    // ... the value comes back through the model.
    EXPECT_TRUE (GuiRig::pumpUntil ([&] { return level.getShownValue() == target; }));

    // Turned on the instrument: the control moves and the host hears of it.
    rig.standIn.turnParameter (8 + 512, 77);
    rig.settle();
    EXPECT_TRUE (GuiRig::pumpUntil ([&] { return rig.control (1, 8).getShownValue() == 77; }));
    const int host = rig.controller().getTable().automationIndexOf (8 + 512);
    EXPECT_NEAR (rig.processor->getHostParameterValue (host), 77.0f / 127.0f, 1e-6);
}

TEST (Editor, ReceiveShowsTheInstrumentsEditBuffer)
{
    EditorRig rig;
    const auto record = patterned (5);
    rig.standIn.setProgram (2, 5, record);
    rig.standIn.selectProgram (2, 5); // following is off: nothing is loaded here
    rig.settle();
    GuiRig::pump (50);

    auto* recv = rig.page().getAppBar().findFunctionButton (71);
    ASSERT_NE (recv, nullptr);
    recv->getButton().triggerClick();
    GuiRig::pump (50);
    rig.settle();
    ASSERT_TRUE (GuiRig::pumpUntil ([&] { return rig.page().getLcd().getName().startsWith ("Patterned 5"); }));

    // Every control of both layers shows the received program.
    int checked = 0;
    for (int layer = 0; layer < 2; ++layer)
        for (int group = 0; group < EditorPanel::kGroups; ++group)
        {
            auto& g = rig.page().getGroup (layer, group);
            for (int i = 0; i < g.getNumControls(); ++i)
            {
                auto& c = *g.getControl (i);
                if (c.getParameterPosition() >= 512)
                    continue;
                const int value = record[(size_t) (c.getControlId())];
                EXPECT_EQ (c.getShownValue(), juce::jlimit (c.getMinimum(), c.getMaximum(), value))
                    << layer << " " << c.getParameterPosition();
                ++checked;
            }
        }
    EXPECT_GT (checked, 400);
}

TEST (Editor, FollowedProgramChangeRefreshesPageAndLcd)
{
    EditorRig rig;
    rig.controller().setFollowProgramChange (true);
    const auto record = patterned (9);
    rig.controller().putSlot (1, 7, record);
    rig.standIn.setProgram (1, 7, record);
    rig.standIn.selectProgram (1, 7);
    rig.settle();
    ASSERT_TRUE (GuiRig::pumpUntil ([&] { return rig.page().getLcd().getLocationText() == "U2 P 8"; }));
    EXPECT_TRUE (rig.page().getLcd().getName().startsWith ("Patterned 9"));
    EXPECT_EQ (rig.control (0, 8).getShownValue(), record[8]);
}

TEST (Editor, BankViewListsTheBankAndSelectsAStoredProgram)
{
    EditorRig rig;
    rig.main->performCommand (99);
    ASSERT_TRUE (rig.main->isBankViewOn());
    EXPECT_EQ (rig.page().getHeight(), EditorPanel::kTopBand);
    auto& grid = rig.main->getBankPanel().getGrid();
    EXPECT_EQ (grid.getRowCount(), 99);
    EXPECT_EQ (grid.getBank(), rig.controller().getCurrentBank());

    // A click on the fourth row selects that stored program and tells the instrument.
    rig.clearSent();
    Mouse (grid).click (100.0f, 3 * 46 + 10);
    GuiRig::pump (50);
    rig.settle();
    EXPECT_EQ (rig.controller().getCurrentProgramNumber(), 3);
    EXPECT_EQ (rig.controller().getCurrentProgram(), rig.controller().getSlot (rig.controller().getCurrentBank(), 3));
    EXPECT_EQ (rig.standIn.getCurrentProgram(), 3);

    rig.main->performCommand (99);
    EXPECT_FALSE (rig.main->isBankViewOn());
    EXPECT_GT (rig.page().getHeight(), EditorPanel::kTopBand);
}

TEST (Editor, WriteDialogWritesIntoTheInstrumentsSlot)
{
    EditorRig rig;
    rig.main->performCommand (969);
    auto* dialog = rig.main->getWriteDialog();
    ASSERT_NE (dialog, nullptr);
    dialog->getBankButton (2).getButton().triggerClick(); // "BANK U3"
    GuiRig::pump (50);
    Mouse (dialog->getGrid()).click (100.0f, 4 * 46 + 10); // P 5
    dialog->setProgramName ("Written Here");
    const auto program = rig.controller().getCurrentProgram();

    dialog->getWriteButton().getButton().triggerClick();
    GuiRig::pump (50);
    rig.settle();
    EXPECT_EQ (rig.main->getWriteDialog(), nullptr);
    const auto stored = rig.standIn.getProgram (2, 4);
    EXPECT_EQ (ProgramDump::readName (stored.data(), ProgramDump::NameVariant::slot).trimEnd(), "Written Here");
    EXPECT_EQ (stored[8], program[8]);

    // "BANKS" is ignored while the dialog is open.
    rig.main->performCommand (969);
    rig.main->performCommand (99);
    EXPECT_FALSE (rig.main->isBankViewOn());
}

TEST (Editor, PagesScrollTheStrip)
{
    EditorRig rig;
    auto& page = rig.page();
    page.setEditorScale (1.0f);
    page.setSize (1024, page.getHeight());

    page.showPage (1);
    EXPECT_TRUE (page.getGroup (0, 1).isVisible());  // OSCILLATORS at 0
    EXPECT_TRUE (page.getGroup (0, 2).isVisible());  // CHARACTER at 954, runs past the edge
    EXPECT_FALSE (page.getGroup (0, 5).isVisible()); // VCA at 1204 lies outside
    EXPECT_FALSE (page.getGroup (0, 3).isVisible());

    // "LPF" and "VCA" both carry page 3: the amplifier above the low pass filter at the left edge.
    for (int button : { 2, 4 })
    {
        page.showPage (1);
        page.getAppBar().getPageButton (button).getButton().triggerClick();
        GuiRig::pump (30);
        EXPECT_EQ (page.getGroup (0, 5).getBounds().getTopLeft(), juce::Point<int> (0, 54)) << button;
        EXPECT_EQ (page.getGroup (0, 3).getBounds().getTopLeft(), juce::Point<int> (0, 54 + 160)) << button;
        EXPECT_EQ (page.getGroup (1, 5).getBounds().getY(), 54 + 320);
        EXPECT_FALSE (page.getGroup (0, 1).isVisible());
    }
}

TEST (Editor, ValuesReachTheirControls)
{
    EditorRig rig;
    auto& page = rig.page();
    auto& a = rig.control (0, 0);
    auto& b = rig.control (1, 0);

    page.routeValue (512, 33, false); // layer B position 0
    EXPECT_EQ (b.getShownValue(), 33);
    EXPECT_NE (a.getShownValue(), 33);
    page.routeValue (1024, 5, false); // not a program parameter: nothing happens

    // With force a value equal to the shown one is shown again.
    const int shown = b.getShownValue();
    page.routeValue (512, shown, true);
    EXPECT_EQ (b.getShownValue(), shown);
    EXPECT_EQ (b.getValueText(), ParDes::valueText (b.getDisplayKind(), shown));
}

TEST (Editor, ABurstOfNotificationsIsHandledInOrderInOneUpdate)
{
    EditorRig rig;
    auto& level = rig.control (0, 8);
    for (int i = 0; i < 200; ++i)
        rig.controller().postNotification (Notification::parameterChanged (8, i % 128));
    rig.main->handleUpdateNowIfNeeded();
    EXPECT_EQ (level.getShownValue(), 199 % 128); // the last one wins: they were handled in order
    EXPECT_EQ (rig.controller().getPendingNotificationCount(), 0u);
}

TEST (Editor, ZoomingOneGroup)
{
    EditorRig rig;
    auto& page = rig.page();
    page.setSize (1200, 710);
    page.setEditorScale (0.5f);

    EXPECT_FLOAT_EQ (EditorPanel::zoomScaleForWorkArea (1280), 1.0f);
    EXPECT_FLOAT_EQ (EditorPanel::zoomScaleForWorkArea (1920), 1.3f);
    EXPECT_FLOAT_EQ (EditorPanel::zoomScaleForWorkArea (2560), 1.5f);

    // A click on a control of a group scaled to 0.5 asks to zoom that group.
    auto& level = rig.control (0, 8);
    const int before = level.getShownValue();
    Mouse (level).click (10.0f, 10.0f);
    GuiRig::pump (30);
    ASSERT_TRUE (page.isZoomed());
    EXPECT_EQ (level.getShownValue(), before);
    auto& osc = page.getGroup (0, 1);
    EXPECT_GT (osc.getScale(), 0.9f);

    // A second request while zoomed is ignored.
    Mouse (rig.control (0, 96)).rightClick (5.0f, 5.0f);
    GuiRig::pump (30);
    EXPECT_LT (page.getGroup (0, 7).getScale(), 0.6f);

    GuiRig::pumpUntil ([&] { return ! page.isAnimating(); });
    page.unzoom();
    EXPECT_FALSE (page.isZoomed());
    EXPECT_FLOAT_EQ (osc.getScale(), 0.5f);
}

TEST (Editor, SplitKeyboardDragShowsAndReleaseSends)
{
    EditorRig rig;
    auto& page = rig.page();
    auto& ab = page.getGroup (0, GroupContents::kABModeGroup);
    ab.setABModeExpanded (true);
    auto* large = ab.getLargeKeyboard();
    ASSERT_NE (large, nullptr);
    auto& split = rig.control (0, 424);
    const int pressed = ZoneKeyClassB::keyAt (100.0f, 1.0f), dragged = ZoneKeyClassB::keyAt (300.0f, 1.0f);
    ASSERT_NE (pressed, dragged);

    // The press asks for its key; the drag only shows the key under the mouse.
    Mouse mouse (*large);
    mouse.press (100.0f, 10.0f);
    EXPECT_EQ (rig.controller().getCurrentProgram()[424], pressed);
    mouse.drag (300.0f, 10.0f);
    EXPECT_EQ (split.getShownValue(), dragged);
    EXPECT_EQ (rig.controller().getCurrentProgram()[424], pressed);

    // The release sends it.
    mouse.release (300.0f, 10.0f);
    rig.settle();
    EXPECT_EQ (rig.controller().getCurrentProgram()[424], dragged);
    EXPECT_EQ (rig.standIn.getEditBuffer()[424], dragged);
}

TEST (Editor, AboutPanelOnlyOnTheFirstOpening)
{
    GuiRig rig;
    {
        MainComp first (*rig.processor);
        EXPECT_NE (first.getAboutPanel(), nullptr);
    }
    MainComp second (*rig.processor);
    EXPECT_EQ (second.getAboutPanel(), nullptr);
}

TEST (Editor, ZoomCornerLimitOnASmallDisplay)
{
    EditorRig rig;
    rig.main->resizePageTo (5000, 900);
    EXPECT_EQ (rig.page().getHeight(), 710);
    EXPECT_FLOAT_EQ (rig.page().getEditorScale(), 1.0f);
    rig.main->resizePageTo (100, 900);
    EXPECT_EQ (rig.page().getHeight(), 200);
    rig.main->resizePageTo (5000, 1100);
    EXPECT_EQ (rig.page().getHeight(), 838);
}

TEST (Editor, ShellFollowsTheMainComponent)
{
    GuiRig rig;
    rig.processor->getEditorState().aboutShown = true;
    OstrelAudioProcessorEditor editor (*rig.processor);
    auto& main = editor.getMainComp();
    EXPECT_EQ (editor.getWidth(), main.getWidth());
    main.resizePageTo (500, 900);
    GuiRig::pump (30);
    EXPECT_EQ (editor.getHeight(), main.getHeight());
}
