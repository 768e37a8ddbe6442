#include "render/RenderQuality.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "config/Config.h"

namespace {

std::string lowered(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

}  // namespace

RenderQuality RenderQuality::low() {
  // Measured with frame_bench on llvmpipe at 1024 x 768: about a quarter of
  // the game's frame, the scene and its shadows still clearly drawn.
  RenderQuality quality;
  quality.scale = 0.5f;
  quality.samples = 0;
  quality.shadowSize = 1024;
  return quality;
}

bool RenderQuality::isSoftware(const std::string& renderer) {
  const std::string name = lowered(renderer);
  for (const char* software : {"llvmpipe", "softpipe", "swrast"}) {
    if (name.find(software) != std::string::npos) return true;
  }
  return false;
}

RenderQuality RenderQuality::fromConfig(const std::string& renderer) {
  const Config& config = Config::instance();
  RenderQuality quality;
  if (config.hasKey("render.scale")) quality.scale = config.getFloat("render.scale");
  if (config.hasKey("render.samples")) quality.samples = std::max(0, config.getInt("render.samples"));
  if (config.hasKey("render.shadow.size")) quality.shadowSize = std::max(0, config.getInt("render.shadow.size"));
  // A scale the player chose is kept; only the game's own frame gives way.
  if (config.isOn("render.auto") && quality.scale == 1.0f && isSoftware(renderer)) {
    quality = low();
    quality.automatic = true;
  }
  return quality;
}

RenderSize RenderQuality::target(int windowWidth, int windowHeight) const {
  const auto side = [this](int window) {
    return std::max(1, static_cast<int>(std::lround(static_cast<double>(window) * scale)));
  };
  return {side(windowWidth), side(windowHeight)};
}

RenderSize RenderQuality::shadowMap(int windowWidth, int windowHeight) const {
  if (shadowSize <= 0) return {windowWidth, windowHeight};
  return {shadowSize, shadowSize};
}

std::string RenderQuality::notice(const std::string& renderer) const {
  char line[320];
  std::snprintf(line, sizeof line,
                "RENDER: %s draws in software; the scene is drawn at %.2g of the window without multisampling and "
                "with %d-texel shadow maps (render.auto = 0, or a render.scale of your own, turns this off).",
                renderer.c_str(), static_cast<double>(scale), shadowSize);
  return line;
}
