#pragma once

// The backend's one Xlib connection. Input is synthesized from several
// worker threads at once and Xlib is not thread-safe without XInitThreads,
// which would have to run before any other Xlib call in the process (the
// host's toolkit may well make one first). So every use goes through one
// lock instead, and the connection is opened on first use: a program that
// never touches X never connects.

#include <X11/Xlib.h>

#include <memory>
#include <mutex>

namespace velmor::platform::linux_backend {

// Holds the connection's lock while it lives.
class X11Session {
 public:
  X11Session();
  ~X11Session();
  X11Session(const X11Session&) = delete;
  X11Session& operator=(const X11Session&) = delete;

  // nullptr when no display can be opened.
  Display* display() const { return display_; }
  explicit operator bool() const { return display_ != nullptr; }
  bool hasXTest() const;
  // The XInput 2 opcode, or -1 when the server has no XInput 2.
  int xi2Opcode() const;

 private:
  std::unique_lock<std::mutex> lock_;
  Display* display_ = nullptr;
};

// Whether some session has opened the connection; opens nothing.
bool X11ConnectionOpen();

// How the engine's event queue hears about the connection: `opened` runs
// once with its descriptor (at once when it is already open), and
// `eventsQueued` whenever a session ends with events that Xlib has read
// from the socket but nobody has taken yet. Those would not make the
// descriptor readable again, so the queue would never look at them.
// Both run with the connection's lock held and must not open a session.
void SetX11ConnectionObserver(void (*opened)(int fd), void (*eventsQueued)());

// Catches the X errors of the requests made while it lives. The engine asks
// about windows of other clients, which may be destroyed at any moment, and
// Xlib's default handler ends the process on the error that follows.
// Used under an X11Session and never nested: the handler is process-wide.
class X11ErrorTrap {
 public:
  explicit X11ErrorTrap(Display* dpy);
  ~X11ErrorTrap();
  X11ErrorTrap(const X11ErrorTrap&) = delete;
  X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;

  // Waits for every request so far to be answered; true when one failed.
  bool failed();

 private:
  Display* dpy_;
  XErrorHandler previous_;
};

// Frees memory Xlib handed out.
struct XFreeDeleter {
  void operator()(void* p) const {
    if (p) XFree(p);
  }
};
template <typename T>
using XPtr = std::unique_ptr<T, XFreeDeleter>;

}  // namespace velmor::platform::linux_backend
