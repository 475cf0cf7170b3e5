#include <windows.h>

#include <shellapi.h>

#include <iterator>

#include "engine/platform/input.h"

namespace velmor::platform {

void SendKey(std::uint16_t vk, bool extended, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  // Windows ignores wVk once KEYEVENTF_SCANCODE is set, Wine drops the event
  // without it: filling both makes the same event work on each.
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = KEYEVENTF_SCANCODE;
  if (extended) in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
  if (up) in.ki.dwFlags |= KEYEVENTF_KEYUP;
  in.ki.time = 0;
  in.ki.dwExtraInfo = 0;
  SendInput(1, &in, sizeof in);
}

void SendMouseButton(int button, bool up) {
  struct Flags {
    DWORD down, up, data;
  };
  static constexpr Flags kButtons[] = {
      {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 0},
      {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, 0},
      {MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP, 0},
      {MOUSEEVENTF_XDOWN, MOUSEEVENTF_XUP, XBUTTON1},
      {MOUSEEVENTF_XDOWN, MOUSEEVENTF_XUP, XBUTTON2},
  };
  if (button < 0 || button >= static_cast<int>(std::size(kButtons))) return;
  const Flags& f = kButtons[button];
  INPUT in{};
  in.type = INPUT_MOUSE;
  // No MOUSEEVENTF_MOVE: the button acts where the cursor already is.
  in.mi.dwFlags = up ? f.up : f.down;
  in.mi.mouseData = f.data;
  SendInput(1, &in, sizeof in);
}

bool IsKeyDown(int vk) {
  return (GetAsyncKeyState(vk) & 0x8000) != 0;
}

void ShellOpen(const std::u16string& target) {
  // The shell reports failures with a dialog of its own where it has one;
  // the engine has nothing to add.
  ShellExecuteW(nullptr, L"open", reinterpret_cast<const wchar_t*>(target.c_str()), nullptr,
                nullptr, SW_SHOWNORMAL);
}

}  // namespace velmor::platform
