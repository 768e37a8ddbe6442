#pragma once
// Owns one OpenGL framebuffer object: empty until create(), deleted with the owner.
#include <GL/glew.h>

#include "common/UniqueName.h"

class GlFramebuffer {
 public:
  GlFramebuffer() = default;  // empty: name 0
  static GlFramebuffer create();

  GLuint name() const { return handle.get(); }

 private:
  static void release(GLuint id);
  UniqueName<GLuint, &GlFramebuffer::release> handle;
};
