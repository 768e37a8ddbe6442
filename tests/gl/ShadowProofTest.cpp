// Shadows through the whole main pass on the shipped game: an occluder put
// between a light and a patch of ground darkens that patch, by the moon's
// shadow intensity for the moon and fully for a lamp, and nothing else; the
// same holds for another depth range. Also writes the lamp's frame to
// build/screenshots/scene.png for a person to look at.
#include <FreeImage.h>
#include <GL/glew.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "app/GraphicManager.h"
#include "game/GameLogicManager.h"
#include "game/InputManager.h"
#include "game/PositionManager.h"
#include "support/ShippedGameTest.h"

namespace {

using Rgb = std::array<int, 3>;

class ShadowProof : public ShippedGameTest {
 protected:
  // The window's pixel at its centre (x, y from the bottom left) after a paused frame.
  static Rgb pixel(int x, int y) {
    std::array<std::uint8_t, 4> rgba{};
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return {rgba[0], rgba[1], rgba[2]};
  }
  static int brightness(const Rgb& c) { return c[0] + c[1] + c[2]; }

  // The camera looks at the ground point from eye, so the point is drawn at the window's centre.
  static void lookAt(PositionManager& positions, const Vec3& eye, const Vec3& point) {
    const Vec3 v = glm::normalize(point - eye);
    positions.eyePosition = eye;
    positions.cameraPitch = -std::asin(v.y);
    positions.cameraYaw = std::atan2(v.z, v.x);
  }

  struct Seen {
    Rgb lit, shadowed, controlLit, controlShadowed;
  };
  // Draws the ground point with the character far away, then with its centre
  // at the occluder position; also a control pixel away from the shadow.
  static Seen look(GraphicManager& graphics, const Vec3& eye, const Vec3& ground, const Vec3& occluder) {
    PositionManager& positions = graphics.positions();
    const ObjectId character = graphics.gameLogic().mainCharacterId;
    const float halfHeight = 0.95f;  // the character's box centre above its origin
    lookAt(positions, eye, ground);
    Seen seen;
    for (const bool between : {false, true}) {
      positions.place(character, between ? occluder - Vec3(0.0f, halfHeight, 0.0f) : Vec3(-25.0f, 0.2f, 25.0f));
      for (int i = 0; i < 2; ++i) graphics.frame();
      (between ? seen.shadowed : seen.lit) = pixel(gltest::kWidth / 2, gltest::kHeight / 2);
      (between ? seen.controlShadowed : seen.controlLit) = pixel(gltest::kWidth / 8, gltest::kHeight / 2);
    }
    return seen;
  }

  // A bare patch of the yard, away from the lamps' cones, and the point 3 units
  // from it towards the moon; the camera looks from the other side.
  static Seen moonShadow(GraphicManager& graphics) {
    const Vec3 ground(-14.0f, 0.0f, 8.0f);
    const Vec3 towardsMoon = -glm::normalize(Vec3(Config::instance().getFloat("moon.light.direction.x"),
                                                 Config::instance().getFloat("moon.light.direction.y"),
                                                 Config::instance().getFloat("moon.light.direction.z")));
    return look(graphics, ground + Vec3(-4.0f, 5.0f, 3.0f), ground, ground + towardsMoon * 3.0f);
  }

  std::unique_ptr<GraphicManager> start(InputManager& input) {
    auto graphics = std::make_unique<GraphicManager>(&input);
    graphics->initialise(gltest::kWidth, gltest::kHeight);
    graphics->toggleRunning();  // paused: nothing moves but what the test places
    return graphics;
  }
};

void savePicture(const std::string& name) {
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(gltest::kWidth * gltest::kHeight * 4));
  glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, gltest::kWidth, gltest::kHeight, GL_BGRA, GL_UNSIGNED_BYTE, pixels.data());
  FIBITMAP* image = FreeImage_ConvertFromRawBits(pixels.data(), gltest::kWidth, gltest::kHeight, gltest::kWidth * 4, 32,
                                                 FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK, FALSE);
  const std::filesystem::path folder = std::filesystem::path(RUNTIME_DIR).parent_path() / "screenshots";
  std::filesystem::create_directories(folder);
  FreeImage_Save(FIF_PNG, image, (folder / name).string().c_str(), 0);
  FreeImage_Unload(image);
}

TEST_F(ShadowProof, TheMoonDarkensByItsShadowIntensityInAnyDepthRange) {
  const struct {
    const char* name;
    const char* intensity;
    const char* depthMin;
    const char* depthMax;
  } cases[] = {{"full shadow", "1.0", "0.0", "1.0"},
               {"half shadow", "0.5", "0.0", "1.0"},
               {"full shadow, depth range 0.2 to 0.6", "1.0", "0.2", "0.6"}};
  std::vector<int> drops;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    reloadWith({{"moon.shadow.Intensity", c.intensity},
                {"opengl.depthrange.min", c.depthMin},
                {"opengl.depthrange.max", c.depthMax}});
    InputManager input;
    auto graphics = start(input);
    const Seen seen = moonShadow(*graphics);
    drops.push_back(brightness(seen.lit) - brightness(seen.shadowed));
    EXPECT_GT(drops.back(), 20) << "the patch darkens in the character's shadow";
    EXPECT_LE(std::abs(brightness(seen.controlLit) - brightness(seen.controlShadowed)), 3) << "and nothing else does";
  }
  ASSERT_EQ(drops.size(), 3u);
  EXPECT_NEAR(drops[1], drops[0] / 2.0, drops[0] * 0.15 + 3) << "half the intensity takes half the moonlight";
  EXPECT_NEAR(drops[2], drops[0], drops[0] * 0.15 + 3) << "the depth range changes nothing";
}

TEST_F(ShadowProof, ALampShadowTakesTheLampsDirectLight) {
  InputManager input;
  auto graphics = start(input);
  // Ground two units beside lamp1's post, inside its cone; the occluder
  // halfway to the light, which hangs at y 4.1 over the post.
  const Config& config = Config::instance();
  const Vec3 light(config.getFloat("lamp1.position.x"), config.getFloat("lamp1.light.position.y"),
                   config.getFloat("lamp1.position.z"));
  const Vec3 ground(light.x + 2.0f, 0.0f, light.z);
  const Seen seen = look(*graphics, ground + Vec3(4.0f, 4.0f, -2.5f), ground, glm::mix(ground, light, 0.5f));
  EXPECT_GT(brightness(seen.lit) - brightness(seen.shadowed), 40);
  EXPECT_LE(std::abs(brightness(seen.controlLit) - brightness(seen.controlShadowed)), 3);
  EXPECT_GT(brightness(seen.shadowed), 0) << "the moon still lights the patch";
  savePicture("scene.png");  // for a person: the character's shadows from the lamp and the moon
}

}  // namespace
