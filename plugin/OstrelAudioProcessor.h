#pragma once

#include "library/FileDialogs.h"
#include "midi/MidiCntrState.h"
#include "ui/look/StsResor.h"

#include <juce_audio_processors/juce_audio_processors.h>

// What the host loads. It produces no audio of its own: it exposes the instrument's parameters as
// 624 host parameters, the 99 slots of the "Program Bank" as host programs and its state as chunks,
// and routes every change three ways: host automation to the instrument, editor edits to the host
// and the instrument, and instrument edits to the host and the editor. The host's MIDI output
// carries only the modulation wheel.
class OstrelAudioProcessor : public juce::AudioProcessor,
                             public juce::ChangeListener,
                             public CableListener,
                             public juce::Timer,
                             public juce::ChangeBroadcaster
{
public:
    static constexpr int kNumHostParameters = ParameterTable::kNumAutomation;
    static constexpr int kNumHostPrograms = Bank_Program::kSlots;
    static constexpr int kGestureFlags = 2000;
    static constexpr int kGestureCloseMilliseconds = 200;

    OstrelAudioProcessor();
    explicit OstrelAudioProcessor (MidiCntrState::Environment environment);
    ~OstrelAudioProcessor() override;

    MidiCntrState& getController() noexcept { return controller; }
    // The knob and key pictures every editor shares; the editor loads them when it opens.
    StsResor& getSkin() noexcept { return skin; }

    // What the editor keeps between one opening and the next (message thread only): its geometry,
    // read from and written to the geometry file, the work area of the monitor it was last zoomed
    // on, and whether the about panel has been shown during this processor's life.
    struct EditorState
    {
        SettingsFiles::EditorGeometry geometry;
        juce::Rectangle<int> workArea;
        bool aboutShown = false;
        // The file dialogs every editor command goes through: the system's unless a test gives its
        // own.
        std::shared_ptr<FileDialogs> fileDialogs = FileDialogs::createNative();
    };
    EditorState& getEditorState() noexcept { return editorState; }

    // ---- juce::AudioProcessor -------------------------------------------------------------------
    const juce::String getName() const override { return "Prophet 12 Ostrel"; }
    void prepareToPlay (double sampleRate, int samplesPerBlock) override;
    void releaseResources() override;
    bool isBusesLayoutSupported (const BusesLayout& layouts) const override;
    void processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override;
    using AudioProcessor::processBlock;
    void reset() override {}

    bool acceptsMidi() const override { return true; }
    bool producesMidi() const override { return true; }
    bool isMidiEffect() const override { return false; }
    bool silenceInProducesSilenceOut() const override { return false; }
    double getTailLengthSeconds() const override { return 0.0; }

    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override { return true; }

    int getNumPrograms() override { return kNumHostPrograms; }
    int getCurrentProgram() override;
    void setCurrentProgram (int index) override;
    const juce::String getProgramName (int index) override;
    void changeProgramName (int index, const juce::String& name) override;

    void getStateInformation (juce::MemoryBlock& dest) override;
    void setStateInformation (const void* data, int size) override;
    void getCurrentProgramStateInformation (juce::MemoryBlock& dest) override;
    void setCurrentProgramStateInformation (const void* data, int size) override;

    // ---- The host's view of the parameters, by host index 0..623 ---------------------------------
    juce::String getHostParameterName (int index) const;
    float getHostParameterValue (int index) const;
    juce::String getHostParameterText (int index) const;
    juce::String getHostParameterTextForRaw (int index, int raw) const;
    // A normalised value from the host: converted in single precision to the nearest integer (ties
    // to even) and sent only when it differs from the stored value.
    void setHostParameter (int index, float normalised);

    // Rounds like the host mapping does: single precision, nearest, ties to even.
    static int toRaw (int maximum, float normalised);

    // ---- Edits from the editor and the instrument ------------------------------------------------
    void cableValueChanged (int position, int value, bool endGestureNow, bool sendToInstrument,
                            bool notifyEditor) override;
    void changeListenerCallback (juce::ChangeBroadcaster* source) override;
    void timerCallback() override;

    bool isGestureOpen (int hostIndex) const;

    // ---- Undo history of the current program (message thread) -----------------------------------
    // Restores, shows and sends the program as it was before the last step (after, for redo) and
    // reports every changed host parameter as one gesture of its own.
    void undoProgramEdit();
    void redoProgramEdit();

private:
    // Tells the host every parameter's value, as after a restore that replaced the whole program.
    void reportAllParameters();
    void closeGesture (int hostIndex);
    void transmit (int position, int value);
    void reportToHost (const std::vector<int>& positions);

    MidiCntrState controller;
    std::array<std::atomic<uint8_t>, kGestureFlags> gestureFlags {};
    juce::CriticalSection gestureLock;
    juce::Array<int> pendingGestureEnds;
    std::array<juce::AudioProcessorParameter*, kNumHostParameters> hostParameters {};
    StsResor skin;
    EditorState editorState;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OstrelAudioProcessor)
};
