#pragma once

#include "plugin/OstrelAudioProcessor.h"
#include "tests/MessageLoop.h"
#include "tests/TestRig.h"
#include "ui/look/StsBut.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <typeinfo>

// The plug-in's processor cabled to the instrument stand-in, for tests that drive real components.
// Every edit a control makes reaches this processor, and what it sends reaches the stand-in through
// the in-process port, where the test can read it back.
class GuiRig
{
public:
    explicit GuiRig (bool connected = true) : devices (std::make_shared<InProcessMidiDevices> (standIn))
    {
        if (connected)
            writePortsFile (SettingsFiles::Folder (scratch.folder), InProcessMidiDevices::kStandInPort,
                            InProcessMidiDevices::kStandInPort);
        processor = std::make_unique<OstrelAudioProcessor> (MidiCntrState::Environment { devices, scratch.folder });
    }

    ~GuiRig()
    {
        processor.reset();
        standIn.waitUntilIdle();
    }

    MidiCntrState& controller() { return processor->getController(); }

    // Everything sent has arrived at the stand-in and everything it answered has been taken in.
    void settle() { ASSERT_TRUE (standIn.waitUntilIdle()); }

    // Lets the message loop run for a while, so timers, async updates and change messages happen.
    static void pump (int milliseconds = 50) { runMessageLoop (milliseconds); }

    // The pop-up menu window open on the desktop, or nullptr.
    static juce::Component* openMenuWindow()
    {
        auto& desktop = juce::Desktop::getInstance();
        for (int i = desktop.getNumComponents(); --i >= 0;)
            if (auto* c = desktop.getComponent (i); c != nullptr && c->isVisible())
                if (juce::String (typeid (*c).name()).contains ("MenuWindow"))
                    return c;
        return nullptr;
    }

    // Runs the message loop until `done` holds, for at most `milliseconds`.
    template <typename Condition>
    static bool pumpUntil (Condition done, int milliseconds = 10000)
    {
        for (int waited = 0; ! done() && waited < milliseconds; waited += 10)
            pump (10);
        return done();
    }

    // Every channel message that went out through sendBlock since the last clear, in order.
    std::vector<std::vector<uint8_t>> sentMessages() const
    {
        std::vector<std::vector<uint8_t>> all;
        for (const auto& call : devices->getOutputCalls())
            for (const auto& message : call.messages)
                all.push_back (message);
        return all;
    }
    void clearSent() { devices->clearOutputCalls(); }

    ScratchFolder scratch;
    Prophet12StandIn standIn;
    std::shared_ptr<InProcessMidiDevices> devices;
    std::unique_ptr<OstrelAudioProcessor> processor;
};

// Records, for each broadcast, what the owner would read at that moment.
struct ChangeSpy : juce::ChangeListener
{
    ChangeSpy (juce::ChangeBroadcaster& b, std::function<int()> readCode) : broadcaster (b), read (std::move (readCode))
    {
        broadcaster.addChangeListener (this);
    }
    ~ChangeSpy() override { broadcaster.removeChangeListener (this); }
    void changeListenerCallback (juce::ChangeBroadcaster*) override { codes.push_back (read()); }

    juce::ChangeBroadcaster& broadcaster;
    std::function<int()> read;
    std::vector<int> codes;
};

// Logs the clicks of plain buttons, by owner name: "name:caption" from the button listener,
// "name#id" from the id listener.
struct ClickLog : stsbutChangeListener, StsButIdListener
{
    ClickLog (std::vector<juce::String>& l, juce::String n) : log (l), name (std::move (n)) {}
    void stsButClicked (StsBut* b) override { log.push_back (name + ":" + b->getText()); }
    void stsButIdClicked (int id) override { log.push_back (name + "#" + juce::String (id)); }
    std::vector<juce::String>& log;
    juce::String name;
};

// Synthesised mouse input delivered to a component as JUCE would deliver it: positions are in the
// component's own coordinates. Press, drags and release of one gesture share the press point.
class Mouse
{
public:
    explicit Mouse (juce::Component& c) : component (c) {}

    void press (float x, float y, juce::ModifierKeys mods = juce::ModifierKeys::leftButtonModifier)
    {
        downPos = { x, y };
        downTime = juce::Time::getCurrentTime();
        buttons = mods;
        component.mouseDown (make ({ x, y }, buttons, false));
    }
    void drag (float x, float y) { component.mouseDrag (make ({ x, y }, buttons, true)); }
    void release (float x, float y)
    {
        component.mouseUp (make ({ x, y }, buttons, downPos != juce::Point<float> (x, y)));
        buttons = {};
    }
    void click (float x, float y, juce::ModifierKeys mods = juce::ModifierKeys::leftButtonModifier)
    {
        press (x, y, mods);
        release (x, y);
    }
    void rightClick (float x, float y) { click (x, y, juce::ModifierKeys::rightButtonModifier); }
    void move (float x, float y) { component.mouseMove (make ({ x, y }, {}, false)); }
    void doubleClick (float x, float y)
    {
        downPos = { x, y };
        component.mouseDoubleClick (make ({ x, y }, juce::ModifierKeys::leftButtonModifier, false, 2));
    }
    void wheel (float x, float y, float deltaY)
    {
        juce::MouseWheelDetails details {};
        details.deltaX = 0.0f;
        details.deltaY = deltaY;
        component.mouseWheelMove (make ({ x, y }, {}, false), details);
    }

private:
    juce::MouseEvent make (juce::Point<float> pos, juce::ModifierKeys mods, bool dragged, int clicks = 1) const
    {
        auto source = juce::Desktop::getInstance().getMainMouseSource();
        return juce::MouseEvent (source, pos, mods, juce::MouseInputSource::defaultPressure,
                                 juce::MouseInputSource::defaultOrientation, juce::MouseInputSource::defaultRotation,
                                 juce::MouseInputSource::defaultTiltX, juce::MouseInputSource::defaultTiltY, &component,
                                 &component, juce::Time::getCurrentTime(), downPos, downTime, clicks, dragged);
    }

    juce::Component& component;
    juce::Point<float> downPos;
    juce::Time downTime;
    juce::ModifierKeys buttons;
};
