// Draws every skin picture of the editor and writes it as a PNG file.
//
//   OstrelSkinGen <output folder>
// writes <name>.png for every entry of the skin table (ui/look/Skins.h), at exactly the table's size.
//
// The generator is deterministic: the same source always writes the same bytes. It fails when a
// table entry has no drawer, when a drawer has no table entry, or when a written picture does not
// read back at the table's size.

#include "tools/skingen/SkinGen.h"
#include "ui/look/Skins.h"

#include <iostream>

namespace
{
int fail (const juce::String& message)
{
    std::cerr << "OstrelSkinGen: " << message << std::endl;
    return 1;
}
} // namespace

int main (int argc, char* argv[])
{
    if (argc != 2)
        return fail ("usage: OstrelSkinGen <output folder>");

    const auto folder = juce::File::getCurrentWorkingDirectory().getChildFile (juce::String::fromUTF8 (argv[1]));
    if (! folder.createDirectory())
        return fail ("cannot create " + folder.getFullPathName());

    SkinGen::DrawerTable drawers;
    SkinGen::addControlSkins (drawers);
    SkinGen::addGraphicSkins (drawers);
    SkinGen::addKeyboardSkins (drawers);
    SkinGen::addPanelSkins (drawers);

    for (const auto& [name, drawer] : drawers)
        if (Skins::find (name.c_str()) == nullptr)
            return fail ("a drawer for \"" + juce::String (name) + "\", which the skin table does not list");

    juce::PNGImageFormat png;
    for (const auto& entry : Skins::kAll)
    {
        const auto found = drawers.find (entry.name);
        if (found == drawers.end())
            return fail ("no drawer for \"" + juce::String (entry.name) + "\"");

        juce::Image image (juce::Image::ARGB, entry.width, entry.height, true, juce::SoftwareImageType());
        found->second (image);
        if (image.getWidth() != entry.width || image.getHeight() != entry.height)
            return fail ("\"" + juce::String (entry.name) + "\" was drawn at the wrong size");

        juce::MemoryOutputStream bytes;
        if (! png.writeImageToStream (image, bytes))
            return fail ("cannot encode \"" + juce::String (entry.name) + "\"");

        const auto decoded = juce::ImageFileFormat::loadFrom (bytes.getData(), bytes.getDataSize());
        if (decoded.getWidth() != entry.width || decoded.getHeight() != entry.height)
            return fail ("\"" + juce::String (entry.name) + "\" does not read back at its size");

        const auto file = folder.getChildFile (juce::String (entry.name) + ".png");
        if (! file.replaceWithData (bytes.getData(), bytes.getDataSize()))
            return fail ("cannot write " + file.getFullPathName());
    }
    return 0;
}
