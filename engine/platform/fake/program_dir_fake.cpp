#include <mutex>

#include "engine/platform/fake/fake_platform.h"
#include "engine/platform/program_dir.h"

namespace velmor::platform {

namespace {
std::mutex g_dirMutex;
std::filesystem::path g_dir;
}  // namespace

void fake::SetProgramDirectory(std::filesystem::path dir) {
  std::lock_guard lock(g_dirMutex);
  g_dir = std::move(dir);
}

std::filesystem::path ProgramDirectory() {
  std::lock_guard lock(g_dirMutex);
  if (!g_dir.empty()) return g_dir;
  std::error_code ec;
  return std::filesystem::current_path(ec);
}

}  // namespace velmor::platform
