#pragma once
// Sole owner of one OpenAL buffer: generated on construction, deleted with the
// owner. Move-only; a moved-from buffer holds name 0. Needs a current context.
#include <AL/al.h>

#include <cstdint>
#include <vector>

class AlBuffer {
 public:
  AlBuffer();
  ~AlBuffer();
  AlBuffer(const AlBuffer&) = delete;
  AlBuffer& operator=(const AlBuffer&) = delete;
  AlBuffer(AlBuffer&& other) noexcept;
  AlBuffer& operator=(AlBuffer&& other) noexcept;

  ALuint name() const { return id; }
  // Fills the buffer with 16-bit mono samples at the given rate.
  void fill(const std::vector<std::int16_t>& samples, int rate);

 private:
  ALuint id = 0;
};
