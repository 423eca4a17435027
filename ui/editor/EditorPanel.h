#pragma once

#include "ui/editor/AppBar.h"
#include "ui/editor/AppSetBarBut.h"
#include "ui/editor/CorButton.h"
#include "ui/editor/GroupClass.h"
#include "ui/editor/GroupImg.h"
#include "ui/editor/HorScrollClass.h"
#include "ui/editor/LCD_Comp.h"

class OstrelAudioProcessor;

// The editor page: the top band (settings button, LCD, app bar with page and function buttons, the
// compact A/B mode group) over one long strip of parameter groups, layer A above and layer B 320
// units below. Page buttons scroll the strip; below the direct-edit scale a click zooms one group
// to the middle of the window over a dimmed page. Every model value reaches its control here.
class EditorPanel : public juce::Component,
                    public juce::ChangeListener,
                    public stsbutChangeListener,
                    public juce::ChangeBroadcaster
{
public:
    static constexpr int kTopBand = 54;
    static constexpr int kAppBarX = 267;
    static constexpr int kGroups = GroupContents::kNumGroupIndices;
    static constexpr int kScrollerHeight = 14;
    static constexpr int kZoomAnimationMs = 200;

    explicit EditorPanel (OstrelAudioProcessor& owner);
    ~EditorPanel() override;

    void showPage (int pageId);
    // Index 0..511: layer A position; 512..1023: layer B position index - 512.
    void routeValue (int index, int value, bool force);
    // Also shows the two "Latch" switches of SLIDERS, which live outside the program.
    void refreshAll();
    void refreshLcd();
    // Shows the controller's value of "SlidLatch 1" (1028) or "SlidLatch 2" (1029) on its switch.
    void showSliderLatch (int position);
    void setEditorScale (float scale);
    float getEditorScale() const noexcept { return editorScale; }

    void zoomGroup (GroupClass& group);
    void unzoom();
    bool isZoomed() const noexcept { return zoomed; }
    bool isAnimating() const { return animator.isAnimating(); }
    // Scale of a zoomed group for the width of the monitor's work area.
    static float zoomScaleForWorkArea (int width) noexcept;
    // The work area of the display that holds most of the given screen rectangle, or of the nearest
    // display when it lies on none; 1920 x 1080 when no display is known.
    static juce::Rectangle<int> workAreaFor (const juce::Array<juce::Displays::Display>& displays,
                                             juce::Rectangle<int> screenBounds);

    GroupClass& getGroup (int layer, int index) { return *(layer == 0 ? rowA : rowB)[index]; }
    AppBar& getAppBar() noexcept { return appBar; }
    LCD_Comp& getLcd() noexcept { return lcd; }
    AppSetBarBut& getSettingsButton() noexcept { return settingsButton; }
    HorScrollClass& getPageScroller() noexcept { return pageScroller; }
    CorButton& getZoomCorner() noexcept { return zoomCorner; }
    int getCurrentPage() const noexcept { return currentPage; }

    void paint (juce::Graphics& g) override;
    void resized() override;
    void changeListenerCallback (juce::ChangeBroadcaster* source) override;
    void stsButClicked (StsBut* button) override;

private:
    void setABCompact();
    GroupClass* groupFor (int layer, int position) const;

    OstrelAudioProcessor& owner;
    HorScrollClass pageScroller;
    CorButton zoomCorner;
    juce::Image logo, badge;
    AppBar appBar;
    AppSetBarBut settingsButton;
    LCD_Comp lcd;
    juce::OwnedArray<GroupClass> rowA, rowB;
    GroupImg clickCatcher { juce::Colours::transparentBlack };
    GroupImg dimLeft { juce::Colour (0x77000000) }, dimRight { juce::Colour (0x77000000) },
        dimTop { juce::Colour (0x77000000) }, dimBottom { juce::Colour (0x77000000) },
        flash { juce::Colour (0x77000000) };
    juce::ComponentAnimator animator;

    float editorScale = 1.0f;
    bool zoomed = false;
    int currentPage = 1;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (EditorPanel)
};
