#include "engine/core/atomic_file.h"

#include <fstream>

namespace velmor {

bool WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes) {
  std::error_code ec;
  std::filesystem::path tmp = target;
  tmp += u".tmp";
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      std::filesystem::remove(tmp, ec);
      return false;
    }
  }
  std::filesystem::rename(tmp, target, ec);
  if (ec) {
    std::filesystem::remove(tmp, ec);
    return false;
  }
  return true;
}

}  // namespace velmor
