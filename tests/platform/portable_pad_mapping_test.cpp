// Linux evdev pads read as XInput reports them: the button table, the hat
// and the trigger scaling. Portable, so every build runs it.

#include "engine/platform/pad_mapping.h"

#include <gtest/gtest.h>

#include <set>

namespace velmor {
namespace {

namespace ev = platform::evdev;

TEST(PadMapping, ButtonsLandOnTheXInputBitOfTheSamePosition) {
  struct Case {
    std::uint16_t code;
    std::uint16_t bit;
    const char* what;
  };
  const Case cases[] = {
      {ev::kBtnSouth, 0x1000, "south is A"},
      {ev::kBtnEast, 0x2000, "east is B"},
      {ev::kBtnWest, 0x4000, "west (BTN_Y) is X"},
      {ev::kBtnNorth, 0x8000, "north (BTN_X) is Y"},
      {ev::kBtnTl, 0x0100, "left shoulder"},
      {ev::kBtnTr, 0x0200, "right shoulder"},
      {ev::kBtnSelect, 0x0020, "select is back"},
      {ev::kBtnStart, 0x0010, "start"},
      {ev::kBtnThumbl, 0x0040, "left stick press"},
      {ev::kBtnThumbr, 0x0080, "right stick press"},
      {ev::kBtnMode, 0x0400, "guide"},
      {ev::kBtnDpadUp, 0x0001, "d-pad up"},
      {ev::kBtnDpadDown, 0x0002, "d-pad down"},
      {ev::kBtnDpadLeft, 0x0004, "d-pad left"},
      {ev::kBtnDpadRight, 0x0008, "d-pad right"},
      // Triggers are bytes, not bits; other keys have none.
      {ev::kBtnTl2, 0, "left trigger button"},
      {ev::kBtnTr2, 0, "right trigger button"},
      {0x132, 0, "BTN_C"},
      {30, 0, "a keyboard key"},
  };
  for (const Case& c : cases) EXPECT_EQ(platform::PadBitForKey(c.code), c.bit) << c.what;

  // No two keys share a bit, so no button hides another.
  std::set<std::uint16_t> bits;
  for (const platform::PadKeyBit& e : platform::PadKeyBits()) {
    EXPECT_NE(e.bit, 0);
    EXPECT_TRUE(bits.insert(e.bit).second) << std::hex << e.bit;
  }
}

TEST(PadMapping, TheHatSetsTheDpadBitsOfItsDirection) {
  struct Case {
    int x, y;
    std::uint16_t bits;
  };
  const Case cases[] = {{0, 0, 0},   {0, -1, 0x1},  {0, 1, 0x2}, {-1, 0, 0x4},
                        {1, 0, 0x8}, {-1, -1, 0x5}, {1, 1, 0xA}, {1, -1, 0x9}};
  for (const Case& c : cases)
    EXPECT_EQ(platform::PadBitsForHat(c.x, c.y), c.bits) << c.x << "," << c.y;
}

TEST(PadMapping, TriggersScaleOverTheAxisRange) {
  struct Case {
    int value, minimum, maximum;
    int expected;
  };
  const Case cases[] = {
      {0, 0, 1023, 0},
      {1023, 0, 1023, 255},
      {512, 0, 1023, 128},  // xpad
      {0, 0, 255, 0},
      {121, 0, 255, 121},
      {255, 0, 255, 255},  // already a byte
      {-32768, -32768, 32767, 0},
      {32767, -32768, 32767, 255},  // signed axes
      {2000, 0, 1023, 255},
      {-5, 0, 1023, 0},  // out of range
      {7, 5, 5, 0},      // no range
  };
  for (const Case& c : cases)
    EXPECT_EQ(platform::PadTriggerValue(c.value, c.minimum, c.maximum), c.expected)
        << c.value << " in " << c.minimum << ".." << c.maximum;
}

}  // namespace
}  // namespace velmor
