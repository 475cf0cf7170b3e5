// Microphone capture and the audio device lists, through the waveIn and
// waveOut functions of winmm. Capture runs four 100 ms buffers that the
// driver fills in turn and signals through one auto-reset event.

#include <windows.h>
// After windows.h, whose types it uses.
#include <mmsystem.h>

#include <array>

#include "engine/platform/audio_capture.h"
#include "engine/platform/win32/unique_handle.h"

namespace velmor::platform {

namespace {

using win32::UniqueKernelHandle;

// A device's product name; the field holds at most MAXPNAMELEN characters
// with the terminator.
std::u16string ProductName(const WCHAR (&pname)[MAXPNAMELEN]) {
  std::size_t n = 0;
  while (n < MAXPNAMELEN && pname[n] != 0) ++n;
  return std::u16string(reinterpret_cast<const char16_t*>(pname), n);
}

class WaveInCapture final : public AudioCapture {
 public:
  WaveInCapture() = default;
  ~WaveInCapture() override {
    if (device_) {
      waveInStop(device_);
      waveInReset(device_);  // hands every queued buffer back
      for (auto& h : headers_)
        if (h.dwFlags & WHDR_PREPARED) waveInUnprepareHeader(device_, &h, sizeof h);
      waveInClose(device_);
    }
  }
  WaveInCapture(const WaveInCapture&) = delete;
  WaveInCapture& operator=(const WaveInCapture&) = delete;

  bool Open(UINT deviceId) {
    event_.reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    if (!event_) return false;
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 1;
    format.nSamplesPerSec = kAudioSampleRate;
    format.wBitsPerSample = 16;
    format.nBlockAlign = 2;
    format.nAvgBytesPerSec = kAudioSampleRate * 2;
    format.cbSize = 0;
    HWAVEIN device = nullptr;
    if (waveInOpen(&device, deviceId, &format, reinterpret_cast<DWORD_PTR>(event_.get()), 0,
                   CALLBACK_EVENT) != MMSYSERR_NOERROR)
      return false;
    device_ = device;
    for (std::size_t i = 0; i < headers_.size(); ++i) {
      WAVEHDR& h = headers_[i];
      h = WAVEHDR{};
      h.lpData = reinterpret_cast<LPSTR>(buffers_[i].data());
      h.dwBufferLength = static_cast<DWORD>(kAudioBlockBytes);
      if (waveInPrepareHeader(device_, &h, sizeof h) != MMSYSERR_NOERROR) return false;
      if (waveInAddBuffer(device_, &h, sizeof h) != MMSYSERR_NOERROR) return false;
    }
    return waveInStart(device_) == MMSYSERR_NOERROR;
  }

  bool Wait(int timeoutMs, std::vector<std::vector<std::uint8_t>>& blocks) override {
    if (failed_) return false;
    bool anyDone = false;
    for (const auto& h : headers_) anyDone = anyDone || (h.dwFlags & WHDR_DONE);
    // The event also clears when the buffers it announced are taken here.
    DWORD wait = anyDone ? 0 : static_cast<DWORD>(timeoutMs < 0 ? 0 : timeoutMs);
    if (WaitForSingleObject(event_.get(), wait) == WAIT_FAILED) return Fail();
    for (std::size_t i = 0; i < headers_.size(); ++i) {
      WAVEHDR& h = headers_[i];
      if (!(h.dwFlags & WHDR_DONE)) continue;
      DWORD n = h.dwBytesRecorded;
      if (n > kAudioBlockBytes) n = static_cast<DWORD>(kAudioBlockBytes);
      blocks.emplace_back(buffers_[i].begin(), buffers_[i].begin() + n);
      h.dwFlags &= ~static_cast<DWORD>(WHDR_DONE);
      h.dwBytesRecorded = 0;
      // A device that has gone away refuses its buffers (MMSYSERR_NODRIVER
      // and the like).
      if (waveInAddBuffer(device_, &h, sizeof h) != MMSYSERR_NOERROR) return Fail();
    }
    return true;
  }

 private:
  bool Fail() {
    failed_ = true;
    return false;
  }

  UniqueKernelHandle event_;
  HWAVEIN device_ = nullptr;
  // The driver holds the headers' and buffers' addresses while they are
  // queued: the object never moves (it lives behind a unique_ptr).
  std::array<WAVEHDR, kAudioBlocksInFlight> headers_{};
  std::array<std::array<std::uint8_t, kAudioBlockBytes>, kAudioBlocksInFlight> buffers_{};
  bool failed_ = false;
};

}  // namespace

std::unique_ptr<AudioCapture> OpenAudioCapture(const std::u16string& deviceName) {
  UINT deviceId = WAVE_MAPPER;
  if (!deviceName.empty()) {
    UINT count = waveInGetNumDevs();
    for (UINT i = 0; i < count; ++i) {
      WAVEINCAPSW caps{};
      if (waveInGetDevCapsW(i, &caps, sizeof caps) == MMSYSERR_NOERROR &&
          ProductName(caps.szPname) == deviceName) {
        deviceId = i;
        break;
      }
    }
  }
  auto capture = std::make_unique<WaveInCapture>();
  if (!capture->Open(deviceId)) return nullptr;
  return capture;
}

std::vector<std::u16string> AudioInputDevices() {
  std::vector<std::u16string> names;
  UINT count = waveInGetNumDevs();
  for (UINT i = 0; i < count; ++i) {
    WAVEINCAPSW caps{};
    if (waveInGetDevCapsW(i, &caps, sizeof caps) == MMSYSERR_NOERROR)
      names.push_back(ProductName(caps.szPname));
  }
  return names;
}

std::vector<std::u16string> AudioOutputDevices() {
  std::vector<std::u16string> names;
  UINT count = waveOutGetNumDevs();
  for (UINT i = 0; i < count; ++i) {
    WAVEOUTCAPSW caps{};
    if (waveOutGetDevCapsW(i, &caps, sizeof caps) == MMSYSERR_NOERROR)
      names.push_back(ProductName(caps.szPname));
  }
  return names;
}

}  // namespace velmor::platform
