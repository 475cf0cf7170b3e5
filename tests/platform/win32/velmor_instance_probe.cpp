// The single-instance probe's wait on Windows: a hidden top-level window, as
// the GUI's main window is while in the tray; broadcasts reach top-level
// windows whether shown or not.

#include <windows.h>

#include "engine/platform/single_instance.h"
#include "tests/platform/instance_probe.h"

namespace velmor::test {

int WaitForShowRequest() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"VelmorInstanceProbe";
  RegisterClassW(&wc);
  HWND w = CreateWindowExW(0, wc.lpszClassName, L"probe", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                           nullptr, nullptr, wc.hInstance, nullptr);
  if (!w) return 3;
  SetTimer(w, 1, 60000, nullptr);
  // Only now can a broadcast reach us: a test's second start must not fall
  // into the gap before the window exists.
  Say("first");
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (platform::IsShowMainWindowMessage(&msg)) {
      Say("show request");
      return 0;
    }
    if (msg.message == WM_TIMER) return 4;
    DispatchMessageW(&msg);
  }
  return 5;
}

}  // namespace velmor::test
