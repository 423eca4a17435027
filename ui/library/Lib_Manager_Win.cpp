#include "ui/library/Lib_Manager_Win.h"

#include "plugin/OstrelAudioProcessor.h"
#include "ui/library/LibClass.h"
#include "ui/library/PresetBankPage.h"

#include <algorithm>

namespace
{
constexpr int kTabWidth = 100, kTabHeight = 34, kPageTop = 50, kPageBottomMargin = 92;
} // namespace

Lib_Manager_Comp::Lib_Manager_Comp (OstrelAudioProcessor& p, std::shared_ptr<FileDialogs> d)
    : processor (p), dialogs (std::move (d)), playPanel (p.getController(), KeyPlayClass::kLibraryWindow)
{
    setLookAndFeel (&lookAndFeel.get());

    for (auto* tab : { &presetTab, &libraryTab })
    {
        addAndMakeVisible (*tab);
        tab->addListener (this);
    }
    addAndMakeVisible (closeControl);
    closeControl.addListener (this);

    playPanel.setFillColour (juce::Colours::transparentBlack);
    playPanel.setTextColour (juce::Colours::white);
    playPanel.setMouseCursor (juce::MouseCursor::DraggingHandCursor);
    playPanel.addListener (this);
    addAndMakeVisible (playPanel);

    statusLabel.setTextColour (juce::Colour (0xffcebdbd));
    addAndMakeVisible (statusLabel);

    addChildComponent (waitCover);

    setSize (Lib_Manager_Win::kWidth, Lib_Manager_Win::kHeight);
    showPresetBankPage();
}

Lib_Manager_Comp::~Lib_Manager_Comp()
{
    playPanel.removeListener (this);
    closeControl.removeListener (this);
    // The LIBRARY page writes the default library file as it goes.
    libraryPage.reset();
    presetPage.reset();
    setLookAndFeel (nullptr);
}

void Lib_Manager_Comp::addCloseListener (winToolListener* listener)
{
    const juce::ScopedLock sl (listenerLock);
    if (listener != nullptr &&
        std::find (closeListeners.begin(), closeListeners.end(), listener) == closeListeners.end())
        closeListeners.push_back (listener);
}

void Lib_Manager_Comp::removeCloseListener (winToolListener* listener)
{
    const juce::ScopedLock sl (listenerLock);
    closeListeners.erase (std::remove (closeListeners.begin(), closeListeners.end(), listener), closeListeners.end());
}

// ---- Pages -----------------------------------------------------------------------------------------

void Lib_Manager_Comp::park (juce::Component* page)
{
    if (page == nullptr)
        return;
    page->setVisible (false);
    page->setTopLeftPosition (-2 * page->getWidth() - 100, page->getY());
}

void Lib_Manager_Comp::showPresetBankPage()
{
    park (libraryPage.get());
    pageName = "PRESET BANK";
    if (presetPage == nullptr)
    {
        presetPage = std::make_unique<Plugin_Bank> (processor, dialogs);
        presetPage->getDoneButton().addListener (this);
        addChildComponent (*presetPage, 0); // under the tabs, which reach into the page's top
    }
    presetPage->setVisible (true);
    resized();
    presetPage->showCurrentSlot();
    repaint();
}

void Lib_Manager_Comp::showLibraryPage()
{
    park (presetPage.get());
    pageName = "LIBRARY";
    if (libraryPage == nullptr)
    {
        libraryPage = std::make_unique<LibClass> (processor, dialogs);
        libraryPage->getDoneButton().addListener (this);
        libraryPage->giveKeyboardBack = [this] { playPanel.grabKeyboardFocus(); };
        addChildComponent (*libraryPage, 0);
        libraryPage->readDefaultLibrary();
    }
    libraryPage->setVisible (true);
    resized();
    repaint();
}

// ---- Waiting for a bank transfer --------------------------------------------------------------------

const char* const Lib_Manager_Comp::kWaitMessage = "A bank transfer is running: the library waits until it ends.";

void Lib_Manager_Comp::setWaitingForTransfer (bool waiting)
{
    for (juce::Component* c : { (juce::Component*) &presetTab, (juce::Component*) &libraryTab,
                                (juce::Component*) presetPage.get(), (juce::Component*) libraryPage.get() })
        if (c != nullptr)
            c->setEnabled (! waiting);
    waitCover.setVisible (waiting);
    if (waiting)
        waitCover.toFront (false);
    resized();
}

void Lib_Manager_Comp::WaitCover::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colour (0xAA000000));
    g.setColour (juce::Colour (0xFFFCF5F5));
    g.setFont (juce::Font ("Arial", 18.0f, juce::Font::bold));
    g.drawText (kWaitMessage, getLocalBounds(), juce::Justification::centred, true);
}

// ---- Layout ----------------------------------------------------------------------------------------

void Lib_Manager_Comp::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colour (kBackground));
    g.setColour (juce::Colour (kStrip));
    g.fillRect (0, 4, getWidth(), kMoveStripHeight);
    g.setFont (titleFont);
    g.setColour (juce::Colour (kTitleText));
    g.drawText ("PROPHET 12 : " + pageName, 0, 4, getWidth(), kMoveStripHeight, juce::Justification::centred, false);
}

void Lib_Manager_Comp::resized()
{
    const int w = getWidth(), h = getHeight();
    presetTab.setBounds (20, 22, kTabWidth, kTabHeight);
    libraryTab.setBounds (130, 22, kTabWidth, kTabHeight);
    closeControl.setBounds (w - 20, 6, 18, 22);
    playPanel.setBounds (100, 4, 200, 20);
    statusLabel.setBounds (w - 400, h - 30, 400, 24);
    waitCover.setBounds (0, kMoveStripHeight + 4, w, h - kMoveStripHeight - 4); // below the title strip
    for (juce::Component* page : { (juce::Component*) presetPage.get(), (juce::Component*) libraryPage.get() })
        if (page != nullptr && page->isVisible())
            page->setBounds (0, kPageTop, w, h - kPageBottomMargin);
}

// ---- Buttons ---------------------------------------------------------------------------------------

void Lib_Manager_Comp::libButClicked (LibBut*, int id)
{
    if (id == kPresetTabId)
        showPresetBankPage();
    else if (id == kLibraryTabId)
        showLibraryPage();
    else if (id == kDoneId)
        closeWindow();
}

void Lib_Manager_Comp::winToolClicked (WinMovCan*, int code)
{
    if (code == WinMovCan::kClose)
        closeWindow();
}

void Lib_Manager_Comp::closeWindow()
{
    std::vector<winToolListener*> toTell;
    {
        const juce::ScopedLock sl (listenerLock);
        toTell = closeListeners;
    }
    const juce::Component::SafePointer<Lib_Manager_Comp> alive (this);
    for (auto it = toTell.rbegin(); it != toTell.rend() && alive != nullptr; ++it)
        (*it)->winToolClicked (&closeControl, WinMovCan::kClose);
    if (alive == nullptr)
        return;
    if (auto* window = dynamic_cast<Lib_Manager_Win*> (getParentComponent()))
        window->hide();
    sendChangeMessage();
}

// ---- Moving the window by its title strip or the play panel -----------------------------------------

void Lib_Manager_Comp::startMove (juce::Point<int> at)
{
    moving = true;
    movePressPoint = at;
}

void Lib_Manager_Comp::moveTo (juce::Point<int> at)
{
    if (! moving)
        return;
    auto* window = getTopLevelComponent();
    if (window == nullptr || window == this)
        return;
    window->setTopLeftPosition (window->getPosition() + (at - movePressPoint));
}

void Lib_Manager_Comp::mouseMove (const juce::MouseEvent& e)
{
    setMouseCursor (e.y < kMoveStripHeight ? juce::MouseCursor::DraggingHandCursor : juce::MouseCursor::NormalCursor);
}

void Lib_Manager_Comp::mouseDown (const juce::MouseEvent& e)
{
    moving = false;
    if (e.y < kMoveStripHeight)
        startMove (e.getPosition());
}

void Lib_Manager_Comp::mouseDrag (const juce::MouseEvent& e) { moveTo (e.getPosition()); }

void Lib_Manager_Comp::mouseUp (const juce::MouseEvent&) { moving = false; }

void Lib_Manager_Comp::keyPlayPressed (int x, int y) { startMove ({ x, y }); }

void Lib_Manager_Comp::keyPlayDragged (int x, int y) { moveTo ({ x, y }); }

// ---- Window ----------------------------------------------------------------------------------------

Lib_Manager_Win::Lib_Manager_Win (OstrelAudioProcessor& processor, std::shared_ptr<FileDialogs> dialogs)
    : juce::DocumentWindow ("Prophet 12 Library", juce::Colours::black, 0, true)
{
    setUsingNativeTitleBar (false);
    setTitleBarHeight (0);
    setResizable (false, false);
    // The window does nothing with keys itself. Wanting them, it would take them from the play panel
    // (or the search field) whenever the display tells it again that it is focused, as X does after
    // the window is raised by a click.
    setWantsKeyboardFocus (false);
    content = new Lib_Manager_Comp (processor, std::move (dialogs));
    setContentOwned (content, false);
    setSize (kWidth, kHeight);
    centreWithSize (kWidth, kHeight);
}

Lib_Manager_Win::~Lib_Manager_Win() { clearContentComponent(); }

void Lib_Manager_Win::show()
{
    // RENAME and SAVE act on the current preset: its row is the one shown selected.
    if (auto* presets = content->getPresetBankPage(); presets != nullptr && presets->isVisible())
        presets->showCurrentSlot();
    setVisible (true);
    setAlwaysOnTop (true);
    toFront (true);
}

void Lib_Manager_Win::hide()
{
    // Keys held on the play panel would never be seen released.
    content->getPlayPanel().releaseHeldNotes();
    setVisible (false);
}
