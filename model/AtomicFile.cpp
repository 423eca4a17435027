#include "model/AtomicFile.h"

bool writeAtomically (const juce::File& file, const void* data, size_t size)
{
    if (! file.getParentDirectory().createDirectory())
        return false;

    juce::TemporaryFile temp (file, juce::TemporaryFile::useHiddenFile);
    {
        juce::FileOutputStream out (temp.getFile());
        if (! out.openedOk() || ! out.write (data, size))
            return false;
        out.flush();
        if (out.getStatus().failed())
            return false;
    }
    return temp.getFile().getSize() == (juce::int64) size && temp.overwriteTargetFileWithTemporary();
}

bool writeAtomically (const juce::File& file, const juce::MemoryBlock& block)
{
    return writeAtomically (file, block.getData(), block.getSize());
}
