#include "support/GlContext.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <cstdio>

#include "config/Config.h"

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

namespace {

std::string errorName(GLenum error) {
  switch (error) {
    case GL_INVALID_ENUM: return "GL_INVALID_ENUM";
    case GL_INVALID_VALUE: return "GL_INVALID_VALUE";
    case GL_INVALID_OPERATION: return "GL_INVALID_OPERATION";
    case GL_INVALID_FRAMEBUFFER_OPERATION: return "GL_INVALID_FRAMEBUFFER_OPERATION";
    case GL_OUT_OF_MEMORY: return "GL_OUT_OF_MEMORY";
    default: return "GL error " + std::to_string(error);
  }
}

}  // namespace

bool GlTest::startWith(const std::string& configText) {
  if (!gltest::ensureContext()) {
    [] { GTEST_SKIP() << "no OpenGL 3.2 core context available"; }();
    return false;
  }
  Config::instance().clear();
  Config::instance().loadFromString(configText);
  return true;
}

void GlTest::TearDown() {
  cleanUp();
  if (!IsSkipped()) {
    std::string errors;
    // A driver reports each kind once; a few reads drain it.
    for (int i = 0; i < 8; ++i) {
      const GLenum error = glGetError();
      if (error == GL_NO_ERROR) break;
      errors += (errors.empty() ? "" : ", ") + errorName(error);
    }
    EXPECT_TRUE(errors.empty()) << "the test left OpenGL errors behind: " << errors;
  }
  Config::instance().clear();
}
