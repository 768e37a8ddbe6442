#pragma once
// One shadow map: a framebuffer whose only attachment is a depth texture that
// shaders sample with depth comparison. Owns both; move-only.
#include <cstdint>

class ShadowMapFBO {
 public:
  ShadowMapFBO() = default;
  ~ShadowMapFBO();
  ShadowMapFBO(const ShadowMapFBO&) = delete;
  ShadowMapFBO& operator=(const ShadowMapFBO&) = delete;
  ShadowMapFBO(ShadowMapFBO&& other) noexcept;
  ShadowMapFBO& operator=(ShadowMapFBO&& other) noexcept;

  // Creates the framebuffer and a width x height depth texture (releasing any
  // earlier ones) and leaves the framebuffer bound. Returns true when complete;
  // an incomplete one throws std::runtime_error "ShadowMapFBO: Error, status: 0x...".
  bool init(std::int32_t width, std::int32_t height);

  std::uint32_t getFramebuffer() const { return framebuffer; }    // 0: none
  std::uint32_t getDepthTexture() const { return depthTexture; }  // 0: none
  std::int32_t getWidth() const { return width; }
  std::int32_t getHeight() const { return height; }

 private:
  void release() noexcept;

  std::uint32_t framebuffer = 0;
  std::uint32_t depthTexture = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
};
