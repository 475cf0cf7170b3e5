// The building blocks of giving focus back after the wheel closes: the
// cursor, and the foreground taken from a window of another thread.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "engine/platform/desktop.h"
#include "tests/platform/win32/test_window.h"

namespace velmor {
namespace {

using platform::WindowId;
using test::PumpUntil;
using test::TestWindow;

WindowId Id(HWND h) {
  return reinterpret_cast<WindowId>(h);
}

TEST(Win32Desktop, CursorPositionRoundTrip) {
  const platform::Point points[] = {{10, 20}, {640, 512}, {0, 0}, {1279, 1023}};
  for (const auto& p : points) {
    SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
    platform::SetCursorPos(p);
    EXPECT_TRUE(PumpUntil([&] { return platform::CursorPos() == p; }, 2000))
        << "cursor at " << platform::CursorPos().x << "," << platform::CursorPos().y;
  }
}

// A window on a thread of its own holds the foreground, as the target
// program does while the wheel is shown.
class ForeignWindowThread {
 public:
  ForeignWindowThread()
      : thread_([this] {
          TestWindow w(500, 300, 200, 150);
          w.TakeForeground();
          threadId_.store(GetCurrentThreadId());
          window_.store(w.hwnd());
          MSG msg;
          while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
        }) {
    PumpUntil([&] { return window_.load() != nullptr; });
  }
  ~ForeignWindowThread() { Stop(); }
  ForeignWindowThread(const ForeignWindowThread&) = delete;
  ForeignWindowThread& operator=(const ForeignWindowThread&) = delete;

  HWND hwnd() const { return window_.load(); }
  // Ends the thread, which destroys its window.
  void Stop() {
    if (!thread_.joinable()) return;
    // The thread's queue exists once its window does; before that the post
    // would be lost.
    PumpUntil([&] { return window_.load() != nullptr; });
    PostThreadMessageW(threadId_.load(), WM_QUIT, 0, 0);
    thread_.join();
  }

 private:
  std::atomic<DWORD> threadId_{0};
  std::atomic<HWND> window_{nullptr};
  std::thread thread_;
};

TEST(Win32Desktop, BringToForegroundTakesItFromAnotherThread) {
  TestWindow mine(100, 100, 200, 150);
  ForeignWindowThread other;
  ASSERT_NE(other.hwnd(), nullptr);
  ASSERT_TRUE(PumpUntil([&] { return platform::ForegroundWindow() == Id(other.hwnd()); }));

  platform::BringToForeground(Id(mine.hwnd()));
  EXPECT_TRUE(PumpUntil([&] { return platform::ForegroundWindow() == Id(mine.hwnd()); }));

  // Already in front: nothing changes.
  platform::BringToForeground(Id(mine.hwnd()));
  EXPECT_EQ(platform::ForegroundWindow(), Id(mine.hwnd()));
}

TEST(Win32Desktop, WindowExistsUntilDestroyed) {
  ForeignWindowThread other;
  HWND h = other.hwnd();
  ASSERT_NE(h, nullptr);
  EXPECT_TRUE(platform::WindowExists(Id(h)));
  other.Stop();
  EXPECT_FALSE(platform::WindowExists(Id(h)));
  EXPECT_FALSE(platform::WindowExists(0));
}

}  // namespace
}  // namespace velmor
