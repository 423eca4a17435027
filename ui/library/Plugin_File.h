#pragma once

#include "ui/library/ProgramListView.h"

class OstrelAudioProcessor;

// Told of presses in the preset list: (65, 0) after a press on a row, followed by (88, 0) when it was
// the right button; and the double click.
class PlugFileListener
{
public:
    virtual ~PlugFileListener() = default;
    virtual void plugFileChanged (int code, int value) = 0;
    virtual void plugFileDoubleClicked (int, int) = 0;
};

// The preset list of the PRESET BANK page: the 99 slots of the "Program Bank", row i showing slot i
// with its name and category, read from the controller state at paint time.
class Plugin_File : public ProgramListView
{
public:
    static constexpr int kRowPressed = 65, kRightPressed = 88;

    explicit Plugin_File (OstrelAudioProcessor& processor);
    ~Plugin_File() override;

    int getSelectedSlot() const noexcept { return selectedSlot; }
    // Selects the slot's row without telling anyone and scrolls it to the top as far as possible.
    void showSlot (int slot);

    void addListener (PlugFileListener* listener);
    void removeListener (PlugFileListener* listener);

    int getNumRows() const override;
    int getSelectedRow() const override { return selectedRow; }
    void getRowTexts (int row, juce::String& name, juce::String& category) const override;
    void rowPressed (int row, const juce::MouseEvent& e) override;
    void listDoubleClicked() override;

private:
    template <typename Call>
    void tell (Call&& call);

    OstrelAudioProcessor& processor;
    int selectedRow = -1, selectedSlot = -1;
    juce::CriticalSection listenerLock;
    std::vector<PlugFileListener*> listeners;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Plugin_File)
};
