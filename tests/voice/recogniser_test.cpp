// The recogniser thread of the running engine on the fake platform, with
// the scripted fake recogniser linked in as the library and audio blocks
// queued by the test. The thread runs through virtual time; the tests wait
// (in real time, bounded) only for it to reach a state, never to measure.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <functional>
#include <regex>
#include <string>
#include <thread>

#include "engine/core/engine.h"
#include "engine/core/engine_messages.h"
#include "engine/core/overlay_api.h"
#include "engine/core/step_runner.h"
#include "engine/core/text.h"
#include "engine/platform/fake/fake_platform.h"
#include "engine/voice/voice.h"
#include "support/shared_engine.h"
#include "tests/support/fake_vosk/fake_vosk.h"

namespace velmor {
namespace {

namespace fake = platform::fake;
namespace fs = std::filesystem;
using voice::VoiceState;

void* FakeVoskSymbol(const char* name) {
  const std::string n = name;
#define VELMOR_SYMBOL(fn) \
  if (n == #fn) return reinterpret_cast<void*>(&fn);
  VELMOR_SYMBOL(vosk_set_log_level)
  VELMOR_SYMBOL(vosk_model_new)
  VELMOR_SYMBOL(vosk_model_free)
  VELMOR_SYMBOL(vosk_model_find_word)
  VELMOR_SYMBOL(vosk_recognizer_new_grm)
  VELMOR_SYMBOL(vosk_recognizer_set_grm)
  VELMOR_SYMBOL(vosk_recognizer_set_words)
  VELMOR_SYMBOL(vosk_recognizer_accept_waveform)
  VELMOR_SYMBOL(vosk_recognizer_result)
  VELMOR_SYMBOL(vosk_recognizer_free)
#undef VELMOR_SYMBOL
  return nullptr;
}

// Waits (real time, bounded) until `done` holds.
bool Eventually(const std::function<bool()>& done) {
  for (int i = 0; i < 5000; ++i) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return done();
}

class RecogniserTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { dir_ = &test::SharedEngineDir(); }
  void SetUp() override {
    voice::ShutdownVoice();
    ASSERT_TRUE(WaitForFieldsIdle(10000));
    fake::Reset();
    fake::ResetVoice();
    if (WheelVisible()) HideWheel();
    model_ = dir_->path() / "vosk-model-small-pl-0.22";
    fs::remove_all(model_);
    fs::remove(dir_->path() / "voice_confidence.log");
    fake::RegisterLibrary((dir_->path() / "libvosk.dll").u16string(), FakeVoskSymbol);
    fake::SetAudioDevices({u"Mikrofon USB", u"Line In"});
  }
  void TearDown() override {
    voice::ShutdownVoice();
    // Fields the results started may still post (a scheme switch): drain.
    ASSERT_TRUE(WaitForFieldsIdle(10000));
    fake::PumpMessages();
    // Back to a quiet engine for the other suites.
    dir_->Write("config.json", R"({"voiceEnabled": false})");
    OverlayReloadConfig();
    fake::ResetVoice();
    fs::remove_all(model_);
  }

  void Script(const std::string& text) {
    fs::create_directories(model_);
    std::ofstream(model_ / "fake_vosk.txt", std::ios::binary) << text;
  }
  std::string Log() const {
    std::ifstream in(model_ / "fake_vosk.log", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  void Start(const std::string& extraConfig = "", const std::string& language = "pl") {
    // A reload keeps what the file leaves out, so every voice key is
    // written; the first of two equal keys counts, so the extras come first.
    dir_->Write("config.json", "{\"voiceEnabled\": true, \"language\": \"" + language + "\"" +
                                   extraConfig +
                                   R"(, "voiceDllPath": "", "audioInDevice": "",
                                      "voiceConfidence": 0, "voiceConfShow": false,
                                      "voiceGlobal": true, "voiceToast": true})");
    OverlayReloadConfig();
  }
  static bool Reaches(VoiceState s) {
    return Eventually([s] { return voice::CurrentState() == s; });
  }
  // Queues audio and waits until the fake recogniser has taken all of it
  // and the thread is waiting again (its wait moves the fake clock), so
  // every result of it has been handled.
  void Speak(std::size_t blocks) {
    const auto before = Accepted();
    fake::QueueAudio(blocks);
    ASSERT_TRUE(Eventually([&] { return Accepted() >= before + blocks; }));
    const std::int64_t t = fake::Clock().NowMs();
    ASSERT_TRUE(Eventually([&] { return fake::Clock().NowMs() > t; }));
  }
  std::size_t Accepted() const {
    const std::string log = Log();
    std::size_t n = 0;
    for (auto at = log.find("accept "); at != std::string::npos; at = log.find("accept ", at + 1))
      ++n;
    return n;
  }
  static std::vector<std::string> Posted() {
    std::vector<std::string> out;
    for (const auto& m : fake::QueuedMessages()) {
      if (m.msg == WM_OVL_REHOOK) continue;  // the rule reload of every settings load
      std::string line = std::to_string(m.msg - kWmApp) + ":" + std::to_string(m.wParam);
      if (m.msg == WM_OVL_RUNFIELD) line += "," + std::to_string(m.lParam);
      if (m.msg == WM_OVL_TOAST)
        line += " " + WideToUtf8(*reinterpret_cast<const std::u16string*>(m.lParam));
      out.push_back(line);
    }
    return out;
  }

  static const test::TempDir* dir_;
  fs::path model_;
};
const test::TempDir* RecogniserTest::dir_ = nullptr;

TEST_F(RecogniserTest, StatesForEachMissingPiece) {
  dir_->Write("config.json", R"({"voiceEnabled": false, "language": "pl"})");
  OverlayReloadConfig();
  EXPECT_EQ(voice::CurrentState(), VoiceState::Off);
  EXPECT_EQ(std::u16string(OverlayVoiceStatus()), u"wyłączony (voiceEnabled = false)");

  // No library anywhere; a voiceDllPath that does not exist is tried first.
  fake::RegisterLibrary((dir_->path() / "libvosk.dll").u16string(), {});
  Start(R"(, "voiceDllPath": "C:\\nowhere\\libvosk.dll")");
  ASSERT_TRUE(Reaches(VoiceState::LibraryMissing));
  EXPECT_EQ(fake::LibraryLoads(),
            (std::vector<std::u16string>{u"C:\\nowhere\\libvosk.dll beside",
                                         (dir_->path() / "libvosk.dll").u16string() + u" beside",
                                         u"libvosk.dll"}));
  EXPECT_EQ(std::u16string(OverlayVoiceStatus()), u"brak libvosk.dll");

  // A library without its required functions.
  fake::RegisterLibrary((dir_->path() / "libvosk.dll").u16string(), [](const char* n) {
    return std::string(n) == "vosk_model_new" ? FakeVoskSymbol(n) : nullptr;
  });
  voice::StopRecogniser();
  Start();
  ASSERT_TRUE(Reaches(VoiceState::InitError));

  // The library, but no model folder (the fake answers like the real one).
  fake::RegisterLibrary((dir_->path() / "libvosk.dll").u16string(), FakeVoskSymbol);
  voice::StopRecogniser();
  Start("", "en");
  ASSERT_TRUE(Reaches(VoiceState::ModelMissing));
  EXPECT_EQ(std::u16string(OverlayVoiceStatus()), u"language model folder missing");

  // A recogniser that cannot be made frees the model it loaded.
  Script("fail recognizer_new\n");
  voice::StopRecogniser();
  Start();
  ASSERT_TRUE(Reaches(VoiceState::InitError));
  // The state is set before the model is freed: wait for the thread's end.
  ASSERT_TRUE(Eventually([] { return !voice::RecogniserRunning(); }));
  EXPECT_NE(Log().find("free_model"), std::string::npos);
}

TEST_F(RecogniserTest, MicrophoneRetriesEveryThreeSecondsAndFallsBackToDefault) {
  Script("");
  fake::FailAudioOpens(2);
  Start(R"(, "audioInDevice": "Mikrofon, którego nie ma")");
  ASSERT_TRUE(Reaches(VoiceState::Listening));
  EXPECT_EQ(fake::Audio().opens, 3);
  EXPECT_EQ(fake::Audio().device, u"");  // the default device
  // Two waits of three seconds on the engine clock before the third try.
  EXPECT_GE(fake::Clock().NowMs(), 6000);
  EXPECT_EQ(std::u16string(OverlayVoiceStatus()), u"aktywny");
  EXPECT_EQ(std::u16string(OverlayAudioInputDevices()), u"Mikrofon USB\nLine In");

  voice::StopRecogniser();
  Start(R"(, "audioInDevice": "Line In")");
  ASSERT_TRUE(Reaches(VoiceState::Listening));
  EXPECT_EQ(fake::Audio().device, u"Line In");
}

TEST_F(RecogniserTest, ResultsAreMatchedRoundedLoggedAndDispatched) {
  Script(
      "result 1 {\"result\":[{\"conf\":0.594,\"word\":\"kliknij\"}],\"text\":\"kliknij\"}\n"
      "result 2 {\"result\":[{\"conf\":0.9},{\"conf\":0.596}],\"text\":\"kliknij\"}\n"
      "result 3 {\"text\":\"[unk]\"}\n"
      "result 4 {\"text\":\"\"}\n"
      "result 5 {\"text\":\"skok\"}\n");
  Start(R"(, "voiceConfidence": 60, "voiceConfShow": true, "voiceGlobal": false)");
  ASSERT_TRUE(Reaches(VoiceState::Listening));
  // The grammar holds the built-in phrases, ends in [unk], and per-word
  // results are on.
  const std::string log = Log();
  EXPECT_NE(log.find("new_grm 16000 [\"pokaż koło\",\"schowaj koło\","), std::string::npos);
  EXPECT_NE(log.find(",\"[unk]\"]\n"), std::string::npos);
  EXPECT_NE(log.find("set_words 1"), std::string::npos);
  EXPECT_NE(log.find("model_new log_level=-1"), std::string::npos);

  Speak(5);
  // 59 % is rejected, 60 % accepted; [unk], an empty text and a field
  // phrase of a hidden wheel (voiceGlobal off, and no such field) do nothing.
  EXPECT_EQ(Posted(), (std::vector<std::string>{"3:7", "8:0 kliknij \xC2\xB7 60%"}));
  std::ifstream in(dir_->path() / "voice_confidence.log", std::ios::binary);
  std::string lines((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_TRUE(
      std::regex_match(lines, std::regex("\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d   59%  ODRZ   "
                                         "kliknij\r\n"
                                         "\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d   60%  OK     "
                                         "kliknij\r\n")))
      << lines;
  fake::PumpMessages();
}

TEST_F(RecogniserTest, WheelActivationReachesTheGrammarAndFieldsNeedTheWheel) {
  Script(
      "unknown zzz\n"
      "result 1 {\"text\":\"skok\"}\n"
      "result 2 {\"text\":\"skok\"}\n"
      "result 3 {\"text\":\"schemat race\"}\n");
  Start(R"(, "voiceGlobal": false, "voiceToast": false)");
  ASSERT_TRUE(Reaches(VoiceState::Listening));
  const auto wheel = dir_->Write(
      "voice-wheel.json",
      R"({"wheels":[{"name":"W","actions":[{"name":"a"},{"name":"jump","voice":"Skok|zzz top"}]}]})");
  ASSERT_EQ(OverlayActivateWheelFile(wheel.u16string().c_str()), 1);
  ASSERT_TRUE(Eventually([&] { return Log().find("set_grm ") != std::string::npos; }));
  const std::string grammar = Log().substr(Log().find("set_grm "));
  EXPECT_NE(grammar.find(",\"skok\","), std::string::npos);
  EXPECT_EQ(grammar.find("zzz"), std::string::npos);  // a word the model lacks

  Speak(1);  // wheel hidden, voiceGlobal off: nothing
  EXPECT_TRUE(Posted().empty());
  ShowWheel();
  fake::ClearEvents();
  Speak(1);
  EXPECT_EQ(Posted(), (std::vector<std::string>{"4:0,1"}));
  HideWheel();
  fake::PumpMessages();

  // A saved scheme becomes a global action: "schemat race".
  dir_->Write("map.json", "{\"rules\": []}");
  ASSERT_EQ(OverlaySaveMapProfile(u"Race"), 1);
  fake::PumpMessages();
  Speak(1);
  ASSERT_EQ(Posted().size(), 1u);
  EXPECT_EQ(Posted()[0].substr(0, 2), "7:");
  // The action's step switches to the scheme through the main window.
  fake::PumpMessages();
  ASSERT_TRUE(WaitForFieldsIdle(10000));
  fake::PumpMessages();
  EXPECT_EQ(std::u16string(OverlayCurrentMapProfile()), u"Race");
  EXPECT_EQ(OverlayDeleteMapProfile(u"Race"), 1);
  fs::remove_all(dir_->path() / "profiles");
}

TEST_F(RecogniserTest, AFaultInSetGrammarRecreatesTheRecogniser) {
  Script("fault set_grm\nresult 1 {\"text\":\"dwuklik\"}\n");
  Start(R"(, "voiceToast": false)");
  ASSERT_TRUE(Reaches(VoiceState::Listening));
  OverlayRefreshVoice();
  ASSERT_TRUE(Eventually([&] {
    const std::string log = Log();
    return log.find("set_grm") != std::string::npos &&
           log.find("new_grm", log.find("set_grm")) != std::string::npos;
  }));
  EXPECT_EQ(voice::CurrentState(), VoiceState::Listening);
  Speak(1);
  EXPECT_EQ(Posted(), (std::vector<std::string>{"3:8"}));
  fake::PumpMessages();
}

TEST_F(RecogniserTest, WithoutSetGrammarANewRecogniserTakesTheNewGrammar) {
  // The recogniser libraries of the npm package do not export set_grm.
  fake::RegisterLibrary((dir_->path() / "libvosk.dll").u16string(), [](const char* n) {
    return std::string(n) == "vosk_recognizer_set_grm" ? nullptr : FakeVoskSymbol(n);
  });
  Script("result 1 {\"text\":\"hop\"}\n");
  Start(R"(, "voiceToast": false)");
  ASSERT_TRUE(Reaches(VoiceState::Listening));
  const auto wheel = dir_->Write(
      "hop.json", R"({"wheels":[{"name":"W","actions":[{"name":"h","voice":"hop"}]}]})");
  ASSERT_EQ(OverlayActivateWheelFile(wheel.u16string().c_str()), 1);
  ASSERT_TRUE(Eventually([&] {
    const std::string log = Log();
    const auto second = log.find("new_grm", log.find("free_recognizer"));
    return second != std::string::npos && log.find("\"hop\"", second) != std::string::npos;
  }));
  Speak(1);
  EXPECT_EQ(Posted(), (std::vector<std::string>{"4:0,0"}));
  fake::PumpMessages();
}

TEST_F(RecogniserTest, StopEndsTheThreadWithinOneWaitAndFreesEverything) {
  Script("");
  // The stop comes at the start of the fifth wait: the thread finishes that
  // 250 ms wait and ends, so the fake clock moves on by exactly 250 ms.
  std::atomic<int> waits{0};
  std::atomic<std::int64_t> stoppedAt{-1};
  fake::SetAudioWaitHook([&] {
    if (++waits == 5) {
      stoppedAt = fake::Clock().NowMs();
      voice::RequestRecogniserStop();
    }
  });
  Start();
  ASSERT_TRUE(Eventually([] { return !voice::RecogniserRunning(); }));
  EXPECT_EQ(waits.load(), 5);
  EXPECT_EQ(fake::Clock().NowMs() - stoppedAt.load(), 250);
  voice::StopRecogniser();
  EXPECT_FALSE(voice::RecogniserRunning());
  EXPECT_FALSE(fake::Audio().open);
  const std::string log = Log();
  EXPECT_NE(log.find("free_recognizer\nfree_model\n"), std::string::npos);
  // The word questions have no model now.
  EXPECT_EQ(OverlayVoiceWordKnown(u"kliknij"), -1);
}

TEST_F(RecogniserTest, WordQuestionsUseTheRunningModelOrTheDictionary) {
  EXPECT_EQ(OverlayVoiceWordKnown(nullptr), -1);
  EXPECT_EQ(OverlayVoiceWordKnown(u"kliknij"), -1);
  EXPECT_EQ(OverlayVoiceDictEnsure(u"no-such-model"), 0);
  Script("unknown zzz\n");
  dir_->Write("config.json", R"({"voiceEnabled": false, "language": "pl"})");
  OverlayReloadConfig();
  EXPECT_EQ(OverlayVoiceDictEnsure(nullptr), 1);
  EXPECT_EQ(OverlayVoiceWordKnown(u"KLIKNIJ"), 1);
  EXPECT_EQ(OverlayVoiceWordKnown(u"zzz"), 0);
  EXPECT_EQ(OverlayVoiceDictEnsure(u"vosk-model-small-pl-0.22"), 1);  // already loaded

  Start();
  ASSERT_TRUE(Reaches(VoiceState::Listening));
  EXPECT_EQ(OverlayVoiceDictEnsure(u"anything"), 1);  // the recogniser's model is loaded
  EXPECT_EQ(OverlayVoiceWordKnown(u"zzz"), 0);
}

}  // namespace
}  // namespace velmor
