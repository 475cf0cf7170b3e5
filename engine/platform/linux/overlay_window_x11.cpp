// The overlay's windows on X11: override-redirect windows of a 32-bit ARGB
// visual, so no window manager frames, places or focuses them. The picture
// is the window's background pixmap: the server repaints it on every
// exposure by itself, and the engine never has to answer Expose.
//
// Alpha is only blended when a compositor runs; without one the pixels are
// still the window's contents, transparent parts showing black.

#include "engine/platform/overlay_window.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/extensions/Xfixes.h>
#include <X11/extensions/Xrandr.h>
#include <X11/extensions/shapeconst.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <thread>

#include "engine/platform/linux/x11_connection.h"
#include "engine/platform/linux/x11_properties.h"

extern char** environ;

namespace velmor::platform {

namespace {

using linux_backend::PropertyHasAtom;
using linux_backend::PropertyItem;
using linux_backend::PropertyItems;
using linux_backend::PropertyText;
using linux_backend::WindowManagerRunning;
using linux_backend::X11ErrorTrap;
using linux_backend::X11Session;
using linux_backend::XPtr;

struct OverlayWin {
  Window window = 0;
  Colormap colormap = 0;
  Pixmap picture = 0;
  int pictureWidth = 0, pictureHeight = 0;
  Point topLeft;
  bool shown = false;
};

// The toast and the held-keys bar are two windows of one class.
std::array<OverlayWin, 4> g_windows;

OverlayWin& Slot(OverlayKind kind) {
  return g_windows[static_cast<std::size_t>(kind)];
}

const char* ClassName(OverlayKind kind) {
  switch (kind) {
    case OverlayKind::kWheel:
      return "RadialOverlayWheel";
    case OverlayKind::kLauncher:
      return "RadialOverlayLauncher";
    default:
      return "RadialOverlayToast";
  }
}

bool MouseTransparent(OverlayKind kind) {
  return kind == OverlayKind::kToast || kind == OverlayKind::kHeldKeysBar;
}

Atom AtomOf(Display* dpy, const char* name) {
  return XInternAtom(dpy, name, False);
}

void SetAtomProperty(Display* dpy, Window w, const char* name, const char* value) {
  Atom a = AtomOf(dpy, value);
  XChangeProperty(dpy, w, AtomOf(dpy, name), XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&a), 1);
}

// Compositors and pagers read these even on override-redirect windows: the
// type decides shadows and stacking, the state keeps the window above.
void Describe(Display* dpy, Window w, OverlayKind kind) {
  std::string cls = ClassName(kind);
  // WM_CLASS is instance and class, each NUL-terminated.
  std::string wmClass = cls + '\0' + cls + '\0';
  XChangeProperty(dpy, w, XA_WM_CLASS, XA_STRING, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(wmClass.data()),
                  static_cast<int>(wmClass.size()));
  XStoreName(dpy, w, cls.c_str());
  SetAtomProperty(
      dpy, w, "_NET_WM_WINDOW_TYPE",
      MouseTransparent(kind) ? "_NET_WM_WINDOW_TYPE_NOTIFICATION" : "_NET_WM_WINDOW_TYPE_DOCK");
  SetAtomProperty(dpy, w, "_NET_WM_STATE", "_NET_WM_STATE_ABOVE");
  long pid = static_cast<long>(getpid());
  XChangeProperty(dpy, w, AtomOf(dpy, "_NET_WM_PID"), XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&pid), 1);
  XWMHints hints{};
  hints.flags = InputHint;
  hints.input = False;
  XSetWMHints(dpy, w, &hints);
}

// Clicks on the toast and the bar reach the window below, as the Win32
// WS_EX_TRANSPARENT windows let them.
void DropInputShape(Display* dpy, Window w) {
  int event = 0, error = 0;
  if (!XFixesQueryExtension(dpy, &event, &error)) return;
  XserverRegion empty = XFixesCreateRegion(dpy, nullptr, 0);
  XFixesSetWindowShapeRegion(dpy, w, ShapeInput, 0, 0, empty);
  XFixesDestroyRegion(dpy, empty);
}

bool Create(Display* dpy, OverlayKind kind) {
  OverlayWin& s = Slot(kind);
  if (s.window) return true;
  XVisualInfo vi{};
  if (!XMatchVisualInfo(dpy, DefaultScreen(dpy), 32, TrueColor, &vi)) return false;
  Window root = DefaultRootWindow(dpy);
  X11ErrorTrap trap(dpy);
  Colormap cmap = XCreateColormap(dpy, root, vi.visual, AllocNone);
  XSetWindowAttributes a{};
  a.override_redirect = True;
  a.colormap = cmap;
  // A visual other than the parent's needs its own colormap and border pixel,
  // or the server answers BadMatch.
  a.border_pixel = 0;
  a.background_pixel = 0;
  a.cursor = kind == OverlayKind::kLauncher ? XCreateFontCursor(dpy, XC_hand2)
                                            : XCreateFontCursor(dpy, XC_left_ptr);
  Window w =
      XCreateWindow(dpy, root, 0, 0, 1, 1, 0, vi.depth, InputOutput, vi.visual,
                    CWOverrideRedirect | CWColormap | CWBorderPixel | CWBackPixel | CWCursor, &a);
  XFreeCursor(dpy, a.cursor);
  if (trap.failed() || !w) {
    XFreeColormap(dpy, cmap);
    return false;
  }
  Describe(dpy, w, kind);
  if (MouseTransparent(kind)) DropInputShape(dpy, w);
  s.window = w;
  s.colormap = cmap;
  return true;
}

// The picture goes into the window's background pixmap: the server draws
// it on every exposure.
void Paint(Display* dpy, OverlayWin& s, const ArgbImage& image) {
  if (image.width <= 0 || image.height <= 0) return;
  if (!s.picture || s.pictureWidth != image.width || s.pictureHeight != image.height) {
    if (s.picture) XFreePixmap(dpy, s.picture);
    s.picture = XCreatePixmap(dpy, s.window, static_cast<unsigned>(image.width),
                              static_cast<unsigned>(image.height), 32);
    s.pictureWidth = image.width;
    s.pictureHeight = image.height;
  }
  XVisualInfo vi{};
  if (!XMatchVisualInfo(dpy, DefaultScreen(dpy), 32, TrueColor, &vi)) return;
  // Xlib takes the data as it is and frees it with the image: the pixels
  // stay the caller's and the pointer is taken back before destroying it.
  XImage* img = XCreateImage(
      dpy, vi.visual, 32, ZPixmap, 0,
      reinterpret_cast<char*>(const_cast<std::uint32_t*>(image.pixels.data())),
      static_cast<unsigned>(image.width), static_cast<unsigned>(image.height), 32, image.width * 4);
  if (!img) return;
  // Native 0xAARRGGBB words are what a depth-32 TrueColor visual holds;
  // saying which byte order they are in lets Xlib swap for a server of the
  // other one.
  img->byte_order = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;
  GC gc = XCreateGC(dpy, s.picture, 0, nullptr);
  XPutImage(dpy, s.picture, gc, img, 0, 0, 0, 0, static_cast<unsigned>(image.width),
            static_cast<unsigned>(image.height));
  XFreeGC(dpy, gc);
  img->data = nullptr;
  XDestroyImage(img);
  XSetWindowBackgroundPixmap(dpy, s.window, s.picture);
}

// ---- monitors ----

std::vector<Rect> Monitors(Display* dpy, int* primary) {
  std::vector<Rect> out;
  *primary = 0;
  int event = 0, error = 0, major = 0, minor = 0;
  if (XRRQueryExtension(dpy, &event, &error) && XRRQueryVersion(dpy, &major, &minor) &&
      (major > 1 || (major == 1 && minor >= 5))) {
    int n = 0;
    XRRMonitorInfo* info = XRRGetMonitors(dpy, DefaultRootWindow(dpy), True, &n);
    for (int i = 0; i < n; ++i) {
      if (info[i].primary) *primary = static_cast<int>(out.size());
      out.push_back({info[i].x, info[i].y, info[i].x + info[i].width, info[i].y + info[i].height});
    }
    if (info) XRRFreeMonitors(info);
  }
  if (out.empty()) {
    int screen = DefaultScreen(dpy);
    out.push_back({0, 0, DisplayWidth(dpy, screen), DisplayHeight(dpy, screen)});
  }
  return out;
}

long DistanceSquared(const Rect& r, Point p) {
  long dx = p.x < r.left ? r.left - p.x : (p.x >= r.right ? p.x - r.right + 1 : 0);
  long dy = p.y < r.top ? r.top - p.y : (p.y >= r.bottom ? p.y - r.bottom + 1 : 0);
  return dx * dx + dy * dy;
}

Rect Nearest(const std::vector<Rect>& monitors, Point p) {
  return *std::min_element(monitors.begin(), monitors.end(), [p](const Rect& a, const Rect& b) {
    return DistanceSquared(a, p) < DistanceSquared(b, p);
  });
}

long Overlap(const Rect& a, const Rect& b) {
  long w = std::min(a.right, b.right) - std::max(a.left, b.left);
  long h = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
  return w > 0 && h > 0 ? w * h : 0;
}

bool RootRect(Display* dpy, Window w, Rect* out) {
  X11ErrorTrap trap(dpy);
  XWindowAttributes attrs{};
  if (!XGetWindowAttributes(dpy, w, &attrs)) return false;
  int x = 0, y = 0;
  Window child = 0;
  if (!XTranslateCoordinates(dpy, w, DefaultRootWindow(dpy), 0, 0, &x, &y, &child)) return false;
  if (trap.failed()) return false;
  *out = {x, y, x + attrs.width, y + attrs.height};
  return true;
}

// ---- other programs' windows ----

bool IsIconic(Display* dpy, Window w) {
  Atom wmState = XInternAtom(dpy, "WM_STATE", True);
  if (wmState != None && PropertyItem(dpy, w, "WM_STATE", wmState) == IconicState) return true;
  return PropertyHasAtom(dpy, w, "_NET_WM_STATE", "_NET_WM_STATE_HIDDEN");
}

bool HasTitle(Display* dpy, Window w) {
  return !PropertyText(dpy, w, "_NET_WM_NAME").empty() || !PropertyText(dpy, w, "WM_NAME").empty();
}

// The X counterparts of tool windows, the taskbar and the desktop.
bool OfExcludedType(Display* dpy, Window w) {
  static constexpr const char* kExcluded[] = {
      "_NET_WM_WINDOW_TYPE_DESKTOP",     "_NET_WM_WINDOW_TYPE_DOCK",
      "_NET_WM_WINDOW_TYPE_TOOLBAR",     "_NET_WM_WINDOW_TYPE_MENU",
      "_NET_WM_WINDOW_TYPE_UTILITY",     "_NET_WM_WINDOW_TYPE_SPLASH",
      "_NET_WM_WINDOW_TYPE_NOTIFICATION"};
  for (const char* type : kExcluded)
    if (PropertyHasAtom(dpy, w, "_NET_WM_WINDOW_TYPE", type)) return true;
  return false;
}

bool Minimisable(Display* dpy, Window w) {
  XWindowAttributes attrs{};
  {
    X11ErrorTrap trap(dpy);
    if (!XGetWindowAttributes(dpy, w, &attrs) || trap.failed()) return false;
  }
  if (attrs.c_class != InputOutput || attrs.override_redirect || attrs.map_state != IsViewable)
    return false;
  Window owner = 0;
  {
    X11ErrorTrap trap(dpy);
    if (XGetTransientForHint(dpy, w, &owner) && owner != 0) return false;
    if (trap.failed()) return false;
  }
  if (IsIconic(dpy, w) || !HasTitle(dpy, w) || OfExcludedType(dpy, w)) return false;
  return PropertyItem(dpy, w, "_NET_WM_PID", XA_CARDINAL) != static_cast<unsigned long>(getpid());
}

bool OnPath(const std::string& name, std::string* found) {
  const char* path = std::getenv("PATH");
  if (!path) return false;
  std::string_view rest = path;
  for (;;) {
    std::size_t colon = rest.find(':');
    std::string dir(rest.substr(0, colon));
    if (dir.empty()) dir = ".";  // an empty entry is the current directory
    std::string candidate = dir + "/" + name;
    struct stat st {};
    if (::stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
        ::access(candidate.c_str(), X_OK) == 0) {
      *found = candidate;
      return true;
    }
    if (colon == std::string_view::npos) return false;
    rest = rest.substr(colon + 1);
  }
}

}  // namespace

bool CreateOverlayWindow(OverlayKind kind) {
  X11Session x;
  if (!x) return false;
  bool ok = Create(x.display(), kind);
  XFlush(x.display());
  return ok;
}

void ShowOverlay(OverlayKind kind, Point topLeft, const ArgbImage& image) {
  X11Session x;
  if (!x) return;
  Display* dpy = x.display();
  if (!Create(dpy, kind)) return;
  OverlayWin& s = Slot(kind);
  Paint(dpy, s, image);
  XMoveResizeWindow(dpy, s.window, topLeft.x, topLeft.y,
                    static_cast<unsigned>(std::max(image.width, 1)),
                    static_cast<unsigned>(std::max(image.height, 1)));
  s.topLeft = topLeft;
  if (s.shown) {
    XClearWindow(dpy, s.window);
    XRaiseWindow(dpy, s.window);
  } else {
    XMapRaised(dpy, s.window);
    s.shown = true;
  }
  XFlush(dpy);
}

void MoveOverlay(OverlayKind kind, Point topLeft) {
  X11Session x;
  OverlayWin& s = Slot(kind);
  if (!x || !s.window) return;
  XMoveWindow(x.display(), s.window, topLeft.x, topLeft.y);
  s.topLeft = topLeft;
  XFlush(x.display());
}

void HideOverlay(OverlayKind kind) {
  X11Session x;
  OverlayWin& s = Slot(kind);
  if (!x || !s.window || !s.shown) return;
  XUnmapWindow(x.display(), s.window);
  s.shown = false;
  XFlush(x.display());
}

bool OverlayShown(OverlayKind kind) {
  return Slot(kind).shown;
}

WindowId OverlayWindow(OverlayKind kind) {
  return Slot(kind).window;
}

void TakeFocusForWheel() {
  // An override-redirect window can hold the X input focus like any other
  // viewable window; a manager then sees its client lose the focus, which
  // is what makes a game behind notice, as on Windows. Nothing in the wheel
  // reads keys: the toggle chord is a grab on the root and works anywhere.
  X11Session x;
  OverlayWin& s = Slot(OverlayKind::kWheel);
  if (!x || !s.window || !s.shown) return;
  X11ErrorTrap trap(x.display());
  XSetInputFocus(x.display(), s.window, RevertToPointerRoot, CurrentTime);
  // Refused while the server has not mapped it yet; the wheel just stays
  // without the focus then.
  trap.failed();
}

Rect MonitorAt(Point p) {
  X11Session x;
  if (!x) return {};
  int primary = 0;
  return Nearest(Monitors(x.display(), &primary), p);
}

Rect MonitorOfWindow(WindowId w) {
  X11Session x;
  if (!x) return {};
  int primary = 0;
  std::vector<Rect> monitors = Monitors(x.display(), &primary);
  Rect r;
  if (w == 0 || !RootRect(x.display(), static_cast<Window>(w), &r))
    return monitors[static_cast<std::size_t>(primary)];
  // Windows' MonitorFromWindow: the monitor with the largest share of the
  // window, the nearest one when it is on none.
  long best = 0;
  const Rect* pick = nullptr;
  for (const Rect& m : monitors) {
    if (long o = Overlap(m, r); o > best) {
      best = o;
      pick = &m;
    }
  }
  return pick ? *pick : Nearest(monitors, {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

Rect PrimaryMonitor() {
  X11Session x;
  if (!x) return {};
  int primary = 0;
  return Monitors(x.display(), &primary)[static_cast<std::size_t>(primary)];
}

Rect VirtualScreen() {
  X11Session x;
  if (!x) return {};
  int primary = 0;
  std::vector<Rect> monitors = Monitors(x.display(), &primary);
  Rect box = monitors.front();
  for (const Rect& m : monitors) {
    box.left = std::min(box.left, m.left);
    box.top = std::min(box.top, m.top);
    box.right = std::max(box.right, m.right);
    box.bottom = std::max(box.bottom, m.bottom);
  }
  return box;
}

bool FullScreenProgramRunning() {
  WindowId active = ForegroundWindow();
  if (active == 0) return false;
  X11Session x;
  if (!x) return false;
  Display* dpy = x.display();
  // The core focus may sit on a child of the program's top-level window,
  // which is the one that carries the state.
  Window w = static_cast<Window>(active);
  Window root = DefaultRootWindow(dpy);
  while (w != 0 && w != root) {
    if (PropertyHasAtom(dpy, w, "_NET_WM_STATE", "_NET_WM_STATE_FULLSCREEN")) return true;
    Window r = 0, parent = 0, *children = nullptr;
    unsigned n = 0;
    X11ErrorTrap trap(dpy);
    Status ok = XQueryTree(dpy, w, &r, &parent, &children, &n);
    XPtr<Window> freeChildren(children);
    if (!ok || trap.failed()) return false;
    w = parent;
  }
  return false;
}

std::vector<WindowId> MinimisableWindows() {
  X11Session x;
  if (!x) return {};
  Display* dpy = x.display();
  Window root = DefaultRootWindow(dpy);
  std::vector<unsigned long> candidates;
  if (WindowManagerRunning(dpy)) {
    // Bottom to top; EnumWindows goes top to bottom.
    candidates = PropertyItems(dpy, root, "_NET_CLIENT_LIST_STACKING", XA_WINDOW);
    if (candidates.empty()) candidates = PropertyItems(dpy, root, "_NET_CLIENT_LIST", XA_WINDOW);
  }
  if (candidates.empty()) {
    // No manager: the root's children are the programs' own windows.
    Window r = 0, parent = 0, *children = nullptr;
    unsigned n = 0;
    if (XQueryTree(dpy, root, &r, &parent, &children, &n))
      candidates.assign(children, children + n);
    XPtr<Window> freeChildren(children);
  }
  std::vector<WindowId> out;
  for (auto it = candidates.rbegin(); it != candidates.rend(); ++it)
    if (Minimisable(dpy, static_cast<Window>(*it))) out.push_back(*it);
  return out;
}

void MinimiseWindow(WindowId id) {
  X11Session x;
  if (!x) return;
  Display* dpy = x.display();
  auto w = static_cast<Window>(id);
  X11ErrorTrap trap(dpy);
  if (WindowManagerRunning(dpy)) {
    // Asks the manager (ICCCM WM_CHANGE_STATE); it iconifies without
    // activating anything else.
    XIconifyWindow(dpy, w, DefaultScreen(dpy));
  } else {
    // Nobody would answer that request on a bare server: do what a manager
    // does, unmap the window and mark it iconic, so that it can be found
    // and restored again.
    Atom wmState = AtomOf(dpy, "WM_STATE");
    long state[2] = {IconicState, None};
    XChangeProperty(dpy, w, wmState, wmState, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(state), 2);
    XUnmapWindow(dpy, w);
  }
  trap.failed();
}

void RestoreWindow(WindowId id) {
  X11Session x;
  if (!x) return;
  Display* dpy = x.display();
  auto w = static_cast<Window>(id);
  X11ErrorTrap trap(dpy);
  if (!WindowManagerRunning(dpy)) {
    Atom wmState = AtomOf(dpy, "WM_STATE");
    long state[2] = {NormalState, None};
    XChangeProperty(dpy, w, wmState, wmState, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(state), 2);
  }
  // Mapping an iconic window is how ICCCM restores it; the focus stays
  // where it is.
  XMapWindow(dpy, w);
  trap.failed();
}

bool WindowMinimised(WindowId w) {
  X11Session x;
  return x && IsIconic(x.display(), static_cast<Window>(w));
}

std::uint32_t WindowProcess(WindowId w) {
  X11Session x;
  if (!x) return 0;
  return static_cast<std::uint32_t>(
      PropertyItem(x.display(), static_cast<Window>(w), "_NET_WM_PID", XA_CARDINAL));
}

bool OpenOnScreenKeyboard() {
  static constexpr const char* kKeyboards[] = {"onboard", "florence", "matchbox-keyboard",
                                               "squeekboard", "xvkbd"};
  std::string path;
  const char* name = nullptr;
  for (const char* k : kKeyboards) {
    if (OnPath(k, &path)) {
      name = k;
      break;
    }
  }
  if (!name) return false;
  // Its own session, so that it outlives the engine and no terminal signal
  // of ours reaches it.
  posix_spawnattr_t attr;
  if (posix_spawnattr_init(&attr) != 0) return false;
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID);
  char* argv[] = {const_cast<char*>(name), nullptr};
  pid_t pid = 0;
  int rc = posix_spawn(&pid, path.c_str(), nullptr, &attr, argv, environ);
  posix_spawnattr_destroy(&attr);
  if (rc != 0) return false;
  // Reaped when it exits, which may be long after; it stays our child.
  std::thread([pid] { ::waitpid(pid, nullptr, 0); }).detach();
  return true;
}

}  // namespace velmor::platform
