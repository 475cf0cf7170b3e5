// The cursor and the focus on X11. With a window manager the active window
// is its business (EWMH); bare X (Xvfb) has only the core input focus.

#include "engine/platform/desktop.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include "engine/platform/linux/x11_connection.h"

namespace velmor::platform {

namespace {

using linux_backend::X11ErrorTrap;
using linux_backend::X11Session;
using linux_backend::XPtr;

// One 32-bit item of a window property, or 0.
unsigned long PropertyItem(Display* dpy, Window w, const char* name, Atom type) {
  Atom prop = XInternAtom(dpy, name, True);
  if (prop == None) return 0;
  Atom actual = None;
  int format = 0;
  unsigned long n = 0, after = 0;
  unsigned char* raw = nullptr;
  X11ErrorTrap trap(dpy);
  int status =
      XGetWindowProperty(dpy, w, prop, 0, 1, False, type, &actual, &format, &n, &after, &raw);
  XPtr<unsigned char> data(raw);
  if (status != Success || trap.failed() || actual != type || format != 32 || n < 1) return 0;
  // Xlib hands 32-bit items out as longs.
  return *reinterpret_cast<unsigned long*>(data.get());
}

// A window manager is running and takes activation requests: its check
// window names itself (a manager that died leaves the root's entry behind),
// and it lists _NET_ACTIVE_WINDOW among the features it supports.
bool WmHandlesActivation(Display* dpy) {
  Window root = DefaultRootWindow(dpy);
  Window check = PropertyItem(dpy, root, "_NET_SUPPORTING_WM_CHECK", XA_WINDOW);
  if (check == 0 || PropertyItem(dpy, check, "_NET_SUPPORTING_WM_CHECK", XA_WINDOW) != check)
    return false;
  Atom supported = XInternAtom(dpy, "_NET_SUPPORTED", True);
  Atom active = XInternAtom(dpy, "_NET_ACTIVE_WINDOW", True);
  if (supported == None || active == None) return false;
  Atom actual = None;
  int format = 0;
  unsigned long n = 0, after = 0;
  unsigned char* raw = nullptr;
  if (XGetWindowProperty(dpy, root, supported, 0, 4096, False, XA_ATOM, &actual, &format, &n,
                         &after, &raw) != Success)
    return false;
  XPtr<unsigned char> data(raw);
  if (actual != XA_ATOM || format != 32) return false;
  const auto* atoms = reinterpret_cast<const unsigned long*>(data.get());
  for (unsigned long i = 0; i < n; ++i)
    if (atoms[i] == active) return true;
  return false;
}

bool Exists(Display* dpy, Window w) {
  if (w == 0) return false;
  X11ErrorTrap trap(dpy);
  XWindowAttributes attrs;
  Status ok = XGetWindowAttributes(dpy, w, &attrs);
  return ok != 0 && !trap.failed();
}

}  // namespace

Point CursorPos() {
  X11Session x;
  if (!x) return {};
  Display* dpy = x.display();
  Window root = 0, child = 0;
  int rx = 0, ry = 0, wx = 0, wy = 0;
  unsigned mask = 0;
  if (!XQueryPointer(dpy, DefaultRootWindow(dpy), &root, &child, &rx, &ry, &wx, &wy, &mask))
    return {};
  return {rx, ry};
}

void SetCursorPos(Point p) {
  X11Session x;
  if (!x) return;
  Display* dpy = x.display();
  XWarpPointer(dpy, None, DefaultRootWindow(dpy), 0, 0, 0, 0, p.x, p.y);
  XFlush(dpy);
}

WindowId ForegroundWindow() {
  X11Session x;
  if (!x) return 0;
  Display* dpy = x.display();
  if (WmHandlesActivation(dpy)) {
    if (Window active = PropertyItem(dpy, DefaultRootWindow(dpy), "_NET_ACTIVE_WINDOW", XA_WINDOW))
      return active;
  }
  Window focus = None;
  int revert = 0;
  XGetInputFocus(dpy, &focus, &revert);
  // PointerRoot: keys go wherever the pointer is, so no window is in front.
  if (focus == None || focus == PointerRoot) return 0;
  return focus;
}

bool WindowExists(WindowId w) {
  X11Session x;
  return x && Exists(x.display(), static_cast<Window>(w));
}

void BringToForeground(WindowId id) {
  X11Session x;
  if (!x) return;
  Display* dpy = x.display();
  auto w = static_cast<Window>(id);
  if (!Exists(dpy, w)) return;
  Window root = DefaultRootWindow(dpy);
  if (WmHandlesActivation(dpy)) {
    // Source 2 (a pager): the request comes from the user's own tool, which
    // managers honour without their focus-stealing checks.
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = w;
    ev.xclient.message_type = XInternAtom(dpy, "_NET_ACTIVE_WINDOW", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = 2;
    ev.xclient.data.l[1] = CurrentTime;
    ev.xclient.data.l[2] =
        static_cast<long>(PropertyItem(dpy, root, "_NET_ACTIVE_WINDOW", XA_WINDOW));
    XSendEvent(dpy, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &ev);
    XFlush(dpy);
    return;
  }
  // No manager to ask: raise and focus it ourselves. A window that is not
  // viewable cannot take the focus; the trap swallows that refusal.
  X11ErrorTrap trap(dpy);
  XRaiseWindow(dpy, w);
  XSetInputFocus(dpy, w, RevertToParent, CurrentTime);
  trap.failed();
}

}  // namespace velmor::platform
