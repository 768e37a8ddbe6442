#include "render/GlTexture.h"

#include <utility>

GlTexture::~GlTexture() { release(); }

GlTexture::GlTexture(GlTexture&& other) noexcept : id(std::exchange(other.id, 0)) {}

GlTexture& GlTexture::operator=(GlTexture&& other) noexcept {
  if (this != &other) {
    release();
    id = std::exchange(other.id, 0);
  }
  return *this;
}

void GlTexture::generate() {
  release();
  glGenTextures(1, &id);
}

void GlTexture::release() {
  if (id != 0) glDeleteTextures(1, &id);
  id = 0;
}
