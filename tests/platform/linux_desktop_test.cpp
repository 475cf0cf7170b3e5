// The cursor and the focus on a real X server. Bare Xvfb has no window
// manager, so the core focus path runs; a stand-in manager made of root
// window properties checks the EWMH path.

// GoogleTest first: Xlib defines macros (None, Bool) that its templates use as names.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include "engine/platform/desktop.h"
#include "tests/platform/linux/x11_test_client.h"

namespace velmor {
namespace {

using namespace std::chrono_literals;
using platform::Point;
using testing_x11::TestDisplay;
using testing_x11::TestWindow;

class X11Desktop : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testing_x11::HaveDisplay()) GTEST_SKIP() << "no X display";
    ASSERT_TRUE(dpy_);
    a_ = TestWindow(dpy_.get(), 10, 10, 100, 100, NoEventMask);
    b_ = TestWindow(dpy_.get(), 200, 10, 100, 100, NoEventMask);
    ASSERT_TRUE(a_.MapAndWait());
    ASSERT_TRUE(b_.MapAndWait());
  }

  void Focus(Window w) {
    XSetInputFocus(dpy_.get(), w, RevertToParent, CurrentTime);
    XSync(dpy_.get(), False);
  }
  Window FocusOfServer() {
    Window w = None;
    int revert = 0;
    XGetInputFocus(dpy_.get(), &w, &revert);
    return w;
  }

  TestDisplay dpy_;
  TestWindow a_, b_;
};

TEST_F(X11Desktop, CursorPositionRoundTripsAndClampsToTheScreen) {
  const int w = DisplayWidth(dpy_.get(), DefaultScreen(dpy_.get()));
  const int h = DisplayHeight(dpy_.get(), DefaultScreen(dpy_.get()));
  struct Case {
    Point set, expected;
  };
  const Case cases[] = {
      {{10, 20}, {10, 20}},
      {{0, 0}, {0, 0}},
      {{w - 1, h - 1}, {w - 1, h - 1}},
      {{w + 500, -30}, {w - 1, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.set.x << "," << c.set.y);
    platform::SetCursorPos(c.set);
    EXPECT_EQ(platform::CursorPos(), c.expected);
    // Seen by another client too, not only by the backend's own query.
    Window root, child;
    int rx = 0, ry = 0, wx = 0, wy = 0;
    unsigned mask = 0;
    XQueryPointer(dpy_.get(), dpy_.root(), &root, &child, &rx, &ry, &wx, &wy, &mask);
    EXPECT_EQ((Point{rx, ry}), c.expected);
  }
}

TEST_F(X11Desktop, BringToForegroundGivesAWindowTheFocusWithoutAManager) {
  Focus(a_.get());
  EXPECT_EQ(platform::ForegroundWindow(), a_.get());
  platform::BringToForeground(b_.get());
  EXPECT_EQ(platform::ForegroundWindow(), b_.get());
  EXPECT_EQ(FocusOfServer(), b_.get());
  platform::BringToForeground(a_.get());
  EXPECT_EQ(FocusOfServer(), a_.get());
}

TEST_F(X11Desktop, WindowsThatAreGoneAreReportedAndHarmless) {
  const Window never = XAllocID(dpy_.get());  // an id no window has
  const Window gone = a_.get();
  EXPECT_TRUE(platform::WindowExists(gone));
  a_.reset();
  for (Window w : {Window{0}, never, gone}) {
    SCOPED_TRACE(w);
    EXPECT_FALSE(platform::WindowExists(w));
    // Must neither end the process (Xlib's default error handler would) nor
    // move the focus.
    Focus(b_.get());
    platform::BringToForeground(w);
    EXPECT_EQ(FocusOfServer(), b_.get());
  }
  // An unmapped window cannot take the focus; the refusal is swallowed.
  XUnmapWindow(dpy_.get(), b_.get());
  XSync(dpy_.get(), False);
  platform::BringToForeground(b_.get());
  EXPECT_TRUE(platform::WindowExists(b_.get()));
}

// The root properties a running EWMH window manager keeps, removed again
// when the test ends however it ends.
class StandInManager {
 public:
  // `alive` false leaves what a manager that crashed leaves: the root still
  // names a check window, which no longer exists.
  StandInManager(Display* dpy, Window active, bool alive = true) : dpy_(dpy) {
    Window root = DefaultRootWindow(dpy);
    // The activation request is sent to whoever redirects the root.
    if (alive) XSelectInput(dpy, root, SubstructureRedirectMask);
    XSync(dpy, False);
    Window c = XAllocID(dpy);
    if (alive) {
      check_ = TestWindow(dpy, -10, -10, 1, 1, NoEventMask);
      c = check_.get();
      SetWindow(c, "_NET_SUPPORTING_WM_CHECK", c);
    }
    SetWindow(root, "_NET_SUPPORTING_WM_CHECK", c);
    SetWindow(root, "_NET_ACTIVE_WINDOW", active);
    Atom supported[] = {Intern("_NET_ACTIVE_WINDOW")};
    XChangeProperty(dpy, root, Intern("_NET_SUPPORTED"), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(supported), 1);
    XSync(dpy, False);
  }
  ~StandInManager() {
    Window root = DefaultRootWindow(dpy_);
    for (const char* name : {"_NET_SUPPORTING_WM_CHECK", "_NET_ACTIVE_WINDOW", "_NET_SUPPORTED"})
      XDeleteProperty(dpy_, root, Intern(name));
    XSelectInput(dpy_, root, NoEventMask);
    XSync(dpy_, False);
  }
  StandInManager(const StandInManager&) = delete;
  StandInManager& operator=(const StandInManager&) = delete;

  Atom Intern(const char* name) { return XInternAtom(dpy_, name, False); }

 private:
  void SetWindow(Window on, const char* name, Window value) {
    XChangeProperty(dpy_, on, Intern(name), XA_WINDOW, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&value), 1);
  }
  Display* dpy_;
  TestWindow check_;
};

TEST_F(X11Desktop, WithAManagerTheActiveWindowIsAskedForAndReadBack) {
  Focus(b_.get());
  StandInManager wm(dpy_.get(), a_.get());
  // The manager's word wins over the core focus.
  EXPECT_EQ(platform::ForegroundWindow(), a_.get());

  platform::BringToForeground(b_.get());
  const Atom activeAtom = wm.Intern("_NET_ACTIVE_WINDOW");
  auto request = testing_x11::WaitForEvent(
      dpy_.get(),
      [&](const XEvent& e) {
        return e.type == ClientMessage && e.xclient.message_type == activeAtom;
      },
      5s);
  ASSERT_TRUE(request.has_value());
  EXPECT_EQ(request->xclient.window, b_.get());
  EXPECT_EQ(request->xclient.format, 32);
  EXPECT_EQ(request->xclient.data.l[0], 2);  // from a pager: the user's own request
  EXPECT_EQ(static_cast<Window>(request->xclient.data.l[2]), a_.get());
}

TEST_F(X11Desktop, AManagerThatDiedIsNotBelieved) {
  Focus(b_.get());
  StandInManager crashed(dpy_.get(), a_.get(), /*alive=*/false);
  EXPECT_EQ(platform::ForegroundWindow(), b_.get());
  // Nobody would act on an activation request: the focus is set directly.
  platform::BringToForeground(a_.get());
  EXPECT_EQ(FocusOfServer(), a_.get());
}

}  // namespace
}  // namespace velmor
