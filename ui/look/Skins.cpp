#include "ui/look/Skins.h"

#include <OstrelSkins.h>

namespace Skins
{
juce::Image get (const char* name)
{
    const auto* entry = find (name);
    if (entry == nullptr)
        return {};

    // juce_add_binary_data names "knob_strip.png" as "knob_strip_png".
    const auto resource = juce::String (entry->name) + "_png";
    int size = 0;
    const auto* data = OstrelSkinData::getNamedResource (resource.toRawUTF8(), size);
    if (data == nullptr || size <= 0)
        return {};

    // The cache keys on the data's address, so every caller shares one decoded image.
    return juce::ImageCache::getFromMemory (data, size);
}
} // namespace Skins
