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

namespace {

const char* const kVertexSource =
    "#version 150\n"
    "in vec3 position;\n"
    "void main() { gl_Position = vec4(position, 1.0); }\n";

// A lighting-like fragment shader that uses every light uniform. Defines inserted
// after the version line drop one uniform (OMIT_...) or change the lamp count.
const char* const kFragmentBody = R"(
#ifndef LAMP_COUNT
#define LAMP_COUNT 3
#endif
struct BaseLight { vec3 color; float ambientIntensity; float diffuseIntensity; };
struct DirectionalLight { BaseLight base; vec3 direction; };
struct Falloff { float constant; float linear; float exponential; };
struct SpotLight {
  BaseLight base; vec3 position; vec3 direction; Falloff falloff;
#ifndef OMIT_LAMP_ANGLE
  float angle;
#endif
};
uniform DirectionalLight moon;
uniform SpotLight lamps[LAMP_COUNT];
uniform vec3 worldEye;
uniform float specularIntensity;
uniform float moonShadowIntensity;
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
    float falloff = lamps[i].falloff.constant + lamps[i].falloff.linear + lamps[i].falloff.exponential;
    sum += lamps[i].base.color * lamps[i].base.ambientIntensity * lamps[i].base.diffuseIntensity
         + (lamps[i].position + lamps[i].direction) * falloff
#ifndef OMIT_LAMP_ANGLE
         * lamps[i].angle
#endif
         ;
  }
  fragColor = vec4(sum, 1.0);
}
)";

GLuint compile(GLenum type, const std::string& source) {
  const GLuint shader = glCreateShader(type);
  const char* text = source.c_str();
  glShaderSource(shader, 1, &text, nullptr);
  glCompileShader(shader);
  GLint ok = GL_FALSE;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (ok != GL_TRUE) {
    char log[2048] = {};
    glGetShaderInfoLog(shader, sizeof log, nullptr, log);
    ADD_FAILURE() << "test shader does not compile: " << log;
  }
  return shader;
}

// The test's own program; deleted with the fixture.
GLuint buildProgram(const std::string& defines) {
  const GLuint vertex = compile(GL_VERTEX_SHADER, kVertexSource);
  const GLuint fragment = compile(GL_FRAGMENT_SHADER, "#version 150\n" + defines + kFragmentBody);
  const GLuint program = glCreateProgram();
  glAttachShader(program, vertex);
  glAttachShader(program, fragment);
  glLinkProgram(program);
  glDeleteShader(vertex);
  glDeleteShader(fragment);
  GLint ok = GL_FALSE;
  glGetProgramiv(program, GL_LINK_STATUS, &ok);
  EXPECT_EQ(ok, GL_TRUE) << "test program does not link";
  return program;
}

const char* const kLights =
    "camera.fov = 0.785398\ncamera.ratio = 1.333\ncamera.znear = 0.1\ncamera.zfar = 100\n"
    "lightmanager.standard.color.r = 51\nlightmanager.standard.color.g = 102\n"
    "lightmanager.standard.color.b = 204\n"
    "lightmanager.standard.ambient.intensity = 0.1\nlightmanager.standard.diffuse.intensity = 0.8\n"
    "lightmanager.standard.light.direction.x = 3\nlightmanager.standard.light.direction.y = -4\n"
    "lightmanager.standard.light.direction.z = 0\n"
    "lightmanager.standard.position.x = 1\nlightmanager.standard.position.y = 2\n"
    "lightmanager.standard.position.z = 3\nlightmanager.standard.shadow.Intensity = 0.4\n"
    "lightmanager.standard.falloff.constant = 1\nlightmanager.standard.falloff.linear = 0.05\n"
    "lightmanager.standard.falloff.exponential = 0.01\n"
    "lightmanager.standard.angle = 30\nlightmanager.standard.light.position.y = 4.5\n"
    "sceneObject.standard.position.x = -7\nsceneObject.standard.position.z = 9\n"
    "lightmanager.specular.intensity = 0.6\nlightmanager.specular.power = 32\n"
    "moon.color.r = 255\nmoon.color.g = 128\nmoon.color.b = 0\nmoon.shadow.Intensity = 0.7\n"
    "lamp2.position.x = 12\nlamp2.light.position.y = 6\nlamp2.position.z = -3\nlamp2.angle = 60\n";

}  // namespace

class LightManagerGlTest : public GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    if (IsSkipped()) return;
    Config::instance().clear();
    Config::instance().loadFromString(kLights);
    camera = std::make_unique<Camera>();
  }
  void TearDown() override {
    for (GLuint program : programs) glDeleteProgram(program);
    Config::instance().clear();
  }
  GLuint program(const std::string& defines = "") {
    programs.push_back(buildProgram(defines));
    return programs.back();
  }
  Vec3 uniformVec3(GLuint prog, const char* name) {
    float v[3] = {-1, -1, -1};
    glGetUniformfv(prog, glGetUniformLocation(prog, name), v);
    return Vec3(v[0], v[1], v[2]);
  }
  float uniformFloat(GLuint prog, const char* name) {
    float v = -1;
    glGetUniformfv(prog, glGetUniformLocation(prog, name), &v);
    return v;
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

  struct VecCase {
    const char* name;
    Vec3 expected;
  } vecCases[] = {
      {"moon.base.color", Vec3(1.0f, 128.0f / 255.0f, 0.0f)},
      {"moon.direction", Vec3(0.6f, -0.8f, 0.0f)},
      {"worldEye", Vec3(-1.0f, 2.5f, 8.0f)},
      {"lamps[0].base.color", Vec3(0.2f, 0.4f, 0.8f)},
      {"lamps[0].position", Vec3(-7.0f, 4.5f, 9.0f)},
      {"lamps[1].position", Vec3(12.0f, 6.0f, -3.0f)},
      {"lamps[2].direction", Vec3(0.6f, -0.8f, 0.0f)},
  };
  for (const VecCase& c : vecCases) {
    SCOPED_TRACE(c.name);
    const Vec3 value = uniformVec3(prog, c.name);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(value[i], c.expected[i], 1e-5f);
  }
  struct FloatCase {
    const char* name;
    float expected;
  } floatCases[] = {
      {"moon.base.ambientIntensity", 0.1f}, {"moon.base.diffuseIntensity", 0.8f},
      {"moonShadowIntensity", 0.7f},        {"specularIntensity", 0.6f},
      {"specularPower", 32.0f},             {"lamps[0].base.ambientIntensity", 0.1f},
      {"lamps[2].base.diffuseIntensity", 0.8f}, {"lamps[1].falloff.constant", 1.0f},
      {"lamps[1].falloff.linear", 0.05f},   {"lamps[1].falloff.exponential", 0.01f},
      {"lamps[0].angle", 0.8660254f},       {"lamps[1].angle", 0.5f},
  };
  for (const FloatCase& c : floatCases) {
    SCOPED_TRACE(c.name);
    EXPECT_NEAR(uniformFloat(prog, c.name), c.expected, 1e-6f);
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
  EXPECT_EQ(messageOf<std::runtime_error>([&] { lights.createLamps(1); }),
            "LIGHTMANAGER: No program is bound.");
  EXPECT_EQ(messageOf<std::runtime_error>([&] { lights.update(); }),
            "LIGHTMANAGER: No program is bound.");
  EXPECT_NO_THROW(lights.createLamps(0));
}

TEST_F(LightManagerGlTest, LampsAppendWithContinuingIndices) {
  LightManager lights(&eye, camera.get());
  lights.bindProgram(program());
  lights.createLamps(1);
  lights.createLamps(2);
  ASSERT_EQ(lights.getLamps().size(), 3u);
  EXPECT_FLOAT_EQ(lights.getLamps()[1].position.x, 12.0f);  // lamp2, the second lamp
  EXPECT_EQ(lights.computeLightSpaces().size(), 4u);
}
