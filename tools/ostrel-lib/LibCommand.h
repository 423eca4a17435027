#pragma once

#include <juce_core/juce_core.h>

// The command-line companion: lists the programs in the product's files and converts between them.
//
//   ostrel-lib list FILE...
//   ostrel-lib convert IN OUT
//
// `args` are the words after the program's name. What the user should read goes to `out`, what went
// wrong to `err`. Returns the exit status: 0 only when everything asked for was done.
int runLibCommand (const juce::StringArray& args, juce::String& out, juce::String& err);
