#include "app/GraphicManager.h"

#include <GL/glew.h>

GraphicManager::GraphicManager(InputManager* input) : inputManager(input) {}

void GraphicManager::initialise(int, int) {}

void GraphicManager::frame() { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); }

std::int32_t GraphicManager::points() const { return 0; }
