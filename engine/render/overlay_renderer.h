#pragma once

// Draws the overlay windows into premultiplied ARGB images of their exact
// pixel sizes. Two implementations share this header: QPainter (QtGui) where
// Qt is present, and a null renderer elsewhere (the Wine build), which gives
// every image its right size so the windows still work.
//
// GUI thread only. Neither implementation keeps a reference to its inputs.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "engine/core/wheel_file.h"
#include "engine/platform/argb_image.h"

namespace velmor::render {

// True for the QPainter renderer.
bool DrawsForReal();

// Everything the wheel window shows, taken from the overlay's state.
struct WheelView {
  const Wheel* wheel = nullptr;  // the current wheel; never null when drawing
  std::size_t wheelIndex = 0;
  std::size_t wheelCount = 1;
  Rgb segmentColor{0x34, 0x98, 0xDB};
  int hoveredField = -1;
  int hoveredArrow = -1;                           // 0 previous, 1 next
  bool hoveredButtons[3] = {false, false, false};  // keyboard, minimise, phone
  int cursorX = 294, cursorY = 230;                // virtual cursor tip, window coordinates
  double dwellProgress = 0;                        // 0..1; drawn above 0.03
  // Icon texts that are not absolute ("C:..", "\..", "/..") are relative to
  // this folder.
  std::filesystem::path programDir;
};

// Fills `out` (588 x 516) with the wheel.
void DrawWheel(const WheelView& view, platform::ArgbImage& out);

struct LauncherView {
  int size = 64;
  bool hovering = false;     // only while not dragging
  double hoverProgress = 0;  // (now - hover start) / 2000, clamped to 0..1
};
// Fills `out` (size x size) with the launcher button.
void DrawLauncher(const LauncherView& view, platform::ArgbImage& out);

// The toast: one line of text, width = text width + 56, height 52.
void DrawToast(const std::u16string& text, platform::ArgbImage& out);
// The held-keys bar: prefix and labels already joined, width = text width
// + 44, height 40.
void DrawHeldKeysBar(const std::u16string& text, platform::ArgbImage& out);

// The pixel size of field labels on a wheel of `fieldCount` fields: larger
// while the slices are wide enough for it.
int LabelPixelSize(std::size_t fieldCount);

// The file a field's icon text names: the text itself when it is absolute
// ("C:..", "\..", "/.."), otherwise the text under `programDir`. Wheel files
// are written on Windows, so backslashes become separators where they are not.
std::filesystem::path ResolveIconPath(std::u16string_view iconText,
                                      const std::filesystem::path& programDir);

// Forgets every decoded icon (tests only: the product keeps them, failures
// included, for the life of the process).
void ClearIconCache();

}  // namespace velmor::render
