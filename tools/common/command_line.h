#pragma once

// Command-line arguments as UTF-8, on Windows from the wide argv so paths
// with any characters survive.

#include <string>
#include <vector>

#include "engine/core/text.h"

namespace velmor::tools {

#ifdef _WIN32
inline std::vector<std::string> Utf8Args(int argc, wchar_t** argv) {
  static_assert(sizeof(wchar_t) == sizeof(char16_t), "wide arguments are UTF-16 on Windows");
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i)
    args.push_back(WideToUtf8(reinterpret_cast<const char16_t*>(argv[i])));
  return args;
}
#endif

inline std::vector<std::string> Utf8Args(int argc, char** argv) {
  return std::vector<std::string>(argv + 1, argv + argc);
}

}  // namespace velmor::tools

// The entry point of a tool: wmain on Windows (wide arguments), main
// elsewhere; both hand `run` the arguments after the program name, in UTF-8.
#ifdef _WIN32
#define VELMOR_TOOL_MAIN(run)                        \
  int wmain(int argc, wchar_t** argv) {              \
    return run(velmor::tools::Utf8Args(argc, argv)); \
  }
#else
#define VELMOR_TOOL_MAIN(run)                        \
  int main(int argc, char** argv) {                  \
    return run(velmor::tools::Utf8Args(argc, argv)); \
  }
#endif
