// What both renderers decide the same way: label sizes and icon paths.

#include "engine/render/overlay_renderer.h"

#include <algorithm>

namespace velmor::render {

int LabelPixelSize(std::size_t fieldCount) {
  return fieldCount <= 8 ? 19 : 16;
}

std::filesystem::path ResolveIconPath(std::u16string_view iconText,
                                      const std::filesystem::path& programDir) {
  std::u16string text(iconText);
  const bool absolute = (text.size() >= 2 && text[1] == u':') ||
                        (!text.empty() && (text[0] == u'\\' || text[0] == u'/'));
  if constexpr (std::filesystem::path::preferred_separator != '\\')
    std::replace(text.begin(), text.end(), u'\\', u'/');
  std::filesystem::path file(text);
  return absolute ? file : programDir / file;
}

}  // namespace velmor::render
