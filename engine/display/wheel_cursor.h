#pragma once

// The wheel's virtual cursor, hover and dwell as a plain state machine: the
// overlay feeds it raw motion and 15 ms ticks with the time, and it says
// what to redraw and when a dwell clicks.

#include <cstdint>

#include "engine/display/wheel_geometry.h"

namespace velmor {

// One gaze reading, copied from the shared atomic values.
struct GazeReading {
  int state = 0;     // 4 = active
  int x = 0, y = 0;  // 0..10000 across the primary screen
  std::int64_t timeMs = 0;
};

struct WheelTickInput {
  std::int64_t now = 0;
  int fields = 1;      // fields of the current wheel
  int wheelCount = 1;  // wheels in the list
  bool gazeEnabled = false;
  int gazeDwellMs = 0;  // 0: dwell off
  GazeReading gaze;
  int screenWidth = 1920, screenHeight = 1080;  // primary screen
  int windowLeft = 0, windowTop = 0;            // the wheel window on screen
};

struct WheelTickResult {
  bool hoverChanged = false;  // field, arrow or a button flag
  bool redraw = false;
  bool click = false;  // the dwell completed: click at the cursor
};

class WheelCursor {
 public:
  inline static constexpr std::int64_t kGazeFreshMs = 250;
  inline static constexpr std::int64_t kMouseQuietMs = 700;
  inline static constexpr double kGazeStep = 0.35;

  // The state of a freshly shown wheel: cursor at the centre, no hover, no
  // dwell, no pending motion, not gaze driving. The last mouse move time is
  // kept.
  void Reset();
  void AddMotion(int dx, int dy);
  WheelTickResult Tick(const WheelTickInput& in);
  // Hit-tests again at the cursor (after the wheel changed); true when the
  // hover changed.
  bool Rehit(int fields, int wheelCount);
  void ClearHover();

  int x() const { return x_; }
  int y() const { return y_; }
  const wheel_geometry::Hit& hover() const { return hover_; }
  double dwellProgress() const { return dwellProgress_; }
  bool gazeDriving() const { return gazeDriving_; }

 private:
  void ClearDwell();

  int x_ = 294, y_ = 230;
  long long pendingX_ = 0, pendingY_ = 0;
  bool hasPending_ = false;
  std::int64_t lastMove_ = INT64_MIN / 2;
  wheel_geometry::Hit hover_;
  bool gazeDriving_ = false;
  int dwellTarget_ = wheel_geometry::kTargetNone;
  std::int64_t dwellStart_ = 0;
  double dwellProgress_ = 0;
};

}  // namespace velmor
