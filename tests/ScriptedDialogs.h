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
    std::deque<std::optional<juce::File>> answers;
    std::vector<Request> requests;
};
