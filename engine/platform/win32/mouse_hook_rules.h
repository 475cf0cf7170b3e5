#pragma once

// What the two low-level mouse hooks do with one event, apart from the hooks
// themselves so that the rules can be checked with events no test can
// produce (only real hardware makes non-injected ones).

#include <windows.h>

namespace velmor::platform::win32 {

enum class HookAction {
  kPass,        // on to the next hook and the target program
  kSwallow,     // nobody else sees it
  kToggle,      // post the toggle hotkey (id 1) and swallow
  kWheelClick,  // post WM_OVL_WHEELCLICK to the wheel window and swallow
};

// `button` numbered as SendMouseButton does (2 middle, 3 X1, 4 X2).
// `mouseData` and `flags` as MSLLHOOKSTRUCT carries them.
HookAction ToggleHookAction(int button, WPARAM msg, DWORD mouseData, DWORD flags);
// `toggleButton` is kNoButton when the toggle key is no mouse button.
HookAction BlockingHookAction(int toggleButton, WPARAM msg, DWORD mouseData, DWORD flags);

}  // namespace velmor::platform::win32
