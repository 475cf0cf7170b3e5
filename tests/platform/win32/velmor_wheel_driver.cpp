// velmor_wheel_driver: plays the user for the Wine end-to-end test of the
// wheel overlay, one action per run.
//
//   velmor_wheel_driver key VK           press and release a key (SendInput)
//   velmor_wheel_driver move DX DY       relative mouse motion (SendInput)
//   velmor_wheel_driver click            WM_OVL_WHEELCLICK to the wheel window
//   velmor_wheel_driver wait shown|hidden MS
//                                        wait for the wheel window's state;
//                                        shown: also check it is layered,
//                                        topmost, a no-activate tool window
//                                        and not the foreground
//   velmor_wheel_driver clip-free        exit 0 when the cursor is not clipped

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

HWND Wheel() {
  return FindWindowW(L"RadialOverlayWheel", nullptr);
}

void SendKey(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = KEYEVENTF_SCANCODE | (up ? KEYEVENTF_KEYUP : 0);
  SendInput(1, &in, sizeof in);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const char* cmd = argv[1];
  if (!std::strcmp(cmd, "key") && argc == 3) {
    const WORD vk = static_cast<WORD>(std::strtol(argv[2], nullptr, 0));
    SendKey(vk, false);
    Sleep(30);
    SendKey(vk, true);
    return 0;
  }
  if (!std::strcmp(cmd, "move") && argc == 4) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = std::atoi(argv[2]);
    in.mi.dy = std::atoi(argv[3]);
    in.mi.dwFlags = MOUSEEVENTF_MOVE;
    return SendInput(1, &in, sizeof in) == 1 ? 0 : 1;
  }
  if (!std::strcmp(cmd, "click")) {
    HWND w = Wheel();
    return w && PostMessageW(w, WM_APP + 2, 0, 0) ? 0 : 1;
  }
  if (!std::strcmp(cmd, "wait") && argc == 4) {
    const bool wantShown = !std::strcmp(argv[2], "shown");
    const DWORD deadline = GetTickCount() + static_cast<DWORD>(std::atol(argv[3]));
    for (;;) {
      HWND w = Wheel();
      const bool shown = w && IsWindowVisible(w);
      if (shown == wantShown) {
        if (!shown) return 0;
        const LONG_PTR ex = GetWindowLongPtrW(w, GWL_EXSTYLE);
        const LONG_PTR want = WS_EX_LAYERED | WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW;
        RECT r{};
        GetWindowRect(w, &r);
        std::printf("wheel %ld,%ld %ldx%ld ex=%llx foreground=%d\n", r.left, r.top,
                    r.right - r.left, r.bottom - r.top, static_cast<unsigned long long>(ex),
                    GetForegroundWindow() == w);
        if ((ex & want) != want) return 3;
        if (r.right - r.left != 588 || r.bottom - r.top != 516) return 4;
        if (GetForegroundWindow() == w) return 5;
        return 0;
      }
      if (static_cast<LONG>(GetTickCount() - deadline) > 0) return 1;
      Sleep(20);
    }
  }
  if (!std::strcmp(cmd, "clip-free")) {
    RECT clip{};
    GetClipCursor(&clip);
    const int w = clip.right - clip.left, h = clip.bottom - clip.top;
    std::printf("clip %ldx%ld\n", static_cast<long>(w), static_cast<long>(h));
    return w > 1 && h > 1 ? 0 : 1;
  }
  return 2;
}
