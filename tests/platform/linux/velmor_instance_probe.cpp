// Stands in for a starting Velmor in the single-instance test: claims the
// instance the way the program's entry point does and says what happened.
//
//   velmor_instance_probe hold         claim; wait for a show request (60 s)
//   velmor_instance_probe second       claim; ask the running one to show
//   velmor_instance_probe restart MS   claim, waiting up to MS for the holder
//
// It prints "first", "already running" or "show request".

#include <poll.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/platform/single_instance.h"

using velmor::platform::InstanceClaim;

namespace {

void Say(const char* what) {
  std::printf("%s\n", what);
  std::fflush(stdout);
}

// The running program watches the request descriptor from its event loop.
int WaitForShowRequest() {
  pollfd p{velmor::platform::ShowRequestFd(), POLLIN, 0};
  if (p.fd < 0) return 3;
  for (;;) {
    if (::poll(&p, 1, 60000) <= 0) return 4;
    if (velmor::platform::TakeShowRequests()) {
      Say("show request");
      return 0;
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const bool restart = std::strcmp(argv[1], "restart") == 0 && argc == 3;
  const auto waitMs = restart ? static_cast<std::uint32_t>(std::atoi(argv[2])) : 0u;
  const InstanceClaim claim = velmor::platform::ClaimSingleInstance(waitMs);
  Say(claim == InstanceClaim::First ? "first" : "already running");
  if (std::strcmp(argv[1], "hold") == 0)
    return claim == InstanceClaim::First ? WaitForShowRequest() : 1;
  if (std::strcmp(argv[1], "second") == 0) {
    if (claim == InstanceClaim::First) return 1;
    velmor::platform::RequestShowMainWindow();
    return 0;
  }
  if (restart) return claim == InstanceClaim::First ? 0 : 1;
  return 2;
}
