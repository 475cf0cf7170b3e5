#include "engine/platform/program_dir.h"

#include <system_error>

namespace velmor::platform {

std::filesystem::path ProgramDirectory() {
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return std::filesystem::current_path(ec);
  return exe.parent_path();
}

}  // namespace velmor::platform
