#include <GL/glew.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "gl/RenderTestSupport.h"
#include "render/ShaderManager.h"
#include "support/ConfigFixture.h"
#include "support/GlContext.h"

using rendertest::programs;
using rendertest::shaderFile;

namespace {

struct ProgramNames {
  const char* program;
  GLuint (*name)();
  std::vector<std::string> uniforms;
  std::vector<std::string> attributes;
};

std::vector<std::string> lightingUniforms() {
  std::vector<std::string> names = {"mvp", "model", "opacity", "isTransparency", "lightMVP1", "lightMVP2",
                                    "lightMVP3", "lightMVP4", "bones", "moon.base.color",
                                    "moon.base.ambientIntensity", "moon.base.diffuseIntensity", "moon.direction",
                                    "moonShadowIntensity", "worldEye", "specularIntensity", "specularPower",
                                    "renderFog", "fogColor", "fogHalfspace", "fogIntensity", "fogLightDistortion"};
  for (int i = 0; i < 3; ++i) {
    const std::string lamp = "lamps[" + std::to_string(i) + "]";
    for (const char* suffix : {".base.color", ".base.ambientIntensity", ".base.diffuseIntensity", ".position",
                               ".direction", ".falloff.constant", ".falloff.linear", ".falloff.exponential",
                               ".angle"}) {
      names.push_back(lamp + suffix);
    }
  }
  return names;
}

class ShaderManagerTest : public GlTest {};

}  // namespace

TEST_F(ShaderManagerTest, EveryProgramLinksAndHasEveryNameItsUsersLookUp) {
  ASSERT_NO_THROW(programs());
  const std::vector<ProgramNames> cases = {
      {"lighting", [] { return programs().lighting; }, lightingUniforms(),
       {"position", "normal", "texture", "boneId", "boneWeight"}},
      {"shadow", [] { return programs().shadow; }, {"mvp", "bones"}, {"position", "boneId", "boneWeight"}},
      {"texture", [] { return programs().texture; }, {"mvp"}, {"position", "texture"}},
      {"color", [] { return programs().color; }, {"mvp"}, {"position"}},
      {"text", [] { return programs().text; }, {"widthHalf", "heightHalf"}, {"position", "texture"}},
      {"shadowTest", [] { return programs().shadowTest; }, {}, {}},
  };
  for (const ProgramNames& c : cases) {
    SCOPED_TRACE(c.program);
    const GLuint program = c.name();
    EXPECT_NE(program, 0u);
    for (const std::string& uniform : c.uniforms) {
      EXPECT_NE(glGetUniformLocation(program, uniform.c_str()), -1) << "uniform " << uniform;
    }
    for (const std::string& attribute : c.attributes) {
      EXPECT_NE(glGetAttribLocation(program, attribute.c_str()), -1) << "attribute " << attribute;
    }
  }
}

TEST_F(ShaderManagerTest, SamplersAreTiedToTheirTextureUnitsByTheShadersThemselves) {
  struct Sampler {
    GLuint program;
    const char* name;
    GLint unit;
  };
  const Sampler samplers[] = {
      {programs().lighting, "objectTexture", 0},  {programs().lighting, "moonShadowMap", 1},
      {programs().lighting, "lamp0ShadowMap", 2}, {programs().lighting, "lamp1ShadowMap", 3},
      {programs().lighting, "lamp2ShadowMap", 4}, {programs().texture, "faceTexture", 0},
      {programs().text, "font", 0},               {programs().shadowTest, "shadowMap", 1},
  };
  for (const Sampler& s : samplers) {
    SCOPED_TRACE(s.name);
    const GLint location = glGetUniformLocation(s.program, s.name);
    ASSERT_NE(location, -1);
    GLint unit = -1;
    glGetUniformiv(s.program, location, &unit);
    EXPECT_EQ(unit, s.unit);
  }
}

TEST_F(ShaderManagerTest, CompileAndLinkFailuresCarryTheDriversLog) {
  rendertest::TempDir dir;
  const std::string good = dir.write("good.vert", "#version 150\nin vec3 position;\nvoid main() { gl_Position = vec4(position, 1.0); }\n");
  const std::string goodFragment = dir.write("good.frag", "#version 150\nout vec4 c;\nvoid main() { c = vec4(1.0); }\n");
  const std::string broken = dir.write("broken.glsl", "#version 150\nvoid main() { this is not glsl }\n");
  // A fragment shader that calls a function nobody defines compiles but does not link.
  const std::string unresolved =
      dir.write("unresolved.frag", "#version 150\nout vec4 c;\nvec4 shade();\nvoid main() { c = shade(); }\n");

  struct Case {
    const char* name;
    std::string vertex, fragment;
    std::string prefix;
    GLenum type;
  };
  const Case cases[] = {
      {"vertex syntax error", broken, goodFragment, "SHADERMANAGER: Compile failure in vertex shader.\n",
       GL_VERTEX_SHADER},
      {"fragment syntax error", good, broken, "SHADERMANAGER: Compile failure in fragment shader.\n",
       GL_FRAGMENT_SHADER},
      {"unresolved function", good, unresolved, "SHADERMANAGER: Link failure in program.\n", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string expectedLog;
    if (c.type != 0) {
      // The exact driver log for this source, fetched independently.
      std::string source;
      ShaderManager::readShaderFile(c.type == GL_VERTEX_SHADER ? c.vertex : c.fragment, source);
      const GLuint shader = glCreateShader(c.type);
      const char* text = source.c_str();
      glShaderSource(shader, 1, &text, nullptr);
      glCompileShader(shader);
      GLint length = 0;
      glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
      std::vector<char> log(static_cast<std::size_t>(length) + 1, '\0');
      glGetShaderInfoLog(shader, length, nullptr, log.data());
      glDeleteShader(shader);
      expectedLog = log.data();
      ASSERT_FALSE(expectedLog.empty());
    }
    ShaderManager manager;
    const std::string message =
        messageOf<std::runtime_error>([&] { manager.createProgram(c.vertex, c.fragment); });
    ASSERT_EQ(message.rfind(c.prefix, 0), 0u) << message;
    EXPECT_EQ(message.back(), '.');
    if (c.type != 0) EXPECT_EQ(message, c.prefix + expectedLog + ".");
    EXPECT_GT(message.size(), c.prefix.size() + 1) << "the log is missing";
  }
}

TEST_F(ShaderManagerTest, MissingVertexFileIsReportedAndEndsInACompileErrorWithoutReadingTheFragmentFile) {
  const std::string missing = "/nonexistent/folder/lighting.vert";
  const std::string alsoMissing = "/nonexistent/folder/lighting.frag";
  ShaderManager manager;
  testing::internal::CaptureStderr();
  const std::string message = messageOf<std::runtime_error>([&] { manager.createProgram(missing, alsoMissing); });
  const std::string errors = testing::internal::GetCapturedStderr();
  EXPECT_EQ(errors, "Shader: Can't find the shader-file at " + missing + "\nSHADERMANAGER: The shader file '" +
                        missing + "' does not compile.\n");
  EXPECT_EQ(message.rfind("SHADERMANAGER: Compile failure in vertex shader.\n", 0), 0u) << message;
}

TEST_F(ShaderManagerTest, ShaderFileLinesEachEndInALineFeedEvenTheLastOne) {
  rendertest::TempDir dir;
  const std::string path = dir.write("s.glsl", "#version 150\r\nline two\nlast line without feed");
  std::string text = "stale";
  ShaderManager::readShaderFile(path, text);
  EXPECT_EQ(text, "#version 150\r\nline two\nlast line without feed\n");
}

TEST_F(ShaderManagerTest, TheSameSourcesBuiltTwiceGiveTwoUsablePrograms) {
  ShaderManager first;
  ShaderManager second;
  const GlProgram programA = first.createProgram(shaderFile("text.vert"), shaderFile("text.frag"));
  const GlProgram programB = second.createProgram(shaderFile("text.vert"), shaderFile("text.frag"));
  const GLuint a = programA.name();
  const GLuint b = programB.name();
  EXPECT_NE(a, b);
  GLint attached = -1;
  glGetProgramiv(a, GL_ATTACHED_SHADERS, &attached);
  EXPECT_EQ(attached, 2);
  GLuint shaders[2] = {0, 0};
  glGetAttachedShaders(a, 2, nullptr, shaders);
  for (GLuint shader : shaders) {
    GLint flagged = 0;
    glGetShaderiv(shader, GL_DELETE_STATUS, &flagged);
    EXPECT_EQ(flagged, GL_TRUE);
  }
  GLint valid = 0;
  glGetProgramiv(b, GL_LINK_STATUS, &valid);
  EXPECT_EQ(valid, GL_TRUE);
}
