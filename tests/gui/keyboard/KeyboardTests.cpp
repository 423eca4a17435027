#include "tests/gui/GuiRig.h"
#include "ui/keyboard/KeyBrd.h"
#include "ui/keyboard/ZoneKeyClass.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace
{
using Bytes = std::vector<uint8_t>;

Bytes noteOn (int channel, int note, int velocity)
{
    return { (uint8_t) (0x90 + channel - 1), (uint8_t) note, (uint8_t) velocity };
}
Bytes noteOff (int channel, int note) { return { (uint8_t) (0x80 + channel - 1), (uint8_t) note, 0 }; }

// The play panel with the operating system's key state replaced by the keys the test holds down.
class HeldKeysPlayPanel : public KeyPlayClass
{
public:
    using KeyPlayClass::KeyPlayClass;

    // A key goes down: the system reports the state change, then the key press.
    bool press (juce::juce_wchar letter)
    {
        held.insert (juce::CharacterFunctions::toUpperCase (letter));
        keyStateChanged (true);
        return keyPressed (juce::KeyPress ((int) letter));
    }
    // Key repeat: only the press comes again.
    bool repeat (juce::juce_wchar letter) { return keyPressed (juce::KeyPress ((int) letter)); }
    void lift (juce::juce_wchar letter)
    {
        held.erase (juce::CharacterFunctions::toUpperCase (letter));
        keyStateChanged (false);
    }

    std::set<juce::juce_wchar> held;

protected:
    bool isLetterKeyDown (juce::juce_wchar upperCaseLetter) const override { return held.count (upperCaseLetter) > 0; }
};

// Counts broadcasts and remembers the code of each, as an owning group reads it.
template <typename Broadcaster>
struct CodeRecorder : juce::ChangeListener
{
    explicit CodeRecorder (Broadcaster& b) : broadcaster (b) { broadcaster.addChangeListener (this); }
    ~CodeRecorder() override { broadcaster.removeChangeListener (this); }
    void changeListenerCallback (juce::ChangeBroadcaster*) override
    {
        codes.push_back ({ broadcaster.getChangeCode(), broadcaster.getSplitKey() });
    }
    Broadcaster& broadcaster;
    std::vector<std::pair<int, int>> codes;
};

struct BroadcastCounter : juce::ChangeListener
{
    void changeListenerCallback (juce::ChangeBroadcaster*) override { ++count; }
    int count = 0;
};

class KeyboardTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        rig.controller().takeNotifications();
        rig.clearSent();
    }

    GuiRig rig;
};

// The centre of a key in the pad's coordinates, at a chosen height.
juce::Point<float> onKey (PianoPad& pad, int relativeNote, float y)
{
    return { (float) pad.getKey (relativeNote).getBounds().getCentreX(), y };
}
} // namespace

// ---- Piano -----------------------------------------------------------------------------------------

TEST_F (KeyboardTest, PianoLayoutPutsBlackKeysAtTheirOctaveOffsetsAndHitsThemNearTheTop)
{
    PianoPad pad (rig.controller());
    EXPECT_EQ (pad.getWidth(), 38 * 25);
    EXPECT_EQ (pad.getHeight(), 152);
    EXPECT_EQ (pad.getKey (1).getBounds(), juce::Rectangle<int> (15, 0, 16, 100));        // C#
    EXPECT_EQ (pad.getKey (13).getBounds(), juce::Rectangle<int> (175 + 15, 0, 16, 100)); // C# one octave up
    EXPECT_EQ (pad.getKey (64).getBounds(), juce::Rectangle<int> (37 * 25, 0, 25, 152));  // the top E
    EXPECT_EQ (pad.getKey (2).getHitBox().getX(), 15 + 16 + 2); // D starts to count right of C#
    EXPECT_EQ (pad.getKey (5).getHitBox().getX(), 75);          // F follows E: no black key before it

    struct Case
    {
        int x, y, key;
    };
    const Case cases[] = {
        { 5, 50, 0 },   { 20, 50, 1 },  { 32, 50, 1 }, { 33, 50, 2 },    { 20, 120, 0 },
        { 30, 120, 2 }, { 61, 50, 3 },  { 62, 50, 4 }, { 949, 120, 64 }, { 950, 120, -1 },
        { -1, 50, -1 }, { 5, 152, -1 }, { 5, -1, -1 },
    };
    for (const auto& c : cases)
        EXPECT_EQ (pad.getOverlay().keyAt (c.x, c.y), c.key) << "at " << c.x << ", " << c.y;

    pad.setScale (0.5f);
    EXPECT_EQ (pad.getWidth(), 38 * 12);
    EXPECT_EQ (pad.getKey (1).getBounds(), juce::Rectangle<int> (7, 0, 8, 50));
}

TEST (PianoKeyImages, KeysTakeTheirPicturesFromTheSkin)
{
    const PianoKeyImages images;
    EXPECT_EQ (images.whiteUp.getBounds(), juce::Rectangle<int> (0, 0, 25, 152));
    EXPECT_EQ (images.whiteDown.getBounds(), juce::Rectangle<int> (0, 0, 25, 152));
    EXPECT_EQ (images.blackUp.getBounds(), juce::Rectangle<int> (0, 0, 16, 100));
    EXPECT_EQ (images.blackDown.getBounds(), juce::Rectangle<int> (0, 0, 16, 100));
}

TEST (PianoKeyVelocity, ClickHeightGivesTheVelocityWhenThePlayVelocityLeavesItOpen)
{
    struct Case
    {
        int kind, y, velocity;
    };
    const Case cases[] = {
        // White keys respond from 52 pixels down; 152, the bottom edge, is full strength.
        { PianoKey::kWhite, 0, 5 },
        { PianoKey::kWhite, 52, 5 },
        { PianoKey::kWhite, 60, 10 },
        { PianoKey::kWhite, 100, 60 },
        { PianoKey::kWhite, 151, 125 },
        { PianoKey::kWhite, 152, 127 },
        { PianoKey::kWhite, 153, -1 },
        // Black keys from their top; their lower end and below it give 127.
        { PianoKey::kBlack, 0, 5 },
        { PianoKey::kBlack, 3, 5 },
        { PianoKey::kBlack, 50, 63 },
        { PianoKey::kBlack, 100, 127 },
        { PianoKey::kBlack, 130, 127 },
        { PianoKey::kBlack, 153, -1 },
    };
    for (const auto& c : cases)
        EXPECT_EQ (PianoKey::velocityFromY (c.kind, c.y), c.velocity) << "kind " << c.kind << " y " << c.y;
}

TEST_F (KeyboardTest, PressingAKeyPlaysItsNoteOnTheChannelAndReleasingStopsIt)
{
    rig.controller().setMidiChannel (5);
    PianoPad pad (rig.controller());
    Mouse mouse (pad.getOverlay());

    // Play velocity 100 is used as it is, whatever the height; octave index 2 starts at note 24.
    auto at = onKey (pad, 4, 60.0f);
    mouse.press (at.x, at.y);
    EXPECT_TRUE (pad.getKey (4).isSounding());
    mouse.release (at.x, at.y);
    EXPECT_FALSE (pad.getKey (4).isSounding());
    EXPECT_EQ (rig.sentMessages(), (std::vector<Bytes> { noteOn (5, 28, 100), noteOff (5, 28) }));
}

TEST_F (KeyboardTest, LowPlayVelocityTakesTheVelocityFromTheClickOnWhiteAndBlackKeys)
{
    rig.controller().noteVelocity = 3;
    PianoPad pad (rig.controller());
    Mouse mouse (pad.getOverlay());

    const auto white = onKey (pad, 0, 100.0f);
    mouse.click (white.x, white.y);
    const auto black = onKey (pad, 6, 50.0f); // F#
    mouse.click (black.x, black.y);
    const auto top = onKey (pad, 7, 20.0f); // G near its top: above the 52-pixel line
    mouse.click (top.x, top.y);

    EXPECT_EQ (rig.sentMessages(), (std::vector<Bytes> { noteOn (1, 24, 60), noteOff (1, 24), noteOn (1, 30, 63),
                                                         noteOff (1, 30), noteOn (1, 31, 5), noteOff (1, 31) }));
}

TEST_F (KeyboardTest, TopOctaveKeysAboveNote127StaySilent)
{
    rig.controller().playOctave = 6;
    PianoPad pad (rig.controller());
    Mouse mouse (pad.getOverlay());

    for (int key : { 55, 56, 64 })
    {
        const auto at = onKey (pad, key, 40.0f);
        mouse.click (at.x, at.y);
        EXPECT_EQ (pad.getKey (key).isSounding(), false);
    }
    // G at index 6 is note 127, the last one; G# and everything above it send nothing.
    EXPECT_EQ (rig.sentMessages(), (std::vector<Bytes> { noteOn (1, 127, 100), noteOff (1, 127) }));
}

TEST_F (KeyboardTest, DraggingAcrossKeysStopsTheLeftKeyAndStartsTheNewOneOnTheNextMove)
{
    PianoPad pad (rig.controller());
    Mouse mouse (pad.getOverlay());

    const auto c = onKey (pad, 0, 130.0f), d = onKey (pad, 2, 130.0f), e = onKey (pad, 4, 130.0f);
    mouse.press (c.x, c.y);
    mouse.drag (c.x + 1, c.y); // still on C: it becomes the key being dragged over
    mouse.drag (d.x, d.y);     // leaving C stops it
    mouse.drag (d.x + 1, d.y); // the next movement starts D
    mouse.drag (e.x, e.y);
    mouse.drag (e.x + 1, e.y);
    mouse.release (e.x + 1, e.y);

    EXPECT_EQ (rig.sentMessages(), (std::vector<Bytes> { noteOn (1, 24, 100), noteOff (1, 24), noteOn (1, 26, 100),
                                                         noteOff (1, 26), noteOn (1, 28, 100), noteOff (1, 28) }));
    EXPECT_EQ (pad.getOverlay().getDraggedKey(), -1);
}

TEST_F (KeyboardTest, KeyReleasedAfterAnOctaveChangeStopsTheNoteItStarted)
{
    PianoPad pad (rig.controller());
    Mouse mouse (pad.getOverlay());
    const auto at = onKey (pad, 0, 130.0f);

    mouse.press (at.x, at.y);
    rig.controller().playOctave = 3;
    mouse.release (at.x, at.y);

    EXPECT_EQ (rig.sentMessages(), (std::vector<Bytes> { noteOn (1, 24, 100), noteOff (1, 24) }));
}

TEST_F (KeyboardTest, KeyPictureFollowsTheSoundAfterAShortDelay)
{
    PianoPad pad (rig.controller());
    Mouse mouse (pad.getOverlay());
    const auto at = onKey (pad, 1, 40.0f);

    mouse.press (at.x, at.y);
    EXPECT_FALSE (pad.getKey (1).isDrawnPressed());
    GuiRig::pump (80);
    EXPECT_TRUE (pad.getKey (1).isDrawnPressed());
    mouse.release (at.x, at.y);
    GuiRig::pump (80);
    EXPECT_FALSE (pad.getKey (1).isDrawnPressed());
}

// ---- Octave strip ----------------------------------------------------------------------------------

TEST_F (KeyboardTest, OctaveStripPicksTheBaseNoteAndClampsIt)
{
    struct Case
    {
        float scale, x;
        int base;
    };
    const Case cases[] = {
        { 1.0f, 0.0f, 0 },    { 1.0f, 30.0f, 0 },   { 1.0f, 75.0f, 12 }, { 1.0f, 76.0f, 24 },
        { 1.0f, 150.0f, 48 }, { 1.0f, 268.0f, 72 }, // beyond C6 the piano would leave the MIDI range
        { 0.35f, 0.0f, 0 },   { 0.35f, 2.0f, 0 },   // left of the first C at the panel's strip scale
        { 0.35f, 30.0f, 36 },
    };

    OctaveKeyClass strip (rig.controller());
    strip.setSize (269, 18);
    Mouse mouse (strip);
    for (const auto& c : cases)
    {
        strip.setScale (c.scale);
        rig.controller().playOctave = 4;
        mouse.press (c.x, 5.0f);
        EXPECT_EQ (strip.getBaseNote(), c.base) << "scale " << c.scale << " x " << c.x;
        EXPECT_EQ (rig.controller().playOctave.load(), c.base / 12);
        mouse.release (c.x, 5.0f);
    }

    // Dragging keeps picking, and the piano plays in the octave picked.
    strip.setScale (1.0f);
    mouse.press (30.0f, 5.0f);
    mouse.drag (150.0f, 5.0f);
    mouse.release (150.0f, 5.0f);
    PianoPad pad (rig.controller());
    Mouse keys (pad.getOverlay());
    const auto at = onKey (pad, 0, 130.0f);
    keys.click (at.x, at.y);
    EXPECT_EQ (rig.sentMessages(), (std::vector<Bytes> { noteOn (1, 48, 100), noteOff (1, 48) }));
}

// ---- Split keyboards -------------------------------------------------------------------------------

TEST (SplitKeyboard, DragOnlyShowsTheSplitKeyWhilePressAndReleaseRequestIt)
{
    ZoneKeyClassB strip;
    strip.setSize (505, 34);
    CodeRecorder<ZoneKeyClassB> recorder (strip);
    Mouse mouse (strip);

    mouse.press (100.0f, 10.0f); // key 25
    mouse.drag (200.0f, 10.0f);  // key 50
    mouse.drag (600.0f, 10.0f);  // off the right end: the top key
    mouse.drag (-20.0f, 10.0f);  // off the left end: the bottom key
    mouse.drag (250.0f, 10.0f);  // key 62
    EXPECT_TRUE (strip.isDragging());
    mouse.release (250.0f, 10.0f);

    EXPECT_FALSE (strip.isDragging());
    EXPECT_EQ (recorder.codes, (std::vector<std::pair<int, int>> {
                                   { 65, 25 }, { 68, 50 }, { 68, 127 }, { 68, 0 }, { 68, 62 }, { 65, 62 } }));

    // A drag without a press does nothing.
    recorder.codes.clear();
    mouse.drag (100.0f, 10.0f);
    EXPECT_TRUE (recorder.codes.empty());
    EXPECT_EQ (strip.getSplitKey(), 62);

    // At half size the same key lies under half the x.
    strip.setScale (0.5f);
    mouse.click (50.0f, 5.0f);
    EXPECT_EQ (strip.getSplitKey(), 25);
}

TEST (SplitKeyboard, CompactStripBroadcastsOnAReleaseInsideIt)
{
    ZoneKeyClass strip;
    strip.setSize (269, 18);
    BroadcastCounter counter;
    strip.addChangeListener (&counter);
    Mouse mouse (strip);

    mouse.click (100.0f, 5.0f);
    GuiRig::pump (30);
    EXPECT_EQ (counter.count, 1);
    EXPECT_EQ (strip.getChangeCode(), ZoneKeyClass::kClicked);

    mouse.press (100.0f, 5.0f);
    mouse.release (400.0f, 5.0f); // let go outside
    GuiRig::pump (30);
    EXPECT_EQ (counter.count, 1);
    strip.removeChangeListener (&counter);
}

// ---- Computer keyboard -----------------------------------------------------------------------------

TEST_F (KeyboardTest, HeldLetterPlaysOnceAndItsReleaseStopsTheNote)
{
    HeldKeysPlayPanel panel (rig.controller(), KeyPlayClass::kKeyboardPanel);

    EXPECT_TRUE (panel.press ('z'));
    EXPECT_EQ (panel.getMessage(), "Play Chn: 1 Key: C3 Vel: 100");
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE (panel.repeat ('z'));
    panel.keyStateChanged (true); // another key's state changes while Z is held
    EXPECT_EQ (rig.sentMessages(), (std::vector<Bytes> { noteOn (1, 36, 100) }));

    panel.lift ('z');
    EXPECT_EQ (rig.sentMessages(), (std::vector<Bytes> { noteOn (1, 36, 100), noteOff (1, 36) }));
    EXPECT_FALSE (panel.isSounding (36));

    // Upper-case key codes play the same keys; M is the octave's B.
    rig.clearSent();
    EXPECT_TRUE (panel.press ('M'));
    panel.lift ('M');
    EXPECT_EQ (rig.sentMessages(), (std::vector<Bytes> { noteOn (1, 47, 100), noteOff (1, 47) }));
}

TEST_F (KeyboardTest, OneNoteOffPerKeyStateChangeInLetterOrder)
{
    HeldKeysPlayPanel panel (rig.controller(), KeyPlayClass::kKeyboardPanel);
    panel.press ('s');
    panel.press ('x');
    rig.clearSent();

    // Both let go at once: the first in Z S X ... order stops now, the other at the next change.
    panel.held.clear();
    panel.keyStateChanged (false);
    EXPECT_EQ (rig.sentMessages(), (std::vector<Bytes> { noteOff (1, 37) }));
    panel.keyStateChanged (false);
    EXPECT_EQ (rig.sentMessages(), (std::vector<Bytes> { noteOff (1, 37), noteOff (1, 38) }));
}

TEST_F (KeyboardTest, OctaveChangeWhileALetterIsHeldStillStopsItsNote)
{
    HeldKeysPlayPanel panel (rig.controller(), KeyPlayClass::kKeyboardPanel);
    panel.press ('z');
    panel.keyPressed (juce::KeyPress ('p'));
    panel.repeat ('z'); // key repeat in the new octave starts nothing
    panel.lift ('z');
    EXPECT_EQ (rig.sentMessages(), (std::vector<Bytes> { noteOn (1, 36, 100), noteOff (1, 36) }));
}

TEST_F (KeyboardTest, VelocityStepsByFiveWithinItsLimits)
{
    HeldKeysPlayPanel panel (rig.controller(), KeyPlayClass::kKeyboardPanel);
    for (int expected : { 105, 110, 115, 120, 125, 125 })
    {
        EXPECT_TRUE (panel.keyPressed (juce::KeyPress ('i')));
        EXPECT_EQ (panel.getVelocity(), expected);
        EXPECT_EQ (panel.getMessage(), "Note Velocity: " + juce::String (expected));
    }
    for (int expected :
         { 120, 115, 110, 105, 100, 95, 90, 85, 80, 75, 70, 65, 60, 55, 50, 45, 40, 35, 30, 25, 20, 15, 10, 5, 0, 0 })
    {
        EXPECT_TRUE (panel.keyPressed (juce::KeyPress ('u')));
        EXPECT_EQ (panel.getVelocity(), expected);
    }
    EXPECT_EQ (panel.getMessage(), "Note Velocity: 0");

    for (int i = 0; i < 3; ++i)
        panel.keyPressed (juce::KeyPress ('I'));
    panel.press ('c');
    EXPECT_EQ (rig.sentMessages(), (std::vector<Bytes> { noteOn (1, 40, 15) }));
}

TEST_F (KeyboardTest, OctaveStepsByTwelveBetweenZeroAndOneHundredTwenty)
{
    HeldKeysPlayPanel panel (rig.controller(), KeyPlayClass::kKeyboardPanel);
    for (int expected : { 48, 60, 72, 84, 96, 108, 120, 120 })
    {
        EXPECT_TRUE (panel.keyPressed (juce::KeyPress ('p')));
        EXPECT_EQ (panel.getOctaveBase(), expected);
        EXPECT_EQ (panel.getMessage(), "Octave " + juce::String (expected / 12 - 2));
    }
    EXPECT_EQ (panel.getMessage(), "Octave 8");

    // From 120 the top keys would pass note 127: G is the last one that plays.
    panel.press ('v'); // 125
    panel.press ('b'); // 127
    panel.press ('h'); // 129
    EXPECT_EQ (rig.sentMessages(), (std::vector<Bytes> { noteOn (1, 125, 100), noteOn (1, 127, 100) }));
    EXPECT_EQ (panel.getMessage(), "Play Chn: 1 Key: G10 Vel: 100");

    for (int i = 0; i < 12; ++i)
        panel.keyPressed (juce::KeyPress ('o'));
    EXPECT_EQ (panel.getOctaveBase(), 0);
    EXPECT_EQ (panel.getMessage(), "Octave -2");
}

TEST_F (KeyboardTest, SpaceSilencesEveryNote)
{
    HeldKeysPlayPanel panel (rig.controller(), KeyPlayClass::kKeyboardPanel);
    panel.press ('z');
    rig.clearSent();

    EXPECT_TRUE (panel.keyPressed (juce::KeyPress (juce::KeyPress::spaceKey)));
    const auto sent = rig.sentMessages();
    ASSERT_EQ (sent.size(), 128u);
    for (int note = 0; note < 128; ++note)
        EXPECT_EQ (sent[(size_t) note], noteOff (1, note));
    EXPECT_FALSE (panel.isSounding (36));
    EXPECT_EQ (panel.getMessage(), "All Notes OFF");

    // Z is still held: its repeat starts it again, as a fresh press would.
    panel.repeat ('z');
    EXPECT_TRUE (panel.isSounding (36));
}

TEST_F (KeyboardTest, DigitsPostPageCommandsOnlyFromTheKeyboardPanel)
{
    HeldKeysPlayPanel editorPanel (rig.controller(), KeyPlayClass::kKeyboardPanel);
    HeldKeysPlayPanel libraryPanel (rig.controller(), KeyPlayClass::kLibraryWindow);

    EXPECT_TRUE (editorPanel.keyPressed (juce::KeyPress ('1')));
    EXPECT_TRUE (editorPanel.keyPressed (juce::KeyPress ('9')));
    EXPECT_TRUE (editorPanel.keyPressed (juce::KeyPress ('0')));
    EXPECT_TRUE (libraryPanel.keyPressed (juce::KeyPress ('3')));
    EXPECT_EQ (rig.controller().takeNotifications(), (std::vector<int32_t> { 0x210002D7, 0x210002DF, 0x210002D6 }));
    EXPECT_TRUE (rig.sentMessages().empty());
}

TEST_F (KeyboardTest, KeysThePanelDoesNotUseAreLeftToOthers)
{
    HeldKeysPlayPanel panel (rig.controller(), KeyPlayClass::kKeyboardPanel);
    struct Case
    {
        int keyCode;
        bool consumed;
    };
    const Case cases[] = {
        { juce::KeyPress::leftKey, true },
        { juce::KeyPress::upKey, true },
        { juce::KeyPress::F7Key, true },
        { juce::KeyPress::F9Key, true },
        { juce::KeyPress::F1Key, false },
        { juce::KeyPress::returnKey, false },
        { 'q', false },
        { 'A', false },
        { ',', false },
    };
    for (const auto& c : cases)
        EXPECT_EQ (panel.keyPressed (juce::KeyPress (c.keyCode)), c.consumed) << c.keyCode;
    EXPECT_TRUE (rig.sentMessages().empty());
    EXPECT_TRUE (panel.getMessage().isEmpty());
}

TEST_F (KeyboardTest, MessageClearsAfterItsTime)
{
    HeldKeysPlayPanel panel (rig.controller(), KeyPlayClass::kKeyboardPanel);
    panel.showMessage ("hello");
    GuiRig::pump (300);
    EXPECT_EQ (panel.getMessage(), "hello");
    GuiRig::pump (700);
    EXPECT_TRUE (panel.getMessage().isEmpty());
}

TEST (NoteNames, NameAndOctaveNumber)
{
    EXPECT_EQ (KeyPlayClass::noteName (60), "C5");
    EXPECT_EQ (KeyPlayClass::noteName (0), "C0");
    EXPECT_EQ (KeyPlayClass::noteName (37), "C#3");
    EXPECT_EQ (KeyPlayClass::noteName (127), "G10");
}

// ---- Keyboard panel --------------------------------------------------------------------------------

TEST_F (KeyboardTest, PanelLaysOutEverythingAtItsScale)
{
    KeyBrd panel (rig.controller());
    panel.setScale (0.5f, 300, 1200, 172);

    EXPECT_EQ (panel.getBounds(), juce::Rectangle<int> (0, 300, 600, 86));
    EXPECT_EQ (panel.getPiano().getBounds(), juce::Rectangle<int> (116, 10, 38 * 12, 76));
    EXPECT_FLOAT_EQ (panel.getOctaveStrip().getScale(), 0.35f);
    EXPECT_EQ (panel.getOctaveStrip().getBounds(), juce::Rectangle<int> (19, 12, 94, 5));
    EXPECT_EQ (panel.getPitchWheel().getBounds(), juce::Rectangle<int> (55, 22, 15, 56));
    EXPECT_EQ (panel.getModWheel().getBounds(), juce::Rectangle<int> (85, 22, 15, 56));
    EXPECT_EQ (panel.getVelocityIndicator().getBounds(), juce::Rectangle<int> (17, 19, 35, 60));
    EXPECT_EQ (panel.getPitchWheel().getValue(), 64);
    EXPECT_EQ (panel.getModWheel().getValue(), 0);
    EXPECT_EQ (panel.getStatusText(), "OFF-LINE");
    EXPECT_TRUE (panel.getPlayPanel().getWantsKeyboardFocus());
}

TEST_F (KeyboardTest, VelocityIndicatorSetsWhatThePianoPlays)
{
    KeyBrd panel (rig.controller());
    panel.setScale (1.0f, 300, 1200, 172);
    panel.getVelocityIndicator().setVelocity (77);

    Mouse mouse (panel.getPiano().getOverlay());
    const auto at = onKey (panel.getPiano(), 2, 140.0f);
    mouse.click (at.x, at.y);

    // Down at the bottom of the range the click height decides.
    panel.getVelocityIndicator().setVelocity (0);
    mouse.click (at.x, 100.0f);
    EXPECT_EQ (rig.sentMessages(),
               (std::vector<Bytes> { noteOn (1, 26, 77), noteOff (1, 26), noteOn (1, 26, 60), noteOff (1, 26) }));
}

TEST_F (KeyboardTest, TitleBarDragsThePanelUpAndDownButNeverOverTheTopBand)
{
    KeyBrd panel (rig.controller());
    panel.setScale (1.0f, 300, 1200, 172);
    BroadcastCounter counter;
    panel.addChangeListener (&counter);
    Mouse mouse (panel);

    mouse.press (100.0f, 10.0f);
    mouse.drag (100.0f, -100.0f);
    EXPECT_EQ (panel.getPosition(), juce::Point<int> (0, 190));
    mouse.drag (100.0f, -500.0f);
    EXPECT_EQ (panel.getPosition(), juce::Point<int> (0, 54));
    mouse.release (100.0f, -500.0f);
    GuiRig::pump (30);
    EXPECT_EQ (counter.count, 1);

    // Below the title bar, or at its right end, the panel stays where it is.
    for (auto start : { juce::Point<float> (100.0f, 25.0f), juce::Point<float> (1150.0f, 10.0f) })
    {
        mouse.press (start.x, start.y);
        mouse.drag (start.x, start.y + 100.0f);
        mouse.release (start.x, start.y + 100.0f);
        EXPECT_EQ (panel.getPosition(), juce::Point<int> (0, 54));
    }
    GuiRig::pump (30);
    EXPECT_EQ (counter.count, 1);
    panel.removeChangeListener (&counter);
}

TEST_F (KeyboardTest, PlayPanelIsAHandleForThePanelToo)
{
    juce::Component editor;
    editor.setSize (1200, 800);
    KeyBrd panel (rig.controller());
    editor.addAndMakeVisible (panel);
    panel.setScale (1.0f, 300, 1200, 172);
    BroadcastCounter counter;
    panel.addChangeListener (&counter);

    // The play panel sits at (400, 4): its own (10, 5) is (410, 9) in the keyboard panel.
    Mouse mouse (panel.getPlayPanel());
    mouse.press (10.0f, 5.0f);
    mouse.drag (10.0f, -50.0f);
    EXPECT_EQ (panel.getPosition(), juce::Point<int> (0, 245));
    mouse.release (10.0f, -50.0f);
    GuiRig::pump (30);
    EXPECT_EQ (counter.count, 1);
    panel.removeChangeListener (&counter);
}

// ---- No note hangs -----------------------------------------------------------------------------------

// A key released while the play panel has no focus is never seen: losing the focus stops what the
// panel started (and only that).
TEST_F (KeyboardTest, LosingTheFocusStopsTheHeldLetters)
{
    HeldKeysPlayPanel panel (rig.controller(), KeyPlayClass::kKeyboardPanel);
    panel.press ('z');
    panel.press ('x');
    rig.clearSent();
    panel.focusLost (juce::Component::focusChangedDirectly);
    EXPECT_EQ (rig.sentMessages(), (std::vector<Bytes> { noteOff (1, 36), noteOff (1, 38) }));
    EXPECT_FALSE (panel.isSounding (36));

    rig.clearSent();
    panel.lift ('z');
    panel.lift ('x');
    EXPECT_TRUE (rig.sentMessages().empty());
}

// Closing the editor deletes the keyboard panel: a piano key held with the mouse and a letter held
// on the computer keyboard both stop.
TEST_F (KeyboardTest, ThePanelGoingStopsEveryNoteItStarted)
{
    for (const bool byFocus : { false, true })
    {
        SCOPED_TRACE (byFocus ? "focus lost" : "panel deleted");
        auto panel = std::make_unique<KeyBrd> (rig.controller());
        Mouse mouse (panel->getPiano().getOverlay());
        const auto at = onKey (panel->getPiano(), 4, 60.0f);
        mouse.press (at.x, at.y);
        panel->getPlayPanel().keyPressed (juce::KeyPress ('v'));
        rig.clearSent();

        if (byFocus)
        {
            // As JUCE tells of it: the panel that had the focus, then its parents.
            panel->getPlayPanel().focusLost (juce::Component::focusChangedDirectly);
            panel->focusOfChildComponentChanged (juce::Component::focusChangedDirectly);
        }
        else
            panel.reset();
        auto sent = rig.sentMessages();
        std::sort (sent.begin(), sent.end());
        EXPECT_EQ (sent, (std::vector<Bytes> { noteOff (1, 28), noteOff (1, 41) }));
        if (panel != nullptr)
        {
            EXPECT_FALSE (panel->getPiano().getKey (4).isSounding());
            rig.clearSent();
            mouse.release (at.x, at.y);
            EXPECT_TRUE (rig.sentMessages().empty());
        }
    }
}
