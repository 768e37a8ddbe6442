#include "sound/AlSource.h"

#include <utility>

AlSource::AlSource() { alGenSources(1, &id); }

AlSource::~AlSource() {
  if (id != 0) {
    alSourceStop(id);
    alSourcei(id, AL_BUFFER, 0);
    alDeleteSources(1, &id);
  }
}

AlSource::AlSource(AlSource&& other) noexcept : id(std::exchange(other.id, 0)) {}

AlSource& AlSource::operator=(AlSource&& other) noexcept {
  if (this != &other) {
    if (id != 0) alDeleteSources(1, &id);
    id = std::exchange(other.id, 0);
  }
  return *this;
}

bool AlSource::busy() const {
  ALint state = AL_STOPPED;
  alGetSourcei(id, AL_SOURCE_STATE, &state);
  return state == AL_PLAYING || state == AL_PAUSED;
}
