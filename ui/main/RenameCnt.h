#pragma once

#include "ui/look/StsBut.h"

#include <juce_gui_basics/juce_gui_basics.h>

// The rename box of the write dialog: a one-line text editor with "Cancel" (id 1113) and "OK"
// (id 1111) below it. The owner listens to both buttons and reads getText(). Return in the editor
// clicks "OK", Escape clicks "Cancel".
class RenameCnt : public juce::Component
{
public:
    static constexpr int kWidth = 180, kHeight = 50;
    static constexpr int kOkId = 1111, kCancelId = 1113;

    RenameCnt (int x, int y, const juce::String& text);

    juce::String getText() const { return editor.getText(); }
    juce::TextEditor& getEditor() noexcept { return editor; }
    StsBut& getOkButton() noexcept { return ok; }
    StsBut& getCancelButton() noexcept { return cancel; }

    void paint (juce::Graphics& g) override;

private:
    juce::TextEditor editor;
    StsBut cancel { "Cancel", kCancelId, StsBut::kDialogStyle };
    StsBut ok { "OK", kOkId, StsBut::kDialogStyle };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (RenameCnt)
};
