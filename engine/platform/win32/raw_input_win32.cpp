// Raw input of the wheel window: keys, mouse buttons and game device buttons
// of each identified device for the device rules, and mouse motion for the
// wheel. Raw input only watches; nothing here can swallow an event.

#include <windows.h>
// After windows.h, which it builds on; it brings the HID parser's header.
// mingw-w64's HID headers declare C functions without saying so.
extern "C" {
#include <hidsdi.h>
}

#include <cstddef>
#include <unordered_map>
#include <vector>

#include "engine/platform/overlay_window.h"
#include "engine/platform/win32/engine_window_win32.h"
#include "engine/platform/win32/input_capture_win32.h"

namespace velmor::platform::win32 {

namespace {

constexpr USAGE kButtonUsagePage = 9;
constexpr ULONG kMaxUsages = 64;

// What one game device's reports need from one report to the next.
struct HidDevice {
  std::vector<BYTE> preparsed;  // empty until the first report
  bool unusable = false;        // its preparsed data could not be read
  std::uint64_t bits = 0;       // the buttons held at the last report
};

// The caches live on the GUI thread, where WM_INPUT arrives; a handle stays
// valid while its device is plugged in, which is what they are kept for.
std::unordered_map<HANDLE, std::u16string>& Names() {
  static std::unordered_map<HANDLE, std::u16string> names;
  return names;
}

std::unordered_map<HANDLE, HidDevice>& HidDevices() {
  static std::unordered_map<HANDLE, HidDevice> devices;
  return devices;
}

// Grows to the largest packet seen and stays: allocating for every packet
// of a 1000 Hz mouse would be waste. operator new aligns it for RAWINPUT.
std::vector<BYTE>& PacketBuffer() {
  static std::vector<BYTE> buffer;
  return buffer;
}

const std::u16string* NameOf(HANDLE device) {
  auto& names = Names();
  if (auto it = names.find(device); it != names.end()) return &it->second;
  std::optional<std::u16string> name = QueryDeviceName(device);
  if (!name) return nullptr;
  return &names.emplace(device, std::move(*name)).first->second;
}

constexpr std::size_t kHeader = sizeof(RAWINPUTHEADER);

void ReportKeyboard(const RAWINPUT& input, std::size_t bytes, EngineEvents& sink) {
  if (bytes < kHeader + sizeof(RAWKEYBOARD)) return;
  const RAWKEYBOARD& k = input.data.keyboard;
  // 255 marks the fake keys the system adds around some real ones.
  if (k.VKey == 0 || k.VKey == 0xFF) return;
  const std::u16string* name = NameOf(input.header.hDevice);
  if (!name) return;
  sink.OnDeviceInput({*name, DeviceKind::Keyboard, k.VKey, (k.Flags & RI_KEY_BREAK) == 0});
}

struct MouseTransition {
  USHORT flag;
  std::uint32_t button;
  bool down;
};

// In this order when one report carries several.
constexpr MouseTransition kMouseTransitions[] = {
    {RI_MOUSE_LEFT_BUTTON_DOWN, 0, true},   {RI_MOUSE_LEFT_BUTTON_UP, 0, false},
    {RI_MOUSE_RIGHT_BUTTON_DOWN, 1, true},  {RI_MOUSE_RIGHT_BUTTON_UP, 1, false},
    {RI_MOUSE_MIDDLE_BUTTON_DOWN, 2, true}, {RI_MOUSE_MIDDLE_BUTTON_UP, 2, false},
    {RI_MOUSE_BUTTON_4_DOWN, 3, true},      {RI_MOUSE_BUTTON_4_UP, 3, false},
    {RI_MOUSE_BUTTON_5_DOWN, 4, true},      {RI_MOUSE_BUTTON_5_UP, 4, false},
};

void ReportMouse(const RAWINPUT& input, std::size_t bytes, bool wheelShown, EngineEvents& sink) {
  if (bytes < kHeader + sizeof(RAWMOUSE)) return;
  const RAWMOUSE& m = input.data.mouse;
  // While the wheel is shown its clicks drive the wheel's cursor, and no
  // rule may act on them.
  if (!wheelShown) {
    const std::u16string* name = nullptr;
    for (const MouseTransition& t : kMouseTransitions) {
      if ((m.usButtonFlags & t.flag) == 0) continue;
      if (!name && !(name = NameOf(input.header.hDevice))) break;
      sink.OnDeviceInput({*name, DeviceKind::Mouse, t.button, t.down});
    }
  }
  // Tablets and remote sessions report absolute positions, which are no
  // motion of the virtual cursor.
  const bool relative = (m.usFlags & MOUSE_MOVE_ABSOLUTE) == 0;
  const int dx = relative ? static_cast<int>(m.lLastX) : 0;
  const int dy = relative ? static_cast<int>(m.lLastY) : 0;
  const bool leftDown = (m.usButtonFlags & RI_MOUSE_LEFT_BUTTON_DOWN) != 0;
  if (dx != 0 || dy != 0 || leftDown) sink.OnRawMouse(dx, dy, leftDown);
}

bool FetchPreparsedData(HANDLE device, std::vector<BYTE>& out) {
  UINT size = 0;
  if (GetRawInputDeviceInfoW(device, RIDI_PREPARSEDDATA, nullptr, &size) != 0 || size == 0) {
    return false;
  }
  out.resize(size);
  if (GetRawInputDeviceInfoW(device, RIDI_PREPARSEDDATA, out.data(), &size) == UINT(-1)) {
    out.clear();
    return false;
  }
  return true;
}

void ReportHidReport(HANDLE device, BYTE* report, ULONG size, EngineEvents& sink) {
  HidDevice& hid = HidDevices()[device];
  if (hid.unusable || size == 0) return;
  if (hid.preparsed.empty() && !FetchPreparsedData(device, hid.preparsed)) {
    // Until the engine stops: asking again for every report of a device
    // that cannot answer would only repeat the failure.
    hid.unusable = true;
    return;
  }
  USAGE usages[kMaxUsages];
  ULONG count = kMaxUsages;
  const NTSTATUS status =
      HidP_GetUsages(HidP_Input, kButtonUsagePage, 0, usages, &count,
                     reinterpret_cast<PHIDP_PREPARSED_DATA>(hid.preparsed.data()),
                     reinterpret_cast<PCHAR>(report), size);
  if (status != HIDP_STATUS_SUCCESS) return;
  const std::uint64_t bits = ButtonBits(usages, count);
  if (bits == hid.bits) return;
  const std::u16string* name = NameOf(device);
  if (!name) {
    hid.bits = bits;
    return;
  }
  ReportButtonChanges(hid.bits, bits, *name, sink);
}

void ReportHid(const RAWINPUT& input, std::size_t bytes, EngineEvents& sink) {
  const std::size_t offset = offsetof(RAWINPUT, data.hid.bRawData);
  if (bytes < offset) return;
  const RAWHID& h = input.data.hid;
  const std::size_t reportSize = h.dwSizeHid;
  // Both are the packet's own claims: never read past what was received.
  if (reportSize != 0 && h.dwCount > (bytes - offset) / reportSize) return;
  // HidP_GetUsages only reads the report, though it takes it as writable.
  BYTE* data = const_cast<BYTE*>(h.bRawData);
  for (DWORD i = 0; i < h.dwCount; ++i) {
    ReportHidReport(input.header.hDevice, data + i * reportSize, h.dwSizeHid, sink);
  }
}

}  // namespace

std::optional<std::u16string> QueryDeviceName(HANDLE device) {
  if (!device) return std::u16string();
  UINT chars = 0;
  if (GetRawInputDeviceInfoW(device, RIDI_DEVICENAME, nullptr, &chars) != 0) return std::nullopt;
  std::wstring name(chars, L'\0');
  const UINT got = GetRawInputDeviceInfoW(device, RIDI_DEVICENAME, name.data(), &chars);
  if (got == UINT(-1)) return std::nullopt;
  if (got < name.size()) name.resize(got);
  while (!name.empty() && name.back() == L'\0') name.pop_back();
  if (!name.empty()) CharLowerBuffW(name.data(), static_cast<DWORD>(name.size()));
  return std::u16string(name.begin(), name.end());
}

void ReadRawInput(HRAWINPUT handle) {
  EngineEvents* sink = EngineSink();
  if (!sink) return;
  UINT size = 0;
  if (GetRawInputData(handle, RID_INPUT, nullptr, &size, kHeader) != 0) return;
  std::vector<BYTE>& buffer = PacketBuffer();
  // At least one whole RAWINPUT, so that reading it as one stays inside
  // the buffer; the parts a packet leaves out are checked by its size.
  const std::size_t wanted = size > sizeof(RAWINPUT) ? size : sizeof(RAWINPUT);
  if (buffer.size() < wanted) buffer.resize(wanted);
  const UINT got = GetRawInputData(handle, RID_INPUT, buffer.data(), &size, kHeader);
  if (got == UINT(-1) || got < kHeader) return;
  ReportRawInput(*reinterpret_cast<const RAWINPUT*>(buffer.data()), got,
                 OverlayShown(OverlayKind::kWheel), *sink);
}

void ReportRawInput(const RAWINPUT& input, std::size_t bytes, bool wheelShown, EngineEvents& sink) {
  if (bytes < kHeader) return;
  switch (input.header.dwType) {
    case RIM_TYPEKEYBOARD:
      ReportKeyboard(input, bytes, sink);
      break;
    case RIM_TYPEMOUSE:
      ReportMouse(input, bytes, wheelShown, sink);
      break;
    case RIM_TYPEHID:
      ReportHid(input, bytes, sink);
      break;
    default:
      break;
  }
}

void ClearRawInputCaches() {
  Names().clear();
  HidDevices().clear();
}

std::uint64_t ButtonBits(const std::uint16_t* usages, std::size_t count) {
  std::uint64_t bits = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint16_t u = usages[i];
    if (u >= 1 && u <= 64) bits |= std::uint64_t{1} << (u - 1);
  }
  return bits;
}

void ReportButtonChanges(std::uint64_t& last, std::uint64_t bits, const std::u16string& device,
                         EngineEvents& sink) {
  const std::uint64_t changed = last ^ bits;
  last = bits;
  for (std::uint32_t j = 1; j <= 64; ++j) {
    const std::uint64_t bit = std::uint64_t{1} << (j - 1);
    if (changed & bit) sink.OnDeviceInput({device, DeviceKind::Pad, j, (bits & bit) != 0});
  }
}

}  // namespace velmor::platform::win32
