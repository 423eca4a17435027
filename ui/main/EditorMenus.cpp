#include "ui/main/EditorMenus.h"
#include "model/ParDes.h"

namespace EditorMenus
{
namespace
{
struct VoiceItem
{
    int id;
    const char* text;
    int page;
};

// clang-format off
constexpr VoiceItem voiceItems[] = {
    { 101, "OSCILLATORS            [1] ",  1 },
    { 102, "CHARACTER                [2] ", 2 },
    { 103, "VCA / LPF / HPF           [3] ", 3 },
    { 104, "HPF / FEEDBACK           [4] ",  4 },
    { 105, "VCA                           [5] ", 5 },
    { 106, "FEEDBACK  / DELAY      [6] ",   6 },
    { 107, "LFO                            [7] ", 7 },
    { 108, "MODS                        [8] ", 10 },
    { 109, "ARP / SLIDERS            [9] ",  11 },
};
// clang-format on

constexpr int kCategories = 26;

juce::String saveAsSysExText() { return juce::String (juce::CharPointer_UTF8 ("Save as SysEx\xe2\x80\xa6")); }

juce::String pasteText (const juce::String& clipboardName, bool clipboardFull)
{
    return "Paste " + (clipboardFull ? clipboardName : juce::String());
}
} // namespace

juce::PopupMenu sendMenu (const juce::String& currentName, const juce::String& slotName)
{
    juce::PopupMenu m;
    m.addItem (1, "Current Preset: " + currentName);
    m.addItem (2, "FX Bank Preset: " + slotName);
    return m;
}

juce::PopupMenu fileMenu (const juce::String& currentName)
{
    juce::PopupMenu m;
    m.addItem (1, "Load Single Program");
    m.addItem (2, "Save " + currentName);
    m.addItem (kSaveAsSysExItem, saveAsSysExText());
    m.addSeparator();
    m.addItem (3, "About");
    return m;
}

juce::PopupMenu editMenu (const juce::String& currentName, const juce::String& clipboardName, bool clipboardFull)
{
    juce::PopupMenu m;
    m.addItem (1, "Copy Program: " + currentName);
    m.addItem (2, pasteText (clipboardName, clipboardFull));
    m.addSeparator();
    juce::PopupMenu voice;
    for (const auto& item : voiceItems)
        voice.addItem (item.id, item.text);
    m.addSubMenu ("Voice Parameters ", voice);
    return m;
}

void addHistoryItems (juce::PopupMenu& m, const juce::String& undoText, const juce::String& redoText, bool canCompare,
                      bool comparing)
{
    m.addSeparator();
    m.addItem (kUndoItem, undoText.isEmpty() ? "Undo" : "Undo " + undoText, undoText.isNotEmpty());
    m.addItem (kRedoItem, redoText.isEmpty() ? "Redo" : "Redo " + redoText, redoText.isNotEmpty());
    m.addItem (kCompareItem, "Compare with Stored Program", canCompare || comparing, comparing);
}

int pageForVoiceItem (int id)
{
    for (const auto& item : voiceItems)
        if (item.id == id)
            return item.page;
    return -1;
}

juce::PopupMenu channelMenu (int currentChannel)
{
    juce::PopupMenu m;
    for (int n = 1; n <= 16; ++n)
        m.addItem (n, "Channel " + juce::String (n), true, n == currentChannel);
    return m;
}

juce::PopupMenu programPicker (const juce::StringArray& bankNames, int currentBank,
                               const juce::StringArray& programNames, int currentProgram)
{
    juce::PopupMenu m;
    for (int b = 0; b < bankNames.size(); ++b)
        m.addItem (kPickerBankBase + b, bankNames[b], true, b == currentBank);
    m.addSeparator();
    for (int p = 0; p < programNames.size(); ++p)
        m.addItem (kPickerProgramBase + p, programNames[p], true, p == currentProgram);
    return m;
}

juce::PopupMenu slotProgramMenu (const juce::String& slotName, const juce::String& clipboardName, bool clipboardFull)
{
    juce::PopupMenu m;
    m.addItem (1, "Copy Program: " + slotName);
    m.addItem (2, pasteText (clipboardName, clipboardFull));
    m.addSeparator();
    m.addItem (3, "Save " + slotName);
    m.addItem (kSaveAsSysExItem, saveAsSysExText());
    m.addItem (4, "Load Program ");
    return m;
}

juce::PopupMenu categoryMenu (int currentCategory)
{
    juce::PopupMenu m;
    for (int c = 0; c < kCategories; ++c)
        m.addItem (c + 1, ParDes::categoryText (c), true, c == currentCategory);
    return m;
}

juce::PopupMenu presetsMenu (int currentBank)
{
    juce::PopupMenu m, factory;
    for (int n = 1; n <= 4; ++n)
        factory.addItem (99 + n, "User Bank " + juce::String (n));
    m.addSubMenu ("Load Factory Presets to", factory);
    if (currentBank >= 0 && currentBank <= 3)
    {
        m.addSeparator();
        m.addItem (99, "Initialize User Program Bank " + juce::String (currentBank + 1));
    }
    return m;
}

juce::PopupMenu bankFileMenu (const juce::StringArray& userBankNames)
{
    juce::PopupMenu m, load, save, saveSysEx;
    for (int b = 0; b < userBankNames.size(); ++b)
    {
        load.addItem (100 + b, userBankNames[b]);
        save.addItem (200 + b, userBankNames[b]);
        saveSysEx.addItem (kSaveBankAsSysExBase + b, userBankNames[b]);
    }
    m.addSubMenu ("Load Program Bank To Bank ", load);
    m.addSeparator();
    m.addSubMenu ("Save Program Bank ", save);
    m.addSubMenu (saveAsSysExText(), saveSysEx);
    return m;
}

juce::PopupMenu transferMenu (const std::vector<Transfers::MenuItem>& items)
{
    juce::PopupMenu m;
    for (const auto& item : items)
    {
        if (item.isSeparator)
            m.addSeparator();
        else if (! item.subItems.empty())
            m.addSubMenu (item.text, transferMenu (item.subItems));
        else
            m.addItem (item.id, item.text);
    }
    return m;
}
} // namespace EditorMenus
