#include "render/GlVertexArray.h"

GlVertexArray GlVertexArray::create() {
  GLuint id = 0;
  glGenVertexArrays(1, &id);
  GlVertexArray vertexArray;
  vertexArray.handle.reset(id);
  return vertexArray;
}

void GlVertexArray::release(GLuint id) { glDeleteVertexArrays(1, &id); }
