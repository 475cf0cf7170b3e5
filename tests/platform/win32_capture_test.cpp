// The input capture on Win32: the low-level hooks that hand real keys and
// mouse buttons to the engine and let injected ones pass, and raw input
// reported per device.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "engine/platform/event_queue.h"
#include "engine/platform/input.h"
#include "engine/platform/input_capture.h"
#include "engine/platform/overlay_input.h"
#include "engine/platform/overlay_window.h"
#include "engine/platform/win32/input_capture_win32.h"
#include "tests/platform/win32/test_window.h"

namespace velmor {
namespace {

using platform::DeviceInput;
using platform::DeviceKind;
using platform::kCaptureMouseBase;
using platform::OverlayKind;
using test::PumpUntil;
using test::TestWindow;

struct Captured {
  std::uint32_t code;
  bool down;
  bool operator==(const Captured&) const = default;
};

// What a device event looks like in a failure message.
std::string Describe(const DeviceInput& d) {
  static const char* const kKinds[] = {"kbd", "mouse", "pad"};
  return std::string(kKinds[static_cast<int>(d.kind)]) + " " + std::to_string(d.index) +
         (d.down ? " down" : " up");
}

std::vector<std::string> Describe(const std::vector<DeviceInput>& inputs) {
  std::vector<std::string> out;
  for (const DeviceInput& d : inputs) out.push_back(Describe(d));
  return out;
}

class RecordingSink : public platform::EngineEvents {
 public:
  bool swallow = false;
  std::vector<Captured> captured;
  std::vector<DeviceInput> devices;
  std::vector<std::string> raw;

  void OnMessage(std::uint32_t, std::uintptr_t, std::intptr_t) override {}
  void OnTimer(std::uint32_t) override {}
  void OnCopyData(std::uintptr_t, const void*, std::size_t) override {}
  void OnHotkey(int) override {}
  void OnRawMouse(int dx, int dy, bool leftDown) override {
    raw.push_back(std::to_string(dx) + " " + std::to_string(dy) + (leftDown ? " left" : ""));
  }
  bool OnCapturedInput(std::uint32_t code, bool down) override {
    captured.push_back({code, down});
    return swallow;
  }
  void OnDeviceInput(const DeviceInput& input) override { devices.push_back(input); }

  // The device events of one kind, in arrival order.
  std::vector<std::string> Of(DeviceKind kind) const {
    std::vector<DeviceInput> some;
    std::copy_if(devices.begin(), devices.end(), std::back_inserter(some),
                 [&](const DeviceInput& d) { return d.kind == kind; });
    return Describe(some);
  }
};

bool IsLowerCase(const std::u16string& s) {
  return std::none_of(s.begin(), s.end(), [](char16_t c) { return c >= u'A' && c <= u'Z'; });
}

platform::ArgbImage Image(int width, int height) {
  platform::ArgbImage image;
  image.Reset(width, height);
  std::fill(image.pixels.begin(), image.pixels.end(), 0x80402010u);
  return image;
}

// The engine's queue reports to a recording sink; a test window in front
// holds the foreground, as the user's program would.
class Win32Capture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(platform::StartEventQueue(&sink_));
    ASSERT_TRUE(platform::CreateOverlayWindow(OverlayKind::kWheel));
    ASSERT_TRUE(window_.TakeForeground());
  }
  void TearDown() override {
    platform::SetKeyboardCapture({});
    platform::SetMouseCapture(0);
    platform::UnregisterRawMouseInput();
    platform::HideOverlay(OverlayKind::kWheel);
    // Events the test caused but did not wait for stay out of the next one.
    PumpUntil([] { return false; }, 50);
  }

  RecordingSink sink_;
  TestWindow window_{100, 100, 300, 200};
};

TEST_F(Win32Capture, KeyboardHookHandsRealKeysOverAndPassesInjectedOnes) {
  struct Case {
    const char* what;
    int code;
    WPARAM msg;
    DWORD flags;
    bool engineSwallows;
    LRESULT result;
    std::vector<Captured> captured;
  };
  const Case cases[] = {
      {"press swallowed", HC_ACTION, WM_KEYDOWN, 0, true, 1, {{'K', true}}},
      {"release passed on", HC_ACTION, WM_KEYUP, LLKHF_UP, false, 0, {{'K', false}}},
      {"alt chord press", HC_ACTION, WM_SYSKEYDOWN, LLKHF_ALTDOWN, true, 1, {{'K', true}}},
      {"alt chord release", HC_ACTION, WM_SYSKEYUP, LLKHF_UP, true, 1, {{'K', false}}},
      {"injected", HC_ACTION, WM_KEYDOWN, LLKHF_INJECTED, true, 0, {}},
      {"injected at lower level",
       HC_ACTION,
       WM_KEYDOWN,
       LLKHF_INJECTED | LLKHF_LOWER_IL_INJECTED,
       true,
       0,
       {}},
      {"no action", HC_NOREMOVE, WM_KEYDOWN, 0, true, 0, {}},
  };
  const HOOKPROC proc = platform::win32::CaptureKeyboardHookProc();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    sink_.captured.clear();
    sink_.swallow = c.engineSwallows;
    KBDLLHOOKSTRUCT info{};
    info.vkCode = 'K';
    info.scanCode = 0x25;
    info.flags = c.flags;
    EXPECT_EQ(proc(c.code, c.msg, reinterpret_cast<LPARAM>(&info)), c.result);
    EXPECT_EQ(sink_.captured, c.captured);
  }
}

TEST_F(Win32Capture, MouseHookHandsRealButtonsOverAndPassesEverythingElse) {
  struct Case {
    const char* what;
    WPARAM msg;
    WORD xbutton;
    DWORD flags;
    LRESULT result;
    std::vector<Captured> captured;
  };
  constexpr std::uint32_t kBase = kCaptureMouseBase;
  const Case cases[] = {
      {"left down", WM_LBUTTONDOWN, 0, 0, 1, {{kBase + 0, true}}},
      {"left up", WM_LBUTTONUP, 0, 0, 1, {{kBase + 0, false}}},
      {"right down", WM_RBUTTONDOWN, 0, 0, 1, {{kBase + 1, true}}},
      {"middle up", WM_MBUTTONUP, 0, 0, 1, {{kBase + 2, false}}},
      {"first extra down", WM_XBUTTONDOWN, XBUTTON1, 0, 1, {{kBase + 3, true}}},
      {"second extra down", WM_XBUTTONDOWN, XBUTTON2, 0, 1, {{kBase + 4, true}}},
      {"second extra up", WM_XBUTTONUP, XBUTTON2, 0, 1, {{kBase + 4, false}}},
      {"injected second extra", WM_XBUTTONDOWN, XBUTTON2, LLMHF_INJECTED, 0, {}},
      {"injected left", WM_LBUTTONDOWN, 0, LLMHF_INJECTED, 0, {}},
      {"motion", WM_MOUSEMOVE, 0, 0, 0, {}},
      {"wheel", WM_MOUSEWHEEL, 0, 0, 0, {}},
      {"tilt wheel", WM_MOUSEHWHEEL, 0, 0, 0, {}},
  };
  const HOOKPROC proc = platform::win32::CaptureMouseHookProc();
  sink_.swallow = true;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    sink_.captured.clear();
    MSLLHOOKSTRUCT info{};
    info.pt = {150, 150};
    info.mouseData = MAKELONG(0, c.xbutton);
    info.flags = c.flags;
    EXPECT_EQ(proc(HC_ACTION, c.msg, reinterpret_cast<LPARAM>(&info)), c.result);
    EXPECT_EQ(sink_.captured, c.captured);
  }

  // What the engine does not swallow goes on to the next hook.
  sink_.swallow = false;
  sink_.captured.clear();
  MSLLHOOKSTRUCT info{};
  info.mouseData = MAKELONG(0, XBUTTON2);
  EXPECT_EQ(proc(HC_ACTION, WM_XBUTTONUP, reinterpret_cast<LPARAM>(&info)), 0);
  EXPECT_EQ(sink_.captured, (std::vector<Captured>{{kBase + 4, false}}));
}

TEST_F(Win32Capture, HooksFollowTheCaptureLists) {
  EXPECT_FALSE(platform::KeyboardCaptureInstalled());
  EXPECT_FALSE(platform::MouseCaptureInstalled());

  platform::SetKeyboardCapture({'K'});
  EXPECT_TRUE(platform::KeyboardCaptureInstalled());
  EXPECT_FALSE(platform::MouseCaptureInstalled());
  platform::SetKeyboardCapture({'K', VK_F7});
  EXPECT_TRUE(platform::KeyboardCaptureInstalled());

  platform::SetMouseCapture(1u << 4);
  EXPECT_TRUE(platform::MouseCaptureInstalled());
  platform::SetMouseCapture(0);
  EXPECT_FALSE(platform::MouseCaptureInstalled());
  EXPECT_TRUE(platform::KeyboardCaptureInstalled());

  platform::SetKeyboardCapture({});
  EXPECT_FALSE(platform::KeyboardCaptureInstalled());
}

TEST_F(Win32Capture, InstalledHooksLetInjectedInputThrough) {
  // The engine would swallow everything; its own synthesized input must
  // still reach the target program, and the rules never see it.
  const POINT centre = window_.Centre();
  platform::SetCursorPos({centre.x, centre.y});
  ASSERT_TRUE(PumpUntil([&] {
    return platform::CursorPos() == platform::Point{centre.x, centre.y};
  }));
  sink_.swallow = true;
  platform::SetKeyboardCapture({'Q'});
  platform::SetMouseCapture(1u << 1);
  ASSERT_TRUE(platform::KeyboardCaptureInstalled());
  ASSERT_TRUE(platform::MouseCaptureInstalled());

  auto received = [&](UINT msg) {
    return std::any_of(window_.messages().begin(), window_.messages().end(),
                       [&](const test::WindowMessage& m) { return m.msg == msg; });
  };
  window_.Clear();
  platform::SendKey('Q', false, false);
  platform::SendKey('Q', false, true);
  platform::SendMouseButton(1, false);
  platform::SendMouseButton(1, true);
  EXPECT_TRUE(PumpUntil([&] {
    return received(WM_KEYDOWN) && received(WM_KEYUP) && received(WM_RBUTTONDOWN) &&
           received(WM_RBUTTONUP);
  }));
  EXPECT_TRUE(sink_.captured.empty());
}

TEST_F(Win32Capture, ForegroundOfThisProcessIsOwn) {
  EXPECT_TRUE(platform::ForegroundIsOwnProcess());
}

TEST_F(Win32Capture, RawInputRegistersEveryDeviceClassToTheWheel) {
  ASSERT_TRUE(platform::RegisterRawMouseInput());
  UINT count = 0;
  GetRegisteredRawInputDevices(nullptr, &count, sizeof(RAWINPUTDEVICE));
  std::vector<RAWINPUTDEVICE> devices(count);
  if (count) GetRegisteredRawInputDevices(devices.data(), &count, sizeof(RAWINPUTDEVICE));
  HWND wheel = reinterpret_cast<HWND>(platform::OverlayWindow(OverlayKind::kWheel));
  std::vector<USHORT> usages;
  for (const RAWINPUTDEVICE& d : devices) {
    if (d.hwndTarget != wheel) continue;
    EXPECT_EQ(d.usUsagePage, 1) << "usage " << d.usUsage;
    EXPECT_TRUE(d.dwFlags & RIDEV_INPUTSINK) << "usage " << d.usUsage;
    usages.push_back(d.usUsage);
  }
  std::sort(usages.begin(), usages.end());
  EXPECT_EQ(usages, (std::vector<USHORT>{2, 4, 5, 6}));
}

TEST_F(Win32Capture, RawKeysAndButtonsArriveAsDeviceEvents) {
  ASSERT_TRUE(platform::RegisterRawMouseInput());
  platform::SendKey('K', false, false);
  platform::SendKey('K', false, true);
  platform::SendMouseButton(3, false);
  platform::SendMouseButton(3, true);
  ASSERT_TRUE(PumpUntil([&] { return sink_.devices.size() >= 4; }))
      << testing::PrintToString(Describe(sink_.devices));
  EXPECT_EQ(sink_.Of(DeviceKind::Keyboard), (std::vector<std::string>{"kbd 75 down", "kbd 75 up"}));
  EXPECT_EQ(sink_.Of(DeviceKind::Mouse), (std::vector<std::string>{"mouse 3 down", "mouse 3 up"}));
  // Injected input has no device on Windows; Wine names its virtual ones.
  // A named device is the one the device list shows, of the same kind.
  const std::vector<platform::InputDeviceInfo> listed = platform::ListInputDevices();
  for (const DeviceInput& d : sink_.devices) {
    EXPECT_TRUE(IsLowerCase(d.device)) << Describe(d);
    if (d.device.empty()) continue;
    EXPECT_TRUE(std::any_of(
        listed.begin(), listed.end(),
        [&](const platform::InputDeviceInfo& l) { return l.name == d.device && l.kind == d.kind; }))
        << Describe(d) << " from an unlisted device";
  }

  // While the wheel is shown its clicks are the wheel's; keys still count.
  platform::ShowOverlay(OverlayKind::kWheel, {300, 200}, Image(100, 100));
  ASSERT_TRUE(platform::OverlayShown(OverlayKind::kWheel));
  sink_.devices.clear();
  platform::SendMouseButton(4, false);
  platform::SendMouseButton(4, true);
  platform::SendKey('J', false, false);
  platform::SendKey('J', false, true);
  ASSERT_TRUE(PumpUntil([&] { return sink_.Of(DeviceKind::Keyboard).size() >= 2; }));
  PumpUntil([] { return false; }, 50);
  EXPECT_TRUE(sink_.Of(DeviceKind::Mouse).empty())
      << testing::PrintToString(sink_.Of(DeviceKind::Mouse));
}

TEST_F(Win32Capture, InputDeviceListIsLowerCaseAndKnowsItsKinds) {
  // Wine lists its virtual mouse and keyboard; a real system lists more.
  for (const platform::InputDeviceInfo& d : platform::ListInputDevices()) {
    EXPECT_FALSE(d.name.empty());
    EXPECT_TRUE(IsLowerCase(d.name));
    EXPECT_TRUE(d.kind == DeviceKind::Keyboard || d.kind == DeviceKind::Mouse ||
                d.kind == DeviceKind::Pad);
  }
}

// A packet as GetRawInputData would hand it over, from no device.
struct Packet {
  alignas(RAWINPUT) BYTE bytes[sizeof(RAWINPUT) + 64] = {};
  std::size_t size = 0;

  RAWINPUT& input() { return *reinterpret_cast<RAWINPUT*>(bytes); }
  static Packet Keyboard(USHORT vk, USHORT flags) {
    Packet p;
    p.input().header.dwType = RIM_TYPEKEYBOARD;
    p.input().data.keyboard.VKey = vk;
    p.input().data.keyboard.Flags = flags;
    p.size = sizeof(RAWINPUTHEADER) + sizeof(RAWKEYBOARD);
    return p;
  }
  static Packet Mouse(USHORT buttonFlags, LONG dx, LONG dy, USHORT flags = MOUSE_MOVE_RELATIVE) {
    Packet p;
    p.input().header.dwType = RIM_TYPEMOUSE;
    p.input().data.mouse.usFlags = flags;
    p.input().data.mouse.usButtonFlags = buttonFlags;
    p.input().data.mouse.lLastX = dx;
    p.input().data.mouse.lLastY = dy;
    p.size = sizeof(RAWINPUTHEADER) + sizeof(RAWMOUSE);
    return p;
  }
};

TEST_F(Win32Capture, RawPacketsBecomeDeviceEvents) {
  constexpr USHORT kAllButtons =
      RI_MOUSE_LEFT_BUTTON_DOWN | RI_MOUSE_LEFT_BUTTON_UP | RI_MOUSE_RIGHT_BUTTON_DOWN |
      RI_MOUSE_RIGHT_BUTTON_UP | RI_MOUSE_MIDDLE_BUTTON_DOWN | RI_MOUSE_MIDDLE_BUTTON_UP |
      RI_MOUSE_BUTTON_4_DOWN | RI_MOUSE_BUTTON_4_UP | RI_MOUSE_BUTTON_5_DOWN | RI_MOUSE_BUTTON_5_UP;
  struct Case {
    const char* what;
    Packet packet;
    bool wheelShown;
    std::vector<std::string> devices;
    std::vector<std::string> raw;
  };
  Packet truncated = Packet::Keyboard('A', 0);
  truncated.size = sizeof(RAWINPUTHEADER) + 4;
  const Case cases[] = {
      {"key press", Packet::Keyboard('A', RI_KEY_MAKE), false, {"kbd 65 down"}, {}},
      {"key release",
       Packet::Keyboard(VK_RETURN, RI_KEY_BREAK | RI_KEY_E0),
       false,
       {"kbd 13 up"},
       {}},
      {"key while the wheel is shown", Packet::Keyboard('A', 0), true, {"kbd 65 down"}, {}},
      {"key without a virtual key", Packet::Keyboard(0, 0), false, {}, {}},
      {"key the system made up", Packet::Keyboard(0xFF, RI_KEY_E1), false, {}, {}},
      {"key packet cut short", truncated, false, {}, {}},
      {"every button at once",
       Packet::Mouse(kAllButtons, 0, 0),
       false,
       {"mouse 0 down", "mouse 0 up", "mouse 1 down", "mouse 1 up", "mouse 2 down", "mouse 2 up",
        "mouse 3 down", "mouse 3 up", "mouse 4 down", "mouse 4 up"},
       {"0 0 left"}},
      {"extra button with motion",
       Packet::Mouse(RI_MOUSE_BUTTON_5_DOWN, 3, -2),
       false,
       {"mouse 4 down"},
       {"3 -2"}},
      {"buttons while the wheel is shown",
       Packet::Mouse(kAllButtons, 5, 0),
       true,
       {},
       {"5 0 left"}},
      {"absolute position",
       Packet::Mouse(RI_MOUSE_RIGHT_BUTTON_UP, 30000, 20000, MOUSE_MOVE_ABSOLUTE),
       false,
       {"mouse 1 up"},
       {}},
      {"wheel turned", Packet::Mouse(RI_MOUSE_WHEEL, 0, 0), false, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    sink_.devices.clear();
    sink_.raw.clear();
    Packet p = c.packet;
    platform::win32::ReportRawInput(p.input(), p.size, c.wheelShown, sink_);
    EXPECT_EQ(Describe(sink_.devices), c.devices);
    EXPECT_EQ(sink_.raw, c.raw);
    // No device: the name of injected input.
    for (const DeviceInput& d : sink_.devices) EXPECT_EQ(d.device, u"");
  }
}

TEST_F(Win32Capture, HidPacketsOfAnUnknownDeviceAreDropped) {
  // No preparsed data can be read for them; the packet's own sizes are not
  // trusted beyond what was received either.
  struct Case {
    const char* what;
    DWORD sizeHid, count;
    std::size_t bytes;
  };
  const std::size_t header = offsetof(RAWINPUT, data.hid.bRawData);
  const Case cases[] = {
      {"one report", 8, 1, header + 8},
      {"reports past the packet's end", 8, 4, header + 8},
      {"counts that overflow", 0x80000000u, 0x80000000u, header + 8},
      {"empty reports", 0, 3, header},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    sink_.devices.clear();
    Packet p;
    p.input().header.dwType = RIM_TYPEHID;
    p.input().data.hid.dwSizeHid = c.sizeHid;
    p.input().data.hid.dwCount = c.count;
    std::memset(p.input().data.hid.bRawData, 0xFF, 8);
    platform::win32::ReportRawInput(p.input(), c.bytes, false, sink_);
    EXPECT_TRUE(sink_.devices.empty());
  }
}

TEST(Win32GameButtons, PressedUsagesBecomeBits) {
  struct Case {
    std::vector<std::uint16_t> usages;
    std::uint64_t bits;
  };
  const Case cases[] = {
      {{}, 0},
      {{1}, 0x1},
      {{1, 3, 3}, 0x5},
      {{64}, std::uint64_t{1} << 63},
      {{0, 65, 0x8001, 2}, 0x2},  // only 1..64 are buttons
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::win32::ButtonBits(c.usages.data(), c.usages.size()), c.bits)
        << testing::PrintToString(c.usages);
  }
}

TEST(Win32GameButtons, ChangedButtonsAreReportedInOrder) {
  RecordingSink sink;
  std::uint64_t last = 0;
  const std::u16string pad = u"\\\\?\\hid#vid_045e&pid_0b0a#1";

  platform::win32::ReportButtonChanges(last, 0x5, pad, sink);
  EXPECT_EQ(Describe(sink.devices), (std::vector<std::string>{"pad 1 down", "pad 3 down"}));
  EXPECT_EQ(last, 0x5u);

  sink.devices.clear();
  const std::uint64_t next = 0x6 | (std::uint64_t{1} << 63);
  platform::win32::ReportButtonChanges(last, next, pad, sink);
  EXPECT_EQ(Describe(sink.devices),
            (std::vector<std::string>{"pad 1 up", "pad 2 down", "pad 64 down"}));
  EXPECT_EQ(last, next);
  for (const DeviceInput& d : sink.devices) EXPECT_EQ(d.device, pad);

  sink.devices.clear();
  platform::win32::ReportButtonChanges(last, next, pad, sink);
  EXPECT_TRUE(sink.devices.empty());
}

}  // namespace
}  // namespace velmor
