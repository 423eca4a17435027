#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <memory>
#include <optional>

// The file dialog behind every file command. The product shows the system's dialog through
// juce::FileChooser, asynchronously as a plug-in must; tests script the answers.
class FileDialogs
{
public:
    struct Request
    {
        bool save = false;
        juce::String title;
        juce::String patterns;   // joined with ";"
        juce::File startingFile; // save dialogs: the suggested name in its folder
    };
    using Answer = std::function<void (std::optional<juce::File>)>; // nothing when cancelled

    virtual ~FileDialogs() = default;
    virtual void choose (const Request& request, Answer answer) = 0;

    // A save dialog asks about the name the user typed; when the file that will be written has
    // another name (its extension appended afterwards) and exists, this asks again about that one.
    // True: replace it. The product asks in a window of its own, asynchronously.
    virtual void confirmReplace (const juce::File& file, std::function<void (bool replace)> answer);

    static std::shared_ptr<FileDialogs> createNative();
};
