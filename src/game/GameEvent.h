#pragma once
// What just happened in play, for the listeners that show or sound it (the
// HUD, the audio). Handed out synchronously by the game logic as it happens.
#include <cstdint>
#include <string>

#include "common/Types.h"

enum class GameEventKind {
  Shot,           // a round left the rifle
  EmptyTrigger,   // the trigger was pressed while the reload runs
  ReloadStarted,  // the last round went; the reload time runs
  EnemyHit,       // a shot damaged an enemy that lives on; id = the enemy
  EnemyKilled,    // a shot killed an enemy; id = the enemy, value = its points
  EnemySpawned,   // id = the new enemy
  CharacterHurt,  // an enemy's contact took health; value = the health left
  JetpackStarted,
  JetpackEnded,
};

struct GameEvent {
  GameEventKind kind = GameEventKind::Shot;
  ObjectId id = kNoObject;
  std::int32_t value = 0;
  Vec3 position{0.0f};    // where it happened: at the enemy for an enemy's event, else at the character
  std::string enemyType;  // the enemy's type ("enemy.brute") when id is a spawned enemy, else empty
};
