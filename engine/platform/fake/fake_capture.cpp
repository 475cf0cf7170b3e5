// Input capture of the fake backend: the capture the engine asked for, read
// back by tests, and input delivered as the hooks and raw input would.

#include <algorithm>
#include <string>

#include "engine/platform/fake/fake_platform.h"
#include "engine/platform/fake/fake_state.h"
#include "engine/platform/input_capture.h"

namespace velmor::platform {

namespace {

// The overlay windows' ids (see fake_overlay.cpp).
constexpr WindowId kOverlayWindowFirst = 0xF000, kOverlayWindowLast = 0xF003;

std::string KeyList(const std::vector<std::uint16_t>& vks) {
  if (vks.empty()) return "none";
  std::string out;
  for (auto vk : vks) {
    if (!out.empty()) out += ",";
    out += std::to_string(vk);
  }
  return out;
}

}  // namespace

void SetKeyboardCapture(const std::vector<std::uint16_t>& vks) {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  if (s.capturedKeys == vks) return;
  s.capturedKeys = vks;
  fake::RecordLocked(s, "capture keys " + KeyList(vks));
}

void SetMouseCapture(std::uint32_t buttons) {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  if (s.capturedButtons == buttons) return;
  s.capturedButtons = buttons;
  fake::RecordLocked(s, "capture mouse " + (buttons ? std::to_string(buttons) : "none"));
}

bool KeyboardCaptureInstalled() {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  return !s.capturedKeys.empty();
}

bool MouseCaptureInstalled() {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  return s.capturedButtons != 0;
}

bool ForegroundIsOwnProcess() {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  const WindowId w = s.foreground;
  return (w >= kOverlayWindowFirst && w <= kOverlayWindowLast) || s.ownWindows.count(w) > 0;
}

std::vector<InputDeviceInfo> ListInputDevices() {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  return s.devices;
}

int fake::PadLibraryLoads() {
  auto& s = GetState();
  std::lock_guard lock(s.mutex);
  return s.padLibraryLoads;
}

bool fake::CaptureInput(std::uint32_t code, bool down) {
  EngineEvents* sink = nullptr;
  {
    auto& s = GetState();
    std::lock_guard lock(s.mutex);
    const bool mouse = code >= kCaptureMouseBase;
    if (mouse ? s.capturedButtons == 0 : s.capturedKeys.empty()) return false;
    sink = s.sink;
  }
  return sink && sink->OnCapturedInput(code, down);
}

std::vector<std::uint16_t> fake::CapturedKeys() {
  auto& s = GetState();
  std::lock_guard lock(s.mutex);
  return s.capturedKeys;
}

std::uint32_t fake::CapturedButtons() {
  auto& s = GetState();
  std::lock_guard lock(s.mutex);
  return s.capturedButtons;
}

void fake::DeliverDeviceInput(const DeviceInput& input) {
  EngineEvents* sink = nullptr;
  {
    auto& s = GetState();
    std::lock_guard lock(s.mutex);
    sink = s.sink;
  }
  if (sink) sink->OnDeviceInput(input);
}

void fake::SetInputDevices(std::vector<InputDeviceInfo> devices) {
  auto& s = GetState();
  std::lock_guard lock(s.mutex);
  s.devices = std::move(devices);
}

void fake::SetOwnWindow(WindowId w, bool own) {
  auto& s = GetState();
  std::lock_guard lock(s.mutex);
  if (own)
    s.ownWindows.insert(w);
  else
    s.ownWindows.erase(w);
}

}  // namespace velmor::platform
