// velmor_wheel_driver: plays the user for the X11 end-to-end test of the
// wheel overlay, one action per run.
//
//   velmor_wheel_driver key KEYSYM            press and release a key (XTest)
//   velmor_wheel_driver move DX DY            relative pointer motion (XTest)
//   velmor_wheel_driver click BUTTON          press and release a button (XTest)
//   velmor_wheel_driver wait shown|hidden MS [PNG]
//                                             wait for the wheel window's state;
//                                             shown: print its geometry and
//                                             save the screen under it as PNG
//   velmor_wheel_driver pointer-free          exit 0 when nobody grabs the pointer

// Qt first: Xlib's macros (Status, None, ...) break Qt's headers.
#include <QImage>
// clang-format off
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
// clang-format on
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <thread>

#include "tests/platform/linux/x11_test_client.h"

namespace {

using velmor::testing_x11::TestDisplay;

struct Geometry {
  Window window;
  int x, y, width, height;
};

// The mapped override-redirect window of class RadialOverlayWheel, if any.
std::optional<Geometry> FindWheel(Display* dpy) {
  Window root = DefaultRootWindow(dpy), parent, *children = nullptr;
  unsigned n = 0;
  if (!XQueryTree(dpy, root, &root, &parent, &children, &n)) return std::nullopt;
  std::optional<Geometry> found;
  for (unsigned i = 0; i < n && !found; ++i) {
    XClassHint hint{};
    if (!XGetClassHint(dpy, children[i], &hint)) continue;
    const bool wheel = hint.res_class && std::strcmp(hint.res_class, "RadialOverlayWheel") == 0;
    if (hint.res_name) XFree(hint.res_name);
    if (hint.res_class) XFree(hint.res_class);
    XWindowAttributes a;
    if (wheel && XGetWindowAttributes(dpy, children[i], &a) && a.map_state == IsViewable)
      found = Geometry{children[i], a.x, a.y, a.width, a.height};
  }
  if (children) XFree(children);
  return found;
}

bool SaveScreen(Display* dpy, const Geometry& g, const char* path) {
  XImage* img = XGetImage(dpy, DefaultRootWindow(dpy), g.x, g.y, static_cast<unsigned>(g.width),
                          static_cast<unsigned>(g.height), AllPlanes, ZPixmap);
  if (!img) return false;
  QImage out(g.width, g.height, QImage::Format_RGB32);
  for (int y = 0; y < g.height; ++y)
    for (int x = 0; x < g.width; ++x)
      out.setPixel(x, y, static_cast<QRgb>(XGetPixel(img, x, y)) | 0xFF000000u);
  XDestroyImage(img);
  return out.save(path);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  TestDisplay dpy;
  if (!dpy) {
    std::fputs("velmor_wheel_driver: no X display\n", stderr);
    return 2;
  }
  Display* d = dpy.get();
  const std::string cmd = argv[1];
  if (cmd == "key" && argc == 3) {
    KeyCode code = XKeysymToKeycode(d, XStringToKeysym(argv[2]));
    if (!code) return 2;
    XTestFakeKeyEvent(d, code, True, 0);
    XTestFakeKeyEvent(d, code, False, 0);
    XSync(d, False);
    return 0;
  }
  if (cmd == "move" && argc == 4) {
    XTestFakeRelativeMotionEvent(d, std::atoi(argv[2]), std::atoi(argv[3]), 0);
    XSync(d, False);
    return 0;
  }
  if (cmd == "click" && argc == 3) {
    const unsigned button = static_cast<unsigned>(std::atoi(argv[2]));
    XTestFakeButtonEvent(d, button, True, 0);
    XTestFakeButtonEvent(d, button, False, 0);
    XSync(d, False);
    return 0;
  }
  if (cmd == "wait" && argc >= 4) {
    const bool wantShown = std::strcmp(argv[2], "shown") == 0;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(std::atol(argv[3]));
    for (;;) {
      auto g = FindWheel(d);
      if (g.has_value() == wantShown) {
        if (g) {
          std::printf("wheel %d,%d %dx%d\n", g->x, g->y, g->width, g->height);
          if (argc >= 5 && !SaveScreen(d, *g, argv[4])) return 1;
        }
        return 0;
      }
      if (std::chrono::steady_clock::now() > deadline) return 1;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
  if (cmd == "pointer-free") {
    const int r = XGrabPointer(d, DefaultRootWindow(d), False, ButtonPressMask, GrabModeAsync,
                               GrabModeAsync, None, None, CurrentTime);
    XUngrabPointer(d, CurrentTime);
    XSync(d, False);
    if (r != GrabSuccess) std::printf("pointer grabbed by someone (%d)\n", r);
    return r == GrabSuccess ? 0 : 1;
  }
  return 2;
}
