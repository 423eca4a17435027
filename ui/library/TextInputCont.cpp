#include "ui/library/TextInputCont.h"

#include "model/ParDes.h"

#include <algorithm>

namespace
{
constexpr int kButtonWidth = 100, kButtonHeight = 34, kButtonStep = 120;
constexpr int kButtonsWithBox = 136, kButtonsWithoutBox = 116;
} // namespace

TextInputCont::TextInputCont()
{
    title.setFont (juce::Font ("Arial", 24.0f, juce::Font::plain));
    title.setColour (juce::Label::textColourId, juce::Colours::white);
    title.setJustificationType (juce::Justification::centred);
    title.setInterceptsMouseClicks (false, false);
    addAndMakeVisible (title);

    field.setMultiLine (false);
    field.setFont (juce::Font ("Arial", 16.0f, juce::Font::plain));
    field.setJustification (juce::Justification::centredLeft);
    addChildComponent (field);

    for (auto* button : { &okButton, &noButton, &cancelButton })
    {
        addChildComponent (*button);
        button->addListener (this);
    }
    setVisible (false);
}

TextInputCont::~TextInputCont() = default;

void TextInputCont::showRequest (const juce::String& titleText, const juce::String& text,
                                 const juce::String& cancelCaption, const juce::String& okCaption,
                                 const juce::String& noCaption, int categoryOrNone, int code, int value)
{
    title.setText (titleText.trimEnd(), juce::dontSendNotification);
    requestCode = code;
    requestValue = value;

    categoryShown = categoryOrNone >= 0;
    category = juce::jlimit (0, ParDes::kNumCategories - 1, categoryOrNone);
    categoryText = ParDes::categoryText (category).toUpperCase();

    field.setText (text, false);
    field.setVisible (text.isNotEmpty() || categoryShown);

    okButton.setCaption (okCaption);
    noButton.setCaption (noCaption);
    cancelButton.setCaption (cancelCaption);
    for (auto* button : { &okButton, &noButton, &cancelButton })
        button->setVisible (button->getCaption().isNotEmpty());

    if (auto* parent = getParentComponent())
        setBounds (parent->getLocalBounds());
    setVisible (true);
    toFront (false);
    resized();
    repaint();
    if (field.isVisible() && field.isShowing())
        field.grabKeyboardFocus();
}

void TextInputCont::close()
{
    setVisible (false);
    setBounds (-100, -100, 50, 50);
}

void TextInputCont::addListener (textmsgListener* listener)
{
    const juce::ScopedLock sl (listenerLock);
    if (listener != nullptr && std::find (listeners.begin(), listeners.end(), listener) == listeners.end())
        listeners.push_back (listener);
}

void TextInputCont::removeListener (textmsgListener* listener)
{
    const juce::ScopedLock sl (listenerLock);
    listeners.erase (std::remove (listeners.begin(), listeners.end(), listener), listeners.end());
}

juce::Rectangle<int> TextInputCont::getCategoryBoxBounds() const
{
    return { (getWidth() - kFieldWidth) / 2, kBoxY, kFieldWidth, kBoxHeight };
}

juce::PopupMenu TextInputCont::buildCategoryMenu()
{
    juce::PopupMenu menu;
    for (int c = 0; c < ParDes::kNumCategories; ++c)
        menu.addItem (c + 1, ParDes::categoryText (c));
    return menu;
}

void TextInputCont::categoryMenuChosen (int result)
{
    if (result < 1 || result > ParDes::kNumCategories)
        return;
    category = result - 1;
    categoryText = ParDes::categoryText (category).toUpperCase();
    repaint();
}

void TextInputCont::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colour (kBackground));
    if (! categoryShown)
        return;
    const auto box = getCategoryBoxBounds();
    g.setColour (juce::Colour (kBoxFill));
    g.fillRect (box);
    g.setFont (boxFont);
    g.setColour (juce::Colour (kBoxText));
    g.drawText (categoryText, box, juce::Justification::centred, false);
}

void TextInputCont::resized()
{
    const int w = getWidth();
    title.setBounds (20, 24, w - 40, 30);
    field.setBounds ((w - kFieldWidth) / 2, kFieldY, kFieldWidth, kFieldHeight);

    const int y = categoryShown ? kButtonsWithBox : kButtonsWithoutBox;
    if (noButton.isVisible())
    {
        const int x = (w - 340) / 2;
        okButton.setBounds (x, y, kButtonWidth, kButtonHeight);
        noButton.setBounds (x + kButtonStep, y, kButtonWidth, kButtonHeight);
        cancelButton.setBounds (x + 2 * kButtonStep, y, kButtonWidth, kButtonHeight);
    }
    else
    {
        const int x = (w - 220) / 2;
        okButton.setBounds (x, y, kButtonWidth, kButtonHeight);
        cancelButton.setBounds (x + kButtonStep, y, kButtonWidth, kButtonHeight);
    }
}

void TextInputCont::mouseDown (const juce::MouseEvent& e)
{
    if (! categoryShown || ! getCategoryBoxBounds().contains (e.getPosition()))
        return;
    auto menu = buildCategoryMenu();
    menu.setLookAndFeel (&lookAndFeel.get());
    menu.showMenuAsync (juce::PopupMenu::Options().withTargetScreenArea (localAreaToGlobal (getCategoryBoxBounds())),
                        [safe = juce::Component::SafePointer<TextInputCont> (this)] (int result) {
                            if (safe != nullptr)
                                safe->categoryMenuChosen (result);
                        });
}

void TextInputCont::libButClicked (LibBut* button, int)
{
    std::vector<textmsgListener*> toTell;
    {
        const juce::ScopedLock sl (listenerLock);
        toTell = listeners;
    }
    const int code = requestCode, value = requestValue;
    for (auto it = toTell.rbegin(); it != toTell.rend(); ++it)
    {
        if (button == &okButton)
            (*it)->textOkPressed (code, value);
        else if (button == &noButton)
            (*it)->textNoPressed (code, value);
        else
            (*it)->textCancelPressed (code, value);
    }
}
