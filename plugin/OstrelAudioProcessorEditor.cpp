#include "plugin/OstrelAudioProcessorEditor.h"
#include "plugin/OstrelAudioProcessor.h"

OstrelAudioProcessorEditor::OstrelAudioProcessorEditor (OstrelAudioProcessor& p)
    : AudioProcessorEditor (p)
{
    constrainer.setSizeLimits (kMinWidth, kMinHeight, kMaxWidth, kMaxHeight);
    addAndMakeVisible (resizeCorner);
    setSize (1000, 560);
}

void OstrelAudioProcessorEditor::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::black);
    g.setColour (juce::Colours::white);
    g.setFont (juce::Font ("Arial", 18.0f, juce::Font::plain));
    g.drawText ("Prophet 12 Ostrel", getLocalBounds(), juce::Justification::centred);
}

void OstrelAudioProcessorEditor::resized()
{
    resizeCorner.setBounds (getWidth() - kCornerSize, getHeight() - kCornerSize, kCornerSize, kCornerSize);
}
