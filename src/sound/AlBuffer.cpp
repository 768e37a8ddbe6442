#include "sound/AlBuffer.h"

#include <utility>

AlBuffer::AlBuffer() { alGenBuffers(1, &id); }

AlBuffer::~AlBuffer() {
  if (id != 0) alDeleteBuffers(1, &id);
}

AlBuffer::AlBuffer(AlBuffer&& other) noexcept : id(std::exchange(other.id, 0)) {}

AlBuffer& AlBuffer::operator=(AlBuffer&& other) noexcept {
  if (this != &other) {
    if (id != 0) alDeleteBuffers(1, &id);
    id = std::exchange(other.id, 0);
  }
  return *this;
}

void AlBuffer::fill(const std::vector<std::int16_t>& samples, int rate) {
  alBufferData(id, AL_FORMAT_MONO16, samples.data(), static_cast<ALsizei>(samples.size() * sizeof(std::int16_t)),
               rate);
}
