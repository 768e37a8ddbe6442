// The sky box faces and the font textures, sampled the way the game draws
// them: the faces through the sky box's vertex and texture-coordinate table,
// the glyphs through the text renderer's cell and texture-coordinate rules,
// both with FreeImage's bottom-up rows uploaded as they are (texture row 0 is
// the picture's bottom row).
#include <FreeImage.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "ContentFiles.h"
#include "common/Types.h"

namespace {

// An image as the game's texture holds it.
struct Texels {
  int width = 0, height = 0;
  std::vector<Vec4> rows;  // row 0 = texture v near 0
  explicit Texels(const std::filesystem::path& path) {
    FIBITMAP* raw = FreeImage_Load(FreeImage_GetFileType(path.c_str(), 0), path.c_str(), 0);
    if (raw == nullptr) throw std::runtime_error("cannot load " + path.string());
    FIBITMAP* bmp = FreeImage_ConvertTo32Bits(raw);
    FreeImage_Unload(raw);
    width = static_cast<int>(FreeImage_GetWidth(bmp));
    height = static_cast<int>(FreeImage_GetHeight(bmp));
    for (int y = 0; y < height; ++y) {
      const BYTE* line = FreeImage_GetScanLine(bmp, y);
      for (int x = 0; x < width; ++x)
        rows.emplace_back(line[x * 4 + FI_RGBA_RED] / 255.0f, line[x * 4 + FI_RGBA_GREEN] / 255.0f,
                          line[x * 4 + FI_RGBA_BLUE] / 255.0f, line[x * 4 + FI_RGBA_ALPHA] / 255.0f);
    }
    FreeImage_Unload(bmp);
  }
  Vec4 texel(int x, int y) const {
    return rows[static_cast<size_t>(std::clamp(y, 0, height - 1)) * width + std::clamp(x, 0, width - 1)];
  }
  // Linear filtering with the edge clamped, as the sky box's textures sample.
  Vec4 sample(Vec2 uv) const {
    float fx = uv.x * width - 0.5f, fy = uv.y * height - 0.5f;
    int x = static_cast<int>(std::floor(fx)), y = static_cast<int>(std::floor(fy));
    float ax = fx - x, ay = fy - y;
    return glm::mix(glm::mix(texel(x, y), texel(x + 1, y), ax), glm::mix(texel(x, y + 1), texel(x + 1, y + 1), ax), ay);
  }
};

// The sky box's table (half size 1): four vertices per face with their texture coordinates.
struct Corner { Vec3 position; Vec2 uv; };
const std::array<std::array<Corner, 4>, 6> kSkyTable = {{
    {{{{-1, -1, -1}, {1, 0}}, {{1, -1, -1}, {0, 0}}, {{-1, 1, -1}, {1, 1}}, {{1, 1, -1}, {0, 1}}}},
    {{{{1, -1, 1}, {1, 0}}, {{-1, -1, 1}, {0, 0}}, {{1, 1, 1}, {1, 1}}, {{-1, 1, 1}, {0, 1}}}},
    {{{{-1, -1, 1}, {1, 0}}, {{-1, -1, -1}, {0, 0}}, {{-1, 1, 1}, {1, 1}}, {{-1, 1, -1}, {0, 1}}}},
    {{{{1, -1, -1}, {1, 0}}, {{1, -1, 1}, {0, 0}}, {{1, 1, -1}, {1, 1}}, {{1, 1, 1}, {0, 1}}}},
    {{{{-1, 1, -1}, {1, 0}}, {{1, 1, -1}, {0, 0}}, {{-1, 1, 1}, {1, 1}}, {{1, 1, 1}, {0, 1}}}},
    {{{{1, -1, -1}, {0, 1}}, {{-1, -1, -1}, {1, 1}}, {{1, -1, 1}, {0, 0}}, {{-1, -1, 1}, {1, 0}}}},
}};

class ContentImages : public ::testing::Test {
 protected:
  void SetUp() override {
    Config& config = content::loadGameConfig();
    for (const char* face : {"front", "back", "left", "right", "top", "bottom"})
      faces.emplace_back(content::gamePath(config.getString(std::string("skybox.texture.") + face)));
    moonLight = glm::normalize(Vec3(config.getFloat("moon.light.direction.x"), config.getFloat("moon.light.direction.y"),
                                    config.getFloat("moon.light.direction.z")));
    overlayFont = config.getString("textmanager.texture.path");
    gameOverFont = config.getString("highscore.path");
  }
  void TearDown() override { Config::instance().clear(); }

  // Texture coordinate of a point on face k: solve p = p(0,0) + u (p(1,0) - p(0,0)) + v (p(0,1) - p(0,0)).
  static Vec2 uvOnFace(int k, Vec3 p) {
    Vec3 origin, du, dv;
    for (const Corner& c : kSkyTable[static_cast<size_t>(k)]) {
      if (c.uv == Vec2(0, 0)) origin = c.position;
    }
    for (const Corner& c : kSkyTable[static_cast<size_t>(k)]) {
      if (c.uv == Vec2(1, 0)) du = c.position - origin;
      if (c.uv == Vec2(0, 1)) dv = c.position - origin;
    }
    return {glm::dot(p - origin, du) / glm::dot(du, du), glm::dot(p - origin, dv) / glm::dot(dv, dv)};
  }
  static Vec3 faceNormal(int k) {  // outward, from the face's corners
    Vec3 sum(0.0f);
    for (const Corner& c : kSkyTable[static_cast<size_t>(k)]) sum += c.position;
    return sum / 4.0f;
  }
  Vec3 skyColour(Vec3 direction) const {  // what a viewer at the centre sees
    Vec3 d = glm::normalize(direction);
    int best = 0;
    for (int k = 1; k < 6; ++k)
      if (glm::dot(d, faceNormal(k)) > glm::dot(d, faceNormal(best))) best = k;
    Vec3 onFace = d / glm::dot(d, faceNormal(best));
    return Vec3(faces[static_cast<size_t>(best)].sample(uvOnFace(best, onFace)));
  }

  std::vector<Texels> faces;
  Vec3 moonLight;
  std::string overlayFont, gameOverFont;
};

float difference(Vec3 a, Vec3 b) { return glm::length(a - b); }

// Along each of the cube's twelve edges the two faces that meet there show
// the same colour: the step across the edge is no larger than the ordinary
// step between neighbouring texels inside a face.
TEST_F(ContentImages, SkyFacesMeetWithoutSeams) {
  int edges = 0;
  for (int a = 0; a < 6; ++a)
    for (int b = a + 1; b < 6; ++b) {
      Vec3 na = faceNormal(a), nb = faceNormal(b);
      if (glm::dot(na, nb) != 0.0f) continue;  // opposite faces share no edge
      ++edges;
      SCOPED_TRACE("faces " + std::to_string(a) + " and " + std::to_string(b));
      Vec3 along = glm::cross(na, nb);
      float across = 0.0f, inside = 0.0f;
      const int samples = 200;
      const float texel = 2.0f / static_cast<float>(faces[static_cast<size_t>(a)].width);
      for (int i = 0; i < samples; ++i) {
        float t = -0.95f + 1.9f * static_cast<float>(i) / (samples - 1);
        Vec3 edgePoint = na + nb + along * t;
        Vec3 fromA = Vec3(faces[static_cast<size_t>(a)].sample(uvOnFace(a, edgePoint)));
        Vec3 fromB = Vec3(faces[static_cast<size_t>(b)].sample(uvOnFace(b, edgePoint)));
        across += difference(fromA, fromB);
        // The same distance, but both points inside face a (one and two texels from the edge).
        Vec3 in1 = edgePoint - nb * texel, in2 = edgePoint - nb * (2.0f * texel);
        inside += difference(Vec3(faces[static_cast<size_t>(a)].sample(uvOnFace(a, in1))),
                             Vec3(faces[static_cast<size_t>(a)].sample(uvOnFace(a, in2))));
      }
      EXPECT_LE(across / samples, 2.0f * inside / samples + 1.5f / 255.0f);
    }
  EXPECT_EQ(edges, 12);
}

// The faces are the right way round: night blue overhead, dark land below,
// the moon where its light comes from, a glow low on the horizon.
TEST_F(ContentImages, SkyShowsZenithGroundMoonAndHorizonWhereTheyBelong) {
  auto luminance = [](Vec3 c) { return 0.2126f * c.r + 0.7152f * c.g + 0.0722f * c.b; };
  Vec3 zenith = skyColour({0.01f, 1, 0.02f}), nadir = skyColour({0.01f, -1, 0.02f});
  EXPECT_GT(zenith.b, zenith.r);
  EXPECT_LT(luminance(nadir), 0.1f);
  EXPECT_GT(luminance(skyColour(-moonLight)), 0.8f) << "the moon shines from where its light comes";
  float horizon = 0.0f, high = 0.0f;
  for (int i = 0; i < 36; ++i) {
    float a = 0.1745f * static_cast<float>(i);
    horizon += luminance(skyColour({std::sin(a), 0.03f, std::cos(a)}));
    high += luminance(skyColour({std::sin(a), 1.2f, std::cos(a)}));
  }
  EXPECT_GT(horizon, high * 1.5f);
}

// Through the text renderer's rules (cell column c % 16, row c / 16, the
// glyph's top edge at v = row / 16) each glyph shows upright: 'T' has its bar
// at the top, '_' its stroke at the bottom, and no glyph touches its cell's border.
TEST_F(ContentImages, FontGlyphsShowUprightInsideTheirCells) {
  for (const std::string& font : {overlayFont, gameOverFont}) {
    SCOPED_TRACE(font);
    Texels image(content::gamePath(font));
    ASSERT_EQ(image.width, image.height);
    // Coverage of the glyph quad at a fraction (x from the left, y down from the top).
    auto coverage = [&](int c, float x, float y) {
      float u = (static_cast<float>(c % 16) + x) * 0.0625f, v = (static_cast<float>(c / 16) + y) * 0.0625f;
      return image.texel(static_cast<int>(u * image.width), static_cast<int>(v * image.height)).a;
    };
    auto rowInk = [&](int c, float y) {
      int ink = 0;
      for (float x = 0.02f; x < 1.0f; x += 0.02f) ink += coverage(c, x, y) > 0.5f ? 1 : 0;
      return ink;
    };
    auto inkiestRow = [&](int c) {
      float best = 0.0f;
      int most = -1;
      for (float y = 0.02f; y < 1.0f; y += 0.02f)
        if (rowInk(c, y) > most) most = rowInk(c, y), best = y;
      return best;
    };
    EXPECT_LT(inkiestRow('T'), 0.45f) << "the bar of T is at the top";
    EXPECT_GT(inkiestRow('_'), 0.6f) << "the underscore lies at the bottom";
    EXPECT_GT(inkiestRow('A'), 0.45f) << "A is widest near its foot";
    for (int c = 0; c < 256; ++c) {
      const int cell = image.width / 16;
      int x0 = (c % 16) * cell, y0 = (c / 16) * cell;
      for (int i = 0; i < cell; ++i) {
        ASSERT_EQ(image.texel(x0 + i, y0).a, 0.0f) << "character " << c;
        ASSERT_EQ(image.texel(x0 + i, y0 + cell - 1).a, 0.0f) << "character " << c;
        ASSERT_EQ(image.texel(x0, y0 + i).a, 0.0f) << "character " << c;
        ASSERT_EQ(image.texel(x0 + cell - 1, y0 + i).a, 0.0f) << "character " << c;
      }
    }
    EXPECT_EQ(rowInk(' ', 0.5f), 0);
    // White glyphs: colour comes from the alpha alone.
    EXPECT_EQ(Vec3(image.texel(0, 0)), Vec3(1.0f));
  }
}

}  // namespace
