#include "ui/controls/StsCont.h"

#include "model/ParDes.h"
#include "plugin/OstrelAudioProcessor.h"
#include "ui/look/Skins.h"
#include "ui/look/StsResor.h"

#include <cmath>

namespace
{
constexpr juce::uint32 kValueTextColour = 0xFFB6FFFD;
constexpr juce::uint32 kGlowColour = 0x33814141;
constexpr float kSwitchFrameWidth = 20.0f, kSwitchFrameHeight = 12.0f;
constexpr float kMenuStripWidth = 200.0f, kMenuArrowWidth = 14.0f;
constexpr int kMenuFrameSourceWidth = 100, kMenuFrameSourceHeight = 17;
constexpr float kSwitchHitWidth = 25.0f;                               // on/off switch: left part only
constexpr float kThreeWayLeftEdge = 28.0f, kThreeWayRightEdge = 35.0f; // three-way: the gap between does nothing

constexpr const char* kHiddenValueText = "*/*"; // values the instrument's tables do not offer

juce::Font arial (float height) { return juce::Font ("Arial", height, juce::Font::plain); }
} // namespace

StsCont::StsCont (OstrelAudioProcessor& o, int l) : owner (o), layer (l) {}

StsCont::~StsCont() = default;

void StsCont::setup (int newPosition, const juce::String& newLabel, int x, int y, int w, int h, int newMinimum,
                     int newMaximum, int newType, int newDisplayKind)
{
    position = newPosition;
    label = newLabel;
    layoutX = (float) x;
    layoutY = (float) (y - kLayoutYOffset);
    layoutWidth = (float) w;
    layoutHeight = (float) h;
    width = w;
    height = h;
    minimum = newMinimum;
    maximum = newMaximum;
    type = newType;
    displayKind = newDisplayKind;
    shownValue = 0;

    switch (type)
    {
        case kMenu:
            menuBackgroundImage = Skins::get ("menu_strip");
            menuArrowImage = Skins::get ("menu_arrow");
            menuFrameImage = Skins::get ("menu_frame");
            break;
        case kSwitch:
        case kThreeWay:
        case kCentredSwitch: switchImage = Skins::get ("switch"); break;
        case kKnob:
            knobFrame = 0;
            range = maximum - minimum;
            break;
        default: break;
    }

    applyBounds();
}

void StsCont::requestValue (int value, bool immediate)
{
    value = clampToRange (value);
    requestedValue = value;
    if (value != shownValue)
        owner.cableValueChanged (getControlId(), value, immediate, true, true);
}

void StsCont::showValue (int value, const juce::String& text)
{
    value = clampToRange (value);
    if (value == shownValue)
        return;

    shownValue = value;
    if (type == kKnob)
        knobFrame = knobFrameFor (value, minimum, maximum);
    valueText = text;

    if (paintingEnabled)
        repaint();
}

int StsCont::knobFrameFor (int value, int minimum, int maximum)
{
    const int range = maximum - minimum;
    if (range <= 0)
        return 0;
    const double frame = (300.0 - (double) (range + minimum - value) * (300.0 / (double) range)) / 5.0;
    return (int) std::lround (juce::jlimit (0.0, (double) (kKnobFrames - 1), frame));
}

void StsCont::setPosition (int x, int y)
{
    layoutX = (float) x;
    layoutY = (float) (y - kLayoutYOffset);
    applyBounds();
}

void StsCont::setScale (float newScale)
{
    scale = newScale;
    applyBounds();
    repaint();
}

void StsCont::applyBounds()
{
    setBounds ((int) (layoutX * scale), (int) (layoutY * scale), (int) (layoutWidth * scale),
               (int) (layoutHeight * scale));
}

void StsCont::addListener (StsContListener* listener)
{
    const juce::ScopedLock sl (listenerLock);
    listeners.addIfNotAlreadyThere (listener);
}

void StsCont::removeListener (StsContListener* listener)
{
    const juce::ScopedLock sl (listenerLock);
    listeners.removeAllInstancesOf (listener);
}

void StsCont::requestZoom()
{
    dragging = false;
    menuArmed = false;

    juce::Array<StsContListener*> copy;
    {
        const juce::ScopedLock sl (listenerLock);
        copy = listeners;
    }
    for (int i = copy.size(); --i >= 0;)
        copy.getUnchecked (i)->stsContZoomRequested (this);
}

void StsCont::setBackgroundImage (const juce::Image& image)
{
    backgroundImage = image;
    backgroundImageOn = image.isValid();
    repaint();
}

void StsCont::setBackgroundFill (juce::Colour colour)
{
    backgroundColour = colour;
    backgroundFillOn = true;
    repaint();
}

// ---- Value menu ------------------------------------------------------------------------------------

juce::PopupMenu StsCont::buildValueMenu (int maximum, const std::function<juce::String (int)>& textOf)
{
    juce::PopupMenu menu;
    for (int value = 0; value <= maximum; ++value)
    {
        const auto text = textOf (value);
        if (text != kHiddenValueText)
            menu.addItem (value + 1, text);
    }
    return menu;
}

juce::PopupMenu StsCont::buildValueMenu (int displayKind, int maximum)
{
    return buildValueMenu (maximum, [displayKind] (int value) { return ParDes::valueText (displayKind, value); });
}

juce::PopupMenu StsCont::buildValueMenu() const { return buildValueMenu (displayKind, maximum); }

void StsCont::openValueMenu()
{
    auto menu = buildValueMenu();
    menu.setLookAndFeel (&lookAndFeel.get());
    menu.showMenuAsync (juce::PopupMenu::Options().withTargetComponent (this),
                        [safe = juce::Component::SafePointer<StsCont> (this)] (int result) {
                            if (safe != nullptr)
                                safe->menuItemChosen (result);
                        });
}

void StsCont::menuItemChosen (int result)
{
    // A dismissed menu (result 0) leaves the value alone rather than sending the minimum.
    const int chosen = ParDes::valueOfMenuResult (result);
    if (chosen >= 0)
        requestValue (chosen, true);
}

// ---- Mouse -----------------------------------------------------------------------------------------

void StsCont::mouseDown (const juce::MouseEvent& e)
{
    if (e.mods.isRightButtonDown() || scale < kDirectEditThreshold)
    {
        requestZoom();
        return;
    }

    const float x = (float) e.x, y = (float) e.y;
    switch (type)
    {
        case kMenu: menuArmed = y < scaled ((float) kMenuStripHeight); break;

        case kSwitch:
            if (x < scaled (kSwitchHitWidth))
                requestValue (shownValue == 0 ? 1 : 0, false);
            break;

        case kKnob:
            dragStartX = e.x;
            dragStartY = e.y;
            dragStartValue = shownValue;
            dragging = true;
            break;

        case kThreeWay:
        {
            int choice = -1;
            if (x < scaled (kThreeWayLeftEdge))
                choice = 1;
            else if (x > scaled (kThreeWayRightEdge))
                choice = 2;
            if (choice < 0)
                break;
            // A lit switch goes dark whichever side is clicked.
            requestValue (shownValue != 0 ? 0 : choice, false);
            break;
        }

        case kCentredSwitch:
        {
            const float left = scaled ((float) ((width - 20) / 2));
            const float right = scaled ((float) ((width - 20) / 2 + 20));
            if (x > left && x < right)
                requestValue (shownValue == 0 ? 1 : 0, false);
            break;
        }

        default: break;
    }
}

void StsCont::mouseDrag (const juce::MouseEvent& e)
{
    if (type != kKnob || ! dragging || scale < kDirectEditThreshold)
        return;

    // Right and up raise the value; a short range (an on/off knob, a few modes) wants 15 pixels a step.
    const int step = maximum < kShortRangeStep ? kShortRangeStep : 1;
    requestValue ((e.x - dragStartX) / step + dragStartValue - (e.y - dragStartY) / step, false);
}

void StsCont::mouseUp (const juce::MouseEvent& e)
{
    if (e.mods.isRightButtonDown())
        return;

    const bool openMenu = type == kMenu && menuArmed && e.x >= 0 && (float) e.x < scaled (layoutWidth) && e.y >= 0 &&
                          (float) e.y < scaled ((float) kMenuStripHeight);
    dragging = false;
    menuArmed = false;

    if (openMenu)
        openValueMenu();
}

void StsCont::mouseWheelMove (const juce::MouseEvent&, const juce::MouseWheelDetails& wheel)
{
    if (wheel.deltaY > 0.0f)
        requestValue (shownValue + 1, false);
    else if (wheel.deltaY < 0.0f)
        requestValue (shownValue - 1, false);
}

// ---- Painting --------------------------------------------------------------------------------------

void StsCont::paint (juce::Graphics& g)
{
    if (backgroundFillOn)
        g.fillAll (backgroundColour);
    if (backgroundImageOn)
        g.drawImage (backgroundImage, getLocalBounds().toFloat());

    switch (type)
    {
        case kMenu: paintMenu (g); break;
        case kSwitch: paintSwitch (g); break;
        case kKnob: paintKnob (g); break;
        case kThreeWay: paintThreeWay (g); break;
        case kCentredSwitch: paintCentredSwitch (g); break;
        default: break;
    }
}

void StsCont::drawSwitchFrame (juce::Graphics& g, int x, int y, bool on)
{
    if (! switchImage.isValid())
        return;
    g.drawImage (switchImage, x, y, (int) scaled (kSwitchFrameWidth), (int) scaled (kSwitchFrameHeight),
                 on ? (int) kSwitchFrameWidth : 0, 0, (int) kSwitchFrameWidth, (int) kSwitchFrameHeight);
}

void StsCont::paintMenu (juce::Graphics& g)
{
    const float w = (float) width, h = (float) height;
    const int stripHeight = (int) scaled ((float) kMenuStripHeight);

    g.setOpacity (1.0f);
    if (menuBackgroundImage.isValid())
        g.drawImage (menuBackgroundImage, 0, 0, (int) scaled (kMenuStripWidth), stripHeight, 0, 0,
                     (int) kMenuStripWidth, kMenuStripHeight);
    if (menuArrowImage.isValid())
        g.drawImage (menuArrowImage, (int) scaled (w - kMenuArrowWidth), 0, (int) scaled (kMenuArrowWidth), stripHeight,
                     0, 0, (int) kMenuArrowWidth, kMenuStripHeight);
    if (menuFrameImage.isValid())
        g.drawImage (menuFrameImage, 0, 0, (int) scaled (w), stripHeight, 0, 0, kMenuFrameSourceWidth,
                     kMenuFrameSourceHeight);

    g.setFont (arial (scaled (12.0f)));
    g.setColour (juce::Colour (kValueTextColour));
    g.drawText (valueText, juce::Rectangle<float> (0.0f, 0.0f, scaled (w), scaled (20.0f)),
                juce::Justification::centred, false);

    g.setColour (juce::Colours::white);
    g.drawText (label, juce::Rectangle<float> (0.0f, scaled (8.0f), scaled (w), scaled (h)),
                juce::Justification::centred, false);
}

void StsCont::paintSwitch (juce::Graphics& g)
{
    const bool on = shownValue == 1;
    g.setColour (juce::Colours::black);
    drawSwitchFrame (g, 4, 4, on);
    if (on)
    {
        g.setColour (juce::Colour (kGlowColour));
        g.fillEllipse (0.0f, 0.0f, scaled (28.0f), scaled (20.0f));
    }

    g.setFont (arial (scaled (12.0f)));
    g.setColour (juce::Colours::white);
    g.drawText (label, juce::Rectangle<float> (scaled (32.0f), 0.0f, scaled ((float) width), scaled ((float) height)),
                juce::Justification::centredLeft, false);
}

void StsCont::paintKnob (juce::Graphics& g)
{
    owner.getSkin().drawKnob (g, width, knobFrame, knobStyle, scale);

    const float w = (float) width, h = (float) height;
    g.setFont (arial (scaled (11.0f)));
    g.setColour (juce::Colours::white);
    g.drawText (valueText, juce::Rectangle<float> (scaled (-2.0f), scaled (16.0f), scaled (w), scaled (h)),
                juce::Justification::centred, false);

    g.setFont (arial (scaled (12.0f)));
    g.drawText (label, juce::Rectangle<float> (0.0f, scaled (26.0f), scaled (w), scaled (h)),
                juce::Justification::centred, false);
}

void StsCont::paintThreeWay (juce::Graphics& g)
{
    g.setColour (juce::Colours::black);
    drawSwitchFrame (g, 0, 0, shownValue == 1);
    drawSwitchFrame (g, (int) scaled (40.0f), 0, shownValue == 2);

    g.setColour (juce::Colour (kGlowColour));
    if (shownValue == 1)
        g.fillEllipse (0.0f, 0.0f, scaled (28.0f), scaled (20.0f));
    else if (shownValue == 2)
        g.fillEllipse (scaled (36.0f), 0.0f, scaled (28.0f), scaled (20.0f));
}

void StsCont::paintCentredSwitch (juce::Graphics& g)
{
    const bool on = shownValue == 1;
    const int left = (width - 20) / 2;

    g.setColour (juce::Colours::black);
    drawSwitchFrame (g, (int) scaled ((float) left), 0, on);
    if (on)
    {
        g.setColour (juce::Colour (kGlowColour));
        g.fillEllipse (scaled ((float) (left - 4)), 0.0f, scaled (28.0f), scaled (16.0f));
    }

    g.setFont (arial (scaled (12.0f)));
    g.setColour (juce::Colours::white);
    g.drawText (label, juce::Rectangle<float> (0.0f, scaled (10.0f), scaled ((float) width), scaled ((float) height)),
                juce::Justification::centred, false);
}
