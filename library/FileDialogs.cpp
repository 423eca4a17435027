#include "library/FileDialogs.h"

namespace
{
class NativeFileDialogs final : public FileDialogs, public std::enable_shared_from_this<NativeFileDialogs>
{
public:
    void choose (const Request& request, Answer answer) override
    {
        chooser = std::make_unique<juce::FileChooser> (request.title, request.startingFile, request.patterns);
        const int flags = request.save
                              ? juce::FileBrowserComponent::saveMode | juce::FileBrowserComponent::canSelectFiles |
                                    juce::FileBrowserComponent::warnAboutOverwriting
                              : juce::FileBrowserComponent::openMode | juce::FileBrowserComponent::canSelectFiles;

        // The chooser lives until its answer has been given.
        chooser->launchAsync (flags,
                              [self = shared_from_this(), answer = std::move (answer)] (const juce::FileChooser& fc) {
                                  const auto file = fc.getResult();
                                  answer (file == juce::File() ? std::nullopt : std::optional<juce::File> (file));
                              });
    }

private:
    std::unique_ptr<juce::FileChooser> chooser;
};
} // namespace

void FileDialogs::confirmReplace (const juce::File& file, std::function<void (bool)> answer)
{
    const auto options = juce::MessageBoxOptions()
                             .withIconType (juce::MessageBoxIconType::QuestionIcon)
                             .withTitle ("Replace File?")
                             .withMessage (file.getFileName() + " already exists in " +
                                           file.getParentDirectory().getFullPathName() + ". Replace it?")
                             .withButton ("Replace")
                             .withButton ("Cancel");
    juce::AlertWindow::showAsync (options, [answer = std::move (answer)] (int result) { answer (result == 1); });
}

std::shared_ptr<FileDialogs> FileDialogs::createNative() { return std::make_shared<NativeFileDialogs>(); }
