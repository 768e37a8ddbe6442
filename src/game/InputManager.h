#pragma once
// Turns keyboard, mouse and wheel events into game actions.
// (Foundation stage: only Escape acts; the full key table arrives with movement.)

struct GLFWwindow;

class InputManager {
 public:
  InputManager();
  void onKey(int key, int action);
  void onMouseButton(GLFWwindow* window, int button, int action);
  void onCursor(GLFWwindow* window, double x);
  void onScroll(double yOffset);
  void update();
};
