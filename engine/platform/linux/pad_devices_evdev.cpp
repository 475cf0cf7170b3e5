// Joysticks and game pads for the per-device stream, read from evdev. Each
// device is opened once while the raw input is registered and watched by
// the engine's event queue; /dev/input is watched with inotify, so a device
// plugged in later (or made readable by udev a moment after it appears) is
// opened then.

#include "engine/platform/linux/pad_devices_evdev.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/input.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "engine/platform/linux/event_queue_linux.h"
#include "engine/platform/linux/unique_fd.h"

namespace velmor::platform::linux_backend {

namespace {

constexpr const char* kInputDir = "/dev/input";

using KeyBits = std::array<unsigned char, (KEY_MAX + 8) / 8>;

bool TestBit(const KeyBits& bits, unsigned bit) {
  return bit <= KEY_MAX && (bits[bit / 8] >> (bit % 8)) & 1;
}

struct Device {
  std::string path;
  UniqueFd fd;
  std::u16string text;
  PadButtonTracker tracker;
};

struct PadDevices {
  std::mutex mutex;
  bool on = false;
  UniqueFd inotify;
  std::vector<Device> open;
};

PadDevices& ThePads() {
  static PadDevices p;
  return p;
}

// event3 before event12.
int EventNumber(const std::string& name) {
  return std::atoi(name.c_str() + 5);
}

std::vector<std::string> EventDevicePaths() {
  std::vector<std::string> names;
  if (DIR* dir = opendir(kInputDir)) {
    while (dirent* e = readdir(dir))
      if (std::strncmp(e->d_name, "event", 5) == 0) names.emplace_back(e->d_name);
    closedir(dir);
  }
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return EventNumber(a) < EventNumber(b);
  });
  for (std::string& n : names) n = std::string(kInputDir) + "/" + n;
  return names;
}

// A joystick or game pad: some button of the joystick or game-pad blocks
// (BTN_TRIGGER to BTN_THUMBR), the usages 4 and 5 of HID.
bool IsGameDevice(const KeyBits& keys) {
  for (unsigned code = BTN_JOYSTICK; code < BTN_DIGI; ++code)
    if (TestBit(keys, code)) return true;
  return false;
}

struct Probe {
  KeyBits keys{};
  std::u16string text;
};

bool ProbeDevice(int fd, Probe& out) {
  if (ioctl(fd, EVIOCGBIT(EV_KEY, sizeof out.keys), out.keys.data()) < 0) return false;
  if (!IsGameDevice(out.keys)) return false;
  input_id id{};
  ioctl(fd, EVIOCGID, &id);
  char name[256] = {};
  if (ioctl(fd, EVIOCGNAME(sizeof name - 1), name) < 0) name[0] = 0;
  out.text = PadDeviceText(id.vendor, id.product, name);
  return true;
}

std::vector<std::uint16_t> KeyCodes(const KeyBits& keys) {
  std::vector<std::uint16_t> codes;
  for (unsigned code = BTN_MISC; code <= KEY_MAX; ++code)
    if (TestBit(keys, code)) codes.push_back(static_cast<std::uint16_t>(code));
  return codes;
}

void Rescan(PadDevices& pads) {
  std::vector<Device> found;
  for (const std::string& path : EventDevicePaths()) {
    auto kept = std::find_if(pads.open.begin(), pads.open.end(),
                             [&](const Device& d) { return d.path == path && d.fd; });
    if (kept != pads.open.end()) {
      found.push_back(std::move(*kept));
      continue;
    }
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    Probe probe;
    if (!fd || !ProbeDevice(fd.get(), probe)) continue;
    Device d{path, std::move(fd), std::move(probe.text),
             PadButtonTracker(PadButtonOrdinals(KeyCodes(probe.keys)))};
    // Buttons already held when it is opened are no change.
    KeyBits down{};
    if (ioctl(d.fd.get(), EVIOCGKEY(sizeof down), down.data()) >= 0)
      d.tracker.Resync([&](std::uint16_t code) { return TestBit(down, code); },
                       [](unsigned, bool) {});
    WatchDescriptor(d.fd.get());
    found.push_back(std::move(d));
  }
  for (Device& d : pads.open)
    if (d.fd) UnwatchDescriptor(d.fd.get());
  pads.open = std::move(found);
}

}  // namespace

std::vector<PadButton> PadButtonOrdinals(const std::vector<std::uint16_t>& keyCodes) {
  std::vector<std::uint16_t> codes = keyCodes;
  std::sort(codes.begin(), codes.end());
  codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
  std::vector<PadButton> out;
  auto add = [&](bool joystickBlock) {
    for (std::uint16_t c : codes) {
      if (c < BTN_MISC || (c >= BTN_JOYSTICK) != joystickBlock) continue;
      if (out.size() == kMaxPadButtons) return;
      out.push_back({c, static_cast<unsigned>(out.size() + 1)});
    }
  };
  add(true);
  add(false);
  return out;
}

std::u16string PadDeviceText(unsigned vendor, unsigned product, const std::string& name) {
  std::string text;
  if (vendor != 0 || product != 0) {
    char head[40];
    std::snprintf(head, sizeof head, "usb#vid_%04x&pid_%04x#", vendor & 0xFFFFu, product & 0xFFFFu);
    text = head;
  }
  for (char c : name) text += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  // Device names are ASCII in practice; other bytes are kept one for one.
  std::u16string out;
  for (char c : text) out += static_cast<char16_t>(static_cast<unsigned char>(c));
  return out;
}

PadButtonTracker::PadButtonTracker(std::vector<PadButton> buttons) : buttons_(std::move(buttons)) {}

void PadButtonTracker::Feed(unsigned type, unsigned code, int value, const Change& change) {
  if (type == EV_SYN && code == SYN_DROPPED) {
    dropped_ = true;
    return;
  }
  if (dropped_) {
    // Everything up to the next report is incomplete; Resync follows it.
    return;
  }
  if (type == EV_SYN && code == SYN_REPORT) {
    Report(change);
    return;
  }
  if (type != EV_KEY || value == 2) return;  // 2: auto-repeat
  for (const PadButton& b : buttons_) {
    if (b.code != code) continue;
    const std::uint64_t bit = std::uint64_t{1} << (b.ordinal - 1);
    pending_ = value ? pending_ | bit : pending_ & ~bit;
  }
}

void PadButtonTracker::Report(const Change& change) {
  const std::uint64_t changed = reported_ ^ pending_;
  reported_ = pending_;
  for (unsigned j = 1; j <= kMaxPadButtons; ++j)
    if ((changed >> (j - 1)) & 1) change(j, (reported_ >> (j - 1)) & 1);
}

void PadButtonTracker::Resync(const std::function<bool(std::uint16_t)>& down,
                              const Change& change) {
  dropped_ = false;
  pending_ = 0;
  for (const PadButton& b : buttons_)
    if (down(b.code)) pending_ |= std::uint64_t{1} << (b.ordinal - 1);
  Report(change);
}

void SetPadDeviceEvents(bool on) {
  PadDevices& pads = ThePads();
  std::lock_guard lock(pads.mutex);
  if (on == pads.on) return;
  pads.on = on;
  if (!on) {
    for (Device& d : pads.open)
      if (d.fd) UnwatchDescriptor(d.fd.get());
    pads.open.clear();
    if (pads.inotify) UnwatchDescriptor(pads.inotify.get());
    pads.inotify.reset();
    return;
  }
  UniqueFd in(inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
  if (in && inotify_add_watch(in.get(), kInputDir, IN_CREATE | IN_ATTRIB | IN_DELETE) >= 0) {
    WatchDescriptor(in.get());
    pads.inotify = std::move(in);
  }
  Rescan(pads);
}

void CollectPadDeviceEvents(const std::function<void(const DeviceInput&)>& report) {
  PadDevices& pads = ThePads();
  std::lock_guard lock(pads.mutex);
  if (!pads.on) return;
  if (pads.inotify) {
    alignas(inotify_event) char buf[4096];
    bool any = false;
    while (::read(pads.inotify.get(), buf, sizeof buf) > 0) any = true;
    if (any) Rescan(pads);
  }
  for (Device& d : pads.open) {
    if (!d.fd) continue;
    auto change = [&](unsigned ordinal, bool down) {
      report({d.text, DeviceKind::Pad, ordinal, down});
    };
    input_event events[64];
    for (;;) {
      ssize_t n = ::read(d.fd.get(), events, sizeof events);
      if (n <= 0) {
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
          // Unplugged: the inotify deletion rescans the rest.
          UnwatchDescriptor(d.fd.get());
          d.fd.reset();
        }
        break;
      }
      for (ssize_t i = 0; i < n / static_cast<ssize_t>(sizeof(input_event)); ++i)
        d.tracker.Feed(events[i].type, events[i].code, events[i].value, change);
    }
    if (d.fd && d.tracker.dropped()) {
      KeyBits down{};
      if (ioctl(d.fd.get(), EVIOCGKEY(sizeof down), down.data()) >= 0)
        d.tracker.Resync([&](std::uint16_t code) { return TestBit(down, code); }, change);
    }
  }
}

std::vector<InputDeviceInfo> ListPadDevices() {
  std::vector<InputDeviceInfo> out;
  for (const std::string& path : EventDevicePaths()) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    Probe probe;
    if (fd && ProbeDevice(fd.get(), probe)) out.push_back({std::move(probe.text), DeviceKind::Pad});
  }
  return out;
}

}  // namespace velmor::platform::linux_backend
