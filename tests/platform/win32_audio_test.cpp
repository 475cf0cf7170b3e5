// Microphone capture and the device lists through winmm. A machine may have
// no audio device at all (Wine without a sound server has none); what must
// hold there is checked always, and capture itself wherever a microphone
// opens. VELMOR_EXPECT_AUDIO_INPUTS and _OUTPUTS (names separated by "|")
// make the test insist on a server's devices, and VELMOR_AUDIO_TONE_INPUT
// names one that records a tone while the default device is silent, as
// scripts/test-wine-audio.sh sets up with a private PulseAudio server behind
// Wine's driver.

#include <gtest/gtest.h>

#include <windows.h>
// After windows.h, whose types it uses.
#include <mmsystem.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "engine/core/text.h"
#include "engine/platform/audio_capture.h"

namespace velmor {
namespace {

using Blocks = std::vector<std::vector<std::uint8_t>>;

// The names listed in an environment variable, "|" between them.
std::vector<std::u16string> ExpectedNames(const char* variable) {
  std::vector<std::u16string> out;
  const char* env = std::getenv(variable);
  if (!env || !*env) return out;
  std::stringstream items(env);
  for (std::string item; std::getline(items, item, '|');) out.push_back(Utf8ToWide(item));
  return out;
}

// Collects blocks until `count` have arrived or the wait calls run out; the
// bound only ends a broken run. Every call must succeed and hand over at
// most four blocks.
Blocks Collect(platform::AudioCapture& capture, std::size_t count) {
  Blocks all;
  for (int i = 0; i < 40 && all.size() < count; ++i) {
    Blocks got;
    EXPECT_TRUE(capture.Wait(250, got));
    EXPECT_LE(got.size(), static_cast<std::size_t>(platform::kAudioBlocksInFlight));
    for (auto& b : got)
      if (!b.empty()) all.push_back(std::move(b));
  }
  return all;
}

TEST(Win32Audio, ListsHoldWhatTheDriverReports) {
  auto inputs = platform::AudioInputDevices();
  auto outputs = platform::AudioOutputDevices();
  for (const auto& n : inputs) EXPECT_FALSE(n.empty());
  for (const auto& n : outputs) EXPECT_FALSE(n.empty());
  EXPECT_LE(inputs.size(), waveInGetNumDevs());
  EXPECT_LE(outputs.size(), waveOutGetNumDevs());
  auto check = [](const std::vector<std::u16string>& list, const char* variable) {
    std::string shown;
    for (const auto& n : list) shown += " \"" + WideToUtf8(n) + "\"";
    for (const auto& e : ExpectedNames(variable))
      EXPECT_NE(std::find(list.begin(), list.end(), e), list.end())
          << WideToUtf8(e) << " is not among" << shown;
  };
  check(inputs, "VELMOR_EXPECT_AUDIO_INPUTS");
  check(outputs, "VELMOR_EXPECT_AUDIO_OUTPUTS");
}

TEST(Win32Audio, CapturesFromNamedOrDefaultDevice) {
  auto inputs = platform::AudioInputDevices();
  if (!ExpectedNames("VELMOR_EXPECT_AUDIO_INPUTS").empty()) {
    ASSERT_FALSE(inputs.empty());
  }
  // A device that records a tone while the default one records silence,
  // when the environment has one: then what is heard shows which opened.
  auto tones = ExpectedNames("VELMOR_AUDIO_TONE_INPUT");
  std::u16string tone = tones.empty() ? std::u16string() : tones.front();

  // A name no device has falls back to the default device; with no device
  // at all, nothing opens.
  std::vector<std::u16string> names{u"", u"Velmor: no such microphone"};
  if (!tone.empty()) {
    names.push_back(tone);
    // Whole name, case-sensitive.
    names.push_back(tone.substr(0, tone.size() - 1));
    std::u16string lower = tone;
    for (auto& c : lower)
      if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    names.push_back(lower);
  } else if (!inputs.empty()) {
    names.push_back(inputs.back());
  }
  for (const auto& name : names) {
    SCOPED_TRACE("name \"" + WideToUtf8(name) + "\"");
    auto capture = platform::OpenAudioCapture(name);
    if (inputs.empty() && !capture) continue;
    ASSERT_TRUE(capture);
    Blocks blocks = Collect(*capture, 3);
    ASSERT_GE(blocks.size(), 3u);
    bool silent = true;
    for (const auto& b : blocks) {
      EXPECT_EQ(b.size(), platform::kAudioBlockBytes);
      for (auto byte : b) silent = silent && byte == 0;
    }
    if (!tone.empty()) {
      EXPECT_EQ(silent, name != tone) << (silent ? "silence" : "sound") << " recorded";
    }
  }
}

}  // namespace
}  // namespace velmor
