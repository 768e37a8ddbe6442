#include "render/GlProgram.h"

#include <stdexcept>

GlProgram GlProgram::adopt(GLuint id) {
  GlProgram program;
  program.handle.reset(id);
  return program;
}

void GlProgram::release(GLuint id) { glDeleteProgram(id); }

GLint requireUniform(GLuint program, const std::string& name, const std::string& failure) {
  const GLint location = glGetUniformLocation(program, name.c_str());
  if (location == -1) {
    glUseProgram(0);
    throw std::invalid_argument(failure + name + "'.");
  }
  return location;
}
