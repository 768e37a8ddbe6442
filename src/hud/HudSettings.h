#pragma once
// Everything tunable about the HUD: sizes and places in window pixels,
// colours (0..1), durations in seconds. Read once at start from "hud." keys.
#include <cstdint>

#include "common/Types.h"

struct HudSettings {
  std::int32_t textHeight = 16;  // glyph size of every HUD line
  float advance = 0.62f;         // distance between glyphs as a share of their size
  std::int32_t margin = 16;      // distance of the corner items from the window's edges
  std::int32_t barWidth = 200;   // health bar
  std::int32_t barHeight = 16;
  Vec4 barBackground{0.0f, 0.0f, 0.0f, 0.5f};
  Vec4 healthColour{0.2f, 0.9f, 0.3f, 1.0f};
  Vec4 lowHealthColour{0.95f, 0.15f, 0.1f, 1.0f};
  float lowHealthFraction = 0.25f;  // below this share of full health the bar turns red
  float immortalBlink = 0.15f;      // on and off time of the bar while immortal
  Vec4 textColour{0.9f, 0.92f, 1.0f, 1.0f};
  Vec4 warnColour{1.0f, 0.8f, 0.2f, 1.0f};  // reloading, jetpack cooling down
  float flashTime = 0.35f;
  std::int32_t flashWidth = 24;
  Vec4 flashColour{0.9f, 0.0f, 0.0f, 0.6f};
  float aimDistance = 20.0f;  // units along the line of fire when the pick meets nothing
  std::int32_t aimSize = 12;  // half the width of the aim marker
  Vec4 aimColour{1.0f, 1.0f, 1.0f, 0.85f};
  float hitMarkerTime = 0.2f;
  Vec4 hitMarkerColour{1.0f, 0.3f, 0.2f, 1.0f};
  float killTime = 1.0f;  // how long "+N" shows
  Vec4 killColour{1.0f, 0.85f, 0.3f, 1.0f};
  std::int32_t pausedHeight = 40;  // glyph size of "PAUSED"

  // Reads every "hud." key but "hud.show" and the font and shader paths;
  // a missing or malformed key throws the configuration's error.
  static HudSettings fromConfig();
};
