#pragma once
// Height fog for the lighting program: the plane below which the scene is
// fogged, its colour, density and light distortion, and the fog switch.
// Values come from the configuration once; the upload runs every main pass.
#include <GL/glew.h>

#include "common/Types.h"
#include "render/RenderFunctionalityManager.h"

class EffectManager {
 public:
  // Reads "effectmanager.fog.*"; points to the render switches (not owned).
  explicit EffectManager(const RenderFunctionalityManager* toggles);

  // Looks up the five fog uniforms; a missing one throws
  // std::invalid_argument "LIGHTMANAGER: Could not bind attribute '<name>'.".
  void bindProgram(GLuint program);
  // Uploads the fog switch and the fixed fog values; leaves program 0 in use.
  void update();

 private:
  const RenderFunctionalityManager* toggles;
  GLuint program = 0;
  GLint renderFogLocation = -1;
  GLint fogColorLocation = -1;
  GLint fogHalfspaceLocation = -1;
  GLint fogIntensityLocation = -1;
  GLint fogLightDistortionLocation = -1;
  Vec4 fogHalfspace;
  Vec3 fogColor;
  float fogIntensity;
  float fogLightDistortion;
};
