#include <windows.h>

#include <string>

#include "engine/platform/overlay_window.h"

namespace velmor::platform {

void ShowWarningBox(const std::u16string& title, const std::u16string& text) {
  const std::wstring t(title.begin(), title.end()), m(text.begin(), text.end());
  MessageBoxW(nullptr, m.c_str(), t.c_str(), MB_OK | MB_ICONWARNING | MB_TOPMOST);
}

}  // namespace velmor::platform
