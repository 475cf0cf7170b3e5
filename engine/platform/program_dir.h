#pragma once

#include <filesystem>

namespace velmor::platform {

// The directory of the running executable: where every configuration file
// lives.
std::filesystem::path ProgramDirectory();

}  // namespace velmor::platform
