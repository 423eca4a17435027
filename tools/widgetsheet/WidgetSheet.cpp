// Renders the editor's widgets, as the plug-in builds them, at full and at half scale into one picture
// for people to look at when they change a skin or a widget:
//
//   OstrelWidgetSheet <output.png>
//
// The processor is a detached one: it opens no MIDI port and touches no settings file. Every control
// shows the value of the first factory program.

#include "plugin/OstrelAudioProcessor.h"
#include "ui/controls/StsGrid.h"
#include "ui/editor/CorButton.h"
#include "ui/editor/EditorPanel.h"
#include "ui/editor/GroupClass.h"
#include "ui/editor/HorScrollClass.h"
#include "ui/editor/LCD_Comp.h"
#include "ui/keyboard/KeyBrd.h"
#include "ui/library/Lib_Manager_Win.h"
#include "ui/look/Check_But.h"
#include "ui/look/OstrelLookAndFeel.h"
#include "ui/look/StsBut.h"
#include "ui/look/StsLabel.h"
#include "ui/look/WinMovCan.h"
#include "ui/main/AboutPanel.h"
#include "ui/main/BankComp.h"
#include "ui/setup/MIDI_Setup.h"

#include <iostream>

namespace
{
constexpr int kSheetWidth = 1760, kGap = 12, kCaptionHeight = 18;

// Places snapshots left to right, starting a new row when the sheet is full.
class Sheet
{
public:
    explicit Sheet (int width) : sheetWidth (width) {}

    void place (juce::Component& component, const juce::String& caption)
    {
        const auto snapshot = component.createComponentSnapshot (component.getLocalBounds(), true, 1.0f);
        const int w = juce::jmax (snapshot.getWidth(), 60), h = snapshot.getHeight() + kCaptionHeight;
        if (x > kGap && x + w > sheetWidth - kGap)
            newRow();
        pieces.push_back ({ snapshot, caption, { x, y, w, h } });
        x += w + kGap;
        rowHeight = juce::jmax (rowHeight, h);
    }

    void heading (const juce::String& text)
    {
        newRow();
        headings.push_back ({ text, { kGap, y, sheetWidth - 2 * kGap, 24 } });
        y += 28;
    }

    void newRow()
    {
        if (x > kGap)
            y += rowHeight + kGap;
        x = kGap;
        rowHeight = 0;
    }

    juce::Image render()
    {
        newRow();
        juce::Image image (juce::Image::RGB, sheetWidth, y + kGap, true, juce::SoftwareImageType());
        juce::Graphics g (image);
        g.fillAll (juce::Colour (0xff3a3a3e));
        for (const auto& h : headings)
        {
            g.setColour (juce::Colours::white);
            g.setFont (juce::Font ("Arial", 20.0f, juce::Font::bold));
            g.drawText (h.text, h.area, juce::Justification::centredLeft);
        }
        for (const auto& p : pieces)
        {
            g.setColour (juce::Colour (0xffc8c8c8));
            g.setFont (juce::Font ("Arial", 12.0f, juce::Font::plain));
            g.drawText (p.caption, p.area.withHeight (kCaptionHeight), juce::Justification::topLeft);
            g.drawImageAt (p.snapshot, p.area.getX(), p.area.getY() + kCaptionHeight);
        }
        return image;
    }

private:
    struct Piece
    {
        juce::Image snapshot;
        juce::String caption;
        juce::Rectangle<int> area;
    };
    struct Heading
    {
        juce::String text;
        juce::Rectangle<int> area;
    };

    const int sheetWidth;
    int x = kGap, y = kGap, rowHeight = 0;
    std::vector<Piece> pieces;
    std::vector<Heading> headings;
};

void showProgram (GroupClass& group, const MidiCntrState::Record& record)
{
    for (int i = 0; i < group.getNumControls(); ++i)
    {
        auto* control = group.getControl (i);
        const int position = control->getParameterPosition();
        if (position >= 0 && position < (int) record.size())
            group.showControlValue (*control, record[(size_t) position]);
    }
}

// The parameter groups in the order of the panel's strip, with their unscaled sizes there.
struct GroupBox
{
    int index, width, height;
};
constexpr GroupBox kGroups[] = { { 1, 950, 319 },  { 2, 246, 319 },  { 5, 700, 160 }, { 3, 700, 160 },
                                 { 4, 160, 160 },  { 12, 160, 160 }, { 6, 120, 319 }, { 7, 830, 319 },
                                 { 8, 700, 322 },  { 13, 120, 319 }, { 9, 700, 160 }, { 10, 700, 160 },
                                 { 11, 950, 319 }, { 14, 120, 319 }, { 0, 130, 319 }, { 15, 0, 0 } };

void addEditorWidgets (Sheet& sheet, OstrelAudioProcessor& processor, float scale)
{
    const auto label = [scale] (const juce::String& text) { return text + " @ " + juce::String (scale, 1); };
    auto& controller = processor.getController();
    const auto record = controller.getCurrentProgram();

    sheet.heading ("Parameter groups, scale " + juce::String (scale, 1));
    for (const auto& box : kGroups)
    {
        GroupClass group (processor, box.index, 0);
        showProgram (group, record);
        group.setShownOnPage (true);
        if (box.width == 0)
            group.setABModeExpanded (true); // the A/B mode group sizes itself
        else
            group.setLayout (0, 0, box.width, box.height);
        group.setScale (scale);
        if (! group.getLocalBounds().isEmpty())
            sheet.place (group, label ("group " + juce::String (box.index)));
    }

    sheet.heading ("Keyboard panel, scale " + juce::String (scale, 1));
    KeyBrd keyboard (controller);
    keyboard.setScale (scale, 0, 1150, KeyBrd::kHeight);
    keyboard.setStatusText ("ON-LINE");
    sheet.place (keyboard, label ("KeyBrd"));

    LCD_Comp lcd;
    lcd.setScale (scale);
    lcd.setProgram (0, 0, record[426], "Basic Program", "PADS", "A + B", "(A)");
    sheet.place (lcd, label ("LCD_Comp"));
}

void addPanels (Sheet& sheet, OstrelAudioProcessor& processor)
{
    sheet.heading ("Editor page and bank panel");
    EditorPanel editor (processor);
    editor.setSize (1200, 730);
    editor.refreshAll();
    sheet.place (editor, "EditorPanel");

    BankComp banks (processor.getController());
    banks.setSize (1200, 480);
    sheet.place (banks, "BankComp");

    sheet.heading ("MIDI setup with the global settings, library window");
    MIDI_Setup setup (processor.getController());
    setup.setSize (830, 650);
    setup.showGlobals();
    sheet.place (setup, "MIDI_Setup");

    Lib_Manager_Comp library (processor, nullptr);
    library.setSize (1000, 620);
    sheet.place (library, "Lib_Manager_Comp");
}

void addFixedWidgets (Sheet& sheet, MidiCntrState& controller)
{
    sheet.heading ("Buttons, labels and displays");

    StsBut function ("BANKS", 99, StsBut::kFunctionStyle);
    function.setup (0, 0, 46, 16);
    function.setFontHeight (11.0f);
    sheet.place (function, "StsBut 130");
    StsBut page ("OSC", 1, StsBut::kPageStyle);
    page.setup (0, 0, 59, 16);
    page.setFontHeight (11.0f);
    page.setSelected (true);
    sheet.place (page, "StsBut 135 selected");
    StsBut dialog ("CANCEL", 999, StsBut::kDialogStyle);
    dialog.setup (0, 0, 70, 18);
    sheet.place (dialog, "StsBut 140");

    Check_But off ("Off", true), on ("On", true);
    on.setOn (true);
    for (auto* check : { &off, &on })
    {
        check->setCaptionColour (juce::Colours::white);
        check->setSize (90, Check_But::kSize);
    }
    sheet.place (off, "Check_But");
    sheet.place (on, "Check_But on");

    StsLabel channel;
    channel.setup ("Chan: 1", "Arial", 12.0f);
    channel.setFrame (2, juce::Colours::black, juce::Colour (0xff9f9f9f));
    channel.setSize (56, 15);
    sheet.place (channel, "StsLabel");

    HorScrollClass scroller;
    scroller.setSize (400, HorScrollClass::kHeight);
    scroller.setPosition (4);
    sheet.place (scroller, "HorScrollClass");

    CorButton corner;
    corner.setSize (CorButton::kWidth, CorButton::kHeight);
    sheet.place (corner, "CorButton");

    WinMovCan three, closeOnly (WinMovCan::kCloseOnly);
    three.setSize (54, 22);
    closeOnly.setSize (17, 22);
    sheet.place (three, "WinMovCan");
    sheet.place (closeOnly, "close only");

    StsGrid grid (controller);
    grid.setColumnWidths (50, 140, 100, 0);
    grid.setRowHeight (46);
    grid.setFontHeight (14.0f);
    grid.setScrollBarWidth (32);
    grid.setRows (StsGrid::kListBank, 0);
    grid.setSelectedRow (2);
    grid.setSize (350, 230);
    sheet.place (grid, "StsGrid");

    AboutPanel about ("2.7.0", 520, 0);
    sheet.place (about, "AboutPanel");
}
} // namespace

int main (int argc, char* argv[])
{
    if (argc != 2)
    {
        std::cerr << "usage: OstrelWidgetSheet <output.png>" << std::endl;
        return 1;
    }
    juce::ScopedJuceInitialiser_GUI gui;
    OstrelLookAndFeel lookAndFeel;
    juce::LookAndFeel::setDefaultLookAndFeel (&lookAndFeel);

    int result = 0;
    {
        MidiCntrState::Environment environment;
        environment.detached = true;
        OstrelAudioProcessor processor (environment);
        processor.getSkin().loadImages();

        Sheet sheet (kSheetWidth);
        for (float scale : { 1.0f, 0.5f })
            addEditorWidgets (sheet, processor, scale);
        addFixedWidgets (sheet, processor.getController());
        addPanels (sheet, processor);

        const auto file = juce::File::getCurrentWorkingDirectory().getChildFile (juce::String::fromUTF8 (argv[1]));
        file.getParentDirectory().createDirectory();
        file.deleteFile();
        juce::FileOutputStream out (file);
        juce::PNGImageFormat png;
        if (! out.openedOk() || ! png.writeImageToStream (sheet.render(), out))
        {
            std::cerr << "cannot write " << file.getFullPathName() << std::endl;
            result = 1;
        }
    }
    juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
    return result;
}
