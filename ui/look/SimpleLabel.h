#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A plain line of text on a filled background: the library window's filter line, count labels and
// status lines. An over-long text ends in an ellipsis.
class SimpleLabel : public juce::Component
{
public:
    static constexpr int kTextHeight = 20;

    SimpleLabel (float fontHeight, juce::Colour background, int fontStyle = juce::Font::plain,
                 juce::Justification justification = juce::Justification::centred);

    // Repaints only when the text changes.
    void setText (const juce::String& newText);
    const juce::String& getText() const noexcept { return text; }
    void setTextColour (juce::Colour colour);

    void paint (juce::Graphics& g) override;

private:
    juce::String text;
    juce::Colour background, textColour { juce::Colours::white };
    juce::Font font;
    juce::Justification justification;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SimpleLabel)
};
