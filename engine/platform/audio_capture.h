#pragma once

// Microphone capture for the recogniser: 16-bit mono PCM at 16000 samples
// per second, delivered in 100 ms blocks (3200 bytes) with four in flight.
// One capture is used by one thread (the recogniser's).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace velmor::platform {

inline constexpr int kAudioSampleRate = 16000;
inline constexpr std::size_t kAudioBlockBytes = 3200;  // 100 ms
inline constexpr int kAudioBlocksInFlight = 4;

class AudioCapture {
 public:
  virtual ~AudioCapture() = default;
  // Waits at most `timeoutMs` for the device to fill blocks, then moves every
  // filled block, in capture order, into `blocks` (each at most
  // kAudioBlockBytes; an empty one when the device returned a block without
  // data) and queues them again. Returns at once when blocks are already
  // filled. False once the device has failed or gone away; it is not
  // reopened.
  virtual bool Wait(int timeoutMs, std::vector<std::vector<std::uint8_t>>& blocks) = 0;
};

// Opens the capture device whose product name equals `deviceName` exactly
// (case-sensitive, whole name); the system's default device when the name
// is empty or no device has it. Capturing has started when this returns.
// Null when no device could be opened.
std::unique_ptr<AudioCapture> OpenAudioCapture(const std::u16string& deviceName);

// The product names of the capture and the playback devices whose
// capabilities can be read, in device order.
std::vector<std::u16string> AudioInputDevices();
std::vector<std::u16string> AudioOutputDevices();

}  // namespace velmor::platform
