#include "midi/NotificationCodes.h"
#include "model/ParDes.h"
#include "model/ProgramDump.h"
#include "tests/gui/GuiRig.h"
#include "ui/editor/AppSetBarBut.h"
#include "ui/look/MsgCont.h"
#include "ui/look/WinMovCan.h"
#include "ui/main/BankComp.h"
#include "ui/main/WriteSnd.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace
{
// Clicks a button the way JUCE does (its face's own click, delivered by the message loop).
void click (StsBut& button)
{
    button.getButton().triggerClick();
    GuiRig::pump (30);
}

// The main component's part in the write dialog: "WRITE" performs the write and closes the
// dialog, "CANCEL" only closes it.
struct WriteOwner : stsbutChangeListener
{
    explicit WriteOwner (std::unique_ptr<WriteSnd> d) : dialog (std::move (d))
    {
        dialog->getWriteButton().addListener (this);
        dialog->getCancelButton().addListener (this);
    }
    void stsButClicked (StsBut* button) override
    {
        if (dialog != nullptr && button == &dialog->getWriteButton())
            written = dialog->performWrite();
        dialog.reset(); // the dialog is deleted from inside its own button's click
    }

    std::unique_ptr<WriteSnd> dialog;
    std::optional<WriteSnd::Written> written;
};

class DialogWrite : public ::testing::Test
{
protected:
    std::unique_ptr<WriteSnd> makeDialog (int bank, int slot, const juce::String& name, int category)
    {
        auto dialog = std::make_unique<WriteSnd> (rig.controller(), bank, slot, name, category);
        dialog->setBounds (0, 54, 1024, 500);
        return dialog;
    }

    // A press on the name in the display, then the rename box's text and one of its buttons.
    static void rename (WriteSnd& dialog, const juce::String& text, bool ok)
    {
        Mouse (dialog.getDisplay()).click (60.0f, 32.0f);
        ASSERT_NE (dialog.getRenameBox(), nullptr);
        dialog.getRenameBox()->getEditor().setText (text, false);
        click (ok ? dialog.getRenameBox()->getOkButton() : dialog.getRenameBox()->getCancelButton());
    }

    GuiRig rig;
};

TEST_F (DialogWrite, OpensOnAFactoryBankButOffersOnlyUserBanks)
{
    const auto dialog = makeDialog (5, 3, "Factory Lead", 4);

    EXPECT_EQ (dialog->getGrid().getMode(), StsGrid::kListBank);
    EXPECT_EQ (dialog->getGrid().getBank(), 5);
    EXPECT_EQ (dialog->getGrid().getSelectedSlot(), 3);
    EXPECT_EQ (dialog->getDisplay().getLocationText(), "F2 P 4");
    EXPECT_EQ (dialog->getDisplay().getName(), "Factory Lead    ");
    EXPECT_EQ (dialog->getDisplay().getCategoryText(), ParDes::categoryText (4));
    const auto abText = rig.controller().withBank (5, [] (Bank_Program& b) { return b.slotABText (3); });
    EXPECT_EQ (dialog->getDisplay().getABText(), abText);

    for (int b = 0; b < WriteSnd::kUserBanks; ++b)
    {
        EXPECT_EQ (dialog->getBankButton (b).getText(), "BANK U" + juce::String (b + 1));
        EXPECT_FALSE (dialog->getBankButton (b).isSelected());
    }

    // A bank button leads to a user bank; the destination moves only when a row is chosen.
    click (dialog->getBankButton (3));
    EXPECT_EQ (dialog->getGrid().getBank(), 3);
    EXPECT_EQ (dialog->getDisplay().getLocationText(), "F2 P 4");
    Mouse (dialog->getGrid()).click (100.0f, 2 * 46 + 10);
    EXPECT_EQ (dialog->getDisplay().getLocationText(), "U4 P 3");
}

TEST_F (DialogWrite, RenameBoxCutsTheNameTo16AndCancelKeepsIt)
{
    const auto dialog = makeDialog (0, 0, "Old Name", 0);

    Mouse (dialog->getDisplay()).click (60.0f, 32.0f);
    ASSERT_NE (dialog->getRenameBox(), nullptr);
    EXPECT_EQ (dialog->getRenameBox()->getPosition(), juce::Point<int> (202 + 72, 18 + 10));
    EXPECT_EQ (dialog->getRenameBox()->getText(), "Old Name        ");

    dialog->getRenameBox()->getEditor().setText ("Twenty Characters!!!", false);
    click (dialog->getRenameBox()->getOkButton());
    EXPECT_FALSE (dialog->isRenameOpen());
    EXPECT_EQ (dialog->getName(), "Twenty Character");
    EXPECT_EQ (dialog->getDisplay().getName(), "Twenty Character");

    rename (*dialog, "Not Taken", false);
    EXPECT_FALSE (dialog->isRenameOpen());
    EXPECT_EQ (dialog->getName(), "Twenty Character");

    // A short name is padded to the 16 characters the instrument keeps.
    dialog->setProgramName ("Pad");
    EXPECT_EQ (dialog->getName(), "Pad             ");
}

TEST_F (DialogWrite, WriteStoresTheProgramInTheChosenSlotOfTheInstrument)
{
    auto current = rig.controller().getCurrentProgram();
    current[100] = 77; // something to recognise it by
    rig.controller().setCurrentProgram (current);
    rig.settle();
    rig.controller().takeNotifications();

    WriteOwner owner (makeDialog (0, 0, "Before", 3));
    auto& dialog = *owner.dialog;
    click (dialog.getBankButton (2));
    Mouse (dialog.getGrid()).click (100.0f, 46 + 10); // slot 1 of "User Bank 3"
    rename (dialog, "Written To U3 P2 and more", true);
    click (dialog.getWriteButton());

    ASSERT_TRUE (owner.written.has_value());
    EXPECT_EQ (owner.dialog, nullptr);
    EXPECT_TRUE (owner.written->done);
    EXPECT_EQ (owner.written->bank, 2);
    EXPECT_EQ (owner.written->slot, 1);
    EXPECT_EQ (owner.written->name, "Written To U3 P2");

    auto expected = current;
    ProgramDump::writeName (expected.data(), "Written To U3 P2");
    expected[ProgramDump::kCategoryOffset] = 3;
    rig.settle();
    EXPECT_EQ (rig.standIn.getProgram (2, 1), expected);
    EXPECT_EQ (rig.controller().getSlot (2, 1), expected);
    EXPECT_EQ (rig.controller().getCurrentProgram(), expected);
    EXPECT_EQ (rig.controller().getCurrentBank(), 2);
    EXPECT_EQ (rig.controller().getCurrentProgramNumber(), 1);
    const auto codes = rig.controller().takeNotifications();
    EXPECT_NE (std::find (codes.begin(), codes.end(), Notification::kBankChanged), codes.end());
}

TEST_F (DialogWrite, CancelWritesNothing)
{
    const auto before = rig.standIn.getProgram (0, 5);
    WriteOwner owner (makeDialog (0, 5, "Never Sent", 1));
    click (owner.dialog->getCancelButton());
    rig.settle();

    EXPECT_EQ (owner.dialog, nullptr);
    EXPECT_FALSE (owner.written.has_value());
    EXPECT_EQ (rig.standIn.getProgram (0, 5), before);
}

// ---- Layouts -----------------------------------------------------------------------------------------

TEST (DialogLayout, ListsTakeWholeRowsAndTheButtonsFollowThem)
{
    GuiRig rig { false };

    WriteSnd write (rig.controller(), 0, 0, "x", 0);
    write.setSize (1024, 500); // (500 - 80) / 46 = 9 rows
    EXPECT_EQ (write.getGrid().getBounds(), juce::Rectangle<int> (202, 74, 350, 9 * 46));
    EXPECT_EQ (write.getCancelButton().getBounds(), juce::Rectangle<int> (582, 74 + 414 - 54, 70, 18));
    EXPECT_EQ (write.getWriteButton().getBounds(), juce::Rectangle<int> (582, 74 + 414 - 18, 70, 18));
    EXPECT_EQ (write.getDisplay().getBounds(), juce::Rectangle<int> (202, 18, 217, 46));
    EXPECT_EQ (write.getBankButton (3).getBounds(), juce::Rectangle<int> (102, 188, 70, 18));

    BankComp banks (rig.controller());
    banks.setSize (1024, 400);
    EXPECT_EQ (banks.getGrid().getBounds(), juce::Rectangle<int> (202, 50, 350, 322));
    EXPECT_EQ (banks.getOkButton().getBounds(), juce::Rectangle<int> (816, 360, 70, 18));
    EXPECT_EQ (banks.getBankButton (7).getBounds(), juce::Rectangle<int> (102, 50 + 7 * 36, 70, 18));
    EXPECT_EQ (banks.getBankButton (4).getText(), "BANK F1");
    EXPECT_EQ (banks.getPresetsButton().getBounds(), juce::Rectangle<int> (358, 20, 70, 18));
    EXPECT_EQ (banks.getCategoryButton (25).getBounds(), juce::Rectangle<int> (582 + 78, 50 + 6 * 36, 70, 18));
    EXPECT_EQ (banks.getCategoryButton (0).getText(), "-----");
    EXPECT_TRUE (banks.getCategoryButton (25).isVisible());
    EXPECT_FALSE (banks.getCategoryButton (26).isVisible());
    EXPECT_FALSE (banks.getCategoryButton (27).isVisible());
}

// ---- Bank panel --------------------------------------------------------------------------------------

class DialogBanks : public ::testing::Test
{
protected:
    GuiRig rig { false };
    BankComp banks { rig.controller() };
    ChangeSpy spy { banks, [this] { return banks.getActionCode(); } };
};

TEST_F (DialogBanks, OpensOnTheCurrentProgram)
{
    rig.controller().selectProgram (1 * 99 + 40, false, false);
    banks.showCurrentBank();
    EXPECT_EQ (banks.getGrid().getMode(), StsGrid::kListBank);
    EXPECT_EQ (banks.getGrid().getBank(), 1);
    EXPECT_EQ (banks.getGrid().getSelectedSlot(), 40);
    EXPECT_TRUE (banks.getBankButton (1).isSelected());
}

TEST_F (DialogBanks, BankButtonListsThatBankAndAsksTheOwner)
{
    click (banks.getCategoryButton (3));
    ASSERT_EQ (banks.getGrid().getMode(), StsGrid::kListCategory);

    click (banks.getBankButton (6));
    EXPECT_EQ (banks.getGrid().getMode(), StsGrid::kListBank);
    EXPECT_EQ (banks.getGrid().getBank(), 6);
    EXPECT_EQ (spy.codes, std::vector<int> { BankComp::kSelectBank });
}

TEST_F (DialogBanks, CategoryButtonListsTheCategoryWithoutAnAction)
{
    // Give "User Bank 2" slot 7 a category nobody else has.
    auto record = rig.controller().getSlot (1, 7);
    record[ProgramDump::kCategoryOffset] = 25;
    for (int b = 0; b < 4; ++b)
        for (int s = 0; s < 99; ++s)
            if (rig.controller().getSlot (b, s)[ProgramDump::kCategoryOffset] == 25 && ! (b == 1 && s == 7))
            {
                auto other = rig.controller().getSlot (b, s);
                other[ProgramDump::kCategoryOffset] = 0;
                rig.controller().putSlot (b, s, other);
            }
    rig.controller().putSlot (1, 7, record);

    click (banks.getCategoryButton (25));

    EXPECT_EQ (banks.getGrid().getMode(), StsGrid::kListCategory);
    EXPECT_EQ (banks.getGrid().getFilterCategory(), 25);
    ASSERT_EQ (banks.getGrid().getRowCount(), 1);
    EXPECT_EQ (banks.getGrid().getRowBank (0), 1);
    EXPECT_EQ (banks.getGrid().getRowSlot (0), 7);
    EXPECT_TRUE (spy.codes.empty());
    EXPECT_EQ (banks.getActionCode(), 0);
}

TEST_F (DialogBanks, CommandButtonsSetTheirCodes)
{
    click (banks.getFileButton());
    click (banks.getMidiButton());
    click (banks.getPresetsButton());
    EXPECT_EQ (spy.codes, (std::vector<int> { 890, 891, 201 }));
}

// ---- Window buttons ----------------------------------------------------------------------------------

struct WinSpy : winToolListener
{
    void winToolClicked (WinMovCan*, int code) override { codes.push_back (code); }
    std::vector<int> codes;
};

struct WinCase
{
    const char* what;
    int variant;
    float pressX, releaseX, releaseY;
    std::vector<int> expected;
};

void PrintTo (const WinCase& c, std::ostream* os) { *os << c.what; }

class DialogWindowButtons : public ::testing::TestWithParam<WinCase>
{};

TEST_P (DialogWindowButtons, ClickCountsOnlyOnTheSameButton)
{
    const auto& c = GetParam();
    WinMovCan buttons (c.variant);
    WinSpy spy;
    buttons.addListener (&spy);

    Mouse mouse (buttons);
    mouse.press (c.pressX, 10.0f);
    mouse.release (c.releaseX, c.releaseY);

    EXPECT_EQ (spy.codes, c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P (
    Gestures, DialogWindowButtons,
    ::testing::Values (WinCase { "minimise", WinMovCan::kThreeButtons, 5.0f, 12.0f, 10.0f, { 120 } },
                       WinCase { "maximise", WinMovCan::kThreeButtons, 28.0f, 30.0f, 10.0f, { 121 } },
                       WinCase { "close", WinMovCan::kThreeButtons, 45.0f, 50.0f, 10.0f, { 122 } },
                       WinCase { "120 released over 121", WinMovCan::kThreeButtons, 5.0f, 28.0f, 10.0f, {} },
                       WinCase { "120 released below", WinMovCan::kThreeButtons, 5.0f, 5.0f, 40.0f, {} },
                       WinCase { "120 released left", WinMovCan::kThreeButtons, 5.0f, -3.0f, 10.0f, {} },
                       WinCase { "close-only anywhere", WinMovCan::kCloseOnly, 2.0f, 15.0f, 10.0f, { 122 } },
                       WinCase { "close-only released right", WinMovCan::kCloseOnly, 2.0f, 20.0f, 10.0f, {} }));

TEST (DialogWindowButtonsLook, SizesAndHighlight)
{
    WinMovCan strip (WinMovCan::kThreeButtons);
    WinMovCan closeOnly (WinMovCan::kCloseOnly);
    EXPECT_EQ (strip.getBounds(), juce::Rectangle<int> (0, 0, 54, 30));
    EXPECT_EQ (closeOnly.getBounds(), juce::Rectangle<int> (0, 0, 17, 30));

    Mouse mouse (strip);
    mouse.move (28.0f, 5.0f);
    EXPECT_EQ (strip.getHighlighted(), WinMovCan::kMaximise);
    mouse.move (40.0f, 5.0f);
    EXPECT_EQ (strip.getHighlighted(), WinMovCan::kClose);
    strip.mouseExit (juce::MouseEvent (juce::Desktop::getInstance().getMainMouseSource(), {}, {}, 0.0f, 0.0f, 0.0f,
                                       0.0f, 0.0f, &strip, &strip, juce::Time::getCurrentTime(), {},
                                       juce::Time::getCurrentTime(), 0, false));
    EXPECT_EQ (strip.getHighlighted(), WinMovCan::kNone);
}

// ---- Settings button and message box -----------------------------------------------------------------

TEST (DialogSettingsButton, ReleaseOnItAsksForTheLibrary)
{
    AppSetBarBut button;
    ChangeSpy spy (button, [&] { return button.getActionCode(); });
    Mouse mouse (button);

    mouse.press (18.0f, 18.0f);
    mouse.release (50.0f, 18.0f); // slid off: no click
    EXPECT_TRUE (spy.codes.empty());

    mouse.click (18.0f, 18.0f);
    EXPECT_EQ (spy.codes, std::vector<int> { AppSetBarBut::kOpenLibrary });
}

TEST (DialogMessageBox, CentredBoxAndItsButtons)
{
    MsgCont box ("Instrument not found", 1000, 600);
    ChangeSpy spy (box, [&] { return box.getResult(); });

    EXPECT_EQ (box.getBounds(), juce::Rectangle<int> (0, 0, 1000, 600));
    EXPECT_EQ (box.getBoxBounds(), juce::Rectangle<int> (270, 250, 460, 100));
    EXPECT_EQ (box.getOkButton().getBounds(), juce::Rectangle<int> (270 + 368, 250 + 64, 60, 24));
    EXPECT_EQ (box.getCancelButton().getBounds(), juce::Rectangle<int> (270 + 280, 250 + 64, 60, 24));
    EXPECT_FALSE (box.getCancelButton().isVisible());
    EXPECT_EQ (box.getText(), "Instrument not found");

    click (box.getOkButton());
    EXPECT_EQ (spy.codes, std::vector<int> { MsgCont::kOk });
}
} // namespace
