// The virtual cursor, hover and dwell on exact timelines.

#include "engine/display/wheel_cursor.h"

#include <gtest/gtest.h>

namespace velmor {
namespace {

// A tracker reading that sits on screen point (sx, sy) of a 1920x1080
// primary screen, with the wheel window at (666, 282).
WheelTickInput GazeAt(std::int64_t now, int sx, int sy, int dwellMs = 900) {
  WheelTickInput in;
  in.now = now;
  in.fields = 4;
  in.gazeEnabled = true;
  in.gazeDwellMs = dwellMs;
  in.gaze = {4, sx * 10000 / 1920, sy * 10000 / 1080, now - 10};
  in.windowLeft = 666;
  in.windowTop = 282;
  return in;
}

TEST(WheelCursor, MotionMovesOnePixelPerCountAndClampsToTheWindow) {
  WheelCursor c;
  c.Reset();
  WheelTickInput in;
  in.fields = 4;
  in.now = 15;
  auto r = c.Tick(in);
  EXPECT_FALSE(r.redraw) << "nothing moved, nothing to draw";

  c.AddMotion(30, -10);
  c.AddMotion(20, 0);  // summed until the tick
  in.now = 30;
  r = c.Tick(in);
  EXPECT_EQ(c.x(), 344);
  EXPECT_EQ(c.y(), 220);
  EXPECT_TRUE(r.redraw);

  c.AddMotion(1 << 30, 1 << 30);
  c.AddMotion(1 << 30, 1 << 30);  // no overflow before the clamp
  in.now = 45;
  c.Tick(in);
  EXPECT_EQ(c.x(), 587);
  EXPECT_EQ(c.y(), 515);
  c.AddMotion(-5000, -5000);
  in.now = 60;
  c.Tick(in);
  EXPECT_EQ(c.x(), 0);
  EXPECT_EQ(c.y(), 0);
}

TEST(WheelCursor, HoverChangesOnlyWhenTheTargetChanges) {
  WheelCursor c;
  c.Reset();
  WheelTickInput in;
  in.fields = 4;
  c.AddMotion(0, -100);  // field 0, straight up
  auto r = c.Tick(in);
  EXPECT_TRUE(r.hoverChanged);
  EXPECT_EQ(c.hover().field, 0);
  c.AddMotion(5, 0);  // still field 0
  r = c.Tick(in);
  EXPECT_FALSE(r.hoverChanged);
  EXPECT_TRUE(r.redraw);  // the cursor itself moved
  c.AddMotion(95, 100);   // straight right: field 1
  r = c.Tick(in);
  EXPECT_TRUE(r.hoverChanged);
  EXPECT_EQ(c.hover().field, 1);
}

TEST(WheelCursor, GazeStepsAThirdOfTheWayAfterTheMouseRests) {
  WheelCursor c;
  c.Reset();
  // The target: window point (394, 230), i.e. screen (1060, 512).
  c.AddMotion(0, 0);
  WheelTickInput in = GazeAt(1000, 1060, 512);
  c.Tick(in);  // the mouse "moved" (pending motion) at 1000
  EXPECT_FALSE(c.gazeDriving());

  // Within 700 ms of the mouse the eyes do not drive.
  c.Tick(GazeAt(1700, 1060, 512));
  EXPECT_EQ(c.x(), 294);
  // Just past it they do: 35 % of the remaining way, truncated.
  const int targetX = 1060 * 10000 / 1920 * 1920 / 10000 - 666;
  c.Tick(GazeAt(1701, 1060, 512));
  EXPECT_TRUE(c.gazeDriving());
  EXPECT_EQ(c.x(), 294 + static_cast<int>((targetX - 294) * 0.35));

  // A stale reading (250 ms old) or a tracker not active does nothing.
  WheelTickInput stale = GazeAt(1716, 1500, 512);
  stale.gaze.timeMs = 1716 - 250;
  const int before = c.x();
  c.Tick(stale);
  EXPECT_EQ(c.x(), before);
  WheelTickInput off = GazeAt(1731, 1500, 512);
  off.gaze.state = 1;
  c.Tick(off);
  EXPECT_EQ(c.x(), before);

  // Moving the mouse takes over at once.
  c.AddMotion(1, 0);
  c.Tick(GazeAt(1746, 1500, 512));
  EXPECT_FALSE(c.gazeDriving());
  EXPECT_EQ(c.x(), before + 1);
}

TEST(WheelCursor, DwellClicksAfterTheDwellTimeOnOneTarget) {
  WheelCursor c;
  c.Reset();
  // Screen (1060, 412) is window (394, 130): up and to the right of the
  // centre, 45 degrees clockwise from the top, so field 0 of 4.
  std::int64_t t = 1000;
  int clicks = 0;
  std::int64_t clickAt = -1;
  std::int64_t firstOnTarget = -1;
  for (; t < 3000; t += 15) {
    auto r = c.Tick(GazeAt(t, 1060, 412));
    if (firstOnTarget < 0 && c.hover().field == 0) firstOnTarget = t;
    if (r.click) {
      ++clicks;
      if (clickAt < 0) clickAt = t;
    }
    if (clicks) break;
  }
  ASSERT_EQ(clicks, 1);
  // The dwell starts on the first tick over the field and completes on the
  // first tick at or past 900 ms later.
  EXPECT_GE(clickAt - firstOnTarget, 900);
  EXPECT_LT(clickAt - firstOnTarget, 915);
  EXPECT_EQ(c.dwellProgress(), 0);
}

TEST(WheelCursor, DwellOffOrNoTargetNeverClicks) {
  for (int dwell : {0, 900}) {
    WheelCursor c;
    c.Reset();
    // With dwell 900, the eyes rest in the hole: no target.
    const int sx = dwell ? 960 : 1060, sy = dwell ? 512 : 412;
    bool clicked = false;
    for (std::int64_t t = 1000; t < 5000; t += 15) {
      clicked |= c.Tick(GazeAt(t, sx, sy, dwell)).click;
      EXPECT_EQ(c.dwellProgress(), 0);
    }
    EXPECT_FALSE(clicked) << "dwell " << dwell;
  }
}

TEST(WheelCursor, MouseMotionAbandonsADwellBegunByTheEyes) {
  WheelCursor c;
  c.Reset();
  std::int64_t t = 1000;
  for (; t < 1600; t += 15) c.Tick(GazeAt(t, 1060, 412));
  ASSERT_GT(c.dwellProgress(), 0.4);
  c.AddMotion(0, 0);
  c.Tick(GazeAt(t, 1060, 412));
  EXPECT_EQ(c.dwellProgress(), 0);
  // When the eyes drive again the dwell starts over instead of clicking at
  // once from its old start.
  t += 701;
  auto r = c.Tick(GazeAt(t, 1060, 412));
  EXPECT_FALSE(r.click);
  EXPECT_LT(c.dwellProgress(), 0.05);
}

}  // namespace
}  // namespace velmor
