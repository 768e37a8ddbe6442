#include "render/GlTexture.h"

GlTexture GlTexture::create() {
  GLuint id = 0;
  glGenTextures(1, &id);
  GlTexture texture;
  texture.handle.reset(id);
  return texture;
}

void GlTexture::release(GLuint id) { glDeleteTextures(1, &id); }
