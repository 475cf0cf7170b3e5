#include "engine/platform/overlay_input.h"

#include <windows.h>

#include <array>
#include <iterator>
#include <vector>

#include "engine/core/engine_messages.h"
#include "engine/platform/overlay_window.h"
#include "engine/platform/win32/engine_window_win32.h"
#include "engine/platform/win32/input_capture_win32.h"
#include "engine/platform/win32/mouse_hook_rules.h"
#include "engine/platform/win32/unique_handle.h"

namespace velmor::platform {

namespace win32 {

namespace {

// Which button an event is about and whether it goes down; -1 for motion,
// the wheel and the buttons no toggle key uses.
struct ButtonEvent {
  int button = -1;
  bool down = false;
};

ButtonEvent ButtonOf(WPARAM msg, DWORD mouseData) {
  switch (msg) {
    case WM_LBUTTONDOWN:
      return {0, true};
    case WM_LBUTTONUP:
      return {0, false};
    case WM_MBUTTONDOWN:
      return {2, true};
    case WM_MBUTTONUP:
      return {2, false};
    case WM_XBUTTONDOWN:
    case WM_XBUTTONUP: {
      const WORD which = HIWORD(mouseData);
      const bool down = msg == WM_XBUTTONDOWN;
      if (which == XBUTTON1) return {3, down};
      if (which == XBUTTON2) return {4, down};
      return {};
    }
    default:
      return {};
  }
}

bool Injected(DWORD flags) {
  return (flags & LLMHF_INJECTED) != 0;
}

}  // namespace

HookAction ToggleHookAction(int button, WPARAM msg, DWORD mouseData, DWORD flags) {
  if (Injected(flags)) return HookAction::kPass;
  const ButtonEvent e = ButtonOf(msg, mouseData);
  if (e.button < 0 || e.button != button) return HookAction::kPass;
  // The release goes too: a target that saw only the release could act on it.
  return e.down ? HookAction::kToggle : HookAction::kSwallow;
}

HookAction BlockingHookAction(int toggleButton, WPARAM msg, DWORD mouseData, DWORD flags) {
  if (Injected(flags)) return HookAction::kPass;
  const ButtonEvent e = ButtonOf(msg, mouseData);
  if (e.down && e.button >= 0 && e.button == toggleButton) return HookAction::kToggle;
  if (e.down && e.button == 0) return HookAction::kWheelClick;
  return HookAction::kSwallow;
}

}  // namespace win32

namespace {

constexpr int kToggleHotkeyId = 1;

struct HookState {
  win32::UniqueHook toggleHook;
  int toggleButton = kNoButton;
  win32::UniqueHook blockingHook;
  int blockingToggleButton = kNoButton;
};

// GUI thread only: the hooks were installed from it, so their procedures run
// on it too.
HookState& Hooks() {
  static HookState state;
  return state;
}

bool g_hotkeyRegistered = false;
bool g_cursorClipped = false;
bool g_cursorsHidden = false;

// Raw input registrations of the wheel window, kept for removing them again.
std::vector<RAWINPUTDEVICE>& RawRegistrations() {
  static std::vector<RAWINPUTDEVICE> devices;
  return devices;
}

// Hook procedures only translate and post: a slow low-level hook stalls the
// whole desktop's mouse, and Windows drops hooks that keep it waiting.
LRESULT Act(win32::HookAction action, int code, WPARAM wParam, LPARAM lParam) {
  switch (action) {
    case win32::HookAction::kPass:
      return CallNextHookEx(nullptr, code, wParam, lParam);
    case win32::HookAction::kToggle:
      PostMessageW(win32::EngineMainWindow(), WM_HOTKEY, kToggleHotkeyId, 0);
      return 1;
    case win32::HookAction::kWheelClick:
      PostMessageW(reinterpret_cast<HWND>(OverlayWindow(OverlayKind::kWheel)), WM_OVL_WHEELCLICK, 0,
                   0);
      return 1;
    case win32::HookAction::kSwallow:
      return 1;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK ToggleHookProc(int code, WPARAM wParam, LPARAM lParam) {
  const HookState& hooks = Hooks();
  // While the wheel is shown the blocking hook owns the toggle button.
  if (code != HC_ACTION || hooks.blockingHook) return CallNextHookEx(nullptr, code, wParam, lParam);
  const auto* info = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
  return Act(win32::ToggleHookAction(hooks.toggleButton, wParam, info->mouseData, info->flags),
             code, wParam, lParam);
}

LRESULT CALLBACK BlockingHookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code != HC_ACTION) return CallNextHookEx(nullptr, code, wParam, lParam);
  const auto* info = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
  return Act(
      win32::BlockingHookAction(Hooks().blockingToggleButton, wParam, info->mouseData, info->flags),
      code, wParam, lParam);
}

HHOOK InstallMouseHook(HOOKPROC proc) {
  return SetWindowsHookExW(WH_MOUSE_LL, proc, win32::EngineModule(), 0);
}

}  // namespace

bool RegisterToggleHotkey(unsigned modifiers, std::uint16_t vk) {
  HWND main = win32::EngineMainWindow();
  // Without the main window the hotkey would go to the thread's queue, which
  // no one reads as the engine's.
  if (!main || vk == 0) return false;
  UnregisterToggleHotkey();
  constexpr UINT kModNoRepeat = 0x4000;
  g_hotkeyRegistered = RegisterHotKey(main, kToggleHotkeyId, modifiers | kModNoRepeat, vk) != 0;
  return g_hotkeyRegistered;
}

void UnregisterToggleHotkey() {
  if (!g_hotkeyRegistered) return;
  UnregisterHotKey(win32::EngineMainWindow(), kToggleHotkeyId);
  g_hotkeyRegistered = false;
}

void InstallToggleMouseHook(int button) {
  RemoveToggleMouseHook();
  if (button < 2 || button > 4) return;
  HookState& hooks = Hooks();
  hooks.toggleButton = button;
  hooks.toggleHook.reset(InstallMouseHook(ToggleHookProc));
}

void RemoveToggleMouseHook() {
  HookState& hooks = Hooks();
  hooks.toggleHook.reset();
  hooks.toggleButton = kNoButton;
}

void InstallBlockingMouseHook(int toggleButton) {
  HookState& hooks = Hooks();
  hooks.blockingToggleButton = toggleButton;
  if (!hooks.blockingHook) hooks.blockingHook.reset(InstallMouseHook(BlockingHookProc));
}

void RemoveBlockingMouseHook() {
  HookState& hooks = Hooks();
  hooks.blockingHook.reset();
  hooks.blockingToggleButton = kNoButton;
}

bool BlockingMouseHookInstalled() {
  return static_cast<bool>(Hooks().blockingHook);
}

void ClipCursorTo(Point at) {
  const RECT r{at.x, at.y, at.x + 1, at.y + 1};
  g_cursorClipped = ClipCursor(&r) != 0;
}

void FreeCursorClip() {
  ClipCursor(nullptr);
  g_cursorClipped = false;
}

bool CursorClipped() {
  return g_cursorClipped;
}

void HideSystemCursors() {
  static constexpr DWORD kCursorIds[] = {32512, 32513, 32649, 32515, 32646, 32643, 32642,
                                         32645, 32644, 32516, 32650, 32514, 32648};
  const int width = GetSystemMetrics(SM_CXCURSOR);
  const int height = GetSystemMetrics(SM_CYCURSOR);
  if (width <= 0 || height <= 0) return;
  // One bit per pixel, rows padded to 16 bits: the AND mask keeps the screen,
  // the XOR mask changes nothing, so the cursor is invisible.
  const std::size_t bytes =
      static_cast<std::size_t>((width + 15) / 16 * 2) * static_cast<std::size_t>(height);
  const std::vector<BYTE> andMask(bytes, 0xFF);
  const std::vector<BYTE> xorMask(bytes, 0x00);
  HINSTANCE instance = win32::EngineModule();
  for (DWORD id : kCursorIds) {
    win32::UniqueCursor blank(
        CreateCursor(instance, 0, 0, width, height, andMask.data(), xorMask.data()));
    if (!blank) continue;
    // On success the system owns the cursor and destroys it itself.
    if (SetSystemCursor(blank.get(), id)) blank.release();
  }
  g_cursorsHidden = true;
}

void RestoreSystemCursors() {
  SystemParametersInfoW(SPI_SETCURSORS, 0, nullptr, 0);
  g_cursorsHidden = false;
}

bool SystemCursorsHidden() {
  return g_cursorsHidden;
}

bool RegisterRawMouseInput() {
  HWND wheel = reinterpret_cast<HWND>(OverlayWindow(OverlayKind::kWheel));
  if (!wheel) return false;
  UnregisterRawMouseInput();
  // Mouse first: when the system refuses the pad classes (no HID stack, as
  // under some emulators) the wheel still gets its motion.
  const std::array<RAWINPUTDEVICE, 4> all{{
      {1, 2, RIDEV_INPUTSINK, wheel},  // mouse
      {1, 6, RIDEV_INPUTSINK, wheel},  // keyboard
      {1, 4, RIDEV_INPUTSINK, wheel},  // joystick
      {1, 5, RIDEV_INPUTSINK, wheel},  // game pad
  }};
  std::vector<RAWINPUTDEVICE>& registered = RawRegistrations();
  for (std::size_t count : {all.size(), std::size_t{1}}) {
    if (RegisterRawInputDevices(all.data(), static_cast<UINT>(count), sizeof(RAWINPUTDEVICE))) {
      registered.assign(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(count));
      return true;
    }
  }
  return false;
}

void UnregisterRawMouseInput() {
  // Handles of devices unplugged meanwhile may come back for other devices.
  win32::ClearRawInputCaches();
  std::vector<RAWINPUTDEVICE>& registered = RawRegistrations();
  if (registered.empty()) return;
  for (RAWINPUTDEVICE& d : registered) {
    d.dwFlags = RIDEV_REMOVE;
    // A removal names no window.
    d.hwndTarget = nullptr;
  }
  RegisterRawInputDevices(registered.data(), static_cast<UINT>(registered.size()),
                          sizeof(RAWINPUTDEVICE));
  registered.clear();
}

}  // namespace velmor::platform
