#include "engine/platform/overlay_window.h"

#include <windows.h>
// After windows.h, which it builds on.
#include <shellapi.h>

#include <array>
#include <cstring>

#include "engine/core/engine_messages.h"
#include "engine/platform/win32/engine_window_win32.h"
#include "engine/platform/win32/input_capture_win32.h"
#include "engine/platform/win32/unique_handle.h"

namespace velmor::platform {

namespace {

constexpr wchar_t kWheelClass[] = L"RadialOverlayWheel";
constexpr wchar_t kLauncherClass[] = L"RadialOverlayLauncher";
constexpr wchar_t kToastClass[] = L"RadialOverlayToast";

constexpr DWORD kOverlayExStyle =
    WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
// The toast and the bar only tell; clicks go through to whatever is below.
constexpr DWORD kPassiveExStyle = kOverlayExStyle | WS_EX_TRANSPARENT;

constexpr std::size_t kKindCount = 4;

std::size_t Index(OverlayKind kind) {
  return static_cast<std::size_t>(kind);
}

HWND ToHwnd(WindowId w) {
  return reinterpret_cast<HWND>(w);
}

std::array<win32::UniqueWindow, kKindCount>& Windows() {
  static std::array<win32::UniqueWindow, kKindCount> windows;
  return windows;
}

HWND WindowOf(OverlayKind kind) {
  return Windows()[Index(kind)].get();
}

LRESULT CALLBACK WheelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_OVL_WHEELCLICK:
    case WM_LBUTTONDOWN:
      if (EngineEvents* sink = win32::EngineSink()) sink->OnMessage(WM_OVL_WHEELCLICK, 0, 0);
      return 0;
    case WM_INPUT:
      // Every device's raw input arrives here: the wheel's motion and the
      // device rules' keys and buttons.
      win32::ReadRawInput(reinterpret_cast<HRAWINPUT>(lParam));
      // The system cleans up the raw input buffer.
      return DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    default:
      return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

LRESULT CALLBACK LauncherProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  // The launcher's hover and drag logic polls the cursor from a timer; the
  // window only has to stay out of the focus.
  if (msg == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

struct KindInfo {
  const wchar_t* className;
  WNDPROC proc;
  LPCWSTR cursor;
  DWORD exStyle;
  int x, y, width, height;
};

KindInfo InfoOf(OverlayKind kind) {
  switch (kind) {
    case OverlayKind::kWheel:
      return {kWheelClass, WheelProc, IDC_ARROW, kOverlayExStyle, 0, 0, 588, 516};
    case OverlayKind::kLauncher:
      return {kLauncherClass, LauncherProc, IDC_HAND, kOverlayExStyle, 20, 20, 64, 64};
    case OverlayKind::kToast:
      return {kToastClass, DefWindowProcW, IDC_ARROW, kPassiveExStyle, 0, 0, 100, 52};
    case OverlayKind::kHeldKeysBar:
      return {kToastClass, DefWindowProcW, IDC_ARROW, kPassiveExStyle, 0, 0, 100, 40};
  }
  return {};
}

bool RegisterOverlayClass(const KindInfo& info, HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = info.proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, info.cursor);
  wc.lpszClassName = info.className;
  return RegisterClassExW(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

Rect ToRect(const RECT& r) {
  return {static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.right),
          static_cast<int>(r.bottom)};
}

Rect MonitorRect(HMONITOR monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!monitor || !GetMonitorInfoW(monitor, &info)) return {};
  return ToRect(info.rcMonitor);
}

// dwmapi is absent on some systems (and Wine may lack the attribute); no
// answer means not cloaked.
bool Cloaked(HWND w) {
  using GetAttribute = HRESULT(WINAPI*)(HWND, DWORD, PVOID, DWORD);
  static const GetAttribute getAttribute = [] {
    static win32::UniqueModule dwm(LoadLibraryW(L"dwmapi.dll"));
    return dwm ? reinterpret_cast<GetAttribute>(
                     reinterpret_cast<void*>(GetProcAddress(dwm.get(), "DwmGetWindowAttribute")))
               : nullptr;
  }();
  if (!getAttribute) return false;
  constexpr DWORD kDwmwaCloaked = 14;
  DWORD cloaked = 0;
  return SUCCEEDED(getAttribute(w, kDwmwaCloaked, &cloaked, sizeof cloaked)) && cloaked != 0;
}

bool IsShellWindow(HWND w) {
  wchar_t name[64] = {};
  if (GetClassNameW(w, name, static_cast<int>(std::size(name))) == 0) return false;
  for (const wchar_t* shell :
       {L"Progman", L"WorkerW", L"Shell_TrayWnd", L"Shell_SecondaryTrayWnd"}) {
    if (std::wcscmp(name, shell) == 0) return true;
  }
  return false;
}

bool Minimisable(HWND w) {
  if (!IsWindowVisible(w) || IsIconic(w)) return false;
  if (GetWindow(w, GW_OWNER) != nullptr) return false;
  if ((GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0) return false;
  if (GetWindowTextLengthW(w) == 0) return false;
  DWORD process = 0;
  GetWindowThreadProcessId(w, &process);
  if (process == GetCurrentProcessId()) return false;
  return !IsShellWindow(w) && !Cloaked(w);
}

BOOL CALLBACK CollectMinimisable(HWND w, LPARAM param) {
  if (Minimisable(w)) reinterpret_cast<std::vector<WindowId>*>(param)->push_back(WindowId(w));
  return TRUE;
}

}  // namespace

bool CreateOverlayWindow(OverlayKind kind) {
  win32::UniqueWindow& slot = Windows()[Index(kind)];
  if (slot) return true;
  const KindInfo info = InfoOf(kind);
  HINSTANCE instance = win32::EngineModule();
  if (!RegisterOverlayClass(info, instance)) return false;
  slot.reset(CreateWindowExW(info.exStyle, info.className, L"", WS_POPUP, info.x, info.y,
                             info.width, info.height, nullptr, nullptr, instance, nullptr));
  return static_cast<bool>(slot);
}

void ShowOverlay(OverlayKind kind, Point topLeft, const ArgbImage& image) {
  HWND w = WindowOf(kind);
  if (!w || image.width <= 0 || image.height <= 0) return;
  const std::size_t count =
      static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
  if (image.pixels.size() < count) return;

  BITMAPINFO bmi{};
  bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
  bmi.bmiHeader.biWidth = image.width;
  bmi.bmiHeader.biHeight = -image.height;  // top row first, as the image stores it
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  bmi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  win32::UniqueBitmap bitmap(CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0));
  win32::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  if (!bitmap || !bits || !dc) return;
  std::memcpy(bits, image.pixels.data(), count * sizeof(std::uint32_t));
  HGDIOBJ previous = SelectObject(dc.get(), bitmap.get());

  POINT position{topLeft.x, topLeft.y};
  SIZE size{image.width, image.height};
  POINT source{0, 0};
  BLENDFUNCTION blend{};
  blend.BlendOp = AC_SRC_OVER;
  blend.SourceConstantAlpha = 255;
  blend.AlphaFormat = AC_SRC_ALPHA;
  UpdateLayeredWindow(w, nullptr, &position, &size, dc.get(), &source, 0, &blend, ULW_ALPHA);
  SelectObject(dc.get(), previous);

  SetWindowPos(w, HWND_TOPMOST, topLeft.x, topLeft.y, image.width, image.height,
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
  if (!IsWindowVisible(w)) ShowWindow(w, SW_SHOWNOACTIVATE);
}

void MoveOverlay(OverlayKind kind, Point topLeft) {
  if (HWND w = WindowOf(kind)) {
    SetWindowPos(w, HWND_TOPMOST, topLeft.x, topLeft.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void HideOverlay(OverlayKind kind) {
  if (HWND w = WindowOf(kind)) ShowWindow(w, SW_HIDE);
}

bool OverlayShown(OverlayKind kind) {
  HWND w = WindowOf(kind);
  return w && IsWindowVisible(w);
}

WindowId OverlayWindow(OverlayKind kind) {
  return reinterpret_cast<WindowId>(WindowOf(kind));
}

void TakeFocusForWheel() {
  if (HWND w = WindowOf(OverlayKind::kWheel)) BringToForeground(reinterpret_cast<WindowId>(w));
}

Rect MonitorAt(Point p) {
  return MonitorRect(MonitorFromPoint(POINT{p.x, p.y}, MONITOR_DEFAULTTONEAREST));
}

Rect MonitorOfWindow(WindowId w) {
  if (w == 0) return PrimaryMonitor();
  return MonitorRect(MonitorFromWindow(ToHwnd(w), MONITOR_DEFAULTTONEAREST));
}

Rect PrimaryMonitor() {
  // The primary monitor is the one whose top-left corner is the origin.
  return MonitorRect(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY));
}

Rect VirtualScreen() {
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  return {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
          top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

bool FullScreenProgramRunning() {
  // Looked up at run time: a shell32 without it (older systems, some Wine
  // builds) must not keep the engine from loading.
  using QueryState = HRESULT(WINAPI*)(int*);
  static const QueryState query = [] {
    HMODULE shell = GetModuleHandleW(L"shell32.dll");
    if (!shell) shell = LoadLibraryW(L"shell32.dll");
    return shell ? reinterpret_cast<QueryState>(reinterpret_cast<void*>(
                       GetProcAddress(shell, "SHQueryUserNotificationState")))
                 : nullptr;
  }();
  constexpr int kRunningD3dFullScreen = 3;
  int state = 0;
  return query && SUCCEEDED(query(&state)) && state == kRunningD3dFullScreen;
}

std::vector<WindowId> MinimisableWindows() {
  std::vector<WindowId> windows;
  EnumWindows(CollectMinimisable, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

void MinimiseWindow(WindowId w) {
  ShowWindow(ToHwnd(w), SW_SHOWMINNOACTIVE);
}

void RestoreWindow(WindowId w) {
  ShowWindow(ToHwnd(w), SW_RESTORE);
}

bool WindowMinimised(WindowId w) {
  return w != 0 && IsIconic(ToHwnd(w));
}

std::uint32_t WindowProcess(WindowId w) {
  DWORD process = 0;
  if (w == 0 || GetWindowThreadProcessId(ToHwnd(w), &process) == 0) return 0;
  return process;
}

bool OpenOnScreenKeyboard() {
  HINSTANCE result = ShellExecuteW(nullptr, L"open", L"osk.exe", nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace velmor::platform
