#pragma once

#include "ui/controls/Envel.h"
#include "ui/controls/P_Pad.h"
#include "ui/controls/P_Slider.h"
#include "ui/controls/ShapeClass.h"
#include "ui/controls/StsCont.h"
#include "ui/editor/GroupContents.h"
#include "ui/keyboard/ZoneKeyClass.h"

class OstrelAudioProcessor;

// One titled section of the editor page (oscillators, filters, envelopes ...) for one layer. It
// builds its controls and special widgets from its row of the group tables, shows the values the
// page routes to it, and asks the page to zoom it (a change broadcast) when a control asks for a
// zoom or its own background is clicked while it is too small to edit.
class GroupClass : public juce::Component,
                   public juce::ChangeListener,
                   public juce::ChangeBroadcaster,
                   public StsContListener
{
public:
    static constexpr float kDirectEditThreshold = 0.6f;

    GroupClass (OstrelAudioProcessor& owner, int groupIndex, int layer);
    ~GroupClass() override;

    int getGroupIndex() const noexcept { return groupIndex; }
    // A slot without title, controls or widgets (layer B's place under SLIDERS, the spare indices):
    // it draws nothing and lets clicks through.
    bool isEmpty() const noexcept;
    int getLayer() const noexcept { return layer; }

    // The control bound to this layer-A (or play-control) position, or nullptr.
    StsCont* findControl (int position) const;
    int getNumControls() const noexcept { return controls.size(); }
    StsCont* getControl (int index) const noexcept { return controls[index]; }

    // Shows a model value on one of this group's controls, with its text, and keeps the special
    // widgets that draw the same values in step.
    void showControlValue (StsCont& control, int value);

    // Bounds are always (x s, y s + 54, width s, height s): 54 is the page's top band.
    void setScale (float newScale);
    float getScale() const noexcept { return scale; }
    void setLayout (int x, int y, int width, int height);
    juce::Rectangle<int> getLayout() const noexcept { return layout; }

    // Whether the page shows this group at its page position (hidden groups are parked far left).
    void setShownOnPage (bool shown) noexcept { shownOnPage = shown; }
    bool isShownOnPage() const noexcept { return shownOnPage; }

    // The A/B mode group lives compact in the top band and expands while zoomed.
    void setABModeExpanded (bool expanded);
    bool isABModeExpanded() const noexcept { return abExpanded; }

    Envel* getEnvelope() const noexcept { return envelope.get(); }
    ShapeClass* getWaveIcon (int oscillator) const noexcept; // 1..4
    P_Slider* getSlider (int which) const noexcept;          // 1, 2
    P_Pad* getPad() const noexcept { return pad.get(); }
    ZoneKeyClass* getCompactKeyboard() const noexcept { return compactKeyboard.get(); }
    ZoneKeyClassB* getLargeKeyboard() const noexcept { return largeKeyboard.get(); }

    void paint (juce::Graphics& g) override;
    void mouseDown (const juce::MouseEvent& e) override;
    void stsContZoomRequested (StsCont* control) override;
    void changeListenerCallback (juce::ChangeBroadcaster* source) override;

private:
    void buildContent();
    void placeWidgets();
    juce::String textFor (const StsCont& control, int value) const;

    OstrelAudioProcessor& owner;
    const int groupIndex, layer;
    const GroupContents::Group& row;
    juce::OwnedArray<StsCont> controls;
    juce::Rectangle<int> layout;
    float scale = 1.0f;
    bool shownOnPage = false;
    bool abExpanded = false;

    std::vector<GroupContents::SpecialWidget> widgets;
    std::unique_ptr<Envel> envelope;
    std::array<std::unique_ptr<ShapeClass>, 4> waveIcons;
    std::array<std::unique_ptr<P_Slider>, 2> sliders;
    std::unique_ptr<P_Pad> pad;
    std::unique_ptr<ZoneKeyClass> compactKeyboard;
    std::unique_ptr<ZoneKeyClassB> largeKeyboard;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (GroupClass)
};
