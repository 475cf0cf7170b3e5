#include <windows.h>

#include "engine/platform/program_dir.h"

namespace velmor::platform {

std::filesystem::path ProgramDirectory() {
  // The engine's paths are built from this and stay under MAX_PATH.
  wchar_t buf[MAX_PATH + 1] = {};
  DWORD n = GetModuleFileNameW(nullptr, buf, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  return std::filesystem::path(buf).parent_path();
}

}  // namespace velmor::platform
