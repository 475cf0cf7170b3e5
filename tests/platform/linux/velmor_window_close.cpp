// Asks an X window to close the way a window manager's close button does:
// a WM_DELETE_WINDOW client message. (xdotool can only destroy a window,
// which no program ever sees as a close request.)
//
//   velmor_window_close WINDOW_ID

#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const Window w = std::strtoul(argv[1], nullptr, 0);
  Display* d = XOpenDisplay(nullptr);
  if (!d) return 1;
  XEvent ev{};
  ev.xclient.type = ClientMessage;
  ev.xclient.window = w;
  ev.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
  ev.xclient.format = 32;
  ev.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
  ev.xclient.data.l[1] = CurrentTime;
  XSendEvent(d, w, False, NoEventMask, &ev);
  XSync(d, False);
  XCloseDisplay(d);
  std::puts("sent");
  return 0;
}
