#pragma once

#include "ui/look/StsBut.h"

#include <juce_gui_basics/juce_gui_basics.h>

// The progress overlay of the chained bank transfers. It darkens the whole owner and shows, in a
// 400 x 40 box at the centre, a track with a fill of 3 pixels per step, a caption and a "CANCEL"
// button (id 999) that the owner listens to.
class ProgBar : public juce::Component
{
public:
    static constexpr int kBoxWidth = 400, kBoxHeight = 40;
    static constexpr int kMinimum = 0, kMaximum = 127;
    static constexpr int kCancelId = 999;

    ProgBar (int ownerWidth, int ownerHeight);

    // Clamps the value to 0..127, shows the caption and sizes the fill.
    void setProgress (int value, const juce::String& caption);
    int getValue() const noexcept { return value; }
    juce::String getCaption() const { return caption.getText(); }
    int getFillWidth() const noexcept { return fill.getWidth(); }

    StsBut& getCancelButton() noexcept { return cancel; }

    void paint (juce::Graphics& g) override;
    void resized() override;

private:
    juce::Point<int> boxOrigin() const noexcept;

    int value = kMinimum;
    juce::TextButton track, fill;
    juce::Label caption;
    StsBut cancel { "CANCEL", kCancelId, StsBut::kDialogStyle };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ProgBar)
};
