// Fields run as exact timelines on the fake clock: every synthesized event
// with the virtual time it was sent at.

#include "engine/core/step_runner.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "engine/core/engine_messages.h"
#include "engine/core/held_keys.h"
#include "engine/core/text.h"
#include "engine/platform/event_queue.h"
#include "engine/platform/fake/fake_platform.h"

namespace velmor {
namespace {

namespace fake = platform::fake;
using Lines = std::vector<std::string>;

Step KeyStep(const char* name, StepKind kind = StepKind::Click, int value = 0) {
  Step s;
  s.kind = kind;
  s.key = ResolveKeyName(Utf8ToWide(name));
  s.value = kind == StepKind::Click && value == 0 ? 1 : value;
  return s;
}

Step TextStep(StepKind kind, const char* text, int value = 0) {
  Step s;
  s.kind = kind;
  s.text = Utf8ToWide(text);
  s.value = value;
  return s;
}

WheelAction Field(std::vector<Step> steps, int delay = 30) {
  WheelAction f;
  f.steps = std::move(steps);
  f.delay = delay;
  return f;
}

class StepRunnerTest : public testing::Test {
 protected:
  void SetUp() override {
    fake::Reset();
    HeldKeysTakeAll();
    SetStepTimings(60, 250);
    saved_ = Services();
    Services() = {};
  }
  // The engine's own services come back for the tests that share it.
  void TearDown() override { Services() = saved_; }
  StepServices saved_;

  // Runs the field on a worker as the engine does and waits for it.
  static void Run(const WheelAction& f, std::int64_t pause) {
    ASSERT_TRUE(RunField(f, pause));
    ASSERT_TRUE(WaitForFieldsIdle(10000));
  }
};

TEST_F(StepRunnerTest, ClickThreeTimesKeepsKeyHoldBetweenEveryEdge) {
  Run(Field({KeyStep("a", StepKind::Click, 3)}), 250);
  EXPECT_EQ(fake::Events({"key"}), (Lines{
                                       "@250 key down vk=41 sc=1E",
                                       "@310 key up vk=41 sc=1E",
                                       "@370 key down vk=41 sc=1E",
                                       "@430 key up vk=41 sc=1E",
                                       "@490 key down vk=41 sc=1E",
                                       "@550 key up vk=41 sc=1E",
                                   }));
}

TEST_F(StepRunnerTest, FieldDelaySeparatesStepsAndZeroRunsThemBackToBack) {
  Run(Field({KeyStep("a"), KeyStep("b")}, 30), 100);
  EXPECT_EQ(fake::Events({"key"}), (Lines{"@100 key down vk=41 sc=1E", "@160 key up vk=41 sc=1E",
                                          "@190 key down vk=42 sc=30", "@250 key up vk=42 sc=30"}));
  fake::Reset();
  SetStepTimings(0, 250);
  Run(Field({KeyStep("a"), KeyStep("b")}, 0), 250);
  EXPECT_EQ(fake::Events({"key"}), (Lines{"@250 key down vk=41 sc=1E", "@250 key up vk=41 sc=1E",
                                          "@250 key down vk=42 sc=30", "@250 key up vk=42 sc=30"}));
}

TEST_F(StepRunnerTest, ExtendedKeysCarryTheFlagAndLettersDoNot) {
  Run(Field({KeyStep("up"), KeyStep("delete"), KeyStep("pagedown"), KeyStep("volumeup"),
             KeyStep("x")},
            0),
      0);
  EXPECT_EQ(fake::Events({"key"}),
            (Lines{"@0 key down vk=26 sc=48 ext", "@60 key up vk=26 sc=48 ext",
                   "@60 key down vk=2E sc=53 ext", "@120 key up vk=2E sc=53 ext",
                   "@120 key down vk=22 sc=51 ext", "@180 key up vk=22 sc=51 ext",
                   "@180 key down vk=AF sc=30 ext", "@240 key up vk=AF sc=30 ext",
                   "@240 key down vk=58 sc=2D", "@300 key up vk=58 sc=2D"}));
}

TEST_F(StepRunnerTest, HoldThenReleaseEmptiesTheTableAndPostsTwice) {
  Run(Field({KeyStep("shift", StepKind::Hold)}, 0), 0);
  ASSERT_EQ(HeldKeysSnapshot().size(), 1u);
  EXPECT_EQ(HeldKeysSnapshot()[0].label, u"shift");
  Run(Field({KeyStep("shift", StepKind::Release)}, 0), 0);
  EXPECT_TRUE(HeldKeysSnapshot().empty());
  EXPECT_EQ(fake::Events({"key", "post"}), (Lines{"@0 key down vk=10 sc=2A", "@0 post 8009 0",
                                                  "@0 key up vk=10 sc=2A", "@0 post 8009 0"}));
}

TEST_F(StepRunnerTest, TimedHoldReleasesItselfAndLeavesTheTableAlone) {
  Run(Field({KeyStep("lmb", StepKind::Hold, 500)}), 0);
  EXPECT_EQ(fake::Events({"mouse", "post"}), (Lines{"@0 mouse down left", "@500 mouse up left"}));
  EXPECT_TRUE(HeldKeysSnapshot().empty());
}

TEST_F(StepRunnerTest, TwoTogglesPressThenRelease) {
  Run(Field({KeyStep("w", StepKind::Toggle), KeyStep("w", StepKind::Toggle)}, 10), 0);
  EXPECT_EQ(fake::Events({"key"}), (Lines{"@0 key down vk=57 sc=11", "@10 key up vk=57 sc=11"}));
  EXPECT_TRUE(HeldKeysSnapshot().empty());
}

TEST_F(StepRunnerTest, ReleaseOfAKeyNotHeldStillSendsTheKeyUp) {
  Run(Field({KeyStep("ctrl", StepKind::Release)}), 0);
  EXPECT_EQ(fake::Events({"key"}), (Lines{"@0 key up vk=11 sc=1D"}));
}

TEST_F(StepRunnerTest, ReleaseAllSendsHeldThenEverythingTheSystemReportsDown) {
  Run(Field({KeyStep("mb4", StepKind::Hold), KeyStep("up", StepKind::Hold)}, 0), 0);
  fake::SetKeyDown(0x41, true);  // held by the user, not by the engine
  fake::SetKeyDown(2, true);     // right button
  fake::ClearEvents();
  ReleaseAll();
  // Table entries in identity order (the key 0x26 before the mouse button
  // 0x10003), sent without the extended flag; then the scan of key states.
  EXPECT_EQ(fake::Events({"key", "mouse", "post"}),
            (Lines{"@0 post 8009 0", "@0 key up vk=26 sc=48", "@0 mouse up x1",
                   "@0 key up vk=41 sc=1E", "@0 mouse up right"}));
  EXPECT_TRUE(HeldKeysSnapshot().empty());
}

TEST_F(StepRunnerTest, ReleaseAllWithAnEmptyTableStillReleasesKeysDown) {
  fake::SetKeyDown(0x10, true);
  fake::SetKeyDown(0xA0, true);
  ReleaseAll();
  EXPECT_EQ(fake::Events({"key"}), (Lines{"@0 key up vk=10 sc=2A", "@0 key up vk=A0 sc=2A"}));
}

TEST_F(StepRunnerTest, SpecialTargets) {
  Run(Field({KeyStep("nic"), KeyStep("wheel"), KeyStep("steer")}, 0), 0);
  // "nic" sends nothing (its click still takes its key-hold time); the wheel
  // target posts the toggle-key press once (on down), the steering target
  // its toggle.
  EXPECT_EQ(fake::Events({"key", "mouse", "post"}), (Lines{"@60 post 0312 1", "@120 post 800D 0"}));
}

TEST_F(StepRunnerTest, EngineActionsReachTheirServices) {
  std::vector<std::string> seen;
  Services().readSelection = [&] { seen.push_back("readsel"); };
  Services().placeCall = [&](const std::u16string& n) { seen.push_back("call " + WideToUtf8(n)); };
  Services().toggleMapRule = [&](const std::u16string& src, const KeySpec& k) {
    seen.push_back("map " + WideToUtf8(src) + " " + WideToUtf8(k.name));
  };
  Services().vpadControl = [&](int code, bool down) {
    seen.push_back("vpad " + std::to_string(code) + (down ? " down" : " up"));
  };
  Services().findWheel = [](const std::u16string& name) -> std::optional<std::size_t> {
    if (name == u"WHEEL 2") return 1;
    return std::nullopt;
  };
  Step map = TextStep(StepKind::Map, "mb4");
  map.key = ResolveKeyName(u"vpad:a");
  Run(Field({TextStep(StepKind::Open, "https://example.invalid/"),
             KeyStep("x", StepKind::ReadSelection), TextStep(StepKind::Call, "+48123"),
             TextStep(StepKind::Wheel, "WHEEL 2"), TextStep(StepKind::Wheel, "nope"), map,
             KeyStep("vpad:lt", StepKind::Hold, 40), TextStep(StepKind::Wait, "", 1000)},
            0),
      0);
  EXPECT_EQ(seen, (std::vector<std::string>{"readsel", "call +48123", "map mb4 vpad:a",
                                            "vpad 15 down", "vpad 15 up"}));
  EXPECT_EQ(fake::Events({"open", "post"}),
            (Lines{"@0 open https://example.invalid/", "@0 post 800A 1"}));
  EXPECT_EQ(fake::Clock().NowMs(), 1040);  // the hold's 40 ms and the wait
}

TEST_F(StepRunnerTest, ProfileStepHandsItsTextToTheMainWindow) {
  struct Sink : platform::EngineEvents {
    std::u16string text;
    void OnMessage(std::uint32_t msg, std::uintptr_t, std::intptr_t l) override {
      if (msg != WM_OVL_SCHEME) return;
      auto* t = reinterpret_cast<std::u16string*>(l);
      text = *t;
      delete t;
    }
    void OnTimer(std::uint32_t) override {}
    void OnCopyData(std::uintptr_t, const void*, std::size_t) override {}
    void OnHotkey(int) override {}
  } sink;
  platform::EngineEvents* engine = fake::CurrentSink();
  platform::StartEventQueue(&sink);
  Run(Field({TextStep(StepKind::Profile, "Wyścigi")}), 0);
  EXPECT_EQ(fake::PumpMessages(), 1u);
  platform::StartEventQueue(engine);
  EXPECT_EQ(sink.text, u"Wyścigi");
}

TEST_F(StepRunnerTest, SequenceTargetRunsItsStepsAfterSendDelay) {
  KeySpec seq;
  seq.valid = true;
  seq.sequence = std::make_shared<std::vector<Step>>(std::vector<Step>{KeyStep("q")});
  PressKey(seq, true);
  PressKey(seq, false);  // nothing on release
  ASSERT_TRUE(WaitForFieldsIdle(10000));
  EXPECT_EQ(fake::Events({"key"}), (Lines{"@250 key down vk=51 sc=10", "@310 key up vk=51 sc=10"}));
}

TEST_F(StepRunnerTest, AFieldWithoutStepsIsNotStarted) {
  EXPECT_TRUE(RunField(Field({}), 250));
  EXPECT_EQ(RunningFieldCount(), 0u);
  EXPECT_EQ(fake::Clock().NowMs(), 0);
}

TEST_F(StepRunnerTest, ManyFieldsAtOnceKeepTheHeldTableConsistent) {
  // Eight workers toggling and holding overlapping keys; run under TSan this
  // shows any unguarded access to the table.
  std::vector<WheelAction> fields;
  for (int i = 0; i < 8; ++i) {
    fields.push_back(
        Field({KeyStep(i % 2 ? "a" : "b", StepKind::Toggle), KeyStep("c", StepKind::Hold),
               KeyStep("c", StepKind::Release), KeyStep(i % 2 ? "a" : "b", StepKind::Toggle)},
              0));
  }
  for (const auto& f : fields) ASSERT_TRUE(RunField(f, 0));
  ASSERT_TRUE(WaitForFieldsIdle(10000));
  // Each key was toggled an even number of times and c released after hold.
  EXPECT_TRUE(HeldKeysSnapshot().empty());
}

}  // namespace
}  // namespace velmor
