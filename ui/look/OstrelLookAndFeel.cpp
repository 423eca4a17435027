#include "ui/look/OstrelLookAndFeel.h"

namespace
{
const juce::Colour kPanel { 0xFF232323 }, kField { 0xFF101010 }, kOutline { 0xFF4D5051 }, kText { 0xFFE1E1E1 },
    kAccent { 0xFF76BDD2 }, kButton { 0xFF3A3A3A }, kButtonOn { 0xFF5A5A5A };
} // namespace

OstrelLookAndFeel::OstrelLookAndFeel()
{
    using juce::PopupMenu;
    setColour (PopupMenu::backgroundColourId, juce::Colour (kMenuBackground));
    setColour (PopupMenu::textColourId, juce::Colour (kMenuText));
    setColour (PopupMenu::headerTextColourId, juce::Colour (kMenuText));
    setColour (PopupMenu::highlightedBackgroundColourId, juce::Colour (kMenuHighlight));
    setColour (PopupMenu::highlightedTextColourId, juce::Colour (kMenuText));

    using juce::TextEditor;
    setColour (TextEditor::backgroundColourId, kField);
    setColour (TextEditor::textColourId, kText);
    setColour (TextEditor::highlightColourId, kAccent.withAlpha (0.4f));
    setColour (TextEditor::highlightedTextColourId, juce::Colours::white);
    setColour (TextEditor::outlineColourId, kOutline);
    setColour (TextEditor::focusedOutlineColourId, kAccent);
    setColour (TextEditor::shadowColourId, juce::Colours::transparentBlack);
    setColour (juce::CaretComponent::caretColourId, kText);

    using juce::TextButton;
    setColour (TextButton::buttonColourId, kButton);
    setColour (TextButton::buttonOnColourId, kButtonOn);
    setColour (TextButton::textColourOffId, kText);
    setColour (TextButton::textColourOnId, juce::Colours::white);

    using juce::Label;
    setColour (Label::textColourId, kText);
    setColour (Label::backgroundColourId, juce::Colours::transparentBlack);
    setColour (Label::outlineColourId, juce::Colours::transparentBlack);
    setColour (Label::textWhenEditingColourId, kText);
    setColour (Label::backgroundWhenEditingColourId, kField);
    setColour (Label::outlineWhenEditingColourId, kAccent);

    setColour (juce::ResizableWindow::backgroundColourId, kPanel);
    setColour (juce::DocumentWindow::textColourId, kText);
    setColour (juce::ScrollBar::thumbColourId, kOutline);
    setColour (juce::ListBox::backgroundColourId, kField);
    setColour (juce::ListBox::textColourId, kText);
    setColour (juce::ComboBox::backgroundColourId, kField);
    setColour (juce::ComboBox::textColourId, kText);
    setColour (juce::ComboBox::outlineColourId, kOutline);
    setColour (juce::ComboBox::arrowColourId, kText);
    setColour (juce::ToggleButton::textColourId, kText);
    setColour (juce::ToggleButton::tickColourId, kText);
    setColour (juce::AlertWindow::backgroundColourId, kPanel);
    setColour (juce::AlertWindow::textColourId, kText);
    setColour (juce::AlertWindow::outlineColourId, kOutline);
}

void OstrelLookAndFeel::drawPopupMenuBackground (juce::Graphics& g, int width, int height)
{
    // A plain black sheet; the stock look stripes it.
    g.fillAll (findColour (juce::PopupMenu::backgroundColourId));
    g.setColour (findColour (juce::PopupMenu::textColourId).withAlpha (0.6f));
    g.drawRect (0, 0, width, height);
}

juce::Font OstrelLookAndFeel::getPopupMenuFont() { return juce::Font ("Arial", kMenuFontHeight, juce::Font::plain); }
