// What a point on the wheel hits: the ring by angle, the hole and the edge
// outside it, the arrows only with several wheels, the three buttons.

#include "engine/display/wheel_geometry.h"

#include <gtest/gtest.h>

namespace velmor::wheel_geometry {
namespace {

struct Case {
  double x, y;
  int fields, wheels;
  int target;
};

TEST(WheelGeometry, HitTargets) {
  const Case cases[] = {
      // Four fields: top, right, bottom, left at distance 100.
      {294, 130, 4, 1, 0},
      {394, 230, 4, 1, 1},
      {294, 330, 4, 1, 2},
      {194, 230, 4, 1, 3},
      // The hole and beyond the ring.
      {294, 190, 4, 1, kTargetNone},  // distance 40
      {294, 0, 4, 1, kTargetNone},    // distance 230
      {294, 230 - 46, 4, 1, 0},       // the hole's edge counts
      {294, 230 - 226, 4, 1, 0},      // so does the outer edge
      // Boundaries: the first field owns its starting angle, clockwise.
      {294 + 100, 230 - 0.0001, 8, 1, 1},  // just above 3 o'clock: field 1 of 8
      {294 + 100, 230, 8, 1, 2},           // exactly 3 o'clock starts field 2
      {294 - 0.0001, 130, 8, 1, 7},        // just left of 12 o'clock: the last field
      {294, 130, 1, 1, 0},                 // one field is the whole ring
      {294 + 70, 230 + 70, 24, 1, 9},      // 135 degrees from the top: 135 / 15 = 9
      // Arrows with several wheels only; right and bottom edges excluded.
      {20, 230, 6, 1, kTargetNone},
      {20, 230, 6, 3, kTargetArrowBase + 0},
      {577, 273, 6, 2, kTargetArrowBase + 1},
      {578, 230, 6, 2, kTargetNone},
      {560, 274, 6, 2, kTargetNone},
      // Buttons.
      {186, 468, 6, 1, kTargetButtonBase + 0},
      {300, 500, 6, 1, kTargetButtonBase + 1},
      {401, 507, 6, 1, kTargetButtonBase + 2},
      {250, 480, 6, 1, kTargetNone},  // between keyboard and minimise
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << "(" << c.x << ", " << c.y << ") fields " << c.fields << " wheels " << c.wheels);
    EXPECT_EQ(HitTest(c.x, c.y, c.fields, c.wheels).Target(), c.target);
  }
}

TEST(WheelGeometry, LabelCentresSitMidSliceOnTheirField) {
  for (int n : {1, 2, 6, 8, 24}) {
    for (int i = 0; i < n; ++i) {
      SCOPED_TRACE(testing::Message() << "field " << i << " of " << n);
      PointD p = LabelCentre(i, n);
      EXPECT_NEAR(std::hypot(p.x - kCentreX, p.y - kCentreY), kLabelRadius, 1e-9);
      EXPECT_EQ(HitTest(p.x, p.y, n, 1).field, i);
    }
  }
  PointD right = LabelCentre(0, 2);  // field 0 of 2 is the right half: its label at 3 o'clock
  EXPECT_NEAR(right.x, kCentreX + kLabelRadius, 1e-9);
  EXPECT_NEAR(right.y, kCentreY, 1e-9);
}

}  // namespace
}  // namespace velmor::wheel_geometry
