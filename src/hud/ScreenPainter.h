#pragma once
// Draws flat rectangles and lines of text in window pixels (origin at the
// bottom left) over the frame: the HUD, the controls card. Owns its program
// ("shader.hud.vertex", "shader.hud.fragment"), its font and its buffers.
#include <GL/glew.h>

#include <string>
#include <vector>

#include "hud/HudState.h"
#include "render/GlBuffer.h"
#include "render/GlProgram.h"
#include "render/GlVertexArray.h"
#include "render/TextRenderer.h"

class ScreenPainter {
 public:
  // Builds the program and loads the font for a window of width x height; a
  // missing uniform throws std::invalid_argument ("HUD: the program has no uniform '...'.").
  ScreenPainter(const std::string& fontPath, int width, int height);

  // Every rectangle, then every text, blended, with depth testing off while
  // it draws and as it was afterwards.
  void draw(const HudView& view);
  // Places views in a window of the new size from now on.
  void resize(int width, int height);

 private:
  GlProgram program;
  TextRenderer text;
  GlVertexArray vertexArray;
  GlBuffer buffer;
  GLint positionLocation = -1;
  GLint colorLocation = -1;
  GLint texturedLocation = -1;
  std::vector<float> positions;  // reused by every draw
};
