// The single-instance probe's wait on X11: the running program watches the
// request descriptor from its event loop.

#include <poll.h>

#include "engine/platform/single_instance.h"
#include "tests/platform/instance_probe.h"

namespace velmor::test {

int WaitForShowRequest() {
  pollfd p{platform::ShowRequestFd(), POLLIN, 0};
  if (p.fd < 0) return 3;
  // The descriptor exists from the claim on: a request can arrive already.
  Say("first");
  for (;;) {
    if (::poll(&p, 1, 60000) <= 0) return 4;
    if (platform::TakeShowRequests()) {
      Say("show request");
      return 0;
    }
  }
}

}  // namespace velmor::test
