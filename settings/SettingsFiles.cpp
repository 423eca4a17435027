#include "settings/SettingsFiles.h"
#include "model/FactoryData.h"

namespace SettingsFiles
{
namespace
{
constexpr int kMarkerBytes = FactoryData::kMarkerBytes;
constexpr int kRecord = ProgramDump::kRecordBytes;

int read16 (const uint8_t* bytes, size_t size, size_t offset)
{
    return offset + 1 < size ? (bytes[offset] << 8) | bytes[offset + 1] : 0;
}

void write16 (uint8_t* bytes, size_t offset, int value)
{
    value = juce::jlimit (0, 0xFFFF, value);
    bytes[offset] = (uint8_t) (value / 256);
    bytes[offset + 1] = (uint8_t) (value % 256);
}
} // namespace

Folder::Folder() : root (juce::File::getSpecialLocation (juce::File::userApplicationDataDirectory)) {}

SettingsBlock freshSettings()
{
    SettingsBlock block {};
    block[0] = block[1] = block[2] = 255;
    block[3] = 100;
    return block;
}

SettingsBlock loadSettings (const juce::File& file)
{
    if (! file.existsAsFile())
    {
        const auto fresh = freshSettings();
        saveSettings (file, fresh);
        return fresh;
    }

    juce::MemoryBlock content;
    if (! file.loadFileAsData (content) || content.getSize() < (size_t) kSettingsBytes)
        return freshSettings();

    SettingsBlock block;
    std::copy_n (static_cast<const uint8_t*> (content.getData()), kSettingsBytes, block.begin());
    return block;
}

bool saveSettings (const juce::File& file, const SettingsBlock& block)
{
    return writeAtomically (file, block.data(), block.size());
}

juce::MemoryBlock encodeBankImages (const std::array<const Bank_Program*, kBankImages>& banks)
{
    juce::MemoryBlock block;
    block.append (FactoryData::kDataStart, (size_t) kMarkerBytes);
    for (const auto* bank : banks)
    {
        if (bank != nullptr)
            block.append (bank->slotBytes(), (size_t) Bank_Program::kBankBytes);
        else
            block.append (std::vector<uint8_t> ((size_t) Bank_Program::kBankBytes).data(),
                          (size_t) Bank_Program::kBankBytes);
    }
    block.append (FactoryData::kDataEnd, (size_t) kMarkerBytes);
    return block;
}

bool decodeBankImages (const void* data, size_t size, const std::array<Bank_Program*, kBankImages>& banks)
{
    if (data == nullptr || size < (size_t) kMinBankFileBytes)
        return false;

    const auto* bytes = static_cast<const uint8_t*> (data);
    for (int j = 0; j < kBankImages; ++j)
    {
        if (banks[(size_t) j] == nullptr)
            continue;

        const size_t start = (size_t) kMarkerBytes + (size_t) j * (size_t) Bank_Program::kBankBytes;
        const size_t available = size > start ? size - start : 0;
        const int wholeSlots = (int) juce::jmin ((size_t) Bank_Program::kSlots, available / (size_t) kRecord);

        // A cut file gives its whole programs; a program cut in half is not taken.
        for (int s = 0; s < wholeSlots; ++s)
        {
            Bank_Program::Record record;
            std::copy_n (bytes + start + (size_t) s * kRecord, kRecord, record.begin());
            banks[(size_t) j]->putSlot (s, record);
        }
    }
    return true;
}

juce::MemoryBlock encodeGeometry (const EditorGeometry& g)
{
    juce::MemoryBlock block ((size_t) kGeometryBytes, true);
    auto* bytes = static_cast<uint8_t*> (block.getData());
    write16 (bytes, 0, g.main.getX());
    write16 (bytes, 2, g.main.getY());
    write16 (bytes, 4, g.main.getWidth());
    write16 (bytes, 6, g.main.getHeight());
    write16 (bytes, 12, g.editor.getWidth());
    write16 (bytes, 14, g.editor.getHeight());
    write16 (bytes, 20, g.keyboard.getWidth());
    write16 (bytes, 22, g.keyboard.getHeight());
    write16 (bytes, 24, (int) (g.editorScale * 1000.0));
    write16 (bytes, 26, (int) (g.keyboardScale * 1000.0));
    return block;
}

std::optional<EditorGeometry> decodeGeometry (const void* data, size_t size)
{
    if (data == nullptr || size <= 2)
        return std::nullopt;

    const auto* b = static_cast<const uint8_t*> (data);
    EditorGeometry g;
    g.main = { read16 (b, size, 0), read16 (b, size, 2), read16 (b, size, 4), read16 (b, size, 6) };
    g.editor = { read16 (b, size, 8), read16 (b, size, 10), read16 (b, size, 12), read16 (b, size, 14) };
    g.keyboard = { read16 (b, size, 16), read16 (b, size, 18), read16 (b, size, 20), read16 (b, size, 22) };
    g.editorScale = read16 (b, size, 24) / 1000.0;
    g.keyboardScale = read16 (b, size, 26) / 1000.0;
    return g;
}
std::optional<EditorGeometry> loadGeometry (const juce::File& file)
{
    juce::MemoryBlock content;
    if (! file.loadFileAsData (content))
        return std::nullopt;
    return decodeGeometry (content.getData(), content.getSize());
}

bool saveGeometry (const juce::File& file, const EditorGeometry& geometry)
{
    return writeAtomically (file, encodeGeometry (geometry));
}
} // namespace SettingsFiles
