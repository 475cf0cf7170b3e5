#include <cstdio>
#include <string>
#include <vector>

#include "engine/core/text.h"
#include "engine/platform/program_dir.h"
#include "tools/velmor-check/check.h"

namespace {

int Run(std::vector<std::string> args) {
  std::string out, err;
  int rc = velmor::check::RunCheck(args, velmor::platform::ProgramDirectory(), out, err);
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fwrite(err.data(), 1, err.size(), stderr);
  return rc;
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i)
    args.push_back(velmor::WideToUtf8(reinterpret_cast<const char16_t*>(argv[i])));
  return Run(std::move(args));
}
#else
int main(int argc, char** argv) {
  return Run(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
