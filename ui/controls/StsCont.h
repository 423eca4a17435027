#pragma once

#include "ui/look/OstrelLookAndFeel.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

class OstrelAudioProcessor;
class StsCont;

// Told when the user asks to zoom into the group that holds a control: a right click, or any click
// while the editor is too small to edit directly.
class StsContListener
{
public:
    virtual ~StsContListener() = default;
    virtual void stsContZoomRequested (StsCont* control) = 0;
};

// The editor's parameter control: one parameter position of one layer, shown as a value menu, an
// on/off switch, a knob, a three-way switch or a centred switch. The control never changes what it
// shows when the user edits it: requestValue asks the processor, and the value comes back through
// showValue with the rest of the editor's refresh. So a value reaches the screen one way only,
// whether it came from this control, the instrument, the host or a loaded program.
class StsCont : public juce::Component
{
public:
    enum Type
    {
        kMenu = 0,
        kSwitch = 1,
        kKnob = 3,
        kThreeWay = 12,
        kCentredSwitch = 101,
    };

    static constexpr float kDirectEditThreshold = 0.6f; // below this zoom a click asks to zoom in
    static constexpr int kLayerSize = 512;              // control id = layer x 512 + position
    static constexpr int kLayoutYOffset = 16;           // the group's y is the caption line above the control
    static constexpr int kKnobFrames = 61;
    static constexpr int kMenuStripHeight = 18;
    static constexpr int kShortRangeStep = 15; // pixels per step for ranges of fewer than 15 steps

    StsCont (OstrelAudioProcessor& owner, int layer);
    ~StsCont() override;

    void setup (int position, const juce::String& label, int x, int y, int width, int height, int minimum, int maximum,
                int type, int displayKind);

    // The one way a user edit leaves the control: clamped, remembered and sent to the processor when
    // it differs from what is shown. `immediate` closes the host's gesture at once (a menu choice).
    void requestValue (int value, bool immediate);
    // The one way a value reaches the screen.
    void showValue (int value, const juce::String& text);

    // Moves the unscaled box (the A/B mode group moves its controls).
    void setPosition (int x, int y);
    void setScale (float newScale);

    void addListener (StsContListener* listener);
    void removeListener (StsContListener* listener);

    void setKnobStyle (int style) { knobStyle = juce::jlimit (0, 3, style); }
    void setBackgroundImage (const juce::Image& image);
    void setBackgroundFill (juce::Colour colour);
    void setPaintingEnabled (bool enabled) { paintingEnabled = enabled; }

    // The value menu of this control, built from its display kind for values 0..maximum.
    juce::PopupMenu buildValueMenu() const;
    static juce::PopupMenu buildValueMenu (int displayKind, int maximum);
    // One item per value 0..maximum with id value + 1, leaving out values whose text is "*/*".
    static juce::PopupMenu buildValueMenu (int maximum, const std::function<juce::String (int)>& textOf);
    // Where the open menu's answer arrives: the chosen item id, or 0 when it was dismissed.
    void menuItemChosen (int result);

    // The filmstrip frame (0..60) that shows `value` on a knob of that range.
    static int knobFrameFor (int value, int minimum, int maximum);

    int getLayer() const noexcept { return layer; }
    int getParameterPosition() const noexcept { return position; }
    int getControlId() const noexcept { return layer * kLayerSize + position; }
    int getType() const noexcept { return type; }
    int getDisplayKind() const noexcept { return displayKind; }
    int getShownValue() const noexcept { return shownValue; }
    // The next showValue repaints whatever it shows (a whole program was loaded).
    void forgetShownValue() noexcept { shownValue = -1; }
    int getRequestedValue() const noexcept { return requestedValue; }
    int getMinimum() const noexcept { return minimum; }
    int getMaximum() const noexcept { return maximum; }
    int getKnobFrame() const noexcept { return knobFrame; }
    const juce::String& getValueText() const noexcept { return valueText; }
    const juce::String& getLabel() const noexcept { return label; }
    float getScale() const noexcept { return scale; }
    juce::Rectangle<float> getLayoutBox() const noexcept { return { layoutX, layoutY, layoutWidth, layoutHeight }; }

    void paint (juce::Graphics& g) override;
    void mouseDown (const juce::MouseEvent& e) override;
    void mouseDrag (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;
    void mouseWheelMove (const juce::MouseEvent& e, const juce::MouseWheelDetails& wheel) override;

protected:
    // Shows the value menu attached to the control; the answer comes back through menuItemChosen.
    virtual void openValueMenu();

private:
    void applyBounds();
    void requestZoom();
    int clampToRange (int value) const noexcept { return juce::jlimit (minimum, juce::jmax (minimum, maximum), value); }
    float scaled (float units) const noexcept { return units * scale; }

    void paintMenu (juce::Graphics& g);
    void paintSwitch (juce::Graphics& g);
    void paintKnob (juce::Graphics& g);
    void paintThreeWay (juce::Graphics& g);
    void paintCentredSwitch (juce::Graphics& g);
    void drawSwitchFrame (juce::Graphics& g, int x, int y, bool on);

    OstrelAudioProcessor& owner;
    juce::CriticalSection listenerLock;
    juce::Array<StsContListener*> listeners;
    const int layer;

    bool backgroundImageOn = false, backgroundFillOn = false;
    juce::Image backgroundImage;
    juce::Colour backgroundColour;
    int knobStyle = 0;
    int displayKind = 0;
    int shownValue = -1;
    int position = 0;
    int requestedValue = 0;
    int minimum = 0, maximum = 0;
    juce::String label;
    float layoutX = 0.0f, layoutY = 0.0f, layoutWidth = 0.0f, layoutHeight = 0.0f;
    bool paintingEnabled = true;
    juce::Image menuBackgroundImage, menuArrowImage, menuFrameImage;
    juce::Image switchImage;
    int dragStartValue = 0;
    int width = 0, height = 0;
    int type = -1;
    juce::String valueText;
    int knobFrame = 0;
    int range = 0;
    int dragStartY = 0, dragStartX = 0;
    float scale = 1.0f;
    bool dragging = false;
    bool menuArmed = false;

    juce::SharedResourcePointer<OstrelLookAndFeel> lookAndFeel;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (StsCont)
};
