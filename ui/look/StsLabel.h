#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A text label that can be clicked (the app bar's channel label opens the channel menu that way).
// A press inside broadcasts at once. Frame mode 0 draws only the text, 1 fills the label first,
// 2 also outlines it by one pixel.
class StsLabel : public juce::Component, public juce::ChangeBroadcaster
{
public:
    enum FrameMode
    {
        kNoFrame = 0,
        kFilled = 1,
        kFilledOutlined = 2,
    };

    StsLabel() = default;

    // White, plain, centred.
    void setup (const juce::String& text, const juce::String& fontName, float fontHeight);

    // Repaints only when the text differs from what is shown.
    void setText (const juce::String& newText);
    const juce::String& getText() const noexcept { return text; }

    void setFont (const juce::String& fontName, float fontHeight, int fontStyle = juce::Font::plain);
    void setTextColour (juce::Colour colour);
    juce::Colour getTextColour() const noexcept { return textColour; }
    void setJustification (juce::Justification newJustification);
    void setFrame (int mode, juce::Colour fill, juce::Colour outline);
    int getFrameMode() const noexcept { return frameMode; }

    void paint (juce::Graphics& g) override;
    void mouseDown (const juce::MouseEvent& e) override;

private:
    juce::String text;
    juce::String fontName { "Arial" };
    float fontHeight = 14.0f;
    int fontStyle = juce::Font::plain;
    juce::Font font { "Arial", 14.0f, juce::Font::plain };
    float capitalHeight = -1.0f; // of the font, measured at the first paint after it was set
    juce::Colour textColour { juce::Colours::white };
    juce::Justification justification { juce::Justification::centred };
    int frameMode = kNoFrame;
    juce::Colour fillColour { juce::Colours::black };
    juce::Colour outlineColour { juce::Colours::grey };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (StsLabel)
};
