#pragma once

#include "midi/MidiCntrState.h"
#include "ui/look/OstrelLookAndFeel.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <memory>

// Told of the global panel's events by number. The only one is kCloseRequested, sent when the
// close mark is pressed; the owner closes the panel (later, not from inside the call).
class Global_Listener
{
public:
    virtual ~Global_Listener() = default;
    virtual void globalPanelEvent (int code) = 0;
};

// One of the instrument's global settings on the global panel: a value list, an on/off switch or a
// knob. It holds no value of its own: it draws the controller's global block as it is now, and
// every edit goes through MidiCntrState::setGlobalValue, which clamps, stores and sends the NRPN.
class GlbCont : public juce::Component
{
public:
    enum Kind
    {
        kList = 0,
        kSwitch = 1,
        kKnob = 2,
    };

    // The knob film strip: 55 frames of 56 x 56, one every 58 pixels, drawn in 50 x 50.
    static constexpr int kKnobFrames = 55, kKnobFrameSize = 56, kKnobFrameStep = 58, kKnobDrawSize = 50;
    // Knob drags move one step per this many pixels: coarse for short ranges, fine for long ones.
    static constexpr int kShortRangeStep = 15, kLongRangeStep = 2, kShortRangeBelow = 30;

    explicit GlbCont (MidiCntrState& controller);

    // Gives the control its global index and kind; its highest value is the setting's.
    void configure (int index, Kind kind);
    bool isConfigured() const noexcept { return globalIndex >= 0; }
    int getIndex() const noexcept { return globalIndex; }
    Kind getKind() const noexcept { return kind; }
    int getMaximum() const noexcept { return maximum; }
    float getScale() const noexcept { return scale; }

    // The block's value of this setting, as the control shows it.
    int getValue() const;
    // The panel's edit: clamped, stored and sent unless unchanged; repaints when the value changed.
    void setValue (int value);

    // The film strip frame that shows `value` of a knob whose highest value is `maximum`.
    static int knobFrame (int value, int maximum);
    int getKnobFrame() const { return knobFrame (getValue(), maximum); }

    // The value menu of a list: item v + 1 for each value v whose text is not empty.
    juce::PopupMenu buildValueMenu() const;
    void openValueMenu();
    // The menu's result: identifier v + 1 sets value v; 0 (dismissed) changes nothing.
    void valueChosen (int result);
    bool isMenuArmed() const noexcept { return menuArmed; }
    bool isDragging() const noexcept { return dragging; }

    void paint (juce::Graphics& g) override;
    void mouseDown (const juce::MouseEvent& e) override;
    void mouseDrag (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;
    void mouseWheelMove (const juce::MouseEvent& e, const juce::MouseWheelDetails& wheel) override;

private:
    void paintList (juce::Graphics& g, int value);
    void paintSwitch (juce::Graphics& g, int value);
    void paintKnob (juce::Graphics& g, int value);

    MidiCntrState& controller;
    int globalIndex = -1;
    Kind kind = kList;
    int maximum = 0;
    float scale = 1.0f;

    int downX = 0, downY = 0, downValue = 0;
    bool dragging = false, menuArmed = false;

    juce::Image boxImage, arrowImage, overlayImage, switchImage, knobImage;
    juce::SharedResourcePointer<OstrelLookAndFeel> lookAndFeel;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (GlbCont)
};

// The instrument's global settings, shown inside the MIDI setup panel at 750 x 350. The 26 settings
// sit where the layout table below puts them; three of them (Local Control and the two unnamed
// ones) are kept off the panel. The background with the labels is drawn once per size into a cached
// image; the controls read the global block each time they draw, so a global dump that arrives while
// the panel is open shows at the next repaint.
class Global_Container : public juce::Component
{
public:
    static constexpr int kCloseRequested = 2222;
    static constexpr int kControls = 40; // the first 26 are the global settings; the rest stay unused
    static constexpr int kWidth = 750, kHeight = 350;
    // The close mark: 15 x 15 near the top right corner.
    static constexpr int kCloseLeftFromRight = 26, kCloseRightFromRight = 11, kCloseTop = 9, kCloseBottom = 24;

    struct Layout
    {
        GlbCont::Kind kind;
        int x, y, width, height;
        int labelDistance; // how far left of the control the panel writes its label; 0 = none
    };
    // Rows 0..25, one per global setting.
    static const Layout& layoutOf (int index);

    explicit Global_Container (MidiCntrState& controller);
    ~Global_Container() override;

    void addListener (Global_Listener* listener);
    void removeListener (Global_Listener* listener);

    GlbCont* getControl (int index);
    // The cached background (labels and close mark), as drawn at the last resize.
    const juce::Image& getBackground() const noexcept { return background; }
    juce::Rectangle<int> getCloseArea() const noexcept;

    void paint (juce::Graphics& g) override;
    void resized() override;
    void mouseDown (const juce::MouseEvent& e) override;

private:
    void drawBackground();
    void tellListeners (int code);

    MidiCntrState& controller;
    std::array<std::unique_ptr<GlbCont>, kControls> controls;
    juce::Image background;
    juce::Image closeImage;

    juce::CriticalSection listenerLock;
    juce::Array<Global_Listener*> listeners;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Global_Container)
};
