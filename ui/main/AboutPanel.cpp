#include "ui/main/AboutPanel.h"

#include "ui/look/Skins.h"

namespace
{
constexpr int kPictureX = 34, kPictureY = 280, kPictureWidth = 389, kPictureHeight = 162;
} // namespace

AboutPanel::AboutPanel (const juce::String& version, int ownerWidth, int delayMilliseconds)
    : versionLine ("Version " + version),
      background (Skins::get ("about_background")),
      picture (Skins::get ("about_picture"))
{
    setSize (ownerWidth, kBoxY + kPictureY + kPictureHeight);
    if (delayMilliseconds > 0)
        startTimer (delayMilliseconds);
}

AboutPanel::~AboutPanel() { stopTimer(); }

void AboutPanel::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colour (0xAA000000));

    const auto box = boxOrigin();
    const juce::Rectangle<int> boxArea (box.x, box.y, kBoxWidth, kBoxHeight);
    if (background.isValid())
        g.drawImage (background, boxArea.toFloat(), juce::RectanglePlacement::stretchToFit);
    else
    {
        g.setColour (juce::Colour (0xFF1A1C1E));
        g.fillRoundedRectangle (boxArea.toFloat(), 8.0f);
    }

    g.setColour (juce::Colour (0xFFDDDDDD));
    g.setFont (versionFont);
    g.drawText (versionLine, box.x + 36, box.y + 100, 200, 30, juce::Justification::centredLeft, false);

    if (picture.isValid())
        g.drawImage (
            picture,
            juce::Rectangle<int> (box.x + kPictureX, box.y + kPictureY, kPictureWidth, kPictureHeight).toFloat(),
            juce::RectanglePlacement::stretchToFit);
}

void AboutPanel::mouseDown (const juce::MouseEvent&) { sendSynchronousChangeMessage(); }

void AboutPanel::timerCallback()
{
    stopTimer();
    // Last: the owner deletes the panel in answer.
    sendSynchronousChangeMessage();
}
