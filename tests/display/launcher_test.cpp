// The launcher's hover and drag, its stored position, the toast and bar
// placement and the pad toggle rule.

#include "engine/display/launcher.h"

#include <gtest/gtest.h>

#include "engine/display/overlay_placement.h"

namespace velmor {
namespace {

using platform::Point;
using platform::Rect;

const Rect kScreen{0, 0, 1920, 1080};

// Ticks every 50 ms from `from` until `to` (excluded) with the cursor at
// `at`; returns the time of the tick that opened the wheel, or -1.
std::int64_t Rest(Launcher& l, std::int64_t from, std::int64_t to, Point at) {
  for (std::int64_t t = from; t < to; t += 50)
    if (l.Tick(t, at, false, kScreen).showWheel) return t;
  return -1;
}

TEST(Launcher, RestingTwoSecondsOpensTheWheelOnceUntilTheCursorLeaves) {
  Launcher l;
  l.Place({20, 20}, 64, kScreen);
  const Point on{40, 40}, off{500, 500};
  // 1.9 s and away: nothing.
  EXPECT_EQ(Rest(l, 0, 1950, on), -1);
  EXPECT_FALSE(l.Tick(1950, off, false, kScreen).showWheel);
  EXPECT_FALSE(l.hovering());
  // Back on: the hover starts at 2000 and opens at 4000.
  EXPECT_EQ(Rest(l, 2000, 5000, on), 4000);
  l.OnWheelShown();
  // After the wheel closed, resting on without leaving first does nothing.
  EXPECT_EQ(Rest(l, 6000, 10000, on), -1);
  l.Tick(10000, off, false, kScreen);
  EXPECT_EQ(Rest(l, 10050, 13000, on), 12050);
}

TEST(Launcher, DragMovesClampsAndSavesOnlyWhenMoved) {
  Launcher l;
  l.Place({20, 20}, 64, kScreen);
  // Press and release without moving: no save.
  l.Tick(0, {30, 30}, true, kScreen);
  EXPECT_TRUE(l.dragging());
  auto r = l.Tick(50, {30, 30}, false, kScreen);
  EXPECT_FALSE(r.savePos);
  EXPECT_EQ(l.pos(), (Point{20, 20}));

  // Drag past the right edge; it follows the grab offset while held and is
  // clamped when dropped.
  l.Tick(100, {30, 30}, true, kScreen);
  r = l.Tick(150, {2000, 300}, true, kScreen);
  EXPECT_TRUE(r.move);
  EXPECT_EQ(l.pos(), (Point{1990, 290}));
  r = l.Tick(200, {2000, 300}, false, kScreen);
  EXPECT_TRUE(r.savePos);
  EXPECT_EQ(l.pos(), (Point{1856, 290}));
  EXPECT_FALSE(l.hovering());
}

TEST(Launcher, PlacementClampsToTheScreen) {
  Launcher l;
  l.Place({5000, 5000}, 64, kScreen);
  EXPECT_EQ(l.pos(), (Point{1856, 1016}));
  l.Place({-300, -1}, 64, Rect{-1280, 0, 1920, 1080});
  EXPECT_EQ(l.pos(), (Point{-300, 0}));
}

TEST(LauncherPos, TextForm) {
  struct Case {
    const char* text;
    bool ok;
    Point p;
  };
  const Case cases[] = {
      {"5000 5000", true, {5000, 5000}},
      {"-20 7", true, {-20, 7}},
      {"12 34\r\n", true, {12, 34}},
      {"12  34", false, {}},
      {"12,34", false, {}},
      {"12", false, {}},
      {"", false, {}},
      {"a b", false, {}},
      {"1 2 3", false, {}},
      {"99999999999 1", false, {}},
      {"+5 6", false, {}},
  };
  for (const auto& c : cases) {
    auto p = ParseLauncherPos(c.text);
    EXPECT_EQ(p.has_value(), c.ok) << c.text;
    if (p && c.ok) {
      EXPECT_EQ(*p, c.p) << c.text;
    }
  }
  EXPECT_EQ(FormatLauncherPos({-5, 1016}), "-5 1016");
}

TEST(OverlayPlacement, ToastAndBarEdges) {
  const Rect m{1920, 0, 3840, 1200};
  struct Case {
    bool bottom, barSameEdge;
    int y;
  };
  for (auto c : {Case{false, false, 36}, Case{false, true, 56}, Case{true, false, 1200 - 116},
                 Case{true, true, 1200 - 164}}) {
    EXPECT_EQ(ToastTopLeft(m, 300, c.bottom, c.barSameEdge), (Point{1920 + 810, c.y}));
  }
  EXPECT_EQ(HeldKeysBarTopLeft(m, 200, false), (Point{1920 + 860, 8}));
  EXPECT_EQ(HeldKeysBarTopLeft(m, 200, true), (Point{1920 + 860, 1200 - 56}));
  // The bottom toast beside the bar sits wholly above it.
  EXPECT_LE(ToastTopLeft(m, 300, true, true).y + kToastHeight, HeldKeysBarTopLeft(m, 200, true).y);
}

TEST(PadToggle, OnlyTheEdgeToAllButtonsToggles) {
  const std::uint32_t mask = 0x1000 | 0x10000;  // A and the left trigger
  platform::PadState idle{true, 0, 0, 0}, a{true, 0x1000, 0, 0}, both{true, 0x1000, 200, 0},
      weakTrigger{true, 0x1000, 120, 0};
  EXPECT_EQ(PadToggleState(both), 0x11000);
  EXPECT_EQ(PadToggleState(weakTrigger), 0x1000);  // 120 is not past the threshold
  EXPECT_EQ(PadToggleState({}), -1);

  PadToggle t;
  // A pad seen for the first time with the buttons held does not toggle.
  EXPECT_FALSE(t.Update(0, PadToggleState(both), mask));
  EXPECT_FALSE(t.Update(0, PadToggleState(both), mask));  // held: no repeat
  EXPECT_FALSE(t.Update(0, PadToggleState(a), mask));
  EXPECT_TRUE(t.Update(0, PadToggleState(both), mask));
  // Pad 1 holding only part of the set never toggles; pad 1 completing it does.
  EXPECT_FALSE(t.Update(1, PadToggleState(idle), mask));
  EXPECT_FALSE(t.Update(1, PadToggleState(a), mask));
  EXPECT_TRUE(t.Update(1, PadToggleState(both), mask));
  // Unplugged in between: the next reading is not an edge.
  EXPECT_FALSE(t.Update(0, -1, mask));
  EXPECT_FALSE(t.Update(0, PadToggleState(both), mask));
}

}  // namespace
}  // namespace velmor
