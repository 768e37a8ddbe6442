#include "hud/HudSettings.h"

#include <string>

#include "config/Config.h"

namespace {

// prefix.r, .g, .b read in that order, with the given opacity.
Vec4 colour(const Config& config, const std::string& prefix, float alpha) {
  const float r = config.getFloat(prefix + ".r");
  const float g = config.getFloat(prefix + ".g");
  const float b = config.getFloat(prefix + ".b");
  return Vec4(r, g, b, alpha);
}

}  // namespace

HudSettings HudSettings::fromConfig() {
  const Config& config = Config::instance();
  HudSettings s;
  s.textHeight = config.getInt("hud.text.height");
  s.advance = config.getFloat("hud.text.advance");
  s.margin = config.getInt("hud.margin");
  s.barWidth = config.getInt("hud.health.width");
  s.barHeight = config.getInt("hud.health.height");
  s.healthColour = colour(config, "hud.health.color", 1.0f);
  s.lowHealthColour = colour(config, "hud.health.low.color", 1.0f);
  s.lowHealthFraction = config.getFloat("hud.health.low.fraction");
  s.immortalBlink = config.getFloat("hud.health.immortal.blink");
  s.textColour = colour(config, "hud.text.color", 1.0f);
  s.warnColour = colour(config, "hud.warn.color", 1.0f);
  s.flashTime = config.getFloat("hud.flash.time");
  s.flashWidth = config.getInt("hud.flash.width");
  const float flashAlpha = config.getFloat("hud.flash.alpha");
  s.flashColour = colour(config, "hud.flash.color", flashAlpha);
  s.aimDistance = config.getFloat("hud.aim.distance");
  s.aimSize = config.getInt("hud.aim.size");
  s.aimColour = colour(config, "hud.aim.color", 0.85f);
  s.hitMarkerTime = config.getFloat("hud.hitmarker.time");
  s.hitMarkerColour = colour(config, "hud.hitmarker.color", 1.0f);
  s.killTime = config.getFloat("hud.kill.time");
  s.killColour = colour(config, "hud.kill.color", 1.0f);
  s.pausedHeight = config.getInt("hud.paused.height");
  return s;
}
