#pragma once
// Owns one OpenGL texture name: empty until create(), deleted with the owner.
#include <GL/glew.h>

#include "common/UniqueName.h"

class GlTexture {
 public:
  GlTexture() = default;  // empty: name 0
  static GlTexture create();

  GLuint name() const { return handle.get(); }

 private:
  static void release(GLuint id);
  UniqueName<GLuint, &GlTexture::release> handle;
};
