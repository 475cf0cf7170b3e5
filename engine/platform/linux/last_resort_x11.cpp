#include <cstdio>
#include <string>

#include "engine/core/text.h"
#include "engine/platform/overlay_input.h"
#include "engine/platform/overlay_window.h"

namespace velmor::platform {

// The engine has no toolkit of its own on X11; the GUI that hosts it shows
// its own dialogs. The line still tells a user starting it from a terminal.
void ShowWarningBox(const std::u16string& title, const std::u16string& text) {
  std::fprintf(stderr, "%s: %s\n", WideToUtf8(title).c_str(), WideToUtf8(text).c_str());
}

// The X server ends a dead client's grabs and its cursor hiding by itself.
void ReleaseInputOnCrash() {}

}  // namespace velmor::platform
