// Mapping rules acting through the running engine on the fake platform:
// captured input in, targets out, every time on the fake clock. The gesture
// timer ticks every 25 ms from when it is started, so deadlines act on the
// first tick at or after them.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "engine/core/engine.h"
#include "engine/core/engine_messages.h"
#include "engine/core/overlay_api.h"
#include "engine/core/step_runner.h"
#include "engine/core/text.h"
#include "engine/mapping/mapping.h"
#include "engine/platform/fake/fake_platform.h"
#include "support/shared_engine.h"

namespace velmor {
namespace {

namespace fake = platform::fake;
using Lines = std::vector<std::string>;

constexpr std::uint32_t kF5 = 0x74;
constexpr std::uint32_t kLmb = 0x10000000;

class MappingTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = &test::SharedEngineDir();
    ASSERT_EQ(OverlayEngineStart(), 1);
  }
  void SetUp() override {
    ASSERT_TRUE(WaitForFieldsIdle(10000));
    fake::Reset();
    if (WheelVisible()) HideWheel();
    std::filesystem::remove(dir_->path() / "map.json");
    std::filesystem::remove(dir_->path() / "devmap.json");
    mapping::StopMapping();
    OverlaySetMappingEnabled(1);
    OverlayReloadMapRules();
    OverlayReloadDevRules();
    mapping::SetGestureTiming(300, 400);
    SetStepTimings(60, SendDelayMs());
    fake::PumpMessages();
    fake::ClearEvents();
  }
  void TearDown() override { ASSERT_TRUE(WaitForFieldsIdle(10000)); }

  static void Rules(const std::string& rulesJson) {
    dir_->Write("map.json", "{\"rules\": [" + rulesJson + "]}");
    OverlayReloadMapRules();
    fake::PumpMessages();
  }
  static void DeviceRules(const std::string& rulesJson) {
    dir_->Write("devmap.json", "{\"rules\": [" + rulesJson + "]}");
    OverlayReloadDevRules();
  }
  // Moves the clock to `t` (timers fire on the way).
  static void At(std::int64_t t) {
    const std::int64_t now = fake::Clock().NowMs();
    ASSERT_GE(t, now);
    fake::AdvanceTime(t - now);
  }
  // "@400 down 41" for every key and mouse line.
  static Lines Out() {
    Lines out;
    for (const auto& line : fake::Events({"key", "mouse"})) {
      char at[16], what[8], dir[8], id[16];
      if (std::sscanf(line.c_str(), "%15s %7s %7s %15s", at, what, dir, id) != 4) continue;
      std::string name = id;
      if (name.rfind("vk=", 0) == 0) name = name.substr(3);
      out.push_back(std::string(at) + " " + dir + " " + name);
    }
    return out;
  }

  static const test::TempDir* dir_;
};
const test::TempDir* MappingTest::dir_ = nullptr;

// Source F5 with single "a", double "b" and hold "c" in the combinations
// of the behaviour table; F5 itself (74) is the replay target.
struct GestureCase {
  const char* rules;  // S, D, H letters
  const char* input;  // "quick", "long", "twice"
  Lines expected;
};

std::string RulesFor(const std::string& letters) {
  std::string out;
  auto add = [&](const char* src, const char* to) {
    if (!out.empty()) out += ",";
    out += std::string("{\"src\":\"") + src + "\",\"to\":\"" + to + "\"}";
  };
  if (letters.find('S') != std::string::npos) add("f5", "a");
  if (letters.find('D') != std::string::npos) add("f5 x2", "b");
  if (letters.find('H') != std::string::npos) add("f5 hold", "c");
  return out;
}

const std::vector<std::pair<std::int64_t, bool>>& InputFor(const std::string& name) {
  static const std::vector<std::pair<std::int64_t, bool>> quick = {{0, true}, {100, false}};
  static const std::vector<std::pair<std::int64_t, bool>> held = {{0, true}, {600, false}};
  static const std::vector<std::pair<std::int64_t, bool>> twice = {
      {0, true}, {80, false}, {160, true}, {240, false}};
  return name == "quick" ? quick : name == "long" ? held : twice;
}

TEST_F(MappingTest, GestureTableOfEveryRuleCombination) {
  const std::vector<GestureCase> cases = {
      {"S", "quick", {"@0 down 41", "@100 up 41"}},
      {"S", "long", {"@0 down 41", "@600 up 41"}},
      {"S", "twice", {"@0 down 41", "@80 up 41", "@160 down 41", "@240 up 41"}},
      // The double window runs from the release; the tap ends on the first
      // tick after keyHold.
      {"D", "quick", {"@400 down 74", "@475 up 74"}},
      {"D", "long", {"@900 down 74", "@975 up 74"}},
      {"D", "twice", {"@160 down 42", "@240 up 42"}},
      {"H", "quick", {"@100 down 74", "@175 up 74"}},
      {"H", "long", {"@400 down 43", "@600 up 43"}},
      {"H", "twice", {"@80 down 74", "@150 up 74", "@240 down 74", "@310 up 74"}},
      {"SH", "quick", {"@100 down 41", "@175 up 41"}},
      {"SH", "long", {"@400 down 43", "@600 up 43"}},
      {"SH", "twice", {"@80 down 41", "@150 up 41", "@240 down 41", "@310 up 41"}},
      {"SD", "quick", {"@400 down 41", "@475 up 41"}},
      {"SD", "long", {"@900 down 41", "@975 up 41"}},
      {"SD", "twice", {"@160 down 42", "@240 up 42"}},
      {"SDH", "quick", {"@400 down 41", "@475 up 41"}},
      {"SDH", "long", {"@400 down 43", "@600 up 43"}},
      {"SDH", "twice", {"@160 down 42", "@240 up 42"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.rules) + " " + c.input);
    fake::Reset();
    mapping::StopMapping();
    Rules(RulesFor(c.rules));
    fake::ClearEvents();
    for (const auto& [t, down] : InputFor(c.input)) {
      At(t);
      // Both the press and the release of a mapped source are swallowed.
      EXPECT_TRUE(fake::CaptureInput(kF5, down));
    }
    At(2000);
    EXPECT_EQ(Out(), c.expected);
    // Every gesture has ended: the timer is off and nothing is held.
    EXPECT_FALSE(fake::TimerPeriod(kTimerGestures));
  }
}

TEST_F(MappingTest, AutoRepeatAndInputDuringATapSendNothingMore) {
  Rules(RulesFor("S"));
  for (std::int64_t t : {0, 30, 60}) {
    At(t);
    EXPECT_TRUE(fake::CaptureInput(kF5, true));
  }
  At(100);
  fake::CaptureInput(kF5, false);
  EXPECT_EQ(Out(), (Lines{"@0 down 41", "@100 up 41"}));

  // Hold only: a quick press taps F5 itself until 175; a press and a
  // release inside that tap are swallowed and change nothing.
  fake::Reset();
  mapping::StopMapping();
  Rules(RulesFor("H"));
  fake::ClearEvents();
  fake::CaptureInput(kF5, true);
  At(100);
  fake::CaptureInput(kF5, false);
  At(120);
  EXPECT_TRUE(fake::CaptureInput(kF5, true));
  At(140);
  EXPECT_TRUE(fake::CaptureInput(kF5, false));
  At(1000);
  EXPECT_EQ(Out(), (Lines{"@100 down 74", "@175 up 74"}));
}

TEST_F(MappingTest, ReloadWhileAHoldTargetIsDownReleasesIt) {
  Rules(RulesFor("H"));
  fake::CaptureInput(kF5, true);
  At(450);
  ASSERT_EQ(Out(), (Lines{"@400 down 43"}));
  Rules(RulesFor("S"));
  EXPECT_EQ(Out(), (Lines{"@400 down 43", "@450 up 43"}));
  // The release of the source now finds no state: nothing more.
  At(500);
  fake::CaptureInput(kF5, false);
  EXPECT_EQ(Out().size(), 2u);
}

TEST_F(MappingTest, DisablingTwiceReleasesOnceAndLetsInputThrough) {
  Rules(RulesFor("S"));
  fake::CaptureInput(kF5, true);
  ASSERT_EQ(Out(), (Lines{"@0 down 41"}));
  OverlaySetMappingEnabled(0);
  EXPECT_EQ(OverlayMappingEnabled(), 0);
  const Lines afterFirst = Out();
  EXPECT_EQ(afterFirst, (Lines{"@0 down 41", "@0 up 41"}));
  OverlaySetMappingEnabled(0);
  EXPECT_EQ(Out(), afterFirst);
  // Disabled: the source reaches the program untouched.
  EXPECT_FALSE(fake::CaptureInput(kF5, false));
  EXPECT_FALSE(fake::CaptureInput(kF5, true));
  OverlaySetMappingEnabled(1);
  EXPECT_TRUE(fake::CaptureInput(kF5, true));
  EXPECT_EQ(Out().back(), "@0 down 41");
}

TEST_F(MappingTest, CaptureFollowsTheRules) {
  // No rule: nothing captured, the pad library never loaded.
  EXPECT_TRUE(fake::CapturedKeys().empty());
  EXPECT_EQ(fake::CapturedButtons(), 0u);
  EXPECT_EQ(fake::PadLibraryLoads(), 0);
  EXPECT_FALSE(fake::TimerPeriod(kTimerPadRules));
  EXPECT_FALSE(fake::CaptureInput(kF5, true));

  Rules(R"({"src":"f5","to":"a"},{"src":"f5 x2","to":"b"},{"src":"mb5","to":"c"},
           {"src":"pad:a","to":"d"})");
  EXPECT_EQ(fake::CapturedKeys(), (std::vector<std::uint16_t>{0x74}));
  EXPECT_EQ(fake::CapturedButtons(), 1u << 4);
  EXPECT_EQ(fake::PadLibraryLoads(), 1);
  EXPECT_EQ(fake::TimerPeriod(kTimerPadRules), 40u);
  // An unmapped key passes even while the capture is installed.
  EXPECT_FALSE(fake::CaptureInput(0x41, true));

  // A "map" step removes the pad rule; the capture follows its message.
  ASSERT_TRUE(mapping::SetGlobalRule(u"pad:a", KeySpec{}));
  fake::PumpMessages();
  EXPECT_FALSE(fake::TimerPeriod(kTimerPadRules));
  EXPECT_EQ(OverlayMappingCount(), 3);

  Rules("");
  EXPECT_TRUE(fake::CapturedKeys().empty());
  EXPECT_EQ(fake::CapturedButtons(), 0u);
}

TEST_F(MappingTest, MouseRulesRestWhileThisProgramIsInFront) {
  Rules(R"({"src":"lmb","to":"a"})");
  fake::SetForeground(0xF000);
  EXPECT_FALSE(fake::CaptureInput(kLmb, true));
  fake::SetOwnWindow(0x55, true);
  fake::SetForeground(0x55);
  EXPECT_FALSE(fake::CaptureInput(kLmb, true));
  fake::SetForeground(0x66);
  EXPECT_TRUE(fake::CaptureInput(kLmb, true));
  EXPECT_TRUE(fake::CaptureInput(kLmb, false));
  EXPECT_EQ(Out(), (Lines{"@0 down 41", "@0 up 41"}));
}

TEST_F(MappingTest, NothingActsWhileTheWheelIsShown) {
  Rules(R"({"src":"f5","to":"a"})");
  DeviceRules(R"({"device":"usb#vid_046d&pid_c077#1","src":"lmb","to":"b"})");
  ShowWheel();
  EXPECT_FALSE(fake::CaptureInput(kF5, true));
  fake::DeliverDeviceInput({u"usb#vid_046d&pid_c077#1", platform::DeviceKind::Mouse, 0, true});
  HideWheel();
  EXPECT_EQ(Out(), Lines{});
}

TEST_F(MappingTest, PadButtonsOfAllPadsMergeIntoOneMask) {
  Rules(R"({"src":"pad:a","to":"a"},{"src":"pad:lt","to":"b"})");
  auto pad = [](std::uint16_t buttons, std::uint8_t lt = 0) {
    platform::PadState s;
    s.connected = true;
    s.buttons = buttons;
    s.leftTrigger = lt;
    return s;
  };
  fake::SetPad(0, pad(0x1000));
  At(40);
  fake::SetPad(1, pad(0x1000));
  At(80);
  fake::SetPad(0, pad(0));  // pad 1 still holds A
  At(120);
  EXPECT_EQ(Out(), (Lines{"@40 down 41"}));
  fake::SetPad(1, pad(0, 120));
  At(160);
  EXPECT_EQ(Out(), (Lines{"@40 down 41", "@160 up 41"}));
  fake::SetPad(1, pad(0, 121));
  At(200);
  EXPECT_EQ(Out().back(), "@200 down 42");
}

TEST_F(MappingTest, APadButtonWithOnlyADoubleRuleDoesNothingOnOnePress) {
  Rules(R"({"src":"pad:a x2","to":"b"})");
  platform::PadState s;
  s.connected = true;
  s.buttons = 0x1000;
  fake::SetPad(0, s);
  At(40);
  fake::SetPad(0, {});
  At(2000);
  EXPECT_EQ(Out(), Lines{});
}

TEST_F(MappingTest, DeviceRulesLastRuleWinsAndInputIsNotSwallowed) {
  DeviceRules(R"({"device":"\\\\?\\HID#VID_046D&PID_C077&MI_00#7","src":"mb4","to":"a"},
                 {"device":"vid_046d&pid_c077","src":"mb4","to":"b"},
                 {"device":"vid_046d&pid_c077","src":"q","to":"c"},
                 {"device":"vid_1111&pid_2222","src":"mb4","to":"d"})");
  EXPECT_EQ(OverlayDevRuleCount(), 4);
  const std::u16string dev = u"\\\\?\\hid#vid_046d&pid_c077&mi_00#7&abc";
  fake::DeliverDeviceInput({dev, platform::DeviceKind::Mouse, 3, true});
  fake::DeliverDeviceInput({dev, platform::DeviceKind::Mouse, 3, false});
  fake::DeliverDeviceInput({dev, platform::DeviceKind::Keyboard, 0x51, true});
  fake::DeliverDeviceInput({dev, platform::DeviceKind::Keyboard, 0x51, false});
  // Injected or unknown devices have no name and never match.
  fake::DeliverDeviceInput({u"", platform::DeviceKind::Keyboard, 0x51, true});
  EXPECT_EQ(Out(), (Lines{"@0 down 42", "@0 up 42", "@0 down 43", "@0 up 43"}));
}

TEST_F(MappingTest, LearningTakesExactlyOnePress) {
  DeviceRules(R"({"device":"vid_046d&pid_c077","src":"mb4","to":"a"})");
  EXPECT_EQ(OverlayDevLearnStart(), 0);
  EXPECT_EQ(OverlayDevLearnStart(), 1);  // still armed
  const std::u16string mouse = u"\\\\?\\hid#vid_046d&pid_c077#7&1";
  fake::DeliverDeviceInput({mouse, platform::DeviceKind::Mouse, 3, false});  // a release: ignored
  EXPECT_EQ(std::u16string(OverlayDevLearned()), u"");
  fake::DeliverDeviceInput({mouse, platform::DeviceKind::Mouse, 3, true});
  EXPECT_EQ(std::u16string(OverlayDevLearned()), mouse + u"\tMysz  VID_046D&PID_C077\tmb4");
  // The learned press was not dispatched; the next one is.
  EXPECT_EQ(Out(), Lines{});
  fake::DeliverDeviceInput({mouse, platform::DeviceKind::Mouse, 3, true});
  EXPECT_EQ(Out(), (Lines{"@0 down 41"}));

  EXPECT_EQ(OverlayDevLearnStart(), 0);
  fake::DeliverDeviceInput({u"usb#kbd", platform::DeviceKind::Keyboard, 0x41, true});
  fake::DeliverDeviceInput({u"usb#other", platform::DeviceKind::Pad, 17, true});
  EXPECT_EQ(std::u16string(OverlayDevLearned()), u"usb#kbd\tKlawiatura\t");
}

TEST_F(MappingTest, DeviceListStartsWithGlobalAndLeavesOutRootDevices) {
  fake::SetInputDevices({{u"\\\\?\\hid#vid_046d&pid_c077#7", platform::DeviceKind::Mouse},
                         {u"\\\\?\\root#rdp_kbd#0000", platform::DeviceKind::Keyboard},
                         {u"\\\\?\\HID#VID_045E&PID_02FF#1", platform::DeviceKind::Pad}});
  EXPECT_EQ(std::u16string(OverlayInputDevices()),
            u"global\tGlobalne (wszystkie klawiatury i myszy)\tglobal\n"
            u"\\\\?\\hid#vid_046d&pid_c077#7\tMysz  VID_046D&PID_C077\tmouse\n"
            u"\\\\?\\hid#vid_045e&pid_02ff#1\tPad  VID_045E&PID_02FF\tpad");
}

TEST_F(MappingTest, MapStepOfAWheelFieldSwitchesARule) {
  WheelAction field;
  Step on;
  on.kind = StepKind::Map;
  on.text = u"f6";
  on.key = ResolveKeyName(u"space");
  field.steps = {on};
  RunFieldNow(field, 0);
  fake::PumpMessages();
  EXPECT_EQ(OverlayMappingCount(), 1);
  EXPECT_TRUE(fake::CaptureInput(0x75, true));
  EXPECT_EQ(Out(), (Lines{"@0 down 20"}));
  field.steps[0].key = KeySpec{};
  RunFieldNow(field, 0);
  fake::PumpMessages();
  // Switching a rule drops the gesture under way and releases its target.
  EXPECT_EQ(Out(), (Lines{"@0 down 20", "@0 up 20"}));
  EXPECT_EQ(OverlayMappingCount(), 0);
  EXPECT_TRUE(fake::CapturedKeys().empty());
}

TEST_F(MappingTest, AGestureFromAnotherThreadGetsItsTimerOnTheGuiThread) {
  DeviceRules(R"({"device":"xac","src":"btn3 hold","to":"c"})");
  std::thread reader([] {
    mapping::DispatchDeviceInput(u"xac", u"", u"btn3", mapping::SourceKind::Pad, 3, true);
  });
  reader.join();
  EXPECT_FALSE(fake::TimerPeriod(kTimerGestures));
  fake::PumpMessages();
  EXPECT_EQ(fake::TimerPeriod(kTimerGestures), 25u);
  At(400);
  EXPECT_EQ(Out(), (Lines{"@400 down 43"}));
  mapping::DispatchDeviceInput(u"xac", u"", u"btn3", mapping::SourceKind::Pad, 3, false);
  EXPECT_EQ(Out(), (Lines{"@400 down 43", "@400 up 43"}));
}

TEST_F(MappingTest, SchemeExportsSwitchTheLiveRules) {
  Rules(R"({"src":"f5","to":"a"})");
  ASSERT_EQ(OverlaySaveMapProfile(u" Gra: 1 "), 1);
  EXPECT_EQ(std::u16string(OverlayCurrentMapProfile()), u"Gra 1");
  EXPECT_EQ(std::u16string(OverlayMapProfiles()), u"Gra 1");
  EXPECT_EQ(OverlaySaveMapProfile(u" ..."), 0);

  Rules(R"({"src":"f5","to":"b"},{"src":"f6","to":"c"})");
  ASSERT_EQ(OverlaySaveMapProfile(u"other"), 1);
  EXPECT_EQ(std::u16string(OverlayCurrentMapProfile()), u"other");
  ASSERT_EQ(OverlayDeleteMapProfile(u"other"), 1);
  EXPECT_EQ(OverlayLoadMapProfile(nullptr), 0);
  EXPECT_EQ(OverlayLoadMapProfile(u""), 0);
  // The switch happens on the engine's queue, not in the call.
  ASSERT_EQ(OverlayLoadMapProfile(u"Gra 1"), 1);
  EXPECT_EQ(OverlayMappingCount(), 2);
  fake::PumpMessages();
  EXPECT_EQ(OverlayMappingCount(), 1);
  EXPECT_EQ(std::u16string(OverlayCurrentMapProfile()), u"Gra 1");
  EXPECT_FALSE(std::filesystem::exists(dir_->path() / "devmap.json"));
  EXPECT_EQ(fake::CapturedKeys(), (std::vector<std::uint16_t>{0x74}));
  fake::CaptureInput(kF5, true);
  EXPECT_EQ(Out(), (Lines{"@0 down 41"}));

  // A scheme that does not exist changes nothing.
  ASSERT_EQ(OverlayLoadMapProfile(u"nope"), 1);
  fake::PumpMessages();
  EXPECT_EQ(OverlayMappingCount(), 1);

  EXPECT_EQ(OverlayDeleteMapProfile(u"Gra 1"), 1);
  EXPECT_EQ(std::u16string(OverlayCurrentMapProfile()), u"");
  EXPECT_EQ(std::u16string(OverlayMapProfiles()), u"");
  std::filesystem::remove_all(dir_->path() / "profiles");
}

}  // namespace
}  // namespace velmor
