#include "render/GlProgram.h"

#include <utility>

GlProgram::~GlProgram() {
  if (id != 0) glDeleteProgram(id);
}

GlProgram::GlProgram(GlProgram&& other) noexcept : id(std::exchange(other.id, 0)) {}

GlProgram& GlProgram::operator=(GlProgram&& other) noexcept {
  if (this != &other) {
    if (id != 0) glDeleteProgram(id);
    id = std::exchange(other.id, 0);
  }
  return *this;
}
