#include "hud/Hud.h"

Hud::Hud() : settings(HudSettings::fromConfig()), state(settings) {}

void Hud::onEvent(const GameEvent& event) { state.onEvent(event); }

void Hud::clear() { state.clear(); }

HudView Hud::view(const PlayStatus& status, bool paused, const AimLine& aim, const Mat4& viewProjection, int width,
                  int height) {
  frameTimer.update();
  state.advance(frameTimer.getDelta());
  const float along = aim.target != kNoObject ? aim.along : settings.aimDistance;
  const Vec3 point = aim.origin + aim.direction * along;
  return state.view(status, paused, HudState::project(viewProjection, point, width, height), width, height);
}
