#pragma once

#include "library/FileDialogs.h"
#include "ui/keyboard/KeyPlayClass.h"
#include "ui/library/LibBut.h"
#include "ui/look/OstrelLookAndFeel.h"
#include "ui/look/SimpleLabel.h"
#include "ui/look/WinMovCan.h"

#include <memory>

class OstrelAudioProcessor;
class LibClass;
class Plugin_Bank;

// The library window: a window of its own with two pages, PRESET BANK (the plug-in's 99 presets)
// and LIBRARY (the program library), a title strip that moves the window, a close control and a
// play panel so the user can play the instrument from the computer keyboard while auditioning.
//
// How the main editor uses it:
//   libraryWindow = std::make_unique<Lib_Manager_Win> (processor, fileDialogs);  // first use only
//   libraryWindow->addCloseListener (this);   // optional: winToolClicked (source, 122) on close/DONE
//   libraryWindow->show();                    // on top of other windows, visible
//   libraryWindow->hide();
// The window is 1000 x 620 and opens on the PRESET BANK page. The close control and both pages'
// DONE hide it (and tell the close listeners 122); nothing is lost while it is hidden. Destroying it
// (with the editor) writes the library to its default file. `fileDialogs` may be nullptr for the
// system's own dialogs.
class Lib_Manager_Comp : public juce::Component,
                         public juce::ChangeBroadcaster,
                         private LibButListener,
                         private KeyPlayListener,
                         private winToolListener
{
public:
    static constexpr int kLibraryTabId = 1217, kPresetTabId = 1218, kDoneId = 1201;
    static constexpr juce::uint32 kBackground = 0xff373535, kStrip = 0xff0a0a0a, kTitleText = 0xffede9e9;
    static constexpr int kMoveStripHeight = 20;

    Lib_Manager_Comp (OstrelAudioProcessor& processor, std::shared_ptr<FileDialogs> dialogs);
    ~Lib_Manager_Comp() override;

    void showPresetBankPage();
    void showLibraryPage();
    const juce::String& getPageName() const noexcept { return pageName; }

    // The pages, or nullptr before their first showing.
    LibClass* getLibraryPage() noexcept { return libraryPage.get(); }
    Plugin_Bank* getPresetBankPage() noexcept { return presetPage.get(); }

    LibBut& getPresetTab() noexcept { return presetTab; }
    LibBut& getLibraryTab() noexcept { return libraryTab; }
    WinMovCan& getCloseControl() noexcept { return closeControl; }
    KeyPlayClass& getPlayPanel() noexcept { return playPanel; }
    SimpleLabel& getStatusLabel() noexcept { return statusLabel; }

    // While a bank transfer runs the pages work on the banks it fills or sends: they take no input
    // then, and a cover over them says why. The title strip still moves and closes the window.
    void setWaitingForTransfer (bool waiting);
    bool isWaitingForTransfer() const noexcept { return waitCover.isVisible(); }
    static const char* const kWaitMessage;
    juce::String getWaitMessage() const { return isWaitingForTransfer() ? kWaitMessage : ""; }

    // Told 122 (with the close control as source) when the close control or a DONE is clicked.
    void addCloseListener (winToolListener* listener);
    void removeCloseListener (winToolListener* listener);

    void paint (juce::Graphics& g) override;
    void resized() override;
    void mouseMove (const juce::MouseEvent& e) override;
    void mouseDown (const juce::MouseEvent& e) override;
    void mouseDrag (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;

private:
    void libButClicked (LibBut* button, int id) override;
    void libButEntered (LibBut*, int) override {}
    void libButLeft (LibBut*, int) override {}
    void keyPlayMoved (int, int) override {}
    void keyPlayPressed (int x, int y) override;
    void keyPlayReleased (int, int) override {}
    void keyPlayDragged (int x, int y) override;
    void winToolClicked (WinMovCan* source, int code) override;

    void startMove (juce::Point<int> at);
    void moveTo (juce::Point<int> at);
    void closeWindow();
    static void park (juce::Component* page);

    struct WaitCover : juce::Component
    {
        void paint (juce::Graphics& g) override;
    };

    OstrelAudioProcessor& processor;
    std::shared_ptr<FileDialogs> dialogs;

    LibBut presetTab { "PRESET BANK", kPresetTabId }, libraryTab { "LIBRARY", kLibraryTabId };
    WinMovCan closeControl { WinMovCan::kCloseOnly };
    KeyPlayClass playPanel;
    SimpleLabel statusLabel { 15.0f, juce::Colours::transparentBlack, juce::Font::plain,
                              juce::Justification::centredLeft };
    std::unique_ptr<LibClass> libraryPage;
    std::unique_ptr<Plugin_Bank> presetPage;
    juce::String pageName;
    WaitCover waitCover;

    bool moving = false;
    juce::Point<int> movePressPoint;

    juce::Font titleFont { "Arial", 15.0f, juce::Font::plain };
    juce::SharedResourcePointer<OstrelLookAndFeel> lookAndFeel;
    juce::CriticalSection listenerLock;
    std::vector<winToolListener*> closeListeners;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Lib_Manager_Comp)
};

// The window around Lib_Manager_Comp: no system title bar, no border, black, always on top once
// shown.
class Lib_Manager_Win : public juce::DocumentWindow
{
public:
    static constexpr int kWidth = 1000, kHeight = 620;

    Lib_Manager_Win (OstrelAudioProcessor& processor, std::shared_ptr<FileDialogs> dialogs = nullptr);
    ~Lib_Manager_Win() override;

    void show();
    void hide();

    Lib_Manager_Comp& getContent() noexcept { return *content; }
    void addCloseListener (winToolListener* listener) { content->addCloseListener (listener); }
    void removeCloseListener (winToolListener* listener) { content->removeCloseListener (listener); }

    juce::BorderSize<int> getBorderThickness() override { return {}; }
    void closeButtonPressed() override { hide(); }

private:
    Lib_Manager_Comp* content = nullptr; // owned by the window

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Lib_Manager_Win)
};
