// The virtual-key table checked against Xlib's own keysym names, so a
// mistyped hex value in the table cannot hide behind the same mistake here.

// GoogleTest first: Xlib defines macros (None, Bool) that its templates use as names.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <string>

#include "engine/platform/vk_keysyms.h"

namespace velmor {
namespace {

struct VkName {
  std::uint16_t vk;
  const char* keysym;  // nullptr: the table has no key for it
};

const VkName kTable[] = {
    {0x41, "a"},
    {0x5A, "z"},
    {0x30, "0"},
    {0x39, "9"},
    {0x70, "F1"},
    {0x74, "F5"},
    {0x87, "F24"},
    {0xBA, "semicolon"},
    {0xBB, "equal"},
    {0xBC, "comma"},
    {0xBD, "minus"},
    {0xBE, "period"},
    {0xBF, "slash"},
    {0xC0, "grave"},
    {0xDB, "bracketleft"},
    {0xDC, "backslash"},
    {0xDD, "bracketright"},
    {0xDE, "apostrophe"},
    {0x20, "space"},
    {0x0D, "Return"},
    {0x09, "Tab"},
    {0x1B, "Escape"},
    {0x08, "BackSpace"},
    {0x10, "Shift_L"},
    {0x11, "Control_L"},
    {0x12, "Alt_L"},
    {0x14, "Caps_Lock"},
    {0x25, "Left"},
    {0x26, "Up"},
    {0x27, "Right"},
    {0x28, "Down"},
    {0x24, "Home"},
    {0x23, "End"},
    {0x21, "Prior"},
    {0x22, "Next"},
    {0x2D, "Insert"},
    {0x2E, "Delete"},
    {0x5B, "Super_L"},
    {0x2C, "Print"},
    {0xAF, "XF86AudioRaiseVolume"},
    {0xAE, "XF86AudioLowerVolume"},
    {0xAD, "XF86AudioMute"},
    {0xB3, "XF86AudioPlay"},
    {0xB0, "XF86AudioNext"},
    {0xB1, "XF86AudioPrev"},
    {0x60, "KP_0"},
    {0x69, "KP_9"},
    {0x6A, "KP_Multiply"},
    {0x6B, "KP_Add"},
    {0x6D, "KP_Subtract"},
    {0x6E, "KP_Decimal"},
    {0x6F, "KP_Divide"},
    {0x90, "Num_Lock"},
    {0xA1, "Shift_R"},
    {0xA3, "Control_R"},
    {0xA5, "Alt_R"},
    {0x00, nullptr},
    {0x07, nullptr},
    {0x88, nullptr},
    {0xFF, nullptr},
    {0x1234, nullptr},
};

TEST(VkKeysyms, MatchXlibsNames) {
  for (const VkName& c : kTable) {
    SCOPED_TRACE(testing::Message() << "vk 0x" << std::hex << c.vk);
    std::uint32_t expected = c.keysym ? static_cast<std::uint32_t>(XStringToKeysym(c.keysym)) : 0;
    if (c.keysym) {
      ASSERT_NE(expected, 0u) << "Xlib does not know " << c.keysym;
    }
    EXPECT_EQ(platform::KeysymForVk(c.vk), expected);
    if (c.vk < 0x10 || c.vk > 0x12) {  // the generic modifiers: below
      auto down = platform::KeysymsDownForVk(c.vk);
      ASSERT_EQ(down.size(), c.keysym ? 1u : 0u);
      if (c.keysym) {
        EXPECT_EQ(down[0], expected);
      }
    }
  }
}

TEST(VkKeysyms, GenericModifiersAreDownForEitherSide) {
  struct Case {
    std::uint16_t vk;
    const char* left;
    const char* right;
  };
  for (const Case& c : {Case{0x10, "Shift_L", "Shift_R"}, Case{0x11, "Control_L", "Control_R"},
                        Case{0x12, "Alt_L", "Alt_R"}}) {
    SCOPED_TRACE(c.left);
    auto down = platform::KeysymsDownForVk(c.vk);
    ASSERT_EQ(down.size(), 2u);
    EXPECT_EQ(down[0], XStringToKeysym(c.left));
    EXPECT_EQ(down[1], XStringToKeysym(c.right));
  }
}

}  // namespace
}  // namespace velmor
