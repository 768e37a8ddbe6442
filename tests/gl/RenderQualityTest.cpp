// The lighter frame through the whole frame on the shipped game: drawn
// offscreen at half the window and scaled up, it shows the scene the game's
// frame shows, with the HUD as sharp; render.auto chooses it by itself on
// this software renderer, and with render.auto 0 the frame is the game's own
// to the byte.
#include <GL/glew.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "app/GraphicManager.h"
#include "game/InputManager.h"
#include "game/PositionManager.h"
#include "support/ShippedGameTest.h"

namespace {

using Pixels = std::vector<std::uint8_t>;

class RenderQualityFrame : public ShippedGameTest {
 protected:
  struct Drawn {
    Pixels pixels;
    RenderQuality quality;
    std::string printed;
  };
  // Two paused frames of the shipped game with these settings, the camera
  // looking over the yard, read back from the window.
  Drawn draw(const std::map<std::string, std::string>& settings) {
    reloadWith(settings);
    InputManager input;
    testing::internal::CaptureStdout();
    GraphicManager graphics(&input);
    graphics.initialise(gltest::kWidth, gltest::kHeight);
    Drawn drawn{{}, graphics.getQuality(), testing::internal::GetCapturedStdout()};
    graphics.toggleRunning();
    PositionManager& positions = graphics.positions();
    positions.eyePosition = Vec3(-4.0f, 4.0f, -12.0f);
    positions.cameraPitch = 0.3f;
    positions.cameraYaw = 1.5708f;  // towards +z, over the yard
    for (int i = 0; i < 2; ++i) graphics.frame();
    drawn.pixels.resize(static_cast<std::size_t>(gltest::kWidth * gltest::kHeight * 4));
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, gltest::kWidth, gltest::kHeight, GL_RGBA, GL_UNSIGNED_BYTE, drawn.pixels.data());
    return drawn;
  }
  // Mean difference per channel (0..255) over the window, or over a box.
  static double meanDifference(const Pixels& a, const Pixels& b, int x0 = 0, int y0 = 0, int w = gltest::kWidth,
                               int h = gltest::kHeight) {
    double sum = 0.0;
    for (int y = y0; y < y0 + h; ++y)
      for (int x = x0; x < x0 + w; ++x)
        for (int c = 0; c < 3; ++c) {
          const std::size_t i = static_cast<std::size_t>((y * gltest::kWidth + x) * 4 + c);
          sum += std::abs(static_cast<int>(a[i]) - static_cast<int>(b[i]));
        }
    return sum / (3.0 * w * h);
  }
};

}  // namespace

TEST_F(RenderQualityFrame, TheLighterFrameShowsTheSceneAndTheHudStaysSharp) {
  const Drawn full = draw({});
  const Drawn low = draw({{"render.scale", "0.5"}, {"render.shadow.size", "1024"}});
  ASSERT_TRUE(low.quality.offscreen());
  EXPECT_LT(meanDifference(full.pixels, low.pixels), 6.0) << "the same scene, lit, shadowed and fogged";
  // The health bar, drawn at the window's size in both: the same pixels.
  EXPECT_LT(meanDifference(full.pixels, low.pixels, 20, 20, 150, 8), 1.0);
  // And not just the clear colour: the picture has light and dark in it.
  int darkest = 255, brightest = 0;
  for (std::size_t i = 0; i < low.pixels.size(); i += 4) {
    darkest = std::min<int>(darkest, low.pixels[i + 1]);
    brightest = std::max<int>(brightest, low.pixels[i + 1]);
  }
  EXPECT_GT(brightest - darkest, 80);
}

TEST_F(RenderQualityFrame, RenderAutoChoosesItHereAndAtZeroTheFrameIsTheGamesOwn) {
  const Drawn chosen = draw({{"render.auto", "1"}});
  EXPECT_TRUE(chosen.quality.automatic);
  EXPECT_EQ(chosen.printed.rfind("RENDER: ", 0), 0u) << chosen.printed;
  EXPECT_NE(chosen.printed.find("render.auto = 0"), std::string::npos) << chosen.printed;

  const Drawn off = draw({{"render.auto", "0"}});
  const Drawn without = draw({{"render.auto", "-"}, {"render.scale", "-"}, {"render.samples", "-"},
                              {"render.shadow.size", "-"}});
  EXPECT_FALSE(off.quality.offscreen());
  EXPECT_TRUE(off.printed.empty()) << off.printed;
  EXPECT_EQ(off.pixels, without.pixels);
}
