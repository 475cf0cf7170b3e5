#include "engine/core/step_runner.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <list>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "engine/core/clock.h"
#include "engine/core/engine_messages.h"
#include "engine/core/held_keys.h"
#include "engine/core/text.h"
#include "engine/platform/event_queue.h"
#include "engine/platform/input.h"

namespace velmor {

namespace {

std::atomic<int> g_keyHold{60};
std::atomic<int> g_sendDelay{250};

std::mutex g_runningMutex;
std::condition_variable g_runningIdle;
std::size_t g_running = 0;

// Virtual codes of the mouse buttons by button number.
constexpr int kMouseVks[] = {1, 2, 4, 5, 6};

void PostHeldKeysChanged() {
  platform::PostEngineMessage(WM_OVL_HELDKEYS);
}

void Sleep(std::int64_t ms) {
  if (ms > 0) EngineClock().SleepMs(ms);
}

void ExecuteStep(const Step& step) {
  const KeySpec& key = step.key;
  switch (step.kind) {
    case StepKind::Click: {
      const int n = step.value < 1 ? 1 : step.value;
      for (int i = 0; i < n; ++i) {
        if (i > 0) Sleep(KeyHoldMs());
        PressKey(key, true);
        Sleep(KeyHoldMs());
        PressKey(key, false);
      }
      break;
    }
    case StepKind::Hold:
      PressKey(key, true);
      if (step.value > 0) {
        Sleep(step.value);
        PressKey(key, false);
      } else {
        HeldKeysInsert(HeldKeyId(key), HeldKeyLabel(key));
        PostHeldKeysChanged();
      }
      break;
    case StepKind::Release:
      PressKey(key, false);
      HeldKeysRemove(HeldKeyId(key));
      PostHeldKeysChanged();
      break;
    case StepKind::Toggle: {
      const bool press = HeldKeysToggle(HeldKeyId(key), HeldKeyLabel(key));
      PressKey(key, press);
      PostHeldKeysChanged();
      break;
    }
    case StepKind::Open:
      platform::ShellOpen(step.text);
      break;
    case StepKind::ReadSelection:
      if (Services().readSelection) Services().readSelection();
      break;
    case StepKind::ReleaseAll:
      ReleaseAll();
      break;
    case StepKind::Call:
      if (Services().placeCall) Services().placeCall(step.text);
      break;
    case StepKind::Wheel:
      if (Services().findWheel) {
        if (auto index = Services().findWheel(step.text))
          platform::PostEngineMessage(WM_OVL_SELECTWHEEL, *index);
      }
      break;
    case StepKind::Map:
      if (Services().toggleMapRule) Services().toggleMapRule(step.text, step.key);
      break;
    case StepKind::Profile:
      // The main window takes the copy and frees it after switching.
      platform::PostEngineMessage(WM_OVL_SCHEME, 0,
                                  reinterpret_cast<std::intptr_t>(new std::u16string(step.text)));
      break;
    case StepKind::Wait:
      Sleep(step.value);
      break;
  }
}

void FieldDone() {
  std::lock_guard lock(g_runningMutex);
  if (--g_running == 0) g_runningIdle.notify_all();
}

}  // namespace

StepServices& Services() {
  static StepServices services;
  return services;
}

void SetStepTimings(int keyHoldMs, int sendDelayMs) {
  g_keyHold.store(keyHoldMs);
  g_sendDelay.store(sendDelayMs);
}
int KeyHoldMs() {
  return g_keyHold.load();
}
int SendDelayMs() {
  return g_sendDelay.load();
}

void RunFieldNow(const WheelAction& field, std::int64_t startPauseMs) {
  Sleep(startPauseMs);
  for (std::size_t i = 0; i < field.steps.size(); ++i) {
    if (i > 0 && field.delay > 0) Sleep(field.delay);
    ExecuteStep(field.steps[i]);
  }
}

namespace {

// Workers are joined once they have ended rather than detached when they
// start: with mingw-w64's threads a thread detached before it has begun
// running may start without its state (seen under Wine under load).
struct Worker {
  std::thread thread;
  std::shared_ptr<std::atomic<bool>> ended;
};
struct Workers {
  std::mutex mutex;
  std::list<Worker> list;
  ~Workers() {
    // Process end: whatever still runs is let go.
    for (auto& w : list)
      if (w.thread.joinable()) w.thread.detach();
  }
};
Workers& AllWorkers() {
  static Workers workers;
  return workers;
}

// Joins the workers that have ended; the caller holds the workers' lock.
void ReapEndedWorkers(Workers& w) {
  for (auto it = w.list.begin(); it != w.list.end();) {
    if (it->ended->load()) {
      it->thread.join();
      it = w.list.erase(it);
    } else {
      ++it;
    }
  }
}

}  // namespace

bool RunField(const WheelAction& field, std::int64_t startPauseMs) {
  if (field.steps.empty()) return true;
  {
    std::lock_guard lock(g_runningMutex);
    ++g_running;
  }
  try {
    auto& workers = AllWorkers();
    std::lock_guard lock(workers.mutex);
    ReapEndedWorkers(workers);
    auto ended = std::make_shared<std::atomic<bool>>(false);
    std::thread t([copy = field, startPauseMs, ended] {
      RunFieldNow(copy, startPauseMs);
      FieldDone();
      ended->store(true);
    });
    workers.list.push_back({std::move(t), std::move(ended)});
  } catch (const std::system_error&) {
    // No thread: the field does not run, and nothing else is disturbed.
    FieldDone();
    return false;
  }
  return true;
}

void PressKey(const KeySpec& k, bool down) {
  if (!k.valid || k.offTarget) return;
  if (k.wheelTarget) {
    if (down) platform::PostEngineMessage(kWmHotkey, 1);
    return;
  }
  if (k.steerTarget) {
    if (down) platform::PostEngineMessage(WM_OVL_STEER);
    return;
  }
  if (k.sequence) {
    if (down) {
      WheelAction list;
      list.steps = *k.sequence;
      list.delay = k.sequenceDelay;
      RunField(list, SendDelayMs());
    }
    return;
  }
  if (k.vpad) {
    if (Services().vpadControl) Services().vpadControl(k.vpad, down);
    return;
  }
  if (k.isMouse) {
    platform::SendMouseButton(k.mouseButton, !down);
    return;
  }
  platform::SendKey(k.vk, k.extended, !down);
}

void ReleaseAll() {
  std::vector<HeldKey> held = HeldKeysTakeAll();
  PostHeldKeysChanged();
  for (const auto& h : held) {
    if (h.id & 0x20000u) {
      if (Services().vpadControl) Services().vpadControl(static_cast<int>(h.id & 0xFFFFu), false);
    } else if (h.id & 0x10000u) {
      platform::SendMouseButton(static_cast<int>(h.id & 0xFFFFu), true);
    } else {
      platform::SendKey(static_cast<std::uint16_t>(h.id), false, true);
    }
  }
  for (int vk = 8; vk <= 254; ++vk) {
    if (platform::IsKeyDown(vk)) platform::SendKey(static_cast<std::uint16_t>(vk), false, true);
  }
  for (int b = 0; b < 5; ++b)
    if (platform::IsKeyDown(kMouseVks[b])) platform::SendMouseButton(b, true);
}

std::size_t RunningFieldCount() {
  std::lock_guard lock(g_runningMutex);
  return g_running;
}

bool WaitForFieldsIdle(std::int64_t timeoutMs) {
  std::unique_lock lock(g_runningMutex);
  return g_runningIdle.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                [] { return g_running == 0; });
}

}  // namespace velmor
