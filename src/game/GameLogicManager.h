#pragma once
// The rules of play: enemy spawning at free start boxes, contact damage with
// immortality afterwards, the jetpack, landings on enemies, the player's gun
// and the score. Owns its timers; points to the position manager and the
// property table. update() is the "GLM" frame stage.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/TimerFrameIndependency.h"
#include "app/TimerInterrupt.h"
#include "app/TimerSingleInterrupt.h"
#include "common/ObjectProperties.h"
#include "common/Types.h"
#include "game/GameEvent.h"
#include "game/PlayStatus.h"
#include "game/StartPoint.h"

class PositionManager;

class GameLogicManager {
 public:
  // Reads every "gamelogicmanager." key, sets up "gun.rifle" and watches the
  // main character's landings.
  GameLogicManager(PositionManager* positionManager, PropertyTable* properties,
                   std::function<ObjectId()> spawnEnemyCallback,
                   std::function<void(ObjectId)> removeEnemyCallback);
  GameLogicManager(const GameLogicManager&) = delete;
  GameLogicManager& operator=(const GameLogicManager&) = delete;

  // One frame: start delay, timers, jetpack flight, firing rule.
  void update();
  // A new round, as just constructed: every timer from now with the start
  // delay waiting, the gun loaded, the jetpack ready, no immortality, no
  // score. The enemies are forgotten without the removal callback: the
  // caller clears the scene.
  void newRound();
  // Spawn-timer step: at most one enemy, at the first free start box.
  void spawnEnemy();
  // Contact damage unless immortal; a contact in flight also destroys the enemy.
  void onEnemyContact(ObjectId enemyId);
  // Starts a flight when none is under way and the cooldown has passed.
  void startJetpack();
  void pressTrigger();
  // Also ends the current press, so the next press fires a first shot again.
  void releaseTrigger();
  // Removes a live enemy (removal callback, list, count); other ids: nothing.
  void removeEnemy(ObjectId id);
  // Landing watch: the same as removeEnemy; named for its caller.
  void removeEnemyIfPresent(ObjectId id);
  // Reads gun G's settings (some fall back to "gun.standard"); the gun is ready.
  void setGun(const std::string& name);
  // One shot with the given recoil control; a miss still uses the round.
  void fire(std::int32_t recoilControl);

  // Source of the pseudo-random numbers for the shuffle and the shot
  // deviation; std::rand unless replaced. The spawn step still seeds std::srand.
  void setRandomSource(std::function<int()> source);
  // Receives every game event as it happens; none by default.
  void setEventSink(std::function<void(const GameEvent&)> sink) { eventSink = std::move(sink); }
  // Which free start boxes to take first (true: take it); none by default,
  // when the first free box in the shuffled order is taken.
  void setSpawnFilter(std::function<bool(const StartPoint&)> filter) { spawnFilter = std::move(filter); }
  // Names the type of a spawned enemy for the events (empty for other ids); none by default.
  void setEnemyTypeSource(std::function<std::string(ObjectId)> source) { enemyTypeOf = std::move(source); }
  // What the player watches: health, gun, jetpack, score, enemies alive.
  PlayStatus status() const;
  // The line a shot fired now would follow, without spread, and its target.
  AimLine aim() const;

  // Ids of the live enemies in spawn order.
  const std::vector<ObjectId>& liveEnemies() const { return enemies; }
  // An enemy can ever spawn: the limit is above 0 and there is a start box.
  bool spawnsEnemies() const { return enemyLimit > 0 && !startPoints.empty(); }

  std::int32_t points = 0;
  ObjectId mainCharacterId = 0;

 private:
  void endFlight();
  void shuffleStartPoints();
  bool isLiveEnemy(ObjectId id) const;
  void applyFiringRule();
  Vec3 facingDirection() const;
  void emit(GameEventKind kind, ObjectId id = kNoObject, std::int32_t value = 0) const;

  bool jetpackActive = false;
  bool jetpackAvailable = true;
  Vec3 jetpackVelocity{0.0f};
  TimerSingleInterrupt jetpackDurationTimer{0.0f};
  TimerSingleInterrupt jetpackCooldownTimer{0.0f};
  bool immortal = false;
  bool triggerHeld = false;
  TimerSingleInterrupt immortalityTimer{0.0f};

  // The gun.
  std::int32_t ammo = 0;
  std::int32_t magazine = 0;
  bool ready = true;
  bool automatic = false;
  bool firedSincePress = false;
  std::int32_t dispersionMaximum = 0;
  std::int32_t recoilControlSemiautomatic = 0;
  std::int32_t recoilControlAutomatic = 0;
  std::int32_t recoilControlSteps = 0;
  std::int32_t recoilControl = 0;
  TimerSingleInterrupt reloadTimer{0.0f};
  TimerSingleInterrupt cooldownTimer{0.0f};

  std::vector<ObjectId> enemies;
  PositionManager* positionManager;  // not owned
  PropertyTable* properties;         // not owned
  TimerInterrupt spawnTimer{0.0f};
  TimerSingleInterrupt firstSpawnTimer{0.0f};  // with a first delay: the first attempt, then spawnTimer
  bool firstDelayGiven = false;
  bool firstSpawnWaiting = false;
  float spawnInterval = 0.0f;   // as configured; a new round starts from it again
  float intervalStep = 0.0f;    // taken off the interval with every enemy spawned
  float intervalMinimum = 0.0f;
  std::function<bool(const StartPoint&)> spawnFilter;
  std::function<ObjectId()> spawnEnemyCallback;
  std::function<void(ObjectId)> removeEnemyCallback;
  std::int32_t aliveEnemies = 0;
  std::int32_t enemyLimit = 0;
  std::vector<StartPoint> startPoints;
  TimerSingleInterrupt startDelayTimer{4.0f};
  bool waitingForStart = true;
  TimerFrameIndependency frameTimer{1000.0f};
  bool firstFrame = true;
  std::function<int()> random;
  std::function<void(const GameEvent&)> eventSink;
  std::function<std::string(ObjectId)> enemyTypeOf;
};
