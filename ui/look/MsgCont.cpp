#include "ui/look/MsgCont.h"

namespace
{
const juce::Colour kVeil { 0x55000000 };
const juce::Colour kShadow { 0x56000000 };
const juce::Colour kOutline { 0xFF777777 };
const juce::Colour kText { 0xFFFCF6F5 };
constexpr float kCorner = 10.0f, kShadowOffset = 10.0f, kOutlineThickness = 2.0f;
constexpr int kLabelY = 10, kLabelHeight = 24, kTwoLinesY = 6, kTextMargin = 14;
constexpr float kFontHeight = 18.0f;

// Where a text too wide for one line breaks: at the last blank before the width runs out, or, in a
// text without one, at the last character that fits.
int lineBreak (const juce::String& text, const juce::Font& font, float width)
{
    int fits = 0;
    while (fits < text.length() && font.getStringWidthFloat (text.substring (0, fits + 1)) <= width)
        ++fits;
    if (fits >= text.length())
        return text.length();
    const int blank = text.substring (0, fits + 1).lastIndexOfChar (' ');
    return blank > 0 ? blank : juce::jmax (1, fits);
}
constexpr int kButtonY = 64, kOkX = 368, kCancelX = 280, kButtonWidth = 60, kButtonHeight = 24;
} // namespace

MsgCont::MsgCont (const juce::String& message, int ownerWidth, int ownerHeight) : text (message)
{
    const juce::Font font ("Arial", kFontHeight, juce::Font::plain);
    const int at = lineBreak (text, font, (float) (kBoxWidth - 2 * kTextMargin));
    label.setup (text.substring (0, at), "Arial", kFontHeight);
    secondLine.setup (text.substring (at).trimStart(), "Arial", kFontHeight);
    for (auto* line : { &label, &secondLine })
    {
        line->setTextColour (kText);
        line->setInterceptsMouseClicks (false, false);
        addChildComponent (*line);
    }
    label.setVisible (true);
    secondLine.setVisible (secondLine.getText().isNotEmpty());

    okButton.setup (0, 0, kButtonWidth, kButtonHeight, false);
    cancelButton.setup (0, 0, kButtonWidth, kButtonHeight, false);
    okButton.addListener (this);
    cancelButton.addListener (this);
    addAndMakeVisible (okButton);
    addChildComponent (cancelButton);

    setBounds (0, 0, juce::jmax (0, ownerWidth), juce::jmax (0, ownerHeight));
}

MsgCont::~MsgCont()
{
    okButton.removeListener (this);
    cancelButton.removeListener (this);
}

juce::StringArray MsgCont::getLines() const
{
    juce::StringArray lines { label.getText() };
    if (secondLine.isVisible())
        lines.add (secondLine.getText());
    return lines;
}

void MsgCont::showCancelButton (bool shouldShow) { cancelButton.setVisible (shouldShow); }

juce::Rectangle<int> MsgCont::getBoxBounds() const noexcept
{
    return { (getWidth() - kBoxWidth) / 2, (getHeight() - kBoxHeight) / 2, kBoxWidth, kBoxHeight };
}

void MsgCont::resized()
{
    const auto box = getBoxBounds();
    if (secondLine.isVisible())
    {
        label.setBounds (box.getX(), box.getY() + kTwoLinesY, kBoxWidth, kLabelHeight);
        secondLine.setBounds (box.getX(), box.getY() + kTwoLinesY + kLabelHeight, kBoxWidth, kLabelHeight);
    }
    else
        label.setBounds (box.getX(), box.getY() + kLabelY, kBoxWidth, kLabelHeight);
    okButton.setBounds (box.getX() + kOkX, box.getY() + kButtonY, kButtonWidth, kButtonHeight);
    cancelButton.setBounds (box.getX() + kCancelX, box.getY() + kButtonY, kButtonWidth, kButtonHeight);
}

void MsgCont::stsButClicked (StsBut* button)
{
    result = button == &okButton ? kOk : kCancel;
    sendChangeMessage();
    if (afterAnswer)
        afterAnswer();
}

void MsgCont::showNotice (juce::Component& owner, std::unique_ptr<MsgCont>& holder, const juce::String& text)
{
    holder = std::make_unique<MsgCont> (text, owner.getWidth(), owner.getHeight());
    auto* box = holder.get();
    owner.addAndMakeVisible (*box);
    box->toFront (false);
    box->afterAnswer = [owned = juce::Component::SafePointer<juce::Component> (&owner), &holder, box] {
        box->setVisible (false);
        // The button that was clicked is the box's own child: it goes after the click.
        juce::MessageManager::callAsync ([owned, &holder, box] {
            if (owned != nullptr && holder.get() == box)
                holder.reset();
        });
    };
}

void MsgCont::paint (juce::Graphics& g)
{
    g.fillAll (kVeil);
    const auto box = getBoxBounds().toFloat();
    g.setColour (kShadow);
    g.fillRoundedRectangle (box.translated (kShadowOffset, kShadowOffset), kCorner);
    g.setColour (juce::Colours::black);
    g.fillRoundedRectangle (box, kCorner);
    g.setColour (kOutline);
    g.drawRoundedRectangle (box.reduced (kOutlineThickness / 2), kCorner, kOutlineThickness);
}
