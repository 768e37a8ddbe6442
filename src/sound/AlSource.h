#pragma once
// Owns one OpenAL source: empty until create(); stopped, detached from its
// buffer and deleted with the owner.
#include <AL/al.h>

#include "common/UniqueName.h"

class AlSource {
 public:
  AlSource() = default;  // empty: name 0
  static AlSource create();

  ALuint name() const { return handle.get(); }
  // Playing or paused: the source still holds a sound.
  bool busy() const;

 private:
  static void release(ALuint id);
  UniqueName<ALuint, &AlSource::release> handle;
};
