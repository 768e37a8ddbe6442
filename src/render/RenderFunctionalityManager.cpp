#include "render/RenderFunctionalityManager.h"

#include "config/Config.h"

RenderFunctionalityManager::RenderFunctionalityManager()
    : RenderFunctionalityManager(Config::instance().getBool("renderfunctionalitymanager.showFog")) {}

RenderFunctionalityManager::RenderFunctionalityManager(bool fogOn) : showFog(fogOn) {}

void RenderFunctionalityManager::cycleMipmap() {
  if (mipmapMode < 2) {
    ++mipmapMode;
  } else if (mipmapMode == 2) {
    mipmapMode = 0;
  }
}
