#include "app/GraphicManager.h"

#include <GL/glew.h>

#include "game/InputManager.h"
#include "game/PositionManager.h"
#include "scene/BoundingBox.h"

GraphicManager::GraphicManager(InputManager* input) : inputManager(input) {
  // Turning needs a position manager before the first event is polled.
  auto* positions = new PositionManager();
  auto* stand = new BoundingBox("maincharacter");
  stand->compute(Vec3(-0.5f, 0.0f, -0.5f), Vec3(0.5f, 1.8f, 0.5f), 0.0f);
  positions->add(0, stand);
  inputManager->setPositionManager(positions);
}

void GraphicManager::initialise(int, int) {}

void GraphicManager::frame() { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); }

std::int32_t GraphicManager::points() const { return 0; }
