#include "ui/main/BankComp.h"

#include "midi/MidiCntrState.h"
#include "model/ParDes.h"
#include "ui/look/Skins.h"

namespace
{
const juce::Colour kBackground { 0xFF141414 };

// Layout of the panel, in pixels; it is not scaled.
constexpr int kButtonWidth = 70, kButtonHeight = 18;
constexpr int kBankButtonX = 102, kTopY = 50, kButtonStep = 36;
constexpr int kCommandY = 20, kFileX = 202, kMidiX = 280, kPresetsX = 358;
constexpr int kGridX = 202, kGridWidth = 350, kGridMargin = 60;
constexpr int kCategoryX = 582, kCategoryStepX = 78, kCategoryColumns = 4;
constexpr int kOkX = 816, kOkOffset = 38; // "OK" sits at y = list height + 38
constexpr int kRowHeight = 46;
constexpr int kScrollBarWidth = 32;
constexpr float kGridFontHeight = 14.0f;

const juce::Rectangle<float> kLogoArea { 600.0f, 320.0f, 275.0f, 43.0f };
const juce::Rectangle<float> kBadgeArea { 698.0f, 380.0f, 73.0f, 36.0f };
constexpr float kBadgeOpacity = 0.61f;

juce::String bankButtonText (int bank)
{
    return bank < 4 ? "BANK U" + juce::String (bank + 1) : "BANK F" + juce::String (bank - 3);
}
} // namespace

BankComp::BankComp (MidiCntrState& controllerState)
    : state (controllerState), grid (controllerState), logo (Skins::get ("logo")), badge (Skins::get ("badge"))
{
    for (int b = 0; b < kBankButtons; ++b)
    {
        auto& button = bankButtons[static_cast<size_t> (b)];
        button = std::make_unique<StsBut> (bankButtonText (b), b, StsBut::kFunctionStyle);
        button->setup (kBankButtonX, kTopY + kButtonStep * b, kButtonWidth, kButtonHeight);
        button->addListener (this);
        addAndMakeVisible (*button);
    }

    fileButton.setup (kFileX, kCommandY, kButtonWidth, kButtonHeight);
    midiButton.setup (kMidiX, kCommandY, kButtonWidth, kButtonHeight);
    presetsButton.setup (kPresetsX, kCommandY, kButtonWidth, kButtonHeight);
    okButton.setup (kOkX, 0, kButtonWidth, kButtonHeight, false);
    for (auto* button : { &fileButton, &midiButton, &presetsButton })
    {
        button->addListener (this);
        addAndMakeVisible (*button);
    }
    addAndMakeVisible (okButton);

    // Category 0 ("- Not Assigned -") would not fit a button. The last two buttons exist but stay
    // hidden: the instrument has 26 categories.
    for (int k = 0; k < kCategoryButtons; ++k)
    {
        auto& button = categoryButtons[static_cast<size_t> (k)];
        button = std::make_unique<StsBut> (k == 0 ? juce::String ("-----") : ParDes::categoryText (k), 300 + k,
                                           StsBut::kFunctionStyle);
        button->setup (kCategoryX + kCategoryStepX * (k % kCategoryColumns),
                       kTopY + kButtonStep * (k / kCategoryColumns), kButtonWidth, kButtonHeight);
        button->addListener (this);
        if (k < kShownCategoryButtons)
            addAndMakeVisible (*button);
        else
            addChildComponent (*button);
    }

    grid.setColumnWidths (50, 140, 100, 0);
    grid.setRowHeight (kRowHeight);
    grid.setFontHeight (kGridFontHeight);
    grid.setScrollBarWidth (kScrollBarWidth);
    addAndMakeVisible (grid);

    showCurrentBank();
}

BankComp::~BankComp()
{
    for (auto& button : bankButtons)
        button->removeListener (this);
    for (auto& button : categoryButtons)
        button->removeListener (this);
    for (auto* button : { &fileButton, &midiButton, &presetsButton })
        button->removeListener (this);
}

void BankComp::showCurrentBank()
{
    const int bank = state.getCurrentBank();
    grid.showBank (bank);
    grid.selectSlot (bank, state.getCurrentProgramNumber());
    markBankButtons();
}

void BankComp::markBankButtons()
{
    for (int b = 0; b < kBankButtons; ++b)
        bankButtons[static_cast<size_t> (b)]->setSelected (grid.getMode() == StsGrid::kListBank && grid.getBank() == b);
}

void BankComp::announce (int code)
{
    actionCode = code;
    sendSynchronousChangeMessage();
}

void BankComp::stsButClicked (StsBut* button)
{
    for (int b = 0; b < kBankButtons; ++b)
        if (button == bankButtons[static_cast<size_t> (b)].get())
        {
            grid.showBank (b);
            markBankButtons();
            announce (kSelectBank);
            return;
        }

    for (int k = 0; k < kCategoryButtons; ++k)
        if (button == categoryButtons[static_cast<size_t> (k)].get())
        {
            // Only the list changes: the owner has nothing to do.
            grid.setRows (StsGrid::kListCategory, k);
            markBankButtons();
            return;
        }

    if (button == &fileButton)
        announce (kFileMenu);
    else if (button == &midiButton)
        announce (kMidiMenu);
    else if (button == &presetsButton)
        announce (kPresetsMenu);
}

void BankComp::resized()
{
    // Whole rows only.
    const int gridHeight = juce::jmax (0, (getHeight() - kGridMargin) / kRowHeight * kRowHeight);
    grid.setBounds (kGridX, kTopY, kGridWidth, gridHeight);
    okButton.setBounds (kOkX, gridHeight + kOkOffset, kButtonWidth, kButtonHeight);
}

void BankComp::paint (juce::Graphics& g)
{
    g.fillAll (kBackground);
    if (logo.isValid())
        g.drawImage (logo, kLogoArea, juce::RectanglePlacement::stretchToFit);
    if (badge.isValid())
    {
        g.setOpacity (kBadgeOpacity);
        g.drawImage (badge, kBadgeArea, juce::RectanglePlacement::stretchToFit);
        g.setOpacity (1.0f);
    }
}
