#include "game/PhysicsManager.h"

#include <algorithm>
#include <cmath>

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
  // Collision tests only the target position, so one long frame (the first
  // one drawn, a stall, a pause) would carry a falling object through a floor
  // slab. The fall is split into short steps; after a very long frame the
  // object falls at most the position manager's most steps, which no map
  // level needs.
  constexpr float kSafeStep = PositionManager::kSafeStep;
  const Vec3 displacement = gravity * frameTimer.getDelta();
  const float distance = glm::length(displacement);
  const int steps =
      std::clamp(static_cast<int>(std::ceil(distance / kSafeStep)), 1, PositionManager::kMostSteps);
  Vec3 step = displacement / static_cast<float>(steps);
  if (glm::length(step) > kSafeStep) step *= kSafeStep / glm::length(step);
  for (int i = 0; i < steps; ++i) positionManager->applyGravity(step);
}
