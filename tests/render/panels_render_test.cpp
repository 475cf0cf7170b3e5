// The launcher button, the toast and the held-keys bar drawn with QPainter:
// their sizes, their colours where nothing overlaps, and text that fits the
// width it was measured for.

#include <gtest/gtest.h>

#include <cmath>

#include "render/render_test_support.h"

namespace velmor::test {
namespace {

constexpr int kTolerance = 3;
const Argb kClear{0, 0, 0, 0};

Argb PixelAt(const platform::ArgbImage& img, int x, int y) {
  return Unpremultiply(img.At(x, y));
}

TEST(LauncherRender, LayersOfTheButtonInBothHoverStates) {
  for (bool hovering : {false, true}) {
    SCOPED_TRACE(hovering ? "hovering" : "resting");
    render::LauncherView view;
    view.size = 64;
    view.hovering = hovering;
    view.hoverProgress = 0.5;
    platform::ArgbImage img;
    render::DrawLauncher(view, img);
    ASSERT_EQ(img.width, 64);
    ASSERT_EQ(img.height, 64);

    const Argb fill = ArgbOf(hovering ? 0xE1101423 : 0x91101423);
    const Argb firstSlice = ArgbOf(hovering ? 0xFF39D5C9 : 0xC839D5C9);
    const Argb oddSlice = ArgbOf(hovering ? 0xE11B2340 : 0x911B2340);
    const Argb fifthSlice = ArgbOf(hovering ? 0x6439D5C9 : 0x4639D5C9);
    // The rounded corner leaves the very corner clear.
    EXPECT_EQ(PixelAt(img, 0, 0).a, 0);
    EXPECT_EQ(PixelAt(img, 63, 63).a, 0);
    // Between the outline and the ring: the square's fill alone.
    EXPECT_LE(MaxDifference(PixelAt(img, 10, 32), Over(fill, kClear)), kTolerance);
    // Ring slices, clockwise from the top: slice 0 up and right, slice 4 on
    // the lower left.
    EXPECT_LE(MaxDifference(PixelAt(img, 37, 21), Over(firstSlice, Over(fill, kClear))),
              kTolerance);
    EXPECT_LE(MaxDifference(PixelAt(img, 20, 37), Over(fifthSlice, Over(fill, kClear))),
              kTolerance);
    // The centre disc, in the fill colour over a slice.
    EXPECT_LE(MaxDifference(PixelAt(img, 34, 31), Over(fill, Over(oddSlice, Over(fill, kClear)))),
              kTolerance);
    // Half way: the progress arc runs down the right side, not the left.
    const Argb right = PixelAt(img, 60, 32), left = PixelAt(img, 3, 32);
    if (hovering) {
      EXPECT_GE(right.a, 0xF0);
      EXPECT_LE(MaxDifference({right.a, right.r, right.g, right.b}, {right.a, 0x39, 0xD5, 0xC9}),
                12);
    }
    EXPECT_LE(MaxDifference(left, Over(fill, kClear)), kTolerance);
  }
}

TEST(LauncherRender, TakesTheSizeItIsGiven) {
  for (int size : {32, 64, 97}) {
    render::LauncherView view;
    view.size = size;
    platform::ArgbImage img;
    render::DrawLauncher(view, img);
    EXPECT_EQ(img.width, size);
    EXPECT_EQ(img.height, size);
    EXPECT_GT(PixelAt(img, size / 2, size / 2).a, 0);
  }
}

struct Ink {
  int left = 1 << 20, right = -1;
  Argb brightest{0, 0, 0, 0};
};

// Where text of roughly `colour` lies in the middle band of a panel.
Ink TextInk(const platform::ArgbImage& img, Argb colour) {
  Ink ink;
  int best = 1 << 20;
  for (int y = 8; y < img.height - 8; ++y)
    for (int x = 4; x < img.width - 4; ++x) {
      const Argb p = PixelAt(img, x, y);
      const int d = MaxDifference(p, colour);
      if (d < 40) {
        ink.left = std::min(ink.left, x);
        ink.right = std::max(ink.right, x);
      }
      if (d < best) best = d, ink.brightest = p;
    }
  return ink;
}

struct PanelCase {
  const char* name;
  void (*draw)(const std::u16string&, platform::ArgbImage&);
  int height, padding;
  std::uint32_t fill, outline, text;
};

const PanelCase kPanels[] = {
    {"toast", render::DrawToast, 52, 56, 0xD7101423, 0xFF39D5C9, 0xFFE8ECFF},
    {"held keys", render::DrawHeldKeysBar, 40, 44, 0xCD1A0E0A, 0xFFEFA02F, 0xFFF5C982},
};

TEST(PanelRender, SizeColoursAndTextThatFits) {
  for (const PanelCase& c : kPanels) {
    for (const std::u16string& text :
         {std::u16string(u"pokaż koło · 93%"), std::u16string(u"Wciśnięte:   Shift   W"),
          std::u16string(u"i")}) {
      SCOPED_TRACE(testing::Message() << c.name << " " << text.size() << " chars");
      platform::ArgbImage img;
      c.draw(text, img);
      ASSERT_EQ(img.height, c.height);
      ASSERT_GT(img.width, c.padding);
      EXPECT_EQ(PixelAt(img, 0, 0).a, 0);  // rounded corners
      EXPECT_EQ(PixelAt(img, img.width - 1, img.height - 1).a, 0);
      // The padding left of the text shows the fill; the top edge the outline.
      EXPECT_LE(MaxDifference(PixelAt(img, 12, c.height / 2), ArgbOf(c.fill)), kTolerance);
      const Argb edge = PixelAt(img, img.width / 2, 0);
      EXPECT_LE(MaxDifference({255, edge.r, edge.g, edge.b}, ArgbOf(c.outline)), 8);
      EXPECT_GT(edge.a, 100);
      // The text is drawn in its colour, centred, with about half the padding
      // to either side: measured and drawn alike.
      const Ink ink = TextInk(img, ArgbOf(c.text));
      ASSERT_GE(ink.right, ink.left);
      EXPECT_LE(MaxDifference(ink.brightest, ArgbOf(c.text)), 12);
      const int spare = c.padding / 2;
      EXPECT_NEAR(ink.left, spare, 6);
      EXPECT_NEAR(img.width - 1 - ink.right, spare, 6);
    }
  }
}

TEST(PanelRender, WidthGrowsWithTheText) {
  for (const PanelCase& c : kPanels) {
    platform::ArgbImage shortText, longText;
    c.draw(u"Shift", shortText);
    c.draw(u"Shift   Ctrl   Alt", longText);
    EXPECT_GT(longText.width, shortText.width + 40) << c.name;
  }
}

TEST(PanelRender, TheToastTextIsLargerThanTheBarText) {
  platform::ArgbImage toast, bar;
  render::DrawToast(u"Held:   Shift", toast);
  render::DrawHeldKeysBar(u"Held:   Shift", bar);
  // 17 against 15 points: the text alone is about 13 % wider.
  const double ratio = (toast.width - 56.0) / (bar.width - 44.0);
  EXPECT_NEAR(ratio, 17.0 / 15.0, 0.08);
}

TEST(Renderer, DrawsForReal) {
  EXPECT_TRUE(render::DrawsForReal());
}

}  // namespace
}  // namespace velmor::test
