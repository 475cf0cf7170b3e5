// Audio capture and run-time libraries of the fake backend. Libraries are
// symbol tables the test registers under a path; capture hands out the
// blocks the test queued, and a wait with nothing queued moves the fake
// clock on by its timeout, so the recogniser's loop runs through virtual
// time as fast as the machine allows.

#include <condition_variable>
#include <deque>
#include <functional>
#include <thread>

#include "engine/core/clock.h"
#include "engine/core/text.h"
#include "engine/platform/audio_capture.h"
#include "engine/platform/fake/fake_platform.h"
#include "engine/platform/fake/fake_state.h"
#include "engine/platform/shared_library.h"

namespace velmor::platform {

namespace {

struct VoiceState {
  std::mutex mutex;
  std::map<std::u16string, fake::SymbolTable> libraries;
  std::vector<std::u16string> inputs, outputs;
  int openFailures = 0;
  int opens = 0;
  std::u16string openedName;  // "" for the default device
  bool captureOpen = false;
  bool captureFails = false;
  std::deque<std::vector<std::uint8_t>> blocks;
  std::vector<std::u16string> loads;
  std::function<void()> waitHook;
};

VoiceState& Voice() {
  // Never destroyed: a recogniser thread may still use it at the process's end.
  static VoiceState* v = new VoiceState;
  return *v;
}

class FakeLibrary final : public SharedLibrary {
 public:
  explicit FakeLibrary(fake::SymbolTable table) : table_(std::move(table)) {}
  void* Symbol(const char* name) override { return table_ ? table_(name) : nullptr; }

 private:
  fake::SymbolTable table_;
};

class FakeCapture final : public AudioCapture {
 public:
  ~FakeCapture() override {
    auto& v = Voice();
    std::lock_guard lock(v.mutex);
    v.captureOpen = false;
  }
  bool Wait(int timeoutMs, std::vector<std::vector<std::uint8_t>>& out) override {
    std::function<void()> hook;
    {
      auto& v = Voice();
      std::lock_guard lock(v.mutex);
      hook = v.waitHook;
    }
    if (hook) hook();
    {
      auto& v = Voice();
      std::lock_guard lock(v.mutex);
      if (v.captureFails) return false;
      while (!v.blocks.empty() && out.size() < static_cast<std::size_t>(kAudioBlocksInFlight)) {
        out.push_back(std::move(v.blocks.front()));
        v.blocks.pop_front();
      }
    }
    if (out.empty()) {
      EngineClock().SleepMs(timeoutMs);
      std::this_thread::yield();
    }
    return true;
  }
};

}  // namespace

std::unique_ptr<SharedLibrary> LoadSharedLibrary(const std::u16string& path, bool besideItself) {
  auto& v = Voice();
  std::lock_guard lock(v.mutex);
  v.loads.push_back(path + (besideItself ? u" beside" : u""));
  auto it = v.libraries.find(path);
  if (it == v.libraries.end()) return nullptr;
  return std::make_unique<FakeLibrary>(it->second);
}

const char16_t* RecogniserLibraryName() {
  return u"libvosk.dll";
}

bool CallGuarded(void (*fn)(void*), void* context) {
  // A fake library's fault is a thrown exception.
  try {
    fn(context);
    return true;
  } catch (...) {
    return false;
  }
}

std::unique_ptr<AudioCapture> OpenAudioCapture(const std::u16string& deviceName) {
  auto& v = Voice();
  std::lock_guard lock(v.mutex);
  ++v.opens;
  if (v.openFailures > 0) {
    --v.openFailures;
    return nullptr;
  }
  bool known = false;
  for (const auto& d : v.inputs) known = known || d == deviceName;
  v.openedName = known ? deviceName : std::u16string();
  v.captureOpen = true;
  v.captureFails = false;
  return std::make_unique<FakeCapture>();
}

std::vector<std::u16string> AudioInputDevices() {
  auto& v = Voice();
  std::lock_guard lock(v.mutex);
  return v.inputs;
}

std::vector<std::u16string> AudioOutputDevices() {
  auto& v = Voice();
  std::lock_guard lock(v.mutex);
  return v.outputs;
}

void fake::RegisterLibrary(const std::u16string& path, SymbolTable symbols) {
  auto& v = Voice();
  std::lock_guard lock(v.mutex);
  if (symbols)
    v.libraries[path] = std::move(symbols);
  else
    v.libraries.erase(path);
}

void fake::SetAudioDevices(std::vector<std::u16string> inputs,
                           std::vector<std::u16string> outputs) {
  auto& v = Voice();
  std::lock_guard lock(v.mutex);
  v.inputs = std::move(inputs);
  v.outputs = std::move(outputs);
}

void fake::FailAudioOpens(int count) {
  auto& v = Voice();
  std::lock_guard lock(v.mutex);
  v.openFailures = count;
}

void fake::QueueAudio(std::size_t blocks, std::size_t bytes) {
  auto& v = Voice();
  std::lock_guard lock(v.mutex);
  for (std::size_t i = 0; i < blocks; ++i) v.blocks.emplace_back(bytes, std::uint8_t{0});
}

fake::AudioSnapshot fake::Audio() {
  auto& v = Voice();
  std::lock_guard lock(v.mutex);
  return {v.opens, v.captureOpen, v.openedName, v.blocks.size()};
}

void fake::SetAudioWaitHook(std::function<void()> hook) {
  auto& v = Voice();
  std::lock_guard lock(v.mutex);
  v.waitHook = std::move(hook);
}

std::vector<std::u16string> fake::LibraryLoads() {
  auto& v = Voice();
  std::lock_guard lock(v.mutex);
  return v.loads;
}

void fake::ResetVoice() {
  auto& v = Voice();
  std::lock_guard lock(v.mutex);
  v.loads.clear();
  v.waitHook = nullptr;
  v.libraries.clear();
  v.inputs.clear();
  v.outputs.clear();
  v.openFailures = 0;
  v.opens = 0;
  v.openedName.clear();
  v.captureFails = false;
  v.blocks.clear();
}

}  // namespace velmor::platform
