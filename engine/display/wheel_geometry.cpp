#include "engine/display/wheel_geometry.h"

namespace velmor::wheel_geometry {

namespace {
constexpr double kPi = 3.14159265358979323846;
}  // namespace

PointD LabelCentre(int i, int n) {
  const double mid = (SliceStartDegrees(i, n) + SliceSweepDegrees(n) / 2) * kPi / 180.0;
  return {kCentreX + kLabelRadius * std::cos(mid), kCentreY + kLabelRadius * std::sin(mid)};
}

int Hit::Target() const {
  if (field >= 0) return field;
  if (arrow >= 0) return kTargetArrowBase + arrow;
  for (int b = 0; b < 3; ++b)
    if (buttons[b]) return kTargetButtonBase + b;
  return kTargetNone;
}

Hit HitTest(double x, double y, int fields, int wheelCount) {
  Hit hit;
  const double dx = x - kCentreX, dy = y - kCentreY;
  const double distance = std::sqrt(dx * dx + dy * dy);
  if (fields > 0 && distance >= kHitInnerRadius && distance <= kHitOuterRadius) {
    double angle = std::atan2(dy, dx) * 180.0 / kPi + 90.0;
    if (angle < 0) angle += 360.0;
    hit.field = static_cast<int>(std::floor(angle / (360.0 / fields))) % fields;
  }
  if (wheelCount > 1) {
    for (int a = 0; a < 2; ++a)
      if (kArrows[a].Contains(x, y)) hit.arrow = a;
  }
  for (int b = 0; b < 3; ++b) hit.buttons[b] = kButtons[b].Contains(x, y);
  return hit;
}

}  // namespace velmor::wheel_geometry
