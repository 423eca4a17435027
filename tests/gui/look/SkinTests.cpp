#include "ui/look/Skins.h"
#include "ui/look/StsResor.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
// Colours compared with a little room for premultiplied rounding.
::testing::AssertionResult near (juce::Colour actual, juce::Colour expected, int tolerance = 3)
{
    const auto close = [tolerance] (int a, int b) { return std::abs (a - b) <= tolerance; };
    if (close (actual.getAlpha(), expected.getAlpha()) && close (actual.getRed(), expected.getRed()) &&
        close (actual.getGreen(), expected.getGreen()) && close (actual.getBlue(), expected.getBlue()))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel " << actual.toDisplayString (true) << ", expected "
                                         << expected.toDisplayString (true);
}

juce::Image blank (int w, int h) { return juce::Image (juce::Image::ARGB, w, h, true, juce::SoftwareImageType()); }

float meanBrightness (const juce::Image& image, juce::Rectangle<int> area)
{
    float sum = 0.0f;
    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
        {
            const auto c = image.getPixelAt (x, y);
            sum += c.getFloatAlpha() * c.getPerceivedBrightness();
        }
    return sum / (float) area.getWidth() / (float) area.getHeight();
}

// The angle of a knob's pointer, clockwise from twelve o'clock: the centre of the light pixels of one
// frame, seen from the cap's centre. Returns NaN when the frame has no light pixel at all.
float pointerAngle (const juce::Image& strip, juce::Rectangle<int> cell, juce::Point<float> centre)
{
    float sx = 0.0f, sy = 0.0f;
    int count = 0;
    const auto area = cell.getIntersection (strip.getBounds());
    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
        {
            const auto c = strip.getPixelAt (x, y);
            if (c.getAlpha() > 200 && c.getRed() > 200 && c.getGreen() > 200 && c.getBlue() > 200)
            {
                sx += (float) (x - cell.getX()) + 0.5f;
                sy += (float) (y - cell.getY()) + 0.5f;
                ++count;
            }
        }
    if (count == 0)
        return std::nanf ("");
    const float dx = sx / (float) count - centre.x, dy = sy / (float) count - centre.y;
    return juce::radiansToDegrees (std::atan2 (dx, -dy));
}
} // namespace

TEST (Skins, EveryTableEntryDecodesAtItsSize)
{
    for (const auto& entry : Skins::kAll)
    {
        const auto image = Skins::get (entry.name);
        ASSERT_TRUE (image.isValid()) << entry.name;
        EXPECT_EQ (image.getWidth(), entry.width) << entry.name;
        EXPECT_EQ (image.getHeight(), entry.height) << entry.name;
        EXPECT_EQ (Skins::find (entry.name), &entry) << entry.name;
    }
}

TEST (Skins, UnknownNamesGiveNullImagesAndKnownOnesAreDecodedOnce)
{
    EXPECT_FALSE (Skins::get ("no_such_skin").isValid());
    EXPECT_FALSE (Skins::get ("").isValid());
    EXPECT_FALSE (Skins::get (nullptr).isValid());
    EXPECT_EQ (Skins::find ("knob_strip_png"), nullptr);
    EXPECT_EQ (Skins::find ("knob"), nullptr);

    const auto first = Skins::get ("lcd");
    const auto second = Skins::get ("lcd");
    EXPECT_EQ (first.getPixelData(), second.getPixelData());
}

// The knobs must be readable at every step: each frame's light pointer points where the frame says,
// from -135 degrees at frame 0 to +135 degrees at the last frame.
TEST (SkinPictures, KnobPointersTurnWithTheFrame)
{
    struct Strip
    {
        const char* name;
        int frames;
        juce::Point<float> centre;
        bool editorLayout; // the editor's irregular spacing, else one frame every 58 pixels
    };
    for (const auto& strip : { Strip { "knob_strip", 61, { 20.0f, 20.0f }, true },
                               Strip { "global_knob_strip", 55, { 28.0f, 28.0f }, false } })
    {
        const auto image = Skins::get (strip.name);
        ASSERT_TRUE (image.isValid());
        for (int frame = 0; frame < strip.frames; ++frame)
        {
            const int x = strip.editorLayout ? StsResor::knobFrameX (frame) : 58 * frame;
            const float expected = -135.0f + 270.0f * (float) frame / (float) (strip.frames - 1);
            const float angle = pointerAngle (image, { x, 0, 56, 56 }, strip.centre);
            ASSERT_FALSE (std::isnan (angle)) << strip.name << " frame " << frame << " has no pointer";
            EXPECT_NEAR (angle, expected, 10.0f) << strip.name << " frame " << frame;
        }
    }
}

// Two states of one control must not be mistaken for each other.
TEST (SkinPictures, StatesAreClearlyDifferent)
{
    struct Pair
    {
        const char* first;
        juce::Rectangle<int> firstArea;
        const char* second;
        juce::Rectangle<int> secondArea;
    };
    const Pair pairs[] = {
        { "switch", { 0, 0, 20, 12 }, "switch", { 20, 0, 20, 12 } },
        { "check_off", { 0, 0, 20, 11 }, "check_on", { 0, 0, 20, 11 } },
        { "key_white_up", { 0, 0, 25, 152 }, "key_white_down", { 0, 0, 25, 152 } },
        { "key_black_up", { 0, 0, 16, 100 }, "key_black_down", { 0, 0, 16, 100 } },
    };
    for (const auto& pair : pairs)
    {
        const auto a = Skins::get (pair.first), b = Skins::get (pair.second);
        float difference = 0.0f;
        for (int y = 0; y < pair.firstArea.getHeight(); ++y)
            for (int x = 0; x < pair.firstArea.getWidth(); ++x)
            {
                const auto p = a.getPixelAt (pair.firstArea.getX() + x, pair.firstArea.getY() + y);
                const auto q = b.getPixelAt (pair.secondArea.getX() + x, pair.secondArea.getY() + y);
                difference += std::abs (p.getPerceivedBrightness() - q.getPerceivedBrightness()) +
                              std::abs (p.getFloatRed() - q.getFloatRed());
            }
        difference /= (float) pair.firstArea.getWidth() * (float) pair.firstArea.getHeight();
        EXPECT_GT (difference, 0.06f) << pair.first << " / " << pair.second;
    }

    // The lit switch and the checked box are the brighter ones.
    const auto switches = Skins::get ("switch");
    EXPECT_GT (meanBrightness (switches, { 20, 0, 20, 12 }), meanBrightness (switches, { 0, 0, 20, 12 }) + 0.1f);

    // The wheel's ribs move from one frame to the next.
    const auto wheel = Skins::get ("wheel_strip");
    for (int frame = 0; frame + 1 < 34; ++frame)
    {
        int changed = 0;
        for (int y = 0; y < 200; ++y)
            for (int x = 10; x < 45; ++x)
                if (wheel.getPixelAt (54 * frame + x, y) != wheel.getPixelAt (54 * (frame + 1) + x, y))
                    ++changed;
        EXPECT_GT (changed, 500) << "wheel frames " << frame << " and " << frame + 1;
    }
}

// A knob filmstrip whose every frame is one flat colour, with magenta in the gaps between frames: a
// frame taken from the wrong source x shows a neighbour's colour or the gap at its edge.
class KnobDrawing : public ::testing::Test
{
protected:
    static juce::Colour frameColour (int frame)
    {
        return juce::Colour ((juce::uint8) (4 * frame), (juce::uint8) 100, (juce::uint8) (250 - 4 * frame));
    }

    static juce::Image makeStrip()
    {
        auto strip = blank (3655, 55);
        juce::Graphics g (strip);
        g.fillAll (juce::Colours::magenta);
        for (int frame = 0; frame < StsResor::kKnobFrames; ++frame)
        {
            g.setColour (frameColour (frame));
            g.fillRect (StsResor::knobFrameX (frame), 0, 56, 55);
        }
        return strip;
    }

    // A base that is red except the part the knob drawing takes from it.
    static juce::Image makeBase (juce::Rectangle<int> used, juce::Colour colour)
    {
        auto base = blank (80, 80);
        juce::Graphics g (base);
        g.fillAll (juce::Colours::red);
        g.setColour (colour);
        g.fillRect (used);
        return base;
    }

    void SetUp() override
    {
        skin.setKnobImages (makeStrip(), makeBase ({ 16, 14, 50, 50 }, juce::Colours::green),
                            makeBase ({ 16, 14, 50, 48 }, juce::Colours::blue),
                            makeBase ({ 6, 14, 70, 60 }, juce::Colours::yellow));
    }

    juce::Image draw (int width, int frame, int style, float scale)
    {
        auto image = blank (100, 100);
        juce::Graphics g (image);
        skin.drawKnob (g, width, frame, style, scale);
        return image;
    }

    StsResor skin;
};

TEST_F (KnobDrawing, EveryFrameComesFromItsOwnCell)
{
    EXPECT_EQ (StsResor::knobFrameX (0), 0);
    EXPECT_EQ (StsResor::knobFrameX (6), 360);
    EXPECT_EQ (StsResor::knobFrameX (7), 419);
    EXPECT_EQ (StsResor::knobFrameX (60), 3595);

    // Width 38 puts the frame at x 0, y 8; the strip is 55 high, so the frame's rows end at y 62.
    for (int frame = 0; frame < StsResor::kKnobFrames; ++frame)
    {
        const auto image = draw (38, frame, 3, 1.0f);
        for (const auto p : { juce::Point<int> (0, 8), juce::Point<int> (55, 8), juce::Point<int> (0, 62),
                              juce::Point<int> (55, 62), juce::Point<int> (28, 30) })
            EXPECT_TRUE (near (image.getPixelAt (p.x, p.y), frameColour (frame))) << "frame " << frame << " at " << p.x;
        EXPECT_EQ (image.getPixelAt (56, 30).getAlpha(), 0) << "frame " << frame;
        EXPECT_EQ (image.getPixelAt (20, 63).getAlpha(), 0) << "frame " << frame;
    }

    // Frames outside the strip show its ends.
    EXPECT_TRUE (near (draw (38, 75, 3, 1.0f).getPixelAt (28, 30), frameColour (60)));
    EXPECT_TRUE (near (draw (38, -4, 3, 1.0f).getPixelAt (28, 30), frameColour (0)));
}

TEST_F (KnobDrawing, EachStyleDrawsItsBaseAtReducedOpacityBehindTheShadow)
{
    // Width 70: the 50-wide bases start at x 10, the 70-wide one at x 0; the frame covers x 16..71
    // from y 8, the shadow the circle at (23, 15) of diameter 30.
    const auto base = [] (juce::Colour c) { return c.withAlpha ((juce::uint8) 0xbb); };
    const auto style0 = draw (70, 0, 0, 1.0f);
    EXPECT_TRUE (near (style0.getPixelAt (10, 0), base (juce::Colours::green)));
    EXPECT_TRUE (near (style0.getPixelAt (59, 1), base (juce::Colours::green)));
    EXPECT_TRUE (near (style0.getPixelAt (10, 49), base (juce::Colours::green)));
    EXPECT_EQ (style0.getPixelAt (9, 0).getAlpha(), 0);
    EXPECT_EQ (style0.getPixelAt (10, 50).getAlpha(), 0);

    const auto style1 = draw (70, 0, 1, 1.0f);
    EXPECT_TRUE (near (style1.getPixelAt (10, 47), base (juce::Colours::blue)));
    EXPECT_EQ (style1.getPixelAt (10, 48).getAlpha(), 0);

    const auto style2 = draw (70, 0, 2, 1.0f);
    for (const auto p : { juce::Point<int> (0, 0), juce::Point<int> (69, 0), juce::Point<int> (0, 59) })
        EXPECT_TRUE (near (style2.getPixelAt (p.x, p.y), base (juce::Colours::yellow))) << p.x << ", " << p.y;
    EXPECT_EQ (style2.getPixelAt (70, 0).getAlpha(), 0);

    const auto style3 = draw (70, 0, 3, 1.0f);
    EXPECT_EQ (style3.getPixelAt (10, 0).getAlpha(), 0);
    // The shadow shows below and to the right of where the cap sits, here through a transparent strip.
    skin.setKnobImages (blank (3655, 55), skin.getKnobBase (0), skin.getKnobBase (1), skin.getKnobBase (2));
    EXPECT_TRUE (near (draw (70, 0, 3, 1.0f).getPixelAt (38, 30), juce::Colour (0x88000000)));
}

TEST_F (KnobDrawing, ScaleShrinksEveryPart)
{
    // Scale 0.5, width 70: base at x 5, 25 x 25; frame at (8, 4), 28 x 28 (27.5 rows of the strip).
    const auto image = draw (70, 60, 0, 0.5f);
    EXPECT_TRUE (near (image.getPixelAt (5, 0), juce::Colours::green.withAlpha ((juce::uint8) 0xbb)));
    EXPECT_EQ (image.getPixelAt (4, 0).getAlpha(), 0);
    EXPECT_EQ (image.getPixelAt (5, 25).getAlpha(), 0);
    EXPECT_TRUE (near (image.getPixelAt (22, 18), frameColour (60)));
    EXPECT_EQ (image.getPixelAt (37, 18).getAlpha(), 0);
}

TEST (StsResorImages, LoadFillsEveryPictureOnceAndAgainIsHarmless)
{
    StsResor skin;
    EXPECT_FALSE (skin.imagesLoaded());
    EXPECT_FALSE (skin.getKnobStrip().isValid());
    // Drawing before the pictures are there draws only the shadow and must not crash.
    auto image = blank (100, 100);
    juce::Graphics g (image);
    skin.drawKnob (g, 60, 30, 0, 1.0f);

    skin.loadImages();
    ASSERT_TRUE (skin.imagesLoaded());
    EXPECT_EQ (skin.getKnobStrip().getBounds(), juce::Rectangle<int> (0, 0, 3655, 55));
    for (int style = 0; style < 3; ++style)
        EXPECT_EQ (skin.getKnobBase (style).getBounds(), juce::Rectangle<int> (0, 0, 80, 80));
    EXPECT_EQ (skin.getKey (false, false).getBounds(), juce::Rectangle<int> (0, 0, 25, 152));
    EXPECT_EQ (skin.getKey (false, true).getBounds(), juce::Rectangle<int> (0, 0, 25, 152));
    EXPECT_EQ (skin.getKey (true, false).getBounds(), juce::Rectangle<int> (0, 0, 16, 100));
    EXPECT_EQ (skin.getKey (true, true).getBounds(), juce::Rectangle<int> (0, 0, 16, 100));
    EXPECT_NE (skin.getKey (false, false).getPixelData(), skin.getKey (false, true).getPixelData());

    const auto* strip = skin.getKnobStrip().getPixelData();
    skin.loadImages();
    EXPECT_EQ (skin.getKnobStrip().getPixelData(), strip);
}
