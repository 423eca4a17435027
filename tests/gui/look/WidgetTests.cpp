#include "tests/gui/GuiRig.h"
#include "ui/look/Check_But.h"
#include "ui/look/StsBut.h"
#include "ui/look/StsLabel.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{

// ---- Label -----------------------------------------------------------------------------------------

// Stands in for the label's cached image: every repaint the label asks for arrives here first.
struct RepaintCounter : juce::CachedComponentImage
{
    explicit RepaintCounter (int& c) : count (c) {}
    void paint (juce::Graphics&) override {}
    bool invalidateAll() override { return ++count, false; }
    bool invalidate (const juce::Rectangle<int>&) override { return ++count, false; }
    void releaseResources() override {}
    int& count;
};

TEST (WidgetLabel, SameTextDoesNotRepaint)
{
    StsLabel label;
    label.setup ("Chan: 1", "Arial", 14.0f);
    label.setBounds (0, 0, 80, 20);
    label.setVisible (true);
    int repaints = 0;
    label.setCachedComponentImage (new RepaintCounter (repaints));
    repaints = 0;

    label.setText ("Chan: 1");
    EXPECT_EQ (repaints, 0);

    label.setText ("Chan: 2");
    EXPECT_EQ (repaints, 1);
    EXPECT_EQ (label.getText(), "Chan: 2");
}

TEST (WidgetLabel, PressBroadcasts)
{
    StsLabel label;
    label.setup ("Chan: 1", "Arial", 14.0f);
    label.setSize (80, 20);
    ChangeSpy spy (label, [] { return 1; });

    Mouse (label).click (10.0f, 10.0f);

    EXPECT_EQ (spy.codes.size(), 1u);
}

// ---- Check box and buttons -------------------------------------------------------------------------

TEST (WidgetCheckBox, PressTogglesAndBroadcasts)
{
    Check_But box ("Control Program Change with Automation");
    ChangeSpy spy (box, [&] { return box.isOn() ? 1 : 0; });
    Mouse mouse (box);

    mouse.press (10.0f, 10.0f);
    EXPECT_TRUE (box.isPressed());
    mouse.release (10.0f, 10.0f);
    EXPECT_FALSE (box.isPressed());
    mouse.click (10.0f, 10.0f);

    EXPECT_EQ (spy.codes, (std::vector<int> { 1, 0 }));
    EXPECT_FALSE (box.isOn());
}

TEST (WidgetButton, ClickReachesButtonListenersThenIdListenersLastFirst)
{
    StsBut button ("BANKS", 99, StsBut::kFunctionStyle);
    button.setup (10, 10, 70, 18);
    std::vector<juce::String> log;
    ClickLog first (log, "a"), second (log, "b");
    button.addListener (&first);
    button.addListener (&second);
    button.addIdListener (&first);
    button.addIdListener (&second);

    button.getButton().triggerClick();
    GuiRig::pump (50);

    EXPECT_EQ (log, (std::vector<juce::String> { "b:BANKS", "a:BANKS", "b#99", "a#99" }));

    log.clear();
    button.removeListener (&second);
    button.removeIdListener (&first);
    button.getButton().triggerClick();
    GuiRig::pump (50);
    EXPECT_EQ (log, (std::vector<juce::String> { "a:BANKS", "b#99" }));
}

TEST (WidgetButton, AListenerMayDeleteTheButton)
{
    auto button = std::make_unique<StsBut> ("CANCEL", 999, StsBut::kDialogStyle);
    std::vector<juce::String> log;
    struct Closer : stsbutChangeListener
    {
        void stsButClicked (StsBut*) override { owned.reset(); }
        std::unique_ptr<StsBut>& owned;
        explicit Closer (std::unique_ptr<StsBut>& b) : owned (b) {}
    } closer (button);
    ClickLog late (log, "late");
    button->addIdListener (&late);
    button->addListener (&closer);

    button->notifyClicked();

    EXPECT_EQ (button, nullptr);
    EXPECT_TRUE (log.empty());
}
} // namespace
