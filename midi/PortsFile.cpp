#include "midi/PortsFile.h"

namespace PortsFile
{
namespace
{
int lastIndexOf (const uint8_t* bytes, size_t size, uint8_t value)
{
    for (size_t i = size; i > 0; --i)
        if (bytes[i - 1] == value)
            return (int) i - 1;
    return -1;
}

juce::String textBetween (const uint8_t* bytes, int first, int end)
{
    return juce::String::fromUTF8 (reinterpret_cast<const char*> (bytes) + first, end - first);
}

void appendText (juce::MemoryBlock& block, const juce::String& text, uint8_t separator)
{
    // One byte per character, the code cut to 8 bits.
    for (auto chars = text.getCharPointer(); ! chars.isEmpty();)
    {
        const auto byte = (uint8_t) (chars.getAndAdvance() & 0xFF);
        block.append (&byte, 1);
    }
    block.append (&separator, 1);
}
} // namespace

juce::MemoryBlock encode (const Settings& settings)
{
    juce::MemoryBlock block;
    appendText (block, settings.input, kSeparators[0]);
    appendText (block, settings.output, kSeparators[1]);
    appendText (block, settings.reserved, kSeparators[2]);
    appendText (block, juce::String (settings.sysExBufferSize), kSeparators[3]);
    return block;
}

void decode (const void* data, size_t size, Settings& settings)
{
    if (data == nullptr)
        return;

    const auto* bytes = static_cast<const uint8_t*> (data);
    const int p15 = lastIndexOf (bytes, size, kSeparators[0]);
    const int p16 = lastIndexOf (bytes, size, kSeparators[1]);
    const int p17 = lastIndexOf (bytes, size, kSeparators[2]);
    const int p18 = lastIndexOf (bytes, size, kSeparators[3]);

    if (p15 > 0)
        settings.input = textBetween (bytes, 0, p15);

    // A text counts only between two separators that stand in order; a damaged file keeps the rest.
    if (p17 > 0 && p15 >= 0 && p15 < p16 && p16 < p17)
    {
        settings.output = textBetween (bytes, p15 + 1, p16);
        settings.reserved = textBetween (bytes, p16 + 1, p17);
    }

    if (p18 > 0 && p17 >= 0 && p17 < p18)
        if (const auto n = textBetween (bytes, p17 + 1, p18).getIntValue(); n != 0)
            settings.sysExBufferSize = n;
}

juce::MemoryBlock encodeLinks (const LinkChoices& choices)
{
    juce::String text;
    for (const auto& [name, choice] : choices)
        if (choice != OutputLink::Choice::automatic && name.isNotEmpty())
            text << OutputLink::textOf (choice) << "\t" << name << "\n";
    return juce::MemoryBlock (text.toRawUTF8(), text.getNumBytesAsUTF8());
}

LinkChoices decodeLinks (const void* data, size_t size)
{
    LinkChoices choices;
    if (data == nullptr)
        return choices;
    const auto text = juce::String::fromUTF8 (static_cast<const char*> (data), (int) size);
    for (const auto& line : juce::StringArray::fromLines (text))
    {
        const int tab = line.indexOfChar ('\t');
        if (tab < 0)
            continue;
        const auto choice = OutputLink::choiceOf (line.substring (0, tab));
        const auto name = line.substring (tab + 1);
        if (choice != OutputLink::Choice::automatic && name.isNotEmpty())
            choices[name] = choice;
    }
    return choices;
}
} // namespace PortsFile
