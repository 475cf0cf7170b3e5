#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace velmor::test {

// A fresh directory under the system temporary folder, removed with the
// object.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

  // Writes `bytes` to a file in the directory (making its folders) and
  // returns its path.
  std::filesystem::path Write(std::string_view name, std::string_view bytes) const;
  // The file's bytes, or an empty string when it cannot be read.
  std::string Read(std::string_view name) const;

 private:
  std::filesystem::path path_;
};

}  // namespace velmor::test
