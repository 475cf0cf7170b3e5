#pragma once

// The gaze values the gaze thread writes and the wheel reads, each a single
// atomic value without a lock.

#include <atomic>
#include <cstdint>

namespace velmor {

enum GazeState : int {
  kGazeDisabled = 0,
  kGazeSearching = 1,
  kGazeLibraryMissing = 2,
  kGazeNoDevice = 3,
  kGazeActive = 4,
  kGazeInitError = 5,
};

struct GazeSample {
  std::atomic<int> state{kGazeDisabled};
  std::atomic<int> x{0}, y{0};          // 0..10000 across the primary screen
  std::atomic<std::int64_t> timeMs{0};  // engine clock time of the last point
};

GazeSample& SharedGaze();

}  // namespace velmor
