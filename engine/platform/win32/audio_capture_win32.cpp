// Microphone capture and the audio device lists.

#include "engine/platform/audio_capture.h"

namespace velmor::platform {

std::unique_ptr<AudioCapture> OpenAudioCapture(const std::u16string&) {
  return nullptr;
}

std::vector<std::u16string> AudioInputDevices() {
  return {};
}

std::vector<std::u16string> AudioOutputDevices() {
  return {};
}

}  // namespace velmor::platform
