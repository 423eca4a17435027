#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <vector>

class WinMovCan;

// Told when a window button was clicked: 120 minimise, 121 maximise (full-screen toggle), 122 close.
class winToolListener
{
public:
    virtual ~winToolListener() = default;
    virtual void winToolClicked (WinMovCan* source, int code) = 0;
};

// The window buttons of a window's title strip: minimise, maximise and close (54 x 30), or close
// only (17 x 30). The button under the mouse is lit. A click counts only when the mouse goes down
// and comes up over the same button.
//
// How an owner uses it:
//   WinMovCan closeControl { WinMovCan::kCloseOnly };   // or kThreeButtons
//   closeControl.setTopLeftPosition (x, y);               // it sizes itself
//   closeControl.addListener (this);                      // winToolClicked (source, code)
// The owner answers 122 by hiding its window, 121 by toggling full screen, 120 by minimising.
class WinMovCan : public juce::Component
{
public:
    static constexpr int kThreeButtons = 0, kCloseOnly = 1;
    static constexpr int kNone = 0, kMinimise = 120, kMaximise = 121, kClose = 122;

    explicit WinMovCan (int variant = kThreeButtons);
    ~WinMovCan() override;

    void addListener (winToolListener* listener);
    void removeListener (winToolListener* listener);

    int getVariant() const noexcept { return variant; }
    int getHighlighted() const noexcept { return highlighted; }
    int getPressed() const noexcept { return pressed; }

    // The button at x, in the component's coordinates.
    int buttonAt (float x) const noexcept;

    void paint (juce::Graphics& g) override;
    void mouseMove (const juce::MouseEvent& e) override;
    void mouseExit (const juce::MouseEvent& e) override;
    void mouseDown (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;

private:
    void setHighlighted (int code);
    void tellListeners (int code);
    void paintDrawn (juce::Graphics& g) const;

    const int variant;
    int highlighted = kNone;
    int pressed = kNone;
    juce::Image image;

    juce::CriticalSection listenerLock;
    std::vector<winToolListener*> listeners;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (WinMovCan)
};
