#include "ui/editor/AppBar.h"

namespace
{
constexpr int kPageButtonWidth = 59, kPageButtonHeight = 16, kPageButtonY = 32;
constexpr int kFunctionButtonWidth = 46, kFunctionButtonHeight = 16, kFunctionButtonY = 3;
constexpr float kButtonFont = 11.0f;
constexpr int kChannelX = 322 + 8, kChannelY = 4, kChannelWidth = 56, kChannelHeight = 15;
} // namespace

AppBar::AppBar()
{
    for (int i = 0; i < kNumPageButtons; ++i)
    {
        auto* b = pageButtons.add (new StsBut (kPageButtons[i].text, kPageButtons[i].id, StsBut::kPageStyle));
        b->setFontHeight (kButtonFont);
        b->setup (kPageButtonWidth * i, kPageButtonY, kPageButtonWidth, kPageButtonHeight);
        addAndMakeVisible (b);
    }
    for (int i = 0; i < kNumFunctionButtons; ++i)
    {
        auto* b =
            functionButtons.add (new StsBut (kFunctionButtons[i].text, kFunctionButtons[i].id, StsBut::kFunctionStyle));
        b->setFontHeight (kButtonFont);
        b->setup (kFunctionButtonWidth * i, kFunctionButtonY, kFunctionButtonWidth, kFunctionButtonHeight);
        addAndMakeVisible (b);
    }

    channelLabel.setup ("Chan: 1", "Arial", 12.0f);
    channelLabel.setFrame (2, juce::Colours::black, juce::Colour (0xFF9F9F9F));
    channelLabel.setBounds (kChannelX, kChannelY, kChannelWidth, kChannelHeight);
    addAndMakeVisible (channelLabel);

    addChildComponent (windowButton); // starts hidden
    setSize (kWidth, kHeight);
}

StsBut* AppBar::findFunctionButton (int id) const
{
    for (auto* b : functionButtons)
        if (b->getId() == id)
            return b;
    return nullptr;
}

void AppBar::setChannel (int channel) { channelLabel.setText ("Chan: " + juce::String (channel)); }

void AppBar::resized() { windowButton.setBounds (getWidth() - 60, 4, 54, 22); }

void AppBar::mouseDrag (const juce::MouseEvent& e)
{
    code = kDragCode;
    dragPosition = e.getScreenPosition();
    sendSynchronousChangeMessage();
}
