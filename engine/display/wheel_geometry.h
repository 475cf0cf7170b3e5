#pragma once

// Where everything of the wheel overlay is, in window coordinates, and what
// a point hits. Drawing and input both use these, so what the user sees
// under the virtual cursor is what a click runs.

#include <cmath>

namespace velmor {

struct RectI {
  int x, y, w, h;
  // Right and bottom edges are outside.
  bool Contains(double px, double py) const {
    return px >= x && py >= y && px < x + w && py < y + h;
  }
};

namespace wheel_geometry {

inline constexpr int kWindowWidth = 588;
inline constexpr int kWindowHeight = 516;
inline constexpr double kCentreX = 294;
inline constexpr double kCentreY = 230;
inline constexpr RectI kRing{70, 6, 448, 448};
inline constexpr RectI kHole{248, 184, 92, 92};
inline constexpr double kHitInnerRadius = 46;
inline constexpr double kHitOuterRadius = 226;
inline constexpr double kLabelRadius = 145;
inline constexpr RectI kPageText{248, 210, 92, 22};
inline constexpr RectI kWheelName{248, 232, 92, 18};
inline constexpr RectI kArrows[2] = {{10, 186, 44, 88}, {534, 186, 44, 88}};  // previous, next
inline constexpr RectI kButtons[3] = {
    {186, 468, 64, 40}, {262, 468, 64, 40}, {338, 468, 64, 40}};  // keyboard, minimise, phone

// Field slice i of n: starts at i·360/n − 90 degrees and sweeps 360/n, so
// field 0 starts at the top and fields run clockwise.
inline double SliceStartDegrees(int i, int n) {
  return i * (360.0 / n) - 90.0;
}
inline double SliceSweepDegrees(int n) {
  return 360.0 / n;
}

struct PointD {
  double x, y;
};
// Centre of field i's label: on radius 145 at the slice's middle angle.
PointD LabelCentre(int i, int n);

// Dwell target ids.
inline constexpr int kTargetNone = -1;
inline constexpr int kTargetArrowBase = 100;   // + arrow index
inline constexpr int kTargetButtonBase = 200;  // + button index

struct Hit {
  int field = -1;                           // field index or -1
  int arrow = -1;                           // 0 previous, 1 next, -1
  bool buttons[3] = {false, false, false};  // keyboard, minimise, phone

  // The dwell target: the field, else the arrow, else the button.
  int Target() const;
  bool operator==(const Hit& o) const {
    return field == o.field && arrow == o.arrow && buttons[0] == o.buttons[0] &&
           buttons[1] == o.buttons[1] && buttons[2] == o.buttons[2];
  }
};

// What the point (x, y) hits on a wheel of `fields` fields (at least 1), with
// the arrows only when more than one wheel is loaded.
Hit HitTest(double x, double y, int fields, int wheelCount);

}  // namespace wheel_geometry
}  // namespace velmor
