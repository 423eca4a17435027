#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>

class OstrelAudioProcessor;

// The envelope graphic of an envelope group: the attack peak, the sustain segment and the release
// end are handles the user drags. Like every editor control it does not change the model: it
// broadcasts change code 1 with the dragged values, and the group requests them through its
// "Attack", "Decay", "Sustain" and "Release" knobs. A right click (or any click while zoomed out)
// broadcasts code 100, which the group turns into a zoom request.
class Envel : public juce::Component, public juce::ChangeBroadcaster
{
public:
    static constexpr int kValuesDragged = 1;
    static constexpr int kZoomRequested = 100;

    enum Handle
    {
        kNoHandle = -1,
        kAttackPeak = 0,
        kSustainSegment = 1,
        kReleaseEnd = 2,
    };

    static constexpr float kOriginX = 16.0f, kTopY = 16.0f, kCurveHeight = 54.0f;
    static constexpr float kUnit = 48.0f / 127.0f; // layout units per parameter step, both axes
    static constexpr float kSustainWidth = 100.0f * kUnit;
    static constexpr float kHandleReach = 7.0f;
    static constexpr float kPixelsPerStep = 1.5f; // drag speed, the same at every zoom
    static constexpr float kDirectEditThreshold = 0.6f;
    static constexpr int kMaxTime = 127, kMaxSustain = 127;
    static constexpr float kInitialValue = 30.0f;

    explicit Envel (OstrelAudioProcessor& owner);
    ~Envel() override;

    // Set by the group from the values its knobs show; each rebuilds the curve and repaints.
    void setAttack (float value);
    void setDecay (float value);
    void setSustain (float value);
    void setRelease (float value);
    float getAttack() const noexcept { return attack; }
    float getDecay() const noexcept { return decay; }
    float getSustain() const noexcept { return sustain; }
    float getRelease() const noexcept { return release; }

    void setGroupIndex (int index) noexcept { groupIndex = index; }
    int getGroupIndex() const noexcept { return groupIndex; }
    int getChangeCode() const noexcept { return changeCode; }

    void setScale (float newScale);
    float getScale() const noexcept { return scale; }

    // The handle under (x, y) in pixels: the attack peak first, then the release end, then the
    // sustain segment, so the attack wins where handles overlap.
    int findHandle (int x, int y) const;
    bool isDragging() const noexcept { return dragging; }
    const juce::Path& getCurve() const noexcept { return curve; }

    void paint (juce::Graphics& g) override;
    void mouseMove (const juce::MouseEvent& e) override;
    void mouseDown (const juce::MouseEvent& e) override;
    void mouseDrag (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;

private:
    void rebuildCurve();
    void broadcast (int code);

    OstrelAudioProcessor& owner;
    int changeCode = 0;
    float attack = kInitialValue, decay = kInitialValue, sustain = kInitialValue, release = kInitialValue;
    int groupIndex = 0;
    float scale = 1.0f;
    juce::Image backgroundImage, overlayImage;
    juce::Path curve;
    std::array<float, 5> pointX {}, pointY {};
    float startAttack = 0.0f, startDecay = 0.0f, startSustain = 0.0f, startRelease = 0.0f;
    int handle = kNoHandle;
    bool dragging = false;
    int pressX = 0, pressY = 0, lastX = 0, lastY = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Envel)
};
