// The HUD through the whole frame on the shipped game: drawn on top when
// "hud.show" is 1, and nothing of it when it is 0.
#include <GL/glew.h>

#include <array>
#include <cstdint>
#include <vector>

#include "app/GraphicManager.h"
#include "game/InputManager.h"
#include "hud/HudSettings.h"
#include "support/ShippedGameTest.h"

namespace {

class HudFrame : public ShippedGameTest {};

std::array<int, 3> pixel(int x, int y) {
  std::array<std::uint8_t, 4> rgba{};
  glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
  glReadBuffer(GL_BACK);
  glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  return {rgba[0], rgba[1], rgba[2]};
}

// Pixels of the w x h box at (x, y) brighter than 180 in every channel.
int brightPixels(int x, int y, int w, int h) {
  std::vector<std::uint8_t> rgba(static_cast<std::size_t>(w * h * 4));
  glReadPixels(x, y, w, h, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  int count = 0;
  for (std::size_t i = 0; i < rgba.size(); i += 4) count += rgba[i] > 180 && rgba[i + 1] > 180 && rgba[i + 2] > 180;
  return count;
}

}  // namespace

TEST_F(HudFrame, DrawnOnTopWhenShownAndNotAtAllWhenHidden) {
  for (const bool shown : {true, false}) {
    SCOPED_TRACE(shown ? "shown" : "hidden");
    reloadWith({{"hud.show", shown ? "1" : "0"}});
    const HudSettings settings = HudSettings::fromConfig();
    InputManager input;
    GraphicManager graphics(&input);
    graphics.initialise(gltest::kWidth, gltest::kHeight);
    graphics.toggleRunning();  // paused: "PAUSED" in the middle
    graphics.frame();

    // The full health bar in its colour, within the blending of its edge.
    const auto bar = pixel(settings.margin + settings.barWidth / 2, settings.margin + settings.barHeight / 2);
    const Vec3 expected = settings.healthColour * 255.0f;
    const bool barDrawn = std::abs(bar[0] - expected.r) < 12 && std::abs(bar[1] - expected.g) < 12 &&
                          std::abs(bar[2] - expected.b) < 12;
    EXPECT_EQ(barDrawn, shown) << bar[0] << " " << bar[1] << " " << bar[2];
    // "PAUSED" in light glyphs across the window's middle.
    const int paused = brightPixels(gltest::kWidth / 4, gltest::kHeight / 2 - settings.pausedHeight / 2,
                                    gltest::kWidth / 2, settings.pausedHeight);
    if (shown) {
      EXPECT_GT(paused, 100);
    } else {
      EXPECT_LT(paused, 10);
    }
  }
}
