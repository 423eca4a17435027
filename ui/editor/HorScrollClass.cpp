#include "ui/editor/HorScrollClass.h"

#include "ui/look/Skins.h"

namespace
{
const juce::Colour kTrackFill { 0xFF808080 };
const juce::Colour kTrackOutline { 0xFF616161 };
const juce::Colour kArrow { 0xFFB0B0B0 };
constexpr int kSourceColumn = 5; // the 2-pixel column of the skin that is stretched over the parts
constexpr int kSourceColumnWidth = 2;
} // namespace

HorScrollClass::HorScrollClass() : image (Skins::get ("scroller")) { setSize (153, kHeight); }

void HorScrollClass::setPosition (int value)
{
    const int clamped = juce::jlimit (0, maximum, value);
    if (clamped == position)
        return;
    position = clamped;
    repaint();
    sendSynchronousChangeMessage();
}

void HorScrollClass::setMaximum (int newMaximum)
{
    maximum = juce::jmax (1, newMaximum);
    position = juce::jlimit (0, maximum, position);
    repaint();
}

void HorScrollClass::setThumbWidth (int width)
{
    thumbWidth = juce::jmax (1, width);
    repaint();
}

int HorScrollClass::thumbStart() const noexcept
{
    const float travel = static_cast<float> (trackLength() - thumbWidth) / static_cast<float> (maximum);
    return static_cast<int> (travel * static_cast<float> (position)) + kArrowWidth;
}

void HorScrollClass::mouseDown (const juce::MouseEvent& e)
{
    const int x = e.x;
    dragging = false;

    if (x < kHeight)
    {
        setPosition (position - 1);
        return;
    }
    if (x > getWidth() - kArrowWidth)
    {
        setPosition (position + 1);
        return;
    }

    // On the track: the thumb follows a drag that starts here.
    dragging = true;
    const int start = thumbStart();
    if (x < start)
        setPosition (position - pageStep);
    else if (x > start + thumbWidth)
        setPosition (position + pageStep);
}

void HorScrollClass::mouseDrag (const juce::MouseEvent& e)
{
    if (! dragging)
        return;
    const int step = (trackLength() - thumbWidth) / maximum;
    if (step <= 0)
        return;
    // The thumb's centre follows the mouse; setPosition clamps what lies beyond the ends.
    setPosition ((e.x - thumbWidth / 2 - kArrowWidth) / step);
}

void HorScrollClass::mouseUp (const juce::MouseEvent&) { dragging = false; }

void HorScrollClass::paint (juce::Graphics& g)
{
    const int w = getWidth();
    const int length = trackLength();
    const auto source = juce::Rectangle<int> (kSourceColumn, 0, kSourceColumnWidth, kHeight);

    if (image.isValid())
        g.drawImage (image, 0, 0, w, kHeight, source.getX(), source.getY(), source.getWidth(), source.getHeight());
    else
        g.fillAll (juce::Colour (0xFF2B2B2B));

    // The arrows, drawn in code: the stretched skin column carries none.
    const float mid = kHeight / 2.0f;
    juce::Path arrows;
    arrows.addTriangle (4.0f, mid, 10.0f, mid - 4.0f, 10.0f, mid + 4.0f);
    const auto right = static_cast<float> (w);
    arrows.addTriangle (right - 4.0f, mid, right - 10.0f, mid - 4.0f, right - 10.0f, mid + 4.0f);
    g.setColour (kArrow);
    g.fillPath (arrows);

    if (length > 0)
    {
        g.setColour (kTrackFill);
        g.fillRect (kArrowWidth, 0, length, kHeight);
        g.setColour (kTrackOutline);
        g.drawRect (kArrowWidth, 0, length, kHeight, 1);

        const int thumbX = thumbStart();
        if (image.isValid())
            g.drawImage (image, thumbX, 0, thumbWidth, kHeight, source.getX(), source.getY(), source.getWidth(),
                         source.getHeight());
        else
        {
            g.setColour (juce::Colour (0xFFC8C8C8));
            g.fillRect (thumbX, 0, thumbWidth, kHeight);
        }
        g.setColour (kTrackFill);
        g.drawVerticalLine (thumbX, 0.0f, static_cast<float> (kHeight));
    }

    // The closing line at the right end; at x = w it would fall outside the component.
    g.setColour (kTrackFill);
    g.drawVerticalLine (w - 1, 0.0f, static_cast<float> (kHeight));
}
