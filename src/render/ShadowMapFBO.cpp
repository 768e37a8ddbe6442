#include "render/ShadowMapFBO.h"

#include <GL/glew.h>

#include <sstream>
#include <stdexcept>
#include <utility>

ShadowMapFBO::~ShadowMapFBO() { release(); }

ShadowMapFBO::ShadowMapFBO(ShadowMapFBO&& other) noexcept
    : framebuffer(std::exchange(other.framebuffer, 0u)),
      depthTexture(std::exchange(other.depthTexture, 0u)),
      width(other.width),
      height(other.height) {}

ShadowMapFBO& ShadowMapFBO::operator=(ShadowMapFBO&& other) noexcept {
  if (this != &other) {
    release();
    framebuffer = std::exchange(other.framebuffer, 0u);
    depthTexture = std::exchange(other.depthTexture, 0u);
    width = other.width;
    height = other.height;
  }
  return *this;
}

void ShadowMapFBO::release() noexcept {
  if (framebuffer != 0) glDeleteFramebuffers(1, &framebuffer);
  if (depthTexture != 0) glDeleteTextures(1, &depthTexture);
  framebuffer = 0;
  depthTexture = 0;
}

bool ShadowMapFBO::init(std::int32_t newWidth, std::int32_t newHeight) {
  release();
  width = newWidth;
  height = newHeight;
  glGenFramebuffers(1, &framebuffer);
  glGenTextures(1, &depthTexture);
  glBindTexture(GL_TEXTURE_2D, depthTexture);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, width, height, 0, GL_DEPTH_COMPONENT, GL_FLOAT,
               nullptr);
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, GL_COMPARE_REF_TO_TEXTURE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_FUNC, GL_LESS);

  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  glFramebufferTexture(GL_DRAW_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, depthTexture, 0);
  glDrawBuffer(GL_NONE);
  // Without a colour attachment the read buffer must be none as well, or a
  // strict 3.2 driver reports the framebuffer incomplete.
  glReadBuffer(GL_NONE);

  const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
  if (status != GL_FRAMEBUFFER_COMPLETE) {
    std::ostringstream message;
    message << "ShadowMapFBO: Error, status: 0x" << std::hex << status;
    throw std::runtime_error(message.str());
  }
  return true;
}
