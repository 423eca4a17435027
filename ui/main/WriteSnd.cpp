#include "ui/main/WriteSnd.h"

#include "midi/MidiCntrState.h"
#include "midi/Transfers.h"
#include "model/ParDes.h"

namespace
{
const juce::Colour kBackground { 0xFF141414 };

// Layout of the dialog, in pixels; it is not scaled.
constexpr int kBankButtonX = 102, kBankButtonY = 80, kBankButtonStep = 36;
constexpr int kButtonWidth = 70, kButtonHeight = 18;
constexpr int kDisplayX = 202, kDisplayY = 18;
constexpr int kGridX = 202, kGridY = 74, kGridWidth = 350, kGridTopMargin = 80;
constexpr int kActionX = 582, kCancelFromBottom = 54, kWriteFromBottom = 18;
constexpr int kRenameDx = 72, kRenameDy = 10;

constexpr int kRowHeight = 46;
constexpr int kScrollBarWidth = 32;
constexpr float kGridFontHeight = 14.0f;

int clampBank (int bank) { return juce::jlimit (0, MidiCntrState::kBanks - 1, bank); }
int clampSlot (int slot) { return juce::jlimit (0, ProgramDump::kProgramsPerBank - 1, slot); }
} // namespace

WriteSnd::WriteSnd (MidiCntrState& controllerState, int bank, int slot, const juce::String& programName,
                    int programCategory)
    : state (controllerState), category (programCategory), grid (controllerState)
{
    for (int b = 0; b < kUserBanks; ++b)
    {
        auto& button = bankButtons[static_cast<size_t> (b)];
        button = std::make_unique<StsBut> ("BANK U" + juce::String (b + 1), b, StsBut::kFunctionStyle);
        button->setup (kBankButtonX, kBankButtonY + kBankButtonStep * b, kButtonWidth, kButtonHeight);
        button->addListener (this);
        addAndMakeVisible (*button);
    }

    writeButton.setup (kActionX, 0, kButtonWidth, kButtonHeight, false);
    cancelButton.setup (kActionX, 0, kButtonWidth, kButtonHeight, false);
    addAndMakeVisible (cancelButton);
    addAndMakeVisible (writeButton);

    grid.setColumnWidths (50, 140, 100, 0);
    grid.setRowHeight (kRowHeight);
    grid.setFontHeight (kGridFontHeight);
    grid.setScrollBarWidth (kScrollBarWidth);
    grid.addListener (this);
    addAndMakeVisible (grid);

    display.setScale (1.0f);
    display.setTopLeftPosition (kDisplayX, kDisplayY);
    display.addChangeListener (this);
    addAndMakeVisible (display);

    // The list opens on the bank the program lives in, even a factory bank; the bank buttons only
    // lead to the user banks.
    bank = clampBank (bank);
    slot = clampSlot (slot);
    grid.showBank (bank);
    grid.selectSlot (bank, slot);
    name = programName.substring (0, ProgramDump::kNameLength).paddedRight (' ', ProgramDump::kNameLength);
    showDestination (bank, slot);
    display.setProgramName (name);
    display.setCategory (category, ParDes::categoryText (category));
    markBankButtons();
}

WriteSnd::~WriteSnd()
{
    closeRenameBox();
    display.removeChangeListener (this);
    grid.removeListener (this);
    for (auto& button : bankButtons)
        button->removeListener (this);
}

void WriteSnd::setProgramName (const juce::String& text)
{
    name = text.substring (0, ProgramDump::kNameLength).paddedRight (' ', ProgramDump::kNameLength);
    display.setProgramName (name);
}

void WriteSnd::setCategory (int newCategory)
{
    category = newCategory;
    display.setCategory (category, ParDes::categoryText (category));
}

// The display describes the destination: its location, and the A/B mode and arpeggiator mark of
// the program stored there now.
void WriteSnd::showDestination (int bank, int slot)
{
    const auto [abText, arpText] = state.withBank (
        bank, [slot] (Bank_Program& b) { return std::make_pair (b.slotABText (slot), b.slotArpMark (slot)); });
    display.setProgram (bank, slot, category, name, ParDes::categoryText (category), abText, arpText);
}

void WriteSnd::markBankButtons()
{
    for (int b = 0; b < kUserBanks; ++b)
        bankButtons[static_cast<size_t> (b)]->setSelected (grid.getMode() == StsGrid::kListBank && grid.getBank() == b);
}

WriteSnd::Written WriteSnd::performWrite()
{
    Written written;
    written.bank = getBank();
    written.slot = getSlot();
    written.name = name;
    written.category = category;
    written.done = Transfers::writeCurrentProgram (state, written.bank, written.slot, name, category);
    if (written.done)
        grid.refresh();
    return written;
}

// ---- Rename box ------------------------------------------------------------------------------------

void WriteSnd::openRenameBox()
{
    if (renameBox != nullptr)
        return;
    renameBox = std::make_unique<RenameCnt> (display.getX() + kRenameDx, display.getY() + kRenameDy,
                                             name.substring (0, ProgramDump::kNameLength));
    renameBox->getOkButton().addListener (this);
    renameBox->getCancelButton().addListener (this);
    addAndMakeVisible (*renameBox);
    if (renameBox->getEditor().isShowing())
        renameBox->getEditor().grabKeyboardFocus();
}

void WriteSnd::closeRenameBox()
{
    if (renameBox == nullptr)
        return;
    renameBox->getOkButton().removeListener (this);
    renameBox->getCancelButton().removeListener (this);
    removeChildComponent (renameBox.get());
    renameBox.reset(); // the box's buttons bail out of their click safely
}

// ---- Events ----------------------------------------------------------------------------------------

void WriteSnd::stsButClicked (StsBut* button)
{
    if (renameBox != nullptr && button == &renameBox->getOkButton())
    {
        setProgramName (renameBox->getText());
        closeRenameBox();
        sendChangeMessage();
        return;
    }
    if (renameBox != nullptr && button == &renameBox->getCancelButton())
    {
        closeRenameBox();
        return;
    }

    for (int b = 0; b < kUserBanks; ++b)
        if (button == bankButtons[static_cast<size_t> (b)].get())
        {
            grid.showBank (b);
            markBankButtons();
            return;
        }
}

void WriteSnd::gridChanged (StsGrid* source)
{
    if (source->getActionCode() != StsGrid::kRowChosen || source->getSelectedRow() < 0)
        return;
    showDestination (source->getSelectedBank(), source->getSelectedSlot());
}

void WriteSnd::changeListenerCallback (juce::ChangeBroadcaster* source)
{
    if (source == &display && display.getClickedRegion() == LCD_Comp::kNameRegion)
        openRenameBox();
}

// ---- Look ------------------------------------------------------------------------------------------

void WriteSnd::resized()
{
    // Whole rows only, so the list never shows half a program.
    const int gridHeight = juce::jmax (0, (getHeight() - kGridTopMargin) / kRowHeight * kRowHeight);
    grid.setBounds (kGridX, kGridY, kGridWidth, gridHeight);
    cancelButton.setBounds (kActionX, kGridY + gridHeight - kCancelFromBottom, kButtonWidth, kButtonHeight);
    writeButton.setBounds (kActionX, kGridY + gridHeight - kWriteFromBottom, kButtonWidth, kButtonHeight);
}

void WriteSnd::paint (juce::Graphics& g) { g.fillAll (kBackground); }
