#include "render/GlVertexArray.h"

#include <utility>

GlVertexArray::GlVertexArray() { glGenVertexArrays(1, &id); }

GlVertexArray::~GlVertexArray() {
  if (id != 0) glDeleteVertexArrays(1, &id);
}

GlVertexArray::GlVertexArray(GlVertexArray&& other) noexcept : id(std::exchange(other.id, 0)) {}

GlVertexArray& GlVertexArray::operator=(GlVertexArray&& other) noexcept {
  if (this != &other) {
    if (id != 0) glDeleteVertexArrays(1, &id);
    id = std::exchange(other.id, 0);
  }
  return *this;
}
