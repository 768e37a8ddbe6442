#include <GL/glew.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "config/Config.h"
#include "game/Camera.h"
#include "render/LightManager.h"
#include "support/ConfigFixture.h"
#include "support/GlContext.h"
#include "support/LightKeys.h"

namespace {

// A lighting-like fragment shader using every light uniform. Defines put after
// the version line drop one uniform (OMIT_...) or change the lamp count.
const char* const kFragmentBody = R"(
#ifndef LAMP_COUNT
#define LAMP_COUNT 3
#endif
struct BaseLight { vec3 color; float ambientIntensity; float diffuseIntensity; };
struct DirectionalLight { BaseLight base; vec3 direction; };
struct Falloff { float constant; float linear; float exponential; };
struct SpotLight { BaseLight base; vec3 position; vec3 direction; Falloff falloff;
#ifndef OMIT_LAMP_ANGLE
  float angle;
#define ANGLE(i) lamps[i].angle
#else
#define ANGLE(i) 1.0
#endif
};
uniform DirectionalLight moon;
uniform SpotLight lamps[LAMP_COUNT];
uniform vec3 worldEye;
uniform float specularIntensity, moonShadowIntensity;
#ifndef OMIT_SPECULAR_POWER
uniform float specularPower;
#else
const float specularPower = 1.0;
#endif
out vec4 fragColor;
void main() {
  vec3 sum = moon.base.color * (moon.base.ambientIntensity + moon.base.diffuseIntensity)
           + moon.direction * moonShadowIntensity + worldEye * specularIntensity * specularPower;
  for (int i = 0; i < LAMP_COUNT; ++i) {
    Falloff f = lamps[i].falloff;
    sum += lamps[i].base.color * lamps[i].base.ambientIntensity * lamps[i].base.diffuseIntensity
         + (lamps[i].position + lamps[i].direction) * (f.constant + f.linear + f.exponential) * ANGLE(i);
  }
  fragColor = vec4(sum, 1.0);
}
)";

// The test's own program (the fixture deletes it).
GLuint buildProgram(const std::string& defines) {
  const std::string sources[2] = {"#version 150\nin vec3 position;\nvoid main() { gl_Position = vec4(position, 1.0); }\n",
                                  "#version 150\n" + defines + kFragmentBody};
  const GLenum types[2] = {GL_VERTEX_SHADER, GL_FRAGMENT_SHADER};
  const GLuint program = glCreateProgram();
  for (int i = 0; i < 2; ++i) {
    const GLuint shader = glCreateShader(types[i]);
    const char* text = sources[i].c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    glAttachShader(program, shader);
    glDeleteShader(shader);
  }
  glLinkProgram(program);
  GLint ok = GL_FALSE;
  glGetProgramiv(program, GL_LINK_STATUS, &ok);
  EXPECT_EQ(ok, GL_TRUE) << "test program does not compile or link";
  return program;
}

const std::string kLights =
    kCameraKeys + kStandardLightKeys +
    "moon.color.r = 255\nmoon.color.g = 128\nmoon.color.b = 0\nmoon.shadow.Intensity = 0.7\n"
    "lamp2.position.x = 12\nlamp2.light.position.y = 6\nlamp2.position.z = -3\nlamp2.angle = 60\n";

}  // namespace

class LightManagerGlTest : public GlTest {
 protected:
  void SetUp() override {
    if (startWith(kLights)) camera = std::make_unique<Camera>();
  }
  void cleanUp() override {
    for (GLuint program : programs) glDeleteProgram(program);
  }
  GLuint program(const std::string& defines = "") {
    programs.push_back(buildProgram(defines));
    return programs.back();
  }
  // The first `size` components of a float uniform, the rest -1.
  Vec3 uniform(GLuint prog, const char* name, int size) {
    float v[3] = {-1, -1, -1};
    glGetUniformfv(prog, glGetUniformLocation(prog, name), v);
    return size == 1 ? Vec3(v[0], -1, -1) : Vec3(v[0], v[1], v[2]);
  }

  Vec3 eye{4.0f, 5.0f, 6.0f};
  std::unique_ptr<Camera> camera;
  std::vector<GLuint> programs;
};

TEST_F(LightManagerGlTest, EveryUniformIsFoundAndUpdateUploadsTheValues) {
  LightManager lights(&eye, camera.get());
  const GLuint prog = program();
  lights.bindProgram(prog);
  lights.createLamps(3);
  eye = Vec3(-1.0f, 2.5f, 8.0f);  // the eye is read at every update
  lights.update();

  GLint current = -1;
  glGetIntegerv(GL_CURRENT_PROGRAM, &current);
  EXPECT_EQ(current, 0);

  struct Case {
    const char* name;
    Vec3 expected;
    int size;
  } cases[] = {
      {"moon.base.color", Vec3(1.0f, 128.0f / 255.0f, 0.0f), 3}, {"moon.direction", Vec3(0.6f, -0.8f, 0.0f), 3},
      {"worldEye", Vec3(-1.0f, 2.5f, 8.0f), 3},                  {"lamps[0].base.color", Vec3(0.2f, 0.4f, 0.8f), 3},
      {"lamps[0].position", Vec3(-7.0f, 4.5f, 9.0f), 3},         {"lamps[1].position", Vec3(12.0f, 6.0f, -3.0f), 3},
      {"lamps[2].direction", Vec3(0.6f, -0.8f, 0.0f), 3},        {"moon.base.ambientIntensity", Vec3(0.1f, -1, -1), 1},
      {"moon.base.diffuseIntensity", Vec3(0.8f, -1, -1), 1},     {"moonShadowIntensity", Vec3(0.7f, -1, -1), 1},
      {"specularIntensity", Vec3(0.6f, -1, -1), 1},              {"specularPower", Vec3(32.0f, -1, -1), 1},
      {"lamps[2].base.ambientIntensity", Vec3(0.1f, -1, -1), 1}, {"lamps[2].base.diffuseIntensity", Vec3(0.8f, -1, -1), 1},
      {"lamps[1].falloff.constant", Vec3(1.0f, -1, -1), 1},      {"lamps[1].falloff.linear", Vec3(0.05f, -1, -1), 1},
      {"lamps[1].falloff.exponential", Vec3(0.01f, -1, -1), 1},  {"lamps[0].angle", Vec3(0.8660254f, -1, -1), 1},
      {"lamps[1].angle", Vec3(0.5f, -1, -1), 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Vec3 value = uniform(prog, c.name, c.size);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(value[i], c.expected[i], 1e-6f);
  }
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(LightManagerGlTest, MissingUniformIsNamedExactly) {
  struct Case {
    const char* name;
    std::string defines;
    std::uint32_t lamps;
    std::string message;
  } cases[] = {
      {"specular power", "#define OMIT_SPECULAR_POWER\n", 0,
       "LIGHTMANAGER: Could not bind attribute 'specularPower'."},
      {"lamp angle", "#define OMIT_LAMP_ANGLE\n", 1,
       "LIGHTMANAGER: Could not bind attribute 'lamps[0].angle'."},
      {"more lamps than the shader has", "#define LAMP_COUNT 2\n", 3,
       "LIGHTMANAGER: Could not bind attribute 'lamps[2].base.color'."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LightManager lights(&eye, camera.get());
    const GLuint prog = program(c.defines);
    const std::string message = messageOf<std::invalid_argument>([&] {
      lights.bindProgram(prog);
      lights.createLamps(c.lamps);
    });
    EXPECT_EQ(message, c.message);
    GLint current = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(current, 0);
  }
}

TEST_F(LightManagerGlTest, LampsAndUpdateNeedABoundProgram) {
  LightManager lights(&eye, camera.get());
  EXPECT_EQ(messageOf<std::runtime_error>([&] { lights.createLamps(1); }), "LIGHTMANAGER: No program is bound.");
  EXPECT_EQ(messageOf<std::runtime_error>([&] { lights.update(); }), "LIGHTMANAGER: No program is bound.");
}
