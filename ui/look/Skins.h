#pragma once

#include <juce_graphics/juce_graphics.h>

// The editor's skin images. Every picture is drawn by tools/skingen, committed as
// resources/skins/<name>.png, embedded in the plug-in and decoded once through juce::ImageCache.
// The sizes and frame layouts are what the widgets' painting code relies on.
namespace Skins
{
struct Entry
{
    const char* name; // file name without ".png"
    int width, height;
};

// clang-format off
inline constexpr Entry kAll[] = {
    // Parameter controls
    { "knob_strip",       3655,  55 },  // 61 frames, 60 px apart, one less after frames 6, 18, 30, 42, 54
    { "knob_base0",         80,  80 },
    { "knob_base1",         80,  80 },
    { "knob_base2",         80,  80 },
    { "menu_strip",        200,  18 },
    { "menu_arrow",         14,  18 },
    { "menu_frame",        113,  17 },
    { "switch",             40,  12 },  // "off" frame at x 0, "on" frame at x 20
    // Envelope and graphic controls
    { "env_background",    218,  73 },
    { "env_overlay",       210,  66 },
    { "wave_icon",          36,  21 },
    { "slider",             36, 130 },
    { "pad",                90,  90 },
    { "wheel_strip",      1888, 200 },  // 35 frames, 54 px apart
    { "vel_display",        27,  13 },
    // Keyboard panel
    { "key_white_up",       25, 152 },
    { "key_white_down",     25, 152 },
    { "key_black_up",       16, 100 },
    { "key_black_down",     16, 100 },
    { "octave_strip",      269,  18 },
    { "zone_strip",        269,  18 },
    { "zone_strip_large",  505,  34 },
    { "wheel_well",         81, 206 },
    { "title_bar",         100,  20 },
    // Buttons, labels and displays
    { "check_on",           20,  11 },
    { "check_off",          20,  11 },
    { "check_pressed",      20,  11 },
    { "scroller",          153,  16 },
    { "zoom_corner",        50,  14 },
    { "lcd",               240,  62 },
    { "grid_thumb",         14,  31 },
    { "grid_background",   240,  62 },
    { "about_background",  467, 300 },
    { "about_picture",     389, 162 },
    // Editor page, dialogs and global panel
    { "logo",              275,  43 },
    { "badge",             113,  56 },
    { "window_buttons",     54,  30 },  // normal row at y 0, highlighted row at y 16
    { "window_close",       17,  30 },
    { "global_knob_strip", 3188,  56 }, // 55 frames of 56 x 56, one every 58 px
    { "global_close",       30,  30 },
    // Library window
    { "lib_button",        200,  48 },
    { "lib_button_cap",     10,  48 },
    { "st_button",         100,  24 },
    { "list_thumb",         14,  31 },
    { "lib_list_thumb",     25,  43 },  // the program lists' scroll thumb in the library window
};
// clang-format on

// The entry of that name, or nullptr.
constexpr const Entry* find (const char* name) noexcept
{
    if (name == nullptr)
        return nullptr;
    for (const auto& entry : kAll)
    {
        int i = 0;
        while (entry.name[i] != '\0' && entry.name[i] == name[i])
            ++i;
        if (entry.name[i] == name[i])
            return &entry;
    }
    return nullptr;
}

// The decoded image of that name, shared through juce::ImageCache. A name the table does not know
// gives a null image.
juce::Image get (const char* name);
} // namespace Skins
