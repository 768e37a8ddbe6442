#include "support/GlContext.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <cstdio>

namespace gltest {

bool ensureContext() {
  static int state = 0;  // 0 untried, 1 ready, -1 failed
  if (state != 0) return state == 1;
  state = -1;
  glfwSetErrorCallback([](int, const char* text) { std::fprintf(stderr, "GLFW: %s\n", text); });
  if (!glfwInit()) return false;
  glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
  glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 3);
  glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 2);
  glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
  GLFWwindow* window = glfwCreateWindow(kWidth, kHeight, "gl-tests", nullptr, nullptr);
  if (window == nullptr) return false;
  glfwMakeContextCurrent(window);
  glewExperimental = GL_TRUE;
  if (glewInit() != GLEW_OK) return false;
  glGetError();  // GLEW's initialisation may leave GL_INVALID_ENUM behind
  state = 1;
  return true;
}

}  // namespace gltest
