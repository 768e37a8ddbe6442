#include "game/InputManager.h"

#include <GLFW/glfw3.h>

#include "common/GameState.h"

InputManager::InputManager() = default;

void InputManager::onKey(int key, int action) {
  if (action == GLFW_PRESS && key == GLFW_KEY_ESCAPE) ++gameState;
}

void InputManager::onMouseButton(GLFWwindow*, int, int) {}

void InputManager::onCursor(GLFWwindow*, double) {}

void InputManager::onScroll(double) {}

void InputManager::update() {}
