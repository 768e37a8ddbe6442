#pragma once
#include <filesystem>
#include <glm/glm.hpp>

namespace assetgen {

// The night sky seen in direction `direction` (any length): gradient, horizon
// glow, moon and stars. A function of direction alone, so faces rendered from
// it meet without seams.
glm::vec3 nightSky(glm::vec3 direction);

// The six faces, each rendered through the sky box's own vertex and
// texture-coordinate table, named front, back, left, right, top, bottom.
void writeSkyFaces(const std::filesystem::path& folder, int size);

// A 16 x 16 grid of ASCII glyphs rasterised from a TrueType font.
void writeFontTexture(const std::filesystem::path& path, const char* fontFile, int cellSize);

}  // namespace assetgen
