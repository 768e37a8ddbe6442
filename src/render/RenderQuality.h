#pragma once
// How much the frame draws: the scene at the window's size with its own
// samples and window-sized shadow maps (the game's frame), or a lighter one
// for machines without a GPU: the scene in an offscreen target of a share of
// the window ("render.scale", with "render.samples" samples) scaled up to it,
// and shadow maps of "render.shadow.size" texels a side. "render.auto" picks
// the lighter frame by itself under a software renderer.
#include <string>

struct RenderSize {
  int width = 0;
  int height = 0;
};

struct RenderQuality {
  float scale = 1.0f;   // share of the window the scene is drawn at
  int samples = 0;      // of the offscreen target
  int shadowSize = 0;   // texels a side of each shadow map; 0: the window's size
  bool automatic = false;  // chosen by render.auto for a software renderer

  // The settings the keys give, for the driver that names itself renderer
  // (GL_RENDERER). Every key absent: the game's frame.
  static RenderQuality fromConfig(const std::string& renderer);
  // The lighter frame render.auto chooses.
  static RenderQuality low();
  // llvmpipe, softpipe or swrast, however the driver spells it.
  static bool isSoftware(const std::string& renderer);

  // The scene is drawn offscreen and scaled up to the window.
  bool offscreen() const { return scale != 1.0f; }
  // The offscreen target for a window of this size: at least 1 x 1.
  RenderSize target(int windowWidth, int windowHeight) const;
  // Each shadow map for a window of this size.
  RenderSize shadowMap(int windowWidth, int windowHeight) const;
  // The line render.auto says when it chose the lighter frame.
  std::string notice(const std::string& renderer) const;
};
