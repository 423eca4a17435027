#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <vector>

class StBut;

// Told of a category button's press (1215, id) and of a release inside it (1216, id).
class StButListener
{
public:
    virtual ~StButListener() = default;
    virtual void stButEvent (StBut* button, int code, int id) = 0;
};

// The category button of the library window: a light face stretched to the button's width, a black
// caption that turns white while pressed, darkened a little under the pointer and a little more
// while pressed. It counts only when released inside: then it broadcasts a change message (the
// category panel listens to those) and tells its listeners (1216, id).
class StBut : public juce::Component, public juce::ChangeBroadcaster
{
public:
    static constexpr int kPressed = 1215, kReleased = 1216;
    static constexpr float kFontHeight = 12.0f;
    static constexpr int kEdge = 2;
    static constexpr juce::uint8 kHoverVeil = 0x11, kPressedVeil = 0x22;

    StBut (const juce::String& caption, int id);
    ~StBut() override;

    const juce::String& getCaption() const noexcept { return caption; }
    int getId() const noexcept { return id; }
    bool isPressed() const noexcept { return pressed; }
    bool isHovered() const noexcept { return hovered; }

    void addListener (StButListener* listener);
    void removeListener (StButListener* listener);

    void paint (juce::Graphics& g) override;
    void mouseEnter (const juce::MouseEvent& e) override;
    void mouseExit (const juce::MouseEvent& e) override;
    void mouseDown (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;

private:
    void tell (int code);

    const juce::String caption;
    const int id;
    bool pressed = false, hovered = false;
    juce::Font font { "Arial", kFontHeight, juce::Font::plain };
    juce::Image skin;

    juce::CriticalSection listenerLock;
    std::vector<StButListener*> listeners;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (StBut)
};
