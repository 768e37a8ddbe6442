#pragma once
// The hub of the system: creates and wires every manager, loads the scene and
// runs the fixed stage sequence of one frame.
// (Foundation stage: the frame only clears the window.)
#include <cstdint>

class InputManager;

class GraphicManager {
 public:
  explicit GraphicManager(InputManager* inputManager);
  void initialise(int width, int height);
  void frame();
  // The score the game-over screen shows.
  std::int32_t points() const;

 private:
  InputManager* inputManager;  // not owned
};
