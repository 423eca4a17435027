#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The settings button of the editor's top bar (36 x 36, three grey bars). A click (release over
// the button) sets action code 128 and broadcasts.
//
// How an owner uses it:
//   AppSetBarBut settings;
//   settings.setTopLeftPosition (6, 4);
//   settings.addChangeListener (this);   // getActionCode() == 128: open the library window
// The change message is sent synchronously from the click.
class AppSetBarBut : public juce::Component, public juce::ChangeBroadcaster
{
public:
    static constexpr int kSize = 36;
    static constexpr int kOpenLibrary = 128;

    AppSetBarBut();

    int getActionCode() const noexcept { return actionCode; }

    void paint (juce::Graphics& g) override;
    void mouseUp (const juce::MouseEvent& e) override;

private:
    int actionCode = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AppSetBarBut)
};
