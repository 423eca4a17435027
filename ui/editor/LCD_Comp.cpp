#include "ui/editor/LCD_Comp.h"

#include "model/Bank_Program.h"
#include "ui/look/Skins.h"

namespace
{
const juce::Colour kText { 0xFFDDDDDD };
const juce::Colour kABText { 0xFFFFC2A6 };
const juce::Colour kArpText { 0xFFFF5E5E };
} // namespace

LCD_Comp::LCD_Comp() : location (Bank_Program::locationText (0, 0)), image (Skins::get ("lcd")) { setScale (1.0f); }

void LCD_Comp::setProgram (int newBank, int newProgram, int newCategory, const juce::String& newName,
                           const juce::String& newCategoryText, const juce::String& newABText,
                           const juce::String& newArpText)
{
    bank = newBank;
    program = newProgram;
    location = Bank_Program::locationText (bank, program);
    category = newCategory;
    name = newName;
    categoryText = newCategoryText;
    abText = newABText;
    arpText = newArpText;
    repaint();
}

void LCD_Comp::setLocation (int newBank, int newProgram)
{
    bank = newBank;
    program = newProgram;
    location = Bank_Program::locationText (bank, program);
    repaint();
}

void LCD_Comp::setProgramName (const juce::String& newName)
{
    name = newName;
    repaint();
}

void LCD_Comp::setCategory (int newCategory, const juce::String& newCategoryText)
{
    category = newCategory;
    categoryText = newCategoryText;
    repaint();
}

void LCD_Comp::setEditState (bool newEdited, bool newComparing)
{
    if (newEdited == edited && newComparing == comparing)
        return;
    edited = newEdited;
    comparing = newComparing;
    repaint();
}

void LCD_Comp::setScale (float newScale)
{
    scale = newScale > 0.0f ? newScale : 1.0f;
    locationFont = juce::Font ("Arial", 14.0f * scale, juce::Font::plain);
    nameFont = juce::Font ("Arial", 16.0f * scale, juce::Font::plain);
    smallFont = juce::Font ("Arial", 12.0f * scale, juce::Font::plain);
    setSize (juce::roundToInt (kWidth * scale), juce::roundToInt (kHeight * scale));
    repaint();
}

int LCD_Comp::regionAt (juce::Point<float> p) const noexcept
{
    const float s = scale;
    if (p.y > 26 * s && p.y < 38 * s && p.x > 9 * s && p.x < 179 * s)
        return kNameRegion;
    if (p.y > 5 * s && p.y < 18 * s && p.x > 76 * s && p.x < 184 * s)
        return kCategoryRegion;
    if (p.y > 4 * s && p.y < 18 * s && p.x > 9 * s && p.x <= 112 * s)
        return kLocationRegion;
    return kNoRegion;
}

void LCD_Comp::mouseDown (const juce::MouseEvent& e)
{
    const int region = regionAt (e.position);
    if (region == kNoRegion)
        return;
    clickedRegion = region;
    sendSynchronousChangeMessage();
}

void LCD_Comp::paint (juce::Graphics& g)
{
    const float s = scale;
    const auto area = [s] (float x, float y, float w, float h) {
        return juce::Rectangle<float> (x * s, y * s, w * s, h * s);
    };

    if (image.isValid())
        g.drawImage (image, area (0, 0, kWidth, kHeight), juce::RectanglePlacement::stretchToFit);
    else
    {
        g.setColour (juce::Colour (0xFF10161C));
        g.fillRoundedRectangle (area (0, 0, kWidth, kHeight), 4.0f * s);
    }

    g.setColour (kText);
    g.setFont (locationFont);
    g.drawText (location, area (9, 4, 104, 14), juce::Justification::centredLeft, false);
    g.setFont (nameFont);
    g.drawText (name, area (9, 26, 170, 12), juce::Justification::centredLeft, false);
    if (edited)
    {
        // Right after the name's last letter, as the instrument marks an edited program.
        const float x = 9 * s + juce::jmin (nameFont.getStringWidthFloat (name.trimEnd()) + 3 * s, 160 * s);
        g.drawText (kEditedMark, juce::Rectangle<float> (x, 24 * s, 10 * s, 12 * s), juce::Justification::centredLeft,
                    false);
    }
    g.setFont (smallFont);
    if (comparing)
    {
        g.setColour (kABText);
        g.drawText (kCompareText, area (76, 5, 131, 13), juce::Justification::centredRight, false);
        g.setColour (kText);
    }
    else
    {
        g.drawText (categoryText, area (76, 5, 131, 13), juce::Justification::centredRight, false);
    }
    g.setColour (kABText);
    g.drawText (abText, area (156, 26, 30, 12), juce::Justification::centred, false);
    g.setColour (kArpText);
    g.drawText (arpText, area (190, 26, 20, 12), juce::Justification::centred, false);
}
