#include "engine/platform/linux/x11_properties.h"

#include <X11/Xatom.h>

#include <algorithm>

#include "engine/platform/linux/x11_connection.h"

namespace velmor::platform::linux_backend {

std::vector<unsigned long> PropertyItems(Display* dpy, Window w, const char* name, Atom type,
                                         long maxItems) {
  Atom prop = XInternAtom(dpy, name, True);
  if (prop == None || w == 0) return {};
  Atom actual = None;
  int format = 0;
  unsigned long n = 0, after = 0;
  unsigned char* raw = nullptr;
  X11ErrorTrap trap(dpy);
  int status = XGetWindowProperty(dpy, w, prop, 0, maxItems, False, type, &actual, &format, &n,
                                  &after, &raw);
  XPtr<unsigned char> data(raw);
  if (status != Success || trap.failed() || actual != type || format != 32 || !data) return {};
  const auto* items = reinterpret_cast<const unsigned long*>(data.get());
  // Filled element by element: GCC 12's -O2 range construction here trips a
  // false -Wfree-nonheap-object.
  std::vector<unsigned long> out(n);
  for (unsigned long i = 0; i < n; ++i) out[i] = items[i];
  return out;
}

unsigned long PropertyItem(Display* dpy, Window w, const char* name, Atom type) {
  std::vector<unsigned long> items = PropertyItems(dpy, w, name, type, 1);
  return items.empty() ? 0 : items.front();
}

std::string PropertyText(Display* dpy, Window w, const char* name) {
  Atom prop = XInternAtom(dpy, name, True);
  if (prop == None || w == 0) return {};
  Atom actual = None;
  int format = 0;
  unsigned long n = 0, after = 0;
  unsigned char* raw = nullptr;
  X11ErrorTrap trap(dpy);
  int status = XGetWindowProperty(dpy, w, prop, 0, 1024, False, AnyPropertyType, &actual, &format,
                                  &n, &after, &raw);
  XPtr<unsigned char> data(raw);
  if (status != Success || trap.failed() || format != 8 || !data) return {};
  return std::string(reinterpret_cast<const char*>(data.get()), n);
}

bool PropertyHasAtom(Display* dpy, Window w, const char* name, const char* atom) {
  Atom wanted = XInternAtom(dpy, atom, True);
  if (wanted == None) return false;
  std::vector<unsigned long> atoms = PropertyItems(dpy, w, name, XA_ATOM);
  return std::find(atoms.begin(), atoms.end(), wanted) != atoms.end();
}

bool WindowManagerRunning(Display* dpy) {
  Window check = PropertyItem(dpy, DefaultRootWindow(dpy), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW);
  return check != 0 && PropertyItem(dpy, check, "_NET_SUPPORTING_WM_CHECK", XA_WINDOW) == check;
}

}  // namespace velmor::platform::linux_backend
