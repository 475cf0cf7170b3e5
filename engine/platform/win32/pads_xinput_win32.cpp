// Game pads through XInput, loaded at run time: which of its DLLs a system
// has varies, and a missing one only means no pad toggle key.

#include <windows.h>
#include <xinput.h>

#include "engine/platform/overlay_input.h"
#include "engine/platform/win32/unique_handle.h"

namespace velmor::platform {

namespace {

using GetStateFn = DWORD(WINAPI*)(DWORD, XINPUT_STATE*);

struct XInputLibrary {
  win32::UniqueModule module;
  GetStateFn getState = nullptr;
};

XInputLibrary& Library() {
  static XInputLibrary library;
  return library;
}

}  // namespace

bool LoadPadLibrary() {
  XInputLibrary& lib = Library();
  if (lib.getState) return true;
  // Newest first: 1.4 comes with Windows 8 and later, 1.3 with the DirectX
  // runtime, 9.1.0 with Vista and 7.
  for (const wchar_t* name : {L"xinput1_4.dll", L"xinput1_3.dll", L"xinput9_1_0.dll"}) {
    win32::UniqueModule module(LoadLibraryW(name));
    if (!module) continue;
    auto getState = reinterpret_cast<GetStateFn>(
        reinterpret_cast<void*>(GetProcAddress(module.get(), "XInputGetState")));
    if (!getState) continue;
    lib.module = std::move(module);
    lib.getState = getState;
    return true;
  }
  return false;
}

PadState ReadPad(int index) {
  const XInputLibrary& lib = Library();
  if (!lib.getState || index < 0 || index >= XUSER_MAX_COUNT) return {};
  XINPUT_STATE state{};
  if (lib.getState(static_cast<DWORD>(index), &state) != ERROR_SUCCESS) return {};
  PadState pad;
  pad.connected = true;
  pad.buttons = state.Gamepad.wButtons;
  pad.leftTrigger = state.Gamepad.bLeftTrigger;
  pad.rightTrigger = state.Gamepad.bRightTrigger;
  return pad;
}

}  // namespace velmor::platform
