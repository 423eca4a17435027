#include "ui/main/MainComp.h"
#include "midi/NotificationCodes.h"
#include "model/ParameterTable.h"
#include "plugin/OstrelAudioProcessor.h"
#include "ui/main/EditorMenus.h"

namespace
{
constexpr int kTopBand = EditorPanel::kTopBand;
constexpr int kBankViewBottom = 20; // the bank panel stops this much above the component's foot
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

// The work area of the display the component is on (most of it, when it spans two).
juce::Rectangle<int> displayArea (const juce::Component& c)
{
    return EditorPanel::workAreaFor (juce::Desktop::getInstance().getDisplays().displays, c.getScreenBounds());
}
} // namespace

MainComp::MainComp (OstrelAudioProcessor& p) : processor (p), controller (p.getController()), transfer (controller)
{
    setLookAndFeel (&lookAndFeel.get());

    // 1. The geometry the last editor left behind.
    auto& state = processor.getEditorState();
    if (auto stored = SettingsFiles::loadGeometry (controller.getFolder().geometryFile()))
        state.geometry = *stored;

    // 2. Listen to the controller.
    controller.addStateListener (this);
    controller.addStateChangeListener (this);

    // 3. No chain survives a closed editor: its overlay went with it.
    const auto display = displayArea (*this);
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

    // Nothing the editor started may sound on once it is gone.
    keyboard->releaseAllNotes();
    libraryWindow.reset();
    midiSetup.reset();
    bankPanel.reset();
    editorPanel.reset();
    aboutPanel.reset();
    writeDialog.reset();
    progressOverlay.reset();
    keyboard.reset();
    setLookAndFeel (nullptr);
}

// ---- Notifications ----------------------------------------------------------------------------------

void MainComp::handleAsyncUpdate()
{
    for (auto code : controller.takeNotifications())
        handleNotification (code);
    // Whatever changed, the LCD's edited mark and compare text follow the program.
    editorPanel->getLcd().setEditState (controller.isCurrentProgramEdited(), controller.isComparing());
}

void MainComp::handleNotification (int32_t c)
{
    // Channel messages first: on channel 16 their kind bytes are not those of channels 1..15.
    if (const auto event = Notification::channelEvent (c))
    {
        if (event->status == 0xB0 && ((event->data >> 7) & 0x7F) == 1)
            keyboard->getModWheel().setValue (event->data & 0x7F, false);
        else if (event->status == 0xE0)
            keyboard->getPitchWheel().setValue ((event->data >> 7) & 0x7F, false);
        return; // notes are played by the instrument, not shown
    }

    const int kind = (int) ((uint32_t) c >> 24);
    switch (kind)
    {
        case 0x10: editorPanel->routeValue ((c >> 8) & 0x7FF, c & 0xFF, false); break;
        case 0x11: editorPanel->refreshAll(); break;
        case 0x12:
        case 0x13:
            keyboard->setStatusText (kind == 0x12 ? kOnLine : kOffLine);
            keyboard->repaint (20, 0, 200, 20);
            if (midiSetup != nullptr)
                midiSetup->setStatusText (kind == 0x12 ? kOnLine : kOffLine);
            break;
        case 0x16: finishTransfer(); break;
        case 0x17:
            if (progressOverlay != nullptr)
                progressOverlay->setProgress (c & 0xFF, Transfers::progressLabel ((c >> 8) & 0xFF, c & 0xFF));
            break;
        case 0x19: bankPanel->getGrid().refresh(); break;
        case 0x1B:
            editorPanel->showSliderLatch (Notification::sub (c) == 0 ? ParameterTable::kSliderLatch1
                                                                     : ParameterTable::kSliderLatch2);
            [[fallthrough]];
        case 0x1A:
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
        case 77:
            if (writeDialog == nullptr)
                toggleMidiSetup();
            break;
        case 71: Transfers::fetchEditBuffer (controller); break;
        case kSendCurrentProgram: Transfers::sendCurrentProgram (controller); break;
        case 969: toggleWriteDialog(); break;
        case kToggleAbout:
            if (writeDialog == nullptr)
                toggleAbout();
            break;
        case 75: openMenu (Menu::file, editorPanel->getAppBar().findFunctionButton (75)); break;
        case 73: openMenu (Menu::edit, editorPanel->getAppBar().findFunctionButton (73)); break;
        case 701: openMenu (Menu::send, editorPanel->getAppBar().findFunctionButton (701)); break;
        default: break;
    }
}

// ---- Menus ------------------------------------------------------------------------------------------

juce::PopupMenu MainComp::buildMenu (Menu which)
{
    const auto current = controller.getCurrentProgram();
    const auto currentName = ProgramDump::readName (current.data(), ProgramDump::NameVariant::slot);
    auto clipName = [this] { return clipboard.name(); };

    switch (which)
    {
        case Menu::send:
            return EditorMenus::sendMenu (
                currentName,
                controller.getSlotName (MidiCntrState::kProgramBank, juce::jmax (0, controller.getCurrentSlot())));
        case Menu::file: return EditorMenus::fileMenu (currentName);
        case Menu::edit:
        {
            auto m = EditorMenus::editMenu (currentName, clipName(), clipboardFull);
            const auto undo = controller.nextUndo(), redo = controller.nextRedo();
            EditorMenus::addHistoryItems (m, undo ? controller.describe (*undo) : juce::String(),
                                          redo ? controller.describe (*redo) : juce::String(),
                                          juce::isPositiveAndBelow (controller.getCurrentBank(), 8) &&
                                              juce::isPositiveAndBelow (controller.getCurrentProgramNumber(), 99),
                                          controller.isComparing());
            return m;
        }
        case Menu::channel: return EditorMenus::channelMenu (controller.getMidiChannel());
        case Menu::programPicker:
        {
            juce::StringArray banks, programs;
            for (int b = 0; b < 4; ++b)
                banks.add (controller.getBankName (b));
            const int bank = juce::jlimit (0, 7, controller.getCurrentBank());
            for (int p = 0; p < 99; ++p)
                programs.add (controller.getSlotName (bank, p));
            return EditorMenus::programPicker (banks, controller.getCurrentBank(), programs,
                                               controller.getCurrentProgramNumber());
        }
        case Menu::slotProgram:
            return EditorMenus::slotProgramMenu (controller.getSlotName (menuBank, menuSlot), clipName(),
                                                 clipboardFull);
        case Menu::slotCategory: return EditorMenus::categoryMenu (controller.getSlot (menuBank, menuSlot)[426]);
        case Menu::lcdCategory: return EditorMenus::categoryMenu (current[426]);
        case Menu::presets: return EditorMenus::presetsMenu (controller.getCurrentBank());
        case Menu::bankFile:
        {
            juce::StringArray names;
            for (int b = 0; b < 4; ++b)
                names.add (controller.getBankName (b));
            return EditorMenus::bankFileMenu (names);
        }
        case Menu::transfer: return EditorMenus::transferMenu (Transfers::transferMenu (controller));
        case Menu::none: break;
    }
    return {};
}

void MainComp::openMenu (Menu which, juce::Component* target, juce::Rectangle<int> screenArea)
{
    lastMenuKind = which;
    lastMenu = buildMenu (which);
    lastMenu.setLookAndFeel (&lookAndFeel.get());
    auto options = juce::PopupMenu::Options();
    if (target != nullptr)
        options = options.withTargetComponent (target);
    if (! screenArea.isEmpty())
        options = options.withTargetScreenArea (screenArea);
    juce::Component::SafePointer<MainComp> safe (this);
    lastMenu.showMenuAsync (options, [safe, which] (int id) {
        if (safe != nullptr)
            safe->menuChosen (which, id);
    });
}

FileMan& MainComp::newFileMan()
{
    fileMan =
        std::make_unique<FileMan> (processor.getEditorState().fileDialogs, controller.getFolder().settingsFolder());
    return *fileMan;
}

void MainComp::saveFile (const juce::MemoryBlock& bytes, int mode, const juce::String& suggestedName)
{
    auto& files = newFileMan();
    files.saveBytes (bytes, mode, suggestedName, [this, &files] (bool) {
        if (files.getWriteError().isNotEmpty())
            showMessage (files.getWriteError());
    });
}

void MainComp::showMessage (const juce::String& text) { MsgCont::showNotice (*this, messageBox, text); }

void MainComp::reportNoProgram (const FileMan& files)
{
    // A cancelled dialog leaves no file chosen: only a file that was read and refused is reported.
    if (files.getChosenFile() != juce::File())
        showMessage ("No program was found in " + files.getChosenFile().getFileName() + ".");
}

void MainComp::copyProgram (const ProgramDump::Record& record)
{
    clipboard.setData (record.data(), record.size());
    clipboard.name();
    clipboardFull = true;
}

void MainComp::afterBankChange()
{
    controller.postNotification (Notification::kBankChanged);
    if (bankView)
        bankPanel->getGrid().refresh();
}

void MainComp::menuChosen (Menu which, int id)
{
    if (id == 0)
        return;

    switch (which)
    {
        case Menu::send:
            if (id == 1)
                Transfers::sendCurrentProgram (controller);
            else if (id == 2)
                controller.sendCurrentSlot();
            break;

        case Menu::file:
            if (id == 1)
            {
                auto& files = newFileMan();
                files.loadSingleProgram ([this, &files] (bool ok) {
                    if (! ok)
                    {
                        reportNoProgram (files);
                        return;
                    }
                    controller.setCurrentProgram (files.getProgram().getData(),
                                                  ProgramHistory::Action::of (ProgramHistory::Action::file));
                    Transfers::sendCurrentProgram (controller);
                });
            }
            else if (id == 2 || id == EditorMenus::kSaveAsSysExItem)
            {
                const auto current = controller.getCurrentProgram();
                saveFile (ProgramDump::editBufferDump (current), id == 2 ? 101 : 102,
                          ProgramDump::readName (current.data(), ProgramDump::NameVariant::slot).trim());
            }
            else if (id == 3 && writeDialog == nullptr)
            {
                toggleAbout();
            }
            break;

        case Menu::edit:
            if (id == 1)
            {
                // The copy is also sent to the instrument's edit buffer, so both hold what was copied.
                copyProgram (controller.getCurrentProgram());
                Transfers::sendCurrentProgram (controller);
            }
            else if (id == 2 && clipboardFull)
            {
                controller.setCurrentProgram (clipboard.getData(),
                                              ProgramHistory::Action::of (ProgramHistory::Action::paste));
                Transfers::sendCurrentProgram (controller);
            }
            else if (id >= EditorMenus::kUndoItem && id <= EditorMenus::kCompareItem)
            {
                performHistoryCommand (id);
            }
            else if (const int page = EditorMenus::pageForVoiceItem (id); page > 0)
            {
                editorPanel->showPage (page);
            }
            break;

        case Menu::channel:
            if (id >= 1 && id <= 16)
            {
                controller.setMidiChannel (id);
                editorPanel->getAppBar().setChannel (id);
            }
            break;

        case Menu::programPicker:
        {
            int bank = controller.getCurrentBank(), program = controller.getCurrentProgramNumber();
            if (id >= EditorMenus::kPickerBankBase && id < EditorMenus::kPickerBankBase + 4)
                bank = id - EditorMenus::kPickerBankBase;
            else if (id >= EditorMenus::kPickerProgramBase && id < EditorMenus::kPickerProgramBase + 99)
                program = id - EditorMenus::kPickerProgramBase;
            else
                break;
            controller.selectProgram (juce::jmax (0, bank) * 99 + juce::jmax (0, program), true, true);
            break;
        }

        case Menu::slotProgram:
            if (id == 1)
            {
                copyProgram (controller.getSlot (menuBank, menuSlot));
                Transfers::sendCurrentProgram (controller);
            }
            else if (id == 2 && clipboardFull)
            {
                controller.putSlot (menuBank, menuSlot, clipboard.getData());
                controller.sendSysEx (ProgramDump::programDump (clipboard.getData(), menuBank, menuSlot));
                afterBankChange();
            }
            else if (id == 3 || id == EditorMenus::kSaveAsSysExItem)
            {
                const auto bytes = controller.withBank (
                    menuBank, [this] (Bank_Program& bank) { return FileMan::singleProgramFile (bank, menuSlot); });
                saveFile (bytes, id == 3 ? 101 : 102, controller.getSlotName (menuBank, menuSlot).trim());
            }
            else if (id == 4)
            {
                auto& files = newFileMan();
                const int bank = menuBank, slot = menuSlot;
                files.loadSingleProgram ([this, &files, bank, slot] (bool ok) {
                    if (! ok)
                    {
                        reportNoProgram (files);
                        return;
                    }
                    const auto& record = files.getProgram().getData();
                    controller.putSlot (bank, slot, record);
                    controller.sendSysEx (ProgramDump::programDump (record, bank, slot));
                    afterBankChange();
                });
            }
            break;

        case Menu::slotCategory:
            if (id >= 1 && id <= 26)
            {
                auto record = controller.getSlot (menuBank, menuSlot);
                record[426] = (uint8_t) (id - 1);
                controller.putSlot (menuBank, menuSlot, record);
                afterBankChange();
            }
            break;

        case Menu::lcdCategory:
            // The category lives in byte 426 of the program, which the LCD, the bank list and "WRITE"
            // read. The instrument has no parameter for it: it travels with the next dump or write.
            if (id >= 1 && id <= 26)
            {
                controller.storeValue (426, id - 1);
                editorPanel->refreshLcd();
            }
            break;

        case Menu::presets:
        {
            const int bank = controller.getCurrentBank();
            if (bank < 0 || bank > 7)
                break;
            if (id >= 100 && id <= 103)
                controller.withBank (bank, [id] (Bank_Program& b) { b.loadFactory (id - 100); });
            else if (id == 99 && bank <= 3)
                controller.withBank (bank, [] (Bank_Program& b) { b.reset (false); });
            else
                break;
            afterBankChange();
            break;
        }

        case Menu::bankFile:
            if (id >= 100 && id <= 103)
            {
                auto& files = newFileMan();
                const int bank = id - 100;
                files.loadProgramBank ([this, &files, bank] (bool ok) {
                    if (! ok)
                    {
                        reportNoProgram (files);
                        return;
                    }
                    controller.withBank (bank,
                                         [&files] (Bank_Program& b) { FileMan::decodeBank (files.getBankDumps(), b); });
                    afterBankChange();
                });
            }
            else if ((id >= 200 && id <= 203) ||
                     (id >= EditorMenus::kSaveBankAsSysExBase && id < EditorMenus::kSaveBankAsSysExBase + 4))
            {
                const bool sysEx = id >= EditorMenus::kSaveBankAsSysExBase;
                const int bank = id - (sysEx ? EditorMenus::kSaveBankAsSysExBase : 200);
                const auto bytes =
                    controller.withBank (bank, [bank] (Bank_Program& b) { return FileMan::programBankFile (b, bank); });
                saveFile (bytes, sysEx ? 105 : 103, FileMan::suggestedBankName (bank));
            }
            break;

        case Menu::transfer:
            if (auto chain = Transfers::chainForMenuId (id))
                startTransfer (chain->mode, chain->firstBank);
            break;

        case Menu::none: break;
    }
}

void MainComp::toggleBankView()
{
    bankView = ! bankView;
    if (bankView)
    {
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

void MainComp::toggleMidiSetup()
{
    if (midiSetup != nullptr)
    {
        controller.savePortsFile();
        midiSetup.reset();
        return;
    }
    midiSetup = std::make_unique<MIDI_Setup> (controller);
    midiSetup->addChangeListener (this);
    midiSetup->setStatusText (controller.hasInstrumentAnswered() ? kOnLine : kOffLine);
    addAndMakeVisible (*midiSetup);
    layoutPanels();
    controller.requestGlobals();
}

void MainComp::showLibraryWindow()
{
    if (libraryWindow == nullptr)
    {
        libraryWindow = std::make_unique<Lib_Manager_Win> (processor, processor.getEditorState().fileDialogs);
        libraryWindow->addCloseListener (this);
    }
    libraryWindow->getContent().setWaitingForTransfer (progressOverlay != nullptr);
    libraryWindow->show();
}

void MainComp::startTransfer (int mode, int firstBank)
{
    progressOverlay = std::make_unique<ProgBar> (getWidth(), getHeight());
    progressOverlay->getCancelButton().addListener (this);
    addAndMakeVisible (*progressOverlay);
    progressOverlay->setBounds (getLocalBounds());
    progressOverlay->toFront (true);
    // The library works on the same banks the transfer fills or sends: it waits until the end.
    if (libraryWindow != nullptr)
        libraryWindow->getContent().setWaitingForTransfer (true);
    transfer.start (mode, firstBank);
    if (transfer.isTransmitting())
        startTimer (Transfers::kTickMilliseconds);
}

void MainComp::finishTransfer()
{
    stopTimer();
    transfer.finish();
    progressOverlay.reset();
    if (libraryWindow != nullptr)
        libraryWindow->getContent().setWaitingForTransfer (false);
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
        const bool written = writeDialog->performWrite().done;
        writeDialog.reset();
        // The program now lives where it was written, under its new name.
        if (written)
            editorPanel->refreshLcd();
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
            case CorButton::kResizing:
                resizePageTo (zoomCorner.getProposedHeight(), displayArea (*this).getHeight());
                break;
            case CorButton::kResizeEnded: processor.getEditorState().workArea = displayArea (*this); break;
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
        else if (bankPanel->getActionCode() == BankComp::kPresetsMenu)
        {
            openMenu (Menu::presets, &bankPanel->getPresetsButton());
        }
        else if (bankPanel->getActionCode() == BankComp::kFileMenu)
        {
            openMenu (Menu::bankFile, &bankPanel->getFileButton());
        }
        else if (bankPanel->getActionCode() == BankComp::kMidiMenu)
        {
            openMenu (Menu::transfer, &bankPanel->getMidiButton());
        }
        return;
    }
    if (midiSetup != nullptr && source == midiSetup.get())
    {
        if (MIDI_Setup::performCommand (controller, midiSetup->getCommand(), midiSetup->getValue()))
        {
            // "OK": the panel goes once its own broadcast is over.
            juce::Component::SafePointer<MainComp> safe (this);
            juce::MessageManager::callAsync ([safe] {
                if (safe != nullptr)
                    safe->midiSetup.reset();
            });
        }
        else
        {
            midiSetup->refresh();
        }
        return;
    }
    if (source == &editorPanel->getSettingsButton())
    {
        showLibraryWindow();
        return;
    }
    if (source == &editorPanel->getAppBar().getChannelLabel())
    {
        openMenu (Menu::channel, &editorPanel->getAppBar().getChannelLabel());
        return;
    }
    if (source == &editorPanel->getLcd())
    {
        const int region = editorPanel->getLcd().getClickedRegion();
        if (region == LCD_Comp::kLocationRegion)
            openMenu (Menu::programPicker, &editorPanel->getLcd());
        else if (region == LCD_Comp::kCategoryRegion)
            openMenu (Menu::lcdCategory, &editorPanel->getLcd());
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
    // A program's menus open at its row, not at the foot of the whole list.
    const auto row = grid->localAreaToGlobal (grid->getRowBounds (grid->getSelectedRow()));
    switch (grid->getActionCode())
    {
        case StsGrid::kRowChosen: Transfers::selectStoredProgram (controller, bank, slot); break;
        case StsGrid::kProgramMenu:
            setMenuSlot (bank, slot);
            openMenu (Menu::slotProgram, grid, row);
            break;
        case StsGrid::kCategoryMenu:
            setMenuSlot (bank, slot);
            openMenu (Menu::slotCategory, grid, row);
            break;
        default: break;
    }
}

void MainComp::winToolClicked (WinMovCan*, int code)
{
    // The library window hides itself on its close control; the three-button strip of the app bar
    // would toggle a full screen, which a plug-in window does not own.
    if (code == 122 && libraryWindow != nullptr)
        libraryWindow->hide();
}

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
    if (midiSetup != nullptr)
        midiSetup->setBounds (getLocalBounds());

    int below;
    if (bankView)
    {
        editorPanel->setBounds (0, 0, W, kTopBand);
        // The list takes the panel down to 20 pixels above the component's foot; the keyboard panel
        // follows below it, out of the way.
        bankPanel->setBounds (0, kTopBand, W, juce::jmax (0, H - kTopBand - kBankViewBottom));
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
    if (midiSetup != nullptr)
        midiSetup->toFront (false);
    if (progressOverlay != nullptr)
    {
        progressOverlay->setBounds (getLocalBounds());
        progressOverlay->toFront (false);
    }
}

// ---- Undo, redo and compare ---------------------------------------------------------------------

int MainComp::historyCommandFor (const juce::KeyPress& key)
{
    const auto mods = key.getModifiers();
    if (! mods.isCommandDown() || mods.isAltDown())
        return 0;
    const int code = key.getKeyCode();
    const auto letter = (juce::juce_wchar) (code >= 'A' && code <= 'Z' ? code + 32 : code);
    switch (letter)
    {
        case 'z': return mods.isShiftDown() ? EditorMenus::kRedoItem : EditorMenus::kUndoItem;
        case 'y': return mods.isShiftDown() ? 0 : EditorMenus::kRedoItem;
        case 'e': return mods.isShiftDown() ? 0 : EditorMenus::kCompareItem;
        default: return 0;
    }
}

bool MainComp::keyPressed (const juce::KeyPress& key)
{
    const int item = historyCommandFor (key);
    if (item == 0)
        return false;
    performHistoryCommand (item);
    return true;
}

void MainComp::performHistoryCommand (int item)
{
    switch (item)
    {
        case EditorMenus::kUndoItem: processor.undoProgramEdit(); break;
        case EditorMenus::kRedoItem: processor.redoProgramEdit(); break;
        case EditorMenus::kCompareItem: controller.toggleCompare(); break;
        default: break;
    }
}
