#include <GL/glew.h>

#include <stdexcept>

#include "gl/RenderTestSupport.h"
#include "render/EffectManager.h"
#include "render/RenderFunctionalityManager.h"
#include "support/ConfigFixture.h"
#include "support/GlContext.h"

using rendertest::programs;

namespace {
class EffectManagerTest : public GlTest {
 protected:
  void SetUp() override {
    startWith("effectmanager.fog.height = 2.5\neffectmanager.fog.color.r = 0.2\neffectmanager.fog.color.g = 0.3\n"
              "effectmanager.fog.color.b = 0.4\neffectmanager.fog.intensity = 0.5\n"
              "effectmanager.fog.lightdistortion = 0.7\n");
  }

  static std::array<float, 4> uniform(const char* name) {
    std::array<float, 4> values{};
    glGetUniformfv(programs().lighting, glGetUniformLocation(programs().lighting, name), values.data());
    return values;
  }
  static int flag(const char* name) {
    GLint value = -1;
    glGetUniformiv(programs().lighting, glGetUniformLocation(programs().lighting, name), &value);
    return value;
  }
};
}  // namespace

TEST_F(EffectManagerTest, UploadsThePlaneColourScaledDensityAndTheSwitch) {
  RenderFunctionalityManager toggles(true);
  EffectManager fog(&toggles);
  fog.bindProgram(programs().lighting);
  fog.update();
  EXPECT_EQ(flag("renderFog"), 1);
  EXPECT_EQ(uniform("fogHalfspace"), (std::array<float, 4>{0.0f, 1.0f, 0.0f, -2.5f}));
  const auto color = uniform("fogColor");
  EXPECT_FLOAT_EQ(color[0], 0.2f);
  EXPECT_FLOAT_EQ(color[2], 0.4f);
  EXPECT_NEAR(uniform("fogIntensity")[0], 0.7213475f, 1e-6f);
  EXPECT_FLOAT_EQ(uniform("fogLightDistortion")[0], 0.7f);
  GLint current = -1;
  glGetIntegerv(GL_CURRENT_PROGRAM, &current);
  EXPECT_EQ(current, 0);

  // Switching fog off changes only the switch from the next upload on.
  toggles.toggleFog();
  fog.update();
  EXPECT_EQ(flag("renderFog"), 0);
  EXPECT_EQ(uniform("fogHalfspace")[3], -2.5f);
}

TEST_F(EffectManagerTest, AProgramWithoutFogUniformsIsRefusedNamingTheFirst) {
  RenderFunctionalityManager toggles(false);
  EffectManager fog(&toggles);
  EXPECT_EQ(messageOf<std::invalid_argument>([&] { fog.bindProgram(programs().color); }),
            "LIGHTMANAGER: Could not bind attribute 'renderFog'.");
}
