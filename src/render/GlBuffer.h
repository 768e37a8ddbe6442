#pragma once
// Owns one OpenGL buffer object: empty until create(), deleted with the owner.
#include <GL/glew.h>

#include <cstddef>

#include "common/UniqueName.h"

class GlBuffer {
 public:
  GlBuffer() = default;  // empty: name 0
  static GlBuffer create();

  GLuint name() const { return handle.get(); }
  // Binds to target, fills with size bytes (GL_STATIC_DRAW) and unbinds target.
  void fill(GLenum target, const void* data, std::size_t size);

 private:
  static void release(GLuint id);
  UniqueName<GLuint, &GlBuffer::release> handle;
};
