#pragma once
// Owns one OpenAL buffer: empty until create(), deleted with the owner. Needs
// a current context.
#include <AL/al.h>

#include <cstdint>
#include <vector>

#include "common/UniqueName.h"

class AlBuffer {
 public:
  AlBuffer() = default;  // empty: name 0
  static AlBuffer create();

  ALuint name() const { return handle.get(); }
  // Fills the buffer with 16-bit mono samples at the given rate.
  void fill(const std::vector<std::int16_t>& samples, int rate);

 private:
  static void release(ALuint id);
  UniqueName<ALuint, &AlBuffer::release> handle;
};
