// Stands in for a starting Velmor in the single-instance test: claims the
// instance the way the program's entry point does and says what happened.
//
//   velmor_instance_probe hold         claim; wait for a show request (60 s)
//   velmor_instance_probe second       claim; ask the running one to show
//   velmor_instance_probe restart MS   claim, waiting up to MS for the holder
//
// It prints "first", "already running" or "show request".

#include "tests/platform/instance_probe.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/platform/single_instance.h"

using velmor::platform::InstanceClaim;

namespace velmor::test {

void Say(const char* what) {
  std::printf("%s\n", what);
  std::fflush(stdout);
}

}  // namespace velmor::test

int main(int argc, char** argv) {
  using velmor::test::Say;
  if (argc < 2) return 2;
  const bool hold = std::strcmp(argv[1], "hold") == 0;
  const bool restart = std::strcmp(argv[1], "restart") == 0 && argc == 3;
  const auto waitMs = restart ? static_cast<std::uint32_t>(std::atoi(argv[2])) : 0u;
  const InstanceClaim claim = velmor::platform::ClaimSingleInstance(waitMs);
  if (claim == InstanceClaim::AlreadyRunning)
    Say("already running");
  else if (!hold)
    Say("first");
  if (hold) return claim == InstanceClaim::First ? velmor::test::WaitForShowRequest() : 1;
  if (std::strcmp(argv[1], "second") == 0) {
    if (claim == InstanceClaim::First) return 1;
    velmor::platform::RequestShowMainWindow();
    return 0;
  }
  if (restart) return claim == InstanceClaim::First ? 0 : 1;
  return 2;
}
