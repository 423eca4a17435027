// Undo, redo and compare from the editor: a real drag on a knob, the keys through the editor
// window's own key handling, the EDIT menu, the LCD's marks, and what the host and the instrument
// stand-in receive.
#include "plugin/OstrelAudioProcessorEditor.h"
#include "tests/gui/GuiRig.h"
#include "ui/main/EditorMenus.h"
#include "ui/main/MainComp.h"

namespace
{
// The whole editor window on the display, the play panel holding the keyboard focus as when the
// user has clicked it.
struct WindowRig : GuiRig
{
    WindowRig()
    {
        processor->getEditorState().aboutShown = true;
        processor->addListener (&host);
        editor = std::make_unique<OstrelAudioProcessorEditor> (*processor);
        editor->addToDesktop (0);
        editor->setVisible (true);
        settle();
        pump (50);
        playPanel().grabKeyboardFocus();
        pump (20);
    }
    ~WindowRig()
    {
        editor->removeFromDesktop();
        editor.reset();
        processor->removeListener (&host);
    }

    MainComp& main() { return editor->getMainComp(); }
    KeyPlayClass& playPanel() { return main().getKeyboard().getPlayPanel(); }
    StsCont& control (int layer, int position)
    {
        const int group = ParameterTable::get().panelGroup (position);
        auto* c = main().getEditorPanel().getGroup (layer, group).findControl (position);
        EXPECT_NE (c, nullptr) << position;
        return *c;
    }

    // As the window system delivers a key: to the focused component, then up through its parents.
    bool press (int keyCode, juce::ModifierKeys mods)
    {
        auto* peer = editor->getPeer();
        EXPECT_NE (peer, nullptr);
        return peer != nullptr && peer->handleKeyPress (juce::KeyPress (keyCode, mods, 0));
    }

    int noteOnsSent() const
    {
        int n = 0;
        for (const auto& m : sentMessages())
            n += (m.size() == 3 && (m[0] & 0xF0) == 0x90) ? 1 : 0;
        return n;
    }

    HostListener host;
    std::unique_ptr<OstrelAudioProcessorEditor> editor;
};

const auto ctrl = juce::ModifierKeys::ctrlModifier;
const auto ctrlShift = juce::ModifierKeys (juce::ModifierKeys::ctrlModifier | juce::ModifierKeys::shiftModifier);
} // namespace

TEST (Undo, ADragThenCtrlZAndCtrlShiftZThroughTheEditorsKeys)
{
    WindowRig rig;
    ASSERT_TRUE (rig.playPanel().hasKeyboardFocus (false));
    auto& level = rig.control (0, 8);
    const int before = level.getShownValue();
    const int target = before < 100 ? before + 20 : before - 20;
    const int host = rig.controller().getTable().automationIndexOf (8);

    Mouse mouse (level);
    mouse.press (30.0f, 30.0f);
    for (int step = 1; step <= 4; ++step)
        mouse.drag (30.0f + (float) ((target - before) * step / 4), 30.0f);
    mouse.release (30.0f + (float) (target - before), 30.0f);
    rig.settle();
    ASSERT_TRUE (GuiRig::pumpUntil ([&] { return ! rig.processor->isGestureOpen (host); }));
    ASSERT_EQ (rig.standIn.getEditBuffer()[8], target);

    // The drag is one step, named for its parameter.
    rig.main().openMenu (MainComp::Menu::edit, nullptr);
    juce::StringArray texts;
    for (juce::PopupMenu::MenuItemIterator it (rig.main().getLastMenu(), true); it.next();)
        texts.add (it.getItem().text);
    juce::PopupMenu::dismissAllActiveMenus();
    EXPECT_TRUE (texts.contains ("Undo A Level 1")) << texts.joinIntoString ("|");
    EXPECT_TRUE (texts.contains ("Redo"));

    rig.host.clear();
    rig.clearSent();
    EXPECT_TRUE (rig.press ('Z', ctrl));
    rig.settle();
    EXPECT_EQ (rig.controller().getCurrentProgram()[8], before);
    EXPECT_EQ (rig.standIn.getEditBuffer()[8], before);
    EXPECT_TRUE (GuiRig::pumpUntil ([&] { return level.getShownValue() == before; }));
    EXPECT_EQ (rig.host.begins, std::vector<int> { host });
    EXPECT_EQ (rig.host.ends, std::vector<int> { host });
    ASSERT_EQ (rig.host.changes.size(), 1u);
    EXPECT_FLOAT_EQ (rig.host.changes[0].second, (float) before / 127.0f);

    rig.host.clear();
    EXPECT_TRUE (rig.press ('Z', ctrlShift));
    rig.settle();
    EXPECT_EQ (rig.standIn.getEditBuffer()[8], target);
    EXPECT_TRUE (GuiRig::pumpUntil ([&] { return level.getShownValue() == target; }));
    EXPECT_EQ (rig.host.begins, std::vector<int> { host });
    ASSERT_EQ (rig.host.changes.size(), 1u);
    EXPECT_FLOAT_EQ (rig.host.changes[0].second, (float) target / 127.0f);

    // Ctrl+Y redoes too (nothing left), and Ctrl+Z again undoes: no chord ever played a note.
    EXPECT_TRUE (rig.press ('Y', ctrl));
    EXPECT_TRUE (rig.press ('z', ctrl));
    rig.settle();
    EXPECT_EQ (rig.standIn.getEditBuffer()[8], before);
    EXPECT_EQ (rig.noteOnsSent(), 0);
    // The letter alone still plays its note.
    EXPECT_TRUE (rig.press ('Z', {}));
    rig.settle();
    EXPECT_EQ (rig.noteOnsSent(), 1);
}

TEST (Undo, CompareFromTheMenuAndCtrlEShowsOnTheLcd)
{
    WindowRig rig;
    auto& lcd = rig.main().getEditorPanel().getLcd();
    rig.controller().selectProgram (1 * 99 + 2, true, true);
    rig.settle();
    GuiRig::pump (50);
    EXPECT_FALSE (lcd.isEditedMarkShown());

    const auto stored = rig.controller().getSlot (1, 2);
    rig.processor->cableValueChanged (8, stored[8] == 5 ? 6 : 5, true, true, true);
    rig.settle();
    GuiRig::pump (50);
    EXPECT_TRUE (lcd.isEditedMarkShown());
    const auto edit = rig.controller().getCurrentProgram();

    rig.main().menuChosen (MainComp::Menu::edit, EditorMenus::kCompareItem);
    rig.settle();
    GuiRig::pump (50);
    EXPECT_TRUE (lcd.isCompareShown());
    EXPECT_FALSE (lcd.isEditedMarkShown());
    EXPECT_EQ (rig.standIn.getEditBuffer(), stored);
    EXPECT_EQ (rig.control (0, 8).getShownValue(), stored[8]);

    EXPECT_TRUE (rig.press ('E', ctrl));
    rig.settle();
    GuiRig::pump (50);
    EXPECT_FALSE (lcd.isCompareShown());
    EXPECT_TRUE (lcd.isEditedMarkShown());
    EXPECT_EQ (rig.standIn.getEditBuffer(), edit);
    EXPECT_EQ (rig.controller().getCurrentProgram(), edit);
    EXPECT_EQ (rig.control (0, 8).getShownValue(), edit[8]);
}
