#include <algorithm>
#include <cstdio>

#include "engine/platform/event_queue.h"
#include "engine/platform/fake/fake_platform.h"
#include "engine/platform/fake/fake_state.h"

namespace velmor::platform {

bool StartEventQueue(EngineEvents* sink) {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  s.sink = sink;
  return true;
}

void PostEngineMessage(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  char buf[80];
  std::snprintf(buf, sizeof buf, "post %04X %llu", msg, static_cast<unsigned long long>(wParam));
  fake::RecordLocked(s, buf);
  s.queue.push_back({msg, wParam, lParam});
}

void SetEngineTimer(std::uint32_t id, std::uint32_t periodMs) {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  s.timers[id] = {periodMs, fake::Clock().NowMs() + periodMs, s.timerOrder++};
}

void KillEngineTimer(std::uint32_t id) {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  s.timers.erase(id);
}

void RunEventLoop() {
  // The fake's loop is the test: it pumps until someone asks to quit.
  for (;;) {
    fake::PumpMessages();
    auto& s = fake::GetState();
    std::lock_guard lock(s.mutex);
    if (s.quit || s.queue.empty()) return;
  }
}

void QuitEventLoop() {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  s.quit = true;
}

bool SendCopyDataToRunningEngine(std::uintptr_t, const void*, std::size_t) {
  return false;
}
bool PostToRunningEngine(std::uint32_t, std::uintptr_t, std::intptr_t) {
  return false;
}

namespace fake {

std::size_t PumpMessages() {
  auto& s = GetState();
  std::size_t n = 0;
  for (;;) {
    PostedMessage m;
    EngineEvents* sink;
    {
      std::lock_guard lock(s.mutex);
      if (s.queue.empty()) return n;
      m = s.queue.front();
      s.queue.erase(s.queue.begin());
      sink = s.sink;
    }
    // Delivered without the lock: the handler may post, send input or set timers.
    if (sink) sink->OnMessage(m.msg, m.wParam, m.lParam);
    ++n;
  }
}

std::size_t AdvanceTime(std::int64_t ms) {
  auto& s = GetState();
  const std::int64_t target = Clock().NowMs() + ms;
  std::size_t n = PumpMessages();
  for (;;) {
    std::uint32_t id = 0;
    EngineEvents* sink;
    {
      std::lock_guard lock(s.mutex);
      auto next = std::min_element(s.timers.begin(), s.timers.end(), [](auto& a, auto& b) {
        return a.second.due != b.second.due ? a.second.due < b.second.due
                                            : a.second.order < b.second.order;
      });
      if (next == s.timers.end() || next->second.due > target) break;
      id = next->first;
      if (next->second.due > Clock().NowMs()) Clock().Set(next->second.due);
      next->second.due += std::max<std::uint32_t>(next->second.period, 1);
      RecordLocked(s, "timer " + std::to_string(id));
      sink = s.sink;
    }
    if (sink) sink->OnTimer(id);
    ++n;
    n += PumpMessages();
  }
  if (Clock().NowMs() < target) Clock().Set(target);
  return n + PumpMessages();
}

std::vector<QueuedMessage> QueuedMessages() {
  auto& s = GetState();
  std::lock_guard lock(s.mutex);
  std::vector<QueuedMessage> out;
  for (const auto& m : s.queue) out.push_back({m.msg, m.wParam, m.lParam});
  return out;
}

std::size_t PendingMessages() {
  auto& s = GetState();
  std::lock_guard lock(s.mutex);
  return s.queue.size();
}

std::optional<std::uint32_t> TimerPeriod(std::uint32_t id) {
  auto& s = GetState();
  std::lock_guard lock(s.mutex);
  auto it = s.timers.find(id);
  if (it == s.timers.end()) return std::nullopt;
  return it->second.period;
}

EngineEvents* CurrentSink() {
  auto& s = GetState();
  std::lock_guard lock(s.mutex);
  return s.sink;
}

void DeliverCopyData(std::uintptr_t tag, const void* data, std::size_t bytes) {
  EngineEvents* sink;
  {
    auto& s = GetState();
    std::lock_guard lock(s.mutex);
    sink = s.sink;
  }
  if (sink) sink->OnCopyData(tag, data, bytes);
}

}  // namespace fake
}  // namespace velmor::platform
