#include "ui/keyboard/KeyBrd.h"

#include "midi/MidiCntrState.h"
#include "ui/look/Skins.h"

namespace
{
const juce::Rectangle<int> kVelocityBox { 35, 38, 70, 120 };
const juce::Rectangle<int> kPianoBox { 232, 20, 900, 151 };
const juce::Rectangle<int> kPitchWheelBox { 110, 45, WheelCnt::kWidth, WheelCnt::kHeight };
const juce::Rectangle<int> kModWheelBox { 170, 45, WheelCnt::kWidth, WheelCnt::kHeight };
const juce::Rectangle<int> kOctaveStripBox { 55, 37, 269, 16 };
const juce::Rectangle<int> kPlayPanelBox { 400, 4, 200, 12 };
const juce::Rectangle<int> kStatusBox { 20, 0, 200, 20 };
const juce::Rectangle<int> kPitchWellBox { 109, 43, 43, 116 };
const juce::Rectangle<int> kModWellBox { 169, 43, 43, 116 };

constexpr float kOctaveStripScale = 0.7f, kInitialOctaveStripScale = 0.5f;
constexpr float kPlayPanelFontHeight = 10.0f, kStatusFontHeight = 12.0f;

const juce::Colour kBackground (0xFF111214);
const juce::Colour kStatusColour (0xFFF0E5E5);
} // namespace

KeyBrd::KeyBrd (MidiCntrState& s)
    : state (s),
      octaveStrip (s),
      modWheel (s, 0, false),
      pitchWheel (s, WheelCnt::kPitchRest, true),
      playPanel (s, KeyPlayClass::kKeyboardPanel),
      velocityIndicator (s),
      piano (s),
      wheelWell (Skins::get ("wheel_well")),
      titleBar (Skins::get ("title_bar"))
{
    velocityIndicator.setLayoutBox (kVelocityBox);
    // The piano plays at the velocity the controller keeps, from the last editor or the default 100:
    // the indicator shows that one rather than "KBD".
    velocityIndicator.setVelocity (state.noteVelocity);
    addAndMakeVisible (velocityIndicator);

    piano.setBounds (kPianoBox);
    addAndMakeVisible (piano);

    pitchWheel.setLayoutBox (kPitchWheelBox);
    addAndMakeVisible (pitchWheel);
    modWheel.setLayoutBox (kModWheelBox);
    addAndMakeVisible (modWheel);

    octaveStrip.setScale (kInitialOctaveStripScale);
    octaveStrip.setBounds (scaled (kOctaveStripBox, kInitialOctaveStripScale));
    addAndMakeVisible (octaveStrip);

    playPanel.setBounds (kPlayPanelBox);
    playPanel.setFillColour (juce::Colours::transparentBlack);
    playPanel.setTextColour (juce::Colours::white);
    playPanel.setFontHeight (kPlayPanelFontHeight);
    playPanel.setMouseCursor (juce::MouseCursor::UpDownResizeCursor);
    addAndMakeVisible (playPanel);
    playPanel.addListener (this);
}

KeyBrd::~KeyBrd()
{
    playPanel.removeListener (this);
    releaseAllNotes();
}

void KeyBrd::releaseAllNotes()
{
    piano.releaseAll();
    playPanel.releaseHeldNotes();
}

void KeyBrd::focusOfChildComponentChanged (FocusChangeType)
{
    // A press on the piano moves the focus too: its key is held by the mouse and stops on release.
    if (! playPanel.hasKeyboardFocus (false) && ! juce::Desktop::getInstance().getMainMouseSource().isDragging())
        piano.releaseAll();
}

juce::Rectangle<int> KeyBrd::scaled (juce::Rectangle<int> box, float s) const
{
    return { (int) ((float) box.getX() * s), (int) ((float) box.getY() * s), (int) ((float) box.getWidth() * s),
             (int) ((float) box.getHeight() * s) };
}

void KeyBrd::setScale (float s, int y, int width, int height)
{
    scale = s;
    setBounds (0, y, (int) ((float) width * s), (int) ((float) height * s));

    const float stripScale = kOctaveStripScale * s;
    octaveStrip.setScale (stripScale);
    octaveStrip.setBounds (scaled (kOctaveStripBox, stripScale));

    pitchWheel.setScale (s);
    modWheel.setScale (s);
    velocityIndicator.setScale (s);

    piano.setScale (s);
    piano.setTopLeftPosition ((int) ((float) kPianoBox.getX() * s), (int) ((float) kPianoBox.getY() * s));

    playPanel.setBounds (scaled (kPlayPanelBox, s));
    playPanel.setFontHeight (kPlayPanelFontHeight * s);

    statusFont = juce::Font ("Arial", kStatusFontHeight * s, juce::Font::plain);
    repaint();
}

void KeyBrd::setStatusText (const juce::String& text)
{
    statusText = text;
    repaint (scaled (kStatusBox, scale));
}

void KeyBrd::paint (juce::Graphics& g)
{
    g.fillAll (kBackground);

    const auto title = juce::Rectangle<int> (0, 0, getWidth(), (int) (kTitleHeight * scale));
    g.drawImage (titleBar, title.toFloat(), juce::RectanglePlacement::stretchToFit);
    g.drawImage (wheelWell, scaled (kPitchWellBox, scale).toFloat(), juce::RectanglePlacement::stretchToFit);
    g.drawImage (wheelWell, scaled (kModWellBox, scale).toFloat(), juce::RectanglePlacement::stretchToFit);

    g.setColour (kStatusColour);
    g.setFont (statusFont);
    g.drawText (statusText, scaled (kStatusBox, scale), juce::Justification::centredLeft, false);
}

// ---- Moving the panel by its title bar -------------------------------------------------------------

void KeyBrd::moveTo (int mouseY) { setTopLeftPosition (0, std::max (kHighestTop, getY() + mouseY - pressY)); }

void KeyBrd::mouseMove (const juce::MouseEvent& e)
{
    setMouseCursor ((float) e.y < kTitleHeight * scale ? juce::MouseCursor::UpDownResizeCursor
                                                       : juce::MouseCursor::NormalCursor);
}

void KeyBrd::mouseDown (const juce::MouseEvent& e)
{
    dragging = (float) e.y < kTitleHeight * scale && e.x < getWidth() - kNoDragRight;
    if (dragging)
        pressY = e.y;
}

void KeyBrd::mouseDrag (const juce::MouseEvent& e)
{
    if (dragging)
        moveTo (e.y);
}

void KeyBrd::mouseUp (const juce::MouseEvent&)
{
    if (! dragging)
        return;
    dragging = false;
    sendChangeMessage();
}

void KeyBrd::keyPlayMoved (int, int) {}

void KeyBrd::keyPlayPressed (int, int y)
{
    toFront (false);
    pressY = y;
}

void KeyBrd::keyPlayDragged (int, int y) { moveTo (y); }

void KeyBrd::keyPlayReleased (int, int) { sendChangeMessage(); }
