#pragma once
// Sole owner of one OpenAL source: generated on construction, stopped and
// deleted with the owner. Move-only; a moved-from source holds name 0.
#include <AL/al.h>

class AlSource {
 public:
  AlSource();
  ~AlSource();
  AlSource(const AlSource&) = delete;
  AlSource& operator=(const AlSource&) = delete;
  AlSource(AlSource&& other) noexcept;
  AlSource& operator=(AlSource&& other) noexcept;

  ALuint name() const { return id; }
  // Playing or paused: the source still holds a sound.
  bool busy() const;

 private:
  ALuint id = 0;
};
