// Stands in for a starting Velmor in the single-instance test: claims the
// instance the way the program's entry point does and says what happened.
//
//   velmor_instance_probe hold         claim; wait for a show request (60 s)
//   velmor_instance_probe second       claim; ask the running one to show
//   velmor_instance_probe restart MS   claim, waiting up to MS for the holder
//
// It prints "first", "already running" or "show request".

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/platform/single_instance.h"

using velmor::platform::InstanceClaim;

namespace {

void Say(const char* what) {
  std::printf("%s\n", what);
  std::fflush(stdout);
}

// A hidden top-level window, as the GUI's main window is while in the tray:
// broadcasts reach top-level windows whether shown or not. "first" is said
// only once it exists, so a test's second start never broadcasts into a
// gap before it.
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
  Say("first");
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (velmor::platform::IsShowMainWindowMessage(&msg)) {
      Say("show request");
      return 0;
    }
    if (msg.message == WM_TIMER) return 4;
    DispatchMessageW(&msg);
  }
  return 5;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const bool restart = std::strcmp(argv[1], "restart") == 0 && argc == 3;
  const auto waitMs = restart ? static_cast<std::uint32_t>(std::atoi(argv[2])) : 0u;
  const InstanceClaim claim = velmor::platform::ClaimSingleInstance(waitMs);
  const bool hold = std::strcmp(argv[1], "hold") == 0;
  if (claim == InstanceClaim::AlreadyRunning)
    Say("already running");
  else if (!hold)
    Say("first");
  if (hold) return claim == InstanceClaim::First ? WaitForShowRequest() : 1;
  if (std::strcmp(argv[1], "second") == 0) {
    if (claim == InstanceClaim::First) return 1;
    velmor::platform::RequestShowMainWindow();
    return 0;
  }
  if (restart) return claim == InstanceClaim::First ? 0 : 1;
  return 2;
}
