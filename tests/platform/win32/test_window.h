#pragma once

// Windows for the Win32 backend's tests: a visible top-level window that
// records the input messages it receives, and a bounded message pump. Both
// run on the calling thread.

#include <windows.h>

#include <functional>
#include <vector>

#include "engine/platform/win32/unique_handle.h"

namespace velmor::test {

// Dispatches this thread's messages until `done` is true or `timeoutMs` has
// passed; true when `done` became true. Wakes for every message and at least
// every few milliseconds, for conditions that no message of this thread
// announces (another thread's window, the global foreground).
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (done()) return true;
    ULONGLONG now = GetTickCount64();
    if (now >= deadline) return false;
    const ULONGLONG slice = deadline - now < 10 ? deadline - now : 10;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(slice), QS_ALLINPUT);
  }
}

struct WindowMessage {
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
};

class TestWindow {
 public:
  TestWindow(int x, int y, int width, int height) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &TestWindow::Proc;
    wc.hInstance = instance;
    wc.lpszClassName = L"VelmorTestWindow";
    RegisterClassExW(&wc);  // fails harmlessly once the class exists
    window_.reset(CreateWindowExW(0, wc.lpszClassName, L"Velmor test", WS_POPUP | WS_VISIBLE, x, y,
                                  width, height, nullptr, nullptr, instance, this));
  }
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;

  HWND hwnd() const { return window_.get(); }
  const std::vector<WindowMessage>& messages() const { return messages_; }
  void Clear() { messages_.clear(); }

  // Makes this window the foreground and focus window, as the user's target
  // program would be when the engine sends to it.
  bool TakeForeground() {
    SetForegroundWindow(hwnd());
    SetFocus(hwnd());
    return PumpUntil([&] { return GetForegroundWindow() == hwnd() && GetFocus() == hwnd(); });
  }

  // Screen coordinates of the centre of the window.
  POINT Centre() const {
    RECT r{};
    GetWindowRect(hwnd(), &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
      auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && IsRecorded(msg)) self->messages_.push_back({msg, wParam, lParam});
    return DefWindowProcW(hwnd, msg, wParam, lParam);
  }

  static bool IsRecorded(UINT msg) {
    return (msg >= WM_KEYFIRST && msg <= WM_KEYLAST) ||
           (msg >= WM_LBUTTONDOWN && msg <= WM_MOUSELAST && msg != WM_MOUSEWHEEL);
  }

  std::vector<WindowMessage> messages_;
  platform::win32::UniqueWindow window_;
};

}  // namespace velmor::test
