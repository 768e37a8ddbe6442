#pragma once
// Sole owner of one OpenGL buffer object: generated on construction, deleted
// with the owner. Move-only; a moved-from buffer holds name 0.
#include <GL/glew.h>

#include <cstddef>

class GlBuffer {
 public:
  GlBuffer();
  ~GlBuffer();
  GlBuffer(const GlBuffer&) = delete;
  GlBuffer& operator=(const GlBuffer&) = delete;
  GlBuffer(GlBuffer&& other) noexcept;
  GlBuffer& operator=(GlBuffer&& other) noexcept;

  GLuint name() const { return id; }
  // Binds to target, fills with size bytes (GL_STATIC_DRAW) and unbinds target.
  void fill(GLenum target, const void* data, std::size_t size);

 private:
  GLuint id = 0;
};
