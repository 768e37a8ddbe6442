#include <gtest/gtest.h>

#include <string>

#include "game/Camera.h"
#include "render/LightManager.h"
#include "support/ConfigFixture.h"

namespace {

const std::string kCamera =
    "camera.fov = 0.785398\ncamera.ratio = 1.333\ncamera.znear = 0.1\ncamera.zfar = 100\n";

// Every light key once under the standard name, plus the scene objects' standard position.
const std::string kStandard =
    "lightmanager.standard.color.r = 51\nlightmanager.standard.color.g = 102\n"
    "lightmanager.standard.color.b = 204\n"
    "lightmanager.standard.ambient.intensity = 0.1\nlightmanager.standard.diffuse.intensity = 0.8\n"
    "lightmanager.standard.light.direction.x = 3\nlightmanager.standard.light.direction.y = -4\n"
    "lightmanager.standard.light.direction.z = 0\n"
    "lightmanager.standard.position.x = 1\nlightmanager.standard.position.y = 2\n"
    "lightmanager.standard.position.z = 3\n"
    "lightmanager.standard.shadow.Intensity = 0.4\n"
    "lightmanager.standard.falloff.constant = 1\nlightmanager.standard.falloff.linear = 0.05\n"
    "lightmanager.standard.falloff.exponential = 0.01\n"
    "lightmanager.standard.angle = 30\nlightmanager.standard.light.position.y = 4.5\n"
    "sceneObject.standard.position.x = -7\nsceneObject.standard.position.z = 9\n"
    "lightmanager.specular.intensity = 0.6\nlightmanager.specular.power = 32\n";

void expectVec3(const Vec3& actual, const Vec3& expected) {
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(actual[i], expected[i], 1e-5f) << "component " << i;
}

}  // namespace

class LightManagerTest : public ConfigFixture {};

TEST_F(LightManagerTest, ReadLightTakesOwnKeysFirstThenTheStandardOnes) {
  load(kStandard +
       "moon.color.r = 255\nmoon.color.g = 128\nmoon.color.b = 0\n"
       "moon.light.direction.x = 0\nmoon.light.direction.y = 10\nmoon.light.direction.z = 0\n"
       "moon.position.y = 80\nmoon.shadow.Intensity = 0.7\n");
  struct Case {
    const char* name;
    LightDescription expected;
  } cases[] = {
      {"moon", {Vec3(1.0f, 0.50196f, 0.0f), 0.1f, 0.8f, Vec3(0, 1, 0), Vec3(1, 80, 3), 0.7f}},
      {"lamp2", {Vec3(0.2f, 0.4f, 0.8f), 0.1f, 0.8f, Vec3(0.6f, -0.8f, 0), Vec3(1, 2, 3), 0.4f}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const LightDescription light = LightManager::readLight(c.name);
    expectVec3(light.color, c.expected.color);
    EXPECT_FLOAT_EQ(light.ambientIntensity, c.expected.ambientIntensity);
    EXPECT_FLOAT_EQ(light.diffuseIntensity, c.expected.diffuseIntensity);
    expectVec3(light.direction, c.expected.direction);
    expectVec3(light.position, c.expected.position);
    EXPECT_FLOAT_EQ(light.shadowIntensity, c.expected.shadowIntensity);
  }
}

TEST_F(LightManagerTest, LampsTakeXAndZFromTheirSceneObjectAndYFromTheLightHeight) {
  load(kStandard +
       "lamp1.position.x = 12\nlamp1.position.z = -3\nlamp1.light.position.y = 6\n"
       "lamp1.position.y = 99\n"  // the scene object's own height is not the light's
       "lamp1.angle = 60\nlamp1.falloff.linear = 0.2\n"
       "lamp3.light.direction.x = 0\nlamp3.light.direction.y = 0\nlamp3.light.direction.z = -2\n");
  struct Case {
    const char* name;
    std::uint32_t index;
    Vec3 position;
    Vec3 direction;
    float angle;
    float linear;
  } cases[] = {
      {"own keys", 0, Vec3(12, 6, -3), Vec3(0.6f, -0.8f, 0), 0.5f, 0.2f},
      {"scene object and light standards", 1, Vec3(-7, 4.5f, 9), Vec3(0.6f, -0.8f, 0), 0.8660254f, 0.05f},
      {"own direction", 2, Vec3(-7, 4.5f, 9), Vec3(0, 0, -1), 0.8660254f, 0.05f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const SpotLight lamp = LightManager::readLamp(c.index);
    expectVec3(lamp.position, c.position);
    expectVec3(lamp.direction, c.direction);
    expectVec3(lamp.color, Vec3(0.2f, 0.4f, 0.8f));
    EXPECT_FLOAT_EQ(lamp.ambientIntensity, 0.1f);
    EXPECT_FLOAT_EQ(lamp.diffuseIntensity, 0.8f);
    EXPECT_NEAR(lamp.angle, c.angle, 1e-6f);
    EXPECT_FLOAT_EQ(lamp.falloffConstant, 1.0f);
    EXPECT_FLOAT_EQ(lamp.falloffLinear, c.linear);
    EXPECT_FLOAT_EQ(lamp.falloffExponential, 0.01f);
  }
}

TEST_F(LightManagerTest, MissingKeysEndTheReadWithTheConfigurationError) {
  struct Case {
    const char* name;
    std::string removedLine;
  } cases[] = {
      // A lamp reads the position and shadow keys like every light, so they must exist.
      {"shadow intensity", "lightmanager.standard.shadow.Intensity = 0.4\n"},
      {"light height", "lightmanager.standard.light.position.y = 4.5\n"},
      {"scene object x", "sceneObject.standard.position.x = -7\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string text = kStandard;
    text.erase(text.find(c.removedLine), c.removedLine.size());
    load(text);
    EXPECT_NE(messageOf<std::invalid_argument>([] { LightManager::readLamp(0); }).find("CONFIG: "),
              std::string::npos);
  }
  load(kCamera + kStandard.substr(0, kStandard.find("lightmanager.specular.power")));
  Camera camera;
  const Vec3 eye(0.0f);
  EXPECT_THROW(LightManager(&eye, &camera), std::invalid_argument);
}

TEST_F(LightManagerTest, ZeroDirectionIsRejectedNamingTheLight) {
  load(kStandard + "lamp2.light.direction.x = 0\nlamp2.light.direction.y = 0\nlamp2.light.direction.z = 0\n");
  EXPECT_EQ(messageOf<std::invalid_argument>([] { LightManager::readLamp(1); }),
            "LIGHTMANAGER: The direction of light 'lamp2' has no length and cannot be normalised.");
  EXPECT_NO_THROW(LightManager::readLamp(0));
}

TEST_F(LightManagerTest, ConstructionReadsTheMoonAndSpecularValues) {
  load(kCamera + kStandard + "moon.color.r = 510\n");
  Camera camera;
  const Vec3 eye(0.0f);
  const LightManager lights(&eye, &camera);
  expectVec3(lights.getMoon().color, Vec3(2.0f, 0.4f, 0.8f));  // no clamping of values over 255
  EXPECT_FLOAT_EQ(lights.getSpecularIntensity(), 0.6f);
  EXPECT_FLOAT_EQ(lights.getSpecularPower(), 32.0f);
  EXPECT_TRUE(lights.getLamps().empty());
}

TEST_F(LightManagerTest, LightSpacesPutTheMoonFirstWithTheOrthographicProjection) {
  load(kCamera + kStandard);
  Camera camera;
  LightDescription moon;
  moon.position = Vec3(0, 50, 20);
  moon.direction = glm::normalize(Vec3(0, -1, -0.4f));
  std::vector<SpotLight> lamps(3);
  for (int i = 0; i < 3; ++i) {
    lamps[i].position = Vec3(10.0f * i, 6, 0);
    lamps[i].direction = glm::normalize(Vec3(1, -2, static_cast<float>(i)));
  }
  const std::vector<LightSpace> spaces = LightManager::lightSpacesFor(camera, moon, lamps);
  ASSERT_EQ(spaces.size(), 4u);

  Camera reference;
  struct Case {
    const char* name;
    Vec3 position, direction;
    const Mat4& projection;
  } cases[] = {
      {"moon", moon.position, moon.direction, reference.getOrthoProjection()},
      {"lamp1", lamps[0].position, lamps[0].direction, reference.getWideProjection()},
      {"lamp2", lamps[1].position, lamps[1].direction, reference.getWideProjection()},
      {"lamp3", lamps[2].position, lamps[2].direction, reference.getWideProjection()},
  };
  for (std::size_t i = 0; i < 4; ++i) {
    SCOPED_TRACE(cases[i].name);
    ASSERT_TRUE(reference.update(cases[i].position, cases[i].direction));
    EXPECT_EQ(spaces[i].position, cases[i].position);
    EXPECT_EQ(spaces[i].direction, cases[i].direction);
    EXPECT_EQ(spaces[i].projection, cases[i].projection);
    EXPECT_EQ(spaces[i].view, reference.getView());
    // The light's own position is the origin of its view.
    const Vec4 origin = spaces[i].view * Vec4(cases[i].position, 1.0f);
    expectVec3(Vec3(origin), Vec3(0.0f));
  }
  EXPECT_EQ(camera.getView(), spaces[3].view);  // left at the last lamp
}

TEST_F(LightManagerTest, LightPointingStraightDownHasNoShadowViewAndIsRejected) {
  load(kCamera + kStandard);
  Camera camera;
  LightDescription moon;
  moon.position = Vec3(0, 50, 0);
  moon.direction = Vec3(0, -1, 0.5f);
  std::vector<SpotLight> lamps(2);
  lamps[0].direction = Vec3(0, -1, 0.1f);
  lamps[1].direction = Vec3(0, -1, 0);
  EXPECT_EQ(messageOf<std::invalid_argument>([&] { LightManager::lightSpacesFor(camera, moon, lamps); }),
            "LIGHTMANAGER: Light 'lamp2' points straight up or down; its shadow has no view.");
}
