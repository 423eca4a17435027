#include "plugin/XErrorGuard.h"

#include <juce_core/juce_core.h>

#if JUCE_LINUX || JUCE_BSD
#include <X11/Xlib.h>
#include <X11/Xproto.h>

namespace
{
XErrorHandler previous = nullptr;

// The missing atom is 0; JUCE both reads and writes window properties with it.
bool isMissingWindowManagerAtom (const XErrorEvent& event)
{
    return event.error_code == BadAtom && event.resourceid == 0 &&
           (event.request_code == X_ChangeProperty || event.request_code == X_GetProperty ||
            event.request_code == X_DeleteProperty);
}

int guard (Display* display, XErrorEvent* event)
{
    if (event != nullptr && isMissingWindowManagerAtom (*event))
        return 0;
    return previous != nullptr ? previous (display, event) : 0;
}
} // namespace

void XErrorGuard::install()
{
    static const bool installed = [] {
        previous = XSetErrorHandler (guard);
        return true;
    }();
    juce::ignoreUnused (installed);
}
#else
void XErrorGuard::install() {}
#endif
