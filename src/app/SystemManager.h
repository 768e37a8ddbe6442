#pragma once
// Owns the window, the input manager and the graphic manager; runs the play
// loop and the game-over loop on gameState. Its destruction ends the process
// with exit status 0.

#include <memory>

struct GLFWwindow;
class GraphicManager;
class InputManager;
class SoundManager;

class SystemManager {
 public:
  // Loads the configuration, opens the window and context, creates the managers.
  SystemManager();
  SystemManager(const SystemManager&) = delete;
  SystemManager& operator=(const SystemManager&) = delete;
  // Releases the sound, destroys the window, terminates GLFW and exits the
  // process with status 0.
  virtual ~SystemManager();

  // Initialises the scene and the sound, then plays until gameState reaches 1
  // and shows the game-over screen (with its sting) until it reaches 2.
  void run();

 private:
  GraphicManager* graphicManager = nullptr;  // lives until the process ends
  GLFWwindow* window = nullptr;
  bool fullscreen = false;
  int width = 0;
  int height = 0;
  InputManager* inputManager = nullptr;  // lives until the process ends
  std::unique_ptr<SoundManager> soundManager;  // released before the process ends
};
