#include "model/ParameterTable.h"
#include "tests/gui/GuiRig.h"
#include "ui/controls/Envel.h"
#include "ui/controls/P_Pad.h"
#include "ui/controls/P_Slider.h"
#include "ui/controls/ShapeClass.h"
#include "ui/controls/VelIndClass.h"
#include "ui/controls/WheelCnt.h"

#include <gtest/gtest.h>

namespace
{
using Bytes = std::vector<uint8_t>;
using Played = std::vector<std::pair<int, int>>;

constexpr int kSlider1 = ParameterTable::kSlider1, kSlider2 = ParameterTable::kSlider2,
              kPressure = ParameterTable::kSliderPress;

Bytes controller (int number, int value) { return { 0xB0, (uint8_t) number, (uint8_t) value }; }
Bytes pitchBend (int value) { return { 0xE0, (uint8_t) (value & 0x7F), (uint8_t) (value >> 7) }; }

// Hears what the performance controls tell the processor, in order.
class CableSpy : public CableListener
{
public:
    void cableValueChanged (int position, int value, bool endGestureNow, bool sendToInstrument,
                            bool notifyEditor) override
    {
        EXPECT_FALSE (endGestureNow);
        EXPECT_TRUE (sendToInstrument);
        EXPECT_TRUE (notifyEditor);
        played.emplace_back (position, value);
    }
    Played take() { return std::exchange (played, {}); }
    Played played;
};

class PerformanceTest : public ::testing::Test
{
protected:
    PerformanceTest() { rig.controller().addCableListener (&spy); }
    ~PerformanceTest() override { rig.controller().removeCableListener (&spy); }

    std::vector<Bytes> wire()
    {
        rig.settle();
        auto sent = rig.sentMessages();
        rig.clearSent();
        return sent;
    }

    GuiRig rig;
    CableSpy spy;
};

// ---- Envelope ----------------------------------------------------------------------------------

// The group's side of the envelope: what each broadcast said, read at the moment it arrived.
class EnvelopeGroupSpy : public juce::ChangeListener
{
public:
    struct Heard
    {
        int code;
        float attack, decay, sustain, release;
    };
    void changeListenerCallback (juce::ChangeBroadcaster* source) override
    {
        auto* e = dynamic_cast<Envel*> (source);
        ASSERT_NE (e, nullptr);
        heard.push_back ({ e->getChangeCode(), e->getAttack(), e->getDecay(), e->getSustain(), e->getRelease() });
    }
    std::vector<Heard> heard;
};

class EnvelopeTest : public ::testing::Test
{
protected:
    EnvelopeTest()
    {
        envelope.setGroupIndex (3);
        envelope.setBounds (0, 0, 230, 80);
        envelope.addChangeListener (&group);
    }
    ~EnvelopeTest() override { envelope.removeChangeListener (&group); }

    void set (float a, float d, float s, float r)
    {
        envelope.setAttack (a);
        envelope.setDecay (d);
        envelope.setSustain (s);
        envelope.setRelease (r);
    }

    GuiRig rig { false };
    Envel envelope { *rig.processor };
    EnvelopeGroupSpy group;
};

TEST_F (EnvelopeTest, HandlesAreFoundAttackFirstThenReleaseThenSustain)
{
    struct Case
    {
        float attack, decay, sustain, release, scale;
        int x, y, handle;
    };
    const Case cases[] = {
        // All times 0: the attack peak, the decay end and the sustain start meet at x 16.
        { 0, 0, 127, 0, 1.0f, 16, 20, Envel::kAttackPeak }, // also on the sustain segment (y 22)
        { 0, 0, 127, 0, 1.0f, 30, 25, Envel::kSustainSegment },
        { 0, 0, 0, 0, 1.0f, 53, 70, Envel::kReleaseEnd }, // the release end sits on the sustain segment
        { 0, 0, 0, 0, 1.0f, 30, 70, Envel::kSustainSegment },
        { 30, 30, 30, 30, 1.0f, 27, 16, Envel::kAttackPeak },
        { 30, 30, 30, 30, 1.0f, 35, 16, Envel::kNoHandle }, // just beyond the peak's reach
        { 30, 30, 30, 30, 1.0f, 100, 40, Envel::kNoHandle },
        { 30, 30, 30, 30, 2.0f, 54, 32, Envel::kAttackPeak }, // hits are measured in scaled pixels
        { 30, 30, 30, 30, 2.0f, 27, 16, Envel::kNoHandle },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << "at " << c.x << "," << c.y << " scale " << c.scale);
        set (c.attack, c.decay, c.sustain, c.release);
        envelope.setScale (c.scale);
        EXPECT_EQ (envelope.findHandle (c.x, c.y), c.handle);
    }
}

TEST_F (EnvelopeTest, DiagonalSustainDragChangesDecayAndSustainInOneBroadcast)
{
    // Values 30: the sustain segment runs from x 38.7 to 76.5 at y 58.7.
    Mouse mouse (envelope);
    mouse.press (50, 59);
    mouse.drag (65, 44); // 15 px right and up: 10 steps each
    ASSERT_EQ (group.heard.size(), 1u);
    const auto& h = group.heard[0];
    EXPECT_EQ (h.code, Envel::kValuesDragged);
    EXPECT_EQ (h.decay, 40.0f);
    EXPECT_EQ (h.sustain, 40.0f);
    EXPECT_EQ (h.attack, 30.0f);
    EXPECT_EQ (h.release, 30.0f);

    mouse.drag (65, 44); // no movement, no broadcast
    mouse.drag (200, -200);
    mouse.release (200, -200);
    ASSERT_EQ (group.heard.size(), 2u);
    EXPECT_EQ (group.heard[1].decay, 127.0f);   // 30 + round(150 / 1.5) = 130, clamped
    EXPECT_EQ (group.heard[1].sustain, 127.0f); // clamped
}

TEST_F (EnvelopeTest, EachHandleDragsItsOwnValueAtOneAndAHalfPixelsPerStep)
{
    struct Case
    {
        int pressX, pressY, dragX, dragY;
        float attack, decay, sustain, release;
    };
    const Case cases[] = {
        { 27, 16, 30, 16, 32, 30, 30, 30 },   // attack peak: 3 px right is 2 steps
        { 27, 16, 27, 0, 30, 30, 30, 30 },    // it does not move up and down
        { 27, 16, -100, 16, 0, 30, 30, 30 },  // clamped at 0
        { 88, 70, 82, 70, 30, 30, 30, 26 },   // release end
        { 50, 59, 50, 47, 30, 30, 38, 30 },   // sustain segment straight up
        { 120, 30, 200, 30, 30, 30, 30, 30 }, // off every handle: nothing
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << "press " << c.pressX << "," << c.pressY);
        set (30, 30, 30, 30);
        group.heard.clear();
        Mouse mouse (envelope);
        mouse.press ((float) c.pressX, (float) c.pressY);
        mouse.drag ((float) c.dragX, (float) c.dragY);
        mouse.release ((float) c.dragX, (float) c.dragY);

        EXPECT_EQ (envelope.getAttack(), c.attack);
        EXPECT_EQ (envelope.getDecay(), c.decay);
        EXPECT_EQ (envelope.getSustain(), c.sustain);
        EXPECT_EQ (envelope.getRelease(), c.release);
        const bool changed = c.attack != 30 || c.decay != 30 || c.sustain != 30 || c.release != 30;
        EXPECT_EQ (group.heard.size(), changed ? 1u : 0u);
    }
}

TEST_F (EnvelopeTest, RightClickOrSmallScaleAsksForZoomAndNeverDrags)
{
    Mouse mouse (envelope);
    mouse.press (27, 16, juce::ModifierKeys::rightButtonModifier);
    mouse.drag (60, 16);
    mouse.release (60, 16);

    envelope.setScale (0.5f);
    mouse.press (13, 8); // the attack peak at this scale
    mouse.drag (60, 8);
    mouse.release (60, 8);

    ASSERT_EQ (group.heard.size(), 2u);
    EXPECT_EQ (group.heard[0].code, Envel::kZoomRequested);
    EXPECT_EQ (group.heard[1].code, Envel::kZoomRequested);
    EXPECT_EQ (envelope.getAttack(), 30.0f);
}

TEST_F (EnvelopeTest, CurveFollowsTheValuesAndTheScale)
{
    set (0, 127, 127, 127);
    envelope.setScale (2.0f);
    const auto box = envelope.getCurve().getBounds();
    EXPECT_FLOAT_EQ (box.getX(), 32.0f);
    EXPECT_FLOAT_EQ (box.getY(), 32.0f);
    // 16 + 48 (decay) + 100 x 48 / 127 (sustain) + 48 (release), times 2
    EXPECT_NEAR (box.getRight(), 2.0f * (16.0f + 48.0f + 100.0f * Envel::kUnit + 48.0f), 0.01f);
    EXPECT_FLOAT_EQ (box.getBottom(), 140.0f);
}

// ---- Waveform icon -----------------------------------------------------------------------------

TEST (ShapeClassTest, WavetableDotsBendWithTheShapeModulation)
{
    const auto rest = ShapeClass::wavetableHeights (0);
    const auto bent = ShapeClass::wavetableHeights (120);
    for (size_t j = 0; j < rest.size(); ++j)
        EXPECT_EQ (bent[j], j < 16 ? rest[j] - 2 : rest[j] + 1) << "column " << j;
    EXPECT_EQ (rest[0], 9);
    EXPECT_EQ (rest[31], 10);
}

TEST (ShapeClassTest, RedrawPaintsTheShapeOfTheOscillator)
{
    struct Case
    {
        int shape, modulation;
        juce::Point<int> lit, dark;
    };
    const Case cases[] = {
        { 0, 0, { 16, 8 }, { 16, 2 } },    // off: a flat line
        { 1, 64, { 8, 8 }, { 20, 2 } },    // saw with its edge at 8
        { 2, 64, { 10, 0 }, { 10, 8 } },   // pulse: high, then low from 16
        { 5, 0, { 0, 9 }, { 0, 2 } },      // a wavetable's dots
        { 18, 64, { 15, 14 }, { 15, 2 } }, // noise band
    };
    const juce::Colour trace (0xFFE1E1E1);
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.shape);
        ShapeClass icon (40);
        icon.setShape (c.shape);
        icon.setShapeModulation (c.modulation);
        icon.redraw();
        EXPECT_EQ (icon.getWaveImage().getPixelAt (c.lit.x, c.lit.y), trace);
        EXPECT_EQ (icon.getWaveImage().getPixelAt (c.dark.x, c.dark.y), juce::Colours::black);
    }
}

TEST (ShapeClassTest, SitsAtItsLayoutPlaceTimesTheScale)
{
    ShapeClass icon (40);
    icon.setScale (1.5f);
    EXPECT_EQ (icon.getBounds(), juce::Rectangle<int> (321, 60, 54, 31));
}

// ---- Touch sliders and pad ---------------------------------------------------------------------

TEST_F (PerformanceTest, SliderDragPlaysPositionAndPressureOnce)
{
    P_Slider slider (rig.controller(), 1);
    slider.setScale (1.0f);
    Mouse mouse (slider);
    mouse.press (10, 27);
    EXPECT_TRUE (spy.take().empty()); // a press alone plays nothing

    mouse.drag (10, 27);
    EXPECT_EQ (spy.take(), (Played { { kSlider1, 100 } }));
    EXPECT_EQ (wire(), (std::vector<Bytes> { controller (14, 100) })); // once, not echoed by the host path

    mouse.drag (56, 27); // 20 units beyond the slider's right edge: pressure 20
    EXPECT_EQ (spy.take(), (Played { { kPressure, 20 } }));
    EXPECT_EQ (wire(), (std::vector<Bytes> { controller (17, 20) }));

    mouse.drag (56, -50); // above the top: clamped
    EXPECT_EQ (spy.take(), (Played { { kSlider1, 127 } }));
    EXPECT_EQ (rig.controller().getValue (kSlider1), 127);
}

TEST_F (PerformanceTest, SliderReturnsToZeroOnReleaseUnlessLatched)
{
    for (int latch : { 0, 1 })
    {
        SCOPED_TRACE (latch);
        rig.controller().storeValue (ParameterTable::kSliderLatch2, latch);
        P_Slider slider (rig.controller(), 2);
        slider.setScale (2.0f);
        Mouse mouse (slider);
        mouse.press (10, 54);
        mouse.drag (82, 54); // at scale 2: position 100, pressure 5
        mouse.release (82, 54);

        Played expected { { kSlider2, 100 }, { kPressure, 5 } };
        if (latch == 0)
            expected.insert (expected.end(), { { kSlider2, 0 }, { kPressure, 0 } });
        EXPECT_EQ (spy.take(), expected);
        EXPECT_EQ (rig.controller().getValue (kSlider2), latch == 0 ? 0 : 100);
        wire();
    }
}

TEST_F (PerformanceTest, SliderTwoReportsItsPositionEvenWhenSliderOneHoldsIt)
{
    rig.controller().storeValue (kSlider1, 50);
    P_Slider slider (rig.controller(), 2);
    Mouse mouse (slider);
    mouse.press (10, 77);
    mouse.drag (10, 77);
    EXPECT_EQ (spy.take(), (Played { { kSlider2, 50 } }));
    EXPECT_EQ (wire(), (std::vector<Bytes> { controller (15, 50) }));
}

TEST_F (PerformanceTest, PadPlaysBothSlidersAndLetsGoOfTheUnlatchedOnes)
{
    for (int latch2 : { 0, 1 })
    {
        SCOPED_TRACE (latch2);
        rig.controller().storeValue (ParameterTable::kSliderLatch2, latch2);
        P_Pad pad (rig.controller());
        pad.setScale (1.0f);
        Mouse mouse (pad);
        mouse.press (44, 44);
        mouse.drag (44, 44);  // (88 - 44) x 128 / 88 = 64 on both axes
        mouse.drag (44, 44);  // unchanged: nothing
        mouse.drag (44, -20); // vertical clamped to 127
        mouse.release (44, -20);

        Played expected { { kSlider1, 64 }, { kSlider2, 64 }, { kSlider1, 127 }, { kSlider1, 0 } };
        if (latch2 == 0)
            expected.push_back ({ kSlider2, 0 });
        EXPECT_EQ (spy.take(), expected);
        EXPECT_EQ (rig.controller().getValue (kSlider2), latch2 == 0 ? 0 : 64);
        rig.controller().storeValue (kSlider2, 0);
        wire();
    }
}

// ---- Wheels ------------------------------------------------------------------------------------

TEST_F (PerformanceTest, PitchWheelBendsAndSpringsBackToTheCentre)
{
    WheelCnt wheel (rig.controller(), 64, true);
    Mouse mouse (wheel);
    mouse.press (10, 50);
    mouse.drag (10, 30);  // 20 px up
    mouse.drag (10, 200); // far down: clamped to 0
    mouse.release (10, 200);
    EXPECT_EQ (wire(), (std::vector<Bytes> { pitchBend (84 * 128), pitchBend (0), pitchBend (8192) }));
    EXPECT_EQ (wheel.getValue(), 64);

    // A click that never moved the wheel has nothing to spring back from.
    mouse.click (10, 50);
    EXPECT_TRUE (wire().empty());

    // The instrument's own wheel moves the picture and sends nothing back.
    wheel.setValue (100, false);
    EXPECT_EQ (wheel.getFrame(), 100 * 34 / 127);
    EXPECT_TRUE (wire().empty());
}

TEST_F (PerformanceTest, ModulationWheelGoesToTheInstrumentAndTheHostAndStays)
{
    WheelCnt wheel (rig.controller(), 0, false);
    Mouse mouse (wheel);
    mouse.press (10, 100);
    mouse.drag (10, 80);
    mouse.release (10, 80);
    mouse.wheel (10, 80, -0.3f);

    EXPECT_EQ (wire(), (std::vector<Bytes> { controller (1, 20), controller (1, 19) }));
    EXPECT_EQ (wheel.getValue(), 19);

    std::vector<Bytes> host;
    {
        const juce::ScopedLock sl (rig.controller().getLock());
        for (const auto metadata : rig.controller().getHostQueue())
        {
            const auto m = metadata.getMessage();
            host.emplace_back (m.getRawData(), m.getRawData() + m.getRawDataSize());
        }
    }
    EXPECT_EQ (host, (std::vector<Bytes> { controller (1, 20), controller (1, 19) }));
}

// ---- Velocity indicator ------------------------------------------------------------------------

TEST_F (PerformanceTest, VelocityBarSetsThePlayVelocity)
{
    VelIndClass indicator (rig.controller());
    EXPECT_EQ (indicator.getVelocity(), -1); // "KBD" until the user sets one
    EXPECT_EQ (rig.controller().noteVelocity.load(), 100);

    Mouse mouse (indicator);
    mouse.press (50, 40); // beside the bar: no drag
    mouse.drag (50, 27);
    mouse.release (50, 27);
    EXPECT_EQ (indicator.getVelocity(), -1);

    mouse.press (10, 40);
    mouse.drag (10, 27);
    EXPECT_EQ (indicator.getVelocity(), 100);
    EXPECT_EQ (rig.controller().noteVelocity.load(), 100);
    mouse.drag (10, -60);
    EXPECT_EQ (rig.controller().noteVelocity.load(), 127);
    mouse.drag (10, 400);
    EXPECT_EQ (rig.controller().noteVelocity.load(), 0);
    mouse.release (10, 400);
    EXPECT_TRUE (wire().empty()); // the velocity is for the keyboard's next notes, not a message
}

TEST_F (PerformanceTest, KeyboardPanelWidgetsScaleTheirLayoutBox)
{
    VelIndClass indicator (rig.controller());
    indicator.setScale (2.0f);
    EXPECT_EQ (indicator.getBounds(), juce::Rectangle<int> (70, 76, 140, 240));

    WheelCnt wheel (rig.controller(), 0, false);
    wheel.setLayoutBox ({ 10, 20, WheelCnt::kWidth, WheelCnt::kHeight });
    wheel.setScale (0.5f);
    EXPECT_EQ (wheel.getBounds(), juce::Rectangle<int> (5, 10, 15, 56));
}

} // namespace
