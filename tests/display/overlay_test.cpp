// The wheel overlay, launcher, toast and held-keys bar driven through the
// engine's main window on the fake platform, as exact timelines.

#include "engine/display/overlay.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/engine.h"
#include "engine/core/engine_messages.h"
#include "engine/core/held_keys.h"
#include "engine/core/overlay_api.h"
#include "engine/core/step_runner.h"
#include "engine/display/gaze_sample.h"
#include "engine/platform/event_queue.h"
#include "engine/platform/fake/fake_platform.h"
#include "support/shared_engine.h"

namespace velmor {
namespace {

namespace fake = platform::fake;
using platform::OverlayKind;
using platform::Point;
using Lines = std::vector<std::string>;

constexpr const char* kBaseConfig = R"({
  "toggleKey": "x", "takeFocus": true, "gazeEnabled": false, "gazeDwell": 900,
  "launcherEnabled": false, "launcherSize": 64, "readAloud": false,
  "voiceToast": true, "voiceToastPos": "top", "heldKeysShow": true, "heldKeysPos": "top",
  "sendDelay": 250, "keyHold": 60, "language": "en"
})";

// Four fields: a, b, c and one without steps.
constexpr const char* kFourFields = R"({"wheels":[{"name":"Main","actions":[
  {"name":"A","steps":[{"key":"a"}]}, {"name":"","voice":"bee","steps":[{"key":"b"}]},
  {"name":"","steps":[{"key":"c"}]}, {"name":"Nothing"}]}]})";

constexpr const char* kTwoWheels = R"({"wheels":[
  {"name":"One","actions":[{"name":"A","steps":[{"key":"a"}]}]},
  {"name":"Two","actions":[{"name":"B","steps":[{"key":"b"}]}]}]})";

// The engine remembers the processes it must not take the focus from for
// its whole life, so every test's programs are new processes.
std::uint32_t NewProcess() {
  static std::uint32_t next = 1000;
  return ++next;
}

class OverlayTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = &test::SharedEngineDir();
    ASSERT_TRUE(WaitForFieldsIdle(10000));
    fake::Reset();
    if (WheelVisible()) HideWheel();
    std::filesystem::remove(dir_->path() / "launcher.pos");
    Configure("");
    fake::ClearEvents();
  }
  void TearDown() override {
    WaitForFieldsIdle(10000);
    overlay::Hooks() = {};
    HeldKeysTakeAll();
    SharedGaze().state = kGazeDisabled;
  }

  // The base settings with some members replaced ("\"key\": value, ...").
  void Configure(const std::string& extra) {
    std::string text = kBaseConfig;
    if (!extra.empty()) text.insert(1, "\n  " + extra + ",");
    dir_->Write("config.json", text);
    OverlayReloadConfig();
    // A reload brings default.json back.
    ASSERT_TRUE(EngineActivateWheelFile(dir_->Write("four.json", kFourFields)));
  }

  static void Post(std::uint32_t msg, std::uintptr_t w = 0, std::intptr_t l = 0) {
    platform::PostEngineMessage(msg, w, l);
    fake::PumpMessages();
  }
  static void Toggle() { Post(kWmHotkey, 1); }
  // Moves the virtual cursor to a window point by raw motion and one tick.
  static void MoveTo(int x, int y) {
    const auto& c = overlay::Cursor();
    fake::CurrentSink()->OnRawMouse(x - c.x(), y - c.y(), false);
    fake::AdvanceTime(15);
    ASSERT_EQ(overlay::Cursor().x(), x);
    ASSERT_EQ(overlay::Cursor().y(), y);
  }
  static void ClickAt(int x, int y) {
    MoveTo(x, y);
    Post(WM_OVL_WHEELCLICK);
  }
  static Lines MouseHolds() { return fake::Events({"hook", "clip", "cursors"}); }

  const test::TempDir* dir_ = nullptr;
};

TEST_F(OverlayTest, ShowingHoldsTheMouseAndHidingGivesEverythingBack) {
  fake::SetMonitors({{0, 0, 1920, 1080}, {1920, 0, 3840, 1200}});
  fake::SetWindowInfo(42, NewProcess(), true);
  fake::SetForeground(42);
  fake::SetCursor({2500, 300});
  Toggle();
  ASSERT_TRUE(WheelVisible());
  // Centred on the full rectangle of the monitor under the cursor, then the
  // focus, then the mouse held.
  EXPECT_EQ(fake::Events({"overlay", "focus", "hook", "clip", "cursors"}),
            (Lines{"@0 overlay show wheel 2586,342 588x516", "@0 focus wheel",
                   "@0 hook blocking -1", "@0 clip 2500,300", "@0 cursors hidden"}));
  EXPECT_EQ(fake::TimerPeriod(kTimerWheelTick), 15u);
  EXPECT_EQ(fake::TimerPeriod(kTimerMinimiseCheck), 250u);

  fake::ClearEvents();
  Toggle();
  EXPECT_FALSE(WheelVisible());
  EXPECT_EQ(fake::Events({"overlay", "hook", "clip", "cursors", "cursor", "foreground"}),
            (Lines{"@0 cursors restored", "@0 clip off", "@0 hook blocking off",
                   "@0 overlay hide wheel", "@0 cursor 2500,300", "@0 foreground 42"}));
  const auto in = fake::Input();
  EXPECT_FALSE(in.blockingHook || in.clipped || in.cursorsHidden);
  EXPECT_FALSE(fake::TimerPeriod(kTimerWheelTick));
}

TEST_F(OverlayTest, EveryWayOfHidingReleasesTheMouse) {
  // Voice hide, a field run, a button, the engine's run-field message and
  // engine stop: the mouse is free after each.
  const std::vector<std::function<void()>> ways = {
      [] { Post(WM_OVL_COMMAND, 2); },
      [] { ClickAt(394, 130); },
      [] { ClickAt(218, 488); },
      [] { Post(WM_OVL_RUNFIELD, 0, 1); },
      [] { Post(WM_OVL_COMMAND, 13); },
      [] {
        overlay::Stop();
        overlay::Reload();  // the shared engine goes on for the other tests
      },
  };
  for (std::size_t i = 0; i < ways.size(); ++i) {
    Toggle();
    ASSERT_TRUE(WheelVisible()) << i;
    ways[i]();
    EXPECT_FALSE(WheelVisible()) << i;
    const auto in = fake::Input();
    EXPECT_FALSE(in.blockingHook || in.clipped || in.cursorsHidden) << "way " << i;
    EXPECT_FALSE(fake::TimerPeriod(kTimerWheelTick)) << i;
    WaitForFieldsIdle(10000);
  }
  EXPECT_TRUE(fake::Input().hotkeyRegistered) << "reinstalled after the stop";
}

TEST_F(OverlayTest, TheTickRedrawsOnlyWhenSomethingChanged) {
  Toggle();
  EXPECT_EQ(fake::Overlay(OverlayKind::kWheel).draws, 1);
  fake::AdvanceTime(300);  // 20 ticks, nothing moved
  EXPECT_EQ(fake::Overlay(OverlayKind::kWheel).draws, 1);
  MoveTo(300, 230);  // in the hole: only the cursor moved
  EXPECT_EQ(fake::Overlay(OverlayKind::kWheel).draws, 2);
  fake::AdvanceTime(150);
  EXPECT_EQ(fake::Overlay(OverlayKind::kWheel).draws, 2);
}

TEST_F(OverlayTest, AClickRunsTheFieldUnderTheCursorAfterTheSendDelay) {
  struct Case {
    int x, y;
    bool hides;
    const char* keyDown;  // nullptr: nothing runs
  };
  const Case cases[] = {
      {294, 130, true, "@250 key down vk=41 sc=1E"},  // straight up: field 0
      {394, 230, true, "@250 key down vk=42 sc=30"},  // right: field 1
      {294, 330, true, "@250 key down vk=43 sc=2E"},  // below: field 2
      {194, 230, true, nullptr},                      // left: field 3 has no steps
      {294, 230, false, nullptr},                     // the hole
      {334, 230, false, nullptr},                     // distance 40
      {524, 230, false, nullptr},                     // distance 230
  };
  for (const auto& c : cases) {
    fake::Reset();
    Toggle();
    MoveTo(c.x, c.y);
    fake::Clock().Set(0);
    fake::ClearEvents();
    Post(WM_OVL_WHEELCLICK);
    ASSERT_TRUE(WaitForFieldsIdle(10000));
    EXPECT_EQ(WheelVisible(), !c.hides) << c.x << "," << c.y;
    const Lines keys = fake::Events({"key"});
    if (c.keyDown) {
      ASSERT_FALSE(keys.empty()) << c.x << "," << c.y;
      EXPECT_EQ(keys.front(), c.keyDown);
    } else {
      EXPECT_TRUE(keys.empty()) << c.x << "," << c.y;
    }
    if (WheelVisible()) HideWheel();
  }
}

TEST_F(OverlayTest, ArrowsPageThroughWheelsAndWrap) {
  Toggle();
  ClickAt(556, 230);  // no arrows with one wheel: nothing
  EXPECT_TRUE(WheelVisible());
  HideWheel();

  ASSERT_TRUE(EngineActivateWheelFile(dir_->Write("two.json", kTwoWheels)));
  Toggle();
  ClickAt(556, 230);
  EXPECT_EQ(CurrentWheelIndex(), 1u);
  EXPECT_TRUE(WheelVisible());
  Post(WM_OVL_WHEELCLICK);  // next again wraps
  EXPECT_EQ(CurrentWheelIndex(), 0u);
  ClickAt(32, 230);  // previous wraps the other way
  EXPECT_EQ(CurrentWheelIndex(), 1u);
  // The voice commands page only while shown.
  Post(WM_OVL_COMMAND, 3);
  EXPECT_EQ(CurrentWheelIndex(), 0u);
  HideWheel();
  Post(WM_OVL_COMMAND, 3);
  EXPECT_EQ(CurrentWheelIndex(), 0u);
}

TEST_F(OverlayTest, TheThreeButtons) {
  fake::SetWindowInfo(7, NewProcess(), true);
  fake::SetWindowInfo(8, NewProcess(), true);
  fake::SetWindowInfo(9, NewProcess(), false);  // not one to minimise
  fake::SetForeground(7);
  fake::SetCursor({100, 100});

  Toggle();
  ClickAt(218, 488);
  EXPECT_FALSE(WheelVisible());
  EXPECT_EQ(fake::Events({"osk"}), (Lines{"@15 osk"}));

  // Minimise twice: the others go down, then come back last first. The
  // cursor returns, the focus does not.
  for (int round = 0; round < 2; ++round) {
    fake::ClearEvents();
    Toggle();
    ClickAt(294, 488);
    EXPECT_FALSE(WheelVisible());
    const Lines expected =
        round == 0 ? Lines{"minimise 7", "minimise 8"} : Lines{"restore 8", "restore 7"};
    Lines got;
    for (auto& e : fake::Events({"minimise", "restore", "foreground"}))
      got.push_back(e.substr(e.find(' ') + 1));
    EXPECT_EQ(got, expected) << "round " << round;
    EXPECT_EQ(fake::Events({"cursor"}).size(), 1u);
  }

  int phone = 0;
  overlay::Hooks().startPhoneMirror = [&] { ++phone; };
  Toggle();
  ClickAt(370, 488);
  EXPECT_FALSE(WheelVisible());
  EXPECT_EQ(phone, 1);
}

TEST_F(OverlayTest, ToggleKeyOfEachKind) {
  Configure(R"("toggleKey": "ctrl+shift+f5")");
  EXPECT_EQ(fake::Events({"hotkey"}).back(), "@0 hotkey register mods=6 vk=116");

  // A chord another program holds: a warning at start only, never on reload.
  fake::SetHotkeyTaken(true);
  fake::ClearEvents();
  OverlayReloadConfig();
  EXPECT_TRUE(fake::Events({"warning"}).empty());
  overlay::InstallToggleKey(true);
  EXPECT_EQ(fake::Events({"warning"}),
            (Lines{"@0 warning Velmor: Failed to register the global hotkey 'ctrl+shift+f5' ? it "
                   "may be taken by another program."}));
  fake::SetHotkeyTaken(false);

  // A mouse button: its hook while hidden; the blocking hook knows it while
  // shown, so the same button hides the wheel again.
  Configure(R"("toggleKey": "mb5")");
  EXPECT_EQ(fake::Input().toggleHookButton, 4);
  EXPECT_FALSE(fake::Input().hotkeyRegistered);
  Toggle();
  EXPECT_EQ(fake::Input().blockingToggleButton, 4);
  HideWheel();

  // A pad button: polled every 40 ms; only a press seen from a known,
  // released state toggles, on any pad.
  Configure(R"("toggleKey": "pad:a")");
  EXPECT_EQ(fake::TimerPeriod(kTimerPadToggle), 40u);
  EXPECT_FALSE(fake::Input().toggleHook);
  fake::SetPad(0, {true, 0x1000, 0, 0});  // held from before: not a press
  fake::SetPad(1, {true, 0x0000, 0, 0});
  fake::AdvanceTime(40);
  EXPECT_FALSE(WheelVisible());
  fake::SetPad(1, {true, 0x1000, 0, 0});
  fake::AdvanceTime(40);
  EXPECT_TRUE(WheelVisible());
  fake::AdvanceTime(400);  // held: no repeat
  EXPECT_TRUE(WheelVisible());
  fake::SetPad(1, {true, 0x0000, 0, 0});
  fake::AdvanceTime(40);
  fake::SetPad(1, {true, 0x1000, 0, 0});
  fake::AdvanceTime(40);
  EXPECT_FALSE(WheelVisible());

  // No pad library: no polling.
  fake::SetPadLibrary(false);
  Configure(R"("toggleKey": "pad:a")");
  EXPECT_FALSE(fake::TimerPeriod(kTimerPadToggle));
  Configure("");
}

TEST_F(OverlayTest, AGameThatMinimisesOnLosingFocusIsLeftInFront) {
  fake::SetWindowInfo(42, NewProcess(), false);
  fake::SetForeground(42);
  Toggle();
  EXPECT_EQ(fake::Events({"focus"}).size(), 1u);
  fake::SetWindowMinimised(42, true);
  fake::AdvanceTime(250);
  EXPECT_EQ(fake::Events({"restore"}), (Lines{"@250 restore 42"}));
  EXPECT_FALSE(fake::TimerPeriod(kTimerMinimiseCheck));
  HideWheel();

  fake::ClearEvents();
  fake::SetForeground(42);
  Toggle();
  EXPECT_TRUE(fake::Events({"focus"}).empty());
  HideWheel();

  // Nor is the focus taken over a full-screen game, or with takeFocus off.
  fake::SetWindowInfo(43, NewProcess(), false);
  fake::SetForeground(43);
  fake::SetFullScreenProgram(true);
  Toggle();
  HideWheel();
  fake::SetFullScreenProgram(false);
  Configure(R"("takeFocus": false)");
  fake::SetForeground(43);
  Toggle();
  EXPECT_TRUE(fake::Events({"focus"}).empty());
}

TEST_F(OverlayTest, HoverReadsTheFieldAloud) {
  Configure(R"("readAloud": true)");
  std::vector<std::u16string> spoken;
  overlay::Hooks().speak = [&](const std::u16string& t) { spoken.push_back(t); };
  Toggle();
  MoveTo(294, 130);  // "A"
  MoveTo(300, 130);  // still A: not again
  MoveTo(394, 230);  // no name: its voice phrase
  MoveTo(294, 330);  // neither: its number
  MoveTo(294, 230);  // the hole: nothing
  EXPECT_EQ(spoken, (std::vector<std::u16string>{u"A", u"bee", u"3"}));
}

TEST_F(OverlayTest, GazeDwellClicksThroughTheQueue) {
  Configure(R"("gazeEnabled": true, "gazeDwell": 300)");
  fake::SetCursor({960, 540});
  Toggle();                 // the window at 666,282 on 1920x1080
  fake::AdvanceTime(1000);  // the mouse has rested
  // The eyes on window point (294, 130): field 0.
  auto& g = SharedGaze();
  g.x = 960 * 10000 / 1920;
  g.y = 412 * 10000 / 1080;
  g.state = kGazeActive;
  for (int i = 0; i < 40 && WheelVisible(); ++i) {
    g.timeMs = fake::Clock().NowMs();
    fake::AdvanceTime(15);
  }
  ASSERT_FALSE(WheelVisible()) << "the dwell clicked";
  ASSERT_TRUE(WaitForFieldsIdle(10000));
  ASSERT_FALSE(fake::Events({"key"}).empty());
  EXPECT_NE(fake::Events({"key"}).front().find("vk=41"), std::string::npos);
}

TEST_F(OverlayTest, LauncherOpensTheWheelAndKeepsWhereItWasDropped) {
  dir_->Write("launcher.pos", "5000 5000");
  Configure(R"("launcherEnabled": true)");
  auto l = fake::Overlay(OverlayKind::kLauncher);
  EXPECT_TRUE(l.shown);
  EXPECT_EQ(l.position, (Point{1856, 1016}));
  EXPECT_EQ(l.width, 64);

  // The timer runs from the reload at 0. The cursor away from the button
  // arms it at 50; the hover starts with the tick at 100 and opens the
  // wheel with the one at 2100.
  fake::SetCursor({500, 500});
  fake::AdvanceTime(50);
  fake::SetCursor({1880, 1040});
  fake::AdvanceTime(2000);
  EXPECT_FALSE(WheelVisible());
  fake::AdvanceTime(50);
  EXPECT_TRUE(WheelVisible());
  EXPECT_FALSE(fake::Overlay(OverlayKind::kLauncher).shown);
  EXPECT_FALSE(fake::TimerPeriod(kTimerLauncher));

  // Hidden again, the launcher comes back; resting on it does not reopen.
  Toggle();
  EXPECT_TRUE(fake::Overlay(OverlayKind::kLauncher).shown);
  fake::AdvanceTime(3000);
  EXPECT_FALSE(WheelVisible());

  // A click without moving keeps the file; a drag rewrites it.
  dir_->Write("launcher.pos", "5000 5000");
  fake::SetKeyDown(1, true);
  fake::AdvanceTime(50);
  fake::SetKeyDown(1, false);
  fake::AdvanceTime(50);
  EXPECT_EQ(dir_->Read("launcher.pos"), "5000 5000");
  fake::SetKeyDown(1, true);
  fake::AdvanceTime(50);
  fake::SetCursor({800, 600});
  fake::AdvanceTime(50);
  fake::SetKeyDown(1, false);
  fake::AdvanceTime(50);
  EXPECT_EQ(dir_->Read("launcher.pos"), "776 576");
  EXPECT_EQ(fake::Overlay(OverlayKind::kLauncher).position, (Point{776, 576}));
  EXPECT_FALSE(std::filesystem::exists(dir_->path() / "launcher.pos.tmp"));
  Configure("");
  EXPECT_FALSE(fake::Overlay(OverlayKind::kLauncher).shown);
}

TEST_F(OverlayTest, ToastLivesTwoSecondsFromItsLastArrival) {
  auto toast = [](const char16_t* text) {
    Post(WM_OVL_TOAST, 0, reinterpret_cast<std::intptr_t>(new std::u16string(text)));
  };
  toast(u"first");
  auto t = fake::Overlay(OverlayKind::kToast);
  ASSERT_TRUE(t.shown);
  EXPECT_EQ(t.height, 52);
  EXPECT_EQ(t.position, (Point{(1920 - t.width) / 2, 36}));
  fake::AdvanceTime(1000);
  toast(u"second");
  fake::AdvanceTime(1999);
  EXPECT_TRUE(fake::Overlay(OverlayKind::kToast).shown);
  fake::AdvanceTime(1);
  EXPECT_FALSE(fake::Overlay(OverlayKind::kToast).shown);
  EXPECT_FALSE(fake::TimerPeriod(kTimerToast));

  // Switched off, or an empty text: nothing.
  Configure(R"("voiceToast": false)");
  toast(u"quiet");
  toast(u"");
  EXPECT_FALSE(fake::Overlay(OverlayKind::kToast).shown);
}

TEST_F(OverlayTest, HeldKeysBarFollowsTheTableAndMovesTheToast) {
  Configure(R"("voiceToastPos": "bottom", "heldKeysPos": "bottom")");
  HeldKeysInsert(10, u"Shift");
  HeldKeysInsert(3, u"W");
  Post(WM_OVL_HELDKEYS);
  auto bar = fake::Overlay(OverlayKind::kHeldKeysBar);
  ASSERT_TRUE(bar.shown);
  EXPECT_EQ(bar.height, 40);
  EXPECT_EQ(bar.position.y, 1080 - 56);
  EXPECT_TRUE(overlay::HeldKeysBarShown());

  Post(WM_OVL_TOAST, 0, reinterpret_cast<std::intptr_t>(new std::u16string(u"hello")));
  EXPECT_EQ(fake::Overlay(OverlayKind::kToast).position.y, 1080 - 164);

  HeldKeysRemove(3);
  HeldKeysRemove(10);
  Post(WM_OVL_HELDKEYS);
  EXPECT_FALSE(fake::Overlay(OverlayKind::kHeldKeysBar).shown);

  // Over a full-screen game neither shows.
  fake::SetFullScreenProgram(true);
  HeldKeysInsert(3, u"W");
  Post(WM_OVL_HELDKEYS);
  Post(WM_OVL_TOAST, 0, reinterpret_cast<std::intptr_t>(new std::u16string(u"hidden")));
  EXPECT_FALSE(fake::Overlay(OverlayKind::kHeldKeysBar).shown);
  fake::ClearEvents();
  fake::AdvanceTime(2000);
  for (const auto& e : fake::Events({"overlay"})) EXPECT_EQ(e.find("show"), std::string::npos) << e;
}

}  // namespace
}  // namespace velmor
