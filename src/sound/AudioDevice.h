#pragma once
// Sole owner of the OpenAL device and its context, made current on opening.
// Move-only; the context is destroyed before the device is closed.
#include <AL/alc.h>

class AudioDevice {
 public:
  // Opens the default device and a context on it; on failure nothing is held.
  AudioDevice();
  ~AudioDevice();
  AudioDevice(const AudioDevice&) = delete;
  AudioDevice& operator=(const AudioDevice&) = delete;
  AudioDevice(AudioDevice&& other) noexcept;
  AudioDevice& operator=(AudioDevice&& other) noexcept;

  // A device with a current context: sounds can play.
  bool isOpen() const { return context != nullptr; }

 private:
  void close();
  ALCdevice* device = nullptr;
  ALCcontext* context = nullptr;
};
