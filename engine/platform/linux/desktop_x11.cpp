// The cursor and the focus on X11. With a window manager the active window
// is its business (EWMH); bare X (Xvfb) has only the core input focus.

#include "engine/platform/desktop.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include "engine/platform/linux/x11_connection.h"
#include "engine/platform/linux/x11_properties.h"

namespace velmor::platform {

namespace {

using linux_backend::PropertyItem;
using linux_backend::X11ErrorTrap;
using linux_backend::X11Session;

// A window manager is running and takes activation requests: it lists
// _NET_ACTIVE_WINDOW among the features it supports.
bool WmHandlesActivation(Display* dpy) {
  return linux_backend::WindowManagerRunning(dpy) &&
         linux_backend::PropertyHasAtom(dpy, DefaultRootWindow(dpy), "_NET_SUPPORTED",
                                        "_NET_ACTIVE_WINDOW");
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
