#pragma once
// Walks every registered enemy towards the main character once per frame,
// through fixed staircase waypoints when it is on another level (the map's
// levels lie at heights 0, 5 and 10), and reports the enemies that ran into
// the character after all have moved. Points to the position manager and the
// property table. update() is the "AI" frame stage.
#include <deque>
#include <functional>
#include <vector>

#include "app/TimerFrameIndependency.h"
#include "common/ObjectProperties.h"
#include "common/Types.h"

class PositionManager;

// The last waypoint an enemy reached on its staircase route; kNoWaypoint: none.
inline const Vec3 kNoWaypoint{-1.0f, -1.0f, -1.0f};

struct EnemyState {
  ObjectId id = kNoObject;
  Vec3 target = kNoWaypoint;
};

class EnemyAI {
 public:
  EnemyAI(PositionManager* positionManager, PropertyTable* properties,
          std::function<void(ObjectId)> contactCallback);
  EnemyAI(const EnemyAI&) = delete;
  EnemyAI& operator=(const EnemyAI&) = delete;

  // Registers a new enemy with no waypoint reached.
  void addEnemy(ObjectId id);
  // Forgets the first enemy with this id; an unknown id changes nothing.
  void removeEnemy(ObjectId id);
  // Turns and moves each enemy in registration order, then reports contacts.
  void update();
  // Forgets every enemy; the frame clock runs from now (a new round).
  void newRound();

  ObjectId mainCharacterId = 0;

 private:
  Vec3 chooseGoal(EnemyState& state, const Vec3& enemy, const Vec3& character) const;
  Vec3 followRoute(EnemyState& state, const Vec3& enemy, const Vec3& top, const Vec3& foot,
                   const Vec3& approach, bool goingDown) const;
  void step(EnemyState& state, const Vec3& character, float dt);

  TimerFrameIndependency frameTimer{1000.0f};
  PositionManager* positionManager;  // not owned
  PropertyTable* properties;         // not owned
  std::vector<EnemyState> enemies;
  std::function<void(ObjectId)> contactCallback;
  std::deque<ObjectId> contacts;
};
