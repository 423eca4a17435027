#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

class OstrelAudioProcessor;

// The editor shell: a black frame with a resize corner, limited to the sizes the panel can be drawn at.
class OstrelAudioProcessorEditor : public juce::AudioProcessorEditor
{
public:
    explicit OstrelAudioProcessorEditor (OstrelAudioProcessor&);
    ~OstrelAudioProcessorEditor() override = default;

    void paint (juce::Graphics&) override;
    void resized() override;

    static constexpr int kMinWidth = 454, kMaxWidth = 4000;
    static constexpr int kMinHeight = 298, kMaxHeight = 1082;
    static constexpr int kCornerSize = 22;

private:
    juce::TooltipWindow tooltipWindow { this, 200 };
    juce::ComponentBoundsConstrainer constrainer;
    juce::ResizableCornerComponent resizeCorner { this, &constrainer };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OstrelAudioProcessorEditor)
};
