#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <vector>

class LibBut;

// Told what the mouse does on a library window button. Listeners are told last registered first.
class LibButListener
{
public:
    virtual ~LibButListener() = default;
    virtual void libButClicked (LibBut* button, int id) = 0;
    virtual void libButEntered (LibBut* button, int id) = 0;
    virtual void libButLeft (LibBut* button, int id) = 0;
};

// The command button of the library window: a dark body with a lit end cap and a caption. It acts
// on the press, not on the release, and tells its listeners when the pointer comes and goes so that
// the owner can show the button's hover text in its status line.
//
//   LibBut load { "LOAD", 1319 };          // owners place it at 100 x 34
//   load.setHoverText ("Load Library or Bank Files");
//   load.addListener (this);               // libButClicked (button, id) ...
class LibBut : public juce::Component
{
public:
    static constexpr float kDefaultFontHeight = 12.0f;
    static constexpr int kInitialWidth = 60, kInitialHeight = 40;
    static constexpr int kBodyWidth = 100, kFaceHeight = 24, kCapWidth = 5;
    static constexpr juce::uint32 kCaptionColour = 0xfff7f7f7;

    LibBut (const juce::String& caption, int id, float fontHeight = kDefaultFontHeight);
    ~LibBut() override;

    const juce::String& getCaption() const noexcept { return caption; }
    void setCaption (const juce::String& newCaption);
    int getId() const noexcept { return id; }

    void setHoverText (const juce::String& text) { hoverText = text; }
    const juce::String& getHoverText() const noexcept { return hoverText; }

    void addListener (LibButListener* listener);
    void removeListener (LibButListener* listener);

    // What a press does: every listener's clicked (this, id). Owners use it where another gesture
    // stands for the button (a double click in a list acts as DONE).
    void notifyClicked();

    void paint (juce::Graphics& g) override;
    void mouseEnter (const juce::MouseEvent& e) override;
    void mouseExit (const juce::MouseEvent& e) override;
    void mouseDown (const juce::MouseEvent& e) override;

private:
    template <typename Call>
    void tell (Call&& call);

    juce::String caption, hoverText;
    const int id;
    juce::Font font;
    juce::Image body, cap;

    juce::CriticalSection listenerLock;
    std::vector<LibButListener*> listeners;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LibBut)
};
