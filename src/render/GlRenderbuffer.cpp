#include "render/GlRenderbuffer.h"

GlRenderbuffer GlRenderbuffer::create(GLenum format, GLsizei width, GLsizei height, GLsizei samples) {
  GLuint id = 0;
  glGenRenderbuffers(1, &id);
  glBindRenderbuffer(GL_RENDERBUFFER, id);
  glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, format, width, height);
  glBindRenderbuffer(GL_RENDERBUFFER, 0);
  GlRenderbuffer renderbuffer;
  renderbuffer.handle.reset(id);
  return renderbuffer;
}

void GlRenderbuffer::release(GLuint id) { glDeleteRenderbuffers(1, &id); }
