#include "game/InputManager.h"

#include <GLFW/glfw3.h>

#include <cmath>
#include <iostream>
#include <stdexcept>

#include "common/GameState.h"
#include "config/Config.h"
#include "game/PositionManager.h"

InputManager::InputManager()
    : frameTimer(1.0f),
      directions{{"FORWARD", false}, {"BACKWARD", false}, {"RIGHT", false}, {"LEFT", false}} {
  const Config& config = Config::instance();
  cameraDistance = config.getFloat("inputmanager.camera.distance");
  configuredDistance = cameraDistance;
  cameraDistanceMinimum = config.getFloat("inputmanager.camera.distance.minimum");
  cameraDistanceMaximum = config.getFloat("inputmanager.camera.distance.maximum");
  moveSpeed = config.getFloat("maincharacter.property.speed");
  sensitivity = config.getFloat("inputmanager.sensitivity");
  initialYaw = config.getFloat("inputmanager.camera.initialYaw") * kDegToRad;
  const float pitch = config.getFloat("inputmanager.camera.pitch") * kDegToRad;
  pitchSin = std::sin(pitch);
  pitchCos = std::cos(pitch);
}

void InputManager::setFrameRateCallback(std::function<void(float, int)> callback) {
  frameTimer.setCallback(std::move(callback));
}

void InputManager::setPositionManager(PositionManager* manager) {
  positionManager = manager;
  const float pitch = Config::instance().getFloat("inputmanager.camera.pitch") * kDegToRad;
  if (positionManager != nullptr) positionManager->cameraPitch = wrapAngle(pitch);
}

void InputManager::newRound() {
  for (auto& [direction, held] : directions) held = false;
  cameraDistance = configuredDistance;
  frameTimer.restart();
}

void InputManager::onKey(int key, int action) {
  if (eventFilter && eventFilter(key, action, false)) return;
  const bool held = action == GLFW_PRESS || action == GLFW_REPEAT;
  switch (key) {
    case GLFW_KEY_W: directions["FORWARD"] = held; return;
    case GLFW_KEY_S: directions["BACKWARD"] = held; return;
    case GLFW_KEY_A: directions["LEFT"] = held; return;
    case GLFW_KEY_D: directions["RIGHT"] = held; return;
    default: break;
  }
  if (action != GLFW_PRESS) return;
  switch (key) {
    case GLFW_KEY_P:
      if (pauseCallback) pauseCallback();
      break;
    case GLFW_KEY_SPACE:
      if (jetpackCallback) jetpackCallback();
      break;
    case GLFW_KEY_ESCAPE: ++gameState; break;
    case GLFW_KEY_F2: renderSwitches.toggleOverlay(); break;
    case GLFW_KEY_F3: renderSwitches.toggleWireframe(); break;
    case GLFW_KEY_F4: renderSwitches.toggleSampling(); break;
    case GLFW_KEY_F5: renderSwitches.cycleMipmap(); break;
    case GLFW_KEY_F6: renderSwitches.toggleFog(); break;
    case GLFW_KEY_F7: renderSwitches.toggleBoundingBoxes(); break;
    case GLFW_KEY_F8: renderSwitches.toggleFrustumCulling(); break;
    case GLFW_KEY_F9: renderSwitches.toggleTransparency(); break;
    default: break;
  }
}

void InputManager::onMouseButton(GLFWwindow*, int button, int action) {
  if (eventFilter && eventFilter(button, action, true)) return;
  if (button == GLFW_MOUSE_BUTTON_LEFT) {
    if (action == GLFW_PRESS && triggerPressCallback) triggerPressCallback();
    if (action == GLFW_RELEASE && triggerReleaseCallback) triggerReleaseCallback();
    return;
  }
  if (action != GLFW_PRESS) return;
  if (button == GLFW_MOUSE_BUTTON_RIGHT) {
    std::cout << "RIGHT MOUSE-BUTTON PRESSED" << "\n";
  } else if (button == GLFW_MOUSE_BUTTON_MIDDLE) {
    std::cout << "MIDDLE MOUSE-BUTTON PRESSED" << "\n";
  } else {
    std::cout << "OTHER MOUSE-BUTTON PRESSED" << "\n";
  }
}

void InputManager::onCursor(GLFWwindow* window, double x) {
  int width = 0;
  int height = 0;
  glfwGetWindowSize(window, &width, &height);
  turnFromCursor(width, x);
}

void InputManager::turnFromCursor(int windowWidth, double x) {
  const float dx = static_cast<float>(static_cast<double>(windowWidth / 2) - x);
  if (positionManager == nullptr) throw std::runtime_error("InputManager: No PositionManager is set.");
  positionManager->setFacing(mainCharacterId, positionManager->facing(mainCharacterId) + sensitivity * dx);
}

void InputManager::onScroll(double yOffset) {
  cameraDistance -= static_cast<float>(yOffset);
  if (cameraDistance < cameraDistanceMinimum) cameraDistance = cameraDistanceMinimum;
  if (cameraDistance > cameraDistanceMaximum) cameraDistance = cameraDistanceMaximum;
}

void InputManager::update() {
  if (positionManager == nullptr) return;
  frameTimer.update();
  const float step = moveSpeed * frameTimer.getDelta();

  Vec3 p = positionManager->position(mainCharacterId);
  const float theta = positionManager->facing(mainCharacterId);
  const float a = 3.14159274f - (initialYaw + theta);
  const Vec3 forward = glm::normalize(Vec3(std::cos(a), 0.0f, std::sin(a)));
  const Vec3 right = glm::normalize(Vec3(-forward.z, 0.0f, forward.x));

  const bool ahead = directions.at("FORWARD");
  const bool back = directions.at("BACKWARD");
  const bool toRight = directions.at("RIGHT");
  const bool toLeft = directions.at("LEFT");
  Vec3 m(0.0f);
  if (ahead) m += forward * step;
  if (back) m -= forward * step;
  if (toRight) m += right * step;
  if (toLeft) m -= right * step;
  if (ahead != back && toRight != toLeft) {
    m.x *= 0.7071f;
    m.z *= 0.7071f;
  }

  // One axis at a time, so that a wall across one axis still lets the other
  // slide. A long frame's step goes in safe sub-steps up to the first refused
  // one, so the character ends where the last allowed one left it.
  if (m != Vec3(0.0f)) {
    positionManager->moveInSteps(mainCharacterId, Vec3(p.x + m.x, p.y, p.z));
    p.x = positionManager->position(mainCharacterId).x;
    positionManager->moveInSteps(mainCharacterId, Vec3(p.x, p.y, p.z + m.z));
    p.z = positionManager->position(mainCharacterId).z;
  }

  orbit(p, theta, frameTimer.getDelta());
}

void InputManager::placeCamera() {
  if (positionManager == nullptr) return;
  // No time to ease over: the camera stands where the way allows.
  orbit(positionManager->position(mainCharacterId), positionManager->facing(mainCharacterId), 1e6f);
}

void InputManager::orbit(const Vec3& p, float theta, float seconds) {
  const float a = 3.14159274f - (initialYaw + theta);
  const float horizontal = pitchCos * cameraDistance;
  Vec3 eye(p.x - std::sin(theta) * horizontal, p.y + pitchSin * cameraDistance, p.z - std::cos(theta) * horizontal);
  if (cameraBoom) {
    // In along the line from the character's centre: the view keeps its
    // direction and, brought in close, still has the whole character in it
    // (along the line to the feet it would see only the legs).
    const Vec3 centre = positionManager->octree().centreOf(mainCharacterId);
    eye = centre + (eye - centre) * cameraBoom->follow(cameraBoom->freeShare(centre, eye), seconds);
  }
  positionManager->eyePosition = eye;
  positionManager->cameraYaw = wrapAngle(a);
}
