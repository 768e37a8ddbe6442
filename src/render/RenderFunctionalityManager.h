#pragma once
// The render switches the player flips at run time (F2 to F9). Readers take
// the fields directly, once per use.
#include <cstdint>

class RenderFunctionalityManager {
 public:
  // Reads "renderfunctionalitymanager.showFog".
  RenderFunctionalityManager();
  explicit RenderFunctionalityManager(bool fogOn);

  void toggleOverlay() { showOverlay = !showOverlay; }
  void toggleWireframe() { wireframe = !wireframe; }
  // 1 (linear) becomes 0 (nearest); anything else becomes 1.
  void toggleSampling() { samplingMode = samplingMode == 1 ? 0 : 1; }
  // 0 -> 1 -> 2 -> 0; any other value stays.
  void cycleMipmap();
  void toggleFog() { showFog = !showFog; }
  void toggleBoundingBoxes() { boundingBoxes = !boundingBoxes; }
  void toggleFrustumCulling() { frustumCulling = !frustumCulling; }
  void toggleTransparency() { transparency = !transparency; }

  bool showOverlay = false;
  bool wireframe = false;
  bool frustumCulling = true;
  bool transparency = true;
  bool boundingBoxes = false;
  bool showFog = false;
  std::uint32_t samplingMode = 1;  // 0 nearest, 1 linear
  std::uint32_t mipmapMode = 2;    // 0 off, 1 nearest, 2 linear
};
