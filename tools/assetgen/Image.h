#pragma once
// An RGBA picture held top-down (row 0 is the top as a viewer sees it),
// tileable noise for procedural textures, and PNG output through FreeImage.
#include <glm/glm.hpp>

#include <cstdint>
#include <filesystem>
#include <vector>

namespace assetgen {

struct Image {
    int width = 0, height = 0;
    std::vector<glm::vec4> pixels;  // 0..1 per channel, top-down rows

    Image(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h, glm::vec4(0, 0, 0, 1)) {}
    glm::vec4& at(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    const glm::vec4& at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Writes the picture as a PNG so that a viewer shows row 0 at the top.
void savePng(const Image& image, const std::filesystem::path& path);

// Writes the rows in the given order straight into FreeImage's bottom-up
// scanlines: row 0 of `image` becomes the picture's bottom row.
void savePngRowsBottomUp(const Image& image, const std::filesystem::path& path);

// Value noise that repeats every `period` lattice cells, so textures tile.
class TileableNoise {
public:
    TileableNoise(uint32_t seed, int period);
    float value(float x, float y) const;  // 0..1, x and y in lattice units
    // Sum of octaves, each twice as fine; the result stays tileable. 0..1.
    float fractal(float x, float y, int octaves) const;

private:
    float lattice(int x, int y, int period) const;
    float valueWithPeriod(float x, float y, int period) const;
    uint32_t seed;
    int period;
};

uint32_t hash32(uint32_t x);

}  // namespace assetgen
