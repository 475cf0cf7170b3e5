#pragma once

// velmor-check: loads configuration files exactly as the engine does and says
// what it made of them.
//
//   velmor-check [--dir PROGRAM_DIR] [--json] [WHEEL_FILE...]
//   velmor-check key NAME [--json]
//
// Exit status: 0 everything loaded cleanly, 1 something was dropped or
// changed, 2 a file was unusable (or the command line was wrong).

#include <filesystem>
#include <string>
#include <vector>

namespace velmor::check {

// `args` are the arguments after the program name, in UTF-8. `programDir` is
// used when no --dir is given. Everything printed goes to `out` and `err`.
int RunCheck(const std::vector<std::string>& args, const std::filesystem::path& programDir,
             std::string& out, std::string& err);

}  // namespace velmor::check
