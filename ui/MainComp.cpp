#include "ui/MainComp.h"
#include "plugin/OstrelAudioProcessor.h"

MainComp::MainComp (OstrelAudioProcessor& p) : processor (p)
{
    setSize (kDefaultWidth, kDefaultHeight);
    startTimerHz (10);
}

MainComp::~MainComp() { stopTimer(); }

void MainComp::timerCallback()
{
    auto record = processor.getController().getCurrentProgram();
    const auto name = ProgramDump::readName (record.data(), ProgramDump::NameVariant::slot);
    if (name != programName)
    {
        programName = name;
        repaint();
    }
}

void MainComp::paint (juce::Graphics& g)
{
    const auto bounds = getLocalBounds().toFloat();
    g.setGradientFill (juce::ColourGradient (juce::Colour (0xff26282b), 0.0f, 0.0f, juce::Colour (0xff0d0e10), 0.0f,
                                             bounds.getHeight(), false));
    g.fillAll();

    // The wooden end cheeks and the name plate of the instrument.
    const float cheek = juce::jmax (12.0f, bounds.getWidth() * 0.025f);
    g.setColour (juce::Colour (0xff5a3a22));
    g.fillRect (bounds.withWidth (cheek));
    g.fillRect (bounds.withLeft (bounds.getRight() - cheek));

    auto plate = bounds.reduced (cheek + 20.0f, 20.0f).withHeight (60.0f);
    g.setColour (juce::Colour (0xffd8d8d8));
    g.setFont (juce::Font ("Arial", 30.0f, juce::Font::bold));
    g.drawText ("PROPHET 12", plate, juce::Justification::centredLeft);
    g.setFont (juce::Font ("Arial", 14.0f, juce::Font::plain));
    g.setColour (juce::Colour (0xff9aa0a6));
    g.drawText ("EDITOR & LIBRARIAN", plate.withTrimmedLeft (230.0f), juce::Justification::centredLeft);

    auto lcd = juce::Rectangle<float> (0.0f, 0.0f, 360.0f, 56.0f).withCentre (bounds.getCentre());
    g.setColour (juce::Colour (0xff0b1a2a));
    g.fillRoundedRectangle (lcd, 6.0f);
    g.setColour (juce::Colour (0xff3d8fe0));
    g.drawRoundedRectangle (lcd, 6.0f, 1.5f);
    g.setFont (juce::Font ("Arial", 22.0f, juce::Font::plain));
    g.setColour (juce::Colour (0xff9fd0ff));
    g.drawText (programName.isNotEmpty() ? programName : juce::String ("- no program -"), lcd,
                juce::Justification::centred);
}
