#include "game/GameLogicManager.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <utility>

#include "common/GameState.h"
#include "config/Config.h"
#include "game/PositionManager.h"
#include "scene/Octree.h"

namespace {

const std::string kGunFallback = "gun.standard";

}  // namespace

GameLogicManager::GameLogicManager(PositionManager* positions, PropertyTable* table,
                                   std::function<ObjectId()> spawnCallback,
                                   std::function<void(ObjectId)> removeCallback)
    : positionManager(positions),
      properties(table),
      spawnEnemyCallback(std::move(spawnCallback)),
      removeEnemyCallback(std::move(removeCallback)),
      random([] { return std::rand(); }) {
  const Config& config = Config::instance();
  // Any limit: 0 or less means no enemy ever spawns. Any interval: at 0 or
  // less the timer fires on every update, so a spawn is tried every frame.
  enemyLimit = config.getInt("gamelogicmanager.enemy.limit");
  spawnInterval = config.getFloat("gamelogicmanager.enemy.interval");
  spawnTimer.setInterval(spawnInterval);
  // Additions: a first spawn attempt later than the interval, and an
  // interval that shrinks with every enemy spawned down to a minimum. Absent,
  // the first attempt comes one interval into play and the interval stays.
  // The start delay itself stays the rules' 4 seconds: the gun and the
  // jetpack work once it is over, whenever the first enemy comes.
  if (config.hasKey("gamelogicmanager.enemy.firstdelay")) {
    firstSpawnTimer.setInterval(config.getFloat("gamelogicmanager.enemy.firstdelay"));
    firstDelayGiven = true;
  }
  if (config.hasKey("gamelogicmanager.enemy.interval.step")) {
    intervalStep = config.getFloat("gamelogicmanager.enemy.interval.step");
    intervalMinimum = config.getFloat("gamelogicmanager.enemy.interval.minimum");
  }
  const std::int32_t startPointCount = config.getInt("gamelogicmanager.startpoints");
  const float sizeX = config.getFloat("gamelogicmanager.startpoints.size.x");
  const float sizeY = config.getFloat("gamelogicmanager.startpoints.size.y");
  const float sizeZ = config.getFloat("gamelogicmanager.startpoints.size.z");
  const Vec3 size(sizeX, sizeY, sizeZ);
  for (std::int32_t i = 1; i <= startPointCount; ++i) {
    const std::string prefix = "gamelogicmanager.startpoint" + std::to_string(i) + ".min.";
    StartPoint point;
    const float x = config.getFloat(prefix + "x");
    const float y = config.getFloat(prefix + "y");
    const float z = config.getFloat(prefix + "z");
    point.min = Vec3(x, y, z);
    point.max = point.min + size;
    startPoints.push_back(point);
  }
  immortalityTimer.setInterval(config.getFloat("gamelogicmanager.immortalitytime"));
  jetpackVelocity = Vec3(0.0f, config.getFloat("gamelogicmanager.jetpack.speed"), 0.0f);
  jetpackDurationTimer.setInterval(config.getFloat("gamelogicmanager.jetpack.duration"));
  jetpackCooldownTimer.setInterval(config.getFloat("gamelogicmanager.jetpack.cooldown"));

  spawnTimer.setCallback([this] { spawnEnemy(); });
  firstSpawnTimer.setCallback([this] {
    firstSpawnWaiting = false;
    spawnEnemy();
    spawnTimer.restart();  // the next attempt one interval after this one
  });
  firstSpawnWaiting = firstDelayGiven;
  firstSpawnTimer.setArmed(firstSpawnWaiting);
  immortalityTimer.setCallback([this] { immortal = false; });
  jetpackDurationTimer.setCallback([this] { endFlight(); });
  jetpackCooldownTimer.setCallback([this] { jetpackAvailable = true; });
  reloadTimer.setCallback([this] { ready = true; });
  cooldownTimer.setCallback([this] { ready = true; });
  // The delay counts from construction, so loading time is part of it.
  startDelayTimer.setCallback([this] { waitingForStart = false; });
  startDelayTimer.setArmed(true);

  setGun("gun.rifle");
  positionManager->setLandingWatch(mainCharacterId,
                                   [this](ObjectId other) { removeEnemyIfPresent(other); });
}

void GameLogicManager::newRound() {
  jetpackActive = false;
  jetpackAvailable = true;
  immortal = false;
  triggerHeld = false;
  points = 0;
  enemies.clear();
  aliveEnemies = 0;
  waitingForStart = true;
  firstFrame = true;
  for (TimerSingleInterrupt* timer : {&jetpackDurationTimer, &jetpackCooldownTimer, &immortalityTimer}) {
    timer->restart();
    timer->setArmed(false);
  }
  spawnTimer.setInterval(spawnInterval);
  spawnTimer.restart();
  firstSpawnWaiting = firstDelayGiven;
  firstSpawnTimer.restart();
  firstSpawnTimer.setArmed(firstSpawnWaiting);
  frameTimer.restart();
  startDelayTimer.restart();
  startDelayTimer.setArmed(true);
  setGun("gun.rifle");
}

void GameLogicManager::update() {
  if (waitingForStart) {
    startDelayTimer.update();
    return;
  }
  if (firstSpawnWaiting) {
    firstSpawnTimer.update();
  } else {
    spawnTimer.update();
  }
  immortalityTimer.update();
  jetpackDurationTimer.update();
  jetpackCooldownTimer.update();
  reloadTimer.update();
  cooldownTimer.update();
  frameTimer.update();
  // The first delta spans the whole start delay: it must not move or fire.
  if (firstFrame) {
    firstFrame = false;
    return;
  }
  if (jetpackActive) {
    const Vec3 lift = jetpackVelocity * frameTimer.getDelta();
    positionManager->moveInSteps(mainCharacterId, positionManager->position(mainCharacterId) + lift);
  }
  applyFiringRule();
}

void GameLogicManager::spawnEnemy() {
  if (aliveEnemies >= enemyLimit) return;
  std::srand(static_cast<unsigned>(std::time(nullptr)));
  shuffleStartPoints();
  // With a box filter, a free box it passes comes first; none passing, the
  // first free box as always.
  for (const bool filtered : {static_cast<bool>(spawnFilter), false}) {
    for (const StartPoint& box : startPoints) {
      if (!positionManager->isFree(box.min, box.max)) continue;
      if (filtered && !spawnFilter(box)) continue;
      const ObjectId id = spawnEnemyCallback();
      enemies.push_back(id);
      positionManager->place(id, box.min);
      ++aliveEnemies;
      emit(GameEventKind::EnemySpawned, id);
      if (intervalStep != 0.0f) {
        spawnTimer.setInterval(std::max(intervalMinimum, spawnTimer.getInterval() - intervalStep));
      }
      return;
    }
  }
}

void GameLogicManager::shuffleStartPoints() {
  // Fisher-Yates; the modulo bias is below one in 10^8 for RAND_MAX = 2^31 - 1
  // and the handful of boxes a map has.
  for (std::size_t i = startPoints.size(); i > 1; --i) {
    const std::size_t j = static_cast<std::size_t>(random()) % i;
    std::swap(startPoints[i - 1], startPoints[j]);
  }
}

void GameLogicManager::onEnemyContact(ObjectId enemyId) {
  if (immortal) return;
  if (jetpackActive) removeEnemy(enemyId);
  ObjectProperties& character = properties->at(mainCharacterId);
  const std::int32_t newHealth = character.health - properties->at(enemyId).damage;
  if (newHealth <= 0) {
    // Lost: health stays as it was and no immortality protects a second
    // contact, which finds the play already ended.
    endPlay();
    return;
  }
  character.health = newHealth;
  std::cout << "HIT: new health = " << newHealth << "." << std::endl;
  immortal = true;
  immortalityTimer.start();
  emit(GameEventKind::CharacterHurt, enemyId, newHealth);
}

void GameLogicManager::removeEnemy(ObjectId id) {
  // Only a live enemy is removed: a second removal of the same id would hand it
  // to the fade-out twice and drive the live count below the list's size.
  const auto found = std::find(enemies.begin(), enemies.end(), id);
  if (found == enemies.end()) return;
  removeEnemyCallback(id);
  enemies.erase(found);
  --aliveEnemies;
}

void GameLogicManager::removeEnemyIfPresent(ObjectId id) { removeEnemy(id); }

bool GameLogicManager::isLiveEnemy(ObjectId id) const {
  return std::find(enemies.begin(), enemies.end(), id) != enemies.end();
}

void GameLogicManager::startJetpack() {
  if (jetpackActive || !jetpackAvailable) return;
  jetpackActive = true;
  jetpackDurationTimer.start();
  emit(GameEventKind::JetpackStarted, mainCharacterId);
}

void GameLogicManager::endFlight() {
  jetpackActive = false;
  jetpackAvailable = false;
  jetpackCooldownTimer.start();
  emit(GameEventKind::JetpackEnded, mainCharacterId);
}

void GameLogicManager::pressTrigger() {
  triggerHeld = true;
  if (reloadTimer.isArmed()) emit(GameEventKind::EmptyTrigger, mainCharacterId);
}

void GameLogicManager::releaseTrigger() {
  triggerHeld = false;
  firedSincePress = false;
}

void GameLogicManager::setRandomSource(std::function<int()> source) { random = std::move(source); }

void GameLogicManager::setGun(const std::string& name) {
  const Config& config = Config::instance();
  ready = true;
  automatic = config.getIntWithFallback(name + ".automatic", kGunFallback + ".automatic") != 0;
  firedSincePress = false;
  magazine = config.getInt(name + ".magazine");
  ammo = magazine;
  reloadTimer.setInterval(config.getFloat(name + ".reloadtime"));
  reloadTimer.start();
  reloadTimer.setArmed(false);
  cooldownTimer.setInterval(config.getFloat(name + ".cooldown"));
  cooldownTimer.start();
  cooldownTimer.setArmed(false);
  dispersionMaximum = config.getInt(kGunFallback + ".dispersion.maximum");
  recoilControlSemiautomatic = config.getIntWithFallback(name + ".recoilcontrol.semiautomatic",
                                                         kGunFallback + ".recoilcontrol.semiautomatic");
  recoilControlAutomatic = config.getIntWithFallback(name + ".recoilcontrol.automatic",
                                                     kGunFallback + ".recoilcontrol.automatic");
  recoilControlSteps = config.getIntWithFallback(name + ".recoilcontrol.steps",
                                                 kGunFallback + ".recoilcontrol.steps");
  recoilControl = recoilControlSemiautomatic;
}

void GameLogicManager::applyFiringRule() {
  if (!triggerHeld) return;
  if (!firedSincePress) {
    // The first shot of every press uses the steady value.
    if (ready) fire(recoilControlSemiautomatic);
    return;
  }
  if (!automatic || !ready) return;
  fire(recoilControl);
  recoilControl = std::max(recoilControl - recoilControlSteps, recoilControlAutomatic);
}

void GameLogicManager::fire(std::int32_t recoil) {
  // Spread in thousandths of a degree.
  const float spreadValue =
      static_cast<float>((1.0 - recoil / 100.0) * dispersionMaximum * 1000.0);
  const int spread = static_cast<int>(spreadValue);
  const int deviationSteps = random() % (2 * spread + 1) - spread;
  const float deviation = static_cast<float>(deviationSteps / 1000.0) * kDegToRad;

  const Vec3 facing = facingDirection();
  const Vec3 shot = glm::normalize(Vec3(facing.x * std::cos(deviation) - facing.z * std::sin(deviation),
                                        facing.y,
                                        facing.x * std::sin(deviation) + facing.z * std::cos(deviation)));
  const ObjectId target = positionManager->octree().pick(mainCharacterId, shot);

  // A miss damages nothing but still costs the round and the wait.
  if (target != kNoObject) {
    const std::int32_t damage = properties->at(mainCharacterId).damage;
    ObjectProperties& hit = properties->at(target);
    const std::int32_t newHealth = hit.health - damage;
    if (newHealth <= 0 && isLiveEnemy(target)) {
      removeEnemy(target);
      points += properties->at(target).points;
      emit(GameEventKind::EnemyKilled, target, properties->at(target).points);
    } else {
      // Walls and lamps take the damage but stay: only enemies die.
      hit.health = newHealth;
      if (isLiveEnemy(target)) emit(GameEventKind::EnemyHit, target);
    }
  }
  emit(GameEventKind::Shot, mainCharacterId);

  --ammo;
  ready = false;
  firedSincePress = true;
  if (ammo == 0) {
    ammo = magazine;  // refilled at once; the reload time still has to pass
    reloadTimer.start();
    emit(GameEventKind::ReloadStarted, mainCharacterId);
  } else {
    cooldownTimer.start();
  }
}

Vec3 GameLogicManager::facingDirection() const {
  const float theta = positionManager->facing(mainCharacterId);
  return glm::normalize(Vec3(std::sin(theta), 0.0f, std::cos(theta)));
}

void GameLogicManager::emit(GameEventKind kind, ObjectId id, std::int32_t value) const {
  if (!eventSink) return;
  GameEvent event;
  event.kind = kind;
  event.id = id;
  event.value = value;
  // The character's own events at the character (a hurt too, though its id is
  // the enemy's), an enemy's at the enemy.
  const bool atEnemy = kind != GameEventKind::CharacterHurt && positionManager->isPlaced(id);
  const ObjectId at = atEnemy ? id : mainCharacterId;
  if (positionManager->isPlaced(at)) event.position = positionManager->position(at);
  if (enemyTypeOf) event.enemyType = enemyTypeOf(id);
  eventSink(event);
}

PlayStatus GameLogicManager::status() const {
  PlayStatus status;
  const auto character = properties->find(mainCharacterId);
  if (character != properties->end()) status.health = character->second.health;
  status.reloading = reloadTimer.isArmed();
  // The magazine is refilled when the reload starts, but none of it can be
  // fired before the reload ends.
  status.rounds = status.reloading ? 0 : ammo;
  status.magazine = magazine;
  status.reloadLeft = status.reloading ? reloadTimer.remaining() : 0.0f;
  if (jetpackActive) {
    status.jetpack = JetpackPhase::Flying;
    status.jetpackLeft = jetpackDurationTimer.remaining();
  } else if (!jetpackAvailable) {
    status.jetpack = JetpackPhase::Cooling;
    status.jetpackLeft = jetpackCooldownTimer.remaining();
  }
  status.immortal = immortal;
  status.points = points;
  status.enemiesAlive = aliveEnemies;
  return status;
}

AimLine GameLogicManager::aim() const {
  AimLine line;
  if (!positionManager->octree().contains(mainCharacterId)) return line;
  line.origin = positionManager->octree().centreOf(mainCharacterId);
  line.direction = facingDirection();
  line.target = positionManager->octree().pick(mainCharacterId, line.direction, line.along);
  return line;
}
