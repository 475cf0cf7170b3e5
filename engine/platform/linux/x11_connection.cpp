#include "engine/platform/linux/x11_connection.h"

#include <X11/extensions/XInput2.h>
#include <X11/extensions/XTest.h>

#include <atomic>

namespace velmor::platform::linux_backend {

namespace {

struct Connection {
  std::mutex mutex;
  Display* display = nullptr;
  bool xtest = false;
  int xi2Opcode = -1;
  void (*opened)(int fd) = nullptr;
  void (*eventsQueued)() = nullptr;
};

Connection& TheConnection() {
  static Connection c;
  return c;
}

void Probe(Connection& c) {
  int event = 0, error = 0, major = 0, minor = 0;
  c.xtest = XTestQueryExtension(c.display, &event, &error, &major, &minor);
  int opcode = 0;
  if (XQueryExtension(c.display, "XInputExtension", &opcode, &event, &error)) {
    // 2.2 rather than 2.0: from 2.1 on raw events reach every client that
    // selected them, not only the one grabbing the device.
    int xiMajor = 2, xiMinor = 2;
    if (XIQueryVersion(c.display, &xiMajor, &xiMinor) == Success) c.xi2Opcode = opcode;
  }
}

// The trap in force; its errors are counted, everyone else's go on to the
// handler that was there before.
std::atomic<Display*> g_trappedDisplay{nullptr};
std::atomic<int> g_trappedErrors{0};
XErrorHandler g_chained = nullptr;

int TrapHandler(Display* dpy, XErrorEvent* e) {
  if (dpy == g_trappedDisplay.load()) {
    g_trappedErrors.fetch_add(1);
    return 0;
  }
  return g_chained ? g_chained(dpy, e) : 0;
}

}  // namespace

X11Session::X11Session() : lock_(TheConnection().mutex) {
  Connection& c = TheConnection();
  if (!c.display) {
    c.display = XOpenDisplay(nullptr);
    if (c.display) {
      Probe(c);
      if (c.opened) c.opened(ConnectionNumber(c.display));
    }
  }
  display_ = c.display;
}

X11Session::~X11Session() {
  Connection& c = TheConnection();
  if (display_ && c.eventsQueued && XEventsQueued(display_, QueuedAlready) > 0) c.eventsQueued();
}

bool X11ConnectionOpen() {
  Connection& c = TheConnection();
  std::lock_guard lock(c.mutex);
  return c.display != nullptr;
}

void SetX11ConnectionObserver(void (*opened)(int fd), void (*eventsQueued)()) {
  Connection& c = TheConnection();
  std::lock_guard lock(c.mutex);
  c.opened = opened;
  c.eventsQueued = eventsQueued;
  if (c.display && opened) opened(ConnectionNumber(c.display));
}

bool X11Session::hasXTest() const {
  return display_ && TheConnection().xtest;
}

int X11Session::xi2Opcode() const {
  return display_ ? TheConnection().xi2Opcode : -1;
}

X11ErrorTrap::X11ErrorTrap(Display* dpy) : dpy_(dpy) {
  // Errors of earlier requests are not this trap's business.
  XSync(dpy_, False);
  g_trappedErrors.store(0);
  g_trappedDisplay.store(dpy_);
  previous_ = XSetErrorHandler(TrapHandler);
  g_chained = previous_;
}

X11ErrorTrap::~X11ErrorTrap() {
  XSync(dpy_, False);
  XSetErrorHandler(previous_);
  g_trappedDisplay.store(nullptr);
  g_chained = nullptr;
}

bool X11ErrorTrap::failed() {
  XSync(dpy_, False);
  return g_trappedErrors.load() != 0;
}

}  // namespace velmor::platform::linux_backend
