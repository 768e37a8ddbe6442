#include <GL/glew.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "gl/RenderTestSupport.h"
#include "scene/Texture.h"
#include "support/ConfigFixture.h"
#include "support/GlContext.h"

using namespace rendertest;

namespace {
class TextureTest : public GlTest {
 protected:
  TempDir dir;
};

std::vector<std::uint8_t> levelZeroRgba(const Texture& texture, int w, int h) {
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(w * h * 4));
  glBindTexture(GL_TEXTURE_2D, texture.getName());
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  glBindTexture(GL_TEXTURE_2D, 0);
  return pixels;
}

GLint parameter(GLenum name) {
  GLint value = 0;
  glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
  return value;
}
}  // namespace

TEST_F(TextureTest, MissingImagesAreReportedByWhatTheirNameTells) {
  struct Case {
    const char* file;
    const char* message;
  };
  const Case cases[] = {
      {"missing.png", "PARSER: Could not load texture."},
      {"missing.tga", "PARSER: Could not load texture."},
      {"missing.unknownext", "PARSER: Image format unknown."},
      {"missing", "PARSER: Image format unknown."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    Texture texture;
    EXPECT_EQ(messageOf<std::runtime_error>([&] { texture.load(dir.file(c.file)); }), c.message);
    EXPECT_FALSE(texture.isLoaded());
    EXPECT_EQ(texture.getName(), 0u) << "a failed load leaves no texture behind";
  }
}

TEST_F(TextureTest, ImagesOfEveryDepthArriveAsRgbaWithTheBottomRowFirst) {
  struct Case {
    const char* file;
    FREE_IMAGE_FORMAT format;
  };
  // The content decides the format, whatever the extension says.
  const Case cases[] = {{"rgba.png", FIF_PNG}, {"rgb.bmp", FIF_BMP}, {"rgb-named-wrong.png", FIF_TARGA}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string path = dir.file(c.file);
    // 3 x 2: bottom row red, green, blue; top row white.
    writeImage(path, 3, 2, [](int x, int y) {
      if (y == 1) return Rgba{255, 255, 255, 255};
      return Rgba{std::uint8_t(x == 0 ? 255 : 0), std::uint8_t(x == 1 ? 255 : 0), std::uint8_t(x == 2 ? 255 : 0), 255};
    }, c.format);
    Texture texture;
    texture.load(path);
    ASSERT_TRUE(texture.isLoaded());
    const auto pixels = levelZeroRgba(texture, 3, 2);
    const std::uint8_t expected[6][4] = {{255, 0, 0, 255},     {0, 255, 0, 255},     {0, 0, 255, 255},
                                         {255, 255, 255, 255}, {255, 255, 255, 255}, {255, 255, 255, 255}};
    for (std::size_t i = 0; i < 6; ++i) {
      for (std::size_t k = 0; k < 4; ++k) EXPECT_EQ(pixels[i * 4 + k], expected[i][k]) << "pixel " << i;
    }
    glBindTexture(GL_TEXTURE_2D, texture.getName());
    EXPECT_EQ(parameter(GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(parameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    GLint mipWidth = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &mipWidth);
    EXPECT_EQ(mipWidth, 1) << "the mipmap chain exists";
    glBindTexture(GL_TEXTURE_2D, 0);
  }
}

TEST_F(TextureTest, FilteringAppliesTheTableAndLeavesTheTextureBoundOnUnitZero) {
  const std::string path = dir.file("f.png");
  writeSolidImage(path, {1, 2, 3, 255});
  Texture texture;
  texture.load(path);
  struct Case {
    std::uint32_t sampling, mipmap;
    GLint min, mag;
  };
  // Each step starts from the previous step's filters; "unchanged" keeps them.
  const Case steps[] = {{0, 0, GL_NEAREST, GL_NEAREST},
                        {1, 1, GL_NEAREST_MIPMAP_NEAREST, GL_NEAREST},
                        {5, 0, GL_NEAREST_MIPMAP_NEAREST, GL_NEAREST},
                        {0, 2, GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR},
                        {1, 3, GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR},
                        {1, 0, GL_LINEAR, GL_LINEAR}};
  for (const Case& c : steps) {
    SCOPED_TRACE(testing::Message() << c.sampling << "/" << c.mipmap);
    glActiveTexture(GL_TEXTURE3);
    ASSERT_TRUE(texture.setFiltering(c.sampling, c.mipmap));
    GLint active = 0, bound = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(active, GL_TEXTURE0);
    EXPECT_EQ(static_cast<GLuint>(bound), texture.getName());
    EXPECT_EQ(parameter(GL_TEXTURE_MIN_FILTER), c.min);
    EXPECT_EQ(parameter(GL_TEXTURE_MAG_FILTER), c.mag);
  }
}

TEST_F(TextureTest, AnUnloadedTextureRefusesFilteringAndTouchesNothing) {
  glActiveTexture(GL_TEXTURE2);
  Texture texture;
  EXPECT_FALSE(texture.setFiltering(1, 2));
  GLint active = 0;
  glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
  EXPECT_EQ(active, GL_TEXTURE2);
  glActiveTexture(GL_TEXTURE0);
}
