#include "ui/MainComp.h"
#include "midi/NotificationCodes.h"
#include "plugin/OstrelAudioProcessor.h"

namespace
{
constexpr int kTopBand = EditorPanel::kTopBand;
constexpr int kBankViewBottom = 20; // the bank panel leaves this much above the keyboard
constexpr int kMinKeyboardHeight = 50;
const juce::String kOnLine = "DSI:  PROPHET 12 KBD ON-LINE", kOffLine = "OFF-LINE";

// The page commands of the play panel and the global panel: 0x210002D7.. show pages.
int pageForCommand (int command)
{
    if (command >= 0x2D7 && command <= 0x2DD)
        return command - 0x2D7 + 1;
    if (command == 0x2DE)
        return 10;
    if (command == 0x2DF)
        return 11;
    return -1;
}

juce::Rectangle<int> displayArea()
{
    if (auto* display = juce::Desktop::getInstance().getDisplays().getPrimaryDisplay())
        return display->userArea;
    return { 0, 0, 1920, 1080 };
}
} // namespace

MainComp::MainComp (OstrelAudioProcessor& p) : processor (p), controller (p.getController()), transfer (controller)
{
    // 1. The geometry the last editor left behind.
    auto& state = processor.getEditorState();
    if (auto stored = SettingsFiles::loadGeometry (controller.getFolder().geometryFile()))
        state.geometry = *stored;

    // 2. Listen to the controller.
    controller.addStateListener (this);
    controller.addStateChangeListener (this);

    // 3. No chain survives a closed editor: its overlay went with it.
    const auto display = displayArea();
    if (controller.isChained())
        controller.finishChainedTransfer();

    // 4. The shared knob and key pictures.
    processor.getSkin().loadImages();

    // 5. The panels.
    bankPanel = std::make_unique<BankComp> (controller);
    addChildComponent (*bankPanel);
    bankPanel->addChangeListener (this);
    bankPanel->getOkButton().addListener (this);
    bankPanel->getGrid().addListener (this);

    editorPanel = std::make_unique<EditorPanel> (processor);
    addAndMakeVisible (*editorPanel);
    editorPanel->addChangeListener (this);
    for (int i = 0; i < AppBar::kNumFunctionButtons; ++i)
        editorPanel->getAppBar().getFunctionButton (i).addListener (this);
    editorPanel->getAppBar().getChannelLabel().addChangeListener (this);
    editorPanel->getAppBar().getWindowButton().addListener (this);
    editorPanel->getLcd().addChangeListener (this);
    editorPanel->getSettingsButton().addChangeListener (this);
    editorPanel->getZoomCorner().addChangeListener (this);

    keyboard = std::make_unique<KeyBrd> (controller);
    addAndMakeVisible (*keyboard);
    keyboard->addChangeListener (this);

    // 6. Size and scale from the geometry, within the display.
    const auto& g = state.geometry;
    int width = g.main.getWidth() < 100 ? kDefaultWidth : g.main.getWidth();
    int height = g.main.getHeight() < 100 ? kDefaultHeight : g.main.getHeight();
    width = juce::jmin (width, display.getWidth() - 10);
    height = juce::jmin (height, display.getHeight() - 10);
    float scale = (float) g.editorScale;
    if (scale < 0.1f)
        scale = 1.0f;
    scale = juce::jmin (scale, 1.5f);
    keyboardHeight = g.keyboard.getHeight() < kMinKeyboardHeight ? kKeyboardHeight : g.keyboard.getHeight();
    pageHeight = (int) (scale * (float) kPageHeightPerScale) + kPageExtra;
    editorPanel->setBounds (0, 0, width, pageHeight);
    editorPanel->setEditorScale (scale);
    editorPanel->getZoomCorner().setZoomPercent (juce::roundToInt (scale * 100.0f));
    setSize (width, height);

    // 7. The about panel, once in the processor's life.
    if (! state.aboutShown && writeDialog == nullptr)
    {
        state.aboutShown = true;
        aboutPanel = std::make_unique<AboutPanel> (JucePlugin_VersionString, getWidth(), kAboutMilliseconds);
        aboutPanel->addChangeListener (this);
        addAndMakeVisible (*aboutPanel);
        layoutPanels();
    }

    // 8. Show the program and ask whether the instrument is there.
    editorPanel->refreshAll();
    editorPanel->getAppBar().setChannel (controller.getMidiChannel());
    controller.requestGlobals();
}

MainComp::~MainComp()
{
    stopTimer();
    controller.removeStateListener (this);
    controller.removeStateChangeListener (this);
    cancelPendingUpdate();

    auto& state = processor.getEditorState();
    SettingsFiles::saveGeometry (controller.getFolder().geometryFile(), state.geometry);

    if (transfer.isTransmitting() || controller.isChained())
        transfer.finish();

    for (int i = 0; i < AppBar::kNumFunctionButtons; ++i)
        editorPanel->getAppBar().getFunctionButton (i).removeListener (this);
    editorPanel->getAppBar().getWindowButton().removeListener (this);
    bankPanel->getOkButton().removeListener (this);
    bankPanel->getGrid().removeListener (this);

    bankPanel.reset();
    editorPanel.reset();
    aboutPanel.reset();
    writeDialog.reset();
    progressOverlay.reset();
    keyboard.reset();
}

// ---- Notifications ----------------------------------------------------------------------------------

void MainComp::handleAsyncUpdate()
{
    for (auto code : controller.takeNotifications())
        handleNotification (code);
}

void MainComp::handleNotification (int32_t c)
{
    const int kind = (int) ((uint32_t) c >> 24);
    switch (kind)
    {
        case 0x0B:
            if (((c >> 7) & 0x7F) == 1)
                keyboard->getModWheel().setValue (c & 0x7F, false);
            break;
        case 0x0E: keyboard->getPitchWheel().setValue ((c >> 7) & 0x7F, false); break;
        case 0x10: editorPanel->routeValue ((c >> 8) & 0x7FF, c & 0xFF, false); break;
        case 0x11: editorPanel->refreshAll(); break;
        case 0x12:
        case 0x13:
            keyboard->setStatusText (kind == 0x12 ? kOnLine : kOffLine);
            keyboard->repaint (20, 0, 200, 20);
            break;
        case 0x16: finishTransfer(); break;
        case 0x17:
            if (progressOverlay != nullptr)
                progressOverlay->setProgress (c & 0xFF, Transfers::progressLabel ((c >> 8) & 0xFF, c & 0xFF));
            break;
        case 0x19: bankPanel->getGrid().refresh(); break;
        case 0x1A:
        case 0x1B:
        {
            auto& sliders = editorPanel->getGroup (0, 0);
            for (int which = 1; which <= 2; ++which)
                if (auto* slider = sliders.getSlider (which))
                    slider->repaint();
            if (auto* pad = sliders.getPad())
                pad->repaint();
            break;
        }
        case 0x21: stateEvent (c); break;
        default: break;
    }
}

void MainComp::stateEvent (int code)
{
    if (((uint32_t) code >> 24) != 0x21)
        return;
    const int page = pageForCommand (code & 0xFFFFFF);
    if (page > 0)
        editorPanel->showPage (page);
}

// ---- Commands ---------------------------------------------------------------------------------------

void MainComp::performCommand (int id)
{
    switch (id)
    {
        case 99:
            if (writeDialog == nullptr)
                toggleBankView();
            break;
        case 71: Transfers::fetchEditBuffer (controller); break;
        case kSendCurrentProgram: Transfers::sendCurrentProgram (controller); break;
        case 969: toggleWriteDialog(); break;
        case kToggleAbout:
            if (writeDialog == nullptr)
                toggleAbout();
            break;
        default: break; // the menus of FILE, EDIT, MIDI and SEND
    }
}

void MainComp::toggleBankView()
{
    bankView = ! bankView;
    if (bankView)
    {
        pageHeight = editorPanel->getHeight();
        bankPanel->showCurrentBank();
        bankPanel->setVisible (true);
    }
    else
    {
        bankPanel->setVisible (false);
        bankPanel->setBounds (-20, kTopBand, 10, 10);
    }
    layoutPanels();
}

void MainComp::toggleWriteDialog()
{
    if (writeDialog != nullptr)
    {
        writeDialog.reset();
        return;
    }
    const auto record = controller.getCurrentProgram();
    writeDialog = std::make_unique<WriteSnd> (
        controller, controller.getCurrentBank(), controller.getCurrentProgramNumber(),
        ProgramDump::readName (record.data(), ProgramDump::NameVariant::slot), (int) record[426]);
    writeDialog->getWriteButton().addListener (this);
    writeDialog->getCancelButton().addListener (this);
    addAndMakeVisible (*writeDialog);
    layoutPanels();
}

void MainComp::toggleAbout()
{
    if (aboutPanel != nullptr)
    {
        aboutPanel.reset();
        return;
    }
    aboutPanel = std::make_unique<AboutPanel> (JucePlugin_VersionString, getWidth(), 0);
    aboutPanel->addChangeListener (this);
    addAndMakeVisible (*aboutPanel);
    layoutPanels();
}

void MainComp::startTransfer (int mode, int firstBank)
{
    progressOverlay = std::make_unique<ProgBar> (getWidth(), getHeight());
    progressOverlay->getCancelButton().addListener (this);
    addAndMakeVisible (*progressOverlay);
    progressOverlay->setBounds (getLocalBounds());
    progressOverlay->toFront (true);
    transfer.start (mode, firstBank);
    if (transfer.isTransmitting())
        startTimer (Transfers::kTickMilliseconds);
}

void MainComp::finishTransfer()
{
    stopTimer();
    transfer.finish();
    progressOverlay.reset();
    bankPanel->getGrid().refresh();
}

void MainComp::timerCallback()
{
    const auto step = transfer.tick();
    if (step.sent && progressOverlay != nullptr)
        progressOverlay->setProgress (step.program, step.label);
    if (step.finished)
        finishTransfer();
}

void MainComp::resizePageTo (int proposed, int displayHeight)
{
    const float f = displayHeight <= 1000 ? 1.0f : (displayHeight <= 1200 ? 1.2f : 1.5f);
    const int h = juce::jlimit (200, (int) (f * (float) kPageHeightPerScale) + kPageExtra, proposed);
    const float scale = (float) (h - kPageExtra) / (float) kPageHeightPerScale;
    editorPanel->setSize (editorPanel->getWidth(), h);
    editorPanel->setEditorScale (scale);
    pageHeight = h;
    setSize (getWidth(), keyboardHeight + h);
    editorPanel->getZoomCorner().setZoomPercent (juce::roundToInt (scale * 100.0f));
    sendChangeMessage();
}

// ---- Listeners --------------------------------------------------------------------------------------

void MainComp::stsButClicked (StsBut* button)
{
    if (button == nullptr)
        return;
    if (writeDialog != nullptr && button == &writeDialog->getWriteButton())
    {
        writeDialog->performWrite();
        writeDialog.reset();
        return;
    }
    if (writeDialog != nullptr && button == &writeDialog->getCancelButton())
    {
        writeDialog.reset();
        return;
    }
    if (progressOverlay != nullptr && button == &progressOverlay->getCancelButton())
    {
        finishTransfer();
        return;
    }
    if (button == &bankPanel->getOkButton())
    {
        if (bankView)
            toggleBankView();
        return;
    }
    performCommand (button->getId());
}

void MainComp::changeListenerCallback (juce::ChangeBroadcaster* source)
{
    auto& zoomCorner = editorPanel->getZoomCorner();
    if (source == editorPanel.get() || source == &zoomCorner)
    {
        switch (zoomCorner.getCode())
        {
            case CorButton::kResizeStarted:
                editorPanel->unzoom();
                repaint();
                break;
            case CorButton::kResizing: resizePageTo (zoomCorner.getProposedHeight(), displayArea().getHeight()); break;
            case CorButton::kResizeEnded: processor.getEditorState().workArea = displayArea(); break;
            default: break;
        }
        return;
    }
    if (source == bankPanel.get())
    {
        // A bank button put the list on a bank: that bank's program at the current number is selected.
        auto& grid = bankPanel->getGrid();
        if (bankPanel->getActionCode() == 200 && grid.getMode() == StsGrid::kListBank)
        {
            Transfers::selectStoredProgram (controller, grid.getBank(),
                                            juce::jmax (0, controller.getCurrentProgramNumber()));
            bankPanel->showCurrentBank();
        }
        return;
    }
    if (aboutPanel != nullptr && source == aboutPanel.get())
    {
        aboutPanel.reset();
        return;
    }
    if (source == keyboard.get())
    {
        // The keyboard panel was dragged: it stays inside this component.
        const int y =
            juce::jlimit (kTopBand, juce::jmax (kTopBand, getHeight() - kMinKeyboardHeight), keyboard->getY());
        if (y != keyboard->getY())
            keyboard->setTopLeftPosition (keyboard->getX(), y);
        return;
    }
}

void MainComp::gridChanged (StsGrid* grid)
{
    if (grid == nullptr || grid != &bankPanel->getGrid())
        return;
    const int bank = grid->getSelectedBank(), slot = grid->getSelectedSlot();
    if (bank < 0 || slot < 0)
        return;
    if (grid->getActionCode() == StsGrid::kRowChosen)
        Transfers::selectStoredProgram (controller, bank, slot);
}

void MainComp::winToolClicked (WinMovCan*, int) {}

// ---- Layout -----------------------------------------------------------------------------------------

void MainComp::paint (juce::Graphics& g) { g.fillAll (juce::Colours::black); }

void MainComp::resized() { layoutPanels(); }

void MainComp::layoutPanels()
{
    const int W = getWidth(), H = getHeight();
    auto& geometry = processor.getEditorState().geometry;
    geometry.main = getBounds();

    if (writeDialog != nullptr)
        writeDialog->setBounds (0, kTopBand, W, H - kTopBand);

    int below;
    if (bankView)
    {
        editorPanel->setBounds (0, 0, W, kTopBand);
        bankPanel->setBounds (0, kTopBand, W, juce::jmax (0, H - kTopBand - kBankViewBottom - keyboardHeight));
        below = bankPanel->getBottom();
    }
    else
    {
        editorPanel->setBounds (0, editorPanel->getY(), W, pageHeight);
        below = editorPanel->getBottom();
    }
    keyboard->setScale (1.0f, below, W, keyboardHeight);

    geometry.editor = editorPanel->getBounds();
    geometry.keyboard = keyboard->getBounds();

    if (aboutPanel != nullptr)
    {
        aboutPanel->setBounds (getLocalBounds());
        aboutPanel->toFront (false);
    }
    if (writeDialog != nullptr)
        writeDialog->toFront (false);
    if (progressOverlay != nullptr)
    {
        progressOverlay->setBounds (getLocalBounds());
        progressOverlay->toFront (false);
    }
}
