#pragma once
// A snapshot of the values a player watches, taken from the game logic.
#include <cstdint>

#include "common/Types.h"

enum class JetpackPhase { Ready, Flying, Cooling };

struct PlayStatus {
  std::int32_t health = 0;
  std::int32_t rounds = 0;        // rounds in the magazine
  std::int32_t magazine = 0;      // the magazine's size
  bool reloading = false;
  float reloadLeft = 0.0f;        // seconds, while reloading
  JetpackPhase jetpack = JetpackPhase::Ready;
  float jetpackLeft = 0.0f;       // seconds of flight or of cooldown left
  bool immortal = false;
  std::int32_t points = 0;
  std::int32_t enemiesAlive = 0;
};

// Where a shot fired now would go: the line of fire without spread and the
// point on it where the pick would meet its target (at distance `along`).
struct AimLine {
  Vec3 origin{0.0f};
  Vec3 direction{0.0f, 0.0f, 1.0f};
  ObjectId target = kNoObject;
  float along = 0.0f;
};
