#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <vector>

class StsBut;

// Told when a StsBut was clicked; the owner asks the button for its id or text.
class stsbutChangeListener
{
public:
    virtual ~stsbutChangeListener() = default;
    virtual void stsButClicked (StsBut* button) = 0;
};

// Told only the id of the clicked button, for owners that switch on ids alone.
class StsButIdListener
{
public:
    virtual ~StsButIdListener() = default;
    virtual void stsButIdClicked (int id) = 0;
};

// The editor's text button. A child juce::TextButton draws the face and takes the clicks; the caption
// is drawn over it, centred in the part of the face that shows. Three styles, set at construction:
//   130  function buttons of the app bar and the bank panels (grey face, black caption, 12)
//   135  page buttons (drawn like 130)
//   140  dialog buttons (dark face, white caption, 13)
// A font height or caption colour set afterwards stays: setup only places the button.
// A click tells every stsbutChangeListener, then every id listener, each list from its last entry to
// its first. A listener may delete the button (a dialog closing itself): nobody is told after that.
class StsBut : public juce::Component, private juce::Button::Listener
{
public:
    static constexpr int kFunctionStyle = 130;
    static constexpr int kPageStyle = 135;
    static constexpr int kDialogStyle = 140;

    StsBut (const juce::String& text, int id, int style);
    ~StsBut() override;

    // Places the button at (x, y, width, height) when applyBounds is set, and lays the child face out
    // for the style.
    void setup (int x, int y, int width, int height, bool applyBounds = true);

    void addListener (stsbutChangeListener* listener);
    void removeListener (stsbutChangeListener* listener);
    void addIdListener (StsButIdListener* listener);
    void removeIdListener (StsButIdListener* listener);

    int getId() const noexcept { return id; }
    int getStyle() const noexcept { return style; }
    const juce::String& getText() const noexcept { return text; }
    void setText (const juce::String& newText);
    void setTextColour (juce::Colour colour);
    juce::Colour getTextColour() const noexcept { return textColour; }
    void setFontHeight (float height);
    float getFontHeight() const noexcept { return fontHeight; }

    // A selected button (the page shown, the bank listed) shows its face lit.
    void setSelected (bool shouldBeSelected);
    bool isSelected() const noexcept { return selected; }

    // The face that takes the clicks; its triggerClick() clicks the button as a mouse click would.
    juce::TextButton& getButton() noexcept { return face; }

    void paintOverChildren (juce::Graphics& g) override;
    void resized() override;

    // Tells the listeners as a click does.
    void notifyClicked();

private:
    void buttonClicked (juce::Button*) override;
    void layOutCaption();

    juce::String text;
    int id;
    int style;
    juce::Colour textColour { juce::Colours::black };
    float fontHeight = 12.0f;
    bool selected = false;
    juce::TextButton face;
    // The caption's glyphs with their baseline at y 0, and the height of its capitals above it, laid
    // out when the text or font changes rather than in paint.
    juce::GlyphArrangement caption;
    juce::Rectangle<float> captionInk;

    juce::CriticalSection listenerLock;
    std::vector<stsbutChangeListener*> listeners;
    std::vector<StsButIdListener*> idListeners;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (StsBut)
};
