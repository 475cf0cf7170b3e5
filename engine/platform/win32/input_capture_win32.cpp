// Input capture for the mapping rules: low-level hooks that see every key
// and mouse button, and the raw-input device list.

#include "engine/platform/input_capture.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "engine/platform/win32/engine_window_win32.h"
#include "engine/platform/win32/input_capture_win32.h"
#include "engine/platform/win32/unique_handle.h"

namespace velmor::platform {

namespace {

// GUI thread only: the hooks are installed from it, so their procedures run
// on it too.
win32::UniqueHook& KeyboardHook() {
  static win32::UniqueHook hook;
  return hook;
}

win32::UniqueHook& MouseHook() {
  static win32::UniqueHook hook;
  return hook;
}

// The hook procedures only translate and hand over: the engine answers from
// its rule table at once, and a slow low-level hook stalls the desktop's
// input (Windows drops hooks that keep it waiting).
LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* info = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    EngineEvents* sink = win32::EngineSink();
    // Injected keys pass untouched, so the engine's own output (and any
    // other program's) never runs through the rules again.
    if (sink && (info->flags & LLKHF_INJECTED) == 0) {
      const bool down = wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN;
      if (sink->OnCapturedInput(info->vkCode, down)) return 1;
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The button of a button message, -1 for motion and the wheels.
struct MouseButton {
  int button = -1;
  bool down = false;
};

MouseButton ButtonOf(WPARAM msg, DWORD mouseData) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      return {0, msg == WM_LBUTTONDOWN};
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      return {1, msg == WM_RBUTTONDOWN};
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      return {2, msg == WM_MBUTTONDOWN};
    case WM_XBUTTONDOWN:
    case WM_XBUTTONUP:
      return {HIWORD(mouseData) == XBUTTON1 ? 3 : 4, msg == WM_XBUTTONDOWN};
    default:
      return {};
  }
}

LRESULT CALLBACK MouseHookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* info = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
    EngineEvents* sink = win32::EngineSink();
    const MouseButton b = ButtonOf(wParam, info->mouseData);
    if (sink && b.button >= 0 && (info->flags & LLMHF_INJECTED) == 0) {
      const auto button = static_cast<std::uint32_t>(b.button);
      if (sink->OnCapturedInput(kCaptureMouseBase + button, b.down)) return 1;
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Installs or removes one hook; an installed hook stays as it is. The module
// is the one holding the procedure (the executable or the engine's DLL).
void Keep(win32::UniqueHook& hook, bool wanted, int type, HOOKPROC proc) {
  if (!wanted) {
    hook.reset();
  } else if (!hook) {
    hook.reset(SetWindowsHookExW(type, proc, win32::EngineModule(), 0));
  }
}

// The kind a device is listed as; none for HID devices that are no game
// device (consumer controls, vendor pages and the like).
std::optional<DeviceKind> KindOf(const RAWINPUTDEVICELIST& device) {
  switch (device.dwType) {
    case RIM_TYPEMOUSE:
      return DeviceKind::Mouse;
    case RIM_TYPEKEYBOARD:
      return DeviceKind::Keyboard;
    case RIM_TYPEHID: {
      RID_DEVICE_INFO info{};
      info.cbSize = sizeof info;
      UINT size = sizeof info;
      if (GetRawInputDeviceInfoW(device.hDevice, RIDI_DEVICEINFO, &info, &size) == UINT(-1)) {
        return std::nullopt;
      }
      const bool joystickOrPad = info.dwType == RIM_TYPEHID && info.hid.usUsagePage == 1 &&
                                 (info.hid.usUsage == 4 || info.hid.usUsage == 5);
      if (!joystickOrPad) return std::nullopt;
      return DeviceKind::Pad;
    }
    default:
      return std::nullopt;
  }
}

}  // namespace

namespace win32 {

HOOKPROC CaptureKeyboardHookProc() {
  return KeyboardHookProc;
}

HOOKPROC CaptureMouseHookProc() {
  return MouseHookProc;
}

}  // namespace win32

void SetKeyboardCapture(const std::vector<std::uint16_t>& vks) {
  // The hook sees every key; which of them the rules name is the engine's
  // business.
  Keep(KeyboardHook(), !vks.empty(), WH_KEYBOARD_LL, KeyboardHookProc);
}

void SetMouseCapture(std::uint32_t buttons) {
  Keep(MouseHook(), buttons != 0, WH_MOUSE_LL, MouseHookProc);
}

bool KeyboardCaptureInstalled() {
  return static_cast<bool>(KeyboardHook());
}

bool MouseCaptureInstalled() {
  return static_cast<bool>(MouseHook());
}

bool ForegroundIsOwnProcess() {
  HWND foreground = GetForegroundWindow();
  if (!foreground) return false;
  DWORD process = 0;
  GetWindowThreadProcessId(foreground, &process);
  return process == GetCurrentProcessId();
}

std::vector<InputDeviceInfo> ListInputDevices() {
  std::vector<RAWINPUTDEVICELIST> devices;
  UINT count = 0;
  if (GetRawInputDeviceList(nullptr, &count, sizeof(RAWINPUTDEVICELIST)) == UINT(-1)) return {};
  // A device plugged in between the two calls makes the buffer too small;
  // the next round asks again.
  for (;;) {
    if (count == 0) return {};
    devices.resize(count);
    const UINT got = GetRawInputDeviceList(devices.data(), &count, sizeof(RAWINPUTDEVICELIST));
    if (got != UINT(-1)) {
      devices.resize(got);
      break;
    }
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return {};
  }

  std::vector<InputDeviceInfo> out;
  for (const RAWINPUTDEVICELIST& device : devices) {
    const std::optional<DeviceKind> kind = KindOf(device);
    if (!kind) continue;
    std::optional<std::u16string> name = win32::QueryDeviceName(device.hDevice);
    if (!name) continue;
    out.push_back({std::move(*name), *kind});
  }
  return out;
}

}  // namespace velmor::platform
