#pragma once
// The scene's lights: a directional moon and spot lamps read from the
// configuration, their uniforms in the lighting program uploaded every frame,
// and the light-space matrices their shadow maps are rendered with.
#include <cstdint>
#include <string>
#include <vector>

#include "common/Types.h"
#include "render/LightSpace.h"

class Camera;

// One light as configured: colour in 0..1, direction of length 1.
struct LightDescription {
  Vec3 color{0.0f};
  float ambientIntensity = 0.0f;
  float diffuseIntensity = 0.0f;
  Vec3 direction{0.0f};
  Vec3 position{0.0f};
  float shadowIntensity = 0.0f;
};

struct SpotLight {
  Vec3 color{0.0f};
  float ambientIntensity = 0.0f;
  float diffuseIntensity = 0.0f;
  Vec3 position{0.0f};
  Vec3 direction{0.0f};
  float falloffConstant = 0.0f;
  float falloffLinear = 0.0f;
  float falloffExponential = 0.0f;
  float angle = 0.0f;  // cosine of the cone angle
};

struct SpotLightUniforms {
  std::int32_t color = -1, ambientIntensity = -1, diffuseIntensity = -1, position = -1,
               direction = -1, falloffConstant = -1, falloffLinear = -1,
               falloffExponential = -1, angle = -1;
};

class LightManager {
 public:
  // Points to (does not own) the camera eye position and the camera. Reads the
  // moon and "lightmanager.specular.intensity" / ".power".
  LightManager(const Vec3* eyePosition, Camera* camera);

  // Light name + suffix, else "lightmanager.standard" + suffix. A direction of
  // length 0 throws std::invalid_argument naming the light.
  static LightDescription readLight(const std::string& name);
  // Lamp index (0-based) named "lamp" + (index + 1); x and z come from its scene
  // object's position keys, y from ".light.position.y".
  static SpotLight readLamp(std::uint32_t index);
  // Moon first (orthographic projection), then each lamp (wide projection);
  // leaves the camera at the last lamp's view. A light pointing straight up or
  // down looks along its direction with -z as the view's up axis.
  static std::vector<LightSpace> lightSpacesFor(Camera& camera, const LightDescription& moon,
                                                const std::vector<SpotLight>& lamps);

  // Uses program and looks up the moon, eye and specular uniforms (each must exist).
  void bindProgram(std::uint32_t program);
  // Appends count lamps, looking up "lamps[i]..." for each (each must exist).
  void createLamps(std::uint32_t count);
  std::vector<LightSpace> computeLightSpaces();
  // Uploads every light value and the eye position; needs a bound program.
  void update();

  const LightDescription& getMoon() const { return moon; }
  const std::vector<SpotLight>& getLamps() const { return lamps; }
  float getSpecularIntensity() const { return specularIntensity; }
  float getSpecularPower() const { return specularPower; }

 private:
  const Vec3* eyePosition;
  Camera* camera;
  bool programBound = false;
  std::uint32_t program = 0;
  std::int32_t moonColorLocation = -1, moonAmbientLocation = -1, moonDiffuseLocation = -1,
               moonDirectionLocation = -1, moonShadowLocation = -1, worldEyeLocation = -1,
               specularIntensityLocation = -1, specularPowerLocation = -1;
  LightDescription moon;
  std::vector<SpotLight> lamps;
  std::vector<SpotLightUniforms> lampUniforms;
  float specularIntensity = 0.0f;
  float specularPower = 0.0f;
};
