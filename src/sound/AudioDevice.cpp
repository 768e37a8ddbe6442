#include "sound/AudioDevice.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <utility>

namespace {

// Standard error pointed at /dev/null for the object's life. The audio
// back ends print every device they fail to probe (several lines on a machine
// without a sound card); the game says in one line of its own what it found.
class QuietStandardError {
 public:
  QuietStandardError() {
    std::fflush(stderr);
    saved = dup(STDERR_FILENO);
    const int sink = open("/dev/null", O_WRONLY);
    if (saved >= 0 && sink >= 0) dup2(sink, STDERR_FILENO);
    if (sink >= 0) close(sink);
  }
  ~QuietStandardError() {
    std::fflush(stderr);
    if (saved >= 0) {
      dup2(saved, STDERR_FILENO);
      close(saved);
    }
  }
  QuietStandardError(const QuietStandardError&) = delete;
  QuietStandardError& operator=(const QuietStandardError&) = delete;

 private:
  int saved = -1;
};

}  // namespace

AudioDevice::AudioDevice() {
  const QuietStandardError quiet;
  device = alcOpenDevice(nullptr);
  if (device == nullptr) return;
  context = alcCreateContext(device, nullptr);
  if (context == nullptr || alcMakeContextCurrent(context) != ALC_TRUE) close();
}

AudioDevice::~AudioDevice() { close(); }

AudioDevice::AudioDevice(AudioDevice&& other) noexcept
    : device(std::exchange(other.device, nullptr)), context(std::exchange(other.context, nullptr)) {}

AudioDevice& AudioDevice::operator=(AudioDevice&& other) noexcept {
  if (this != &other) {
    close();
    device = std::exchange(other.device, nullptr);
    context = std::exchange(other.context, nullptr);
  }
  return *this;
}

void AudioDevice::close() {
  if (context != nullptr) {
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(context);
    context = nullptr;
  }
  if (device != nullptr) {
    alcCloseDevice(device);
    device = nullptr;
  }
}
