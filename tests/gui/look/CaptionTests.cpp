// Where the captions of the editor's plain buttons land on screen: each button is drawn with and
// without its caption, and the pixels that differ are the caption's ink.
#include "tests/gui/GuiRig.h"
#include "ui/editor/AppBar.h"
#include "ui/library/LibBut.h"
#include "ui/library/Lib_Manager_Win.h"
#include "ui/library/StBut.h"
#include "ui/look/MsgCont.h"
#include "ui/main/BankComp.h"
#include "ui/main/ProgBar.h"
#include "ui/main/RenameCnt.h"
#include "ui/main/WriteSnd.h"
#include "ui/setup/MIDI_Setup.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace
{
void collectButtons (juce::Component& root, std::vector<StsBut*>& found)
{
    for (auto* child : root.getChildren())
    {
        if (auto* button = dynamic_cast<StsBut*> (child))
            found.push_back (button);
        else
            collectButtons (*child, found);
    }
}

// The caption's ink in the widget drawn at a render scale, in the snapshot's pixels; empty when the
// caption left no mark.
template <typename Widget>
juce::Rectangle<int> captionInk (Widget& widget, float scale)
{
    const auto shot = [&] { return widget.createComponentSnapshot (widget.getLocalBounds(), true, scale); };
    const auto with = shot();
    const auto caption = widget.getText();
    widget.setText ({});
    const auto without = shot();
    widget.setText (caption);

    juce::Rectangle<int> ink;
    bool any = false;
    for (int y = 0; y < with.getHeight(); ++y)
        for (int x = 0; x < with.getWidth(); ++x)
        {
            const auto a = with.getPixelAt (x, y), b = without.getPixelAt (x, y);
            const int difference = std::abs (a.getRed() - b.getRed()) + std::abs (a.getGreen() - b.getGreen()) +
                                   std::abs (a.getBlue() - b.getBlue());
            if (difference < 90) // faint anti-aliasing at the glyphs' rims does not count
                continue;
            const juce::Rectangle<int> dot (x, y, 1, 1);
            ink = any ? ink.getUnion (dot) : dot;
            any = true;
        }
    return ink;
}

// The part of the button its face covers: the face reaches past the button's top (and, for the
// grey styles, its bottom), so only the band inside the button shows.
juce::Rectangle<float> visibleFace (StsBut& button, float scale)
{
    return button.getButton().getBounds().getIntersection (button.getLocalBounds()).toFloat() * scale;
}

// Captions whose letters span exactly the height of the capitals: their ink can be held to the middle.
bool capitalHeight (const juce::String& text)
{
    return text.containsAnyOf ("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789") && ! text.containsAnyOf ("gjpqy,;()");
}

void expectCaptionsInside (juce::Component& root, const char* where)
{
    std::vector<StsBut*> buttons;
    collectButtons (root, buttons);
    ASSERT_FALSE (buttons.empty()) << where;

    for (const float scale : { 1.0f, 0.5f })
        for (auto* button : buttons)
        {
            if (button->getText().isEmpty() || ! button->isVisible() || button->getWidth() == 0)
                continue;
            SCOPED_TRACE (juce::String (where) + " \"" + button->getText() + "\" at scale " + juce::String (scale));
            const auto ink = captionInk (*button, scale).toFloat();
            const auto face = visibleFace (*button, scale);
            ASSERT_FALSE (ink.isEmpty());

            // Inside the face, clear of its edges by a pixel.
            EXPECT_GE (ink.getX(), face.getX() + 1.0f);
            EXPECT_LE (ink.getRight(), face.getRight() - 1.0f);
            EXPECT_GE (ink.getY(), face.getY() + 1.0f);
            EXPECT_LE (ink.getBottom(), face.getBottom() - 1.0f);

            // Centred: as much room above the letters as below them (descenders aside), and left and
            // right, within a pixel or two of rounding (at half scale a face edge can fall on half a
            // pixel).
            const float tolerance = scale < 1.0f ? 1.5f : 2.0f;
            EXPECT_NEAR (ink.getX() - face.getX(), face.getRight() - ink.getRight(), tolerance);
            if (capitalHeight (button->getText()))
            {
                EXPECT_NEAR (ink.getY() - face.getY(), face.getBottom() - ink.getBottom(), tolerance);
            }
        }
}
} // namespace

TEST (Captions, EveryPlainButtonCentresItsCaptionInsideItsFace)
{
    GuiRig rig;

    BankComp bank (rig.controller());
    bank.setBounds (0, 54, 1200, 656);
    expectCaptionsInside (bank, "bank view");

    WriteSnd write (rig.controller(), 0, 0, "Warm Keys", 1);
    write.setBounds (0, 54, 1200, 676);
    expectCaptionsInside (write, "write dialog");

    MIDI_Setup setup (rig.controller());
    setup.setBounds (0, 0, 1200, 730);
    expectCaptionsInside (setup, "MIDI setup");

    AppBar bar;
    bar.setBounds (267, 0, 933, 54);
    expectCaptionsInside (bar, "app bar");

    ProgBar progress (1200, 730);
    progress.setBounds (0, 0, 1200, 730);
    expectCaptionsInside (progress, "progress overlay");

    MsgCont message ("A message", 1200, 730);
    message.getCancelButton().setVisible (true);
    expectCaptionsInside (message, "message box");
    EXPECT_EQ (message.getLines(), juce::StringArray { "A message" });

    // A text too wide for one line goes on over a second one, broken at a blank, nothing cut.
    const juce::String longText = "Added 396 programs from Prophet 12 Factory Sounds Complete.syx; 12 were duplicates.";
    MsgCont twoLines (longText, 1200, 730);
    const auto lines = twoLines.getLines();
    ASSERT_EQ (lines.size(), 2);
    for (const auto& line : lines)
        EXPECT_LE (juce::Font ("Arial", 18.0f, juce::Font::plain).getStringWidthFloat (line), MsgCont::kBoxWidth - 20)
            << line;
    EXPECT_EQ (lines.joinIntoString (" "), longText);
    EXPECT_EQ (twoLines.getText(), longText);

    RenameCnt rename (0, 0, "Name");
    expectCaptionsInside (rename, "rename box");
}

// The library window's buttons have a fixed caption: the same button without one shows what is ink.
template <typename Button>
void expectLibraryCaptionsInside (juce::Component& root, juce::Rectangle<int> (*faceOf) (const Button&))
{
    std::vector<Button*> buttons;
    std::function<void (juce::Component&)> collect = [&] (juce::Component& c) {
        for (auto* child : c.getChildren())
            if (auto* b = dynamic_cast<Button*> (child))
                buttons.push_back (b);
            else
                collect (*child);
    };
    collect (root);
    ASSERT_FALSE (buttons.empty());

    for (auto* button : buttons)
    {
        if (button->getCaption().isEmpty() || ! button->isVisible())
            continue;
        SCOPED_TRACE ("\"" + button->getCaption() + "\"");
        Button blank ("", 0);
        blank.setBounds (button->getLocalBounds());
        const auto with = button->createComponentSnapshot (button->getLocalBounds());
        const auto without = blank.createComponentSnapshot (blank.getLocalBounds());
        juce::Rectangle<int> ink;
        for (int y = 0; y < with.getHeight(); ++y)
            for (int x = 0; x < with.getWidth(); ++x)
            {
                const auto a = with.getPixelAt (x, y), b = without.getPixelAt (x, y);
                if (std::abs (a.getRed() - b.getRed()) + std::abs (a.getGreen() - b.getGreen()) +
                        std::abs (a.getBlue() - b.getBlue()) >=
                    90)
                    ink = ink.isEmpty() ? juce::Rectangle<int> (x, y, 1, 1) : ink.getUnion ({ x, y, 1, 1 });
            }
        const auto face = faceOf (*button).toFloat();
        const auto inkF = ink.toFloat();
        ASSERT_FALSE (ink.isEmpty());
        EXPECT_GE (inkF.getY(), face.getY() + 1.0f);
        EXPECT_LE (inkF.getBottom(), face.getBottom() - 1.0f);
        if (capitalHeight (button->getCaption()))
        {
            EXPECT_NEAR (inkF.getY() - face.getY(), face.getBottom() - inkF.getBottom(), 2.0f);
        }
    }
}

TEST (Captions, LibraryWindowButtonsCentreTheirCaptions)
{
    GuiRig rig;
    Lib_Manager_Comp window (*rig.processor, nullptr);
    window.showLibraryPage();
    window.showPresetBankPage();
    // The category buttons fill their face; the command buttons draw a 24-pixel face in the middle.
    expectLibraryCaptionsInside<StBut> (window, [] (const StBut& b) { return b.getLocalBounds(); });
    expectLibraryCaptionsInside<LibBut> (window, [] (const LibBut& b) {
        return b.getLocalBounds().withSizeKeepingCentre (b.getWidth(), LibBut::kFaceHeight);
    });
}

TEST (Captions, BoxedLabelsCentreTheirTextInsideTheBox)
{
    GuiRig rig;
    MIDI_Setup setup (rig.controller());
    setup.setBounds (0, 0, 1200, 730);
    AppBar bar;

    for (auto* label : { &setup.getSysExSizeLabel(), &bar.getChannelLabel() })
        for (const float scale : { 1.0f, 0.5f })
        {
            SCOPED_TRACE ("\"" + label->getText() + "\" at scale " + juce::String (scale));
            const auto ink = captionInk (*label, scale).toFloat();
            const auto box = label->getLocalBounds().toFloat() * scale;
            ASSERT_FALSE (ink.isEmpty());
            // Clear of the one-pixel outline, as much room above as below.
            EXPECT_GE (ink.getY(), box.getY() + 1.0f);
            EXPECT_LE (ink.getBottom(), box.getBottom() - 1.0f);
            EXPECT_NEAR (ink.getY() - box.getY(), box.getBottom() - ink.getBottom(), scale < 1.0f ? 1.5f : 2.0f);
        }
}

TEST (Captions, AppBarButtonsKeepTheirSmallerFont)
{
    AppBar bar;
    for (int i = 0; i < AppBar::kNumPageButtons; ++i)
        EXPECT_FLOAT_EQ (bar.getPageButton (i).getFontHeight(), 11.0f) << bar.getPageButton (i).getText();
    for (int i = 0; i < AppBar::kNumFunctionButtons; ++i)
        EXPECT_FLOAT_EQ (bar.getFunctionButton (i).getFontHeight(), 11.0f) << bar.getFunctionButton (i).getText();

    // A face set before setup stays: setup places the button, it does not restyle it.
    StsBut dialog ("OK", 1, StsBut::kDialogStyle);
    dialog.setFontHeight (15.0f);
    dialog.setTextColour (juce::Colours::red);
    dialog.setup (10, 10, 60, 24);
    EXPECT_FLOAT_EQ (dialog.getFontHeight(), 15.0f);
    EXPECT_EQ (dialog.getTextColour(), juce::Colours::red);
    EXPECT_EQ (dialog.getBounds(), juce::Rectangle<int> (10, 10, 60, 24));
}
