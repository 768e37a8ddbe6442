#pragma once
// The game's audio: every sound loaded at start, one-shot cues on a bounded
// pool of sources, the ambience and jetpack loops, a listener at the camera.
// Owns the device, the buffers and the sources (released in reverse order);
// without a device, or with "sound.enabled" 0, every call does nothing.
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/TimerFrameIndependency.h"
#include "common/Types.h"
#include "game/GameEvent.h"
#include "sound/AlBuffer.h"
#include "sound/AlSource.h"
#include "sound/AudioDevice.h"
#include "sound/SoundClip.h"
#include "sound/SoundDirector.h"
#include "sound/SourcePool.h"

class SoundManager {
 public:
  // Reads the "sound." keys and every sound file (a bad file throws its
  // "SOUND: " error), then opens the device; no device is one line on
  // standard error, "SOUND: no audio device, playing silently.".
  SoundManager();
  ~SoundManager();
  SoundManager(const SoundManager&) = delete;
  SoundManager& operator=(const SoundManager&) = delete;

  // Plays the event's sound where it happened (an enemy's death by its type).
  void onEvent(const GameEvent& event);
  // One frame of play: the listener at the eye looking along forward, the
  // character's motion (footsteps, landing) and the thrust loop while flying.
  void update(const Vec3& eye, const Vec3& forward, const Vec3& character, bool flying);
  // Pauses every sound that plays, or resumes the paused ones.
  void setPaused(bool paused);
  // Stops the game's sounds and plays the game-over sting.
  void gameOver();
  // A new round: the sting stops, the ambience plays again, footsteps and
  // landings start from nothing.
  void newRound();
  bool isPlaying() const { return device != nullptr && device->isOpen(); }

 private:
  struct Sound {
    std::string file;
    float gain = 1.0f;
    std::size_t buffer = 0;  // index into buffers
  };
  void play(const SoundCue& cue);
  void startLoop(AlSource& source, const Sound& sound, bool relative);
  const Sound* find(const std::string& name) const;

  std::map<std::string, Sound> sounds;
  std::vector<SoundClip> clips;  // read at start, handed to the buffers once a device is open
  float referenceDistance = 4.0f;
  bool paused = false;
  // Declared in the order of creation: destroyed sources first, then the
  // buffers they play, then the context and the device.
  std::unique_ptr<AudioDevice> device;
  std::vector<AlBuffer> buffers;
  std::vector<AlSource> sources;  // the pool's one-shots
  AlSource ambience;  // empty without a device
  AlSource thrust;
  AlSource sting;
  std::unique_ptr<SourcePool> pool;
  std::unique_ptr<SoundDirector> director;
  TimerFrameIndependency frameTimer{1000.0f};
  bool thrustOn = false;
  std::vector<ALuint> pausedSources;
  std::vector<SoundCue> cues;  // reused every frame
};
