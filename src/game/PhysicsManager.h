#pragma once
// The per-frame gravity step: every object of the gravity list falls at the
// constant speed "physicsmanager.gravity" whenever nothing holds it.
#include "app/TimerFrameIndependency.h"
#include "common/Types.h"

class PositionManager;

class PhysicsManager {
 public:
  // Reads "physicsmanager.gravity"; the position manager is not owned.
  explicit PhysicsManager(PositionManager* positionManager);

  // Ticks the frame timer and applies gravity x delta, except on the first call,
  // whose delta spans the whole start-up; a long fall goes in the position
  // manager's safe steps, as every other move does.
  void update();
  // A new round: the next update again only starts the clock.
  void newRound();

 private:
  PositionManager* positionManager;
  Vec3 gravity;
  TimerFrameIndependency frameTimer;
  bool firstFrame = true;
};
