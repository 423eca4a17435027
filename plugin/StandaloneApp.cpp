// The standalone app. The plug-in makes no sound and opens its own MIDI ports, so the app opens
// straight on the editor: no audio device, no audio settings and no "input is muted" banner. What a
// host would keep in its project (the 99 host programs and the current program) is kept in the
// app's settings between runs.
#include "plugin/OstrelAudioProcessor.h"

#include <juce_audio_plugin_client/juce_audio_plugin_client.h>
#include <juce_audio_utils/juce_audio_utils.h>

#if JucePlugin_Build_Standalone && JUCE_USE_CUSTOM_PLUGIN_STANDALONE_APP

namespace
{
constexpr const char* kStateKey = "pluginState";

class EditorWindow final : public juce::DocumentWindow
{
public:
    EditorWindow (const juce::String& title, juce::AudioProcessorEditor* editor)
        : DocumentWindow (title, juce::Colours::black, DocumentWindow::minimiseButton | DocumentWindow::closeButton)
    {
        setUsingNativeTitleBar (true);
        setContentOwned (editor, true);
        setResizable (false, false); // the editor's own corner resizes it
        centreWithSize (getWidth(), getHeight());
    }

    void closeButtonPressed() override { juce::JUCEApplication::getInstance()->systemRequestedQuit(); }
};

class OstrelStandaloneApp final : public juce::JUCEApplication
{
public:
    OstrelStandaloneApp()
    {
        juce::PropertiesFile::Options options;
        options.applicationName = getApplicationName();
        options.filenameSuffix = ".settings";
        options.osxLibrarySubFolder = "Application Support";
        options.folderName = "~/.config";
        properties.setStorageParameters (options);
    }

    const juce::String getApplicationName() override { return JucePlugin_Name; }
    const juce::String getApplicationVersion() override { return JucePlugin_VersionString; }
    bool moreThanOneInstanceAllowed() override { return true; }

    void initialise (const juce::String&) override
    {
        juce::PluginHostType::jucePlugInClientCurrentWrapperType = juce::AudioProcessor::wrapperType_Standalone;
        processor = juce::createPluginFilterOfType (juce::AudioProcessor::wrapperType_Standalone);

        juce::MemoryBlock state;
        if (auto* settings = properties.getUserSettings();
            settings != nullptr && state.fromBase64Encoding (settings->getValue (kStateKey)) && state.getSize() > 0)
            processor->setStateInformation (state.getData(), (int) state.getSize());

        window = std::make_unique<EditorWindow> (getApplicationName(), processor->createEditorIfNeeded());
        window->setVisible (true);
    }

    void shutdown() override
    {
        if (processor != nullptr)
        {
            juce::MemoryBlock state;
            processor->getStateInformation (state);
            if (auto* settings = properties.getUserSettings())
                settings->setValue (kStateKey, state.toBase64Encoding());
            properties.saveIfNeeded();
        }
        window.reset(); // deletes the editor before its processor
        processor.reset();
    }

    void systemRequestedQuit() override { quit(); }
    void anotherInstanceStarted (const juce::String&) override {}

private:
    juce::ApplicationProperties properties;
    std::unique_ptr<juce::AudioProcessor> processor;
    std::unique_ptr<EditorWindow> window;
};
} // namespace

juce::JUCEApplicationBase* juce_CreateApplication();
juce::JUCEApplicationBase* juce_CreateApplication() { return new OstrelStandaloneApp(); }

#endif
