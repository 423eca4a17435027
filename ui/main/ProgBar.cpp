#include "ui/main/ProgBar.h"

namespace
{
constexpr int kTrackWidth = 384, kTrackHeight = 24;
constexpr int kPixelsPerStep = 3;
} // namespace

ProgBar::ProgBar (int ownerWidth, int ownerHeight)
{
    for (auto* bar : { &track, &fill })
    {
        // Plain faces: the bar only shows, the overlay itself takes the clicks.
        bar->setInterceptsMouseClicks (false, false);
        bar->setWantsKeyboardFocus (false);
        addAndMakeVisible (bar);
    }
    track.setColour (juce::TextButton::buttonColourId, juce::Colour (0xFF767681));
    track.setColour (juce::TextButton::buttonOnColourId, juce::Colour (0xFF9B9BA6));
    fill.setColour (juce::TextButton::buttonColourId, juce::Colour (0xFF37A6C8));
    fill.setColour (juce::TextButton::buttonOnColourId, juce::Colour (0xFF113F48));

    caption.setFont (juce::Font ("Arial", 18.0f, juce::Font::bold));
    caption.setJustificationType (juce::Justification::centred);
    caption.setColour (juce::Label::textColourId, juce::Colour (0xFFFCF5F5));
    caption.setInterceptsMouseClicks (false, false);
    addAndMakeVisible (caption);

    addAndMakeVisible (cancel);
    setSize (ownerWidth, ownerHeight);
}

juce::Point<int> ProgBar::boxOrigin() const noexcept
{
    return { (getWidth() - kBoxWidth) / 2, (getHeight() - kBoxHeight) / 2 };
}

void ProgBar::resized()
{
    const auto box = boxOrigin();
    track.setBounds (box.x, box.y, kTrackWidth, kTrackHeight);
    fill.setBounds (box.x, box.y, kPixelsPerStep * value, kTrackHeight);
    fill.setVisible (value > 0);
    caption.setBounds (box.x, box.y + 40, 88, 24);
    cancel.setup (box.x + 319, box.y + 40, 60, 24);
}

void ProgBar::setProgress (int newValue, const juce::String& text)
{
    value = juce::jlimit (kMinimum, kMaximum, newValue);
    caption.setText (text, juce::dontSendNotification);
    resized();
}

void ProgBar::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colour (0xAA000000));

    const auto box = boxOrigin();
    g.setColour (juce::Colour (0xFF050606));
    g.drawRoundedRectangle (juce::Rectangle<int> (box.x, box.y, kTrackWidth, kTrackHeight).toFloat().expanded (3.0f),
                            4.0f, 3.0f);
    g.drawRoundedRectangle (caption.getBounds().toFloat().expanded (3.0f), 4.0f, 3.0f);
    g.setColour (juce::Colours::black);
    g.fillRect (cancel.getBounds().expanded (2));
}
