#pragma once

// On a Linux display without a window manager, JUCE's window set-up asks for window-manager atoms
// that do not exist and hands the missing atom (0) to XChangeProperty and XGetWindowProperty.
// Xlib's default error handler then ends the whole host process. JUCE guards against it only inside its own standalone
// apps; a plug-in's editor, menus and library window must not take the host down, so the editor installs a guard that
// swallows exactly that error and passes every other one to the handler it replaced.
namespace XErrorGuard
{
void install(); // once per process; does nothing where there is no X11
}
