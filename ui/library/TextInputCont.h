#pragma once

#include "ui/library/LibBut.h"
#include "ui/look/OstrelLookAndFeel.h"

#include <juce_gui_basics/juce_gui_basics.h>

// Told which button of a request overlay was pressed, with the request's code and value so that one
// owner can tell its requests apart. The owner closes the overlay from its answer.
class textmsgListener
{
public:
    virtual ~textmsgListener() = default;
    virtual void textOkPressed (int requestCode, int requestValue) = 0;
    virtual void textNoPressed (int requestCode, int requestValue) = 0;
    virtual void textCancelPressed (int requestCode, int requestValue) = 0;
};

// The question a library page asks over itself: a title, optionally a name field and a category
// box, and up to three buttons in the OK, NO and Cancel roles. One overlay per page is reused for
// every request; a new request replaces the one showing.
//
//   overlay->showRequest ("Append Programs?", {}, "CANCEL", "YES", "NO", -1, 256, 5);
//   overlay->showRequest ("Rename X:", "X", "CANCEL", "OK", {}, category, 1280, 0);
//   ... textOkPressed (256, 5) → owner->close() ...
// A role whose caption is empty has no button. The name field shows for requests that give a text
// or a category; the category box for requests with a category (0..25).
class TextInputCont : public juce::Component, public juce::ChangeBroadcaster, private LibButListener
{
public:
    static constexpr int kOkId = 1201, kNoId = 1200, kCancelId = 1202;
    static constexpr juce::uint32 kBackground = 0xff191919, kBoxFill = 0xff272527, kBoxText = 0xfff2f0f0;
    static constexpr int kFieldWidth = 280, kFieldY = 64, kFieldHeight = 24, kBoxY = 94, kBoxHeight = 30;

    TextInputCont();
    ~TextInputCont() override;

    void showRequest (const juce::String& title, const juce::String& text, const juce::String& cancelCaption,
                      const juce::String& okCaption, const juce::String& noCaption, int category, int requestCode,
                      int requestValue);
    // Hidden and parked out of the way.
    void close();

    void addListener (textmsgListener* listener);
    void removeListener (textmsgListener* listener);

    juce::String getTitle() const { return title.getText(); }
    juce::String getText() const { return field.getText(); }
    void setText (const juce::String& text) { field.setText (text, false); }
    int getCategory() const noexcept { return category; }
    bool isFieldShown() const noexcept { return field.isVisible(); }
    bool isCategoryBoxShown() const noexcept { return categoryShown; }
    int getRequestCode() const noexcept { return requestCode; }
    int getRequestValue() const noexcept { return requestValue; }

    LibBut& getOkButton() noexcept { return okButton; }
    LibBut& getNoButton() noexcept { return noButton; }
    LibBut& getCancelButton() noexcept { return cancelButton; }
    juce::TextEditor& getField() noexcept { return field; }

    juce::Rectangle<int> getCategoryBoxBounds() const;
    // The 26 categories, items 1..26 for categories 0..25.
    static juce::PopupMenu buildCategoryMenu();
    // What the category menu does with its result (0: dismissed).
    void categoryMenuChosen (int result);

    void paint (juce::Graphics& g) override;
    void resized() override;
    void mouseDown (const juce::MouseEvent& e) override;

private:
    void libButClicked (LibBut* button, int id) override;
    void libButEntered (LibBut*, int) override {}
    void libButLeft (LibBut*, int) override {}

    juce::Label title;
    juce::TextEditor field;
    bool categoryShown = false;
    int category = 0;
    juce::String categoryText;
    juce::Font boxFont { "Arial", 15.0f, juce::Font::plain };
    LibBut okButton { "OK", kOkId }, noButton { "NO", kNoId }, cancelButton { "Cancel", kCancelId };
    int requestCode = 0, requestValue = 0;

    juce::SharedResourcePointer<OstrelLookAndFeel> lookAndFeel;
    juce::CriticalSection listenerLock;
    std::vector<textmsgListener*> listeners;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TextInputCont)
};
