#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A check box: a 20 x 11 skin picture ("check_on", "check_off", "check_pressed") at (2, 2) in a
// 30 x 30 box. A press toggles it and broadcasts at once (the owner reads isOn()). Its caption is
// either painted inside the box (then the owner makes the box wide enough) or by the owner, beside
// the box, through paintCaptionBeside().
class Check_But : public juce::Component, public juce::ChangeBroadcaster
{
public:
    static constexpr int kSize = 30;

    explicit Check_But (const juce::String& caption = {}, bool captionInside = false);

    bool isOn() const noexcept { return on; }
    void setOn (bool shouldBeOn); // no broadcast
    bool isPressed() const noexcept { return pressed; }

    void setCaption (const juce::String& text);
    const juce::String& getCaption() const noexcept { return caption; }
    void setCaptionColour (juce::Colour colour);
    void setCaptionHeight (float height);
    void setCaptionInside (bool inside);

    void paint (juce::Graphics& g) override;
    // For a caption outside the box: draws it in the owner's graphics at the box's position + (30, 0).
    void paintCaptionBeside (juce::Graphics& ownerGraphics) const;

    void mouseDown (const juce::MouseEvent&) override;
    void mouseUp (const juce::MouseEvent&) override;

private:
    void drawCaption (juce::Graphics& g, juce::Rectangle<int> area) const;

    bool on = false;
    bool pressed = false;
    juce::String caption;
    juce::Colour captionColour { juce::Colours::black };
    float captionHeight = 14.0f;
    bool captionInside = false;
    juce::Image onImage, offImage, pressedImage;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Check_But)
};
