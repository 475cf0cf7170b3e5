// The engine's event queue on Linux, driven as the Qt host will drive it
// (poll the descriptor, dispatch) and by RunEventLoop; and the requests of
// other processes, sent by copies of this test binary started as helpers.

#include <gtest/gtest.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "engine/core/engine_messages.h"
#include "engine/platform/event_queue.h"
#include "engine/platform/linux/event_queue_linux.h"
#include "engine/platform/program_dir.h"
#include "tests/platform/linux/child_process.h"

namespace velmor {
namespace {

using namespace std::chrono_literals;
using Steady = std::chrono::steady_clock;

// ---- the helper side: this binary started with VELMOR_QUEUE_HELPER set ----

std::uint64_t Fnv1a(const void* data, std::size_t n) {
  std::uint64_t h = 0xCBF29CE484222325ull;
  for (std::size_t i = 0; i < n; ++i) {
    h ^= static_cast<const unsigned char*>(data)[i];
    h *= 0x100000001B3ull;
  }
  return h;
}

std::string CopyDataLine(std::uintptr_t tag, const void* data, std::size_t n) {
  char buf[96];
  std::snprintf(buf, sizeof buf, "copydata %llu %zu %016llx", static_cast<unsigned long long>(tag),
                n, static_cast<unsigned long long>(Fnv1a(data, n)));
  return buf;
}

// Prints what it receives, one line each, and stops on copy-data tag 2.
class PrintingSink : public platform::EngineEvents {
 public:
  void OnMessage(std::uint32_t msg, std::uintptr_t w, std::intptr_t l) override {
    std::printf("message %X %llu %lld\n", msg, static_cast<unsigned long long>(w),
                static_cast<long long>(l));
    std::fflush(stdout);
  }
  void OnTimer(std::uint32_t id) override { std::printf("timer %u\n", id); }
  void OnCopyData(std::uintptr_t tag, const void* data, std::size_t n) override {
    std::printf("%s\n", CopyDataLine(tag, data, n).c_str());
    std::fflush(stdout);
    if (tag == kCopyDataQuit) platform::QuitEventLoop();
  }
  void OnHotkey(int id) override { std::printf("hotkey %d\n", id); }
};

std::vector<unsigned char> Pattern(std::size_t n) {
  std::vector<unsigned char> v(n);
  for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<unsigned char>(i * 7 + (i >> 8));
  return v;
}

// "listen" | "copydata TAG SIZE" (a fixed pattern of SIZE bytes) | "post MSG W L".
// Exit status 0 when the request was taken, 1 when no engine answered.
int RunHelper(const std::string& command) {
  std::istringstream in(command);
  std::string verb;
  in >> verb;
  if (verb == "listen") {
    PrintingSink sink;
    if (!platform::StartEventQueue(&sink)) return 3;
    std::printf("ready\n");
    std::fflush(stdout);
    platform::RunEventLoop();
    return 0;
  }
  if (verb == "copydata") {
    unsigned long long tag = 0;
    std::size_t size = 0;
    in >> tag >> size;
    auto bytes = Pattern(size);
    return platform::SendCopyDataToRunningEngine(tag, bytes.data(), bytes.size()) ? 0 : 1;
  }
  if (verb == "post") {
    std::uint32_t msg = 0;
    unsigned long long w = 0;
    long long l = 0;
    in >> std::hex >> msg >> std::dec >> w >> l;
    return platform::PostToRunningEngine(msg, w, static_cast<std::intptr_t>(l)) ? 0 : 1;
  }
  return 2;
}

[[maybe_unused]] const int kHelperHook = [] {
  if (const char* command = std::getenv("VELMOR_QUEUE_HELPER")) {
    int rc = RunHelper(command);
    std::fflush(stdout);
    std::_Exit(rc);
  }
  return 0;
}();

// ---- the tests ----

struct Delivery {
  enum class Kind { kMessage, kTimer } kind;
  std::uint32_t id;  // message or timer id
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
  Steady::time_point at;
};

constexpr std::uint32_t kTestMsg = kWmApp + 0x100;
constexpr std::uint32_t kHeapMsg = kWmApp + 0x101;

class RecordingSink : public platform::EngineEvents {
 public:
  void OnMessage(std::uint32_t msg, std::uintptr_t w, std::intptr_t l) override {
    if (msg == kHeapMsg) {
      // The receiver owns a heap payload.
      std::unique_ptr<std::string> text(reinterpret_cast<std::string*>(l));
      heapTexts.push_back(*text);
    }
    deliveries.push_back({Delivery::Kind::kMessage, msg, w, l, Steady::now()});
    if (onMessage) onMessage(msg);
  }
  void OnTimer(std::uint32_t id) override {
    deliveries.push_back({Delivery::Kind::kTimer, id, 0, 0, Steady::now()});
    if (onTimer) onTimer(id);
  }
  void OnCopyData(std::uintptr_t, const void*, std::size_t) override {}
  void OnHotkey(int) override {}

  std::vector<Delivery> deliveries;
  std::vector<std::string> heapTexts;
  std::function<void(std::uint32_t)> onTimer, onMessage;
};

class LinuxEventQueue : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(platform::StartEventQueue(&sink_)); }
  void TearDown() override { platform::StartEventQueue(nullptr); }

  // The host side: wait on the descriptor, dispatch, until `done` or the
  // deadline.
  bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 10s) {
    auto deadline = Steady::now() + timeout;
    while (!done()) {
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Steady::now());
      if (left.count() <= 0) return false;
      pollfd p{platform::EventQueueFd(), POLLIN, 0};
      poll(&p, 1, static_cast<int>(left.count()));
      platform::DispatchEngineEvents();
    }
    return true;
  }

  std::size_t CountTimers() const {
    std::size_t n = 0;
    for (auto& d : sink_.deliveries) n += d.kind == Delivery::Kind::kTimer;
    return n;
  }

  RecordingSink sink_;
};

TEST_F(LinuxEventQueue, PostsFromManyThreadsArriveEachInItsOrder) {
  constexpr int kThreads = 4, kPerThread = 500;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t] {
      for (int i = 0; i < kPerThread; ++i)
        platform::PostEngineMessage(kTestMsg, static_cast<std::uintptr_t>(t), i);
      platform::PostEngineMessage(
          kHeapMsg, 0,
          reinterpret_cast<std::intptr_t>(new std::string("from thread " + std::to_string(t))));
    });
  }
  ASSERT_TRUE(PumpUntil([&] { return sink_.deliveries.size() == kThreads * (kPerThread + 1); }));
  for (auto& th : threads) th.join();

  std::vector<std::intptr_t> next(kThreads, 0);
  for (const Delivery& d : sink_.deliveries) {
    if (d.id != kTestMsg) continue;
    ASSERT_LT(d.wParam, static_cast<std::uintptr_t>(kThreads));
    EXPECT_EQ(d.lParam, next[d.wParam]) << "thread " << d.wParam;
    next[d.wParam] = d.lParam + 1;
  }
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(next[t], kPerThread);
  std::sort(sink_.heapTexts.begin(), sink_.heapTexts.end());
  EXPECT_EQ(sink_.heapTexts, (std::vector<std::string>{"from thread 0", "from thread 1",
                                                       "from thread 2", "from thread 3"}));
  EXPECT_EQ(platform::MsUntilNextTimer(), -1);
}

TEST_F(LinuxEventQueue, TimersFireInTimeOrderAndObeyKillAndRestart) {
  // 11 every 30 ms, killed at its second firing, which also restarts 13 so
  // it is due at 60 + 100 ms instead of 100. 12 every 70 ms.
  // Due times: 11@30 11@60 12@70 12@140 13@160 12@210.
  const auto start = Steady::now();
  platform::SetEngineTimer(11, 30);
  platform::SetEngineTimer(12, 70);
  platform::SetEngineTimer(13, 100);
  int fired11 = 0;
  Steady::time_point restarted13;
  sink_.onTimer = [&](std::uint32_t id) {
    if (id == 11 && ++fired11 == 2) {
      platform::KillEngineTimer(11);
      restarted13 = Steady::now();
      platform::SetEngineTimer(13, 100);
    }
    if (id == 13) platform::KillEngineTimer(13);
  };
  const int until = platform::MsUntilNextTimer();
  EXPECT_GT(until, 0);
  EXPECT_LE(until, 30);
  ASSERT_TRUE(PumpUntil([&] { return CountTimers() == 6; }));
  platform::KillEngineTimer(12);
  EXPECT_EQ(platform::MsUntilNextTimer(), -1);

  std::vector<std::uint32_t> ids;
  for (auto& d : sink_.deliveries) ids.push_back(d.id);
  EXPECT_EQ(ids, (std::vector<std::uint32_t>{11, 11, 12, 12, 13, 12}));
  // Never early: each firing comes at or after its due time.
  const std::chrono::milliseconds due[] = {30ms, 60ms, 70ms, 140ms, 0ms, 210ms};
  for (std::size_t i = 0; i < sink_.deliveries.size(); ++i) {
    if (i == 4) continue;  // the restarted timer, checked against its restart
    EXPECT_GE(sink_.deliveries[i].at - start, due[i]) << "firing " << i;
  }
  EXPECT_GE(sink_.deliveries[4].at - restarted13, 100ms);
}

TEST_F(LinuxEventQueue, TimerMessagesAndPostsWakeTheDescriptor) {
  pollfd p{platform::EventQueueFd(), POLLIN, 0};
  ASSERT_GE(p.fd, 0);
  platform::DispatchEngineEvents();
  EXPECT_EQ(poll(&p, 1, 0), 0) << "readable with nothing due";
  platform::PostEngineMessage(kTestMsg, 1, 2);
  EXPECT_EQ(poll(&p, 1, 0), 1);
  platform::DispatchEngineEvents();
  ASSERT_EQ(sink_.deliveries.size(), 1u);
  EXPECT_EQ(poll(&p, 1, 0), 0);
  // A handler that posts again runs in the next dispatch, and the
  // descriptor says so.
  sink_.onMessage = [](std::uint32_t) { platform::PostEngineMessage(kTestMsg + 1); };
  platform::PostEngineMessage(kTestMsg);
  platform::DispatchEngineEvents();
  EXPECT_EQ(sink_.deliveries.size(), 2u);
  EXPECT_EQ(poll(&p, 1, 0), 1);
}

TEST_F(LinuxEventQueue, RunEventLoopEndsOnQuitFromAThreadOrASignal) {
  std::thread poster([] {
    platform::PostEngineMessage(kTestMsg, 7);
    platform::QuitEventLoop();
  });
  platform::RunEventLoop();
  poster.join();
  ASSERT_FALSE(sink_.deliveries.empty());
  EXPECT_EQ(sink_.deliveries.front().wParam, 7u);

  struct sigaction sa {
  }, old{};
  sa.sa_handler = [](int) { platform::QuitEventLoop(); };
  sigemptyset(&sa.sa_mask);
  ASSERT_EQ(sigaction(SIGUSR1, &sa, &old), 0);
  const pthread_t loopThread = pthread_self();
  std::thread signaller([loopThread] { pthread_kill(loopThread, SIGUSR1); });
  platform::RunEventLoop();
  signaller.join();
  sigaction(SIGUSR1, &old, nullptr);
}

// Copies of this binary in folders of their own are engines and senders
// whose names no other test run shares.
class CrossProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = std::filesystem::temp_directory_path() /
            ("velmor-queue-" + std::to_string(getpid()) + "-" +
             std::to_string(Steady::now().time_since_epoch().count()));
    for (const char* name : {"a", "b", "none"}) {
      auto dir = root_ / name;
      std::filesystem::create_directories(dir);
      auto self = platform::ProgramDirectory() / "velmor_platform_tests";
      std::error_code ec;
      std::filesystem::create_hard_link(self, dir / "velmor_platform_tests", ec);
      if (ec) std::filesystem::copy_file(self, dir / "velmor_platform_tests");
    }
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }

  std::string Binary(const char* dir) { return (root_ / dir / "velmor_platform_tests").string(); }

  std::unique_ptr<testing_proc::ChildProcess> Start(const char* dir, const std::string& command) {
    return std::make_unique<testing_proc::ChildProcess>(
        Binary(dir), std::vector<std::string>{},
        std::vector<std::string>{"VELMOR_QUEUE_HELPER=" + command});
  }
  // Runs a sender to the end; its exit status.
  std::optional<int> Send(const char* dir, const std::string& command) {
    auto child = Start(dir, command);
    return child->Wait(20s);
  }
  std::vector<std::string> Lines(testing_proc::ChildProcess& child) {
    std::vector<std::string> lines;
    while (auto line = child.ReadLine(10s)) lines.push_back(*line);
    return lines;
  }

  std::filesystem::path root_;
};

TEST_F(CrossProcess, RequestsReachOnlyTheEngineOfTheSameFolder) {
  auto engineA = Start("a", "listen");
  auto engineB = Start("b", "listen");
  ASSERT_EQ(engineA->ReadLine(20s), "ready");
  ASSERT_EQ(engineB->ReadLine(20s), "ready");

  constexpr std::size_t kBig = 64 * 1024;
  EXPECT_EQ(Send("a", "copydata 1 5"), 0);
  EXPECT_EQ(Send("a", "copydata 1 " + std::to_string(kBig)), 0);
  EXPECT_EQ(Send("a", "copydata 9 0"), 0);
  EXPECT_EQ(Send("a", "post 8004 3 9"), 0);
  EXPECT_EQ(Send("b", "copydata 5 3"), 0);
  // No engine runs in this folder: nothing answers, whatever runs elsewhere.
  EXPECT_EQ(Send("none", "copydata 1 5"), 1);
  EXPECT_EQ(Send("none", "post 8004 0 0"), 1);
  EXPECT_EQ(Send("a", "copydata 2 0"), 0);
  EXPECT_EQ(Send("b", "copydata 2 0"), 0);

  auto five = Pattern(5), big = Pattern(kBig), three = Pattern(3);
  EXPECT_EQ(Lines(*engineA),
            (std::vector<std::string>{
                CopyDataLine(1, five.data(), 5), CopyDataLine(1, big.data(), kBig),
                CopyDataLine(9, nullptr, 0), "message 8004 3 9", CopyDataLine(2, nullptr, 0)}));
  EXPECT_EQ(Lines(*engineB), (std::vector<std::string>{CopyDataLine(5, three.data(), 3),
                                                       CopyDataLine(2, nullptr, 0)}));
  EXPECT_EQ(engineA->Wait(10s), 0);
  EXPECT_EQ(engineB->Wait(10s), 0);
}

TEST_F(CrossProcess, ASecondEngineInTheSameFolderLeavesTheFirstReachable) {
  auto first = Start("a", "listen");
  ASSERT_EQ(first->ReadLine(20s), "ready");
  auto second = Start("a", "listen");
  ASSERT_EQ(second->ReadLine(20s), "ready");
  EXPECT_EQ(Send("a", "post 8004 1 2"), 0);
  EXPECT_EQ(Send("a", "copydata 2 0"), 0);
  EXPECT_EQ(Lines(*first),
            (std::vector<std::string>{"message 8004 1 2", CopyDataLine(2, nullptr, 0)}));
  EXPECT_EQ(first->Wait(10s), 0);
}

}  // namespace
}  // namespace velmor
