// Input synthesis against a real X server: a second client's window with
// the focus (or the pointer grab) must receive exactly the key and button
// the engine asked for.

// GoogleTest first: Xlib defines macros (None, Bool) that its templates use as names.
#include <gtest/gtest.h>

#include <X11/XF86keysym.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <map>
#include <thread>
#include <vector>

#include "engine/platform/input.h"
#include "tests/platform/linux/x11_test_client.h"

namespace velmor {
namespace {

using namespace std::chrono_literals;
using testing_x11::TestDisplay;
using testing_x11::TestWindow;
using testing_x11::WaitForEvent;

class X11Input : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testing_x11::HaveDisplay()) GTEST_SKIP() << "no X display";
    ASSERT_TRUE(dpy_);
    win_ = TestWindow(dpy_.get(), 0, 0, 300, 300,
                      KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask);
    ASSERT_TRUE(win_.MapAndWait());
    XSetInputFocus(dpy_.get(), win_.get(), RevertToParent, CurrentTime);
    XWarpPointer(dpy_.get(), None, win_.get(), 0, 0, 0, 0, 150, 150);
    XSync(dpy_.get(), False);
  }

  std::optional<XEvent> NextKeyEvent() {
    return WaitForEvent(
        dpy_.get(), [](const XEvent& e) { return e.type == KeyPress || e.type == KeyRelease; }, 5s);
  }

  KeyCode CodeOf(KeySym sym) { return XKeysymToKeycode(dpy_.get(), sym); }

  TestDisplay dpy_;
  TestWindow win_;
};

struct KeyCase {
  std::uint16_t vk;
  bool extended;
  KeySym keysym;
};

const KeyCase kKeys[] = {
    {0x41, false, XK_a},      {0x26, true, XK_Up},
    {0x2E, true, XK_Delete},  {0xBD, false, XK_minus},
    {0x74, false, XK_F5},     {0x10, false, XK_Shift_L},
    {0x0D, false, XK_Return}, {0x5B, true, XK_Super_L},
    {0x61, false, XK_KP_1},   {0xAF, true, XF86XK_AudioRaiseVolume},
};

TEST_F(X11Input, FocusedWindowGetsTheKeyAndKeyStateFollowsIt) {
  for (const KeyCase& c : kKeys) {
    SCOPED_TRACE(testing::Message() << "vk 0x" << std::hex << c.vk);
    KeyCode expected = CodeOf(c.keysym);
    ASSERT_NE(expected, 0) << "the test display's map lacks the key";

    platform::SendKey(c.vk, c.extended, false);
    auto down = NextKeyEvent();
    ASSERT_TRUE(down.has_value());
    EXPECT_EQ(down->type, KeyPress);
    EXPECT_EQ(down->xkey.keycode, expected);
    EXPECT_EQ(down->xkey.window, win_.get());
    EXPECT_TRUE(platform::IsKeyDown(c.vk));

    platform::SendKey(c.vk, c.extended, true);
    auto up = NextKeyEvent();
    ASSERT_TRUE(up.has_value());
    EXPECT_EQ(up->type, KeyRelease);
    EXPECT_EQ(up->xkey.keycode, expected);
    EXPECT_FALSE(platform::IsKeyDown(c.vk));
  }
}

TEST_F(X11Input, EitherShiftCountsAsShift) {
  platform::SendKey(0xA1, false, false);  // right shift
  ASSERT_TRUE(NextKeyEvent().has_value());
  EXPECT_TRUE(platform::IsKeyDown(0x10));
  EXPECT_TRUE(platform::IsKeyDown(0xA1));
  EXPECT_FALSE(platform::IsKeyDown(0xA0));
  platform::SendKey(0xA1, false, true);
  ASSERT_TRUE(NextKeyEvent().has_value());
  EXPECT_FALSE(platform::IsKeyDown(0x10));
}

TEST_F(X11Input, UnknownKeysSendNothing) {
  // Each is followed by a known key, which must be the first to arrive.
  for (int vk : {0x00, 0x07, 0xFF, 0x1234}) {
    SCOPED_TRACE(testing::Message() << "vk 0x" << std::hex << vk);
    platform::SendKey(static_cast<std::uint16_t>(vk), false, false);
    platform::SendKey(0x42, false, false);
    platform::SendKey(0x42, false, true);
    auto first = NextKeyEvent();
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->type, KeyPress);
    EXPECT_EQ(first->xkey.keycode, CodeOf(XK_b));
    ASSERT_TRUE(NextKeyEvent().has_value());
  }
  EXPECT_FALSE(platform::IsKeyDown(0x07));
}

TEST_F(X11Input, KeysFromManyThreadsAllArrive) {
  constexpr int kPerThread = 50;
  const std::uint16_t vks[] = {0x43, 0x44, 0x45, 0x46};
  std::vector<std::thread> threads;
  for (std::uint16_t vk : vks) {
    threads.emplace_back([vk] {
      for (int i = 0; i < kPerThread; ++i) {
        platform::SendKey(vk, false, false);
        platform::SendKey(vk, false, true);
      }
    });
  }
  for (auto& t : threads) t.join();

  std::map<unsigned, int> presses, releases;
  int total = 0;
  while (total < 2 * kPerThread * static_cast<int>(std::size(vks))) {
    auto e = NextKeyEvent();
    ASSERT_TRUE(e.has_value()) << "only " << total << " events arrived";
    (e->type == KeyPress ? presses : releases)[e->xkey.keycode]++;
    ++total;
  }
  for (KeySym sym : {XK_c, XK_d, XK_e, XK_f}) {
    EXPECT_EQ(presses[CodeOf(sym)], kPerThread);
    EXPECT_EQ(releases[CodeOf(sym)], kPerThread);
  }
}

TEST_F(X11Input, ButtonsReachTheGrabbingWindowAndButtonStateFollowsThem) {
  ASSERT_EQ(XGrabPointer(dpy_.get(), win_.get(), False, ButtonPressMask | ButtonReleaseMask,
                         GrabModeAsync, GrabModeAsync, None, None, CurrentTime),
            GrabSuccess);
  struct ButtonCase {
    int button;
    unsigned xButton;
    int vk;
  };
  const ButtonCase cases[] = {{0, 1, 1}, {1, 3, 2}, {2, 2, 4}, {3, 8, 5}, {4, 9, 6}};
  auto nextButton = [&] {
    return WaitForEvent(
        dpy_.get(),
        [](const XEvent& e) { return e.type == ButtonPress || e.type == ButtonRelease; }, 5s);
  };
  for (const ButtonCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "button " << c.button);
    platform::SendMouseButton(c.button, false);
    auto down = nextButton();
    ASSERT_TRUE(down.has_value());
    EXPECT_EQ(down->type, ButtonPress);
    EXPECT_EQ(down->xbutton.button, c.xButton);
    EXPECT_TRUE(platform::IsKeyDown(c.vk));

    platform::SendMouseButton(c.button, true);
    auto up = nextButton();
    ASSERT_TRUE(up.has_value());
    EXPECT_EQ(up->type, ButtonRelease);
    EXPECT_EQ(up->xbutton.button, c.xButton);
    EXPECT_FALSE(platform::IsKeyDown(c.vk));
  }
  // Out of range: nothing, so the next event is the middle button's.
  platform::SendMouseButton(5, false);
  platform::SendMouseButton(-1, false);
  platform::SendMouseButton(2, false);
  platform::SendMouseButton(2, true);
  auto next = nextButton();
  ASSERT_TRUE(next.has_value());
  EXPECT_EQ(next->xbutton.button, 2u);
  XUngrabPointer(dpy_.get(), CurrentTime);
  XSync(dpy_.get(), False);
}

}  // namespace
}  // namespace velmor
