#pragma once

// A picture an overlay window shows: 32-bit premultiplied ARGB pixels
// (0xAARRGGBB in native byte order, the layout of both a top-down Windows
// DIB and QImage::Format_ARGB32_Premultiplied), top row first, no padding.

#include <cstdint>
#include <vector>

namespace velmor::platform {

struct ArgbImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // width * height

  void Reset(int w, int h) {
    width = w;
    height = h;
    pixels.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0u);
  }
  std::uint32_t At(int x, int y) const {
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(x)];
  }
  static std::uint8_t Alpha(std::uint32_t p) { return static_cast<std::uint8_t>(p >> 24); }
};

}  // namespace velmor::platform
