#include "sound/SoundManager.h"

#include <AL/al.h>

#include <algorithm>
#include <iostream>

#include "config/Config.h"

namespace {

// Every sound the game plays, by the middle part of its keys.
const char* const kSounds[] = {"shot",    "empty",    "reload", "hit",      "hurt",        "jetpack", "landing",
                               "footstep", "call",    "ambience", "gameover", "enemy.death"};

}  // namespace

SoundManager::SoundManager() {
  const Config& config = Config::instance();
  if (!config.isOn("sound.enabled")) return;
  const float master = std::max(config.getFloat("sound.volume"), 0.0f);
  const std::int32_t sourceTotal = std::max(config.getInt("sound.sources"), 0);
  referenceDistance = config.getFloat("sound.distance.reference");
  director = std::make_unique<SoundDirector>(config.getFloat("sound.footstep.interval"));

  // Reads a sound's file once, however many names share it.
  std::map<std::string, std::size_t> loaded;
  auto add = [&](const std::string& name, const std::string& prefix) {
    Sound sound;
    sound.file = config.getString(prefix + ".file");
    sound.gain = master * std::max(config.getFloat(prefix + ".volume"), 0.0f);
    const auto known = loaded.find(sound.file);
    if (known == loaded.end()) {
      clips.push_back(SoundClip::load(sound.file));
      sound.buffer = clips.size() - 1;
      loaded.emplace(sound.file, sound.buffer);
    } else {
      sound.buffer = known->second;
    }
    sounds[name] = sound;
  };
  for (const char* name : kSounds) add(name, std::string("sound.") + name);
  // Each enemy type may have a death sound of its own; the others use "enemy.death".
  const std::int32_t types = config.getInt("enemy.types");
  for (std::int32_t i = 1; i <= types; ++i) {
    const std::string type = config.getString("enemy.type." + std::to_string(i));
    if (config.hasKey("sound." + type + ".death.file")) add(type + ".death", "sound." + type + ".death");
  }

  device = std::make_unique<AudioDevice>();
  if (!device->isOpen()) {
    std::cerr << "SOUND: no audio device, playing silently." << std::endl;
    device.reset();
    clips.clear();
    return;
  }
  alDistanceModel(AL_INVERSE_DISTANCE_CLAMPED);
  for (const SoundClip& clip : clips) buffers.emplace_back(AlBuffer::create()).fill(clip.samples, clip.rate);
  clips.clear();
  for (std::int32_t i = 0; i < sourceTotal; ++i) sources.push_back(AlSource::create());
  pool = std::make_unique<SourcePool>(sources.size());
  ambience = AlSource::create();
  thrust = AlSource::create();
  sting = AlSource::create();
  startLoop(ambience, sounds.at("ambience"), true);
}

SoundManager::~SoundManager() {
  // Sources before the buffers they play, buffers before the context.
  sting = AlSource();
  thrust = AlSource();
  ambience = AlSource();
  sources.clear();
  buffers.clear();
  device.reset();
}

const SoundManager::Sound* SoundManager::find(const std::string& name) const {
  const auto found = sounds.find(name);
  return found == sounds.end() ? nullptr : &found->second;
}

void SoundManager::startLoop(AlSource& source, const Sound& sound, bool relative) {
  const ALuint id = source.name();
  alSourcei(id, AL_BUFFER, static_cast<ALint>(buffers.at(sound.buffer).name()));
  alSourcei(id, AL_LOOPING, AL_TRUE);
  alSourcei(id, AL_SOURCE_RELATIVE, relative ? AL_TRUE : AL_FALSE);
  alSource3f(id, AL_POSITION, 0.0f, 0.0f, 0.0f);
  alSourcef(id, AL_REFERENCE_DISTANCE, referenceDistance);
  alSourcef(id, AL_GAIN, sound.gain);
  alSourcePlay(id);
}

void SoundManager::play(const SoundCue& cue) {
  const Sound* sound = find(cue.sound);
  if (sound == nullptr || !pool) return;
  const auto slot = pool->acquire([this](std::size_t i) { return sources[i].busy(); });
  if (!slot) return;
  const ALuint id = sources[*slot].name();
  alSourceStop(id);
  alSourcei(id, AL_BUFFER, static_cast<ALint>(buffers.at(sound->buffer).name()));
  alSourcei(id, AL_LOOPING, AL_FALSE);
  alSourcei(id, AL_SOURCE_RELATIVE, AL_FALSE);
  alSource3f(id, AL_POSITION, cue.position.x, cue.position.y, cue.position.z);
  alSourcef(id, AL_REFERENCE_DISTANCE, referenceDistance);
  alSourcef(id, AL_GAIN, sound->gain);
  alSourcePlay(id);
}

void SoundManager::onEvent(const GameEvent& event) {
  if (!isPlaying() || paused) return;
  cues.clear();
  director->onEvent(event, cues);
  for (const SoundCue& cue : cues) play(cue);
}

void SoundManager::update(const Vec3& eye, const Vec3& forward, const Vec3& character, bool flying) {
  if (!isPlaying()) return;
  frameTimer.update();
  const ALfloat orientation[] = {forward.x, forward.y, forward.z, 0.0f, 1.0f, 0.0f};
  alListener3f(AL_POSITION, eye.x, eye.y, eye.z);
  alListenerfv(AL_ORIENTATION, orientation);
  if (paused) return;

  cues.clear();
  director->onFrame(character, flying, frameTimer.getDelta(), cues);
  for (const SoundCue& cue : cues) play(cue);

  if (flying && !thrustOn) startLoop(thrust, sounds.at("jetpack"), false);
  if (!flying && thrustOn) alSourceStop(thrust.name());
  thrustOn = flying;
  if (thrustOn) alSource3f(thrust.name(), AL_POSITION, character.x, character.y, character.z);
}

void SoundManager::setPaused(bool pause) {
  if (!isPlaying() || pause == paused) return;
  paused = pause;
  if (pause) {
    pausedSources.clear();
    auto pauseIfPlaying = [this](const AlSource& source) {
      ALint state = AL_STOPPED;
      alGetSourcei(source.name(), AL_SOURCE_STATE, &state);
      if (state == AL_PLAYING) pausedSources.push_back(source.name());
    };
    for (const AlSource& source : sources) pauseIfPlaying(source);
    pauseIfPlaying(ambience);
    pauseIfPlaying(thrust);
    if (!pausedSources.empty()) alSourcePausev(static_cast<ALsizei>(pausedSources.size()), pausedSources.data());
  } else if (!pausedSources.empty()) {
    alSourcePlayv(static_cast<ALsizei>(pausedSources.size()), pausedSources.data());
    pausedSources.clear();
  }
}

void SoundManager::newRound() {
  if (!isPlaying()) return;
  alSourceStop(sting.name());
  paused = false;
  pausedSources.clear();
  director->forget();
  frameTimer.restart();
  startLoop(ambience, sounds.at("ambience"), true);
}

void SoundManager::gameOver() {
  if (!isPlaying()) return;
  for (const AlSource& source : sources) alSourceStop(source.name());
  alSourceStop(ambience.name());
  alSourceStop(thrust.name());
  thrustOn = false;
  paused = false;
  pausedSources.clear();
  const Sound& ending = sounds.at("gameover");
  const ALuint id = sting.name();
  alSourcei(id, AL_BUFFER, static_cast<ALint>(buffers.at(ending.buffer).name()));
  alSourcei(id, AL_LOOPING, AL_FALSE);
  alSourcei(id, AL_SOURCE_RELATIVE, AL_TRUE);
  alSource3f(id, AL_POSITION, 0.0f, 0.0f, 0.0f);
  alSourcef(id, AL_GAIN, ending.gain);
  alSourcePlay(id);
}
