#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class OstrelAudioProcessor;

// The editor's main component. For now it shows the instrument's name plate and the program being
// edited; the panels of the editor take their places in it. It broadcasts a change when it wants the
// editor window to take a new size.
class MainComp : public juce::Component, public juce::ChangeBroadcaster, private juce::Timer
{
public:
    static constexpr int kDefaultWidth = 1200, kDefaultHeight = 730;

    explicit MainComp (OstrelAudioProcessor& processor);
    ~MainComp() override;

    void paint (juce::Graphics& g) override;

private:
    void timerCallback() override;

    OstrelAudioProcessor& processor;
    juce::String programName;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MainComp)
};
