// The engine's event queue on Linux. Everything that can make work due is a
// descriptor in one epoll set: an eventfd for posted messages and quitting,
// a timerfd armed at the earliest timer, and the listening socket through
// which other processes reach the engine. The epoll descriptor itself is
// what a host loop watches.
//
// Other processes find the engine by an abstract Unix socket named after
// the user and the program directory, the X11 counterpart of finding the
// main window by class and title: engines started from different folders
// (parallel test runs, two installations) never see each other's requests.
// A request is one SOCK_SEQPACKET message, answered with one byte once it
// has been handled, so a sender returns after the engine acted, as
// SendMessage does on Windows.

#include "engine/platform/event_queue.h"

#include <poll.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/timerfd.h>
#include <sys/un.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "engine/platform/linux/event_queue_linux.h"
#include "engine/platform/linux/input_capture_x11.h"
#include "engine/platform/linux/overlay_events_x11.h"
#include "engine/platform/linux/pad_devices_evdev.h"
#include "engine/platform/linux/unique_fd.h"
#include "engine/platform/linux/x11_connection.h"
#include "engine/platform/program_dir.h"

namespace velmor::platform {

namespace {

using linux_backend::UniqueFd;

constexpr std::uint32_t kMagic = 0x524D4C56;  // "VLMR"

enum class RequestKind : std::uint32_t { kCopyData = 1, kPost = 2 };

// Fixed-size head of every request; copy-data bytes follow it.
struct RequestHeader {
  std::uint32_t magic;
  RequestKind kind;
  std::uint64_t tagOrMsg;
  std::uint64_t wParam;
  std::int64_t lParam;
};
static_assert(sizeof(RequestHeader) == 32);

constexpr unsigned char kHandled = 1;
// As long as Windows lets a sender wait for a hung engine.
constexpr int kReplyTimeoutSec = 5;
// A client that connects and sends nothing is dropped after this long.
constexpr std::int64_t kIdleConnectionNs = 5'000'000'000;
constexpr std::size_t kMaxConnections = 32;
// Windows raises shorter periods to USER_TIMER_MINIMUM; so do we, which
// also keeps a zero period from spinning the loop.
constexpr std::uint32_t kMinTimerPeriodMs = 10;

std::int64_t NowNs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<std::int64_t>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

struct Posted {
  std::uint32_t msg;
  std::uintptr_t wParam;
  std::intptr_t lParam;
};

struct Timer {
  std::int64_t periodNs;
  std::int64_t dueNs;
  std::uint64_t order;  // set order breaks ties between timers due together
};

struct Connection {
  UniqueFd fd;
  std::int64_t acceptedNs;
};

struct Queue {
  std::mutex mutex;  // guards posted, timers, nextOrder and sink
  std::deque<Posted> posted;
  std::map<std::uint32_t, Timer> timers;
  std::uint64_t nextOrder = 0;
  EngineEvents* sink = nullptr;

  // Created by the first start and never closed, so a thread posting or a
  // signal handler quitting cannot meet a closed or reused descriptor.
  UniqueFd epoll, wake, timer;
  // GUI thread only.
  UniqueFd listener;
  std::vector<Connection> connections;
};

// Never destroyed: detached field threads may still post while the
// process exits.
Queue& TheQueue() {
  static Queue* q = new Queue;
  return *q;
}

// Read without the queue's lock: by posting threads and signal handlers.
std::atomic<int> g_wakeFd{-1};
std::atomic<bool> g_quitPending{false};
std::atomic<bool> g_listening{false};
std::atomic<std::thread::id> g_guiThread{};
std::atomic<int> g_xFd{-1};

void Wake() {
  int fd = g_wakeFd.load();
  if (fd < 0) return;
  std::uint64_t one = 1;
  // Only fails when the counter is saturated, which is already a wake-up.
  [[maybe_unused]] ssize_t n = ::write(fd, &one, sizeof one);
}

void Drain(const UniqueFd& fd) {
  std::uint64_t count = 0;
  [[maybe_unused]] ssize_t n = ::read(fd.get(), &count, sizeof count);
}

std::uint64_t Fnv1a(const std::string& s) {
  std::uint64_t h = 0xCBF29CE484222325ull;
  for (unsigned char c : s) {
    h ^= c;
    h *= 0x100000001B3ull;
  }
  return h;
}

// Abstract names start with a NUL byte and have no file behind them, so a
// crashed engine leaves nothing stale to clean up.
const std::string& SocketName() {
  static const std::string name = [] {
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx",
                  static_cast<unsigned long long>(Fnv1a(ProgramDirectory().string())));
    return std::string(1, '\0') + "velmor-engine-" + std::to_string(geteuid()) + "-" + hash;
  }();
  return name;
}

socklen_t SocketAddress(sockaddr_un& addr) {
  addr = {};
  addr.sun_family = AF_UNIX;
  const std::string& name = SocketName();
  std::memcpy(addr.sun_path, name.data(), name.size());
  return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + name.size());
}

bool Watch(const Queue& q, int fd) {
  epoll_event ev{};
  ev.events = EPOLLIN;
  ev.data.fd = fd;
  return epoll_ctl(q.epoll.get(), EPOLL_CTL_ADD, fd, &ev) == 0;
}

// Another engine of the same folder already listening keeps the name; this
// queue then works for its own process only, as a second main window on
// Windows would never be the one FindWindow returns.
void Listen(Queue& q) {
  UniqueFd s(::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (!s) return;
  sockaddr_un addr;
  socklen_t len = SocketAddress(addr);
  if (::bind(s.get(), reinterpret_cast<sockaddr*>(&addr), len) != 0) return;
  if (::listen(s.get(), 16) != 0 || !Watch(q, s.get())) return;
  q.listener = std::move(s);
  g_listening.store(true);
}

void ArmTimer(Queue& q) {
  itimerspec its{};
  {
    std::lock_guard lock(q.mutex);
    auto next = std::min_element(q.timers.begin(), q.timers.end(),
                                 [](auto& a, auto& b) { return a.second.dueNs < b.second.dueNs; });
    if (next != q.timers.end()) {
      // An absolute time already past fires at once, which is what a late
      // timer needs; the all-zero value would disarm instead.
      std::int64_t due = std::max<std::int64_t>(next->second.dueNs, 1);
      its.it_value.tv_sec = static_cast<time_t>(due / 1'000'000'000);
      its.it_value.tv_nsec = static_cast<long>(due % 1'000'000'000);
    }
  }
  timerfd_settime(q.timer.get(), TFD_TIMER_ABSTIME, &its, nullptr);
}

EngineEvents* Sink(Queue& q) {
  std::lock_guard lock(q.mutex);
  return q.sink;
}

void Accept(Queue& q) {
  for (;;) {
    UniqueFd c(::accept4(q.listener.get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
    if (!c) return;
    // Abstract sockets have no file permissions: anyone on the machine can
    // connect, so the peer's user is checked here.
    ucred cred{};
    socklen_t len = sizeof cred;
    if (getsockopt(c.get(), SOL_SOCKET, SO_PEERCRED, &cred, &len) != 0 || cred.uid != geteuid())
      continue;
    if (q.connections.size() >= kMaxConnections) q.connections.erase(q.connections.begin());
    if (!Watch(q, c.get())) continue;
    q.connections.push_back({std::move(c), NowNs()});
  }
}

void Serve(Queue& q, int fd) {
  auto it = std::find_if(q.connections.begin(), q.connections.end(),
                         [fd](const Connection& c) { return c.fd.get() == fd; });
  if (it == q.connections.end()) return;
  ssize_t size = ::recv(fd, nullptr, 0, MSG_PEEK | MSG_TRUNC | MSG_DONTWAIT);
  if (size < 0 && (errno == EAGAIN || errno == EINTR)) return;
  // One request per connection. Taken out before the handler runs, which may
  // dispatch again from a nested loop.
  UniqueFd conn = std::move(it->fd);
  q.connections.erase(it);
  if (size < static_cast<ssize_t>(sizeof(RequestHeader))) return;

  std::vector<unsigned char> buf(static_cast<std::size_t>(size));
  if (::recv(fd, buf.data(), buf.size(), MSG_DONTWAIT) != size) return;
  RequestHeader h;
  std::memcpy(&h, buf.data(), sizeof h);
  if (h.magic != kMagic) return;
  switch (h.kind) {
    case RequestKind::kCopyData:
      if (EngineEvents* sink = Sink(q))
        sink->OnCopyData(static_cast<std::uintptr_t>(h.tagOrMsg), buf.data() + sizeof h,
                         buf.size() - sizeof h);
      break;
    case RequestKind::kPost:
      PostEngineMessage(static_cast<std::uint32_t>(h.tagOrMsg),
                        static_cast<std::uintptr_t>(h.wParam),
                        static_cast<std::intptr_t>(h.lParam));
      break;
    default:
      return;
  }
  ::send(conn.get(), &kHandled, 1, MSG_NOSIGNAL | MSG_DONTWAIT);
}

void ServeRequests(Queue& q) {
  epoll_event events[16];
  int n = epoll_wait(q.epoll.get(), events, 16, 0);
  for (int i = 0; i < n; ++i) {
    int fd = events[i].data.fd;
    if (fd == q.wake.get() || fd == q.timer.get() || fd == g_xFd.load()) continue;
    if (q.listener && fd == q.listener.get()) {
      Accept(q);
    } else {
      Serve(q, fd);
    }
  }
  std::int64_t now = NowNs();
  std::erase_if(q.connections,
                [now](const Connection& c) { return now - c.acceptedNs > kIdleConnectionNs; });
}

// Runs under the X connection's lock: only the epoll set is touched.
void WatchXConnection(int fd) {
  Queue& q = TheQueue();
  if (!q.epoll || g_xFd.load() == fd) return;
  if (Watch(q, fd)) g_xFd.store(fd);
}

void DeliverXEvents(Queue& q) {
  // A process that never used X has no connection, and this opens none.
  if (!linux_backend::X11ConnectionOpen()) return;
  std::vector<linux_backend::OverlayAction> actions;
  {
    linux_backend::X11Session x;
    if (x) linux_backend::CollectOverlayEvents(x.display(), x.xi2Opcode(), actions);
  }
  EngineEvents* sink = Sink(q);
  using Kind = linux_backend::OverlayAction::Kind;
  using Frozen = linux_backend::OverlayAction::Frozen;
  for (const auto& a : actions) {
    if (!sink) {
      // Nobody to decide: a device a grab froze is let go with its press.
      if (a.kind == Kind::kCaptured && a.frozen != Frozen::kNone)
        linux_backend::AnswerCapturedInput(a, false);
      continue;
    }
    switch (a.kind) {
      case Kind::kHotkey:
        sink->OnHotkey(1);
        break;
      case Kind::kMessage:
        sink->OnMessage(a.msg, 0, 0);
        break;
      case Kind::kRawMouse:
        sink->OnRawMouse(a.dx, a.dy, a.leftDown);
        break;
      case Kind::kCaptured: {
        const bool swallow = sink->OnCapturedInput(a.msg, a.leftDown);
        if (a.frozen != Frozen::kNone) linux_backend::AnswerCapturedInput(a, swallow);
        break;
      }
      case Kind::kDevice:
        sink->OnDeviceInput(a.device);
        break;
    }
  }
}

void DeliverPadEvents(Queue& q) {
  std::vector<DeviceInput> inputs;
  linux_backend::CollectPadDeviceEvents([&](const DeviceInput& in) { inputs.push_back(in); });
  if (inputs.empty()) return;
  EngineEvents* sink = Sink(q);
  if (!sink) return;
  for (const DeviceInput& in : inputs) sink->OnDeviceInput(in);
}

void DeliverPosted(Queue& q) {
  std::size_t n;
  {
    std::lock_guard lock(q.mutex);
    n = q.posted.size();
  }
  // Only what was there on entry: a handler that posts again runs in the
  // next dispatch, after the host had its turn.
  for (; n > 0; --n) {
    Posted m;
    EngineEvents* sink;
    {
      std::lock_guard lock(q.mutex);
      if (q.posted.empty()) return;
      m = q.posted.front();
      q.posted.pop_front();
      sink = q.sink;
    }
    if (sink) sink->OnMessage(m.msg, m.wParam, m.lParam);
  }
}

void FireTimers(Queue& q) {
  const std::int64_t now = NowNs();
  for (;;) {
    std::uint32_t id;
    EngineEvents* sink;
    {
      std::lock_guard lock(q.mutex);
      auto next = q.timers.end();
      for (auto it = q.timers.begin(); it != q.timers.end(); ++it) {
        if (it->second.dueNs > now) continue;
        if (next == q.timers.end() || it->second.dueNs < next->second.dueNs ||
            (it->second.dueNs == next->second.dueNs && it->second.order < next->second.order))
          next = it;
      }
      if (next == q.timers.end()) return;
      id = next->first;
      Timer& t = next->second;
      // Keeps its phase; periods missed while the loop was busy fire once,
      // as WM_TIMER does.
      t.dueNs += t.periodNs;
      if (t.dueNs <= now) t.dueNs = now + t.periodNs;
      sink = q.sink;
    }
    // A handler may kill or set timers; the search above starts afresh.
    if (sink) sink->OnTimer(id);
  }
}

bool SendRequest(const RequestHeader& h, const void* data, std::size_t bytes) {
  UniqueFd s(::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0));
  if (!s) return false;
  timeval timeout{kReplyTimeoutSec, 0};
  setsockopt(s.get(), SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
  setsockopt(s.get(), SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  // A message must fit the send buffer whole; the kernel caps this at
  // net.core.wmem_max, and a larger request fails.
  int want = static_cast<int>(std::min<std::size_t>(sizeof h + bytes + 4096, INT_MAX / 2));
  setsockopt(s.get(), SOL_SOCKET, SO_SNDBUF, &want, sizeof want);
  sockaddr_un addr;
  socklen_t len = SocketAddress(addr);
  if (::connect(s.get(), reinterpret_cast<sockaddr*>(&addr), len) != 0) return false;

  iovec iov[2] = {{const_cast<RequestHeader*>(&h), sizeof h}, {const_cast<void*>(data), bytes}};
  msghdr msg{};
  msg.msg_iov = iov;
  msg.msg_iovlen = bytes > 0 ? 2 : 1;
  if (::sendmsg(s.get(), &msg, MSG_NOSIGNAL) != static_cast<ssize_t>(sizeof h + bytes))
    return false;
  unsigned char reply = 0;
  return ::recv(s.get(), &reply, 1, 0) == 1 && reply == kHandled;
}

}  // namespace

bool StartEventQueue(EngineEvents* sink) {
  Queue& q = TheQueue();
  if (!q.epoll) {
    UniqueFd epoll(epoll_create1(EPOLL_CLOEXEC));
    UniqueFd wake(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC));
    UniqueFd timer(timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC));
    if (!epoll || !wake || !timer) return false;
    q.epoll = std::move(epoll);
    if (!Watch(q, wake.get()) || !Watch(q, timer.get())) {
      q.epoll.reset();
      return false;
    }
    q.wake = std::move(wake);
    q.timer = std::move(timer);
    g_wakeFd.store(q.wake.get());
    linux_backend::SetX11ConnectionObserver(WatchXConnection, Wake);
  }
  {
    // Starting again is a fresh main window: the old one's timers and
    // undelivered messages go with it.
    std::lock_guard lock(q.mutex);
    q.posted.clear();
    q.timers.clear();
    q.sink = sink;
  }
  ArmTimer(q);
  g_guiThread.store(std::this_thread::get_id());
  if (!q.listener) Listen(q);
  return true;
}

void PostEngineMessage(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) {
  Queue& q = TheQueue();
  {
    std::lock_guard lock(q.mutex);
    q.posted.push_back({msg, wParam, lParam});
  }
  Wake();
}

void SetEngineTimer(std::uint32_t id, std::uint32_t periodMs) {
  Queue& q = TheQueue();
  {
    std::lock_guard lock(q.mutex);
    std::int64_t period =
        static_cast<std::int64_t>(std::max(periodMs, kMinTimerPeriodMs)) * 1'000'000;
    q.timers[id] = {period, NowNs() + period, q.nextOrder++};
  }
  if (q.timer) ArmTimer(q);
}

void KillEngineTimer(std::uint32_t id) {
  Queue& q = TheQueue();
  {
    std::lock_guard lock(q.mutex);
    q.timers.erase(id);
  }
  if (q.timer) ArmTimer(q);
}

int EventQueueFd() {
  Queue& q = TheQueue();
  return q.epoll ? q.epoll.get() : -1;
}

void DispatchEngineEvents() {
  Queue& q = TheQueue();
  if (!q.epoll) return;
  // Cleared first: anything posted from here on makes the descriptor
  // readable again.
  Drain(q.wake);
  Drain(q.timer);
  // Requests from other processes first, as Windows delivers sent messages
  // before posted ones, then input, and timers last, as WM_TIMER comes last.
  ServeRequests(q);
  DeliverXEvents(q);
  DeliverPadEvents(q);
  DeliverPosted(q);
  FireTimers(q);
  ArmTimer(q);
}

int MsUntilNextTimer() {
  Queue& q = TheQueue();
  std::lock_guard lock(q.mutex);
  if (q.timers.empty()) return -1;
  std::int64_t due = std::min_element(q.timers.begin(), q.timers.end(), [](auto& a, auto& b) {
                       return a.second.dueNs < b.second.dueNs;
                     })->second.dueNs;
  std::int64_t ns = std::max<std::int64_t>(due - NowNs(), 0);
  // Rounded up: waking a little late finds the timer due, waking early
  // would find nothing to do and spin.
  return static_cast<int>(std::min<std::int64_t>((ns + 999'999) / 1'000'000, INT_MAX));
}

void RunEventLoop() {
  Queue& q = TheQueue();
  if (!q.epoll) {
    g_quitPending.store(false);
    return;
  }
  for (;;) {
    // Like WM_QUIT, a quit is honoured only once what was posted before it
    // has been delivered, even when it came before the loop started.
    DispatchEngineEvents();
    if (g_quitPending.exchange(false)) return;
    pollfd p{q.epoll.get(), POLLIN, 0};
    // A signal interrupts the wait; its handler has already written the
    // wake-up if it meant to quit.
    ::poll(&p, 1, -1);
  }
}

void QuitEventLoop() {
  // Atomics and write(2) only: this runs in signal handlers.
  g_quitPending.store(true);
  Wake();
}

namespace linux_backend {

void WatchDescriptor(int fd) {
  Queue& q = TheQueue();
  if (q.epoll) Watch(q, fd);
}

void UnwatchDescriptor(int fd) {
  Queue& q = TheQueue();
  if (q.epoll) epoll_ctl(q.epoll.get(), EPOLL_CTL_DEL, fd, nullptr);
}

}  // namespace linux_backend

bool SendCopyDataToRunningEngine(std::uintptr_t tag, const void* data, std::size_t bytes) {
  // The GUI thread of the listening engine would wait for itself; Windows
  // calls the window procedure directly there, and so do we.
  if (g_listening.load() && g_guiThread.load() == std::this_thread::get_id()) {
    if (EngineEvents* sink = Sink(TheQueue())) sink->OnCopyData(tag, data, bytes);
    return true;
  }
  RequestHeader h{kMagic, RequestKind::kCopyData, tag, 0, 0};
  return SendRequest(h, data, bytes);
}

bool PostToRunningEngine(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) {
  if (g_listening.load()) {
    PostEngineMessage(msg, wParam, lParam);
    return true;
  }
  RequestHeader h{kMagic, RequestKind::kPost, msg, wParam, static_cast<std::int64_t>(lParam)};
  return SendRequest(h, nullptr, 0);
}

}  // namespace velmor::platform
