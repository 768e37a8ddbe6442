#pragma once
// Owns one OpenGL renderbuffer object: empty until create(), deleted with the owner.
#include <GL/glew.h>

#include "common/UniqueName.h"

class GlRenderbuffer {
 public:
  GlRenderbuffer() = default;  // empty: name 0
  // A renderbuffer of the given format and size, with that many samples (0: none).
  static GlRenderbuffer create(GLenum format, GLsizei width, GLsizei height, GLsizei samples = 0);

  GLuint name() const { return handle.get(); }

 private:
  static void release(GLuint id);
  UniqueName<GLuint, &GlRenderbuffer::release> handle;
};
