#pragma once

#include "ui/main/MainComp.h"

#include <juce_audio_processors/juce_audio_processors.h>

class OstrelAudioProcessor;

// The editor shell: the main component fills it, a corner resizes it within the sizes the panel can
// be drawn at, and it takes the main component's size whenever that one asks (its zoom).
class OstrelAudioProcessorEditor : public juce::AudioProcessorEditor, public juce::ChangeListener
{
public:
    static constexpr int kMinWidth = 454, kMaxWidth = 4000;
    static constexpr int kMinHeight = 298, kMaxHeight = 1082;
    static constexpr int kCornerSize = 22;
    static constexpr int kTooltipDelayMilliseconds = 200;

    explicit OstrelAudioProcessorEditor (OstrelAudioProcessor&);
    ~OstrelAudioProcessorEditor() override;

    void paint (juce::Graphics&) override;
    void resized() override;
    void changeListenerCallback (juce::ChangeBroadcaster* source) override;
    // With nothing inside focused, the keys reach the shell: its shortcuts are the main component's.
    bool keyPressed (const juce::KeyPress& key) override { return mainComp.keyPressed (key); }

    MainComp& getMainComp() noexcept { return mainComp; }

private:
    juce::TooltipWindow tooltipWindow { this, kTooltipDelayMilliseconds };
    MainComp mainComp;
    juce::ComponentBoundsConstrainer constrainer;
    juce::ResizableCornerComponent resizeCorner { this, &constrainer };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OstrelAudioProcessorEditor)
};
