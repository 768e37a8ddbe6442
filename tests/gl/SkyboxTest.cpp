#include <GL/glew.h>

#include <memory>
#include <stdexcept>
#include <string>

#include <glm/gtc/matrix_transform.hpp>

#include "gl/RenderTestSupport.h"
#include "render/Skybox.h"
#include "support/ConfigFixture.h"
#include "support/GlContext.h"

using namespace rendertest;

namespace {

constexpr int kSize = 32;

// Face k's image: its own colour, with a white top half so that "up" can be
// checked as well.
Rgba faceColour(int face) {
  const Rgba colours[6] = {{255, 0, 0, 255}, {0, 255, 0, 255},   {0, 0, 255, 255},
                           {255, 255, 0, 255}, {255, 0, 255, 255}, {0, 255, 255, 255}};
  return colours[face];
}

class SkyboxTest : public GlTest {
 protected:
  void SetUp() override {
    if (!startWith("skybox.position.x = 10\nskybox.position.y = 20\nskybox.position.z = 30\nskybox.size = 100\n")) {
      return;
    }
    const char* names[6] = {"front.png", "back.png", "left.png", "right.png", "top.png", "bottom.png"};
    for (int face = 0; face < 6; ++face) {
      paths[face] = dir.file(names[face]);
      writeImage(paths[face], 8, 8, [face](int, int y) { return y >= 4 ? Rgba{255, 255, 255, 255} : faceColour(face); });
    }
  }

  std::unique_ptr<Skybox> makeSkybox() {
    return std::make_unique<Skybox>(paths[0], paths[1], paths[2], paths[3], paths[4], paths[5]);
  }

  TempDir dir;
  std::string paths[6];
};

}  // namespace

TEST_F(SkyboxTest, EachFaceIsSeenInItsDirectionFromInsideTheCubeWithUpKeptUp) {
  auto sky = makeSkybox();
  sky->init(programs().texture);
  OffscreenTarget target(kSize, kSize);
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);
  glFrontFace(GL_CCW);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  const Vec3 centre(10, 20, 30);
  struct Case {
    const char* face;
    int index;
    Vec3 direction;
    Vec3 up;
  };
  const Case cases[] = {
      {"front", 0, {0, 0, -1}, {0, 1, 0}}, {"back", 1, {0, 0, 1}, {0, 1, 0}},   {"left", 2, {-1, 0, 0}, {0, 1, 0}},
      {"right", 3, {1, 0, 0}, {0, 1, 0}},  {"top", 4, {0, 1, 0}, {0, 0, -1}},   {"bottom", 5, {0, -1, 0}, {0, 0, 1}},
  };
  // A narrow view: the centre pixel and a pixel just below it lie on the
  // face's coloured lower half for a side face.
  const Mat4 projection = glm::perspective(glm::radians(40.0f), 1.0f, 0.1f, 500.0f);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.face);
    target.clear(0.5f, 0.5f, 0.5f);
    const Mat4 view = glm::lookAt(centre, centre + c.direction, c.up);
    sky->draw(view, projection);
    const Rgba below = target.pixel(kSize / 2, kSize / 4);
    const Rgba above = target.pixel(kSize / 2, kSize * 3 / 4);
    // Side faces show the image's top at the top of the view. With the up
    // vectors chosen here, the top and bottom faces show their image's
    // (coloured) bottom half at the top of the view.
    const bool sideFace = c.index < 4;
    const Rgba white{255, 255, 255, 255};
    EXPECT_EQ(sideFace ? below : above, faceColour(c.index));
    EXPECT_EQ(sideFace ? above : below, white);
  }
  // The cube reaches exactly "skybox.size" from its centre: a camera 99
  // units off the centre still sees the face ahead, one 101 units off the
  // centre is outside the cube, which culling then hides.
  const Case& front = cases[0];
  for (const float offset : {99.0f, 101.0f}) {
    SCOPED_TRACE(offset);
    target.clear(0.5f, 0.5f, 0.5f);
    const Vec3 eye = centre + Vec3(0, 0, -offset);
    sky->draw(glm::lookAt(eye, eye + front.direction, front.up), projection);
    EXPECT_EQ(target.pixel(kSize / 2, kSize / 4) != (Rgba{128, 128, 128, 255}), offset < 100.0f);
  }
  glDisable(GL_CULL_FACE);
  glDisable(GL_DEPTH_TEST);
}

TEST_F(SkyboxTest, TheSkyWritesNoDepthSoEverythingDrawnLaterStaysInFront) {
  auto sky = makeSkybox();
  sky->init(programs().texture);
  OffscreenTarget target(kSize, kSize);
  glEnable(GL_DEPTH_TEST);
  target.clear(0, 0, 0);
  const Vec3 centre(10, 20, 30);
  sky->draw(glm::lookAt(centre, centre + Vec3(0, 0, -1), Vec3(0, 1, 0)),
            glm::perspective(glm::radians(60.0f), 1.0f, 0.1f, 500.0f));
  float depth = 0.0f;
  glReadPixels(kSize / 2, kSize / 2, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
  EXPECT_EQ(depth, 1.0f);
  GLboolean mask = GL_FALSE;
  glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
  EXPECT_EQ(mask, GL_TRUE) << "depth writes are back on afterwards";
  glDisable(GL_DEPTH_TEST);
}

TEST_F(SkyboxTest, DrawBeforeInitAndAProgramWithoutMvpAreRefused) {
  auto sky = makeSkybox();
  EXPECT_EQ(messageOf<std::invalid_argument>([&] { sky->draw(Mat4(1.0f), Mat4(1.0f)); }), "Skybox: VAO is not set.");
  GLboolean mask = GL_FALSE;
  glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
  EXPECT_EQ(mask, GL_TRUE);
  EXPECT_EQ(messageOf<std::invalid_argument>([&] { sky->init(programs().text); }),
            "SKYBOX: Could not bind attribute 'mvp'.");
  glUseProgram(0);
}

TEST_F(SkyboxTest, AMissingFaceImageStopsConstruction) {
  paths[3] = dir.file("absent.png");
  EXPECT_EQ(messageOf<std::runtime_error>([&] { makeSkybox(); }), "PARSER: Could not load texture.");
}
