#pragma once
// One shadow map: a framebuffer whose only attachment is a depth texture that
// shaders sample with depth comparison. Owns both; empty until init().
#include <cstdint>

#include "render/GlFramebuffer.h"
#include "render/GlTexture.h"

class ShadowMapFBO {
 public:
  // Creates the framebuffer and a width x height depth texture (releasing any
  // earlier ones) and leaves the framebuffer bound. Returns true when complete;
  // an incomplete one throws std::runtime_error "ShadowMapFBO: Error, status: 0x...".
  bool init(std::int32_t width, std::int32_t height);

  std::uint32_t getFramebuffer() const { return framebuffer.name(); }    // 0: none
  std::uint32_t getDepthTexture() const { return depthTexture.name(); }  // 0: none
  std::int32_t getWidth() const { return width; }
  std::int32_t getHeight() const { return height; }

 private:
  GlFramebuffer framebuffer;
  GlTexture depthTexture;
  std::int32_t width = 0;
  std::int32_t height = 0;
};
