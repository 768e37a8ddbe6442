#pragma once
// Owns one linked OpenGL program: empty until ShaderManager::createProgram
// builds one, deleted with the owner.
#include <GL/glew.h>

#include <string>

#include "common/UniqueName.h"

class GlProgram {
 public:
  GlProgram() = default;  // empty: name 0
  // Takes over a linked program's name (what ShaderManager::createProgram does).
  static GlProgram adopt(GLuint program);

  GLuint name() const { return handle.get(); }

 private:
  static void release(GLuint id);
  UniqueName<GLuint, &GlProgram::release> handle;
};

// The location of a uniform the program must declare. Without it program 0 is
// selected and std::invalid_argument(failure + name + "'.") is thrown, failure
// being the caller's own words, say "SKYBOX: Could not bind attribute '".
GLint requireUniform(GLuint program, const std::string& name, const std::string& failure);
