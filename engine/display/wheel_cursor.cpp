#include "engine/display/wheel_cursor.h"

#include <algorithm>
#include <climits>

namespace velmor {

namespace wg = wheel_geometry;

void WheelCursor::Reset() {
  x_ = static_cast<int>(wg::kCentreX);
  y_ = static_cast<int>(wg::kCentreY);
  pendingX_ = pendingY_ = 0;
  hasPending_ = false;
  hover_ = {};
  gazeDriving_ = false;
  ClearDwell();
}

void WheelCursor::AddMotion(int dx, int dy) {
  pendingX_ += dx;
  pendingY_ += dy;
  hasPending_ = true;
}

void WheelCursor::ClearDwell() {
  dwellTarget_ = wg::kTargetNone;
  dwellStart_ = 0;
  dwellProgress_ = 0;
}

void WheelCursor::ClearHover() {
  hover_ = {};
  ClearDwell();
}

bool WheelCursor::Rehit(int fields, int wheelCount) {
  wg::Hit hit = wg::HitTest(x_, y_, fields, wheelCount);
  const bool changed = !(hit == hover_);
  hover_ = hit;
  return changed;
}

WheelTickResult WheelCursor::Tick(const WheelTickInput& in) {
  WheelTickResult r;
  const int oldX = x_, oldY = y_;

  if (hasPending_) {
    // One raw count is one pixel. Summed wide: a burst of motion between
    // two ticks cannot overflow before the clamp.
    const long long nx = std::clamp<long long>(x_ + pendingX_, INT_MIN, INT_MAX);
    const long long ny = std::clamp<long long>(y_ + pendingY_, INT_MIN, INT_MAX);
    x_ = static_cast<int>(nx);
    y_ = static_cast<int>(ny);
    pendingX_ = pendingY_ = 0;
    hasPending_ = false;
    lastMove_ = in.now;
    gazeDriving_ = false;
    // The hand took over: a dwell begun by the eyes does not carry on from
    // where it was when gaze drives again.
    ClearDwell();
  } else if (in.gazeEnabled && in.gaze.state == 4 && in.now - in.gaze.timeMs < kGazeFreshMs &&
             in.now - lastMove_ > kMouseQuietMs) {
    const long long sx = static_cast<long long>(in.gaze.x) * in.screenWidth / 10000;
    const long long sy = static_cast<long long>(in.gaze.y) * in.screenHeight / 10000;
    const double tx = static_cast<double>(sx - in.windowLeft);
    const double ty = static_cast<double>(sy - in.windowTop);
    x_ += static_cast<int>((tx - x_) * kGazeStep);
    y_ += static_cast<int>((ty - y_) * kGazeStep);
    gazeDriving_ = true;
  }

  x_ = std::clamp(x_, 0, wg::kWindowWidth - 1);
  y_ = std::clamp(y_, 0, wg::kWindowHeight - 1);
  if (x_ != oldX || y_ != oldY) r.redraw = true;

  const wg::Hit hit = wg::HitTest(x_, y_, in.fields, in.wheelCount);
  if (!(hit == hover_)) {
    hover_ = hit;
    r.hoverChanged = true;
    r.redraw = true;
  }

  if (gazeDriving_) {
    const double before = dwellProgress_;
    const int target = hover_.Target();
    if (in.gazeDwellMs <= 0 || target == wg::kTargetNone) {
      ClearDwell();
    } else {
      if (target != dwellTarget_) {
        dwellTarget_ = target;
        dwellStart_ = in.now;
      }
      dwellProgress_ = static_cast<double>(in.now - dwellStart_) / in.gazeDwellMs;
      if (dwellProgress_ >= 1.0) {
        ClearDwell();
        r.click = true;
      }
    }
    if (dwellProgress_ != before) r.redraw = true;
  }
  return r;
}

}  // namespace velmor
