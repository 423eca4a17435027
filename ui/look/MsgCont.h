#pragma once

#include "ui/look/StsBut.h"
#include "ui/look/StsLabel.h"

#include <juce_gui_basics/juce_gui_basics.h>

// The message box: a line of text in a 460 x 100 box centred over a darkened owner, with "OK" and an
// optional "CANCEL" (hidden unless showCancelButton() is called). A text too wide for the line (a long
// file name in it) goes on over a second line rather than being cut.
//
// How an owner uses it:
//   box = std::make_unique<MsgCont> (text, getWidth(), getHeight());
//   addAndMakeVisible (*box);                      // it covers the whole owner
//   box->getOkButton().addListener (this);         // both buttons have id 999: compare the pointer
//   box->getCancelButton().addListener (this);
// Either button closes the box: delete it in stsButClicked. An owner that does not delete it there
// is told through the change broadcaster instead and reads getResult() (asynchronously; do not
// delete the box inside that callback).
class MsgCont : public juce::Component, public juce::ChangeBroadcaster, private stsbutChangeListener
{
public:
    static constexpr int kBoxWidth = 460, kBoxHeight = 100;
    static constexpr int kButtonId = 999;
    static constexpr int kNoAnswer = 0, kOk = 1, kCancel = 2;

    MsgCont (const juce::String& text, int ownerWidth, int ownerHeight);
    ~MsgCont() override;

    // A notice with "OK" alone over the whole of `owner`, kept in `holder` (a member of the owner,
    // replacing any notice there): OK hides it and lets it go once the click is over.
    static void showNotice (juce::Component& owner, std::unique_ptr<MsgCont>& holder, const juce::String& text);

    void showCancelButton (bool shouldShow = true);

    const juce::String& getText() const noexcept { return text; }
    // The text as shown: one line, or two when it does not fit in one.
    juce::StringArray getLines() const;
    int getResult() const noexcept { return result; }
    juce::Rectangle<int> getBoxBounds() const noexcept;

    StsBut& getOkButton() noexcept { return okButton; }
    StsBut& getCancelButton() noexcept { return cancelButton; }

    void paint (juce::Graphics& g) override;
    void resized() override;

private:
    void stsButClicked (StsBut* button) override;

    juce::String text;
    StsLabel label, secondLine;
    StsBut okButton { "OK", kButtonId, StsBut::kDialogStyle };
    StsBut cancelButton { "CANCEL", kButtonId, StsBut::kDialogStyle };
    int result = kNoAnswer;
    std::function<void()> afterAnswer;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MsgCont)
};
