#include "game/PhysicsManager.h"

#include "config/Config.h"
#include "game/PositionManager.h"

PhysicsManager::PhysicsManager(PositionManager* positionManager)
    : positionManager(positionManager),
      gravity(0.0f, Config::instance().getFloat("physicsmanager.gravity"), 0.0f),
      frameTimer(1000.0f) {}

void PhysicsManager::update() {
  frameTimer.update();
  if (firstFrame) {
    firstFrame = false;
    return;
  }
  positionManager->applyGravity(gravity * frameTimer.getDelta());
}
