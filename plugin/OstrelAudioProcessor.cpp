#include "plugin/OstrelAudioProcessor.h"
#include "plugin/OstrelAudioProcessorEditor.h"

OstrelAudioProcessor::OstrelAudioProcessor()
    : AudioProcessor (BusesProperties()
                          .withInput ("Input", juce::AudioChannelSet::stereo(), true)
                          .withOutput ("Output", juce::AudioChannelSet::stereo(), true))
{
    setLatencySamples (0);
}

const juce::String OstrelAudioProcessor::getName() const
{
    return "Prophet 12 Ostrel";
}

void OstrelAudioProcessor::prepareToPlay (double, int)
{
    setLatencySamples (0);
}

void OstrelAudioProcessor::releaseResources() {}

bool OstrelAudioProcessor::isBusesLayoutSupported (const BusesLayout& layouts) const
{
    return layouts.getMainInputChannelSet() == juce::AudioChannelSet::stereo()
        && layouts.getMainOutputChannelSet() == juce::AudioChannelSet::stereo();
}

void OstrelAudioProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi)
{
    // MIDI from the host never reaches the instrument, and the plug-in makes no sound of its own.
    midi.clear();
    for (auto channel = getTotalNumInputChannels(); channel < getTotalNumOutputChannels(); ++channel)
        buffer.clear (channel, 0, buffer.getNumSamples());
}

juce::AudioProcessorEditor* OstrelAudioProcessor::createEditor()
{
    return new OstrelAudioProcessorEditor (*this);
}

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new OstrelAudioProcessor();
}
