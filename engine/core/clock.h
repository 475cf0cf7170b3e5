#pragma once

// Engine time. Every timing rule reads the time and sleeps through one
// injected clock, so tests run whole timelines on a virtual clock without
// sleeping.

#include <cstdint>

namespace velmor {

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds on a monotonic scale.
  virtual std::int64_t NowMs() = 0;
  // Blocks the calling thread for `ms` milliseconds (a virtual clock just
  // moves its time on).
  virtual void SleepMs(std::int64_t ms) = 0;
};

// The clock the engine uses; the real steady clock unless a test installs
// another. The installed clock must outlive every engine thread.
Clock& EngineClock();
void SetEngineClock(Clock* clock);  // nullptr restores the real clock

}  // namespace velmor
