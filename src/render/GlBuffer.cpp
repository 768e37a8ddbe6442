#include "render/GlBuffer.h"

GlBuffer GlBuffer::create() {
  GLuint id = 0;
  glGenBuffers(1, &id);
  GlBuffer buffer;
  buffer.handle.reset(id);
  return buffer;
}

void GlBuffer::release(GLuint id) { glDeleteBuffers(1, &id); }

void GlBuffer::fill(GLenum target, const void* data, std::size_t size) {
  glBindBuffer(target, name());
  glBufferData(target, static_cast<GLsizeiptr>(size), data, GL_STATIC_DRAW);
  glBindBuffer(target, 0);
}
