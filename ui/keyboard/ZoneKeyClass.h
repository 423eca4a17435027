#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The compact split-point keyboard of the A/B mode group: the strip of all MIDI notes with the
// other layer's side of the split dimmed. A click on it asks (by a broadcast) for the large one.
class ZoneKeyClass : public juce::Component, public juce::ChangeBroadcaster
{
public:
    static constexpr int kImageWidth = 269, kImageHeight = 18;
    static constexpr int kDimAbove = 0, kDimBelow = 1;
    static constexpr int kClicked = 65;

    ZoneKeyClass();

    void setScale (float scale);
    float getScale() const noexcept { return scale; }
    void setSplitKey (int key);
    int getSplitKey() const noexcept { return splitKey; }
    // 0: the keys from the split upward are dimmed; 1: the keys below it.
    void setSide (int side);
    int getSide() const noexcept { return side; }
    int getChangeCode() const noexcept { return changeCode; }

    void paint (juce::Graphics& g) override;
    void mouseUp (const juce::MouseEvent& e) override;

private:
    juce::Image strip;
    float scale = 1.0f;
    int splitKey = 60, side = kDimAbove, changeCode = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ZoneKeyClass)
};

// The large split-point keyboard of the expanded A/B mode group. Pressing and dragging move the
// split key and show it (code 68 while dragging); the press and the release ask for it (code 65).
// Each code is broadcast synchronously, so the group sees every one in order.
class ZoneKeyClassB : public juce::Component, public juce::ChangeBroadcaster
{
public:
    static constexpr int kImageWidth = 505, kImageHeight = 34;
    static constexpr int kKeysAcross = 127;
    static constexpr int kRequest = 65, kShow = 68;

    ZoneKeyClassB();

    void setScale (float scale);
    float getScale() const noexcept { return scale; }
    void setSplitKey (int key);
    int getSplitKey() const noexcept { return splitKey; }
    int getChangeCode() const noexcept { return changeCode; }
    bool isDragging() const noexcept { return dragging; }

    // The key under x (pixels) at the given scale, 0..127.
    static int keyAt (float x, float scale);

    void paint (juce::Graphics& g) override;
    void mouseDown (const juce::MouseEvent& e) override;
    void mouseDrag (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;

private:
    void follow (float x, int code);

    juce::Image strip;
    float scale = 1.0f;
    int splitKey = 60, lastKey = 60, changeCode = 0;
    bool dragging = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ZoneKeyClassB)
};
