#include "sound/SoundDirector.h"

#include <cmath>

namespace {

// Speeds in units per second: below kWalking the character stands; a descent
// faster than kFalling is a fall.
constexpr float kWalking = 0.5f;
constexpr float kFalling = 3.0f;  // faster than walking down a staircase
// A fall shorter than this is a step down a stair, not a landing.
constexpr float kLandingFall = 0.2f;

}  // namespace

SoundDirector::SoundDirector(float interval) : footstepInterval(interval) {}

void SoundDirector::onEvent(const GameEvent& event, std::vector<SoundCue>& cues) const {
  const Vec3& where = event.position;
  const std::string& enemyType = event.enemyType;
  const char* sound = nullptr;
  switch (event.kind) {
    case GameEventKind::Shot:
      sound = "shot";
      break;
    case GameEventKind::EmptyTrigger:
      sound = "empty";
      break;
    case GameEventKind::ReloadStarted:
      sound = "reload";
      break;
    case GameEventKind::EnemyHit:
      sound = "hit";
      break;
    case GameEventKind::EnemyKilled:
      cues.push_back({"hit", where});
      cues.push_back({enemyType.empty() ? std::string("enemy.death") : enemyType + ".death", where});
      return;
    case GameEventKind::EnemySpawned:
      sound = "call";
      break;
    case GameEventKind::CharacterHurt:
      sound = "hurt";
      break;
    case GameEventKind::JetpackStarted:
    case GameEventKind::JetpackEnded:
      return;  // the thrust loop follows the flight frame by frame
  }
  if (sound != nullptr) cues.push_back({sound, where});
}

void SoundDirector::onFrame(const Vec3& character, bool flying, float seconds, std::vector<SoundCue>& cues) {
  if (!known || seconds <= 0.0f) {
    known = true;
    last = character;
    return;
  }
  const Vec3 step = character - last;
  last = character;
  const float sideways = std::hypot(step.x, step.z) / seconds;
  const bool descending = -step.y / seconds > kFalling;
  if (descending && !flying) {
    falling += seconds;
    stepClock = 0.0f;
    return;
  }
  if (falling >= kLandingFall && !flying) cues.push_back({"landing", character});
  falling = 0.0f;
  if (flying || sideways < kWalking) {
    stepClock = footstepInterval;  // the first step sounds at once
    return;
  }
  stepClock += seconds;
  if (stepClock >= footstepInterval) {
    stepClock = 0.0f;
    cues.push_back({"footstep", character});
  }
}
