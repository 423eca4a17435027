#include "ui/library/PresetBankPage.h"

#include "model/ParDes.h"
#include "plugin/OstrelAudioProcessor.h"
#include "plugin/StateChunks.h"

#include <algorithm>

namespace
{
constexpr juce::uint32 kBackground = 0xff373535, kDarkLine = 0xff0a0a0a, kStatusText = 0xffcebdbd;
constexpr juce::uint32 kOverlayBackground = 0xff191919;
constexpr int kButtonWidth = 100, kButtonHeight = 34;

// A preset file holds one of the plug-in's chunks: its header and at least its whole layout.
bool isOwnChunk (const juce::MemoryBlock& content, bool program)
{
    const auto* header = program ? StateChunks::kProgramHeader : StateChunks::kBankHeader;
    const auto headerBytes = strlen (header);
    const auto wholeBytes = (size_t) (program ? StateChunks::kProgramChunkBytes : StateChunks::kBankSlotsEnd);
    return content.getSize() >= wholeBytes && memcmp (content.getData(), header, headerBytes) == 0;
}
} // namespace

// ---- SET CURRENT overlay ---------------------------------------------------------------------------

TextSetCurCont::TextSetCurCont (OstrelAudioProcessor& p) : processor (p)
{
    field.setMultiLine (false);
    field.setFont (juce::Font ("Arial", 16.0f, juce::Font::plain));
    field.setJustification (juce::Justification::centredLeft);
    addAndMakeVisible (field);
    for (auto* button : { &okButton, &cancelButton })
    {
        addAndMakeVisible (*button);
        button->addListener (this);
    }
    setVisible (false);
}

TextSetCurCont::~TextSetCurCont() = default;

juce::String TextSetCurCont::slotText (int slot) const
{
    return juce::String (slot + 1) + "    " + processor.getController().getSlotName (MidiCntrState::kProgramBank, slot);
}

void TextSetCurCont::setTarget (int slot)
{
    target = slot;
    targetText = slotText (slot);
    repaint();
}

void TextSetCurCont::showOverlay()
{
    const auto current = processor.getController().getCurrentProgram();
    auto name = ProgramDump::readName (current.data(), ProgramDump::NameVariant::editBuffer).trimEnd();
    if (name.isEmpty() || name.startsWith ("---"))
        name = "Untitled";
    field.setText (name, false);
    setTarget (juce::jmax (0, processor.getController().getCurrentSlot()));

    if (auto* parent = getParentComponent())
        setBounds (parent->getLocalBounds());
    setVisible (true);
    toFront (false);
    if (field.isShowing())
        field.grabKeyboardFocus();
}

void TextSetCurCont::close()
{
    setVisible (false);
    setBounds (-100, -100, 50, 50);
}

juce::Rectangle<int> TextSetCurCont::getTargetBounds() const
{
    return { (getWidth() - kFieldWidth) / 2, 140, kFieldWidth, 30 };
}

juce::PopupMenu TextSetCurCont::buildTargetMenu() const
{
    juce::PopupMenu menu;
    for (int slot = 0; slot < Bank_Program::kSlots; ++slot)
        menu.addItem (kTargetItemBase + slot, slotText (slot));
    return menu;
}

void TextSetCurCont::targetMenuChosen (int result)
{
    if (Bank_Program::isValidSlot (result - kTargetItemBase))
        setTarget (result - kTargetItemBase);
}

void TextSetCurCont::addListener (textSetCurListener* listener)
{
    const juce::ScopedLock sl (listenerLock);
    if (listener != nullptr && std::find (listeners.begin(), listeners.end(), listener) == listeners.end())
        listeners.push_back (listener);
}

void TextSetCurCont::removeListener (textSetCurListener* listener)
{
    const juce::ScopedLock sl (listenerLock);
    listeners.erase (std::remove (listeners.begin(), listeners.end(), listener), listeners.end());
}

void TextSetCurCont::paint (juce::Graphics& g)
{
    const int w = getWidth();
    g.fillAll (juce::Colour (kOverlayBackground));
    g.setFont (titleFont);
    g.setColour (juce::Colours::white);
    g.drawText ("Preset name:", 20, 24, w - 40, 30, juce::Justification::centred, false);
    g.drawText ("Replace:", 20, 24, w - 40, 180, juce::Justification::centred, false);

    const auto box = getTargetBounds();
    g.setColour (juce::Colours::black);
    g.fillRect (box);
    g.setColour (juce::Colours::white);
    g.drawRect (box, 1);
    g.setFont (targetFont);
    g.drawText (targetText, box.reduced (6, 0), juce::Justification::centredLeft, true);
}

void TextSetCurCont::resized()
{
    const int w = getWidth();
    field.setBounds ((w - kFieldWidth) / 2, 64, kFieldWidth, 24);
    okButton.setBounds ((w - 220) / 2, 256, kButtonWidth, kButtonHeight);
    cancelButton.setBounds ((w - 220) / 2 + 120, 256, kButtonWidth, kButtonHeight);
}

void TextSetCurCont::mouseDown (const juce::MouseEvent& e)
{
    if (! getTargetBounds().contains (e.getPosition()))
        return;
    auto menu = buildTargetMenu();
    menu.setLookAndFeel (&lookAndFeel.get());
    menu.showMenuAsync (juce::PopupMenu::Options().withTargetScreenArea (localAreaToGlobal (getTargetBounds())),
                        [safe = juce::Component::SafePointer<TextSetCurCont> (this)] (int result) {
                            if (safe != nullptr)
                                safe->targetMenuChosen (result);
                        });
}

void TextSetCurCont::libButClicked (LibBut* button, int)
{
    std::vector<textSetCurListener*> toTell;
    {
        const juce::ScopedLock sl (listenerLock);
        toTell = listeners;
    }
    const int chosen = target;
    for (auto it = toTell.rbegin(); it != toTell.rend(); ++it)
    {
        if (button == &okButton)
            (*it)->setCurOkPressed (chosen);
        else
            (*it)->setCurCancelPressed();
    }
}

// ---- PRESET BANK page ------------------------------------------------------------------------------

Plugin_Bank::Plugin_Bank (OstrelAudioProcessor& p, std::shared_ptr<FileDialogs> d)
    : processor (p), dialogs (std::move (d)), list (p)
{
    addAndMakeVisible (list);
    list.addListener (this);
    statusLabel.setTextColour (juce::Colour (kStatusText));
    addAndMakeVisible (statusLabel);

    loadButton.setHoverText ("Load preset or preset bank from files.");
    saveButton.setHoverText ("Save th current preset or preset bank.");
    renameButton.setHoverText ("Rename the current preset.");
    setCurrentButton.setHoverText ("Import current preset to the preset bank.");
    for (auto* button : { &loadButton, &saveButton, &renameButton, &setCurrentButton, &doneButton })
    {
        addChildComponent (*button);
        button->addListener (this);
    }
    updateVisibility();
}

Plugin_Bank::~Plugin_Bank() { list.removeListener (this); }

int Plugin_Bank::currentSlot() const { return juce::jmax (0, processor.getController().getCurrentSlot()); }

FileMan& Plugin_Bank::newFileMan()
{
    fileMan = std::make_unique<FileMan> (dialogs, processor.getController().getFolder().settingsFolder());
    return *fileMan;
}

void Plugin_Bank::showCurrentSlot()
{
    list.showSlot (currentSlot());
    updateVisibility();
}

void Plugin_Bank::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colour (kBackground));
    g.setColour (juce::Colour (kDarkLine));
    g.fillRect (0, 4, getWidth(), 2);
}

void Plugin_Bank::resized()
{
    const int w = getWidth(), h = getHeight(), x = w - 120;
    list.setBounds (20, 10, 334, 15 * ProgramListView::kRowHeight);
    statusLabel.setBounds (400, h - 30, 400, 24);
    loadButton.setBounds (x, 10, kButtonWidth, kButtonHeight);
    saveButton.setBounds (x, 50, kButtonWidth, kButtonHeight);
    setCurrentButton.setBounds (x, h - 170, kButtonWidth, kButtonHeight);
    renameButton.setBounds (x, h - 130, kButtonWidth, kButtonHeight);
    doneButton.setBounds (x, h - 40, kButtonWidth, kButtonHeight);
    for (juce::Component* c : { (juce::Component*) overlay.get(), (juce::Component*) setCurrentOverlay.get() })
        if (c != nullptr && c->isVisible())
            c->setBounds (getLocalBounds());
}

void Plugin_Bank::updateVisibility()
{
    loadButton.setVisible (true);
    saveButton.setVisible (list.getNumRows() > 0);
    renameButton.setVisible (list.getSelectedSlot() >= 0);
    setCurrentButton.setVisible (true);
    doneButton.setVisible (true);
}

// ---- Buttons and menus -----------------------------------------------------------------------------

void Plugin_Bank::libButClicked (LibBut*, int id)
{
    switch (id)
    {
        case kLoadId: showMenu (buildLoadMenu(), loadButton, &Plugin_Bank::loadMenuChosen); break;
        case kSaveId: showMenu (buildSaveMenu(), saveButton, &Plugin_Bank::saveMenuChosen); break;
        case kRenameId: rename(); break;
        case kSetCurrentId: setCurrent(); break;
        default: break; // DONE: the window listens to it
    }
    updateVisibility();
}

void Plugin_Bank::libButEntered (LibBut* button, int) { statusLabel.setText (button->getHoverText()); }

void Plugin_Bank::libButLeft (LibBut*, int) { statusLabel.setText ({}); }

void Plugin_Bank::showMenu (juce::PopupMenu menu, LibBut& at, void (Plugin_Bank::*handler) (int))
{
    menu.setLookAndFeel (&lookAndFeel.get());
    menu.showMenuAsync (juce::PopupMenu::Options().withTargetComponent (&at),
                        [safe = juce::Component::SafePointer<Plugin_Bank> (this), handler] (int result) {
                            if (safe != nullptr)
                                (safe.getComponent()->*handler) (result);
                        });
}

juce::PopupMenu Plugin_Bank::buildLoadMenu() const
{
    auto& controller = processor.getController();
    juce::PopupMenu menu;
    menu.addItem (kLoadPresetFile, "Load Single Preset File");
    menu.addItem (kLoadBankFile, "Load Preset Bank File");
    menu.addSeparator();
    menu.addItem (kLoadProgramBankFile, "Load Program Bank From File");
    menu.addSeparator();
    for (int bank = 0; bank < 4; ++bank)
        menu.addItem (kLoadFromBank + bank, "Load From " + controller.getBankName (bank));
    menu.addSeparator();
    for (int bank = 4; bank < MidiCntrState::kBanks; ++bank)
        menu.addItem (kLoadFromBank + bank, "Load From " + controller.getBankName (bank));
    return menu;
}

void Plugin_Bank::loadMenuChosen (int item)
{
    auto& controller = processor.getController();
    const juce::Component::SafePointer<Plugin_Bank> safe (this);
    const auto refresh = [safe] {
        if (safe != nullptr)
        {
            safe->list.repaint();
            safe->updateVisibility();
        }
    };

    if (item == kLoadPresetFile || item == kLoadBankFile)
    {
        auto& files = newFileMan();
        files.choose (item, {}, [safe, &files, item, refresh] (bool chosen) {
            if (safe == nullptr || ! chosen || ! files.getChosenFile().existsAsFile())
                return;
            const auto content = FileMan::readFile (files.getChosenFile());
            // Only this plug-in's own chunks: anything else would overwrite presets with noise.
            if (! isOwnChunk (content, item == kLoadPresetFile))
            {
                safe->showMessage (files.getChosenFile().getFileName() +
                                   (item == kLoadPresetFile ? " is not a Prophet 12 preset file."
                                                            : " is not a Prophet 12 preset bank file."));
                return;
            }
            if (item == kLoadPresetFile)
                safe->processor.setCurrentProgramStateInformation (content.getData(), (int) content.getSize());
            else
                safe->processor.setStateInformation (content.getData(), (int) content.getSize());
            refresh();
        });
    }
    else if (item == kLoadProgramBankFile)
    {
        auto& files = newFileMan();
        files.loadProgramBank ([safe, &files, refresh] (bool found) {
            if (safe == nullptr)
                return;
            if (! found)
            {
                if (files.getChosenFile() != juce::File()) // picked, not cancelled
                    safe->showMessage ("No program was found in " + files.getChosenFile().getFileName() + ".");
                return;
            }
            Bank_Program decoded;
            const int count =
                juce::jmin ((int) Bank_Program::kSlots, FileMan::decodeBank (files.getBankDumps(), decoded));
            auto& c = safe->processor.getController();
            for (int slot = 0; slot < count; ++slot)
                c.putSlot (MidiCntrState::kProgramBank, slot, decoded.getSlot (slot));
            refresh();
        });
    }
    else if (item >= kLoadFromBank && item < kLoadFromBank + MidiCntrState::kBanks)
    {
        for (int slot = 0; slot < Bank_Program::kSlots; ++slot)
            controller.putSlot (MidiCntrState::kProgramBank, slot, controller.getSlot (item - kLoadFromBank, slot));
        refresh();
    }
}

juce::PopupMenu Plugin_Bank::buildSaveMenu() const
{
    const auto name = processor.getController().getSlotName (MidiCntrState::kProgramBank, currentSlot());
    juce::PopupMenu menu;
    menu.addItem (kSavePresetFile, "Save " + name + " Preset as");
    menu.addItem (kSaveBankFile, "Save Preset Bank as");
    return menu;
}

void Plugin_Bank::saveMenuChosen (int item)
{
    // The chunks are taken only once the user has confirmed the dialog: taking the program chunk
    // stores the program being edited into the current slot, and taking the bank chunk may make
    // slot 0 current.
    const juce::Component::SafePointer<Plugin_Bank> safe (this);
    auto chunk = [safe, item] {
        juce::MemoryBlock bytes;
        if (safe == nullptr)
            return bytes;
        if (item == kSavePresetFile)
            safe->processor.getCurrentProgramStateInformation (bytes);
        else
            safe->processor.getStateInformation (bytes);
        return bytes;
    };
    auto report = [safe] (FileMan& files) {
        return [safe, &files] (bool) {
            if (safe != nullptr && files.getWriteError().isNotEmpty())
                safe->showMessage (files.getWriteError());
        };
    };

    if (item == kSavePresetFile)
    {
        auto name = processor.getController().getSlotName (MidiCntrState::kProgramBank, currentSlot());
        auto& files = newFileMan();
        files.saveBytes (chunk, 111, name.isNotEmpty() ? name : juce::String ("Untitled"), report (files));
    }
    else if (item == kSaveBankFile)
    {
        auto& files = newFileMan();
        files.saveBytes (chunk, 110, "Prophet 12 Preset Bank", report (files));
    }
    updateVisibility();
}

void Plugin_Bank::showMessage (const juce::String& text) { MsgCont::showNotice (*this, messageBox, text); }

// ---- RENAME ----------------------------------------------------------------------------------------

void Plugin_Bank::rename()
{
    const int slot = list.getSelectedSlot();
    if (! Bank_Program::isValidSlot (slot))
        return;
    const auto record = processor.getController().getSlot (MidiCntrState::kProgramBank, slot);
    const auto name = ProgramDump::readName (record.data(), ProgramDump::NameVariant::slot);
    if (overlay == nullptr)
    {
        overlay = std::make_unique<TextInputCont>();
        overlay->addListener (this);
        addChildComponent (*overlay);
    }
    overlay->setBounds (getLocalBounds());
    overlay->showRequest ("Rename " + name + ":", name, "CANCEL", "OK", {}, record[ProgramDump::kCategoryOffset],
                          kRenameCode, slot);
}

void Plugin_Bank::textOkPressed (int code, int slot)
{
    if (overlay == nullptr)
        return;
    overlay->close();
    if (code != kRenameCode || ! Bank_Program::isValidSlot (slot))
        return;

    // The category is filed even when the name field was emptied.
    const auto text = overlay->getText();
    const int category = overlay->getCategory();
    processor.getController().withBank (MidiCntrState::kProgramBank, [&] (Bank_Program& bank) {
        auto record = bank.getSlot (slot);
        if (text.isNotEmpty())
            ProgramDump::writeName (record.data(), text);
        record[ProgramDump::kCategoryOffset] = (uint8_t) category;
        bank.putSlot (slot, record);
    });
    list.repaint();
    updateVisibility();
}

void Plugin_Bank::textCancelPressed (int, int)
{
    if (overlay != nullptr)
        overlay->close();
    updateVisibility();
}

// ---- SET CURRENT -----------------------------------------------------------------------------------

void Plugin_Bank::setCurrent()
{
    if (setCurrentOverlay == nullptr)
    {
        setCurrentOverlay = std::make_unique<TextSetCurCont> (processor);
        setCurrentOverlay->addListener (this);
        addChildComponent (*setCurrentOverlay);
    }
    setCurrentOverlay->setBounds (getLocalBounds());
    setCurrentOverlay->showOverlay();
}

void Plugin_Bank::setCurOkPressed (int target)
{
    setCurrentOverlay->close();
    if (! Bank_Program::isValidSlot (target))
        return;
    auto& controller = processor.getController();
    auto record = controller.getCurrentProgram();
    ProgramDump::writeName (record.data(), setCurrentOverlay->getText());
    controller.putSlot (MidiCntrState::kProgramBank, target, record);
    processor.setCurrentProgram (target);
    list.showSlot (target);
    updateVisibility();
}

void Plugin_Bank::setCurCancelPressed()
{
    setCurrentOverlay->close();
    updateVisibility();
}

// ---- The list --------------------------------------------------------------------------------------

void Plugin_Bank::plugFileChanged (int, int)
{
    updateVisibility();
    const int slot = list.getSelectedSlot();
    if (Bank_Program::isValidSlot (slot))
        processor.setCurrentProgram (slot);
}

void Plugin_Bank::plugFileDoubleClicked (int, int) { doneButton.notifyClicked(); }
