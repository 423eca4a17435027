#include "plugin/OstrelAudioProcessorEditor.h"
#include "plugin/OstrelAudioProcessor.h"
#include "plugin/XErrorGuard.h"

OstrelAudioProcessorEditor::OstrelAudioProcessorEditor (OstrelAudioProcessor& p)
    : AudioProcessorEditor (p), mainComp (p)
{
    // Before the host gives the editor a window, and before any menu or library window of ours.
    XErrorGuard::install();
    addAndMakeVisible (mainComp);
    mainComp.addChangeListener (this);
    addAndMakeVisible (resizeCorner);
    constrainer.setSizeLimits (kMinWidth, kMinHeight, kMaxWidth, kMaxHeight);
    setConstrainer (&constrainer);
    setSize (mainComp.getWidth(), mainComp.getHeight());
}

OstrelAudioProcessorEditor::~OstrelAudioProcessorEditor() { mainComp.removeChangeListener (this); }

void OstrelAudioProcessorEditor::paint (juce::Graphics& g) { g.fillAll (juce::Colours::black); }

void OstrelAudioProcessorEditor::resized()
{
    mainComp.setBounds (getLocalBounds());
    resizeCorner.setBounds (getWidth() - kCornerSize, getHeight() - kCornerSize, kCornerSize, kCornerSize);
}

void OstrelAudioProcessorEditor::changeListenerCallback (juce::ChangeBroadcaster* source)
{
    if (source == &mainComp)
        setSize (mainComp.getWidth(), mainComp.getHeight());
}
