#include "render/EffectManager.h"

#include <stdexcept>
#include <string>

#include <glm/gtc/type_ptr.hpp>

#include "config/Config.h"
#include "render/GlProgram.h"

namespace {

// The shader takes exp2 of the density: log2(e) turns it into exp of the
// configured intensity.
constexpr float kLog2E = 1.44269502f;

GLint locate(GLuint program, const char* name) {
  return requireUniform(program, name, "LIGHTMANAGER: Could not bind attribute '");
}

}  // namespace

EffectManager::EffectManager(const RenderFunctionalityManager* renderSwitches) : toggles(renderSwitches) {
  const Config& config = Config::instance();
  const float height = config.getFloat("effectmanager.fog.height");
  const float red = config.getFloat("effectmanager.fog.color.r");
  const float green = config.getFloat("effectmanager.fog.color.g");
  const float blue = config.getFloat("effectmanager.fog.color.b");
  const float intensity = config.getFloat("effectmanager.fog.intensity");
  fogLightDistortion = config.getFloat("effectmanager.fog.lightdistortion");
  fogHalfspace = Vec4(glm::normalize(Vec3(0.0f, 1.0f, 0.0f)), -height);
  fogColor = Vec3(red, green, blue);
  fogIntensity = intensity * kLog2E;
}

void EffectManager::bindProgram(GLuint lightingProgram) {
  program = lightingProgram;
  glUseProgram(program);
  renderFogLocation = locate(program, "renderFog");
  fogColorLocation = locate(program, "fogColor");
  fogHalfspaceLocation = locate(program, "fogHalfspace");
  fogIntensityLocation = locate(program, "fogIntensity");
  fogLightDistortionLocation = locate(program, "fogLightDistortion");
  glUseProgram(0);
}

void EffectManager::update() {
  const bool fogOn = toggles->showFog;
  glUseProgram(program);
  glUniform1i(renderFogLocation, fogOn ? 1 : 0);
  glUniform3fv(fogColorLocation, 1, glm::value_ptr(fogColor));
  glUniform4fv(fogHalfspaceLocation, 1, glm::value_ptr(fogHalfspace));
  glUniform1f(fogIntensityLocation, fogIntensity);
  glUniform1f(fogLightDistortionLocation, fogLightDistortion);
  glUseProgram(0);
}
