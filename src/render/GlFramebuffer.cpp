#include "render/GlFramebuffer.h"

GlFramebuffer GlFramebuffer::create() {
  GLuint id = 0;
  glGenFramebuffers(1, &id);
  GlFramebuffer framebuffer;
  framebuffer.handle.reset(id);
  return framebuffer;
}

void GlFramebuffer::release(GLuint id) { glDeleteFramebuffers(1, &id); }
