#pragma once

#include "model/AtomicFile.h"
#include "model/Bank_Program.h"

#include <juce_graphics/juce_graphics.h>

#include <array>
#include <optional>

// The plug-in's own files, shared by every instance on the machine, below the user's application
// data folder: the settings block, the MIDI ports, an image of the eight instrument banks and the
// editor geometry in "PlugSettings", and the start-up program in "Library/Prophet 12".
//
// Every file is written to a temporary file beside it and renamed over the old one, so a crash or a
// full disk leaves the previous file as it was. Readers never read past what a file holds.
namespace SettingsFiles
{
static constexpr int kSettingsBytes = 400;
static constexpr int kMidiChannelByte = 6;
static constexpr int kSwitch7Byte = 7;
static constexpr int kFollowProgramChangeByte = 11;

static constexpr int kBankImages = 8;
static constexpr int kMinBankFileBytes = 1001;
static constexpr int kGeometryBytes = 100;

using SettingsBlock = std::array<uint8_t, kSettingsBytes>;

// Where the files live. The default is JUCE's userApplicationDataDirectory; tests give their own.
class Folder
{
public:
    Folder(); // the user's application data folder
    explicit Folder (juce::File applicationData) : root (std::move (applicationData)) {}

    const juce::File& getRoot() const noexcept { return root; }
    juce::File settingsFolder() const { return root.getChildFile ("PlugSettings"); }
    juce::File settingsFile() const { return settingsFolder().getChildFile ("ph12plugstV2.dat"); }
    juce::File portsFile() const { return settingsFolder().getChildFile ("pro12plports.dat"); }
    juce::File bankFile() const { return settingsFolder().getChildFile ("Ph12_data.dat"); }
    juce::File geometryFile() const { return settingsFolder().getChildFile ("pro12ltwh.dat"); }
    juce::File libraryFile() const { return settingsFolder().getChildFile ("p12Lib.p12l"); }
    juce::File startupProgramFile() const { return root.getChildFile ("Library/Prophet 12/preset.prop12patch"); }

private:
    juce::File root;
};

using ::writeAtomically;

// ---- Settings block "ph12plugstV2.dat": exactly 400 bytes.
SettingsBlock freshSettings();
// A missing file is created with the fresh block; a file shorter than 400 bytes gives the fresh
// block without being rewritten.
SettingsBlock loadSettings (const juce::File& file);
bool saveSettings (const juce::File& file, const SettingsBlock& block);

// ---- Bank images "Ph12_data.dat": "Proph12 Data>", banks 0..7 of 99 x 1024 bytes, "<Proph12 Data".
juce::MemoryBlock encodeBankImages (const std::array<const Bank_Program*, kBankImages>& banks);
// Below 1001 bytes nothing is taken and false comes back (the caller loads the factory banks).
// Otherwise every whole program the file holds is copied; slots it does not reach keep what
// `banks` already holds.
bool decodeBankImages (const void* data, size_t size, const std::array<Bank_Program*, kBankImages>& banks);

// ---- Editor geometry "pro12ltwh.dat": 16-bit big-endian values, 100 bytes.
struct EditorGeometry
{
    juce::Rectangle<int> main, editor, keyboard;
    double editorScale = 1.0, keyboardScale = 1.0;
};
juce::MemoryBlock encodeGeometry (const EditorGeometry& geometry);
// Nothing for a file of 0..2 bytes; values a short file does not reach read as 0.
std::optional<EditorGeometry> decodeGeometry (const void* data, size_t size);
std::optional<EditorGeometry> loadGeometry (const juce::File& file);
bool saveGeometry (const juce::File& file, const EditorGeometry& geometry);
} // namespace SettingsFiles
