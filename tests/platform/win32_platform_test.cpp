// The Win32 backend calling the real keyboard-layout and module functions.

#include <gtest/gtest.h>

#include "engine/core/key_names.h"
#include "engine/platform/keyboard_layout.h"
#include "engine/platform/program_dir.h"

namespace velmor {
namespace {

TEST(Win32Layout, UsPunctuationByPosition) {
  struct Case {
    char16_t ch;
    int vk;
  };
  // VK_OEM_* codes of the US layout, which the test prefix uses.
  const Case cases[] = {{u'-', 0xBD}, {u'=', 0xBB}, {u'/', 0xBF}, {u';', 0xBA}, {u',', 0xBC},
                        {u'.', 0xBE}, {u'[', 0xDB}, {u'`', 0xC0}, {u'!', 0x31}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "char " << static_cast<char>(c.ch));
    auto vk = platform::VkForChar(c.ch);
    ASSERT_TRUE(vk.has_value());
    EXPECT_EQ(*vk, c.vk);
  }
}

TEST(Win32Layout, ResolverUsesTheLayout) {
  KeySpec k = ResolveKeyName(u"-");
  EXPECT_TRUE(k.valid);
  EXPECT_EQ(k.vk, 0xBD);
}

TEST(Win32ProgramDirectory, IsTheExecutablesFolder) {
  auto dir = platform::ProgramDirectory();
  EXPECT_TRUE(std::filesystem::exists(dir / "velmor_platform_tests.exe")) << dir.string();
}

}  // namespace
}  // namespace velmor
