#pragma once
// Which sound the game plays when: game events and the character's motion
// turned into cues, without a device. The names are the sound keys' middle
// parts ("shot", "enemy.brute.death", ...).
#include <string>
#include <vector>

#include "common/Types.h"
#include "game/GameEvent.h"

struct SoundCue {
  std::string sound;
  Vec3 position{0.0f};
};

class SoundDirector {
 public:
  // Footsteps while walking, one each interval (seconds).
  explicit SoundDirector(float footstepInterval);

  // The cue of an event, where it happened; an enemy's death sounds by its
  // type ("enemy.brute.death", or "enemy.death" without one). Events without
  // a sound give nothing.
  void onEvent(const GameEvent& event, std::vector<SoundCue>& cues) const;
  // One frame of the character's motion: footsteps while it walks on the
  // ground, a landing when a fall of some length ends.
  void onFrame(const Vec3& character, bool flying, float seconds, std::vector<SoundCue>& cues);
  // Forgets where the character was (it is put back at its start).
  void forget() { *this = SoundDirector(footstepInterval); }

 private:
  float footstepInterval;
  bool known = false;  // a position was seen
  Vec3 last{0.0f};
  float falling = 0.0f;   // seconds of the current fall
  float stepClock = 0.0f;  // seconds walked since the last footstep
};
