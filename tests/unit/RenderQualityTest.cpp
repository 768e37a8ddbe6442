#include "render/RenderQuality.h"

#include <gtest/gtest.h>

#include <string>

#include "support/ConfigFixture.h"

using RenderQualityChoice = ConfigFixture;

TEST_F(RenderQualityChoice, TheLighterFrameOnlyWhereTheKeysAndTheRendererSayIt) {
  const struct {
    const char* config;
    const char* renderer;
    float scale;
    int shadowSize;
    bool automatic;
  } cases[] = {
      {"", "llvmpipe (LLVM 15.0.6, 256 bits)", 1.0f, 0, false},  // no keys: the game's frame
      {"render.auto = 1\n", "llvmpipe (LLVM 15.0.6, 256 bits)", 0.5f, 1024, true},
      {"render.auto = 1\n", "Gallium 0.4 on SoftPipe", 0.5f, 1024, true},
      {"render.auto = 1\n", "Software Rasterizer (swrast)", 0.5f, 1024, true},
      {"render.auto = 1\n", "AMD Radeon RX 6600 (radeonsi, navi23)", 1.0f, 0, false},
      {"render.auto = 0\n", "llvmpipe", 1.0f, 0, false},
      {"render.auto = 1\nrender.scale = 0.75\n", "llvmpipe", 0.75f, 0, false},  // the player's own scale stays
      {"render.scale = 1.0\nrender.shadow.size = 512\n", "NVIDIA GeForce", 1.0f, 512, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.config) + c.renderer);
    load(c.config);
    const RenderQuality quality = RenderQuality::fromConfig(c.renderer);
    EXPECT_EQ(quality.scale, c.scale);
    EXPECT_EQ(quality.shadowSize, c.shadowSize);
    EXPECT_EQ(quality.automatic, c.automatic);
  }
}

TEST(RenderQualitySizes, TargetAndShadowMapsForAWindow) {
  const struct {
    float scale;
    int shadowSize;
    int windowWidth, windowHeight;
    RenderSize target, shadow;
  } cases[] = {
      {0.5f, 1024, 1024, 768, {512, 384}, {1024, 1024}},
      {0.5f, 0, 1025, 767, {513, 384}, {1025, 767}},  // halves rounded to the nearest
      {1.0f, 0, 1920, 1080, {1920, 1080}, {1920, 1080}},
      {0.001f, 0, 800, 600, {1, 1}, {800, 600}},  // never below one pixel
      {-2.0f, 0, 800, 600, {1, 1}, {800, 600}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.scale);
    RenderQuality quality;
    quality.scale = c.scale;
    quality.shadowSize = c.shadowSize;
    const RenderSize target = quality.target(c.windowWidth, c.windowHeight);
    const RenderSize shadow = quality.shadowMap(c.windowWidth, c.windowHeight);
    EXPECT_EQ(target.width, c.target.width);
    EXPECT_EQ(target.height, c.target.height);
    EXPECT_EQ(shadow.width, c.shadow.width);
    EXPECT_EQ(shadow.height, c.shadow.height);
  }
}
