#include "ui/main/RenameCnt.h"

RenameCnt::RenameCnt (int x, int y, const juce::String& text)
{
    editor.setMultiLine (false);
    editor.setFont (juce::Font ("Arial", 14.0f, juce::Font::plain));
    editor.setJustification (juce::Justification::centredLeft);
    editor.setIndents (4, 0);
    editor.setText (text, false);
    editor.setBounds (0, 0, kWidth, 24);
    // Through the buttons' own (asynchronous) click, so the owner may delete the box when it answers.
    editor.onReturnKey = [this] { ok.getButton().triggerClick(); };
    editor.onEscapeKey = [this] { cancel.getButton().triggerClick(); };
    addAndMakeVisible (editor);

    cancel.setup (0, 26, 50, 18);
    ok.setup (130, 26, 50, 18);
    addAndMakeVisible (cancel);
    addAndMakeVisible (ok);

    setBounds (x, y, kWidth, kHeight);
}

void RenameCnt::paint (juce::Graphics& g) { g.fillAll (juce::Colour (0xFF221414)); }
