#include "ui/setup/Global_Container.h"

#include "model/GlobalSettings.h"
#include "ui/look/Skins.h"

#include <cmath>

namespace
{
const juce::Colour kListText { 0xFFB6FFFD };
const juce::Colour kSwitchOnWash { 0x33814141 };
const juce::Colour kPanelFill { 0xDD000000 };
const juce::Colour kPanelOutline { 0xDD457089 };

constexpr int kListLabel = 120, kSwitchLabel = 150, kOwnLabel = 0;
constexpr int kOffPanel = -1000;

// clang-format off
const Global_Container::Layout kLayout[GlobalSettings::kCount] = {
    //  kind             x         y          w    h   label at
    { GlbCont::kKnob,    44,       50,        64,  65, kOwnLabel },   //  0 "Coarse"
    { GlbCont::kKnob,    114,      50,        64,  65, kOwnLabel },   //  1 "Fine"
    { GlbCont::kList,    340,      50,        100, 30, kListLabel },  //  2 "MIDI Channel:"
    { GlbCont::kList,    580,      50,        100, 30, kListLabel },  //  3 "MIDI Clock Mode"
    { GlbCont::kList,    580,      78,        100, 30, kListLabel },  //  4 "MIDI Clock Cable"
    { GlbCont::kList,    140,      128,       100, 30, kListLabel },  //  5 "MIDI Param Send"
    { GlbCont::kList,    140,      162,       100, 30, kListLabel },  //  6 "MIDI Param Recv."
    { GlbCont::kSwitch,  410,      128,       40,  30, kSwitchLabel },//  7 "MIDI Controller Enable"
    { GlbCont::kSwitch,  170,      196,       40,  30, kSwitchLabel },//  8 "MIDI SysEx Enable"
    { GlbCont::kList,    140,      230,       100, 30, kListLabel },  //  9 "MIDI SysEx Cable"
    { GlbCont::kList,    140,      264,       100, 30, kListLabel },  // 10 "MIDI Out Select"
    { GlbCont::kSwitch,  kOffPanel, kOffPanel, 40, 30, kOwnLabel },   // 11 "Local Control" (kept off the panel)
    { GlbCont::kList,    340,      78,        100, 30, kListLabel },  // 12 "Audio Output"
    { GlbCont::kList,    620,      128,       100, 30, kListLabel },  // 13 "Pot Mode"
    { GlbCont::kList,    620,      230,       100, 30, kListLabel },  // 14 "Sustain Polarity"
    { GlbCont::kList,    620,      264,       100, 30, kListLabel },  // 15 "Sustain Mode"
    { GlbCont::kList,    620,      162,       100, 30, kListLabel },  // 16 "Pedal 1 Mode"
    { GlbCont::kList,    620,      196,       100, 30, kListLabel },  // 17 "Pedal 2 Mode"
    { GlbCont::kSwitch,  410,      196,       40,  24, kSwitchLabel },// 18 "Pressure Enable"
    { GlbCont::kList,    380,      264,       100, 30, kListLabel },  // 19 "Pressure Curve"
    { GlbCont::kList,    380,      230,       100, 30, kListLabel },  // 20 "Velocity Curve"
    { GlbCont::kList,    kOffPanel, kOffPanel, 40, 30, kOwnLabel },   // 21 (unnamed, kept off the panel)
    { GlbCont::kSwitch,  650,      298,       100, 30, kSwitchLabel },// 22 "Screen Server"
    { GlbCont::kSwitch,  410,      162,       40,  24, kSwitchLabel },// 23 "MIDI Arp Notes"
    { GlbCont::kList,    kOffPanel, kOffPanel, 40, 30, kOwnLabel },   // 24 (unnamed, kept off the panel)
    { GlbCont::kList,    140,      298,       200, 30, kListLabel },  // 25 "Alt. Tuning Scale:"
};
// clang-format on

juce::Font arial (float height, int style = juce::Font::plain) { return juce::Font ("Arial", height, style); }
} // namespace

// ---- GlbCont ---------------------------------------------------------------------------------------

GlbCont::GlbCont (MidiCntrState& c) : controller (c) {}

void GlbCont::configure (int index, Kind newKind)
{
    globalIndex = index;
    kind = newKind;
    maximum = GlobalSettings::maximum (index);

    // Decoded once through the image cache; painting only draws them.
    switch (kind)
    {
        case kList:
            boxImage = Skins::get ("menu_strip");
            arrowImage = Skins::get ("menu_arrow");
            overlayImage = Skins::get ("menu_frame");
            break;
        case kSwitch: switchImage = Skins::get ("switch"); break;
        case kKnob: knobImage = Skins::get ("global_knob_strip"); break;
    }
    repaint();
}

int GlbCont::getValue() const { return isConfigured() ? controller.getGlobalValue (globalIndex) : 0; }

void GlbCont::setValue (int value)
{
    if (! isConfigured())
        return;
    const int before = getValue();
    controller.setGlobalValue (globalIndex, value);
    if (getValue() != before)
        repaint();
}

int GlbCont::knobFrame (int value, int maximum)
{
    if (maximum <= 0)
        return 0;
    const double position = (290.0 - (maximum - value) * 290.0 / maximum) / 5.35;
    // A value past the range (from a dump) shows the end of the strip, never a frame beyond it.
    return juce::jlimit (0, kKnobFrames - 1, (int) std::nearbyint (position));
}

// ---- Value menu ------------------------------------------------------------------------------------

juce::PopupMenu GlbCont::buildValueMenu() const
{
    juce::PopupMenu menu;
    for (int value = 0; value <= maximum; ++value)
    {
        const auto text = GlobalSettings::valueText (globalIndex, value);
        if (text.isNotEmpty())
            menu.addItem (value + 1, text);
    }
    return menu;
}

void GlbCont::openValueMenu()
{
    auto menu = buildValueMenu();
    menu.setLookAndFeel (&lookAndFeel.get());
    menu.showMenuAsync (juce::PopupMenu::Options().withTargetComponent (this),
                        [safe = juce::Component::SafePointer<GlbCont> (this)] (int result) {
                            if (safe != nullptr)
                                safe->valueChosen (result);
                        });
}

void GlbCont::valueChosen (int result)
{
    if (result - 1 >= 0)
        setValue (result - 1);
}

// ---- Painting --------------------------------------------------------------------------------------

void GlbCont::paint (juce::Graphics& g)
{
    if (! isConfigured())
        return;

    const int value = getValue();
    switch (kind)
    {
        case kList: paintList (g, value); break;
        case kSwitch: paintSwitch (g, value); break;
        case kKnob: paintKnob (g, value); break;
    }
}

void GlbCont::paintList (juce::Graphics& g, int value)
{
    const int width = getWidth();
    if (boxImage.isValid())
        g.drawImage (boxImage, 0, 0, 200, 18, 0, 0, boxImage.getWidth(), boxImage.getHeight());
    else
    {
        g.setColour (juce::Colour (0xFF202428));
        g.fillRect (0, 0, width, 18);
    }

    if (arrowImage.isValid())
        g.drawImage (arrowImage, width - 14, 0, 14, 18, 0, 0, arrowImage.getWidth(), arrowImage.getHeight());
    else
    {
        juce::Path arrow;
        arrow.addTriangle ((float) width - 11.0f, 7.0f, (float) width - 3.0f, 7.0f, (float) width - 7.0f, 12.0f);
        g.setColour (juce::Colours::white);
        g.fillPath (arrow);
    }

    if (overlayImage.isValid())
        g.drawImage (overlayImage, 0, 0, width, 18, 0, 0, juce::jmin (100, overlayImage.getWidth()),
                     juce::jmin (17, overlayImage.getHeight()));
    else
    {
        g.setColour (juce::Colour (0xFF5A6163));
        g.drawRect (0, 0, width, 18, 1);
    }

    g.setColour (kListText);
    g.setFont (arial (12.0f));
    g.drawText (GlobalSettings::valueText (globalIndex, value), 0, 0, width, 20, juce::Justification::centred, true);
}

void GlbCont::paintSwitch (juce::Graphics& g, int value)
{
    // A value other than 0 (a dump may hold 2) reads as on, as a press turns it off.
    const bool on = value != 0;
    if (switchImage.isValid())
        g.drawImage (switchImage, 4, 4, 20, 12, on ? 20 : 0, 0, 20, 12);
    else
    {
        g.setColour (juce::Colour (0xFF2A2A2A));
        g.fillRect (4, 4, 20, 12);
        g.setColour (on ? juce::Colour (0xFF35C5F4) : juce::Colour (0xFF606060));
        g.fillRect (on ? 14 : 5, 5, 9, 10);
    }

    if (on)
    {
        g.setColour (kSwitchOnWash);
        g.fillRect (0, 0, 28, 20);
    }
}

void GlbCont::paintKnob (juce::Graphics& g, int value)
{
    const int width = getWidth(), height = getHeight();
    const int frame = knobFrame (value, maximum);
    if (knobImage.isValid())
        g.drawImage (knobImage, width / 2 - 15, 0, kKnobDrawSize, kKnobDrawSize, frame * kKnobFrameStep, 0,
                     kKnobFrameSize, kKnobFrameSize);
    else
    {
        const auto area =
            juce::Rectangle<float> ((float) (width / 2 - 15), 0.0f, (float) kKnobDrawSize, (float) kKnobDrawSize)
                .reduced (6.0f);
        g.setColour (juce::Colour (0xFF303438));
        g.fillEllipse (area);
        const float angle = juce::jmap ((float) frame, 0.0f, (float) (kKnobFrames - 1), -2.4f, 2.4f);
        const auto centre = area.getCentre();
        g.setColour (juce::Colours::white);
        g.drawLine ({ centre, centre.getPointOnCircumference (area.getWidth() * 0.45f, angle) }, 2.0f);
    }

    g.setColour (juce::Colours::white);
    g.setFont (arial (11.0f));
    g.drawText (GlobalSettings::valueText (globalIndex, value), 0, 9, width, height, juce::Justification::centred,
                true);
    g.setFont (arial (12.0f));
    g.drawText (GlobalSettings::label (globalIndex), 0, 26, width, height, juce::Justification::centred, true);
}

// ---- Mouse -----------------------------------------------------------------------------------------

void GlbCont::mouseDown (const juce::MouseEvent& e)
{
    if (! isConfigured())
        return;

    downX = e.x;
    downY = e.y;
    switch (kind)
    {
        case kList: menuArmed = true; break;
        case kSwitch: setValue (getValue() == 0 ? 1 : 0); break;
        case kKnob:
            downValue = getValue();
            dragging = true;
            break;
    }
}

void GlbCont::mouseDrag (const juce::MouseEvent& e)
{
    if (kind != kKnob || ! dragging)
        return;

    // Integer division rounds toward zero: a drag shorter than a step changes nothing.
    const int step = maximum < kShortRangeBelow ? kShortRangeStep : kLongRangeStep;
    setValue (downValue + (e.x - downX) / step - (e.y - downY) / step);
}

void GlbCont::mouseUp (const juce::MouseEvent&)
{
    const bool openMenu = menuArmed && kind == kList;
    dragging = false;
    menuArmed = false;
    if (openMenu)
        openValueMenu();
}

void GlbCont::mouseWheelMove (const juce::MouseEvent&, const juce::MouseWheelDetails& wheel)
{
    if (wheel.deltaY > 0.0f)
        setValue (getValue() + 1);
    else if (wheel.deltaY < 0.0f)
        setValue (getValue() - 1);
}

// ---- Global_Container ------------------------------------------------------------------------------

const Global_Container::Layout& Global_Container::layoutOf (int index)
{
    return kLayout[juce::jlimit (0, GlobalSettings::kCount - 1, index)];
}

Global_Container::Global_Container (MidiCntrState& c) : controller (c), closeImage (Skins::get ("global_close"))
{
    for (int i = 0; i < kControls; ++i)
    {
        auto& control = controls[(size_t) i];
        control = std::make_unique<GlbCont> (controller);
        if (i < GlobalSettings::kCount)
        {
            const auto& row = kLayout[i];
            control->configure (i, row.kind);
            control->setBounds (row.x, row.y, row.width, row.height);
            addAndMakeVisible (*control);
        }
        else
        {
            addChildComponent (*control);
        }
    }
    setSize (kWidth, kHeight);
}

Global_Container::~Global_Container() = default;

void Global_Container::addListener (Global_Listener* listener)
{
    const juce::ScopedLock sl (listenerLock);
    if (listener != nullptr)
        listeners.addIfNotAlreadyThere (listener);
}

void Global_Container::removeListener (Global_Listener* listener)
{
    const juce::ScopedLock sl (listenerLock);
    listeners.removeAllInstancesOf (listener);
}

GlbCont* Global_Container::getControl (int index)
{
    return juce::isPositiveAndBelow (index, kControls) ? controls[(size_t) index].get() : nullptr;
}

juce::Rectangle<int> Global_Container::getCloseArea() const noexcept
{
    // Both edges belong to the mark.
    return { getWidth() - kCloseLeftFromRight, kCloseTop, kCloseLeftFromRight - kCloseRightFromRight + 1,
             kCloseBottom - kCloseTop + 1 };
}

void Global_Container::resized() { drawBackground(); }

void Global_Container::drawBackground()
{
    const int width = getWidth(), height = getHeight();
    if (width <= 0 || height <= 0)
    {
        background = {};
        return;
    }

    background = juce::Image (juce::Image::ARGB, width, height, true);
    juce::Graphics g (background);

    const auto area = getLocalBounds().toFloat();
    g.setColour (kPanelFill);
    g.fillRoundedRectangle (area, 10.0f);
    g.setColour (kPanelOutline);
    g.drawRoundedRectangle (area.reduced (1.5f), 10.0f, 3.0f);

    g.setColour (juce::Colours::white);
    g.setFont (arial (12.0f, juce::Font::bold));
    g.drawText ("Global Settings:", 14, 4, 200, 30, juce::Justification::centredLeft, true);

    g.setFont (arial (12.0f));
    for (int i = 0; i < GlobalSettings::kCount; ++i)
    {
        const auto& row = kLayout[i];
        if (row.labelDistance > 0)
            g.drawText (GlobalSettings::label (i), row.x - row.labelDistance, row.y + 1, 200, 18,
                        juce::Justification::centredLeft, true);
    }

    const juce::Rectangle<float> mark ((float) (width - 25), 10.0f, 15.0f, 15.0f);
    if (closeImage.isValid())
        g.drawImage (closeImage, mark, juce::RectanglePlacement::stretchToFit);
    else
    {
        g.setColour (juce::Colours::white);
        g.drawLine ({ mark.getTopLeft(), mark.getBottomRight() }, 2.0f);
        g.drawLine ({ mark.getBottomLeft(), mark.getTopRight() }, 2.0f);
    }
}

void Global_Container::paint (juce::Graphics& g)
{
    if (background.isValid())
        g.drawImageAt (background, 0, 0);
}

void Global_Container::mouseDown (const juce::MouseEvent& e)
{
    if (getCloseArea().contains (e.x, e.y))
        tellListeners (kCloseRequested);
}

void Global_Container::tellListeners (int code)
{
    juce::Array<Global_Listener*> copy;
    {
        const juce::ScopedLock sl (listenerLock);
        copy = listeners;
    }
    // Last registered first.
    for (int i = copy.size(); --i >= 0;)
        copy.getUnchecked (i)->globalPanelEvent (code);
}
