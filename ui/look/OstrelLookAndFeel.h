#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The product's one look. Every menu reads white on black with a grey highlight, the look of the
// instrument's value menus; text editors, buttons and labels follow the dark panel. Shared through
// juce::SharedResourcePointer<OstrelLookAndFeel> by the editor and by the controls that open menus.
class OstrelLookAndFeel : public juce::LookAndFeel_V2
{
public:
    static constexpr juce::uint32 kMenuBackground = 0xFF000000;
    static constexpr juce::uint32 kMenuText = 0xFFFFFFFF;
    static constexpr juce::uint32 kMenuHighlight = 0xFF808080;
    static constexpr float kMenuFontHeight = 15.0f;

    OstrelLookAndFeel();

    void drawPopupMenuBackground (juce::Graphics& g, int width, int height) override;
    juce::Font getPopupMenuFont() override;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OstrelLookAndFeel)
};
