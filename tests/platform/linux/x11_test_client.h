#pragma once

// A second X client for tests and probes: its own connection and windows,
// and a bounded wait for the events the backend causes.

#include <X11/Xlib.h>
#include <poll.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <optional>
#include <utility>

namespace velmor::testing_x11 {

inline bool HaveDisplay() {
  const char* d = std::getenv("DISPLAY");
  return d && *d;
}

class TestDisplay {
 public:
  TestDisplay() : dpy_(XOpenDisplay(nullptr)) {}
  ~TestDisplay() {
    if (dpy_) XCloseDisplay(dpy_);
  }
  TestDisplay(TestDisplay&& o) noexcept : dpy_(std::exchange(o.dpy_, nullptr)) {}
  TestDisplay& operator=(TestDisplay&& o) noexcept {
    std::swap(dpy_, o.dpy_);
    return *this;
  }
  TestDisplay(const TestDisplay&) = delete;
  TestDisplay& operator=(const TestDisplay&) = delete;

  Display* get() const { return dpy_; }
  explicit operator bool() const { return dpy_ != nullptr; }
  Window root() const { return DefaultRootWindow(dpy_); }

 private:
  Display* dpy_;
};

// Waits for the first event `match` accepts, dropping the others, for at
// most `timeout`.
inline std::optional<XEvent> WaitForEvent(Display* dpy,
                                          const std::function<bool(const XEvent&)>& match,
                                          std::chrono::milliseconds timeout) {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  XFlush(dpy);
  for (;;) {
    while (XPending(dpy) > 0) {
      XEvent ev;
      XNextEvent(dpy, &ev);
      if (match(ev)) return ev;
    }
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return std::nullopt;
    pollfd p{ConnectionNumber(dpy), POLLIN, 0};
    poll(&p, 1, static_cast<int>(left.count()));
  }
}

// A top-level window, destroyed with its owner.
class TestWindow {
 public:
  TestWindow() = default;
  TestWindow(Display* dpy, int x, int y, unsigned w, unsigned h, long eventMask) : dpy_(dpy) {
    XSetWindowAttributes a{};
    a.event_mask = eventMask | StructureNotifyMask;
    a.background_pixel = BlackPixel(dpy, DefaultScreen(dpy));
    win_ = XCreateWindow(dpy, DefaultRootWindow(dpy), x, y, w, h, 0, CopyFromParent, InputOutput,
                         CopyFromParent, CWEventMask | CWBackPixel, &a);
  }
  ~TestWindow() { reset(); }
  TestWindow(TestWindow&& o) noexcept
      : dpy_(std::exchange(o.dpy_, nullptr)), win_(std::exchange(o.win_, 0)) {}
  TestWindow& operator=(TestWindow&& o) noexcept {
    if (this != &o) {
      reset();
      dpy_ = std::exchange(o.dpy_, nullptr);
      win_ = std::exchange(o.win_, 0);
    }
    return *this;
  }
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;

  Window get() const { return win_; }

  // Maps the window and waits until the server says it is mapped, so it
  // can take the focus.
  bool MapAndWait() {
    XMapRaised(dpy_, win_);
    Window w = win_;
    return WaitForEvent(
               dpy_, [w](const XEvent& e) { return e.type == MapNotify && e.xmap.window == w; },
               std::chrono::seconds(5))
        .has_value();
  }

  void reset() {
    if (dpy_ && win_) {
      XDestroyWindow(dpy_, win_);
      XSync(dpy_, False);
    }
    win_ = 0;
  }

 private:
  Display* dpy_ = nullptr;
  Window win_ = 0;
};

}  // namespace velmor::testing_x11
