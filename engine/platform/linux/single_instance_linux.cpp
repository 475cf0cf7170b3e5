#include "engine/platform/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "engine/platform/linux/unique_fd.h"

namespace velmor::platform {

namespace {

using linux_backend::UniqueFd;

// Both live for the process's life. The lock goes with the process, so a
// crash never leaves a stale claim; the descriptors are close-on-exec, so a
// program we start (the restart after a language change) does not inherit
// the claim.
UniqueFd g_lock;
UniqueFd g_listener;

// The user's runtime folder: $XDG_RUNTIME_DIR when it is a folder, else
// /tmp/velmor-UID made private to the user.
std::string RuntimeDir() {
  if (const char* xdg = std::getenv("XDG_RUNTIME_DIR"); xdg && *xdg) {
    struct stat st {};
    if (::stat(xdg, &st) == 0 && S_ISDIR(st.st_mode)) return xdg;
  }
  std::string dir = "/tmp/velmor-" + std::to_string(::getuid());
  ::mkdir(dir.c_str(), 0700);
  struct stat st {};
  // Someone else's folder of that name must not decide whether we start.
  if (::lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid()) return {};
  return dir;
}

bool SocketAddress(const std::string& dir, sockaddr_un& addr) {
  std::string path = dir + "/velmor-show.sock";
  std::memset(&addr, 0, sizeof addr);
  addr.sun_family = AF_UNIX;
  if (path.size() >= sizeof addr.sun_path) return false;
  std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
  return true;
}

void Listen(const std::string& dir) {
  sockaddr_un addr;
  if (!SocketAddress(dir, addr)) return;
  // Holding the lock makes a socket left by an ended instance ours to replace.
  ::unlink(addr.sun_path);
  UniqueFd s(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (!s) return;
  if (::bind(s.get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) return;
  if (::listen(s.get(), 8) != 0) return;
  g_listener = std::move(s);
}

}  // namespace

InstanceClaim ClaimSingleInstance(std::uint32_t waitMs) {
  const std::string dir = RuntimeDir();
  if (dir.empty()) return InstanceClaim::First;
  UniqueFd fd(::open((dir + "/velmor.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
  // A folder we cannot write to must not keep the program from starting.
  if (!fd) return InstanceClaim::First;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
  while (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline)
      return errno == EWOULDBLOCK ? InstanceClaim::AlreadyRunning : InstanceClaim::First;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  g_lock = std::move(fd);
  Listen(dir);
  return InstanceClaim::First;
}

void RequestShowMainWindow() {
  sockaddr_un addr;
  if (!SocketAddress(RuntimeDir(), addr)) return;
  UniqueFd s(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!s) return;
  if (::connect(s.get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) return;
  const char show = 's';
  [[maybe_unused]] ssize_t n = ::send(s.get(), &show, 1, MSG_NOSIGNAL);
}

bool IsShowMainWindowMessage(const void*) {
  return false;
}

int ShowRequestFd() {
  return g_listener.get();
}

bool TakeShowRequests() {
  if (!g_listener) return false;
  bool any = false;
  for (;;) {
    UniqueFd c(::accept4(g_listener.get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
    if (!c) break;
    // Any connection is a request; what it sent does not matter.
    any = true;
  }
  return any;
}

}  // namespace velmor::platform
