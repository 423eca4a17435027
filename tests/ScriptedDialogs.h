#pragma once

#include "library/FileDialogs.h"

#include <deque>
#include <optional>
#include <vector>

// Answers file dialogs from a script (a file, or a cancel, in order) and records what was asked.
struct ScriptedDialogs : FileDialogs
{
    void choose (const Request& request, Answer answer) override
    {
        requests.push_back (request);
        auto next = answers.empty() ? std::optional<juce::File>() : answers.front();
        if (! answers.empty())
            answers.pop_front();
        answer (next);
    }
    void confirmReplace (const juce::File& file, std::function<void (bool)> answer) override
    {
        replaceQuestions.push_back (file);
        const bool replace = ! replaceAnswers.empty() && replaceAnswers.front();
        if (! replaceAnswers.empty())
            replaceAnswers.pop_front();
        answer (replace);
    }
    std::deque<std::optional<juce::File>> answers;
    std::vector<Request> requests;
    // Answers to "replace the existing file?", in order; none left means "no".
    std::deque<bool> replaceAnswers;
    std::vector<juce::File> replaceQuestions;
};
