#include "render/ShadowMapFBO.h"

#include <GL/glew.h>

#include <sstream>
#include <stdexcept>

bool ShadowMapFBO::init(std::int32_t newWidth, std::int32_t newHeight) {
  width = newWidth;
  height = newHeight;
  framebuffer = GlFramebuffer::create();
  depthTexture = GlTexture::create();
  glBindTexture(GL_TEXTURE_2D, depthTexture.name());
  glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, width, height, 0, GL_DEPTH_COMPONENT, GL_FLOAT,
               nullptr);
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, GL_COMPARE_REF_TO_TEXTURE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_FUNC, GL_LESS);

  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer.name());
  glFramebufferTexture(GL_DRAW_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, depthTexture.name(), 0);
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
