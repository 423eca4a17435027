#include "ui/setup/MIDI_Setup.h"

#include "midi/PortsFile.h"

namespace
{
const juce::Colour kBackground { 0xFF15181B };
const juce::Colour kFrameFill { 0xFF1F2429 };
const juce::Colour kFrameOutline { 0xFF457089 };
const juce::Colour kBoxFill { 0xFF0B0D0F };
const juce::Colour kBoxOutline { 0xFF5A6163 };
const juce::Colour kOpenIndicator { 0xFF3BD16F };
const juce::Colour kClosedIndicator { 0xFF6B2A2A };

// Where a press opens the port pop-ups (inclusive ranges, inside the two boxes).
constexpr int kBoxPressLeft = 61, kBoxPressRight = 349;
constexpr int kInputPressTop = 81, kInputPressBottom = 103;
constexpr int kOutputPressTop = 131, kOutputPressBottom = 153;

const juce::Rectangle<int> kInputBox { 60, 80, 290, 24 }, kOutputBox { 60, 130, 290, 24 };
const juce::Rectangle<int> kInputIndicator { 330, 88, 10, 8 }, kOutputIndicator { 330, 138, 10, 8 };
// The output's link, on the output's row, right of its box.
const juce::Rectangle<int> kLinkLabel { 470, 134, 170, 16 };
const juce::Rectangle<float> kPortsFrame { 40.0f, 20.0f, 749.0f, 250.0f },
    kInstructionsFrame { 40.0f, 310.0f, 749.0f, 160.0f };

// The size label's two entries; the chosen item minus 1 is the stored size.
constexpr const char* kSmallSysEx = "256";
constexpr const char* kLargeSysEx = "SySex Size";

juce::Font arial (float height) { return juce::Font ("Arial", height, juce::Font::plain); }

bool within (int v, int low, int high) { return v >= low && v <= high; }
} // namespace

const char* const MIDI_Setup::kInstructions = "Prophet 12 Global Settings should be set manually as follows:\n\n"
                                              "MIDI Channel: All\n"
                                              "MIDI Parameter Send: NRPN\n"
                                              "MIDI Parameter Receive: NRPN\n"
                                              "MIDI Control Enable: ON\n"
                                              "MIDI Sysex Enable: ON\n"
                                              "MIDI Sysex Cable: USB or MIDI (depending on your connection)\n"
                                              "MIDI Out Select: USB";

MIDI_Setup::MIDI_Setup (MidiCntrState& c) : controller (c)
{
    setOpaque (true);

    statusLabel.setup (controller.hasInstrumentAnswered() ? "DSI:  PROPHET 12 KBD ON-LINE" : "OFF-LINE", "Arial",
                       14.0f);
    addAndMakeVisible (statusLabel);

    followCheckBox.setCaptionColour (juce::Colours::white);
    followCheckBox.setCaptionHeight (14.0f);
    followCheckBox.addChangeListener (this);
    addAndMakeVisible (followCheckBox);

    sysExSizeLabel.setup ({}, "Arial", 14.0f);
    sysExSizeLabel.setFrame (StsLabel::kFilledOutlined, kBoxFill, kBoxOutline);
    sysExSizeLabel.addChangeListener (this);
    addAndMakeVisible (sysExSizeLabel);

    linkLabel.setup ({}, "Arial", 14.0f);
    linkLabel.setFrame (StsLabel::kFilledOutlined, kBoxFill, kBoxOutline);
    linkLabel.addChangeListener (this);
    addAndMakeVisible (linkLabel);

    globalsButton.setup (690, 200, 74, 18, false);
    globalsButton.addListener (this);
    addAndMakeVisible (globalsButton);

    okButton.setup (690, 240, 74, 18, false);
    okButton.addListener (this);
    addAndMakeVisible (okButton);

    instructionsLabel.setText (kInstructions, juce::dontSendNotification);
    instructionsLabel.setFont (arial (14.0f));
    instructionsLabel.setJustificationType (juce::Justification::topLeft);
    instructionsLabel.setColour (juce::Label::textColourId, juce::Colours::white);
    instructionsLabel.setInterceptsMouseClicks (false, false);
    addAndMakeVisible (instructionsLabel);

    rebuildNames();
    const auto& ports = controller.getPorts();
    shownInput = ports.getInputIndex() + 1;
    shownOutput = ports.getOutputIndex() + 1;
    refresh();
    resized();
}

MIDI_Setup::~MIDI_Setup()
{
    stopTimer();
    if (globalPanel != nullptr)
        globalPanel->removeListener (this);
    followCheckBox.removeChangeListener (this);
    sysExSizeLabel.removeChangeListener (this);
    linkLabel.removeChangeListener (this);
    globalsButton.removeListener (this);
    okButton.removeListener (this);
}

// ---- The editor's side -----------------------------------------------------------------------------

bool MIDI_Setup::performCommand (MidiCntrState& controller, int command, int value)
{
    switch (command)
    {
        case kOk:
            controller.requestGlobals();
            controller.saveSettings();
            controller.savePortsFile();
            return true;

        case kFollowProgramChange:
            controller.setFollowProgramChange (value != 0); // settings byte 11 with it
            controller.requestGlobals();
            controller.saveSettings();
            return false;

        case kSelectInput:
        case kSelectOutput:
            if (command == kSelectInput)
                controller.selectInput (value);
            else
                controller.selectOutput (value);
            // Ask at once whether the instrument answers through the new port.
            controller.requestGlobals();
            controller.saveSettings();
            return false;

        default: return false;
    }
}

void MIDI_Setup::refresh()
{
    const auto& ports = controller.getPorts();
    inputOpen = ports.isInputOpen();
    outputOpen = ports.isOutputOpen();
    followCheckBox.setOn (controller.followsProgramChange());
    showSysExSize();
    showLink();
    repaint();
}

void MIDI_Setup::setStatusText (const juce::String& text)
{
    statusLabel.setText (text);
    // The on-line text follows a global dump: the open global panel shows the new block.
    if (globalPanel != nullptr)
        globalPanel->repaint();
}

void MIDI_Setup::broadcast (int command, int value)
{
    lastCommand = command;
    lastValue = value;
    sendSynchronousChangeMessage();
}

// ---- Ports -----------------------------------------------------------------------------------------

void MIDI_Setup::rebuildNames()
{
    // A device that came or went moves the others in the lists: the boxes follow their ports by
    // name, and one whose port is gone shows "NONE".
    const auto shownInputName = inputNames[shownInput], shownOutputName = outputNames[shownOutput];

    auto& devices = controller.getPorts().getDevices();
    inputNames = devices.getInputNames();
    inputNames.insert (0, PortsFile::kNone);
    outputNames = devices.getOutputNames();
    outputNames.insert (0, PortsFile::kNone);

    shownInput = juce::jmax (0, inputNames.indexOf (shownInputName));
    shownOutput = juce::jmax (0, outputNames.indexOf (shownOutputName));
    repaint();
}

juce::PopupMenu MIDI_Setup::buildPortMenu (const juce::StringArray& names)
{
    juce::PopupMenu menu;
    for (int i = 0; i < names.size(); ++i)
        menu.addItem (i + 1, names[i]);
    return menu;
}

juce::PopupMenu MIDI_Setup::buildSysExSizeMenu()
{
    juce::PopupMenu menu;
    menu.addItem (1, kSmallSysEx);
    menu.addItem (2, kLargeSysEx);
    return menu;
}

bool MIDI_Setup::openMenu (juce::PopupMenu menu, juce::Component& target, void (MIDI_Setup::*handler) (int))
{
    return openMenu (std::move (menu), juce::PopupMenu::Options().withTargetComponent (&target), handler);
}

bool MIDI_Setup::openMenu (juce::PopupMenu menu, juce::Rectangle<int> area, void (MIDI_Setup::*handler) (int))
{
    // The port boxes are painted, not children: the menu hangs from the box's place on screen (the
    // panel stays its target for the scale and the look).
    return openMenu (
        std::move (menu),
        juce::PopupMenu::Options().withTargetComponent (this).withTargetScreenArea (localAreaToGlobal (area)), handler);
}

bool MIDI_Setup::openMenu (juce::PopupMenu menu, juce::PopupMenu::Options options, void (MIDI_Setup::*handler) (int))
{
    menu.setLookAndFeel (&lookAndFeel.get());
    menu.showMenuAsync (options, [safe = juce::Component::SafePointer<MIDI_Setup> (this), handler] (int result) {
        if (safe != nullptr)
            (safe.getComponent()->*handler) (result);
    });
    return true;
}

juce::PopupMenu MIDI_Setup::buildLinkMenu (OutputLink::Choice current)
{
    using Choice = OutputLink::Choice;
    juce::PopupMenu menu;
    menu.addItem (1, "Automatic (by port name)", true, current == Choice::automatic);
    menu.addItem (2, "MIDI DIN", true, current == Choice::din);
    menu.addItem (3, "USB", true, current == Choice::usb);
    return menu;
}

juce::String MIDI_Setup::linkText (MidiCntrState& controller)
{
    auto& ports = controller.getPorts();
    switch (controller.getOutputLinkChoice())
    {
        case OutputLink::Choice::din: return "MIDI DIN";
        case OutputLink::Choice::usb: return "USB";
        case OutputLink::Choice::automatic: break;
    }
    if (! ports.isOutputOpen())
        return "Automatic";
    return juce::String (ports.isPaced() ? "MIDI DIN" : "USB") + " (auto)";
}

bool MIDI_Setup::openInputMenu()
{
    // The devices may have changed since the panel opened: list them as they are now, so the index
    // chosen is the index the controller opens.
    rebuildNames();
    if (inputNames.size() < 2)
        return false;
    return openMenu (buildPortMenu (inputNames), kInputBox, &MIDI_Setup::inputChosen);
}

bool MIDI_Setup::openOutputMenu()
{
    rebuildNames();
    if (outputNames.size() < 2)
        return false;
    return openMenu (buildPortMenu (outputNames), kOutputBox, &MIDI_Setup::outputChosen);
}

bool MIDI_Setup::openSysExSizeMenu()
{
    return openMenu (buildSysExSizeMenu(), sysExSizeLabel, &MIDI_Setup::sysExSizeChosen);
}

bool MIDI_Setup::openLinkMenu()
{
    return openMenu (buildLinkMenu (controller.getOutputLinkChoice()), linkLabel, &MIDI_Setup::linkChosen);
}

void MIDI_Setup::inputChosen (int id)
{
    if (id < 1)
        return;
    shownInput = id - 1;
    repaint();
    broadcast (kSelectInput, shownInput);
}

void MIDI_Setup::outputChosen (int id)
{
    if (id < 1)
        return;
    shownOutput = id - 1;
    repaint();
    broadcast (kSelectOutput, shownOutput);
}

void MIDI_Setup::sysExSizeChosen (int id)
{
    if (id < 1 || id > 2)
        return;
    // Only remembered in the ports file (written when the panel closes); dumps always go out whole.
    controller.getPorts().setSysExBufferSize (id - 1);
    showSysExSize();
}

void MIDI_Setup::linkChosen (int id)
{
    if (id < 1 || id > 3)
        return;
    // Takes effect at once; remembered for this output port in the ports file's neighbour.
    controller.setOutputLinkChoice ((OutputLink::Choice) (id - 1));
    showLink();
}

void MIDI_Setup::showLink() { linkLabel.setText (linkText (controller)); }

void MIDI_Setup::showSysExSize()
{
    sysExSizeLabel.setText (controller.getPorts().getSysExBufferSize() != 0 ? kLargeSysEx : kSmallSysEx);
}

// ---- Global settings panel -------------------------------------------------------------------------

void MIDI_Setup::toggleGlobals()
{
    if (globalPanel != nullptr)
        closeGlobals();
    else
        showGlobals();
}

void MIDI_Setup::showGlobals()
{
    if (globalPanel != nullptr)
        return;
    // The answer fills the block the panel shows.
    controller.requestGlobals();
    globalPanel = std::make_unique<Global_Container> (controller);
    globalPanel->addListener (this);
    instructionsLabel.setVisible (false);
    addAndMakeVisible (*globalPanel);
    resized();
    repaint();
}

void MIDI_Setup::closeGlobals()
{
    stopTimer();
    if (globalPanel == nullptr)
        return;
    globalPanel->removeListener (this);
    globalPanel.reset();
    instructionsLabel.setVisible (true);
    repaint();
}

void MIDI_Setup::globalPanelEvent (int code)
{
    // Told from inside the panel's own mouse press: close it a moment later, not from under it.
    if (code == Global_Container::kCloseRequested)
        startTimer (kCloseGlobalsMilliseconds);
}

void MIDI_Setup::timerCallback() { closeGlobals(); }

// ---- Children --------------------------------------------------------------------------------------

void MIDI_Setup::changeListenerCallback (juce::ChangeBroadcaster* source)
{
    if (source == &followCheckBox)
        broadcast (kFollowProgramChange, followCheckBox.isOn() ? 1 : 0);
    else if (source == &sysExSizeLabel)
        openSysExSizeMenu();
    else if (source == &linkLabel)
        openLinkMenu();
}

void MIDI_Setup::stsButClicked (StsBut* button)
{
    if (button == &globalsButton)
        toggleGlobals();
    else if (button == &okButton)
        broadcast (kOk, 0);
}

void MIDI_Setup::mouseDown (const juce::MouseEvent& e)
{
    if (! within (e.x, kBoxPressLeft, kBoxPressRight))
        return;
    if (within (e.y, kInputPressTop, kInputPressBottom))
        openInputMenu();
    else if (within (e.y, kOutputPressTop, kOutputPressBottom))
        openOutputMenu();
}

// ---- Painting --------------------------------------------------------------------------------------

void MIDI_Setup::resized()
{
    // Fixed places: the panel covers the editor, whatever its size, and keeps its own layout.
    statusLabel.setBounds (40, 30, 400, 14);
    followCheckBox.setBounds (390, 60, 300, 18);
    sysExSizeLabel.setBounds (180, 172, 100, 16);
    linkLabel.setBounds (kLinkLabel);
    globalsButton.setBounds (690, 200, 74, 18);
    okButton.setBounds (690, 240, 74, 18);
    instructionsLabel.setBounds (50, 310, 730, 160);
    if (globalPanel != nullptr)
        globalPanel->setBounds (kGlobalX, kGlobalY, kGlobalWidth, kGlobalHeight);
}

void MIDI_Setup::paint (juce::Graphics& g)
{
    g.fillAll (kBackground);

    auto frame = [&g] (juce::Rectangle<float> area) {
        g.setColour (kFrameFill);
        g.fillRoundedRectangle (area, 10.0f);
        g.setColour (kFrameOutline);
        g.drawRoundedRectangle (area, 10.0f, 1.0f);
    };
    frame (kPortsFrame);
    if (instructionsLabel.isVisible())
        frame (kInstructionsFrame);

    g.setColour (juce::Colours::white);
    g.setFont (arial (14.0f));
    g.drawSingleLineText ("MIDI In Port", 60, 74);
    g.drawSingleLineText ("MIDI Out Port", 60, 124);
    g.drawSingleLineText ("SysEx Buffer Size:", 60, 184);
    g.drawSingleLineText ("Out Port Link:", 380, 148);

    auto portBox = [&g] (juce::Rectangle<int> box, const juce::String& name, juce::Rectangle<int> indicator,
                         bool open) {
        g.setColour (kBoxFill);
        g.fillRect (box);
        g.setColour (kBoxOutline);
        g.drawRect (box, 1);
        g.setColour (juce::Colours::white);
        g.setFont (arial (14.0f));
        g.drawText (name, box.withTrimmedLeft (8).withTrimmedRight (30), juce::Justification::centredLeft, true);
        g.setColour (open ? kOpenIndicator : kClosedIndicator);
        g.fillRect (indicator);
    };
    portBox (kInputBox, inputNames[shownInput], kInputIndicator, inputOpen);
    portBox (kOutputBox, outputNames[shownOutput], kOutputIndicator, outputOpen);

    g.setColour (juce::Colours::grey);
    g.setFont (arial (12.0f));
    g.drawSingleLineText ("Change only if receiving causes an error (Receiving SysEx).", 60, 204);
}
