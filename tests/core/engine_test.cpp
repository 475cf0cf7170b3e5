// The engine's life and its C API on the fake platform. The engine starts
// once per process, so these tests share one engine in one program folder.

#include "engine/core/engine.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/core/engine_messages.h"
#include "engine/core/overlay_api.h"
#include "engine/core/step_runner.h"
#include "engine/core/text.h"
#include "engine/display/gaze_sample.h"
#include "engine/platform/event_queue.h"
#include "engine/platform/fake/fake_platform.h"
#include "support/shared_engine.h"

namespace velmor {
namespace {

namespace fake = platform::fake;
using Lines = std::vector<std::string>;

class EngineTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = &test::SharedEngineDir();
    ASSERT_EQ(OverlayEngineStart(), 1);
  }
  void SetUp() override {
    // A field left running by an earlier test would sleep on the clock
    // this one resets.
    ASSERT_TRUE(WaitForFieldsIdle(10000));
    fake::Reset();
    if (OverlayIsWheelVisible()) HideWheel();
    // Back to the first-run wheel file for every test.
    ASSERT_EQ(Activate(dir_->path() / "default.json"), 1);
  }

  static int Activate(const std::filesystem::path& p) {
    return OverlayActivateWheelFile(p.u16string().c_str());
  }
  static std::string Snapshot() { return WideToUtf8(OverlayWheelsSnapshotJson()); }

  static const test::TempDir* dir_;
};
const test::TempDir* EngineTest::dir_ = nullptr;

TEST_F(EngineTest, StartCreatesFirstRunFilesAndLoadsTheDefaultWheel) {
  EXPECT_TRUE(std::filesystem::exists(dir_->path() / "config.json"));
  EXPECT_EQ(OverlayWheelCount(), 1);
  EXPECT_EQ(CurrentWheels()[0].name, u"Kolo 1");
  // A second start changes nothing and still says running.
  EXPECT_EQ(OverlayEngineStart(), 1);
  EXPECT_EQ(OverlayWheelCount(), 1);
}

TEST_F(EngineTest, SnapshotIsCompactJsonWithItsOwnEscapes) {
  auto file =
      dir_->Write("snap.json", "{\"wheels\":[{\"name\":\"A\",\"actions\":[{\"name\":\"F\"}]}]}");
  ASSERT_EQ(Activate(file), 1);
  EXPECT_EQ(Snapshot(),
            R"({"wheels":[{"name":"A","actions":[{"name":"F","icon":"","color":""}]}]})");

  file = dir_->Write(
      "esc.json",
      "{\"wheels\":[{\"name\":\"Q\\\"uote\\ttab\",\"actions\":[{\"name\":\"a\\\\b\\nc\","
      "\"icon\":\"i.png\",\"color\":\"#a1b2c3\"},{\"name\":\"\"}]}]}");
  ASSERT_EQ(Activate(file), 1);
  EXPECT_EQ(Snapshot(),
            "{\"wheels\":[{\"name\":\"Q\\\"uote\ttab\",\"actions\":["
            "{\"name\":\"a\\\\b\\nc\",\"icon\":\"i.png\",\"color\":\"#A1B2C3\"},"
            "{\"name\":\"\",\"icon\":\"\",\"color\":\"\"}]}]}");
}

TEST_F(EngineTest, FailedActivationKeepsTheListAndTheCurrentWheel) {
  auto two = dir_->Write("two.json", R"({"wheels":[{"name":"A","actions":[{"key":"a"}]},
                                                   {"name":"B","actions":[{"key":"b"}]}]})");
  ASSERT_EQ(Activate(two), 1);
  platform::PostEngineMessage(WM_OVL_SELECTWHEEL, 1);
  fake::PumpMessages();
  ASSERT_EQ(CurrentWheelIndex(), 1u);
  const std::string before = Snapshot();

  auto empty = dir_->Write("empty.json", R"({"wheels":[{"name":"E","actions":[]}]})");
  const char* bad[] = {"empty.json", "missing.json"};
  dir_->Write("broken.json", "{");
  for (const char* name : {bad[0], bad[1], "broken.json"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(Activate(dir_->path() / name), 0);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(CurrentWheelIndex(), 1u);
  }
  EXPECT_EQ(OverlayActivateWheelFile(nullptr), 0);
  (void)empty;
}

TEST_F(EngineTest, SelectWheelOutOfRangeIsIgnored) {
  platform::PostEngineMessage(WM_OVL_SELECTWHEEL, 5);
  fake::PumpMessages();
  EXPECT_EQ(CurrentWheelIndex(), 0u);
}

TEST_F(EngineTest, RunFieldMessageRunsTheFieldAfterItsPause) {
  auto file =
      dir_->Write("run.json", R"({"actions":[{"name":"A","steps":[{"key":"a"},{"key":"up"}]}]})");
  ASSERT_EQ(Activate(file), 1);
  SetStepTimings(60, 250);

  // Wheel hidden: 100 ms, nothing else happens first.
  platform::PostEngineMessage(WM_OVL_RUNFIELD, 0, 0);
  fake::PumpMessages();
  ASSERT_TRUE(WaitForFieldsIdle(10000));
  EXPECT_EQ(fake::Events({"key"}),
            (Lines{"@100 key down vk=41 sc=1E", "@160 key up vk=41 sc=1E",
                   "@190 key down vk=26 sc=48 ext", "@250 key up vk=26 sc=48 ext"}));

  // Out of range indices do nothing.
  fake::Reset();
  for (auto [w, f] : {std::pair<std::uintptr_t, std::intptr_t>{0, 1}, {1, 0}, {0, -1}})
    platform::PostEngineMessage(WM_OVL_RUNFIELD, w, f);
  fake::PumpMessages();
  EXPECT_EQ(RunningFieldCount(), 0u);
  EXPECT_TRUE(fake::Events({"key"}).empty());
}

TEST_F(EngineTest, RunFieldWhileShownHidesRestoresFocusAndWaitsSendDelay) {
  SetStepTimings(60, 250);
  fake::AddWindow(42);
  fake::SetForeground(42);
  fake::SetCursor({300, 200});
  OverlayToggleWheel();
  ASSERT_EQ(OverlayIsWheelVisible(), 1);
  fake::AddWindow(7);
  fake::SetForeground(7);  // the wheel took the foreground
  fake::SetCursor({5, 5});

  platform::PostEngineMessage(WM_OVL_RUNFIELD, 0, 2);  // "Funkcja 3": key 3
  fake::PumpMessages();
  ASSERT_TRUE(WaitForFieldsIdle(10000));
  EXPECT_EQ(OverlayIsWheelVisible(), 0);
  EXPECT_EQ(fake::Events({"cursor", "foreground", "key"}),
            (Lines{"@0 cursor 300,200", "@0 foreground 42", "@250 key down vk=33 sc=04",
                   "@310 key up vk=33 sc=04"}));
}

TEST_F(EngineTest, RestoreFocusSkipsAWindowThatIsGoneOrAlreadyInFront) {
  fake::AddWindow(42);
  fake::SetForeground(42);
  OverlayToggleWheel();
  fake::SetForeground(42);                           // as if the wheel had not taken it
  OverlayToggleWheel();                              // hidden again: focus given back once
  EXPECT_EQ(fake::Events({"foreground"}), Lines{});  // 42 still in front
  RestoreFocus();
  EXPECT_EQ(fake::Events({"cursor"}).size(), 1u);  // once only

  OverlayToggleWheel();
  fake::RemoveWindow(42);
  OverlayToggleWheel();
  EXPECT_TRUE(fake::Events({"foreground"}).empty());
}

TEST_F(EngineTest, CopyDataActivatesOnlyAWholeUtf16Path) {
  auto file = dir_->Write("cd.json", R"({"wheels":[{"name":"CD","actions":[{"key":"c"}]}]})");
  std::u16string path = file.u16string();
  path.push_back(u'\0');
  path.push_back(u'\0');  // trailing zeros are removed

  // Wrong tag, odd byte count, too short: ignored.
  fake::DeliverCopyData(7, path.data(), path.size() * 2);
  fake::DeliverCopyData(kCopyDataActivate, path.data(), path.size() * 2 - 1);
  fake::DeliverCopyData(kCopyDataActivate, path.data(), 1);
  fake::DeliverCopyData(kCopyDataActivate, nullptr, 0);
  EXPECT_EQ(CurrentWheels()[0].name, u"Kolo 1");

  fake::DeliverCopyData(kCopyDataActivate, path.data(), path.size() * 2);
  EXPECT_EQ(CurrentWheels()[0].name, u"CD");
}

TEST_F(EngineTest, HotkeyMessageAndCommandsShowAndHideTheWheel) {
  platform::PostEngineMessage(kWmHotkey, 1);
  fake::PumpMessages();
  EXPECT_EQ(OverlayIsWheelVisible(), 1);
  platform::PostEngineMessage(kWmHotkey, 2);  // another hotkey id: not the toggle
  fake::PumpMessages();
  EXPECT_EQ(OverlayIsWheelVisible(), 1);
  platform::PostEngineMessage(WM_OVL_COMMAND, 2);
  fake::PumpMessages();
  EXPECT_EQ(OverlayIsWheelVisible(), 0);
  platform::PostEngineMessage(WM_OVL_COMMAND, 1);
  platform::PostEngineMessage(WM_OVL_COMMAND, 1);  // already shown: stays shown
  fake::PumpMessages();
  EXPECT_EQ(OverlayIsWheelVisible(), 1);
}

TEST_F(EngineTest, NextAndPreviousWheelOnlyWhileShown) {
  auto file = dir_->Write("three.json", R"({"wheels":[{"name":"A","actions":[{"key":"a"}]},
      {"name":"B","actions":[{"key":"b"}]},{"name":"C","actions":[{"key":"c"}]}]})");
  ASSERT_EQ(Activate(file), 1);
  platform::PostEngineMessage(WM_OVL_COMMAND, 3);  // hidden: ignored
  fake::PumpMessages();
  EXPECT_EQ(CurrentWheelIndex(), 0u);
  OverlayToggleWheel();
  for (std::uintptr_t code : {3u, 3u, 3u, 4u}) platform::PostEngineMessage(WM_OVL_COMMAND, code);
  fake::PumpMessages();
  EXPECT_EQ(CurrentWheelIndex(), 2u);  // 0→1→2→0, then back to 2
}

TEST_F(EngineTest, WheelStepSelectsByNameInAnyCase) {
  auto file = dir_->Write("names.json", R"({"wheels":[{"name":"Wheel 1","actions":[{"key":"a"}]},
      {"name":"Wheel 2","actions":[{"steps":[{"wheel":"WHEEL 2"}]}]}]})");
  ASSERT_EQ(Activate(file), 1);
  platform::PostEngineMessage(WM_OVL_RUNFIELD, 1, 0);
  fake::PumpMessages();
  ASSERT_TRUE(WaitForFieldsIdle(10000));
  fake::PumpMessages();
  EXPECT_EQ(CurrentWheelIndex(), 1u);
}

TEST_F(EngineTest, ReloadKeepsSettingsTheFileLeavesOut) {
  dir_->Write("config.json", R"({"sendDelay": 900, "keyHold": 10})");
  OverlayReloadConfig();
  EXPECT_EQ(CurrentSettings().sendDelay, 900);
  EXPECT_EQ(SendDelayMs(), 900);
  EXPECT_EQ(KeyHoldMs(), 10);
  dir_->Write("config.json", R"({"keyHold": 20})");
  OverlayReloadConfig();
  EXPECT_EQ(CurrentSettings().sendDelay, 900);
  EXPECT_EQ(KeyHoldMs(), 20);
  dir_->Write("config.json", "{\n  \"segmentColor\": \"#3498DB\",\n  \"toggleKey\": \"x\"\n}\n");
}

TEST_F(EngineTest, GazeStatusNamesTheGazeStateInTheSettingsLanguage) {
  auto& state = SharedGaze().state;
  ASSERT_EQ(state.load(), kGazeDisabled);  // no gaze thread has run
  // The settings file is shared with the other tests, which may have left
  // any language: set Polish here, and put the file back afterwards.
  const std::string config = dir_->Read("config.json");
  const std::u16string language = CurrentSettings().language;
  dir_->Write("config.json", R"({"language": "pl"})");
  OverlayReloadConfig();
  const std::vector<std::pair<int, std::u16string>> polish = {
      {kGazeDisabled, u"wyłączony (gazeEnabled = false)"},
      {kGazeSearching, u"szukanie urządzenia…"},
      {kGazeLibraryMissing, u"brak tobii_stream_engine.dll (zainstaluj oprogramowanie Tobii)"},
      {kGazeNoDevice, u"nie wykryto urządzenia"},
      {kGazeActive, u"aktywny"},
      {kGazeInitError, u"błąd inicjalizacji"},
      {17, u"wyłączony (gazeEnabled = false)"},
  };
  for (const auto& [value, text] : polish) {
    state.store(value);
    EXPECT_EQ(std::u16string(OverlayGazeStatus()), text) << value;
  }
  dir_->Write("config.json", R"({"language": "en"})");
  OverlayReloadConfig();
  state.store(kGazeNoDevice);
  EXPECT_EQ(std::u16string(OverlayGazeStatus()), u"no device detected");
  state.store(kGazeDisabled);
  // A file without "language" keeps the previous one: restore that first.
  dir_->Write("config.json", "{\"language\": \"" + WideToUtf8(language) + "\"}");
  OverlayReloadConfig();
  dir_->Write("config.json", config);
  OverlayReloadConfig();
}

}  // namespace
}  // namespace velmor
