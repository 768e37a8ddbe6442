#include "game/PhysicsManager.h"

#include "config/Config.h"
#include "game/PositionManager.h"

PhysicsManager::PhysicsManager(PositionManager* positionManager)
    : positionManager(positionManager),
      gravity(0.0f, Config::instance().getFloat("physicsmanager.gravity"), 0.0f),
      frameTimer(1000.0f) {}

void PhysicsManager::newRound() {
  frameTimer.restart();
  firstFrame = true;
}

void PhysicsManager::update() {
  frameTimer.update();
  if (firstFrame) {
    firstFrame = false;
    return;
  }
  // A fall long enough to carry an object through a floor (the first frame
  // drawn, a stall, a pause) goes in equal steps that cannot; any other is the
  // one gravity move.
  const Vec3 displacement = gravity * frameTimer.getDelta();
  const auto [steps, step] = positionManager->fallSteps(displacement);
  for (int i = 0; i < steps; ++i) positionManager->applyGravity(step);
}
