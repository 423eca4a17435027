#include "tests/gui/GuiRig.h"
#include "ui/main/AboutPanel.h"
#include "ui/main/ProgBar.h"
#include "ui/main/RenameCnt.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{

// ---- Overlays ------------------------------------------------------------------------------------

TEST (WidgetOverlays, ProgressClampsAndSizesTheFill)
{
    ProgBar bar (1000, 600);
    EXPECT_EQ (bar.getCancelButton().getBounds(), juce::Rectangle<int> (619, 320, 60, 24));
    EXPECT_EQ (bar.getCancelButton().getId(), 999);

    for (const auto& [value, expected] : { std::pair { 200, 127 }, std::pair { 10, 10 }, std::pair { -5, 0 } })
    {
        bar.setProgress (value, "U2 P 11");
        EXPECT_EQ (bar.getValue(), expected);
        EXPECT_EQ (bar.getFillWidth(), 3 * expected);
    }
    EXPECT_EQ (bar.getCaption(), "U2 P 11");
}

TEST (WidgetOverlays, RenameBoxAnswersOkOnReturn)
{
    RenameCnt box (274, 28, "Basic Program   ");
    std::vector<juce::String> log;
    ClickLog owner (log, "owner");
    box.getOkButton().addIdListener (&owner);
    box.getCancelButton().addIdListener (&owner);
    EXPECT_EQ (box.getBounds(), juce::Rectangle<int> (274, 28, 180, 50));
    EXPECT_EQ (box.getText(), "Basic Program   ");

    box.getEditor().setText ("Night Drive");
    box.getEditor().keyPressed (juce::KeyPress (juce::KeyPress::returnKey));
    GuiRig::pump (50);
    box.getEditor().keyPressed (juce::KeyPress (juce::KeyPress::escapeKey));
    GuiRig::pump (50);

    EXPECT_EQ (log, (std::vector<juce::String> { "owner#1111", "owner#1113" }));
    EXPECT_EQ (box.getText(), "Night Drive");
}

TEST (WidgetOverlays, AboutPanelClosesOnAPressOrAfterItsDelay)
{
    AboutPanel pressed ("2.7.0", 1200, 0);
    EXPECT_EQ (pressed.getVersionLine(), "Version 2.7.0");
    EXPECT_EQ (pressed.boxOrigin(), juce::Point<int> (370, 150));
    EXPECT_FALSE (pressed.isAutoClosing());
    ChangeSpy pressSpy (pressed, [] { return 1; });
    Mouse (pressed).click (5.0f, 5.0f);
    EXPECT_EQ (pressSpy.codes.size(), 1u);

    AboutPanel timed ("2.7.0", 1200, 40);
    ChangeSpy timerSpy (timed, [] { return 1; });
    EXPECT_TRUE (timed.isAutoClosing());
    GuiRig::pump (300);
    EXPECT_EQ (timerSpy.codes.size(), 1u) << "one broadcast, then the timer stays stopped";
    EXPECT_FALSE (timed.isAutoClosing());
}
} // namespace
