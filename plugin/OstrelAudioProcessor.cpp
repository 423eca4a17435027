#include "plugin/OstrelAudioProcessor.h"
#include "model/FactoryData.h"
#include "model/ParDes.h"
#include "plugin/OstrelAudioProcessorEditor.h"
#include "plugin/StateChunks.h"

#include <cmath>

namespace
{
constexpr int kSlots = ProgramDump::kProgramsPerBank;

// The build runs the plug-in once to write its LV2 manifest; that instance must not open the user's
// MIDI ports or rewrite the settings files.
MidiCntrState::Environment defaultEnvironment()
{
    MidiCntrState::Environment environment;
    environment.detached =
        juce::File::getSpecialLocation (juce::File::hostApplicationPath).getFileName().startsWith ("juce_lv2_helper");
    return environment;
}

// One host parameter. It keeps no value of its own: the controller's model is the value.
class HostParameter final : public juce::AudioProcessorParameterWithID
{
public:
    HostParameter (OstrelAudioProcessor& p, int hostIndex)
        : AudioProcessorParameterWithID (juce::ParameterID ("p" + juce::String (hostIndex).paddedLeft ('0', 3), 1),
                                         p.getHostParameterName (hostIndex)),
          processor (p),
          index (hostIndex),
          maximum (ParameterTable::get().maximum (ParameterTable::get().positionOfAutomationIndex (hostIndex)))
    {
        const int position = ParameterTable::get().positionOfAutomationIndex (hostIndex);
        if (position < ParameterTable::kProgramPositions && maximum > 0)
            defaultValue =
                juce::jlimit (0.0f, 1.0f, (float) FactoryData::basicProgram()[(size_t) position] / (float) maximum);
    }

    float getValue() const override { return processor.getHostParameterValue (index); }
    void setValue (float newValue) override { processor.setHostParameter (index, newValue); }
    // A host's "reset to default" gives the value of the default program.
    float getDefaultValue() const override { return defaultValue; }
    juce::String getName (int maximumLength) const override { return name.substring (0, maximumLength); }
    juce::String getLabel() const override { return {}; }
    int getNumSteps() const override { return juce::jmax (2, maximum + 1); }
    bool isDiscrete() const override { return true; }
    bool isAutomatable() const override { return true; }
    bool isMetaParameter() const override { return false; }

    juce::String getText (float normalised, int maximumLength) const override
    {
        // The current value reads exactly as the model holds it; other values as they would be set.
        const auto text =
            std::abs (normalised - getValue()) < 1.0e-6f
                ? processor.getHostParameterText (index)
                : processor.getHostParameterTextForRaw (index, OstrelAudioProcessor::toRaw (maximum, normalised));
        return text.substring (0, maximumLength);
    }

    float getValueForText (const juce::String& text) const override
    {
        for (int raw = 0; raw <= maximum; ++raw)
            if (processor.getHostParameterTextForRaw (index, raw) == text)
                return maximum > 0 ? (float) raw / (float) maximum : 0.0f;
        return maximum > 0 ? juce::jlimit (0.0f, 1.0f, text.getFloatValue() / (float) maximum) : 0.0f;
    }

private:
    OstrelAudioProcessor& processor;
    const int index, maximum;
    float defaultValue = 0.0f;
};
} // namespace

OstrelAudioProcessor::OstrelAudioProcessor() : OstrelAudioProcessor (defaultEnvironment()) {}

OstrelAudioProcessor::OstrelAudioProcessor (MidiCntrState::Environment environment)
    : AudioProcessor (BusesProperties()
                          .withInput ("Input", juce::AudioChannelSet::stereo(), true)
                          .withOutput ("Output", juce::AudioChannelSet::stereo(), true)),
      controller (environment)
{
    for (int i = 0; i < kNumHostParameters; ++i)
    {
        auto parameter = std::make_unique<HostParameter> (*this, i);
        hostParameters[(size_t) i] = parameter.get();
        addParameter (parameter.release());
    }

    setLatencySamples (0);
    controller.addCableListener (this);
    controller.addChangeListener (this);

    // The start-up program reaches the instrument now that the ports are open.
    if (! environment.detached)
        StateChunks::loadStartupProgram (controller, controller.getFolder().startupProgramFile());
    // What the instance starts with is no step to undo.
    controller.clearProgramHistory();
}

OstrelAudioProcessor::~OstrelAudioProcessor()
{
    // The MIDI input thread calls into this object (program changes with following on reach
    // cableValueChanged): it must be quiet before anything of ours goes.
    controller.stopInput();
    stopTimer();
    for (int h = 0; h < kNumHostParameters; ++h)
        closeGesture (h);
    controller.removeChangeListener (this);
    controller.removeCableListener (this);
}

// ---- Audio -----------------------------------------------------------------------------------------

void OstrelAudioProcessor::prepareToPlay (double sampleRate, int samplesPerBlock)
{
    controller.setPlaybackSettings (sampleRate, samplesPerBlock);
    setLatencySamples (0);
    const juce::ScopedLock sl (controller.getLock());
    controller.getHostQueue().clear();
}

void OstrelAudioProcessor::releaseResources()
{
    const juce::ScopedLock sl (controller.getLock());
    controller.getHostQueue().clear();
}

bool OstrelAudioProcessor::isBusesLayoutSupported (const BusesLayout& layouts) const
{
    return layouts.getMainInputChannelSet() == juce::AudioChannelSet::stereo() &&
           layouts.getMainOutputChannelSet() == juce::AudioChannelSet::stereo();
}

void OstrelAudioProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi)
{
    const int n = buffer.getNumSamples();
    {
        const juce::ScopedLock sl (controller.getLock());
        midi.clear(); // MIDI from the host never goes anywhere

        auto& queue = controller.getHostQueue();
        if (! queue.isEmpty() && n > 0)
        {
            // Everything queued since the last block lands in this one, its spacing squeezed to fit.
            const int first = queue.getFirstEventTime(), last = queue.getLastEventTime();
            const double scale = (double) n / (double) (last - first + 1);
            for (const auto metadata : queue)
            {
                const auto sample = (int) std::nearbyint (scale * (double) (metadata.samplePosition - first));
                midi.addEvent (metadata.data, metadata.numBytes, juce::jlimit (0, n - 1, sample));
            }
        }
        queue.clear();
    }

    for (auto channel = getTotalNumInputChannels(); channel < getTotalNumOutputChannels(); ++channel)
        buffer.clear (channel, 0, n);
}

juce::AudioProcessorEditor* OstrelAudioProcessor::createEditor() { return new OstrelAudioProcessorEditor (*this); }

// ---- Host parameters -------------------------------------------------------------------------------

int OstrelAudioProcessor::toRaw (int maximum, float normalised)
{
    // std::nearbyint rounds ties to even in the default rounding mode.
    return (int) std::nearbyint ((float) maximum * normalised);
}

juce::String OstrelAudioProcessor::getHostParameterName (int index) const
{
    return controller.getTable().automationName (index);
}

float OstrelAudioProcessor::getHostParameterValue (int index) const
{
    if (index < 0 || index >= kNumHostParameters)
        return 0.0f;
    const auto& table = controller.getTable();
    const int position = table.positionOfAutomationIndex (index);
    const int maximum = table.maximum (position);
    if (maximum <= 0)
        return 0.0f;
    // A byte above the maximum (an empty arpeggiator step holds 255) still reads inside 0..1.
    return juce::jlimit (0.0f, 1.0f, (float) controller.getValue (position) / (float) maximum);
}

juce::String OstrelAudioProcessor::getHostParameterText (int index) const
{
    if (index < 0 || index >= kNumHostParameters)
        return {};
    const int position = controller.getTable().positionOfAutomationIndex (index);
    return getHostParameterTextForRaw (index, controller.getValue (position));
}

juce::String OstrelAudioProcessor::getHostParameterTextForRaw (int index, int raw) const
{
    if (index < 0 || index >= kNumHostParameters)
        return {};

    const auto& table = controller.getTable();
    const int position = table.positionOfAutomationIndex (index);

    if (position < ParameterTable::kProgramPositions)
        return ParDes::valueText (table.displayType (position), raw);

    switch (position)
    {
        case ParameterTable::kProgramNumber:
        {
            if (! controller.followsProgramChange())
                return "Disabled";
            if (raw < 0 || raw > table.maximum (position))
                return {};
            const int bank = raw / kSlots, program = raw % kSlots;
            const auto name = controller.getSlotName (bank, program);
            if (bank < 4)
                return "U " + juce::String (bank + 1) + ": P " + juce::String (program + 1) + " " + name;
            return "F " + juce::String (bank - 3) + ": P " + juce::String (program + 1) + " " + name;
        }
        case ParameterTable::kSlider1:
        case ParameterTable::kSlider2:
        case ParameterTable::kSliderPress: return juce::String (raw);
        default: return raw != 0 ? "ON" : "OFF";
    }
}

void OstrelAudioProcessor::setHostParameter (int index, float normalised)
{
    if (index < 0 || index >= kNumHostParameters)
        return;

    const auto& table = controller.getTable();
    const int position = table.positionOfAutomationIndex (index);
    const int raw = toRaw (table.maximum (position), normalised);
    if (raw == controller.getValue (position))
        return;

    // Stores, transmits to the instrument and tells the editor; never back to the host.
    controller.setParameterValue (position, raw);
}

// ---- Edits from the editor and the instrument ------------------------------------------------------

void OstrelAudioProcessor::cableValueChanged (int position, int value, bool endGestureNow, bool sendToInstrument,
                                              bool notifyEditor)
{
    if (position < 0 || position >= ParameterTable::kNumPositions)
        return;

    // "Program No." -1 means no program is selected: nothing to load, send or report to the host
    // (whose value would read as the first program).
    if (position == ParameterTable::kProgramNumber && value < 0)
    {
        controller.storeValue (position, value);
        return;
    }

    const auto& table = controller.getTable();
    if (position < ParameterTable::kProgramPositions)
        controller.storeValue (position, value);

    const int maximum = table.maximum (position);
    const float normalised = maximum > 0 ? juce::jlimit (0.0f, 1.0f, (float) value / (float) maximum) : 0.0f;
    const int h = table.automationIndexOf (position);
    const bool hasHostParameter = h >= 0 && h < kNumHostParameters;

    bool gestureBegan = false;
    if (h >= 0 && h < kGestureFlags && gestureFlags[(size_t) h].exchange (1) == 0)
    {
        gestureBegan = true;
        if (hasHostParameter)
            hostParameters[(size_t) h]->beginChangeGesture();
    }

    if (hasHostParameter)
    {
        if (position < ParameterTable::kProgramPositions)
            hostParameters[(size_t) h]->sendValueChangedMessageToListeners (normalised); // already stored
        else
            hostParameters[(size_t) h]->setValueNotifyingHost (normalised); // stores the performance value
    }

    if (sendToInstrument)
        transmit (position, value);

    if (ParameterTable::hasAutomation (h))
    {
        if (endGestureNow)
        {
            closeGesture (h);
        }
        else if (gestureBegan)
        {
            const juce::ScopedLock sl (gestureLock);
            pendingGestureEnds.add (h);
        }
        startTimer (kGestureCloseMilliseconds); // a run of changes is one gesture, closed 200 ms after the last
    }

    if (notifyEditor)
        controller.postNotification (Notification::parameterChanged (position, value));
}

void OstrelAudioProcessor::transmit (int position, int value)
{
    // Program parameters go out as NRPN; "Program No." and the performance values take the same
    // road as a host change (store, select or send the controller, tell the editor).
    if (position < ParameterTable::kProgramPositions)
        controller.sendParameterNrpn (position, value);
    else
        controller.setParameterValue (position, value);
}

bool OstrelAudioProcessor::isGestureOpen (int hostIndex) const
{
    return juce::isPositiveAndBelow (hostIndex, kGestureFlags) && gestureFlags[(size_t) hostIndex] != 0;
}

void OstrelAudioProcessor::closeGesture (int h)
{
    if (! juce::isPositiveAndBelow (h, kGestureFlags) || gestureFlags[(size_t) h].exchange (0) == 0)
        return;
    // The gesture was one undo step; the next change of this parameter starts another.
    controller.closeEditStep (controller.getTable().positionOfAutomationIndex (h));
    if (h < kNumHostParameters)
        hostParameters[(size_t) h]->endChangeGesture();
}

void OstrelAudioProcessor::undoProgramEdit() { reportToHost (controller.undoProgramEdit()); }
void OstrelAudioProcessor::redoProgramEdit() { reportToHost (controller.redoProgramEdit()); }

void OstrelAudioProcessor::reportToHost (const std::vector<int>& positions)
{
    const auto& table = controller.getTable();
    for (auto position : positions)
    {
        const int h = table.automationIndexOf (position);
        if (! juce::isPositiveAndBelow (h, kNumHostParameters))
            continue;
        const int maximum = table.maximum (position);
        const float normalised =
            maximum > 0 ? juce::jlimit (0.0f, 1.0f, (float) controller.getValue (position) / (float) maximum) : 0.0f;
        // A gesture still open from the last drag of this parameter takes the value as it is.
        const bool began = gestureFlags[(size_t) h].exchange (1) == 0;
        if (began)
            hostParameters[(size_t) h]->beginChangeGesture();
        hostParameters[(size_t) h]->sendValueChangedMessageToListeners (normalised);
        if (began)
            closeGesture (h);
    }
}

void OstrelAudioProcessor::timerCallback()
{
    juce::Array<int> ending;
    {
        const juce::ScopedLock sl (gestureLock);
        ending.swapWith (pendingGestureEnds);
    }
    for (auto h : ending)
        closeGesture (h);
}

void OstrelAudioProcessor::changeListenerCallback (juce::ChangeBroadcaster* source)
{
    if (source != &controller)
        return;

    // Values turned on the instrument: the host and the editor hear of them, the instrument does not.
    for (auto entry : controller.takeReceivedNrpns())
        cableValueChanged (entry >> 16, entry & 0xFFFF, false, false, true);
}

// ---- Host programs and state -----------------------------------------------------------------------

int OstrelAudioProcessor::getCurrentProgram()
{
    if (controller.getCurrentSlot() < 0)
        controller.setCurrentSlot (0);
    return controller.getCurrentSlot();
}

void OstrelAudioProcessor::setCurrentProgram (int index)
{
    if (! juce::isPositiveAndBelow (index, kNumHostPrograms))
        return;
    controller.setCurrentSlot (index);
    controller.sendCurrentSlot();
}

const juce::String OstrelAudioProcessor::getProgramName (int index)
{
    return controller.getSlotName (MidiCntrState::kProgramBank, index);
}

void OstrelAudioProcessor::changeProgramName (int index, const juce::String& name)
{
    if (! juce::isPositiveAndBelow (index, kNumHostPrograms))
        return;
    controller.withBank (MidiCntrState::kProgramBank, [&] (Bank_Program& bank) {
        bank.setSlotName (index, name);
        return 0;
    });
    controller.setCurrentSlot (index);
    controller.sendCurrentSlot();
}

void OstrelAudioProcessor::getStateInformation (juce::MemoryBlock& dest)
{
    StateChunks::appendBankChunk (controller, dest);
}

void OstrelAudioProcessor::setStateInformation (const void* data, int size)
{
    // A whole chunk brings back the current program: the host's values and lanes follow it.
    if (StateChunks::restoreBankChunk (controller, data, (size_t) juce::jmax (0, size)))
        reportAllParameters();
    updateHostDisplay (ChangeDetails().withProgramChanged (true));
}

void OstrelAudioProcessor::getCurrentProgramStateInformation (juce::MemoryBlock& dest)
{
    StateChunks::appendProgramChunk (controller, dest);
}

void OstrelAudioProcessor::setCurrentProgramStateInformation (const void* data, int size)
{
    if (StateChunks::restoreProgramChunk (controller, data, (size_t) juce::jmax (0, size)))
        updateHostDisplay (ChangeDetails().withProgramChanged (true));
}

void OstrelAudioProcessor::reportAllParameters()
{
    for (int h = 0; h < kNumHostParameters; ++h)
        hostParameters[(size_t) h]->sendValueChangedMessageToListeners (getHostParameterValue (h));
}

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter() { return new OstrelAudioProcessor(); }
