#include "render/GlBuffer.h"

#include <utility>

GlBuffer::GlBuffer() { glGenBuffers(1, &id); }

GlBuffer::~GlBuffer() {
  if (id != 0) glDeleteBuffers(1, &id);
}

GlBuffer::GlBuffer(GlBuffer&& other) noexcept : id(std::exchange(other.id, 0)) {}

GlBuffer& GlBuffer::operator=(GlBuffer&& other) noexcept {
  if (this != &other) {
    if (id != 0) glDeleteBuffers(1, &id);
    id = std::exchange(other.id, 0);
  }
  return *this;
}

void GlBuffer::fill(GLenum target, const void* data, std::size_t size) {
  glBindBuffer(target, id);
  glBufferData(target, static_cast<GLsizeiptr>(size), data, GL_STATIC_DRAW);
  glBindBuffer(target, 0);
}
