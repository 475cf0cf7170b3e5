// Game pads on Linux: evdev devices that have the gamepad button, in the
// order the kernel numbered them. The state is asked of the kernel on each
// read (EVIOCGKEY, EVIOCGABS); the queued events are only drained, so that
// a pad nobody reads often does not keep a full buffer.

#include <dirent.h>
#include <fcntl.h>
#include <linux/input.h>
#include <sys/ioctl.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/platform/linux/unique_fd.h"
#include "engine/platform/overlay_input.h"
#include "engine/platform/pad_mapping.h"

namespace velmor::platform {

namespace {

using linux_backend::UniqueFd;

constexpr const char* kInputDir = "/dev/input";
constexpr int kMaxPads = 4;
// Looking for new pads opens every event device; not on every 40 ms tick.
constexpr long long kRescanNs = 2'000'000'000;

static_assert(evdev::kBtnGamepad == BTN_GAMEPAD && evdev::kBtnNorth == BTN_NORTH &&
              evdev::kBtnWest == BTN_WEST && evdev::kAbsZ == ABS_Z && evdev::kAbsRz == ABS_RZ &&
              evdev::kAbsHat0X == ABS_HAT0X && evdev::kBtnDpadUp == BTN_DPAD_UP);

template <std::size_t Bits>
using BitArray = std::array<unsigned char, (Bits + 7) / 8>;

template <std::size_t Bits>
bool TestBit(const BitArray<Bits>& bits, unsigned bit) {
  return bit < Bits && (bits[bit / 8] >> (bit % 8)) & 1;
}

struct Pad {
  std::string path;
  UniqueFd fd;
};

struct Pads {
  std::vector<Pad> open;
  long long lastScanNs = LLONG_MIN / 2;
};

Pads& ThePads() {
  static Pads p;
  return p;
}

long long NowNs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<long long>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

bool IsGamepad(int fd) {
  BitArray<KEY_MAX + 1> keys{};
  if (ioctl(fd, EVIOCGBIT(EV_KEY, sizeof keys), keys.data()) < 0) return false;
  return TestBit<KEY_MAX + 1>(keys, BTN_GAMEPAD);
}

// event3 before event12.
int EventNumber(const std::string& name) {
  return std::atoi(name.c_str() + 5);
}

void Rescan(Pads& pads) {
  std::vector<std::string> names;
  if (DIR* dir = opendir(kInputDir)) {
    while (dirent* e = readdir(dir))
      if (std::strncmp(e->d_name, "event", 5) == 0) names.emplace_back(e->d_name);
    closedir(dir);
  }
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return EventNumber(a) < EventNumber(b);
  });
  std::vector<Pad> found;
  for (const std::string& name : names) {
    if (found.size() == kMaxPads) break;
    std::string path = std::string(kInputDir) + "/" + name;
    auto kept = std::find_if(pads.open.begin(), pads.open.end(),
                             [&](const Pad& p) { return p.path == path && p.fd; });
    if (kept != pads.open.end()) {
      found.push_back(std::move(*kept));
      continue;
    }
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd && IsGamepad(fd.get())) found.push_back({path, std::move(fd)});
  }
  pads.open = std::move(found);
}

// False when the device went away.
bool Drain(int fd) {
  input_event events[64];
  for (;;) {
    ssize_t n = ::read(fd, events, sizeof events);
    if (n > 0) continue;
    return n < 0 && (errno == EAGAIN || errno == EINTR);
  }
}

bool AbsInfo(int fd, unsigned axis, input_absinfo* info) {
  return ioctl(fd, EVIOCGABS(axis), info) == 0;
}

PadState StateOf(int fd) {
  PadState st;
  BitArray<KEY_MAX + 1> keys{};
  BitArray<KEY_MAX + 1> down{};
  BitArray<ABS_MAX + 1> axes{};
  if (ioctl(fd, EVIOCGBIT(EV_KEY, sizeof keys), keys.data()) < 0 ||
      ioctl(fd, EVIOCGKEY(sizeof down), down.data()) < 0)
    return st;
  ioctl(fd, EVIOCGBIT(EV_ABS, sizeof axes), axes.data());
  st.connected = true;
  for (const PadKeyBit& e : PadKeyBits())
    if (TestBit<KEY_MAX + 1>(down, e.code)) st.buttons |= e.bit;
  input_absinfo x{}, y{};
  if (TestBit<ABS_MAX + 1>(axes, ABS_HAT0X) && TestBit<ABS_MAX + 1>(axes, ABS_HAT0Y) &&
      AbsInfo(fd, ABS_HAT0X, &x) && AbsInfo(fd, ABS_HAT0Y, &y))
    st.buttons |= PadBitsForHat(x.value, y.value);
  // Analog triggers where the pad has them, else the digital ones.
  auto trigger = [&](unsigned axis, unsigned button) -> std::uint8_t {
    input_absinfo info{};
    if (TestBit<ABS_MAX + 1>(axes, axis) && AbsInfo(fd, axis, &info))
      return PadTriggerValue(info.value, info.minimum, info.maximum);
    return TestBit<KEY_MAX + 1>(down, button) ? 255 : 0;
  };
  st.leftTrigger = trigger(ABS_Z, BTN_TL2);
  st.rightTrigger = trigger(ABS_RZ, BTN_TR2);
  return st;
}

}  // namespace

bool LoadPadLibrary() {
  // No pad plugged in yet is fine; a system without evdev access is not.
  return ::access(kInputDir, R_OK | X_OK) == 0;
}

PadState ReadPad(int index) {
  if (index < 0 || index >= kMaxPads) return {};
  Pads& pads = ThePads();
  long long now = NowNs();
  if (now - pads.lastScanNs >= kRescanNs) {
    pads.lastScanNs = now;
    Rescan(pads);
  }
  if (static_cast<std::size_t>(index) >= pads.open.size()) return {};
  Pad& pad = pads.open[static_cast<std::size_t>(index)];
  if (!pad.fd) return {};
  if (!Drain(pad.fd.get())) {
    // Unplugged: the next scan renumbers the rest, as XInput keeps the
    // slot empty until then.
    pad.fd.reset();
    return {};
  }
  return StateOf(pad.fd.get());
}

}  // namespace velmor::platform
