// The overlay's windows and input on Win32: layered topmost windows that
// never take the focus, the toggle key, the mouse held while the wheel is
// shown, the cursor, raw motion, other programs' windows and game pads.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/core/engine_messages.h"
#include "engine/platform/desktop.h"
#include "engine/platform/event_queue.h"
#include "engine/platform/input.h"
#include "engine/platform/overlay_input.h"
#include "engine/platform/overlay_window.h"
#include "engine/platform/win32/mouse_hook_rules.h"
#include "engine/platform/win32/unique_handle.h"
#include "tests/platform/win32/test_window.h"

namespace velmor {
namespace {

using platform::OverlayKind;
using platform::Point;
using platform::Rect;
using platform::WindowId;
using test::PumpUntil;
using test::TestWindow;

using Lines = std::vector<std::string>;

class RecordingSink : public platform::EngineEvents {
 public:
  Lines lines;
  bool Has(const std::string& line) const {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }

  void OnMessage(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) override {
    char buf[64];
    std::snprintf(buf, sizeof buf, "msg %04X %llu %lld", msg,
                  static_cast<unsigned long long>(wParam), static_cast<long long>(lParam));
    lines.emplace_back(buf);
  }
  void OnTimer(std::uint32_t id) override { lines.push_back("timer " + std::to_string(id)); }
  void OnCopyData(std::uintptr_t tag, const void*, std::size_t) override {
    lines.push_back("copy " + std::to_string(tag));
  }
  void OnHotkey(int id) override { lines.push_back("hotkey " + std::to_string(id)); }
  void OnRawMouse(int dx, int dy, bool leftDown) override {
    lines.push_back("raw " + std::to_string(dx) + " " + std::to_string(dy) +
                    (leftDown ? " left" : ""));
  }
};

HWND Hwnd(WindowId w) {
  return reinterpret_cast<HWND>(w);
}
HWND Hwnd(OverlayKind kind) {
  return Hwnd(platform::OverlayWindow(kind));
}

Rect WindowRect(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return {static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.right),
          static_cast<int>(r.bottom)};
}

platform::ArgbImage Image(int width, int height) {
  platform::ArgbImage image;
  image.Reset(width, height);
  std::fill(image.pixels.begin(), image.pixels.end(), 0x80402010u);
  return image;
}

void SendRelativeMove(int dx, int dy) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = dx;
  in.mi.dy = dy;
  in.mi.dwFlags = MOUSEEVENTF_MOVE;
  SendInput(1, &in, sizeof in);
}

const OverlayKind kAllKinds[] = {OverlayKind::kWheel, OverlayKind::kLauncher, OverlayKind::kToast,
                                 OverlayKind::kHeldKeysBar};

// A test window in front holds the foreground, as a game would; the engine's
// queue reports to a recording sink.
class Win32Overlay : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(platform::StartEventQueue(&sink_));
    for (OverlayKind kind : kAllKinds) ASSERT_TRUE(platform::CreateOverlayWindow(kind));
    ASSERT_TRUE(window_.TakeForeground());
  }
  void TearDown() override {
    for (OverlayKind kind : kAllKinds) platform::HideOverlay(kind);
    platform::RemoveBlockingMouseHook();
    platform::RemoveToggleMouseHook();
    platform::UnregisterToggleHotkey();
    platform::UnregisterRawMouseInput();
    platform::FreeCursorClip();
    // Events the test caused but did not wait for stay out of the next one.
    PumpUntil([] { return false; }, 50);
  }

  RecordingSink sink_;
  TestWindow window_{100, 100, 300, 200};
};

TEST_F(Win32Overlay, WindowsHaveTheirClassesStylesAndCursors) {
  struct Case {
    OverlayKind kind;
    const wchar_t* className;
    bool clickThrough;
    LPCWSTR cursor;
  };
  const Case cases[] = {
      {OverlayKind::kWheel, L"RadialOverlayWheel", false, MAKEINTRESOURCEW(32512)},
      {OverlayKind::kLauncher, L"RadialOverlayLauncher", false, MAKEINTRESOURCEW(32649)},
      {OverlayKind::kToast, L"RadialOverlayToast", true, MAKEINTRESOURCEW(32512)},
      {OverlayKind::kHeldKeysBar, L"RadialOverlayToast", true, MAKEINTRESOURCEW(32512)},
  };
  std::vector<HWND> seen;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "kind " << static_cast<int>(c.kind));
    HWND w = Hwnd(c.kind);
    ASSERT_NE(w, nullptr);
    // A second creation keeps the window.
    EXPECT_TRUE(platform::CreateOverlayWindow(c.kind));
    EXPECT_EQ(Hwnd(c.kind), w);
    EXPECT_EQ(std::find(seen.begin(), seen.end(), w), seen.end()) << "window shared by two kinds";
    seen.push_back(w);

    wchar_t name[64] = {};
    GetClassNameW(w, name, 64);
    EXPECT_EQ(std::wstring(name), c.className);
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(w, GWL_STYLE));
    const auto ex = static_cast<DWORD>(GetWindowLongPtrW(w, GWL_EXSTYLE));
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & WS_CAPTION);
    const DWORD required = WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    EXPECT_EQ(ex & required, required);
    EXPECT_EQ((ex & WS_EX_TRANSPARENT) != 0, c.clickThrough);
    EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrW(w, GCLP_HCURSOR)),
              LoadCursorW(nullptr, c.cursor));
    EXPECT_FALSE(platform::OverlayShown(c.kind));
  }
}

TEST_F(Win32Overlay, ShowPlacesTheImageTopmostWithoutTakingTheForeground) {
  for (OverlayKind kind : kAllKinds) {
    SCOPED_TRACE(testing::Message() << "kind " << static_cast<int>(kind));
    HWND w = Hwnd(kind);
    platform::ShowOverlay(kind, {200, 150}, Image(120, 80));
    EXPECT_TRUE(platform::OverlayShown(kind));
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_EQ(WindowRect(w), (Rect{200, 150, 320, 230}));
    EXPECT_TRUE(GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST);
    // Nothing that arrives later may pass the focus to the overlay either.
    PumpUntil([] { return false; }, 50);
    EXPECT_EQ(GetForegroundWindow(), window_.hwnd());

    // A shown window takes a new picture of another size in another place.
    platform::ShowOverlay(kind, {-40, 600}, Image(300, 52));
    EXPECT_EQ(WindowRect(w), (Rect{-40, 600, 260, 652}));
    platform::MoveOverlay(kind, {10, 20});
    EXPECT_EQ(WindowRect(w), (Rect{10, 20, 310, 72}));
    EXPECT_TRUE(platform::OverlayShown(kind));

    platform::HideOverlay(kind);
    EXPECT_FALSE(platform::OverlayShown(kind));
    EXPECT_FALSE(IsWindowVisible(w));
    EXPECT_EQ(GetForegroundWindow(), window_.hwnd());
  }
}

TEST_F(Win32Overlay, WheelTakesTheFocusOnlyWhenAsked) {
  platform::ShowOverlay(OverlayKind::kWheel, {300, 200}, Image(588, 516));
  EXPECT_EQ(GetForegroundWindow(), window_.hwnd());
  platform::TakeFocusForWheel();
  EXPECT_TRUE(PumpUntil([] { return GetForegroundWindow() == Hwnd(OverlayKind::kWheel); }))
      << "foreground " << GetForegroundWindow();
}

TEST_F(Win32Overlay, WheelWindowReportsClicksAndRawMotion) {
  HWND wheel = Hwnd(OverlayKind::kWheel);
  PostMessageW(wheel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  PostMessageW(wheel, WM_OVL_WHEELCLICK, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return sink_.lines.size() >= 2; }));
  EXPECT_EQ(sink_.lines, (Lines{"msg 8002 0 0", "msg 8002 0 0"}));

  // Raw input reaches the wheel window while another window has the focus.
  ASSERT_TRUE(platform::RegisterRawMouseInput());
  sink_.lines.clear();
  SendRelativeMove(7, -4);
  ASSERT_TRUE(PumpUntil([&] { return !sink_.lines.empty(); }));
  // The pointer speed may scale injected motion (Wine doubles it here); the
  // direction is what raw input must keep.
  int dx = 0, dy = 0;
  ASSERT_EQ(std::sscanf(sink_.lines.front().c_str(), "raw %d %d", &dx, &dy), 2)
      << sink_.lines.front();
  EXPECT_GT(dx, 0);
  EXPECT_LT(dy, 0);
  EXPECT_EQ(sink_.lines.size(), 1u);

  sink_.lines.clear();
  platform::SendMouseButton(0, false);
  platform::SendMouseButton(0, true);
  ASSERT_TRUE(PumpUntil([&] { return !sink_.lines.empty(); }));
  EXPECT_EQ(sink_.lines, (Lines{"raw 0 0 left"}));

  platform::UnregisterRawMouseInput();
  UINT count = 0;
  GetRegisteredRawInputDevices(nullptr, &count, sizeof(RAWINPUTDEVICE));
  std::vector<RAWINPUTDEVICE> devices(count);
  if (count) GetRegisteredRawInputDevices(devices.data(), &count, sizeof(RAWINPUTDEVICE));
  for (UINT i = 0; i < count; ++i) EXPECT_NE(devices[i].hwndTarget, wheel) << "usage " << i;
}

TEST_F(Win32Overlay, ToggleHotkeyArrivesAndHoldsItsChord) {
  constexpr unsigned kChord = platform::kModControl | platform::kModAlt;
  ASSERT_TRUE(platform::RegisterToggleHotkey(kChord, 'K'));
  // Another window cannot take the chord while the engine holds it.
  EXPECT_FALSE(RegisterHotKey(window_.hwnd(), 1, MOD_CONTROL | MOD_ALT, 'K'));

  platform::SendKey(VK_CONTROL, false, false);
  platform::SendKey(VK_MENU, false, false);
  platform::SendKey('K', false, false);
  platform::SendKey('K', false, true);
  platform::SendKey(VK_MENU, false, true);
  platform::SendKey(VK_CONTROL, false, true);
  EXPECT_TRUE(PumpUntil([&] { return sink_.Has("hotkey 1"); }));

  // A new chord replaces the old one, which is free again.
  ASSERT_TRUE(platform::RegisterToggleHotkey(kChord, 'J'));
  EXPECT_FALSE(RegisterHotKey(window_.hwnd(), 1, MOD_CONTROL | MOD_ALT, 'J'));
  EXPECT_TRUE(RegisterHotKey(window_.hwnd(), 1, MOD_CONTROL | MOD_ALT, 'K'));
  UnregisterHotKey(window_.hwnd(), 1);

  platform::UnregisterToggleHotkey();
  EXPECT_TRUE(RegisterHotKey(window_.hwnd(), 2, MOD_CONTROL | MOD_ALT, 'J'));
  // Taken by someone else: the engine is told.
  EXPECT_FALSE(platform::RegisterToggleHotkey(kChord, 'J'));
  UnregisterHotKey(window_.hwnd(), 2);
  EXPECT_TRUE(platform::RegisterToggleHotkey(kChord, 'J'));
}

TEST_F(Win32Overlay, InjectedClicksPassTheMouseHooks) {
  SetCursorPos(window_.Centre().x, window_.Centre().y);
  platform::InstallToggleMouseHook(2);
  platform::InstallBlockingMouseHook(2);
  EXPECT_TRUE(platform::BlockingMouseHookInstalled());

  // The engine's own clicks (fields, click grid) are injected and must reach
  // the program under the cursor while the wheel holds the mouse.
  for (int button : {0, 2}) {
    SCOPED_TRACE(testing::Message() << "button " << button);
    window_.Clear();
    const UINT down = button == 0 ? WM_LBUTTONDOWN : WM_MBUTTONDOWN;
    const UINT up = button == 0 ? WM_LBUTTONUP : WM_MBUTTONUP;
    platform::SendMouseButton(button, false);
    platform::SendMouseButton(button, true);
    auto seen = [&](UINT msg) {
      return std::any_of(window_.messages().begin(), window_.messages().end(),
                         [&](const test::WindowMessage& m) { return m.msg == msg; });
    };
    EXPECT_TRUE(PumpUntil([&] { return seen(down) && seen(up); }));
  }
  // What the hooks post is handled before the input they saw arrives.
  EXPECT_EQ(sink_.lines, Lines{});

  platform::RemoveBlockingMouseHook();
  EXPECT_FALSE(platform::BlockingMouseHookInstalled());
}

TEST(Win32MouseHookRules, ToggleAndBlockingHooksSortEveryEvent) {
  using platform::win32::BlockingHookAction;
  using platform::win32::HookAction;
  using platform::win32::ToggleHookAction;
  constexpr DWORD kReal = 0, kInjected = LLMHF_INJECTED;
  constexpr DWORD kX1 = MAKELONG(0, XBUTTON1), kX2 = MAKELONG(0, XBUTTON2);
  struct Case {
    bool blocking;
    int button;
    WPARAM msg;
    DWORD mouseData, flags;
    HookAction expected;
  };
  const Case cases[] = {
      // The toggle hook takes the chosen button, the press and its release.
      {false, 2, WM_MBUTTONDOWN, 0, kReal, HookAction::kToggle},
      {false, 2, WM_MBUTTONUP, 0, kReal, HookAction::kSwallow},
      {false, 2, WM_MBUTTONDOWN, 0, kInjected, HookAction::kPass},
      {false, 2, WM_XBUTTONDOWN, kX1, kReal, HookAction::kPass},
      {false, 2, WM_LBUTTONDOWN, 0, kReal, HookAction::kPass},
      {false, 2, WM_MOUSEMOVE, 0, kReal, HookAction::kPass},
      {false, 3, WM_XBUTTONDOWN, kX1, kReal, HookAction::kToggle},
      {false, 3, WM_XBUTTONUP, kX1, kReal, HookAction::kSwallow},
      {false, 3, WM_XBUTTONDOWN, kX2, kReal, HookAction::kPass},
      {false, 3, WM_MBUTTONDOWN, 0, kReal, HookAction::kPass},
      {false, 4, WM_XBUTTONDOWN, kX2, kReal, HookAction::kToggle},
      {false, 4, WM_XBUTTONDOWN, kX1, kReal, HookAction::kPass},
      {false, 4, WM_XBUTTONUP, kX2, kInjected, HookAction::kPass},
      // The blocking hook lets no real event through.
      {true, 3, WM_XBUTTONDOWN, kX1, kReal, HookAction::kToggle},
      {true, 3, WM_XBUTTONUP, kX1, kReal, HookAction::kSwallow},
      {true, 3, WM_XBUTTONDOWN, kX2, kReal, HookAction::kSwallow},
      {true, 3, WM_LBUTTONDOWN, 0, kReal, HookAction::kWheelClick},
      {true, 3, WM_LBUTTONUP, 0, kReal, HookAction::kSwallow},
      {true, 3, WM_RBUTTONDOWN, 0, kReal, HookAction::kSwallow},
      {true, 3, WM_MOUSEMOVE, 0, kReal, HookAction::kSwallow},
      {true, 3, WM_MOUSEWHEEL, MAKELONG(0, 120), kReal, HookAction::kSwallow},
      {true, 3, WM_LBUTTONDOWN, 0, kInjected, HookAction::kPass},
      {true, 3, WM_MOUSEMOVE, 0, kInjected, HookAction::kPass},
      {true, platform::kNoButton, WM_MBUTTONDOWN, 0, kReal, HookAction::kSwallow},
      {true, platform::kNoButton, WM_LBUTTONDOWN, 0, kReal, HookAction::kWheelClick},
      {true, 2, WM_MBUTTONDOWN, 0, kReal, HookAction::kToggle},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << (c.blocking ? "blocking" : "toggle") << " button " << c.button << " msg "
                 << std::hex << c.msg << " data " << c.mouseData << " flags " << c.flags);
    HookAction got = c.blocking ? BlockingHookAction(c.button, c.msg, c.mouseData, c.flags)
                                : ToggleHookAction(c.button, c.msg, c.mouseData, c.flags);
    EXPECT_EQ(static_cast<int>(got), static_cast<int>(c.expected));
  }
}

TEST_F(Win32Overlay, CursorClipHoldsOnePixelUntilFreed) {
  const Rect screen = platform::VirtualScreen();
  platform::ClipCursorTo({300, 200});
  EXPECT_TRUE(platform::CursorClipped());
  RECT clip{};
  ASSERT_TRUE(GetClipCursor(&clip));
  EXPECT_EQ((Rect{clip.left, clip.top, clip.right, clip.bottom}), (Rect{300, 200, 301, 201}));

  platform::FreeCursorClip();
  EXPECT_FALSE(platform::CursorClipped());
  ASSERT_TRUE(GetClipCursor(&clip));
  EXPECT_EQ((Rect{clip.left, clip.top, clip.right, clip.bottom}), screen);
}

TEST_F(Win32Overlay, SystemCursorsHideAndComeBack) {
  for (int round = 0; round < 2; ++round) {
    platform::HideSystemCursors();
    EXPECT_TRUE(platform::SystemCursorsHidden());
    platform::RestoreSystemCursors();
    EXPECT_FALSE(platform::SystemCursorsHidden());
  }
}

TEST_F(Win32Overlay, MonitorsCoverTheDesktop) {
  const Rect primary = platform::PrimaryMonitor();
  const Rect all = platform::VirtualScreen();
  EXPECT_EQ(primary.left, 0);
  EXPECT_EQ(primary.top, 0);
  EXPECT_EQ(primary.Width(), GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(primary.Height(), GetSystemMetrics(SM_CYSCREEN));
  EXPECT_TRUE(all.Contains({primary.left, primary.top}));
  EXPECT_TRUE(all.Contains({primary.right - 1, primary.bottom - 1}));

  EXPECT_EQ(platform::MonitorAt({primary.right / 2, primary.bottom / 2}), primary);
  // Far off every screen the nearest monitor answers.
  const Rect nearest = platform::MonitorAt({all.right + 5000, all.bottom + 5000});
  EXPECT_GT(nearest.Width(), 0);
  EXPECT_TRUE(all.Contains({nearest.left, nearest.top}));

  EXPECT_EQ(platform::MonitorOfWindow(0), primary);
  EXPECT_EQ(platform::MonitorOfWindow(reinterpret_cast<WindowId>(window_.hwnd())), primary);
  EXPECT_FALSE(platform::FullScreenProgramRunning());
}

// Another program with a titled window, as the minimise button finds them.
class ChildProgram {
 public:
  explicit ChildProgram(const wchar_t* commandLine) {
    std::wstring command = commandLine;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi)) {
      return;
    }
    CloseHandle(pi.hThread);
    process_.reset(pi.hProcess);
    id_ = pi.dwProcessId;
  }
  ~ChildProgram() {
    if (!process_) return;
    TerminateProcess(process_.get(), 0);
    WaitForSingleObject(process_.get(), 5000);
  }
  ChildProgram(const ChildProgram&) = delete;
  ChildProgram& operator=(const ChildProgram&) = delete;

  DWORD id() const { return id_; }

 private:
  platform::win32::UniqueKernelHandle process_;
  DWORD id_ = 0;
};

TEST_F(Win32Overlay, MinimiseButtonFindsOtherProgramsWindowsOnly) {
  for (OverlayKind kind : kAllKinds) platform::ShowOverlay(kind, {0, 0}, Image(40, 40));
  ChildProgram notepad(L"notepad.exe");
  ASSERT_NE(notepad.id(), 0u);

  auto windowOfChild = [&]() -> WindowId {
    for (WindowId w : platform::MinimisableWindows()) {
      if (platform::WindowProcess(w) == notepad.id()) return w;
    }
    return 0;
  };
  WindowId child = 0;
  ASSERT_TRUE(PumpUntil([&] { return (child = windowOfChild()) != 0; }, 20000));

  // Our own windows are never minimised, titled or not, overlay or not.
  const std::vector<WindowId> listed = platform::MinimisableWindows();
  for (WindowId w : listed) {
    EXPECT_NE(platform::WindowProcess(w), GetCurrentProcessId()) << "own window " << w;
  }
  EXPECT_EQ(platform::WindowProcess(reinterpret_cast<WindowId>(window_.hwnd())),
            GetCurrentProcessId());

  platform::MinimiseWindow(child);
  EXPECT_TRUE(PumpUntil([&] { return platform::WindowMinimised(child); }));
  EXPECT_EQ(windowOfChild(), 0u) << "a minimised window is listed again";
  // Whether the foreground stays is left untested: Wine activates another
  // window when one is minimised, even without activation asked for.

  platform::RestoreWindow(child);
  EXPECT_TRUE(PumpUntil([&] { return !platform::WindowMinimised(child); }));
  EXPECT_EQ(windowOfChild(), child);
}

TEST(Win32Pads, LibraryLoadsAndAbsentPadsReadAsNotConnected) {
  ASSERT_TRUE(platform::LoadPadLibrary());
  EXPECT_TRUE(platform::LoadPadLibrary());
  for (int index : {0, 3, -1, 4}) {
    SCOPED_TRACE(index);
    const platform::PadState pad = platform::ReadPad(index);
    EXPECT_FALSE(pad.connected);
    EXPECT_EQ(pad.buttons, 0);
  }
}

}  // namespace
}  // namespace velmor
