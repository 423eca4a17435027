#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The display at the top of the editor page, 217 x 46 at scale 1: the program's location ("U1 P 1"),
// its name, its category, the A/B mode and the arpeggiator mark. A press on the location (region 1),
// the name (2) or the category (3) broadcasts at once; the owner reads getClickedRegion().
class LCD_Comp : public juce::Component, public juce::ChangeBroadcaster
{
public:
    static constexpr int kWidth = 217, kHeight = 46;
    static constexpr int kNoRegion = 0, kLocationRegion = 1, kNameRegion = 2, kCategoryRegion = 3;

    LCD_Comp();

    // "U" and bank + 1 for the user banks 0..3, "F" and bank - 3 for the factory banks 4..7, then
    // " P " and the program number counted from 1: bank 7, program 98 reads "F4 P 99".

    void setProgram (int bank, int program, int category, const juce::String& name, const juce::String& categoryText,
                     const juce::String& abText, const juce::String& arpText);
    void setLocation (int bank, int program);
    void setProgramName (const juce::String& name);
    void setCategory (int category, const juce::String& categoryText);

    int getBank() const noexcept { return bank; }
    int getProgram() const noexcept { return program; }
    int getCategory() const noexcept { return category; }
    const juce::String& getLocationText() const noexcept { return location; }
    const juce::String& getName() const noexcept { return name; }
    const juce::String& getCategoryText() const noexcept { return categoryText; }
    const juce::String& getABText() const noexcept { return abText; }
    const juce::String& getArpText() const noexcept { return arpText; }

    // The current program differs from its stored slot: a mark beside the name. While comparing
    // with the stored program, "COMPARE" stands where the category is.
    void setEditState (bool edited, bool comparing);
    bool isEditedMarkShown() const noexcept { return edited; }
    bool isCompareShown() const noexcept { return comparing; }
    static constexpr const char* kEditedMark = "*";
    static constexpr const char* kCompareText = "COMPARE";

    // Scales the display and its own size with it.
    void setScale (float newScale);
    float getScale() const noexcept { return scale; }

    int getClickedRegion() const noexcept { return clickedRegion; }
    // The region under a point of the component, 0 for none.
    int regionAt (juce::Point<float> point) const noexcept;

    void paint (juce::Graphics& g) override;
    void mouseDown (const juce::MouseEvent& e) override;

private:
    juce::String location, name, categoryText, abText, arpText;
    int bank = 0, program = 0, category = 0;
    int clickedRegion = kNoRegion;
    bool edited = false, comparing = false;
    float scale = 1.0f;
    juce::Font locationFont, nameFont, smallFont; // made for the scale, not in paint
    juce::Image image;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LCD_Comp)
};
