#include "ui/controls/Envel.h"

#include "ui/look/Skins.h"

#include <cmath>

namespace
{
const juce::Colour kBackdrop { 0xFF232323 }, kCurveFill { 0x66CDCDCD }, kCurveLine { 0xFFCCCCCC };
constexpr float kCurveLineWidth = 1.1f;
constexpr int kImageWidth = 218, kImageHeight = 73;
constexpr float kOverlayOpacity = 0.2f;

float clampStep (float start, int delta, int maximum)
{
    return (float) juce::jlimit (0, maximum, (int) std::lround (start + (float) delta));
}
} // namespace

Envel::Envel (OstrelAudioProcessor& o)
    : owner (o), backgroundImage (Skins::get ("env_background")), overlayImage (Skins::get ("env_overlay"))
{
    juce::ignoreUnused (owner);
    rebuildCurve();
}

Envel::~Envel() = default;

void Envel::setAttack (float value)
{
    attack = value;
    rebuildCurve();
    repaint();
}

void Envel::setDecay (float value)
{
    decay = value;
    rebuildCurve();
    repaint();
}

void Envel::setSustain (float value)
{
    sustain = value;
    rebuildCurve();
    repaint();
}

void Envel::setRelease (float value)
{
    release = value;
    rebuildCurve();
    repaint();
}

void Envel::setScale (float newScale)
{
    scale = newScale;
    rebuildCurve();
    repaint();
}

void Envel::rebuildCurve()
{
    const float bottom = kTopY + kCurveHeight;
    pointX[0] = kOriginX;
    pointX[1] = pointX[0] + kUnit * attack;
    pointX[2] = pointX[1] + kUnit * decay;
    pointX[3] = pointX[2] + kSustainWidth;
    pointX[4] = pointX[3] + kUnit * release;
    pointY[0] = bottom;
    pointY[1] = kTopY;
    pointY[2] = pointY[3] = bottom - kUnit * sustain;
    pointY[4] = bottom;

    curve.clear();
    curve.startNewSubPath (scale * pointX[0], scale * pointY[0]);
    for (size_t i = 1; i < pointX.size(); ++i)
        curve.lineTo (scale * pointX[i], scale * pointY[i]);
    curve.closeSubPath();
}

int Envel::findHandle (int xPixels, int yPixels) const
{
    const float x = (float) xPixels, y = (float) yPixels, s = scale, r = kHandleReach;
    const auto between = [] (float low, float v, float high) { return low < v && v < high; };
    const float bottom = kTopY + kCurveHeight;

    if (between ((pointX[1] - r) * s, x, (pointX[1] + r) * s) && between ((kTopY - r) * s, y, (kTopY + r) * s))
        return kAttackPeak;
    if (between ((pointX[4] - r) * s, x, (pointX[4] + r) * s) && between ((bottom - r) * s, y, (bottom + r) * s))
        return kReleaseEnd;
    if (between ((pointX[2] - r) * s, x, (pointX[3] + r) * s) && between ((pointY[2] - r) * s, y, (pointY[2] + r) * s))
        return kSustainSegment;
    return kNoHandle;
}

void Envel::broadcast (int code)
{
    changeCode = code;
    // Synchronous, so the group reads the four values this very drag step produced.
    sendSynchronousChangeMessage();
}

void Envel::paint (juce::Graphics& g)
{
    const float s = scale;
    g.fillAll (kBackdrop);

    const int x = (int) (4.0f * s), y = (int) (5.0f * s);
    const int w = (int) ((float) kImageWidth * s), h = (int) ((float) kImageHeight * s);
    if (backgroundImage.isValid())
        g.drawImage (backgroundImage, x, y, w, h, 0, 0, kImageWidth, kImageHeight);

    g.setColour (kCurveFill);
    g.fillPath (curve);
    g.setColour (kCurveLine);
    g.strokePath (curve,
                  juce::PathStrokeType (kCurveLineWidth, juce::PathStrokeType::mitered, juce::PathStrokeType::butt));

    if (overlayImage.isValid())
    {
        g.setColour (juce::Colours::black.withAlpha (kOverlayOpacity));
        g.drawImage (overlayImage, x, y, w, h, 0, 0, kImageWidth, kImageHeight);
    }
}

void Envel::mouseMove (const juce::MouseEvent& e)
{
    setMouseCursor (findHandle (e.x, e.y) == kNoHandle ? juce::MouseCursor::NormalCursor
                                                       : juce::MouseCursor::CrosshairCursor);
}

void Envel::mouseDown (const juce::MouseEvent& e)
{
    if (e.mods.isRightButtonDown() || scale < kDirectEditThreshold)
    {
        dragging = false;
        broadcast (kZoomRequested);
        return;
    }

    handle = findHandle (e.x, e.y);
    if (handle == kNoHandle)
        return;

    pressX = lastX = e.x;
    pressY = lastY = e.y;
    startAttack = attack;
    startDecay = decay;
    startSustain = sustain;
    startRelease = release;
    dragging = true;
}

void Envel::mouseDrag (const juce::MouseEvent& e)
{
    if (! dragging || ! e.mods.isLeftButtonDown())
        return;

    bool changed = false;
    const auto update = [&changed] (float& field, float value) {
        if (field != value)
        {
            field = value;
            changed = true;
        }
    };

    if (e.x != lastX)
    {
        const int dx = (int) std::lround ((float) (e.x - pressX) / kPixelsPerStep);
        if (handle == kAttackPeak)
            update (attack, clampStep (startAttack, dx, kMaxTime));
        else if (handle == kSustainSegment)
            update (decay, clampStep (startDecay, dx, kMaxTime));
        else if (handle == kReleaseEnd)
            update (release, clampStep (startRelease, dx, kMaxTime));
    }
    if (e.y != lastY && handle == kSustainSegment)
    {
        const int dy = (int) std::lround ((float) (pressY - e.y) / kPixelsPerStep);
        update (sustain, clampStep (startSustain, dy, kMaxSustain));
    }
    lastX = e.x;
    lastY = e.y;

    // One broadcast for the step, even when a diagonal move changed decay and sustain together.
    if (changed)
    {
        rebuildCurve();
        repaint();
        broadcast (kValuesDragged);
    }
}

void Envel::mouseUp (const juce::MouseEvent&)
{
    dragging = false;
    handle = kNoHandle;
}
