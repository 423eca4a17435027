// ostrel-lib: the editor's library files on the command line. See LibCommand.h.
#include "tools/ostrel-lib/LibCommand.h"

#include <iostream>

int main (int argc, char* argv[])
{
    juce::StringArray args;
    for (int i = 1; i < argc; ++i)
        args.add (juce::String::fromUTF8 (argv[i]));

    juce::String out, err;
    const int status = runLibCommand (args, out, err);
    std::cout << out.toStdString();
    std::cerr << err.toStdString();
    return status;
}
