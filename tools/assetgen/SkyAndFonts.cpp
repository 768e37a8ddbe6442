#include "SkyAndFonts.h"

#include "Image.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <string>

namespace assetgen {
namespace {

// Unit-cube corners and texture coordinates of each face, in the order and
// with the values the sky box draws them (face order front, back, left, right,
// top, bottom; four vertices each).
struct FaceCorner {
    glm::vec3 position;
    glm::vec2 uv;
};
const std::array<std::array<FaceCorner, 4>, 6> kFaces = {{
    {{{{-1, -1, -1}, {1, 0}}, {{1, -1, -1}, {0, 0}}, {{-1, 1, -1}, {1, 1}}, {{1, 1, -1}, {0, 1}}}},
    {{{{1, -1, 1}, {1, 0}}, {{-1, -1, 1}, {0, 0}}, {{1, 1, 1}, {1, 1}}, {{-1, 1, 1}, {0, 1}}}},
    {{{{-1, -1, 1}, {1, 0}}, {{-1, -1, -1}, {0, 0}}, {{-1, 1, 1}, {1, 1}}, {{-1, 1, -1}, {0, 1}}}},
    {{{{1, -1, -1}, {1, 0}}, {{1, -1, 1}, {0, 0}}, {{1, 1, -1}, {1, 1}}, {{1, 1, 1}, {0, 1}}}},
    {{{{-1, 1, -1}, {1, 0}}, {{1, 1, -1}, {0, 0}}, {{-1, 1, 1}, {1, 1}}, {{1, 1, 1}, {0, 1}}}},
    {{{{1, -1, -1}, {0, 1}}, {{-1, -1, -1}, {1, 1}}, {{1, -1, 1}, {0, 0}}, {{-1, -1, 1}, {1, 0}}}},
}};
const char* const kFaceNames[6] = {"front", "back", "left", "right", "top", "bottom"};

glm::vec3 cornerWithUv(const std::array<FaceCorner, 4>& face, glm::vec2 uv) {
    for (const FaceCorner& c : face)
        if (c.uv == uv) return c.position;
    throw std::logic_error("face lacks a texture corner");
}

// A point on face k at texture coordinate (u, v): the texture is mapped
// linearly over the square face.
glm::vec3 facePoint(int k, float u, float v) {
    const auto& face = kFaces[static_cast<size_t>(k)];
    glm::vec3 p00 = cornerWithUv(face, {0, 0}), p10 = cornerWithUv(face, {1, 0}), p01 = cornerWithUv(face, {0, 1});
    return p00 + u * (p10 - p00) + v * (p01 - p00);
}

float starField(glm::vec3 d) {
    // Stars live in cells of a lattice around the unit sphere; each cell holds
    // at most one, at a hashed place, with a hashed brightness.
    const float scale = 260.0f;
    glm::vec3 p = d * scale;
    glm::ivec3 base(static_cast<int>(std::floor(p.x)), static_cast<int>(std::floor(p.y)), static_cast<int>(std::floor(p.z)));
    float light = 0.0f;
    for (int dz = -1; dz <= 1; ++dz)
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                glm::ivec3 c = base + glm::ivec3(dx, dy, dz);
                uint32_t h = hash32(static_cast<uint32_t>(c.x) * 73856093U ^ static_cast<uint32_t>(c.y) * 19349663U ^
                                    static_cast<uint32_t>(c.z) * 83492791U);
                if (h % 1000 >= 5) continue;
                glm::vec3 star = glm::vec3(c) + glm::vec3((hash32(h) & 255) / 255.0f, (hash32(h + 1) & 255) / 255.0f,
                                                          (hash32(h + 2) & 255) / 255.0f);
                glm::vec3 onSphere = glm::normalize(star) * scale;
                float dist = glm::length(onSphere - p);
                float brightness = 0.25f + 0.75f * std::pow((hash32(h + 3) & 1023) / 1023.0f, 3.0f);
                light += brightness * std::exp(-dist * dist / 0.18f);
            }
    return light;
}

}  // namespace

glm::vec3 nightSky(glm::vec3 direction) {
    glm::vec3 d = glm::normalize(direction);
    float up = d.y;
    const glm::vec3 zenith(0.025f, 0.04f, 0.12f), horizon(0.16f, 0.16f, 0.26f), ground(0.05f, 0.05f, 0.06f);
    glm::vec3 sky = glm::mix(horizon, zenith, std::pow(std::clamp(up, 0.0f, 1.0f), 0.45f));
    // Warm glow of a distant town low in the south-west (toward +z, -x).
    glm::vec3 glowDirection = glm::normalize(glm::vec3(-0.5f, 0.0f, 1.0f));
    float toward = std::max(0.0f, glm::dot(glm::normalize(glm::vec3(d.x, 0.0f, d.z) + 1e-6f), glowDirection));
    float low = std::exp(-std::fabs(up) * 9.0f);
    sky += glm::vec3(0.30f, 0.17f, 0.08f) * low * std::pow(toward, 3.0f) + glm::vec3(0.05f, 0.05f, 0.07f) * low;
    // The moon, opposite to the direction its light travels.
    glm::vec3 moon = glm::normalize(glm::vec3(0.35f, 0.8f, 0.45f));
    float cosine = glm::dot(d, moon);
    float angle = std::acos(std::clamp(cosine, -1.0f, 1.0f));
    float disc = std::clamp((0.045f - angle) / 0.004f, 0.0f, 1.0f);
    sky += glm::vec3(0.12f, 0.13f, 0.16f) * std::exp(-angle * angle / 0.02f);  // halo
    sky = glm::mix(sky, glm::vec3(0.93f, 0.93f, 0.86f), disc);
    if (up > -0.02f) sky += glm::vec3(0.85f, 0.88f, 1.0f) * starField(d) * std::clamp((up + 0.02f) * 8.0f, 0.0f, 1.0f) * (1.0f - disc);
    // Below the horizon: a dark land that fades in over a small band.
    float below = std::clamp(-up * 12.0f, 0.0f, 1.0f);
    return glm::mix(sky, ground, below);
}

void writeSkyFaces(const std::filesystem::path& folder, int size) {
    for (int k = 0; k < 6; ++k) {
        Image face(size, size);
        for (int row = 0; row < size; ++row)
            for (int column = 0; column < size; ++column) {
                // The game uploads FreeImage's rows as they are, so texture row r
                // (v = (r + 0.5) / size) is FreeImage scanline r: build the rows
                // bottom-up and store them in that order.
                float u = (static_cast<float>(column) + 0.5f) / static_cast<float>(size);
                float v = (static_cast<float>(row) + 0.5f) / static_cast<float>(size);
                face.at(column, row) = glm::vec4(nightSky(facePoint(k, u, v)), 1.0f);
            }
        savePngRowsBottomUp(face, folder / (std::string("sky_") + kFaceNames[k] + ".png"));
    }
}

void writeFontTexture(const std::filesystem::path& path, const char* fontFile, int cellSize) {
    FT_Library library;
    if (FT_Init_FreeType(&library) != 0) throw std::runtime_error("FreeType cannot start");
    FT_Face face;
    if (FT_New_Face(library, fontFile, 0, &face) != 0) throw std::runtime_error(std::string("cannot open font ") + fontFile);
    // The overlay draws every glyph into a square: widen the monospaced glyphs
    // a little so the text does not look sparse, and keep a margin in each
    // cell so mipmapping never blends neighbouring glyphs.
    const int glyphHeight = cellSize * 11 / 16;
    FT_Set_Pixel_Sizes(face, static_cast<FT_UInt>(glyphHeight * 5 / 4), static_cast<FT_UInt>(glyphHeight));
    const int baseline = cellSize * 3 / 4;

    // First the usual picture: cell of character c at column c % 16, row c / 16
    // counted from the top, every glyph upright.
    Image grid(cellSize * 16, cellSize * 16);
    for (auto& p : grid.pixels) p = glm::vec4(1, 1, 1, 0);
    for (int c = 32; c < 127; ++c) {
        if (FT_Load_Char(face, static_cast<FT_ULong>(c), FT_LOAD_RENDER) != 0) continue;
        const FT_Bitmap& bmp = face->glyph->bitmap;
        int cellX = (c % 16) * cellSize, cellY = (c / 16) * cellSize;
        int advance = static_cast<int>(face->glyph->advance.x >> 6);
        int penX = cellX + (cellSize - advance) / 2;
        for (unsigned int y = 0; y < bmp.rows; ++y)
            for (unsigned int x = 0; x < bmp.width; ++x) {
                int px = penX + face->glyph->bitmap_left + static_cast<int>(x);
                int py = cellY + baseline - face->glyph->bitmap_top + static_cast<int>(y);
                if (px < cellX + 1 || px >= cellX + cellSize - 1 || py < cellY + 1 || py >= cellY + cellSize - 1) continue;
                grid.at(px, py).a = static_cast<float>(bmp.buffer[y * static_cast<unsigned>(bmp.pitch) + x]) / 255.0f;
            }
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    // The text renderer samples v = row / 16 at a glyph's TOP edge and v + 1/16
    // at its bottom edge, and texture row 0 is the picture's bottom row
    // (FreeImage keeps rows bottom-up and the game uploads them as they are).
    // So the file must hold this grid flipped vertically as a whole: cell row
    // 0 at the bottom, each glyph upside down. Writing the top-down grid's
    // rows straight into FreeImage's bottom-up scanlines does exactly that.
    savePngRowsBottomUp(grid, path);
}

}  // namespace assetgen
