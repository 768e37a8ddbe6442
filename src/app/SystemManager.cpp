#include "app/SystemManager.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/GraphicManager.h"
#include "common/GameState.h"
#include "config/Config.h"
#include "game/InputManager.h"
#include "player/PlayerFiles.h"
#include "player/ScoreKeeper.h"
#include "render/GameOverScreen.h"
#include "render/ShaderManager.h"
#include "sound/SoundManager.h"

namespace {

void errorCallback(int, const char* description) { std::cerr << description; }

InputManager* inputOf(GLFWwindow* window) { return static_cast<InputManager*>(glfwGetWindowUserPointer(window)); }

// The running system, for the events that are the window's own.
SystemManager* running = nullptr;

// Events can arrive before run() sets the user pointer; they have no receiver yet.
void keyCallback(GLFWwindow* window, int key, int, int action, int) {
  if (running != nullptr && running->onWindowKey(key, action)) return;
  if (InputManager* input = inputOf(window)) input->onKey(key, action);
}

void framebufferSizeCallback(GLFWwindow*, int width, int height) {
  if (running != nullptr) running->onFramebufferSize(width, height);
}

// The monitor whose area holds the window's centre, else the primary one.
GLFWmonitor* monitorUnder(GLFWwindow* window) {
  int x = 0, y = 0, w = 0, h = 0;
  glfwGetWindowPos(window, &x, &y);
  glfwGetWindowSize(window, &w, &h);
  int count = 0;
  GLFWmonitor** monitors = glfwGetMonitors(&count);
  for (int i = 0; i < count; ++i) {
    int mx = 0, my = 0;
    glfwGetMonitorPos(monitors[i], &mx, &my);
    const GLFWvidmode* mode = glfwGetVideoMode(monitors[i]);
    if (mode == nullptr) continue;
    const int cx = x + w / 2, cy = y + h / 2;
    if (cx >= mx && cx < mx + mode->width && cy >= my && cy < my + mode->height) return monitors[i];
  }
  return glfwGetPrimaryMonitor();
}

void mouseButtonCallback(GLFWwindow* window, int button, int action, int) {
  if (InputManager* input = inputOf(window)) input->onMouseButton(window, button, action);
}

void scrollCallback(GLFWwindow* window, double, double yOffset) {
  if (InputManager* input = inputOf(window)) input->onScroll(yOffset);
}

// While true, cursor events are the window's arrival, not the player's.
bool settlingCursor = false;

void cursorPositionCallback(GLFWwindow* window, double x, double) {
  if (settlingCursor) return;
  if (InputManager* input = inputOf(window)) input->onCursor(window, x);
}

}  // namespace

SystemManager::SystemManager() {
  Config& config = Config::instance();
  config.setPath(kConfigPath);
  config.load();

  fullscreen = config.getBool("glfw.fullscreen");
  // GLFW asserts on a negative size instead of reporting it; a size of 0 it
  // reports itself, and the window is then not created.
  const std::string mode = fullscreen ? "glfw.window.fullscreen." : "glfw.window.windowed.";
  width = config.getIntAtLeast(mode + "width", 0);
  height = config.getIntAtLeast(mode + "height", 0);

  glfwSetErrorCallback(errorCallback);
  if (!glfwInit()) throw std::runtime_error("GLFW: Could not initialize GLFW.");

  glfwWindowHint(GLFW_RESIZABLE, config.getInt("glfw.resizable") == 1 ? GLFW_TRUE : GLFW_FALSE);
  glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, config.getInt("glfw.version.major"));
  glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, config.getInt("glfw.version.minor"));
  glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
  glfwWindowHint(GLFW_SAMPLES, config.getInt("glfw.samples"));

  const std::string name = config.getString("glfw.window.name");
  window = glfwCreateWindow(width, height, name.c_str(), fullscreen ? glfwGetPrimaryMonitor() : nullptr, nullptr);
  if (window == nullptr) {
    glfwTerminate();
    throw std::runtime_error("GLFW: Could not create window.");
  }
  glfwMakeContextCurrent(window);

  glfwSetInputMode(window, GLFW_STICKY_KEYS, GLFW_TRUE);
  glfwSetInputMode(window, GLFW_STICKY_MOUSE_BUTTONS, GLFW_TRUE);
  glfwSetInputMode(window, GLFW_CURSOR, GLFW_CURSOR_DISABLED);

  glfwSetKeyCallback(window, keyCallback);
  glfwSetMouseButtonCallback(window, mouseButtonCallback);
  glfwSetScrollCallback(window, scrollCallback);
  glfwSetCursorPosCallback(window, cursorPositionCallback);
  glfwSetFramebufferSizeCallback(window, framebufferSizeCallback);
  fullscreenKey = config.isOn("glfw.fullscreen.key");
  windowedWidth = width;
  windowedHeight = height;
  if (fullscreen) {
    // Started full screen: F11 goes to a window of the windowed size, if it is given.
    windowedWidth = config.hasKey("glfw.window.windowed.width") ? config.getInt("glfw.window.windowed.width") : 1024;
    windowedHeight = config.hasKey("glfw.window.windowed.height") ? config.getInt("glfw.window.windowed.height") : 768;
  }

  int actualWidth = 0;
  int actualHeight = 0;
  glfwGetWindowSize(window, &actualWidth, &actualHeight);
  glViewport(0, 0, actualWidth, actualHeight);  // OpenGL 1.0: needs no GLEW

  glewExperimental = config.getInt("glew.experimental") == 1 ? GL_TRUE : GL_FALSE;
  if (glewInit() != GLEW_OK) {
    std::cerr << "Failed to initialize GLEW\n";
    throw std::runtime_error("GLEW: Could not initialize GLEW.");
  }
  ShaderManager::requireShaderExtensions();

  inputManager = new InputManager();
  graphicManager = new GraphicManager(inputManager);
}

SystemManager::~SystemManager() {
  soundManager.reset();  // its sources, buffers, context and device, in that order
  glfwDestroyWindow(window);
  glfwTerminate();
  std::exit(0);
}

bool SystemManager::onWindowKey(int key, int action) {
  if (!fullscreenKey || key != GLFW_KEY_F11 || action != GLFW_PRESS) return false;
  toggleFullscreen();
  return true;
}

void SystemManager::onFramebufferSize(int newWidth, int newHeight) {
  pendingWidth = newWidth;
  pendingHeight = newHeight;
}

void SystemManager::toggleFullscreen() {
  if (glfwGetWindowMonitor(window) == nullptr) {
    glfwGetWindowPos(window, &windowedX, &windowedY);
    glfwGetWindowSize(window, &windowedWidth, &windowedHeight);
    GLFWmonitor* monitor = monitorUnder(window);
    const GLFWvidmode* mode = glfwGetVideoMode(monitor);
    if (mode == nullptr) return;
    glfwSetWindowMonitor(window, monitor, 0, 0, mode->width, mode->height, mode->refreshRate);
  } else {
    glfwSetWindowMonitor(window, nullptr, windowedX, windowedY, std::max(windowedWidth, 1),
                         std::max(windowedHeight, 1), 0);
  }
}

void SystemManager::followFramebuffer(GameOverScreen* gameOver) {
  if (pendingWidth == framebufferWidth && pendingHeight == framebufferHeight) return;
  if (pendingWidth <= 0 || pendingHeight <= 0) return;  // minimised: nothing to draw into
  framebufferWidth = pendingWidth;
  framebufferHeight = pendingHeight;
  graphicManager->resize(framebufferWidth, framebufferHeight);
  if (gameOver != nullptr) gameOver->resize(framebufferWidth, framebufferHeight);
}

void SystemManager::run() {
  graphicManager->initialise(width, height);
  soundManager = std::make_unique<SoundManager>();
  graphicManager->setSound(soundManager.get());

  int windowWidth = 0;
  int windowHeight = 0;
  glfwGetWindowSize(window, &windowWidth, &windowHeight);
  glfwGetFramebufferSize(window, &framebufferWidth, &framebufferHeight);
  pendingWidth = framebufferWidth;
  pendingHeight = framebufferHeight;
  running = this;

  // The window's arrival brings cursor events that are not the player's: the
  // pointer wherever it happened to be when the window appeared, and the warp
  // that captures it. Measured against the centre they would turn the
  // character by an amount that depends on where the pointer was, so they are
  // polled away; keys and buttons pressed meanwhile still count.
  glfwSetWindowUserPointer(window, inputManager);
  glfwSetCursorPos(window, static_cast<double>(windowWidth / 2), static_cast<double>(windowHeight / 2));
  settlingCursor = true;
  glfwPollEvents();
  settlingCursor = false;

  Config& config = Config::instance();
  const float alpha = config.getFloat("opengl.clearcolor.a");
  const float blue = config.getFloat("opengl.clearcolor.b");
  const float green = config.getFloat("opengl.clearcolor.g");
  const float red = config.getFloat("opengl.clearcolor.r");
  glClearColor(red, green, blue, alpha);
  glClearDepth(config.getFloat("opengl.cleardepth"));

  // Additions to the game-over screen: the best scores kept between games,
  // and Enter (or a click) for another round.
  std::optional<ScoreKeeper> scores;
  if (config.isOn("scores.keep")) scores.emplace(playerfiles::dataFolder());
  const bool retry = config.isOn("gameover.retry");

  std::unique_ptr<GameOverScreen> gameOver;  // built when the first game ends, kept for the next
  while (true) {
    while (gameState < 1) {
      followFramebuffer(gameOver.get());
      glfwGetWindowSize(window, &windowWidth, &windowHeight);
      glfwSetCursorPos(window, static_cast<double>(windowWidth / 2), static_cast<double>(windowHeight / 2));
      graphicManager->frame();
      glfwSwapBuffers(window);
      glfwPollEvents();
    }

    // Whatever ended the play in its last frame (a lethal contact and an
    // Escape pressed in the same frame, say), the game-over screen shows the
    // score: only an Escape pressed while it is on screen quits.
    gameState = 1;
    soundManager->gameOver();
    if (!gameOver) gameOver = std::make_unique<GameOverScreen>(framebufferWidth, framebufferHeight);
    const std::int32_t finalPoints = graphicManager->points();
    std::vector<std::string> notes;
    if (scores) {
      const ScoreKeeper::Result kept = scores->record(finalPoints);
      const bool newBest = kept.newBest && finalPoints > 0;
      notes.push_back(newBest ? "NEW BEST SCORE!" : "BEST:  " + std::to_string(kept.best));
    }
    if (retry) notes.push_back("ENTER  PLAY AGAIN   ESC  QUIT");
    while (gameState < 2 && !graphicManager->retryAsked()) {
      followFramebuffer(gameOver.get());
      gameOver->draw(finalPoints, notes);
      glfwSwapBuffers(window);
      glfwPollEvents();
    }
    if (gameState >= 2) break;
    graphicManager->newRound();
    soundManager->newRound();
    gameState = 0;
  }
  glfwSetWindowShouldClose(window, GLFW_TRUE);
  gameOver->release();
}
