#include "model/ParDes.h"
#include "tests/gui/GuiRig.h"
#include "ui/controls/StsCont.h"
#include "ui/look/OstrelLookAndFeel.h"

#include <gtest/gtest.h>

#include <optional>

namespace
{
using Bytes = std::vector<uint8_t>;

// Parameters of the stock table with the ranges the cases need.
constexpr int kLevel1 = 8;     // "Level 1", 0..127
constexpr int kSync1 = 52;     // "Sync 1", 0..1
constexpr int kBpm = 256;      // "BPM", 30..250
constexpr int kArpRange = 295; // "Arp Range", 0..2
constexpr int kMod1Dest = 238; // "Mod 1 Dest", 0..104, the destination list
constexpr int kDestinationEntries = 105;

// The NRPN values that went out, (number, value) in order, read back from the controllers 99, 98,
// 6 and 38 on the wire the way the instrument reads them.
std::vector<std::pair<int, int>> sentNrpns (const std::vector<Bytes>& messages)
{
    std::vector<std::pair<int, int>> nrpns;
    int numberMsb = 0, numberLsb = 0, dataMsb = 0;
    for (const auto& m : messages)
    {
        if (m.size() != 3 || (m[0] & 0xF0) != 0xB0)
            continue;
        switch (m[1])
        {
            case 99: numberMsb = m[2]; break;
            case 98: numberLsb = m[2]; break;
            case 6: dataMsb = m[2]; break;
            case 38: nrpns.emplace_back (numberMsb * 128 + numberLsb, dataMsb * 128 + m[2]); break;
            default: break;
        }
    }
    return nrpns;
}

class ZoomSpy : public StsContListener
{
public:
    ZoomSpy (std::vector<int>& log, int tag) : order (log), id (tag) {}
    void stsContZoomRequested (StsCont* c) override
    {
        order.push_back (id);
        last = c;
    }
    std::vector<int>& order;
    int id;
    StsCont* last = nullptr;
};

// One control on layer A of a processor cabled to the instrument stand-in, showing `shown` as the
// model holds it.
class ControlTest : public ::testing::Test
{
protected:
    StsCont& make (int position, int type, int shown, int width = 60, int height = 50)
    {
        const auto& table = rig.controller().getTable();
        current = std::make_unique<StsCont> (*rig.processor, 0);
        current->setup (position, table.name (position), 10, 30, width, height, table.minimum (position),
                        table.maximum (position), type, table.displayType (position));
        rig.controller().storeValue (position, shown);
        current->showValue (shown, ParDes::valueText (table.displayType (position), shown));
        rig.settle();
        // The wire is read from the start, so every NRPN decodes with the number it belongs to,
        // also when the controller left out an unchanged 99/98.
        rawMark = rig.sentMessages().size();
        nrpnMark = sentNrpns (rig.sentMessages()).size();
        rig.controller().takeNotifications();
        return *current;
    }

    // What reached the processor for the control's position since make(): the stored value if it
    // was edited, and what went to the instrument.
    std::optional<int> edited()
    {
        rig.settle();
        const auto notes = rig.controller().takeNotifications();
        std::optional<int> result;
        for (auto code : notes)
            if (Notification::kind (code) == 0x10 && ((code & 0xFFFFFF) >> 8) == current->getParameterPosition())
                result = code & 0xFF;
        return result;
    }

    // The NRPNs and the raw messages that went out since make().
    std::vector<std::pair<int, int>> wire()
    {
        rig.settle();
        const auto all = sentNrpns (rig.sentMessages());
        return { all.begin() + (std::ptrdiff_t) nrpnMark, all.end() };
    }
    bool nothingSent()
    {
        rig.settle();
        return rig.sentMessages().size() == rawMark;
    }
    int nrpnOf (int position) { return rig.controller().getTable().nrpnOf (position); }

    GuiRig rig;
    std::unique_ptr<StsCont> current;
    size_t rawMark = 0, nrpnMark = 0;
};

// ---- Requests ----------------------------------------------------------------------------------

TEST_F (ControlTest, RequestIsClampedThenComparedWithTheShownValue)
{
    struct Case
    {
        int position, shown, request;
        std::optional<int> sent;
    };
    const Case cases[] = {
        { kLevel1, 64, 64, std::nullopt },   // equal to what is shown
        { kLevel1, 127, 200, std::nullopt }, // clamped to 127, which is shown
        { kLevel1, 100, 200, 127 },
        { kLevel1, 100, -5, 0 },
        { kBpm, 30, 0, std::nullopt }, // below a minimum that is not 0
        { kBpm, 100, 0, 30 },
        { kBpm, 100, 251, 250 },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << "position " << c.position << " shown " << c.shown << " request "
                                         << c.request);
        auto& knob = make (c.position, StsCont::kKnob, c.shown);
        knob.requestValue (c.request, false);

        EXPECT_EQ (edited(), c.sent);
        if (c.sent)
        {
            EXPECT_EQ (rig.controller().getValue (c.position), *c.sent);
            ASSERT_EQ (wire().size(), 1u);
            EXPECT_EQ (wire()[0], std::make_pair ((int) nrpnOf (c.position), *c.sent));
        }
        else
        {
            EXPECT_TRUE (nothingSent());
        }
        // The control never shows its own edit: only showValue changes the picture.
        EXPECT_EQ (knob.getShownValue(), c.shown);
    }
}

TEST_F (ControlTest, ShowValueClampsAndSendsNothing)
{
    auto& knob = make (kBpm, StsCont::kKnob, 100);
    knob.showValue (400, "400 bpm");
    EXPECT_EQ (knob.getShownValue(), 250);
    knob.showValue (3, "3 bpm");
    EXPECT_EQ (knob.getShownValue(), 30);
    EXPECT_EQ (edited(), std::nullopt);
    EXPECT_TRUE (nothingSent());
}

TEST_F (ControlTest, AnEqualValueIsNotShownAgainUntilTheControlForgetsIt)
{
    // setup shows 0 without a text; the editor's whole-program refresh makes the control forget
    // it, so a program whose value is 0 still brings its text.
    const auto& table = rig.controller().getTable();
    StsCont knob (*rig.processor, 0);
    EXPECT_EQ (knob.getShownValue(), -1);
    knob.setup (kLevel1, table.name (kLevel1), 0, 16, 60, 50, 0, 127, StsCont::kKnob, 0);
    EXPECT_EQ (knob.getShownValue(), 0);
    knob.showValue (0, "0");
    EXPECT_EQ (knob.getValueText(), "");
    knob.forgetShownValue();
    knob.showValue (0, "0");
    EXPECT_EQ (knob.getValueText(), "0");
    EXPECT_EQ (knob.getShownValue(), 0);
}

TEST_F (ControlTest, LayerBControlsSpeakForTheLayerBPosition)
{
    const auto& table = rig.controller().getTable();
    StsCont knob (*rig.processor, 1);
    knob.setup (kLevel1, table.name (kLevel1), 0, 16, 60, 50, 0, 127, StsCont::kKnob, 0);
    EXPECT_EQ (knob.getControlId(), 512 + kLevel1);
    knob.requestValue (77, false);
    rig.settle();
    EXPECT_EQ (rig.controller().getValue (512 + kLevel1), 77);
    EXPECT_NE (rig.controller().getValue (kLevel1), 77);
    ASSERT_EQ (wire().size(), 1u);
    EXPECT_EQ (wire()[0].first, nrpnOf (512 + kLevel1));
}

// ---- Knob --------------------------------------------------------------------------------------

TEST_F (ControlTest, KnobDragMovesOneStepPerPixelOrFifteenForShortRanges)
{
    struct Case
    {
        int position, shown, dx, dy;
        std::optional<int> sent;
    };
    const Case cases[] = {
        // Consecutive cases send different values: the controller does not repeat an unchanged NRPN.
        { kLevel1, 64, 0, -10, 74 },         // up raises
        { kLevel1, 60, 10, 0, 70 },          // right raises
        { kLevel1, 64, 5, -5, 74 },          // diagonal adds both
        { kLevel1, 64, 10, 3, 71 },          // right and down
        { kLevel1, 5, 0, 40, 0 },            // clamped at the bottom
        { kSync1, 0, 0, -14, std::nullopt }, // short range: 14 px is not a step yet
        { kSync1, 0, 0, -15, 1 },            // 15 px is
        { kSync1, 1, 0, 15, 0 },
        { kSync1, 0, 15, -15, 1 },          // two steps, clamped to the maximum
        { kSync1, 1, -8, 8, std::nullopt }, // truncated towards zero on both axes
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << "position " << c.position << " shown " << c.shown << " drag " << c.dx << ","
                                         << c.dy);
        auto& knob = make (c.position, StsCont::kKnob, c.shown);
        Mouse mouse (knob);
        mouse.press (30, 20);
        mouse.drag (30.0f + (float) c.dx, 20.0f + (float) c.dy);
        mouse.release (30.0f + (float) c.dx, 20.0f + (float) c.dy);

        EXPECT_EQ (edited(), c.sent);
        if (c.sent)
            EXPECT_EQ (wire(), (std::vector<std::pair<int, int>> { { nrpnOf (c.position), *c.sent } }));
        else
            EXPECT_TRUE (nothingSent());
    }
}

TEST_F (ControlTest, KnobDragIsRelativeToThePressAndLeavesTheGestureOpen)
{
    auto& knob = make (kLevel1, StsCont::kKnob, 40);
    Mouse mouse (knob);
    mouse.press (30, 20);
    mouse.drag (30, 15); // 45
    mouse.drag (30, 10); // 50: measured from the press, not from the last drag
    mouse.release (30, 10);
    rig.settle();

    const int nrpn = nrpnOf (kLevel1);
    EXPECT_EQ (wire(), (std::vector<std::pair<int, int>> { { nrpn, 45 }, { nrpn, 50 } }));
    // A drag is a host gesture that closes after the processor's idle delay, not at once.
    EXPECT_TRUE (rig.processor->isGestureOpen (rig.controller().getTable().automationIndexOf (kLevel1)));
}

TEST (StsContKnobFrame, MinimumIsFrameZeroAndMaximumFrameSixtyWhateverTheRange)
{
    struct Case
    {
        int value, minimum, maximum, frame;
    };
    const Case cases[] = {
        { 30, 30, 250, 0 },  { 250, 30, 250, 60 }, { 140, 30, 250, 30 }, { 0, 0, 127, 0 },
        { 127, 0, 127, 60 }, { 64, 0, 127, 30 },   { 1, 0, 1, 60 },      { 0, 0, 1, 0 },
        { 10, 30, 250, 0 },  { 300, 30, 250, 60 }, // outside the range: clamped frames
        { 5, 5, 5, 0 },                            // no range at all
    };
    for (const auto& c : cases)
        EXPECT_EQ (StsCont::knobFrameFor (c.value, c.minimum, c.maximum), c.frame)
            << c.value << " in " << c.minimum << ".." << c.maximum;
}

TEST_F (ControlTest, ShownValueSetsTheKnobFrame)
{
    auto& knob = make (kBpm, StsCont::kKnob, 30);
    EXPECT_EQ (knob.getKnobFrame(), 0);
    knob.showValue (250, "250 bpm");
    EXPECT_EQ (knob.getKnobFrame(), 60);
    knob.showValue (140, "140 bpm");
    EXPECT_EQ (knob.getKnobFrame(), 30);
}

// ---- Wheel -------------------------------------------------------------------------------------

TEST_F (ControlTest, WheelStepsFromTheShownValue)
{
    struct Case
    {
        int type, position, shown;
        float delta;
        std::optional<int> sent;
    };
    const Case cases[] = {
        { StsCont::kKnob, kLevel1, 64, 0.1f, 65 },           { StsCont::kKnob, kLevel1, 64, -0.1f, 63 },
        { StsCont::kKnob, kLevel1, 64, 0.0f, std::nullopt }, { StsCont::kKnob, kLevel1, 127, 0.5f, std::nullopt },
        { StsCont::kMenu, kMod1Dest, 3, 0.2f, 4 },           { StsCont::kSwitch, kSync1, 1, -0.2f, 0 },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << "type " << c.type << " shown " << c.shown << " delta " << c.delta);
        auto& control = make (c.position, c.type, c.shown);
        Mouse (control).wheel (10, 5, c.delta);
        EXPECT_EQ (edited(), c.sent);
    }
}

// ---- Switches ----------------------------------------------------------------------------------

TEST_F (ControlTest, SwitchesToggleOnlyInsideTheirSwitch)
{
    struct Case
    {
        int type, width, shown;
        float x;
        std::optional<int> sent;
    };
    const Case cases[] = {
        { StsCont::kSwitch, 60, 0, 24.0f, 1 },
        { StsCont::kSwitch, 60, 1, 2.0f, 0 },
        { StsCont::kSwitch, 60, 0, 25.0f, std::nullopt }, // on the label
        { StsCont::kCentredSwitch, 60, 0, 21.0f, 1 },     // switch spans 20..40, ends excluded
        { StsCont::kCentredSwitch, 60, 1, 39.0f, 0 },
        { StsCont::kCentredSwitch, 60, 0, 20.0f, std::nullopt },
        { StsCont::kCentredSwitch, 60, 0, 40.0f, std::nullopt },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << "type " << c.type << " shown " << c.shown << " x " << c.x);
        auto& control = make (kSync1, c.type, c.shown, c.width);
        Mouse (control).click (c.x, 5);
        EXPECT_EQ (edited(), c.sent);
    }
}

TEST_F (ControlTest, ThreeWaySwitchChoosesASideAndALitSwitchTurnsOff)
{
    struct Case
    {
        int shown;
        float x;
        std::optional<int> sent;
    };
    const Case cases[] = {
        { 0, 10.0f, 1 },
        { 0, 50.0f, 2 },
        { 0, 30.0f, std::nullopt }, // the gap does nothing
        { 0, 28.0f, std::nullopt },
        { 0, 35.0f, std::nullopt },
        { 2, 10.0f, 0 },
        { 2, 50.0f, 0 },
        { 2, 30.0f, std::nullopt },
        { 1, 50.0f, 0 },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << "shown " << c.shown << " x " << c.x);
        auto& control = make (kArpRange, StsCont::kThreeWay, c.shown, 64, 20);
        Mouse (control).click (c.x, 5);
        EXPECT_EQ (edited(), c.sent);
    }
}

// ---- Zoom requests -----------------------------------------------------------------------------

TEST_F (ControlTest, BelowZoomSixTenthsAClickAsksToZoomInsteadOfEditing)
{
    struct Case
    {
        int type, position, shown;
        float x, y, dragX, dragY;
    };
    // Each gesture edits at full size.
    const Case cases[] = {
        { StsCont::kSwitch, kSync1, 0, 10, 5, 10, 5 },
        { StsCont::kKnob, kLevel1, 64, 30, 20, 30, 0 },
        { StsCont::kThreeWay, kArpRange, 0, 10, 5, 10, 5 },
        { StsCont::kCentredSwitch, kSync1, 0, 30, 5, 30, 5 },
    };
    for (float scale : { 0.5f, 0.6f })
        for (const auto& c : cases)
        {
            SCOPED_TRACE (testing::Message() << "scale " << scale << " type " << c.type);
            auto& control = make (c.position, c.type, c.shown);
            control.setScale (scale);
            std::vector<int> order;
            ZoomSpy spy (order, 1);
            control.addListener (&spy);

            Mouse mouse (control);
            mouse.press (c.x * scale, c.y * scale);
            mouse.drag (c.dragX * scale, c.dragY * scale);
            mouse.release (c.dragX * scale, c.dragY * scale);

            if (scale < StsCont::kDirectEditThreshold)
            {
                EXPECT_EQ (order.size(), 1u);
                EXPECT_EQ (edited(), std::nullopt);
                EXPECT_TRUE (nothingSent());
            }
            else
            {
                EXPECT_TRUE (order.empty());
                EXPECT_NE (edited(), std::nullopt);
            }
            control.removeListener (&spy);
        }
}

TEST_F (ControlTest, RightClickAsksEveryListenerLastRegisteredFirst)
{
    auto& knob = make (kLevel1, StsCont::kKnob, 64);
    std::vector<int> order;
    ZoomSpy first (order, 1), second (order, 2);
    knob.addListener (&first);
    knob.addListener (&second);
    knob.addListener (&first); // once only

    Mouse mouse (knob);
    mouse.press (30, 20, juce::ModifierKeys::rightButtonModifier);
    mouse.drag (30, 0); // no drag starts from a right press
    mouse.release (30, 0);

    EXPECT_EQ (order, (std::vector<int> { 2, 1 }));
    EXPECT_EQ (first.last, &knob);
    EXPECT_EQ (edited(), std::nullopt);
}

// ---- Value menu --------------------------------------------------------------------------------

struct MenuItemSeen
{
    int id;
    juce::String text;
    bool operator== (const MenuItemSeen& o) const { return id == o.id && text == o.text; }
};

std::vector<MenuItemSeen> itemsOf (const juce::PopupMenu& menu)
{
    std::vector<MenuItemSeen> items;
    for (juce::PopupMenu::MenuItemIterator it (menu); it.next();)
        items.push_back ({ it.getItem().itemID, it.getItem().text });
    return items;
}

TEST (StsContValueMenu, OffersEveryValueWithIdValuePlusOne)
{
    const auto destinations = itemsOf (StsCont::buildValueMenu (ParDes::kDestination, 104));
    ASSERT_EQ (destinations.size(), (size_t) kDestinationEntries);
    for (size_t i = 0; i < destinations.size(); ++i)
        EXPECT_EQ (destinations[i].id, (int) i + 1);
    EXPECT_EQ (destinations[0].text, "Off");
    EXPECT_EQ (destinations[36].text, "LPF Cutoff");
    EXPECT_EQ (destinations[104].text, "Mod 16 Amount");

    EXPECT_EQ (itemsOf (StsCont::buildValueMenu (ParDes::kOnOff, 1)),
               (std::vector<MenuItemSeen> { { 1, "OFF" }, { 2, "ON" } }));
}

TEST (StsContValueMenu, HiddenValuesAreLeftOutAndTheOthersKeepTheirIds)
{
    const auto items = itemsOf (StsCont::buildValueMenu (
        5, [] (int v) { return v == 2 || v == 4 ? juce::String ("*/*") : "v" + juce::String (v); }));
    EXPECT_EQ (items, (std::vector<MenuItemSeen> { { 1, "v0" }, { 2, "v1" }, { 4, "v3" }, { 6, "v5" } }));
}

TEST_F (ControlTest, MenuChoiceIsRequestedAtOnceAndDismissalSendsNothing)
{
    auto& menu = make (kMod1Dest, StsCont::kMenu, 5, 200, 40);
    const int hostIndex = rig.controller().getTable().automationIndexOf (kMod1Dest);

    menu.menuItemChosen (0); // dismissed: the value stays, the minimum is not sent
    EXPECT_EQ (edited(), std::nullopt);
    EXPECT_TRUE (nothingSent());

    menu.menuItemChosen (6); // "Osc 1 Level"... id 6 is value 5, which is shown
    EXPECT_EQ (edited(), std::nullopt);

    menu.menuItemChosen (37); // value 36, "LPF Cutoff"
    EXPECT_EQ (edited(), 36);
    EXPECT_EQ (wire(), (std::vector<std::pair<int, int>> { { nrpnOf (kMod1Dest), 36 } }));
    // A choice is a whole gesture: the host hears its end at once.
    EXPECT_FALSE (rig.processor->isGestureOpen (hostIndex));

    EXPECT_EQ (menu.getShownValue(), 5);
}

// The control with its menu opening recorded instead of shown: a menu window needs a window
// manager that the virtual display does not have.
class MenuRecordingControl : public StsCont
{
public:
    using StsCont::StsCont;
    void openValueMenu() override { ++opened; }
    int opened = 0;
};

TEST_F (ControlTest, ReleaseOnTheStripOpensTheMenu)
{
    struct Case
    {
        float scale, pressY, releaseY;
        bool opens;
    };
    const Case cases[] = {
        { 1.0f, 5, 10, true },  { 1.0f, 17, 17, true }, { 1.0f, 25, 25, false }, // the caption below the strip
        { 1.0f, 5, 25, false }, // pressed on the strip, released below it
        { 2.0f, 30, 30, true }, // the strip is 36 pixels high at this zoom
        { 0.5f, 5, 5, false },  // zoomed out: a zoom request instead
    };
    const auto& table = rig.controller().getTable();
    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << "scale " << c.scale << " press " << c.pressY << " release " << c.releaseY);
        MenuRecordingControl menu (*rig.processor, 0);
        menu.setup (kMod1Dest, table.name (kMod1Dest), 0, 16, 200, 40, 0, 104, StsCont::kMenu,
                    table.displayType (kMod1Dest));
        menu.setScale (c.scale);
        Mouse mouse (menu);
        mouse.press (50, c.pressY);
        mouse.release (50, c.releaseY);
        EXPECT_EQ (menu.opened, c.opens ? 1 : 0);

        mouse.rightClick (50, 5);
        EXPECT_EQ (menu.opened, c.opens ? 1 : 0);
    }
}

TEST (OstrelLookAndFeelTest, MenusReadWhiteOnBlackWithAGreyHighlight)
{
    OstrelLookAndFeel look;
    using juce::PopupMenu;
    EXPECT_EQ (look.findColour (PopupMenu::backgroundColourId), juce::Colour (0xFF000000));
    EXPECT_EQ (look.findColour (PopupMenu::textColourId), juce::Colour (0xFFFFFFFF));
    EXPECT_EQ (look.findColour (PopupMenu::headerTextColourId), juce::Colour (0xFFFFFFFF));
    EXPECT_EQ (look.findColour (PopupMenu::highlightedBackgroundColourId), juce::Colour (0xFF808080));
    EXPECT_EQ (look.findColour (PopupMenu::highlightedTextColourId), juce::Colour (0xFFFFFFFF));

    // The background is plain black: no stripes.
    juce::Image sheet (juce::Image::ARGB, 40, 40, true, juce::SoftwareImageType());
    {
        juce::Graphics g (sheet);
        look.drawPopupMenuBackground (g, 40, 40);
    }
    for (int y = 1; y < 39; ++y)
        EXPECT_EQ (sheet.getPixelAt (20, y), juce::Colour (0xFF000000)) << "row " << y;
}

// ---- Layout and painting -----------------------------------------------------------------------

TEST_F (ControlTest, GeometryIsTheLayoutBoxTimesTheScale)
{
    auto& knob = make (kLevel1, StsCont::kKnob, 0, 61, 51);
    EXPECT_EQ (knob.getBounds(), juce::Rectangle<int> (10, 14, 61, 51)); // y 30 is the caption line
    knob.setScale (1.5f);
    EXPECT_EQ (knob.getBounds(), juce::Rectangle<int> (15, 21, 91, 76));
    knob.setPosition (101, 17);
    EXPECT_EQ (knob.getBounds(), juce::Rectangle<int> (151, 1, 91, 76));
    knob.setScale (0.5f);
    EXPECT_EQ (knob.getBounds(), juce::Rectangle<int> (50, 0, 30, 25));
}

juce::Image snapshot (juce::Component& c)
{
    juce::Image image (juce::Image::ARGB, c.getWidth(), c.getHeight(), true, juce::SoftwareImageType());
    juce::Graphics g (image);
    c.paintEntireComponent (g, false);
    return image;
}

bool samePixels (const juce::Image& a, const juce::Image& b)
{
    for (int y = 0; y < a.getHeight(); ++y)
        for (int x = 0; x < a.getWidth(); ++x)
            if (a.getPixelAt (x, y) != b.getPixelAt (x, y))
                return false;
    return true;
}

TEST_F (ControlTest, PictureFollowsTheShownValueNotTheEdit)
{
    for (int type : { StsCont::kSwitch, StsCont::kThreeWay, StsCont::kCentredSwitch })
    {
        SCOPED_TRACE (type);
        auto& control = make (type == StsCont::kThreeWay ? kArpRange : kSync1, type, 0, 64, 30);
        const auto off = snapshot (control);
        Mouse (control).click (type == StsCont::kCentredSwitch ? 32.0f : 10.0f, 5);
        ASSERT_NE (edited(), std::nullopt);
        EXPECT_TRUE (samePixels (snapshot (control), off));

        control.showValue (1, "ON");
        EXPECT_FALSE (samePixels (snapshot (control), off));
    }
}

} // namespace
