// Under a bare virtual display there is no window manager, and some of the window-manager atoms
// JUCE asks for when a window (a popup menu, a dialog) goes on the desktop do not exist. Xlib's
// default error handler ends the process on such an error; JUCE installs a forgiving one only for
// standalone apps. The GUI tests are not one, so they install their own before any test runs.
#include <X11/Xlib.h>

namespace
{
int ignoreXError (Display*, XErrorEvent*) { return 0; }

const bool installed = [] {
    XSetErrorHandler (ignoreXError);
    return true;
}();
} // namespace
