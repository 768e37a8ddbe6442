#pragma once
// Sole owner of one OpenGL vertex array object. Move-only; a moved-from
// vertex array holds name 0.
#include <GL/glew.h>

class GlVertexArray {
 public:
  GlVertexArray();
  ~GlVertexArray();
  GlVertexArray(const GlVertexArray&) = delete;
  GlVertexArray& operator=(const GlVertexArray&) = delete;
  GlVertexArray(GlVertexArray&& other) noexcept;
  GlVertexArray& operator=(GlVertexArray&& other) noexcept;

  GLuint name() const { return id; }
  void bind() const { glBindVertexArray(id); }
  static void unbind() { glBindVertexArray(0); }

 private:
  GLuint id = 0;
};
