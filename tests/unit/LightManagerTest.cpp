#include <gtest/gtest.h>

#include <string>

#include "game/Camera.h"
#include "render/LightManager.h"
#include "support/ConfigFixture.h"
#include "support/LightKeys.h"

namespace {

void expectVec3(const Vec3& actual, const Vec3& expected) {
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(actual[i], expected[i], 1e-5f) << "component " << i;
}

}  // namespace

class LightManagerTest : public ConfigFixture {};

TEST_F(LightManagerTest, LightsReadTheirOwnKeysFirstThenTheStandardOnes) {
  load(kCameraKeys + kStandardLightKeys +
       "moon.color.r = 255\nmoon.color.g = 128\nmoon.color.b = 510\nmoon.light.direction.x = 0\n"
       "moon.light.direction.y = 10\nmoon.light.direction.z = 0\nmoon.position.y = 80\nmoon.shadow.Intensity = 0.7\n");
  Camera camera;
  const Vec3 eye(0.0f);
  const LightManager lights(&eye, &camera);
  const LightDescription& moon = lights.getMoon();
  expectVec3(moon.color, Vec3(1.0f, 0.50196f, 2.0f));  // over 255 is not clamped
  expectVec3(moon.direction, Vec3(0, 1, 0));
  expectVec3(moon.position, Vec3(1, 80, 3));
  EXPECT_FLOAT_EQ(moon.shadowIntensity, 0.7f);
  EXPECT_FLOAT_EQ(lights.getSpecularPower(), 32.0f);

  const LightDescription standard = LightManager::readLight("lamp2");
  expectVec3(standard.color, Vec3(0.2f, 0.4f, 0.8f));
  expectVec3(standard.direction, Vec3(0.6f, -0.8f, 0));
  EXPECT_FLOAT_EQ(standard.ambientIntensity, 0.1f);
  EXPECT_FLOAT_EQ(standard.diffuseIntensity, 0.8f);
  EXPECT_FLOAT_EQ(standard.shadowIntensity, 0.4f);
}

TEST_F(LightManagerTest, LampsTakeXAndZFromTheirSceneObjectAndYFromTheLightHeight) {
  load(kStandardLightKeys +
       "lamp1.position.x = 12\nlamp1.position.z = -3\nlamp1.light.position.y = 6\nlamp1.position.y = 99\n"
       "lamp1.angle = 60\nlamp1.falloff.linear = 0.2\n");
  struct Case {
    std::uint32_t index;
    Vec3 position;
    float angle, linear;
  } cases[] = {{0, Vec3(12, 6, -3), 0.5f, 0.2f},  // the object's own height 99 is not the light's
               {2, Vec3(-7, 4.5f, 9), 0.8660254f, 0.05f}};  // only standard keys
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    const SpotLight lamp = LightManager::readLamp(c.index);
    expectVec3(lamp.position, c.position);
    expectVec3(lamp.direction, Vec3(0.6f, -0.8f, 0));
    expectVec3(lamp.color, Vec3(0.2f, 0.4f, 0.8f));
    EXPECT_NEAR(lamp.angle, c.angle, 1e-6f);
    EXPECT_FLOAT_EQ(lamp.falloffLinear, c.linear);
    EXPECT_FLOAT_EQ(lamp.falloffExponential, 0.01f);
  }
  // A lamp reads the moon-only keys as well, so they must exist.
  const std::string shadowLine = "lightmanager.standard.shadow.Intensity = 0.4\n";
  std::string text = kStandardLightKeys;
  load(text.erase(text.find(shadowLine), shadowLine.size()));
  EXPECT_EQ(messageOf<std::invalid_argument>([] { LightManager::readLamp(0); }).rfind("CONFIG: ", 0), 0u);
}

TEST_F(LightManagerTest, ZeroDirectionIsRejectedNamingTheLight) {
  load(kStandardLightKeys + "lamp2.light.direction.x = 0\nlamp2.light.direction.y = 0\nlamp2.light.direction.z = 0\n");
  EXPECT_EQ(messageOf<std::invalid_argument>([] { LightManager::readLamp(1); }),
            "LIGHTMANAGER: The direction of light 'lamp2' has no length and cannot be normalised.");
}

TEST_F(LightManagerTest, LightSpacesPutTheMoonFirstWithTheOrthographicProjection) {
  load(kCameraKeys + kStandardLightKeys);
  Camera camera, reference;
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
  for (std::size_t i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    const Vec3 position = i == 0 ? moon.position : lamps[i - 1].position;
    const Vec3 direction = i == 0 ? moon.direction : lamps[i - 1].direction;
    ASSERT_TRUE(reference.update(position, direction));
    EXPECT_EQ(spaces[i].position, position);
    EXPECT_EQ(spaces[i].direction, direction);
    EXPECT_EQ(spaces[i].projection, i == 0 ? reference.getOrthoProjection() : reference.getWideProjection());
    EXPECT_EQ(spaces[i].view, reference.getView());
  }
  EXPECT_EQ(camera.getView(), spaces[3].view);  // left at the last lamp

  // A lamp pointing straight down still looks down: a point below it lies on its view axis.
  lamps[1].direction = Vec3(0, -1, 0);
  const Mat4 down = LightManager::lightSpacesFor(camera, moon, lamps)[2].view;
  EXPECT_LT(glm::distance(Vec3(down * Vec4(lamps[1].position - Vec3(0, 3, 0), 1)), Vec3(0, 0, -3)), 1e-5f);
}
