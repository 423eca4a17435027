#include "ui/editor/GroupClass.h"
#include "model/ParDes.h"
#include "plugin/OstrelAudioProcessor.h"

namespace
{
using GroupContents::Widget;

juce::Rectangle<int> scaled (const GroupContents::Box& box, float s)
{
    return { (int) ((float) box.x * s), (int) ((float) box.y * s), (int) ((float) box.width * s),
             (int) ((float) box.height * s) };
}

// Groups whose title band also names the layer they belong to.
constexpr juce::uint32 kGroupBackground = 0xFF1A1B1E, kTitleBand = 0xFF700010, kTitleText = 0xFFF0F0F0;
constexpr juce::uint32 kCompactABBackground = 0xFF18191D;
constexpr int kABExpandedMinWidth = 500;
} // namespace

GroupClass::GroupClass (OstrelAudioProcessor& o, int index, int l)
    : owner (o), groupIndex (index), layer (l), row (GroupContents::groupOf (index))
{
    buildContent();
    setInterceptsMouseClicks (! isEmpty(), ! isEmpty());
}

bool GroupClass::isEmpty() const noexcept
{
    return juce::String (row.title).isEmpty() && controls.isEmpty() && widgets.empty();
}

GroupClass::~GroupClass()
{
    for (auto* c : controls)
        c->removeListener (this);
}

void GroupClass::buildContent()
{
    const auto rows = GroupContents::controlsOf (groupIndex);

    // All controls first, then each set up: creation order is the table's order.
    for (size_t i = 0; i < rows.size(); ++i)
        controls.add (new StsCont (owner, layer));
    for (int i = 0; i < controls.size(); ++i)
    {
        const auto& r = rows[(size_t) i];
        auto* c = controls[i];
        c->setup (r.position, r.label, r.box.x, r.box.y, r.box.width, r.box.height, r.minimum, r.maximum, r.type,
                  r.displayKind);
        c->setKnobStyle (r.knobStyle);
        addAndMakeVisible (c);
        c->addListener (this);
    }

    widgets = GroupContents::specialWidgetsOf (groupIndex);
    auto& controller = owner.getController();
    for (const auto& w : widgets)
    {
        switch (w.kind)
        {
            case Widget::Envel:
                envelope = std::make_unique<Envel> (owner);
                envelope->setGroupIndex (groupIndex);
                envelope->addChangeListener (this);
                addAndMakeVisible (*envelope);
                break;
            case Widget::ShapeClass:
                if (w.which >= 1 && w.which <= 4)
                {
                    auto& icon = waveIcons[(size_t) (w.which - 1)];
                    icon = std::make_unique<ShapeClass> (w.box.y);
                    addAndMakeVisible (*icon);
                }
                break;
            case Widget::P_Slider:
                if (w.which >= 1 && w.which <= 2)
                {
                    auto& slider = sliders[(size_t) (w.which - 1)];
                    slider = std::make_unique<P_Slider> (controller, w.which);
                    addAndMakeVisible (*slider);
                }
                break;
            case Widget::P_Pad:
                pad = std::make_unique<P_Pad> (controller);
                addAndMakeVisible (*pad);
                break;
            case Widget::ZoneKeyClass:
                compactKeyboard = std::make_unique<ZoneKeyClass>();
                compactKeyboard->addChangeListener (this);
                addAndMakeVisible (*compactKeyboard);
                break;
            case Widget::ZoneKeyClassB:
                largeKeyboard = std::make_unique<ZoneKeyClassB>();
                largeKeyboard->addChangeListener (this);
                addChildComponent (*largeKeyboard);
                break;
        }
    }
    placeWidgets();
}

ShapeClass* GroupClass::getWaveIcon (int oscillator) const noexcept
{
    return oscillator >= 1 && oscillator <= 4 ? waveIcons[(size_t) (oscillator - 1)].get() : nullptr;
}

P_Slider* GroupClass::getSlider (int which) const noexcept
{
    return which >= 1 && which <= 2 ? sliders[(size_t) (which - 1)].get() : nullptr;
}

StsCont* GroupClass::findControl (int position) const
{
    for (auto* c : controls)
        if (c->getParameterPosition() == position)
            return c;
    return nullptr;
}

juce::String GroupClass::textFor (const StsCont& control, int value) const
{
    return ParDes::valueText (control.getDisplayKind(), value);
}

void GroupClass::showControlValue (StsCont& control, int value)
{
    control.showValue (value, textFor (control, value));

    const int p = control.getParameterPosition();
    if (p >= 12 && p <= 15)
    {
        if (auto* icon = getWaveIcon (p - 11))
        {
            icon->setShape (value);
            if (auto* modulation = findControl (p + 16))
                icon->setShapeModulation (modulation->getShownValue());
            icon->redraw();
        }
    }
    else if (p >= 28 && p <= 31)
    {
        if (auto* icon = getWaveIcon (p - 27))
        {
            icon->setShapeModulation (value);
            icon->redraw();
        }
    }
    else if (p >= 180 && p <= 195 && envelope != nullptr)
    {
        const auto v = (float) control.getShownValue();
        if (p < 184)
            envelope->setAttack (v);
        else if (p < 188)
            envelope->setDecay (v);
        else if (p < 192)
            envelope->setSustain (v);
        else
            envelope->setRelease (v);
    }
    else if (p == 424)
    {
        if (compactKeyboard != nullptr)
            compactKeyboard->setSplitKey (control.getShownValue());
        if (largeKeyboard != nullptr && largeKeyboard->isVisible())
            largeKeyboard->setSplitKey (control.getShownValue());
    }
}

void GroupClass::setLayout (int x, int y, int width, int height)
{
    layout = { x, y, width, height };
    setBounds ((int) ((float) x * scale), (int) ((float) y * scale) + GroupContents::kTopBand,
               (int) ((float) width * scale), (int) ((float) height * scale));
}

void GroupClass::setScale (float newScale)
{
    scale = newScale;
    for (auto* c : controls)
        c->setScale (scale);
    setLayout (layout.getX(), layout.getY(), layout.getWidth(), layout.getHeight());
    placeWidgets();
    repaint();
}

void GroupClass::placeWidgets()
{
    for (const auto& w : widgets)
    {
        const auto box = scaled (w.scaledBox, scale);
        switch (w.kind)
        {
            case Widget::Envel:
                envelope->setScale (scale);
                envelope->setBounds (box);
                break;
            case Widget::ShapeClass:
                if (auto* icon = getWaveIcon (w.which))
                {
                    icon->setScale (scale);
                    icon->setBounds (box);
                }
                break;
            case Widget::P_Slider:
                if (auto* slider = getSlider (w.which))
                {
                    slider->setScale (scale);
                    slider->setBounds (box);
                }
                break;
            case Widget::P_Pad:
                pad->setScale (scale);
                pad->setBounds (box);
                break;
            case Widget::ZoneKeyClass:
                if (! abExpanded)
                {
                    compactKeyboard->setScale (GroupContents::kCompactKeyboardScale * scale);
                    compactKeyboard->setBounds (box);
                }
                break;
            case Widget::ZoneKeyClassB: break; // placed by the expanded form only
        }
    }
}

void GroupClass::setABModeExpanded (bool expanded)
{
    if (groupIndex != GroupContents::kABModeGroup)
        return;

    abExpanded = expanded;
    const auto form = GroupContents::abModeForm (expanded);
    if (compactKeyboard != nullptr)
    {
        compactKeyboard->setVisible (form.compactKeyboardVisible);
        if (form.compactKeyboardVisible)
        {
            compactKeyboard->setScale (GroupContents::kCompactKeyboardScale);
            compactKeyboard->setBounds (form.compactKeyboard.toRectangle());
        }
    }
    if (largeKeyboard != nullptr)
    {
        if (form.largeKeyboardVisible && compactKeyboard != nullptr)
            largeKeyboard->setSplitKey (compactKeyboard->getSplitKey());
        largeKeyboard->setScale (1.0f);
        largeKeyboard->setBounds (form.largeKeyboard.toRectangle());
        largeKeyboard->setVisible (form.largeKeyboardVisible);
    }
    if (auto* split = findControl (424))
        split->setPosition (form.splitPoint.x, form.splitPoint.y);
    if (auto* mode = findControl (425))
        mode->setPosition (form.abMode.x, form.abMode.y);

    const auto& g = form.groupLayout;
    setLayout (g.x, g.y, g.width, g.height);
    repaint();
}

void GroupClass::paint (juce::Graphics& g)
{
    if (groupIndex == GroupContents::kABModeGroup)
    {
        if (getWidth() < kABExpandedMinWidth)
        {
            g.fillAll (juce::Colour (kCompactABBackground));
            return;
        }
    }
    else if (! shownOnPage || juce::String (row.title).isEmpty())
    {
        // Layer B has no "SLIDERS": its empty slot shows nothing rather than an empty box.
        return;
    }

    const float s = groupIndex == GroupContents::kABModeGroup ? 1.0f : scale;
    g.fillAll (juce::Colour (kGroupBackground));
    g.setColour (juce::Colour (kTitleBand));
    g.fillRect (juce::Rectangle<float> (0.0f, 0.0f, (float) getWidth(), 16.0f * s));
    g.setColour (juce::Colour (kTitleText));
    g.setFont (juce::Font ("Arial", 12.0f * s, juce::Font::bold));
    g.drawText (row.title, juce::Rectangle<float> (0.0f, 0.0f, (float) getWidth(), 16.0f * s),
                juce::Justification::centred, false);
    if (row.writesLayerMark)
        g.drawText (layer == 0 ? "A" : "B", juce::Rectangle<float> (4.0f * s, 0.0f, 200.0f * s, 16.0f * s),
                    juce::Justification::centredLeft, false);

    if (groupIndex == GroupContents::kABModeGroup)
    {
        g.setColour (juce::Colours::white);
        g.setFont (juce::Font ("Arial", 12.0f, juce::Font::plain));
        for (const auto& caption : GroupContents::captionsOf (groupIndex))
            g.drawText (caption.text, caption.box.toRectangle(), juce::Justification::centredLeft, false);
    }
}

void GroupClass::mouseDown (const juce::MouseEvent& e)
{
    if (isEmpty())
        return;
    if (scale < kDirectEditThreshold || e.mods.isRightButtonDown())
        sendChangeMessage();
}

void GroupClass::stsContZoomRequested (StsCont*) { sendChangeMessage(); }

void GroupClass::changeListenerCallback (juce::ChangeBroadcaster* source)
{
    if (envelope != nullptr && source == envelope.get())
    {
        if (envelope->getChangeCode() == Envel::kZoomRequested)
        {
            sendChangeMessage();
            return;
        }
        // The dragged stages go to the model through the group's own envelope knobs, like turns.
        const auto& w =
            *std::find_if (widgets.begin(), widgets.end(), [] (const auto& x) { return x.kind == Widget::Envel; });
        const float values[] = { envelope->getAttack(), envelope->getDecay(), envelope->getSustain(),
                                 envelope->getRelease() };
        for (int i = 0; i < 4; ++i)
            if (auto* c = findControl (w.bound[i]))
                c->requestValue ((int) values[i], false);
        return;
    }

    if (compactKeyboard != nullptr && source == compactKeyboard.get())
    {
        sendChangeMessage(); // the page zooms (expands) this group
        return;
    }

    if (largeKeyboard != nullptr && source == largeKeyboard.get())
    {
        if (auto* split = findControl (424))
        {
            const int key = largeKeyboard->getSplitKey();
            if (largeKeyboard->getChangeCode() == ZoneKeyClassB::kRequest)
            {
                // A drag may have shown this very key already; the request must still go out.
                split->forgetShownValue();
                split->requestValue (key, false);
            }
            else if (largeKeyboard->getChangeCode() == ZoneKeyClassB::kShow)
                split->showValue (key, textFor (*split, key));
        }
    }
}
