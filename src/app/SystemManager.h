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

  // The window's own keys, before the input manager sees them: F11 between
  // the window and full screen when "glfw.fullscreen.key" is 1. True: taken.
  bool onWindowKey(int key, int action);
  // The framebuffer's new size; the frame follows it before the next one is drawn.
  void onFramebufferSize(int newWidth, int newHeight);

 private:
  // Full screen on the monitor the window stands on, or back to the window.
  void toggleFullscreen();
  // Hands a changed framebuffer size to the frame and the game-over screen.
  void followFramebuffer(class GameOverScreen* gameOver);

  GraphicManager* graphicManager = nullptr;  // lives until the process ends
  GLFWwindow* window = nullptr;
  bool fullscreen = false;
  int width = 0;
  int height = 0;
  bool fullscreenKey = false;  // "glfw.fullscreen.key"
  int windowedX = 0, windowedY = 0, windowedWidth = 0, windowedHeight = 0;  // to go back to
  int framebufferWidth = 0, framebufferHeight = 0;  // as the frame last followed it
  int pendingWidth = 0, pendingHeight = 0;          // as the window last reported it
  InputManager* inputManager = nullptr;  // lives until the process ends
  std::unique_ptr<SoundManager> soundManager;  // released before the process ends
};
