#pragma once
// The player's HUD: health, gun, jetpack, score, enemies, the aim marker, hit
// feedback and "PAUSED", as a view a ScreenPainter draws on top of the frame.
// Owns its settings, state and clock; holds no OpenGL object.
#include <cstdint>

#include "app/TimerFrameIndependency.h"
#include "common/Types.h"
#include "game/GameEvent.h"
#include "game/PlayStatus.h"
#include "hud/HudState.h"

class Hud {
 public:
  // Reads the "hud." settings.
  Hud();

  const HudSettings& getSettings() const { return settings; }
  // fullHealth is what the bar shows as full.
  void setFullHealth(std::int32_t fullHealth) { state.setFullHealth(fullHealth); }
  // Feeds the flashes and markers.
  void onEvent(const GameEvent& event);
  // Forgets every flash and marker (a new round).
  void clear();
  // Ages the flashes by the time since the last call and lays the HUD out for
  // these values in a window of width x height, the aim point projected with
  // viewProjection.
  HudView view(const PlayStatus& status, bool paused, const AimLine& aim, const Mat4& viewProjection, int width,
               int height);

 private:
  HudSettings settings;
  HudState state;
  TimerFrameIndependency frameTimer{1000.0f};
};
