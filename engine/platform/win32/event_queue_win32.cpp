#include <windows.h>

#include <atomic>
#include <limits>

#include "engine/platform/event_queue.h"
#include "engine/platform/win32/engine_window_win32.h"
#include "engine/platform/win32/unique_handle.h"

namespace velmor::platform {

namespace {

// Other processes find the engine by exactly this class and title.
constexpr wchar_t kClassName[] = L"RadialOverlayMain";
constexpr wchar_t kTitle[] = L"Velmor";

// The range the engine uses for its own messages; everything in it goes to
// the sink unchanged.
constexpr UINT kFirstPrivate = WM_APP;
constexpr UINT kLastPrivate = 0xBFFF;
// Below WM_APP, so it is never mistaken for one of the engine's messages; a
// class-private value is ours to define.
constexpr UINT kQuitLoop = WM_USER + 1;

constexpr UINT kCopyDataTimeoutMs = 5000;

std::atomic<EngineEvents*> g_sink{nullptr};
// Read from any thread (posting, quitting); written on the GUI thread.
std::atomic<HWND> g_window{nullptr};
std::atomic<DWORD> g_guiThread{0};
// The thread in RunEventLoop, for a quit request when there is no window.
std::atomic<DWORD> g_loopThread{0};
std::atomic<bool> g_quitPending{false};

win32::UniqueWindow& MainWindow() {
  static win32::UniqueWindow window;
  return window;
}

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  EngineEvents* sink = g_sink.load();
  if (msg >= kFirstPrivate && msg <= kLastPrivate) {
    if (sink) sink->OnMessage(msg, wParam, lParam);
    return 0;
  }
  switch (msg) {
    case WM_TIMER:
      if (sink) sink->OnTimer(static_cast<std::uint32_t>(wParam));
      return 0;
    case WM_HOTKEY:
      if (sink) sink->OnHotkey(static_cast<int>(wParam));
      return 0;
    case WM_COPYDATA: {
      const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      if (sink && cds) sink->OnCopyData(cds->dwData, cds->lpData, cds->cbData);
      return TRUE;
    }
    case kQuitLoop:
      PostQuitMessage(0);
      return 0;
    case WM_CLOSE:
      // A close request (task manager, taskkill) stops the loop; the window
      // itself stays, because everything the engine posts goes to it.
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

namespace win32 {

HWND EngineMainWindow() {
  return g_window.load();
}

EngineEvents* EngineSink() {
  return g_sink.load();
}

HINSTANCE EngineModule() {
  // The module holding this code, which is the executable or the engine's
  // DLL: the class must belong to the module whose procedure it names.
  HMODULE module = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&MainWindowProc), &module);
  return module;
}

}  // namespace win32

bool StartEventQueue(EngineEvents* sink) {
  DWORD self = GetCurrentThreadId();
  DWORD gui = g_guiThread.load();
  // The window belongs to its thread; a second GUI thread cannot take it over.
  if (gui != 0 && gui != self) return false;

  HINSTANCE instance = win32::EngineModule();
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = MainWindowProc;
  wc.hInstance = instance;
  wc.lpszClassName = kClassName;
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

  // Starting again on the same thread gives a fresh window: the old one's
  // timers and undelivered messages go with it.
  g_window.store(nullptr);
  MainWindow().reset();
  g_sink.store(sink);
  win32::UniqueWindow window(CreateWindowExW(0, kClassName, kTitle, WS_OVERLAPPED, 0, 0, 100, 100,
                                             nullptr, nullptr, instance, nullptr));
  if (!window) return false;
  g_window.store(window.get());
  g_guiThread.store(self);
  MainWindow() = std::move(window);
  return true;
}

void PostEngineMessage(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) {
  PostMessageW(g_window.load(), msg, wParam, lParam);
}

void SetEngineTimer(std::uint32_t id, std::uint32_t periodMs) {
  SetTimer(g_window.load(), id, periodMs, nullptr);
}

void KillEngineTimer(std::uint32_t id) {
  KillTimer(g_window.load(), id);
}

void RunEventLoop() {
  g_loopThread.store(GetCurrentThreadId());
  if (g_quitPending.exchange(false)) return;
  MSG msg;
  // GetMessageW returns -1 on an invalid call, which would otherwise spin.
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void QuitEventLoop() {
  // Only posting: this runs on console-control threads, where nothing may
  // wait for the GUI thread.
  if (HWND w = g_window.load(); w && PostMessageW(w, kQuitLoop, 0, 0)) return;
  if (DWORD t = g_loopThread.load(); t && PostThreadMessageW(t, WM_QUIT, 0, 0)) return;
  g_quitPending.store(true);
}

bool SendCopyDataToRunningEngine(std::uintptr_t tag, const void* data, std::size_t bytes) {
  if (bytes > std::numeric_limits<DWORD>::max()) return false;
  HWND w = FindWindowW(kClassName, kTitle);
  if (!w) return false;
  COPYDATASTRUCT cds{};
  cds.dwData = tag;
  cds.cbData = static_cast<DWORD>(bytes);
  cds.lpData = const_cast<void*>(data);
  DWORD_PTR result = 0;
  // Bounded, so a hung engine cannot hang the sender too.
  return SendMessageTimeoutW(w, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds), SMTO_ABORTIFHUNG,
                             kCopyDataTimeoutMs, &result) != 0;
}

bool PostToRunningEngine(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) {
  HWND w = FindWindowW(kClassName, kTitle);
  return w && PostMessageW(w, msg, wParam, lParam);
}

}  // namespace velmor::platform
