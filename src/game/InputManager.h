#pragma once
// Turns keyboard, mouse and wheel events into game actions: walking and
// turning the main character, the trigger, the jetpack, pause, quitting, the
// render switches and the camera distance. Each frame it walks the character
// and places the orbit camera behind it.
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "app/TimerFrameIndependency.h"
#include "common/Types.h"
#include "game/CameraBoom.h"
#include "render/RenderFunctionalityManager.h"

struct GLFWwindow;
class PositionManager;

class InputManager {
 public:
  // Reads the camera, speed and sensitivity keys and "renderfunctionalitymanager.showFog".
  InputManager();

  // Receives (milliseconds per frame, frames) once per second.
  void setFrameRateCallback(std::function<void(float, int)> callback);
  // Stores the position manager (not owned) and gives it the configured camera pitch.
  void setPositionManager(PositionManager* positionManager);
  void setPauseCallback(std::function<void()> callback) { pauseCallback = std::move(callback); }
  void setJetpackCallback(std::function<void()> callback) { jetpackCallback = std::move(callback); }
  void setTriggerPressCallback(std::function<void()> callback) { triggerPressCallback = std::move(callback); }
  void setTriggerReleaseCallback(std::function<void()> callback) { triggerReleaseCallback = std::move(callback); }
  void setMainCharacterId(ObjectId id) { mainCharacterId = id; }
  // Sees every key and mouse button event (GLFW codes) before the game does;
  // returning true keeps it from the game. None by default.
  using EventFilter = std::function<bool(int code, int action, bool isButton)>;
  void setEventFilter(EventFilter filter) { eventFilter = std::move(filter); }
  // A new round: no direction held, the camera at its configured distance,
  // the walking clock from now.
  void newRound();
  // Keeps the camera out of walls, floors and ceilings from now on (owned);
  // without one the camera is always at its orbit position.
  void setCameraBoom(std::unique_ptr<CameraBoom> boom) { cameraBoom = std::move(boom); }

  // GLFW key and action codes. W, A, S, D follow press, repeat and release; other keys act on press only.
  void onKey(int key, int action);
  void onMouseButton(GLFWwindow* window, int button, int action);
  // Turns the main character by the cursor's distance from the window's centre column.
  void onCursor(GLFWwindow* window, double x);
  // The turn for a window windowWidth pixels wide; throws std::runtime_error without a position manager.
  void turnFromCursor(int windowWidth, double x);
  // Scrolling up brings the camera closer; the distance stays within its bounds.
  void onScroll(double yOffset);
  // The "IM" stage: walks the main character (sliding along walls) and orbits the camera.
  void update();
  // Only the orbit: the camera behind the character where it stands (for a
  // first frame drawn before play begins).
  void placeCamera();

  // "FORWARD", "BACKWARD", "RIGHT", "LEFT": held or not.
  const std::map<std::string, bool>& getDirections() const { return directions; }
  RenderFunctionalityManager& getRenderSwitches() { return renderSwitches; }
  float getCameraDistance() const { return cameraDistance; }

 private:
  // The camera behind a character at p facing theta, at the scrolled
  // distance (brought in by the boom, if any, which eases over seconds).
  void orbit(const Vec3& p, float theta, float seconds);

  TimerFrameIndependency frameTimer;
  RenderFunctionalityManager renderSwitches;
  PositionManager* positionManager = nullptr;
  std::function<void()> pauseCallback;
  std::function<void()> jetpackCallback;
  std::function<void()> triggerPressCallback;
  std::function<void()> triggerReleaseCallback;
  std::map<std::string, bool> directions;
  EventFilter eventFilter;
  std::unique_ptr<CameraBoom> cameraBoom;
  ObjectId mainCharacterId = 0;
  float cameraDistance;
  float configuredDistance;
  float cameraDistanceMinimum;
  float cameraDistanceMaximum;
  float initialYaw;
  float moveSpeed;
  float sensitivity;
  float pitchSin;
  float pitchCos;
};
