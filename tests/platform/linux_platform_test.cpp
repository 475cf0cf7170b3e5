// The X11 backend against a real display (the test suite's Xvfb, whose
// keyboard map is the US layout), and without one.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "engine/core/key_names.h"
#include "engine/platform/keyboard_layout.h"
#include "engine/platform/program_dir.h"

namespace velmor {
namespace {

bool HaveDisplay() {
  const char* d = std::getenv("DISPLAY");
  return d && *d;
}

struct CharCase {
  char16_t ch;
  int vk;  // -1: no key types it
};

// Punctuation by position, shifted characters on the same key, a character
// no US key types.
const CharCase kUsCases[] = {
    {u'-', 0xBD},  {u'_', 0xBD}, {u'=', 0xBB}, {u'/', 0xBF},    {u'?', 0xBF}, {u';', 0xBA},
    {u'\'', 0xDE}, {u'[', 0xDB}, {u']', 0xDD}, {u'\\', 0xDC},   {u',', 0xBC}, {u'.', 0xBE},
    {u'`', 0xC0},  {u'!', 0x31}, {u')', 0x30}, {u'\u0105', -1},
};

void ExpectUsLayout() {
  for (const auto& c : kUsCases) {
    SCOPED_TRACE(testing::Message() << "char U+" << std::hex << static_cast<int>(c.ch));
    auto vk = platform::VkForChar(c.ch);
    if (c.vk < 0) {
      EXPECT_FALSE(vk.has_value());
    } else {
      ASSERT_TRUE(vk.has_value());
      EXPECT_EQ(*vk, c.vk);
    }
  }
}

TEST(X11Layout, AsksTheDisplaysKeyboardMap) {
  if (!HaveDisplay()) GTEST_SKIP() << "no X display";
  ExpectUsLayout();
  // Through the resolver, as a wheel step's key name.
  KeySpec minus = ResolveKeyName(u" - ");
  EXPECT_TRUE(minus.valid);
  EXPECT_EQ(minus.vk, 0xBD);
  EXPECT_FALSE(minus.extended);
}

TEST(NoDisplay, UsLayoutFallback) {
  if (!std::getenv("VELMOR_EXPECT_NO_DISPLAY")) GTEST_SKIP() << "run with no display only";
  ASSERT_FALSE(HaveDisplay());
  ExpectUsLayout();
}

TEST(LinuxProgramDirectory, IsTheExecutablesFolder) {
  auto dir = platform::ProgramDirectory();
  EXPECT_TRUE(std::filesystem::exists(dir / "velmor_platform_tests"));
}

}  // namespace
}  // namespace velmor
