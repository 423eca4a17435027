// Loads the built VST3 and LV2 bundles the way a host does, through JUCE's own plug-in hosting, and
// checks what a host sees: parameters, programs, state, and processing at common rates and block
// sizes. The user's folders point at a fresh temporary folder before JUCE starts, so the plug-in's
// settings files never touch the real ones.
#include <juce_audio_processors/juce_audio_processors.h>

#include <gtest/gtest.h>

#include <cstdlib>

namespace
{
constexpr const char* kLv2Uri = "http://quenmarrow.org/lv2/prophet12-ostrel";

juce::String environment (const char* name)
{
    const char* value = std::getenv (name);
    return value != nullptr ? juce::String (value) : juce::String();
}

// The program names of built-in factory bank 0, read straight from the committed data.
juce::StringArray factoryNames()
{
    juce::MemoryBlock block;
    juce::File (environment ("OSTREL_FACTORY_DATA")).loadFileAsData (block);
    juce::StringArray names;
    for (int s = 0; s < 99 && block.getSize() >= 13 + 99 * 1024; ++s)
        names.add (juce::String ((const char*) block.getData() + 13 + s * 1024 + 402, 16).trimEnd());
    return names;
}

class HostedPlugin : public ::testing::TestWithParam<const char*>
{
protected:
    void SetUp() override
    {
        formats.addFormat (new juce::VST3PluginFormat());
        formats.addFormat (new juce::LV2PluginFormat());

        const juce::String kind (GetParam());
        juce::OwnedArray<juce::PluginDescription> found;
        for (auto* format : formats.getFormats())
        {
            if (format->getName() != kind)
                continue;
            if (kind == "VST3")
            {
                format->findAllTypesForFile (found, environment ("OSTREL_VST3_BUNDLE"));
            }
            else
            {
                // An LV2 host looks for bundles in its search path and finds the plug-in by its URI.
                const juce::FileSearchPath path (
                    juce::File (environment ("OSTREL_LV2_BUNDLE")).getParentDirectory().getFullPathName());
                EXPECT_TRUE (format->searchPathsForPlugins (path, true, false).contains (kLv2Uri));
                format->findAllTypesForFile (found, kLv2Uri);
            }
        }
        ASSERT_EQ (found.size(), 1) << "the " << kind << " plug-in was not found";
        description = *found[0];

        juce::String error;
        plugin = formats.createPluginInstance (description, 44100.0, 512, error);
        ASSERT_NE (plugin, nullptr) << error;
    }

    void TearDown() override { plugin.reset(); }

    // Our own chunk, taken out of the host's wrapping of it.
    juce::MemoryBlock bankChunkFromState (const juce::MemoryBlock& state)
    {
        juce::MemoryBlock chunk;
        if (juce::String (GetParam()) == "VST3")
        {
            if (auto xml = juce::AudioProcessor::getXmlFromBinary (state.getData(), (int) state.getSize()))
                if (auto* component = xml->getChildByName ("IComponent"))
                    chunk.fromBase64Encoding (component->getAllSubText());
        }
        else
        {
            const auto text = state.toString();
            const auto start = text.indexOf ("StateString>");
            const auto open = text.indexOf (start, "\"");
            const auto close = text.indexOf (open + 1, "\"");
            if (start >= 0 && open > start && close > open)
                chunk.fromBase64Encoding (text.substring (open + 1, close));
        }
        return chunk;
    }

    juce::AudioPluginFormatManager formats;
    juce::PluginDescription description;
    std::unique_ptr<juce::AudioPluginInstance> plugin;
};

TEST_P (HostedPlugin, Identity)
{
    EXPECT_EQ (description.name, "Prophet 12 Ostrel");
    EXPECT_EQ (description.manufacturerName, "Quenmarrow");
    if (juce::String (GetParam()) == "VST3")
        EXPECT_EQ (description.version, "2.7.0"); // LV2 descriptions carry no version
    EXPECT_FALSE (description.isInstrument);
    EXPECT_EQ (plugin->getTotalNumInputChannels(), 2);
    EXPECT_EQ (plugin->getTotalNumOutputChannels(), 2);
    EXPECT_TRUE (plugin->acceptsMidi());
    EXPECT_TRUE (plugin->producesMidi());
    EXPECT_TRUE (plugin->hasEditor());
}

// Ours, in our order, without what the wrapper adds (a bypass, a program switch).
juce::Array<juce::AudioProcessorParameter*> ownParameters (juce::AudioPluginInstance& plugin)
{
    juce::Array<juce::AudioProcessorParameter*> own;
    for (auto* p : plugin.getParameters())
    {
        const auto name = p->getName (64);
        if (! (name.equalsIgnoreCase ("bypass") || name.equalsIgnoreCase ("program")))
            own.add (p);
    }
    return own;
}

TEST_P (HostedPlugin, Parameters)
{
    const auto params = ownParameters (*plugin);
    ASSERT_EQ (params.size(), 624);
    EXPECT_LE (plugin->getParameters().size() - params.size(), 2);

    const std::pair<int, const char*> names[] = {
        { 0, "A Pitch 1" },     { 309, "A A B Mode" },  { 310, "B Pitch 1" },
        { 617, "B ArpVel 32" }, { 618, "Program No." }, { 623, "SlidLatch 2" }
    };
    for (const auto& [index, name] : names)
        EXPECT_EQ (params[index]->getName (64), name) << index;

    // A host value of 0.5 on "A Level 1" (0..127) is 64.
    auto* level = params[8];
    ASSERT_EQ (level->getName (64), "A Level 1");
    level->setValueNotifyingHost (0.5f);
    juce::MessageManager::getInstance()->runDispatchLoopUntil (50);
    if (juce::String (GetParam()) == "VST3")
    {
        EXPECT_EQ (level->getCurrentValueAsText(), "64"); // the plug-in's own text of 63.5 rounded to even
    }
    else
    {
        // An LV2 host names values from the scale points of the manifest; 0.5 sits exactly between
        // "63" and "64" there, so the host's own choice is not ours to test.
        level->setValueNotifyingHost (64.0f / 127.0f);
        EXPECT_EQ (level->getCurrentValueAsText(), "64");
    }
    EXPECT_EQ (level->getText (1.0f, 64), "127");
    EXPECT_EQ (params[0]->getText (60.0f / 120.0f, 64), "C5"); // "A Pitch 1" shows notes

    EXPECT_EQ (params[618]->getCurrentValueAsText(), "Disabled");
}

TEST_P (HostedPlugin, Programs)
{
    const auto names = factoryNames();
    ASSERT_EQ (names.size(), 99);
    ASSERT_EQ (plugin->getNumPrograms(), 99);
    if (juce::String (GetParam()) == "VST3")
    {
        for (int i : { 0, 1, 50, 98 })
            EXPECT_EQ (plugin->getProgramName (i), names[i]) << i;
    }
    else
    {
        // An LV2 host lists the presets in an order of its own.
        juce::StringArray hosted;
        for (int i = 0; i < 99; ++i)
            hosted.add (plugin->getProgramName (i));
        hosted.sort (false);
        auto expected = names;
        expected.sort (false);
        EXPECT_EQ (hosted, expected);
    }

    for (int i : { 3, 17, 98, 0 })
    {
        plugin->setCurrentProgram (i);
        juce::MessageManager::getInstance()->runDispatchLoopUntil (20);
        EXPECT_EQ (plugin->getCurrentProgram(), i);
    }
}

TEST_P (HostedPlugin, StateSavedAndRestored)
{
    plugin->setCurrentProgram (7);
    juce::MessageManager::getInstance()->runDispatchLoopUntil (20);

    juce::MemoryBlock state;
    plugin->getStateInformation (state);
    const auto chunk = bankChunkFromState (state);
    ASSERT_GE (chunk.getSize(), 102430u);
    const auto* bytes = static_cast<const uint8_t*> (chunk.getData());
    EXPECT_EQ (juce::String ((const char*) bytes, 29), "Prophet12OstrelBankVersion100");
    // The current slot's block is that slot's bytes; the slot is host program 7 (an LV2 host may
    // list programs in another order, so it is found by its name).
    const int slot = bytes[102429];
    ASSERT_LT (slot, 99);
    EXPECT_EQ (0, memcmp (bytes + 101405, bytes + 29 + slot * 1024, 1024));
    EXPECT_EQ (juce::String ((const char*) bytes + 29 + slot * 1024 + 402, 16).trimEnd(), plugin->getProgramName (7));
    if (juce::String (GetParam()) == "VST3")
        EXPECT_EQ (slot, 7);

    // Into a second instance: the same host programs come back.
    juce::String error;
    auto second = formats.createPluginInstance (description, 48000.0, 256, error);
    ASSERT_NE (second, nullptr) << error;
    second->setStateInformation (state.getData(), (int) state.getSize());
    juce::MessageManager::getInstance()->runDispatchLoopUntil (20);
    juce::MemoryBlock again;
    second->getStateInformation (again);
    const auto secondChunk = bankChunkFromState (again);
    ASSERT_GE (secondChunk.getSize(), 102430u);
    EXPECT_EQ (0, memcmp (secondChunk.getData(), chunk.getData(), 29 + 99 * 1024));
}

juce::AudioProcessorParameter* parameterNamed (juce::AudioPluginInstance& plugin, const juce::String& name)
{
    for (auto* p : plugin.getParameters())
        if (p->getName (64) == name)
            return p;
    return nullptr;
}

// A few blocks and a turn of the message loop: an LV2 plug-in takes the host's values and reports
// its own while it runs.
void runBlocks (juce::AudioPluginInstance& plugin)
{
    plugin.prepareToPlay (44100.0, 512);
    juce::AudioBuffer<float> audio (2, 512);
    juce::MidiBuffer midi;
    for (int n = 0; n < 4; ++n)
    {
        audio.clear();
        plugin.processBlock (audio, midi);
        juce::MessageManager::getInstance()->runDispatchLoopUntil (20);
    }
}

// A project saved and opened again in a new process: the edits made through the host's own
// controls come back, with the program that was current.
TEST_P (HostedPlugin, ProjectBringsBackTheEditedProgram)
{
    plugin->setCurrentProgram (4);
    runBlocks (*plugin);
    // A host program change leaves this host's copies of the values as they were; a state round
    // trip on the same instance makes it read them all again.
    {
        juce::MemoryBlock current;
        plugin->getStateInformation (current);
        plugin->setStateInformation (current.getData(), (int) current.getSize());
        runBlocks (*plugin);
    }
    auto* level = parameterNamed (*plugin, "A Level 1");
    auto* delay = parameterNamed (*plugin, "B Dly 1 Time");
    ASSERT_NE (level, nullptr);
    ASSERT_NE (delay, nullptr);
    level->setValueNotifyingHost (99.0f / 127.0f);
    delay->setValueNotifyingHost (200.0f / 255.0f);
    runBlocks (*plugin);

    juce::MemoryBlock state;
    plugin->getStateInformation (state);
    const auto chunk = bankChunkFromState (state);
    ASSERT_GE (chunk.getSize(), 102430u);
    const auto* bytes = static_cast<const uint8_t*> (chunk.getData());
    const int slot = bytes[102429];
    EXPECT_EQ (bytes[101405 + 8], 99);         // "A Level 1"
    EXPECT_EQ (bytes[101405 + 512 + 96], 200); // "B Dly 1 Time"
    const auto programName = plugin->getProgramName (plugin->getCurrentProgram());

    std::vector<float> values;
    for (auto* p : ownParameters (*plugin))
        values.push_back (p->getValue());
    plugin.reset();

    juce::String error;
    plugin = formats.createPluginInstance (description, 44100.0, 512, error);
    ASSERT_NE (plugin, nullptr) << error;
    runBlocks (*plugin);
    plugin->setStateInformation (state.getData(), (int) state.getSize());
    runBlocks (*plugin);

    EXPECT_NEAR (parameterNamed (*plugin, "A Level 1")->getValue(), 99.0f / 127.0f, 1.0e-6f);
    EXPECT_NEAR (parameterNamed (*plugin, "B Dly 1 Time")->getValue(), 200.0f / 255.0f, 1.0e-6f);
    const auto own = ownParameters (*plugin);
    ASSERT_EQ ((size_t) own.size(), values.size());
    int differing = 0;
    for (int i = 0; i < own.size(); ++i)
        differing += std::abs (own[i]->getValue() - values[(size_t) i]) > 1.0e-6f ? 1 : 0;
    EXPECT_EQ (differing, 0);
    // An LV2 host keeps its own note of the preset last chosen; the restored slot shows in the chunk.
    if (juce::String (GetParam()) == "VST3")
    {
        EXPECT_EQ (plugin->getCurrentProgram(), slot);
        EXPECT_EQ (plugin->getProgramName (plugin->getCurrentProgram()), programName);
    }

    // The restored instance keeps the edited program as its current one.
    juce::MemoryBlock again;
    plugin->getStateInformation (again);
    const auto restored = bankChunkFromState (again);
    ASSERT_GE (restored.getSize(), 102430u);
    EXPECT_EQ (0, memcmp (restored.getData(), chunk.getData(), 102430));
}

TEST_P (HostedPlugin, ProcessesSilentlyAtEveryRate)
{
    for (double rate : { 44100.0, 48000.0, 96000.0 })
    {
        for (int block : { 64, 128, 256, 512, 1024 })
        {
            SCOPED_TRACE (juce::String (rate) + " Hz, " + juce::String (block));
            plugin->setPlayConfigDetails (2, 2, rate, block);
            plugin->prepareToPlay (rate, block);

            juce::AudioBuffer<float> audio (2, block);
            juce::MidiBuffer midi;
            bool silent = true, quiet = true;
            for (int n = 0; n < 200; ++n)
            {
                audio.clear();
                midi.clear();
                if (n % 50 == 0)
                    midi.addEvent (juce::MidiMessage::noteOn (1, 60, (juce::uint8) 90), 0); // dropped
                plugin->processBlock (audio, midi);
                silent = silent && audio.getMagnitude (0, block) == 0.0f;
                quiet = quiet && midi.isEmpty();
            }
            EXPECT_TRUE (silent);
            EXPECT_TRUE (quiet);
            plugin->releaseResources();
        }
    }
}

// The editor in a host's window on the display, driven by real mouse input (xdotool) at the
// coordinates of the instrument panel: a knob drag reaches the host as the parameter's new value, and
// a menu opened from the app bar (a window of its own) does not take the host down. The display has
// no window manager and this host installs no X error handler of its own: the editor's guard is what
// keeps the process alive.
TEST_P (HostedPlugin, EditorTakesRealMouseInput)
{
    if (juce::String (GetParam()) != "VST3" || ! juce::File ("/usr/bin/xdotool").existsAsFile())
        GTEST_SKIP() << "the VST3 editor, with xdotool";

    auto* editor = plugin->createEditorIfNeeded();
    ASSERT_NE (editor, nullptr);
    EXPECT_EQ (editor->getWidth(), 1200);
    EXPECT_EQ (editor->getHeight(), 730);

    juce::DocumentWindow window ("Host", juce::Colours::black, 0);
    window.setUsingNativeTitleBar (true);
    window.setContentNonOwned (editor, true);
    window.setTopLeftPosition (0, 0);
    window.setVisible (true);
    juce::MessageManager::getInstance()->runDispatchLoopUntil (3000); // the about panel goes after 2 s

    const auto origin = editor->getScreenPosition();
    auto xdotool = [&] (const juce::String& args) { return std::system (("xdotool " + args).toRawUTF8()) == 0; };
    auto at = [&] (int x, int y) { return juce::String (origin.x + x) + " " + juce::String (origin.y + y); };

    // Oscillator 1 "Level": group (0, 54), control box (138, 20, 61 x 72); dragged 20 pixels up.
    juce::AudioProcessorParameter* level = nullptr;
    for (auto* p : plugin->getParameters())
        if (p->getName (64) == "A Level 1")
            level = p;
    ASSERT_NE (level, nullptr);
    const float before = level->getValue();
    ASSERT_TRUE (xdotool ("mousemove " + at (168, 104) + " mousedown 1"));
    juce::MessageManager::getInstance()->runDispatchLoopUntil (200);
    for (int dy = 2; dy <= 20; dy += 2)
    {
        ASSERT_TRUE (xdotool ("mousemove " + at (168, 104 - dy)));
        juce::MessageManager::getInstance()->runDispatchLoopUntil (30);
    }
    ASSERT_TRUE (xdotool ("mouseup 1"));
    juce::MessageManager::getInstance()->runDispatchLoopUntil (500);
    EXPECT_NE (level->getValue(), before);

    // "EDIT" at (267 + 2 x 46, 3), 46 x 16: its menu opens in a window of its own; Escape closes it.
    ASSERT_TRUE (xdotool ("mousemove " + at (267 + 2 * 46 + 23, 11) + " click 1"));
    juce::MessageManager::getInstance()->runDispatchLoopUntil (500);
    ASSERT_TRUE (xdotool ("key Escape"));
    juce::MessageManager::getInstance()->runDispatchLoopUntil (300);

    window.clearContentComponent();
    plugin->editorBeingDeleted (editor);
    delete editor;
}

INSTANTIATE_TEST_SUITE_P (Formats, HostedPlugin, ::testing::Values ("VST3", "LV2"),
                          [] (const auto& info) { return std::string (info.param); });
} // namespace

int main (int argc, char** argv)
{
    // Before JUCE starts: a home of our own.
    char scratch[] = "/tmp/ostrel-host-XXXXXX";
    if (mkdtemp (scratch) == nullptr)
        return 2;
    setenv ("HOME", scratch, 1);
    setenv ("XDG_CONFIG_HOME", (std::string (scratch) + "/.config").c_str(), 1);

    ::testing::InitGoogleTest (&argc, argv);
    int result = 0;
    {
        juce::ScopedJuceInitialiser_GUI juce;
        result = RUN_ALL_TESTS();
    }
    juce::File (scratch).deleteRecursively();
    return result;
}
