#pragma once
// The player's HUD, drawn on top of the frame after the overlay: health,
// gun, jetpack, score, enemies, the aim marker, hit feedback and "PAUSED".
// Owns its program, font, buffers and state; points to nothing.
#include <cstdint>
#include <vector>

#include "app/TimerFrameIndependency.h"
#include "common/Types.h"
#include "game/GameEvent.h"
#include "game/PlayStatus.h"
#include "hud/HudState.h"
#include "render/GlBuffer.h"
#include "render/GlProgram.h"
#include "render/GlVertexArray.h"
#include "render/TextRenderer.h"

class Hud {
 public:
  // Reads the "hud." settings.
  Hud();

  // Builds the program ("shader.hud.vertex", "shader.hud.fragment"), loads
  // the font ("hud.font.path"); fullHealth is what the bar shows as full.
  void init(int width, int height, std::int32_t fullHealth);
  // Feeds the flashes and markers.
  void onEvent(const GameEvent& event);
  // Ages the flashes by the time since the last draw and draws the HUD for
  // these values, the aim point projected with viewProjection. Depth testing
  // is off while it draws and on again afterwards.
  void draw(const PlayStatus& status, bool paused, const AimLine& aim, const Mat4& viewProjection);
  // Draws a prepared view as draw() does.
  void drawView(const HudView& view);

 private:
  HudSettings settings;
  HudState state;
  TimerFrameIndependency frameTimer{1000.0f};
  TextRenderer text;
  GlProgram program;
  GlVertexArray vertexArray;
  GlBuffer buffer;
  GLint positionLocation = -1;
  GLint colorLocation = -1;
  GLint texturedLocation = -1;
  int width = 0;
  int height = 0;
  std::vector<float> positions;  // reused by every draw
};
