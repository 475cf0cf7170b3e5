// The renderer of builds without Qt: right sizes, and the wheel's slices as
// flat colour so the window is still there to see and to point at.

#include "engine/render/overlay_renderer.h"

#include <cmath>
#include <vector>

#include "engine/display/wheel_geometry.h"
#include "engine/render/overlay_style.h"

namespace velmor::render {

namespace wg = wheel_geometry;

namespace {

std::uint32_t Premultiplied(const Rgb& c, int alpha) {
  auto channel = [alpha](std::uint8_t v) {
    return static_cast<std::uint32_t>((v * alpha + 127) / 255);
  };
  return static_cast<std::uint32_t>(alpha) << 24 | channel(c.r) << 16 | channel(c.g) << 8 |
         channel(c.b);
}

// A rough width for bold UI text: no font to measure with, but the window
// should still fit its text about as well as the real one would.
int EstimatedTextWidth(const std::u16string& text, int perCharacter) {
  int characters = 0;
  for (char16_t c : text)
    if (c < 0xDC00 || c > 0xDFFF) ++characters;  // a surrogate pair is one character
  return characters * perCharacter;
}

constexpr int kToastCharacterWidth = 12;  // bold 17 point
constexpr int kBarCharacterWidth = 11;    // bold 15 point

}  // namespace

bool DrawsForReal() {
  return false;
}

void DrawWheel(const WheelView& view, platform::ArgbImage& out) {
  out.Reset(wg::kWindowWidth, wg::kWindowHeight);
  if (view.wheel == nullptr || view.wheel->fields.empty()) return;
  const auto& fields = view.wheel->fields;
  const int n = static_cast<int>(fields.size());
  std::vector<std::uint32_t> colours(fields.size());
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const bool hovered = static_cast<int>(i) == view.hoveredField;
    colours[i] = Premultiplied(style::FieldColor(fields[i], view.segmentColor),
                               hovered ? style::kSliceAlphaHovered : style::kSliceAlpha);
  }
  // Which field each pixel of the drawn ring belongs to (-1 outside it),
  // worked out once per field count: the wheel redraws on every cursor
  // move, and a hit test per pixel each time would take longer than a tick.
  static std::vector<std::int16_t> owner;
  static int ownerFields = 0;
  if (ownerFields != n) {
    owner.assign(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height), -1);
    const double outer = wg::kRing.w / 2.0;
    const double inner = wg::kHole.w / 2.0;
    for (int y = wg::kRing.y; y < wg::kRing.y + wg::kRing.h; ++y) {
      for (int x = wg::kRing.x; x < wg::kRing.x + wg::kRing.w; ++x) {
        const double px = x + 0.5, py = y + 0.5;
        const double d = std::hypot(px - wg::kCentreX, py - wg::kCentreY);
        if (d > outer || d < inner) continue;
        owner[static_cast<std::size_t>(y) * static_cast<std::size_t>(out.width) +
              static_cast<std::size_t>(x)] =
            static_cast<std::int16_t>(wg::HitTest(px, py, n, 1).field);
      }
    }
    ownerFields = n;
  }
  for (std::size_t i = 0; i < owner.size(); ++i)
    if (owner[i] >= 0) out.pixels[i] = colours[static_cast<std::size_t>(owner[i])];
}

void DrawLauncher(const LauncherView& view, platform::ArgbImage& out) {
  out.Reset(view.size, view.size);
}

void DrawToast(const std::u16string& text, platform::ArgbImage& out) {
  out.Reset(EstimatedTextWidth(text, kToastCharacterWidth) + style::kToastPadding,
            style::kToastHeight);
}

void DrawHeldKeysBar(const std::u16string& text, platform::ArgbImage& out) {
  out.Reset(EstimatedTextWidth(text, kBarCharacterWidth) + style::kBarPadding, style::kBarHeight);
}

void ClearIconCache() {}

}  // namespace velmor::render
