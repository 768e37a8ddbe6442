// Text drawn with the shipped overlay font lands where it is asked to, upright
// and unmirrored, one glyph per cell: read back from the framebuffer.
#include <GL/glew.h>

#include <string>

#include "gl/RenderTestSupport.h"
#include "render/TextRenderer.h"
#include "support/GlContext.h"

using namespace rendertest;

namespace {

class TextRendererTest : public GlTest {};

constexpr int kCanvas = 128;
constexpr int kGlyph = 64;

// Share of lit pixels in a rectangle of the canvas.
double litShare(const OffscreenTarget& target, int x0, int y0, int x1, int y1) {
  int lit = 0, all = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x, ++all) {
      const Rgba p = target.pixel(x, y);
      lit += p[0] + p[1] + p[2] > 300 ? 1 : 0;
    }
  return static_cast<double>(lit) / all;
}

}  // namespace

// "LL" in 64-pixel cells from the origin: each L's stem on the left of its
// cell and its foot at the bottom, the top right of each cell dark. A
// flipped, mirrored, shifted or wrong glyph lights other pixels.
TEST_F(TextRendererTest, GlyphsAreDrawnUprightAndUnmirroredEachInItsCell) {
  OffscreenTarget target(kCanvas, kCanvas);
  target.clear(0.0f, 0.0f, 0.0f);
  TextRenderer text;
  text.init(std::string(RUNTIME_DIR) + "/assets/fonts/overlay.png", programs().text, kCanvas, kCanvas);
  text.draw("LL", 0, 0, kGlyph);
  glUseProgram(0);
  for (const int cell : {0, kGlyph}) {
    SCOPED_TRACE(cell);
    EXPECT_GT(litShare(target, cell + 22, 22, cell + 27, 46), 0.9) << "the stem";
    EXPECT_GT(litShare(target, cell + 28, 16, cell + 45, 20), 0.9) << "the foot";
    EXPECT_LT(litShare(target, cell + 30, 24, cell + 60, 60), 0.02) << "the top right";
  }
  EXPECT_LT(litShare(target, 0, kGlyph, kCanvas, kCanvas), 0.02) << "above the cells";
}
