#pragma once

// Files the engine writes are replaced whole: the bytes go to a temporary
// file beside the target, which is then renamed over it, so a crash never
// leaves half a file.

#include <filesystem>
#include <string_view>

namespace velmor {

bool WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes);

}  // namespace velmor
