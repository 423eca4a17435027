// Under a bare virtual display there is no window manager, and some of the window-manager atoms
// JUCE asks for when a window (a popup menu, a dialog) goes on the desktop do not exist. Xlib's
// default error handler would end the process; the GUI tests rely on the same guard the editor
// installs in a host, so every test that opens a real window also proves the guard.
#include "plugin/XErrorGuard.h"

namespace
{
const bool installed = [] {
    XErrorGuard::install();
    return true;
}();
} // namespace
