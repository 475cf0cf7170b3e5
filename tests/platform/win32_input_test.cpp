// Keys and buttons synthesized by the Win32 backend, as a window of this
// process receives them: the same path a target program's window sees.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/platform/desktop.h"
#include "engine/platform/input.h"
#include "tests/platform/win32/test_window.h"

namespace velmor {
namespace {

using test::PumpUntil;
using test::TestWindow;
using test::WindowMessage;

int ScanCode(LPARAM lParam) {
  return static_cast<int>((lParam >> 16) & 0xFF);
}
bool Extended(LPARAM lParam) {
  return ((lParam >> 24) & 1) != 0;
}

// Waits for the first message `msg` and returns it.
std::optional<WindowMessage> WaitFor(TestWindow& w, UINT msg) {
  auto find = [&] {
    return std::find_if(w.messages().begin(), w.messages().end(),
                        [&](const WindowMessage& m) { return m.msg == msg; });
  };
  if (!PumpUntil([&] { return find() != w.messages().end(); })) return std::nullopt;
  return *find();
}

class Win32Input : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(window_.TakeForeground()); }
  TestWindow window_{100, 100, 300, 200};
};

TEST_F(Win32Input, KeysArriveWithScanCodeAndExtendedFlag) {
  struct Case {
    std::uint16_t vk;
    bool extended;
    int scan;
  };
  const Case cases[] = {
      {0x41, false, 0x1E},  // A
      {VK_UP, true, 0x48}, {VK_DELETE, true, 0x53}, {VK_RETURN, false, 0x1C}, {VK_HOME, true, 0x47},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "vk " << std::hex << c.vk);
    window_.Clear();

    platform::SendKey(c.vk, c.extended, false);
    auto down = WaitFor(window_, WM_KEYDOWN);
    ASSERT_TRUE(down.has_value());
    EXPECT_EQ(down->wParam, c.vk);
    EXPECT_EQ(ScanCode(down->lParam), c.scan);
    EXPECT_EQ(Extended(down->lParam), c.extended);
    EXPECT_TRUE(platform::IsKeyDown(c.vk));

    platform::SendKey(c.vk, c.extended, true);
    auto up = WaitFor(window_, WM_KEYUP);
    ASSERT_TRUE(up.has_value());
    EXPECT_EQ(up->wParam, c.vk);
    EXPECT_EQ(ScanCode(up->lParam), c.scan);
    EXPECT_EQ(Extended(up->lParam), c.extended);
    EXPECT_FALSE(platform::IsKeyDown(c.vk));
  }
}

TEST_F(Win32Input, MouseButtonsArriveWithoutMovingTheCursor) {
  struct Case {
    int button;
    int vk;
    UINT down, up;
    WORD xbutton;  // HIWORD(wParam) of the X-button messages
  };
  const Case cases[] = {
      {0, VK_LBUTTON, WM_LBUTTONDOWN, WM_LBUTTONUP, 0},
      {1, VK_RBUTTON, WM_RBUTTONDOWN, WM_RBUTTONUP, 0},
      {2, VK_MBUTTON, WM_MBUTTONDOWN, WM_MBUTTONUP, 0},
      {3, VK_XBUTTON1, WM_XBUTTONDOWN, WM_XBUTTONUP, XBUTTON1},
      {4, VK_XBUTTON2, WM_XBUTTONDOWN, WM_XBUTTONUP, XBUTTON2},
  };
  POINT centre = window_.Centre();
  platform::SetCursorPos({centre.x, centre.y});
  ASSERT_TRUE(PumpUntil([&] {
    return platform::CursorPos() == platform::Point{centre.x, centre.y};
  }));

  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "button " << c.button);
    window_.Clear();

    platform::SendMouseButton(c.button, false);
    auto down = WaitFor(window_, c.down);
    ASSERT_TRUE(down.has_value());
    if (c.xbutton) {
      EXPECT_EQ(HIWORD(down->wParam), c.xbutton);
    }
    EXPECT_TRUE(platform::IsKeyDown(c.vk));

    platform::SendMouseButton(c.button, true);
    auto up = WaitFor(window_, c.up);
    ASSERT_TRUE(up.has_value());
    if (c.xbutton) {
      EXPECT_EQ(HIWORD(up->wParam), c.xbutton);
    }
    EXPECT_FALSE(platform::IsKeyDown(c.vk));
    EXPECT_EQ(platform::CursorPos(), (platform::Point{centre.x, centre.y}));
  }
}

TEST(Win32Shell, OpenStartsAProgram) {
  // A batch file stands in for the program a field opens; it leaves a marker.
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::filesystem::path dir =
      std::filesystem::path(temp) / ("velmor-open-" + std::to_string(GetCurrentProcessId()));
  std::filesystem::create_directories(dir);
  const auto marker = dir / "opened.txt";
  const auto script = dir / "open me.cmd";  // the space must survive the shell
  {
    std::ofstream out(script);
    out << "@echo opened> \"" << marker.string() << "\"\r\n";
  }

  platform::ShellOpen(script.u16string());
  EXPECT_TRUE(PumpUntil([&] { return std::filesystem::exists(marker); }, 20000));

  // cmd may hold the folder for a moment after writing the marker.
  std::error_code ec;
  PumpUntil(
      [&] {
        std::filesystem::remove_all(dir, ec);
        return !ec;
      },
      5000);
}

}  // namespace
}  // namespace velmor
