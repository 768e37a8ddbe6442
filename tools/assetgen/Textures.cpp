#include "Textures.h"

#include <algorithm>
#include <cmath>

namespace assetgen {
namespace {

float frac(float v) { return v - std::floor(v); }

glm::vec4 rgb(glm::vec3 c) { return {glm::clamp(c, 0.0f, 1.0f), 1.0f}; }

float lineMask(float coordinate, float halfWidth) {
    // 1 on a grid line at integer coordinates, falling off over halfWidth.
    float d = std::fabs(frac(coordinate + 0.5f) - 0.5f);
    return std::clamp(1.0f - d / halfWidth, 0.0f, 1.0f);
}

}  // namespace

Image concreteTiles(int size) {
    Image img(size, size);
    TileableNoise coarse(11, 4), fine(12, 32);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float fx = static_cast<float>(x) / size, fy = static_cast<float>(y) / size;
            float n = coarse.fractal(fx * 4, fy * 4, 4) * 0.6f + fine.value(fx * 32, fy * 32) * 0.4f;
            // Two by two tiles per cell; grout lines on the cell edges and the middle.
            float grout = std::max(lineMask(fx * 2, 0.012f), lineMask(fy * 2, 0.012f));
            int tile = static_cast<int>(fx * 2) + 2 * static_cast<int>(fy * 2);
            float tileShade = 0.94f + 0.06f * static_cast<float>(hash32(static_cast<uint32_t>(tile) + 5) % 100) / 100.0f;
            glm::vec3 concrete = glm::vec3(0.62f, 0.61f, 0.58f) * (0.82f + 0.3f * n) * tileShade;
            glm::vec3 groutColour(0.36f, 0.35f, 0.34f);
            img.at(x, y) = rgb(glm::mix(concrete, groutColour, grout));
        }
    return img;
}

Image brickWall(int size) {
    Image img(size, size);
    TileableNoise noise(21, 8), fine(22, 64);
    const int rows = 8, columns = 4;  // per cell (2 by 2 units): bricks 0.5 x 0.25 units
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float fx = static_cast<float>(x) / size, fy = static_cast<float>(y) / size;
            float ry = fy * rows;
            int row = static_cast<int>(ry);
            float rx = fx * columns + (row % 2 ? 0.5f : 0.0f);
            int column = static_cast<int>(std::floor(rx)) % columns;
            float mortar = std::max(lineMask(ry, 0.07f), lineMask(rx, 0.035f));
            uint32_t h = hash32(static_cast<uint32_t>(row * 31 + column) + 77);
            float shade = 0.85f + 0.25f * static_cast<float>(h % 1000) / 1000.0f;
            float n = noise.fractal(fx * 8, fy * 8, 3) * 0.5f + fine.value(fx * 64, fy * 64) * 0.5f;
            glm::vec3 brick = glm::vec3(0.66f, 0.36f, 0.27f) * shade * (0.8f + 0.35f * n);
            glm::vec3 mortarColour = glm::vec3(0.62f, 0.60f, 0.56f) * (0.9f + 0.2f * n);
            img.at(x, y) = rgb(glm::mix(brick, mortarColour, mortar));
        }
    return img;
}

Image metalTread(int size) {
    Image img(size, size);
    TileableNoise noise(31, 8);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float fx = static_cast<float>(x) / size, fy = static_cast<float>(y) / size;
            // Raised diamonds on a brushed plate, 8 per cell edge.
            float dx = frac(fx * 8) - 0.5f, dy = frac(fy * 8) - 0.5f;
            float diamond = std::fabs(dx) * 0.5f + std::fabs(dy);
            float raised = diamond < 0.18f ? 1.0f : 0.0f;
            float brushed = noise.fractal(fx * 8, fy * 64, 3);
            glm::vec3 base = glm::vec3(0.58f, 0.60f, 0.63f) * (0.85f + 0.25f * brushed);
            float edge = std::max(lineMask(fx, 0.01f), lineMask(fy, 0.01f));
            glm::vec3 c = base * (1.0f + 0.18f * raised) * (1.0f - 0.35f * edge);
            img.at(x, y) = rgb(c);
        }
    return img;
}

Image lampAtlas(int size) {
    Image img(size, size);
    TileableNoise noise(41, 8);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float fx = static_cast<float>(x) / size, fy = static_cast<float>(y) / size;
            float n = noise.fractal(fx * 8, fy * 8, 3);
            if (fx < 0.5f)
                img.at(x, y) = rgb(glm::vec3(0.30f, 0.34f, 0.32f) * (0.85f + 0.3f * n));
            else
                img.at(x, y) = rgb(glm::vec3(1.0f, 0.93f, 0.72f) * (0.95f + 0.05f * n));
        }
    return img;
}

Image standardTexture(int size) {
    Image img(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            bool odd = ((x * 8 / size) + (y * 8 / size)) % 2 != 0;
            img.at(x, y) = rgb(odd ? glm::vec3(0.75f, 0.35f, 0.70f) : glm::vec3(0.55f));
        }
    return img;
}

void paintRegion(Image& atlas, Region region, glm::vec3 colour, Surface surface, uint32_t seed) {
    int cell = atlas.width / 4;
    TileableNoise noise(seed, 4), fine(seed + 1, 16);
    for (int y = 0; y < cell; ++y)
        for (int x = 0; x < cell; ++x) {
            float fx = static_cast<float>(x) / cell, fy = static_cast<float>(y) / cell;
            float n = noise.fractal(fx * 4, fy * 4, 3);
            float f = fine.value(fx * 16, fy * 16);
            float shade = 1.0f;
            switch (surface) {
                case Surface::Cloth:  // woven threads and soft folds
                    shade = 0.85f + 0.1f * std::sin(fx * 200.0f) * std::sin(fy * 200.0f) + 0.2f * n;
                    break;
                case Surface::Skin: shade = 0.92f + 0.12f * n; break;
                case Surface::Leather: shade = 0.8f + 0.25f * n + 0.1f * f; break;
                case Surface::Metal: shade = 0.85f + 0.15f * f + 0.1f * (lineMask(fy * 4, 0.03f)); break;
                case Surface::Hide: shade = 0.7f + 0.45f * n * f + 0.1f * f; break;
                case Surface::Chitin:  // plates with dark spots
                    shade = (0.8f + 0.3f * n) * (f > 0.72f ? 0.55f : 1.0f) * (1.0f - 0.3f * lineMask(fy * 6, 0.05f));
                    break;
                case Surface::Bone: shade = 0.9f + 0.1f * f - 0.15f * lineMask(fy * 5, 0.1f); break;
            }
            atlas.at(region.column * cell + x, region.row * cell + y) = rgb(colour * shade);
        }
}

void paintSpot(Image& atlas, Region region, float u, float t, float radiusU, float radiusT, glm::vec3 colour) {
    int cell = atlas.width / 4;
    for (int y = 0; y < cell; ++y)
        for (int x = 0; x < cell; ++x) {
            float du = (static_cast<float>(x) / cell - u) / radiusU;
            float dt = (static_cast<float>(y) / cell - t) / radiusT;
            float d = du * du + dt * dt;
            if (d < 1.0f) {
                glm::vec4& p = atlas.at(region.column * cell + x, region.row * cell + y);
                p = rgb(glm::mix(colour, glm::vec3(p), 0.3f * d));
            }
        }
}

}  // namespace assetgen
