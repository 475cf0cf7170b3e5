#pragma once

// Private messages of the engine's main window, and the message a posted
// toggle-key press uses. The values are part of the engine's interface:
// other processes post them too.

#include <cstdint>

namespace velmor {

inline constexpr std::uint32_t kWmApp = 0x8000;
inline constexpr std::uint32_t kWmHotkey = 0x0312;  // wParam: hotkey id (1 = toggle the wheel)

inline constexpr std::uint32_t WM_OVL_WHEELCLICK = kWmApp + 2;
inline constexpr std::uint32_t WM_OVL_COMMAND = kWmApp + 3;
inline constexpr std::uint32_t WM_OVL_RUNFIELD = kWmApp + 4;
inline constexpr std::uint32_t WM_OVL_ELEMENTS = kWmApp + 5;
inline constexpr std::uint32_t WM_OVL_RUNCOMMAND = kWmApp + 7;
inline constexpr std::uint32_t WM_OVL_TOAST = kWmApp + 8;
inline constexpr std::uint32_t WM_OVL_HELDKEYS = kWmApp + 9;
inline constexpr std::uint32_t WM_OVL_SELECTWHEEL = kWmApp + 10;
inline constexpr std::uint32_t WM_OVL_REHOOK = kWmApp + 11;
inline constexpr std::uint32_t WM_OVL_VPADSYNC = kWmApp + 12;
inline constexpr std::uint32_t WM_OVL_STEER = kWmApp + 13;
inline constexpr std::uint32_t WM_OVL_SCHEME = kWmApp + 14;

// Timer ids of the main window.
inline constexpr std::uint32_t kTimerPadToggle = 7001;
inline constexpr std::uint32_t kTimerLauncher = 7002;
inline constexpr std::uint32_t kTimerToast = 7003;
inline constexpr std::uint32_t kTimerMinimiseCheck = 7004;
inline constexpr std::uint32_t kTimerPadRules = 7005;
inline constexpr std::uint32_t kTimerVpadSync = 7006;
inline constexpr std::uint32_t kTimerGestures = 7007;
// The wheel's own 15 ms tick (timer 1 of the wheel window on Windows).
inline constexpr std::uint32_t kTimerWheelTick = 1;

// Copy-data tags: 1 activates the wheel file whose UTF-16 path is the
// payload; 2 asks a headless engine host to stop.
inline constexpr std::uintptr_t kCopyDataActivate = 1;
inline constexpr std::uintptr_t kCopyDataQuit = 2;

}  // namespace velmor
