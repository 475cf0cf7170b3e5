// The engine's event queue on the hidden main window: posted messages from
// any thread, timers, the posted hotkey, quitting the loop, and requests from
// another process.

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "engine/core/engine_messages.h"
#include "engine/platform/event_queue.h"
#include "engine/platform/win32/unique_handle.h"

namespace velmor {
namespace {

using platform::win32::UniqueKernelHandle;

// A message whose lParam is a heap std::string that the receiver owns.
constexpr std::uint32_t kPayloadMessage = kWmApp + 50;
// A timer that ends a loop whose expected end never came, so a broken quit
// fails the test instead of hanging it.
constexpr std::uint32_t kSafetyTimer = 99;

class RecordingSink : public platform::EngineEvents {
 public:
  std::vector<std::string> lines;
  // Runs after each recorded line, on the GUI thread.
  std::function<void(const std::string&)> then;

  void OnMessage(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) override {
    if (msg == kPayloadMessage) {
      std::unique_ptr<std::string> text(reinterpret_cast<std::string*>(lParam));
      Record("payload " + *text);
      return;
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "msg %04X %llu %lld", msg,
                  static_cast<unsigned long long>(wParam), static_cast<long long>(lParam));
    Record(buf);
  }
  void OnTimer(std::uint32_t id) override {
    if (id == kSafetyTimer) {
      Record("safety timer");
      platform::QuitEventLoop();
      return;
    }
    Record("timer " + std::to_string(id));
  }
  void OnCopyData(std::uintptr_t tag, const void* data, std::size_t bytes) override {
    std::string line = "copy " + std::to_string(tag);
    const auto* p = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < bytes; ++i) {
      char hex[4];
      std::snprintf(hex, sizeof hex, " %02X", p[i]);
      line += hex;
    }
    Record(line);
  }
  void OnHotkey(int id) override { Record("hotkey " + std::to_string(id)); }

 private:
  void Record(const std::string& line) {
    lines.push_back(line);
    if (then) then(line);
  }
};

// Runs the loop with a safety timer of a few seconds.
void RunBounded() {
  platform::SetEngineTimer(kSafetyTimer, 5000);
  platform::RunEventLoop();
  platform::KillEngineTimer(kSafetyTimer);
}

using Lines = std::vector<std::string>;

TEST(Win32EventQueue, PostsFromAnyThreadArriveInOrderAndQuitEndsTheLoop) {
  RecordingSink sink;
  ASSERT_TRUE(platform::StartEventQueue(&sink));

  platform::PostEngineMessage(WM_OVL_RUNFIELD, 1, 2);
  std::thread worker([] {
    for (std::uintptr_t i = 0; i < 3; ++i) platform::PostEngineMessage(WM_OVL_HELDKEYS, i);
    platform::PostEngineMessage(kPayloadMessage, 0,
                                reinterpret_cast<std::intptr_t>(new std::string("Wheel 2")));
    // The engine posts the toggle key's hotkey message as the system would.
    platform::PostEngineMessage(kWmHotkey, 1);
    platform::PostEngineMessage(0xBFFF, 7, -1);
    platform::QuitEventLoop();
  });
  RunBounded();
  worker.join();

  EXPECT_EQ(sink.lines, (Lines{"msg 8004 1 2", "msg 8009 0 0", "msg 8009 1 0", "msg 8009 2 0",
                               "payload Wheel 2", "hotkey 1", "msg BFFF 7 -1"}));
}

TEST(Win32EventQueue, TimerFiresWithItsIdUntilKilled) {
  RecordingSink sink;
  ASSERT_TRUE(platform::StartEventQueue(&sink));
  int fast = 0, slow = 0;
  sink.then = [&](const std::string& line) {
    if (line == "timer 7001" && ++fast == 3) {
      platform::KillEngineTimer(7001);
      // Several periods of the killed timer pass before this one fires twice.
      platform::SetEngineTimer(7003, 60);
    } else if (line == "timer 7003" && ++slow == 2) {
      platform::KillEngineTimer(7003);
      platform::QuitEventLoop();
    }
  };
  platform::SetEngineTimer(7001, 10);
  RunBounded();

  EXPECT_EQ(sink.lines,
            (Lines{"timer 7001", "timer 7001", "timer 7001", "timer 7003", "timer 7003"}));
}

TEST(Win32EventQueue, RestartingTheQueueDropsTheOldTimers) {
  RecordingSink first;
  ASSERT_TRUE(platform::StartEventQueue(&first));
  platform::SetEngineTimer(7001, 10);

  RecordingSink second;
  ASSERT_TRUE(platform::StartEventQueue(&second));
  second.then = [&](const std::string& line) {
    if (line == "timer 7002") platform::QuitEventLoop();
  };
  platform::SetEngineTimer(7002, 50);
  RunBounded();

  EXPECT_TRUE(first.lines.empty());
  EXPECT_EQ(second.lines, (Lines{"timer 7002"}));
}

// Bytes with a zero and high bits inside: the payload must pass unchanged.
const unsigned char kActivatePath[] = {0x43, 0x00, 0x3A, 0x00, 0x00, 0xFF, 0x80, 0x10};
constexpr const wchar_t* kHelperVariable = L"VELMOR_QUEUE_HELPER";

// The other process of the test below; it does nothing in an ordinary run.
TEST(Win32EventQueueHelper, SendsToTheRunningEngine) {
  if (GetEnvironmentVariableW(kHelperVariable, nullptr, 0) == 0)
    GTEST_SKIP() << "runs only as the helper process of Win32EventQueue.RequestsFromAnotherProcess";
  ASSERT_TRUE(platform::SendCopyDataToRunningEngine(kCopyDataActivate, kActivatePath,
                                                    sizeof kActivatePath));
  ASSERT_TRUE(platform::SendCopyDataToRunningEngine(kCopyDataQuit, nullptr, 0));
  ASSERT_TRUE(platform::PostToRunningEngine(WM_OVL_RUNFIELD, 3, 4));
}

UniqueKernelHandle StartHelperProcess() {
  wchar_t exe[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring command = std::wstring(L"\"") + exe +
                         L"\" --gtest_filter=Win32EventQueueHelper.SendsToTheRunningEngine";
  SetEnvironmentVariableW(kHelperVariable, L"1");
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  BOOL ok =
      CreateProcessW(exe, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
  SetEnvironmentVariableW(kHelperVariable, nullptr);
  if (!ok) return {};
  CloseHandle(pi.hThread);
  return UniqueKernelHandle(pi.hProcess);
}

TEST(Win32EventQueue, RequestsFromAnotherProcess) {
  RecordingSink sink;
  ASSERT_TRUE(platform::StartEventQueue(&sink));
  sink.then = [&](const std::string& line) {
    if (line.rfind("msg 8004", 0) == 0) platform::QuitEventLoop();
  };

  UniqueKernelHandle helper = StartHelperProcess();
  ASSERT_TRUE(helper);
  // The helper's sends wait for this loop to handle them.
  RunBounded();

  ASSERT_EQ(WaitForSingleObject(helper.get(), 10000), WAIT_OBJECT_0);
  DWORD code = 1;
  GetExitCodeProcess(helper.get(), &code);
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(sink.lines, (Lines{"copy 1 43 00 3A 00 00 FF 80 10", "copy 2", "msg 8004 3 4"}));
}

}  // namespace
}  // namespace velmor
