#include "game/EnemyAI.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "game/PositionManager.h"

namespace {

// Staircase waypoints of the map. Each staircase rises towards its lower
// coordinate: the lower one joins heights 0 and 5, the upper one 5 and 10.
const Vec3 kLowerTop{21.0f, 5.0f, -20.0f};
const Vec3 kLowerFoot{21.0f, 0.0f, -6.0f};
const Vec3 kLowerApproach{21.0f, 0.0f, -4.0f};  // also the ground level's exit
const Vec3 kUpperTop{-20.0f, 10.0f, -20.0f};
const Vec3 kUpperFoot{-7.0f, 5.0f, -20.0f};
const Vec3 kUpperApproach{14.0f, 5.0f, -20.0f};  // also the middle level's exit
const Vec3 kTopExit{-20.0f, 10.0f, -14.0f};

// Height difference within which enemy and character share a level (stairs
// and uneven floors stay inside it).
constexpr float kLevelBand = 0.2f;
// A waypoint counts as reached within this distance.
constexpr float kReachDistance = 2.0f;

bool isNone(const Vec3& target) { return target == kNoWaypoint; }

}  // namespace

EnemyAI::EnemyAI(PositionManager* positions, PropertyTable* table,
                 std::function<void(ObjectId)> onContact)
    : positionManager(positions), properties(table), contactCallback(std::move(onContact)) {}

void EnemyAI::addEnemy(ObjectId id) { enemies.push_back(EnemyState{id, kNoWaypoint}); }

void EnemyAI::removeEnemy(ObjectId id) {
  const auto found = std::find_if(enemies.begin(), enemies.end(),
                                  [id](const EnemyState& state) { return state.id == id; });
  if (found != enemies.end()) enemies.erase(found);
}

void EnemyAI::newRound() {
  enemies.clear();
  frameTimer.restart();
}

void EnemyAI::update() {
  frameTimer.update();
  const float dt = frameTimer.getDelta();
  const Vec3 character = positionManager->position(mainCharacterId);
  for (EnemyState& state : enemies) step(state, character, dt);
  // Reported only now: the contact handling may remove enemies from the list
  // that the loop above walks.
  while (!contacts.empty()) {
    const ObjectId id = contacts.front();
    contacts.pop_front();
    contactCallback(id);
  }
}

void EnemyAI::step(EnemyState& state, const Vec3& character, float dt) {
  const Vec3 enemy = positionManager->position(state.id);
  const float theta = positionManager->facing(state.id);
  const Vec3 facing = glm::normalize(Vec3(std::sin(theta), 0.0f, std::cos(theta)));
  const float stepLength = properties->at(state.id).speed * dt;
  const Vec3 goal = chooseGoal(state, enemy, character);

  const Vec3 offset(goal.x - enemy.x, 0.0f, goal.z - enemy.z);
  // A goal straight above or below gives no direction to turn to or walk in.
  if (!(glm::dot(offset, offset) > 0.0f)) return;
  const Vec3 heading = glm::normalize(offset);

  float turn = std::acos(std::clamp(glm::dot(heading, facing), -1.0f, 1.0f));
  if ((facing.z < 0.0f && heading.x > facing.x) || (facing.z > 0.0f && facing.x > heading.x)) turn = -turn;
  positionManager->setFacing(state.id, theta + turn);

  // One axis at a time, so a wall in one direction does not stop the other.
  // A long frame's step goes in safe sub-steps up to the first refused one.
  positionManager->moveInSteps(state.id, Vec3(enemy.x + heading.x * stepLength, enemy.y, enemy.z));
  const float x = positionManager->position(state.id).x;
  const MoveResult zMove =
      positionManager->moveInSteps(state.id, Vec3(x, enemy.y, enemy.z + heading.z * stepLength));
  if (zMove.otherId == mainCharacterId) contacts.push_back(state.id);
}

Vec3 EnemyAI::chooseGoal(EnemyState& state, const Vec3& enemy, const Vec3& character) const {
  const float dy = character.y - enemy.y;
  if (dy > kLevelBand) {
    if (enemy.y > 5.0f && enemy.y < 10.0f)
      return followRoute(state, enemy, kUpperTop, kUpperFoot, kUpperApproach, false);
    if (enemy.y < 5.0f) return followRoute(state, enemy, kLowerTop, kLowerFoot, kLowerApproach, false);
    return kUpperTop;
  }
  if (dy < -kLevelBand) {
    if (enemy.y > 10.0f) {
      if (state.target == kUpperTop) return kUpperFoot;
      if (glm::distance(enemy, kUpperTop) <= kReachDistance) state.target = kUpperTop;
      return kUpperTop;
    }
    if (enemy.y > 5.0f) return followRoute(state, enemy, kLowerTop, kLowerFoot, kLowerApproach, true);
    return kLowerFoot;
  }
  if (isNone(state.target)) return character;
  // Arrived from a staircase: first leave it by the level's exit point,
  // unless the character is nearer than that point.
  const Vec3& exit = enemy.y > 9.0f ? kTopExit : enemy.y > 4.0f ? kUpperApproach : kLowerApproach;
  if (glm::distance(enemy, exit) > glm::distance(enemy, character)) {
    state.target = kNoWaypoint;
    return character;
  }
  if (glm::distance(enemy, exit) <= kReachDistance) state.target = kNoWaypoint;
  return exit;
}

Vec3 EnemyAI::followRoute(EnemyState& state, const Vec3& enemy, const Vec3& top, const Vec3& foot,
                          const Vec3& approach, bool goingDown) const {
  Vec3 next;
  if (state.target == approach)
    next = foot;
  else if (state.target == foot)
    next = top;
  else if (state.target == top)
    next = foot;
  else
    next = goingDown ? top : approach;
  if (glm::distance(enemy, next) <= kReachDistance) state.target = next;
  return next;
}
