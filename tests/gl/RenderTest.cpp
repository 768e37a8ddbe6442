#include <GL/glew.h>

#include <array>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include "gl/RenderTestSupport.h"
#include "render/EffectManager.h"
#include "render/Render.h"
#include "render/ShadowMapFBO.h"
#include "render/RenderFunctionalityManager.h"
#include "scene/MeshVAO.h"
#include "scene/Texture.h"
#include "support/ConfigFixture.h"
#include "support/GlContext.h"

using namespace rendertest;

namespace {

constexpr int kSize = 64;

// A square of half edge `half` in the x/y plane at height y, facing +z.
std::vector<float> squareVertices(float half, float y = 0.0f) {
  return {-half, y - half, 0, 0, 0, 1, 0, 0,  //
          half,  y - half, 0, 0, 0, 1, 1, 0,  //
          half,  y + half, 0, 0, 0, 1, 1, 1,  //
          -half, y + half, 0, 0, 0, 1, 0, 1};
}
const std::vector<std::uint16_t> kSquareIndices = {0, 1, 2, 0, 2, 3};

void setUniform(GLuint program, const std::string& name, const Vec3& v) {
  glUniform3fv(glGetUniformLocation(program, name.c_str()), 1, glm::value_ptr(v));
}
void setUniform(GLuint program, const std::string& name, float f) {
  glUniform1f(glGetUniformLocation(program, name.c_str()), f);
}

// Moonlight straight into the screen (-z), no lamp light; eye at (0, 0, 5).
void setLights(GLuint program, float diffuse) {
  glUseProgram(program);
  setUniform(program, "moon.base.color", Vec3(1.0f));
  setUniform(program, "moon.base.ambientIntensity", 0.2f);
  setUniform(program, "moon.base.diffuseIntensity", diffuse);
  setUniform(program, "moon.direction", Vec3(0, 0, -1));
  setUniform(program, "moonShadowIntensity", 1.0f);
  setUniform(program, "worldEye", Vec3(0, 0, 5));
  setUniform(program, "specularIntensity", 0.0f);
  setUniform(program, "specularPower", 8.0f);
  for (int i = 0; i < 3; ++i) {
    const std::string lamp = "lamps[" + std::to_string(i) + "]";
    setUniform(program, lamp + ".base.color", Vec3(0.0f));
    setUniform(program, lamp + ".falloff.constant", 1.0f);
    setUniform(program, lamp + ".angle", 1.0f);
  }
  glUseProgram(0);
}

class RenderTest : public GlTest {
 protected:
  void SetUp() override {
    if (!startWith("")) return;
    loadConfig(5.0f, 0.5f);
    const std::string white = dir.file("white.png");
    writeSolidImage(white, {255, 255, 255, 255});
    gl = std::make_unique<GlObjects>();
    gl->texture.load(white);
    gl->mesh.upload(squareVertices(1.0f), kSquareIndices, programs().lighting);
    gl->shadowMesh.upload(squareVertices(1.0f), kSquareIndices, programs().shadow);
    setLights(programs().lighting, 0.8f);
    toggles.showFog = false;
    EffectManager fog(&toggles);
    fog.bindProgram(programs().lighting);
    fog.update();
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);
  }
  void cleanUp() override {
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    gl.reset();
  }

  // Black fog below the plane at `height`, without light distortion.
  static void loadConfig(float height, float intensity) {
    Config::instance().clear();
    Config::instance().loadFromString(
        "sceneObject.standard.boundingbox.addition.y = 0\n"
        "effectmanager.fog.height = " + std::to_string(height) + "\neffectmanager.fog.color.r = 0\n"
        "effectmanager.fog.color.g = 0\neffectmanager.fog.color.b = 0\n"
        "effectmanager.fog.intensity = " + std::to_string(intensity) + "\neffectmanager.fog.lightdistortion = 0\n");
  }

  Render makeRender() {
    Render render("square", &frustum, programs().lighting, programs().color, programs().shadow);
    render.setMeshes(&gl->mesh, &gl->shadowMesh, &gl->texture);
    return render;
  }
  std::uint32_t drawSquare(Render& render, const Mat4& model = Mat4(1.0f), bool culling = false,
                           bool boxes = false) {
    const Mat4 mvp = projection * view * model;
    const std::array<Mat4, 4> lightMvps = {mvp, mvp, mvp, mvp};
    return render.draw(mvp, lightMvps, model, 1.0f, false, culling, boxes, true, 1, 2);
  }

  // OpenGL objects exist only once SetUp has made sure of a context.
  struct GlObjects {
    Texture texture;
    MeshVAO mesh;
    MeshVAO shadowMesh;
    LitShadowMaps shadowMaps;
  };
  std::unique_ptr<GlObjects> gl;
  TempDir dir;
  Frustum frustum;
  RenderFunctionalityManager toggles{false};
  Texture& texture() { return gl->texture; }
  Mat4 projection = glm::perspective(glm::radians(60.0f), 1.0f, 0.1f, 100.0f);
  Mat4 view = glm::lookAt(Vec3(0, 0, 5), Vec3(0, 0, 0), Vec3(0, 1, 0));
};

int red(const Rgba& c) { return c[0]; }

}  // namespace

TEST_F(RenderTest, ALitObjectCoversItsPixelsAndLeavesTheClearColourElsewhere) {
  OffscreenTarget target(kSize, kSize);
  Render render = makeRender();
  struct Case {
    const char* name;
    float diffuse;
  };
  int ambientOnly = 0;
  for (const Case& c : {Case{"ambient only", 0.0f}, Case{"moon lit", 0.8f}}) {
    SCOPED_TRACE(c.name);
    setLights(programs().lighting, c.diffuse);
    target.clear(0.0f, 0.0f, 1.0f);
    EXPECT_EQ(drawSquare(render), 1u);
    const Rgba centre = target.pixel(kSize / 2, kSize / 2);
    const Rgba corner = target.pixel(1, 1);
    EXPECT_EQ(corner, (Rgba{0, 0, 255, 255})) << "clear colour outside the object";
    EXPECT_EQ(centre[0], centre[2]) << "white texture under white light stays grey";
    if (c.diffuse == 0.0f) {
      ambientOnly = red(centre);
      EXPECT_NEAR(ambientOnly, 51, 2);  // 0.2 of full white
    } else {
      EXPECT_NEAR(red(centre), 255, 2) << "ambient plus head-on diffuse saturates";
    }
  }
}

TEST_F(RenderTest, FogDarkensOnlyWhatLiesBelowThePlaneAndOnlyWhenSwitchedOn) {
  OffscreenTarget target(kSize, kSize);
  Render render = makeRender();
  struct Case {
    const char* name;
    bool fogOn;
    float height;
    bool darker;
  };
  const Case cases[] = {{"fog off", false, 5.0f, false},
                        {"object and eye below the plane", true, 5.0f, true},
                        {"object and eye above the plane", true, -5.0f, false}};
  const int unfogged = 255;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    loadConfig(c.height, 0.5f);
    toggles.showFog = c.fogOn;
    EffectManager fog(&toggles);
    fog.bindProgram(programs().lighting);
    fog.update();
    target.clear(0.0f, 0.0f, 1.0f);
    drawSquare(render);
    const int value = red(target.pixel(kSize / 2, kSize / 2));
    if (c.darker) {
      EXPECT_LT(value, 40) << "the fog colour is black";
    } else {
      EXPECT_NEAR(value, unfogged, 2);
    }
  }
}

// Lamp 0 alone, straight at the square from its front: light inside the cone
// only, weaker with distance by 1 / (constant + linear x distance).
TEST_F(RenderTest, ALampLightsOnlyInsideItsConeAndFadesWithDistance) {
  OffscreenTarget target(kSize, kSize);
  Render render = makeRender();
  setLights(programs().lighting, 0.0f);
  const GLuint p = programs().lighting;
  glUseProgram(p);
  setUniform(p, "moon.base.ambientIntensity", 0.0f);
  setUniform(p, "lamps[0].base.color", Vec3(1.0f));
  setUniform(p, "lamps[0].base.diffuseIntensity", 1.0f);
  setUniform(p, "lamps[0].direction", Vec3(0, 0, -1));
  setUniform(p, "lamps[0].falloff.linear", 0.25f);
  setUniform(p, "lamps[0].angle", std::cos(15.0f * kDegToRad));  // cone radius 0.8 at 3 units
  int centre[2] = {0, 0};
  for (const int i : {0, 1}) {
    const float distance = i == 0 ? 3.0f : 6.0f;
    glUseProgram(p);
    setUniform(p, "lamps[0].position", Vec3(0, 0, distance));
    glUseProgram(0);
    target.clear(0.0f, 0.0f, 1.0f);
    drawSquare(render);
    centre[i] = red(target.pixel(kSize / 2, kSize / 2));
    if (i == 0) EXPECT_LT(red(target.pixel(kSize / 2 + 10, kSize / 2 + 10)), 3) << "outside the cone: dark";
  }
  EXPECT_NEAR(centre[0], 255 / 1.75, 2);
  EXPECT_NEAR(centre[1], 255 / 2.5, 2);
}

TEST_F(RenderTest, HeightFogThickensWithTheDepthBelowThePlane) {
  OffscreenTarget target(kSize, kSize);
  loadConfig(0.5f, 0.3f);
  toggles.showFog = true;
  EffectManager fog(&toggles);
  fog.bindProgram(programs().lighting);
  fog.update();
  Render render = makeRender();
  target.clear(0.0f, 0.0f, 1.0f);
  drawSquare(render, glm::scale(Mat4(1.0f), Vec3(1.5f)));
  // Eye at y = 0 lies below the plane too; rows nearer the top of the square
  // (closer to the plane) keep more light than those at its bottom.
  const int low = red(target.pixel(kSize / 2, 20));
  const int middle = red(target.pixel(kSize / 2, kSize / 2));
  const int high = red(target.pixel(kSize / 2, 44));
  EXPECT_LT(low, middle);
  EXPECT_LT(middle, high);
}

TEST_F(RenderTest, FrustumCullingSkipsBoxesOutsideAndCountsWhatIsDrawn) {
  OffscreenTarget target(kSize, kSize);
  Render render = makeRender();
  render.buildBoundingBox(Vec3(-1, -1, 0), Vec3(1, 1, 0));
  // Every plane accepts x >= 3 only, so the box at the origin is outside.
  for (Vec4& plane : frustum.planes) plane = Vec4(1, 0, 0, -3);
  struct Case {
    const char* name;
    bool culling;
    std::uint32_t count;
  };
  for (const Case& c : {Case{"culling on", true, 0u}, Case{"culling off", false, 1u}}) {
    SCOPED_TRACE(c.name);
    target.clear(0, 0, 1);
    EXPECT_EQ(drawSquare(render, Mat4(1.0f), c.culling), c.count);
    EXPECT_EQ(target.pixel(kSize / 2, kSize / 2) != (Rgba{0, 0, 255, 255}), c.count == 1u);
  }
  Render unboxed = makeRender();
  EXPECT_EQ(drawSquare(unboxed, Mat4(1.0f), true), 1u) << "a box not yet built is never culled";
}

TEST_F(RenderTest, BoundingBoxLinesAreDrawnAfterTheObjectInTheColorProgram) {
  OffscreenTarget target(kSize, kSize);
  Render render = makeRender();
  // A box wider than the square: its edges lie on clear background.
  render.buildBoundingBox(Vec3(-1.6f, -1.6f, 0), Vec3(1.6f, 1.6f, 0));
  target.clear(0, 0, 0);
  drawSquare(render, Mat4(1.0f), false, true);
  int green = 0;
  for (int x = 0; x < kSize; ++x) {
    for (int y = 0; y < kSize; ++y) {
      const Rgba c = target.pixel(x, y);
      if (c[1] > 200 && c[0] < 60) ++green;
    }
  }
  EXPECT_GT(green, 40) << "box edges in the color program's green";
}

TEST_F(RenderTest, AStaticObjectDrawnAfterAnAnimatedOneIsNotDeformedByItsBones) {
  OffscreenTarget target(kSize, kSize);
  // Animated: a small square at the left, fully weighed by bone 0.
  MeshVAO skinned;
  MeshVAO skinnedShadow;
  std::vector<BoneInfluence> influences(4);
  for (BoneInfluence& i : influences) addBoneWeight(i, 0, 1.0f);
  skinned.uploadSkinned(squareVertices(0.4f), kSquareIndices, influences, programs().lighting);
  skinnedShadow.uploadSkinned(squareVertices(0.4f), kSquareIndices, influences, programs().shadow);
  Render animated("skinned", &frustum, programs().lighting, programs().color, programs().shadow);
  animated.setMeshes(&skinned, &skinnedShadow, &texture());
  // Bone 0 lifts by 1.5 units; every other bone would throw far off-screen.
  std::array<Mat4, 100> bones;
  bones.fill(glm::translate(Mat4(1.0f), Vec3(50, 50, 0)));
  bones[0] = glm::translate(Mat4(1.0f), Vec3(0, 1.5f, 0));
  glUseProgram(programs().lighting);
  glUniformMatrix4fv(skinned.getBonesLocation(), 100, GL_FALSE, glm::value_ptr(bones[0]));
  glUseProgram(0);

  Render still = makeRender();
  target.clear(0, 0, 1);
  drawSquare(animated, glm::translate(Mat4(1.0f), Vec3(-1.2f, 0, 0)));
  drawSquare(still, glm::translate(Mat4(1.0f), Vec3(1.2f, 0, 0)) * glm::scale(Mat4(1.0f), Vec3(0.4f)));

  const Rgba background{0, 0, 255, 255};
  auto covered = [&](float worldX, float worldY) {
    const Vec4 clip = projection * view * Vec4(worldX, worldY, 0, 1);
    const int x = static_cast<int>((clip.x / clip.w * 0.5f + 0.5f) * kSize);
    const int y = static_cast<int>((clip.y / clip.w * 0.5f + 0.5f) * kSize);
    return target.pixel(x, y) != background;
  };
  EXPECT_TRUE(covered(-1.2f, 1.5f)) << "the animated square follows its bone";
  EXPECT_FALSE(covered(-1.2f, 0.0f));
  EXPECT_TRUE(covered(1.2f, 0.0f)) << "the static square stays where its model matrix puts it";
  EXPECT_FALSE(covered(1.2f, 1.5f));
}

TEST_F(RenderTest, DrawingWithoutMeshesOrTextureNamesWhatIsMissing) {
  Texture unloaded;
  Render noMesh("a", &frustum, programs().lighting, programs().color, programs().shadow);
  Render noTexture("b", &frustum, programs().lighting, programs().color, programs().shadow);
  noTexture.setMeshes(&gl->mesh, &gl->shadowMesh, &unloaded);
  const Mat4 identity(1.0f);
  const std::array<Mat4, 4> four{};
  EXPECT_EQ(messageOf<std::invalid_argument>(
                [&] { noMesh.draw(identity, four, identity, 1, false, false, false, true, 1, 2); }),
            "Render: VAO is not set.");
  EXPECT_EQ(messageOf<std::invalid_argument>([&] { noMesh.drawShadow(identity); }), "Render: VAO-Shadow is not set.");
  EXPECT_EQ(messageOf<std::invalid_argument>(
                [&] { noTexture.draw(identity, four, identity, 1, false, false, false, true, 1, 2); }),
            "Render: texture is not loaded.");
  GlVertexArray::unbind();
}

TEST_F(RenderTest, AProgramLackingAUniformFailsConstructionNamingIt) {
  // The lighting shaders with the third light matrix no longer used.
  std::ifstream in(shaderFile("lighting.vert"));
  std::stringstream source;
  source << in.rdbuf();
  std::string text = source.str();
  const std::string use = "shadowCoord3 = lightMVP3 * local;";
  ASSERT_NE(text.find(use), std::string::npos);
  text.replace(text.find(use), use.size(), "shadowCoord3 = lightMVP2 * local;");
  const std::string vertex = dir.write("no3.vert", text);
  ShaderManager shaders;
  const GlProgram lackingProgram = shaders.createProgram(vertex, shaderFile("lighting.frag"));
  const GLuint lacking = lackingProgram.name();
  EXPECT_EQ(messageOf<std::invalid_argument>(
                [&] { Render("x", &frustum, lacking, programs().color, programs().shadow); }),
            "RENDER: Could not bind attribute 'lightMVP3'.");
  EXPECT_EQ(messageOf<std::invalid_argument>(
                [&] { Render("x", &frustum, programs().lighting, programs().text, programs().shadow); }),
            "RENDER: Could not bind attribute 'mvp'.");
}

TEST_F(RenderTest, ShadowDrawWritesDepthFilledEvenInWireframeMode) {
  ShadowMapFBO map;
  map.init(kSize, kSize);  // leaves its framebuffer bound
  glViewport(0, 0, kSize, kSize);
  glClearDepth(1.0);
  glClear(GL_DEPTH_BUFFER_BIT);
  glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
  Render render = makeRender();
  render.drawShadow(projection * view);
  float centre = 0.0f;
  glReadPixels(kSize / 2, kSize / 2, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &centre);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  EXPECT_LT(centre, 1.0f) << "the inside of the square is filled";
  GLint mode[2] = {0, 0};
  glGetIntegerv(GL_POLYGON_MODE, mode);
  EXPECT_EQ(mode[0], GL_FILL);
}
