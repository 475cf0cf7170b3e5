#pragma once

// Reading window properties of other clients, whose windows may go away at
// any moment. Used under an X11Session.

#include <X11/Xlib.h>

#include <string>
#include <vector>

namespace velmor::platform::linux_backend {

// The 32-bit items of a property of the given type (Xlib hands them out as
// longs); empty when the property is missing, of another type or the window
// is gone.
std::vector<unsigned long> PropertyItems(Display* dpy, Window w, const char* name, Atom type,
                                         long maxItems = 4096);
// The first item, or 0.
unsigned long PropertyItem(Display* dpy, Window w, const char* name, Atom type);
// An 8-bit text property (STRING or UTF8_STRING), "" when missing.
std::string PropertyText(Display* dpy, Window w, const char* name);
// Whether an atom list property holds the named atom.
bool PropertyHasAtom(Display* dpy, Window w, const char* name, const char* atom);

// A window manager is running: its check window names itself (a manager
// that died leaves the root's entry behind).
bool WindowManagerRunning(Display* dpy);

}  // namespace velmor::platform::linux_backend
