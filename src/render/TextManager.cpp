#include "render/TextManager.h"

#include <cstdio>

#include "config/Config.h"
#include "render/RenderFunctionalityManager.h"

namespace {

void setLine(OverlayLine& line, int x, int y, const char* text) {
  std::snprintf(line.text.data(), line.text.size(), "%s", text);
  line.x = x;
  line.y = y;
}

}  // namespace

TextManager::TextManager(const RenderFunctionalityManager* renderToggles)
    : toggles(renderToggles),
      offsetVertical(Config::instance().getInt("textmanager.offset.vertical")),
      offsetHorizontal(Config::instance().getInt("textmanager.offset.horizontal")),
      textHeight(Config::instance().getInt("textmanager.text.height")) {}

void TextManager::init(GLuint program, int width, int height) {
  renderer.init(Config::instance().getString("textmanager.texture.path"), program, width, height);
  windowWidth = width;
  windowHeight = height;
}

void TextManager::setFrameStats(float ms, int fps) {
  msPerFrame = ms;
  framesPerSecond = fps;
}

std::array<OverlayLine, 7> TextManager::layout(const RenderFunctionalityManager& switches, float ms, int fps,
                                               std::uint32_t objectsRendered, int width, int height, int v,
                                               int l) {
  std::array<OverlayLine, 7> lines;
  std::snprintf(lines[0].text.data(), lines[0].text.size(), "%.2fms (%i FPS)", static_cast<double>(ms), fps);
  lines[0].x = l;
  lines[0].y = height - v;
  std::snprintf(lines[1].text.data(), lines[1].text.size(), "%i objects rendered", static_cast<int>(objectsRendered));
  lines[1].x = l;
  lines[1].y = height - 2 * v;

  const int right = width - 100;
  const char* mipmap = switches.mipmapMode == 2 ? "MMQ=L" : switches.mipmapMode == 1 ? "MMQ=NN" : "MMQ=Off";
  setLine(lines[2], right, height - v, switches.samplingMode == 1 ? "TSQ=L" : "TSQ=NN");
  setLine(lines[3], right, height - 2 * v, mipmap);
  setLine(lines[4], right, height - 3 * v, switches.showFog ? "Fog=On" : "Fog=Off");
  setLine(lines[5], right, height - 4 * v, switches.frustumCulling ? "VFC=On" : "VFC=Off");
  setLine(lines[6], right, height - 5 * v, switches.transparency ? "T=On" : "T=Off");
  return lines;
}

void TextManager::update(std::uint32_t objectsRendered) {
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  if (!toggles->showOverlay) return;
  for (const OverlayLine& line : layout(*toggles, msPerFrame, framesPerSecond, objectsRendered, windowWidth,
                                        windowHeight, offsetVertical, offsetHorizontal)) {
    renderer.draw(line.text.data(), line.x, line.y, textHeight);
  }
}

void TextManager::resize(int width, int height) {
  windowWidth = width;
  windowHeight = height;
  renderer.resize(width, height);
}
