#include "model/AtomicFile.h"

juce::Result writeAtomicallyWithReason (const juce::File& file, const void* data, size_t size)
{
    if (file == juce::File())
        return juce::Result::fail ("no file was named");
    if (file.isDirectory())
        return juce::Result::fail ("a folder has that name");
    if (const auto folder = file.getParentDirectory().createDirectory(); folder.failed())
        return juce::Result::fail ("its folder could not be created (" + folder.getErrorMessage() + ")");

    juce::TemporaryFile temp (file, juce::TemporaryFile::useHiddenFile);
    {
        juce::FileOutputStream out (temp.getFile());
        if (! out.openedOk())
            return juce::Result::fail (out.getStatus().getErrorMessage().isNotEmpty()
                                           ? out.getStatus().getErrorMessage()
                                           : juce::String ("the file could not be created"));
        const bool written = out.write (data, size);
        out.flush();
        if (! written || out.getStatus().failed())
            return juce::Result::fail (out.getStatus().getErrorMessage().isNotEmpty()
                                           ? out.getStatus().getErrorMessage()
                                           : juce::String ("not every byte could be written"));
    }
    if (temp.getFile().getSize() != (juce::int64) size)
        return juce::Result::fail ("not every byte could be written (is the disk full?)");
    if (! temp.overwriteTargetFileWithTemporary())
        return juce::Result::fail ("the old file could not be replaced");
    return juce::Result::ok();
}

bool writeAtomically (const juce::File& file, const void* data, size_t size)
{
    return writeAtomicallyWithReason (file, data, size).wasOk();
}

bool writeAtomically (const juce::File& file, const juce::MemoryBlock& block)
{
    return writeAtomically (file, block.getData(), block.getSize());
}
