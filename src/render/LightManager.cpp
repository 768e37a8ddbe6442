#include "render/LightManager.h"

#include <GL/glew.h>

#include <cmath>
#include <stdexcept>

#include "config/Config.h"
#include "game/Camera.h"
#include "render/GlProgram.h"

namespace {

const std::string kStandardLight = "lightmanager.standard";
const std::string kStandardObject = "sceneObject.standard";
const Vec3 kUpForVerticalLights(0.0f, 0.0f, -1.0f);

float lightValue(const std::string& name, const std::string& suffix) {
  return Config::instance().getFloatWithFallback(name + suffix, kStandardLight + suffix);
}

std::int32_t locationOf(std::uint32_t program, const std::string& uniform) {
  return requireUniform(program, uniform, "LIGHTMANAGER: Could not bind attribute '");
}

void uploadVec3(std::int32_t location, const Vec3& value) {
  glUniform3f(location, value.x, value.y, value.z);
}

}  // namespace

LightManager::LightManager(const Vec3* eyePosition, Camera* camera)
    : eyePosition(eyePosition), camera(camera) {
  if (eyePosition == nullptr || camera == nullptr) {
    throw std::invalid_argument("LIGHTMANAGER: The eye position and the camera are required.");
  }
  moon = readLight("moon");
  specularIntensity = Config::instance().getFloat("lightmanager.specular.intensity");
  specularPower = Config::instance().getFloat("lightmanager.specular.power");
}

LightDescription LightManager::readLight(const std::string& name) {
  // One value per statement: the keys are read in this order (r, g, b, then
  // x, y, z), so a missing one is the first the file lacks in that order.
  const auto triple = [&name](const char* x, const char* y, const char* z) {
    const float first = lightValue(name, x);
    const float second = lightValue(name, y);
    return Vec3(first, second, lightValue(name, z));
  };
  LightDescription light;
  light.color = triple(".color.r", ".color.g", ".color.b") / 255.0f;
  light.ambientIntensity = lightValue(name, ".ambient.intensity");
  light.diffuseIntensity = lightValue(name, ".diffuse.intensity");
  const Vec3 direction = triple(".light.direction.x", ".light.direction.y", ".light.direction.z");
  const float length = std::sqrt(glm::dot(direction, direction));
  if (!(length > 0.0f) || !std::isfinite(length)) {
    throw std::invalid_argument("LIGHTMANAGER: The direction of light '" + name +
                                "' has no length and cannot be normalised.");
  }
  light.direction = direction / length;
  light.position = triple(".position.x", ".position.y", ".position.z");
  light.shadowIntensity = lightValue(name, ".shadow.Intensity");
  return light;
}

SpotLight LightManager::readLamp(std::uint32_t index) {
  const std::string name = "lamp" + std::to_string(index + 1);
  // Position and shadow intensity are read as for every light, though a lamp
  // takes its position from its scene object and casts no shadow intensity.
  const LightDescription description = readLight(name);
  const Config& config = Config::instance();
  SpotLight lamp;
  lamp.color = description.color;
  lamp.ambientIntensity = description.ambientIntensity;
  lamp.diffuseIntensity = description.diffuseIntensity;
  lamp.direction = description.direction;
  const float x = config.getFloatWithFallback(name + ".position.x", kStandardObject + ".position.x");
  const float y = lightValue(name, ".light.position.y");
  const float z = config.getFloatWithFallback(name + ".position.z", kStandardObject + ".position.z");
  lamp.position = Vec3(x, y, z);
  lamp.falloffConstant = lightValue(name, ".falloff.constant");
  lamp.falloffLinear = lightValue(name, ".falloff.linear");
  lamp.falloffExponential = lightValue(name, ".falloff.exponential");
  lamp.angle = std::cos(lightValue(name, ".angle") * kDegToRad);
  return lamp;
}

std::vector<LightSpace> LightManager::lightSpacesFor(Camera& camera, const LightDescription& moon,
                                                     const std::vector<SpotLight>& lamps) {
  const auto entry = [&camera](const Vec3& position, const Vec3& direction, const Mat4& projection) {
    // A light pointing straight up or down (a lamp over the floor) has no
    // view with +y as up; any up axis across it serves a shadow map.
    if (!camera.update(position, direction)) camera.update(position, direction, kUpForVerticalLights);
    return LightSpace{position, direction, projection, camera.getView()};
  };
  std::vector<LightSpace> spaces;
  spaces.push_back(entry(moon.position, moon.direction, camera.getOrthoProjection()));
  for (const SpotLight& lamp : lamps) spaces.push_back(entry(lamp.position, lamp.direction, camera.getWideProjection()));
  return spaces;
}

void LightManager::bindProgram(std::uint32_t newProgram) {
  program = newProgram;
  programBound = true;
  glUseProgram(program);
  moonColorLocation = locationOf(program, "moon.base.color");
  moonAmbientLocation = locationOf(program, "moon.base.ambientIntensity");
  moonDiffuseLocation = locationOf(program, "moon.base.diffuseIntensity");
  moonDirectionLocation = locationOf(program, "moon.direction");
  moonShadowLocation = locationOf(program, "moonShadowIntensity");
  worldEyeLocation = locationOf(program, "worldEye");
  specularIntensityLocation = locationOf(program, "specularIntensity");
  specularPowerLocation = locationOf(program, "specularPower");
  glUseProgram(0);
}

void LightManager::createLamps(std::uint32_t count) {
  for (std::uint32_t n = 0; n < count; ++n) {
    if (!programBound) throw std::runtime_error("LIGHTMANAGER: No program is bound.");
    const std::uint32_t index = static_cast<std::uint32_t>(lamps.size());
    const std::string prefix = "lamps[" + std::to_string(index) + "]";
    glUseProgram(program);
    SpotLightUniforms uniforms;
    uniforms.color = locationOf(program, prefix + ".base.color");
    uniforms.ambientIntensity = locationOf(program, prefix + ".base.ambientIntensity");
    uniforms.diffuseIntensity = locationOf(program, prefix + ".base.diffuseIntensity");
    uniforms.position = locationOf(program, prefix + ".position");
    uniforms.direction = locationOf(program, prefix + ".direction");
    uniforms.falloffConstant = locationOf(program, prefix + ".falloff.constant");
    uniforms.falloffLinear = locationOf(program, prefix + ".falloff.linear");
    uniforms.falloffExponential = locationOf(program, prefix + ".falloff.exponential");
    uniforms.angle = locationOf(program, prefix + ".angle");
    glUseProgram(0);
    lamps.push_back(readLamp(index));
    lampUniforms.push_back(uniforms);
  }
}

std::vector<LightSpace> LightManager::computeLightSpaces() { return lightSpacesFor(*camera, moon, lamps); }

void LightManager::update() {
  if (!programBound) throw std::runtime_error("LIGHTMANAGER: No program is bound.");
  const Vec3 eye = *eyePosition;
  glUseProgram(program);
  uploadVec3(moonColorLocation, moon.color);
  glUniform1f(moonAmbientLocation, moon.ambientIntensity);
  glUniform1f(moonDiffuseLocation, moon.diffuseIntensity);
  uploadVec3(moonDirectionLocation, moon.direction);
  glUniform1f(moonShadowLocation, moon.shadowIntensity);
  uploadVec3(worldEyeLocation, eye);
  glUniform1f(specularIntensityLocation, specularIntensity);
  glUniform1f(specularPowerLocation, specularPower);
  if (lamps.size() != lampUniforms.size()) {
    glUseProgram(0);
    throw std::runtime_error("LIGHTMANAGER: #SpotLights != #Uniforms.");
  }
  for (std::size_t i = 0; i < lamps.size(); ++i) {
    const SpotLight& lamp = lamps[i];
    const SpotLightUniforms& at = lampUniforms[i];
    uploadVec3(at.color, lamp.color);
    glUniform1f(at.ambientIntensity, lamp.ambientIntensity);
    glUniform1f(at.diffuseIntensity, lamp.diffuseIntensity);
    uploadVec3(at.position, lamp.position);
    uploadVec3(at.direction, lamp.direction);
    glUniform1f(at.falloffConstant, lamp.falloffConstant);
    glUniform1f(at.falloffLinear, lamp.falloffLinear);
    glUniform1f(at.falloffExponential, lamp.falloffExponential);
    glUniform1f(at.angle, lamp.angle);
  }
  glUseProgram(0);
}
