// The renderer of builds without Qt: every image gets its exact size, so the
// windows show, move and hide as in the product, with the wheel's slices
// filled flat.

#include "engine/display/wheel_geometry.h"
#include "engine/render/overlay_renderer.h"

namespace velmor::render {

namespace {

std::uint32_t Premultiplied(Rgb c, std::uint8_t a) {
  auto m = [a](std::uint8_t v) { return static_cast<std::uint32_t>(v * a / 255); };
  return (static_cast<std::uint32_t>(a) << 24) | (m(c.r) << 16) | (m(c.g) << 8) | m(c.b);
}

// Text width without a font: an average glyph of a bold UI face.
int EstimatedTextWidth(const std::u16string& text, int px) {
  return static_cast<int>(text.size()) * px * 6 / 10;
}

}  // namespace

bool DrawsForReal() {
  return false;
}

void DrawWheel(const WheelView& view, platform::ArgbImage& out) {
  namespace wg = wheel_geometry;
  out.Reset(wg::kWindowWidth, wg::kWindowHeight);
  if (!view.wheel || view.wheel->fields.empty()) return;
  const int n = static_cast<int>(view.wheel->fields.size());
  const int wheels = static_cast<int>(view.wheelCount);
  for (int y = 0; y < out.height; ++y) {
    for (int x = 0; x < out.width; ++x) {
      const wg::Hit hit = wg::HitTest(x + 0.5, y + 0.5, n, wheels);
      if (hit.field < 0) continue;
      const WheelAction& f = view.wheel->fields[static_cast<std::size_t>(hit.field)];
      const Rgb c = f.hasColor ? f.color : view.segmentColor;
      out.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(out.width) +
                 static_cast<std::size_t>(x)] =
          Premultiplied(c, hit.field == view.hoveredField ? 255 : 135);
    }
  }
}

void DrawLauncher(const LauncherView& view, platform::ArgbImage& out) {
  out.Reset(view.size, view.size);
  for (auto& p : out.pixels) p = view.hovering ? 0xE1101423u : 0x91101423u;
}

void DrawToast(const std::u16string& text, platform::ArgbImage& out) {
  out.Reset(EstimatedTextWidth(text, 23) + 56, 52);
  for (auto& p : out.pixels) p = 0xD7101423u;
}

void DrawHeldKeysBar(const std::u16string& text, platform::ArgbImage& out) {
  out.Reset(EstimatedTextWidth(text, 20) + 44, 40);
  for (auto& p : out.pixels) p = 0xCD1A0E0Au;
}

void ClearIconCache() {}

}  // namespace velmor::render
