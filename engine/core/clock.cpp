#include "engine/core/clock.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace velmor {

namespace {

class SteadyClock final : public Clock {
 public:
  std::int64_t NowMs() override {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }
  void SleepMs(std::int64_t ms) override {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  }
};

SteadyClock g_steady;
std::atomic<Clock*> g_clock{&g_steady};

}  // namespace

Clock& EngineClock() {
  return *g_clock.load(std::memory_order_acquire);
}

void SetEngineClock(Clock* clock) {
  g_clock.store(clock ? clock : &g_steady, std::memory_order_release);
}

}  // namespace velmor
