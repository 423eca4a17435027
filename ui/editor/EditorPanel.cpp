#include "ui/editor/EditorPanel.h"
#include "model/ParDes.h"
#include "model/ParameterTable.h"
#include "plugin/OstrelAudioProcessor.h"
#include "ui/look/Skins.h"

namespace
{
constexpr int kRefreshLastA = 429, kRefreshFirstB = 512, kRefreshLastB = 941;
constexpr int kParkedX = -20000;
constexpr int kSlidersGroup = 0; // row A only: layer B has no "SLIDERS"
} // namespace

EditorPanel::EditorPanel (OstrelAudioProcessor& o) : owner (o)
{
    addAndMakeVisible (pageScroller);
    pageScroller.addChangeListener (this);
    addAndMakeVisible (zoomCorner);
    zoomCorner.addChangeListener (this);

    logo = Skins::get ("logo");
    badge = Skins::get ("badge");

    addAndMakeVisible (appBar);
    for (int i = 0; i < AppBar::kNumPageButtons; ++i)
        appBar.getPageButton (i).addListener (this);
    appBar.setChannel (owner.getController().getMidiChannel());

    settingsButton.setBounds (6, 4, 36, 36);
    addAndMakeVisible (settingsButton);
    lcd.setBounds (44, 2, LCD_Comp::kWidth, LCD_Comp::kHeight);
    addAndMakeVisible (lcd);

    for (int i = 0; i < kGroups; ++i)
        rowA.add (new GroupClass (owner, i, 0));
    for (int i = 0; i < kGroups; ++i)
        rowB.add (new GroupClass (owner, i == 0 ? GroupContents::kEmptyRowBGroup : i, 1));
    for (auto* row : { &rowA, &rowB })
        for (auto* g : *row)
        {
            addAndMakeVisible (g);
            g->addChangeListener (this);
        }

    // Parked off screen until a page places them.
    for (int i = 0; i < kGroups - 1; ++i)
        for (auto* g : { rowA[i], rowB[i] })
            g->setTopLeftPosition (kParkedX, 0);

    setSize (1200, 640 + 70);
    showPage (1);
    setABCompact();

    for (auto* overlay : { &clickCatcher, &dimLeft, &dimRight, &dimTop, &dimBottom, &flash })
    {
        addChildComponent (overlay);
        overlay->addChangeListener (this);
    }
    pageScroller.toFront (false);
    zoomCorner.toFront (false);
}

EditorPanel::~EditorPanel()
{
    animator.cancelAllAnimations (false);
    for (int i = 0; i < AppBar::kNumPageButtons; ++i)
        appBar.getPageButton (i).removeListener (this);
}

// ---- Pages ------------------------------------------------------------------------------------------

void EditorPanel::showPage (int pageId)
{
    const auto pageX = GroupContents::pageStripX (pageId);
    if (! pageX)
        return;
    currentPage = pageId;

    const float s = rowA[0]->getScale();
    for (int i = 0; i <= 14; ++i)
    {
        const auto& row = GroupContents::groupOf (i);
        const int c = row.stripX - *pageX;
        const bool inside = c >= 0 && (float) c * s <= (float) getWidth();
        for (auto* g : { rowA[i], rowB[i] })
        {
            g->setShownOnPage (inside);
            if (inside)
            {
                g->setScale (s);
                g->setVisible (true);
            }
        }
        rowA[i]->setLayout (c, row.rowAY, row.width, row.height);
        rowB[i]->setLayout (c, row.rowAY + GroupContents::kRowBOffset, row.width, row.height);
        if (! inside)
            for (auto* g : { rowA[i], rowB[i] })
            {
                g->setVisible (false);
                g->setTopLeftPosition (kParkedX, g->getY());
            }
    }

    for (int i = 0; i < AppBar::kNumPageButtons; ++i)
        appBar.getPageButton (i).setSelected (AppBar::kPageButtons[i].id == pageId);
}

// ---- Values -----------------------------------------------------------------------------------------

GroupClass* EditorPanel::groupFor (int layer, int position) const
{
    const int section = ParameterTable::get().panelGroup (position);
    if (section <= 0 || section >= kGroups)
        return nullptr;
    return (layer == 0 ? rowA : rowB)[section];
}

void EditorPanel::routeValue (int index, int value, bool force)
{
    if (index < 0 || index >= 2 * GroupContents::kLayerSize)
        return;
    const int layer = index < GroupContents::kLayerSize ? 0 : 1;
    const int p = index % GroupContents::kLayerSize;
    auto* group = groupFor (layer, p);
    if (group == nullptr)
        return;
    auto* control = group->findControl (p);
    if (control == nullptr)
        return;
    if (force)
        control->forgetShownValue();
    group->showControlValue (*control, value);
}

void EditorPanel::refreshLcd()
{
    auto& c = owner.getController();
    const auto record = c.getCurrentProgram();
    const int category = record[426];
    lcd.setProgram (c.getCurrentBank(), c.getCurrentProgramNumber(), category,
                    ProgramDump::readName (record.data(), ProgramDump::NameVariant::slot),
                    ParDes::categoryText (category), ProgramDump::abModeText (record.data()),
                    ProgramDump::arpMark (record.data()));
}

void EditorPanel::refreshAll()
{
    refreshLcd();
    const auto record = owner.getController().getCurrentProgram();
    for (int i = 0; i <= kRefreshLastA; ++i)
        routeValue (i, record[(size_t) i], true);
    for (int i = kRefreshFirstB; i <= kRefreshLastB; ++i)
        routeValue (i, record[(size_t) i], true);
    for (const int latch : { ParameterTable::kSliderLatch1, ParameterTable::kSliderLatch2 })
        showSliderLatch (latch);
}

void EditorPanel::showSliderLatch (int position)
{
    // The latches are performance values of the controller, not program bytes: the ordinary value
    // route (program positions only) never reaches them.
    auto& sliders = *rowA[kSlidersGroup];
    if (auto* control = sliders.findControl (position))
        sliders.showControlValue (*control, owner.getController().getValue (position));
}

// ---- Scale and zoom ---------------------------------------------------------------------------------

void EditorPanel::setEditorScale (float scale)
{
    if (zoomed)
    {
        zoomed = false;
        for (auto* overlay : { &clickCatcher, &dimLeft, &dimRight, &dimTop, &dimBottom, &flash })
            overlay->deactivate();
    }
    editorScale = scale;
    owner.getEditorState().geometry.editorScale = scale;

    for (int i = 0; i < kGroups - 1; ++i)
        if (i != GroupContents::kABModeGroup)
            for (auto* g : { rowA[i], rowB[i] })
                g->setScale (scale);
    showPage (currentPage);
    setABCompact();
    pageScroller.toFront (false);
    zoomCorner.toFront (false);
}

void EditorPanel::setABCompact()
{
    auto& ab = *rowA[GroupContents::kABModeGroup];
    ab.setScale (1.0f);
    ab.setABModeExpanded (false);
    ab.setShownOnPage (true);
    ab.setVisible (true);
    rowB[GroupContents::kABModeGroup]->setVisible (false);
}

juce::Rectangle<int> EditorPanel::workAreaFor (const juce::Array<juce::Displays::Display>& displays,
                                               juce::Rectangle<int> screenBounds)
{
    const juce::Displays::Display* best = nullptr;
    int bestArea = 0;
    for (const auto& d : displays)
    {
        const auto overlap = d.totalArea.getIntersection (screenBounds);
        if (overlap.getWidth() * overlap.getHeight() > bestArea)
        {
            bestArea = overlap.getWidth() * overlap.getHeight();
            best = &d;
        }
    }
    if (best == nullptr)
    {
        const auto centre = screenBounds.getCentre();
        double nearest = 0.0;
        for (const auto& d : displays)
        {
            const double distance = d.totalArea.getConstrainedPoint (centre).getDistanceFrom (centre);
            if (best == nullptr || distance < nearest)
            {
                nearest = distance;
                best = &d;
            }
        }
    }
    return best != nullptr ? best->userArea : juce::Rectangle<int> (0, 0, 1920, 1080);
}

float EditorPanel::zoomScaleForWorkArea (int width) noexcept
{
    if (width <= 1599)
        return 1.0f;
    return width <= 2000 ? 1.3f : 1.5f;
}

void EditorPanel::zoomGroup (GroupClass& group)
{
    // An empty slot (layer B's place under SLIDERS) has nothing to show enlarged.
    if (zoomed || animator.isAnimating() || group.isEmpty())
        return;
    zoomed = true;

    clickCatcher.setBounds (group.getBounds());
    clickCatcher.activate (0);

    if (group.getGroupIndex() == GroupContents::kABModeGroup)
    {
        group.setABModeExpanded (true);
    }
    else
    {
        const auto workArea = workAreaFor (juce::Desktop::getInstance().getDisplays().displays, getScreenBounds());
        owner.getEditorState().workArea = workArea;
        group.setScale (zoomScaleForWorkArea (workArea.getWidth()));
    }

    const int W = getWidth(), H = getHeight();
    const int f = group.getWidth(), e = group.getHeight();
    const int h = juce::jmax (0, (W - f) / 2), g = juce::jmax (0, (H - e) / 2);
    dimLeft.setBounds (0, 0, h, H);
    dimRight.setBounds (f + h, 0, W - f - h, H);
    dimTop.setBounds (h, 0, f, g);
    dimBottom.setBounds (h, e + g, f, H - e - g);
    flash.setBounds (h, g, f, e);
    for (auto* dimmer : { &dimLeft, &dimRight, &dimTop, &dimBottom })
        dimmer->activate (0);
    flash.activate (kZoomAnimationMs);

    group.setVisible (true);
    group.setShownOnPage (true);
    group.toFront (false);
    animator.animateComponent (&group, { h, g, f, e }, 1.0f, kZoomAnimationMs, false, 1.0, 1.0);
}

void EditorPanel::unzoom()
{
    if (! zoomed || animator.isAnimating())
        return;
    zoomed = false;
    clickCatcher.deactivate();
    for (auto* dimmer : { &dimLeft, &dimRight, &dimTop, &dimBottom })
        dimmer->deactivate();

    auto scale = (float) owner.getEditorState().geometry.editorScale;
    if (scale < 0.1f || scale > 1.5f)
        scale = 1.5f;
    setEditorScale (scale);
}

// ---- Events -----------------------------------------------------------------------------------------

void EditorPanel::changeListenerCallback (juce::ChangeBroadcaster* source)
{
    if (source == &pageScroller)
    {
        const int i = pageScroller.getPosition();
        if (i >= 0 && i < AppBar::kNumPageButtons)
            showPage (AppBar::kPageButtons[i].id);
        return;
    }
    if (source == &zoomCorner)
    {
        sendChangeMessage(); // the main component sizes the page
        return;
    }
    for (auto* dimmer : { &dimLeft, &dimRight, &dimTop, &dimBottom })
        if (source == dimmer)
        {
            unzoom();
            return;
        }
    for (auto* row : { &rowA, &rowB })
        for (auto* g : *row)
            if (source == g)
            {
                zoomGroup (*g);
                return;
            }
}

void EditorPanel::stsButClicked (StsBut* button)
{
    if (button != nullptr)
        showPage (button->getId());
}

void EditorPanel::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::black);
    g.setColour (juce::Colour (0xFF141414));
    g.fillRect (0, 0, getWidth(), kTopBand);
    if (logo.isValid())
        g.drawImage (logo, juce::Rectangle<float> (926.0f, 1.0f, 165.0f, 25.0f));
    if (badge.isValid())
    {
        g.setOpacity (0.61f);
        g.drawImage (badge, juce::Rectangle<float> (1098.0f, 3.0f, 47.0f, 23.0f));
        g.setOpacity (1.0f);
    }
}

void EditorPanel::resized()
{
    const int W = getWidth(), H = getHeight();
    appBar.setBounds (kAppBarX, 0, W - kAppBarX, kTopBand);
    if (H < 55)
    {
        pageScroller.setVisible (false);
        zoomCorner.setVisible (false);
        return;
    }
    pageScroller.setVisible (true);
    zoomCorner.setVisible (true);
    pageScroller.setBounds (0, H - kScrollerHeight, W - CorButton::kWidth, kScrollerHeight);
    zoomCorner.setBounds (W - CorButton::kWidth, H - kScrollerHeight, CorButton::kWidth, kScrollerHeight);
    pageScroller.toFront (false);
    zoomCorner.toFront (false);
    zoomCorner.setPanelSize (W, H);
}
