#include "sound/AlSource.h"

AlSource AlSource::create() {
  ALuint id = 0;
  alGenSources(1, &id);
  AlSource source;
  source.handle.reset(id);
  return source;
}

void AlSource::release(ALuint id) {
  alSourceStop(id);
  alSourcei(id, AL_BUFFER, 0);
  alDeleteSources(1, &id);
}

bool AlSource::busy() const {
  ALint state = AL_STOPPED;
  alGetSourcei(name(), AL_SOURCE_STATE, &state);
  return state == AL_PLAYING || state == AL_PAUSED;
}
