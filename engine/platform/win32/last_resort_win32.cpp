#include <windows.h>

#include <cstdlib>
#include <exception>
#include <string>

#include "engine/platform/overlay_input.h"
#include "engine/platform/overlay_window.h"

namespace velmor::platform {

void ShowWarningBox(const std::u16string& title, const std::u16string& text) {
  const std::wstring t(title.begin(), title.end()), m(text.begin(), text.end());
  MessageBoxW(nullptr, m.c_str(), t.c_str(), MB_OK | MB_ICONWARNING | MB_TOPMOST);
}

namespace {

// Only calls that need no lock and no window: this runs in a dying process.
void GiveTheMouseBack() {
  ClipCursor(nullptr);
  SystemParametersInfoW(SPI_SETCURSORS, 0, nullptr, 0);
}

LPTOP_LEVEL_EXCEPTION_FILTER g_previousFilter = nullptr;
std::terminate_handler g_previousTerminate = nullptr;

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* info) {
  GiveTheMouseBack();
  return g_previousFilter ? g_previousFilter(info) : EXCEPTION_CONTINUE_SEARCH;
}

void OnTerminate() {
  GiveTheMouseBack();
  if (g_previousTerminate) g_previousTerminate();
  std::abort();
}

}  // namespace

void ReleaseInputOnCrash() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  g_previousFilter = SetUnhandledExceptionFilter(OnUnhandledException);
  g_previousTerminate = std::set_terminate(OnTerminate);
}

}  // namespace velmor::platform
