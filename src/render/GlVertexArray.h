#pragma once
// Owns one OpenGL vertex array object: empty until create(), deleted with the owner.
#include <GL/glew.h>

#include "common/UniqueName.h"

class GlVertexArray {
 public:
  GlVertexArray() = default;  // empty: name 0
  static GlVertexArray create();

  GLuint name() const { return handle.get(); }
  void bind() const { glBindVertexArray(name()); }
  static void unbind() { glBindVertexArray(0); }

 private:
  static void release(GLuint id);
  UniqueName<GLuint, &GlVertexArray::release> handle;
};
