#include "sound/AlBuffer.h"

AlBuffer AlBuffer::create() {
  ALuint id = 0;
  alGenBuffers(1, &id);
  AlBuffer buffer;
  buffer.handle.reset(id);
  return buffer;
}

void AlBuffer::release(ALuint id) { alDeleteBuffers(1, &id); }

void AlBuffer::fill(const std::vector<std::int16_t>& samples, int rate) {
  alBufferData(name(), AL_FORMAT_MONO16, samples.data(),
               static_cast<ALsizei>(samples.size() * sizeof(std::int16_t)), rate);
}
