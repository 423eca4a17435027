#pragma once

#include <juce_core/juce_core.h>

// Replaces `file` by `data` through a temporary file in the same folder that is renamed over it, so
// a crash or a full disk leaves the previous file as it was. Missing folders are created. False when
// anything fails; the old file is then untouched and no temporary file is left behind.
bool writeAtomically (const juce::File& file, const void* data, size_t size);
bool writeAtomically (const juce::File& file, const juce::MemoryBlock& block);
// The same, with the reason when it fails, in words the user can be shown.
juce::Result writeAtomicallyWithReason (const juce::File& file, const void* data, size_t size);
