#include "render/SceneTarget.h"

#include <sstream>
#include <stdexcept>

#include "render/GlProgram.h"

namespace {

void requireComplete() {
  const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
  if (status == GL_FRAMEBUFFER_COMPLETE) return;
  std::ostringstream message;
  message << "RENDER: The scene target is incomplete, status: 0x" << std::hex << status;
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  throw std::runtime_error(message.str());
}

// Two triangles over the whole of clip space: position (x, y, z), texture (u, v).
const float kQuad[] = {-1, -1, 0, 0, 0, 1, -1, 0, 1, 0, -1, 1, 0, 0, 1, 1, 1, 0, 1, 1};

}  // namespace

void SceneTarget::resize(int newWidth, int newHeight, int newSamples, GLuint quadProgram) {
  width = newWidth;
  height = newHeight;
  samples = newSamples;
  program = quadProgram;

  picture = GlTexture::create();
  glActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, picture.name());
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glBindTexture(GL_TEXTURE_2D, 0);

  depth = GlRenderbuffer::create(GL_DEPTH_COMPONENT24, width, height, samples);
  drawn = GlFramebuffer::create();
  glBindFramebuffer(GL_FRAMEBUFFER, drawn.name());
  if (samples > 0) {
    colour = GlRenderbuffer::create(GL_RGBA8, width, height, samples);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour.name());
  } else {
    colour = GlRenderbuffer();
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, picture.name(), 0);
  }
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth.name());
  requireComplete();
  if (samples > 0) {
    resolved = GlFramebuffer::create();
    glBindFramebuffer(GL_FRAMEBUFFER, resolved.name());
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, picture.name(), 0);
    requireComplete();
  } else {
    resolved = GlFramebuffer();
  }
  glBindFramebuffer(GL_FRAMEBUFFER, 0);

  mvpLocation = requireUniform(program, "mvp", "RENDER: Could not bind attribute '");
  quad = GlVertexArray::create();
  quadVertices = GlBuffer::create();
  quadVertices.fill(GL_ARRAY_BUFFER, kQuad, sizeof kQuad);
  quad.bind();
  glBindBuffer(GL_ARRAY_BUFFER, quadVertices.name());
  const GLsizei stride = 5 * sizeof(float);
  const GLint position = glGetAttribLocation(program, "position");
  const GLint texture = glGetAttribLocation(program, "texture");
  if (position >= 0) {
    glEnableVertexAttribArray(static_cast<GLuint>(position));
    glVertexAttribPointer(static_cast<GLuint>(position), 3, GL_FLOAT, GL_FALSE, stride, nullptr);
  }
  if (texture >= 0) {
    glEnableVertexAttribArray(static_cast<GLuint>(texture));
    glVertexAttribPointer(static_cast<GLuint>(texture), 2, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<const void*>(3 * sizeof(float)));
  }
  GlVertexArray::unbind();
  glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void SceneTarget::bind() const {
  glBindFramebuffer(GL_FRAMEBUFFER, drawn.name());
  glViewport(0, 0, width, height);
}

void SceneTarget::present(int windowWidth, int windowHeight) const {
  if (samples > 0) {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, drawn.name());
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, resolved.name());
    glBlitFramebuffer(0, 0, width, height, 0, 0, width, height, GL_COLOR_BUFFER_BIT, GL_NEAREST);
  }
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  glViewport(0, 0, windowWidth, windowHeight);
  const GLboolean depthTest = glIsEnabled(GL_DEPTH_TEST);
  const GLboolean blend = glIsEnabled(GL_BLEND);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_BLEND);
  glUseProgram(program);
  const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  glUniformMatrix4fv(mvpLocation, 1, GL_FALSE, identity);
  glActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, picture.name());
  quad.bind();
  glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
  GlVertexArray::unbind();
  glUseProgram(0);
  if (depthTest) glEnable(GL_DEPTH_TEST);
  if (blend) glEnable(GL_BLEND);
}
