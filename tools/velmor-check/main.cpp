#include <cstdio>
#include <string>
#include <vector>

#include "engine/core/text.h"
#include "engine/platform/program_dir.h"
#include "tools/common/command_line.h"
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

VELMOR_TOOL_MAIN(Run)
