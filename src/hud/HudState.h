#pragma once
// What the HUD shows, without a window: the game's values and recent events
// turned into coloured rectangles and lines of text in window pixels (origin
// at the bottom left). Owns its settings and the ages of its flashes.
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "common/Types.h"
#include "game/GameEvent.h"
#include "game/PlayStatus.h"
#include "hud/HudSettings.h"

struct HudRect {
  float x = 0.0f, y = 0.0f, width = 0.0f, height = 0.0f;
  Vec4 colour{1.0f};
};

struct HudText {
  std::string text;
  int x = 0, y = 0, size = 0;
  int advance = 0;  // pixels from one glyph to the next
  Vec4 colour{1.0f};
};

// Drawn in order: every rectangle, then every text.
struct HudView {
  std::vector<HudRect> rects;
  std::vector<HudText> texts;
};

class HudState {
 public:
  explicit HudState(const HudSettings& settings);

  // The health the bar shows as full.
  void setFullHealth(std::int32_t health) { fullHealth = health; }
  // Starts the flash of a hurt, the hit marker, the "+N" of a kill.
  void onEvent(const GameEvent& event);
  // No flash, marker or "+N" showing.
  void clear();
  // Ages the flashes and the immortality blink by the frame's seconds.
  void advance(float seconds);
  // The HUD for these values in a window of width x height; aim is the
  // window position of the aim point, none when it is behind the eye.
  HudView view(const PlayStatus& status, bool paused, std::optional<Vec2> aim, int width, int height) const;

  // Window position of a world point under viewProjection, none when behind the eye.
  static std::optional<Vec2> project(const Mat4& viewProjection, const Vec3& point, int width, int height);

 private:
  static constexpr float kLongAgo = std::numeric_limits<float>::infinity();
  HudSettings settings;
  std::int32_t fullHealth = 100;
  float clock = 0.0f;  // seconds advanced, for the blink
  float hurtAge = kLongAgo;
  float hitAge = kLongAgo;
  float killAge = kLongAgo;
  std::int32_t killPoints = 0;  // summed while "+N" shows
};
