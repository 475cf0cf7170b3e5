// The input capture on a real X server. A second client plays the other
// programs: its window has the focus (or the pointer) and its XTest input
// is the user's, since Xvfb has no keyboard or mouse of its own. The
// engine's own input goes through the backend's SendKey / SendMouseButton.
// What the grabs catch reaches a recording sink through the engine's event
// queue, pumped as the Qt host pumps it.

// GoogleTest first: Xlib defines macros (None, Bool) that its templates use as names.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <linux/input.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "engine/core/engine_messages.h"
#include "engine/platform/event_queue.h"
#include "engine/platform/input.h"
#include "engine/platform/input_capture.h"
#include "engine/platform/linux/event_queue_linux.h"
#include "engine/platform/linux/pad_devices_evdev.h"
#include "engine/platform/overlay_input.h"
#include "engine/platform/overlay_window.h"
#include "tests/platform/linux/x11_test_client.h"

namespace velmor {
namespace {

using namespace std::chrono_literals;
using platform::DeviceKind;
using platform::kCaptureMouseBase;
using testing_x11::TestDisplay;
using testing_x11::TestWindow;
using testing_x11::WaitForEvent;

using Captured = std::pair<std::uint32_t, bool>;

class CaptureSink : public platform::EngineEvents {
 public:
  void OnMessage(std::uint32_t msg, std::uintptr_t, std::intptr_t) override {
    messages.push_back(msg);
  }
  void OnTimer(std::uint32_t) override {}
  void OnCopyData(std::uintptr_t, const void*, std::size_t) override {}
  void OnHotkey(int) override {}
  bool OnCapturedInput(std::uint32_t code, bool down) override {
    captured.emplace_back(code, down);
    if (onCaptured) onCaptured();
    return swallow;
  }
  void OnDeviceInput(const platform::DeviceInput& in) override { devices.push_back(in); }
  bool swallow = false;
  std::function<void()> onCaptured;  // what the engine does before it answers
  std::vector<Captured> captured;
  std::vector<std::uint32_t> messages;
  std::vector<platform::DeviceInput> devices;
};

constexpr std::uint16_t kVkA = 0x41, kVkF5 = 0x74;

class X11Capture : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testing_x11::HaveDisplay()) GTEST_SKIP() << "no X display";
    ASSERT_TRUE(dpy_);
    ASSERT_TRUE(platform::StartEventQueue(&sink_));
    win_ = TestWindow(dpy(), 0, 0, 300, 300,
                      KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask);
    ASSERT_TRUE(win_.MapAndWait());
    XSetInputFocus(dpy(), win_.get(), RevertToParent, CurrentTime);
    XWarpPointer(dpy(), None, win_.get(), 0, 0, 0, 0, 150, 150);
    XSync(dpy(), False);
  }
  void TearDown() override {
    if (!testing_x11::HaveDisplay()) return;
    platform::SetKeyboardCapture({});
    platform::SetMouseCapture(0);
    platform::UnregisterRawMouseInput();
    platform::RemoveBlockingMouseHook();
    platform::HideOverlay(platform::OverlayKind::kWheel);
    Drain();
  }

  Display* dpy() const { return dpy_.get(); }
  static void SyncBackend() { platform::CursorPos(); }

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
  // Everything already on its way to the backend has been delivered.
  void Drain() {
    XSync(dpy(), False);
    SyncBackend();
    platform::DispatchEngineEvents();
  }

  KeyCode Code(KeySym sym) { return XKeysymToKeycode(dpy(), sym); }
  void Key(KeySym sym, bool down) {
    XTestFakeKeyEvent(dpy(), Code(sym), down ? True : False, CurrentTime);
  }
  void Tap(KeySym sym) {
    Key(sym, true);
    Key(sym, false);
    XSync(dpy(), False);
  }
  void Click(unsigned button) {
    XTestFakeButtonEvent(dpy(), button, True, CurrentTime);
    XTestFakeButtonEvent(dpy(), button, False, CurrentTime);
    XSync(dpy(), False);
  }

  // The next event of `type` in the test window (others are dropped).
  std::optional<XEvent> Next(int type) {
    Window w = win_.get();
    return WaitForEvent(
        dpy(), [type, w](const XEvent& e) { return e.type == type && e.xany.window == w; }, 3s);
  }
  std::optional<KeyCode> NextKeyPress() {
    auto e = Next(KeyPress);
    if (!e) return std::nullopt;
    return static_cast<KeyCode>(e->xkey.keycode);
  }
  std::optional<unsigned> NextButtonPress() {
    auto e = Next(ButtonPress);
    if (!e) return std::nullopt;
    return e->xbutton.button;
  }

  TestDisplay dpy_;
  TestWindow win_;
  CaptureSink sink_;
};

TEST_F(X11Capture, AnotherProgramsKeyReachesTheRulesAndIsSwallowedOrReplayed) {
  platform::SetKeyboardCapture({kVkA, kVkF5});
  EXPECT_TRUE(platform::KeyboardCaptureInstalled());
  SyncBackend();
  for (bool swallow : {true, false}) {
    SCOPED_TRACE(swallow ? "swallowed" : "passed");
    sink_.captured.clear();
    sink_.swallow = swallow;
    // With a modifier held: every combination is grabbed.
    Key(XK_Control_L, true);
    Tap(XK_a);
    Key(XK_Control_L, false);
    // The release is reported too, though no grab holds it.
    ASSERT_TRUE(PumpUntil([&] { return sink_.captured.size() >= 2; }));
    EXPECT_EQ(sink_.captured, (std::vector<Captured>{{kVkA, true}, {kVkA, false}}));
    // A key nobody captures comes after it.
    Tap(XK_b);
    Drain();
    if (swallow) {
      EXPECT_EQ(NextKeyPress(), Code(XK_Control_L));
      EXPECT_EQ(NextKeyPress(), Code(XK_b));
    } else {
      EXPECT_EQ(NextKeyPress(), Code(XK_Control_L));
      EXPECT_EQ(NextKeyPress(), Code(XK_a));
      auto up = Next(KeyRelease);
      ASSERT_TRUE(up.has_value());
      EXPECT_EQ(up->xkey.keycode, Code(XK_a));
      EXPECT_EQ(NextKeyPress(), Code(XK_b));
    }
    EXPECT_EQ(sink_.captured.size(), 2u);
  }
}

TEST_F(X11Capture, TheEnginesOwnKeysPassTheGrabUnasked) {
  platform::SetKeyboardCapture({kVkA});
  sink_.swallow = true;
  platform::SendKey(kVkA, false, false);
  platform::SendKey(kVkA, false, true);
  EXPECT_EQ(NextKeyPress(), Code(XK_a));
  // Another program's press after it is the first the rules see.
  Tap(XK_a);
  ASSERT_TRUE(PumpUntil([&] { return sink_.captured.size() >= 2; }));
  Drain();
  EXPECT_EQ(sink_.captured, (std::vector<Captured>{{kVkA, true}, {kVkA, false}}));
}

TEST_F(X11Capture, ACombinationAnotherProgramHoldsStaysTheirsAndTheRestIsCaptured) {
  TestDisplay other;
  ASSERT_TRUE(other);
  KeyCode a = XKeysymToKeycode(other.get(), XK_a);
  XGrabKey(other.get(), a, ControlMask, other.root(), False, GrabModeAsync, GrabModeAsync);
  XSync(other.get(), False);
  platform::SetKeyboardCapture({kVkA});
  EXPECT_TRUE(platform::KeyboardCaptureInstalled());
  sink_.swallow = true;
  // An own send in between takes the grabs away and back.
  platform::SendKey(kVkA, false, false);
  platform::SendKey(kVkA, false, true);
  EXPECT_EQ(NextKeyPress(), Code(XK_a));
  SyncBackend();
  Key(XK_Control_L, true);
  Tap(XK_a);
  Key(XK_Control_L, false);
  auto theirs = WaitForEvent(
      other.get(), [a](const XEvent& e) { return e.type == KeyPress && e.xkey.keycode == a; }, 3s);
  EXPECT_TRUE(theirs.has_value());
  Key(XK_Shift_L, true);
  Tap(XK_a);
  Key(XK_Shift_L, false);
  ASSERT_TRUE(PumpUntil([&] { return !sink_.captured.empty(); }));
  Drain();
  EXPECT_EQ(sink_.captured.front(), (Captured{kVkA, true}));
}

TEST_F(X11Capture, AnOwnKeySentWhileAGrabbedPressAwaitsTheAnswerIsNotTakenForReal) {
  platform::SetKeyboardCapture({kVkA});
  sink_.swallow = true;
  SyncBackend();
  // The other program's press freezes the keyboard; the engine sends the
  // same key before it has looked at that press, and the server holds the
  // engine's key back until the answer.
  Tap(XK_a);
  platform::SendKey(kVkA, false, false);
  platform::SendKey(kVkA, false, true);
  ASSERT_TRUE(PumpUntil([&] { return sink_.captured.size() >= 2; }));
  Tap(XK_b);
  Drain();
  EXPECT_EQ(sink_.captured, (std::vector<Captured>{{kVkA, true}, {kVkA, false}}));
  // The swallowed press is not the window's, the engine's own is.
  EXPECT_EQ(NextKeyPress(), Code(XK_a));
  EXPECT_EQ(NextKeyPress(), Code(XK_b));
}

TEST_F(X11Capture, WhileASwallowedKeyIsHeldOtherKeysAndTheEnginesOutputGetThrough) {
  platform::SetKeyboardCapture({kVkA});
  sink_.swallow = true;
  SyncBackend();
  Key(XK_a, true);
  XSync(dpy(), False);
  ASSERT_TRUE(PumpUntil([&] { return !sink_.captured.empty(); }));
  // A key remapped to another: the engine types B while A is down, and
  // the user types C.
  platform::SendKey('B', false, false);
  platform::SendKey('B', false, true);
  SyncBackend();
  Tap(XK_c);
  EXPECT_EQ(NextKeyPress(), Code(XK_b));
  EXPECT_EQ(NextKeyPress(), Code(XK_c));
  Key(XK_a, false);
  XSync(dpy(), False);
  ASSERT_TRUE(PumpUntil([&] { return sink_.captured.size() >= 2; }));
  EXPECT_EQ(sink_.captured, (std::vector<Captured>{{kVkA, true}, {kVkA, false}}));
}

TEST_F(X11Capture, AnOwnClickWhileAGrabbedPressAwaitsTheAnswerIsNotTakenForReal) {
  platform::SetMouseCapture(1u << 4);  // second extra
  sink_.swallow = true;
  SyncBackend();
  Click(9);
  platform::SendMouseButton(4, false);
  platform::SendMouseButton(4, true);
  ASSERT_TRUE(PumpUntil([&] { return sink_.captured.size() >= 2; }));
  Click(2);
  Drain();
  EXPECT_EQ(sink_.captured,
            (std::vector<Captured>{{kCaptureMouseBase + 4, true}, {kCaptureMouseBase + 4, false}}));
  EXPECT_EQ(NextButtonPress(), 9u);
  EXPECT_EQ(NextButtonPress(), 2u);
}

TEST_F(X11Capture, ButtonsAreSwallowedOrReplayedWithTheirRelease) {
  platform::SetMouseCapture(1u << 3 | 1u << 1);  // first extra and right
  EXPECT_TRUE(platform::MouseCaptureInstalled());
  SyncBackend();
  for (bool swallow : {true, false}) {
    SCOPED_TRACE(swallow ? "swallowed" : "passed");
    sink_.captured.clear();
    sink_.swallow = swallow;
    Click(8);
    ASSERT_TRUE(PumpUntil([&] { return sink_.captured.size() >= 2; }));
    EXPECT_EQ(sink_.captured, (std::vector<Captured>{{kCaptureMouseBase + 3, true},
                                                     {kCaptureMouseBase + 3, false}}));
    Click(2);
    Drain();
    if (swallow) {
      EXPECT_EQ(NextButtonPress(), 2u);
    } else {
      EXPECT_EQ(NextButtonPress(), 8u);
      auto up = Next(ButtonRelease);
      ASSERT_TRUE(up.has_value());
      EXPECT_EQ(up->xbutton.button, 8u);
      EXPECT_EQ(NextButtonPress(), 2u);
    }
  }
  // The engine's own click of a captured button is the window's alone.
  sink_.captured.clear();
  platform::SendMouseButton(1, false);
  platform::SendMouseButton(1, true);
  EXPECT_EQ(NextButtonPress(), 3u);
  auto up = Next(ButtonRelease);
  ASSERT_TRUE(up.has_value());
  EXPECT_EQ(up->xbutton.button, 3u);
  Drain();
  EXPECT_TRUE(sink_.captured.empty());
}

TEST_F(X11Capture, RemovingTheCaptureLetsTheKeysAndButtonsGo) {
  platform::SetKeyboardCapture({kVkA, kVkF5});
  platform::SetMouseCapture(1u << 3);
  sink_.swallow = true;
  // Narrowed to F5: A is free again.
  platform::SetKeyboardCapture({kVkF5});
  SyncBackend();
  Tap(XK_a);
  EXPECT_EQ(NextKeyPress(), Code(XK_a));
  platform::SetKeyboardCapture({});
  platform::SetMouseCapture(0);
  EXPECT_FALSE(platform::KeyboardCaptureInstalled());
  EXPECT_FALSE(platform::MouseCaptureInstalled());
  SyncBackend();
  Tap(XK_F5);
  Click(8);
  EXPECT_EQ(NextKeyPress(), Code(XK_F5));
  EXPECT_EQ(NextButtonPress(), 8u);
  Drain();
  EXPECT_TRUE(sink_.captured.empty());
}

TEST_F(X11Capture, RawDeviceEventsOfInjectedInputHaveNoDevice) {
  ASSERT_TRUE(platform::RegisterRawMouseInput());
  SyncBackend();
  Tap(XK_c);
  Click(3);
  Click(4);  // scroll: no button
  Click(9);
  ASSERT_TRUE(PumpUntil([&] { return sink_.devices.size() >= 6; }));
  Drain();
  struct Want {
    DeviceKind kind;
    std::uint32_t index;
    bool down;
  };
  const Want want[] = {{DeviceKind::Keyboard, 'C', true}, {DeviceKind::Keyboard, 'C', false},
                       {DeviceKind::Mouse, 1, true},      {DeviceKind::Mouse, 1, false},
                       {DeviceKind::Mouse, 4, true},      {DeviceKind::Mouse, 4, false}};
  ASSERT_EQ(sink_.devices.size(), std::size(want));
  for (std::size_t i = 0; i < std::size(want); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(sink_.devices[i].device, u"");
    EXPECT_EQ(sink_.devices[i].kind, want[i].kind);
    EXPECT_EQ(sink_.devices[i].index, want[i].index);
    EXPECT_EQ(sink_.devices[i].down, want[i].down);
  }
  // Unregistered: no more device events, while a capture's raw releases go on.
  platform::UnregisterRawMouseInput();
  platform::SetKeyboardCapture({kVkA});
  SyncBackend();
  sink_.devices.clear();
  Tap(XK_a);
  ASSERT_TRUE(PumpUntil([&] { return sink_.captured.size() >= 2; }));
  Drain();
  EXPECT_TRUE(sink_.devices.empty());
}

TEST_F(X11Capture, TheDeviceListHasTheSlaveDevicesButNotXTest) {
  auto devices = platform::ListInputDevices();
  for (const auto& d : devices) {
    std::string name(d.name.begin(), d.name.end());
    SCOPED_TRACE(name);
    EXPECT_EQ(name.find("xtest"), std::string::npos);
    EXPECT_EQ(name.find("virtual core"), std::string::npos);
    for (char16_t c : d.name) EXPECT_FALSE(c >= u'A' && c <= u'Z');
  }
}

TEST_F(X11Capture, TheForegroundIsOursByItsProcessId) {
  TestWindow child;
  struct Case {
    const char* what;
    long pid;  // 0: no property
    bool focusChild;
    bool own;
  };
  const long self = static_cast<long>(getpid());
  const Case cases[] = {{"no pid", 0, false, false},
                        {"this process", self, false, true},
                        {"another process", self + 1, false, false},
                        {"a child of ours", self, true, true}};
  Atom pidAtom = XInternAtom(dpy(), "_NET_WM_PID", False);
  XSetWindowAttributes a{};
  Window inner = XCreateWindow(dpy(), win_.get(), 10, 10, 20, 20, 0, CopyFromParent, InputOutput,
                               CopyFromParent, 0, &a);
  XMapWindow(dpy(), inner);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.pid)
      XChangeProperty(dpy(), win_.get(), pidAtom, XA_CARDINAL, 32, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(&c.pid), 1);
    else
      XDeleteProperty(dpy(), win_.get(), pidAtom);
    XSetInputFocus(dpy(), c.focusChild ? inner : win_.get(), RevertToParent, CurrentTime);
    XSync(dpy(), False);
    EXPECT_EQ(platform::ForegroundIsOwnProcess(), c.own);
  }
  XDestroyWindow(dpy(), inner);
  XSync(dpy(), False);
}

TEST_F(X11Capture, AWheelShownOnACapturedClickKeepsItsPointerGrab) {
  platform::SetMouseCapture(1u << 3);
  sink_.swallow = true;
  sink_.onCaptured = [] {
    if (platform::BlockingMouseHookInstalled()) return;
    platform::ArgbImage img;
    img.Reset(100, 100);
    platform::ShowOverlay(platform::OverlayKind::kWheel, {400, 400}, img);
    platform::InstallBlockingMouseHook(platform::kNoButton);
  };
  SyncBackend();
  Click(8);
  ASSERT_TRUE(PumpUntil([&] { return !sink_.captured.empty(); }));
  ASSERT_TRUE(platform::BlockingMouseHookInstalled());
  // The wheel, not the window under the pointer, gets the next click.
  Click(Button1);
  ASSERT_TRUE(PumpUntil([&] { return !sink_.messages.empty(); }));
  EXPECT_EQ(sink_.messages, std::vector<std::uint32_t>{WM_OVL_WHEELCLICK});
  platform::RemoveBlockingMouseHook();
  SyncBackend();
  Click(Button1);
  EXPECT_EQ(NextButtonPress(), 1u);
}

// ---- game devices (no device needed) ----

TEST(PadDevices, ButtonsAreNumberedAsTheJoystickInterfaceNumbersThem) {
  using Buttons = std::vector<platform::linux_backend::PadButton>;
  auto ordinals = [](const std::vector<std::uint16_t>& codes) {
    std::vector<std::pair<std::uint16_t, unsigned>> out;
    for (const auto& b : platform::linux_backend::PadButtonOrdinals(codes))
      out.emplace_back(b.code, b.ordinal);
    return out;
  };
  // The joystick and pad blocks and above first, BTN_MISC's block last,
  // keyboard keys never; duplicates once.
  EXPECT_EQ(ordinals({BTN_B, BTN_0, KEY_A, BTN_TRIGGER_HAPPY1, BTN_TRIGGER, BTN_A, BTN_A}),
            (std::vector<std::pair<std::uint16_t, unsigned>>{
                {BTN_TRIGGER, 1}, {BTN_A, 2}, {BTN_B, 3}, {BTN_TRIGGER_HAPPY1, 4}, {BTN_0, 5}}));
  std::vector<std::uint16_t> many;
  for (std::uint16_t c = BTN_JOYSTICK; c < BTN_JOYSTICK + 80; ++c) many.push_back(c);
  Buttons capped = platform::linux_backend::PadButtonOrdinals(many);
  ASSERT_EQ(capped.size(), 64u);
  EXPECT_EQ(capped.back().code, BTN_JOYSTICK + 63);
}

TEST(PadDevices, TheDeviceTextCarriesTheIdsTheEngineLooksFor) {
  EXPECT_EQ(platform::linux_backend::PadDeviceText(0x45E, 0x28E, "Microsoft X-Box 360 pad"),
            u"usb#vid_045e&pid_028e#microsoft x-box 360 pad");
  EXPECT_EQ(platform::linux_backend::PadDeviceText(0, 0, "Generic Pad"), u"generic pad");
}

TEST(PadDevices, TheTrackerReportsEachReportsChangesInButtonOrder) {
  platform::linux_backend::PadButtonTracker tracker(
      platform::linux_backend::PadButtonOrdinals({BTN_A, BTN_B, BTN_X}));
  std::vector<std::pair<unsigned, bool>> changes;
  auto change = [&](unsigned ordinal, bool down) { changes.emplace_back(ordinal, down); };
  struct Ev {
    unsigned type, code;
    int value;
  };
  auto feed = [&](std::initializer_list<Ev> evs) {
    for (const Ev& e : evs) tracker.Feed(e.type, e.code, e.value, change);
  };
  // Two buttons in one report, lowest first; a press and release read
  // together both count; repeats and other codes are nothing.
  feed({{EV_KEY, BTN_X, 1}, {EV_KEY, BTN_A, 1}, {EV_ABS, ABS_X, 5}, {EV_SYN, SYN_REPORT, 0}});
  feed({{EV_KEY, BTN_B, 1}, {EV_SYN, SYN_REPORT, 0}, {EV_KEY, BTN_B, 0}, {EV_SYN, SYN_REPORT, 0}});
  feed({{EV_KEY, BTN_A, 2}, {EV_KEY, BTN_Y, 1}, {EV_SYN, SYN_REPORT, 0}});
  EXPECT_EQ(changes,
            (std::vector<std::pair<unsigned, bool>>{{1, true}, {3, true}, {2, true}, {2, false}}));
  // Events lost: nothing until the state is read again, then the difference.
  changes.clear();
  feed({{EV_SYN, SYN_DROPPED, 0}, {EV_KEY, BTN_X, 0}, {EV_SYN, SYN_REPORT, 0}});
  EXPECT_TRUE(tracker.dropped());
  EXPECT_TRUE(changes.empty());
  tracker.Resync([](std::uint16_t code) { return code == BTN_A || code == BTN_B; }, change);
  EXPECT_FALSE(tracker.dropped());
  EXPECT_EQ(changes, (std::vector<std::pair<unsigned, bool>>{{2, true}, {3, false}}));
}

}  // namespace
}  // namespace velmor
