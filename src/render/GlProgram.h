#pragma once
// Sole owner of one linked OpenGL program. Move-only; a moved-from program
// holds name 0.
#include <GL/glew.h>

class GlProgram {
 public:
  GlProgram() = default;
  // Takes over a program name (from ShaderManager::createProgram).
  explicit GlProgram(GLuint program) : id(program) {}
  ~GlProgram();
  GlProgram(const GlProgram&) = delete;
  GlProgram& operator=(const GlProgram&) = delete;
  GlProgram(GlProgram&& other) noexcept;
  GlProgram& operator=(GlProgram&& other) noexcept;

  GLuint name() const { return id; }

 private:
  GLuint id = 0;
};
