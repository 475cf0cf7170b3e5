// The overlay's windows and input on a real X server. A second client plays
// the user (XTest), the other programs (its own windows) and, where a test
// needs one, a window manager (root properties). What the grabs catch
// reaches a recording sink through the engine's event queue, pumped as the
// Qt host pumps it: wait for the descriptor, then dispatch.

// GoogleTest first: Xlib defines macros (None, Bool) that its templates use as names.
#include <gtest/gtest.h>

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xrandr.h>
#include <X11/keysym.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "engine/core/engine_messages.h"
#include "engine/platform/event_queue.h"
#include "engine/platform/linux/event_queue_linux.h"
#include "engine/platform/overlay_input.h"
#include "engine/platform/overlay_window.h"
#include "tests/platform/linux/x11_test_client.h"

namespace velmor {
namespace {

using namespace std::chrono_literals;
using platform::ArgbImage;
using platform::OverlayKind;
using platform::Point;
using platform::Rect;
using testing_x11::TestDisplay;
using testing_x11::TestWindow;

class RecordingSink : public platform::EngineEvents {
 public:
  void OnMessage(std::uint32_t msg, std::uintptr_t, std::intptr_t) override {
    messages.push_back(msg);
  }
  void OnTimer(std::uint32_t) override {}
  void OnCopyData(std::uintptr_t, const void*, std::size_t) override {}
  void OnHotkey(int id) override { hotkeys.push_back(id); }
  void OnRawMouse(int dx, int dy, bool leftDown) override {
    rawX += dx;
    rawY += dy;
    if (leftDown) ++rawLeftDowns;
  }

  std::vector<std::uint32_t> messages;
  std::vector<int> hotkeys;
  int rawX = 0, rawY = 0, rawLeftDowns = 0;
};

ArgbImage Pattern(int w, int h) {
  // Premultiplied: no channel above its alpha.
  ArgbImage img;
  img.Reset(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      img.pixels[static_cast<std::size_t>(y * w + x)] =
          x < w / 2 ? (y < h / 2 ? 0xFF102030u : 0x80402010u)
                    : (y < h / 2 ? 0x00000000u : 0xFFFFFFFFu);
  return img;
}

class X11Overlay : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testing_x11::HaveDisplay()) GTEST_SKIP() << "no X display";
    ASSERT_TRUE(dpy_);
    ASSERT_TRUE(platform::StartEventQueue(&sink_));
  }

  void TearDown() override {
    if (!testing_x11::HaveDisplay()) return;
    platform::RemoveBlockingMouseHook();
    platform::FreeCursorClip();
    platform::RemoveToggleMouseHook();
    platform::UnregisterToggleHotkey();
    platform::UnregisterRawMouseInput();
    platform::RestoreSystemCursors();
    for (OverlayKind k : {OverlayKind::kWheel, OverlayKind::kLauncher, OverlayKind::kToast,
                          OverlayKind::kHeldKeysBar})
      platform::HideOverlay(k);
    XkbLockModifiers(dpy(), XkbUseCoreKbd, 0xFF, 0);
    XSync(dpy(), False);
    Drain();
  }

  Display* dpy() const { return dpy_.get(); }

  // Everything the backend asked for has been done once it has an answer
  // to a request of its own.
  static void SyncBackend() { platform::CursorPos(); }

  // Waits for the queue's descriptor and dispatches until `done`.
  bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 3s) {
    XSync(dpy(), False);
    auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
      platform::DispatchEngineEvents();
      if (done()) return true;
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) return false;
      pollfd p{platform::EventQueueFd(), POLLIN, 0};
      poll(&p, 1, static_cast<int>(left.count()));
    }
  }
  // Whatever is still on its way from earlier steps.
  void Drain() {
    XSync(dpy(), False);
    SyncBackend();
    platform::DispatchEngineEvents();
  }

  void Key(KeySym sym, bool down) {
    XTestFakeKeyEvent(dpy(), XKeysymToKeycode(dpy(), sym), down ? True : False, CurrentTime);
  }
  void Chord(KeySym key) {
    Key(XK_Control_L, true);
    Key(XK_Alt_L, true);
    Key(key, true);
    Key(key, false);
    Key(XK_Alt_L, false);
    Key(XK_Control_L, false);
    XSync(dpy(), False);
  }
  void Click(unsigned button) {
    XTestFakeButtonEvent(dpy(), button, True, CurrentTime);
    XTestFakeButtonEvent(dpy(), button, False, CurrentTime);
    XSync(dpy(), False);
  }
  void Warp(int x, int y) {
    XWarpPointer(dpy(), None, dpy_.root(), 0, 0, 0, 0, x, y);
    XSync(dpy(), False);
  }
  Point Pointer() {
    Window root, child;
    int rx = 0, ry = 0, wx = 0, wy = 0;
    unsigned mask = 0;
    XQueryPointer(dpy(), dpy_.root(), &root, &child, &rx, &ry, &wx, &wy, &mask);
    return {rx, ry};
  }
  unsigned ModMask(KeySym sym) { return XkbKeysymToModifiers(dpy(), sym); }
  bool GotButtonPress(Window w, std::chrono::milliseconds timeout) {
    return testing_x11::WaitForEvent(
               dpy(),
               [w](const XEvent& e) { return e.type == ButtonPress && e.xbutton.window == w; },
               timeout)
        .has_value();
  }

  TestDisplay dpy_;
  RecordingSink sink_;
};

// ---- windows ----

TEST_F(X11Overlay, ShowOverlayMapsAnArgbOverrideRedirectWindowShowingThePicture) {
  struct Case {
    OverlayKind kind;
    const char* cls;
  };
  const Case cases[] = {{OverlayKind::kWheel, "RadialOverlayWheel"},
                        {OverlayKind::kLauncher, "RadialOverlayLauncher"},
                        {OverlayKind::kToast, "RadialOverlayToast"},
                        {OverlayKind::kHeldKeysBar, "RadialOverlayToast"}};
  const ArgbImage img = Pattern(40, 30);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cls);
    ASSERT_TRUE(platform::CreateOverlayWindow(c.kind));
    EXPECT_FALSE(platform::OverlayShown(c.kind));
    platform::ShowOverlay(c.kind, {100, 120}, img);
    SyncBackend();
    auto w = static_cast<Window>(platform::OverlayWindow(c.kind));
    ASSERT_NE(w, 0u);
    EXPECT_TRUE(platform::OverlayShown(c.kind));

    XWindowAttributes a{};
    ASSERT_TRUE(XGetWindowAttributes(dpy(), w, &a));
    EXPECT_EQ(a.map_state, IsViewable);
    EXPECT_TRUE(a.override_redirect);
    EXPECT_EQ(a.depth, 32);
    EXPECT_EQ(a.width, 40);
    EXPECT_EQ(a.height, 30);
    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates(dpy(), w, dpy_.root(), 0, 0, &x, &y, &child);
    EXPECT_EQ((Point{x, y}), (Point{100, 120}));
    XClassHint hint{};
    ASSERT_TRUE(XGetClassHint(dpy(), w, &hint));
    EXPECT_STREQ(hint.res_class, c.cls);
    XFree(hint.res_name);
    XFree(hint.res_class);
    XWMHints* wm = XGetWMHints(dpy(), w);
    ASSERT_NE(wm, nullptr);
    EXPECT_TRUE((wm->flags & InputHint) && !wm->input);
    XFree(wm);

    XImage* shot = XGetImage(dpy(), w, 0, 0, 40, 30, AllPlanes, ZPixmap);
    ASSERT_NE(shot, nullptr);
    for (Point p : {Point{0, 0}, Point{19, 14}, Point{5, 20}, Point{30, 5}, Point{39, 29}})
      EXPECT_EQ(XGetPixel(shot, p.x, p.y), img.At(p.x, p.y)) << p.x << "," << p.y;
    XDestroyImage(shot);

    platform::HideOverlay(c.kind);
    SyncBackend();
    ASSERT_TRUE(XGetWindowAttributes(dpy(), w, &a));
    EXPECT_EQ(a.map_state, IsUnmapped);
    EXPECT_FALSE(platform::OverlayShown(c.kind));
  }
}

TEST_F(X11Overlay, AShownOverlayTakesANewPictureSizeAndMoves) {
  platform::ShowOverlay(OverlayKind::kLauncher, {10, 10}, Pattern(20, 20));
  ArgbImage bigger = Pattern(64, 48);
  platform::ShowOverlay(OverlayKind::kLauncher, {30, 40}, bigger);
  platform::MoveOverlay(OverlayKind::kLauncher, {300, 200});
  SyncBackend();
  auto w = static_cast<Window>(platform::OverlayWindow(OverlayKind::kLauncher));
  XWindowAttributes a{};
  ASSERT_TRUE(XGetWindowAttributes(dpy(), w, &a));
  EXPECT_EQ(a.width, 64);
  EXPECT_EQ(a.height, 48);
  int x = 0, y = 0;
  Window child = 0;
  XTranslateCoordinates(dpy(), w, dpy_.root(), 0, 0, &x, &y, &child);
  EXPECT_EQ((Point{x, y}), (Point{300, 200}));
  XImage* shot = XGetImage(dpy(), w, 0, 0, 64, 48, AllPlanes, ZPixmap);
  ASSERT_NE(shot, nullptr);
  EXPECT_EQ(XGetPixel(shot, 63, 47), bigger.At(63, 47));
  EXPECT_EQ(XGetPixel(shot, 10, 40), bigger.At(10, 40));
  XDestroyImage(shot);
}

TEST_F(X11Overlay, ClicksGoThroughTheToastButNotThroughTheLauncher) {
  TestWindow below(dpy(), 400, 400, 200, 200, ButtonPressMask);
  ASSERT_TRUE(below.MapAndWait());
  platform::ShowOverlay(OverlayKind::kToast, {420, 420}, Pattern(100, 52));
  SyncBackend();
  Warp(450, 440);
  Click(Button1);
  EXPECT_TRUE(GotButtonPress(below.get(), 2s));

  platform::HideOverlay(OverlayKind::kToast);
  platform::ShowOverlay(OverlayKind::kLauncher, {420, 420}, Pattern(64, 64));
  SyncBackend();
  Click(Button1);
  EXPECT_FALSE(GotButtonPress(below.get(), 300ms));
}

TEST_F(X11Overlay, TheWheelTakesTheFocusFromTheProgramBehindIt) {
  TestWindow game(dpy(), 0, 0, 300, 300, FocusChangeMask);
  ASSERT_TRUE(game.MapAndWait());
  XSetInputFocus(dpy(), game.get(), RevertToPointerRoot, CurrentTime);
  XSync(dpy(), False);
  platform::ShowOverlay(OverlayKind::kWheel, {50, 50}, Pattern(100, 100));
  platform::TakeFocusForWheel();
  SyncBackend();
  Window focus = 0;
  int revert = 0;
  XGetInputFocus(dpy(), &focus, &revert);
  EXPECT_EQ(focus, static_cast<Window>(platform::OverlayWindow(OverlayKind::kWheel)));
  Window g = game.get();
  EXPECT_TRUE(
      testing_x11::WaitForEvent(
          dpy(), [g](const XEvent& e) { return e.type == FocusOut && e.xfocus.window == g; }, 2s)
          .has_value());
}

// ---- screens ----

TEST_F(X11Overlay, OneScreenIsTheOnlyMonitorWhateverIsAsked) {
  const Rect screen{0, 0, DisplayWidth(dpy(), DefaultScreen(dpy())),
                    DisplayHeight(dpy(), DefaultScreen(dpy()))};
  EXPECT_EQ(platform::PrimaryMonitor(), screen);
  EXPECT_EQ(platform::VirtualScreen(), screen);
  EXPECT_EQ(platform::MonitorAt({5, 5}), screen);
  EXPECT_EQ(platform::MonitorAt({-500, 99999}), screen);  // the nearest
  EXPECT_EQ(platform::MonitorOfWindow(0), screen);
  TestWindow w(dpy(), 50, 50, 100, 100, NoEventMask);
  ASSERT_TRUE(w.MapAndWait());
  EXPECT_EQ(platform::MonitorOfWindow(w.get()), screen);
}

// Two monitors side by side, the right one primary and half as tall, for
// as long as it lives. The left one takes the server's output, which
// retires the monitor the server made for it.
class TwoMonitors {
 public:
  explicit TwoMonitors(Display* dpy) : dpy_(dpy) {
    Window root = DefaultRootWindow(dpy);
    XRRScreenResources* res = XRRGetScreenResources(dpy, root);
    if (!res || res->noutput < 1) {
      if (res) XRRFreeScreenResources(res);
      return;
    }
    XRRMonitorInfo* left = XRRAllocateMonitor(dpy, 1);
    *left = MonitorInfo(dpy, "VELMOR-LEFT", 0, 0, 640, 1024, left->outputs, 1);
    left->outputs[0] = res->outputs[0];
    XRRMonitorInfo* right = XRRAllocateMonitor(dpy, 0);
    *right = MonitorInfo(dpy, "VELMOR-RIGHT", 640, 0, 640, 512, right->outputs, 0);
    right->primary = True;
    XRRSetMonitor(dpy, root, left);
    XRRSetMonitor(dpy, root, right);
    XSync(dpy, False);
    XRRFreeMonitors(left);
    XRRFreeMonitors(right);
    XRRFreeScreenResources(res);
    ok_ = true;
  }
  ~TwoMonitors() {
    for (const char* name : {"VELMOR-LEFT", "VELMOR-RIGHT"})
      XRRDeleteMonitor(dpy_, DefaultRootWindow(dpy_), XInternAtom(dpy_, name, False));
    XSync(dpy_, False);
  }
  TwoMonitors(const TwoMonitors&) = delete;
  TwoMonitors& operator=(const TwoMonitors&) = delete;
  bool ok() const { return ok_; }

 private:
  static XRRMonitorInfo MonitorInfo(Display* dpy, const char* name, int x, int y, int w, int h,
                                    RROutput* outputs, int n) {
    XRRMonitorInfo m{};
    m.name = XInternAtom(dpy, name, False);
    m.x = x;
    m.y = y;
    m.width = w;
    m.height = h;
    m.mwidth = w / 4;
    m.mheight = h / 4;
    m.outputs = outputs;
    m.noutput = n;
    return m;
  }
  Display* dpy_;
  bool ok_ = false;
};

TEST_F(X11Overlay, MonitorsComeFromRandr) {
  if (DisplayWidth(dpy(), DefaultScreen(dpy())) < 1280 ||
      DisplayHeight(dpy(), DefaultScreen(dpy())) < 1024)
    GTEST_SKIP() << "needs a screen of 1280x1024 at least";
  TwoMonitors layout(dpy());
  ASSERT_TRUE(layout.ok());
  const Rect left{0, 0, 640, 1024}, right{640, 0, 1280, 512};
  EXPECT_EQ(platform::PrimaryMonitor(), right);
  EXPECT_EQ(platform::VirtualScreen(), (Rect{0, 0, 1280, 1024}));
  EXPECT_EQ(platform::MonitorAt({639, 1000}), left);
  EXPECT_EQ(platform::MonitorAt({640, 0}), right);
  // On neither: the nearest.
  EXPECT_EQ(platform::MonitorAt({1000, 900}), left);
  EXPECT_EQ(platform::MonitorAt({1000, 600}), right);
  EXPECT_EQ(platform::MonitorOfWindow(0), right);
  // Mostly on the right one.
  TestWindow w(dpy(), 600, 100, 200, 100, NoEventMask);
  ASSERT_TRUE(w.MapAndWait());
  EXPECT_EQ(platform::MonitorOfWindow(w.get()), right);
}

// A stand-in EWMH manager: the check window and the root properties a
// running manager keeps, taken away again at the end.
class FakeManager {
 public:
  explicit FakeManager(Display* dpy) : dpy_(dpy), check_(dpy, -10, -10, 1, 1, NoEventMask) {
    Window root = DefaultRootWindow(dpy);
    Window c = check_.get();
    SetWindow(c, "_NET_SUPPORTING_WM_CHECK", c);
    SetWindow(root, "_NET_SUPPORTING_WM_CHECK", c);
    Atom active = XInternAtom(dpy, "_NET_ACTIVE_WINDOW", False);
    XChangeProperty(dpy, root, XInternAtom(dpy, "_NET_SUPPORTED", False), XA_ATOM, 32,
                    PropModeReplace, reinterpret_cast<unsigned char*>(&active), 1);
    XSync(dpy, False);
  }
  ~FakeManager() {
    for (const char* name :
         {"_NET_SUPPORTING_WM_CHECK", "_NET_ACTIVE_WINDOW", "_NET_SUPPORTED", "_NET_CLIENT_LIST"})
      XDeleteProperty(dpy_, DefaultRootWindow(dpy_), XInternAtom(dpy_, name, False));
    XSync(dpy_, False);
  }
  FakeManager(const FakeManager&) = delete;
  FakeManager& operator=(const FakeManager&) = delete;

  void SetActive(Window w) {
    SetWindow(DefaultRootWindow(dpy_), "_NET_ACTIVE_WINDOW", w);
    XSync(dpy_, False);
  }

 private:
  void SetWindow(Window on, const char* name, Window value) {
    XChangeProperty(dpy_, on, XInternAtom(dpy_, name, False), XA_WINDOW, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&value), 1);
  }
  Display* dpy_;
  TestWindow check_;
};

void SetStates(Display* dpy, Window w, std::vector<const char*> names) {
  std::vector<Atom> atoms;
  for (const char* n : names) atoms.push_back(XInternAtom(dpy, n, False));
  XChangeProperty(dpy, w, XInternAtom(dpy, "_NET_WM_STATE", False), XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(atoms.data()), static_cast<int>(atoms.size()));
  XSync(dpy, False);
}

TEST_F(X11Overlay, AFullScreenActiveWindowIsAFullScreenProgram) {
  TestWindow game(dpy(), 0, 0, 300, 300, NoEventMask);
  TestWindow other(dpy(), 400, 0, 100, 100, NoEventMask);
  ASSERT_TRUE(game.MapAndWait());
  ASSERT_TRUE(other.MapAndWait());
  SetStates(dpy(), game.get(), {"_NET_WM_STATE_ABOVE", "_NET_WM_STATE_FULLSCREEN"});
  SetStates(dpy(), other.get(), {"_NET_WM_STATE_ABOVE"});
  {
    FakeManager wm(dpy());
    wm.SetActive(game.get());
    EXPECT_TRUE(platform::FullScreenProgramRunning());
    wm.SetActive(other.get());
    EXPECT_FALSE(platform::FullScreenProgramRunning());
  }
  // Bare X: the window with the core focus.
  XSetInputFocus(dpy(), game.get(), RevertToPointerRoot, CurrentTime);
  XSync(dpy(), False);
  EXPECT_TRUE(platform::FullScreenProgramRunning());
  XSetInputFocus(dpy(), PointerRoot, RevertToPointerRoot, CurrentTime);
  XSync(dpy(), False);
  EXPECT_FALSE(platform::FullScreenProgramRunning());
}

// ---- other programs' windows ----

void SetText(Display* dpy, Window w, const char* name, const char* type, const std::string& text) {
  XChangeProperty(dpy, w, XInternAtom(dpy, name, False), XInternAtom(dpy, type, False), 8,
                  PropModeReplace, reinterpret_cast<const unsigned char*>(text.data()),
                  static_cast<int>(text.size()));
}
void SetCardinal(Display* dpy, Window w, const char* name, long value) {
  XChangeProperty(dpy, w, XInternAtom(dpy, name, False), XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&value), 1);
}

TEST_F(X11Overlay, MinimisableWindowsKeepsOnlyTitledTopLevelWindowsOfOtherPrograms) {
  struct Case {
    const char* what;
    bool expected;
    std::function<void(Display*, Window)> dress;
  };
  Window owner = 0;
  const Case cases[] = {
      {"titled by WM_NAME", true, [](Display* d, Window w) { XStoreName(d, w, "Editor"); }},
      {"titled by _NET_WM_NAME only", true,
       [](Display* d, Window w) { SetText(d, w, "_NET_WM_NAME", "UTF8_STRING", "Gra"); }},
      {"a normal window of another process", true,
       [](Display* d, Window w) {
         XStoreName(d, w, "Other");
         SetCardinal(d, w, "_NET_WM_PID", 1);
       }},
      {"untitled", false, [](Display*, Window) {}},
      {"owned (transient)", false,
       [&owner](Display* d, Window w) {
         XStoreName(d, w, "Dialog");
         XSetTransientForHint(d, w, owner);
       }},
      {"a dock", false,
       [](Display* d, Window w) {
         XStoreName(d, w, "Panel");
         Atom dock = XInternAtom(d, "_NET_WM_WINDOW_TYPE_DOCK", False);
         XChangeProperty(d, w, XInternAtom(d, "_NET_WM_WINDOW_TYPE", False), XA_ATOM, 32,
                         PropModeReplace, reinterpret_cast<unsigned char*>(&dock), 1);
       }},
      {"of this process", false,
       [](Display* d, Window w) {
         XStoreName(d, w, "Ours");
         SetCardinal(d, w, "_NET_WM_PID", getpid());
       }},
      {"already iconic", false,
       [](Display* d, Window w) {
         XStoreName(d, w, "Iconic");
         Atom wmState = XInternAtom(d, "WM_STATE", False);
         long state[2] = {IconicState, 0};
         XChangeProperty(d, w, wmState, wmState, 32, PropModeReplace,
                         reinterpret_cast<unsigned char*>(state), 2);
       }},
      {"hidden by the manager", false,
       [](Display* d, Window w) {
         XStoreName(d, w, "Hidden");
         Atom hidden = XInternAtom(d, "_NET_WM_STATE_HIDDEN", False);
         XChangeProperty(d, w, XInternAtom(d, "_NET_WM_STATE", False), XA_ATOM, 32, PropModeReplace,
                         reinterpret_cast<unsigned char*>(&hidden), 1);
       }},
  };
  TestWindow ownerWin(dpy(), 0, 0, 50, 50, NoEventMask);
  owner = ownerWin.get();
  std::vector<TestWindow> windows;
  for (const Case& c : cases) {
    windows.emplace_back(dpy(), 20, 20, 60, 60, NoEventMask);
    c.dress(dpy(), windows.back().get());
    ASSERT_TRUE(windows.back().MapAndWait());
  }
  // Not mapped; and override-redirect, as menus and the overlay's own are.
  TestWindow unmapped(dpy(), 0, 0, 10, 10, NoEventMask);
  XStoreName(dpy(), unmapped.get(), "Unmapped");
  TestWindow popup(dpy(), 0, 0, 10, 10, NoEventMask);
  XStoreName(dpy(), popup.get(), "Popup");
  XSetWindowAttributes a{};
  a.override_redirect = True;
  XChangeWindowAttributes(dpy(), popup.get(), CWOverrideRedirect, &a);
  ASSERT_TRUE(popup.MapAndWait());
  platform::ShowOverlay(OverlayKind::kWheel, {0, 0}, Pattern(10, 10));
  XSync(dpy(), False);

  std::vector<platform::WindowId> list = platform::MinimisableWindows();
  auto listed = [&list](Window w) { return std::find(list.begin(), list.end(), w) != list.end(); };
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(listed(windows[i].get()), cases[i].expected) << cases[i].what;
  EXPECT_FALSE(listed(unmapped.get()));
  EXPECT_FALSE(listed(popup.get()));
  EXPECT_FALSE(listed(platform::OverlayWindow(OverlayKind::kWheel)));
  EXPECT_EQ(platform::WindowProcess(windows[2].get()), 1u);
  EXPECT_EQ(platform::WindowProcess(windows[0].get()), 0u);
}

TEST_F(X11Overlay, MinimiseAndRestoreWithoutAManager) {
  TestWindow w(dpy(), 30, 30, 80, 80, NoEventMask);
  XStoreName(dpy(), w.get(), "Editor");
  ASSERT_TRUE(w.MapAndWait());
  XSetInputFocus(dpy(), PointerRoot, RevertToPointerRoot, CurrentTime);
  XSync(dpy(), False);
  ASSERT_FALSE(platform::WindowMinimised(w.get()));

  platform::MinimiseWindow(w.get());
  SyncBackend();
  XWindowAttributes a{};
  ASSERT_TRUE(XGetWindowAttributes(dpy(), w.get(), &a));
  EXPECT_EQ(a.map_state, IsUnmapped);
  EXPECT_TRUE(platform::WindowMinimised(w.get()));
  std::vector<platform::WindowId> list = platform::MinimisableWindows();
  EXPECT_EQ(std::find(list.begin(), list.end(), w.get()), list.end());

  platform::RestoreWindow(w.get());
  SyncBackend();
  ASSERT_TRUE(XGetWindowAttributes(dpy(), w.get(), &a));
  EXPECT_EQ(a.map_state, IsViewable);
  EXPECT_FALSE(platform::WindowMinimised(w.get()));
  // Restored without being given the focus.
  Window focus = 0;
  int revert = 0;
  XGetInputFocus(dpy(), &focus, &revert);
  EXPECT_EQ(focus, static_cast<Window>(PointerRoot));
}

TEST_F(X11Overlay, TheOnScreenKeyboardIsTheFirstOneInstalled) {
  namespace fs = std::filesystem;
  fs::path dir = fs::temp_directory_path() / ("velmor-osk-" + std::to_string(getpid()));
  fs::create_directories(dir);
  fs::path marker = dir / "started";
  // florence comes before xvkbd in the list; each one says which it is.
  for (const char* name : {"xvkbd", "florence"}) {
    fs::path p = dir / name;
    std::ofstream(p) << "#!/bin/sh\necho " << name << " > '" << marker.string() << "'\n";
    fs::permissions(p, fs::perms::owner_all);
  }
  std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
  setenv("PATH", (dir.string() + ":/nonexistent").c_str(), 1);
  EXPECT_TRUE(platform::OpenOnScreenKeyboard());
  auto deadline = std::chrono::steady_clock::now() + 5s;
  std::string started;
  while (started.empty() && std::chrono::steady_clock::now() < deadline) {
    std::ifstream(marker) >> started;
    if (started.empty()) usleep(10'000);
  }
  EXPECT_EQ(started, "florence");

  setenv("PATH", "/nonexistent", 1);
  EXPECT_FALSE(platform::OpenOnScreenKeyboard());
  setenv("PATH", oldPath.c_str(), 1);
  fs::remove_all(dir);
}

// ---- the toggle key ----

TEST_F(X11Overlay, TheToggleChordFiresOnceWhateverLocksAreLit) {
  TestWindow focused(dpy(), 10, 10, 100, 100, KeyPressMask);
  ASSERT_TRUE(focused.MapAndWait());
  XSetInputFocus(dpy(), focused.get(), RevertToPointerRoot, CurrentTime);
  ASSERT_TRUE(platform::RegisterToggleHotkey(platform::kModControl | platform::kModAlt, 'K'));
  struct Case {
    const char* what;
    unsigned locks;
  };
  const Case cases[] = {{"no lock", 0},
                        {"CapsLock", LockMask},
                        {"NumLock", ModMask(XK_Num_Lock)},
                        {"both", LockMask | ModMask(XK_Num_Lock)}};
  std::size_t expected = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    XkbLockModifiers(dpy(), XkbUseCoreKbd, 0xFF, c.locks);
    XSync(dpy(), False);
    Chord(XK_k);
    ++expected;
    ASSERT_TRUE(PumpUntil([&] { return sink_.hotkeys.size() >= expected; }));
    EXPECT_EQ(sink_.hotkeys.size(), expected);
    EXPECT_EQ(sink_.hotkeys.back(), 1);
  }
  // The grab swallowed every press of the key.
  KeyCode k = XKeysymToKeycode(dpy(), XK_k);
  EXPECT_FALSE(
      testing_x11::WaitForEvent(
          dpy(), [k](const XEvent& e) { return e.type == KeyPress && e.xkey.keycode == k; }, 200ms)
          .has_value());

  // Without the modifiers it is an ordinary key again.
  platform::UnregisterToggleHotkey();
  Chord(XK_k);
  Drain();
  EXPECT_EQ(sink_.hotkeys.size(), expected);
}

TEST_F(X11Overlay, HoldingTheChordDoesNotRepeatTheToggle) {
  ASSERT_TRUE(platform::RegisterToggleHotkey(platform::kModControl | platform::kModAlt, 'K'));
  // The server repeats a held key (XTest's too); made quick here, so that
  // holding for a short while gives it many repeats.
  unsigned delay = 0, interval = 0;
  ASSERT_TRUE(XkbGetAutoRepeatRate(dpy(), XkbUseCoreKbd, &delay, &interval));
  XkbSetAutoRepeatRate(dpy(), XkbUseCoreKbd, 5, 5);
  Key(XK_Control_L, true);
  Key(XK_Alt_L, true);
  Key(XK_k, true);
  XSync(dpy(), False);
  EXPECT_FALSE(PumpUntil([&] { return sink_.hotkeys.size() > 1; }, 300ms));
  Key(XK_k, false);
  // Pressed again: a second toggle.
  Key(XK_k, true);
  Key(XK_k, false);
  Key(XK_Alt_L, false);
  Key(XK_Control_L, false);
  XkbSetAutoRepeatRate(dpy(), XkbUseCoreKbd, delay, interval);
  ASSERT_TRUE(PumpUntil([&] { return sink_.hotkeys.size() >= 2; }));
  Drain();
  EXPECT_EQ(sink_.hotkeys.size(), 2u);
}

TEST_F(X11Overlay, AChordAnotherProgramHoldsIsRefusedAndLeftToIt) {
  TestDisplay other;
  ASSERT_TRUE(other);
  KeyCode k = XKeysymToKeycode(other.get(), XK_k);
  // One lock variant is enough to take the chord away.
  XGrabKey(other.get(), k, ControlMask | Mod1Mask | LockMask, other.root(), False, GrabModeAsync,
           GrabModeAsync);
  XSync(other.get(), False);
  EXPECT_FALSE(platform::RegisterToggleHotkey(platform::kModControl | platform::kModAlt, 'K'));

  // The variants that were grabbed before the refusal are let go: the
  // other program can take them all.
  XErrorHandler old = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
  XGrabKey(other.get(), k, ControlMask | Mod1Mask, other.root(), False, GrabModeAsync,
           GrabModeAsync);
  XSync(other.get(), False);
  XSetErrorHandler(old);
  Chord(XK_k);
  Drain();
  EXPECT_TRUE(sink_.hotkeys.empty());
  XUngrabKey(other.get(), AnyKey, AnyModifier, other.root());
  XSync(other.get(), False);
  EXPECT_TRUE(platform::RegisterToggleHotkey(platform::kModControl | platform::kModAlt, 'K'));
}

TEST_F(X11Overlay, TheToggleButtonFiresAndIsSwallowed) {
  TestWindow under(dpy(), 500, 500, 100, 100, ButtonPressMask);
  ASSERT_TRUE(under.MapAndWait());
  Warp(550, 550);
  struct Case {
    int button;
    unsigned xButton;
  };
  const Case cases[] = {{2, Button2}, {3, 8}, {4, 9}};
  std::size_t expected = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button);
    platform::InstallToggleMouseHook(c.button);
    SyncBackend();
    Click(c.xButton);
    ++expected;
    ASSERT_TRUE(PumpUntil([&] { return sink_.hotkeys.size() >= expected; }));
    EXPECT_FALSE(GotButtonPress(under.get(), 200ms));
  }
  platform::RemoveToggleMouseHook();
  SyncBackend();
  Click(9);
  EXPECT_TRUE(GotButtonPress(under.get(), 2s));
  EXPECT_EQ(sink_.hotkeys.size(), expected);
}

// ---- the mouse while the wheel is shown ----

TEST_F(X11Overlay, TheBlockingGrabTurnsClicksIntoWheelClicksAndHidesThemFromOthers) {
  TestWindow under(dpy(), 700, 100, 200, 200, ButtonPressMask);
  ASSERT_TRUE(under.MapAndWait());
  platform::ShowOverlay(OverlayKind::kWheel, {0, 0}, Pattern(100, 100));
  platform::InstallBlockingMouseHook(2);
  ASSERT_TRUE(platform::BlockingMouseHookInstalled());
  Warp(750, 150);

  Click(Button1);
  ASSERT_TRUE(PumpUntil([&] { return !sink_.messages.empty(); }));
  EXPECT_EQ(sink_.messages, std::vector<std::uint32_t>{WM_OVL_WHEELCLICK});
  // The toggle button reaches the engine through the grab as well.
  Click(Button2);
  ASSERT_TRUE(PumpUntil([&] { return !sink_.hotkeys.empty(); }));
  Click(Button3);  // swallowed, nothing else
  EXPECT_FALSE(GotButtonPress(under.get(), 200ms));
  Drain();
  EXPECT_EQ(sink_.messages.size(), 1u);
  EXPECT_EQ(sink_.hotkeys.size(), 1u);

  platform::RemoveBlockingMouseHook();
  EXPECT_FALSE(platform::BlockingMouseHookInstalled());
  SyncBackend();
  Click(Button1);
  EXPECT_TRUE(GotButtonPress(under.get(), 2s));
  Drain();
  EXPECT_EQ(sink_.messages.size(), 1u);
}

TEST_F(X11Overlay, TheBlockingGrabIsNotInstalledWhileAnotherProgramHoldsThePointer) {
  TestWindow menu(dpy(), 0, 0, 50, 50, NoEventMask);
  ASSERT_TRUE(menu.MapAndWait());
  ASSERT_EQ(XGrabPointer(dpy(), menu.get(), False, ButtonPressMask, GrabModeAsync, GrabModeAsync,
                         None, None, CurrentTime),
            GrabSuccess);
  XSync(dpy(), False);
  platform::ShowOverlay(OverlayKind::kWheel, {0, 0}, Pattern(100, 100));
  platform::InstallBlockingMouseHook(platform::kNoButton);
  EXPECT_FALSE(platform::BlockingMouseHookInstalled());
  XUngrabPointer(dpy(), CurrentTime);
  XSync(dpy(), False);
  platform::InstallBlockingMouseHook(platform::kNoButton);
  EXPECT_TRUE(platform::BlockingMouseHookInstalled());
}

TEST_F(X11Overlay, RawMotionArrivesWhileTheCursorIsHeldStill) {
  ASSERT_TRUE(platform::RegisterRawMouseInput());
  Warp(300, 300);
  platform::ShowOverlay(OverlayKind::kWheel, {0, 0}, Pattern(100, 100));
  platform::InstallBlockingMouseHook(platform::kNoButton);
  platform::ClipCursorTo({300, 300});
  ASSERT_TRUE(platform::CursorClipped());

  XTestFakeRelativeMotionEvent(dpy(), 7, -5, CurrentTime);
  XTestFakeRelativeMotionEvent(dpy(), 3, 2, CurrentTime);
  ASSERT_TRUE(PumpUntil([&] { return sink_.rawX == 10 && sink_.rawY == -3; }));
  EXPECT_EQ(Pointer(), (Point{300, 300}));
  // The grab reports the click; the raw press does not count it twice.
  Click(Button1);
  ASSERT_TRUE(PumpUntil([&] { return !sink_.messages.empty(); }));
  Drain();
  EXPECT_EQ(sink_.rawLeftDowns, 0);

  platform::FreeCursorClip();
  platform::RemoveBlockingMouseHook();
  EXPECT_FALSE(platform::CursorClipped());
  SyncBackend();
  XTestFakeRelativeMotionEvent(dpy(), 20, 10, CurrentTime);
  ASSERT_TRUE(PumpUntil([&] { return sink_.rawX == 30 && sink_.rawY == 7; }));
  EXPECT_EQ(Pointer(), (Point{320, 310}));
  Click(Button1);
  ASSERT_TRUE(PumpUntil([&] { return sink_.rawLeftDowns == 1; }));

  // Unregistered: motion no longer reaches the engine.
  platform::UnregisterRawMouseInput();
  XTestFakeRelativeMotionEvent(dpy(), 5, 5, CurrentTime);
  Drain();
  EXPECT_EQ(sink_.rawX, 30);
}

TEST_F(X11Overlay, TheClipAloneHoldsTheCursor) {
  Warp(200, 250);
  platform::ClipCursorTo({200, 250});
  ASSERT_TRUE(platform::CursorClipped());
  XTestFakeRelativeMotionEvent(dpy(), 40, 40, CurrentTime);
  XSync(dpy(), False);
  SyncBackend();
  EXPECT_EQ(Pointer(), (Point{200, 250}));
  platform::FreeCursorClip();
  SyncBackend();
  XTestFakeRelativeMotionEvent(dpy(), 40, 40, CurrentTime);
  XSync(dpy(), False);
  EXPECT_EQ(Pointer(), (Point{240, 290}));
}

TEST_F(X11Overlay, HidingTheCursorsTwiceNeedsOneRestore) {
  EXPECT_FALSE(platform::SystemCursorsHidden());
  platform::HideSystemCursors();
  platform::HideSystemCursors();
  EXPECT_TRUE(platform::SystemCursorsHidden());
  platform::RestoreSystemCursors();
  EXPECT_FALSE(platform::SystemCursorsHidden());
  // A restore with nothing hidden must not unbalance the server's count.
  platform::RestoreSystemCursors();
  platform::HideSystemCursors();
  EXPECT_TRUE(platform::SystemCursorsHidden());
  SyncBackend();
}

}  // namespace
}  // namespace velmor
