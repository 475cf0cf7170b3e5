// The QPainter wheel: what is under a hit-test result is that field, drawn
// at the alpha its hover state asks for; the hole lets the desktop through;
// arrows come and go with the wheel count; icons load, fail and are cached.

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QString>

#include "engine/core/text.h"
#include "render/render_test_support.h"
#include "support/temp_dir.h"

namespace velmor::test {
namespace {

namespace wg = wheel_geometry;
using render::DrawWheel;

constexpr int kTolerance = 3;  // rounding of premultiplied channels

Argb Expected(const Rgb& c, int alpha) {
  return {alpha, c.r, c.g, c.b};
}

TEST(WheelRender, SlicePixelsAtHitSamplesHaveTheFieldColour) {
  const Rgb segment{0x34, 0x98, 0xDB};
  for (int n : {1, 4, 6, 8, 24}) {
    const Wheel wheel = ColouredWheel(n);
    for (int hovered : {-1, 0, n - 1}) {
      render::WheelView view = ViewOf(wheel);
      view.hoveredField = hovered;
      platform::ArgbImage img;
      DrawWheel(view, img);
      ASSERT_EQ(img.width, wg::kWindowWidth);
      ASSERT_EQ(img.height, wg::kWindowHeight);
      for (int i = 0; i < n; ++i) {
        for (const Sample& s : SliceSamples(i, n)) {
          SCOPED_TRACE(testing::Message() << n << " fields, hovered " << hovered << ", field " << i
                                          << " at (" << s.x << ", " << s.y << ")");
          const int field = wg::HitTest(s.x + 0.5, s.y + 0.5, n, 1).field;
          ASSERT_EQ(field, i);
          const Rgb& colour = wheel.fields[static_cast<std::size_t>(field)].hasColor
                                  ? wheel.fields[static_cast<std::size_t>(field)].color
                                  : segment;
          const Argb got = Unpremultiply(img.At(s.x, s.y));
          EXPECT_LE(MaxDifference(got, Expected(colour, field == hovered ? 255 : 135)), kTolerance)
              << "got a=" << got.a << " r=" << got.r << " g=" << got.g << " b=" << got.b;
        }
      }
    }
  }
}

TEST(WheelRender, SegmentColourFillsFieldsWithoutTheirOwn) {
  Wheel wheel;
  wheel.fields.resize(6);
  render::WheelView view = ViewOf(wheel);
  view.segmentColor = {0xE6, 0xF1, 0xFB};
  platform::ArgbImage img;
  DrawWheel(view, img);
  for (int i = 0; i < 6; ++i)
    for (const Sample& s : SliceSamples(i, 6))
      EXPECT_LE(MaxDifference(Unpremultiply(img.At(s.x, s.y)), Expected(view.segmentColor, 135)),
                kTolerance);
}

TEST(WheelRender, HoleAndOutsideAreFullyTransparent) {
  Wheel wheel = ColouredWheel(8);
  render::WheelView view = ViewOf(wheel);
  view.hoveredField = 3;
  platform::ArgbImage img;
  DrawWheel(view, img);
  // Inside the hole, short of its antialiased edge.
  for (int dy = -43; dy <= 43; dy += 3)
    for (int dx = -43; dx <= 43; dx += 3)
      if (dx * dx + dy * dy <= 43 * 43) {
        ASSERT_EQ(platform::ArgbImage::Alpha(img.At(294 + dx, 230 + dy)), 0)
            << "(" << 294 + dx << ", " << 230 + dy << ")";
      }
  // Beyond the rim, where neither arrows (one wheel) nor buttons are.
  for (Sample s : {Sample{294, 1}, Sample{80, 20}, Sample{560, 440}, Sample{130, 490}})
    EXPECT_EQ(platform::ArgbImage::Alpha(img.At(s.x, s.y)), 0) << s.x << ", " << s.y;
}

TEST(WheelRender, ArrowsOnlyWithSeveralWheelsAndPointingOutward) {
  const Wheel wheel = ColouredWheel(6);
  const Rgb segment{0x2C, 0x2F, 0x38};
  auto draw = [&](int wheels, int hoveredArrow) {
    render::WheelView view = ViewOf(wheel, wheels);
    view.segmentColor = segment;
    view.hoveredArrow = hoveredArrow;
    platform::ArgbImage img;
    DrawWheel(view, img);
    return img;
  };
  const platform::ArgbImage one = draw(1, -1);
  for (const RectI& r : wg::kArrows)
    for (int y = r.y; y < r.y + r.h; y += 4)
      for (int x = r.x; x < r.x + r.w; x += 4)
        ASSERT_EQ(platform::ArgbImage::Alpha(one.At(x, y)), 0) << x << ", " << y;

  const platform::ArgbImage two = draw(2, 1);
  struct Probe {
    int x, y;
    Argb want;
  };
  const Argb body = Expected(segment, 135), hoveredBody = Expected(segment, 255);
  const Probe probes[] = {
      {14, 196, body},                              // previous arrow, not hovered
      {560, 196, hoveredBody},                      // next arrow, hovered
      {28, 230, Over({220, 255, 255, 255}, body)},  // previous triangle's tip is on the left
      {46, 230, body},                              // behind its base only the body
      {560, 230, Over({255, 255, 255, 255}, hoveredBody)},  // next one's tip is on the right
      {542, 230, hoveredBody},
  };
  for (const Probe& p : probes) {
    SCOPED_TRACE(testing::Message() << "(" << p.x << ", " << p.y << ")");
    EXPECT_LE(MaxDifference(Unpremultiply(two.At(p.x, p.y)), p.want), kTolerance);
  }
}

// Rows of the label box around field 0's label centre that hold bright text.
int LabelInkHeight(const platform::ArgbImage& img, int n) {
  const wg::PointD c = wg::LabelCentre(0, n);
  int top = 1 << 20, bottom = -1;
  for (int y = static_cast<int>(c.y) - 30; y <= static_cast<int>(c.y) + 30; ++y)
    for (int x = static_cast<int>(c.x) - 20; x <= static_cast<int>(c.x) + 20; ++x) {
      const Argb p = Unpremultiply(img.At(x, y));
      if (p.a > 200 && p.r > 235 && p.g > 235 && p.b > 235) {
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
    }
  return bottom - top + 1;
}

TEST(WheelRender, LabelsShrinkBeyondEightFields) {
  EXPECT_EQ(render::LabelPixelSize(1), 19);
  EXPECT_EQ(render::LabelPixelSize(8), 19);
  EXPECT_EQ(render::LabelPixelSize(9), 16);
  EXPECT_EQ(render::LabelPixelSize(24), 16);

  // And the drawn text follows: the same capital is taller on 8 fields.
  int heights[2];
  for (int k = 0; k < 2; ++k) {
    Wheel wheel;
    wheel.fields.resize(k == 0 ? 8 : 9);
    wheel.fields[0].name = u"H";
    render::WheelView view = ViewOf(wheel);
    view.hoveredField = 0;  // opaque white text
    view.segmentColor = {0, 0, 0};
    platform::ArgbImage img;
    DrawWheel(view, img);
    heights[k] = LabelInkHeight(img, static_cast<int>(wheel.fields.size()));
  }
  EXPECT_GT(heights[0], heights[1]);
  EXPECT_GE(heights[1], 9);  // a cap height that a 16-pixel font has, not a blank
}

void WritePng(const std::filesystem::path& file, QColor colour) {
  std::filesystem::create_directories(file.parent_path());
  QImage icon(8, 8, QImage::Format_ARGB32);
  icon.fill(colour);
  EXPECT_TRUE(icon.save(QString::fromStdU16String(file.u16string()), "PNG"));
}

platform::ArgbImage DrawOneIconWheel(const std::u16string& icon, const std::u16string& name,
                                     const std::filesystem::path& programDir, bool hovered) {
  Wheel wheel = ColouredWheel(6);
  wheel.fields[1].icon = icon;
  wheel.fields[1].name = name;
  render::WheelView view = ViewOf(wheel);
  view.programDir = programDir;
  view.hoveredField = hovered ? 1 : -1;
  platform::ArgbImage img;
  DrawWheel(view, img);
  return img;
}

class WheelIcons : public testing::Test {
 protected:
  void SetUp() override { render::ClearIconCache(); }
  void TearDown() override { render::ClearIconCache(); }
  TempDir dir_;
};

TEST_F(WheelIcons, RelativeIconIsFoundInProgramDirAndDrawnAboveTheName) {
  WritePng(dir_ / "icons" / "red.png", QColor(255, 0, 0));
  // Written the Windows way, as wheel files are.
  const platform::ArgbImage img = DrawOneIconWheel(u"icons\\red.png", u"Go", dir_.path(), true);
  const wg::PointD c = wg::LabelCentre(1, 6);
  // Icon square: 42 x 42, centred 11 pixels above the label centre.
  for (Sample s : {Sample{static_cast<int>(c.x), static_cast<int>(c.y) - 11},
                   Sample{static_cast<int>(c.x) - 18, static_cast<int>(c.y) - 29},
                   Sample{static_cast<int>(c.x) + 18, static_cast<int>(c.y) + 7}})
    EXPECT_LE(MaxDifference(Unpremultiply(img.At(s.x, s.y)), {255, 255, 0, 0}), kTolerance)
        << s.x << ", " << s.y;
  // Just outside it, the slice again.
  const Argb slice = Expected(DistinctColour(1), 255);
  EXPECT_LE(
      MaxDifference(Unpremultiply(img.At(static_cast<int>(c.x) - 25, static_cast<int>(c.y) - 11)),
                    slice),
      kTolerance);
}

TEST_F(WheelIcons, UnhoveredIconIsTranslucentOverItsSlice) {
  const auto file = dir_ / "blue.png";
  WritePng(file, QColor(0, 0, 255));
  const platform::ArgbImage img = DrawOneIconWheel(file.u16string(), u"", {}, false);
  const wg::PointD c = wg::LabelCentre(1, 6);  // no name: the icon is not raised
  const Argb want = Over({135, 0, 0, 255}, Expected(DistinctColour(1), 135));
  EXPECT_LE(
      MaxDifference(Unpremultiply(img.At(static_cast<int>(c.x), static_cast<int>(c.y))), want),
      kTolerance);
}

TEST_F(WheelIcons, MissingIconDrawsLikeNoIconAndStaysMissing) {
  for (bool hovered : {false, true}) {
    const platform::ArgbImage plain = DrawOneIconWheel(u"", u"Go", dir_.path(), hovered);
    const platform::ArgbImage missing =
        DrawOneIconWheel(u"icons/none.png", u"Go", dir_.path(), hovered);
    EXPECT_TRUE(plain.pixels == missing.pixels) << "hovered " << hovered;
  }
  // The failure is remembered: the file appearing later changes nothing
  // until the cache is cleared.
  WritePng(dir_ / "icons" / "none.png", QColor(255, 0, 0));
  const platform::ArgbImage plain = DrawOneIconWheel(u"", u"Go", dir_.path(), true);
  EXPECT_TRUE(DrawOneIconWheel(u"icons/none.png", u"Go", dir_.path(), true).pixels == plain.pixels);
  render::ClearIconCache();
  EXPECT_FALSE(DrawOneIconWheel(u"icons/none.png", u"Go", dir_.path(), true).pixels ==
               plain.pixels);
}

TEST_F(WheelIcons, UndecodableFileDrawsLikeNoIcon) {
  dir_.Write("broken.png", "not a picture");
  const platform::ArgbImage plain = DrawOneIconWheel(u"", u"Go", dir_.path(), false);
  EXPECT_TRUE(DrawOneIconWheel(u"broken.png", u"Go", dir_.path(), false).pixels == plain.pixels);
}

TEST(IconPath, AbsoluteTextsStayRelativeOnesGoUnderTheProgramFolder) {
  const std::filesystem::path base = "/opt/velmor";
  struct Case {
    std::u16string text;
    std::filesystem::path want;
  };
  const Case cases[] = {
      {u"icons\\a.png", base / "icons" / "a.png"},
      {u"icons/a.png", base / "icons" / "a.png"},
      {u"a.png", base / "a.png"},
      {u"/usr/share/a.png", "/usr/share/a.png"},
      {u"\\share\\a.png", "/share/a.png"},
      {u"C:\\icons\\a.png", "C:/icons/a.png"},
      {u"d:a.png", "d:a.png"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(render::ResolveIconPath(c.text, base), c.want) << WideToUtf8(c.text);
}

TEST(WheelRender, DwellRingOnlyAboveTheThreshold) {
  const Wheel wheel = ColouredWheel(6);
  auto alphaLeftOfCursor = [&](double progress) {
    render::WheelView view = ViewOf(wheel);
    view.cursorX = 40;  // transparent surroundings: left of the ring, one wheel
    view.cursorY = 120;
    view.dwellProgress = progress;
    platform::ArgbImage img;
    DrawWheel(view, img);
    // On the circle (radius 17) straight left of the tip: the track, and with
    // more than three quarters done, the arc over it.
    return std::pair{platform::ArgbImage::Alpha(img.At(23, 120)),
                     platform::ArgbImage::Alpha(img.At(40, 103))};
  };
  using Alphas = std::pair<std::uint8_t, std::uint8_t>;
  EXPECT_EQ(alphaLeftOfCursor(0), Alphas(0, 0));
  EXPECT_EQ(alphaLeftOfCursor(0.03), Alphas(0, 0));
  // The arc is drawn over the track: 235 over 90.
  const int arcOverTrack = Over({235, 255, 255, 255}, {90, 255, 255, 255}).a;
  const auto quarter = alphaLeftOfCursor(0.25);
  EXPECT_NEAR(quarter.first, 90, 4);             // only the faint track on the left
  EXPECT_NEAR(quarter.second, arcOverTrack, 4);  // the arc starts at the top
  EXPECT_NEAR(alphaLeftOfCursor(0.8).first, arcOverTrack, 4);
}

}  // namespace
}  // namespace velmor::test
