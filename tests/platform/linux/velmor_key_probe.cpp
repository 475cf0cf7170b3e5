// velmor_key_probe: an X client that stands in for the application the user
// types into. It maps a window, takes the input focus, prints "ready" on
// stdout, and writes every key event it receives to OUTFILE as
// "down keysym=a" / "up keysym=Up" lines, until COUNT events arrived
// (exit 0) or the time is up (exit 1).
//
//   velmor_key_probe OUTFILE COUNT TIMEOUT_MS

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/platform/linux/x11_test_client.h"

int main(int argc, char** argv) {
  using namespace velmor::testing_x11;
  if (argc != 4) {
    std::fputs("usage: velmor_key_probe OUTFILE COUNT TIMEOUT_MS\n", stderr);
    return 2;
  }
  const int count = std::atoi(argv[2]);
  const auto timeout = std::chrono::milliseconds(std::atol(argv[3]));
  std::FILE* out = std::fopen(argv[1], "w");
  if (!out) {
    std::perror(argv[1]);
    return 2;
  }
  TestDisplay dpy;
  if (!dpy) {
    std::fputs("velmor_key_probe: no X display\n", stderr);
    return 2;
  }
  TestWindow win(dpy.get(), 0, 0, 200, 200, KeyPressMask | KeyReleaseMask | FocusChangeMask);
  if (!win.MapAndWait()) return 2;
  XSetInputFocus(dpy.get(), win.get(), RevertToParent, CurrentTime);
  XSync(dpy.get(), False);
  std::printf("ready\n");
  std::fflush(stdout);

  const auto deadline = std::chrono::steady_clock::now() + timeout;
  int seen = 0;
  while (seen < count) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    auto ev = WaitForEvent(
        dpy.get(), [](const XEvent& e) { return e.type == KeyPress || e.type == KeyRelease; },
        left);
    if (!ev) break;
    // Level 0 of the key: the key's name, whatever modifiers are down.
    KeySym sym = XLookupKeysym(&ev->xkey, 0);
    const char* name = XKeysymToString(sym);
    std::fprintf(out, "%s keysym=%s\n", ev->type == KeyPress ? "down" : "up",
                 name ? name : "NoSymbol");
    std::fflush(out);
    ++seen;
  }
  std::fclose(out);
  return seen >= count ? 0 : 1;
}
